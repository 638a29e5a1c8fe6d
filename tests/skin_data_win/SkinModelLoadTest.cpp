// The element model built from synthetic skins: every loader rule, the fixed frame counts,
// the generated images, and the same model as skininfo prints it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/ResourceCount.h"
#include "skin/data/SkinBitmaps.h"
#include "skin/data/WinSkinData.h"
#include "skin/image/ImgUtil.h"
#include "tests/skin_data_win/MiniJson.h"
#include "tests/skin_data_win/SkinTestSupport.h"
#include "tools/skininfo/SkinInfoJson.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

// The top border's pixels tell where GetTitleColour sampled.
uint32_t TopPixel(int x, int y) { return static_cast<uint32_t>(x * 8 | (y * 4) << 8 | 0x40 << 16); }

const char kEveryRuleIni[] = R"(
[TitlebarSkin]
SkinName=Synthetic

[Personality]
Left=frames\left.bmp
LeftTopHeight=20
LeftBotHeight=4
LeftFrame=2
Right=right.BMP
Top=C:\skins\blue\top.bmp
TopTopHeight=6
TopBotHeight=7
TopFrame=2
TopStretch=3
Bottom=bottom.bmp
BottomTrans=0
TextShift=25
TextShiftVert=2
TextRightClip=90
TextAlignment=1
Textbackground=1
TXTBackleft=3
TXTBackRight=4
TextBack=textback.bmp
ActiveTextR=10
ActiveTextG=20
InActiveTextR=1
InActiveTextG=2
InActiveTextB=3
menuBar=menubar.bmp
TileMenu=7
TileLeftMenu=0

[Fonts]
FontHeight=16

[Colours]
WindowText=10 20 30
ButtonFace=200
Scrollbar=10 20
Hilight=300,0,0
ButtonText=1;2;3
Menubar=

[Colour2]
color=2 2 2
[Colour0]
color=0 0 0
[COLOURS]
color=9 9 9
[Colour1]
[Customcolors]
Color3=9 8 7

[BUTTON0]
Action=0
Align=1
Xcoord=30
Ycoord=5
frame=4
ButtonImage=close.bmp

[BUTTON1]
Action=1
Visibility=2
Xcoord=50
Ycoord=6
ButtonImage=skin\max.bmp

[BUTTON2]
Action=4
Xcoord=1
Ycoord=1
ButtonImage=help.bmp

[BUTTON3]
Action=3
ButtonImage=0

[BUTTON4]
Action=3
ButtonImage=max.bmp

[BUTTON5]
Action=-1
Visibility=0
ButtonImage=help.bmp

[BUTTON6]
Action=-1
Visibility=2

[Button.Radio]
Action=2

[MDICONTROLS]
Image=mdi.bmp

[Buttons]
Bitmap=button.bmp
LeftWidth=4
TopHeight=5
RightWidth=6
BottomHeight=7
Trans=1
Tile=2
CheckButton=check.bmp
RadioButton=radio.bmp
CheckButtonFrame=9
NormalColour=3
MouseOverColour2=40 50 60

[ToolBars]
Image=toolbar.bmp
Tile=2

[Progress]
Bitmap=progress.bmp
Tile=2
Style=0
NormalColour2=1 1 1

[Progress.Chunk]
Image=chunk.bmp
Frame=3

[Tab.Pane]
Image=pane.bmp
LeftWidth=9
TopHeight=4
RightWidth=3
BottomHeight=-2

[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
Frame=9
Tile=1

[Headerbar]
Image=header.bmp
Frame=0

[HorzScrollThumb]
Image=thumb.bmp
FrameCount=7
Frame=2

[VertScrollThumb]
Image=thumb.bmp

[GroupBox]
Image=group.bmp
BackgroundAlignment=2
BackgroundLeftShift=5
BackgroundRightShift=6
Frame=8

[UpDown.Vert]
Image=updown.bmp
GlyphImage=glyphs.bmp

[Scrollbar]
Image=missing.bmp

[Track]
Image=track.bmp
LeftWidth=2
Frame=3
)";

