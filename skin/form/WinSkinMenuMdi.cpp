#include "skin/form/WinSkinMenuMdi.h"

#include <memory>
#include <vector>

#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WinSkinMenu.h"

namespace {

constexpr wchar_t kClientProperty[] = L"PtestSkinMdiClient";
// Frame, erase, all children, at once.
constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

struct TMdiClientSkin {
  TWinSkinForm* Frame = nullptr;
  HWND Client = nullptr;
  WNDPROC Previous = nullptr;
  bool MenuUpdateAtSetup = true;
};

std::vector<std::unique_ptr<TMdiClientSkin>>& Clients() {
  static std::vector<std::unique_ptr<TMdiClientSkin>> clients;
  return clients;
}

void Unhook(TMdiClientSkin& skin) {
  if (IsWindow(skin.Client) && GetPropW(skin.Client, kClientProperty) == &skin) {
    SetWindowLongPtrW(skin.Client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skin.Previous));
    RemovePropW(skin.Client, kClientProperty);
  }
}

void Forget(TMdiClientSkin* skin) {
  auto& clients = Clients();
  for (auto it = clients.begin(); it != clients.end(); ++it) {
    if (it->get() == skin) {
      clients.erase(it);
      return;
    }
  }
}

LRESULT ClientMessage(TMdiClientSkin& skin, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinSkinForm& frame = *skin.Frame;
  auto previous = [&] { return CallWindowProcW(skin.Previous, skin.Client, msg, wParam, lParam); };
  switch (msg) {
    case WM_NCCALCSIZE:
      if (frame.DrawFrame && frame.SkinData != nullptr && !frame.SkinData->Options().Contains(xoMDIScrollbar)) {
        const LONG style = GetWindowLongW(skin.Client, GWL_STYLE);
        if ((style & (WS_VSCROLL | WS_HSCROLL)) != 0)
          SetWindowLongW(skin.Client, GWL_STYLE, style & ~(WS_VSCROLL | WS_HSCROLL));
      }
      return previous();
    case WM_MDICREATE:
      if (frame.SkinData != nullptr) frame.SkinData->SetMenuUpdate(false);
      return previous();
    case WM_MDIACTIVATE: {
      const LRESULT result = previous();
      if (frame.DrawFrame) {
        BOOL maximised = FALSE;
        const auto active =
            reinterpret_cast<HWND>(SendMessageW(skin.Client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
        frame.Manager.SetMdiMaximised(active != nullptr && maximised != FALSE);
        if (frame.MenuBar && active == nullptr && frame.SkinData != nullptr) {
          frame.SkinData->SetMenuUpdate(skin.MenuUpdateAtSetup);
          frame.MenuBar->Rebuild();
        }
      }
      return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (frame.Manager.MdiMaximised) frame.Manager.SetMdiMaximised(false);
      return previous();
    case WM_MDISETMENU: {
      const LRESULT result = previous();
      if (frame.DrawFrame) {
        if (wParam != 0 && frame.MenuBar) frame.MenuBar->RebuildFromItems();
        ::SetMenu(frame.Window, nullptr);
        frame.PaintFrame(nullptr);
      }
      return result;
    }
    case SKM_REDRAWMDI:
      RedrawWindow(frame.Window, nullptr, nullptr, kRedrawAll);
      return 0;
    case WM_NCDESTROY: {
      const LRESULT result = previous();
      Unhook(skin);
      Forget(&skin);
      return result;
    }
    default:
      return previous();
  }
}

LRESULT CALLBACK ClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* skin = static_cast<TMdiClientSkin*>(GetPropW(window, kClientProperty));
  if (skin == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
  try {
    return ClientMessage(*skin, msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

}  // namespace

void AttachMdiClient(TWinSkinForm* frame, HWND client) {
  if (frame == nullptr || client == nullptr || HasMdiClientSkin(frame) || GetPropW(client, kClientProperty) != nullptr)
    return;
  auto skin = std::make_unique<TMdiClientSkin>();
  skin->Frame = frame;
  skin->Client = client;
  skin->MenuUpdateAtSetup = frame->SkinData != nullptr && frame->SkinData->MenuUpdate();
  SetPropW(client, kClientProperty, skin.get());
  skin->Previous =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClientProc)));
  if (skin->Previous == nullptr) {
    RemovePropW(client, kClientProperty);
    return;
  }
  Clients().push_back(std::move(skin));
}

void DetachMdiClient(TWinSkinForm* frame) {
  auto& clients = Clients();
  for (auto it = clients.begin(); it != clients.end(); ++it) {
    if ((*it)->Frame == frame) {
      Unhook(**it);
      clients.erase(it);
      return;
    }
  }
}

bool HasMdiClientSkin(const TWinSkinForm* frame) {
  for (const auto& skin : Clients())
    if (skin->Frame == frame) return true;
  return false;
}
