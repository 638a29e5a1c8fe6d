// The GUI-thread hand-over queue, with plain std::threads (runs natively under the
// sanitizers too).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "framework/SyncQueue.h"

namespace {

using namespace std::chrono_literals;

// Runs CheckSynchronize on the owner thread until `done` or a generous timeout.
template <class Pred>
bool Serve(TSyncQueue& q, Pred done) {
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!q.CheckSynchronize()) std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(SyncQueue, SynchronizeRunsOnOwnerThreadAndWaits) {
  TSyncQueue q;
  const auto owner = std::this_thread::get_id();
  std::atomic<bool> ranOnOwner{false}, returned{false};
  std::thread worker([&] {
    q.Synchronize([&] { ranOnOwner = std::this_thread::get_id() == owner; });
    returned = true;
  });
  EXPECT_TRUE(Serve(q, [&] { return returned.load(); }));
  worker.join();
  EXPECT_TRUE(ranOnOwner);
}

TEST(SyncQueue, QueueAndSynchronizeKeepCallOrder) {
  TSyncQueue q;
  std::vector<int> order;  // touched on the owner thread only
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    for (int i = 0; i < 200; ++i) {
      if (i % 10 == 9) {
        q.Synchronize([&order, i] { order.push_back(i); });
      } else {
        q.Queue([&order, i] { order.push_back(i); });
      }
    }
    q.Synchronize([] {});
    finished = true;
  });
  EXPECT_TRUE(Serve(q, [&] { return finished.load(); }));
  worker.join();
  q.CheckSynchronize();
  ASSERT_EQ(order.size(), 200u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(order[static_cast<size_t>(i)], i);
}

TEST(SyncQueue, ExceptionOfSynchronizedCallReachesTheCaller) {
  TSyncQueue q;
  std::atomic<bool> caught{false}, returned{false};
  std::thread worker([&] {
    try {
      q.Synchronize([] { throw std::runtime_error("boom"); });
    } catch (const std::runtime_error& e) {
      caught = std::string(e.what()) == "boom";
    }
    returned = true;
  });
  EXPECT_TRUE(Serve(q, [&] { return returned.load(); }));
  worker.join();
  EXPECT_TRUE(caught);
}

TEST(SyncQueue, ExceptionOfQueuedCallGoesToTheErrorHandlerAndLaterCallsStillRun) {
  TSyncQueue q;
  int errors = 0, ran = 0;
  q.SetErrorHandler([&](std::exception_ptr) { ++errors; });
  q.Queue([] { throw 1; });
  q.Queue([&] { ++ran; });
  EXPECT_TRUE(q.CheckSynchronize());
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(q.CheckSynchronize());
}

TEST(SyncQueue, OnOwnerThreadSynchronizeRunsAtOnce) {
  TSyncQueue q;
  int ran = 0;
  q.Synchronize([&] { ++ran; });
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(q.HasPending());
}

TEST(SyncQueue, WakeHandlerIsCalledPerEntry) {
  TSyncQueue q;
  std::atomic<int> wakes{0};
  q.SetWakeHandler([&] { ++wakes; });
  q.Queue([] {});
  q.Queue([] {});
  EXPECT_EQ(wakes.load(), 2);
  q.CheckSynchronize();
}

TEST(SyncQueue, RemoveQueuedDropsOnlyThatTagsQueuedCalls) {
  TSyncQueue q;
  int a = 0, b = 0;
  int tagA = 0, tagB = 0;
  q.Queue([&] { ++a; }, &tagA);
  q.Queue([&] { ++b; }, &tagB);
  q.RemoveQueued(&tagA);
  q.CheckSynchronize();
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 1);
}

TEST(SyncQueue, NotOwnerThreadCannotDrain) {
  TSyncQueue q;
  q.Queue([] {});
  bool drained = true;
  std::thread other([&] { drained = q.CheckSynchronize(); });
  other.join();
  EXPECT_FALSE(drained);
  EXPECT_TRUE(q.HasPending());
  q.CheckSynchronize();
}

}  // namespace
