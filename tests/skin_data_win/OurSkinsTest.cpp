// Our two skins (built into skins/NAME.skn) give the element model their INI texts
// describe: every named picture is present and sound, and every element takes the keys
// of its section by the loader rules.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "skin/data/SkinBitmaps.h"
#include "skin/data/SkinIniRules.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WinSkinIni.h"
#include "tests/skin_data_win/SkinTestSupport.h"

namespace {

struct LoadedSkin {
  std::unique_ptr<TSkinData> data;
  TQuickIni ini;
};

LoadedSkin LoadOurSkin(const std::string& name) {
  LoadedSkin skin;
  TMemoryStream text(ReadFileBytes(BuildPath(std::string(PTEST_SOURCE_DIR) + "/skins/" + name + "/skin.ini")));
  skin.ini.LoadFromStream(&text);
  skin.data = std::make_unique<TSkinData>(nullptr);
  skin.data->SkinStream->Buffer() = ReadFileBytes(BuildPath(std::string(PTEST_BINARY_DIR) + "/skins/" + name + ".skn"));
  EXPECT_TRUE(skin.data->LoadSkin()) << name;
  return skin;
}

// How an element's frame count comes about.
enum class Frames { Key, Fixed, KeyOrFive, ThumbKey };

struct ElementRule {
  const char* section;
  std::function<const TDataSkinObject*(const TSkinData&)> element;
  const char* imageKey;
  Frames frames;
  int32_t fixed;
  int32_t tileAbove1;  // what Tile above 1 becomes
  bool marginsFromKeys;
};

std::vector<ElementRule> Rules() {
  using D = const TSkinData&;
  return {
      {"Progress", [](D d) { return d.Progress.get(); }, "Bitmap", Frames::Fixed, 2, 1, true},
      {"Progress.Chunk", [](D d) { return d.ProgressChunk.get(); }, "Image", Frames::Key, 0, 0, true},
      {"GroupBoxEdge", [](D d) { return d.GroupBoxEdge.get(); }, "Image", Frames::Fixed, 2, 0, true},
      {"GroupBox", [](D d) { return d.GroupBox.get(); }, "Image", Frames::Fixed, 1, 0, true},
      {"Tabs", [](D d) { return d.Tabs.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"StatusBarEdges", [](D d) { return d.StatusBarEdges.get(); }, "Image", Frames::Fixed, 3, 0, true},
      {"Tab.Pane", [](D d) { return d.TabPane.get(); }, "Image", Frames::Fixed, 1, 0, false},
      {"ToolBars", [](D d) { return d.ToolBars.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"ComboButton", [](D d) { return d.ComboButton.get(); }, "Image", Frames::Fixed, 4, 0, false},
      {"SunkEdge", [](D d) { return d.SunkEdge.get(); }, "Image", Frames::Fixed, 4, 0, false},
      {"ExtraImages", [](D d) { return d.ExtraImages.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"Headerbar", [](D d) { return d.Headerbar.get(); }, "Image", Frames::KeyOrFive, 0, 0, true},
      {"MenuItem", [](D d) { return d.MenuItem.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"MenuBackground", [](D d) { return d.MenuBackground.get(); }, "Image", Frames::Fixed, 1, 0, true},
      {"Scrollbar", [](D d) { return d.Scrollbar.get(); }, "Image", Frames::Fixed, 23, 0, true},
      {"HorzScroll", [](D d) { return d.HorzScroll.get(); }, "Image", Frames::Fixed, 4, 0, true},
      {"VertScroll", [](D d) { return d.VertScroll.get(); }, "Image", Frames::Fixed, 4, 0, true},
      {"HorzScrollThumb", [](D d) { return d.HorzScrollThumb.get(); }, "Image", Frames::ThumbKey, 0, 0, true},
      {"VertScrollThumb", [](D d) { return d.VertScrollThumb.get(); }, "Image", Frames::ThumbKey, 0, 0, true},
      {"Trackbar.ThumbHorz", [](D d) { return d.TrackbarThumbHorz.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"Trackbar.ThumbVert", [](D d) { return d.TrackbarThumbVert.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"Trackbar.ThumbLeft", [](D d) { return d.TrackbarThumbLeft.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"Trackbar.ThumbRight", [](D d) { return d.TrackbarThumbRight.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"Trackbar.ThumbUp", [](D d) { return d.TrackbarThumbUp.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"Trackbar.ThumbDown", [](D d) { return d.TrackbarThumbDown.get(); }, "Image", Frames::Fixed, 5, 0, true},
      {"UpDown.Horz", [](D d) { return d.UpDownHorz.get(); }, "Image", Frames::Fixed, 8, 0, true},
      {"UpDown.Vert", [](D d) { return d.UpDownVert.get(); }, "Image", Frames::Fixed, 8, 0, true},
      {"Track", [](D d) { return d.Track.get(); }, "Image", Frames::Key, 0, 0, true},
      {"TRACKVERT", [](D d) { return d.TrackVert.get(); }, "Image", Frames::Key, 0, 0, true},
  };
}

class OurSkins : public ::testing::TestWithParam<const char*> {
 protected:
  void TearDown() override { ResetManager(); }
  MessageRecorder messages_;
};

TEST_P(OurSkins, EveryPictureIsPresentAndSound) {
  const LoadedSkin skin = LoadOurSkin(GetParam());
  EXPECT_TRUE(skin.data->SkinWarnings().empty())
      << (skin.data->SkinWarnings().empty() ? "" : skin.data->SkinWarnings()[0]);
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(skin.data->SkinName, skin.ini.ReadString("TitlebarSkin", "SkinName", "?"));
}

TEST_P(OurSkins, ElementsFollowTheirSections) {
  const LoadedSkin skin = LoadOurSkin(GetParam());
  const TSkinData& d = *skin.data;
  const TQuickIni& ini = skin.ini;
  for (const ElementRule& rule : Rules()) {
    const TDataSkinObject* e = rule.element(d);
    const std::string image = ini.ReadString(rule.section, rule.imageKey, "");
    if (image.empty()) {
      EXPECT_EQ(e, nullptr) << rule.section;
      continue;
    }
    ASSERT_NE(e, nullptr) << rule.section;
    EXPECT_FALSE(BitmapIsEmpty(*e->Bitmap)) << rule.section;
    EXPECT_EQ(e->Name, rule.section);
    EXPECT_EQ(e->Trans, ini.ReadInteger(rule.section, "Trans", 0)) << rule.section;
    const int32_t tile = ini.ReadInteger(rule.section, "Tile", 0);
    EXPECT_EQ(e->Tile, tile > 1 ? rule.tileAbove1 : tile) << rule.section;
    if (rule.marginsFromKeys) {
      EXPECT_EQ(e->Margins.left, ini.ReadInteger(rule.section, "LeftWidth", 0)) << rule.section;
      EXPECT_EQ(e->Margins.top, ini.ReadInteger(rule.section, "TopHeight", 0)) << rule.section;
      EXPECT_EQ(e->Margins.right, ini.ReadInteger(rule.section, "RightWidth", 0)) << rule.section;
      EXPECT_EQ(e->Margins.bottom, ini.ReadInteger(rule.section, "BottomHeight", 0)) << rule.section;
    }
    const int32_t key = ini.ReadInteger(rule.section, "Frame", 0);
    switch (rule.frames) {
      case Frames::Key: EXPECT_EQ(e->FrameCount, key) << rule.section; break;
      case Frames::Fixed: EXPECT_EQ(e->FrameCount, rule.fixed) << rule.section; break;
      case Frames::KeyOrFive: EXPECT_EQ(e->FrameCount, key == 0 ? 5 : key) << rule.section; break;
      case Frames::ThumbKey:
        EXPECT_EQ(e->FrameCount, ini.ReadInteger(rule.section, "FrameCount", 3)) << rule.section;
        break;
    }
  }
  if (d.TabPane) {
    EXPECT_EQ(d.TabPane->Margins.left, std::min(ini.ReadInteger("Tab.Pane", "LeftWidth", 0), 4));
  }
}

TEST_P(OurSkins, BordersTitleButtonsAndColours) {
  const LoadedSkin skin = LoadOurSkin(GetParam());
  const TSkinData& d = *skin.data;
  const TQuickIni& ini = skin.ini;
  const std::pair<const char*, const TDataSkinBorder*> borders[] = {
      {"Left", d.BorderLeft.get()}, {"Right", d.BorderRight.get()}, {"Top", d.BorderTop.get()},
      {"Bottom", d.BorderBottom.get()}};
  for (const auto& [n, border] : borders) {
    const std::string name = n;
    const int32_t first = ini.ReadInteger("Personality", name + "TopHeight", 0);
    const int32_t last = ini.ReadInteger("Personality", name + "BotHeight", 0);
    const bool side = name == "Left" || name == "Right";
    EXPECT_EQ(border->Margins.left, side ? 0 : first) << name;
    EXPECT_EQ(border->Margins.top, side ? first : 0) << name;
    EXPECT_EQ(border->Margins.right, side ? 0 : last) << name;
    EXPECT_EQ(border->Margins.bottom, side ? last : 0) << name;
    EXPECT_EQ(border->FrameCount, ini.ReadInteger("Personality", name + "Frame", 1)) << name;
    EXPECT_EQ(border->Trans, ini.ReadInteger("Personality", name + "Trans", 1)) << name;
    EXPECT_FALSE(BitmapIsEmpty(*border->Bitmap)) << name;
  }
  const TDataSkinTitle& title = *d.Title;
  EXPECT_EQ(title.Margins.left, ini.ReadInteger("Personality", "TextShift", 0));
  EXPECT_EQ(title.Margins.right, ini.ReadInteger("Personality", "TextRightClip", 0));
  EXPECT_EQ(title.FontHeight, ini.ReadInteger("Fonts", "FontHeight", 14));
  int32_t active = kSkinNoColour;
  ReadRGB(ini, "Personality", "ActiveText", active);
  EXPECT_EQ(title.ActiveTextColour, active);
  EXPECT_NE(title.ActiveTextColour, kSkinNoColour);

  // Caption buttons: the BUTTONn sections in order, then the three MDI buttons.
  std::vector<std::string> sections;
  ini.GetSections(&sections);
  const auto captionSections = CaptionButtonSectionNames(ini, sections);
  ASSERT_EQ(d.SysButtons.size(), captionSections.size() + 3);
  for (size_t i = 0; i < captionSections.size(); ++i) {
    const TDataSkinSysButton& b = *d.SysButtons[i];
    const std::string& s = captionSections[i];
    EXPECT_EQ(b.Name, SkinUpperCase(s));
    EXPECT_EQ(b.Action, ini.ReadInteger(s, "Action", 0)) << s;
    EXPECT_EQ(b.Align, ini.ReadInteger(s, "Align", 0)) << s;
    EXPECT_EQ(b.FrameCount, ini.ReadInteger(s, "frame", 0)) << s;
    const bool picture = !SkinBitmapEntryName(ini.ReadString(s, "ButtonImage", "")).empty();
    EXPECT_EQ(!BitmapIsEmpty(*b.Bitmap), picture) << s;
  }
  const TDataSkinButton& buttons = *d.Buttons;
  EXPECT_EQ(buttons.FrameCount, 5);
  EXPECT_EQ(buttons.CheckFrameCount, ini.ReadInteger("Buttons", "CheckButtonFrame", 0));
  EXPECT_EQ(buttons.RadioFrameCount, ini.ReadInteger("Buttons", "RadioButtonFrame", 0));
  EXPECT_FALSE(BitmapIsEmpty(*buttons.CheckBitmap));
  EXPECT_FALSE(BitmapIsEmpty(*buttons.RadioBitmap));

  EXPECT_EQ(d.ButtonFaceColour, ParseColour(ini.ReadString("Colours", "ButtonFace", "")));
  EXPECT_EQ(d.MenuTextColour, ParseColour(ini.ReadString("Colours", "MenuText", "")));
  EXPECT_EQ(d.TitleTextNoActiveColour, ParseColour(ini.ReadString("Colours", "TitleTextNoActive", "")));
  // The composite combo strips exist for both skins (they have [SunkEdge] and
  // [ComboButton]).
  ASSERT_TRUE(d.ComboButton && d.ComboArrow);
  EXPECT_EQ(d.ComboButton->Style, 2);
  EXPECT_EQ(d.ComboArrow->FrameCount, 4);
  EXPECT_EQ(d.ComboArrow->Bitmap->Width(), 68);
}

INSTANTIATE_TEST_SUITE_P(Skins, OurSkins, ::testing::Values("default", "dark"));

TEST(BuiltinBitmaps, TrackGroovesAndMenuGlyphsAreResourcesOfTheProgram) {
  TBitmap track, vertical, glyphs;
  std::string reason;
  HINSTANCE module = GetModuleHandleW(nullptr);
  ASSERT_TRUE(LoadBitmapResource(track, module, "TRACK", &reason)) << reason;
  ASSERT_TRUE(LoadBitmapResource(vertical, module, "TRACKVERT", &reason)) << reason;
  ASSERT_TRUE(LoadBitmapResource(glyphs, module, "ORVATHMENU", &reason)) << reason;
  EXPECT_EQ(track.Width(), 16);
  EXPECT_EQ(track.Height(), 4);
  EXPECT_EQ(vertical.Width(), 4);
  EXPECT_EQ(vertical.Height(), 16);
  EXPECT_EQ(glyphs.Width(), 64);
  EXPECT_EQ(glyphs.Height(), 16);
  // Grey top line, white body, silver left end; turned upright for TRACKVERT.
  EXPECT_EQ(BitmapPixel(track, 8, 0, -1), 0x808080);
  EXPECT_EQ(BitmapPixel(track, 8, 2, -1), 0xFFFFFF);
  EXPECT_EQ(BitmapPixel(track, 0, 2, -1), 0xC0C0C0);
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 16; ++y)
      EXPECT_EQ(BitmapPixel(vertical, x, y, -1), BitmapPixel(track, y, x, -2)) << x << "," << y;
  // Black glyphs on white: the close cross has its centre set, the corners of every cell
  // are white.
  EXPECT_EQ(BitmapPixel(glyphs, 48 + 7, 7, -1), 0);
  for (int cell = 0; cell < 4; ++cell) EXPECT_EQ(BitmapPixel(glyphs, 16 * cell, 0, -1), 0xFFFFFF);
  EXPECT_EQ(BitmapPixel(glyphs, 16 + 3, 2, -1), 0);   // maximize: thick top line
  EXPECT_EQ(BitmapPixel(glyphs, 32 + 5, 10, -1), 0);  // minimize: bar at the bottom
}

}  // namespace
