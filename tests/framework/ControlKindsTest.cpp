// Glyph buttons, list and range controls: made from layout text, their properties by name
// (the names the skin engine reads), the window class and style they make, and behaviour
// (a speed button clicked through its parent, groups, lists that survive re-creation,
// scroll bars that keep their position in range).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/Buttons.h"
#include "framework/ClassBuilder.h"
#include "framework/Forms.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/ResourceCount.h"
#include "tests/framework/Pump.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { delete f; }
};
using FormPtr = std::unique_ptr<TForm, FormDeleter>;

constexpr std::string_view kLayout = R"(object KindsForm: TForm
  Left = 10
  Top = 10
  ClientWidth = 500
  ClientHeight = 400
  Caption = 'kinds'
  object BitBtn1: TBitBtn
    Left = 8
    Top = 8
    Width = 90
    Height = 28
    Caption = 'Glyph'
    Kind = bkCustom
    Layout = blGlyphTop
    NumGlyphs = 2
    Margin = 3
    Spacing = -1
  end
  object BitBtn2: TBitBtn
    Left = 100
    Top = 8
    Width = 90
    Height = 28
    Kind = bkOK
  end
  object SpeedButton1: TSpeedButton
    Left = 200
    Top = 8
    Width = 40
    Height = 24
    Caption = 'A'
    Flat = True
    GroupIndex = 1
    Down = True
  end
  object SpeedButton2: TSpeedButton
    Left = 240
    Top = 8
    Width = 40
    Height = 24
    Caption = 'B'
    GroupIndex = 1
  end
  object SpeedButton3: TSpeedButton
    Left = 280
    Top = 8
    Width = 40
    Height = 24
    Caption = 'C'
  end
  object ListBox1: TListBox
    Left = 8
    Top = 40
    Width = 120
    Height = 80
    Items.Strings = (
      'one'
      'two'
      'three')
    ItemIndex = 1
  end
  object ComboBox1: TComboBox
    Left = 140
    Top = 40
    Width = 120
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'red'
      'green')
    ItemIndex = 0
  end
  object ScrollBar1: TScrollBar
    Left = 8
    Top = 130
    Width = 17
    Height = 120
    Kind = sbVertical
    Max = 50
    Position = 20
    LargeChange = 10
  end
  object ListView1: TListView
    Left = 40
    Top = 130
    Width = 200
    Height = 120
    ViewStyle = vsReport
    RowSelect = True
    Columns = <
      item
        Caption = 'Name'
        Width = 80
      end
      item
        Caption = 'Size'
        Width = 60
        Alignment = taRightJustify
      end>
    Items.Strings = (
      'a.txt'#9'12'
      'b.txt'#9'7')
  end
  object TreeView1: TTreeView
    Left = 250
    Top = 130
    Width = 120
    Height = 120
    Items.Strings = (
      'root'
      ' child'
      '  grandchild'
      ' second'
      'other')
  end
  object ProgressBar1: TProgressBar
    Left = 8
    Top = 260
    Width = 150
    Height = 16
    Position = 40
  end
  object ProgressBar2: TProgressBar
    Left = 170
    Top = 260
    Width = 16
    Height = 100
    Orientation = pbVertical
    Smooth = True
    Position = 70
  end
  object TrackBar1: TTrackBar
    Left = 200
    Top = 260
    Width = 150
    Height = 40
    Max = 20
    Position = 5
  end
  object Edit1: TEdit
    Left = 360
    Top = 260
    Width = 60
    Height = 21
    Text = '0'
  end
  object UpDown1: TUpDown
    Left = 420
    Top = 260
    Width = 17
    Height = 21
    Associate = Edit1
    Max = 9
    Position = 3
  end
end
)";

class ControlKinds : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(TCustomForm::CreateFromLayout<TForm>(Application, kLayout));
    form->Show();
    Pump();
  }
  void TearDown() override {
    form.reset();
    Pump();
  }
  template <class T>
  T* Get(const wchar_t* name) {
    auto* c = dynamic_cast<T*>(form->FindComponent(name));
    EXPECT_NE(c, nullptr) << "no component of the kind named";
    return c;
  }
  static std::wstring WindowClass(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
  }
  static DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }
  FormPtr form;
};

