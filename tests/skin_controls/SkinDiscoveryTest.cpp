// Control discovery on framework forms and raw windows: which skinned-control class each
// control gets (the built-in rules, the Skin3rd mapping, DisableTag, OnSkinControl, the
// child-window cases), SKM_QUERYSKIN and SKM_ENABLESKIN on what was skinned, re-skinning
// a scroll control, and detaching everything 100 times with no leak.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/GroupCtrls.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/ResourceCount.h"
#include "skin/controls/RegisterSkinControls.h"
#include "skin/controls/WinSubClassButtons.h"
#include "skin/controls/WinSubClassScroll.h"
#include "skin/form/ControlDiscovery.h"
#include "tests/skin_controls/SkinControlsSupport.h"

namespace {

class Discovery : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterSkinControls();
    skin = LoadBuiltSkin("default").release();
  }
  static void TearDownTestSuite() {
    delete skin;
    skin = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(skin, nullptr);
    savedKinds = skin->SkinControls();
    skin->Skin3rd()->Clear();
    skin->SetDisableTag(99);
    SetCursorPos(0, 0);
    view = std::make_unique<TControlsForm>();
    memo = new TMemo(view->form);
    memo->SetParent(view->form);
    memo->SetBounds(170, 50, 170, 100);
    memo->SetScrollBars(ssBoth);
    for (int i = 0; i < 40; ++i) memo->Lines()->Add(L"第 " + std::to_wstring(i) + L" 行 a long line that needs the horizontal bar too");
    PumpFor(20);
  }
  void TearDown() override {
    discovery.reset();
    skin->SetSkinControls(savedKinds);
    skin->Skin3rd()->Clear();
    skin->OnSkinControl = nullptr;
    view.reset();
  }
  TControlDiscovery& Discover() {
    discovery = std::make_unique<TControlDiscovery>(skin, view->form->Handle(), true);
    discovery->DiscoverForm(view->form);
    return *discovery;
  }
  std::string ClassOf(TControl* control) const {
    TSkinControlItem* item = discovery ? discovery->FindByControl(control) : nullptr;
    return item != nullptr ? item->SkinClassName() : "";
  }

  static TSkinData* skin;
  TSkinControlTypes savedKinds;
  std::unique_ptr<TControlsForm> view;
  TMemo* memo = nullptr;
  std::unique_ptr<TControlDiscovery> discovery;
};

TSkinData* Discovery::skin = nullptr;

TEST_F(Discovery, EveryControlOfTheFormGetsItsClassAndAnswersQuerySkin) {
  Discover();
  EXPECT_EQ(ClassOf(view->button), "TSkinButton");
  EXPECT_EQ(ClassOf(view->button2), "TSkinButton");
  EXPECT_EQ(ClassOf(view->check), "TSkinCheckBox");
  EXPECT_EQ(ClassOf(view->radio), "TSkinRadioButton");
  EXPECT_EQ(ClassOf(view->radio2), "TSkinRadioButton");
  EXPECT_EQ(ClassOf(view->status), "TSkinStatusBar");
  EXPECT_EQ(ClassOf(memo), "TSkinScrollbar");
  EXPECT_EQ(discovery->Controls().size(), 7u);
  for (TWinControl* c : std::vector<TWinControl*>{view->button, view->button2, view->check, view->radio, view->radio2, view->status, memo})
    EXPECT_EQ(SendMessageW(c->Handle(), SKM_QUERYSKIN, 0, 0), 1) << c->ClassName();
  // A second discovery finds everything skinned already.
  discovery->DiscoverForm(view->form);
  EXPECT_EQ(discovery->Controls().size(), 7u);
}

TEST_F(Discovery, EnableSkinZeroAndOneOnADiscoveredControl) {
  Discover();
  HWND button = view->button->Handle();
  const auto skinned = PaintOf(button);
  SendMessageW(button, SKM_ENABLESKIN, 0, 0);
  const auto plain = PaintOf(button);
  SendMessageW(button, SKM_ENABLESKIN, 1, 0);
  const auto again = PaintOf(button);
  const int x = 3, y = 3;
  EXPECT_NE(skinned->At(x, y), plain->At(x, y));
  EXPECT_EQ(skinned->At(x, y), again->At(x, y));
}

TEST_F(Discovery, DisableTagAndMissingKindsLeaveControlsAlone) {
  view->button->SetTag(99);
  TSkinControlTypes kinds = skin->SkinControls();
  kinds.Exclude(xcCheckBox);
  kinds.Exclude(xcScrollbar);
  skin->SetSkinControls(kinds);
  Discover();
  EXPECT_EQ(ClassOf(view->button), "");
  EXPECT_EQ(SendMessageW(view->button->Handle(), SKM_QUERYSKIN, 0, 0), 0);
  EXPECT_EQ(ClassOf(view->button2), "TSkinButton");
  EXPECT_EQ(ClassOf(view->check), "");
  // Without scroll bars the memo falls through to the edit rule.
  EXPECT_EQ(ClassOf(memo), "TSkinEdit");
}

