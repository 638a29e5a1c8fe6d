// The loaders of single elements and of the colour scheme (TSkinModelBuilder).
#include <algorithm>
#include <string>

#include "skin/data/SkinBitmaps.h"
#include "skin/data/SkinIniRules.h"
#include "skin/data/SkinModelBuilder.h"

namespace {

constexpr std::string_view kPersonality = "Personality";

// Tile is 0 (stretched) or 1 (tiled); larger values fall back to `fallback`.
void ClampTile(TDataSkinObject& element, int32_t fallback) {
  if (element.Tile > 1) element.Tile = fallback;
}

template <class T>
T& CreateIn(std::unique_ptr<T>& slot, std::string_view name) {
  slot = std::make_unique<T>(std::string(name));
  return *slot;
}

}  // namespace

int32_t TSkinModelBuilder::ReadInt(std::string_view section, std::string_view key,
                                   int32_t fallback) const {
  return ini_.ReadInteger(section, key, fallback);
}

std::string TSkinModelBuilder::ReadText(std::string_view section, std::string_view key) const {
  return ini_.ReadString(section, key, std::string());
}

void TSkinModelBuilder::LoadSkinBitmap(TBitmap& bitmap, std::string_view fileName) {
  const std::string entry = SkinBitmapEntryName(fileName);
  if (entry.empty()) {
    // Not a ".bmp" name (a Targa file, "0", ...): no image, as skins expect.
    ClearBitmap(bitmap);
    return;
  }
  reader_.ExtractByName(entry, entry_);
  if (entry_.Size() == 0) {
    ClearBitmap(bitmap);
    warnings_.push_back(entry + ": no such entry in the skin");
    return;
  }
  std::string reason;
  if (!LoadBitmapFromBytes(bitmap, entry_.Bytes(), &reason))
    warnings_.push_back(entry + ": " + reason);
}

void TSkinModelBuilder::ReadColourKeys(TDataSkinObject& element, std::string_view section) {
  element.NormalColour = ReadInt(section, "NormalColour", kSkinNoColourIndex);
  element.MouseOverColour = ReadInt(section, "MouseOverColour", kSkinNoColourIndex);
  element.PressedColour = ReadInt(section, "PressedColour", kSkinNoColourIndex);
  const int32_t text = model_.ButtonTextColour;
  element.NormalColour2 = ReadColour(ReadText(section, "NormalColour2"), text);
  element.MouseOverColour2 = ReadColour(ReadText(section, "MouseOverColour2"), text);
  element.PressedColour2 = ReadColour(ReadText(section, "PressedColour2"), text);
}

void TSkinModelBuilder::ReadElementKeys(TDataSkinObject& element, std::string_view section,
                                        bool readFrame) {
  element.Style = ReadInt(section, "Style", 0);
  element.Margins.left = ReadInt(section, "LeftWidth", 0);
  element.Margins.right = ReadInt(section, "RightWidth", 0);
  element.Margins.top = ReadInt(section, "TopHeight", 0);
  element.Margins.bottom = ReadInt(section, "BottomHeight", 0);
  if (readFrame) element.FrameCount = ReadInt(section, "Frame", 0);
  element.Trans = ReadInt(section, "Trans", 0);
  element.Tile = ReadInt(section, "Tile", 0);
}

void TSkinModelBuilder::LoadElement(std::unique_ptr<TDataSkinObject>& slot,
                                    std::string_view section) {
  slot.reset();
  const std::string image = ReadText(section, "Image");
  if (image.empty()) return;
  TDataSkinObject& element = CreateIn(slot, section);
  LoadSkinBitmap(*element.Bitmap, image);
  ReadElementKeys(element, section, true);
  ReadColourKeys(element, section);
  ClampTile(element, 0);
}

void TSkinModelBuilder::LoadBorderElement(std::unique_ptr<TDataSkinBorder>& slot,
                                          std::string_view section,
                                          std::string_view secondKey) {
  slot.reset();
  const std::string image = ReadText(section, "Image");
  if (image.empty()) return;
  TDataSkinBorder& element = CreateIn(slot, section);
  LoadSkinBitmap(*element.Bitmap, image);
  const std::string second = ReadText(section, secondKey);
  if (!second.empty()) LoadSkinBitmap(*element.Image2, second);
  // The frame count comes from SetFrameCounts.
  ReadElementKeys(element, section, false);
  ReadColourKeys(element, section);
  ClampTile(element, 0);
}

