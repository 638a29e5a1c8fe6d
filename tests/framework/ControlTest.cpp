// Controls: the replaceable WindowProc, the ControlOfs window property, graphic controls
// fed by their parent, the notification and reflection numbers, keys, hints, cursors.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "framework/Messages.h"
#include "framework/Thread.h"
#include "tests/framework/Pump.h"
#include "tests/framework/TestForm.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { delete f; }
};

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    // Mouse tests send their own moves; the real pointer stays off the form.
    SetCursorPos(0, 0);
    Application->SetMouseControl(nullptr);
    form.reset(MakeTestForm());
    form->Show();
    Pump();
  }
  void TearDown() override {
    form.reset();
    Pump();
  }
  std::unique_ptr<TTestForm, FormDeleter> form;
};

// Records the messages reaching a window procedure and those reaching WindowProc.
std::vector<UINT>* gRawLog = nullptr;
WNDPROC gRawNext = nullptr;
LRESULT CALLBACK RawRecorder(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (gRawLog) gRawLog->push_back(msg);
  return CallWindowProcW(gRawNext, w, msg, wp, lp);
}

TEST_F(Controls, ReplacedWindowProcSeesEveryMessageOfAButtonAndPassesItOn) {
  TButton* button = form->Button2;
  const HWND h = button->Handle();
  std::vector<UINT> raw, seen;
  gRawLog = &raw;
  gRawNext = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawRecorder)));
  const TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    saved(m);
  };

  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(h, BM_CLICK, 0, 0);  // mouse down and up inside: a click
  SetWindowTextW(h, L"改过");
  button->SetEnabled(false);
  button->SetEnabled(true);
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
  Pump();

  button->WindowProc = saved;
  SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gRawNext));
  gRawLog = nullptr;

  // Every message that reached the window reached WindowProc, in the same order.
  ASSERT_FALSE(raw.empty());
  size_t j = 0;
  for (UINT msg : raw) {
    while (j < seen.size() && seen[j] != msg) ++j;
    ASSERT_LT(j, seen.size()) << "message 0x" << std::hex << msg << " did not pass WindowProc";
    ++j;
  }
  auto saw = [&](UINT msg) { return std::find(seen.begin(), seen.end(), msg) != seen.end(); };
  EXPECT_TRUE(saw(WM_PAINT));
  EXPECT_TRUE(saw(WM_LBUTTONDOWN));
  EXPECT_TRUE(saw(WM_SETTEXT));
  EXPECT_TRUE(saw(CN_COMMAND)) << "the click comes back reflected";
  EXPECT_TRUE(saw(CM_ENABLEDCHANGED));
  EXPECT_TRUE(saw(WM_ENABLE));
  // Passed on: the button did its work.
  EXPECT_EQ(form->events, (std::vector<std::wstring>{L"FormCreate", L"Button2Click"}));
  EXPECT_EQ(button->Caption(), L"改过");
  EXPECT_TRUE(IsWindowEnabled(h));
}

TEST_F(Controls, AReplacedWindowProcCanSwallowMessages) {
  TButton* button = form->Button1;
  const TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg == CN_COMMAND) return;  // no click gets through
    saved(m);
  };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  button->WindowProc = saved;
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->events, (std::vector<std::wstring>{L"FormCreate", L"Button1Click"}));
}

TEST_F(Controls, ControlOfsPropertyLeadsFromWindowToObject) {
  wchar_t expected[40];
  swprintf(expected, 40, L"ControlOfs%.8X%.8X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
           static_cast<unsigned>(GetCurrentThreadId()));
  EXPECT_STREQ(ControlAtomName(), expected);
  for (TWinControl* c : std::initializer_list<TWinControl*>{form.get(), form->Button1, form->Memo1, form->StatusBar1,
                                                            form->Panel1, form->Edit1}) {
    const HWND h = c->Handle();
    EXPECT_EQ(GetPropW(h, expected), static_cast<HANDLE>(c));
    EXPECT_EQ(FindControl(h), c);
  }
  EXPECT_NE(GlobalFindAtomW(expected), 0) << "the name is kept as a global atom";
  HWND foreign = CreateWindowW(L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(FindControl(foreign), nullptr);
  DestroyWindow(foreign);
  EXPECT_EQ(FindControl(nullptr), nullptr);
  EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
}

TEST_F(Controls, PropertyGoesWithTheWindowAndComesBackWithANewOne) {
  TButton* button = form->Button3;
  const HWND first = button->Handle();
  std::vector<UINT> seen;
  const TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    saved(m);
  };
  button->RecreateWnd();
  button->WindowProc = saved;
  EXPECT_NE(std::find(seen.begin(), seen.end(), CM_RECREATEWND), seen.end());
  const HWND second = button->Handle();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(FindControl(second), button);
  EXPECT_EQ(button->Caption(), L"中止监视") << "the text survives";
}

