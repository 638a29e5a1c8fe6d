// The skinned menu bar without menu loops: the window's menu taken off and drawn in the
// frame's strip, the client area kept, the bar following menu changes, accelerators and
// hit-testing, the item painter, and the menu given back by Unskin.
#include <gtest/gtest.h>

#include "framework/ResourceCount.h"
#include "skin/data/SkinDraw.h"
#include "skin/form/WinSkinMenu.h"
#include "skin/form/WinSkinPopMenu.h"
#include "tests/skin_menu/MenuTestSupport.h"

namespace {

RECT ClientOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

bool ColourNear(COLORREF a, COLORREF b, int tolerance = 2) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TSkinData* gStopData = nullptr;

// Stops skinning from inside the menu loop (timers are handled there).
void CALLBACK StopSkinningLater(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  gStopData->SetActive(false);
  SkinManage()->RunPendingAction();
}

struct TOpenState {
  int openIndex = -2;
  int popups = 0;
  int32_t menuKind = -1;
};
TOpenState gSeen;

// Notes what is open, then closes it (timers are handled inside menu loops).
void CALLBACK NoteAndEndMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  gSeen.openIndex = MenuLoopOpenIndex();
  gSeen.popups = VisiblePopupCount();
  gSeen.menuKind = SkinManage()->MenuKind;
  EndMenu();
}

void CALLBACK EndMenuLater(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

}  // namespace

class SkinMenuBarTest : public SkinFormTest {};

TEST_F(SkinMenuBarTest, TheBarTakesTheMenusPlaceAndTheClientAreaKeepsItsSize) {
  for (const char* skin : {"default", "dark"}) {
    MenuTestForm test(skin);
    const HWND window = test.Handle();
    ASSERT_NE(GetMenu(window), nullptr);
    const RECT clientBefore = ClientOf(window);
    ASSERT_TRUE(test.ShowAndWaitForSkin()) << skin;
    TWinSkinForm* frame = test.Frame();
    ASSERT_NE(frame->MenuBar, nullptr) << skin;
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(frame->MenuHeight, GetSystemMetrics(SM_CYMENU));
    const RECT client = ClientOf(window);
    EXPECT_EQ(client.right, clientBefore.right) << skin;
    EXPECT_EQ(client.bottom, clientBefore.bottom) << skin;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.bottom - bounds.top,
              client.bottom + frame->TopHeight + frame->MenuHeight + frame->BottomHeight);
    const auto& buttons = frame->MenuBar->Buttons;
    ASSERT_EQ(buttons.size(), 4u);
    const wchar_t* captions[] = {L"&File", L"&Edit", L"&View", L"&Help"};
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(buttons[i]->Caption, captions[i]);
      EXPECT_NE(buttons[i]->SubMenu, nullptr);
      EXPECT_NE(buttons[i]->Item, nullptr);
    }
    // Buttons lie side by side inside the strip, left to right.
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpFor(30);
    for (size_t i = 0; i < 4; ++i) {
      const RECT& r = buttons[i]->Bounds;
      EXPECT_GT(r.right, r.left);
      EXPECT_GE(r.top, frame->TopHeight);
      EXPECT_LE(r.bottom, frame->TopHeight + frame->MenuHeight);
      if (i > 0) {
        EXPECT_GE(r.left, buttons[i - 1]->Bounds.right);
      }
    }
    test.data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return test.Frame() == nullptr; }));
    // Without the skin the window has its menu back and the same client area.
    EXPECT_EQ(GetMenu(window), test.mainMenu->Handle()) << skin;
    EXPECT_EQ(ClientOf(window).bottom, clientBefore.bottom) << skin;
    FreeSkinManager();
  }
}