void TSkinModelBuilder::LoadProgress(std::unique_ptr<TDataSkinBorder>& slot,
                                     std::string_view section) {
  slot.reset();
  const std::string image = ReadText(section, "Bitmap");
  if (image.empty()) return;
  TDataSkinBorder& element = CreateIn(slot, section);
  LoadSkinBitmap(*element.Bitmap, image);
  ReadElementKeys(element, section, false);
  // Unlike the other elements, a progress bar takes any larger Tile as tiled.
  ClampTile(element, 1);
}

void TSkinModelBuilder::LoadBoxLabel(std::unique_ptr<TDataSkinBoxLabel>& slot,
                                     std::string_view section) {
  slot.reset();
  const std::string image = ReadText(section, "Image");
  if (image.empty()) return;
  TDataSkinBoxLabel& element = CreateIn(slot, section);
  LoadSkinBitmap(*element.Bitmap, image);
  ReadElementKeys(element, section, false);
  ReadColourKeys(element, section);
  ClampTile(element, 0);
  element.BackgroundAlignment = ReadInt(section, "BackgroundAlignment", 0);
  element.BackgroundLeftShift = ReadInt(section, "BackgroundLeftShift", 0);
  element.BackgroundRightShift = ReadInt(section, "BackgroundRightShift", 0);
}

void TSkinModelBuilder::LoadButtons() {
  constexpr std::string_view section = "Buttons";
  TDataSkinButton& buttons = *model_.Buttons;
  buttons.Margins.left = ReadInt(section, "LeftWidth", 0);
  buttons.Margins.right = ReadInt(section, "RightWidth", 0);
  buttons.Margins.top = ReadInt(section, "TopHeight", 0);
  buttons.Margins.bottom = ReadInt(section, "BottomHeight", 0);
  buttons.Trans = ReadInt(section, "Trans", 0);
  LoadSkinBitmap(*buttons.Bitmap, ReadText(section, "Bitmap"));
  buttons.Tile = ReadInt(section, "Tile", 0);
  LoadSkinBitmap(*buttons.CheckBitmap, ReadText(section, "CheckButton"));
  LoadSkinBitmap(*buttons.RadioBitmap, ReadText(section, "RadioButton"));
  buttons.NormalColour = ReadInt(section, "NormalColour", kSkinNoColourIndex);
  buttons.MouseOverColour = ReadInt(section, "MouseOverColour", kSkinNoColourIndex);
  buttons.PressedColour = ReadInt(section, "PressedColour", kSkinNoColourIndex);
  buttons.RadioFrameCount = ReadInt(section, "RadioButtonFrame", 0);
  buttons.CheckFrameCount = ReadInt(section, "CheckButtonFrame", 0);
  ClampTile(buttons, 0);
  const std::string normal = ReadText(section, "NormalColour2");
  const std::string over = ReadText(section, "MouseOverColour2");
  const std::string pressed = ReadText(section, "PressedColour2");
  buttons.HasNormalColour2 = normal.empty() ? 0 : 1;
  buttons.HasMouseOverColour2 = over.empty() ? 0 : 1;
  buttons.HasPressedColour2 = pressed.empty() ? 0 : 1;
  buttons.NormalColour2 = ReadColour(normal, model_.ButtonTextColour);
  buttons.MouseOverColour2 = ReadColour(over, model_.ButtonTextColour);
  buttons.PressedColour2 = ReadColour(pressed, model_.ButtonTextColour);
}

void TSkinModelBuilder::LoadTitle(std::string_view section) {
  TDataSkinTitle& title = *model_.Title;
  LoadSkinBitmap(*title.Bitmap, ReadText(section, "TextBack"));
  title.Margins = RECT{ReadInt(section, "TextShift", 0), ReadInt(section, "TextShiftVert", 0),
                       ReadInt(section, "TextRightClip", 0), 0};
  title.TextAlignment = ReadInt(section, "TextAlignment", 0);
  title.TextBackground = ReadInt(section, "Textbackground", 0);
  title.FontHeight = ReadInt("Fonts", "FontHeight", 14);
  title.TextBackLeft = ReadInt(section, "TXTBackleft", 0);
  title.TextBackRight = ReadInt(section, "TXTBackRight", 0);
  title.ActiveTextColour = kSkinNoColour;
  title.InactiveTextColour = kSkinNoColour;
  ReadRGB(ini_, section, "ActiveText", title.ActiveTextColour);
  ReadRGB(ini_, section, "InActiveText", title.InactiveTextColour);
}

