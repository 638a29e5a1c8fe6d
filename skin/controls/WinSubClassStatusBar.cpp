// TSkinStatusBar: messages and painting.
#include "skin/controls/WinSubClassStatusBar.h"

#include <algorithm>
#include <cctype>
#include <commctrl.h>

#include "framework/ClassBuilder.h"
#include "framework/ComCtrls.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool ReadsRightToLeft(const TObject* object) { return Lower(GetEnumPropByName(object, "BiDiMode")) == "bdrighttoleft"; }

UINT AlignmentFlag(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// A panel's frame: the StatusBarEdges image (frame = bevel mode: 1 lowered, 2 raised,
// 3 none) or a plain 1-pixel 3-D edge.
void DrawPanelFrame(const TSkinData& skin, HDC dc, const RECT& rect, int bevelMode) {
  const TDataSkinObject* edges = skin.StatusBarEdges.get();
  if (edges != nullptr && edges->Bitmap && !edges->Bitmap->Empty()) {
    std::unique_ptr<TBitmap> frame =
        BuildNineSlice(rect, edges->Bitmap.get(), edges->Margins, false, edges->Tile != 0, 3, bevelMode);
    if (frame)
      BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, frame->Canvas()->Handle(), 0, 0,
             SRCCOPY);
    return;
  }
  if (bevelMode == 3 || rect.right <= rect.left || rect.bottom <= rect.top) return;
  const COLORREF shadow = ColorToRGB(skin.ButtonShadowColour);
  const COLORREF light = ColorToRGB(skin.ButtonHilightColour);
  const COLORREF topLeft = bevelMode == 1 ? shadow : light;
  const COLORREF bottomRight = bevelMode == 1 ? light : shadow;
  Line(dc, rect.left, rect.bottom - 1, rect.left, rect.top, topLeft);
  Line(dc, rect.left, rect.top, rect.right, rect.top, topLeft);
  Line(dc, rect.right - 1, rect.top, rect.right - 1, rect.bottom, bottomRight);
  Line(dc, rect.left, rect.bottom - 1, rect.right, rect.bottom - 1, bottomRight);
}

int BevelMode(TStatusPanelBevel bevel) {
  switch (bevel) {
    case pbRaised: return 2;
    case pbLowered: return 1;
    default: return 3;
  }
}

}  // namespace

const TClassInfo& TSkinStatusBar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinStatusBar>("TSkinStatusBar", &Inherited::StaticClass()).Build();
  return info;
}

bool TSkinStatusBar::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintReplace(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& rect) {
  auto* bar = dynamic_cast<TStatusBar*>(Control);
  if (bar == nullptr || SkinData == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  TBitmap* work = PrepareSkinWorkBitmap(width, height);
  if (work == nullptr) return;
  TCanvas* canvas = work->Canvas();
  HDC workDc = canvas->Handle();
  const RECT local{0, 0, width, height};
  HBRUSH face = CreateSolidBrush(ColorToRGB(SkinData->ButtonFaceColour));
  FillRect(workDc, &local, face);
  DeleteObject(face);
  canvas->Font()->Assign(bar->Font());
  canvas->Font()->SetStyle({});
  if (SkinData->StatusBarEdges) canvas->Font()->SetColor(SkinData->StatusBarEdges->NormalColour2);

  const int panelCount = bar->Panels()->Count();
  if (bar->SimplePanel() || panelCount == 0) {
    const UINT alignment = ReadsRightToLeft(bar) ? DT_RIGHT : DT_LEFT;
    DrawPanelFrame(*SkinData, workDc, local, 1);
    std::wstring text = bar->SimpleText();
    if (text.empty()) text = L" ";
    RECT area = local;
    InflateRect(&area, -2, 0);
    DrawCaptionText(bar, canvas, area, alignment, true, text);
  } else {
    for (int i = 0; i < panelCount; ++i) {
      TStatusPanel* panel = bar->Panels()->Items(i);
      UINT alignment = AlignmentFlag(panel->Alignment());
      if (ReadsRightToLeft(panel)) {
        if (alignment == DT_LEFT) alignment = DT_RIGHT;
        else if (alignment == DT_RIGHT) alignment = DT_LEFT;
      }
      RECT part{};
      if (!SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part))) continue;
      part.right += 2;
      if (i == panelCount - 1) part.right = local.right;
      DrawPanelFrame(*SkinData, workDc, part, BevelMode(panel->Bevel()));
      if (panel->Style() != psText) continue;
      std::wstring text = panel->Text();
      if (text.empty()) text = L" ";
      RECT area = part;
      InflateRect(&area, -2, 0);
      DrawCaptionText(bar, canvas, area, alignment, true, text);
    }
  }

  const TDataSkinObject* extra = SkinData->ExtraImages.get();
  if ((GetWindowLongW(Handle, GWL_STYLE) & SBARS_SIZEGRIP) && extra != nullptr && extra->Bitmap &&
      !extra->Bitmap->Empty()) {
    const int count = std::max(extra->FrameCount, 1);
    const int cellWidth = extra->Bitmap->Width() / count;
    const int cellHeight = extra->Bitmap->Height();
    const RECT grip{local.right - 1 - cellWidth, local.bottom - 1 - cellHeight, local.right - 1, local.bottom - 1};
    DrawStripCellBlit(bar, workDc, grip, count, std::min(5, count), extra->Bitmap.get());
  }

  BitBlt(dc, rect.left, rect.top, width, height, workDc, 0, 0, SRCCOPY);

  // The bar's graphic children go on top, as the bar's own painting would put them.
  for (int i = 0; i < bar->ControlCount(); ++i) {
    TControl* child = bar->Controls(i);
    if (dynamic_cast<TWinControl*>(child) != nullptr || !child->Visible()) continue;
    const int saved = SaveDC(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + child->Left(), origin.y + child->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }

  if (bar->OnDrawPanel) {
    for (int i = 0; i < panelCount; ++i) {
      RECT part{};
      if (!SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part))) continue;
      InflateRect(&part, -2, -2);
      bar->OnDrawPanel(bar, bar->Panels()->Items(i), part);
    }
  }
}
