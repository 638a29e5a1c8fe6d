// ptest.exe driven from this process as a user would drive it: real clicks and keys,
// the log box and the status bar read back, pixels taken from the screen, files changed
// on the prefix's fixed drives C:, D: and E:.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/E2eDriver.h"

namespace {

using namespace e2e;

constexpr wchar_t kWatchSystem[] = L"监视系统盘";
constexpr wchar_t kWatchAll[] = L"监视全部硬盘";
constexpr wchar_t kStop[] = L"中止监视";
constexpr DWORD kStateTimeoutMs = 5000;
// How long a change that must not be logged is given to show up anyway.
constexpr DWORD kQuietMs = 800;

bool Enabled(HWND w) { return IsWindowEnabled(w) != FALSE; }

bool Watching(ProgramUnderTest& p, const std::wstring& status) {
  return !Enabled(p.Button(kWatchSystem)) && !Enabled(p.Button(kWatchAll)) && Enabled(p.Button(kStop)) &&
         p.StatusPanel(1) == status;
}

bool StartButtonsEnabled(ProgramUnderTest& p) {
  return Enabled(p.Button(kWatchSystem)) && Enabled(p.Button(kWatchAll));
}

// Presses a start button as a user does and waits for the watching state.
testing::AssertionResult StartWatching(ProgramUnderTest& p, const wchar_t* button, const std::wstring& status) {
  if (p.ClickUntil(p.Button(button), [&] { return Watching(p, status); })) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the window does not show the watching state: " << p.LastClickTrouble();
}

testing::AssertionResult StopWatching(ProgramUnderTest& p) {
  if (p.ClickUntil(p.Button(kStop), [&] { return StartButtonsEnabled(p); })) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the start buttons stay disabled: " << p.LastClickTrouble();
}

// The control that has the keyboard focus in the program.
HWND Focused(ProgramUnderTest& p) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(p.Window(), nullptr), &info);
  return info.hwndFocus;
}

// A folder made on `drive` after watching started (so that Wine watches it too), whose
// creation the log has shown: files made in it are then reported.
std::wstring WatchedFolder(ProgramUnderTest& p, wchar_t drive) {
  const std::wstring folder = std::wstring{drive, L':', L'\\'} + files::Unique(L"ptest-e2e");
  EXPECT_TRUE(files::MakeFolder(folder));
  EXPECT_TRUE(p.WaitForLogLine(AddedLine(folder))) << "no line for the new folder";
  return folder;
}

struct ControlPlace {
  const wchar_t* caption;
  int left, top, width, height;
};

TEST(MainWindowE2e, IdleWindowShowsTheLayout) {
  ProgramUnderTest p;
  RECT client{};
  GetClientRect(p.Window(), &client);
  EXPECT_EQ(client.right, 667);
  EXPECT_EQ(client.bottom, 446);

  const ControlPlace buttons[] = {
      {kWatchSystem, 116, 58, 105, 38}, {kWatchAll, 261, 60, 109, 35}, {kStop, 426, 61, 113, 33}};
  for (const ControlPlace& b : buttons) {
    SCOPED_TRACE(testing::Message() << "button at " << b.left);
    const HWND button = p.Button(b.caption);
    ASSERT_NE(button, nullptr);
    const RECT r = p.ScreenRectOf(button);
    const POINT origin = p.ClientToScreenPoint(0, 0);
    EXPECT_EQ(r.left - origin.x, b.left);
    EXPECT_EQ(r.top - origin.y, b.top);
    EXPECT_EQ(r.right - r.left, b.width);
    EXPECT_EQ(r.bottom - r.top, b.height);
    EXPECT_TRUE(Enabled(button));
  }
  const RECT log = p.ScreenRectOf(p.LogBox());
  const POINT origin = p.ClientToScreenPoint(0, 0);
  EXPECT_EQ(log.left - origin.x, 14);
  EXPECT_EQ(log.top - origin.y, 108);
  EXPECT_EQ(log.right - log.left, 636);
  EXPECT_EQ(log.bottom - log.top, 314);
  EXPECT_EQ(p.LogText(), L"");
  EXPECT_EQ(p.StatusPanel(0), L"Helvor设计,Quorren1.0");
  EXPECT_EQ(p.StatusPanel(1), L"没有监视");

  // The link labels are drawn underlined in purple.
  p.BringToFront();
  Sleep(200);
  const auto isPurple = [](uint32_t rgb) { return rgb == 0x800080u; };
  for (const POINT at : {POINT{19, 14}, POINT{224, 13}}) {
    const POINT s = p.ClientToScreenPoint(at.x, at.y);
    // The label's own height: its font may stand taller than 16 pixels (see the layout).
    const Pixels label = GrabScreen(RECT{s.x, s.y, s.x + 128, s.y + 24});
    EXPECT_GT(label.Count(isPurple), 100) << "label at " << at.x;
    // The underline: a row that is purple over most of the text's width.
    int longest = 0;
    for (int y = 0; y < label.height; ++y) {
      int run = 0;
      for (int x = 0; x < label.width; ++x) run += isPurple(label.At(x, y)) ? 1 : 0;
      longest = std::max(longest, run);
    }
    EXPECT_GT(longest, 100) << "label at " << at.x;
  }
}

