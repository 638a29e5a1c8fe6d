// TFileSystemWatcher on drive D: of our Wine prefix: the exact events of changes to files
// and folders, wide names, the property rules, and how workers start and stop.
#include "watch/FileSystemWatcher.h"

#include <gtest/gtest.h>

#include <memory>

#include "framework/ClassBuilder.h"
#include "tests/watch/WatchTestSupport.h"
#include "watch/WatchCounters.h"
#include "watch/WineSubfolderOpener.h"

namespace {

using namespace watchtest;

WatchCounters& Counters() { return GetWatchCounters(); }

// Waits for at least `expected.size()` events, then a little longer for extra ones.
void ExpectEvents(Recorder& rec, const std::vector<Event>& expected, const char* step) {
  PumpUntil([&] { return rec.events.size() >= expected.size(); }, 3000);
  PumpFor(150);
  EXPECT_EQ(rec.events, expected) << step << ": got\n" << Describe(rec.events);
  rec.events.clear();
}

// Waits until the Wine remedy has walked the tree of a freshly armed watch.
void WaitForWalks(int64_t before, int64_t count = 1) {
  if (!WineRemedyEnabled()) return;
  EXPECT_TRUE(PumpUntil([&] { return Counters().walksCompleted.load() >= before + count; }, 5000));
}

// Waits until every worker (and what it holds) is gone.
bool WaitForWorkersToEnd() {
  return PumpUntil(
      [] {
        return Counters().workersAlive.load() == 0 && Counters().directoryHandlesOpen.load() == 0 &&
               Counters().readsOutstanding.load() == 0 && Counters().openerThreadsAlive.load() == 0;
      },
      5000);
}

// One watch started, used and stopped, so that what the process creates once (the GUI
// hand-over's event, the system's own lazily made objects) exists before counts are taken.
void WarmUp() {
  TempFolder t(L"warmup");
  ASSERT_TRUE(MakeFolder(t / L"sub"));
  int events = 0;
  TFileSystemWatcher w(nullptr);
  w.SetWatchedDir(t.Path());
  w.SetOnChange([&](TFileOperation, const std::wstring&, const std::wstring&) { ++events; });
  w.SetActived(true);
  PumpUntil([] { return GetWatchCounters().directoriesArmed.load() > 0; }, 3000);
  for (int i = 0; i < 10 && events == 0; ++i) {
    WriteFile(t / L"sub\\f.txt");
    PumpUntil([&] { return events > 0; }, 300);
  }
  w.SetActived(false);
  ASSERT_TRUE(WaitForWorkersToEnd());
  PumpFor(100);
}

class WatcherTest : public testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(WaitForWorkersToEnd()); }

  // An active watcher whose read is armed (and, on Wine, whose existing folders are open).
  std::unique_ptr<TFileSystemWatcher> Watch(const std::wstring& dir, Recorder& rec,
                                            TNotifyFilters filters = {nfFileNameChange, nfDirNameChange},
                                            bool exists = true) {
    auto w = std::make_unique<TFileSystemWatcher>(nullptr);
    w->SetWatchedDir(dir);
    w->SetNotifyFilters(filters);
    w->SetOnChange(rec.Handler());
    const int64_t walks = Counters().walksCompleted.load();
    const int64_t armed = Counters().directoriesArmed.load();
    w->SetActived(true);
    if (exists) {
      EXPECT_TRUE(PumpUntil([&] { return Counters().directoriesArmed.load() > armed; }, 3000));
      WaitForWalks(walks);
    }
    return w;
  }
};

TEST_F(WatcherTest, NewComponentIsInactiveOnCWithSubtreeAndNamesFilter) {
  TFileSystemWatcher w(nullptr);
  EXPECT_FALSE(w.Actived());
  EXPECT_EQ(w.WatchedDir(), L"C:\\");
  EXPECT_TRUE(w.WatchSubTree());
  EXPECT_EQ(w.NotifyFilters(), (TNotifyFilters{nfFileNameChange, nfDirNameChange}));
  EXPECT_EQ(FilterMask(w.NotifyFilters()), 0x3u);
  EXPECT_FALSE(w.OnChange());
  EXPECT_FALSE(w.HasWorker());
  EXPECT_EQ(Counters().workersAlive.load(), 0);
}

