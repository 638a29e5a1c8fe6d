// The frame's life and message handling: set-up, the deferred SKM_INITSKIN, layout,
// resizing under the new borders, WM_NCCALCSIZE, the three-stage window procedure, and
// giving the window back (Detach, Unskin).
#include "skin/form/WinSkinForm.h"

#include <utility>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/form/ControlDiscovery.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinMenu.h"
#include "skin/form/WinSkinPopMenu.h"

namespace {

// The window property that leads the shared window procedure to its frame.
constexpr wchar_t kFrameProperty[] = L"PtestSkinFrame";
// The themed caption-drawing message.
constexpr UINT kThemedCaptionMessage = 0xAE;

TWinSkinForm* FrameOf(HWND window) {
  return static_cast<TWinSkinForm*>(GetPropW(window, kFrameProperty));
}

}  // namespace

TWinSkinForm::TWinSkinForm(TSkinManage& manager, HWND window, const std::string& className)
    : ClassName(className), Manager(manager) {
  Window = window;
  DoubleClickTime = GetDoubleClickTime();
  NONCLIENTMETRICSW metrics;
  if (SystemNonClientMetrics(metrics))
    titleFont_.Reset(CreateFontIndirectW(&metrics.lfCaptionFont));
}

TWinSkinForm::~TWinSkinForm() {
  // The window must never keep a procedure that points at a freed object.
  if (procInstalled_ && IsWindow(Window)) RestoreWindowProc();
  ForgetMdiClient();
  HotObject = nullptr;
  Buttons.clear();
  if (ScaledIcon != nullptr) DestroyIcon(ScaledIcon);
}

void TWinSkinForm::InitForForm(TSkinData* skinData, TCustomForm* form) {
  FrameworkForm = form;
  if (skinData->OnBeforeSkinForm) skinData->OnBeforeSkinForm(form, Window, ClassName);
  Setup(skinData);
  if (DrawFrame && form != nullptr) {
    savedWindowProc_ = form->WindowProc;
    formProcReplaced_ = true;
    form->WindowProc = [this](TMessage& message) { FormMessage(message); };
  }
  if (form != nullptr) {
    savedColor_ = form->Color();
    colorSaved_ = true;
    form->SetColor(skinData->ButtonFaceColour);
    labelColours_.Apply(form, skinData->ButtonTextColour);
  }
}

void TWinSkinForm::RestoreFormColours() {
  if (FrameworkForm != nullptr && colorSaved_ && State != kFrameDetaching) {
    FrameworkForm->SetColor(savedColor_);
    labelColours_.Restore(FrameworkForm);
  }
  colorSaved_ = false;
}

void TWinSkinForm::InitForWindow(TSkinData* skinData) { Setup(skinData); }

