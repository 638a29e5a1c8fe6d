// Tab and page controls, group boxes and radio groups, scroll boxes, tool bars, headers,
// date pickers and MDI forms: made from layout text, their windows and behaviour.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/ClassBuilder.h"
#include "framework/DateCtrls.h"
#include "framework/Forms.h"
#include "framework/GroupCtrls.h"
#include "framework/HeaderCtrls.h"
#include "framework/Menus.h"
#include "framework/ResourceCount.h"
#include "framework/TabCtrls.h"
#include "framework/ToolBars.h"
#include "tests/framework/Pump.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { delete f; }
};
using FormPtr = std::unique_ptr<TForm, FormDeleter>;

constexpr std::string_view kLayout = R"(object ContainersForm: TForm
  Left = 20
  Top = 20
  ClientWidth = 600
  ClientHeight = 420
  Caption = 'containers'
  Menu = MainMenu1
  object ToolBar1: TToolBar
    Height = 26
    Flat = True
    ShowCaptions = True
    object ToolButton1: TToolButton
      Left = 0
      Caption = 'New'
    end
    object ToolButton2: TToolButton
      Left = 30
      Style = tbsSeparator
    end
    object ToolButton3: TToolButton
      Left = 40
      Caption = 'Bold'
      Style = tbsCheck
    end
  end
  object HeaderControl1: THeaderControl
    Top = 26
    Sections = <
      item
        Text = 'Name'
        Width = 100
      end
      item
        Text = 'Size'
        Width = 60
        Alignment = taRightJustify
      end>
  end
  object PageControl1: TPageControl
    Left = 8
    Top = 60
    Width = 280
    Height = 150
    ActivePage = TabSheet2
    object TabSheet1: TTabSheet
      Caption = 'First'
    end
    object TabSheet2: TTabSheet
      Caption = 'Second'
      object GroupBox1: TGroupBox
        Left = 4
        Top = 4
        Width = 150
        Height = 80
        Caption = 'Group'
      end
    end
    object TabSheet3: TTabSheet
      Caption = 'Hidden'
      TabVisible = False
    end
  end
  object TabControl1: TTabControl
    Left = 300
    Top = 60
    Width = 280
    Height = 150
    TabPosition = tpLeft
    Tabs.Strings = (
      'Left one'
      'Left two')
    TabIndex = 1
  end
  object RadioGroup1: TRadioGroup
    Left = 8
    Top = 220
    Width = 200
    Height = 90
    Caption = 'Choice'
    Columns = 2
    Items.Strings = (
      'Alpha'
      'Beta'
      'Gamma')
    ItemIndex = 1
  end
  object ScrollBox1: TScrollBox
    Left = 220
    Top = 220
    Width = 120
    Height = 80
    object Panel1: TPanel
      Left = 10
      Top = 10
      Width = 300
      Height = 200
    end
  end
  object DateTimePicker1: TDateTimePicker
    Left = 360
    Top = 220
    Width = 150
    Height = 21
  end
  object DateTimePicker2: TDateTimePicker
    Left = 360
    Top = 250
    Width = 150
    Height = 21
    Kind = dtkTime
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = 'File'
      object Open1: TMenuItem
        Caption = 'Open'
      end
    end
  end
end
)";

class ContainerKinds : public ::testing::Test {
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
    EXPECT_NE(c, nullptr);
    return c;
  }
  static DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }
  FormPtr form;
};

