#include "tests/skin_controls_other/OtherControlsSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "skin/controls/SkinMessages.h"
#include "skin/data/SkinDraw.h"

namespace {

constexpr wchar_t kHostClass[] = L"PtestRawHost";
// The framework's reflected notifications.
constexpr UINT kReflectedNotify = 0xBC4E;
constexpr UINT kReflectedCommand = 0xBD11;

}  // namespace

LRESULT CALLBACK TRawHost::HostProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TRawHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (msg) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header != nullptr && header->hwndFrom != nullptr && GetParent(header->hwndFrom) == window)
        return SendMessageW(header->hwndFrom, kReflectedNotify, wParam, lParam);
      break;
    }
    case WM_COMMAND:
      if (lParam != 0 && GetParent(reinterpret_cast<HWND>(lParam)) == window)
        return SendMessageW(reinterpret_cast<HWND>(lParam), kReflectedCommand, wParam, lParam);
      break;
    case SKM_CLOSETAB:
      if (self == nullptr) break;
      ++self->closeTabAsked;
      self->closeTabWParam = wParam;
      self->closeTabLParam = lParam;
      return self->closeTabAnswer;
    default:
      break;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

TRawHost::TRawHost(int width, int height) {
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_PROGRESS_CLASS |
                                                              ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&init);
  screenLock_ = CreateMutexW(nullptr, FALSE, L"PtestSkinControlsScreen");
  if (screenLock_ != nullptr) WaitForSingleObject(screenLock_, 300000);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHostClass;
  RegisterClassExW(&wc);
  window_ = CreateWindowExW(WS_EX_TOPMOST, kHostClass, L"other skinned controls",
                            WS_POPUP | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, width, height, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetForegroundWindow(window_);
  PumpFor(30);
}

TRawHost::~TRawHost() {
  if (window_ != nullptr) DestroyWindow(window_);
  PumpFor(10);
  if (screenLock_ != nullptr) {
    ReleaseMutex(screenLock_);
    CloseHandle(screenLock_);
  }
}

HWND TRawHost::Add(const wchar_t* windowClass, DWORD style, int x, int y, int width, int height, const wchar_t* text,
                   DWORD exStyle) {
  static int nextId = 100;
  HWND child = CreateWindowExW(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, window_,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(nextId++)), GetModuleHandleW(nullptr),
                               nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return child;
}

HWND TRawHost::AddTabs(DWORD style, int x, int y, int width, int height) {
  const HWND tabs = Add(WC_TABCONTROLW, style, x, y, width, height);
  const wchar_t* names[] = {L"第一页", L"第二页", L"三"};
  for (int i = 0; i < 3; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(names[i]);
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
  return tabs;
}

WNDPROC WindowProcOf(HWND window) {
  return reinterpret_cast<WNDPROC>(IsWindowUnicode(window) ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                                           : GetWindowLongPtrA(window, GWLP_WNDPROC));
}

std::unique_ptr<TCapture> ExpectedFrame(const TDataSkinObject& element, int frames, int frame, int width, int height,
                                        COLORREF face) {
  auto capture = std::make_unique<TCapture>(width, height);
  capture->Fill(face);
  DrawNineSlice(capture->Dc(), RECT{0, 0, width, height}, element.Bitmap.get(), false, element.Tile != 0,
                element.Trans == 1, frames, frame, element.Margins);
  return capture;
}

testing::AssertionResult SamePixels(const TCapture& got, const RECT& area, const TCapture& want, int ring) {
  int compared = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      if (ring > 0 && x >= area.left + ring && x < area.right - ring && y >= area.top + ring &&
          y < area.bottom - ring)
        continue;
      ++compared;
      const COLORREF g = got.At(x, y);
      const COLORREF w = want.At(x - area.left, y - area.top);
      if (g != w)
        return testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex << g << " not " << w;
    }
  if (compared == 0) return testing::AssertionFailure() << "nothing compared";
  return testing::AssertionSuccess();
}

int DifferingPixels(const TCapture& a, const TCapture& b, const RECT& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) count += a.At(x, y) != b.At(x, y);
  return count;
}

std::unique_ptr<TCapture> RawFrame(const TDataSkinObject& element, int frames, int frame, int width, int height) {
  auto capture = std::make_unique<TCapture>(width, height);
  capture->Fill(kSkinKeyColour);
  DrawNineSlice(capture->Dc(), RECT{0, 0, width, height}, element.Bitmap.get(), false, element.Tile != 0, false,
                frames, frame, element.Margins);
  return capture;
}

testing::AssertionResult SameOpaquePixels(const TCapture& got, const RECT& area, const TCapture& want) {
  int compared = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF w = want.At(x - area.left, y - area.top);
      if (w == kSkinKeyColour) continue;
      ++compared;
      const COLORREF g = got.At(x, y);
      if (g != w)
        return testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex << g << " not " << w;
    }
  if (compared == 0) return testing::AssertionFailure() << "nothing compared";
  return testing::AssertionSuccess();
}