std::vector<TSkinEntry> EveryRuleEntries() {
  return {
      {"left.bmp", Bmp24(8, 60, 0x112233)},
      {"right.bmp", Bmp24(8, 60, 0x112233)},
      {"top.bmp", Bmp24(30, 40, TopPixel)},
      {"bottom.bmp", Bmp24(30, 10, 0x445566)},
      {"textback.bmp", Bmp24(12, 18, 0x101010)},
      {"menubar.bmp", Bmp24(20, 18, 0x202020)},
      {"close.bmp", Bmp24(80, 20, 0x303030)},
      {"max.bmp", Bmp24(57, 19, 0x404040)},
      {"help.bmp", Bmp24(114, 19, 0x505050)},
      {"mdi.bmp", Bmp24(120, 14, [](int x, int) { return static_cast<uint32_t>(x); })},
      {"button.bmp", Bmp24(100, 21, 0x606060)},
      {"check.bmp", Bmp24(130, 13, 0x707070)},
      {"radio.bmp", Bmp24(96, 16, 0x808080)},
      {"toolbar.bmp", Bmp24(50, 20, 0x909090)},
      {"progress.bmp", Bmp24(20, 10, 0xA0A0A0)},
      {"chunk.bmp", Bmp24(9, 10, 0xB0B0B0)},
      {"pane.bmp", Bmp24(20, 20, 0xC0C0C0)},
      {"tabs.bmp", Bmp24(100, 20, 0xD0D0D0)},
      {"tabborder.bmp", Bmp24(10, 10, 0xE0E0E0)},
      {"header.bmp", Bmp24(50, 20, 0xF0F0F0)},
      {"thumb.bmp", Bmp24(21, 15, 0x010101)},
      {"group.bmp", Bmp24(8, 8, 0x020202)},
      {"updown.bmp", Bmp24(64, 10, 0x030303)},
      {"glyphs.bmp", Bmp24(64, 8, 0x040404)},
      {"track.bmp", Bmp24(30, 6, 0x050505)},
  };
}

std::unique_ptr<TSkinData> Load(const std::string& ini, std::vector<TSkinEntry> entries = {}) {
  auto data = std::make_unique<TSkinData>(nullptr);
  data->SkinStream->Buffer() = MakeSkinFile(ini, std::move(entries));
  EXPECT_TRUE(data->LoadSkin());
  EXPECT_FALSE(data->SkinEmpty);
  return data;
}

int Width(const std::unique_ptr<TBitmap>& bitmap) { return BitmapIsEmpty(*bitmap) ? 0 : bitmap->Width(); }
int Height(const std::unique_ptr<TBitmap>& bitmap) { return BitmapIsEmpty(*bitmap) ? 0 : bitmap->Height(); }

void ExpectMargins(const RECT& m, LONG left, LONG top, LONG right, LONG bottom, const char* what) {
  EXPECT_EQ(m.left, left) << what;
  EXPECT_EQ(m.top, top) << what;
  EXPECT_EQ(m.right, right) << what;
  EXPECT_EQ(m.bottom, bottom) << what;
}

class SkinModelLoad : public ::testing::Test {
 protected:
  void SetUp() override { data_ = Load(kEveryRuleIni, EveryRuleEntries()); }
  void TearDown() override {
    data_.reset();
    ResetManager();
  }
  MessageRecorder messages_;
  std::unique_ptr<TSkinData> data_;
};

