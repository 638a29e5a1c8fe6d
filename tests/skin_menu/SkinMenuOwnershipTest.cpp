// Which menu items the skin draws, and that it gives items back as it found them: an item
// made where a skin-drawn item was freed is the application's (also after the system menu
// was opened and freed many times), handlers the skin replaced come back when it lets the
// items go, and a tool button's menu item is drawn by the skin while the window is skinned.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <new>
#include <vector>

#include "framework/Menus.h"
#include "framework/ToolBars.h"
#include "skin/form/WinSkinMenu.h"
#include "tests/skin_menu/MenuTestSupport.h"

namespace {

bool ColourNear(COLORREF a, COLORREF b, int tolerance = 2) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// The middle of frame `frame` (1-based) of the MenuItem image.
COLORREF MenuItemColour(TSkinData* data, int frame) {
  TBitmap* image = data->MenuItem->Bitmap.get();
  const int width = image->Width() / 5;
  return GetPixel(image->Canvas()->Handle(), width * (frame - 1) + width / 2, image->Height() / 2);
}

constexpr int kItemWidth = 160;
constexpr int kItemHeight = 24;

// Draws `item` selected, as its owner-drawn entry would be, and returns the colour near its
// right end, where the MenuItem image shows.
COLORREF DrawnSelected(TMenuItem* item) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kItemWidth, kItemHeight);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    item->DrawItem(&canvas, TRect{0, 0, kItemWidth, kItemHeight}, true);
    canvas.SetHandle(nullptr);
  }
  const COLORREF colour = GetPixel(dc, kItemWidth - 8, kItemHeight / 2);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return colour;
}

// A painter and a measurer of the application's own, counting their calls.
struct OwnHandlers {
  int draws = 0;
  int measures = 0;
  void GiveTo(TMenuItem* item) {
    item->OnDrawItem = [this](TObject*, TCanvas*, TRect, bool) { ++draws; };
    item->OnMeasureItem = [this](TObject*, TCanvas*, int& width, int&) {
      width = 99;
      ++measures;
    };
  }
};

// Raises both handlers of `item` once (through the item, as its menu would).
void DrawAndMeasure(TMenuItem* item) {
  HDC dc = CreateCompatibleDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  item->DrawItem(&canvas, TRect{0, 0, 10, 10}, false);
  int width = 0;
  int height = 0;
  item->MeasureItem(&canvas, width, height);
  canvas.SetHandle(nullptr);
  DeleteDC(dc);
}

}  // namespace

// An item the skin drew is freed, and the application makes an item of its own at the same
// address (as the allocator often does): that item keeps its handlers when the skin gives
// popups and main menus its painters (it has its own) and when it takes them back.
TEST(SkinMenuOwnership, AnItemMadeWhereASkinItemWasFreedIsTheApplications) {
  alignas(TMenuItem) unsigned char storage[sizeof(TMenuItem)];
  const HWND window = GetDesktopWindow();
  {
    TPopupMenu systemMenu(nullptr);
    auto* skinItem = new (storage) TMenuItem(nullptr);
    skinItem->SetCaption(L"Close");
    systemMenu.Items()->Add(skinItem);
    SetOwnerDrawPopupItems(window, systemMenu.Items(), true);
    EXPECT_TRUE(static_cast<bool>(skinItem->OnDrawItem));
    skinItem->~TMenuItem();  // freed with its popup, the skin never asked for it back
  }
  TComponent owner(nullptr);
  auto* popup = new TPopupMenu(&owner);
  auto* mainMenu = new TMainMenu(&owner);
  auto* file = new TMenuItem(mainMenu);
  mainMenu->Items()->Add(file);
  auto* appItem = new (storage) TMenuItem(nullptr);
  appItem->SetCaption(L"Copy");
  popup->Items()->Add(appItem);
  OwnHandlers own;
  own.GiveTo(appItem);

  SetOwnerDrawPopups(window, &owner, true);
  DrawAndMeasure(appItem);
  EXPECT_EQ(own.draws, 1) << "the item's own painter was replaced";
  EXPECT_EQ(own.measures, 1);
  SetOwnerDrawPopups(window, &owner, false);
  DrawAndMeasure(appItem);
  EXPECT_EQ(own.draws, 2) << "the item's own painter was taken away";
  EXPECT_EQ(own.measures, 2);

  // The same item moved into a main menu below the bar.
  popup->Items()->Remove(appItem);
  file->Add(appItem);
  SetOwnerDrawMainMenus(window, &owner, true);
  SetOwnerDrawMainMenus(window, &owner, false);
  DrawAndMeasure(appItem);
  EXPECT_EQ(own.draws, 3);
  EXPECT_EQ(own.measures, 3);
  appItem->~TMenuItem();  // leaves its parent; the storage is not the heap's
}

