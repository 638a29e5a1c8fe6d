// TSkinControl (unit WinSubClass): the common base of the objects that take over the
// painting of a standard control. An object attaches to a framework control by replacing
// its WindowProc (InitSkin) or to a raw window by replacing its window procedure with a
// thunk (InitSkinHandle); it sees every message before (BeforeProc) and after (AfterProc)
// the control's own handling, paints over the control or instead of it, and puts the
// control back exactly as it was when destroyed. GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "skin/controls/SkinMessages.h"
#include "skin/form/SkinControlRegistry.h"

class TSkinData;
class TSkinControl;

// MouseState bits.
inline constexpr uint8_t kMouseHot = 1;
inline constexpr uint8_t kMousePressed = 2;

// SkinState values.
inline constexpr int32_t kSkinCreated = 0;
inline constexpr int32_t kSkinAttached = 1;
inline constexpr int32_t kSkinUnskinned = 2;
inline constexpr int32_t kSkinWindowDestroyed = 6;

// An executable stub that calls TSkinControl::ThunkProc for one object.
struct TWndProcThunk;

class TSkinControl : public TComponent, public TSkinControlItem {
  FRAMEWORK_CLASS(TSkinControl, TComponent)

 public:
  explicit TSkinControl(TComponent* owner);
  ~TSkinControl() override;

  // Attaches to the framework control that owns this object (or `control` when given).
  virtual void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                        TWinControl* control = nullptr);
  // Attaches to a raw window that has no framework object.
  virtual void InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas);
  virtual void Unskin();
  // True lets the control's own handling run (then AfterProc); false: handled here.
  virtual bool BeforeProc(TMessage& message);
  virtual void AfterProc(TMessage& message);
  virtual void PaintWindow(HDC dc);
  virtual void DrawSkin(HDC dc, const RECT& rect);
  virtual void UpdateSkin();
  virtual bool CanSkin() { return true; }
  // SKM_ENABLESKIN switched Active (windows of the object's own follow it).
  virtual void ActiveChanged() {}

  // TSkinControlItem (what the frame's discovery uses).
  HWND SkinnedWindow() const override { return Handle; }
  TControl* SkinnedControl() const override { return Control; }
  int32_t SkinnedState() const override { return SkinState; }
  const std::string& SkinClassName() const override { return ClassName(); }
  bool IsAttached() const override { return Attached != 0; }
  void UnskinItem() override { Unskin(); }
  void UpdateItemSkin() override { UpdateSkin(); }
  void AttachToControl(TSkinControlList* form, TSkinData* skinData, TCanvas* canvas, TControl* control) override;
  void FreeItem() override { delete this; }

  void SkinWndProc(TMessage& message);
  void CallOldProc(TMessage& message);
  void Refresh();
  TColor GetControlColour(TColor defaultColour) const;
  void FillSkinBackground(HDC dc, const RECT& rect) const;
  void FillControlBackground(HDC dc, const RECT& rect) const;
  LONG_PTR GetWindowLongX(HWND window, int index) const;
  void DrawCaptionFocus(HDC dc, UINT flags, const RECT& rect);
  void EmulateMouseDown(const TMessage& message);
  void PaintReplace(TMessage& message);
  void EraseWithParent(TMessage& message);
  // The state frame of a skin element from MouseState, Focused (or isDefault), Enabled.
  int StateFrameIndex(bool isDefault = false) const;
  // With SetColour: the control's colour becomes the skin's face colour and a font colour
  // left at the system's default text colour becomes the skin's text colour (black text on
  // a dark face otherwise); `remember` saves both first (attach), false re-applies (skin
  // switch). RestoreSkinColours puts back exactly what was saved.
  void ApplySkinColours(bool remember);
  void RestoreSkinColours();

  // Fields (see the class comment).
  uint8_t MouseState = 0;
  TCanvas* Canvas = nullptr;
  uint8_t Enabled = 1;
  uint8_t Focused = 0;
  std::wstring Caption;
  TWndProcThunk* WndProcThunk = nullptr;
  WNDPROC OldWndProc = nullptr;
  uint8_t Active = 1;
  uint8_t UnicodeWindow = 0;
  TSkinData* SkinData = nullptr;
  HWND Handle = nullptr;
  TWndMethod OldWindowProc;
  TControl* Control = nullptr;
  RECT WindowRect{};
  TControl* Companion = nullptr;
  uint8_t SetColour = 0;
  TColor SavedColour = 0;
  // The font colour ApplySkinColours replaced (FontColourSet 1), 2: the font also
  // followed the parent's, which setting the colour ended.
  TColor SavedFontColour = 0;
  uint8_t FontColourSet = 0;
  uint8_t Attached = 0;
  int32_t SkinState = kSkinCreated;
  TSkinControlList* Form = nullptr;
  int32_t Mode = 0;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Puts the control's own handler (or window procedure) back.
  void Detach();
  // The framework control being skinned, as a windowed control (null for raw windows).
  TWinControl* WinControl() const;
  // False once this object is freed: held across a call that may free it.
  std::shared_ptr<bool> AliveFlag() const { return alive_; }

 private:
  friend LRESULT CALLBACK SkinThunkEntry(TSkinControl* self, UINT msg, WPARAM wParam, LPARAM lParam);
  void WatchControl(TControl* control);

  // False once the object is freed (checked after the control's own handling returns).
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
