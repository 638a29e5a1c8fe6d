#include "tools/skinpaint/SkinPainter.h"

#include "tools/skinpaint/PaintKit.h"

std::vector<SkinImage> PaintSkinImages(const SkinStyle& style) {
  std::vector<SkinImage> images;
  PaintWindowFrame(style, images);
  PaintCaptionButtons(style, images);
  PaintButtonParts(style, images);
  PaintScrollParts(style, images);
  PaintMenuParts(style, images);
  PaintPanelParts(style, images);
  PaintRangeParts(style, images);
  return images;
}