TEST_F(Discovery, EachFrameworkControlKindGetsTheClassOfItsRule) {
  TForm* form = view->form;
  form->SetBounds(40, 40, 700, 420);
  auto place = [form](TControl* control, TWinControl* parent, int x, int y, int w, int h) {
    control->SetParent(parent != nullptr ? parent : form);
    control->SetBounds(x, y, w, h);
    return control;
  };
  struct Expect {
    TControl* control;
    const char* skinClass;
  };
  auto* list = new TListBox(form);
  place(list, nullptr, 360, 10, 100, 60);
  for (int i = 0; i < 30; ++i) list->Items()->Add(L"item " + std::to_wstring(i));
  auto* tree = new TTreeView(form);
  place(tree, nullptr, 470, 10, 100, 60);
  auto* group = new TGroupBox(form);
  place(group, nullptr, 360, 80, 150, 80);
  auto* inGroup = new TButton(form);
  place(inGroup, group, 10, 20, 80, 24);
  auto* panel = new TPanel(form);
  place(panel, nullptr, 520, 80, 150, 80);
  auto* inPanel = new TCheckBox(form);
  place(inPanel, panel, 10, 20, 100, 20);
  const std::vector<Expect> expected = {
      {place(new TBitBtn(form), nullptr, 10, 170, 90, 28), "TSkinBitButton"},
      {place(new TSpeedButton(form), nullptr, 110, 170, 90, 28), "TSkinSpeedButton"},
      {list, "TSkinScrollbar"},
      {tree, "TSkinScrollbar"},
      {place(new TListView(form), nullptr, 580, 10, 100, 60), "TSkinListView"},
      {place(new TScrollBar(form), nullptr, 210, 170, 120, 18), "TSkinScControl"},
      {place(new TProgressBar(form), nullptr, 10, 210, 120, 18), "TSkinProgress"},
      {place(new TTrackBar(form), nullptr, 140, 210, 120, 30), "TSkinTrackBar"},
      {place(new TComboBox(form), nullptr, 270, 210, 120, 24), "TSkinComBox"},
      {place(new TEdit(form), nullptr, 400, 210, 120, 24), "TSkinEdit"},
      {place(new TUpDown(form), nullptr, 530, 210, 20, 24), "TSkinUpDown"},
      {group, "TSkinGroupBox"},
      {inGroup, "TSkinButton"},
      {panel, "TSkinBox"},
      {inPanel, "TSkinCheckBox"},
      {memo, "TSkinScrollbar"},
  };
  PumpFor(30);
  Discover();
  for (const Expect& e : expected) EXPECT_EQ(ClassOf(e.control), e.skinClass) << e.control->ClassName();
  // A bit button never falls to the plain button rule.
  TSkinControlTypes kinds = skin->SkinControls();
  kinds.Exclude(xcBitBtn);
  skin->SetSkinControls(kinds);
  discovery.reset();
  Discover();
  EXPECT_EQ(ClassOf(expected[0].control), "");
  EXPECT_EQ(ClassOf(view->button), "TSkinButton");
  discovery.reset();
}

struct Skin3rdCase {
  std::vector<std::wstring> lines;
  std::string button;  // class the buttons get
  std::string check;   // class the check box gets
};

TEST_F(Discovery, Skin3rdLinesMapClassesCaseInsensitivelyFirstLineWins) {
  const std::vector<Skin3rdCase> cases = {
      {{L"TButton=nil"}, "", "TSkinCheckBox"},
      {{L"tbutton=NIL"}, "", "TSkinCheckBox"},
      {{L"TBUTTON=CheckBox"}, "TSkinCheckBox", "TSkinCheckBox"},
      {{L"TCheckBox=Button", L"TCheckBox=nil"}, "TSkinButton", "TSkinButton"},
      {{L"TCheckBox=nil", L"TCheckBox=Button"}, "TSkinButton", ""},
      {{L"TButton=NoSuchKind"}, "", "TSkinCheckBox"},
      {{L"TButtonX=nil"}, "TSkinButton", "TSkinCheckBox"},
      {{L"TButton"}, "TSkinButton", "TSkinCheckBox"},
      {{L"=nil", L""}, "TSkinButton", "TSkinCheckBox"},
      {{L"TButton=RadioButton"}, "TSkinRadioButton", "TSkinCheckBox"},
  };
  // The same form for every case: detaching gives every control back as it was.
  for (const Skin3rdCase& c : cases) {
    for (const std::wstring& line : c.lines) skin->Skin3rd()->Add(line);
    Discover();
    EXPECT_EQ(ClassOf(view->button), c.button) << WideToNarrow(c.lines[0]);
    EXPECT_EQ(ClassOf(view->check), c.check) << WideToNarrow(c.lines[0]);
    discovery.reset();
    skin->Skin3rd()->Clear();
  }
}