TEST_F(Controls, GraphicControlsGetTheirClicksThroughTheParent) {
  TLabel* label = form->Label2;
  const HWND parent = form->Handle();
  const int x = label->Left() + 5, y = label->Top() + 5;
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  EXPECT_EQ(form->events.back(), L"Label1Click:Label2");

  // Released outside the label: no click.
  form->events.clear();
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(label->Left() - 10, y + 100));
  EXPECT_TRUE(form->events.empty());

  // A click beside the labels is the form's own.
  int formClicks = 0;
  form->OnClick = [&](TObject*) { ++formClicks; };
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 50));
  SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(5, 50));
  EXPECT_EQ(formClicks, 1);
  EXPECT_TRUE(form->events.empty());
}

TEST_F(Controls, GraphicControlMouseMessagesAreInItsOwnCoordinates) {
  TLabel* label = form->Label1;
  int gotX = -1, gotY = -1;
  label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    gotX = x;
    gotY = y;
  };
  SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(label->Left() + 7, label->Top() + 3));
  SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(label->Left() + 7, label->Top() + 3));
  EXPECT_EQ(gotX, 7);
  EXPECT_EQ(gotY, 3);
}

TEST_F(Controls, NestedGraphicControlGetsClicksThroughItsPanel) {
  auto* label3 = form->Find<TLabel>(L"Label3");
  int clicks = 0;
  label3->OnClick = [&](TObject*) { ++clicks; };
  const LPARAM at = MAKELPARAM(label3->Left() + 2, label3->Top() + 2);
  SendMessageW(form->Panel1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(form->Panel1->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, NotificationsCarryTheirNumbers) {
  std::vector<UINT> seen;
  TButton* button = form->Button2;
  const TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    saved(m);
  };
  auto saw = [&](UINT msg) { return std::find(seen.begin(), seen.end(), msg) != seen.end(); };
  button->SetVisible(false);
  EXPECT_TRUE(saw(0xB00B));
  EXPECT_FALSE(IsWindowVisible(button->Handle()));
  button->SetVisible(true);
  button->SetEnabled(false);
  EXPECT_TRUE(saw(0xB00C));
  button->SetEnabled(true);
  // Mouse over the button, then over the form: enter and leave.
  SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(saw(0xB013));
  SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(saw(0xB014));
  // Focus to the button and away: focus changed, exit.
  button->SetFocus();
  form->Button3->SetFocus();
  EXPECT_TRUE(saw(0xB007));
  EXPECT_TRUE(saw(0xB01B));
  // Escape as a dialog key goes round the buttons until the cancel button (Button3, after
  // this one) takes it.
  seen.clear();
  form->Edit1->SetFocus();
  PostMessageW(form->Edit1->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_TRUE(saw(0xB005));
  PostMessageW(form->Edit1->Handle(), WM_SYSCHAR, L'x', 0x20000000);
  Pump();
  EXPECT_TRUE(saw(0xB006));
  button->WindowProc = saved;

  // Menu changes reach the form.
  std::vector<UINT> formSeen;
  const TWndMethod formSaved = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    formSeen.push_back(m.Msg);
    formSaved(m);
  };
  auto* menu = new TMainMenu(form.get());
  auto* item = new TMenuItem(form.get());
  item->SetCaption(L"文件");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  form->WindowProc = formSaved;
  EXPECT_NE(std::find(formSeen.begin(), formSeen.end(), 0xB015u), formSeen.end());
  EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());
}

