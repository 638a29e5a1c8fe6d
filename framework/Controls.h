// Controls: TControl (bounds, visibility, text, colour, font, hint, cursor, mouse),
// TWinControl (a window made on demand, children, tab order, focus), TGraphicControl
// (no window: painted and fed mouse messages by its parent) and TCustomControl.
//
// Every message of a control passes through its `WindowProc` (initially bound to the
// virtual WndProc). Whoever replaces it keeps the old value and calls it to pass a
// message on, and puts it back when done:
//
//   TWndMethod saved = button->WindowProc;
//   button->WindowProc = [&](TMessage& m) { Before(m); saved(m); After(m); };
//   ...
//   button->WindowProc = saved;
//
// A control's window carries the property named ControlAtomName() ("ControlOfs" followed
// by the module instance and the GUI thread id, 8 upper-case hex digits each) whose value
// is the TWinControl*; FindControl(window) reads it.
//
// The framework sends the CM_* notifications of Messages.h and reflects a child's
// WM_COMMAND, WM_NOTIFY, WM_HSCROLL/WM_VSCROLL, WM_DRAWITEM (and the other owner-draw and
// colour messages) to the child as CN_BASE + message.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"

class TWinControl;
class TPopupMenu;
class TCustomForm;

using TWndMethod = std::function<void(TMessage&)>;

FRAMEWORK_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
FRAMEWORK_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
FRAMEWORK_ENUM(TShiftStateFlag, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSetOf<TShiftStateFlag>;
// Window border styles of forms; controls use bsNone and bsSingle (TBorderStyle).
FRAMEWORK_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
using TBorderStyle = TFormBorderStyle;
FRAMEWORK_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
FRAMEWORK_ENUM(TControlStyleFlag, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents,
               csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight,
               csNoDesignVisible, csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector,
               csActionClient, csMenuEvents)
using TControlStyle = TSetOf<TControlStyleFlag>;
FRAMEWORK_ENUM(TControlStateFlag, csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded,
               csFocusing, csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking)
using TControlState = TSetOf<TControlStateFlag>;

using TCursor = int32_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
const TIdentMap& CursorIdents();
// The system cursor of a framework cursor value (nullptr for crNone, crDefault: arrow).
HCURSOR CursorHandle(TCursor cursor);

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;

TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

// The name of the window property that leads from a control's window to its object.
const wchar_t* ControlAtomName();
// The framework control whose window is `window` (only windows of this program's GUI
// thread), or nullptr.
TWinControl* FindControl(HWND window);

class TControl : public TComponent {
  FRAMEWORK_CLASS(TControl, TComponent)

 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Every message of the control goes through here; see the file comment.
  TWndMethod WindowProc;
  // Sends `msg` through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Each message class calls into this as the last step of WndProc; the base handles
  // the text of a control without a window and otherwise does nothing.
  virtual void DefaultHandler(TMessage& message);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  bool HasParent() const override { return true; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  virtual TRect ClientRect();
  int ClientWidth() { return ClientRect().right; }
  int ClientHeight() { return ClientRect().bottom; }
  void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
  void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
  virtual void SetClientSize(int width, int height);
  TPoint ClientToScreen(TPoint point);
  TPoint ScreenToClient(TPoint point);
  // The screen position of this control's client origin.
  virtual TPoint ClientOrigin();
  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent visible.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);

  // Caption and Text are the same text (WM_GETTEXT / WM_SETTEXT through WindowProc).
  std::wstring Text();
  void SetText(const std::wstring& value);
  std::wstring Caption() { return Text(); }
  void SetCaption(const std::wstring& value) { SetText(value); }

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_; }
  void SetFont(TFont* value) { font_->Assign(value); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
  TControlState ControlState() const { return controlState_; }

  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // Runs the click handling (OnClick) as a click of the user would.
  virtual void Click();
  // For a graphic control: whether its parent window holds the mouse for it.
  bool MouseCapture() const;
  void SetMouseCapture(bool value);
  // Feeds a mouse-down to the control's own handling (OnMouseDown), as the engine does
  // for buttons whose mouse messages it consumes.
  void MouseDownFrom(TMouseButton button, TShiftState shift, int x, int y) { MouseDown(button, shift, x, y); }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

  void Loaded() override;

 protected:
  // The message handler that WindowProc starts out bound to.
  virtual void WndProc(TMessage& message);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void DblClick();
  virtual void Resize();
  virtual void FontChanged();
  virtual void ColorChanged();
  // Visible/enabled changed (after the CM_ notification ran).
  virtual void VisibleChanging() {}
  // For AutoSize: the size the control wants; return false to keep the current one.
  virtual bool CanAutoSize(int& /*width*/, int& /*height*/) { return false; }
  void AdjustSize();
  void Notification(TComponent* component, TOperation operation) override;
  // A mouse message in client coordinates of this control.
  void HandleMouseMessage(TMessage& message);

  TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState controlState_;
  std::wstring text_;  // the text while there is no window

 private:
  friend class TWinControl;
  void ParentFontChanged();
  void ParentColorChanged();
  void UpdateBoundsFields(int left, int top, int width, int height);

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TFont* font_;
  bool parentFont_ = true;
  bool applyingParentFont_ = false;
  std::wstring hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  TPopupMenu* popupMenu_ = nullptr;
  TAlign align_ = alNone;
  bool autoSize_ = false;
};

// What a control asks for when its window is made.
struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSEXW WindowClass{};
  // The window class registered for this framework class (its class name).
  std::wstring WinClassName;
};

