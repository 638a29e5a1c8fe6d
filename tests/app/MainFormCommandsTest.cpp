// The commands of the main window run in-process: the watcher table, the buttons, the
// status panel, closing, and changes reaching the log.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/Test.h"
#include "skin/data/WinSkinData.h"
#include "tests/app/AppTestSupport.h"
#include "util/DriveUtils.h"

namespace {

using namespace apptest;

constexpr int kLayoutComponents = 9;

void ExpectIdleButtons(TForm1& form) {
  EXPECT_TRUE(form.Button1->Enabled());
  EXPECT_TRUE(form.Button2->Enabled());
  EXPECT_TRUE(form.Button3->Enabled());
  EXPECT_TRUE(IsWindowEnabled(form.Button1->Handle()));
  EXPECT_TRUE(IsWindowEnabled(form.Button2->Handle()));
}

void ExpectWatchingButtons(TForm1& form) {
  EXPECT_FALSE(form.Button1->Enabled());
  EXPECT_FALSE(form.Button2->Enabled());
  EXPECT_TRUE(form.Button3->Enabled());
  EXPECT_FALSE(IsWindowEnabled(form.Button1->Handle()));
  EXPECT_FALSE(IsWindowEnabled(form.Button2->Handle()));
}

std::wstring StatusText(TForm1& form) { return form.StatusBar1->PanelTextShown(1); }

void ExpectWatcher(int slot, const std::wstring& root) {
  SCOPED_TRACE(testing::Message() << "slot " << slot);
  TFileSystemWatcher* w = Watchers[slot];
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->WatchedDir(), root);
  EXPECT_TRUE(w->WatchSubTree());
  EXPECT_EQ(FilterMask(w->NotifyFilters()), 0x1bu);
  EXPECT_TRUE(w->Actived());
  EXPECT_TRUE(static_cast<bool>(w->OnChange()));
  EXPECT_TRUE(w->HasWorker());
}

TEST(MainFormCommands, WatchSystemDriveUsesTheWindowsDriveRoot) {
  FormPtr form = MakeMainForm();
  form->Button1Click(form->Button1);
  ASSERT_EQ(WatcherCount, 1);
  ExpectWatcher(0, WindowsDirectory().substr(0, 3));
  EXPECT_EQ(Watchers[0]->WatchedDir(), L"C:\\") << "our prefix's Windows directory is C:\\windows";
  EXPECT_EQ(Watchers[0]->Owner(), form.get());
  EXPECT_EQ(form->ComponentCount(), kLayoutComponents + 1);
  ExpectWatchingButtons(*form);
  EXPECT_EQ(StatusText(*form), L"正在监视系统盘");
}

TEST(MainFormCommands, WatchAllDrivesFillsSlotsInLetterOrder) {
  FormPtr form = MakeMainForm();
  const std::wstring letters = FixedDriveLetters();
  ASSERT_EQ(letters, L"CDE") << "the prefix's fixed drives";
  form->Button2Click(form->Button2);
  ASSERT_EQ(WatcherCount, 3);
  ExpectWatcher(0, L"C:\\");
  ExpectWatcher(1, L"D:\\");
  ExpectWatcher(2, L"E:\\");
  EXPECT_EQ(form->ComponentCount(), kLayoutComponents + 3);
  ExpectWatchingButtons(*form);
  EXPECT_EQ(StatusText(*form), L"正在监视全部硬盘");
}

TEST(MainFormCommands, StopFreesEveryWatcherAndKeepsTheStatusText) {
  FormPtr form = MakeMainForm();
  form->Button2Click(form->Button2);
  ASSERT_EQ(WatcherCount, 3);
  form->Button3Click(form->Button3);
  EXPECT_EQ(WatcherCount, 0);
  EXPECT_EQ(form->ComponentCount(), kLayoutComponents) << "the three watchers were freed";
  ExpectIdleButtons(*form);
  EXPECT_EQ(StatusText(*form), L"正在监视全部硬盘");
}

TEST(MainFormCommands, StopWhileIdleOnlyEnablesTheStartButtons) {
  FormPtr form = MakeMainForm();
  form->Button1->SetEnabled(false);
  form->Button3Click(form->Button3);
  EXPECT_EQ(WatcherCount, 0);
  ExpectIdleButtons(*form);
  EXPECT_EQ(StatusText(*form), L"没有监视");
  EXPECT_EQ(form->ComponentCount(), kLayoutComponents);
}

