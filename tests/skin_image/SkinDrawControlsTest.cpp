#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/ResourceCount.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_image/GdiSurface.h"

namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr COLORREF kErased = RGB(0, 160, 0);
constexpr COLORREF kPainted = RGB(200, 0, 0);

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  const gdi::Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush.Get());
}

// A parent that erases its whole client area and paints one small square at (12, 22),
// both in its own coordinates, on the DC it is handed.
struct PaintingParent {
  TForm parent{nullptr};
  TWinControl child{nullptr};
  bool failPaint = false;

  PaintingParent() {
    parent.SetBounds(0, 0, 200, 200);
    child.SetBounds(10, 20, 30, 25);
    child.SetParent(&parent);
    const TWndMethod inherited = parent.WindowProc;
    parent.WindowProc = [this, inherited](TMessage& m) {
      if (m.Msg == WM_ERASEBKGND) {
        Fill(reinterpret_cast<HDC>(m.WParam), RECT{0, 0, 200, 200}, kErased);
        m.Result = 1;
      } else if (m.Msg == WM_PAINT && m.WParam != 0) {
        if (failPaint) throw std::runtime_error("paint failed");
        Fill(reinterpret_cast<HDC>(m.WParam), RECT{12, 22, 15, 25}, kPainted);
      } else {
        inherited(m);
      }
    };
  }
  ~PaintingParent() { child.SetParent(nullptr); }
};

void ExpectStateRestored(HDC dc) {
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  const gdi::Region clip(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(dc, clip.Get()), 0);  // no clip region left behind
}

TEST(DrawParentBackground, TheParentPaintsBehindTheControlClippedToItsClientArea) {
  PaintingParent scene;
  GdiSurface surface(40, 40);
  surface.Fill(kUntouched);
  scene.child.HandleNeeded();  // the windows (and their brushes) exist before counting
  const int64_t before = GdiObjectCount();
  DrawParentBackground(&scene.child, surface.Dc());
  EXPECT_EQ(GdiObjectCount(), before);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      COLORREF expected = kUntouched;
      if (x < 30 && y < 25) expected = x >= 2 && x < 5 && y >= 2 && y < 5 ? kPainted : kErased;
      ASSERT_EQ(surface.Get(x, y), expected) << x << "," << y;
    }
  ExpectStateRestored(surface.Dc());
}

TEST(DrawParentBackground, NothingWithoutAParent) {
  TWinControl lonely(nullptr);
  lonely.SetBounds(0, 0, 10, 10);
  GdiSurface surface(10, 10);
  surface.Fill(kUntouched);
  DrawParentBackground(&lonely, surface.Dc());
  DrawParentBackground(nullptr, surface.Dc());
  EXPECT_EQ(surface.Get(5, 5), kUntouched);
}

TEST(DrawParentBackground, APaintErrorReachesTheCallerAndTheDcIsRestored) {
  PaintingParent scene;
  scene.failPaint = true;
  GdiSurface surface(40, 40);
  EXPECT_THROW(DrawParentBackground(&scene.child, surface.Dc()), std::runtime_error);
  ExpectStateRestored(surface.Dc());
}

TEST(ControlOfWindow, FindsTheFrameworkControlBehindAWindow) {
  EXPECT_EQ(ControlOfWindow(nullptr), nullptr);
  TForm* form = new TForm(nullptr);
  TWinControl* child = new TWinControl(form);
  child->SetParent(form);
  child->SetBounds(5, 5, 20, 20);
  const HWND formWindow = form->Handle();
  ASSERT_NE(formWindow, nullptr);
  EXPECT_EQ(ControlOfWindow(formWindow), form);
  EXPECT_EQ(ControlOfWindow(child->Handle()), child);
  // A window the framework did not make has no control.
  const HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(ControlOfWindow(foreign), nullptr);
  DestroyWindow(foreign);
  delete form;
}

}  // namespace
