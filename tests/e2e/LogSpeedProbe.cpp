// Log speed measurement (not a test; run by scripts/bench-logspeed.sh): starts ptest.exe,
// presses "监视全部硬盘" and measures, from this second process,
//  - how soon a single new file's line is in the log (several times);
//  - a burst of files made from Linux in a watched folder on D: (the script makes them
//    once this program writes "ready" into the folder, and writes the times of its first
//    and last creation, Unix nanoseconds, into "done"): when every line is in the log,
//    whether any was lost or out of order, and how long the window took at most to
//    answer a WM_NULL sent every 20 ms throughout. With --reference a second, idle
//    instance is asked the same way at the same time: its figure is what the machine
//    itself adds.
//
//   logspeed_probe.exe [--files N] [--singles N] [--reference] [--make-files]
// --make-files: this program makes the burst's files itself, one after another as fast as
// Wine lets a Windows program, instead of waiting for them to be made from Linux.
// Prints one line of figures per measurement; exit status 1 when a goal is missed.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/E2eDriver.h"

namespace {

using namespace e2e;

constexpr double kSingleGoalMs = 100;
constexpr double kAnswerGoalMs = 200;
constexpr double kCompleteGoalMs = 10000;
const wchar_t* const kFolders[] = {L"top", L"a", L"a\\b", L"a\\b\\c"};

double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

int64_t NowUnixNs() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  const int64_t ticks = (int64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
  return (ticks - 116444736000000000LL) * 100;
}

std::string ReadSmallFile(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  char buffer[128] = {};
  DWORD read = 0;
  ReadFile(h, buffer, sizeof buffer - 1, &read, nullptr);
  CloseHandle(h);
  return std::string(buffer, read);
}

LRESULT Send(HWND w, UINT msg, DWORD timeoutMs = 10000) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(w, msg, 0, 0, SMTO_NORMAL, timeoutMs, &result)) return -1;
  return static_cast<LRESULT>(result);
}

// Sends WM_NULL every 20 ms and keeps the longest wait for the answer. Probes that
// overlap a request of this program's own that makes the window work (reading the whole
// log) are not counted: they would measure the probe, not the program.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND window) : window_(window), thread_([this] { Run(); }) {}
  ~AnswerWatch() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  // Around this program's own heavy requests.
  void OwnRequestStarts() { ++ownRequests_; }
  void OwnRequestEnds() { ++ownRequests_; }
  double LongestMs() const { return longest_; }
  int Late() const { return late_; }
  int Probes() const { return probes_; }

 private:
  void Run() {
    while (!stop_) {
      const int before = ownRequests_;
      const double start = NowMs();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
      const double took = NowMs() - start;
      if (before % 2 == 0 && ownRequests_ == before) {
        longest_ = std::max(longest_.load(), took);
        if (took > kAnswerGoalMs) ++late_;
        ++probes_;
      }
      Sleep(20);
    }
  }
  HWND window_;
  std::atomic<bool> stop_{false};
  std::atomic<int> ownRequests_{0};
  std::atomic<double> longest_{0};
  std::atomic<int> late_{0};
  std::atomic<int> probes_{0};
  std::thread thread_;
};

bool MeasureSingles(ProgramUnderTest& p, const std::wstring& folder, int count) {
  const HWND log = p.LogBox();
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    const std::wstring name = folder + L"\\single" + std::to_wstring(i) + L".txt";
    const LRESULT before = Send(log, WM_GETTEXTLENGTH);
    const double start = NowMs();
    files::Create(name);
    // Poll the length (cheap), then check the line.
    double seen = -1;
    while (NowMs() - start < 5000) {
      if (Send(log, WM_GETTEXTLENGTH) != before && p.CountLogLines(AddedLine(name)) > 0) {
        seen = NowMs() - start;
        break;
      }
      Sleep(1);
    }
    times.push_back(seen < 0 ? 1e9 : seen);
    Sleep(150);  // let the file's later notifications pass
  }
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  const double worst = sorted.back();
  std::printf("single change: %d files, median %.1f ms, worst %.1f ms (goal %.0f ms)\n", count, median, worst,
              kSingleGoalMs);
  return worst <= kSingleGoalMs;
}

// Makes the burst's files from this process, as a program under Wine would, and gives
// the Unix times of the first and the last creation as "done" would.
std::string MakeFilesHere(const std::wstring& folder, int files) {
  const int64_t first = NowUnixNs();
  for (int i = 0; i < files; ++i) {
    files::Create(folder + L"\\" + kFolders[i % 4] + L"\\f" + std::to_wstring(i) + L".txt");
  }
  const int64_t last = NowUnixNs();
  return std::to_string(first) + " " + std::to_string(last);
}