TEST_F(ContainerKinds, PageControlShowsTheActivePageAndTabsOfVisiblePagesOnly) {
  auto* pages = Get<TPageControl>(L"PageControl1");
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePage(), Get<TTabSheet>(L"TabSheet2")) << "the layout's ActivePage";
  EXPECT_EQ(pages->TabCountShown(), 2) << "a page with TabVisible False has no tab";
  EXPECT_EQ(pages->TabTextShown(1), L"Second");
  EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(IsWindowVisible(Get<TTabSheet>(L"TabSheet2")->Handle()));
  EXPECT_FALSE(Get<TTabSheet>(L"TabSheet1")->Visible());
  // The page fills the area inside the tabs.
  const TRect display = pages->DisplayRect();
  const TRect page = Get<TTabSheet>(L"TabSheet2")->BoundsRect();
  EXPECT_TRUE(EqualRect(&page, &display));
  EXPECT_GT(display.top, 0) << "below the tabs";

  // The user picks the first tab: the framework hears it reflected and switches pages.
  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  SendMessageW(pages->Handle(), TCM_SETCURSEL, 0, 0);
  NMHDR notify{pages->Handle(), static_cast<UINT_PTR>(GetDlgCtrlID(pages->Handle())), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(form->Handle(), WM_NOTIFY, notify.idFrom, reinterpret_cast<LPARAM>(&notify));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pages->ActivePage(), Get<TTabSheet>(L"TabSheet1"));
  EXPECT_TRUE(Get<TTabSheet>(L"TabSheet1")->Visible());
  EXPECT_FALSE(Get<TTabSheet>(L"TabSheet2")->Visible());

  // A caption change reaches the tab; a freed page takes its tab with it.
  Get<TTabSheet>(L"TabSheet1")->SetCaption(L"Renamed");
  EXPECT_EQ(pages->TabTextShown(0), L"Renamed");
  delete Get<TTabSheet>(L"TabSheet1");
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->TabCountShown(), 1);
  EXPECT_EQ(pages->ActivePage(), Get<TTabSheet>(L"TabSheet2")) << "the next page becomes active";
  pages->SelectNextPage(true);
  EXPECT_EQ(pages->ActivePage(), Get<TTabSheet>(L"TabSheet2")) << "pages without tabs are skipped";
  EXPECT_EQ(GetEnumProp(pages, "Style"), "tsTabs");
  EXPECT_TRUE(pages->ClassType().InheritsFrom("TCustomTabControl"));
}

TEST_F(ContainerKinds, TabsGoOnEverySide) {
  auto* tabs = Get<TTabControl>(L"TabControl1");
  ASSERT_NE(tabs, nullptr);
  struct Case {
    TTabPosition position;
    DWORD set, clear;
  };
  const Case cases[] = {{tpTop, 0, TCS_VERTICAL | TCS_BOTTOM},
                        {tpBottom, TCS_BOTTOM, TCS_VERTICAL},
                        {tpLeft, TCS_VERTICAL | TCS_MULTILINE, TCS_RIGHT},
                        {tpRight, TCS_VERTICAL | TCS_RIGHT, 0}};
  for (const Case& c : cases) {
    tabs->SetTabPosition(c.position);
    const DWORD style = Style(tabs->Handle());
    EXPECT_EQ(style & c.set, c.set) << "position " << c.position;
    EXPECT_EQ(style & c.clear, 0u) << "position " << c.position;
    EXPECT_EQ(tabs->TabCountShown(), 2) << "tabs survive the new window";
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETCURSEL, 0, 0), 1);
  }
  tabs->SetStyle(tsButtons);
  EXPECT_EQ(Style(tabs->Handle()) & TCS_BUTTONS, static_cast<DWORD>(TCS_BUTTONS));
  tabs->Tabs()->Delete(1);
  EXPECT_EQ(tabs->TabIndex(), 0) << "the index follows a shorter list";
}

