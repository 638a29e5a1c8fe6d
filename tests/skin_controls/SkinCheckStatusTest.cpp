// Skinned check boxes, radio buttons and status bars: the mark cell of each state, the
// caption beside it, the panel frames and texts of the status bar.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "skin/controls/WinSubClassCheck.h"
#include "skin/controls/WinSubClassStatusBar.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_controls/SkinControlsSupport.h"

namespace {

class SkinnedMarks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin = LoadBuiltSkin("default").release(); }
  static void TearDownTestSuite() {
    delete skin;
    skin = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(skin, nullptr);
    SetCursorPos(0, 0);
    view = std::make_unique<TControlsForm>();
  }
  void TearDown() override { view.reset(); }

  // Every opaque pixel of cell `frame` of `mark` shows at `left` of the capture (the cell
  // centred vertically in the control).
  static testing::AssertionResult CellShown(const TCapture& capture, TBitmap* mark, int frames, int frame, int left) {
    const int cellWidth = mark->Width() / frames;
    const int cellHeight = mark->Height();
    const int top = (capture.Height() - cellHeight) / 2;
    HDC source = mark->Canvas()->Handle();
    int compared = 0;
    for (int y = 0; y < cellHeight; ++y)
      for (int x = 0; x < cellWidth; ++x) {
        const COLORREF want = GetPixel(source, (frame - 1) * cellWidth + x, y);
        if (want == kSkinKeyColour) continue;
        ++compared;
        const COLORREF got = capture.At(left + x, top + y);
        if (got != want)
          return testing::AssertionFailure() << "frame " << frame << " pixel " << x << "," << y << " is " << std::hex
                                             << got << " not " << want;
      }
    if (compared == 0) return testing::AssertionFailure() << "cell " << frame << " has no opaque pixel";
    return testing::AssertionSuccess();
  }

  static TSkinData* skin;
  std::unique_ptr<TControlsForm> view;
  TRecordingList list;
};
TSkinData* SkinnedMarks::skin = nullptr;

TEST_F(SkinnedMarks, CheckBoxStatesUseTheirCellsOfTheTwelveFrameImage) {
  ASSERT_EQ(skin->Buttons->CheckFrameCount, 12);
  TSkinCheckBox skinned(nullptr);
  skinned.InitSkin(&list, skin, true, nullptr, view->check);
  ASSERT_EQ(skinned.Mode, 1);
  struct Case {
    TCheckBoxState state;
    bool enabled;
    int frame;
  };
  const Case cases[] = {{cbUnchecked, true, 1}, {cbChecked, true, 5},  {cbGrayed, true, 9},
                        {cbUnchecked, false, 4}, {cbChecked, false, 8}, {cbGrayed, false, 12}};
  for (const Case& c : cases) {
    view->check->SetState(c.state);
    view->check->SetEnabled(c.enabled);
    EXPECT_EQ(skinned.CheckFrame(), c.frame) << c.state << " " << c.enabled;
    EXPECT_TRUE(CellShown(*PaintOf(view->check->Handle()), skin->Buttons->CheckBitmap.get(), 12, c.frame, 0));
  }
}

TEST_F(SkinnedMarks, AClickTogglesTheCheckBoxAndItsMark) {
  TSkinCheckBox skinned(nullptr);
  skinned.InitSkin(&list, skin, true, nullptr, view->check);
  const HWND h = view->check->Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  PumpFor(30);
  EXPECT_TRUE(view->check->Checked());
  EXPECT_EQ(skinned.LastCheck, 2);
  EXPECT_TRUE(CellShown(*ScreenOf(h), skin->Buttons->CheckBitmap.get(), 12, 5, 0));
}

TEST_F(SkinnedMarks, ARightButtonCheckBoxHasItsBoxOnTheRight) {
  view->check->SetRightButton(true);
  TSkinCheckBox skinned(nullptr);
  skinned.InitSkin(&list, skin, true, nullptr, view->check);
  const int cellWidth = skin->Buttons->CheckBitmap->Width() / 12;
  auto capture = PaintOf(view->check->Handle());
  EXPECT_TRUE(CellShown(*capture, skin->Buttons->CheckBitmap.get(), 12, 1, capture->Width() - cellWidth));
}

