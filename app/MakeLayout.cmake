# Writes the main window's stored layout: the template TEMPLATE with the skin file SKIN
# as the binary property SkinStream (a 32-bit little-endian length, then the bytes, as
# hex digits, 32 bytes a line). Without SKIN the layout stores the length 0 (no skin).
#   cmake -DTEMPLATE=Test.layout -DSKIN=default.skn -DOUT=Test.layout -P MakeLayout.cmake
cmake_minimum_required(VERSION 3.25)

set(hex "")
if(SKIN)
  if(NOT EXISTS "${SKIN}")
    message(FATAL_ERROR "skin file ${SKIN} is missing")
  endif()
  file(READ "${SKIN}" hex HEX)
  string(TOUPPER "${hex}" hex)
endif()
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")

# The length, least significant byte first.
set(prefix "")
set(rest ${size})
foreach(i RANGE 3)
  math(EXPR byte "${rest} % 256")
  math(EXPR rest "${rest} / 256")
  math(EXPR high "${byte} / 16")
  math(EXPR low "${byte} % 16")
  string(SUBSTRING "0123456789ABCDEF" ${high} 1 h)
  string(SUBSTRING "0123456789ABCDEF" ${low} 1 l)
  string(APPEND prefix "${h}${l}")
endforeach()

set(indent "      ")
string(REGEX REPLACE "([0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F])"
       "\\1\n${indent}" lines "${prefix}${hex}")
string(REGEX REPLACE "\n${indent}$" "" lines "${lines}")

file(READ "${TEMPLATE}" layout)
string(FIND "${layout}" "@PTEST_SKIN_STREAM@" at)
if(at LESS 0)
  message(FATAL_ERROR "${TEMPLATE} has no @PTEST_SKIN_STREAM@")
endif()
string(REPLACE "@PTEST_SKIN_STREAM@" "${lines}" layout "${layout}")
file(WRITE "${OUT}.tmp" "${layout}")
file(RENAME "${OUT}.tmp" "${OUT}")
