// The skinned push-style buttons of unit WinSubClass: TSkinButton (push button),
// TSkinBitButton (with a glyph), TSkinSpeedButton (flat tool button without a window,
// painted through its parent), TSkinMenuButton (drop-down button). The face is a state
// frame of the skin's Buttons element nine-sliced to the button; the caption and glyph are
// laid out by the engine; everything is composed in Buffer and copied in one BitBlt.
#pragma once

#include <memory>
#include <string>

#include "framework/Bitmap.h"
#include "skin/controls/WinSubClass.h"

// The control's Tag that asks for a transparent button face whatever the options say.
inline constexpr int32_t kTransparentTag = 5555;

class TSkinButton : public TSkinControl {
  FRAMEWORK_CLASS(TSkinButton, TSkinControl)

 public:
  explicit TSkinButton(TComponent* owner);
  ~TSkinButton() override;

  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  void InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) override;
  bool BeforeProc(TMessage& message) override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  std::unique_ptr<TBitmap> Buffer;
  uint8_t Transparent = 0;

 protected:
  // Steps 1-6 of the paint: state, caption, buffer, background and face. False when the
  // skin has no button face (nothing is painted then).
  bool PaintFace(const RECT& rect, int stateIndex);
  // Font and text colour of the caption in Buffer (step 7); returns the font selected out.
  HGDIOBJ SelectCaptionFont(int stateIndex);
  // Reads Focused, Enabled and Caption from the window and the control.
  void ReadState();
  bool IsDefault() const;
  void ClickNow();
  void DecideTransparent();
};

class TSkinBitButton : public TSkinButton {
  FRAMEWORK_CLASS(TSkinBitButton, TSkinButton)

 public:
  using TSkinButton::TSkinButton;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // A picture property used instead of "Glyph" (e.g. "PngImage"); empty normally.
  std::string GlyphProperty;

 protected:
  // Glyph and caption of a glyph button laid out in `rect` of Buffer; `glyphCell` is 1
  // normal, 2 disabled, 3 pressed, 4 down.
  void DrawGlyphAndCaption(const RECT& rect, int glyphCell, bool enabled, bool fromGlyphOnly);
};

class TSkinSpeedButton : public TSkinBitButton {
  FRAMEWORK_CLASS(TSkinSpeedButton, TSkinBitButton)

 public:
  using TSkinBitButton::TSkinBitButton;
  // The control has no window: it is the Companion and is painted on its own canvas.
  void InitSpeedButton(TSkinControlList* form, TSkinData* skinData, TCanvas* canvas, TControl* control = nullptr);
  bool BeforeProc(TMessage& message) override;
  void AfterProc(TMessage& message) override;
  void PaintWindow(HDC dc) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  uint8_t Painting = 0;

 private:
  void PaintOn(HDC dc);
  void RestoreHandler();
};

class TSkinMenuButton : public TSkinButton {
  FRAMEWORK_CLASS(TSkinMenuButton, TSkinButton)

 public:
  using TSkinButton::TSkinButton;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

// "a||b" with its first "||" turned into a line break.
std::wstring SplitCaption(const std::wstring& caption);
