// TSkinTab: attach, close boxes and painting.
#include "skin/controls/WinSubClassTab.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/ClassBuilder.h"
#include "framework/TabCtrls.h"
#include "skin/controls/WinSubClassChildPaint.h"
#include "skin/controls/WinSubClassHasImage.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassItemText.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/image/ImgUtil.h"

namespace {

std::unique_ptr<TBitmap> Copy24(TBitmap* source) {
  if (source == nullptr || source->Empty()) return nullptr;
  auto copy = std::make_unique<TBitmap>();
  CopyBitmap(source, copy.get());
  copy->SetPixelFormat(pf24bit);
  return copy;
}

bool IsPageControl(const TControl* control) { return dynamic_cast<const TPageControl*>(control) != nullptr; }

// Where `rect` of an upright picture of `width` x `height` lies once the picture is turned
// for tabs on `side` (RotateLeft for left tabs, RotateRight for right ones).
RECT TurnedRect(const RECT& rect, int width, int height, TSkinTabSide side) {
  switch (side) {
    case TSkinTabSide::Left:  // (x, y) -> (y, width - 1 - x)
      return RECT{rect.top, width - rect.right, rect.bottom, width - rect.left};
    case TSkinTabSide::Right:  // (x, y) -> (height - 1 - y, x)
      return RECT{height - rect.bottom, rect.left, height - rect.top, rect.right};
    default:
      return rect;
  }
}

}  // namespace

const TClassInfo& TSkinTab::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinTab>("TSkinTab", &Inherited::StaticClass()).Build();
  return info;
}

TSkinTab::TSkinTab(TComponent* owner) : TSkinControl(owner) {}

TSkinTab::~TSkinTab() = default;

void TSkinTab::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                        TWinControl* control) {
  if (Attached) return;
  TSkinControl::InitSkin(form, skinData, setColour, canvas, control);
  if (Attached) AttachParts();
}

void TSkinTab::InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::InitSkinHandle(handle, skinData, form, canvas);
  if (Attached) AttachParts();
}

void TSkinTab::AttachParts() {
  const LONG_PTR style = GetWindowLongX(Handle, GWL_STYLE);
  Enabled = (style & WS_DISABLED) == 0 ? 1 : 0;
  const bool buttonStyle = (style & (TCS_BUTTONS | TCS_FLATBUTTONS)) != 0;
  CloseBoxes = Control != nullptr && Control->Tag() == kCloseBoxTag && IsPageControl(Control) && !buttonStyle ? 1 : 0;
  ReadImages();
  AttachUpDown();
}

void TSkinTab::AttachUpDown() {
  if (UpDown != nullptr || Handle == nullptr) return;
  HWND child = FindWindowExW(Handle, nullptr, UPDOWN_CLASSW, nullptr);
  if (child == nullptr) return;
  UpDown = std::make_unique<TSkinUpDown>(nullptr);
  UpDown->InitSkinHandle(child, SkinData, Form, Canvas);
}

TSkinTabSide TSkinTab::Position() const {
  const LONG_PTR style = GetWindowLongX(Handle, GWL_STYLE);
  if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? TSkinTabSide::Right : TSkinTabSide::Left;
  return (style & TCS_BOTTOM) ? TSkinTabSide::Bottom : TSkinTabSide::Top;
}

void TSkinTab::ReadImages() {
  TabImage.reset();
  PaneImage.reset();
  PaneMargins = RECT{4, 5, 4, 4};
  if (SkinData == nullptr || !HasImage(SkinData->Tabs.get())) return;
  const TDataSkinBorder& tabs = *SkinData->Tabs;
  TabImage = Copy24(tabs.Bitmap.get());
  if (tabs.Style == 1) {
    if (HasImage(SkinData->TabPane.get())) {
      PaneImage = Copy24(SkinData->TabPane->Bitmap.get());
      PaneMargins = SkinData->TabPane->Margins;
    }
  } else {
    PaneImage = Copy24(tabs.Image2.get());
  }
  // The tab picture is always drawn upright and turned with its text; the pane picture
  // and its margins are turned here.
  switch (Position()) {
    case TSkinTabSide::Bottom:
      FlipBitmap(TabImage.get());
      FlipBitmap(PaneImage.get());
      std::swap(PaneMargins.top, PaneMargins.bottom);
      break;
    case TSkinTabSide::Left:
      RotateLeft(PaneImage.get());
      PaneMargins = RECT{PaneMargins.top, PaneMargins.right, PaneMargins.bottom, PaneMargins.left};
      break;
    case TSkinTabSide::Right:
      RotateRight(PaneImage.get());
      PaneMargins = RECT{PaneMargins.bottom, PaneMargins.left, PaneMargins.top, PaneMargins.right};
      break;
    default:
      break;
  }
}

