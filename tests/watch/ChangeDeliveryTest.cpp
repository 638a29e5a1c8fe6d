// The hand-over from a worker to the GUI thread: order, scheduling, the bound, and the
// rules that stop delivery (inactive, silenced, deactivated inside a batch).
#include "watch/ChangeDelivery.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::u16string kDir = u"D:\\w\\";

FileChange Added(const std::u16string& name) { return {foAdded, kDir + name, {}}; }

// Stands in for the GUI thread's queue of calls.
class FakeGuiQueue {
 public:
  ChangeDelivery::Scheduler Scheduler() {
    return [this](std::function<void()> call) {
      std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(std::move(call));
      cv_.notify_all();
    };
  }
  // Runs the calls queued so far (and those they queue); returns how many ran.
  int RunAll() {
    int ran = 0;
    for (;;) {
      std::function<void()> call;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (calls_.empty()) return ran;
        call = std::move(calls_.front());
        calls_.pop_front();
      }
      call();
      ++ran;
    }
  }
  size_t Pending() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_.size();
  }
  void Wait(const std::function<bool()>& done) {
    while (!done()) {
      {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait_for(lock, std::chrono::milliseconds(5), [&] { return !calls_.empty(); });
      }
      RunAll();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> calls_;
};

struct Recorder {
  std::vector<FileChange> seen;
  std::function<void(const FileChange&)> also;
  ChangeDelivery::Sink Sink() {
    return [this](const FileChange& c) {
      seen.push_back(c);
      if (also) also(c);
    };
  }
};

TEST(ChangeDelivery, BatchesArriveInOrderFromOneScheduledCall) {
  FakeGuiQueue gui;
  Recorder rec;
  auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler());
  d->SetActive(true);
  d->Post({Added(u"1"), Added(u"2")}, kDir);
  d->Post({Added(u"3")}, kDir);
  d->Post({}, kDir);  // an empty batch asks for nothing
  EXPECT_EQ(gui.Pending(), 1u);
  EXPECT_EQ(gui.RunAll(), 1);
  EXPECT_EQ(rec.seen, (std::vector<FileChange>{Added(u"1"), Added(u"2"), Added(u"3")}));
  // Drained: the next batch asks again.
  d->Post({Added(u"4")}, kDir);
  EXPECT_EQ(gui.Pending(), 1u);
  gui.RunAll();
  EXPECT_EQ(rec.seen.size(), 4u);
}

TEST(ChangeDelivery, InactiveDeliversNothingAndDropsWhatWaits) {
  FakeGuiQueue gui;
  Recorder rec;
  auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler());
  d->Post({Added(u"1")}, kDir);
  gui.RunAll();
  d->SetActive(true);
  d->Post({Added(u"2")}, kDir);
  gui.RunAll();
  EXPECT_EQ(rec.seen, (std::vector<FileChange>{Added(u"2")}));
  EXPECT_EQ(d->QueuedBatches(), 0u);
}

TEST(ChangeDelivery, DeactivationInsideABatchStopsTheRestAndWhatIsQueued) {
  FakeGuiQueue gui;
  Recorder rec;
  auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler());
  rec.also = [&](const FileChange& c) {
    if (c == Added(u"2")) d->SetActive(false);
  };
  d->SetActive(true);
  d->Post({Added(u"1"), Added(u"2"), Added(u"3")}, kDir);
  d->Post({Added(u"4")}, kDir);
  gui.RunAll();
  EXPECT_EQ(rec.seen, (std::vector<FileChange>{Added(u"1"), Added(u"2")}));
  EXPECT_EQ(d->QueuedBatches(), 0u);
  // Reactivating does not bring the dropped changes back.
  d->SetActive(true);
  d->Post({Added(u"5")}, kDir);
  gui.RunAll();
  EXPECT_EQ(rec.seen.back(), Added(u"5"));
  EXPECT_EQ(rec.seen.size(), 3u);
}

TEST(ChangeDelivery, SilencedDeliversNothingEver) {
  FakeGuiQueue gui;
  Recorder rec;
  auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler());
  d->SetActive(true);
  d->Post({Added(u"1")}, kDir);
  d->Silence();
  gui.RunAll();
  d->Post({Added(u"2")}, kDir);
  gui.RunAll();
  EXPECT_TRUE(rec.seen.empty());
}

