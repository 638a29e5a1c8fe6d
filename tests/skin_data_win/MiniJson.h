// A small JSON reader for checking what skininfo prints: objects, arrays, strings (with
// the escapes skininfo writes), integers, true, false and null. Throws std::runtime_error
// on anything else.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  int64_t number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;  // in written order

  bool IsNull() const { return kind == Kind::Null; }
  // The member `key`; throws when absent or when this is no object.
  const JsonValue& operator[](std::string_view key) const;
  const JsonValue& operator[](size_t index) const;
  int64_t Int() const;
  const std::string& Str() const;
  std::vector<std::string> Keys() const;
};

JsonValue ParseJson(std::string_view text);
