#include "tools/skininfo/SkinInfoJson.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "skin/data/SkinBitmaps.h"

namespace {

// Writes pretty JSON: two spaces per level, one member per line, short arrays of numbers
// on one line.
class JsonWriter {
 public:
  std::string Take() { return std::move(out_); }

  void BeginObject(std::string_view key = {}) { Open(key, '{'); }
  void EndObject() { Close('}'); }
  void BeginArray(std::string_view key = {}) { Open(key, '['); }
  void EndArray() { Close(']'); }

  void Number(std::string_view key, int64_t value) { Raw(key, std::to_string(value)); }
  void Text(std::string_view key, std::string_view value) { Raw(key, Quote(value)); }
  void Null(std::string_view key) { Raw(key, "null"); }
  void Colour(std::string_view key, int32_t colour) { Text(key, ColourText(colour)); }
  void Numbers(std::string_view key, std::initializer_list<int64_t> values) {
    std::string text = "[";
    for (const int64_t v : values) text += (text.size() > 1 ? ", " : "") + std::to_string(v);
    Raw(key, text + "]");
  }

 private:
  void Separate() {
    if (needComma_) out_ += ',';
    if (!out_.empty()) out_ += '\n';
    out_.append(2 * depth_, ' ');
  }
  void Key(std::string_view key) {
    if (!key.empty()) out_ += Quote(key) + ": ";
  }
  void Raw(std::string_view key, std::string_view value) {
    Separate();
    Key(key);
    out_ += value;
    needComma_ = true;
  }
  void Open(std::string_view key, char bracket) {
    Separate();
    Key(key);
    out_ += bracket;
    ++depth_;
    needComma_ = false;
  }
  void Close(char bracket) {
    --depth_;
    if (needComma_) {
      out_ += '\n';
      out_.append(2 * depth_, ' ');
    }
    out_ += bracket;
    needComma_ = true;
  }
  static std::string Quote(std::string_view text) {
    std::string q = "\"";
    for (const char c : text) {
      const auto u = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        q += '\\';
        q += c;
      } else if (u < 0x20) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", u);
        q += escape;
      } else {
        q += c;  // bytes of the skin's code page pass as they are
      }
    }
    return q + '"';
  }

  std::string out_;
  int depth_ = 0;
  bool needComma_ = false;
};

void BitmapSize(JsonWriter& json, std::string_view key, const TBitmap& bitmap) {
  if (BitmapIsEmpty(bitmap)) {
    json.Null(key);
    return;
  }
  json.BeginObject(key);
  json.Number("Width", bitmap.Width());
  json.Number("Height", bitmap.Height());
  json.EndObject();
}

void BaseFields(JsonWriter& json, const TDataSkinObject& e) {
  json.Text("Name", e.Name);
  json.Numbers("Margins", {e.Margins.left, e.Margins.top, e.Margins.right, e.Margins.bottom});
  json.Number("Trans", e.Trans);
  json.Number("Tile", e.Tile);
  json.Number("FrameCount", e.FrameCount);
  json.Number("Style", e.Style);
  json.Number("NormalColour", e.NormalColour);
  json.Number("MouseOverColour", e.MouseOverColour);
  json.Number("PressedColour", e.PressedColour);
  json.Colour("NormalColour2", e.NormalColour2);
  json.Colour("MouseOverColour2", e.MouseOverColour2);
  json.Colour("PressedColour2", e.PressedColour2);
  BitmapSize(json, "Bitmap", *e.Bitmap);
}

void OwnFields(JsonWriter&, const TDataSkinObject&) {}

void OwnFields(JsonWriter& json, const TDataSkinBorder& e) { BitmapSize(json, "Image2", *e.Image2); }

void OwnFields(JsonWriter& json, const TDataSkinButton& e) {
  BitmapSize(json, "CheckBitmap", *e.CheckBitmap);
  BitmapSize(json, "RadioBitmap", *e.RadioBitmap);
  json.Number("RadioFrameCount", e.RadioFrameCount);
  json.Number("CheckFrameCount", e.CheckFrameCount);
  json.Number("HasNormalColour2", e.HasNormalColour2);
  json.Number("HasMouseOverColour2", e.HasMouseOverColour2);
  json.Number("HasPressedColour2", e.HasPressedColour2);
}

void OwnFields(JsonWriter& json, const TDataSkinTitle& e) {
  json.Number("TextAlignment", e.TextAlignment);
  json.Number("TextBackground", e.TextBackground);
  json.Number("FontHeight", e.FontHeight);
  json.Number("TextBackLeft", e.TextBackLeft);
  json.Number("TextBackRight", e.TextBackRight);
  json.Colour("ActiveTextColour", e.ActiveTextColour);
  json.Colour("InactiveTextColour", e.InactiveTextColour);
}

void OwnFields(JsonWriter& json, const TDataSkinSysButton& e) {
  json.Number("Action", e.Action);
  json.Number("Align", e.Align);
  json.Number("XCoord", e.XCoord);
  json.Number("YCoord", e.YCoord);
  json.Number("CombineOp", e.CombineOp);
  json.Number("Visibility", e.Visibility);
  json.Number("Visibility1", e.Visibility1);
}

