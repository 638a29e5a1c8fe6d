// The images the model composes once per load, so painting needs no per-paint
// composition: the combo box strips, the combo arrow and the tool-bar gradient; and the
// title colour they start from (TSkinModelBuilder).
#include <algorithm>

#include "skin/data/SkinBitmaps.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinModelBuilder.h"
#include "skin/image/ImgUtil.h"

namespace {

constexpr int32_t kMagenta = 0xFF00FF;
constexpr int32_t kWhite = 0xFFFFFF;
// One combo box cell of the composed strip.
constexpr int kComboWidth = 50;
constexpr int kComboHeight = 21;
// One arrow cell cut from the composed strip.
constexpr int kArrowSize = 17;
constexpr int kToolbarWidth = 10;
constexpr int kToolbarHeight = 40;

// A frame count a division may use: below 1 counts as 1.
int32_t Frames(int32_t frameCount) { return std::max(frameCount, 1); }

}  // namespace

void TSkinModelBuilder::BuildComboImage() {
  TSkinModel& m = model_;
  if (!m.SunkEdge || !m.ComboButton) return;
  TDataSkinObject& edge = *m.SunkEdge;
  TDataSkinBorder& button = *m.ComboButton;
  const int a = GetSystemMetrics(SM_CXHSCROLL) + 2;
  const int n = Frames(edge.FrameCount);
  TBitmap strip;
  MakeFilledBitmap(strip, kComboWidth * n, kComboHeight, kMagenta);
  TBitmap work;
  const RECT whole{0, 0, kComboWidth, kComboHeight};
  const RECT buttonCell{kComboWidth - a, 0, kComboWidth, kComboHeight};
  for (int k = 1; k <= n; ++k) {
    // Each frame starts from a clear (all transparent) cell.
    MakeFilledBitmap(work, kComboWidth, kComboHeight, kMagenta);
    HDC dc = work.Canvas()->Handle();
    DrawNineSlice(dc, whole, ImageOf(*edge.Bitmap), false, false, edge.Trans != 0,
                  edge.FrameCount, k, edge.Margins);
    DrawNineSlice(dc, buttonCell, ImageOf(*button.Bitmap), false, false, true, button.FrameCount,
                  k, button.Margins);
    if (m.ExtraImages)
      DrawCentredFrame(dc, buttonCell, ImageOf(*m.ExtraImages->Bitmap), true,
                       m.ExtraImages->FrameCount, k);
    // The text area becomes transparent.
    FillBitmapRect(work, RECT{2, 2, kComboWidth - 1 - a, kComboHeight - 3}, kMagenta);
    CopyBitmapRect(strip, kComboWidth * (k - 1), 0, work, whole);
  }

  button.Style = 2;
  button.Margins = edge.Margins;
  button.Margins.left = 2;
  button.Margins.right = a + 2;
  CopyBitmap24(*button.Bitmap, strip);

  MirrorBitmap(&strip);
  CopyBitmap24(*edge.Bitmap, strip);
  edge.Margins.left = a + 2;
  edge.Margins.right = 2;
}

void TSkinModelBuilder::BuildComboArrow() {
  TSkinModel& m = model_;
  if (!m.ComboArrow) m.ComboArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
  TDataSkinObject& arrow = *m.ComboArrow;
  if (!m.SunkEdge && m.ComboButton) {
    CopyBitmap24(*arrow.Bitmap, *m.ComboButton->Bitmap);
    // The key colour takes the button face as it looks (a system colour resolved), not
    // the bytes of the system colour's number.
    ReplaceKeyColor(arrow.Bitmap.get(), ResolveColour(m.ButtonFaceColour));
    arrow.FrameCount = m.ComboButton->FrameCount;
  } else if (m.SunkEdge && m.ComboButton && m.ComboButton->Style == 2) {
    const int n = Frames(m.SunkEdge->FrameCount);
    const int w = m.ComboButton->Bitmap->Width() / n;
    TBitmap strip;
    MakeFilledBitmap(strip, kArrowSize * n, kArrowSize, kMagenta);
    for (int i = 0; i < n; ++i)
      CopyBitmapRect(strip, kArrowSize * i, 0, *m.ComboButton->Bitmap,
                     RECT{w * (i + 1) - 19, 2, w * (i + 1) - 2, 19});
    arrow.FrameCount = n;
    CopyBitmap24(*arrow.Bitmap, strip);
  }
}

void TSkinModelBuilder::BuildToolbarBackground() {
  TSkinModel& m = model_;
  TBitmap gradient;
  MakeFilledBitmap(gradient, kToolbarWidth, kToolbarHeight, kWhite);
  const int32_t title = GetTitleColour();
  int32_t bottom = MixColors(0x808080, title, 150);
  const int32_t top = MixColors(m.ButtonFaceColour, kWhite, 150);
  // The saturation of the colour as it looks: a system colour's number is no RGB value.
  const int32_t saturation = ColorSaturation(ResolveColour(title));
  if (saturation > 110) bottom = MixColors(title, kWhite, (225 - saturation) * 25 / 140 + 50);
  FillGradient(gradient.Canvas()->Handle(), RECT{0, 0, kToolbarWidth, kToolbarHeight}, top,
               bottom, 1);
  if (!m.ToolbarBackground) m.ToolbarBackground = std::make_unique<TDataSkinObject>("Toolbar");
  CopyBitmap24(*m.ToolbarBackground->Bitmap, gradient);
  m.ToolbarBackground->FrameCount = 1;
}

int32_t TSkinModelBuilder::GetTitleColour() const {
  const TDataSkinBorder& top = *model_.BorderTop;
  if (BitmapIsEmpty(*top.Bitmap)) return model_.ButtonFaceColour;
  const int w = top.Bitmap->Width();
  const int h = top.Bitmap->Height();
  // A frame count of 0 (or below) counts as one frame.
  return BitmapPixel(*top.Bitmap, w / 3, h / Frames(top.FrameCount) / 3, model_.ButtonFaceColour);
}