TEST_F(Controls, ChildNotificationsAreReflectedWithTheirNumbers) {
  struct Case {
    UINT msg;
    UINT reflected;
  } cases[] = {{WM_COMMAND, 0xBD11}, {WM_NOTIFY, 0xBC4E}, {WM_HSCROLL, 0xBD14}, {WM_VSCROLL, 0xBD15}, {WM_DRAWITEM, 0xBC2B}};
  TStatusBar* child = form->StatusBar1;
  const HWND h = child->Handle();
  for (const Case& c : cases) {
    std::vector<UINT> seen;
    const TWndMethod saved = child->WindowProc;
    child->WindowProc = [&](TMessage& m) {
      seen.push_back(m.Msg);
      saved(m);
    };
    NMHDR nm{h, 0, NM_CLICK};
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_STATIC;
    dis.hwndItem = h;
    dis.itemID = 5;  // no such panel: nothing is drawn
    LPARAM lp = reinterpret_cast<LPARAM>(h);
    if (c.msg == WM_NOTIFY) lp = reinterpret_cast<LPARAM>(&nm);
    if (c.msg == WM_DRAWITEM) lp = reinterpret_cast<LPARAM>(&dis);
    SendMessageW(form->Handle(), c.msg, 0, lp);
    child->WindowProc = saved;
    EXPECT_NE(std::find(seen.begin(), seen.end(), c.reflected), seen.end()) << std::hex << c.msg;
  }
}

TEST_F(Controls, DefaultAndCancelButtonsAnswerEnterAndEscape) {
  form->Edit1->SetFocus();
  PostMessageW(form->Edit1->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  PostMessageW(form->Edit1->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_EQ(form->events, (std::vector<std::wstring>{L"FormCreate", L"Button1Click", L"Button3Click"}));
  EXPECT_TRUE(GetWindowLongW(form->Button1->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
  // A focused button becomes the one Enter presses.
  form->Button2->SetFocus();
  EXPECT_TRUE(form->Button2->Active());
  EXPECT_FALSE(form->Button1->Active());
  EXPECT_EQ(GetWindowLongW(form->Button1->Handle(), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
}

TEST_F(Controls, TabMovesFocusInTabOrder) {
  form->Button1->SetFocus();
  PostMessageW(form->Button1->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Pump();
  EXPECT_EQ(GetFocus(), form->Button2->Handle());
  EXPECT_EQ(form->ActiveControl(), form->Button2);
}

TEST_F(Controls, LabelShowsItsHintAndTheHandCursor) {
  // The real pointer must not sit on the form meanwhile.
  SetCursorPos(0, 0);
  ASSERT_TRUE(PumpUntil([] {
    POINT now{};
    GetCursorPos(&now);
    return now.x == 0 && now.y == 0;
  }));
  Pump();
  Application->SetMouseControl(nullptr);
  Application->SetHintPause(0);
  TLabel* label = form->Label1;
  SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(label->Left() + 3, label->Top() + 3));
  EXPECT_EQ(Application->MouseControl(), label);
  EXPECT_EQ(Application->CurrentHint(), L"http://www.example.com/");
  ASSERT_NE(Application->HintWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(Application->HintWindow()));
  SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 60));
  EXPECT_EQ(Application->MouseControl(), form.get());
  EXPECT_EQ(Application->CurrentHint(), L"");
  Application->SetHintPause(500);

  // WM_SETCURSOR over the label sets the hand.
  POINT p = label->ClientToScreen(Point(3, 3));
  SetCursorPos(p.x, p.y);
  ASSERT_TRUE(PumpUntil([&] {
    POINT now{};
    GetCursorPos(&now);
    return now.x == p.x && now.y == p.y;
  }));
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(SendMessageW(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            1);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  SetCursorPos(0, 0);
  Application->CancelHint();
}

TEST_F(Controls, DeletingAControlLeavesItsParentAndFreesItsWindow) {
  const int before = form->ControlCount();
  const HWND h = form->Button2->Handle();
  delete form->Button2;
  form->Button2 = nullptr;
  EXPECT_EQ(form->ControlCount(), before - 1);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(form->FindComponent(L"Button2"), nullptr);
}

TEST_F(Controls, ExceptionInAHandlerStopsAtTheWindowProcedure) {
  std::exception_ptr caught;
  Application->OnException = [&](std::exception_ptr e) { caught = e; };
  form->Button1->OnClick = [](TObject*) { throw Exception("handler failed"); };
  SendMessageW(form->Button1->Handle(), BM_CLICK, 0, 0);
  Application->OnException = nullptr;
  EXPECT_TRUE(caught);
  EXPECT_TRUE(IsWindow(form->Button1->Handle()));
}

TEST_F(Controls, TimerRaisesOnTimerWhileEnabled) {
  form->Timer1->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] {
    return std::count(form->events.begin(), form->events.end(), L"Timer1Timer") >= 3;
  }));
  form->Timer1->SetEnabled(false);
  EXPECT_FALSE(form->Timer1->Running());
}

TEST_F(Controls, CloseRunsOnCloseAndHidesOrReleases) {
  form->closeAction = caHide;
  form->Close();
  EXPECT_EQ(form->events.back(), L"FormClose");
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  form->closeAction = caNone;
  form->Show();
  form->Close();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  // caFree: freed once the message loop runs.
  TTestForm* other = MakeTestForm();
  other->closeAction = caFree;
  const int forms = Application->FormCount();
  other->Show();
  PostMessageW(other->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return Application->FormCount() == forms - 1; }));
}

}  // namespace

