// TWinSkinForm (unit WinSkinForm): the skinned frame of one top-level window. It measures
// the frame from the skin's border images, subclasses the window, answers the non-client
// messages itself (size, painting, hit-testing, caption buttons), paints borders, caption
// strip and caption text from the skin and gives the window a region cut from the border
// images' transparent pixels. Unskin gives the window back exactly as it was.
//
// The skin manager (skin/manager) makes one per accepted window through the factory that
// InstallSkinForms() installs, and owns it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "skin/form/FormLabelColours.h"
#include "skin/image/GdiOwners.h"
#include "skin/manager/SkinManage.h"

class TControlDiscovery;
class TMenuBtn;
class TPopupMenu;
class TWinSkinMenu;
class TBitmap;
class TCustomForm;
class TSkinData;
class TTimer;
class TWinSkinForm;
class TDataSkinSysButton;

// A clickable object of the non-client area (caption buttons; menu-bar buttons later).
class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm* owner) : Owner(owner) {}
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;
  virtual ~TNCObject() = default;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  virtual void MouseLeave();
  virtual void Paint() {}

  TWinSkinForm* Owner;
  RECT Bounds{0, 0, 0, 0};  // frame coordinates
  uint8_t Visible = 0;
  int32_t State = 1;  // 1 normal, 2 pressed, 3 hot
  uint8_t Enabled = 1;
};

// One caption button of the skin.
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm* owner, TDataSkinSysButton* element)
      : TNCObject(owner), Element(element) {}
  void Paint() override;

  TDataSkinSysButton* Element;
};

// Frame kinds.
inline constexpr uint8_t kKindSizeable = 0;
inline constexpr uint8_t kKindFixed = 1;
inline constexpr uint8_t kKindNoCaption = 2;
inline constexpr uint8_t kKindDialog = 3;
// ButtonSet bits.
inline constexpr uint8_t kHasMaximiseBox = 1;
inline constexpr uint8_t kHasMinimiseBox = 2;
inline constexpr uint8_t kHasHelpBox = 4;
inline constexpr uint8_t kHasSystemMenu = 8;
inline constexpr uint8_t kKeepSystemMenuStyle = 0x10;

class TWinSkinForm : public TSkinFrameBase {
 public:
  TWinSkinForm(TSkinManage& manager, HWND window, const std::string& className);
  ~TWinSkinForm() override;

  void InitForForm(TSkinData* skinData, TCustomForm* form);
  void InitForWindow(TSkinData* skinData);

  // TSkinFrameBase.
  void Unskin() override;
  void Detach() override;
  void FreeButtons() override;
  void RebuildLayout() override;
  void Refresh() override;
  void BuildRegion() override;
  void DropRegion() override;
  bool HasRegion() const override { return hasRegion_; }
  void SkinChildWindow(HWND window) override;

  // Painting (WinSkinFormPaint.cpp).
  void PaintFrame(HDC dc);
  // Caption buttons and commands (WinSkinFormButtons.cpp).
  void PlaceButtons();
  void PaintButtons(HDC dc);
  TNCObject* ButtonAt(POINT framePoint);
  POINT ToFrameCoordinates(POINT screenPoint) const;
  void ShowSystemMenu(POINT screenPoint);
  void ToggleMaximise();
  void ToggleMinimise();
  void Restore();
  // Draws the window icon at `bounds` (frame coordinates) on `dc`.
  void DrawIcon(HDC dc, const RECT& bounds);
  // The icon that DrawIcon draws: the application's (or else the window's) small icon.
  HICON WindowIcon() const;
  // Rebuilds IconBitmap from the window's icon (small-icon size, magenta around it).
  void BuildIconBitmap();
  // Menus (WinSkinMenuFrame.cpp): the skinned menu bar of a window with a menu, the
  // owner-draw messages of menu items, the bar's accelerators and the system menu.
  void CreateMenuBar();
  // Frees the bar; `restore` puts the window's menu back (client area kept).
  void FreeMenuBar(bool restore);
  TMenuBtn* MenuButtonAt(POINT framePoint) const;
  void OpenMenuButton(TMenuBtn* button);
  void PostMenuButtonClick(TMenuBtn* button);
  bool MenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // SC_KEYMENU: true when answered here.
  bool MenuKeyCommand(WPARAM wParam, LPARAM lParam);
  void PopupSystemMenu(POINT screenPoint);
  // Whether the button is shown now (both visibility codes and the action); sets its
  // Enabled byte.
  bool ButtonVisible(TWinSysButton& button);
  void ClickButton(TWinSysButton& button);

