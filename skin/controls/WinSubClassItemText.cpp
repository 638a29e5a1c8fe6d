// Item text and image of the skinned tab and header controls.
#include "skin/controls/WinSubClassItemText.h"

#include <algorithm>

#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"

namespace {

void AssignWindowFont(TFont* font, HWND window) {
  auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (handle == nullptr) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW log{};
  if (handle == nullptr || GetObjectW(handle, sizeof log, &log) == 0) return;
  font->SetName(log.lfFaceName);
  font->SetHeight(log.lfHeight);
  font->SetCharset(log.lfCharSet);
  TFontStyles style;
  if (log.lfWeight >= FW_BOLD) style.Include(fsBold);
  if (log.lfItalic) style.Include(fsItalic);
  if (log.lfUnderline) style.Include(fsUnderline);
  font->SetStyle(style);
}

}  // namespace

void AssignItemFont(TFont* font, TControl* control, HWND window) {
  if (font == nullptr) return;
  if (control != nullptr) font->Assign(control->Font());
  else AssignWindowFont(font, window);
}

void DrawItemImageAndText(TControl* control, TCanvas* canvas, const RECT& rect, int alignment,
                          const std::wstring& text, int imageIndex, HIMAGELIST images, bool enabled) {
  if (canvas == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  int imageCx = 0;
  int imageCy = 0;
  if (images != nullptr) ImageList_GetIconSize(images, &imageCx, &imageCy);
  const bool withImage = imageIndex != -1 && images != nullptr && imageIndex < ImageList_GetImageCount(images) &&
                         imageCx < width;
  const int imageWidth = withImage ? imageCx + 2 : 0;
  HDC dc = PrepareTextDC(canvas);
  SetBkMode(dc, TRANSPARENT);
  RECT measured{0, 0, std::max(width - imageWidth, 0), height};
  DrawSkinText(dc, text, measured, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK | DT_END_ELLIPSIS);
  const int textWidth = std::min<int>(measured.right - measured.left, width - imageWidth);
  const int textHeight = measured.bottom - measured.top;
  int indent = 3;
  if (alignment == 1) indent = (width - imageWidth - textWidth) / 2;
  if (alignment == 2) indent = width - imageWidth - textWidth - 2;
  indent = std::max(indent, 1);
  int x = rect.left + indent;
  if (withImage) {
    ImageList_Draw(images, imageIndex, dc, x, rect.top + (height - imageCy) / 2,
                   enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
    x += imageWidth;
  }
  RECT textRect{x, rect.top + (height - textHeight) / 2, std::min<LONG>(x + textWidth, rect.right), 0};
  textRect.bottom = std::min<LONG>(textRect.top + textHeight, rect.bottom);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawSkinText(dc, text, textRect, RightToLeftFlag(control, DT_EXPANDTABS | DT_WORDBREAK | DT_END_ELLIPSIS));
  RestoreDC(dc, saved);
}
