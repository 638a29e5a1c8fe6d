// Text output that follows the platform (wide on NT, ANSI elsewhere), the text
// conversions it needs, and the user32 functions bound by name.
#include <cwchar>
#include <string>

#include "skin/data/SkinDraw.h"

namespace {

bool DetectNtPlatform() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(&version)) return true;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Decided once, while the program starts.
const bool gIsNt = DetectNtPlatform();

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), size,
                      nullptr, nullptr);
  return ansi;
}

}  // namespace

bool IsNtPlatform() { return gIsNt; }

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::wstring WideCopy(const wchar_t* text, int count) {
  if (!text) return {};
  if (count == -1) return std::wstring(text);
  if (count < 0) return {};
  return std::wstring(text, wcsnlen(text, static_cast<size_t>(count)));
}

int DrawSkinText(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
  if (IsNtPlatform())
    return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  std::string ansi = WideToAnsi(text);
  return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

TDynamicUser32::TDynamicUser32(const wchar_t* library) : module_(LoadLibraryW(library)) {
  if (!module_) return;
  // The casts go through a plain function pointer type, as GetProcAddress returns one of
  // another signature.
  auto find = [this](const char* name) {
    return reinterpret_cast<void (*)()>(GetProcAddress(module_, name));
  };
  getScrollBarInfo_ = reinterpret_cast<GetScrollBarInfoFn>(find("GetScrollBarInfo"));
  trackMouseEvent_ = reinterpret_cast<TrackMouseEventFn>(find("TrackMouseEvent"));
  getComboBoxInfo_ = reinterpret_cast<GetComboBoxInfoFn>(find("GetComboBoxInfo"));
  disableGhosting_ = reinterpret_cast<DisableGhostingFn>(find("DisableProcessWindowsGhosting"));
}

TDynamicUser32::~TDynamicUser32() {
  if (module_) FreeLibrary(module_);
}

bool TDynamicUser32::SafeGetScrollBarInfo(HWND window, LONG objectId,
                                          SCROLLBARINFO* info) const {
  if (!getScrollBarInfo_) return false;
  return getScrollBarInfo_(window, objectId, info) != FALSE;
}

void TDynamicUser32::TrackMouseLeave(HWND window) const {
  if (!trackMouseEvent_) return;
  TRACKMOUSEEVENT request{};
  request.cbSize = sizeof request;  // 16 bytes on 32-bit Windows
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = window;
  trackMouseEvent_(&request);
}

const TDynamicUser32& DynamicUser32() {
  static const TDynamicUser32 user32;
  return user32;
}

bool SafeGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info) {
  return DynamicUser32().SafeGetScrollBarInfo(window, objectId, info);
}

void TrackMouseLeave(HWND window) { DynamicUser32().TrackMouseLeave(window); }