void TWinSkinForm::Setup(TSkinData* skinData) {
  if (procInstalled_) return;
  Manager.RunState = 1;
  SkinData = skinData;
  hoverTimer_ = std::make_unique<TTimer>(nullptr);
  hoverTimer_->SetEnabled(false);
  hoverTimer_->SetInterval(250);
  hoverTimer_->OnTimer = [this](TObject*) { OnHoverTimer(); };

  DrawFrame = skinData->SkinControls().Contains(xcMainMenu);
  Style = GetWindowLongW(Window, GWL_STYLE);
  ExStyle = GetWindowLongW(Window, GWL_EXSTYLE);
  RightToLeft = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  IsChild = (Style & WS_CHILD) != 0;
  WindowClass = WindowClassName(Window);
  const HWND owner = GetWindow(Window, GW_OWNER);

  ButtonSet = 0;
  if ((Style & WS_SYSMENU) != 0) ButtonSet |= kHasSystemMenu;
  if ((Style & WS_MINIMIZEBOX) != 0) ButtonSet |= kHasMinimiseBox;
  if ((Style & WS_MAXIMIZEBOX) != 0) ButtonSet |= kHasMaximiseBox;
  if ((ExStyle & WS_EX_CONTEXTHELP) != 0) ButtonSet |= kHasHelpBox;
  ReadDisplayState();

  for (HWND child = GetTopWindow(Window); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowClassName(child) == "MDIClient") {
      MdiRole = 1;
      OwnMdiClient = child;
      Manager.MdiClient = child;
      Manager.MdiMainForm = FrameworkForm;
      break;
    }
  }
  if ((ExStyle & WS_EX_MDICHILD) != 0) {
    MdiRole = 2;
    if (skinData->Options().Contains(xoMDIChildBorder)) DrawFrame = false;
  }

  if ((Style & WS_CAPTION) != WS_CAPTION) {
    Kind = kKindNoCaption;
  } else if ((Style & WS_THICKFRAME) != 0) {
    Kind = kKindSizeable;
  } else if ((Style & DS_MODALFRAME) != 0) {
    Kind = kKindDialog;
  } else {
    Kind = kKindFixed;
  }
  if ((ExStyle & WS_EX_DLGMODALFRAME) != 0) Kind = kKindDialog;
  if (WindowClass == "#32770" || WindowClass == "TMessageForm") {
    Kind = kKindDialog;
    SystemDialog = true;
  }
  const DWORD version = Manager.VersionWord != 0 ? Manager.VersionWord : GetVersion();
  const int major = LOBYTE(LOWORD(version));
  const int minor = HIBYTE(LOWORD(version));
  if (major > 4 && minor == 0 && ((ExStyle & WS_EX_APPWINDOW) != 0 || (owner == nullptr && MdiRole != 2)))
    ButtonSet |= kKeepSystemMenuStyle;
  if ((version & 0x80000000u) != 0) {
    TSkinControlTypes kinds = skinData->SkinControls();
    kinds.Exclude(xcSystemMenu);
    skinData->SetSkinControls(kinds);
  }

  Unicode = IsWindowUnicode(Window) != FALSE;
  SetPropW(Window, kFrameProperty, this);
  const LONG_PTR stub = reinterpret_cast<LONG_PTR>(&TWinSkinForm::WindowProcStub);
  PreviousWndProc = reinterpret_cast<WNDPROC>(Unicode ? SetWindowLongPtrW(Window, GWLP_WNDPROC, stub)
                                                      : SetWindowLongPtrA(Window, GWLP_WNDPROC, stub));
  procInstalled_ = true;

  if (DrawFrame) {
    CreateMenuBar();
    RebuildLayout();
  } else {
    State = kFrameActive;
  }
  if (MdiRole == 2) {
    const int wanted = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (TopHeight < wanted) MenuHeight = wanted - TopHeight;
    if (DisplayState == 1 && !Manager.MdiMaximised) Manager.SetMdiMaximised(true);
  }
}

void TWinSkinForm::ReadDisplayState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(Window, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      DisplayState = 2;
      break;
    case SW_SHOWMAXIMIZED:
      DisplayState = 1;
      break;
    default:
      DisplayState = 0;
      break;
  }
}

