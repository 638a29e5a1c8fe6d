#include "skin/form/WinSkinPopMenu.h"

#include <algorithm>
#include <vector>

#include "framework/Bitmap.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr wchar_t kPopupProperty[] = L"PtestSkinPopup";
constexpr int kBorder = 3;
// GetDCEx: the window's own class style decides the clipping (not in the headers).
constexpr DWORD kDcxUseStyle = 0x00010000;

std::vector<TWinSkinPopMenu*>& LivePopups() {
  static std::vector<TWinSkinPopMenu*> popups;
  return popups;
}

TWinSkinPopMenu* PopupOf(HWND window) { return static_cast<TWinSkinPopMenu*>(GetPropW(window, kPopupProperty)); }

bool HasImage(const TDataSkinObject* element) {
  return element != nullptr && element->Bitmap && element->Bitmap->Width() > 0 && element->Bitmap->Height() > 0;
}

}  // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() { Detach(); }

void TWinSkinPopMenu::Attach(HWND window, TSkinData* skinData, HMENU menu) {
  if (attached_) return;
  Window = window;
  SkinData = skinData;
  Menu = menu;
  SetPropW(window, kPopupProperty, this);
  PreviousWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinSkinPopMenu::WindowProcStub)));
  attached_ = PreviousWndProc != nullptr;
  if (!attached_) RemovePropW(window, kPopupProperty);
  if (attached_) LivePopups().push_back(this);
}

void TWinSkinPopMenu::Detach() {
  if (attached_) {
    if (IsWindow(Window)) {
      SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PreviousWndProc));
      RemovePropW(Window, kPopupProperty);
    }
    attached_ = false;
    auto& live = LivePopups();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
  }
  background_.reset();
}

LRESULT TWinSkinPopMenu::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (PreviousWndProc == nullptr) return DefWindowProcW(Window, msg, wParam, lParam);
  return CallWindowProcW(PreviousWndProc, Window, msg, wParam, lParam);
}

LRESULT CALLBACK TWinSkinPopMenu::WindowProcStub(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinSkinPopMenu* popup = PopupOf(window);
  if (popup == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
  try {
    return popup->WindowProc(msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

bool TWinSkinPopMenu::CanPaint() const {
  return SkinData != nullptr && !SkinData->SkinEmpty && HasImage(SkinData->MenuBackground.get());
}

LRESULT TWinSkinPopMenu::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == SKM_QUERYSKIN) return 1;
  if (!manager_.Enabled) return CallPrevious(msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY: {
      const WNDPROC previous = PreviousWndProc;
      const HWND window = Window;
      Detach();
      return CallWindowProcW(previous, window, msg, wParam, lParam);
    }
    case WM_ERASEBKGND:
      if (!IsNtPlatform()) return 0;
      if (SkinData == nullptr || !SkinData->Options().Contains(xoMenuBG)) CallPrevious(msg, wParam, lParam);
      return 1;
    case WM_NCPAINT:
      if (!CanPaint()) return CallPrevious(msg, wParam, lParam);
      PaintFrame(reinterpret_cast<HRGN>(wParam));
      return 0;
    case WM_PRINT:
      if (!CanPaint()) return CallPrevious(msg, wParam, lParam);
      Print(reinterpret_cast<HDC>(wParam), lParam);
      return 0;
    case WM_PAINT: {
      // The menu paints its items over the client area; the skin's border goes round them
      // again afterwards, as the menu's own border is drawn inside the client area here.
      if (CanPaint()) BuildBackground();
      const LRESULT result = CallPrevious(msg, wParam, lParam);
      if (CanPaint() && ClientOrigin.x == 0 && ClientOrigin.y == 0) PaintFrame(nullptr);
      return result;
    }
    default:
      return CallPrevious(msg, wParam, lParam);
  }
}

bool TWinSkinPopMenu::BuildBackground() {
  // The menu shown here, when no item drawing named it yet.
  if (Menu == nullptr) Menu = reinterpret_cast<HMENU>(CallPrevious(MN_GETHMENU, 0, 0));
  RECT bounds{};
  GetWindowRect(Window, &bounds);
  const RECT size{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
  if (size.right <= 0 || size.bottom <= 0) return false;
  POINT client{0, 0};
  ClientToScreen(Window, &client);
  ClientOrigin = {client.x - bounds.left, client.y - bounds.top};
  if (background_ && background_->Width() == size.right && background_->Height() == size.bottom) return true;
  const TDataSkinObject& element = *SkinData->MenuBackground;
  background_ = BuildNineSlice(size, element.Bitmap.get(), element.Margins, false, element.Tile == 1, 1, 1);
  return background_ != nullptr;
}

void TWinSkinPopMenu::PaintFrame(HRGN update) {
  if (!BuildBackground()) return;
  HDC dc = nullptr;
  const bool newer = IsNtPlatform() && LOBYTE(LOWORD(GetVersion())) > 4 && HIBYTE(LOWORD(GetVersion())) > 1;
  if (newer || update == nullptr || update == reinterpret_cast<HRGN>(1)) {
    dc = GetWindowDC(Window);
  } else {
    dc = GetDCEx(Window, update, DCX_WINDOW | DCX_INTERSECTRGN | kDcxUseStyle);
  }
  if (dc == nullptr) return;
  const int width = background_->Width();
  const int height = background_->Height();
  HDC source = background_->Canvas()->Handle();
  if (ClientOrigin.x == 0 && ClientOrigin.y == 0) {
    // The border strips only: the items are on the client area.
    BitBlt(dc, 0, 0, width, kBorder, source, 0, 0, SRCCOPY);
    BitBlt(dc, 0, height - kBorder, width, kBorder, source, 0, height - kBorder, SRCCOPY);
    BitBlt(dc, 0, 0, kBorder, height, source, 0, 0, SRCCOPY);
    BitBlt(dc, width - kBorder, 0, kBorder, height, source, width - kBorder, 0, SRCCOPY);
  } else {
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
  }
  ReleaseDC(Window, dc);
}

void TWinSkinPopMenu::Print(HDC dc, LPARAM flags) {
  if (!BuildBackground() || dc == nullptr) return;
  BitBlt(dc, 0, 0, background_->Width(), background_->Height(), background_->Canvas()->Handle(), 0, 0, SRCCOPY);
  SetBkMode(dc, TRANSPARENT);
  RECT bounds{};
  GetWindowRect(Window, &bounds);
  HRGN clip = CreateRectRgn(kBorder, kBorder, bounds.right - bounds.left - kBorder, bounds.bottom - bounds.top - kBorder);
  SelectClipRgn(dc, clip);
  CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags & ~static_cast<LPARAM>(PRF_NONCLIENT | PRF_ERASEBKGND));
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
}

TBitmap* FindPopupBackground(HMENU menu, POINT& clientOrigin) {
  if (menu == nullptr) return nullptr;
  const auto& live = LivePopups();
  for (auto it = live.rbegin(); it != live.rend(); ++it) {
    if ((*it)->Menu == menu && (*it)->Background() != nullptr) {
      clientOrigin = (*it)->ClientOrigin;
      return (*it)->Background();
    }
  }
  return nullptr;
}

void InstallSkinPopMenus() {
  TSkinManage::SetPopupFactory([](TSkinManage& manager, HWND window, TSkinData* skinData) {
    auto popup = std::make_unique<TWinSkinPopMenu>(manager);
    popup->Attach(window, skinData, nullptr);
    return std::unique_ptr<TSkinPopupBase>(std::move(popup));
  });
}
