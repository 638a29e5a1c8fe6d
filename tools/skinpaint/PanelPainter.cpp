// Status-bar panels, tabs and their pane, group boxes and header bars.
#include "tools/skinpaint/PaintKit.h"

namespace {

// Frames 1 lowered, 2 raised, 3 without bevel. Drawn opaquely over the bar.
Bitmap24 StatusBarEdges(const SkinStyle& s) {
  constexpr int kSize = 12;
  const Shape box = shapes::RoundRect(0, 0, kSize, kSize, 2);
  return PaintFrames(3, kSize, kSize, [&](Canvas& c, int frame) {
    if (frame == 1) OutlinedShape(c, box, s.panelLine, s.panelSunken);
    if (frame == 2) OutlinedShape(c, box, s.panelLine, s.panelRaised);
  }, Flatten::Opaque(s.face));
}

// Frames 1 normal, 2 selected, 3 disabled, 4 hot, 5 selected and focused. The open
// bottom edge meets the pane's top line.
Bitmap24 Tabs(const SkinStyle& s) {
  constexpr int kW = 24, kH = 22;
  const Shape outer = shapes::RoundRect(0, 0, kW, kH + 4, 3.5, 3.5, 0, 0);
  const Shape stripe = shapes::Intersect(Inset(outer, 1), shapes::Rect(0, 0, kW, 3));
  return PaintFrames(5, kW, kH, [&](Canvas& c, int frame) {
    const bool selected = frame == 2 || frame == 5;
    const Rgb fill = selected ? s.face : frame == 4 ? s.tabHot : s.tab;
    OutlinedShape(c, outer, frame == 3 ? s.outlineDisabled : s.tabOutline, fill);
    if (selected) c.Fill(stripe, s.tabSelectedStripe);
  }, Flatten::Keyed(s.face));
}

Bitmap24 TabPane(const SkinStyle& s) {
  constexpr int kSize = 16;
  return PaintFrames(1, kSize, kSize, [&](Canvas& c, int) {
    OutlinedShape(c, shapes::RoundRect(0, 0, kSize, kSize, 2), s.tabOutline, s.face);
  }, Flatten::Opaque(s.face));
}

// Frames 1 normal, 2 disabled: a rounded line, transparent inside.
Bitmap24 GroupBoxEdge(const SkinStyle& s) {
  constexpr int kSize = 16;
  const Shape outer = shapes::RoundRect(0, 0, kSize, kSize, 3);
  return PaintFrames(2, kSize, kSize, [&](Canvas& c, int frame) {
    c.Fill(shapes::Subtract(outer, Inset(outer, 1)), frame == 1 ? s.groupLine : s.outlineDisabled);
  }, Flatten::Keyed(s.face));
}

// The patch behind a group box's caption, covering the line.
Bitmap24 GroupBoxLabel(const SkinStyle& s) {
  constexpr int kSize = 16;
  return PaintFrames(1, kSize, kSize, [&](Canvas& c, int) {
    c.Fill(shapes::RoundRect(0, 0, kSize, kSize, 3), s.face);
  }, Flatten::Keyed(s.face));
}

// Frames 1 normal, 2 hot: a light gradient, a line below and a separator at the right.
Bitmap24 Headerbar(const SkinStyle& s) {
  constexpr int kSize = 20;
  return PaintFrames(2, kSize, kSize, [&](Canvas& c, int frame) {
    const bool hot = frame == 2;
    c.Fill(shapes::Rect(0, 0, kSize, kSize),
           hot ? shaders::Vertical(0, s.accentTint, kSize, s.accentTintStrong)
               : shaders::Vertical(0, s.headerTop, kSize, s.headerBottom));
    c.Fill(shapes::Rect(kSize - 2, 4, kSize - 1, kSize - 4), s.headerSeparator);
    c.Fill(shapes::Rect(0, kSize - 1, kSize, kSize), hot ? s.accent : s.headerLine);
  }, Flatten::Opaque(s.face));
}

}  // namespace

void PaintPanelParts(const SkinStyle& s, std::vector<SkinImage>& out) {
  out.push_back({"statusbar.bmp", StatusBarEdges(s)});
  out.push_back({"tabs.bmp", Tabs(s)});
  out.push_back({"tab_pane.bmp", TabPane(s)});
  out.push_back({"group_edge.bmp", GroupBoxEdge(s)});
  out.push_back({"group_label.bmp", GroupBoxLabel(s)});
  out.push_back({"header.bmp", Headerbar(s)});
}