TEST(MainWindowE2e, TabWalksTheLogThenTheThreeButtons) {
  ProgramUnderTest p;
  const HWND cycle[] = {p.LogBox(), p.Button(kWatchSystem), p.Button(kWatchAll), p.Button(kStop)};
  auto focused = [&] { return Focused(p); };
  p.MakeForeground();
  // The first Tab in the fresh window lands on the first control in tab order, unless
  // that already has the focus.
  Sleep(200);
  if (focused() != cycle[0]) PressKey(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return focused() == cycle[0]; }, kStateTimeoutMs));
  for (int step = 1; step <= 4; ++step) {
    p.MakeForeground();
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return focused() == cycle[step % 4]; }, kStateTimeoutMs)) << "step " << step;
  }
}

TEST(MainWindowE2e, WatchSystemDriveReportsFilesOnCWithSubfolders) {
  // A folder that exists before watching starts.
  const std::wstring folder = L"C:\\" + files::Unique(L"ptest-e2e");
  ASSERT_TRUE(files::MakeFolder(folder));
  ASSERT_TRUE(files::MakeFolder(folder + L"\\深层"));
  ProgramUnderTest p;
  ASSERT_TRUE(StartWatching(p, kWatchSystem, L"正在监视系统盘"));
  ASSERT_TRUE(p.WaitUntilDriveWatched(L'C'));

  const std::wstring top = L"C:\\" + files::Unique(L"ptest-e2e") + L".txt";
  ASSERT_TRUE(files::Create(top));
  EXPECT_TRUE(p.WaitForLogLine(AddedLine(top))) << "no line for the new file on C:";

  // Subfolders: one made before watching started (Wine watches it once the watcher has
  // opened it, which may take a moment on a drive with many folders: try a few files).
  bool seen = false;
  for (int i = 0; i < 8 && !seen; ++i) {
    const std::wstring deep = folder + L"\\深层\\f" + std::to_wstring(i) + L".txt";
    ASSERT_TRUE(files::Create(deep));
    seen = p.WaitForLogLine(AddedLine(deep), 2000);
  }
  EXPECT_TRUE(seen) << "no line for a file in an existing subfolder of C:";

  ASSERT_TRUE(StopWatching(p));
  EXPECT_TRUE(Enabled(p.Button(kStop)));
  EXPECT_EQ(p.StatusPanel(1), L"正在监视系统盘") << "stopping keeps the status text";
  const std::wstring after = L"C:\\" + files::Unique(L"ptest-e2e") + L".txt";
  ASSERT_TRUE(files::Create(after));
  Sleep(kQuietMs);
  EXPECT_EQ(p.CountLogLines(AddedLine(after)), 0) << "a stopped watcher still reports";
  files::Remove(top);
  files::Remove(after);
  files::RemoveTree(folder);
}