void TWinSkinForm::InitSkin() {
  SystemMenu = GetSystemMenu(Window, FALSE);
  RECT client{};
  GetClientRect(Window, &client);
  ClientRect = client;
  RECT bounds{};
  GetWindowRect(Window, &bounds);
  SavedNonClient = {(bounds.right - bounds.left) - client.right, (bounds.bottom - bounds.top) - client.bottom};
  // The frame was made when an activation began (or while another window was active):
  // the first paint shows the activation as it stands now.
  if (MdiRole != 2) Active = GetActiveWindow() == Window;
  if (!Discovery) Discovery = std::make_unique<TControlDiscovery>(SkinData, Window, DrawFrame);
  if (FrameworkForm != nullptr)
    Discovery->DiscoverForm(FrameworkForm);
  else
    Discovery->DiscoverWindow(Window);
  if (State == kFrameAttached) {
    if (MdiRole == 2) {
      if (DisplayState == 1) {
        PostMessageW(MdiClientWindow(), SKM_REDRAWMDI, reinterpret_cast<WPARAM>(Window), 0);
      } else if (DisplayState == 0) {
        State = kFrameFirstResize;
        ResizeToFrame(true);
        State = kFrameActive;
        BuildRegion();
      }
    } else if (!IsChild && Kind != kKindNoCaption && DisplayState != 2) {
      State = kFrameFirstResize;
      ResizeToFrame(true);
      State = kFrameActive;
      if (DisplayState == 0) {
        BuildRegion();
      } else {
        SetWindowPos(Window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  }
  SendMessageW(Window, SKM_SKINNED, 0, SKIN_MAGIC);
  if (SkinData != nullptr && SkinData->OnAfterSkinForm)
    SkinData->OnAfterSkinForm(FrameworkForm, Window, ClassName);
  State = kFrameActive;
  if (hoverTimer_ && Active && GetForegroundWindow() == Window) hoverTimer_->SetEnabled(true);
}

void TWinSkinForm::RebuildLayout() {
  if (SkinData == nullptr || SkinData->SkinEmpty) return;
  if (Kind == kKindNoCaption) {
    LeftWidth = TopHeight = RightWidth = BottomHeight = 0;
    MenuHeight = 0;
  } else {
    auto frames = [](const TDataSkinObject& e) { return e.FrameCount > 0 ? e.FrameCount : 1; };
    auto width = [](const TDataSkinObject& e) { return e.Bitmap ? e.Bitmap->Width() : 0; };
    auto height = [](const TDataSkinObject& e) { return e.Bitmap ? e.Bitmap->Height() : 0; };
    TopHeight = height(*SkinData->BorderTop) / frames(*SkinData->BorderTop);
    BottomHeight = height(*SkinData->BorderBottom) / frames(*SkinData->BorderBottom);
    LeftWidth = width(*SkinData->BorderLeft) / frames(*SkinData->BorderLeft);
    RightWidth = width(*SkinData->BorderRight) / frames(*SkinData->BorderRight);
  }
  FreeButtons();
  for (auto& element : SkinData->SysButtons) {
    if (!element) continue;
    if (element->Action == 3 || element->Action == 11) {
      // The icon button shows the program's icon; a skin gives it no picture of its own.
      BuildIconBitmap();
      if (IconBitmap) {
        if (!element->Bitmap || element->Bitmap->Empty()) {
          element->Bitmap = std::make_unique<TBitmap>();
          element->Bitmap->Assign(IconBitmap.get());
        }
        if (!SkinData->AppIconBitmap || SkinData->AppIconBitmap->Empty()) {
          SkinData->AppIconBitmap = std::make_unique<TBitmap>();
          SkinData->AppIconBitmap->Assign(IconBitmap.get());
        }
      }
      element->FrameCount = 1;
    }
    auto button = std::make_unique<TWinSysButton>(this, element.get());
    button->Enabled = 1;
    Buttons.push_back(std::move(button));
  }
}

void TWinSkinForm::FreeButtons() {
  HotObject = nullptr;
  Buttons.clear();
}

void TWinSkinForm::ResizeToFrame(bool initial) {
  if (DisplayState == 1) {
    SetWindowPos(Window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  int clientWidth = ClientRect.right;
  int clientHeight = ClientRect.bottom;
  if (!initial && (SystemDialog || State == kFrameRefreshing)) {
    RECT client{};
    GetClientRect(Window, &client);
    clientWidth = client.right;
    clientHeight = client.bottom;
  }
  int width = clientWidth + LeftWidth + RightWidth;
  const int height = clientHeight + TopHeight + BottomHeight + MenuHeight;
  if (SystemDialog && initial && titleFont_) {
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, titleFont_.Get());
    const std::wstring text = CaptionPrefix + WindowText() + CaptionSuffix;
    SIZE extent{};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const RECT& margins = SkinData->Title->Margins;
    const int needed = margins.left + extent.cx + margins.right;
    if (needed > width) {
      const int shift = (needed - width) / 2;
      for (HWND child = GetTopWindow(Window); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      width = needed;
    }
  }
  SetWindowPos(Window, nullptr, 0, 0, width, height,
               SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

LRESULT TWinSkinForm::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (PreviousWndProc == nullptr) return Unicode ? DefWindowProcW(Window, msg, wParam, lParam)
                                                 : DefWindowProcA(Window, msg, wParam, lParam);
  return Unicode ? CallWindowProcW(PreviousWndProc, Window, msg, wParam, lParam)
                 : CallWindowProcA(PreviousWndProc, Window, msg, wParam, lParam);
}

LRESULT CALLBACK TWinSkinForm::WindowProcStub(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinSkinForm* frame = FrameOf(window);
  if (frame == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
  try {
    return frame->WindowProc(msg, wParam, lParam);
  } catch (...) {
    // Painting and hit-testing failures are swallowed; the window goes on working.
    return 0;
  }
}

LRESULT TWinSkinForm::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const bool foreign = FrameworkForm == nullptr;
  switch (msg) {
    case WM_NCHITTEST:
      if (State == kFrameAttached) return 0;
      break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      const LRESULT result = CallPrevious(msg, wParam, lParam);
      if (!foreign) return result;
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      // The skin's text colour on the skin's face (a dark skin needs light text).
      if (SkinData != nullptr) SetTextColor(reinterpret_cast<HDC>(wParam), ColorToRGB(SkinData->ButtonTextColour));
      if (msg == WM_CTLCOLORSTATIC && SkinData != nullptr)
        return reinterpret_cast<LRESULT>(SkinData->ButtonFaceBrush.Get());
      return result;
    }
    case WM_NCACTIVATE:
      if (State == kFrameAttached && MdiRole != 2) return 0;
      break;
    case WM_ERASEBKGND: {
      if (!foreign || SkinData == nullptr) return CallPrevious(msg, wParam, lParam);
      CallPrevious(msg, wParam, lParam);
      RECT client{};
      GetClientRect(Window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, SkinData->ButtonFaceBrush.Get());
      return 1;
    }
    case WM_NCDESTROY: {
      State = kFrameDetaching;
      Detach();
      const LRESULT result = CallPrevious(msg, wParam, lParam);
      State = kFrameDead;
      return result;
    }
    case kThemedCaptionMessage:
      return 0;
    case WM_INITMENUPOPUP:
      Manager.MenuKind = reinterpret_cast<HMENU>(wParam) == SystemMenu ? kMenuKindSystem : kMenuKindMenuBar;
      return CallPrevious(msg, wParam, lParam);
    case SKM_INITSKIN:
      InitSkin();
      return 0;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_MENUCHAR:
    case SKM_MENUBARCLICK: {
      LRESULT menuResult = 0;
      if (MenuMessage(msg, wParam, lParam, menuResult)) return menuResult;
      break;
    }
    case SKM_RESKINSCROLL:
      if (Discovery) Discovery->ReskinScroll(reinterpret_cast<HWND>(wParam));
      return 0;
    case SKM_QUERYSKIN:
      PostMessageW(Window, SKM_SKINNED, 0, SKIN_MAGIC);
      return 1;
    default:
      break;
  }
  if (!DrawFrame) return CallPrevious(msg, wParam, lParam);
  LRESULT result = 0;
  if (Stage2(msg, wParam, lParam, result)) return result;
  return Stage3(msg, wParam, lParam);
}

bool TWinSkinForm::Stage2(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (IsChild && MdiRole != 2) {
    result = CallPrevious(msg, wParam, lParam);
    return true;
  }
  switch (msg) {
    case WM_SYSCOMMAND:
      if (OnSysCommand(wParam, lParam)) {
        result = 1;
      } else {
        result = CallPrevious(msg, wParam, lParam);
      }
      return true;
    case WM_COMMAND: {
      const WORD command = LOWORD(wParam);
      switch (command & 0xFFF0) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE:
        case SC_NEXTWINDOW: case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
          if ((command & 0xF000) == 0xF000) {
            PostMessageW(Window, WM_SYSCOMMAND, command, 0);
            result = 0;
            return true;
          }
          break;
        default:
          break;
      }
      result = CallPrevious(msg, wParam, lParam);
      return true;
    }
    case WM_WINDOWPOSCHANGED:
      ReadDisplayState();
      result = CallPrevious(msg, wParam, lParam);
      return true;
    case WM_ACTIVATE:
      Active = LOWORD(wParam) != WA_INACTIVE;
      return false;
    case WM_GETMINMAXINFO:
      result = CallPrevious(msg, wParam, lParam);
      ReadDisplayState();
      return true;
    default:
      return false;
  }
}

LRESULT TWinSkinForm::Stage3(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (State == kFrameAttached || (MdiRole == 2 && DisplayState == 1))
    return CallPrevious(msg, wParam, lParam);
  LRESULT result = 0;
  switch (msg) {
    case WM_NCCALCSIZE:
      return OnNcCalcSize(wParam, lParam);
    case WM_NCHITTEST:
      return OnNcHitTest(wParam, lParam);
    case WM_NCPAINT:
      return OnNcPaint(wParam, lParam);
    case WM_NCACTIVATE:
      return OnNcActivate(wParam, lParam);
    case WM_SIZE:
      OnSize(wParam, lParam);
      return 0;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
      if (OnNcMouse(msg, wParam, lParam, result)) return result;
      return CallPrevious(msg, wParam, lParam);
    case SKM_REDRAWFRAME:
      PaintFrame(nullptr);
      return 0;
    default:
      return CallPrevious(msg, wParam, lParam);
  }
}

LRESULT TWinSkinForm::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  // The system's own answer first (it may keep state of its own), then ours.
  RECT proposed{};
  if (wParam != 0) proposed = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
  else if (lParam != 0) proposed = *reinterpret_cast<RECT*>(lParam);
  const LRESULT previous = CallPrevious(WM_NCCALCSIZE, wParam, lParam);
  if (wParam == 0) {
    // The window rectangle (as given, before the system took its own borders off)
    // becomes the client rectangle under our borders.
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (Kind != kKindNoCaption && rect != nullptr) {
      const RECT window = proposed;
      rect->left = window.left + LeftWidth;
      rect->top = window.top + TopHeight + MenuHeight;
      rect->right = window.right - RightWidth;
      rect->bottom = window.bottom - BottomHeight;
    }
    (void)previous;
    return 0;
  }
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  if ((MdiRole == 2 && DisplayState != 0) || Kind == kKindNoCaption) {
    params->rgrc[1] = params->rgrc[0];
    return WVR_VALIDRECTS;
  }
  const WINDOWPOS* pos = params->lppos;
  RECT client{};
  if (pos != nullptr) {
    client = {pos->x + LeftWidth, pos->y + TopHeight + MenuHeight, pos->x + pos->cx - RightWidth,
              pos->y + pos->cy - BottomHeight};
  } else {
    client = {proposed.left + LeftWidth, proposed.top + TopHeight + MenuHeight,
              proposed.right - RightWidth, proposed.bottom - BottomHeight};
  }
  if (client.right < client.left) client.right = client.left;
  if (client.bottom < client.top) client.bottom = client.top;
  params->rgrc[0] = client;
  params->rgrc[1] = client;
  return WVR_VALIDRECTS;
}

LRESULT TWinSkinForm::OnNcPaint(WPARAM wParam, LPARAM lParam) {
  if ((ButtonSet & kKeepSystemMenuStyle) == 0) {
    const LONG style = GetWindowLongW(Window, GWL_STYLE);
    if ((style & WS_SYSMENU) != 0) SetWindowLongW(Window, GWL_STYLE, style & ~WS_SYSMENU);
  }
  if (SkinData != nullptr && SkinData->FramePaintAllowed) {
    if ((MdiRole == 2 && DisplayState == 1) || Kind == kKindNoCaption) {
      CallPrevious(WM_NCPAINT, wParam, lParam);
    } else {
      PaintFrame(nullptr);
    }
  }
  return 0;
}

LRESULT TWinSkinForm::OnNcActivate(WPARAM wParam, LPARAM lParam) {
  Active = wParam != 0;
  if (hoverTimer_) hoverTimer_->SetEnabled(Active);
  if (MdiRole == 1 && OwnMdiClient != nullptr) SendMessageW(OwnMdiClient, WM_NCACTIVATE, wParam, lParam);
  if (MdiRole == 2) CallPrevious(WM_NCACTIVATE, wParam, lParam);
  if (!(MdiRole == 2 && DisplayState == 1)) PaintFrame(nullptr);
  return 1;
}

void TWinSkinForm::OnSize(WPARAM wParam, LPARAM lParam) {
  CallPrevious(WM_SIZE, wParam, lParam);
  switch (wParam) {
    case SIZE_RESTORED: DisplayState = 0; break;
    case SIZE_MINIMIZED: DisplayState = 2; break;
    case SIZE_MAXIMIZED: DisplayState = 1; break;
    default: break;
  }
  if (DisplayState == 2) return;
  if (MdiRole == 2 && (Manager.MdiMaximised || DisplayState != 0)) return;
  if (State == kFrameActive || State == kFrameRefreshing) BuildRegion();
}

void TWinSkinForm::FormMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT:
      if (IsWindowVisible(Window)) {
        savedWindowProc_(message);
        if (DisplayState == 1 && MdiRole == 2) {
          PostMessageW(MdiClientWindow(), SKM_REDRAWMDI, reinterpret_cast<WPARAM>(Window), 0);
        } else if (DisplayState == 2) {
          PaintFrame(nullptr);
        } else {
          SetWindowPos(Window, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
      } else {
        savedWindowProc_(message);
      }
      return;
    case SKM_REFRESH:
      Refresh();
      return;
    case SKM_PAINTTO:
      if (message.LParam == SKIN_MAGIC) {
        if (message.WParam != 0) PaintFrame(reinterpret_cast<HDC>(message.WParam));
        message.Result = SKIN_MAGIC;
      }
      return;
    case SKM_PING:
      message.Result = message.LParam == SKIN_MAGIC ? SKIN_MAGIC : 1;
      return;
    case CM_DIALOGCHAR:
    case CM_MENUCHANGED:
      if (!MenuFormMessage(message)) savedWindowProc_(message);
      return;
    default:
      savedWindowProc_(message);
      return;
  }
}

void TWinSkinForm::Refresh() {
  if (FrameworkForm != nullptr && SkinData != nullptr && colorSaved_) {
    FrameworkForm->SetColor(SkinData->ButtonFaceColour);
    labelColours_.Apply(FrameworkForm, SkinData->ButtonTextColour);
  }
  if (Discovery) Discovery->UpdateSkins();
  const int32_t previous = State;
  State = kFrameRefreshing;
  if (DrawFrame && FrameworkForm != nullptr && previous != kFrameAttached) {
    ResizeToFrame(false);
    BuildRegion();
  }
  RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  SendMessageW(Window, SKM_SKINNED, 0, SKIN_MAGIC);
  if (SkinData != nullptr && SkinData->OnAfterSkinForm)
    SkinData->OnAfterSkinForm(FrameworkForm, Window, ClassName);
  State = previous == kFrameAttached ? kFrameAttached : kFrameActive;
}

void TWinSkinForm::StopHoverTimer() {
  if (hoverTimer_) hoverTimer_->SetEnabled(false);
}

void TWinSkinForm::RestoreWindowProc() {
  if (formProcReplaced_ && FrameworkForm != nullptr) {
    FrameworkForm->WindowProc = savedWindowProc_;
    formProcReplaced_ = false;
  }
  if (procInstalled_) {
    const LONG_PTR previous = reinterpret_cast<LONG_PTR>(PreviousWndProc);
    if (Unicode) {
      SetWindowLongPtrW(Window, GWLP_WNDPROC, previous);
    } else {
      SetWindowLongPtrA(Window, GWLP_WNDPROC, previous);
    }
    RemovePropW(Window, kFrameProperty);
    procInstalled_ = false;
  }
}

HWND TWinSkinForm::MdiClientWindow() const {
  // Each MDI form and child knows its own client: the manager's is only the latest one.
  if (MdiRole == 1) return OwnMdiClient;
  if (MdiRole == 2) return GetParent(Window);
  return Manager.MdiClient;
}

void TWinSkinForm::ForgetMdiClient() {
  // The manager must not keep pointing at an MDI client and form that may be gone next.
  if (MdiRole != 1 || Manager.MdiClient != OwnMdiClient) return;
  Manager.MdiClient = nullptr;
  Manager.MdiMainForm = nullptr;
}

void TWinSkinForm::Detach() {
  ForgetMdiClient();
  StopHoverTimer();
  HotObject = nullptr;
  if (Discovery) Discovery->Detach();
  // A window that lives on (the manager going away) gets its menu back.
  FreeMenuBar(State != kFrameDetaching && IsWindow(Window));
  RestoreWindowProc();
  RestoreFormColours();
  // The system frees a window's region with the window.
  hasRegion_ = false;
}

void TWinSkinForm::Unskin() {
  StopHoverTimer();
  HotObject = nullptr;
  if (Discovery) Discovery->Detach();
  if (!procInstalled_) return;
  RestoreWindowProc();
  RestoreFormColours();
  if (!DrawFrame) return;
  if ((ButtonSet & kKeepSystemMenuStyle) == 0 && (ButtonSet & kHasSystemMenu) != 0) {
    const LONG style = GetWindowLongW(Window, GWL_STYLE);
    SetWindowLongW(Window, GWL_STYLE, style | WS_SYSMENU);
  }
  if (State != kFrameDetaching && (MdiRole == 2 || !IsChild) && State != kFrameAttached) {
    RECT bounds{};
    GetWindowRect(Window, &bounds);
    POINT topLeft{bounds.left, bounds.top};
    if (MdiRole == 2) ScreenToClient(GetParent(Window), &topLeft);
    const int width = (bounds.right - bounds.left) - LeftWidth - RightWidth + SavedNonClient.cx;
    const int height = (bounds.bottom - bounds.top) - TopHeight - BottomHeight - MenuHeight + SavedNonClient.cy;
    SetWindowPos(Window, nullptr, topLeft.x, topLeft.y, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  FreeMenuBar(true);
  RemoveRegion();
  State = kFrameDead;
}

void TWinSkinForm::RemoveRegion() {
  if (!hasRegion_) return;
  // The system owns a region once SetWindowRgn took it, and frees it when replaced.
  SetWindowRgn(Window, nullptr, TRUE);
  hasRegion_ = false;
  RegionSize = {0, 0};
}

void TWinSkinForm::DropRegion() { RemoveRegion(); }

std::wstring TWinSkinForm::WindowText() const {
  if (Unicode) {
    const int length = GetWindowTextLengthW(Window);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = GetWindowTextW(Window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
  }
  char buffer[1000] = {};
  SendMessageA(Window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return AnsiToWide(buffer);
}

void TWinSkinForm::OnHoverTimer() {
  try {
    if (HotObject == nullptr || MenuLoop) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT point = ToFrameCoordinates(cursor);
    if (!PtInRect(&HotObject->Bounds, point)) {
      TNCObject* hot = HotObject;
      hot->MouseLeave();
      HotObject = nullptr;
    }
  } catch (...) {
  }
}

void TWinSkinForm::SkinChildWindow(HWND window) {
  if (!Discovery) Discovery = std::make_unique<TControlDiscovery>(SkinData, Window, DrawFrame);
  Discovery->SkinChildWindow(window);
}

void InstallSkinForms() {
  InstallSkinManager();
  InstallSkinPopMenus();
  TSkinManage::SetFrameFactory([](TSkinManage& manager, HWND window, TCustomForm* form,
                                  TSkinData* skinData, const std::string& className) {
    auto frame = std::make_unique<TWinSkinForm>(manager, window, className);
    if (form != nullptr) {
      frame->InitForForm(skinData, form);
    } else {
      frame->InitForWindow(skinData);
    }
    return std::unique_ptr<TSkinFrameBase>(std::move(frame));
  });
}