TEST_F(ControlKinds, EachKindMakesAWindowOfItsFrameworkClassOverTheSystemControl) {
  struct Case {
    const wchar_t* name;
    const wchar_t* systemClass;
    DWORD styleBits;
  };
  const Case cases[] = {
      {L"BitBtn1", L"BUTTON", BS_OWNERDRAW},
      {L"ListBox1", L"LISTBOX", LBS_NOTIFY | LBS_HASSTRINGS},
      {L"ComboBox1", L"COMBOBOX", CBS_DROPDOWNLIST},
      {L"ScrollBar1", L"SCROLLBAR", SBS_VERT},
      {L"ListView1", WC_LISTVIEWW, LVS_REPORT},
      {L"TreeView1", WC_TREEVIEWW, TVS_HASLINES | TVS_HASBUTTONS},
      {L"ProgressBar2", PROGRESS_CLASSW, PBS_VERTICAL | PBS_SMOOTH},
      {L"TrackBar1", TRACKBAR_CLASSW, TBS_AUTOTICKS},
      {L"UpDown1", UPDOWN_CLASSW, UDS_SETBUDDYINT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << WideToUtf8(c.name));
    auto* control = Get<TWinControl>(c.name);
    ASSERT_NE(control, nullptr);
    const HWND h = control->Handle();
    ASSERT_TRUE(IsWindow(h));
    // The window class is named like the framework class and behaves like the system one.
    EXPECT_EQ(WindowClass(h), Utf8ToWide(control->ClassName()));
    WNDCLASSEXW system{};
    system.cbSize = sizeof system;
    ASSERT_TRUE(GetClassInfoExW(nullptr, c.systemClass, &system));
    EXPECT_EQ(control->DefWndProc(), system.lpfnWndProc);
    EXPECT_EQ(Style(h) & c.styleBits, c.styleBits);
    EXPECT_EQ(FindControl(h), control);
  }
}

TEST_F(ControlKinds, PublishedPropertiesReadByTheNamesTheEngineUses) {
  TBitBtn* bit = Get<TBitBtn>(L"BitBtn1");
  ASSERT_NE(bit, nullptr);
  EXPECT_EQ(GetEnumProp(bit, "Layout"), "blGlyphTop");
  EXPECT_EQ(GetOrdProp(bit, "NumGlyphs"), 2);
  EXPECT_EQ(GetOrdProp(bit, "Margin"), 3);
  EXPECT_EQ(GetOrdProp(bit, "Spacing"), -1);
  EXPECT_EQ(GetEnumProp(bit, "Kind"), "bkCustom");
  EXPECT_EQ(GetObjectProp(bit, "Glyph"), bit->Glyph());

  TBitBtn* ok = Get<TBitBtn>(L"BitBtn2");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->Caption(), L"OK") << "a kind brings its caption";
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_TRUE(ok->Default());

  TSpeedButton* a = Get<TSpeedButton>(L"SpeedButton1");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(GetEnumProp(a, "Flat"), "True");
  EXPECT_EQ(GetEnumProp(a, "Down"), "True");
  EXPECT_EQ(GetOrdProp(a, "GroupIndex"), 1);
  EXPECT_EQ(GetEnumProp(a, "Transparent"), "True");
  EXPECT_NE(GetObjectProp(a, "Glyph"), nullptr);

  EXPECT_EQ(GetEnumProp(Get<TScrollBar>(L"ScrollBar1"), "Kind"), "sbVertical");
  EXPECT_EQ(GetEnumProp(Get<TListBox>(L"ListBox1"), "BorderStyle"), "bsSingle");
  EXPECT_EQ(GetEnumProp(Get<TListView>(L"ListView1"), "BorderStyle"), "bsSingle");
  EXPECT_EQ(GetEnumProp(Get<TProgressBar>(L"ProgressBar2"), "Orientation"), "pbVertical");

  // The engine's class tests include descendants.
  EXPECT_TRUE(Get<TListBox>(L"ListBox1")->ClassType().InheritsFrom("TCustomListBox"));
  EXPECT_TRUE(Get<TComboBox>(L"ComboBox1")->ClassType().InheritsFrom("TCustomComboBox"));
  EXPECT_TRUE(Get<TListView>(L"ListView1")->ClassType().InheritsFrom("TCustomListView"));
  EXPECT_TRUE(Get<TTreeView>(L"TreeView1")->ClassType().InheritsFrom("TCustomTreeView"));
  EXPECT_TRUE(bit->ClassType().InheritsFrom("TButton"));
  EXPECT_TRUE(a->ClassType().InheritsFrom("TGraphicControl"));
}

