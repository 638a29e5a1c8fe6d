#include "tests/skin_data_win/MiniJson.h"

#include <stdexcept>

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  JsonValue Document() {
    JsonValue v = Value();
    Space();
    if (at_ != text_.size()) Fail("text after the value");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at_));
  }
  void Space() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' ||
                                  text_[at_] == '\t'))
      ++at_;
  }
  bool Take(char c) {
    Space();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("expected '") + c + "'");
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  std::string String() {
    Expect('"');
    std::string out;
    while (true) {
      if (at_ >= text_.size()) Fail("unterminated text");
      const char c = text_[at_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size()) Fail("unterminated escape");
      const char e = text_[at_++];
      if (e == 'u') {
        if (at_ + 4 > text_.size()) Fail("short \\u escape");
        out += static_cast<char>(std::stoi(std::string(text_.substr(at_, 4)), nullptr, 16));
        at_ += 4;
      } else if (e == '"' || e == '\\' || e == '/') {
        out += e;
      } else {
        Fail("unknown escape");
      }
    }
  }
  JsonValue Value() {
    Space();
    JsonValue v;
    if (at_ >= text_.size()) Fail("missing value");
    const char c = text_[at_];
    if (c == '{') {
      v.kind = JsonValue::Kind::Object;
      ++at_;
      if (Take('}')) return v;
      do {
        std::string key = String();
        Expect(':');
        v.members.emplace_back(std::move(key), Value());
      } while (Take(','));
      Expect('}');
    } else if (c == '[') {
      v.kind = JsonValue::Kind::Array;
      ++at_;
      if (Take(']')) return v;
      do {
        v.items.push_back(Value());
      } while (Take(','));
      Expect(']');
    } else if (c == '"') {
      v.kind = JsonValue::Kind::String;
      v.text = String();
    } else if (Word("null")) {
      v.kind = JsonValue::Kind::Null;
    } else if (Word("true")) {
      v.kind = JsonValue::Kind::Bool;
      v.boolean = true;
    } else if (Word("false")) {
      v.kind = JsonValue::Kind::Bool;
    } else {
      size_t used = 0;
      v.kind = JsonValue::Kind::Number;
      try {
        v.number = std::stoll(std::string(text_.substr(at_, 24)), &used);
      } catch (const std::exception&) {
        Fail("bad value");
      }
      at_ += used;
    }
    return v;
  }

  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](std::string_view key) const {
  if (kind != Kind::Object) throw std::runtime_error("JSON: not an object, looking for " + std::string(key));
  for (const auto& [name, value] : members)
    if (name == key) return value;
  throw std::runtime_error("JSON: no member " + std::string(key));
}

const JsonValue& JsonValue::operator[](size_t index) const {
  if (kind != Kind::Array || index >= items.size()) throw std::runtime_error("JSON: no item " + std::to_string(index));
  return items[index];
}

int64_t JsonValue::Int() const {
  if (kind != Kind::Number) throw std::runtime_error("JSON: not a number");
  return number;
}

const std::string& JsonValue::Str() const {
  if (kind != Kind::String) throw std::runtime_error("JSON: not a text");
  return text;
}

std::vector<std::string> JsonValue::Keys() const {
  std::vector<std::string> keys;
  for (const auto& [name, value] : members) keys.push_back(name);
  return keys;
}

JsonValue ParseJson(std::string_view text) { return Parser(text).Document(); }