TEST_F(Discovery, Skin3rdKindWhoseSetMemberIsMissingLeavesTheControlUnskinned) {
  TSkinControlTypes kinds = skin->SkinControls();
  kinds.Exclude(xcRadioButton);
  skin->SetSkinControls(kinds);
  skin->Skin3rd()->Add(L"TButton=RadioButton");
  Discover();
  // Handled by the mapping: the built-in button rule is not tried.
  EXPECT_EQ(ClassOf(view->button), "");
}

TEST_F(Discovery, OnSkinControlMayHandOverItsOwnObject) {
  TSkinButton* made = nullptr;
  std::vector<TComponent*> senders;
  skin->OnSkinControl = [&](TComponent* sender, TSkinData* data, TControl*, TControl* control,
                            const std::string& name, TComponent*& skinned) {
    senders.push_back(sender);
    EXPECT_EQ(data, skin);
    if (control == view->check) {
      EXPECT_EQ(name, "TCHECKBOX");
      made = new TSkinButton(control);
      skinned = made;
    }
  };
  Discover();
  // The sender is the frame: the same one for every control, telling its window.
  ASSERT_FALSE(senders.empty());
  auto* frame = dynamic_cast<TSkinFrameSender*>(senders.front());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->ClassName(), "TWinSkinForm");
  EXPECT_EQ(frame->Window(), view->form->Handle());
  for (TComponent* sender : senders) EXPECT_EQ(sender, frame);
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsAttached());
  EXPECT_EQ(ClassOf(view->check), "TSkinButton");
  EXPECT_EQ(ClassOf(view->button), "TSkinButton");
}

TEST_F(Discovery, UnregisteredClassesNeverMatch) {
  UnregisterSkinControlClass("TSkinStatusBar");
  Discover();
  EXPECT_EQ(ClassOf(view->status), "");
  EXPECT_EQ(ClassOf(view->button), "TSkinButton");
  RegisterSkinControls();
}

TEST_F(Discovery, ReskinScrollMakesTheScrollObjectAgain) {
  Discover();
  TSkinControlItem* old = discovery->FindByControl(memo);
  ASSERT_NE(old, nullptr);
  discovery->ReskinScroll(memo->Handle());
  TSkinControlItem* fresh = discovery->FindByControl(memo);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->SkinClassName(), "TSkinScrollbar");
  EXPECT_EQ(discovery->Controls().size(), 7u);
  EXPECT_EQ(SendMessageW(memo->Handle(), SKM_QUERYSKIN, 0, 0), 1);
}

TEST_F(Discovery, AControlThatGoesTakesItsObjectAndPurgeFreesDestroyedRawWindows) {
  Discover();
  delete view->button2;
  view->button2 = nullptr;
  EXPECT_EQ(discovery->Controls().size(), 6u);
  // A raw child window skinned by the hook's path, then destroyed: state 6 until a purge.
  HWND raw = CreateWindowExW(0, L"Button", L"raw", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 150, 80, 24,
                             view->form->Handle(), nullptr, nullptr, nullptr);
  discovery->SkinChildWindow(raw);
  ASSERT_EQ(discovery->Controls().size(), 7u);
  TSkinControlItem* item = discovery->FindByWindow(raw);
  ASSERT_NE(item, nullptr);
  DestroyWindow(raw);
  EXPECT_EQ(item->SkinnedState(), 6);
  EXPECT_EQ(discovery->Controls().size(), 7u);
  discovery->Purge();
  EXPECT_EQ(discovery->Controls().size(), 6u);
  EXPECT_EQ(discovery->FindByWindow(raw), nullptr);
}

// What a window looks like to its owner: its procedures and handler.
struct WindowState {
  LONG_PTR proc;
  LONG style;
  LONG exStyle;
  RECT bounds;
};

WindowState StateOf(HWND w) {
  WindowState s{};
  s.proc = GetWindowLongPtrW(w, GWLP_WNDPROC);
  s.style = GetWindowLongW(w, GWL_STYLE);
  s.exStyle = GetWindowLongW(w, GWL_EXSTYLE);
  GetWindowRect(w, &s.bounds);
  return s;
}