TEST_F(ControlKinds, SpeedButtonIsClickedThroughItsParentAndGroupsStayExclusive) {
  TSpeedButton* a = Get<TSpeedButton>(L"SpeedButton1");
  TSpeedButton* b = Get<TSpeedButton>(L"SpeedButton2");
  TSpeedButton* c = Get<TSpeedButton>(L"SpeedButton3");
  ASSERT_TRUE(a && b && c);
  int clicksB = 0, clicksC = 0;
  b->OnClick = [&](TObject*) {
    ++clicksB;
    EXPECT_TRUE(b->Down()) << "Down changes before the click is raised";
  };
  c->OnClick = [&](TObject*) { ++clicksC; };
  const HWND parent = form->Handle();
  auto click = [&](TControl* button, int dx = 5) {
    const LPARAM at = MAKELPARAM(button->Left() + dx, button->Top() + 5);
    SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(parent, WM_LBUTTONUP, 0, at);
  };
  click(b);
  EXPECT_EQ(clicksB, 1);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down()) << "pressing one button of a group releases the others";
  click(b);
  EXPECT_TRUE(b->Down()) << "the last button down stays down without AllowAllUp";
  click(c);
  EXPECT_EQ(clicksC, 1);
  EXPECT_FALSE(c->Down()) << "a button outside any group does not stay down";

  // Released outside: no click.
  const LPARAM inside = MAKELPARAM(c->Left() + 5, c->Top() + 5);
  const LPARAM outside = MAKELPARAM(c->Left() + 5, c->Top() + 200);
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  EXPECT_EQ(c->State(), bsDown);
  SendMessageW(parent, WM_MOUSEMOVE, MK_LBUTTON, outside);
  EXPECT_EQ(c->State(), bsUp);
  SendMessageW(parent, WM_LBUTTONUP, 0, outside);
  EXPECT_EQ(clicksC, 1);

  c->SetEnabled(false);
  EXPECT_EQ(c->State(), bsDisabled);
  click(c);
  EXPECT_EQ(clicksC, 1) << "a disabled button is not clicked";
}

TEST_F(ControlKinds, SpeedButtonAllowAllUpLetsTheGroupGoUp) {
  TSpeedButton* a = Get<TSpeedButton>(L"SpeedButton1");
  TSpeedButton* b = Get<TSpeedButton>(L"SpeedButton2");
  ASSERT_TRUE(a && b);
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp()) << "the group shares AllowAllUp";
  a->SetDown(false);
  EXPECT_FALSE(a->Down());
  EXPECT_FALSE(b->Down());
  // A button outside a group never stays down, whatever is asked.
  TSpeedButton* c = Get<TSpeedButton>(L"SpeedButton3");
  c->SetDown(true);
  EXPECT_FALSE(c->Down());
}

// Renders `window`'s client area through WM_PRINTCLIENT into a 32-bit bitmap; pixel(x, y)
// reads it back as a COLORREF.
class Rendered {
 public:
  Rendered(HWND window, int width, int height) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
  }
  ~Rendered() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF Pixel(int x, int y) const {
    const uint32_t p = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int Count(COLORREF colour, RECT area) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) n += Pixel(x, y) == colour ? 1 : 0;
    return n;
  }

 private:
  int width_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

