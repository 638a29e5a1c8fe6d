// A sweep of random skin descriptions over every section and key the loaders read, with
// values from the absurd to the ordinary and pictures from 1 x 1 to odd sizes: each loads
// without a fault, and the model keeps its promises (always-present elements, generated
// images, frame counts the engine fixes).
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "skin/data/SkinBitmaps.h"
#include "skin/data/WinSkinData.h"
#include "tests/skin_data_win/SkinTestSupport.h"
#include "tools/skininfo/SkinInfoJson.h"

namespace {

const char* const kSections[] = {
    "Personality", "Colours", "Buttons", "Progress", "Progress.Chunk", "GroupBoxEdge", "GroupBox",
    "Tabs", "StatusBarEdges", "Tab.Pane", "ToolBars", "ComboButton", "SunkEdge", "ExtraImages",
    "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll",
    "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz", "UpDown.Horz", "UpDown.Vert",
    "Track", "TRACKVERT", "MDICONTROLS", "BUTTON0", "BUTTON1", "BUTTON2", "Colour3", "Fonts",
    "Customcolors"};
const char* const kKeys[] = {
    "Image", "Bitmap", "Frame", "FrameCount", "LeftWidth", "TopHeight", "RightWidth",
    "BottomHeight", "Trans", "Tile", "Style", "NormalColour", "NormalColour2", "Border",
    "GlyphImage", "Left", "Top", "Right", "Bottom", "TopFrame", "LeftFrame", "TopTopHeight",
    "TopBotHeight", "TopStretch", "menuBar", "TileMenu", "TextBack", "TextShift",
    "ActiveTextR", "ActiveTextG", "ActiveTextB", "Action", "Visibility", "Xcoord", "frame",
    "ButtonImage", "CheckButton", "RadioButton", "CheckButtonFrame", "ButtonFace",
    "ButtonText", "color", "Color1", "FontHeight", "BackgroundLeftShift"};
const char* const kPictures[] = {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "missing.bmp", "x.BMP", "0"};

std::string RandomValue(std::mt19937& random) {
  static const char* const kNumbers[] = {"0", "1", "-1", "2", "3", "4", "13", "255", "-2147483648",
                                         "2147483647", "99999", "$7FFFFFFF", "x", "",
                                         "1 2", "300 300 300", "10,20,30"};
  if (random() % 3 == 0) return kPictures[random() % std::size(kPictures)];
  return kNumbers[random() % std::size(kNumbers)];
}

class SkinDataSweep : public ::testing::Test {
 protected:
  void TearDown() override { ResetManager(); }
  MessageRecorder messages_;
};

TEST_F(SkinDataSweep, RandomDescriptionsLoadAndKeepTheModelsPromises) {
  std::mt19937 random(20240607);
  const std::vector<TSkinEntry> pictures = {
      {"a.bmp", Bmp24(1, 1, 0xFF00FF)},
      {"b.bmp", Bmp24(57, 19, [](int x, int y) { return static_cast<uint32_t>(x * 4 + y); })},
      {"c.bmp", Bmp24(3, 90, 0x00FF00)},
      {"d.bmp", Bmp24(121, 7, 0x123456)},
  };
  for (int round = 0; round < 400; ++round) {
    std::string ini;
    const int sections = 1 + static_cast<int>(random() % 12);
    for (int s = 0; s < sections; ++s) {
      ini += std::string("[") + kSections[random() % std::size(kSections)] + "]\n";
      const int keys = static_cast<int>(random() % 10);
      for (int k = 0; k < keys; ++k)
        ini += std::string(kKeys[random() % std::size(kKeys)]) + "=" + RandomValue(random) + "\n";
    }
    auto data = std::make_unique<TSkinData>(nullptr);
    data->SkinStream->Buffer() = MakeSkinFile(ini, pictures);
    ASSERT_TRUE(data->LoadSkin()) << ini;
    const TSkinData& d = *data;
    ASSERT_TRUE(d.Title && d.Buttons && d.BorderTop && d.Track && d.TrackVert && d.ComboArrow &&
                d.ToolbarBackground) << ini;
    EXPECT_EQ(d.Buttons->FrameCount, 5) << ini;
    EXPECT_NE(d.Buttons->RadioFrameCount, 0) << ini;
    EXPECT_EQ(d.ToolbarBackground->Bitmap->Width(), 10) << ini;
    EXPECT_GE(d.SysButtons.size(), 3u) << ini;
    if (d.Scrollbar) {
      EXPECT_EQ(d.Scrollbar->FrameCount, 23) << ini;
    }
    if (d.TabPane) {
      EXPECT_LE(d.TabPane->Margins.left, 4) << ini;
      EXPECT_LE(d.TabPane->Margins.bottom, 4) << ini;
    }
    const std::vector<const TDataSkinObject*> tiled = {d.Tabs.get(), d.ToolBars.get(),
                                                        d.MenuItem.get()};
    for (const TDataSkinObject* e : tiled) {
      if (e != nullptr) {
        EXPECT_LE(e->Tile, 1) << ini;
      }
    }
    if (d.SunkEdge && d.ComboButton) {
      EXPECT_EQ(d.ComboButton->Style, 2) << ini;
    }
    EXPECT_FALSE(SkinModelToJson(d, d.SkinWarnings()).empty());
    EXPECT_TRUE(messages_.messages.empty()) << ini;
    data.reset();
    ResetManager();
  }
}

}  // namespace