TEST(MainWindowE2e, WatchAllDrivesReportsEveryKindOfChangeOnEveryDrive) {
  ProgramUnderTest p;
  ASSERT_TRUE(StartWatching(p, kWatchAll, L"正在监视全部硬盘"));
  for (wchar_t drive : {L'C', L'D', L'E'}) ASSERT_TRUE(p.WaitUntilDriveWatched(drive)) << "drive " << static_cast<char>(drive);

  // D: added, modified, renamed, removed.
  const std::wstring d = WatchedFolder(p, L'D');
  const std::wstring a = d + L"\\a.txt", b = d + L"\\b.txt";
  ASSERT_TRUE(files::Create(a));
  EXPECT_TRUE(p.WaitForLogLine(AddedLine(a)));
  ASSERT_TRUE(files::Append(a, "more text"));
  EXPECT_TRUE(p.WaitForLogLine(ModifiedLine(a)));
  ASSERT_TRUE(files::Rename(a, b));
  EXPECT_TRUE(p.WaitForLogLine(RenamedLine(a, b)));
  ASSERT_TRUE(files::Remove(b));
  EXPECT_TRUE(p.WaitForLogLine(RemovedLine(b)));

  // E: a rename of a folder.
  const std::wstring e = WatchedFolder(p, L'E');
  ASSERT_TRUE(files::MakeFolder(e + L"\\old"));
  EXPECT_TRUE(p.WaitForLogLine(AddedLine(e + L"\\old")));
  ASSERT_TRUE(files::Rename(e + L"\\old", e + L"\\new"));
  EXPECT_TRUE(p.WaitForLogLine(RenamedLine(e + L"\\old", e + L"\\new")));

  // C: is watched too.
  const std::wstring c = L"C:\\" + files::Unique(L"ptest-e2e") + L".txt";
  ASSERT_TRUE(files::Create(c));
  EXPECT_TRUE(p.WaitForLogLine(AddedLine(c)));

  ASSERT_TRUE(StopWatching(p));
  EXPECT_EQ(p.StatusPanel(1), L"正在监视全部硬盘");
  // Stopping stops every drive's watcher, not only the system drive's.
  const std::wstring quietD = d + L"\\after-stop.txt", quietE = e + L"\\after-stop.txt";
  ASSERT_TRUE(files::Create(quietD));
  ASSERT_TRUE(files::Create(quietE));
  Sleep(kQuietMs);
  EXPECT_EQ(p.CountLogLines(AddedLine(quietD)), 0) << "D: is still watched after stopping";
  EXPECT_EQ(p.CountLogLines(AddedLine(quietE)), 0) << "E: is still watched after stopping";
  files::Remove(c);
  files::RemoveTree(d);
  files::RemoveTree(e);
}

TEST(MainWindowE2e, StartStopAndStartAgainAnyNumberOfTimes) {
  ProgramUnderTest p;
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    const bool system = round % 2 == 0;
    ASSERT_TRUE(StartWatching(p, system ? kWatchSystem : kWatchAll, system ? L"正在监视系统盘" : L"正在监视全部硬盘"));
    ASSERT_TRUE(p.WaitUntilDriveWatched(L'C'));
    const std::wstring name = L"C:\\" + files::Unique(L"ptest-e2e") + L".txt";
    ASSERT_TRUE(files::Create(name));
    ASSERT_TRUE(p.WaitForLogLine(AddedLine(name)));
    Sleep(300);
    EXPECT_EQ(p.CountLogLines(AddedLine(name)), 1) << "one watcher per drive, no stale one";

    ASSERT_TRUE(StopWatching(p));
    const std::wstring quiet = L"C:\\" + files::Unique(L"ptest-e2e") + L".txt";
    ASSERT_TRUE(files::Create(quiet));
    Sleep(kQuietMs);
    EXPECT_EQ(p.CountLogLines(AddedLine(quiet)), 0);
    files::Remove(name);
    files::Remove(quiet);
  }
}

TEST(MainWindowE2e, StopWhileIdleOnlyKeepsTheButtonsEnabled) {
  ProgramUnderTest p;
  // The click reached the button when the button took the focus.
  const HWND stop = p.Button(kStop);
  ASSERT_TRUE(p.ClickUntil(stop, [&] { return Focused(p) == stop; })) << p.LastClickTrouble();
  Sleep(300);
  EXPECT_TRUE(Enabled(p.Button(kWatchSystem)));
  EXPECT_TRUE(Enabled(p.Button(kWatchAll)));
  EXPECT_EQ(p.StatusPanel(1), L"没有监视");
  EXPECT_EQ(p.LogText(), L"");
}