class TWinControl : public TControl {
  FRAMEWORK_CLASS(TWinControl, TControl)

 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, made (with the parents' windows) on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window; the control stays and makes a new one when needed.
  void DestroyHandle();
  // Destroys and remakes the window (CM_RECREATEWND through WindowProc).
  void RecreateWnd();
  // The window procedure the framework's own handling falls back to.
  WNDPROC DefWndProc() const { return defWndProc_; }

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  // The topmost visible child (graphic controls first unless `allowWindows`) at `point`
  // (client coordinates), or nullptr.
  TControl* ControlAtPos(TPoint point, bool allowDisabled, bool allowWindows = false) const;
  TControl* FindChildControl(std::wstring_view name) const;
  // Sends the message to every child control.
  void Broadcast(TMessage& message);

  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // Windowed children in tab order, descending into containers.
  void GetTabOrderList(std::vector<TWinControl*>& list);
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  // The next control in tab order after `current` (forward or back) that can take focus.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent);
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

  TBrush* Brush() const { return brush_; }
  bool Showing() const override;
  TRect ClientRect() override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetClientSize(int width, int height) override;
  TPoint ClientOrigin() override;
  void Invalidate() override;
  void Update() override;
  void SetEnabled(bool value) override;
  // Lays out the aligned children in the client area.
  void Realign();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  void DefaultHandler(TMessage& message) override;
  void Loaded() override;

 protected:
  void WndProc(TMessage& message) override;
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  // Called after the window was made (fonts, texts and other state go to it here).
  virtual void CreateHandleDone() {}
  // Makes the class superclass a system window class ("BUTTON", "EDIT", ...).
  void CreateSubClass(TCreateParams& params, const wchar_t* systemClass);
  // Paints the window's own content and then the graphic children.
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc, TControl* first);
  void PaintHandler(TMessage& message);
  virtual bool DoKeyDown(TMessage& message);
  virtual bool DoKeyPress(TMessage& message);
  virtual bool DoKeyUp(TMessage& message);
  virtual void AlignControls(TRect& rect);
  void UpdateControlState();
  void ShowControl(TControl* control);
  // Whether painting needs the parent-driven PaintHandler (graphic children present).
  bool HasGraphicChildren() const;

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;

 private:
  friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend class TControl;
  void AttachHandle(HWND window);
  void HandleDestroyed();
  bool IsControlMouseMsg(TMessage& message);
  bool ReflectToChild(TMessage& message);
  void UpdateMouseControl(TMessage& message);
  void SetCursorFor(TMessage& message);
  void HandleCtlColor(TMessage& message);
  bool DialogKey(TMessage& message);
  void SetZOrder(bool top);

  std::vector<TControl*> controls_;  // z-order: later is above
  int tabOrder_ = -1;
  bool tabStop_ = false;
  TBrush* brush_;
  TControl* captureControl_ = nullptr;
  int controlId_ = 0;
  bool realigning_ = false;
};

// A control without a window: its parent paints it (Paint on Canvas) and passes it the
// mouse messages over its area.
class TGraphicControl : public TControl {
  FRAMEWORK_CLASS(TGraphicControl, TControl)

 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  // Valid while painting.
  TCanvas* Canvas() const { return canvas_; }

 protected:
  void WndProc(TMessage& message) override;
  virtual void Paint() {}

 private:
  TCanvas* canvas_;
};

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
  FRAMEWORK_CLASS(TCustomControl, TWinControl)

 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return canvas_; }

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  TCanvas* canvas_;
};

// The form a control sits on (the top of its parent chain if that is a form).
TCustomForm* GetParentForm(TControl* control);

// Runs paint with canvas locked and drawing on dc in font; the canvas lets go of dc and
// is unlocked however paint ends.
void PaintOnCanvas(TCanvas* canvas, HDC dc, const TFont* font, const std::function<void()>& paint);