TEST_F(SkinnedMarks, TheCaptionIsDrawnBesideTheBox) {
  TSkinCheckBox skinned(nullptr);
  skinned.InitSkin(&list, skin, true, nullptr, view->check);
  view->check->SetCaption(L"");
  auto empty = PaintOf(view->check->Handle());
  view->check->SetCaption(L"检查框");
  auto withText = PaintOf(view->check->Handle());
  const int cellWidth = skin->Buttons->CheckBitmap->Width() / 12;
  int differing = 0;
  for (int y = 0; y < empty->Height(); ++y)
    for (int x = cellWidth + 2; x < empty->Width(); ++x) differing += empty->At(x, y) != withText->At(x, y);
  EXPECT_GT(differing, 10);
  // The background beside the box is the skin's face colour.
  EXPECT_EQ(empty->At(empty->Width() - 1, 0), ColorToRGB(skin->ButtonFaceColour));
}

TEST_F(SkinnedMarks, RadioButtonsUseTheirCellsOfTheEightFrameImage) {
  ASSERT_EQ(skin->Buttons->RadioFrameCount, 8);
  TSkinRadioButton first(nullptr), second(nullptr);
  first.InitSkin(&list, skin, true, nullptr, view->radio);
  second.InitSkin(&list, skin, true, nullptr, view->radio2);
  view->radio->SetChecked(true);
  EXPECT_EQ(first.RadioFrame(), 5);
  EXPECT_EQ(second.RadioFrame(), 1);
  EXPECT_TRUE(CellShown(*PaintOf(view->radio->Handle()), skin->Buttons->RadioBitmap.get(), 8, 5, 0));
  EXPECT_TRUE(CellShown(*PaintOf(view->radio2->Handle()), skin->Buttons->RadioBitmap.get(), 8, 1, 0));
  view->radio->SetEnabled(false);
  view->radio2->SetEnabled(false);
  EXPECT_EQ(first.RadioFrame(), 8);
  EXPECT_EQ(second.RadioFrame(), 4);
  EXPECT_TRUE(CellShown(*PaintOf(view->radio->Handle()), skin->Buttons->RadioBitmap.get(), 8, 8, 0));
  EXPECT_TRUE(CellShown(*PaintOf(view->radio2->Handle()), skin->Buttons->RadioBitmap.get(), 8, 4, 0));
}

TEST_F(SkinnedMarks, WithoutACheckImageTheCheckBoxStaysUnskinned) {
  auto bare = LoadBuiltSkin("default");
  bare->Buttons->CheckBitmap->SetSize(0, 0);
  TSkinCheckBox skinned(nullptr);
  skinned.InitSkin(&list, bare.get(), false, nullptr, view->check);
  EXPECT_EQ(skinned.Mode, 0);
  EXPECT_EQ(SendMessageW(view->check->Handle(), SKM_QUERYSKIN, 0, 0), 1);
}

// ---- Status bar ----

