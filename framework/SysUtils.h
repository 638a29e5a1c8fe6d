// Portable basics of the framework: the general exception class and text-to-number
// conversion. No Windows header; built by both builds.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// The framework's general exception: carries a message (UTF-8).
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Raised when a routine's precondition on its caller is broken (a programmer error).
class EAssertionFailed : public Exception {
 public:
  using Exception::Exception;
};

// Decimal with an optional sign, or hexadecimal after "$" (optionally signed, "-$1F");
// the whole text must be the number and it must fit 32 bits, otherwise `fallback`.
int32_t StrToIntDef(std::string_view text, int32_t fallback);

// UTF-8 to wide text and back: UTF-16 where wchar_t is 16 bits (Windows), UTF-32
// elsewhere. Malformed input becomes U+FFFD; nothing is dropped silently.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
