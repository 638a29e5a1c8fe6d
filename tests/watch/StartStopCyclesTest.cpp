// A thousand start/stop cycles of one watcher while another thread keeps writing files:
// afterwards the process has as many threads and handles as before, and no event ever
// arrived after a stop.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/Thread.h"
#include "tests/watch/WatchTestSupport.h"
#include "watch/FileSystemWatcher.h"
#include "watch/WatchCounters.h"

namespace {

using namespace watchtest;

bool AllWorkersGone() {
  const WatchCounters& c = GetWatchCounters();
  return c.workersAlive.load() == 0 && c.directoryHandlesOpen.load() == 0 &&
         c.readsOutstanding.load() == 0 && c.openerThreadsAlive.load() == 0;
}

TEST(StartStopCycles, ThousandCyclesLeaveNoThreadHandleOrLateEvent) {
  TempFolder t(L"cycles");
  ASSERT_TRUE(MakeFolder(t / L"sub"));
  bool stopped = true;
  int lateEvents = 0;
  int events = 0;
  TFileSystemWatcher w(nullptr);
  w.SetWatchedDir(t.Path());
  w.SetNotifyFilters({nfFileNameChange, nfDirNameChange, nfSizeChange, nfWriteChange});
  w.SetOnChange([&](TFileOperation, const std::wstring&, const std::wstring&) {
    if (stopped)
      ++lateEvents;
    else
      ++events;
  });

  // The writer pauses between files while the counts are taken, so that none of its
  // own handles is open then.
  std::atomic<bool> writing{true};
  std::atomic<bool> pause{true};
  std::atomic<bool> paused{false};
  std::atomic<int> written{0};
  std::thread writer([&] {
    for (int i = 0; writing; ++i) {
      paused = pause.load();
      if (paused) {
        Sleep(1);
        continue;
      }
      const std::wstring name = t / (i % 2 ? L"sub\\w" : L"w") + std::to_wstring(i % 16);
      WriteFile(name, "data");
      DeleteFileW(name.c_str());
      ++written;
    }
  });
  auto pauseWriter = [&](bool on) {
    pause = on;
    while (paused != on) Sleep(1);
  };

  auto cycle = [&](int i) {
    stopped = false;
    const int before = events;
    w.SetActived(true);
    if (i % 100 == 0)
      EXPECT_TRUE(PumpUntil([&] { return events > before; }, 3000));
    else if (i % 10 == 5)
      Sleep(5);  // batches wait for the GUI thread when the stop comes
    else
      CheckSynchronize();
    w.SetActived(false);
    stopped = true;
    CheckSynchronize();
  };

  // Warm-up, so that whatever is created once per process exists before the counts are
  // taken: a few cycles, and a storm of hand-overs to the GUI thread (a lock that lives as
  // long as the process gets its wait event on its first contended wait).
  pauseWriter(false);
  for (int i = 0; i < 10; ++i) cycle(i);
  std::atomic<int> storming{2};
  auto storm = [&] {
    for (int i = 0; i < 20000; ++i) TThread::Queue(nullptr, [] {});
    --storming;
  };
  std::thread storm1(storm);
  std::thread storm2(storm);
  while (storming > 0) CheckSynchronize();
  storm1.join();
  storm2.join();
  CheckSynchronize();
  ASSERT_TRUE(PumpUntil(AllWorkersGone, 5000));
  PumpFor(200);
  pauseWriter(true);
  const int threads = ThreadCount();
  const int handles = HandleCount();
  pauseWriter(false);
  ASSERT_GT(threads, 1);  // this thread and the writer at least
  ASSERT_GT(handles, 0);

  const DWORD start = GetTickCount();
  for (int i = 0; i < 1000; ++i) cycle(i);
  const DWORD elapsed = GetTickCount() - start;

  EXPECT_TRUE(PumpUntil(AllWorkersGone, 10000))
      << GetWatchCounters().workersAlive.load() << " workers, "
      << GetWatchCounters().directoryHandlesOpen.load() << " directory handles";
  pauseWriter(true);
  EXPECT_TRUE(PumpUntil([&] { return ThreadCount() == threads && HandleCount() == handles; }, 5000))
      << ThreadCount() << " threads (was " << threads << "), " << HandleCount()
      << " handles (was " << handles << ")";
  PumpFor(300);
  writing = false;
  writer.join();
  PumpFor(300);
  EXPECT_EQ(lateEvents, 0);
  EXPECT_GT(events, 10);
  std::printf("1000 cycles in %lu ms; %d events while active, %d files written\n",
              static_cast<unsigned long>(elapsed), events, written.load());
}

}  // namespace
