#include "framework/LayoutParser.h"

#include <cstdio>
#include <limits>

#include "framework/TypInfo.h"

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// UTF-16 code units to the platform's wide text: on a 32-bit wchar_t, surrogate pairs
// join and lone surrogates become U+FFFD.
std::wstring Utf16ToWide(const std::u16string& units) {
  std::wstring out;
  out.reserve(units.size());
  if constexpr (sizeof(wchar_t) == 2) {
    for (char16_t u : units) out.push_back(static_cast<wchar_t>(u));
  } else {
    for (size_t i = 0; i < units.size(); ++i) {
      const uint32_t u = units[i];
      if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
          units[i + 1] <= 0xDFFF) {
        out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00)));
        ++i;
      } else if (u >= 0xD800 && u <= 0xDFFF) {
        out.push_back(static_cast<wchar_t>(0xFFFD));
      } else {
        out.push_back(static_cast<wchar_t>(u));
      }
    }
  }
  return out;
}

void AppendUtf8AsUtf16(std::u16string& out, std::string_view utf8) {
  const std::wstring wide = Utf8ToWide(utf8);
  for (wchar_t w : wide) {
    const auto cp = static_cast<uint32_t>(w);
    if (sizeof(wchar_t) > 2 && cp >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {
    if (text_.size() >= 3 && text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }

  TLayoutObject ParseRoot() {
    SkipSpace();
    TLayoutObject root = ParseObject(0);
    SkipSpace();
    if (pos_ < text_.size()) Fail("text after the last 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const { throw ELayoutError(line_, message); }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }

  void SkipSpace() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\n') {
        ++line_;
      } else if (c != ' ' && c != '\t' && c != '\r' && c != '\f' && c != '\v') {
        break;
      }
      ++pos_;
    }
  }

  void SkipBlanksOnLine() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  void Expect(char c, const char* what) {
    SkipSpace();
    if (Peek() != c) Fail(std::string("expected ") + what + Found());
    ++pos_;
  }

  std::string Found() const {
    if (AtEnd()) return ", found the end of the text";
    const char c = Peek();
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
      return ", found a character with code " + std::to_string(static_cast<unsigned char>(c));
    return std::string(", found '") + c + "'";
  }

  // A plain identifier at the position (no dots); empty when there is none.
  std::string_view PeekWord() const {
    size_t p = pos_;
    if (p >= text_.size() || !IsIdentStart(text_[p])) return {};
    while (p < text_.size() && IsIdentChar(text_[p])) ++p;
    return text_.substr(pos_, p - pos_);
  }

  std::string ReadIdent(bool dotted, const char* what) {
    SkipSpace();
    if (!IsIdentStart(Peek())) Fail(std::string("expected ") + what + Found());
    const size_t start = pos_;
    for (;;) {
      while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
      if (dotted && Peek() == '.' && IsIdentStart(Peek(1))) {
        ++pos_;
        continue;
      }
      break;
    }
    return std::string(text_.substr(start, pos_ - start));
  }

  TLayoutObject ParseObject(int depth) {
    if (depth >= kMaxLayoutDepth) Fail("objects nested too deeply");
    TLayoutObject object;
    object.line = line_;
    const std::string keyword = ReadIdent(false, "'object'");
    if (SameIdent(keyword, "inherited") || SameIdent(keyword, "inline")) {
      object.inherited = true;
    } else if (!SameIdent(keyword, "object")) {
      Fail("expected 'object', found '" + keyword + "'");
    }
    // "Name: TClass", ": TClass" or "TClass".
    SkipBlanksOnLine();
    if (Peek() == ':') {
      ++pos_;
      object.className = ReadIdent(false, "a class name");
    } else {
      const std::string first = ReadIdent(false, "a name");
      SkipBlanksOnLine();
      if (Peek() == ':') {
        ++pos_;
        object.name = first;
        object.className = ReadIdent(false, "a class name");
      } else {
        object.className = first;
      }
    }
    SkipBlanksOnLine();
    if (Peek() == '[') {  // creation index of inherited objects; not needed here
      ++pos_;
      SkipSpace();
      while (IsDigit(Peek())) ++pos_;
      Expect(']', "']'");
    }
    for (;;) {
      SkipSpace();
      if (AtEnd()) Fail("missing 'end' of object " + (object.name.empty() ? object.className : object.name));
      const std::string_view word = PeekWord();
      if (word.empty()) Fail("expected a property name" + Found());
      if (SameIdent(word, "end") && !IsDottedAfter(word.size())) {
        pos_ += word.size();
        return object;
      }
      if ((SameIdent(word, "object") || SameIdent(word, "inherited") || SameIdent(word, "inline")) &&
          !IsAssignmentAfter(word.size())) {
        object.children.push_back(ParseObject(depth + 1));
        continue;
      }
      if (!object.children.empty()) Fail("property after a nested object");
      object.properties.push_back(ParseProperty(depth));
    }
  }

  bool IsDottedAfter(size_t length) const { return pos_ + length < text_.size() && text_[pos_ + length] == '.'; }

  // Is the word at the position followed by '=' (so it names a property)?
  bool IsAssignmentAfter(size_t length) const {
    size_t p = pos_ + length;
    while (p < text_.size() && (text_[p] == ' ' || text_[p] == '\t')) ++p;
    return p < text_.size() && (text_[p] == '=' || text_[p] == '.');
  }

  TLayoutProperty ParseProperty(int depth) {
    TLayoutProperty property;
    property.line = line_;
    property.name = ReadIdent(true, "a property name");
    Expect('=', "'=' after " + property.name);
    property.value = ParseValue(depth);
    return property;
  }

  void Expect(char c, const std::string& what) { Expect(c, what.c_str()); }

  TLayoutValue ParseValue(int depth) {
    if (depth >= kMaxLayoutDepth) Fail("values nested too deeply");
    SkipSpace();
    TLayoutValue value;
    value.line = line_;
    const char c = Peek();
    if (c == '\'' || c == '#') {
      value.kind = TLayoutValue::Kind::String;
      value.text = ParseString();
    } else if (IsDigit(c) || c == '-' || c == '+' || c == '$') {
      ParseNumber(value);
    } else if (IsIdentStart(c)) {
      value.kind = TLayoutValue::Kind::Ident;
      value.ident = ReadIdent(true, "a value");
    } else if (c == '[') {
      ++pos_;
      value.kind = TLayoutValue::Kind::Set;
      SkipSpace();
      if (Peek() != ']') {
        for (;;) {
          value.setMembers.push_back(ReadIdent(false, "a set member"));
          SkipSpace();
          if (Peek() == ',') {
            ++pos_;
            continue;
          }
          break;
        }
      }
      Expect(']', "']' or ','");
    } else if (c == '(') {
      ++pos_;
      value.kind = TLayoutValue::Kind::List;
      for (;;) {
        SkipSpace();
        if (Peek() == ')') {
          ++pos_;
          break;
        }
        if (AtEnd()) Fail("missing ')'");
        value.list.push_back(ParseValue(depth + 1));
      }
    } else if (c == '<') {
      ++pos_;
      value.kind = TLayoutValue::Kind::Collection;
      for (;;) {
        SkipSpace();
        if (Peek() == '>') {
          ++pos_;
          break;
        }
        const std::string item = ReadIdent(false, "'item' or '>'");
        if (!SameIdent(item, "item")) Fail("expected 'item' or '>', found '" + item + "'");
        SkipBlanksOnLine();
        if (Peek() == '[') {  // item index; ignored
          ++pos_;
          SkipSpace();
          while (IsDigit(Peek())) ++pos_;
          Expect(']', "']'");
        }
        std::vector<TLayoutProperty> props;
        for (;;) {
          SkipSpace();
          if (AtEnd()) Fail("missing 'end' of a collection item");
          const std::string_view word = PeekWord();
          if (SameIdent(word, "end") && !IsDottedAfter(word.size())) {
            pos_ += word.size();
            break;
          }
          props.push_back(ParseProperty(depth + 1));
        }
        value.items.push_back(std::move(props));
      }
    } else if (c == '{') {
      ++pos_;
      value.kind = TLayoutValue::Kind::Binary;
      int high = -1;
      for (;;) {
        SkipSpace();
        if (AtEnd()) Fail("missing '}'");
        const char h = Peek();
        if (h == '}') {
          ++pos_;
          break;
        }
        const int d = HexDigit(h);
        if (d < 0) Fail("expected a hex digit or '}'" + Found());
        ++pos_;
        if (high < 0) {
          high = d;
        } else {
          value.bytes.push_back(static_cast<uint8_t>(high * 16 + d));
          high = -1;
        }
      }
      if (high >= 0) Fail("odd number of hex digits in binary value");
    } else {
      Fail("expected a value" + Found());
    }
    return value;
  }

  void ParseNumber(TLayoutValue& value) {
    const size_t start = pos_;
    bool negative = false;
    if (Peek() == '-' || Peek() == '+') {
      negative = Peek() == '-';
      ++pos_;
    }
    if (Peek() == '$') {
      ++pos_;
      uint64_t v = 0;
      int digits = 0;
      while (HexDigit(Peek()) >= 0) {
        v = v * 16 + static_cast<uint64_t>(HexDigit(Peek()));
        if (++digits > 16) Fail("number too large");
        ++pos_;
      }
      if (digits == 0) Fail("expected hex digits after '$'");
      value.kind = TLayoutValue::Kind::Integer;
      value.integer = static_cast<int64_t>(negative ? 0 - v : v);
      return;
    }
    if (!IsDigit(Peek())) Fail("expected a number" + Found());
    uint64_t v = 0;
    bool overflow = false;
    while (IsDigit(Peek())) {
      const auto d = static_cast<uint64_t>(Peek() - '0');
      if (v > (std::numeric_limits<uint64_t>::max() - d) / 10) overflow = true;
      v = v * 10 + d;
      ++pos_;
    }
    const bool fraction = Peek() == '.' && IsDigit(Peek(1));
    const bool exponent = Peek() == 'e' || Peek() == 'E';
    if (fraction || exponent) {
      if (fraction) {
        ++pos_;
        while (IsDigit(Peek())) ++pos_;
      }
      if (Peek() == 'e' || Peek() == 'E') {
        ++pos_;
        if (Peek() == '-' || Peek() == '+') ++pos_;
        if (!IsDigit(Peek())) Fail("expected exponent digits");
        while (IsDigit(Peek())) ++pos_;
      }
      value.kind = TLayoutValue::Kind::Float;
      value.number = std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
      return;
    }
    if (overflow || v > (negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1)) Fail("number too large");
    value.kind = TLayoutValue::Kind::Integer;
    value.integer = negative ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
    if (IsIdentChar(Peek())) Fail("unexpected character after a number" + Found());
  }

  std::wstring ParseString() {
    std::u16string units;
    for (;;) {
      const char c = Peek();
      if (c == '\'') {
        ++pos_;
        std::string bytes;
        for (;;) {
          if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("unterminated text");
          const char q = text_[pos_++];
          if (q == '\'') {
            if (Peek() == '\'') {
              bytes.push_back('\'');
              ++pos_;
              continue;
            }
            break;
          }
          bytes.push_back(q);
        }
        AppendUtf8AsUtf16(units, bytes);
      } else if (c == '#') {
        ++pos_;
        uint32_t code = 0;
        int digits = 0;
        if (Peek() == '$') {
          ++pos_;
          while (HexDigit(Peek()) >= 0) {
            code = code * 16 + static_cast<uint32_t>(HexDigit(Peek()));
            ++pos_;
            if (++digits > 6) Fail("character code too large");
          }
        } else {
          while (IsDigit(Peek())) {
            code = code * 10 + static_cast<uint32_t>(Peek() - '0');
            ++pos_;
            if (++digits > 6) Fail("character code too large");
          }
        }
        if (digits == 0) Fail("expected a character code after '#'");
        if (code > 0xFFFF) Fail("character code " + std::to_string(code) + " is not a UTF-16 code unit");
        units.push_back(static_cast<char16_t>(code));
      } else {
        break;
      }
      // Pieces join when adjacent, or across lines after a '+'.
      const size_t save = pos_;
      const int saveLine = line_;
      SkipBlanksOnLine();
      if (Peek() == '+') {
        ++pos_;
        SkipSpace();
        if (Peek() != '\'' && Peek() != '#') Fail("expected text after '+'" + Found());
        continue;
      }
      pos_ = save;
      line_ = saveLine;
      if (Peek() != '\'' && Peek() != '#') break;
    }
    return Utf16ToWide(units);
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

void Indent(std::string& out, int level) { out.append(static_cast<size_t>(level) * 2, ' '); }

void FormatObject(std::string& out, const TLayoutObject& object, int level);

void FormatProperties(std::string& out, const std::vector<TLayoutProperty>& props, int level) {
  for (const TLayoutProperty& p : props) {
    Indent(out, level);
    out += p.name;
    out += " = ";
    out += FormatLayoutValue(p.value, level);
    out += '\n';
  }
}

void FormatObject(std::string& out, const TLayoutObject& object, int level) {
  Indent(out, level);
  out += object.inherited ? "inherited " : "object ";
  if (!object.name.empty()) out += object.name + ": ";
  out += object.className;
  out += '\n';
  FormatProperties(out, object.properties, level + 1);
  for (const TLayoutObject& child : object.children) FormatObject(out, child, level + 1);
  Indent(out, level);
  out += "end\n";
}

}  // namespace

TLayoutObject ParseLayout(std::string_view text) { return Parser(text).ParseRoot(); }

std::string QuoteLayoutString(std::wstring_view text) {
  std::string out;
  bool inQuotes = false;
  auto open = [&] {
    if (!inQuotes) out += '\'';
    inQuotes = true;
  };
  auto close = [&] {
    if (inQuotes) out += '\'';
    inQuotes = false;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<uint32_t>(text[i]);
    const bool control = c < 0x20 || c == 0x7F;
    bool loneSurrogate = false;
    if (c >= 0xD800 && c <= 0xDFFF) {
      const bool pair = sizeof(wchar_t) == 2 && c <= 0xDBFF && i + 1 < text.size() &&
                        static_cast<uint32_t>(text[i + 1]) >= 0xDC00 && static_cast<uint32_t>(text[i + 1]) <= 0xDFFF;
      if (pair) {
        open();
        out += WideToUtf8(text.substr(i, 2));
        ++i;
        continue;
      }
      loneSurrogate = true;
    }
    if (control || loneSurrogate) {
      close();
      out += '#' + std::to_string(c);
      continue;
    }
    open();
    if (c == '\'') {
      out += "''";
    } else {
      out += WideToUtf8(text.substr(i, 1));
    }
  }
  close();
  if (out.empty()) out = "''";
  return out;
}

std::string FormatLayoutValue(const TLayoutValue& value, int indent) {
  std::string out;
  switch (value.kind) {
    case TLayoutValue::Kind::Integer:
      return std::to_string(value.integer);
    case TLayoutValue::Kind::Float: {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%.17g", value.number);
      std::string s = buffer;
      if (s.find_first_of(".eE") == std::string::npos) s += ".0";
      return s;
    }
    case TLayoutValue::Kind::Ident:
      return value.ident;
    case TLayoutValue::Kind::String:
      return QuoteLayoutString(value.text);
    case TLayoutValue::Kind::Set: {
      out = "[";
      for (size_t i = 0; i < value.setMembers.size(); ++i) {
        if (i) out += ", ";
        out += value.setMembers[i];
      }
      return out + "]";
    }
    case TLayoutValue::Kind::List:
      out = "(";
      for (const TLayoutValue& item : value.list) {
        out += '\n';
        Indent(out, indent + 1);
        out += FormatLayoutValue(item, indent + 1);
      }
      return out + ")";
    case TLayoutValue::Kind::Collection:
      out = "<";
      for (const auto& item : value.items) {
        out += '\n';
        Indent(out, indent + 1);
        out += "item\n";
        FormatProperties(out, item, indent + 2);
        Indent(out, indent + 1);
        out += "end";
      }
      return out + ">";
    case TLayoutValue::Kind::Binary: {
      static const char kHex[] = "0123456789ABCDEF";
      out = "{";
      for (size_t i = 0; i < value.bytes.size(); ++i) {
        if (i % 32 == 0) {
          out += '\n';
          Indent(out, indent + 1);
        }
        out += kHex[value.bytes[i] >> 4];
        out += kHex[value.bytes[i] & 15];
      }
      return out + "}";
    }
  }
  return out;
}

std::string FormatLayout(const TLayoutObject& object) {
  std::string out;
  FormatObject(out, object, 0);
  return out;
}
