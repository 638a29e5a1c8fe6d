// Burst measurement (not a test): 20,000 files created as fast as possible in a watched
// tree, with the GUI thread free or blocked for a while, the way a busy window would be.
// Every file must be reported, or an overflow event must say that changes were lost.
//
//   watch_burst.exe [--files N] [--block-ms MS | --block-whole-burst] [--external]
//                   [--no-wine-remedy]
//
// The files go to D:\ptest-burst-<pid>\{top,a,a\b,a\b\c}. By default a thread of this
// program creates them; with --external the program writes "ready" into the tree and
// waits for another process (tests/watch/watch-burst.sh, from Linux) to create them and
// then to write the times of its first and last creation (Unix epoch, nanoseconds) into
// "done". --no-wine-remedy measures what opening added folders costs on Wine.
// Prints one line of figures.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include "framework/Thread.h"
#include "tests/watch/WatchTestSupport.h"
#include "watch/FileSystemWatcher.h"
#include "watch/WatchCounters.h"
#include "watch/WineSubfolderOpener.h"

namespace {

using namespace watchtest;

constexpr DWORD kUntilCreated = 0xFFFFFFFF;

// Wall-clock time in Unix nanoseconds (Wine takes it from the same clock as Linux).
int64_t NowUnixNs() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  const int64_t ticks = (int64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
  return (ticks - 116444736000000000LL) * 100;
}

std::string ReadText(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  char buffer[128] = {};
  DWORD read = 0;
  ReadFile(h, buffer, sizeof buffer - 1, &read, nullptr);
  CloseHandle(h);
  return std::string(buffer, read);
}

const wchar_t* const kFolders[] = {L"top", L"a", L"a\\b", L"a\\b\\c"};

int Run(int files, DWORD blockMs, bool external) {
  const std::wstring root = L"D:\\ptest-burst-" + std::to_wstring(GetCurrentProcessId());
  RemoveTree(root);
  MakeFolder(root);
  for (const wchar_t* f : kFolders) MakeFolder(root + L"\\" + f);

  std::set<std::wstring> seen;
  int64_t events = 0;
  int64_t overflowEvents = 0;
  int64_t lastEventNs = 0;
  int64_t allSeenNs = 0;
  const std::wstring prefix = root + L"\\";
  TFileSystemWatcher watcher(nullptr);
  watcher.SetWatchedDir(root);
  watcher.SetNotifyFilters({nfFileNameChange, nfDirNameChange, nfSizeChange, nfWriteChange});
  watcher.SetOnChange([&](TFileOperation op, const std::wstring& name1, const std::wstring&) {
    ++events;
    lastEventNs = NowUnixNs();
    if (op == foOverflow) {
      ++overflowEvents;
      return;
    }
    if (op == foAdded && name1.size() > prefix.size() && name1.find(L"\\f", prefix.size()) != std::wstring::npos) {
      seen.insert(name1);
      if (static_cast<int>(seen.size()) == files && !allSeenNs) allSeenNs = lastEventNs;
    }
  });
  const int64_t walks = GetWatchCounters().walksCompleted.load();
  watcher.SetActived(true);
  PumpUntil([&] { return GetWatchCounters().directoriesArmed.load() > 0; }, 5000);
  PumpUntil([&] { return GetWatchCounters().walksCompleted.load() > walks; }, 5000);

  std::atomic<int64_t> lastCreatedNs{0};
  std::atomic<int64_t> firstCreatedNs{0};
  std::thread creator;
  if (external) {
    WriteFile(root + L"\\ready", "ready");
  } else {
    creator = std::thread([&] {
      firstCreatedNs = NowUnixNs();
      for (int i = 0; i < files; ++i) {
        const std::wstring name = root + L"\\" + kFolders[i % 4] + L"\\f" + std::to_wstring(i) + L".txt";
        HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
      }
      lastCreatedNs = NowUnixNs();
    });
  }
  auto checkDone = [&] {
    if (!external || lastCreatedNs) return;
    const std::string done = ReadText(root + L"\\done");
    if (done.empty()) return;
    char* end = nullptr;
    firstCreatedNs = std::strtoll(done.c_str(), &end, 10);
    lastCreatedNs = std::strtoll(end, nullptr, 10);
  };
  // The busy GUI thread serves nothing while it is blocked: for a time, or (kUntilCreated)
  // until the last file exists.
  if (blockMs == kUntilCreated) {
    while (!lastCreatedNs) {
      Sleep(20);
      checkDone();
    }
  } else if (blockMs) {
    Sleep(blockMs);
  }
  const int64_t unblockedNs = NowUnixNs();
  PumpFor(1);
  const int64_t backlog = events;

  const DWORD start = GetTickCount();
  for (;;) {
    PumpFor(50);
    checkDone();
    const bool created = lastCreatedNs.load() != 0;
    const bool complete = static_cast<int>(seen.size()) == files;
    const bool quiet = lastEventNs && NowUnixNs() - lastEventNs > 2000000000LL;
    if (created && (complete || (overflowEvents && quiet))) break;
    if (GetTickCount() - start > 120000) break;
  }
  PumpFor(500);
  if (creator.joinable()) creator.join();
  watcher.SetActived(false);
  PumpFor(200);

  auto seconds = [](int64_t ns) { return static_cast<double>(ns) / 1e9; };
  const double creationS = firstCreatedNs ? seconds(lastCreatedNs - firstCreatedNs) : 0.0;
  const double allSeenAfterS = allSeenNs ? seconds(allSeenNs - lastCreatedNs) : -1.0;
  const double lastEventAfterS = lastEventNs ? seconds(lastEventNs - lastCreatedNs) : -1.0;
  std::printf(
      "files=%d creator=%s remedy=%s gui_blocked=%s reported=%zu events=%lld overflow_events=%lld "
      "system_overflows=%lld creation_s=%.2f backlog_at_unblock=%lld all_reported_after_unblock_s=%.3f "
      "all_reported_after_last_creation_s=%.3f last_event_after_last_creation_s=%.3f\n",
      files, external ? "linux" : "in-process", WineRemedyEnabled() ? "on" : "off",
      blockMs == kUntilCreated ? "whole-burst" : (std::to_string(blockMs) + "ms").c_str(), seen.size(),
      static_cast<long long>(events), static_cast<long long>(overflowEvents),
      static_cast<long long>(GetWatchCounters().overflows.load()), creationS,
      static_cast<long long>(backlog), allSeenNs ? seconds(allSeenNs - unblockedNs) : -1.0, allSeenAfterS,
      lastEventAfterS);
  std::fflush(stdout);
  RemoveTree(root);
  const bool ok = static_cast<int>(seen.size()) == files || overflowEvents > 0;
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int files = 20000;
  DWORD blockMs = 0;
  bool external = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--files") && i + 1 < argc)
      files = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--block-ms") && i + 1 < argc)
      blockMs = static_cast<DWORD>(std::atoi(argv[++i]));
    else if (!std::strcmp(argv[i], "--block-whole-burst"))
      blockMs = kUntilCreated;
    else if (!std::strcmp(argv[i], "--external"))
      external = true;
    else if (!std::strcmp(argv[i], "--no-wine-remedy"))
      SetWineRemedyMode(WineRemedyMode::kNever);
  }
  try {
    return Run(files, blockMs, external);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "watch_burst: %s\n", e.what());
    return 2;
  }
}
