// The skinned combo box of unit WinSubClass: the control paints itself, then its edge and
// drop-down button are painted over from the skin (the combined combo image the skin
// model composes, or the sunken edge, button and arrow separately). The button turns hot
// only while the mouse is over it. The drop-down list's scroll bar, and the list of a
// simple combo, get skinned scroll bars.
#pragma once

#include <memory>

#include "skin/controls/WinSubClass.h"

class TSkinComBox : public TSkinControl {
  FRAMEWORK_CLASS(TSkinComBox, TSkinControl)

 public:
  explicit TSkinComBox(TComponent* owner);
  ~TSkinComBox() override;

  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  void InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) override;
  void Unskin() override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The state frame: 3 disabled, 2 pressed, 4 focused or hot, else 1.
  int ComboState() const;
  // The drop-down button in window coordinates, as the last paint placed it.
  RECT ButtonRect{};
  uint8_t Dropped = 0;
  HWND EditWindow = nullptr;
  WNDPROC OldEditProc = nullptr;
  // The list's scroll-bar object (drop-down list or simple combo's list), owned.
  std::unique_ptr<TSkinControl> ListScrollBar;

 private:
  friend LRESULT CALLBACK ComboEditProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void AttachParts();
  void RestoreEdit();
  bool RightToLeft() const;
  bool IsFocused() const;
};