void TSkinTab::Unskin() {
  TSkinControl::Unskin();
  if (UpDown != nullptr && SkinState != kSkinWindowDestroyed) UpDown.reset();
}

void TSkinTab::UpdateSkin() {
  ReadImages();
  TSkinControl::UpdateSkin();
}

int TSkinTab::CloseBoxAt(int x, int y) const {
  const POINT point{x, y};
  for (size_t i = 0; i < CloseBoxRects.size(); ++i)
    if (PtInRect(&CloseBoxRects[i], point)) return static_cast<int>(i);
  return -1;
}

void TSkinTab::CloseTab(int index) {
  // The form the tabs sit on, not the root: an MDI child's root is the main frame.
  HWND formWindow = FormWindowOf(Handle);
  if (formWindow == nullptr) return;
  // The form's handler may free the page control, and this object with it.
  const std::shared_ptr<bool> alive = AliveFlag();
  const HWND tabs = Handle;
  if (SendMessageW(formWindow, SKM_CLOSETAB, reinterpret_cast<WPARAM>(tabs), index) != 0) return;
  if (!*alive || !IsWindow(tabs)) return;
  if (auto* pages = dynamic_cast<TPageControl*>(Control)) {
    // Tab `index` belongs to the index-th page whose tab is shown.
    int tab = 0;
    for (int i = 0; i < pages->PageCount(); ++i) {
      TTabSheet* page = pages->Pages(i);
      if (page == nullptr || !page->TabVisible()) continue;
      if (tab++ == index) {
        delete page;
        return;
      }
    }
    return;
  }
  // A raw tab control: the tab goes.
  SendMessageW(Handle, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
  InvalidateRect(Handle, nullptr, TRUE);
}

bool TSkinTab::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintReplace(message);
      return false;
    case WM_LBUTTONDOWN: {
      if (!CloseBoxes) break;
      const int index = CloseBoxAt(static_cast<int16_t>(LOWORD(message.LParam)), static_cast<int16_t>(HIWORD(message.LParam)));
      if (index < 0) break;
      CloseTab(index);
      message.Result = 0;
      return false;
    }
    default:
      break;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinTab::DrawTab(HDC dc, TCanvas* canvas, const RECT& tab, int index, bool focused) {
  const TSkinTabSide position = Position();
  const bool sideways = position == TSkinTabSide::Left || position == TSkinTabSide::Right;
  const int width = tab.right - tab.left;
  const int height = tab.bottom - tab.top;
  if (width <= 0 || height <= 0) return;
  // The tab composed upright (lying, for side tabs), then turned into place.
  const int upWidth = sideways ? height : width;
  const int upHeight = sideways ? width : height;
  TBitmap piece(upWidth, upHeight, pf24bit);
  HDC pieceDc = piece.Canvas()->Handle();
  BitBlt(pieceDc, 0, 0, upWidth, upHeight, nullptr, 0, 0, WHITENESS);
  // What lies under the tab shows where the tab picture is transparent.
  if (sideways) {
    TBitmap under(width, height, pf24bit);
    BitBlt(under.Canvas()->Handle(), 0, 0, width, height, dc, tab.left, tab.top, SRCCOPY);
    if (position == TSkinTabSide::Left) RotateRight(&under);
    else RotateLeft(&under);
    BitBlt(pieceDc, 0, 0, upWidth, upHeight, under.Canvas()->Handle(), 0, 0, SRCCOPY);
  } else {
    BitBlt(pieceDc, 0, 0, upWidth, upHeight, dc, tab.left, tab.top, SRCCOPY);
  }
  const TDataSkinBorder& tabs = *SkinData->Tabs;
  const RECT local{0, 0, upWidth, upHeight};
  RECT margins = tabs.Margins;
  if (position == TSkinTabSide::Bottom) std::swap(margins.top, margins.bottom);
  DrawNineSlice(pieceDc, local, TabImage.get(), false, tabs.Tile != 0, tabs.Trans == 1,
                std::max(tabs.FrameCount, 1), focused ? 2 : 1, margins);

  wchar_t text[80] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
  item.pszText = text;
  item.cchTextMax = 79;
  item.iImage = -1;
  SendMessageW(Handle, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  TCanvas* pieceCanvas = piece.Canvas();
  pieceCanvas->Font()->Assign(canvas->Font());
  pieceCanvas->Font()->SetColor(focused ? tabs.MouseOverColour2 : tabs.NormalColour2);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
  DrawItemImageAndText(Control, pieceCanvas, local, 1, text, item.iImage, images, Enabled != 0);
  if (CloseBoxes) {
    const RECT box{upWidth - 8, 2, upWidth - 2, 8};
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(focused ? tabs.MouseOverColour2 : tabs.NormalColour2));
    HGDIOBJ old = SelectObject(pieceDc, pen);
    HGDIOBJ oldBrush = SelectObject(pieceDc, GetStockObject(NULL_BRUSH));
    Rectangle(pieceDc, box.left, box.top, box.right, box.bottom);
    MoveToEx(pieceDc, box.left, box.top, nullptr);
    LineTo(pieceDc, box.right, box.bottom);
    MoveToEx(pieceDc, box.right - 1, box.top, nullptr);
    LineTo(pieceDc, box.left - 1, box.bottom);
    SelectObject(pieceDc, oldBrush);
    SelectObject(pieceDc, old);
    DeleteObject(pen);
    // Remembered where the turn below puts it, so that a click finds it there.
    RECT shown = TurnedRect(box, upWidth, upHeight, position);
    OffsetRect(&shown, tab.left, tab.top);
    CloseBoxRects[static_cast<size_t>(index)] = shown;
  }
  if (position == TSkinTabSide::Left) RotateLeft(&piece);
  if (position == TSkinTabSide::Right) RotateRight(&piece);
  BitBlt(dc, tab.left, tab.top, width, height, piece.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinTab::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || dc == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  Enabled = IsWindowEnabled(Handle) ? 1 : 0;
  // The control makes its scroller only once its tabs no longer fit.
  AttachUpDown();
  TBitmap work(width, height, pf24bit);
  TCanvas* canvas = work.Canvas();
  HDC workDc = canvas->Handle();
  const RECT local{0, 0, width, height};
  FillSkinBackground(workDc, local);
  AssignItemFont(canvas->Font(), Control, Handle);

  RECT pane{};
  GetClientRect(Handle, &pane);
  SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
  InflateRect(&pane, 4, 4);
  if (HasImage(PaneImage)) DrawNineSlice(workDc, pane, PaneImage.get(), false, false, false, 1, 1, PaneMargins);

  const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int focus = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
  CloseBoxRects.assign(static_cast<size_t>(std::max(count, 0)), RECT{-1, -1, -1, -1});
  if (HasImage(TabImage)) {
    // The focused tab last: it overlaps its neighbours.
    for (int pass = 0; pass < 2; ++pass)
      for (int i = 0; i < count; ++i) {
        if ((i == focus) != (pass == 1)) continue;
        RECT tab{};
        if (!SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab))) continue;
        DrawTab(workDc, canvas, tab, i, i == focus);
      }
  }
  const int saved = SaveDC(dc);
  if (UpDown != nullptr && IsWindowVisible(UpDown->Handle)) {
    RECT spin{};
    GetWindowRect(UpDown->Handle, &spin);
    MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&spin), 2);
    ExcludeClipRect(dc, rect.left + spin.left, rect.top + spin.top, rect.left + spin.right, rect.top + spin.bottom);
  }
  BitBlt(dc, rect.left, rect.top, width, height, workDc, 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
  if (Mode != 2) return;
  PaintGraphicChildren(dc, Control);
}