TEST(MainWindowE2e, StartButtonsLookDisabledWhileWatching) {
  ProgramUnderTest p;
  const HWND button = p.Button(kWatchSystem);
  p.BringToFront();
  Sleep(200);
  const Pixels idle = GrabScreen(p.ScreenRectOf(button));
  ASSERT_TRUE(StartWatching(p, kWatchAll, L"正在监视全部硬盘"));
  MoveMouse(p.ClientToScreenPoint(600, 30));  // away from the buttons
  Sleep(300);
  const Pixels watching = GrabScreen(p.ScreenRectOf(button));
  EXPECT_NE(idle, watching) << "a disabled button must look different";
  const auto dark = [](uint32_t rgb) { return ((rgb >> 16) & 0xFF) < 64 && ((rgb >> 8) & 0xFF) < 64 && (rgb & 0xFF) < 64; };
  EXPECT_LT(watching.Count(dark), idle.Count(dark)) << "the caption of a disabled button is drawn lighter";
}

TEST(MainWindowE2e, NamesInChineseKoreanAndEmojiAppearExactly) {
  ProgramUnderTest p;
  ASSERT_TRUE(StartWatching(p, kWatchAll, L"正在监视全部硬盘"));
  ASSERT_TRUE(p.WaitUntilDriveWatched(L'D'));
  const std::wstring d = WatchedFolder(p, L'D');
  const std::wstring first = d + L"\\中文-한국어-😀.txt";
  const std::wstring second = d + L"\\改名-이름-🎉🧪.txt";
  ASSERT_TRUE(files::Create(first));
  EXPECT_TRUE(p.WaitForLogLine(AddedLine(first)));
  ASSERT_TRUE(files::Rename(first, second));
  EXPECT_TRUE(p.WaitForLogLine(RenamedLine(first, second)));
  ASSERT_TRUE(files::Remove(second));
  EXPECT_TRUE(p.WaitForLogLine(RemovedLine(second)));
  files::RemoveTree(d);
}

TEST(MainWindowE2e, LinkLabelsShowTheAuthorPageAsToolTip) {
  ProgramUnderTest p;
  const DWORD pid = p.ProcessId();
  auto shownTip = [pid] {
    std::wstring text;
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(tip, &owner);
      if (owner != pid || !IsWindowVisible(tip)) continue;
      wchar_t buffer[256] = {};
      SendMessageTimeoutW(tip, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 2000, nullptr);
      text = buffer;
    }
    return text;
  };
  for (const POINT at : {POINT{19 + 80, 14 + 8}, POINT{224 + 64, 13 + 8}}) {
    p.BringToFront();
    MoveMouse(p.ClientToScreenPoint(600, 30));
    Sleep(200);
    // The mouse rests on the label (moved there again now and then: other programs on
    // the display may move it).
    int polls = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
          if (polls++ % 15 == 0) {
            MoveMouse(p.ClientToScreenPoint(at.x - 2, at.y));
            MoveMouse(p.ClientToScreenPoint(at.x, at.y));
          }
          return shownTip() == L"https://example.org/ptest";
        },
        8000, 100))
        << "label at " << at.x << " shows a tip of " << shownTip().size() << " characters";
  }
  MoveMouse(p.ClientToScreenPoint(600, 30));
}

TEST(MainWindowE2e, StartsWithTheSkinFileGivenOnTheCommandLine) {
  std::wstring skin = L"\\\\?\\unix";
  for (const char* c = PTEST_DARK_SKIN; *c; ++c) skin += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  ProgramUnderTest p(L"--skin \"" + skin + L"\"");
  // No message box about the skin, and the window works as ever.
  const DWORD pid = p.ProcessId();
  HWND box = nullptr;
  bool boxShown = false;
  while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    boxShown = boxShown || (owner == pid && IsWindowVisible(box));
  }
  EXPECT_FALSE(boxShown);
  EXPECT_TRUE(StartWatching(p, kWatchSystem, L"正在监视系统盘"));
}

TEST(MainWindowE2e, ClosingWhileWatchingEndsTheProgramWithinASecond) {
  ProgramUnderTest p;
  ASSERT_TRUE(StartWatching(p, kWatchAll, L"正在监视全部硬盘"));
  p.MakeForeground();
  Sleep(100);
  const DWORD start = GetTickCount();
  PressKey(VK_F4, VK_MENU);
  const bool quick = p.WaitForExit(1000);
  const bool ended = p.WaitForExit(10000);
  EXPECT_TRUE(quick) << "still running 1 s after Alt+F4; ended after " << GetTickCount() - start << " ms: " << ended;
  if (ended) {
    DWORD code = 1;
    GetExitCodeProcess(p.Process(), &code);
    EXPECT_EQ(code, 0u);
    RecordProperty("CloseMs", static_cast<int>(GetTickCount() - start));
  }
}

}  // namespace