TEST(ChangeDelivery, BoundReplacesDroppedBatchesWithOneOverflowInPlace) {
  FakeGuiQueue gui;
  Recorder rec;
  const size_t one = ChangeQueue::CostOf(Added(u"a"));
  auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler(), 2 * one);
  d->SetActive(true);
  d->Post({Added(u"a")}, kDir);
  d->Post({Added(u"b")}, kDir);
  d->Post({Added(u"c")}, kDir);  // over the bound: overflow
  d->Post({Added(u"d")}, kDir);  // still over: dropped, no second overflow
  d->PostOverflow(kDir);         // the system's loss right after ours: still one
  gui.RunAll();
  const FileChange overflow{foOverflow, kDir, {}};
  EXPECT_EQ(rec.seen, (std::vector<FileChange>{Added(u"a"), Added(u"b"), overflow}));
  d->Post({Added(u"e")}, kDir);
  d->PostOverflow(kDir);
  d->PostOverflow(kDir);
  gui.RunAll();
  EXPECT_EQ(rec.seen, (std::vector<FileChange>{Added(u"a"), Added(u"b"), overflow, Added(u"e"),
                                               overflow}));
}

TEST(ChangeDelivery, BatchLargerThanTheBoundBecomesOverflow) {
  FakeGuiQueue gui;
  Recorder rec;
  auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler(), 10);
  d->SetActive(true);
  d->Post({Added(u"long enough to pass ten bytes")}, kDir);
  gui.RunAll();
  ASSERT_EQ(rec.seen.size(), 1u);
  EXPECT_EQ(rec.seen[0].operation, foOverflow);
  EXPECT_EQ(rec.seen[0].fileName1, kDir);
}

TEST(ChangeDelivery, CallFromInsideAHandlerDoesNotNestOrReorder) {
  FakeGuiQueue gui;
  Recorder rec;
  auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler());
  int depth = 0;
  int maxDepth = 0;
  rec.also = [&](const FileChange& c) {
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    if (c == Added(u"1")) {
      // A modal loop inside the handler: more arrives and the GUI queue is served.
      d->Post({Added(u"3")}, kDir);
      d->ProcessBuffer();
      gui.RunAll();
    }
    --depth;
  };
  d->SetActive(true);
  d->Post({Added(u"1"), Added(u"2")}, kDir);
  gui.RunAll();
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(rec.seen, (std::vector<FileChange>{Added(u"1"), Added(u"2"), Added(u"3")}));
}

TEST(ChangeDelivery, FailingHandlerLosesOnlyItsBatchRest) {
  FakeGuiQueue gui;
  Recorder rec;
  auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler());
  rec.also = [&](const FileChange& c) {
    if (c == Added(u"1")) throw std::runtime_error("handler failed");
  };
  d->SetActive(true);
  d->Post({Added(u"1"), Added(u"2")}, kDir);
  d->Post({Added(u"3")}, kDir);
  EXPECT_THROW(gui.RunAll(), std::runtime_error);
  EXPECT_EQ(gui.RunAll(), 1);
  EXPECT_EQ(rec.seen, (std::vector<FileChange>{Added(u"1"), Added(u"3")}));
}

TEST(ChangeDelivery, ScheduledCallKeepsTheDeliveryAlive) {
  FakeGuiQueue gui;
  Recorder rec;
  std::weak_ptr<ChangeDelivery> weak;
  {
    auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler());
    weak = d;
    d->SetActive(true);
    d->Post({Added(u"1")}, kDir);
  }
  EXPECT_FALSE(weak.expired());
  gui.RunAll();
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(rec.seen.size(), 1u);
}

TEST(ChangeDelivery, ProducerThreadNeverWaitsAndEverythingArrivesInOrder) {
  FakeGuiQueue gui;
  Recorder rec;
  auto d = ChangeDelivery::Create(rec.Sink(), gui.Scheduler());
  d->SetActive(true);
  constexpr int kBatches = 20000;
  std::atomic<bool> produced{false};
  std::thread worker([&] {
    for (int i = 0; i < kBatches; ++i) d->Post({Added(std::u16string(1, char16_t(i % 60000 + 1)))}, kDir);
    produced = true;
  });
  gui.Wait([&] { return produced.load() && gui.Pending() == 0 && d->QueuedBatches() == 0; });
  worker.join();
  gui.RunAll();
  ASSERT_EQ(rec.seen.size(), static_cast<size_t>(kBatches));
  for (int i = 0; i < kBatches; ++i)
    ASSERT_EQ(rec.seen[i], Added(std::u16string(1, char16_t(i % 60000 + 1)))) << i;
}

}  // namespace