TEST(MainFormCommands, StartAndStopAnyNumberOfTimes) {
  FormPtr form = MakeMainForm();
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    if (round % 2 == 0) {
      form->Button1Click(form->Button1);
      ASSERT_EQ(WatcherCount, 1);
      EXPECT_EQ(StatusText(*form), L"正在监视系统盘");
    } else {
      form->Button2Click(form->Button2);
      ASSERT_EQ(WatcherCount, 3);
      EXPECT_EQ(StatusText(*form), L"正在监视全部硬盘");
    }
    ExpectWatchingButtons(*form);
    form->Button3Click(form->Button3);
    EXPECT_EQ(WatcherCount, 0);
    EXPECT_EQ(form->ComponentCount(), kLayoutComponents);
    ExpectIdleButtons(*form);
  }
}

TEST(MainFormCommands, StartingWhileWatchingReplacesTheWatchers) {
  // Unreachable through the disabled buttons, but must not lose or double watchers.
  FormPtr form = MakeMainForm();
  form->Button2Click(form->Button2);
  form->Button1Click(form->Button1);
  EXPECT_EQ(WatcherCount, 1);
  EXPECT_EQ(form->ComponentCount(), kLayoutComponents + 1);
}

TEST(MainFormCommands, CloseFreesTheLiveWatchersOnce) {
  FormPtr form = MakeMainForm();
  form->Button2Click(form->Button2);
  TCloseAction action = caHide;
  form->FormClose(form.get(), action);
  EXPECT_EQ(action, caHide) << "the close action is left as it was";
  EXPECT_EQ(form->ComponentCount(), kLayoutComponents);
  EXPECT_EQ(WatcherCount, 0);
  // A second close (or a stop) finds nothing left to free.
  form->FormClose(form.get(), action);
  form->Button3Click(form->Button3);
  EXPECT_EQ(form->ComponentCount(), kLayoutComponents);
}

TEST(MainFormCommands, HandlerAppendsOneLinePerChangeInOrder) {
  FormPtr form = MakeMainForm();
  form->FileSystemWatcher1Change(foAdded, L"C:\\x.txt", L"");
  form->FileSystemWatcher1Change(foRemoved, L"D:\\tmp\\a.txt", L"");
  form->FileSystemWatcher1Change(foModified, L"E:\\m", L"");
  form->FileSystemWatcher1Change(foRenamed, L"D:\\a.txt", L"D:\\b.txt");
  form->FileSystemWatcher1Change(foOverflow, L"D:\\", L"");
  form->FileSystemWatcher1Change(static_cast<TFileOperation>(9), L"ignored", L"");
  // The lines arrive through the log's timer, without any explicit flush.
  ASSERT_TRUE(PumpUntil([&] { return form->Memo1->Lines()->Count() >= 5; }, 5000));
  EXPECT_EQ(LogText(*form),
            L"增加文件:    C:\\x.txt;   \r\n"
            L"删除文件:  D:\\tmp\\a.txt;   \r\n"
            L"修改文件: E:\\m;   \r\n"
            L"重命名文件:  D:\\a.txt;   D:\\b.txt\r\n"
            L"变化丢失:  D:\\;   \r\n");
}

TEST(MainFormCommands, ChangeOnAWatchedDriveReachesTheLog) {
  FormPtr form = MakeMainForm();
  form->Button2Click(form->Button2);
  // The workers arm their watches on their own threads: wait until a probe file on D:
  // is reported, so the change under test cannot fall before the watch exists.
  const std::wstring probe = L"D:\\" + UniqueName(L"probe.txt");
  ASSERT_TRUE(PumpUntil([&] {
    HANDLE p = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (p != INVALID_HANDLE_VALUE) CloseHandle(p);
    return LogText(*form).find(probe) != std::wstring::npos;
  }, 10000));
  DeleteFileW(probe.c_str());
  const std::wstring name = L"D:\\" + UniqueName(L"新文件.txt");
  HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  const std::wstring line = L"增加文件:    " + name + L";   ";
  EXPECT_TRUE(PumpUntil([&] { return LogHasLine(*form, line); }, 10000)) << LogText(*form).substr(0, 2000);
  form->Button3Click(form->Button3);
  DeleteFileW(name.c_str());
}

TEST(MainFormCommands, SkinFileCanBeSetAfterLoading) {
  FormPtr form = MakeMainForm();
  const std::string dark = WineUnixPath(PTEST_DARK_SKIN);
  form->SkinData1->SetSkinFile(dark);
  EXPECT_EQ(form->SkinData1->SkinFile(), dark);
  EXPECT_TRUE(form->SkinData1->LastSkinError().empty()) << WideToUtf8(form->SkinData1->LastSkinError());
}

}  // namespace
