// Creating and destroying the test form with all its controls (windows made, shown and
// painted) leaves the framework's GDI and window counts where they were.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/ResourceCount.h"
#include "tests/framework/Pump.h"
#include "tests/framework/TestForm.h"

namespace {

TEST(Leak, FormWithAllControls100TimesKeepsTheCountsFlat) {
  Application->Handle();
  TFont held;  // something live, so the baseline is not zero
  held.Handle();
  Pump();
  const int64_t gdiBefore = GdiObjectCount();
  const int64_t windowsBefore = WindowCount();
  const int64_t fontsMadeBefore = ResourceTotalCreated(TResourceKind::Font);
  ASSERT_GT(gdiBefore, 0);
  ASSERT_GT(windowsBefore, 0);
  for (int i = 0; i < 100; ++i) {
    TTestForm* form = MakeTestForm();
    form->HandleNeeded();
    form->Panel1->HandleNeeded();
    form->Memo1->Lines()->Add(L"第" + std::to_wstring(i) + L"行");
    form->Label1->SetCaption(L"标签 " + std::to_wstring(i));
    form->Font()->SetHeight(-12 - i % 3);  // a new font for every control that follows
    form->Memo1->Color();
    form->Memo1->SetColor(clInfoBk);
    // Paint everything once, graphic controls through their parent.
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(WindowCount(), windowsBefore + 8) << "form, memo, three buttons, panel, edit, status bar";
    EXPECT_GT(GdiObjectCount(), gdiBefore + 5) << "fonts and brushes of the live controls";
    delete form;
  }
  Pump();
  EXPECT_EQ(GdiObjectCount(), gdiBefore);
  EXPECT_EQ(WindowCount(), windowsBefore);
  EXPECT_GE(ResourceTotalCreated(TResourceKind::Font) - fontsMadeBefore, 100 * 5) << "the loop made fonts";
}

TEST(Leak, GraphicsObjectsCountWhatTheyMake) {
  const int64_t before = GdiObjectCount();
  {
    TBitmap bitmap(40, 30, pf24bit);
    bitmap.Canvas()->Font()->SetName(L"宋体");
    bitmap.Canvas()->TextOut(1, 1, L"字");
    bitmap.Canvas()->Pen()->SetColor(clRed);
    bitmap.Canvas()->LineTo(10, 10);
    bitmap.Canvas()->Brush()->SetColor(clBlue);
    bitmap.Canvas()->FillRect(Rect(0, 0, 5, 5));
    EXPECT_GE(GdiObjectCount() - before, 5) << "bitmap, DC, font, pen, brush";
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(100, 100);
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
