// Small drawing helpers shared by the element painters.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/skinpaint/Bitmap24.h"
#include "tools/skinpaint/Raster.h"
#include "tools/skinpaint/SkinPainter.h"
#include "tools/skinpaint/SkinStyle.h"

enum class Direction { Left, Right, Up, Down };

// The shape moved inward by d pixels (outward for negative d).
Shape Inset(Shape s, double d);

// A chevron stroke pointing `dir`, centred at (cx, cy); `across` is its width
// perpendicular to the direction, `along` its depth.
Shape Chevron(double cx, double cy, Direction dir, double across, double along, double stroke);

// Fills `shape` with the outline colour and the shape inset by one pixel with `fill`.
void OutlinedShape(Canvas& c, const Shape& shape, Rgb outline, const Shader& fill);
void OutlinedShape(Canvas& c, const Shape& shape, Rgb outline, Rgb fill);

// `count` frames of w x h side by side; paint(canvas, frame) draws frame 1 .. count and
// how(frame) says how it is flattened.
Bitmap24 PaintFrames(int count, int w, int h, const std::function<void(Canvas&, int)>& paint,
                     const std::function<Flatten(int)>& how);
Bitmap24 PaintFrames(int count, int w, int h, const std::function<void(Canvas&, int)>& paint,
                     const Flatten& how);

// The element painters; each appends its pictures.
void PaintWindowFrame(const SkinStyle& s, std::vector<SkinImage>& out);
void PaintCaptionButtons(const SkinStyle& s, std::vector<SkinImage>& out);
void PaintButtonParts(const SkinStyle& s, std::vector<SkinImage>& out);
void PaintScrollParts(const SkinStyle& s, std::vector<SkinImage>& out);
void PaintMenuParts(const SkinStyle& s, std::vector<SkinImage>& out);
void PaintPanelParts(const SkinStyle& s, std::vector<SkinImage>& out);
void PaintRangeParts(const SkinStyle& s, std::vector<SkinImage>& out);

// The caption colour of a frame palette at row y of the window (caption gradient, as
// PaintWindowFrame paints it).
Rgb CaptionColourAt(const SkinStyle& s, const FramePalette& p, double y);