TEST_F(WatcherTest, PublishesItsFivePropertiesInOrder) {
  const auto& props = TFileSystemWatcher::StaticClass().OwnProperties();
  std::vector<std::string> names;
  for (const TPropInfo& p : props) names.push_back(p.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Actived", "WatchedDir", "WatchSubTree",
                                             "NotifyFilters", "OnChange"}));
  TFileSystemWatcher w(nullptr);
  EXPECT_EQ(GetSetProp(&w, "NotifyFilters"), "[nfFileNameChange, nfDirNameChange]");
  SetSetProp(&w, "NotifyFilters", "[nfSizeChange, nfSecurityChange]");
  EXPECT_EQ(FilterMask(w.NotifyFilters()), 0x108u);
  SetPropValue(&w, "WatchedDir", L"D:\\x");
  EXPECT_EQ(w.WatchedDir(), L"D:\\x");
  SetPropValue(&w, "WatchSubTree", L"False");
  EXPECT_FALSE(w.WatchSubTree());
  SetPropValue(&w, "Actived", L"True");
  EXPECT_TRUE(w.Actived());
  EXPECT_FALSE(w.HasWorker());
  Recorder rec;
  SetMethodProp(&w, "OnChange", std::any(rec.Handler()));
  EXPECT_TRUE(w.HasWorker());
  w.SetActived(false);
}

TEST_F(WatcherTest, LayoutsCreateItByClassName) {
  RegisterWatchClasses();
  const TClassInfo* info = FindClass("TFileSystemWatcher");
  ASSERT_NE(info, nullptr);
  TComponent owner(nullptr);
  TObject* created = info->Create(&owner);
  auto* w = dynamic_cast<TFileSystemWatcher*>(created);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Owner(), &owner);
  EXPECT_EQ(w->WatchedDir(), L"C:\\");
}

TEST_F(WatcherTest, ActivatingWithoutHandlerStartsNoThreadUntilOneIsAssigned) {
  TempFolder t(L"armed");
  Recorder rec;
  TFileSystemWatcher w(nullptr);
  w.SetWatchedDir(t.Path());
  w.SetActived(true);
  EXPECT_FALSE(w.HasWorker());
  EXPECT_EQ(Counters().workersAlive.load(), 0);
  w.SetOnChange(rec.Handler());
  EXPECT_TRUE(w.HasWorker());
  EXPECT_EQ(Counters().workersAlive.load(), 1);
  PumpFor(100);
  ASSERT_TRUE(WriteFile(t / L"a.txt"));
  ExpectEvents(rec, {{foAdded, t / L"a.txt", L""}}, "after the handler came");
  w.SetOnChange(nullptr);  // watching -> armed
  EXPECT_FALSE(w.HasWorker());
  EXPECT_TRUE(w.Actived());
  w.SetActived(false);
}

TEST_F(WatcherTest, SettingTheCurrentValueDoesNothingExceptForOnChange) {
  TempFolder t(L"Same");
  Recorder rec;
  auto w = Watch(t.Path(), rec);
  const int64_t configures = Counters().configureCalls.load();
  const int64_t armed = Counters().directoriesArmed.load();
  std::wstring otherCase = t.Path();
  for (wchar_t& c : otherCase) c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
  ASSERT_NE(otherCase, t.Path());
  w->SetWatchedDir(otherCase);
  EXPECT_EQ(w->WatchedDir(), t.Path());
  w->SetWatchSubTree(true);
  w->SetNotifyFilters({nfFileNameChange, nfDirNameChange});
  w->SetActived(true);
  EXPECT_EQ(Counters().configureCalls.load(), configures);
  EXPECT_EQ(Counters().directoriesArmed.load(), armed);
  // OnChange always re-applies: a new worker.
  w->SetOnChange(w->OnChange());
  EXPECT_GT(Counters().configureCalls.load(), configures);
  EXPECT_TRUE(PumpUntil([] { return Counters().workersAlive.load() == 1; }, 3000));
  w->SetActived(false);
}

