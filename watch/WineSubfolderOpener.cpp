#include "watch/WineSubfolderOpener.h"

#include <windows.h>

#include <atomic>
#include <set>
#include <tuple>
#include <vector>

#include "framework/Thread.h"
#include "watch/WatchCounters.h"

namespace {

std::atomic<WineRemedyMode> gMode{WineRemedyMode::kAuto};

// Past MAX_PATH a drive or UNC path needs the "\\?\" form.
std::wstring LongPathForm(const std::wstring& path) {
  if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

std::wstring Join(const std::wstring& folder, const wchar_t* name) {
  std::wstring path = folder;
  if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
  return path + name;
}

HANDLE OpenFolder(const std::wstring& path) {
  return CreateFileW(LongPathForm(path).c_str(), 0,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

using FolderId = std::tuple<DWORD, DWORD, DWORD>;

}  // namespace

bool RunningOnWine() {
  static const bool onWine = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return onWine;
}

void SetWineRemedyMode(WineRemedyMode mode) { gMode = mode; }

bool WineRemedyEnabled() {
  switch (gMode.load()) {
    case WineRemedyMode::kAlways:
      return true;
    case WineRemedyMode::kNever:
      return false;
    case WineRemedyMode::kAuto:
      break;
  }
  return RunningOnWine();
}

bool SubfolderOpener::OpenFolderOnce(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  HANDLE h = OpenFolder(path);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  ++GetWatchCounters().foldersOpened;
  return true;
}

// The opener's thread: a framework thread that the opener frees itself after waiting.
class SubfolderOpener::WalkerThread : public TThread {
 public:
  explicit WalkerThread(SubfolderOpener& opener) : TThread(true), opener_(opener) {}

 protected:
  void Execute() override { opener_.Run(); }

 private:
  SubfolderOpener& opener_;
};

namespace {

class Lock {
 public:
  explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
  ~Lock() { LeaveCriticalSection(&cs_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

}  // namespace

SubfolderOpener::SubfolderOpener() {
  InitializeCriticalSection(&lock_);
  InitializeConditionVariable(&wake_);
}

SubfolderOpener::~SubfolderOpener() {
  Stop();
  DeleteCriticalSection(&lock_);
}

void SubfolderOpener::OpenTree(std::wstring folder) {
  bool start = false;
  {
    Lock l(lock_);
    if (stop_) return;
    requests_.push_back(std::move(folder));
    start = !thread_;
    if (start) thread_ = std::make_unique<WalkerThread>(*this);
  }
  WakeConditionVariable(&wake_);
  if (start) {
    ++GetWatchCounters().openerThreadsAlive;
    thread_->Start();
  }
}

void SubfolderOpener::Cancel() {
  Lock l(lock_);
  requests_.clear();
  ++generation_;
}

void SubfolderOpener::Stop() {
  {
    Lock l(lock_);
    stop_ = true;
    requests_.clear();
    ++generation_;
  }
  WakeConditionVariable(&wake_);
  if (thread_) {
    thread_->WaitFor();
    thread_.reset();
    --GetWatchCounters().openerThreadsAlive;
  }
}

bool SubfolderOpener::Abandoned(uint64_t generation) {
  Lock l(lock_);
  return stop_ || generation != generation_;
}

void SubfolderOpener::Run() {
  try {
    for (;;) {
      std::wstring folder;
      uint64_t generation = 0;
      {
        Lock l(lock_);
        while (!stop_ && requests_.empty()) SleepConditionVariableCS(&wake_, &lock_, INFINITE);
        if (stop_) return;
        folder = std::move(requests_.front());
        requests_.pop_front();
        generation = generation_;
      }
      Walk(folder, generation);
    }
  } catch (...) {
    // Out of memory in a walk: the remaining folders simply stay unopened.
  }
}

void SubfolderOpener::Walk(const std::wstring& root, uint64_t generation) {
  // Depth first over an explicit stack. A folder reached twice (a link back up the tree)
  // is walked once: folders are told apart by volume and file index.
  std::set<FolderId> seen;
  std::vector<std::wstring> stack{root};
  while (!stack.empty()) {
    if (Abandoned(generation)) return;
    const std::wstring folder = std::move(stack.back());
    stack.pop_back();
    HANDLE h = OpenFolder(folder);
    if (h == INVALID_HANDLE_VALUE) continue;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(h, &info) != FALSE;
    CloseHandle(h);
    ++GetWatchCounters().foldersOpened;
    if (known && !seen.insert({info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow})
                      .second)
      continue;

    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(LongPathForm(Join(folder, L"*")).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      const bool isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      const bool dots = data.cFileName[0] == L'.' &&
                        (data.cFileName[1] == 0 || (data.cFileName[1] == L'.' && data.cFileName[2] == 0));
      if (isFolder && !isLink && !dots) stack.push_back(Join(folder, data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  ++GetWatchCounters().walksCompleted;
}
