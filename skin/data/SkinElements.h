// The element classes of the skin model: one object per skin section, each an image cut
// into equal state frames with nine-slice margins, a transparency switch and a drawing
// mode for the middle parts. Each owns its bitmaps; a bitmap is empty (never null) when
// the skin gives no image. Plain classes: no virtual operations, one owner each; moving
// one leaves the source without bitmaps (it is only fit to be destroyed).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Bitmap.h"
#include "framework/Graphics.h"

// The value of a text colour that the skin does not give (title text colours).
inline constexpr TColor kSkinNoColour = clNone;
// The default of the integer colour keys (NormalColour ...): no [ColourN] named.
inline constexpr int32_t kSkinNoColourIndex = -1;

class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name = {});

  // Nine-slice margins (LeftWidth, TopHeight, RightWidth, BottomHeight); some elements
  // use them otherwise (frame borders, title, menu bar).
  RECT Margins{0, 0, 0, 0};
  std::unique_ptr<TBitmap> Bitmap;
  int32_t Trans = 0;  // 1: magenta pixels are transparent
  int32_t Tile = 0;   // middle parts: 0 stretched, 1 tiled
  std::string Name;
  int32_t FrameCount = 0;
  int32_t Style = 0;
  int32_t NormalColour = kSkinNoColourIndex;
  int32_t MouseOverColour = kSkinNoColourIndex;
  int32_t PressedColour = kSkinNoColourIndex;
  TColor NormalColour2 = 0;
  TColor MouseOverColour2 = 0;
  TColor PressedColour2 = 0;
};

// An element with a second picture: Tabs (the tab border), UpDown (the arrow glyphs),
// ComboButton (a mirrored copy of its own image).
class TDataSkinBorder : public TDataSkinObject {
 public:
  explicit TDataSkinBorder(std::string name = {});

  std::unique_ptr<TBitmap> Image2;
};

// Push buttons, with the check and radio marks.
class TDataSkinButton : public TDataSkinObject {
 public:
  explicit TDataSkinButton(std::string name = {});

  std::unique_ptr<TBitmap> CheckBitmap;
  std::unique_ptr<TBitmap> RadioBitmap;
  int32_t RadioFrameCount = 0;
  int32_t CheckFrameCount = 0;
  uint8_t HasNormalColour2 = 0;
  uint8_t HasMouseOverColour2 = 0;
  uint8_t HasPressedColour2 = 0;
};

// The caption text. Margins = (TextShift, TextShiftVert, TextRightClip, 0); Bitmap is the
// caption text background (key TextBack).
class TDataSkinTitle : public TDataSkinObject {
 public:
  explicit TDataSkinTitle(std::string name = {});

  int32_t TextAlignment = 0;
  int32_t TextBackground = 0;
  int32_t FontHeight = 0;
  int32_t TextBackLeft = 0;
  int32_t TextBackRight = 0;
  TColor ActiveTextColour = kSkinNoColour;
  TColor InactiveTextColour = kSkinNoColour;
};

// One caption button.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  explicit TDataSkinSysButton(std::string name = {});

  int32_t Action = 0;
  int32_t Align = 0;
  int32_t XCoord = 0;
  int32_t YCoord = 0;
  int32_t CombineOp = 0;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

// The group-box caption.
class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  explicit TDataSkinBoxLabel(std::string name = {});

  int32_t BackgroundLeftShift = 0;
  int32_t BackgroundRightShift = 0;
  int32_t BackgroundAlignment = 0;
};
