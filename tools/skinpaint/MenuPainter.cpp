// Menus: the menu-bar strip (two stacked frames, active and inactive), the popup
// background and the item strip (frame 1 normal, 2 separator, 3 disabled, 4 selected,
// 5 spare).
#include "tools/skinpaint/PaintKit.h"

namespace {

Bitmap24 MenuBar(const SkinStyle& s) {
  // The strip is stretched to the menu height, so it carries no lines that could double.
  constexpr int kW = 16, kH = 20;
  Canvas active(kW, kH), inactive(kW, kH);
  active.Fill(shapes::Rect(0, 0, kW, kH), shaders::Vertical(0, s.menuBarTop, kH, s.menuBarBottom));
  inactive.Fill(shapes::Rect(0, 0, kW, kH),
                shaders::Vertical(0, s.menuBarInactiveTop, kH, s.menuBarInactiveBottom));
  const Bitmap24 frames[] = {active.ToBitmap(Flatten::Opaque(s.face)),
                             inactive.ToBitmap(Flatten::Opaque(s.face))};
  return JoinVertically(frames);
}

Bitmap24 MenuBackground(const SkinStyle& s) {
  constexpr int kSize = 16;
  return PaintFrames(1, kSize, kSize, [&](Canvas& c, int) {
    OutlinedShape(c, shapes::Rect(0, 0, kSize, kSize), s.menuBorder, s.menu);
  }, Flatten::Opaque(s.menu));
}

Bitmap24 MenuItem(const SkinStyle& s) {
  constexpr int kW = 24, kH = 20;
  return PaintFrames(5, kW, kH, [&](Canvas& c, int frame) {
    if (frame == 2) {
      // Separators use the lower rows of the frame when they are shorter than it.
      c.Fill(shapes::Rect(2, kH - 3, kW - 2, kH - 2), s.menuSeparator);
    } else if (frame == 4) {
      c.Fill(shapes::RoundRect(0, 0, kW, kH, 3), s.menuSelected);
    }
  }, Flatten::Keyed(s.menu));
}

}  // namespace

void PaintMenuParts(const SkinStyle& s, std::vector<SkinImage>& out) {
  out.push_back({"menubar.bmp", MenuBar(s)});
  out.push_back({"menu_back.bmp", MenuBackground(s)});
  out.push_back({"menu_item.bmp", MenuItem(s)});
}
