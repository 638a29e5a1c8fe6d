// Frame painting and the window region: borders from the skin's border images, the
// caption strip drawn off-screen (caption text, caption buttons) and the region cut out
// of the border images' magenta pixels.
#include <algorithm>
#include <string>

#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WinSkinMenu.h"
#include "skin/image/ImgUtil.h"

namespace {

constexpr UINT kCaptionTextFormat = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;         // 0x8820
constexpr UINT kCaptionTextFormatRtl = kCaptionTextFormat | DT_RIGHT | DT_RTLREADING;      // 0x28822

int FramesOf(const TDataSkinObject& element) { return element.FrameCount > 0 ? element.FrameCount : 1; }

bool HasImage(const TDataSkinObject& element) {
  return element.Bitmap && element.Bitmap->Width() > 0 && element.Bitmap->Height() > 0;
}

// Border piece: frame 1 when active or when there is one frame, else frame 2.
void PaintBorderPiece(HDC dc, const RECT& target, const TDataSkinObject& element, bool stacked,
                      bool active) {
  if (target.right <= target.left || target.bottom <= target.top || !HasImage(element)) return;
  const int frames = FramesOf(element);
  const int index = active || frames == 1 ? 1 : 2;
  DrawNineSlice(dc, target, element.Bitmap.get(), stacked, element.Tile != 1, false, frames, index,
                element.Margins);
}

// The region of one border piece: its non-magenta pixels, or its rectangle.
gdi::Region PieceRegion(const RECT& target, const TDataSkinObject& element, bool stacked,
                        bool useImage) {
  if (target.right <= target.left || target.bottom <= target.top)
    return gdi::Region(CreateRectRgn(0, 0, 0, 0));
  if (useImage && HasImage(element)) {
    const RECT local{0, 0, target.right - target.left, target.bottom - target.top};
    gdi::Dib32 picture = BuildNineSliceDib(local, ImageOf(element.Bitmap.get()), element.Margins, stacked,
                                           element.Tile != 1, FramesOf(element), 1);
    if (picture) {
      GdiFlush();
      ConstBgra32View pixels;
      pixels.row0 = picture.bits;
      pixels.stride = static_cast<ptrdiff_t>(picture.width) * 4;
      pixels.width = picture.width;
      pixels.height = picture.height;
      gdi::Region region = RegionFromPixels(pixels, target.left, target.top, 1, 1, 1, kSkinKeyColour);
      if (region) return region;
    }
  }
  return gdi::Region(CreateRectRgn(target.left, target.top, target.right, target.bottom));
}

}  // namespace

void TWinSkinForm::PaintFrame(HDC given) {
  if (State != kFrameActive && State != kFrameRefreshing) return;
  if (Kind == kKindNoCaption || (MdiRole == 2 && DisplayState == 1)) return;
  if (SkinData == nullptr || SkinData->SkinEmpty) return;
  HDC dc = given != nullptr ? given : GetWindowDC(Window);
  if (dc == nullptr) return;
  try {
    GetWindowRect(Window, &ScreenRect);
    FrameWidth = ScreenRect.right - ScreenRect.left;
    FrameHeight = ScreenRect.bottom - ScreenRect.top;
    if (DisplayState == 2) {
      PaintCaption(dc, FrameWidth, FrameHeight, true);
    } else {
      PaintBorderPiece(dc, {0, 0, LeftWidth, FrameHeight}, *SkinData->BorderLeft, false, Active);
      PaintBorderPiece(dc, {FrameWidth - RightWidth, 0, FrameWidth, FrameHeight}, *SkinData->BorderRight,
                       false, Active);
      PaintBorderPiece(dc, {LeftWidth, FrameHeight - BottomHeight, FrameWidth - RightWidth, FrameHeight},
                       *SkinData->BorderBottom, true, Active);
      PaintCaption(dc, FrameWidth, TopHeight, false);
      if (MenuHeight > 0) {
        const RECT strip{LeftWidth, TopHeight, FrameWidth - RightWidth, TopHeight + MenuHeight};
        if (MenuBar) {
          MenuBar->Paint(dc, strip);
        } else {
          FillRect(dc, &strip, SkinData->ButtonFaceBrush.Get());
        }
      }
    }
  } catch (...) {
    // A failed paint leaves the frame as it was.
  }
  if (given == nullptr) ReleaseDC(Window, dc);
}

