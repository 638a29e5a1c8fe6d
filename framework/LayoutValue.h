// The parsed form of a stored layout: objects, their property assignments and values.
// Produced by LayoutParser, applied to components by LayoutReader, written back by
// LayoutWriter. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TLayoutProperty;

// One value of a property assignment.
struct TLayoutValue {
  enum class Kind {
    Integer,     // 12, -3, $1F
    Float,       // 1.5
    Ident,       // True, bsDialog, clBtnFace, Button1Click, Form2.PopupMenu1
    String,      // 'text'#13#10'more' (UTF-16 on Windows)
    Set,         // [a, b]
    List,        // ( value value ... )
    Collection,  // < item ... end item ... end >
    Binary,      // { 0A1B... }
  };
  Kind kind = Kind::Integer;
  int line = 0;
  int64_t integer = 0;
  double number = 0;
  std::string ident;
  std::wstring text;
  std::vector<std::string> setMembers;
  std::vector<TLayoutValue> list;
  // One entry per collection item: that item's assignments.
  std::vector<std::vector<TLayoutProperty>> items;
  std::vector<uint8_t> bytes;
};

// `Name = value`; the name may be dotted (Font.Name, Lines.Strings).
struct TLayoutProperty {
  std::string name;
  TLayoutValue value;
  int line = 0;
};

// `object Name: TClass` ... `end` (also `inherited` and `inline`).
struct TLayoutObject {
  std::string name;
  std::string className;
  bool inherited = false;
  int line = 0;
  std::vector<TLayoutProperty> properties;
  std::vector<TLayoutObject> children;
};