namespace {

// The form's client area as painted into a bitmap (WM_PRINTCLIENT), labels included.
TEST(Painting, LabelsArePaintedByTheFormInTheirFontAndColour) {
  std::unique_ptr<TTestForm, FormDeleter> form(MakeTestForm());
  form->HandleNeeded();
  TBitmap shot(form->ClientWidth(), form->ClientHeight(), pf32bit);
  SendMessageW(form->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()),
               PRF_CLIENT | PRF_ERASEBKGND);
  GdiFlush();
  const COLORREF face = ColorToRGB(clBtnFace);
  auto pixel = [&](int x, int y) {
    const uint8_t* p = shot.ScanLine(y) + x * 4;
    return RGB(p[2], p[1], p[0]);
  };
  TLabel* label = form->Label1;
  int purple = 0, other = 0;
  for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
    for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
      const COLORREF c = pixel(x, y);
      if (c == RGB(128, 0, 128)) {
        ++purple;
      } else if (c != face) {
        ++other;
      }
    }
  EXPECT_GT(purple, 200) << "ten Chinese characters in purple";
  EXPECT_EQ(other, 0) << "solid text on the form's face, no other colour";
  // The underline: one row below the glyphs that is purple across most of the text.
  int bestRow = 0;
  for (int y = label->Top(); y < label->Top() + label->Height(); ++y) {
    int run = 0;
    for (int x = label->Left(); x < label->Left() + label->Width(); ++x) run += pixel(x, y) == RGB(128, 0, 128);
    bestRow = std::max(bestRow, run);
  }
  EXPECT_GT(bestRow, label->Width() * 3 / 4);
  // Outside every control, only the face colour.
  EXPECT_EQ(pixel(5, 50), face);
}

}  // namespace

namespace {

class TCallThread : public TThread {
 public:
  explicit TCallThread(std::function<void(TCallThread&)> body) : TThread(true), body_(std::move(body)) {}
  ~TCallThread() override {
    // Execute uses body_: stop here, before the members go.
    if (Started() && !Finished()) WaitFor();
  }

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(TCallThread&)> body_;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM out) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
  }
  return TRUE;
}

// The worker runs its call inside the modal loop of ShowModal; the call ends it.
TEST(ModalLoops, ShowModalServesSynchronize) {
  std::unique_ptr<TTestForm, FormDeleter> form(MakeTestForm());
  bool ranInside = false;
  TCallThread worker([&](TCallThread& self) {
    Sleep(100);  // let the modal loop start; it serves the call whenever it comes
    self.Synchronize([&] {
      ranInside = form->Showing();
      form->SetModalResult(mrOk);
    });
  });
  worker.Start();
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_TRUE(ranInside);
}

// The system's own modal loop (a message box) delivers the wake-up to the application
// window, so a worker's call runs there and closes the box.
TEST(ModalLoops, MessageBoxLoopServesSynchronize) {
  Application->Handle();
  const DWORD gui = GetCurrentThreadId();
  bool ranOnGui = false;
  TCallThread worker([&](TCallThread& self) {
    for (int attempt = 0; attempt < 3000; ++attempt) {
      HWND box = nullptr;
      EnumThreadWindows(gui, &FindDialog, reinterpret_cast<LPARAM>(&box));
      if (box) break;
      Sleep(10);
    }
    self.Synchronize([&] {
      ranOnGui = GetCurrentThreadId() == gui;
      HWND box = nullptr;
      EnumThreadWindows(gui, &FindDialog, reinterpret_cast<LPARAM>(&box));
      if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
  });
  worker.Start();
  EXPECT_EQ(MessageBoxW(nullptr, L"等待线程", L"framework", MB_OK), IDOK);
  worker.WaitFor();
  EXPECT_TRUE(ranOnGui);
}

}  // namespace