bool MeasureBurst(ProgramUnderTest& p, const std::wstring& folder, int files, bool reference, bool makeHere) {
  const HWND log = p.LogBox();
  const std::wstring before = p.LogText();
  const LRESULT baseLines = Send(log, EM_GETLINECOUNT);
  std::unique_ptr<ProgramUnderTest> idle;
  std::unique_ptr<AnswerWatch> idleAnswers;
  if (reference) {
    idle = std::make_unique<ProgramUnderTest>();
    idleAnswers = std::make_unique<AnswerWatch>(idle->Window());
  }
  AnswerWatch answers(p.Window());
  std::string done;
  if (makeHere) {
    done = MakeFilesHere(folder, files);
  } else {
    files::Create(folder + L"\\ready");
  }
  const double waitStart = NowMs();
  while (done.empty() && (done = ReadSmallFile(folder + L"\\done")).empty()) {
    if (NowMs() - waitStart > 600000) {
      std::printf("nobody made the files\n");
      return false;
    }
    Sleep(50);
  }
  long long first = 0, last = 0;
  std::sscanf(done.c_str(), "%lld %lld", &first, &last);

  // Every line in: the log has at least as many lines as expected, then the text holds
  // each one. The order is the order in which the system reported the changes; lines
  // found before the line of the file made just before them are counted.
  int64_t completeNs = 0;
  std::wstring text;
  int missing = files, inversions = 0;
  const double pollStart = NowMs();
  while (NowMs() - pollStart < 120000) {
    if (Send(log, EM_GETLINECOUNT) >= baseLines + files - 1) {
      const int64_t now = NowUnixNs();
      answers.OwnRequestStarts();
      text = p.LogText();
      answers.OwnRequestEnds();
      missing = 0;
      inversions = 0;
      size_t previous = 0;
      for (int i = 0; i < files; ++i) {
        const std::wstring line =
            AddedLine(folder + L"\\" + kFolders[i % 4] + L"\\f" + std::to_wstring(i) + L".txt") + L"\r\n";
        const size_t found = text.find(line, before.size());
        if (found == std::wstring::npos) {
          ++missing;
          continue;
        }
        if (found < previous) ++inversions;
        previous = found;
      }
      if (missing == 0) {
        completeNs = now;
        break;
      }
    }
    Sleep(20);
  }
  answers.Stop();
  if (idleAnswers) {
    idleAnswers->Stop();
    std::printf("idle second instance: longest WM_NULL answer %.0f ms over %d probes\n", idleAnswers->LongestMs(),
                idleAnswers->Probes());
  }
  const bool overflow = text.find(L"变化丢失:  ") != std::wstring::npos;
  const double createdMs = static_cast<double>(last - first) / 1e6;
  if (completeNs == 0) {
    text = p.LogText();
    missing = 0;
    for (int i = 0; i < files; ++i) {
      const std::wstring line =
          AddedLine(folder + L"\\" + kFolders[i % 4] + L"\\f" + std::to_wstring(i) + L".txt") + L"\r\n";
      if (text.find(line, before.size()) == std::wstring::npos) ++missing;
    }
    std::printf("burst: %d files made in %.0f ms; after 120 s %d lines missing, %ld lines in the log%s\n", files,
                createdMs, missing, static_cast<long>(Send(log, EM_GETLINECOUNT)),
                text.find(L"变化丢失:  ") != std::wstring::npos ? " (overflow line present)" : "");
    return false;
  }
  const double afterLastMs = static_cast<double>(completeNs - last) / 1e6;
  std::printf(
      "burst: %d files made in %.0f ms; all in the log %.0f ms after the last change (goal %.0f ms), %d lines "
      "out of creation order; log %zu characters; longest WM_NULL answer %.0f ms over %d probes, %d above %.0f ms%s\n",
      files, createdMs, afterLastMs, kCompleteGoalMs, inversions, text.size(), answers.LongestMs(),
      answers.Probes(), answers.Late(), kAnswerGoalMs, overflow ? "; overflow line present" : "");
  return afterLastMs <= kCompleteGoalMs && answers.LongestMs() <= kAnswerGoalMs;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  int files = 20000, singles = 10;
  bool reference = false, makeHere = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--reference") reference = true;
    if (option == "--make-files") makeHere = true;
    if (i + 1 < argc && option == "--files") files = std::atoi(argv[++i]);
    if (i + 1 < argc && option == "--singles") singles = std::atoi(argv[++i]);
  }
  try {
    ProgramUnderTest p;
    p.Click(p.Button(L"监视全部硬盘"));
    if (!WaitUntil([&] { return !IsWindowEnabled(p.Button(L"监视全部硬盘")); }, 5000)) {
      std::printf("watching did not start\n");
      return 1;
    }
    if (!p.WaitUntilDriveWatched(L'D')) {
      std::printf("D: is not watched\n");
      return 1;
    }
    // The folders are made after watching started, each seen in the log before the next,
    // so that Wine watches all of them.
    const std::wstring folder = L"D:\\" + files::Unique(L"ptest-logspeed");
    std::vector<std::wstring> made = {folder};
    for (const wchar_t* sub : kFolders) made.push_back(folder + L"\\" + sub);
    std::sort(made.begin(), made.end());
    for (const std::wstring& f : made) {
      files::MakeFolder(f);
      if (!p.WaitForLogLine(AddedLine(f))) {
        std::printf("no line for folder\n");
        return 1;
      }
    }
    bool ok = MeasureSingles(p, folder, singles);
    ok = MeasureBurst(p, folder, files, reference, makeHere) && ok;
    std::fflush(stdout);
    return ok ? 0 : 1;
  } catch (const std::exception& error) {
    std::printf("error: %s\n", error.what());
    return 1;
  }
}