void OwnFields(JsonWriter& json, const TDataSkinBoxLabel& e) {
  json.Number("BackgroundLeftShift", e.BackgroundLeftShift);
  json.Number("BackgroundRightShift", e.BackgroundRightShift);
  json.Number("BackgroundAlignment", e.BackgroundAlignment);
}

template <class T>
void Element(JsonWriter& json, std::string_view key, const std::unique_ptr<T>& element) {
  if (!element) {
    json.Null(key);
    return;
  }
  json.BeginObject(key);
  BaseFields(json, *element);
  OwnFields(json, *element);
  json.EndObject();
}

}  // namespace

std::string ColourText(int32_t colour) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
  return text;
}

std::string SkinModelToJson(const TSkinModel& m, const std::vector<std::string>& warnings) {
  JsonWriter json;
  json.BeginObject();
  json.Text("SkinName", m.SkinName);
  const std::pair<const char*, int32_t> colours[] = {
      {"WindowTextColour", m.WindowTextColour},
      {"ButtonFaceColour", m.ButtonFaceColour},
      {"ScrollbarColour", m.ScrollbarColour},
      {"HilightTextColour", m.HilightTextColour},
      {"HilightColour", m.HilightColour},
      {"MenubarColour", m.MenubarColour},
      {"MenuColour", m.MenuColour},
      {"MenuTextColour", m.MenuTextColour},
      {"ButtonTextColour", m.ButtonTextColour},
      {"ButtonHilightColour", m.ButtonHilightColour},
      {"ButtonLightColour", m.ButtonLightColour},
      {"ButtonShadowColour", m.ButtonShadowColour},
      {"ButtonDkShadowColour", m.ButtonDkShadowColour},
      {"MenuBarTextColour", m.MenuBarTextColour},
      {"TitleTextActiveColour", m.TitleTextActiveColour},
      {"TitleTextNoActiveColour", m.TitleTextNoActiveColour},
      {"TitleColour", m.TitleColour},
  };
  for (const auto& [name, colour] : colours) json.Colour(name, colour);
  json.BeginArray("ColourTable");
  for (const int32_t colour : m.ColourTable) json.Colour({}, colour);
  json.EndArray();
  json.BeginArray("CustomColours");
  for (const int32_t colour : m.CustomColours) json.Colour({}, colour);
  json.EndArray();

  Element(json, "Title", m.Title);
  json.BeginArray("SysButtons");
  for (const auto& button : m.SysButtons) Element(json, {}, button);
  json.EndArray();
  Element(json, "Buttons", m.Buttons);
  Element(json, "Tabs", m.Tabs);
  Element(json, "UpDownHorz", m.UpDownHorz);
  Element(json, "UpDownVert", m.UpDownVert);
  Element(json, "SunkEdge", m.SunkEdge);
  Element(json, "ExtraImages", m.ExtraImages);
  Element(json, "ComboButton", m.ComboButton);
  Element(json, "ComboArrow", m.ComboArrow);
  Element(json, "GroupBoxEdge", m.GroupBoxEdge);
  Element(json, "ToolbarBackground", m.ToolbarBackground);
  Element(json, "ToolBars", m.ToolBars);
  Element(json, "Progress", m.Progress);
  Element(json, "ProgressChunk", m.ProgressChunk);
  Element(json, "GroupBox", m.GroupBox);
  Element(json, "StatusBarEdges", m.StatusBarEdges);
  Element(json, "TabPane", m.TabPane);
  Element(json, "Headerbar", m.Headerbar);
  Element(json, "MenuBar", m.MenuBar);
  Element(json, "MenuItem", m.MenuItem);
  Element(json, "MenuBackground", m.MenuBackground);
  Element(json, "Scrollbar", m.Scrollbar);
  Element(json, "HorzScroll", m.HorzScroll);
  Element(json, "VertScroll", m.VertScroll);
  Element(json, "HorzScrollThumb", m.HorzScrollThumb);
  Element(json, "VertScrollThumb", m.VertScrollThumb);
  Element(json, "TrackbarThumbHorz", m.TrackbarThumbHorz);
  Element(json, "TrackbarThumbVert", m.TrackbarThumbVert);
  Element(json, "TrackbarThumbLeft", m.TrackbarThumbLeft);
  Element(json, "TrackbarThumbRight", m.TrackbarThumbRight);
  Element(json, "TrackbarThumbUp", m.TrackbarThumbUp);
  Element(json, "TrackbarThumbDown", m.TrackbarThumbDown);
  Element(json, "Track", m.Track);
  Element(json, "TrackVert", m.TrackVert);
  Element(json, "BorderLeft", m.BorderLeft);
  Element(json, "BorderRight", m.BorderRight);
  Element(json, "BorderTop", m.BorderTop);
  Element(json, "BorderBottom", m.BorderBottom);

  json.BeginArray("Warnings");
  for (const std::string& warning : warnings) json.Text({}, warning);
  json.EndArray();
  json.EndObject();
  return json.Take() + "\n";
}
