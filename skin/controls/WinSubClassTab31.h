// The skinned tab set of unit WinSubClass (the tabs sit at the bottom and the control
// draws them itself): the strip is composed from the skin's Tabs picture turned upside
// down, tab by tab from the first visible one while they fit; the tab set's scroller gets
// a skinned up-down laid out sideways.
#pragma once

#include <memory>
#include <vector>

#include "framework/Bitmap.h"
#include "skin/controls/WinSubClass.h"

class TSkinUpDown;

class TSkinTab31 : public TSkinControl {
  FRAMEWORK_CLASS(TSkinTab31, TSkinControl)

 public:
  explicit TSkinTab31(TComponent* owner);
  ~TSkinTab31() override;

  // Attaches by handle to the framework control's window (its object stays known).
  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  void Unskin() override;
  void UpdateSkin() override;
  bool BeforeProc(TMessage& message) override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  std::unique_ptr<TBitmap> TabImage;
  std::unique_ptr<TSkinUpDown> Scroller;
  // The tabs of the last paint, from the first visible one (window coordinates).
  std::vector<RECT> TabRects;

 private:
  void ReadImage();
};