TEST_F(WatcherTest, FilesAndFoldersInNestedDirectoriesGiveExactlyTheirEvents) {
  TempFolder t(L"nested");
  ASSERT_TRUE(MakeFolder(t / L"a"));
  ASSERT_TRUE(MakeFolder(t / L"a\\b"));
  ASSERT_TRUE(MakeFolder(t / L"a\\b\\c"));
  Recorder rec;
  auto w = Watch(t.Path(), rec);

  const std::wstring c = t / L"a\\b\\c";
  ASSERT_TRUE(WriteFile(t / L"top.txt"));
  ExpectEvents(rec, {{foAdded, t / L"top.txt", L""}}, "add at the top");
  ASSERT_TRUE(WriteFile(c + L"\\deep.txt"));
  ExpectEvents(rec, {{foAdded, c + L"\\deep.txt", L""}}, "add three folders down");
  ASSERT_TRUE(MoveFileW((c + L"\\deep.txt").c_str(), (c + L"\\deeper.txt").c_str()));
  ExpectEvents(rec, {{foRenamed, c + L"\\deep.txt", c + L"\\deeper.txt"}}, "rename a file");
  ASSERT_TRUE(DeleteFileW((c + L"\\deeper.txt").c_str()));
  ExpectEvents(rec, {{foRemoved, c + L"\\deeper.txt", L""}}, "remove a file");

  const std::wstring b = t / L"a\\b";
  ASSERT_TRUE(MakeFolder(b + L"\\new"));
  ExpectEvents(rec, {{foAdded, b + L"\\new", L""}}, "add a folder");
  ASSERT_TRUE(WriteFile(b + L"\\new\\inner.txt"));
  ExpectEvents(rec, {{foAdded, b + L"\\new\\inner.txt", L""}}, "add inside the new folder");
  ASSERT_TRUE(DeleteFileW((b + L"\\new\\inner.txt").c_str()));
  ExpectEvents(rec, {{foRemoved, b + L"\\new\\inner.txt", L""}}, "remove inside the new folder");
  ASSERT_TRUE(MoveFileW((b + L"\\new").c_str(), (b + L"\\renamed").c_str()));
  ExpectEvents(rec, {{foRenamed, b + L"\\new", b + L"\\renamed"}}, "rename a folder");
  ASSERT_TRUE(RemoveDirectoryW((b + L"\\renamed").c_str()));
  ExpectEvents(rec, {{foRemoved, b + L"\\renamed", L""}}, "remove a folder");
  ASSERT_TRUE(RemoveDirectoryW(c.c_str()));
  ExpectEvents(rec, {{foRemoved, c, L""}}, "remove a folder made before the watch");
  w->SetActived(false);
}

TEST_F(WatcherTest, WritingToAFileIsOneModification) {
  TempFolder t(L"modify");
  ASSERT_TRUE(MakeFolder(t / L"a"));
  ASSERT_TRUE(MakeFolder(t / L"a\\b"));
  const std::wstring file = t / L"a\\b\\data.txt";
  ASSERT_TRUE(WriteFile(file, "first"));
  Recorder rec;
  auto w = Watch(t.Path(), rec, {nfSizeChange});
  ASSERT_TRUE(AppendFile(file, " and more"));
  ExpectEvents(rec, {{foModified, file, L""}}, "append");
  w->SetActived(false);
}

TEST_F(WatcherTest, NamesArriveExactlyAsTheSystemReportedThem) {
  TempFolder t(L"unicode");
  ASSERT_TRUE(MakeFolder(t / L"磁盘监视"));
  Recorder rec;
  auto w = Watch(t.Path(), rec);
  const std::wstring names[] = {
      t / L"磁盘监视\\한국어 파일.txt",
      t / L"\U0001F600 emoji.txt",
      t / L"\uFEFFbom.txt",
      t / L"磁盘监视\\\uFEFF한국어\U0001F4BE",
  };
  for (const std::wstring& name : names) {
    ASSERT_TRUE(WriteFile(name)) << WideToUtf8(name);
    ExpectEvents(rec, {{foAdded, name, L""}}, WideToUtf8(name).c_str());
  }
  ASSERT_TRUE(MoveFileW(names[1].c_str(), (t / L"이름 \U0001F601.txt").c_str()));
  ExpectEvents(rec, {{foRenamed, names[1], t / L"이름 \U0001F601.txt"}}, "rename to Korean");
  w->SetActived(false);
}

