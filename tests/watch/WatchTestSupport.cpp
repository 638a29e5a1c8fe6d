#include "tests/watch/WatchTestSupport.h"

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>

#include "framework/SysUtils.h"
#include "framework/Thread.h"

namespace watchtest {

std::string Describe(const Event& e) {
  return std::to_string(int{e.operation}) + " [" + WideToUtf8(e.fileName1) + "] [" +
         WideToUtf8(e.fileName2) + "]";
}

std::string Describe(const std::vector<Event>& events) {
  std::string text;
  for (const Event& e : events) text += "  " + Describe(e) + "\n";
  return text;
}

TFileDealMethod Recorder::Handler() {
  return [this](TFileOperation op, const std::wstring& name1, const std::wstring& name2) {
    if (!only_.empty() && name1.rfind(only_, 0) != 0) return;
    events.push_back({op, name1, name2});
    if (also) also(events.back());
  };
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    CheckSynchronize();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done && done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return done ? done() : true;
    HANDLE event = SyncEvent();
    MsgWaitForMultipleObjects(1, &event, FALSE, std::min<DWORD>(timeoutMs - elapsed, 10),
                              QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) { PumpUntil(nullptr, ms); }

namespace {
std::atomic<int> gFolderNumber{0};
}

TempFolder::TempFolder(const std::wstring& name) {
  path_ = L"D:\\ptest-watch-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++gFolderNumber) + L"-" + name;
  RemoveTree(path_);
  MakeFolder(path_);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool WriteFile(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = bytes.empty() ||
                  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok != FALSE;
}

bool AppendFile(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok != FALSE;
}

bool MakeFolder(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != FALSE; }

bool RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  return RemoveDirectoryW(path.c_str()) != FALSE;
}

int ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  const DWORD me = GetCurrentProcessId();
  for (BOOL ok = Thread32First(snapshot, &entry); ok; ok = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == me) ++count;
  CloseHandle(snapshot);
  return count;
}

int HandleCount() {
  // Wine answers GetProcessHandleCount with 0 but lists every handle through
  // NtQuerySystemInformation(SystemHandleInformation), as Windows does.
  struct Entry {
    USHORT processId;
    USHORT creatorBackTraceIndex;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ULONG access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  static const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  std::vector<unsigned char> buffer(1 << 20);
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == kInfoLengthMismatch && buffer.size() < (64u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status != 0) return -1;
    break;
  }
  const auto* table = reinterpret_cast<const Table*>(buffer.data());
  const USHORT me = static_cast<USHORT>(GetCurrentProcessId());
  int count = 0;
  for (ULONG i = 0; i < table->count; ++i)
    if (table->entries[i].processId == me) ++count;
  return count;
}

}  // namespace watchtest
