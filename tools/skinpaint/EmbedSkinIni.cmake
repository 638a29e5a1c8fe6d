# Writes OUT, a C++ source holding the INI text of each skin in NAMES (skins/NAME/skin.ini
# under SKINS_DIR), so that skinpaint needs no file beside itself.
# cmake -DSKINS_DIR=... -DNAMES=a,b -DOUT=... -P EmbedSkinIni.cmake
string(REPLACE "," ";" NAMES "${NAMES}")
set(body "")
set(cases "")
foreach(name IN LISTS NAMES)
  file(READ "${SKINS_DIR}/${name}/skin.ini" text)
  if(text MATCHES "\\)skinini\"")
    message(FATAL_ERROR "${name}/skin.ini contains the raw-string delimiter")
  endif()
  string(MAKE_C_IDENTIFIER "k_${name}" id)
  string(APPEND body "constexpr char ${id}[] = R\"skinini(${text})skinini\";\n")
  string(APPEND cases "  if (name == \"${name}\") return ${id};\n")
endforeach()
file(WRITE "${OUT}.tmp" "// Generated from skins/*/skin.ini by EmbedSkinIni.cmake; edit those files instead.
#include \"tools/skinpaint/SkinIni.h\"

namespace {
${body}}  // namespace

std::string_view SkinIniText(std::string_view name) {
${cases}  return {};
}
")
# Only touch the output when it changed, so nothing rebuilds needlessly.
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