TEST_F(WatcherTest, DriveRootAndTrailingBackslashNeverDoubleIt) {
  TempFolder t(L"root");
  {
    Recorder rec(t.Path() + L"\\");
    auto w = Watch(L"D:\\", rec);
    ASSERT_TRUE(WriteFile(t / L"r.txt"));
    ExpectEvents(rec, {{foAdded, t / L"r.txt", L""}}, "watching D:\\");
    w->SetActived(false);
  }
  {
    Recorder rec;
    auto w = Watch(t.Path() + L"\\", rec);
    ASSERT_TRUE(WriteFile(t / L"s.txt"));
    ExpectEvents(rec, {{foAdded, t / L"s.txt", L""}}, "watching with a trailing backslash");
    w->SetActived(false);
  }
}

TEST_F(WatcherTest, FoldersMadeBeforeTheWatchAreWatchedAtEveryDepth) {
  TempFolder t(L"existing");
  std::vector<std::wstring> folders;
  std::wstring path = t.Path();
  for (int depth = 1; depth <= 5; ++depth) {
    path += L"\\d" + std::to_wstring(depth);
    ASSERT_TRUE(MakeFolder(path));
    ASSERT_TRUE(MakeFolder(path + L"-sibling"));
    folders.push_back(path);
    folders.push_back(path + L"-sibling");
  }
  Recorder rec;
  auto w = Watch(t.Path(), rec);
  for (const std::wstring& folder : folders) {
    ASSERT_TRUE(WriteFile(folder + L"\\f.txt"));
    ExpectEvents(rec, {{foAdded, folder + L"\\f.txt", L""}}, WideToUtf8(folder).c_str());
  }
  w->SetActived(false);
}

TEST_F(WatcherTest, WithoutTheRemedyWineMissesFoldersMadeBeforeTheWatch) {
  if (!RunningOnWine()) GTEST_SKIP() << "Windows watches existing folders itself";
  TempFolder t(L"control");
  ASSERT_TRUE(MakeFolder(t / L"old"));
  ASSERT_TRUE(MakeFolder(t / L"old\\older"));
  SetWineRemedyMode(WineRemedyMode::kNever);
  Recorder rec;
  auto w = Watch(t.Path(), rec);
  ASSERT_TRUE(WriteFile(t / L"old\\older\\f.txt"));
  ASSERT_TRUE(WriteFile(t / L"top.txt"));
  PumpUntil([&] { return !rec.events.empty(); }, 3000);
  PumpFor(200);
  SetWineRemedyMode(WineRemedyMode::kAuto);
  w->SetActived(false);
  if (rec.events.size() == 2) GTEST_SKIP() << "this Wine watches existing folders by itself";
  EXPECT_EQ(rec.events, (std::vector<Event>{{foAdded, t / L"top.txt", L""}}))
      << Describe(rec.events);
}

TEST_F(WatcherTest, FastNestedCreationIsWatchedOnceTheFoldersAreReported) {
  TempFolder t(L"fastnest");
  Recorder rec;
  auto w = Watch(t.Path(), rec);
  const int64_t walks = Counters().walksCompleted.load();
  ASSERT_TRUE(MakeFolder(t / L"x"));
  ASSERT_TRUE(MakeFolder(t / L"x\\y"));
  ASSERT_TRUE(MakeFolder(t / L"x\\y\\z"));
  PumpUntil([&] { return !rec.events.empty(); }, 3000);
  WaitForWalks(walks);
  PumpFor(200);
  ASSERT_FALSE(rec.events.empty());
  EXPECT_EQ(rec.events.front(), (Event{foAdded, t / L"x", L""}));
  rec.events.clear();
  ASSERT_TRUE(WriteFile(t / L"x\\y\\z\\f.txt"));
  ExpectEvents(rec, {{foAdded, t / L"x\\y\\z\\f.txt", L""}}, "file three new folders down");
  w->SetActived(false);
}

TEST_F(WatcherTest, DeactivationStopsDeliveryAtOnceEvenInsideABatch) {
  TempFolder t(L"deactivate");
  Recorder rec;
  auto w = Watch(t.Path(), rec);
  rec.also = [&](const Event&) { w->SetActived(false); };
  // Changes pile up on the GUI side while it is not served.
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(WriteFile(t / (L"f" + std::to_wstring(i))));
  Sleep(500);
  PumpFor(500);
  ASSERT_EQ(rec.events.size(), 1u) << Describe(rec.events);
  EXPECT_EQ(rec.events[0], (Event{foAdded, t / L"f0", L""}));
  EXPECT_FALSE(w->HasWorker());
  ASSERT_TRUE(WriteFile(t / L"after.txt"));
  PumpFor(300);
  EXPECT_EQ(rec.events.size(), 1u);
}