TEST_F(SkinMenuBarTest, TheStripShowsTheSkinsMenuBarImage) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  const HWND window = test.Handle();
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(50);
  TDataSkinObject* bar = test.data->MenuBar.get();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->Bitmap && !bar->Bitmap->Empty());
  // The image is a vertical band of two stacked frames (active above): a point right of
  // the last button, in the middle row, shows a colour of the active frame's middle rows.
  const RECT last = frame->MenuBar->Buttons.back()->Bounds;
  const int y = frame->TopHeight + frame->MenuHeight / 2;
  HDC dc = GetWindowDC(window);
  const COLORREF shown = GetPixel(dc, last.right + 20, y);
  ReleaseDC(window, dc);
  HDC image = bar->Bitmap->Canvas()->Handle();
  const int frameHeight = bar->Bitmap->Height() / 2;
  bool found = false;
  for (int row = frameHeight / 4; row < frameHeight * 3 / 4 && !found; ++row)
    found = ColourNear(GetPixel(image, bar->Bitmap->Width() / 2, row), shown);
  EXPECT_TRUE(found) << std::hex << shown;
  EXPECT_FALSE(ColourNear(shown, ColorToRGB(test.data->ButtonFaceColour), 0));
}

TEST_F(SkinMenuBarTest, AcceleratorsAndHitTesting) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinMenu& bar = *test.Frame()->MenuBar;
  bar.Layout();
  EXPECT_EQ(bar.AcceleratorButton(L'e'), bar.Buttons[1].get());
  EXPECT_EQ(bar.AcceleratorButton(L'H'), bar.Buttons[3].get());
  EXPECT_EQ(bar.AcceleratorButton(L'q'), nullptr);
  bar.Buttons[1]->Enabled = 0;
  EXPECT_EQ(bar.AcceleratorButton(L'e'), nullptr);  // disabled buttons do not answer
  bar.Buttons[1]->Enabled = 1;
  const RECT second = bar.Buttons[1]->Bounds;
  EXPECT_EQ(bar.ButtonAtPoint(CentreOf(second)), bar.Buttons[1].get());
  EXPECT_EQ(bar.ButtonAtPoint({second.left, second.top}), bar.Buttons[1].get());
  EXPECT_EQ(bar.ButtonAtPoint({second.right, second.top}), bar.Buttons[2].get());
  EXPECT_EQ(bar.ButtonAtPoint({bar.Buttons[3]->Bounds.right + 40, second.top}), nullptr);
  EXPECT_EQ(bar.ButtonAtPoint({second.left + 2, 1}), nullptr);  // in the caption
}

TEST_F(SkinMenuBarTest, AMenuChangeRebuildsTheBarAndKeepsTheMenuOffTheWindow) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  const RECT client = ClientOf(test.Handle());
  test.mainMenu->Items()->Items(2)->SetCaption(L"&Window");
  PumpFor(30);
  EXPECT_EQ(GetMenu(test.Handle()), nullptr);
  ASSERT_EQ(frame->MenuBar->Buttons.size(), 4u);
  EXPECT_EQ(frame->MenuBar->Buttons[2]->Caption, L"&Window");
  EXPECT_EQ(frame->MenuBar->MenuHandle, test.mainMenu->Handle());
  EXPECT_EQ(ClientOf(test.Handle()).bottom, client.bottom);
  // A hidden top-level item leaves the bar.
  test.mainMenu->Items()->Items(3)->SetVisible(false);
  PumpFor(30);
  EXPECT_EQ(frame->MenuBar->Buttons.size(), 3u);
}

TEST_F(SkinMenuBarTest, ItemsSwitchedToOwnerDrawAreGivenBackPlain) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  // Open a drop-down once, so that its entries were switched to owner-drawn.
  TWinSkinForm* frame = test.Frame();
  SetTimer(nullptr, 0, 300, &EndMenuLater);
  frame->MenuBar->OpenButton(frame->MenuBar->Buttons[1].get());
  test.data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return test.Frame() == nullptr; }));
  // Every entry of the window's menu is plain again (or drawn by the framework's items).
  const HMENU menu = GetMenu(test.Handle());
  ASSERT_NE(menu, nullptr);
  std::function<void(HMENU)> check = [&](HMENU m) {
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
      ASSERT_TRUE(GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &info));
      EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u) << i;
      if (info.hSubMenu) check(info.hSubMenu);
    }
  };
  check(menu);
  EXPECT_FALSE(test.mainMenu->OwnerDraw());
  EXPECT_FALSE(test.popupMenu->OwnerDraw());
}