TEST_F(ControlKinds, GlyphButtonsPaintTheirGlyphCellAndFaces) {
  TBitBtn* bit = Get<TBitBtn>(L"BitBtn1");
  ASSERT_NE(bit, nullptr);
  // Two cells on a magenta key: green (up), blue (disabled).
  TBitmap glyph(32, 16, pf24bit);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(Rect(0, 0, 32, 16));
  glyph.Canvas()->Brush()->SetColor(clLime);
  glyph.Canvas()->FillRect(Rect(4, 4, 12, 12));
  glyph.Canvas()->Brush()->SetColor(clBlue);
  glyph.Canvas()->FillRect(Rect(20, 4, 28, 12));
  bit->SetGlyph(&glyph);
  bit->SetLayout(blGlyphLeft);
  const RECT face{0, 0, bit->Width(), bit->Height()};
  {
    Rendered up(bit->Handle(), bit->Width(), bit->Height());
    EXPECT_EQ(up.Count(RGB(0, 255, 0), face), 64) << "the first cell, whole";
    EXPECT_EQ(up.Count(RGB(255, 0, 255), face), 0) << "the key colour is transparent";
    EXPECT_EQ(up.Count(RGB(0, 0, 255), face), 0);
  }
  bit->SetEnabled(false);
  {
    Rendered disabled(bit->Handle(), bit->Width(), bit->Height());
    EXPECT_EQ(disabled.Count(RGB(0, 0, 255), face), 64) << "the disabled cell";
    EXPECT_EQ(disabled.Count(RGB(0, 255, 0), face), 0);
  }

  // Speed buttons are painted by their parent: a flat button that is up shows no edge, one
  // that is down a sunken one.
  TSpeedButton* a = Get<TSpeedButton>(L"SpeedButton1");
  TSpeedButton* b = Get<TSpeedButton>(L"SpeedButton2");
  ASSERT_TRUE(a && b);
  b->SetFlat(true);
  ASSERT_TRUE(a->Down());
  RECT client{};
  GetClientRect(form->Handle(), &client);
  Rendered parent(form->Handle(), client.right, client.bottom);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_EQ(parent.Pixel(a->Left() + a->Width() / 2, a->Top()), shadow) << "the down button's sunken top edge";
  EXPECT_NE(parent.Pixel(b->Left() + b->Width() / 2, b->Top()), shadow) << "a flat button that is up has no edge";
  EXPECT_EQ(parent.Pixel(b->Left() + b->Width() / 2, b->Top()), parent.Pixel(b->Left() + b->Width() / 2, b->Top() - 2))
      << "it shows the parent's background";
}

TEST_F(ControlKinds, BitBtnClickRunsTheHandlerAndTheKindsModalResult) {
  TBitBtn* ok = Get<TBitBtn>(L"BitBtn2");
  ASSERT_NE(ok, nullptr);
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  SendMessageW(ok->Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(ControlKinds, ListItemsReachTheWindowAndSurviveRecreation) {
  TListBox* list = Get<TListBox>(L"ListBox1");
  ASSERT_NE(list, nullptr);
  const HWND h = list->Handle();
  EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(list->ItemIndex(), 1);
  list->Items()->Add(L"four");
  EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 4);
  list->SetItemIndex(3);
  list->SetBorderStyle(bsNone);  // re-creates the window
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_EQ(GetWindowLongW(list->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  list->SetItemIndex(99);
  EXPECT_EQ(list->ItemIndex(), -1) << "an index past the end selects nothing";

  TComboBox* combo = Get<TComboBox>(L"ComboBox1");
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(combo->ItemIndex(), 0);
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  SendMessageW(combo->Handle(), CB_SETCURSEL, 1, 0);
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo->Handle()));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo->ItemIndex(), 1);
  combo->SetDroppedDown(true);
  EXPECT_TRUE(combo->DroppedDown());
  combo->SetDroppedDown(false);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
  EXPECT_TRUE(IsWindow(info.hwndList)) << "the drop-down list the engine gives scroll bars";
}

TEST_F(ControlKinds, ListViewRowsAndTreeNodesFollowTheirLines) {
  TListView* view = Get<TListView>(L"ListView1");
  ASSERT_NE(view, nullptr);
  view->HandleNeeded();
  EXPECT_EQ(view->ItemCountShown(), 2);
  EXPECT_EQ(view->CellText(0, 0), L"a.txt");
  EXPECT_EQ(view->CellText(1, 1), L"7");
  const HWND header = reinterpret_cast<HWND>(SendMessageW(view->Handle(), LVM_GETHEADER, 0, 0));
  ASSERT_TRUE(IsWindow(header));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
  view->SetItemIndex(1);
  EXPECT_EQ(view->ItemIndex(), 1);

  TTreeView* tree = Get<TTreeView>(L"TreeView1");
  ASSERT_NE(tree, nullptr);
  tree->HandleNeeded();
  EXPECT_EQ(tree->NodeCountShown(), 5);
}