  // Fields read by the caption buttons and tests.
  std::string ClassName;
  std::string WindowClass;
  TCustomForm* FrameworkForm = nullptr;
  bool DrawFrame = false;
  WNDPROC PreviousWndProc = nullptr;
  bool Unicode = false;
  LONG Style = 0;
  LONG ExStyle = 0;
  uint8_t Kind = kKindSizeable;
  uint8_t ButtonSet = 0;
  bool Active = true;
  bool RightToLeft = false;
  bool IsChild = false;
  bool SystemDialog = false;
  int32_t LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
  int32_t MenuHeight = 0;
  RECT ClientRect{0, 0, 0, 0};
  SIZE SavedNonClient{0, 0};
  RECT ScreenRect{0, 0, 0, 0};
  int32_t FrameWidth = 0, FrameHeight = 0;
  SIZE RegionSize{0, 0};
  RECT CaptionTextRect{0, 0, 0, 0};
  int32_t ButtonsExtent = 0;
  std::wstring CaptionPrefix = L" ";
  std::wstring CaptionSuffix = L"  ";
  HMENU SystemMenu = nullptr;
  std::vector<std::unique_ptr<TWinSysButton>> Buttons;
  std::unique_ptr<TBitmap> IconBitmap;
  // The icon DrawIcon last scaled and its scaled copy (ours, destroyed with the frame).
  HICON ScaledIconSource = nullptr;
  HICON ScaledIcon = nullptr;
  TNCObject* HotObject = nullptr;
  DWORD LastMenuTick = 0;
  UINT DoubleClickTime = 0;
  TSkinManage& Manager;
  // The MDI client this frame registered with the manager (MdiRole 1).
  HWND OwnMdiClient = nullptr;
  // The MDI client this frame belongs to: its own (MDI form), its parent (MDI child).
  HWND MdiClientWindow() const;
  std::unique_ptr<TWinSkinMenu> MenuBar;
  // A menu-bar drop-down is being tracked.
  bool MenuLoop = false;
  HMENU OpenSubMenu = nullptr;
  std::unique_ptr<TPopupMenu> SystemMenuPopup;
  // The skinned controls inside the window (ControlDiscovery.h); made at SKM_INITSKIN.
  std::unique_ptr<TControlDiscovery> Discovery;

  // The window procedure stub (every skinned window shares it).
  static LRESULT CALLBACK WindowProcStub(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void Setup(TSkinData* skinData);
  void InitSkin();
  void ResizeToFrame(bool initial);
  void ReadDisplayState();
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  bool Stage2(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  LRESULT Stage3(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
  void OnSize(WPARAM wParam, LPARAM lParam);
  bool OnNcMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnSysCommand(WPARAM wParam, LPARAM lParam);
  void FormMessage(TMessage& message);
  // CM_DIALOGCHAR and CM_MENUCHANGED: true when handled here.
  bool MenuFormMessage(TMessage& message);
  void RestoreWindowProc();
  void RemoveRegion();
  void ForgetMdiClient();
  void RestoreFormColours();
  void OnHoverTimer();
  void PaintCaption(HDC dc, int width, int height, bool minimised);
  void DrawCaptionText(HDC dc, int captionWidth, int captionHeight);
  std::wstring WindowText() const;
  void StopHoverTimer();

  bool procInstalled_ = false;
  // The form's popup menus were given the skin's item painters.
  bool popupsOwnerDrawn_ = false;
  bool hasRegion_ = false;
  TWndMethod savedWindowProc_;
  bool formProcReplaced_ = false;
  TColor savedColor_ = 0;
  bool colorSaved_ = false;
  TFormLabelColours labelColours_;
  UniqueGdi<HFONT> titleFont_;
  std::unique_ptr<TTimer> hoverTimer_;
};

// Makes the skin manager attach TWinSkinForm frames (and skin components create the
// real manager).
void InstallSkinForms();