class SkinMenuOwnershipTest : public SkinFormTest {};

// SetOwnerDrawItems replaces an item's own painter (keeping its own measurer) and gives the
// painter back when the skin lets the item go; items without handlers end without any.
// Giving the painters twice does not lose the item's own.
TEST_F(SkinMenuOwnershipTest, HandlersTheSkinReplacedComeBackWhenItLetsTheItemsGo) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  const COLORREF selected = MenuItemColour(test.data, 4);
  TPopupMenu menu(nullptr);
  auto* tools = new TMenuItem(&menu);
  auto* sort = new TMenuItem(&menu);
  auto* filter = new TMenuItem(&menu);
  menu.Items()->Add(tools);
  tools->Add(sort);
  tools->Add(filter);
  OwnHandlers own;
  own.GiveTo(sort);

  SetOwnerDrawItems(test.Handle(), tools, true);
  SetOwnerDrawItems(test.Handle(), tools, true);
  for (TMenuItem* item : {tools, sort, filter}) EXPECT_TRUE(ColourNear(DrawnSelected(item), selected));
  EXPECT_EQ(own.draws, 0) << "the skin paints the item";
  DrawAndMeasure(sort);
  EXPECT_EQ(own.measures, 1) << "the item's own measurer stays";

  SetOwnerDrawItems(test.Handle(), tools, false);
  const int draws = own.draws;
  DrawAndMeasure(sort);
  EXPECT_EQ(own.draws, draws + 1) << "the item's own painter is back";
  EXPECT_EQ(own.measures, 2);
  for (TMenuItem* item : {tools, filter}) {
    EXPECT_FALSE(static_cast<bool>(item->OnDrawItem));
    EXPECT_FALSE(static_cast<bool>(item->OnMeasureItem));
  }
  // Letting go of items the skin does not have changes nothing.
  SetOwnerDrawItems(test.Handle(), tools, false);
  DrawAndMeasure(sort);
  EXPECT_EQ(own.draws, draws + 2);
  EXPECT_EQ(own.measures, 3);
}


// Each system menu is made of new items and freed at the next: after many, the items an
// application makes (perhaps where those were) are still its own when the skin stops.
TEST_F(SkinMenuOwnershipTest, AfterManySystemMenusTheApplicationsItemsKeepTheirHandlers) {
  MenuTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  RECT bounds{};
  GetWindowRect(test.Handle(), &bounds);
  const POINT caption{bounds.left + (bounds.right - bounds.left) / 2 + 40, bounds.top + frame->TopHeight / 2};
  constexpr int kOpenings = 6;
  std::atomic<int> opened{0};
  for (int i = 0; i < kOpenings; ++i) {
    const bool inTime = RunScript([&] {
      ClickAt(caption, true);
      if (WaitFor([] { return VisiblePopupCount() > 0; })) ++opened;
      PressKey(VK_ESCAPE);
      WaitFor([] { return VisiblePopupCount() == 0; });
    });
    ASSERT_TRUE(inTime);
    PumpFor(50);
  }
  EXPECT_EQ(opened, kOpenings);
  ASSERT_NE(frame->SystemMenuPopup, nullptr);
  EXPECT_GT(frame->SystemMenuPopup->Items()->Count(), 0);

  auto* appMenu = new TPopupMenu(test.form);
  std::vector<std::unique_ptr<OwnHandlers>> own;
  for (int i = 0; i < 200; ++i) {
    auto* item = new TMenuItem(appMenu);
    item->SetCaption(L"Item " + std::to_wstring(i));
    appMenu->Items()->Add(item);
    own.push_back(std::make_unique<OwnHandlers>());
    own.back()->GiveTo(item);
  }
  test.data->SetActive(false);
  SkinManage()->RunPendingAction();
  PumpFor(50);
  int kept = 0;
  for (int i = 0; i < appMenu->Items()->Count(); ++i) {
    DrawAndMeasure(appMenu->Items()->Items(i));
    if (own[static_cast<size_t>(i)]->draws == 1 && own[static_cast<size_t>(i)]->measures == 1) ++kept;
  }
  EXPECT_EQ(kept, 200);
}

