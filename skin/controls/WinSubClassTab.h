// The skinned tab control of unit WinSubClass (tab controls and page controls): the tabs
// are frames of the skin's Tabs element and the pane its border picture (or TabPane),
// both adapted to the side the tabs sit on; a page control whose Tag is 7777 shows a close
// box on every tab, and a click on one asks the form (SKM_CLOSETAB) before the page goes.
#pragma once

#include <memory>
#include <vector>

#include "framework/Bitmap.h"
#include "skin/controls/WinSubClass.h"

class TSkinUpDown;

// The Tag of a page control that wants close boxes on its tabs.
inline constexpr int32_t kCloseBoxTag = 7777;

// Where the tabs of a tab control sit.
enum class TSkinTabSide { Top, Bottom, Left, Right };

class TSkinTab : public TSkinControl {
  FRAMEWORK_CLASS(TSkinTab, TSkinControl)

 public:
  explicit TSkinTab(TComponent* owner);
  ~TSkinTab() override;

  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  void InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) override;
  void Unskin() override;
  void UpdateSkin() override;
  bool BeforeProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  TSkinTabSide Position() const;
  // The tab whose close box holds the client point, or -1.
  int CloseBoxAt(int x, int y) const;

  std::unique_ptr<TBitmap> TabImage;
  std::unique_ptr<TBitmap> PaneImage;
  RECT PaneMargins{4, 5, 4, 4};
  std::vector<RECT> CloseBoxRects;
  uint8_t CloseBoxes = 0;
  std::unique_ptr<TSkinUpDown> UpDown;

 private:
  void AttachParts();
  // Skins the control's scroller (an up-down child) once there is one.
  void AttachUpDown();
  // The tab and pane pictures from the skin, adapted to the tab position.
  void ReadImages();
  // Asks the form, then closes tab `index` unless the form said no.
  void CloseTab(int index);
  void DrawTab(HDC dc, TCanvas* canvas, const RECT& tab, int index, bool focused);
};
