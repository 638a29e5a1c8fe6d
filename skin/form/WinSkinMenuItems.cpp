// Menu items drawn from the skin: the item painter (MenuItem element over the popup's
// background, glyph box, check mark, text, shortcut, separators), the measurers, and the
// switching of framework menus to these painters.
#include <algorithm>
#include <utility>

#include "framework/Bitmap.h"
#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinMenu.h"
#include "skin/form/WinSkinMenuText.h"
#include "skin/form/WinSkinPopMenu.h"

namespace {

constexpr int kMenuItemFrames = 5;
constexpr int kBorderOffset = 3;

bool HasImage(const TDataSkinObject* element) {
  return element != nullptr && element->Bitmap && element->Bitmap->Width() > 0 && element->Bitmap->Height() > 0;
}

int ItemMarginLeft(TSkinData* skinData) {
  return skinData != nullptr && skinData->MenuItem ? skinData->MenuItem->Margins.left : 0;
}

TSkinData* SkinDataOfWindow(HWND window) {
  TSkinManage* manager = SkinManage();
  if (manager == nullptr) return nullptr;
  TSkinFrameBase* frame = manager->FindSkinForm(window);
  if (frame == nullptr || frame->SkinData == nullptr || frame->SkinData->SkinEmpty) return nullptr;
  return frame->SkinData;
}

// A check mark of two strokes, centred in `box`.
void DrawCheckMark(HDC dc, const RECT& box, COLORREF colour) {
  const int cx = (box.left + box.right) / 2;
  const int cy = (box.top + box.bottom) / 2;
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
  const HGDIOBJ old = SelectObject(dc, pen.Get());
  for (int row = 0; row < 3; ++row) {
    MoveToEx(dc, cx - 3, cy - 1 + row, nullptr);
    LineTo(dc, cx - 1, cy + 1 + row);
    LineTo(dc, cx + 4, cy - 4 + row);
  }
  SelectObject(dc, old);
}

void DrawItemContents(HDC dc, const RECT& rect, const TMenuItemLook& look, bool selected, TSkinData* data) {
  if (look.Caption == L"-") {
    RECT line{rect.left, rect.top + 4, rect.right, rect.bottom};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int margin = ItemMarginLeft(data);
  int boxWidth = 16;
  const bool hasImage = look.Images != nullptr && look.ImageIndex >= 0 && look.ImageIndex < look.Images->Count();
  if (look.Images != nullptr) boxWidth = look.Checked ? std::max(16, look.Images->Width()) : look.Images->Width();
  RECT box{rect.left + 1 + margin, rect.top + 1, rect.left + 1 + margin + boxWidth, rect.top + 1 + boxWidth};
  if (hasImage) {
    if (look.Checked) {
      box.bottom = box.top + 16;
      gdi::Brush face(CreateSolidBrush(ColorToRGB(selected ? data->ButtonFaceColour : data->ButtonLightColour)));
      FillRect(dc, &box, face.Get());
      RECT edge = box;
      DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    TCanvas canvas;
    canvas.SetHandle(dc);
    const int y = box.top + std::max<int>(0, ((box.bottom - box.top) - look.Images->Height()) / 2);
    look.Images->Draw(canvas, box.left, y, look.ImageIndex, look.Enabled);
    canvas.SetHandle(nullptr);
  } else if (look.Checked) {
    const int height = rect.bottom - rect.top;
    RECT mark{box.left, rect.top + (height - 16) / 2, box.right, rect.top + (height - 16) / 2 + 16};
    DrawCheckMark(dc, mark, ColorToRGB(look.Enabled ? (selected ? data->HilightTextColour : data->ButtonTextColour)
                                                    : data->ButtonShadowColour));
  }
  TColor colour = look.Enabled ? (selected ? data->HilightTextColour : data->MenuTextColour) : data->ButtonShadowColour;
  if (!look.Enabled && data->ButtonShadowColour == data->MenuTextColour) colour = SystemColor(COLOR_BTNSHADOW);
  const HGDIOBJ oldFont = SelectObject(dc, SkinMenuFont(look.Default));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(colour));
  std::wstring text = look.Caption;
  if (text.empty() || text == L"&") text += L" ";
  RECT textRect{box.right + 3, rect.top, rect.right - 1, rect.bottom};
  RECT measured = textRect;
  DrawSkinText(dc, text, measured, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  const int textHeight = measured.bottom - measured.top;
  textRect.top = rect.top + ((rect.bottom - rect.top) - textHeight) / 2;
  textRect.bottom = textRect.top + textHeight;
  DrawSkinText(dc, text, textRect, DT_SINGLELINE | DT_EXPANDTABS);
  if (!look.ShortCut.empty()) {
    RECT right{textRect.left, textRect.top, rect.right - 1 - 10, textRect.bottom};
    DrawSkinText(dc, look.ShortCut, right, DT_SINGLELINE | DT_RIGHT);
  }
  SelectObject(dc, oldFont);
}

// The separator from frame 2 of the MenuItem image: both ends and the middle, magenta
// left out; the bottom part of the image when it is taller than the item.
void DrawSkinSeparator(HDC dc, const RECT& local, const TDataSkinObject& element) {
  TBitmap* image = element.Bitmap.get();
  const int frameWidth = image->Width() / kMenuItemFrames;
  const int height = local.bottom - local.top;
  const int sourceHeight = std::min(height, image->Height());
  const int sourceTop = image->Height() - sourceHeight;
  const int left = std::min<int>(element.Margins.left, frameWidth);
  const int right = std::min<int>(element.Margins.right, frameWidth - left);
  const int middle = frameWidth - left - right;
  HDC source = image->Canvas()->Handle();
  const int x0 = frameWidth;  // frame 2
  const int width = local.right - local.left;
  auto put = [&](int dx, int dw, int sx, int sw) {
    if (dw <= 0 || sw <= 0) return;
    GdiTransparentBlt(dc, local.left + dx, local.top + (height - sourceHeight), dw, sourceHeight, source, sx, sourceTop,
                   sw, sourceHeight, kSkinKeyColour);
  };
  put(0, left, x0, left);
  put(width - right, right, x0 + frameWidth - right, right);
  put(left, width - left - right, x0 + left, middle);
}

}  // namespace

HFONT SkinMenuFont(bool bold) {
  static UniqueGdi<HFONT> regular;
  static UniqueGdi<HFONT> heavy;
  UniqueGdi<HFONT>& font = bold ? heavy : regular;
  if (!font) {
    NONCLIENTMETRICSW metrics{};
    if (SystemNonClientMetrics(metrics)) {
      if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
      font.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
    }
  }
  return font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void DrawMenuBarCaption(HDC dc, const RECT& rect, const std::wstring& caption, bool enabled,
                        const TSkinData& skinData) {
  const HGDIOBJ oldFont = SelectObject(dc, SkinMenuFont(false));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(enabled ? skinData.MenuBarTextColour : skinData.ButtonShadowColour));
  RECT text = rect;
  DrawSkinText(dc, caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);
}

TMenuItemLook LookOfItem(TMenuItem* item) {
  TMenuItemLook look;
  look.Caption = item->Caption();
  look.ShortCut = ShortCutToText(item->ShortCut());
  look.Enabled = item->Enabled();
  look.Checked = item->Checked();
  look.Default = item->Default();
  look.ImageIndex = item->ImageIndex();
  if (TMenu* menu = item->GetParentMenu()) look.Images = menu->Images();
  return look;
}

bool LookOfMenuEntry(HMENU menu, UINT id, bool byPosition, TMenuItemLook& look) {
  if (menu == nullptr) return false;
  wchar_t text[256] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 255;
  if (GetMenuItemInfoW(menu, id, byPosition ? TRUE : FALSE, &info)) {
    look.Caption = (info.fType & MFT_SEPARATOR) != 0 || text[0] == L'\0' ? L"-" : text;
    const size_t tab = look.Caption.find(L'\t');
    if (tab != std::wstring::npos) {
      look.ShortCut = look.Caption.substr(tab + 1);
      look.Caption.resize(tab);
    }
    look.Enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    look.Checked = (info.fState & MFS_CHECKED) != 0;
    look.Default = (info.fState & MFS_DEFAULT) != 0;
    return true;
  }
  if (byPosition) return false;
  // Not found by the system's own search: walk the sub-menus.
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (sub != nullptr && LookOfMenuEntry(sub, id, false, look)) return true;
  }
  return false;
}

void PaintSkinMenuItem(TSkinData* data, HDC dc, const RECT& rect, HMENU parentMenu, const TMenuItemLook& look,
                       bool selected) {
  if (data == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  TDataSkinObject* element = data->MenuItem.get();
  if (!HasImage(element)) {
    gdi::Brush fill(CreateSolidBrush(ColorToRGB(selected ? data->HilightColour : data->MenuColour)));
    FillRect(dc, &rect, fill.Get());
    DrawItemContents(dc, rect, look, selected, data);
    return;
  }
  gdi::MemoryDC buffer(dc);
  gdi::Bitmap surface(CreateCompatibleBitmap(dc, width, height));
  if (!surface) return;
  gdi::Selection select(buffer.Get(), surface.Get());
  if (!select.Ok()) return;
  const RECT local{0, 0, width, height};
  POINT origin{kBorderOffset, kBorderOffset};
  TBitmap* background = FindPopupBackground(parentMenu, origin);
  if (background != nullptr && !background->Empty()) {
    BitBlt(buffer.Get(), 0, 0, width, height, background->Canvas()->Handle(), rect.left + origin.x,
           rect.top + origin.y, SRCCOPY);
  } else {
    gdi::Brush fill(CreateSolidBrush(ColorToRGB(data->MenuColour)));
    FillRect(buffer.Get(), &local, fill.Get());
  }
  if (look.Caption != L"-") {
    DrawNineSlice(buffer.Get(), local, element->Bitmap.get(), false, element->Tile == 1, element->Trans == 1,
                  kMenuItemFrames, selected ? 4 : 1, element->Margins);
    DrawItemContents(buffer.Get(), local, look, selected, data);
  } else {
    DrawSkinSeparator(buffer.Get(), local, *element);
  }
  BitBlt(dc, rect.left, rect.top, width, height, buffer.Get(), 0, 0, SRCCOPY);
}

void GrowMainMenuItemWidth(TSkinData* skinData, bool hasImages, int& width) {
  width += ItemMarginLeft(skinData);
  if (!hasImages) width += 25;
  width += 10;
}

void GrowPopupItemWidth(TSkinData* skinData, bool hasImages, int& width) {
  width += ItemMarginLeft(skinData);
  if (!hasImages) width += 23;
  width += 12;
}

void MeasureEntryFromText(TSkinData* skinData, HDC dc, const std::wstring& text, int& width, int& height) {
  const HGDIOBJ old = SelectObject(dc, SkinMenuFont(false));
  RECT calc{0, 0, 0, 0};
  const std::wstring shown = text == L"-" ? std::wstring() : text;
  if (!shown.empty()) DrawSkinText(dc, shown, calc, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  SelectObject(dc, old);
  width = (calc.right - calc.left) + 26 + ItemMarginLeft(skinData);
  height = shown.empty() ? 8 : (calc.bottom - calc.top) + 4;
  if (!IsNtPlatform()) height += 4;
}

// ---- Switching framework menus to the skin's painters ----

namespace {

// The skin's painter and measurer. Whether an item is the skin's is told by the type of
// the handler it holds, never by its address: an item freed with the skin's handlers takes
// that mark with it, and an application item made later at the same address is not the
// skin's. The painter keeps the handler it replaced and gives it back when the skin lets
// the item go.
struct SkinItemPainter {
  HWND window;
  TMenuDrawItemEvent previous;

  void operator()(TObject* sender, TCanvas* canvas, TRect rect, bool selected) const {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (item == nullptr) return;
    TSkinData* data = SkinDataOfWindow(window);
    if (data == nullptr) {
      // The frame is gone: the item looks as it would without the skin.
      if (previous) {
        previous(sender, canvas, rect, selected);
      } else {
        item->DefaultDrawItem(canvas, rect, selected);
      }
      return;
    }
    const HMENU parent = item->ParentHandle();
    if (TSkinManage* manager = SkinManage()) manager->AssignPopupMenu(parent);
    PaintSkinMenuItem(data, canvas->Handle(), rect, parent, LookOfItem(item), selected);
  }
};

struct SkinItemMeasurer {
  HWND window;
  bool popup;

  void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (item == nullptr) return;
    item->DefaultMeasureItem(canvas, width, height);
    TSkinData* data = SkinDataOfWindow(window);
    if (data == nullptr) return;
    const TMenu* menu = item->GetParentMenu();
    const bool hasImages = menu != nullptr && menu->Images() != nullptr;
    if (popup) {
      GrowPopupItemWidth(data, hasImages, width);
    } else {
      GrowMainMenuItemWidth(data, hasImages, width);
    }
  }
};

void GiveHandlers(HWND window, TMenuItem* item, bool on, bool popup, bool keepOwn, int depth, int fromDepth) {
  if (depth >= fromDepth) {
    const auto* painter = item->OnDrawItem.target<SkinItemPainter>();
    const bool skinMeasurer = item->OnMeasureItem.target<SkinItemMeasurer>() != nullptr;
    if (on) {
      if (painter != nullptr || !keepOwn || !item->OnDrawItem) {
        // Given again: the handler the skin first replaced stays the one to give back.
        TMenuDrawItemEvent previous = painter != nullptr ? painter->previous : item->OnDrawItem;
        item->OnDrawItem = SkinItemPainter{window, std::move(previous)};
        if (!item->OnMeasureItem || skinMeasurer) item->OnMeasureItem = SkinItemMeasurer{window, popup};
      }
    } else {
      if (painter != nullptr) {
        TMenuDrawItemEvent previous = painter->previous;
        item->OnDrawItem = std::move(previous);
      }
      if (skinMeasurer) item->OnMeasureItem = nullptr;
    }
  }
  for (int i = 0; i < item->Count(); ++i) GiveHandlers(window, item->Items(i), on, popup, keepOwn, depth + 1, fromDepth);
}

}  // namespace

void SetOwnerDrawItems(HWND window, TMenuItem* item, bool on) {
  if (item == nullptr) return;
  GiveHandlers(window, item, on, false, false, 0, 0);
}

void SetOwnerDrawMainMenus(HWND window, TComponent* owner, bool on) {
  if (owner == nullptr) return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    auto* menu = dynamic_cast<TMainMenu*>(owner->Components(i));
    if (menu == nullptr) continue;
    // Items below the top level: the root is depth 0, the bar's items depth 1.
    GiveHandlers(window, menu->Items(), on, false, true, 0, 2);
    menu->SetOwnerDraw(on);
  }
}

void SetOwnerDrawPopups(HWND window, TComponent* owner, bool on) {
  if (owner == nullptr) return;
  TSkinData* data = SkinDataOfWindow(window);
  const int32_t disableTag = data != nullptr ? data->DisableTag() : -1;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent* component = owner->Components(i);
    if (auto* popup = dynamic_cast<TPopupMenu*>(component)) {
      if (popup->Tag() == disableTag && data != nullptr) continue;
      GiveHandlers(window, popup->Items(), on, true, true, 0, 1);
      popup->SetOwnerDraw(on);
    } else if (dynamic_cast<TCustomForm*>(component) != nullptr) {
      SetOwnerDrawPopups(window, component, on);
    }
  }
}

void SetOwnerDrawPopupItems(HWND window, TMenuItem* root, bool on) {
  if (root == nullptr) return;
  GiveHandlers(window, root, on, true, false, 0, 1);
}
