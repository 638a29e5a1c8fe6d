// Framework menus: shortcuts as text, accelerators, owner-draw item data, lookups by
// identifier, commands run by the item that has them, and the plain owner-draw measuring.
#include <gtest/gtest.h>

#include <string>

#include "framework/Menus.h"

TEST(MenusTest, ShortCutText) {
  const struct {
    TShortCut shortCut;
    const wchar_t* text;
  } cases[] = {
      {ShortCut('O', scCtrl), L"Ctrl+O"},
      {ShortCut(VK_F4, scAlt), L"Alt+F4"},
      {ShortCut(VK_DELETE, scShift), L"Shift+Del"},
      {ShortCut('S', scCtrl | scShift), L"Shift+Ctrl+S"},
      {ShortCut(VK_F1, 0), L"F1"},
      {ShortCut(VK_F24, 0), L"F24"},
      {ShortCut('7', 0), L"7"},
      {0, L""},
      {ShortCut(0xE5, scCtrl), L""},  // a key without a name shows nothing
  };
  for (const auto& c : cases) EXPECT_EQ(ShortCutToText(c.shortCut), c.text) << c.shortCut;
}

TEST(MenusTest, Accelerators) {
  const struct {
    wchar_t key;
    const wchar_t* caption;
    bool expected;
  } cases[] = {
      {L'f', L"&File", true},  {L'F', L"&File", true},   {L'i', L"&File", false}, {L'x', L"E&xit", true},
      {L'a', L"A&&B", false},  {L'b', L"A&&&B", true},   {L'a', L"&", false},     {L'a', L"", false},
      {L'a', L"Tail&", false}, {L'p', L"O&ptions", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsMenuAccel(c.key, c.caption), c.expected) << static_cast<int>(c.key);
}

TEST(MenusTest, OwnerDrawItemDataIsCheckedBeforeUse) {
  auto* menu = new TPopupMenu(nullptr);
  auto* item = new TMenuItem(menu);
  item->SetCaption(L"&Copy");
  menu->Items()->Add(item);
  EXPECT_EQ(MenuItemOfData(reinterpret_cast<ULONG_PTR>(item)), item);
  EXPECT_EQ(MenuItemOfData(0), nullptr);
  int local = 0;
  EXPECT_EQ(MenuItemOfData(reinterpret_cast<ULONG_PTR>(&local)), nullptr);
  const auto stale = reinterpret_cast<ULONG_PTR>(item);
  delete menu;
  EXPECT_EQ(MenuItemOfData(stale), nullptr);
  // A draw message naming a freed item is not handled (and touches nothing).
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemData = stale;
  EXPECT_FALSE(MenuDrawItem(draw));
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = stale;
  EXPECT_FALSE(MenuMeasureItem(measure, nullptr));
}

TEST(MenusTest, ItemsAreFoundByCommandOrSubMenuHandle) {
  TMainMenu menu(nullptr);
  auto* file = new TMenuItem(&menu);
  file->SetCaption(L"&File");
  auto* open = new TMenuItem(&menu);
  open->SetCaption(L"&Open");
  auto* recent = new TMenuItem(&menu);
  recent->SetCaption(L"&Recent");
  auto* first = new TMenuItem(&menu);
  first->SetCaption(L"a.txt");
  menu.Items()->Add(file);
  file->Add(open);
  file->Add(recent);
  recent->Add(first);
  ASSERT_NE(menu.Handle(), nullptr);
  EXPECT_EQ(menu.FindItemById(open->Command()), open);
  EXPECT_EQ(menu.FindItemById(first->Command()), first);
  EXPECT_EQ(menu.FindItemById(reinterpret_cast<UINT_PTR>(file->Handle())), file);
  EXPECT_EQ(menu.FindItemById(reinterpret_cast<UINT_PTR>(recent->Handle())), recent);
  EXPECT_EQ(menu.FindItemById(0xFFFF0), nullptr);
  EXPECT_EQ(open->ParentHandle(), file->Handle());
  EXPECT_EQ(file->ParentHandle(), menu.Handle());
}

TEST(MenusTest, ACommandRunsTheClickOfItsOwnItemOnlyAlsoForAnItemWithSubItems) {
  TMainMenu menu(nullptr);
  std::wstring ran;
  auto add = [&](TMenuItem* parent, const std::wstring& caption) {
    auto* item = new TMenuItem(&menu);
    item->SetCaption(caption);
    item->OnClick = [&ran, caption](TObject*) { ran += caption + L";"; };
    parent->Add(item);
    return item;
  };
  TMenuItem* file = add(menu.Items(), L"File");
  TMenuItem* open = add(file, L"Open");
  TMenuItem* recent = add(file, L"Recent");
  TMenuItem* first = add(recent, L"a.txt");
  TMenuItem* help = add(menu.Items(), L"Help");
  ASSERT_NE(menu.Handle(), nullptr);
  const struct {
    UINT command;
    bool found;
    const wchar_t* ran;
  } cases[] = {
      {file->Command(), true, L"File;"},      // a bar item whose drop-down opens
      {recent->Command(), true, L"Recent;"},  // a sub-menu inside a drop-down
      {open->Command(), true, L"Open;"},
      {first->Command(), true, L"a.txt;"},
      {help->Command(), true, L"Help;"},
      {menu.Items()->Command(), false, L""},  // the root holds the items, it is no entry
      {0, false, L""},
      {0xFFFF, false, L""},
  };
  for (const auto& c : cases) {
    ran.clear();
    EXPECT_EQ(menu.DispatchCommand(c.command), c.found) << c.command;
    EXPECT_EQ(ran, c.ran) << c.command;
  }
  EXPECT_EQ(menu.FindItem(recent->Command()), recent);
}

TEST(MenusTest, PlainOwnerDrawMeasuresTextShortcutAndSeparators) {
  auto* menu = new TPopupMenu(nullptr);
  menu->SetOwnerDraw(true);
  auto* shortItem = new TMenuItem(menu);
  shortItem->SetCaption(L"&Go");
  auto* withShortCut = new TMenuItem(menu);
  withShortCut->SetCaption(L"&Go");
  withShortCut->SetShortCut(ShortCut('G', scCtrl));
  auto* line = new TMenuItem(menu);
  line->SetCaption(L"-");
  for (TMenuItem* item : {shortItem, withShortCut, line}) menu->Items()->Add(item);
  ASSERT_NE(menu->Handle(), nullptr);
  HWND owner = PopupListWindow();
  ASSERT_NE(owner, nullptr);
  auto measure = [owner](TMenuItem* item) {
    MEASUREITEMSTRUCT m{};
    m.CtlType = ODT_MENU;
    m.itemData = reinterpret_cast<ULONG_PTR>(item);
    EXPECT_TRUE(MenuMeasureItem(m, owner));
    return m;
  };
  const MEASUREITEMSTRUCT plain = measure(shortItem);
  const MEASUREITEMSTRUCT longer = measure(withShortCut);
  const MEASUREITEMSTRUCT separator = measure(line);
  EXPECT_GT(plain.itemWidth, 0u);
  EXPECT_GT(longer.itemWidth, plain.itemWidth);
  EXPECT_EQ(longer.itemHeight, plain.itemHeight);
  EXPECT_LT(separator.itemHeight, plain.itemHeight);
  // A handler of the item's own replaces the plain measuring.
  shortItem->OnMeasureItem = [](TObject*, TCanvas*, int& width, int& height) {
    width = 77;
    height = 33;
  };
  const MEASUREITEMSTRUCT own = measure(shortItem);
  EXPECT_EQ(own.itemWidth, 77u);
  EXPECT_EQ(own.itemHeight, 33u);
  delete menu;
}
