// The skinned single-line edit of unit WinSubClass (also spin edits, date pickers with an
// edit field and raw edit windows): the control paints itself, then a flat border of the
// skin's shadow colour is drawn over its edge. A spin child gets a skinned up-down.
#pragma once

#include <memory>

#include "skin/controls/WinSubClass.h"

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
  FRAMEWORK_CLASS(TSkinEdit, TSkinControl)

 public:
  explicit TSkinEdit(TComponent* owner);
  ~TSkinEdit() override;

  void Unskin() override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The border alone into `dc` (window coordinates); nothing when the window has none.
  void DrawBorder(HDC dc, const RECT& rect);
  // Gives the first spin child a skinned up-down when the skin settings ask for spins.
  void AttachUpDown();

  std::unique_ptr<TSkinUpDown> UpDown;
};