TEST_F(SkinModelLoad, ColoursTakeOneTwoAndThreeNumbersAndDefaults) {
  const TSkinData& d = *data_;
  EXPECT_EQ(d.SkinName, "Synthetic");
  EXPECT_EQ(d.WindowTextColour, 0x001E140A);
  EXPECT_EQ(d.ButtonFaceColour, 0);  // one number: black
  EXPECT_EQ(d.ScrollbarColour, 0x0000000A);  // two numbers: the second is dropped
  EXPECT_EQ(d.HilightColour, 0x0000002C);    // 300 modulo 256
  EXPECT_EQ(d.ButtonTextColour, 0x00030201);
  EXPECT_EQ(d.MenubarColour, d.ButtonFaceColour);  // empty: the skin's button face
  EXPECT_EQ(d.HilightTextColour, SystemColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(d.ButtonLightColour, SystemColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(d.ButtonDkShadowColour, SystemColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(d.TitleTextNoActiveColour, SystemColor(COLOR_INACTIVECAPTIONTEXT));
  // [COLOURn] sections in text order; [COLOURS] is not one of them; no key: default.
  EXPECT_EQ(d.ColourTable, (std::vector<int32_t>{0x00020202, 0, SystemColor(COLOR_WINDOWTEXT)}));
  for (size_t i = 0; i < d.CustomColours.size(); ++i)
    EXPECT_EQ(d.CustomColours[i], i == 3 ? 0x00070809 : 0x00FFFFFF) << i;
}

TEST_F(SkinModelLoad, FrameBordersReadTheirCompanionKeys) {
  const TSkinData& d = *data_;
  ExpectMargins(d.BorderLeft->Margins, 0, 20, 0, 4, "Left");
  EXPECT_EQ(d.BorderLeft->FrameCount, 2);
  EXPECT_EQ(Width(d.BorderLeft->Bitmap), 8);  // "frames\left.bmp" found by its file name
  // "right.BMP": capitals do not count as a bitmap name.
  EXPECT_EQ(Width(d.BorderRight->Bitmap), 0);
  EXPECT_EQ(d.BorderRight->FrameCount, 1);
  ExpectMargins(d.BorderTop->Margins, 6, 0, 7, 0, "Top");
  EXPECT_EQ(d.BorderTop->Tile, 1);  // TopStretch=3 becomes 1
  EXPECT_EQ(d.BorderTop->Trans, 1);
  EXPECT_EQ(d.BorderBottom->Trans, 0);
  EXPECT_EQ(d.BorderBottom->Tile, 1);
  EXPECT_EQ(d.BorderBottom->Name, "Bottom");
  // The pixel at (width div 3, (height div frames) div 3) of the top border.
  EXPECT_EQ(d.TitleColour, static_cast<int32_t>(TopPixel(30 / 3, 40 / 2 / 3)));
}

TEST_F(SkinModelLoad, TitleAndMenuBar) {
  const TDataSkinTitle& t = *data_->Title;
  ExpectMargins(t.Margins, 25, 2, 90, 0, "Title");
  EXPECT_EQ(t.TextAlignment, 1);
  EXPECT_EQ(t.TextBackground, 1);
  EXPECT_EQ(t.FontHeight, 16);
  EXPECT_EQ(t.TextBackLeft, 3);
  EXPECT_EQ(t.TextBackRight, 4);
  EXPECT_EQ(t.ActiveTextColour, kSkinNoColour);  // ActiveTextB is missing
  EXPECT_EQ(t.InactiveTextColour, 0x00030201);
  EXPECT_EQ(Width(t.Bitmap), 12);
  EXPECT_EQ(t.FrameCount, 2);
  ASSERT_TRUE(data_->MenuBar);
  const TDataSkinObject& bar = *data_->MenuBar;
  EXPECT_EQ(bar.Name, "Personality");
  EXPECT_EQ(bar.Tile, 1);  // TileMenu=7 becomes 1
  ExpectMargins(bar.Margins, 0, 0, 1, 0, "MenuBar");
  EXPECT_EQ(bar.FrameCount, 2);
}

TEST_F(SkinModelLoad, CaptionButtonsWithAndWithoutFrameKeys) {
  const auto& b = data_->SysButtons;
  // BUTTON0 ... BUTTON5 (BUTTON6 has no action and is not always shown; Button.Radio is
  // no caption button), then the three MDI buttons.
  ASSERT_EQ(b.size(), 9u);
  const char* names[] = {"BUTTON0", "BUTTON1", "BUTTON2", "BUTTON3", "BUTTON4", "BUTTON5"};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(b[i]->Name, names[i]);
  EXPECT_EQ(b[0]->FrameCount, 4);                     // frame key
  EXPECT_EQ(b[1]->FrameCount, 3);                     // 57 x 19: ratio 3.0
  EXPECT_EQ(Width(b[1]->Bitmap), 57);                 // "skin\max.bmp"
  EXPECT_EQ(b[2]->FrameCount, 6);                     // 114 x 19: ratio 6.0
  EXPECT_EQ(b[2]->XCoord, 50);                        // the help button takes the
  EXPECT_EQ(b[2]->YCoord, 6);                         // maximise button's place
  EXPECT_EQ(b[3]->FrameCount, 6);                     // "0" is no bitmap
  EXPECT_EQ(Width(b[3]->Bitmap), 0);
  EXPECT_EQ(b[4]->FrameCount, 3);                     // counted from the picture ...
  EXPECT_EQ(Width(b[4]->Bitmap), 0);                  // ... which action 3 then drops
  EXPECT_EQ(b[5]->FrameCount, 6);                     // negative action
  EXPECT_EQ(b[5]->Visibility1, -1);
  EXPECT_EQ(b[0]->Visibility1, 0);
  EXPECT_EQ(b[0]->CombineOp, -1);
  EXPECT_EQ(b[0]->Align, 1);
  ExpectMargins(b[0]->Margins, 0, 0, 0, 0, "caption button");
  EXPECT_EQ(b[0]->Trans, 0);
  // MDI buttons: 120 / 12 = 10 pixels a cell, four cells each.
  for (size_t i = 0; i < 3; ++i) {
    const TDataSkinSysButton& mdi = *b[6 + i];
    EXPECT_EQ(mdi.Action, static_cast<int32_t>(7 + i));
    EXPECT_EQ(mdi.Align, 100);
    EXPECT_EQ(mdi.Visibility, 100);
    EXPECT_EQ(mdi.Visibility1, 100);
    EXPECT_EQ(mdi.FrameCount, 4);
    EXPECT_EQ(mdi.XCoord, static_cast<int32_t>(14 * (3 - i)));
    EXPECT_EQ(mdi.YCoord, 0);
    EXPECT_EQ(mdi.CombineOp, 0);
    EXPECT_EQ(Width(mdi.Bitmap), 40);
    EXPECT_EQ(Height(mdi.Bitmap), 14);
    // The source picture's red channel is its x: cell i starts at x = 40 i.
    EXPECT_EQ(BitmapPixel(*mdi.Bitmap, 3, 5, -1), static_cast<int32_t>(40 * i + 3));
  }
}

TEST_F(SkinModelLoad, ButtonsElementAndMarks) {
  const TDataSkinButton& b = *data_->Buttons;
  ExpectMargins(b.Margins, 4, 5, 6, 7, "Buttons");
  EXPECT_EQ(b.Trans, 1);
  EXPECT_EQ(b.Tile, 0);  // Tile=2 becomes 0
  EXPECT_EQ(b.FrameCount, 5);
  EXPECT_EQ(b.Style, 0);
  EXPECT_EQ(b.CheckFrameCount, 9);  // given
  EXPECT_EQ(b.RadioFrameCount, 6);  // 96 wide, 16 high: 96 div 16
  EXPECT_EQ(b.NormalColour, 3);
  EXPECT_EQ(b.MouseOverColour, -1);
  EXPECT_EQ(b.HasNormalColour2, 0);
  EXPECT_EQ(b.HasMouseOverColour2, 1);
  EXPECT_EQ(b.NormalColour2, data_->ButtonTextColour);
  EXPECT_EQ(b.MouseOverColour2, 0x003C3228);
}

TEST_F(SkinModelLoad, ElementLoadersAndTheirClamps) {
  const TSkinData& d = *data_;
  ASSERT_TRUE(d.ToolBars && d.Progress && d.ProgressChunk && d.TabPane && d.Tabs &&
              d.Headerbar && d.HorzScrollThumb && d.VertScrollThumb && d.GroupBox &&
              d.UpDownVert && d.Scrollbar && d.Track && d.TrackVert);
  EXPECT_EQ(d.ToolBars->Tile, 0);     // Tile=2 becomes 0 ...
  EXPECT_EQ(d.Progress->Tile, 1);     // ... but 1 for a progress bar
  EXPECT_EQ(d.Progress->FrameCount, 2);
  EXPECT_EQ(d.Progress->NormalColour2, 0);  // a progress bar reads no colours
  EXPECT_EQ(d.Progress->NormalColour, -1);
  EXPECT_EQ(d.ProgressChunk->FrameCount, 3);
  ExpectMargins(d.TabPane->Margins, 4, 4, 3, -2, "Tab.Pane");  // at most 4 each
  EXPECT_EQ(d.TabPane->Name, "Tab.Pane");
  EXPECT_EQ(d.Tabs->FrameCount, 5);  // its Frame key is overruled
  EXPECT_EQ(d.Tabs->Tile, 1);
  EXPECT_EQ(Width(d.Tabs->Image2), 10);
  EXPECT_EQ(d.Headerbar->FrameCount, 5);  // skin gave 0
  EXPECT_EQ(d.HorzScrollThumb->FrameCount, 7);
  EXPECT_EQ(d.VertScrollThumb->FrameCount, 3);
  EXPECT_EQ(d.GroupBox->FrameCount, 1);
  EXPECT_EQ(d.GroupBox->BackgroundAlignment, 2);
  EXPECT_EQ(d.GroupBox->BackgroundLeftShift, 5);
  EXPECT_EQ(d.GroupBox->BackgroundRightShift, 6);
  EXPECT_EQ(d.UpDownVert->FrameCount, 8);
  EXPECT_EQ(Width(d.UpDownVert->Image2), 64);
  EXPECT_FALSE(d.UpDownHorz);
  // A named but missing picture: the element exists with an empty bitmap, and the load
  // notes it.
  EXPECT_EQ(Width(d.Scrollbar->Bitmap), 0);
  EXPECT_EQ(d.Scrollbar->FrameCount, 23);
  EXPECT_EQ(d.SkinWarnings(), (std::vector<std::string>{"missing.bmp: no such entry in the skin"}));
  // [Track] from the skin, [TRACKVERT] built in.
  EXPECT_EQ(d.Track->FrameCount, 3);
  ExpectMargins(d.Track->Margins, 2, 0, 0, 0, "Track");
  EXPECT_EQ(d.TrackVert->Name, "TRACKVERT");
  ExpectMargins(d.TrackVert->Margins, 3, 3, 3, 3, "TrackVert");
  EXPECT_EQ(d.TrackVert->FrameCount, 1);
  EXPECT_EQ(Width(d.TrackVert->Bitmap), 4);
  EXPECT_EQ(Height(d.TrackVert->Bitmap), 16);
  // Absent sections give absent elements.
  for (const auto* slot : {&d.SunkEdge, &d.ExtraImages, &d.GroupBoxEdge, &d.StatusBarEdges,
                           &d.MenuItem, &d.MenuBackground, &d.HorzScroll, &d.VertScroll,
                           &d.TrackbarThumbHorz, &d.TrackbarThumbDown})
    EXPECT_FALSE(*slot);
  EXPECT_FALSE(d.ComboButton);
  ASSERT_TRUE(d.ComboArrow);
  EXPECT_EQ(d.ComboArrow->Name, "ComboxArrow");
  EXPECT_EQ(Width(d.ComboArrow->Bitmap), 0);
}

TEST_F(SkinModelLoad, ToolbarBackgroundIsTheGradientFromTheTitleColour) {
  const TSkinData& d = *data_;
  ASSERT_TRUE(d.ToolbarBackground);
  EXPECT_EQ(d.ToolbarBackground->Name, "Toolbar");
  EXPECT_EQ(d.ToolbarBackground->FrameCount, 1);
  ASSERT_EQ(Width(d.ToolbarBackground->Bitmap), 10);
  ASSERT_EQ(Height(d.ToolbarBackground->Bitmap), 40);
  const int32_t title = d.TitleColour;
  int32_t bottom = MixColors(0x808080, title, 150);
  const int32_t top = MixColors(d.ButtonFaceColour, 0xFFFFFF, 150);
  const int32_t s = ColorSaturation(ResolveColour(title));
  if (s > 110) bottom = MixColors(title, 0xFFFFFF, (225 - s) * 25 / 140 + 50);
  for (const int y : {0, 1, 20, 39})
    EXPECT_EQ(BitmapPixel(*d.ToolbarBackground->Bitmap, 5, y, -1), GradientColour(40, top, bottom, y)) << y;
}

TEST_F(SkinModelLoad, SkinInfoPrintsEveryMemberByName) {
  const JsonValue json = ParseJson(SkinModelToJson(*data_, data_->SkinWarnings()));
  EXPECT_EQ(json["SkinName"].Str(), "Synthetic");
  EXPECT_EQ(json["WindowTextColour"].Str(), "0x001E140A");
  EXPECT_EQ(json["HilightTextColour"].Str(), "0x8000000E");
  EXPECT_EQ(json["ColourTable"].items.size(), 3u);
  EXPECT_EQ(json["ColourTable"][2].Str(), "0x80000008");
  EXPECT_EQ(json["CustomColours"][3].Str(), "0x00070809");
  EXPECT_EQ(json["SysButtons"].items.size(), 9u);
  const JsonValue& help = json["SysButtons"][2];
  EXPECT_EQ(help["Name"].Str(), "BUTTON2");
  EXPECT_EQ(help["XCoord"].Int(), 50);
  EXPECT_EQ(help["FrameCount"].Int(), 6);
  EXPECT_EQ(help["Bitmap"]["Width"].Int(), 114);
  EXPECT_TRUE(json["SysButtons"][3]["Bitmap"].IsNull());
  const JsonValue& pane = json["TabPane"];
  EXPECT_EQ(pane["Margins"][0].Int(), 4);
  EXPECT_EQ(pane["Margins"][3].Int(), -2);
  EXPECT_EQ(json["Buttons"]["CheckFrameCount"].Int(), 9);
  EXPECT_EQ(json["Buttons"]["RadioBitmap"]["Height"].Int(), 16);
  EXPECT_EQ(json["Title"]["ActiveTextColour"].Str(), "0x1FFFFFFF");
  EXPECT_EQ(json["Title"]["FontHeight"].Int(), 16);
  EXPECT_EQ(json["Tabs"]["Image2"]["Width"].Int(), 10);
  EXPECT_EQ(json["GroupBox"]["BackgroundRightShift"].Int(), 6);
  EXPECT_EQ(json["Progress"]["Tile"].Int(), 1);
  EXPECT_EQ(json["ToolBars"]["Tile"].Int(), 0);
  EXPECT_EQ(json["Scrollbar"]["NormalColour"].Int(), -1);
  EXPECT_TRUE(json["SunkEdge"].IsNull());
  EXPECT_TRUE(json["ComboArrow"]["Bitmap"].IsNull());
  EXPECT_EQ(json["BorderTop"]["Tile"].Int(), 1);
  EXPECT_EQ(json["Warnings"][0].Str(), "missing.bmp: no such entry in the skin");
  // Every element member is printed, present or not.
  const char* members[] = {"Title", "SysButtons", "Buttons", "Tabs", "UpDownHorz", "UpDownVert",
                           "SunkEdge", "ExtraImages", "ComboButton", "ComboArrow", "GroupBoxEdge",
                           "ToolbarBackground", "ToolBars", "Progress", "ProgressChunk",
                           "GroupBox", "StatusBarEdges", "TabPane", "Headerbar", "MenuBar",
                           "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll",
                           "HorzScrollThumb", "VertScrollThumb", "TrackbarThumbHorz",
                           "TrackbarThumbVert", "TrackbarThumbLeft", "TrackbarThumbRight",
                           "TrackbarThumbUp", "TrackbarThumbDown", "Track", "TrackVert",
                           "BorderLeft", "BorderRight", "BorderTop", "BorderBottom"};
  for (const char* member : members) EXPECT_NO_THROW((void)json[member]) << member;
}

// A skin without any INI: every key takes its default.
TEST(SkinModelDefaults, AnEmptyDescriptionGivesTheDefaults) {
  MessageRecorder messages;
  auto data = std::make_unique<TSkinData>(nullptr);
  data->SkinStream->Buffer() = BuildSkinFile(std::vector<TSkinEntry>{{"readme.txt", {'x'}}});
  ASSERT_TRUE(data->LoadSkin());
  const TSkinData& d = *data;
  EXPECT_FALSE(d.SkinEmpty);
  EXPECT_EQ(d.SkinName, "");
  EXPECT_EQ(d.ButtonFaceColour, SystemColor(COLOR_BTNFACE));
  EXPECT_EQ(d.MenubarColour, SystemColor(COLOR_BTNFACE));
  EXPECT_TRUE(d.ColourTable.empty());
  EXPECT_EQ(d.SysButtons.size(), 3u);  // the MDI buttons alone, without pictures
  EXPECT_EQ(Width(d.SysButtons[0]->Bitmap), 0);
  EXPECT_EQ(d.BorderTop->FrameCount, 1);
  EXPECT_EQ(d.BorderTop->Tile, 1);
  EXPECT_EQ(d.BorderTop->Trans, 1);
  EXPECT_EQ(d.Title->FontHeight, 14);
  EXPECT_EQ(d.Title->ActiveTextColour, kSkinNoColour);
  EXPECT_EQ(d.Buttons->RadioFrameCount, 4);
  EXPECT_EQ(d.Buttons->CheckFrameCount, 4);
  EXPECT_EQ(d.TitleColour, d.ButtonFaceColour);
  ASSERT_TRUE(d.Track && d.TrackVert);
  EXPECT_EQ(Width(d.Track->Bitmap), 16);
  EXPECT_EQ(Height(d.Track->Bitmap), 4);
  EXPECT_FALSE(d.Tabs);
  EXPECT_FALSE(d.MenuBar);
  EXPECT_TRUE(messages.messages.empty());
}

TEST(SkinModelCaptionButtons, AHelpButtonBeforeAnyMaximiseButtonKeepsItsPlace) {
  MessageRecorder messages;
  auto data = Load("[BUTTON0]\nAction=4\nXcoord=9\nYcoord=8\n"
                   "[BUTTON1]\nAction=1\nVisibility=2\nXcoord=50\nYcoord=6\n"
                   "[BUTTON2]\nAction=4\nXcoord=1\nYcoord=1\n");
  ASSERT_EQ(data->SysButtons.size(), 6u);
  EXPECT_EQ(data->SysButtons[0]->XCoord, 9);
  EXPECT_EQ(data->SysButtons[0]->YCoord, 8);
  EXPECT_EQ(data->SysButtons[2]->XCoord, 50);
  data.reset();
  ResetManager();
}

TEST(SkinModelCombo, SunkEdgeAndComboButtonMakeTheCompositeStrips) {
  MessageRecorder messages;
  // Edge: grey with magenta corners; button: blue; glyph: black square on magenta.
  auto edge = Bmp24(24, 21, [](int x, int y) {
    return (x % 6 == 0 && y == 0) ? kMagenta : 0x808080u;
  });
  auto data = Load(
      "[SunkEdge]\nImage=edge.bmp\nLeftWidth=2\nTopHeight=3\nRightWidth=2\nBottomHeight=4\n"
      "[ComboButton]\nImage=button.bmp\nLeftWidth=1\nRightWidth=1\n"
      "[ExtraImages]\nImage=glyph.bmp\n"
      "[Colours]\nButtonFace=1 2 3\n",
      {{"edge.bmp", edge},
       {"button.bmp", Bmp24(64, 21, 0xFF0000)},
       {"glyph.bmp", Bmp24(25, 5, [](int x, int) { return x % 5 == 2 ? 0u : kMagenta; })}});
  const TSkinData& d = *data;
  ASSERT_TRUE(d.SunkEdge && d.ComboButton && d.ComboArrow);
  const int a = GetSystemMetrics(SM_CXHSCROLL) + 2;
  EXPECT_EQ(d.ComboButton->Style, 2);
  EXPECT_EQ(Width(d.ComboButton->Bitmap), 200);
  EXPECT_EQ(Height(d.ComboButton->Bitmap), 21);
  ExpectMargins(d.ComboButton->Margins, 2, 3, a + 2, 4, "ComboButton");
  ExpectMargins(d.SunkEdge->Margins, a + 2, 3, 2, 4, "SunkEdge");
  EXPECT_EQ(d.ComboButton->FrameCount, 4);
  // Image2: the button's own picture mirrored (made before the composite).
  EXPECT_EQ(Width(d.ComboButton->Image2), 64);
  const TBitmap& strip = *d.ComboButton->Bitmap;
  const TBitmap& mirrored = *d.SunkEdge->Bitmap;
  for (int k = 0; k < 4; ++k) {
    const int x0 = 50 * k;
    // The text area is transparent, the button cell is the button's blue, the edge grey.
    EXPECT_EQ(BitmapPixel(strip, x0 + 10, 10, -1), 0xFF00FF) << k;
    EXPECT_EQ(BitmapPixel(strip, x0 + 1, 10, -1), 0x808080) << k;
    EXPECT_EQ(BitmapPixel(strip, x0 + 50 - a + 1, 1, -1), 0xFF0000) << k;
    // The sunken edge holds the same strip mirrored.
    for (const int x : {1, 10, 50 - a + 1})
      EXPECT_EQ(BitmapPixel(mirrored, 200 - 1 - (x0 + x), 10, -2), BitmapPixel(strip, x0 + x, 10, -3));
  }
  // The arrow: 17 x 17 cells cut from the button cell of each frame.
  EXPECT_EQ(d.ComboArrow->FrameCount, 4);
  EXPECT_EQ(Width(d.ComboArrow->Bitmap), 68);
  EXPECT_EQ(Height(d.ComboArrow->Bitmap), 17);
  for (int i = 0; i < 4; ++i)
    for (const int x : {0, 8, 16})
      EXPECT_EQ(BitmapPixel(*d.ComboArrow->Bitmap, 17 * i + x, 5, -1),
                BitmapPixel(strip, 50 * (i + 1) - 19 + x, 7, -2)) << i << "," << x;
  data.reset();
  ResetManager();
}

TEST(SkinModelCombo, AComboButtonWithoutSunkEdgeBecomesTheArrowOnTheButtonFace) {
  MessageRecorder messages;
  auto data = Load("[ComboButton]\nImage=button.bmp\n[Colours]\nButtonFace=10 20 30\n",
                   {{"button.bmp", Bmp24(16, 8, [](int x, int) { return x < 8 ? kMagenta : 0x0000FFu; })}});
  const TSkinData& d = *data;
  ASSERT_TRUE(d.ComboArrow);
  EXPECT_EQ(d.ComboArrow->FrameCount, 4);
  EXPECT_EQ(BitmapPixel(*d.ComboArrow->Bitmap, 2, 2, -1), 0x001E140A);
  EXPECT_EQ(BitmapPixel(*d.ComboArrow->Bitmap, 12, 2, -1), 0x0000FF);
  EXPECT_EQ(d.ComboButton->Style, 0);  // no composite
  EXPECT_EQ(Width(d.ComboButton->Bitmap), 16);
  data.reset();
  ResetManager();
}

TEST(SkinModelCombo, ButtonFaceAsSystemColourIsResolvedForTheArrow) {
  MessageRecorder messages;
  auto data = Load("[ComboButton]\nImage=button.bmp\n", {{"button.bmp", Bmp24(4, 4, kMagenta)}});
  EXPECT_EQ(BitmapPixel(*data->ComboArrow->Bitmap, 1, 1, -1),
            static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
  data.reset();
  ResetManager();
}

TEST(SkinModelReload, AlwaysPresentElementsKeepTheirAddressesAcrossLoads) {
  MessageRecorder messages;
  auto data = Load(kEveryRuleIni, EveryRuleEntries());
  const TDataSkinButton* buttons = data->Buttons.get();
  const TDataSkinBorder* top = data->BorderTop.get();
  const TDataSkinObject* toolbar = data->ToolbarBackground.get();
  data->SkinStream->Buffer() = MakeSkinFile("[TitlebarSkin]\nSkinName=Second\n");
  ASSERT_TRUE(data->LoadSkin());
  EXPECT_EQ(data->SkinName, "Second");
  EXPECT_EQ(data->Buttons.get(), buttons);
  EXPECT_EQ(data->BorderTop.get(), top);
  EXPECT_EQ(data->ToolbarBackground.get(), toolbar);
  EXPECT_EQ(Width(data->BorderTop->Bitmap), 0);  // the new skin has no top border
  EXPECT_FALSE(data->Tabs);
  data.reset();
  ResetManager();
}

TEST(SkinModelResources, LoadingAndFreeingSkinsLeavesNoGdiObjectBehind) {
  MessageRecorder messages;
  auto cycle = [] {
    auto data = Load(kEveryRuleIni, EveryRuleEntries());
    // A second load replaces every picture of the first.
    data->SkinStream->Buffer() = MakeSkinFile(kEveryRuleIni, EveryRuleEntries());
    EXPECT_TRUE(data->LoadSkin());
    data.reset();
    ResetManager();
  };
  cycle();  // shared objects made on first use stay
  const int64_t baseline = GdiObjectCount();
  const int64_t bitmapsMade = ResourceTotalCreated(TResourceKind::Bitmap);
  cycle();
  EXPECT_GT(ResourceTotalCreated(TResourceKind::Bitmap), bitmapsMade + 20);
  EXPECT_EQ(GdiObjectCount(), baseline);
}

}  // namespace