TEST_F(ContainerKinds, RadioGroupMakesOneButtonPerItemAndTracksTheChecked) {
  auto* group = Get<TRadioGroup>(L"RadioGroup1");
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->ControlCount(), 3) << "the buttons are the group's child controls";
  EXPECT_TRUE(group->Buttons(0)->ClassType().InheritsFrom("TRadioButton"));
  EXPECT_EQ(group->Buttons(1)->Caption(), L"Beta");
  EXPECT_TRUE(group->Buttons(1)->Checked());
  EXPECT_GT(group->Buttons(2)->Left(), group->Buttons(0)->Left()) << "two columns";
  EXPECT_TRUE(group->ClassType().InheritsFrom("TCustomGroupBox"));

  int clicks = 0;
  group->OnClick = [&](TObject*) { ++clicks; };
  SendMessageW(group->Buttons(2)->Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(group->Buttons(1)->Checked());
  group->SetItemIndex(0);
  EXPECT_TRUE(group->Buttons(0)->Checked());
  EXPECT_EQ(clicks, 1) << "setting the index in code is no click";
  group->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(group->Buttons(0)->Handle()));
  group->Items()->Delete(2);
  EXPECT_EQ(group->ButtonCount(), 2);
  group->SetItemIndex(5);
  EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(ContainerKinds, ScrollBoxScrollsChildrenThatDoNotFit) {
  auto* box = Get<TScrollBox>(L"ScrollBox1");
  auto* panel = dynamic_cast<TControl*>(form->FindComponent(L"Panel1"));
  ASSERT_TRUE(box && panel);
  const DWORD style = Style(box->Handle());
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & WS_HSCROLL);
  SendMessageW(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(panel->Top(), 2) << "one line (8 pixels) up";
  SendMessageW(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  RECT client{};
  GetClientRect(box->Handle(), &client);
  EXPECT_EQ(panel->Top() + panel->Height(), client.bottom) << "the bottom of the contents at the bottom";
  box->SetAutoScroll(false);
  EXPECT_FALSE(Style(box->Handle()) & WS_VSCROLL);
  EXPECT_EQ(panel->Top(), 10) << "contents come back when the bars go";
  EXPECT_EQ(GetEnumProp(box, "BorderStyle"), "bsSingle");
}

TEST_F(ContainerKinds, ToolBarButtonsAreClickedThroughTheBarAndPaintedThroughCustomDraw) {
  auto* bar = Get<TToolBar>(L"ToolBar1");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(SendMessageW(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 3);
  EXPECT_EQ(GetEnumProp(bar, "Flat"), "True");
  EXPECT_TRUE(Style(bar->Handle()) & TBSTYLE_FLAT);
  auto* bold = Get<TToolButton>(L"ToolButton3");
  auto* newButton = Get<TToolButton>(L"ToolButton1");
  ASSERT_TRUE(bold && newButton);
  EXPECT_GT(bold->Left(), newButton->Left()) << "bounds follow the bar's layout";
  int clicks = 0;
  newButton->OnClick = [&](TObject*) { ++clicks; };
  SendMessageW(form->Handle(), WM_COMMAND, static_cast<WPARAM>(newButton->CommandId()),
               reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(clicks, 1);
  SendMessageW(bar->Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(bold->CommandId()), TRUE);
  SendMessageW(form->Handle(), WM_COMMAND, static_cast<WPARAM>(bold->CommandId()), reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_TRUE(bold->Down());

  int barDraws = 0, buttonDraws = 0;
  bar->OnCustomDraw = [&](TToolBar* sender, const TRect&, bool&) {
    EXPECT_EQ(sender, bar);
    EXPECT_TRUE(sender->Canvas()->HandleAllocated());
    ++barDraws;
  };
  bar->OnCustomDrawButton = [&](TToolBar*, TToolButton* button, TCustomDrawState, bool&) {
    EXPECT_NE(button, nullptr);
    ++buttonDraws;
  };
  RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_GE(barDraws, 1);
  EXPECT_GE(buttonDraws, 2);
  bar->OnCustomDraw = nullptr;
  bar->OnCustomDrawButton = nullptr;

  // A bar given a main menu gets one button per top-level item.
  auto* menu = Get<TMainMenu>(L"MainMenu1");
  bar->SetMenu(menu);
  EXPECT_EQ(SendMessageW(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 4);
  EXPECT_EQ(GetObjectProp(bar, "Menu"), menu);
  bar->SetMenu(nullptr);
  EXPECT_EQ(SendMessageW(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 3);
}

TEST_F(ContainerKinds, HeaderAndDatePickerShowTheirSettings) {
  auto* header = Get<THeaderControl>(L"HeaderControl1");
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->SectionCountShown(), 2);
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_WIDTH;
  SendMessageW(header->Handle(), HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.cxy, 60);
  EXPECT_TRUE(item.fmt & HDF_RIGHT);
  header->Sections()->Add()->SetText(L"Third");
  EXPECT_EQ(header->SectionCountShown(), 3);

  auto* date = Get<TDateTimePicker>(L"DateTimePicker1");
  auto* time = Get<TDateTimePicker>(L"DateTimePicker2");
  ASSERT_TRUE(date && time);
  EXPECT_EQ(GetEnumProp(date, "DateMode"), "dmComboBox");
  EXPECT_EQ(GetEnumProp(time, "Kind"), "dtkTime");
  EXPECT_TRUE(Style(time->Handle()) & DTS_TIMEFORMAT);
  SYSTEMTIME when{};
  when.wYear = 2024;
  when.wMonth = 2;
  when.wDay = 29;
  date->SetDateTime(when);
  date->SetDateMode(dmUpDown);  // a new window
  EXPECT_TRUE(Style(date->Handle()) & DTS_UPDOWN);
  EXPECT_EQ(date->DateTime().wDay, 29) << "the date survives the new window";
}

TEST(ContainerKindsLeak, FormWithEveryContainer20TimesKeepsTheCountsFlat) {
  // One round first: classes registered, shared objects made once.
  { FormPtr warm(TCustomForm::CreateFromLayout<TForm>(Application, kLayout)); warm->Show(); Pump(); }
  Pump();
  const int64_t gdiBefore = GdiObjectCount();
  const int64_t windowsBefore = WindowCount();
  for (int round = 0; round < 20; ++round) {
    FormPtr form(TCustomForm::CreateFromLayout<TForm>(Application, kLayout));
    form->Show();
    Pump();
    auto* pages = dynamic_cast<TPageControl*>(form->FindComponent(L"PageControl1"));
    ASSERT_NE(pages, nullptr);
    pages->SelectNextPage(true);
    dynamic_cast<TTabControl*>(form->FindComponent(L"TabControl1"))->SetTabPosition(tpBottom);  // a new window
    EXPECT_GT(WindowCount(), windowsBefore + 15);
  }
  Pump();
  EXPECT_EQ(GdiObjectCount(), gdiBefore);
  EXPECT_EQ(WindowCount(), windowsBefore);
}

TEST(MdiForms, ChildrenLiveInTheMainFormsClientAndGoWithIt) {
  FormPtr main(TCustomForm::CreateFromLayout<TForm>(Application, R"(object MdiMain: TForm
  Caption = 'MDI'
  ClientWidth = 400
  ClientHeight = 300
  FormStyle = fsMDIForm
end
)"));
  main->Show();
  Pump();
  const HWND client = main->ClientHandle();
  ASSERT_TRUE(IsWindow(client));
  wchar_t name[32] = {};
  GetClassNameW(client, name, 32);
  EXPECT_EQ(std::wstring(name), L"MDIClient");
  RECT area{};
  GetClientRect(main->Handle(), &area);
  RECT clientRect{};
  GetWindowRect(client, &clientRect);
  EXPECT_EQ(clientRect.right - clientRect.left, area.right) << "the client fills the form";

  auto* child = new TForm(main.get());
  child->SetFormStyle(fsMDIChild);
  child->SetCaption(L"Child");
  child->SetBounds(10, 10, 200, 150);
  child->Show();
  Pump();
  ASSERT_TRUE(child->HandleAllocated());
  EXPECT_EQ(GetParent(child->Handle()), client);
  EXPECT_TRUE(GetWindowLongW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(main->MDIChildCount(), 1);
  EXPECT_EQ(main->MDIChildren(0), child);
  EXPECT_EQ(main->ActiveMDIChild(), child);

  auto* second = new TForm(main.get());
  second->SetFormStyle(fsMDIChild);
  second->Show();
  Pump();
  EXPECT_EQ(main->MDIChildCount(), 2);
  main->Cascade();
  main->Tile();
  // Closing a child minimises it unless its handler says otherwise.
  child->Close();
  Pump();
  EXPECT_TRUE(IsIconic(child->Handle()));
  second->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  second->Close();
  PumpUntil([&] { return main->MDIChildCount() == 1; }, 5000);
  EXPECT_EQ(main->MDIChildCount(), 1);
  EXPECT_EQ(main->ActiveMDIChild(), child) << "the client moved on to the child that is left";
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)), child->Handle());

  // A form made MDI after its window exists gets a new window of the new kind.
  {
    FormPtr late(new TForm(nullptr));
    late->HandleNeeded();
    EXPECT_EQ(late->ClientHandle(), nullptr);
    late->SetFormStyle(fsMDIForm);
    late->HandleNeeded();
    EXPECT_TRUE(IsWindow(late->ClientHandle()));
    late->SetFormStyle(fsNormal);
    late->HandleNeeded();
    EXPECT_EQ(late->ClientHandle(), nullptr);
  }

  // An MDI child without an MDI form to go into is an error, not a stray window.
  auto* orphan = new TForm(nullptr);
  orphan->SetFormStyle(fsMDIChild);
  main.reset();
  EXPECT_THROW(orphan->HandleNeeded(), Exception);
  delete orphan;
  Pump();
}

}  // namespace