TEST_F(SkinMenuBarTest, ForeignEntriesAreReadFromTheWindowMenu) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING | MF_CHECKED, 101, L"&Alpha\tCtrl+A");
  AppendMenuW(menu, MF_STRING | MF_GRAYED, 102, L"Beta");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 201, L"Deep");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"More");
  TMenuItemLook look;
  ASSERT_TRUE(LookOfMenuEntry(menu, 101, false, look));
  EXPECT_EQ(look.Caption, L"&Alpha");
  EXPECT_EQ(look.ShortCut, L"Ctrl+A");
  EXPECT_TRUE(look.Checked);
  EXPECT_TRUE(look.Enabled);
  ASSERT_TRUE(LookOfMenuEntry(menu, 102, false, look));
  EXPECT_FALSE(look.Enabled);
  ASSERT_TRUE(LookOfMenuEntry(menu, 2, true, look));
  EXPECT_EQ(look.Caption, L"-");
  ASSERT_TRUE(LookOfMenuEntry(menu, 201, false, look));  // found in the sub-menu
  EXPECT_EQ(look.Caption, L"Deep");
  EXPECT_FALSE(LookOfMenuEntry(menu, 999, false, look));
  EXPECT_FALSE(LookOfMenuEntry(nullptr, 101, false, look));
  DestroyMenu(menu);
}

TEST_F(SkinMenuBarTest, TheItemPainterUsesTheMenuItemImageFrames) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TDataSkinObject* element = test.data->MenuItem.get();
  ASSERT_NE(element, nullptr);
  TBitmap surface(160, 24);
  HDC dc = surface.Canvas()->Handle();
  const RECT rect{0, 0, 160, 24};
  TMenuItemLook look;
  look.Caption = L"Item";
  const int frameWidth = element->Bitmap->Width() / 5;
  HDC image = element->Bitmap->Canvas()->Handle();
  const int mid = element->Bitmap->Height() / 2;
  // Selected: frame 4's middle shows at the item's right part (no text there).
  PaintSkinMenuItem(test.data, dc, rect, nullptr, look, true);
  EXPECT_TRUE(ColourNear(GetPixel(dc, 150, 12), GetPixel(image, frameWidth * 3 + frameWidth / 2, mid)));
  PaintSkinMenuItem(test.data, dc, rect, nullptr, look, false);
  const COLORREF normal = GetPixel(image, frameWidth / 2, mid);
  if (normal != kSkinKeyColour) {
    EXPECT_TRUE(ColourNear(GetPixel(dc, 150, 12), normal));
  } else {
    // A transparent normal frame: the menu colour stays behind it.
    EXPECT_TRUE(ColourNear(GetPixel(dc, 150, 12), ColorToRGB(test.data->MenuColour)));
  }
  // A separator paints no text and leaves the item's top rows different from its middle
  // only where the skin's line is.
  look.Caption = L"-";
  PaintSkinMenuItem(test.data, dc, {0, 0, 160, 8}, nullptr, look, false);
  EXPECT_NE(GetPixel(dc, 80, 0), CLR_INVALID);
}

TEST_F(SkinMenuBarTest, UnskinningWhileADropDownIsOpenEndsItSafely) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  frame->MenuBar->Layout();
  gStopData = test.data;
  SetTimer(nullptr, 0, 300, &StopSkinningLater);
  // Returns when the loop has ended: the bar went away under it.
  frame->OpenMenuButton(frame->MenuBar->Buttons[0].get());
  EXPECT_EQ(MenuLoopOpenIndex(), -1);
  EXPECT_EQ(test.Frame(), nullptr);
  EXPECT_EQ(GetMenu(test.Handle()), test.mainMenu->Handle());
  gStopData = nullptr;
}

