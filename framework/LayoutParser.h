// The stored layout text: parsing to a TLayoutObject tree and formatting one back.
// Portable. The text is UTF-8:
//
//   object Form1: TForm1              (also "inherited" and "inline"; "object TClass")
//     Left = 235                      integer: decimal, -12, $FF
//     Caption = '磁盘监视'             text: quoted ('' is a quote), any Unicode; #NNNN
//     Hint = 'line'#13#10'next' +     (decimal UTF-16 code, or #$HHHH) pieces join; a '+'
//       ' more'                        at a line's end continues on the next line
//     BorderStyle = bsDialog          identifier (enumerations, True, clBtnFace, handlers)
//     BorderIcons = [biSystemMenu]    set
//     Font.Name = '宋体'               dotted names reach sub-objects
//     Lines.Strings = ( 'a' 'b' )     list
//     Panels = <                      collection
//       item
//         Text = 'x'
//         Width = 300
//       end>
//     SkinStream = { 0A1B 2C3D }      binary, hex digits (white space between pairs)
//     object Button1: TButton ... end nested objects after the properties
//   end
//
// Errors (ELayoutError) name the line. Nesting is limited (kMaxLayoutDepth) so hostile
// input cannot exhaust the stack.
#pragma once

#include <string>
#include <string_view>

#include "framework/LayoutValue.h"
#include "framework/SysUtils.h"

constexpr int kMaxLayoutDepth = 64;

class ELayoutError : public Exception {
 public:
  ELayoutError(int line, const std::string& message)
      : Exception("line " + std::to_string(line) + ": " + message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// Parses one top-level object; anything but white space after its `end` is an error.
TLayoutObject ParseLayout(std::string_view text);

// Formats a tree as layout text (two spaces per level, CR LF line ends omitted: LF).
std::string FormatLayout(const TLayoutObject& object);
// One value as it appears after "Name = " (multi-line for binaries, lists, collections),
// indented for nesting level `indent`.
std::string FormatLayoutValue(const TLayoutValue& value, int indent);
// Text quoted for the layout: printable ASCII and Unicode text inside quotes, control
// characters as #NN.
std::string QuoteLayoutString(std::wstring_view text);
