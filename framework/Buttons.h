// Glyph buttons: TBitBtn (an owner-drawn push button with a glyph and a kind) and
// TSpeedButton (a graphic control, painted and fed mouse messages by its parent, that can
// stay down alone or as one of a group).
//
// Both publish the names the skin engine reads: "Glyph" (a bitmap of NumGlyphs equal cells
// side by side: up, disabled, pressed, down), "NumGlyphs", "Layout", "Margin" (-1: centred),
// "Spacing"; TBitBtn "Kind"; TSpeedButton "Flat", "Down", "GroupIndex", "AllowAllUp",
// "Transparent".
#pragma once

#include <memory>

#include "framework/Bitmap.h"
#include "framework/StdCtrls.h"

FRAMEWORK_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
FRAMEWORK_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore,
               bkAll)
FRAMEWORK_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)

// Where the glyph and the caption go inside a button face.
struct TGlyphLayout {
  TRect glyph{};
  TRect text{};
};
// Places a glyph of `glyphSize` and a caption of `textSize` in `client` the way glyph
// buttons do: Margin -1 centres the pair; Spacing -1 spreads it evenly. Portable
// arithmetic, tested on its own.
TGlyphLayout LayoutGlyphAndText(const TRect& client, SIZE glyphSize, SIZE textSize, TButtonLayout layout,
                                int margin, int spacing);

// Draws cell `cell` (0-based; the first cell when out of range) of `glyph`, cut into
// `numGlyphs` cells, at (x, y) with the bottom-left pixel's colour transparent.
void DrawGlyphCell(HDC dc, TBitmap& glyph, int numGlyphs, int cell, int x, int y);

class TBitBtn : public TButton {
  FRAMEWORK_CLASS(TBitBtn, TButton)

 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* value);
  int32_t NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int32_t value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t value);
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t value);
  // A kind other than bkCustom gives the button its standard caption and modal result.
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind value);
  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void SetButtonStyle(bool isDefault) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  std::unique_ptr<TBitmap> glyph_;
  int32_t numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
  TBitBtnKind kind_ = bkCustom;
  bool isDefault_ = false;
};

class TSpeedButton : public TGraphicControl {
  FRAMEWORK_CLASS(TSpeedButton, TGraphicControl)

 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;

  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* value);
  int32_t NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int32_t value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t value);
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // Only buttons of a group (GroupIndex > 0) stay down; pressing one releases the others
  // of the same parent and group.
  bool Down() const { return down_; }
  void SetDown(bool value);
  int32_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int32_t value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // The look now: up, disabled, pressed (bsDown) or staying down (bsExclusive).
  TButtonState State() const;
  // Whether the mouse is over the button (a flat button shows its face then).
  bool MouseInControl() const { return mouseInControl_; }

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void UpdateExclusive();
  std::unique_ptr<TBitmap> glyph_;
  int32_t numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
  bool flat_ = false;
  bool down_ = false;
  int32_t groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool transparent_ = true;
  bool dragging_ = false;
  bool pressedInside_ = false;
  bool mouseInControl_ = false;
};

// Makes TBitBtn and TSpeedButton known to stored layouts.
void RegisterButtonClasses();