TEST_F(SkinMenuBarTest, MenuKeysAndBarClicksOpenTheRightMenu) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  const HWND window = test.Handle();
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(30);
  const POINT view = ScreenOf(window, CentreOf(frame->MenuBar->Buttons[2]->Bounds));
  const struct {
    const char* what;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    int openIndex;  // -1: no bar menu
    int popups;
    int32_t kind;
  } cases[] = {
      {"Alt+V", WM_SYSCOMMAND, SC_KEYMENU, 'v', 2, 1, kMenuKindMenuBar},
      {"Alt+h", WM_SYSCOMMAND, SC_KEYMENU, 'H', 3, 1, kMenuKindMenuBar},
      {"menu key alone", WM_SYSCOMMAND, SC_KEYMENU, 0, 0, 1, kMenuKindMenuBar},
      {"Alt+space", WM_SYSCOMMAND, SC_KEYMENU, ' ', -1, 1, kMenuKindSystem},
      {"bar click", SKM_MENUBARCLICK, 0, MAKELPARAM(view.x, view.y), 2, 1, kMenuKindMenuBar},
  };
  for (const auto& c : cases) {
    gSeen = TOpenState{};
    SetTimer(nullptr, 0, 300, &NoteAndEndMenu);
    SendMessageW(window, c.msg, c.wParam, c.lParam);
    PumpUntil([] { return gSeen.popups != 0 || gSeen.openIndex != -2; }, 2000);
    EXPECT_EQ(gSeen.openIndex, c.openIndex) << c.what;
    EXPECT_EQ(gSeen.popups, c.popups) << c.what;
    EXPECT_EQ(gSeen.menuKind, c.kind) << c.what;
    PumpUntil([] { return VisiblePopupCount() == 0; }, 2000);
    PumpFor(50);
  }
  // A key no button has goes on to the system (nothing opens here).
  gSeen = TOpenState{};
  SetTimer(nullptr, 0, 300, &NoteAndEndMenu);
  SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 'q');
  PumpUntil([] { return gSeen.openIndex != -2; }, 2000);
  EXPECT_EQ(gSeen.openIndex, -1);
  EXPECT_EQ(gSeen.popups, 0);
  EXPECT_EQ(test.ran, L"");
  // Each bar menu that opened ran its item's click, once.
  EXPECT_EQ(test.opened, L"View;Help;File;View;");
}

TEST_F(SkinMenuBarTest, APopupWindowIsSkinnedFromCreationToDestruction) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TSkinManage* manager = SkinManage();
  const int before = manager->PopupCount();
  // A menu window of our own: the manager's creation hook attaches the skinned popup.
  HWND popup = CreateWindowExW(0, L"#32768", L"", WS_POPUP, 300, 300, 120, 90, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(manager->PopupCount(), before + 1);
  EXPECT_TRUE(manager->IsPopupSkinned(popup));
  EXPECT_EQ(SendMessageW(popup, SKM_QUERYSKIN, 0, 0), 1);
  TBitmap surface(120, 90);
  HDC dc = surface.Canvas()->Handle();
  EXPECT_EQ(SendMessageW(popup, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  // Printed, it shows the MenuBackground picture at its size: the corners as they are.
  SendMessageW(popup, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT);
  HDC image = test.data->MenuBackground->Bitmap->Canvas()->Handle();
  const int w = test.data->MenuBackground->Bitmap->Width();
  EXPECT_TRUE(ColourNear(GetPixel(dc, 0, 0), GetPixel(image, 0, 0)));
  EXPECT_TRUE(ColourNear(GetPixel(dc, 119, 0), GetPixel(image, w - 1, 0)));
  POINT origin{};
  EXPECT_EQ(FindPopupBackground(nullptr, origin), nullptr);
  DestroyWindow(popup);
  EXPECT_EQ(manager->PopupCount(), before);
  EXPECT_EQ(manager->MenuKind, kMenuKindPopup);
}

TEST_F(SkinMenuBarTest, OpeningMenusManyTimesLeavesNoGdiObjectBehind) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  RedrawWindow(test.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(30);
  auto openAndClose = [&](int index) {
    SetTimer(nullptr, 0, 150, &EndMenuLater);
    frame->OpenMenuButton(frame->MenuBar->Buttons[static_cast<size_t>(index)].get());
    PumpFor(20);
  };
  for (int i = 0; i < 4; ++i) openAndClose(i);  // fonts and work bitmaps made once
  const int64_t gdi = GdiObjectCount();
  for (int round = 0; round < 5; ++round)
    for (int i = 0; i < 4; ++i) openAndClose(i);
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(SkinManage()->PopupCount(), 0);
}
