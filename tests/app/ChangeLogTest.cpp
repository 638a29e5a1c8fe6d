// The log writer on the main window's real log box: lines arrive in order, none lost, in
// few appends; the text grows past the edit box's default limit.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/ChangeLog.h"
#include "tests/app/AppTestSupport.h"

namespace {

using namespace apptest;

// Counts the appends (EM_REPLACESEL) that reach the memo, through its WindowProc.
class AppendCounter {
 public:
  explicit AppendCounter(TMemo* memo) : memo_(memo), saved_(memo->WindowProc) {
    memo_->WindowProc = [this](TMessage& m) {
      if (m.Msg == EM_REPLACESEL) ++count_;
      saved_(m);
    };
  }
  ~AppendCounter() { memo_->WindowProc = saved_; }
  int Count() const { return count_; }

 private:
  TMemo* memo_;
  TWndMethod saved_;
  int count_ = 0;
};

std::wstring Line(int i) {
  return L"增加文件:    D:\\ptest-burst\\a\\b\\c\\文件" + std::to_wstring(i) + L".txt;   ";
}

std::wstring Lines(int from, int to) {
  std::wstring text;
  for (int i = from; i < to; ++i) text += Line(i) + L"\r\n";
  return text;
}

TEST(ChangeLog, LinesThatArriveTogetherAreAppendedTogether) {
  FormPtr form = MakeMainForm();
  AppendCounter appends(form->Memo1);
  TChangeLog log(form->Memo1);
  constexpr int kLines = 3000;  // about 150,000 characters: far past 32K
  for (int i = 0; i < kLines; ++i) log.Add(Line(i));
  EXPECT_EQ(appends.Count(), 0) << "nothing is appended while the lines arrive";
  ASSERT_TRUE(PumpUntil([&] { return log.Pending() == 0; }, 60000));
  EXPECT_EQ(form->Memo1->Text(), Lines(0, kLines));
  EXPECT_GE(appends.Count(), 1);
  EXPECT_LE(appends.Count(), (kLines + static_cast<int>(LogBatcher::kMinLimit) - 1) /
                                 static_cast<int>(LogBatcher::kMinLimit));
}

TEST(ChangeLog, AddNeverAppendsItselfEvenWhenLinesHaveWaitedLong) {
  // While a watcher hands over a long run of changes the window gets no message; the
  // append that is due must wait until the hand-over returns.
  FormPtr form = MakeMainForm();
  AppendCounter appends(form->Memo1);
  TChangeLog log(form->Memo1);
  log.Add(Line(0));
  Sleep(TChangeLog::kMaxWaitMs + 50);
  log.Add(Line(1));
  log.Add(Line(2));
  EXPECT_EQ(appends.Count(), 0);
  ASSERT_TRUE(PumpUntil([&] { return log.Pending() == 0; }, 5000));
  EXPECT_EQ(appends.Count(), 1) << "the three lines go in one append";
  EXPECT_EQ(form->Memo1->Text(), Lines(0, 3));
}

TEST(ChangeLog, ASingleLineAppearsWithoutAFlush) {
  FormPtr form = MakeMainForm();
  TChangeLog log(form->Memo1);
  log.Add(Line(1));
  ASSERT_TRUE(PumpUntil([&] { return log.Pending() == 0; }, 5000));
  EXPECT_EQ(form->Memo1->Text(), Lines(1, 2));
}

TEST(ChangeLog, LaterLinesFollowEarlierOnesInOrder) {
  FormPtr form = MakeMainForm();
  TChangeLog log(form->Memo1);
  for (int round = 0; round < 5; ++round) {
    for (int i = round * 100; i < round * 100 + 100; ++i) log.Add(Line(i));
    Pump();
  }
  ASSERT_TRUE(PumpUntil([&] { return log.Pending() == 0; }, 30000));
  EXPECT_EQ(form->Memo1->Text(), Lines(0, 500));
}

TEST(ChangeLog, FlushAppendsEverythingInOneEdit) {
  FormPtr form = MakeMainForm();
  AppendCounter appends(form->Memo1);
  TChangeLog log(form->Memo1);
  for (int i = 0; i < 1000; ++i) log.Add(Line(i));
  log.Flush();
  EXPECT_EQ(log.Pending(), 0u);
  EXPECT_EQ(appends.Count(), 1);
  EXPECT_EQ(form->Memo1->Text(), Lines(0, 1000));
  log.Flush();  // nothing left: no edit
  EXPECT_EQ(appends.Count(), 1);
}

TEST(ChangeLog, TextTypedIntoTheLogIsKeptAndEndsItsLine) {
  FormPtr form = MakeMainForm();
  form->Memo1->SetText(L"typed by the user");
  TChangeLog log(form->Memo1);
  log.Add(Line(7));
  log.Flush();
  EXPECT_EQ(form->Memo1->Text(), L"typed by the user\r\n" + Lines(7, 8));
}

TEST(ChangeLog, NoLineIsEverRemoved) {
  FormPtr form = MakeMainForm();
  TChangeLog log(form->Memo1);
  // Appends past 64K characters and again past 128K: the box only grows.
  size_t before = 0;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 1200; ++i) log.Add(Line(round * 1200 + i));
    log.Flush();
    const size_t now = form->Memo1->Text().size();
    EXPECT_GT(now, before);
    before = now;
  }
  EXPECT_EQ(form->Memo1->Text(), Lines(0, 3600));
}

}  // namespace
