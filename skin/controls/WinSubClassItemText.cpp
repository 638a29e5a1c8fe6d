// Item text and image of the skinned tab and header controls.
#include "skin/controls/WinSubClassItemText.h"

#include "skin/controls/WinSubClassHelpers.h"

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
  int imageCx = 0;
  int imageCy = 0;
  if (images != nullptr) ImageList_GetIconSize(images, &imageCx, &imageCy);
  const bool withImage = imageIndex != -1 && images != nullptr && imageIndex < ImageList_GetImageCount(images) &&
                         imageCx < rect.right - rect.left;
  const SIZE imageSize = withImage ? SIZE{imageCx, imageCy} : SIZE{0, 0};
  LayOutImageAndText(control, canvas, rect, alignment, text, imageSize, enabled, [&](HDC dc, int x, int y) {
    ImageList_Draw(images, imageIndex, dc, x, y, enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
  });
}