// A tool button's menu item and its sub-items are drawn from the skin's MenuItem element
// while the window is skinned; when the skin stops they have the handlers they had before
// (the application's own painter is back, the others have none), and skinning again
// draws them from the skin again.
TEST_F(SkinMenuOwnershipTest, AToolButtonsMenuItemIsDrawnByTheSkinAndGivenBackExactly) {
  MenuTestForm test;
  auto* bar = new TToolBar(test.form);
  bar->SetParent(test.form);
  bar->SetAlign(alTop);
  bar->SetHeight(30);
  // A menu of the button's own, which no other part of the skinning draws.
  TPopupMenu toolMenu(nullptr);
  toolMenu.SetOwnerDraw(true);
  auto* tools = new TMenuItem(&toolMenu);
  tools->SetCaption(L"&Tools");
  auto* sort = new TMenuItem(&toolMenu);
  sort->SetCaption(L"&Sort");
  auto* filter = new TMenuItem(&toolMenu);
  filter->SetCaption(L"&Filter");
  toolMenu.Items()->Add(tools);
  tools->Add(sort);
  tools->Add(filter);
  OwnHandlers own;
  own.GiveTo(sort);
  auto* button = new TToolButton(test.form);
  button->SetMenuItem(tools);
  button->SetParent(bar);

  ASSERT_TRUE(test.ShowAndWaitForSkin());
  ASSERT_TRUE(test.Frame()->DrawFrame);
  TSkinData* data = test.data;
  ASSERT_TRUE(data->MenuItem && data->MenuItem->Bitmap);
  const COLORREF selected = MenuItemColour(data, 4);
  ASSERT_FALSE(ColourNear(selected, GetSysColor(COLOR_HIGHLIGHT)));
  auto skinDrawn = [&](TMenuItem* item) { return ColourNear(DrawnSelected(item), selected); };
  EXPECT_TRUE(skinDrawn(tools));
  EXPECT_TRUE(skinDrawn(sort));
  EXPECT_TRUE(skinDrawn(filter));
  EXPECT_EQ(own.draws, 0);

  test.data->SetActive(false);
  SkinManage()->RunPendingAction();
  PumpFor(50);
  DrawAndMeasure(sort);
  EXPECT_EQ(own.draws, 1) << "the item's own painter is back";
  EXPECT_EQ(own.measures, 1);
  for (TMenuItem* item : {tools, filter}) {
    EXPECT_FALSE(static_cast<bool>(item->OnDrawItem));
    EXPECT_FALSE(static_cast<bool>(item->OnMeasureItem));
    EXPECT_FALSE(skinDrawn(item));
  }

  test.data->SetActive(true);
  SkinManage()->RunPendingAction();
  ASSERT_TRUE(PumpUntil([&] { return test.Frame() != nullptr && test.Frame()->State == kFrameActive; }));
  EXPECT_TRUE(skinDrawn(filter));
  EXPECT_TRUE(skinDrawn(sort));
  // The menu goes first (declared last) while the window is still skinned: the frame lets
  // go of its items without touching them.
}
