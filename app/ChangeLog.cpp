#include "app/ChangeLog.h"

#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

namespace {

double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

TChangeLog::TChangeLog(TCustomMemo* memo) : memo_(memo), timer_(std::make_unique<TTimer>(nullptr)) {
  timer_->SetEnabled(false);
  timer_->OnTimer = [this](TObject*) { AppendNext(); };
}

TChangeLog::~TChangeLog() = default;

void TChangeLog::Add(std::wstring line) {
  const bool wasEmpty = batcher_.Empty();
  batcher_.Add(std::move(line));
  if (wasEmpty) {
    waitingSince_ = GetTickCount();
    Arm(kCoalesceMs);
  } else if (GetTickCount() - waitingSince_ >= kMaxWaitMs) {
    AppendNext();
  }
}

void TChangeLog::Flush() {
  Disarm();
  size_t count = 0;
  const std::wstring text = batcher_.TakeAll(count);
  Append(text, count);
}

void TChangeLog::AppendNext() {
  size_t count = 0;
  const std::wstring text = batcher_.Take(count);
  if (batcher_.Empty()) {
    Disarm();
  } else {
    waitingSince_ = GetTickCount();
    Arm(kNextChunkMs);
  }
  Append(text, count);
}

void TChangeLog::Append(const std::wstring& text, size_t count) {
  if (count == 0) return;
  const double start = NowMs();
  memo_->AppendText(text);
  batcher_.Appended(count, NowMs() - start);
}

void TChangeLog::Arm(int milliseconds) {
  // Setting the interval of an enabled timer restarts it; a new line must not push the
  // pending append further away, so only a stopped timer or a new interval re-arms.
  if (timer_->Enabled() && timer_->Interval() == milliseconds) return;
  timer_->SetEnabled(false);
  timer_->SetInterval(milliseconds);
  timer_->SetEnabled(true);
}

void TChangeLog::Disarm() { timer_->SetEnabled(false); }