TEST(ControlKindsLeak, FormWithEveryKind20TimesKeepsTheCountsFlat) {
  { FormPtr warm(TCustomForm::CreateFromLayout<TForm>(Application, kLayout)); warm->Show(); Pump(); }
  Pump();
  const int64_t gdiBefore = GdiObjectCount();
  const int64_t windowsBefore = WindowCount();
  for (int round = 0; round < 20; ++round) {
    FormPtr form(TCustomForm::CreateFromLayout<TForm>(Application, kLayout));
    form->Show();
    Pump();
    // Glyphs, re-made windows and list contents.
    auto* bit = dynamic_cast<TBitBtn*>(form->FindComponent(L"BitBtn1"));
    ASSERT_NE(bit, nullptr);
    TBitmap glyph(32, 16, pf24bit);
    bit->SetGlyph(&glyph);
    dynamic_cast<TListBox*>(form->FindComponent(L"ListBox1"))->SetBorderStyle(bsNone);
    dynamic_cast<TScrollBar*>(form->FindComponent(L"ScrollBar1"))->SetKind(sbHorizontal);
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  Pump();
  EXPECT_EQ(GdiObjectCount(), gdiBefore);
  EXPECT_EQ(WindowCount(), windowsBefore);
}

TEST(OutlineDepthsTest, IndentIsLimitedToOneLevelBelowTheLineBefore) {
  EXPECT_EQ(OutlineDepths({L"a", L" b", L"  c", L" d", L"e"}), (std::vector<int>{0, 1, 2, 1, 0}));
  EXPECT_EQ(OutlineDepths({L"   deep first", L"\t\tb"}), (std::vector<int>{0, 1}));
  EXPECT_EQ(OutlineDepths({}), std::vector<int>{});
  EXPECT_EQ(OutlineDepths({L"", L"    "}), (std::vector<int>{0, 1}));
}

TEST_F(ControlKinds, ScrollBarKeepsItsPositionInRangeAndFollowsReflectedScrolls) {
  TScrollBar* bar = Get<TScrollBar>(L"ScrollBar1");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Position(), 20);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(bar->Handle(), SB_CTL, &info));
  EXPECT_EQ(info.nMax, 50);
  EXPECT_EQ(info.nPos, 20);
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  SendMessageW(form->Handle(), WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 30);
  EXPECT_EQ(changes, 1);
  SendMessageW(form->Handle(), WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 50);
  bar->SetPosition(500);
  EXPECT_EQ(bar->Position(), 50) << "clamped to Max";
  bar->SetPageSize(11);
  EXPECT_EQ(bar->Position(), 40) << "clamped to Max - PageSize + 1";
  bar->SetParams(5, 10, 3);
  EXPECT_EQ(bar->Min(), 10);
  EXPECT_EQ(bar->Max(), 10) << "Max below Min is raised to Min";
  EXPECT_EQ(bar->Position(), 10);
  const int width = bar->Width(), height = bar->Height();
  bar->SetKind(sbHorizontal);
  EXPECT_EQ(bar->Width(), height);
  EXPECT_EQ(bar->Height(), width);
  EXPECT_NE(Style(bar->Handle()) & SBS_VERT, static_cast<DWORD>(SBS_VERT));
}

TEST_F(ControlKinds, RangeControlsShowTheirPositions) {
  TProgressBar* bar = Get<TProgressBar>(L"ProgressBar1");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETRANGE, 0, 0), 100);
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 100);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 10) << "stepping past the end starts again";

  TTrackBar* track = Get<TTrackBar>(L"TrackBar1");
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(SendMessageW(track->Handle(), TBM_GETPOS, 0, 0), 5);
  int changes = 0;
  track->OnChange = [&](TObject*) { ++changes; };
  SendMessageW(track->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(track->Handle(), WM_KEYUP, VK_RIGHT, 0);
  Pump();
  EXPECT_EQ(track->Position(), 6);
  EXPECT_GE(changes, 1);
  track->SetOrientation(trVertical);
  EXPECT_EQ(Style(track->Handle()) & TBS_VERT, static_cast<DWORD>(TBS_VERT));
  EXPECT_EQ(track->Position(), 6) << "kept over the re-creation";

  TUpDown* updown = Get<TUpDown>(L"UpDown1");
  auto* edit = dynamic_cast<TWinControl*>(form->FindComponent(L"Edit1"));
  ASSERT_TRUE(updown && edit);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown->Handle(), UDM_GETBUDDY, 0, 0)), edit->Handle());
  EXPECT_EQ(edit->Text(), L"3") << "the buddy shows the position";
  int clicks = 0;
  updown->OnClick = [&](TObject*) { ++clicks; };
  // A press on the upper half counts up.
  SendMessageW(updown->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(updown->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  Pump();
  EXPECT_EQ(updown->Position(), 4);
  EXPECT_EQ(edit->Text(), L"4");
  EXPECT_GE(clicks, 1);
}

}  // namespace
