// The skinned date-time picker of unit WinSubClass: a flat border painted over the
// picker's edge, and TArrowButton, a small child window over the picker's drop-down
// button painted with the skin's combo arrow, which hands its clicks to the picker so
// that the calendar opens as before.
#pragma once

#include <memory>

#include "framework/Controls.h"
#include "skin/controls/WinSubClass.h"

class TArrowButton : public TCustomControl {
  FRAMEWORK_CLASS(TArrowButton, TCustomControl)

 public:
  explicit TArrowButton(TComponent* owner);
  // A child window of `picker` (a window of any kind, framework or raw).
  void CreateOn(HWND picker, TSkinData* skinData);
  // Width SM_CXHSCROLL, height picker height - 4, at the top; 2 pixels from the left of a
  // right-to-left picker, else picker width - width - 4 from its left.
  void PlaceOnPicker();

  HWND Picker = nullptr;
  TSkinData* SkinData = nullptr;
  uint8_t Hot = 0;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Paint() override;
};

class TSkinDateTime : public TSkinControl {
  FRAMEWORK_CLASS(TSkinDateTime, TSkinControl)

 public:
  explicit TSkinDateTime(TComponent* owner);
  ~TSkinDateTime() override;

  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  void InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) override;
  void Unskin() override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  std::unique_ptr<TArrowButton> Arrow;
  // Whether attach added WS_CLIPCHILDREN (taken away again on detach).
  uint8_t AddedClipChildren = 0;

 private:
  void AttachArrow();
  void FreeArrow();
};
