// Skinned status panels show their whole text when the panel is wide enough, and no more
// than the panel when it is not.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skin/controls/WinSubClassStatusBar.h"
#include "tests/skin_controls/SkinControlsSupport.h"

namespace {

constexpr wchar_t kMixedText[] = L"Helvor设计,Quorren1.0";

class SkinnedStatusText : public ::testing::Test {
 protected:
  void SetUp() override {
    skin = LoadBuiltSkin("default");
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(skin->StatusBarEdges);
    view = std::make_unique<TControlsForm>();
    // The main window's font: a CJK font whose Latin letters Wine draws wider than it measures.
    TFont* font = view->status->Font();
    font->SetCharset(GB2312_CHARSET);
    font->SetName(L"宋体");
    font->SetHeight(-13);
  }
  void TearDown() override { view.reset(); }

  RECT Part(int i) const {
    RECT r{};
    SendMessageW(view->status->Handle(), SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // The rightmost column in [left, right) holding a pixel of `colour`, or -1.
  static int InkRight(const TCapture& c, int left, int right, COLORREF colour) {
    int found = -1;
    for (int x = left; x < right; ++x)
      for (int y = 0; y < c.Height(); ++y)
        if (c.At(x, y) == colour) found = x;
    return found;
  }
  // Where the text's ink ends when drawn unclipped from x = `left` with the bar's font.
  int UnclippedInkRight(const std::wstring& text, int left) {
    TCapture c(600, 30);
    c.Fill(RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(c.Dc(), view->status->Font()->Handle());
    SetBkMode(c.Dc(), TRANSPARENT);
    SetTextColor(c.Dc(), RGB(0, 0, 0));
    RECT r{left, 0, 600, 30};
    DrawTextW(c.Dc(), text.c_str(), static_cast<int>(text.size()), &r, DT_NOCLIP | DT_SINGLELINE);
    SelectObject(c.Dc(), old);
    return InkRight(c, 0, c.Width(), RGB(0, 0, 0));
  }

  std::unique_ptr<TSkinData> skin;
  std::unique_ptr<TControlsForm> view;
  TRecordingList list;
};

TEST_F(SkinnedStatusText, AWidePanelShowsItsWholeText) {
  struct Case {
    const wchar_t* text;
  };
  const Case cases[] = {{kMixedText}, {L"没有监视"}, {L"Quorren1.0"}};
  view->status->Panels()->Items(0)->SetWidth(300);
  TSkinStatusBar skinned(nullptr);
  skinned.InitSkin(&list, skin.get(), false, nullptr, view->status);
  const COLORREF textColour = ColorToRGB(skin->StatusBarEdges->NormalColour2);
  for (const Case& c : cases) {
    view->status->Panels()->Items(0)->SetText(c.text);
    const RECT part = Part(0);
    const int want = UnclippedInkRight(c.text, part.left + 2);
    ASSERT_GT(want, part.left + 2);
    ASSERT_LT(want, part.right - 2) << "the panel is wide enough";
    EXPECT_EQ(InkRight(*PaintOf(view->status->Handle()), part.left, part.right, textColour), want);
  }
}

TEST_F(SkinnedStatusText, ANarrowPanelKeepsItsTextInside) {
  view->status->Panels()->Items(0)->SetWidth(60);
  view->status->Panels()->Items(0)->SetText(kMixedText);
  view->status->Panels()->Items(1)->SetText(L"");
  TSkinStatusBar skinned(nullptr);
  skinned.InitSkin(&list, skin.get(), false, nullptr, view->status);
  const COLORREF textColour = ColorToRGB(skin->StatusBarEdges->NormalColour2);
  const RECT first = Part(0);
  const RECT second = Part(1);
  auto c = PaintOf(view->status->Handle());
  const int inkRight = InkRight(*c, first.left, c->Width(), textColour);
  EXPECT_GT(inkRight, first.left);
  // The text area: the panel widened by 2 to the right, then 2 inside on each side.
  EXPECT_LT(inkRight, first.right);
  EXPECT_EQ(InkRight(*c, second.left + 2, second.right, textColour), -1);
}

}  // namespace