class SkinnedStatusBar : public SkinnedMarks {
 protected:
  // The panel frame image over `rect` (bevel mode 1 lowered, 2 raised, 3 none).
  static std::unique_ptr<TBitmap> Frame(const RECT& rect, int mode) {
    const TDataSkinObject& e = *skin->StatusBarEdges;
    return BuildNineSlice(rect, e.Bitmap.get(), e.Margins, false, e.Tile != 0, 3, mode);
  }
  // The top `rows` rows of `rect` in the capture equal the frame picture.
  static testing::AssertionResult TopRowsFramed(const TCapture& c, const RECT& rect, int mode, int rows, int xEnd) {
    auto frame = Frame(rect, mode);
    HDC dc = frame->Canvas()->Handle();
    for (int y = 0; y < rows; ++y)
      for (int x = rect.left; x < xEnd; ++x) {
        const COLORREF want = GetPixel(dc, x - rect.left, y);
        if (c.At(x, rect.top + y) != want)
          return testing::AssertionFailure() << "at " << x << "," << rect.top + y << std::hex << " " << c.At(x, rect.top + y)
                                             << " not " << want;
      }
    return testing::AssertionSuccess();
  }
  static int CountColour(const TCapture& c, const RECT& r, COLORREF colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += c.At(x, y) == colour;
    return n;
  }
  RECT Part(int i) {
    RECT r{};
    SendMessageW(view->status->Handle(), SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
};

TEST_F(SkinnedStatusBar, PanelsGetTheSkinsEdgesAndTheLastReachesTheRightEdge) {
  TSkinStatusBar skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, view->status);
  // Panels narrower than the bar (the framework gives the last one the rest).
  const int rights[2] = {150, 250};
  SendMessageW(view->status->Handle(), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(rights));
  auto c = PaintOf(view->status->Handle());
  RECT first = Part(0);
  first.right += 2;
  EXPECT_TRUE(TopRowsFramed(*c, first, 1, 2, first.right));
  RECT last = Part(1);
  ASSERT_LT(last.right, c->Width() - 20);
  last.right = c->Width();
  EXPECT_TRUE(TopRowsFramed(*c, last, 1, 2, c->Width()));
}

TEST_F(SkinnedStatusBar, PanelTextsAreDrawnInTheSkinsColourAndAChangedTextRepaints) {
  TSkinStatusBar skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, view->status);
  const COLORREF textColour = ColorToRGB(skin->StatusBarEdges->NormalColour2);
  RECT inside = Part(0);
  InflateRect(&inside, -3, -3);
  PumpFor(30);
  auto before = ScreenOf(view->status->Handle());
  EXPECT_GT(CountColour(*before, inside, textColour), 10) << "没有监视";

  view->status->Panels()->Items(0)->SetText(L"正在监视全部硬盘");
  PumpFor(30);
  HDC screen = GetDC(nullptr);
  RECT onScreen;
  GetWindowRect(view->status->Handle(), &onScreen);
  auto after = std::make_unique<TCapture>(before->Width(), before->Height());
  BitBlt(after->Dc(), 0, 0, after->Width(), after->Height(), screen, onScreen.left, onScreen.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  int changed = 0;
  for (int y = inside.top; y < inside.bottom; ++y)
    for (int x = inside.left; x < inside.right; ++x) changed += before->At(x, y) != after->At(x, y);
  EXPECT_GT(changed, 10);
  // What the screen shows is the skin's painting of the new text.
  auto painted = PaintOf(view->status->Handle());
  for (int x = inside.left; x < inside.right; ++x) ASSERT_EQ(after->At(x, inside.top + 3), painted->At(x, inside.top + 3)) << x;
}

TEST_F(SkinnedStatusBar, WithoutPanelsALoweredFrameCoversTheWholeBar) {
  view->status->Panels()->Clear();
  view->status->SetSimpleText(L"");
  TSkinStatusBar skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, view->status);
  auto c = PaintOf(view->status->Handle());
  const RECT all{0, 0, c->Width(), c->Height()};
  EXPECT_TRUE(TopRowsFramed(*c, all, 1, 2, c->Width()));
}

TEST_F(SkinnedStatusBar, WithoutTheEdgesElementPlainEdgesAreDrawn) {
  auto bare = LoadBuiltSkin("default");
  bare->StatusBarEdges.reset();
  TSkinStatusBar skinned(nullptr);
  skinned.InitSkin(&list, bare.get(), false, nullptr, view->status);
  auto c = PaintOf(view->status->Handle());
  const RECT first = Part(0);
  EXPECT_EQ(c->At(first.left + 5, first.top), ColorToRGB(bare->ButtonShadowColour));
  EXPECT_EQ(c->At(first.left + 5, first.bottom - 1), ColorToRGB(bare->ButtonHilightColour));
}

}  // namespace