TEST_F(WatcherTest, ReplacingTheHandlerLeavesExactlyOneWorkerThatCallsTheNewOne) {
  TempFolder t(L"replace");
  Recorder first;
  Recorder second;
  auto w = Watch(t.Path(), first);
  ASSERT_TRUE(WriteFile(t / L"queued.txt"));
  Sleep(300);  // the old worker has queued this batch; the GUI thread has not run it
  w->SetOnChange(second.Handler());
  const int64_t walks = Counters().walksCompleted.load();
  EXPECT_TRUE(PumpUntil([] { return Counters().workersAlive.load() == 1; }, 3000));
  WaitForWalks(walks);
  PumpFor(200);
  EXPECT_EQ(Counters().workersAlive.load(), 1);
  EXPECT_TRUE(first.events.empty()) << Describe(first.events);
  EXPECT_TRUE(second.events.empty()) << Describe(second.events);
  ASSERT_TRUE(WriteFile(t / L"new.txt"));
  ExpectEvents(second, {{foAdded, t / L"new.txt", L""}}, "the new handler");
  EXPECT_TRUE(first.events.empty()) << Describe(first.events);
  w->SetActived(false);
}

TEST_F(WatcherTest, FreeingAnActiveWatcherEndsItsWorker) {
  WarmUp();
  TempFolder t(L"free");
  Recorder rec;
  const int threads = ThreadCount();
  auto w = Watch(t.Path(), rec);
  EXPECT_EQ(Counters().workersAlive.load(), 1);
  w.reset();
  EXPECT_TRUE(WaitForWorkersToEnd());
  EXPECT_TRUE(PumpUntil([&] { return ThreadCount() == threads; }, 3000)) << ThreadCount();
}

TEST_F(WatcherTest, MissingDirectoryNeitherSpinsNorReportsUntilItExists) {
  TempFolder t(L"missing");
  const std::wstring dir = t / L"later";
  Recorder rec;
  auto w = Watch(dir, rec, {nfFileNameChange, nfDirNameChange}, false);
  EXPECT_TRUE(w->HasWorker());
  FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
  ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelBefore, &userBefore));
  Sleep(1000);
  ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelAfter, &userAfter));
  auto ticks = [](const FILETIME& f) { return (uint64_t{f.dwHighDateTime} << 32) | f.dwLowDateTime; };
  const uint64_t busy100ns = ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore);
  EXPECT_LT(busy100ns, 2000000u) << "CPU time in 1 s idle, 100 ns units";
  EXPECT_TRUE(rec.events.empty());
  // Once it exists, a new setting opens it.
  ASSERT_TRUE(MakeFolder(dir));
  const int64_t walks = Counters().walksCompleted.load();
  w->SetWatchedDir(dir + L"\\");
  WaitForWalks(walks);
  PumpFor(100);
  ASSERT_TRUE(WriteFile(dir + L"\\f.txt"));
  ExpectEvents(rec, {{foAdded, dir + L"\\f.txt", L""}}, "after the folder appeared");
  w->SetActived(false);
}

TEST_F(WatcherTest, WatchedDirectoryDeletedWhileWatchedEndsItsEventsCleanly) {
  TempFolder t(L"vanish");
  const std::wstring dir = t / L"victim";
  ASSERT_TRUE(MakeFolder(dir));
  ASSERT_TRUE(MakeFolder(dir + L"\\sub"));
  ASSERT_TRUE(WriteFile(dir + L"\\sub\\f.txt"));
  WarmUp();
  const int threads = ThreadCount();
  const int handles = HandleCount();
  Recorder rec;
  auto w = Watch(dir, rec);
  ASSERT_TRUE(RemoveTree(dir));
  PumpFor(300);
  for (const Event& e : rec.events) EXPECT_EQ(e.operation, foRemoved) << Describe(e);
  w.reset();
  EXPECT_TRUE(WaitForWorkersToEnd());
  EXPECT_TRUE(PumpUntil([&] { return ThreadCount() == threads && HandleCount() == handles; }, 3000))
      << ThreadCount() << " threads, " << HandleCount() << " handles";
}

}  // namespace
