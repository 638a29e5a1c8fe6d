// The design of a skin: its small palette and the few sizes every piece shares. One
// painter draws every element from these, so a colour means the same thing everywhere
// (the accent marks hot and pressed states, the outline colour edges every control).
#pragma once

#include <string>
#include <vector>

#include "tools/skinpaint/Raster.h"

struct FramePalette {
  Rgb captionTop, captionBottom;  // the caption strip's vertical gradient
  Rgb side;                       // side and bottom borders
  Rgb outline;                    // the window's outermost pixel ring
  Rgb highlight;                  // a soft line just inside the top edge
  double highlightOpacity;
  Rgb glyph;                      // caption button glyphs
};

struct SkinStyle {
  std::string name;  // "default" or "dark"

  // Window frame.
  int captionHeight;    // top border including the caption strip
  int border;           // left, right and bottom border width
  double cornerRadius;  // top corners; the pixels outside the curve are magenta
  int captionEndFixed;  // fixed (unstretched) ends of the caption image
  FramePalette active, inactive;

  // Caption buttons: size, top offset, gap between neighbours, distance of the close
  // button from the window's right edge.
  int captionButtonWidth, captionButtonHeight, captionButtonTop, captionButtonGap;
  int captionButtonRightInset;
  Rgb captionHot;  // overlay of a hot caption button
  double captionHotOpacity;
  Rgb captionPressed;  // fill of a pressed caption button
  Rgb closeHot, closePressed;
  Rgb captionGlyphDisabled;  // frame 4: inactive window or disabled button

  // Controls.
  Rgb face;             // general background (ButtonFace)
  Rgb field;            // edit, list, check box interiors
  Rgb fieldDisabled;
  Rgb text, textMuted, textDisabled;
  Rgb outline, outlineDisabled, outlineHot;
  Rgb buttonTop, buttonBottom;  // push button face gradient
  Rgb buttonHotTop, buttonHotBottom;
  Rgb buttonPressed;
  Rgb buttonDisabled;
  Rgb accent, accentHot, accentPressed;  // filled marks (check, radio, progress, thumbs)
  Rgb accentTint;                        // faint accent fill of a hot area
  Rgb accentTintStrong;                  // accent fill of a pressed area
  Rgb focusRing;
  Rgb onAccent;  // marks drawn on accent fills
  Rgb glyph, glyphHot, glyphDisabled;

  // Scroll bars.
  Rgb track, trackLine, trackHot;
  Rgb thumb, thumbHot, thumbPressed;
  Rgb grip, gripHot, gripPressed;

  // Menus.
  Rgb menuBarTop, menuBarBottom, menuBarInactiveTop, menuBarInactiveBottom;
  Rgb menu, menuBorder, menuSeparator, menuSelected;

  // Panels, tabs, headers.
  Rgb tab, tabHot, tabOutline, tabSelectedStripe;
  Rgb panelSunken, panelRaised, panelLine;
  Rgb headerTop, headerBottom, headerLine, headerSeparator;
  Rgb groupLine, trough, troughLine, gripDot;
  Rgb closeGlyphHot;  // the close glyph on the red hot/pressed fill

  int scrollSize;  // thickness of scroll bars and size of their arrow cells
};

const SkinStyle& DefaultSkinStyle();
const SkinStyle& DarkSkinStyle();
// The style of the skin called `name`, or null.
const SkinStyle* FindSkinStyle(const std::string& name);
std::vector<std::string> SkinStyleNames();
