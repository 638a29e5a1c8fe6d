#include "skin/manager/SkinManage.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "skin/data/WinSkinData.h"

namespace {

// The manager the hook procedure serves (one per process).
TSkinManage* hookedManager = nullptr;

TSkinFrameFactory& FrameFactory() {
  static TSkinFrameFactory factory;
  return factory;
}

TSkinPopupFactory& PopupFactory() {
  static TSkinPopupFactory factory;
  return factory;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

LRESULT CALLBACK CbtHookStub(int code, WPARAM wParam, LPARAM lParam) {
  try {
    if (code >= 0 && hookedManager != nullptr) return hookedManager->HookProc(code, wParam, lParam);
  } catch (...) {
    // A hook must never let an exception reach the system.
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The framework control whose window is `window`: a form of the application first.
TWinControl* FrameworkControlOf(HWND window) {
  if (Application != nullptr) {
    for (int i = 0; i < Application->FormCount(); ++i) {
      TCustomForm* form = Application->Forms(i);
      if (form != nullptr && form->HandleAllocated() && form->Handle() == window) return form;
    }
  }
  return FindControl(window);
}

TWinControl* OwnerFormOf(const TSkinData* data) {
  return dynamic_cast<TWinControl*>(data->Owner());
}

}  // namespace

std::string WindowClassName(HWND window) {
  char buffer[100] = {};
  const int length = GetClassNameA(window, buffer, static_cast<int>(sizeof buffer));
  return std::string(buffer, static_cast<size_t>(std::max(length, 0)));
}

TSkinManage* SkinManage() { return dynamic_cast<TSkinManage*>(SkinManager()); }

void InstallSkinManager() {
  SetSkinManagerFactory([] { return std::make_unique<TSkinManage>(false); });
}

void TSkinManage::SetFrameFactory(TSkinFrameFactory factory) { FrameFactory() = std::move(factory); }
void TSkinManage::SetPopupFactory(TSkinPopupFactory factory) { PopupFactory() = std::move(factory); }

TSkinManage::TSkinManage(bool moduleMode) {
  if (moduleMode) ModuleInstance = GetModuleHandleW(nullptr);
  Enabled = false;
  RunState = 0;
  actionTimer_ = std::make_unique<TTimer>(nullptr);
  actionTimer_->SetEnabled(false);
  actionTimer_->SetInterval(100);
  actionTimer_->OnTimer = [this](TObject*) { OnActionTimer(); };
}

TSkinManage::~TSkinManage() {
  RunState = 4;
  Enabled = false;
  actionTimer_.reset();
  if (!skinForms_.empty()) FreeAllForms();
  skinForms_.clear();
  skinPopups_.clear();
  skinDatas_.clear();
  if (cbtHook_ != nullptr) UnhookWindowsHookEx(cbtHook_);
  cbtHook_ = nullptr;
  if (hookedManager == this) hookedManager = nullptr;
}

void TSkinManage::AddSkinData(TSkinData* skinData) {
  if (skinData == nullptr) return;
  skinDatas_.push_back(skinData);
  if (MainSkinData == nullptr && skinData->SkinFormtype() == sfMainform) MainSkinData = skinData;
}

void TSkinManage::RemoveSkinData(TSkinData* skinData) {
  skinDatas_.erase(std::remove(skinDatas_.begin(), skinDatas_.end(), skinData), skinDatas_.end());
  if (MainSkinData == skinData) MainSkinData = nullptr;
  if (ActionSkinData == skinData) ActionSkinData = nullptr;
  // Frames must not paint with a skin that is going away.
  for (size_t i = skinForms_.size(); i-- > 0;) {
    if (skinForms_[i]->SkinData == skinData && RunState != 4) UnskinAndFree(i);
  }
}

void TSkinManage::InstallHook() {
  VersionWord = GetVersion();
  if (cbtHook_ != nullptr) return;
  cbtHook_ = SetWindowsHookExA(WH_CBT, &CbtHookStub, nullptr, GetCurrentThreadId());
  hookedManager = this;
}

void TSkinManage::RequestAction(int32_t action, int32_t delayMs) {
  PendingAction = action;
  actionTimer_->SetInterval(std::max<int32_t>(delayMs, 1));
  if (RunState == 0) {
    if (action == kActionStart) Enabled = true;
    if (action == kActionStop) Enabled = false;
    return;
  }
  // No linked managers exist in this program.
  actionTimer_->SetEnabled(true);
}

bool TSkinManage::TimerEnabled() const { return actionTimer_ && actionTimer_->Enabled(); }
int32_t TSkinManage::TimerInterval() const { return actionTimer_ ? actionTimer_->Interval() : 0; }

void TSkinManage::NotifySkinChanged() {
  for (auto& frame : skinForms_)
    if (frame->SkinData == ActionSkinData) frame->FreeButtons();
}

LRESULT TSkinManage::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  const HWND window = reinterpret_cast<HWND>(wParam);
  switch (code) {
    case HCBT_CREATEWND: {
      const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
      const CREATESTRUCTA* cs = create != nullptr ? create->lpcs : nullptr;
      if (cs == nullptr) break;
      const std::string className = WindowClassName(window);
      if (className == "ScrollBar" && (cs->style & SBS_SIZEGRIP) != 0) {
        if (TSkinFrameBase* frame = FindSkinForm(cs->hwndParent)) frame->SkinChildWindow(window);
      }
      if ((cs->style & WS_CHILD) == 0 && className == "#32768") AttachPopup(window);
      if ((cs->dwExStyle & WS_EX_MDICHILD) != 0) SkinWindow(window);
      break;
    }
    case HCBT_DESTROYWND:
      DetachPopup(window);
      break;
    case HCBT_ACTIVATE:
      if (RunState == 0) RunState = 1;
      SkinWindow(window);
      break;
    default:
      break;
  }
  return CallNextHookEx(cbtHook_, code, wParam, lParam);
}

bool TSkinManage::SkinWindow(HWND window) {
  if (!Enabled || window == nullptr || !IsWindow(window)) return false;
  PurgeSkinForms();
  if (SendMessageW(window, SKM_QUERYSKIN, 0, 0) == 1) return false;
  if (FindSkinForm(window) != nullptr) return false;
  TWinControl* control = FrameworkControlOf(window);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  const std::string className = WindowClassName(window);
  if (!BulkStart && (style & WS_CHILD) != 0 && (exStyle & WS_EX_MDICHILD) == 0 &&
      Lower(WindowClassName(GetParent(window))) == "mdiclient")
    return false;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  if (control == nullptr && instance != GetModuleHandleW(nullptr) && className != "#32770")
    return false;
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const long area = static_cast<long>(bounds.right - bounds.left) * (bounds.bottom - bounds.top);
  if (area == 0 && (exStyle & WS_EX_MDICHILD) == 0) return false;
  if (control != nullptr && control->Tag() == 99) return false;
  if (className.find("TcxPopupEditPopupWindow") != std::string::npos ||
      className.find("TTERenderWindow") != std::string::npos || className == "TApplication")
    return false;
  if (!WantSkin(window, className)) return false;
  TSkinData* data = FindSkinData(window);
  if (data == nullptr || data->SkinEmpty) return false;
  if (!FrameFactory()) return false;
  std::unique_ptr<TSkinFrameBase> frame =
      FrameFactory()(*this, window, dynamic_cast<TCustomForm*>(control), data, className);
  if (!frame) return false;
  frame->ModuleInstance = ModuleInstance;
  skinForms_.push_back(std::move(frame));
  PostMessageW(window, SKM_INITSKIN, 0, kInitSkinLParam);
  return true;
}

bool TSkinManage::SkinForm(TCustomForm* form) {
  if (form == nullptr || !form->Visible() || !form->HandleAllocated()) return true;
  // A form placed inside another window keeps its plain look; an MDI child is a child
  // window too, but one with a frame of its own that gets skinned like any form.
  const HWND window = form->Handle();
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0 &&
      (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) == 0)
    return true;
  return SkinWindow(window);
}

void TSkinManage::SkinAllForms() {
  if (Application == nullptr) return;
  // MDI children after the forms: a child's frame reaches its MDI client through the
  // MDI form's frame, which must be there first.
  std::vector<TCustomForm*> children;
  for (int i = Application->FormCount(); i-- > 0;) {
    TCustomForm* form = Application->Forms(i);
    if (form != nullptr && form->HandleAllocated() &&
        (GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD) != 0)
      children.push_back(form);
    else
      SkinForm(form);
  }
  for (TCustomForm* child : children) SkinForm(child);
}

TSkinFrameBase* TSkinManage::FindSkinForm(HWND window) const {
  for (const auto& frame : skinForms_)
    if (frame->Window == window) return frame.get();
  return nullptr;
}

std::unique_ptr<TSkinFrameBase> TSkinManage::RemoveSkinForm(HWND window) {
  if (RunState == 4) return nullptr;
  for (auto it = skinForms_.begin(); it != skinForms_.end(); ++it) {
    if ((*it)->Window == window) {
      std::unique_ptr<TSkinFrameBase> frame = std::move(*it);
      skinForms_.erase(it);
      return frame;
    }
  }
  return nullptr;
}

void TSkinManage::PurgeSkinForms() {
  if (RunState == 4) return;
  for (size_t i = skinForms_.size(); i-- > 0;) {
    if (skinForms_[i]->State == kFrameDead && skinForms_[i]->ModuleInstance == ModuleInstance) {
      std::unique_ptr<TSkinFrameBase> frame = std::move(skinForms_[i]);
      skinForms_.erase(skinForms_.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

void TSkinManage::FreeDeadForms() {
  if (RunState == 4) return;
  for (size_t i = skinForms_.size(); i-- > 0;) {
    if (skinForms_[i]->State == kFrameDead) {
      std::unique_ptr<TSkinFrameBase> frame = std::move(skinForms_[i]);
      skinForms_.erase(skinForms_.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

void TSkinManage::FreeAllForms() {
  Enabled = false;
  for (size_t i = skinForms_.size(); i-- > 0;) {
    if (skinForms_[i]->ModuleInstance != ModuleInstance) continue;
    std::unique_ptr<TSkinFrameBase> frame = std::move(skinForms_[i]);
    skinForms_.erase(skinForms_.begin() + static_cast<std::ptrdiff_t>(i));
    if (frame->State != kFrameDead) frame->Detach();
  }
}

void TSkinManage::UnskinAndFree(size_t index) {
  std::unique_ptr<TSkinFrameBase> frame = std::move(skinForms_[index]);
  skinForms_.erase(skinForms_.begin() + static_cast<std::ptrdiff_t>(index));
  const HWND window = frame->Window;
  if (frame->State != kFrameDead) frame->Unskin();
  frame.reset();
  if (IsWindow(window)) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  }
}

bool TSkinManage::AttachPopup(HWND window) {
  if (!Enabled) return false;
  if (SendMessageW(window, SKM_QUERYSKIN, 0, 0) == 1) return false;
  if (IsPopupSkinned(window)) return false;
  TSkinData* data = FindSkinData(window);
  if (data == nullptr || data->SkinEmpty) return false;
  const TSkinControlTypes kinds = data->SkinControls();
  const bool allowed =
      (MenuKind == kMenuKindPopup && kinds.Contains(xcPopupMenu)) ||
      (MenuKind == kMenuKindMenuBar && (kinds.Contains(xcMainMenu) || kinds.Contains(xcMenuItem))) ||
      (MenuKind == kMenuKindSystem && kinds.Contains(xcSystemMenu));
  if (!allowed || !PopupFactory()) return false;
  std::unique_ptr<TSkinPopupBase> popup = PopupFactory()(*this, window, data);
  if (!popup) return false;
  popup->Window = window;
  skinPopups_.push_back(std::move(popup));
  return true;
}

bool TSkinManage::DetachPopup(HWND window) {
  bool found = false;
  for (auto it = skinPopups_.begin(); it != skinPopups_.end(); ++it) {
    if ((*it)->Window == window) {
      std::unique_ptr<TSkinPopupBase> popup = std::move(*it);
      skinPopups_.erase(it);
      found = true;
      break;
    }
  }
  if (skinPopups_.empty()) MenuKind = kMenuKindPopup;
  return found;
}

bool TSkinManage::IsPopupSkinned(HWND window) const {
  return std::any_of(skinPopups_.begin(), skinPopups_.end(),
                     [window](const auto& popup) { return popup->Window == window; });
}

void TSkinManage::AssignPopupMenu(HMENU menu) {
  for (size_t i = skinPopups_.size(); i-- > 0;) {
    if (skinPopups_[i]->Menu == nullptr) {
      skinPopups_[i]->Menu = menu;
      return;
    }
  }
}

TBitmap* TSkinManage::PopupBackground(HMENU menu) const {
  for (const auto& popup : skinPopups_)
    if (popup->Menu == menu) return popup->Background();
  return nullptr;
}

void TSkinManage::SetMdiMaximised(bool value) {
  if (value == MdiMaximised) return;
  MdiMaximised = value;
  if (MainSkinData != nullptr && MainSkinData->Options().Contains(xoMDIChildBorder)) return;
  for (auto& frame : skinForms_) {
    if (frame->MdiRole != 2) continue;
    if (value) {
      if (frame->HasRegion()) frame->DropRegion();
    } else {
      if (IsIconic(frame->Window)) continue;
      frame->DisplayState = 0;
      frame->BuildRegion();
      if (!frame->HasRegion())
        SetWindowPos(frame->Window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

bool TSkinManage::WantSkin(HWND window, const std::string& className) const {
  if (MainSkinData == nullptr) return true;
  const std::string lower = Lower(className);
  if (!MainSkinData->Options().Contains(xoPreview) && lower.find("preview") != std::string::npos)
    return false;
  if (className == "#32770" && (GetWindowLongW(window, GWL_STYLE) & DS_SETFOREGROUND) != 0)
    return false;
  if (lower == "tpopupdbtreeview") return false;
  bool doSkin = true;
  MainSkinData->DoFormSkin(window, className, doSkin);
  return doSkin;
}

TSkinData* TSkinManage::FindSkinData(HWND window) const {
  TSkinData* found = nullptr;
  for (TSkinData* data : skinDatas_) {
    if (data->SkinFormtype() != sfOnlyThisForm) continue;
    TWinControl* owner = OwnerFormOf(data);
    if (owner != nullptr && owner->HandleAllocated() && owner->Handle() == window) found = data;
  }
  if (found != nullptr) return found;
  const std::string lower = Lower(WindowClassName(window));
  if (lower == "tmessageform" || lower == "#32770") {
    for (size_t i = skinDatas_.size(); i-- > 0;)
      if (skinDatas_[i]->SkinFormtype() == sfDialog) return skinDatas_[i];
  }
  for (size_t i = skinDatas_.size(); i-- > 0;)
    if (skinDatas_[i]->SkinFormtype() == sfMainform) return skinDatas_[i];
  return skinDatas_.empty() ? nullptr : skinDatas_.front();
}

void TSkinManage::OnActionTimer() {
  try {
    RunPendingAction();
  } catch (...) {
    // The skinning engine never stops the program.
  }
}

void TSkinManage::RunPendingAction() {
  actionTimer_->SetEnabled(false);
  TSkinData* data = ActionSkinData;
  if (data == nullptr) return;
  const int32_t action = PendingAction;
  if (data->SkinFormtype() == sfOnlyThisForm) {
    TWinControl* owner = OwnerFormOf(data);
    switch (action) {
      case kActionStart:
        Enabled = true;
        BulkStart = true;
        if (Application != nullptr) {
          for (int i = Application->FormCount(); i-- > 0;)
            if (Application->Forms(i) == owner) SkinForm(Application->Forms(i));
        }
        BulkStart = false;
        break;
      case kActionStop:
        Enabled = false;
        PurgeSkinForms();
        for (size_t i = skinForms_.size(); i-- > 0;) {
          if (skinForms_[i]->SkinData == data) {
            UnskinAndFree(i);
            break;
          }
        }
        break;
      case kActionRefresh:
        PurgeSkinForms();
        for (auto& frame : skinForms_) {
          if (frame->SkinData == data) {
            frame->FreeButtons();
            frame->RebuildLayout();
            frame->Refresh();
            break;
          }
        }
        break;
      case kActionPurge:
        FreeDeadForms();
        break;
      default:
        break;
    }
  } else {
    switch (action) {
      case kActionStart:
        Enabled = true;
        BulkStart = true;
        PurgeSkinForms();
        SkinAllForms();
        BulkStart = false;
        break;
      case kActionStop:
        Enabled = false;
        PurgeSkinForms();
        while (!skinForms_.empty()) UnskinAndFree(0);
        break;
      case kActionRefresh:
        PurgeSkinForms();
        for (auto& frame : skinForms_) {
          if (frame->SkinData != data) continue;
          frame->FreeButtons();
          frame->RebuildLayout();
        }
        for (auto& frame : skinForms_)
          if (frame->SkinData == data) frame->Refresh();
        break;
      case kActionPurge:
        FreeDeadForms();
        break;
      case kActionReskin:
        if (TSkinFrameBase* frame = FindSkinForm(ReskinWindow)) {
          frame->Unskin();
          frame->State = kFrameDead;
          PurgeSkinForms();
          SkinWindow(ReskinWindow);
        }
        return;
      default:
        break;
    }
  }
  data->DoSkinChanged();
  ActionSkinData = nullptr;
}
