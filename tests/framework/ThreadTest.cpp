// TThread: start, termination, self-freeing, Synchronize and Queue to the GUI thread, and
// GUI-thread waits that keep serving hand-overs.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "framework/Thread.h"
#include "tests/framework/Pump.h"

namespace {

class TFnThread : public TThread {
 public:
  TFnThread(bool suspended, std::function<void(TFnThread&)> body, std::atomic<bool>* freed = nullptr)
      : TThread(suspended), body_(std::move(body)), freed_(freed) {}
  ~TFnThread() override {
    if (freed_) *freed_ = true;
  }
  using TThread::SetReturnValue;

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(TFnThread&)> body_;
  std::atomic<bool>* freed_;
};

TEST(Thread, CreatedSuspendedRunsOnlyAfterStart) {
  std::atomic<bool> ran{false};
  TFnThread t(true, [&](TFnThread&) { ran = true; });
  Sleep(50);
  EXPECT_FALSE(ran);
  EXPECT_FALSE(t.Started());
  t.Start();
  t.WaitFor();
  EXPECT_TRUE(ran);
  EXPECT_TRUE(t.Finished());
  EXPECT_NE(t.Handle(), nullptr);
  EXPECT_NE(t.ThreadID(), 0u);
}

TEST(Thread, NewConstructsAndStarts) {
  std::atomic<bool> ran{false};
  TFnThread* t = TThread::New<TFnThread>(false, [&](TFnThread& self) {
    ran = true;
    self.SetReturnValue(7);
  });
  EXPECT_EQ(t->WaitFor(), 7u);
  EXPECT_TRUE(ran);
  delete t;
}

TEST(Thread, DeletingAnUnstartedThreadNeverRunsExecute) {
  std::atomic<bool> ran{false};
  auto* t = new TFnThread(true, [&](TFnThread&) { ran = true; });
  delete t;
  EXPECT_FALSE(ran);
}

TEST(Thread, TerminateSetsTheFlagThatExecutePolls) {
  std::atomic<int> loops{0};
  TFnThread t(true, [&](TFnThread& self) {
    while (!self.Terminated()) {
      ++loops;
      Sleep(1);
    }
  });
  t.Start();
  EXPECT_TRUE(PumpUntil([&] { return loops.load() > 0; }));
  t.Terminate();
  t.WaitFor();
  EXPECT_TRUE(t.Terminated());
}

TEST(Thread, SynchronizeAndQueueRunOnTheGuiThreadInOrderAndTheThreadFreesItself) {
  const DWORD gui = GetCurrentThreadId();
  std::vector<int> order;
  std::atomic<bool> allOnGui{true}, freed{false};
  auto* t = new TFnThread(true, [&](TFnThread& self) {
    for (int i = 0; i < 100; ++i) {
      auto call = [&, i] {
        if (GetCurrentThreadId() != gui) allOnGui = false;
        order.push_back(i);
      };
      if (i % 7 == 0) {
        self.Synchronize(call);
      } else {
        self.Queue(call);
      }
    }
  }, &freed);
  t->SetFreeOnTerminate(true);
  t->Start();
  ASSERT_TRUE(PumpUntil([&] { return freed.load() && order.size() == 100; }));
  EXPECT_TRUE(allOnGui);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[static_cast<size_t>(i)], i);
}

TEST(Thread, OnTerminateRunsOnTheGuiThreadBeforeSelfFreeing) {
  const DWORD gui = GetCurrentThreadId();
  std::atomic<bool> freed{false};
  bool terminateOnGui = false, freedBeforeTerminate = true;
  auto* t = new TFnThread(true, [](TFnThread&) {}, &freed);
  t->OnTerminate = [&](TObject* sender) {
    terminateOnGui = GetCurrentThreadId() == gui && sender == t;
    freedBeforeTerminate = freed.load();
  };
  t->SetFreeOnTerminate(true);
  t->Start();
  ASSERT_TRUE(PumpUntil([&] { return freed.load(); }));
  EXPECT_TRUE(terminateOnGui);
  EXPECT_FALSE(freedBeforeTerminate);
}

TEST(Thread, GuiThreadWaitForServesAThreadBlockedInSynchronize) {
  int ranOnGui = 0;
  const DWORD gui = GetCurrentThreadId();
  TFnThread t(true, [&](TFnThread& self) {
    for (int i = 0; i < 5; ++i)
      self.Synchronize([&] {
        if (GetCurrentThreadId() == gui) ++ranOnGui;
      });
  });
  t.Start();
  t.WaitFor();  // would deadlock if the wait did not serve the hand-overs
  EXPECT_EQ(ranOnGui, 5);
}

// Its Execute uses nothing of the derived class, so the base destructor may stop it.
std::atomic<int> gSpinLoops{0};
class TSpinThread : public TThread {
 public:
  TSpinThread() : TThread(true) {}

 protected:
  void Execute() override {
    while (!Terminated()) {
      Synchronize([] {});
      ++gSpinLoops;
    }
  }
};

TEST(Thread, DestructorOfARunningThreadTerminatesAndWaits) {
  gSpinLoops = 0;
  auto* t = new TSpinThread;
  t->Start();
  ASSERT_TRUE(PumpUntil([&] { return gSpinLoops.load() > 3; }));
  delete t;  // the thread is in Synchronize; the wait must serve it
  const int after = gSpinLoops.load();
  Sleep(20);
  EXPECT_EQ(gSpinLoops.load(), after) << "the thread has ended";
}

TEST(Thread, ExceptionInExecuteIsKeptNotPropagated) {
  TFnThread t(true, [](TFnThread&) { throw Exception("worker failed"); });
  t.Start();
  t.WaitFor();
  ASSERT_TRUE(t.FatalException());
  try {
    std::rethrow_exception(t.FatalException());
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "worker failed");
  }
}

TEST(Thread, ExceptionInSynchronizedCallReachesTheWorker) {
  std::atomic<bool> caught{false};
  TFnThread t(true, [&](TFnThread& self) {
    try {
      self.Synchronize([] { throw Exception("gui side"); });
    } catch (const Exception&) {
      caught = true;
    }
  });
  t.Start();
  t.WaitFor();
  EXPECT_TRUE(caught);
}

TEST(Thread, WaitForRefusesSelfFreeingAndUnstartedThreads) {
  TFnThread unstarted(true, [](TFnThread&) {});
  EXPECT_THROW(unstarted.WaitFor(), Exception);
  std::atomic<bool> freed{false};
  std::atomic<bool> release{false};
  auto* t = new TFnThread(true, [&](TFnThread&) { while (!release) Sleep(1); }, &freed);
  t->SetFreeOnTerminate(true);
  t->Start();
  EXPECT_THROW(t->WaitFor(), Exception);
  release = true;
  EXPECT_TRUE(PumpUntil([&] { return freed.load(); }));
}

TEST(Thread, QueuedCallsReachAMessageLoopThroughTheApplicationWindow) {
  ASSERT_NE(Application->Handle(), nullptr);
  std::atomic<bool> delivered{false};
  TFnThread t(true, [&](TFnThread& self) { self.Queue([&] { delivered = true; }); });
  t.Start();
  // Plain message loop, no explicit CheckSynchronize: the posted wake-up does it.
  const DWORD start = GetTickCount();
  MSG msg;
  while (!delivered && GetTickCount() - start < 30000) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  EXPECT_TRUE(delivered);
  t.WaitFor();
}

}  // namespace