void TWinSkinForm::PaintCaption(HDC dc, int width, int height, bool minimised) {
  if (width <= 0 || height <= 0) return;
  gdi::MemoryDC buffer(dc);
  gdi::Bitmap surface(CreateCompatibleBitmap(dc, width, height));
  if (!surface) return;
  gdi::Selection select(buffer.Get(), surface.Get());
  if (!select.Ok()) return;
  if (minimised) {
    gdi::Brush face(CreateSolidBrush(ColorToRGB(SkinData->ButtonFaceColour)));
    const RECT all{0, 0, width, height};
    FillRect(buffer.Get(), &all, face.Get());
    PaintBorderPiece(buffer.Get(), {0, 0, width, TopHeight}, *SkinData->BorderTop, true, Active);
  } else {
    // What the window shows there now, so that transparent parts of the top piece keep it.
    BitBlt(buffer.Get(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    PaintBorderPiece(buffer.Get(), {LeftWidth, 0, width - RightWidth, TopHeight}, *SkinData->BorderTop,
                     true, Active);
  }
  DrawCaptionText(buffer.Get(), width, TopHeight);
  PlaceButtons();
  PaintButtons(buffer.Get());
  BitBlt(dc, 0, 0, width, minimised ? height : TopHeight, buffer.Get(), 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::DrawCaptionText(HDC dc, int captionWidth, int captionHeight) {
  const TDataSkinTitle& title = *SkinData->Title;
  const std::wstring text = CaptionPrefix + WindowText() + CaptionSuffix;
  ButtonsExtent = 0;
  for (auto& button : Buttons) {
    if (button->Element->Align == 1 && HasImage(*button->Element) && ButtonVisible(*button))
      ButtonsExtent = std::max(ButtonsExtent, button->Element->XCoord);
  }
  const HGDIOBJ oldFont = titleFont_ ? SelectObject(dc, titleFont_.Get()) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Active ? SkinData->TitleTextActiveColour : SkinData->TitleTextNoActiveColour));
  RECT measured{0, 0, captionWidth, captionHeight};
  DrawSkinText(dc, text, measured, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | DT_NOPREFIX);
  const int textHeight = measured.bottom - measured.top;
  const int textShift = title.Margins.left;
  const int textShiftVert = title.Margins.top;
  const int textRightClip = title.Margins.right;
  const int extent = title.TextBackLeft + title.TextBackRight + measured.right;
  const int usable = captionWidth + measured.left;
  int x = 0;
  if (!RightToLeft) {
    switch (title.TextAlignment) {
      case 0: x = textShift; break;
      case 1: x = (usable - extent) / 2; break;
      case 2: x = usable - textRightClip - extent; break;
      default: x = 0; break;
    }
  } else {
    switch (title.TextAlignment) {
      case 0: x = usable - ButtonsExtent - extent; break;
      case 1: x = (usable - ButtonsExtent - extent) / 2; break;
      case 2: x = textShift; break;
      default: x = 0; break;
    }
  }
  const int y = (captionHeight - textHeight) / 2 + textShiftVert / 2;
  RECT rect{x, y, x + extent, y + textHeight};
  if (RightToLeft && x < 1) rect.left = textShift;
  if (!RightToLeft) {
    if ((Style & WS_POPUP) != 0) {
      if (ButtonsExtent > 5) rect.right = std::min<LONG>(rect.right, captionWidth - ButtonsExtent - 5);
    } else {
      rect.right = std::min<LONG>(rect.right, captionWidth - textRightClip);
    }
  } else {
    OffsetRect(&rect, 10, 0);
  }
  if (Kind == kKindDialog && title.TextAlignment == 0) rect.left -= 16;
  CaptionTextRect = rect;
  if (HasImage(title)) {
    const RECT back{rect.left, 0, rect.right, captionHeight};
    DrawThreeSlice(dc, back, ImageOf(title.Bitmap.get()), true, true, 2, Active ? 1 : 2,
                   RECT{title.TextBackLeft, 0, title.TextBackRight, 0});
  }
  RECT textRect{rect.left + title.TextBackLeft, rect.top, rect.right - title.TextBackRight, rect.bottom};
  if (textRect.right > textRect.left)
    DrawSkinText(dc, text, textRect, RightToLeft ? kCaptionTextFormatRtl : kCaptionTextFormat);
  if (oldFont != nullptr) SelectObject(dc, oldFont);
}

void TWinSkinForm::BuildRegion() {
  if (State == kFrameDead || !DrawFrame || SkinData == nullptr || SkinData->SkinEmpty) return;
  if (MdiRole == 2 && DisplayState != 0) return;
  RECT bounds{};
  GetWindowRect(Window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return;
  if (hasRegion_ && width == RegionSize.cx && height == RegionSize.cy && MdiRole != 2 &&
      State != kFrameRefreshing)
    return;
  gdi::Region region;
  const bool anyTrans = SkinData->BorderRight->Trans != 0 || SkinData->BorderTop->Trans != 0 ||
                        SkinData->BorderLeft->Trans != 0;
  if (!anyTrans) {
    region.Reset(CreateRectRgn(0, 0, width, height));
  } else {
    region.Reset(CreateRectRgn(LeftWidth, TopHeight, width - RightWidth, height - BottomHeight));
    if (Kind != kKindNoCaption) {
      const TDataSkinObject& left = *SkinData->BorderLeft;
      const TDataSkinObject& right = *SkinData->BorderRight;
      const TDataSkinObject& top = *SkinData->BorderTop;
      const TDataSkinObject& bottom = *SkinData->BorderBottom;
      gdi::Region parts[] = {
          PieceRegion({0, 0, LeftWidth, height}, left, false, left.Trans == 1 && LeftWidth > 1),
          PieceRegion({width - RightWidth, 0, width, height}, right, false, right.Trans == 1 && RightWidth > 1),
          PieceRegion({LeftWidth, 0, width - RightWidth, TopHeight}, top, true, top.Trans == 1 && TopHeight > 1),
          PieceRegion({LeftWidth, height - BottomHeight, width - RightWidth, height}, bottom, true,
                      bottom.Trans == 1 && BottomHeight >= 2)};
      for (gdi::Region& part : parts)
        if (part) CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
    }
  }
  if (!region) return;
  RegionSize = {width, height};
  // The system owns the region from here on (and frees the one it replaces).
  SetWindowRgn(Window, region.Release(), TRUE);
  hasRegion_ = true;
}