TEST_F(Discovery, DetachingEverythingHundredTimesLeavesTheWindowsAsTheyWereWithNoLeak) {
  std::vector<TWinControl*> controls{view->button, view->button2, view->check, view->radio, view->radio2, view->status, memo};
  std::vector<WindowState> before;
  for (TWinControl* c : controls) before.push_back(StateOf(c->Handle()));
  const int childCount = [&] {
    int n = 0;
    for (HWND w = GetWindow(view->form->Handle(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) ++n;
    return n;
  }();
  // One round first: lazily made shared objects (fonts, classes) settle.
  Discover();
  RedrawWindow(view->form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  discovery->Detach();
  PumpFor(20);
  const int64_t gdi = GdiObjectCount();
  const int64_t windows = WindowCount();
  ASSERT_GT(gdi, 0);
  for (int round = 0; round < 100; ++round) {
    discovery->DiscoverForm(view->form);
    ASSERT_EQ(discovery->Controls().size(), 7u);
    RedrawWindow(view->form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    discovery->Detach();
  }
  PumpFor(20);
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(WindowCount(), windows);
  for (size_t i = 0; i < controls.size(); ++i) {
    const WindowState now = StateOf(controls[i]->Handle());
    EXPECT_EQ(now.proc, before[i].proc) << i;
    EXPECT_EQ(now.style, before[i].style) << i;
    EXPECT_EQ(now.exStyle, before[i].exStyle) << i;
    EXPECT_TRUE(EqualRect(&now.bounds, &before[i].bounds)) << i;
    EXPECT_EQ(SendMessageW(controls[i]->Handle(), SKM_QUERYSKIN, 0, 0), 0) << i;
  }
  int childrenNow = 0;
  for (HWND w = GetWindow(view->form->Handle(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) ++childrenNow;
  EXPECT_EQ(childrenNow, childCount);
  // The buttons still click.
  view->clicks.clear();
  SendMessageW(view->button->Handle(), BM_CLICK, 0, 0);
  PumpFor(10);
  EXPECT_EQ(view->clicks.size(), 1u);
}

// ---- Raw windows ----

struct ChildCase {
  const wchar_t* cls;
  DWORD style;
  const char* expected;  // "" for none
};

class RawDiscovery : public Discovery {};

TEST_F(RawDiscovery, ChildWindowsAreDecidedByClassAndStyle) {
  const std::vector<ChildCase> cases = {
      {L"Button", BS_PUSHBUTTON, "TSkinButton"},
      {L"Button", BS_DEFPUSHBUTTON, "TSkinButton"},
      {L"Button", BS_CHECKBOX, "TSkinCheckBox"},
      {L"Button", BS_AUTOCHECKBOX, "TSkinCheckBox"},
      {L"Button", BS_AUTO3STATE, "TSkinCheckBox"},
      {L"Button", BS_3STATE, "TSkinCheckBox"},
      {L"Button", BS_RADIOBUTTON, "TSkinRadioButton"},
      {L"Button", BS_AUTORADIOBUTTON, "TSkinRadioButton"},
      {L"Button", BS_GROUPBOX, ""},
      {L"Button", BS_PUSHBUTTON | BS_BITMAP, ""},
      {L"Button", BS_OWNERDRAW, ""},
      {L"SysTreeView32", 0, ""},
      {L"Static", 0, ""},
  };
  HWND parent = CreateWindowExW(0, L"#32770", L"raw", WS_POPUP | WS_CAPTION | WS_VISIBLE, 500, 40, 300, 400, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  std::vector<HWND> children;
  int y = 5;
  for (const ChildCase& c : cases) {
    children.push_back(CreateWindowExW(0, c.cls, L"x", WS_CHILD | WS_VISIBLE | c.style, 5, y, 120, 24, parent, nullptr,
                                       nullptr, nullptr));
    y += 26;
  }
  discovery = std::make_unique<TControlDiscovery>(skin, parent, false);
  discovery->DiscoverWindow(parent);
  for (size_t i = 0; i < cases.size(); ++i) {
    TSkinControlItem* item = discovery->FindByWindow(children[i]);
    EXPECT_EQ(item != nullptr ? item->SkinClassName() : "", cases[i].expected) << i;
    EXPECT_EQ(SendMessageW(children[i], SKM_QUERYSKIN, 0, 0), cases[i].expected[0] != 0 ? 1 : 0) << i;
  }
  discovery->Detach();
  for (HWND child : children) EXPECT_EQ(SendMessageW(child, SKM_QUERYSKIN, 0, 0), 0);
  discovery.reset();
  DestroyWindow(parent);
}

}  // namespace
