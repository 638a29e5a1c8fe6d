// Skinned scroll bars. The platform draws scroll bars in the non-client area of their
// window (or as windows of their own), so they cannot be painted over: a small borderless
// child window (TWScrollbar) lies exactly over each native bar and paints the skinned bar.
// It scrolls nothing itself: a press is handed to the native bar underneath, whose own
// tracking loop does the scrolling and sends the usual WM_VSCROLL/WM_HSCROLL, which make
// the overlay repaint. TSkinScrollbar (framework controls), TSkinListView, TSkinScrollbarH
// (raw windows) and TSkinScControl (stand-alone scroll bar controls) own overlays;
// TComboxScrollBar paints a drop-down list's bar directly and runs its own thumb drag.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/controls/WinSubClass.h"

class TBitmap;

// Overlay kinds.
inline constexpr uint8_t kBarHorizontal = 0;
inline constexpr uint8_t kBarVertical = 1;
inline constexpr uint8_t kBarControl = 2;

// Parts (the platform's scroll codes).
inline constexpr int32_t kPartNone = -1;
inline constexpr int32_t kPartFirstArrow = SB_LINEUP;
inline constexpr int32_t kPartSecondArrow = SB_LINEDOWN;
inline constexpr int32_t kPartPageBefore = SB_PAGEUP;
inline constexpr int32_t kPartPageAfter = SB_PAGEDOWN;
inline constexpr int32_t kPartThumb = SB_THUMBTRACK;

// The geometry of one bar: its rectangle on the screen, the thumb in bar coordinates
// (arrows included) and the state word (STATE_SYSTEM_UNAVAILABLE, STATE_SYSTEM_INVISIBLE).
struct TScrollGeometry {
  RECT Bar{0, 0, 0, 0};
  int32_t ThumbTop = 0;
  int32_t ThumbBottom = 0;
  DWORD State = 0;
};

// The built-in bar of `host` (OBJID_VSCROLL or OBJID_HSCROLL); false when unavailable.
bool BuiltInBarGeometry(HWND host, bool vertical, TScrollGeometry& geometry);
// A stand-alone scroll bar control, from its position, range and page; `minimumThumb`
// keeps the thumb at least 8 pixels long.
bool ControlBarGeometry(HWND host, bool vertical, int arrowSize, bool minimumThumb, TScrollGeometry& geometry);

// What the painting of a bar needs besides the geometry.
struct TScrollPaintInput {
  uint8_t Kind = kBarVertical;
  bool Vertical = true;
  int32_t ArrowSize = 0;
  int32_t HotPart = kPartNone;
  bool Pressed = false;
  // While the thumb is pressed it follows the cursor from where it was at the press.
  POINT DragCursor{0, 0};
  int32_t DragThumbStart = 0;
  POINT Cursor{0, 0};
  // The size of the window the bar is painted into.
  SIZE Target{0, 0};
  // Every part in its normal frame (the drop-down list's bar).
  bool NoStates = false;
};

// The whole bar built off-screen (steps of the overlay paint); null when nothing is to be
// drawn (no skin strip, invisible bar, a bar larger than the target). Also returns the
// thumb where it was drawn and the bar length.
std::unique_ptr<TBitmap> BuildScrollBarImage(TSkinData* skinData, const TScrollGeometry& geometry,
                                             const TScrollPaintInput& input, int32_t& thumbStart,
                                             int32_t& thumbEnd, int32_t& barLength);

class TWScrollbar {
 public:
  explicit TWScrollbar(TSkinControl* ownerSkin);
  ~TWScrollbar();
  TWScrollbar(const TWScrollbar&) = delete;
  TWScrollbar& operator=(const TWScrollbar&) = delete;

  // Attaches to the bar of a framework control / a raw window and places the overlay.
  void Place(TSkinControl* ownerSkin, TControl* hostControl, uint8_t kind);
  void PlaceRaw(TSkinControl* ownerSkin, HWND host, uint8_t kind);
  void HideBar();
  void Reposition(HWND host);
  // The part under a point of the overlay.
  int32_t HitTest(POINT point) const;
  void Invalidate();
  void SetEnabled(bool enabled);
  HWND Window() const { return window_; }
  // The geometry of the covered bar now; false when unavailable.
  bool FetchGeometry(TScrollGeometry& geometry, bool minimumThumb = true) const;