void TSkinModelBuilder::LoadMenuBar(std::unique_ptr<TDataSkinObject>& slot,
                                    std::string_view section) {
  slot.reset();
  const std::string image = ReadText(section, "menuBar");
  if (image.empty()) return;
  TDataSkinObject& bar = CreateIn(slot, section);
  LoadSkinBitmap(*bar.Bitmap, image);
  bar.Margins.top = 0;
  bar.Margins.bottom = 0;
  bar.Tile = ReadInt(section, "TileMenu", 1);
  // Flags, not pixel widths: whether the menu bar's ends are tiled.
  bar.Margins.left = ReadInt(section, "TileLeftMenu", 1);
  bar.Margins.right = ReadInt(section, "TileRightMenu", 1);
  ClampTile(bar, 1);
}

void TSkinModelBuilder::LoadBorders() {
  struct Border {
    const char* name;
    std::unique_ptr<TDataSkinBorder>& slot;
    bool vertical;
  };
  const Border borders[] = {{"Left", model_.BorderLeft, true},
                            {"Right", model_.BorderRight, true},
                            {"Top", model_.BorderTop, false},
                            {"Bottom", model_.BorderBottom, false}};
  for (const Border& b : borders) {
    const std::string n = b.name;
    TDataSkinBorder& border = *b.slot;
    const int32_t first = ReadInt(kPersonality, n + "TopHeight", 0);
    const int32_t last = ReadInt(kPersonality, n + "BotHeight", 0);
    // Side borders keep their top and bottom ends; the top and bottom borders keep their
    // left and right ends.
    border.Margins = b.vertical ? RECT{0, first, 0, last} : RECT{first, 0, last, 0};
    border.FrameCount = ReadInt(kPersonality, n + "Frame", 1);
    border.Tile = ReadInt(kPersonality, n + "Stretch", 1);
    border.Trans = ReadInt(kPersonality, n + "Trans", 1);
    LoadSkinBitmap(*border.Bitmap, ReadText(kPersonality, n));
    ClampTile(border, 1);
  }
}

void TSkinModelBuilder::LoadColours() {
  constexpr std::string_view section = "Colours";
  TSkinModel& m = model_;
  auto read = [&](const char* key, int32_t fallback) {
    return ReadColour(ReadText(section, key), fallback);
  };
  m.WindowTextColour = read("WindowText", SystemColor(COLOR_WINDOWTEXT));
  m.ButtonFaceColour = read("ButtonFace", SystemColor(COLOR_BTNFACE));
  m.ScrollbarColour = read("Scrollbar", SystemColor(COLOR_SCROLLBAR));
  m.HilightTextColour = read("HilightText", SystemColor(COLOR_HIGHLIGHTTEXT));
  m.HilightColour = read("Hilight", SystemColor(COLOR_HIGHLIGHT));
  m.MenubarColour = read("Menubar", m.ButtonFaceColour);
  m.MenuColour = read("Menu", SystemColor(COLOR_MENU));
  m.MenuTextColour = read("MenuText", SystemColor(COLOR_MENUTEXT));
  m.ButtonTextColour = read("ButtonText", SystemColor(COLOR_BTNTEXT));
  m.ButtonHilightColour = read("ButtonHilight", SystemColor(COLOR_BTNHIGHLIGHT));
  // The button highlight, not the 3-D light colour.
  m.ButtonLightColour = read("Buttonlight", SystemColor(COLOR_BTNHIGHLIGHT));
  m.ButtonShadowColour = read("ButtonShadow", SystemColor(COLOR_BTNSHADOW));
  m.ButtonDkShadowColour = read("ButtonDkShadow", SystemColor(COLOR_3DDKSHADOW));
  m.MenuBarTextColour = read("MenuBarText", SystemColor(COLOR_MENUTEXT));
  m.TitleTextActiveColour = read("TitleTextActive", SystemColor(COLOR_CAPTIONTEXT));
  m.TitleTextNoActiveColour = read("TitleTextNoActive", SystemColor(COLOR_INACTIVECAPTIONTEXT));

  m.ColourTable.clear();
  for (const std::string& name : ColourSectionNames(sections_))
    m.ColourTable.push_back(ReadColour(ReadText(name, "color"), SystemColor(COLOR_WINDOWTEXT)));

  for (size_t i = 0; i < m.CustomColours.size(); ++i)
    m.CustomColours[i] =
        ReadColour(ReadText("Customcolors", "Color" + std::to_string(i)), 0x00FFFFFF);
}

void TSkinModelBuilder::LoadBuiltinTrack(std::unique_ptr<TDataSkinObject>& slot,
                                         const char* resourceName) {
  TDataSkinObject& track = CreateIn(slot, resourceName);
  std::string reason;
  if (!LoadBitmapResource(*track.Bitmap, resources_, resourceName, &reason))
    warnings_.push_back(std::string("built-in bitmap ") + resourceName + ": " + reason);
  track.Margins = RECT{3, 3, 3, 3};
  track.Tile = 0;
  track.FrameCount = 1;
}