  int32_t BarLength = 0;
  int32_t ThumbStart = 0;
  int32_t ThumbEnd = 0;
  POINT BarOrigin{0, 0};
  POINT DragCursor{0, 0};
  int32_t DragThumbStart = 0;
  int32_t Vertical = 1;
  int32_t HotPart = kPartNone;
  int32_t ArrowSize = 0;
  HWND Host = nullptr;
  TControl* HostControl = nullptr;
  TSkinControl* OwnerSkin = nullptr;
  uint8_t Kind = kBarVertical;
  RECT BarClientRect{0, 0, 0, 0};
  uint8_t Shown = 0;
  uint8_t Pressed = 0;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void MakeWindow(HWND parent);
  void Paint(HDC dc);
  void OnButtonDown(LPARAM lParam);
  void OnButtonUp(LPARAM lParam);

  HWND window_ = nullptr;
  // False once the overlay is freed (read after the native tracking loop returns).
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class TSkinScrollbar : public TSkinControl {
  FRAMEWORK_CLASS(TSkinScrollbar, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbar() override;
  virtual void InitScrollbars(TControl* control, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas);
  // The usual attach of the family is InitScrollbars.
  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  bool BeforeProc(TMessage& message) override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void UpdateSkin() override;
  void Unskin() override;
  // Unskinned (SKM_ENABLESKIN 0): the overlays hide and the native bars show.
  void ActiveChanged() override;

  std::unique_ptr<TWScrollbar> HorzBar;
  std::unique_ptr<TWScrollbar> VertBar;
  uint8_t HasBorder = 1;

 protected:
  void DrawBorder(HDC dc);
  void RepositionBars();

 private:
  // The form window that re-skins the control after its window is re-created, found
  // while the old window still exists.
  HWND reskinForm_ = nullptr;
};

class TSkinListView : public TSkinScrollbar {
  FRAMEWORK_CLASS(TSkinListView, TSkinScrollbar)

 public:
  using TSkinScrollbar::TSkinScrollbar;
  void InitScrollbars(TControl* control, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) override;

  // The skinned header of the list (made through the registry; owned by the list of the
  // form like every skinned object), or null.
  TSkinControlItem* Header = nullptr;
};

class TSkinScrollbarH : public TSkinControl {
  FRAMEWORK_CLASS(TSkinScrollbarH, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbarH() override;
  void InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void Unskin() override;
  void ActiveChanged() override;

  std::unique_ptr<TWScrollbar> HorzBar;
  std::unique_ptr<TWScrollbar> VertBar;
};

class TSkinScControl : public TSkinControl {
  FRAMEWORK_CLASS(TSkinScControl, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinScControl() override;
  void InitScrollControl(TControl* control, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas);
  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  // A raw scroll bar control ("ScrollBar" window with SBS_ styles).
  void InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void Unskin() override;
  void ActiveChanged() override;

  std::unique_ptr<TWScrollbar> Bar;
};

class TComboxScrollBar : public TSkinControl {
  FRAMEWORK_CLASS(TComboxScrollBar, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  void InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) override;
  bool BeforeProc(TMessage& message) override;
  void AfterProc(TMessage& message) override;
  void PaintWindow(HDC dc) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The thumb drag of a press on the bar; false when the press was not on the thumb.
  bool DragThumb(LPARAM lParam);
  // The position a thumb at `offset` pixels past the first arrow stands for (the list's
  // range and page in `info`; `track` the length between the arrows, `thumbLength`).
  static int32_t PositionForThumb(int32_t offset, int32_t track, int32_t thumbLength, const SCROLLINFO& info);

  int32_t ArrowSize = 0;
  int32_t BarLength = 0;
  int32_t ThumbStart = 0;
  int32_t ThumbEnd = 0;
};

// Registers the scroll-bar classes with control discovery (RegisterSkinControls).
void RegisterScrollbarControls();
