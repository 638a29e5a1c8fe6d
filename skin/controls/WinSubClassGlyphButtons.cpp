// TSkinBitButton and TSkinSpeedButton: buttons with a glyph beside the caption.
#include <algorithm>
#include <cctype>

#include "framework/ImageList.h"
#include "skin/controls/WinSubClassButtons.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/image/ImgUtil.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Where along the layout axis the glyph goes: 0 left, 1 right, 2 top, 3 bottom.
int LayoutOf(const TControl* control) {
  const std::string layout = Lower(GetEnumPropByName(control, "Layout"));
  if (layout == "blglyphright") return 1;
  if (layout == "blglyphtop") return 2;
  if (layout == "blglyphbottom") return 3;
  return 0;
}

}  // namespace

void TSkinBitButton::DrawGlyphAndCaption(const RECT& client, int glyphCell, bool enabled, bool fromGlyphOnly) {
  TCanvas* canvas = Buffer->Canvas();
  HDC dc = canvas->Handle();
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;

  // The glyph source and its size G.
  TGraphic* picture = nullptr;
  TBitmap* glyph = nullptr;
  TImageList* images = nullptr;
  int numGlyphs = 1;
  SIZE g{0, 0};
  if (!GlyphProperty.empty() && Control != nullptr) {
    picture = static_cast<TGraphic*>(GetObjectPropByName(Control, GlyphProperty, TGraphic::StaticClass()));
    if (picture != nullptr && !picture->Empty()) g = {picture->Width(), picture->Height()};
    else picture = nullptr;
  } else if (Control != nullptr) {
    glyph = static_cast<TBitmap*>(GetObjectPropByName(Control, "Glyph", TBitmap::StaticClass()));
    if (glyph != nullptr && !glyph->Empty()) {
      // No cells (0) counts as one: a division by zero otherwise.
      numGlyphs = std::max(GetOrdPropByName(Control, "NumGlyphs"), 1);
      g = {glyph->Width() / numGlyphs, glyph->Height()};
    } else {
      glyph = nullptr;
      if (!fromGlyphOnly) {
        images = static_cast<TImageList*>(GetObjectPropByName(Control, "Images", TImageList::StaticClass()));
        if (images != nullptr && GetOrdPropByName(Control, "ImageIndex") != -1) g = {images->Width(), images->Height()};
        else images = nullptr;
      }
    }
  }

  const int layout = LayoutOf(Control);
  const bool horizontal = layout <= 1;
  RECT area = client;
  InflateRect(&area, -2, -2);
  if (horizontal) area.right -= g.cx + 2;
  else area.bottom -= g.cy + 2;
  Caption = SplitCaption(Caption);
  SIZE s{0, 0};
  if (!Caption.empty()) {
    RECT measured{0, 0, std::max<LONG>(area.right - area.left, 0), std::max<LONG>(area.bottom - area.top, 0)};
    DrawSkinText(dc, Caption, measured, DT_CALCRECT | DT_WORDBREAK);
    s = {measured.right - measured.left, measured.bottom - measured.top};
  }

  const int extent = horizontal ? width : height;
  const int glyphExtent = horizontal ? g.cx : g.cy;
  const int textExtent = horizontal ? s.cx : s.cy;
  int margin = Control != nullptr ? GetOrdPropByName(Control, "Margin") : -1;
  int spacing = Control != nullptr ? GetOrdPropByName(Control, "Spacing") : -1;
  if (s.cx == 0 || g.cx == 0) spacing = 0;
  if (margin == -1 || Lower(GetEnumPropByName(Control, "Alignment")) == "tacenter") {
    if (spacing == -1) {
      margin = spacing = (extent - glyphExtent - textExtent) / 3;
    } else {
      margin = (extent - (glyphExtent + spacing + textExtent)) / 2;
    }
  } else if (spacing == -1) {
    spacing = (extent - margin - glyphExtent - textExtent) / 2;
  }

  int glyphAt = margin, textAt = margin + glyphExtent + spacing;
  UINT flags = DT_WORDBREAK;
  if (layout == 1 || layout == 3) {
    glyphAt = extent - margin - glyphExtent;
    textAt = glyphAt - spacing - textExtent;
  }
  if (layout == 1) flags |= DT_RIGHT;
  if (layout >= 2) flags |= DT_CENTER;
  POINT glyphPos, textPos;
  if (horizontal) {
    glyphPos = {glyphAt, (height - g.cy + 1) / 2};
    textPos = {textAt, (height - s.cy + 1) / 2};
  } else {
    glyphPos = {(width - g.cx + 1) / 2, glyphAt};
    textPos = {(width - s.cx + 1) / 2, textAt};
  }

  if (picture != nullptr) {
    canvas->Draw(glyphPos.x, glyphPos.y, picture);
  } else if (glyph != nullptr) {
    int cell = glyphCell;
    if (cell > numGlyphs) cell = 1;
    TBitmap piece(g.cx, g.cy);
    BitBlt(piece.Canvas()->Handle(), 0, 0, g.cx, g.cy, glyph->Canvas()->Handle(), (cell - 1) * g.cx, 0, SRCCOPY);
    // A glyph without a disabled cell is greyed for the disabled look.
    if (glyphCell == 2 && cell == 1) MakeGray(&piece);
    piece.SetTransparentMode(tmAuto);
    piece.SetTransparent(true);
    canvas->Draw(glyphPos.x, glyphPos.y, &piece);
  } else if (images != nullptr) {
    const int imageIndex = GetOrdPropByName(Control, "ImageIndex");
    const int disabledIndex = GetOrdPropByName(Control, "DisabledIndex");
    if (enabled) images->Draw(*canvas, glyphPos.x, glyphPos.y, imageIndex, true);
    else if (disabledIndex != -1) images->Draw(*canvas, glyphPos.x, glyphPos.y, disabledIndex, true);
    else images->Draw(*canvas, glyphPos.x, glyphPos.y, imageIndex, false);
  }

  if (!Caption.empty()) {
    dc = canvas->Handle();
    RECT text{textPos.x, textPos.y, textPos.x + s.cx, textPos.y + s.cy};
    DrawSkinText(dc, Caption, text, RightToLeftFlag(Control, flags));
    if (Focused && SkinData != nullptr && !SkinData->Options().Contains(xoNoFocusRect)) {
      InflateRect(&text, 2, 2);
      DrawFocusRect(dc, &text);
    }
  }
}

void TSkinBitButton::DrawSkin(HDC dc, const RECT& rect) {
  ReadState();
  const int state = StateFrameIndex(IsDefault());
  if (!PaintFace(rect, state)) return;
  HGDIOBJ previous = SelectCaptionFont(state);
  const int glyphCell = (MouseState & kMousePressed) ? 3 : !Enabled ? 2 : 1;
  const RECT client{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  DrawGlyphAndCaption(client, glyphCell, Enabled != 0, false);
  HDC buffer = Buffer->Canvas()->Handle();
  BitBlt(dc, rect.left, rect.top, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
  if (previous != nullptr) SelectObject(buffer, previous);
}

// ---- TSkinSpeedButton ----

void TSkinSpeedButton::InitSpeedButton(TSkinControlList* form, TSkinData* skinData, TCanvas* canvas, TControl* control) {
  if (Attached) return;
  SkinData = skinData;
  Canvas = canvas;
  Form = form;
  Control = control != nullptr ? control : dynamic_cast<TControl*>(Owner());
  if (Control == nullptr) return;
  if (Control != Owner()) Control->FreeNotification(this);
  Companion = Control;
  OldWindowProc = Control->WindowProc;
  Control->WindowProc = [this](TMessage& message) { SkinWndProc(message); };
  if (Form != nullptr) Form->AddSkinControl(this);
  DecideTransparent();
  Attached = 1;
  SkinState = kSkinAttached;
  Refresh();
}

void TSkinSpeedButton::RestoreHandler() {
  if (Control != nullptr && OldWindowProc) {
    // Runs inside the handler being replaced: keep this call's closure alive.
    TWndMethod self = std::move(Control->WindowProc);
    Control->WindowProc = OldWindowProc;
    OldWindowProc = nullptr;
    (void)self;
  }
}

bool TSkinSpeedButton::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      if (message.WParam != 0) PaintOn(reinterpret_cast<HDC>(message.WParam));
      message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallOldProc(message);
      MouseState |= kMousePressed;
      Refresh();
      return false;
    case WM_LBUTTONUP:
      return true;
    default:
      return TSkinButton::BeforeProc(message);
  }
}

void TSkinSpeedButton::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
    case WM_MOUSEMOVE:
      break;
    case WM_NCDESTROY:
    case 0xB021:
      RestoreHandler();
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (message.WParam == VK_SPACE) {
        if (message.Msg == WM_KEYDOWN) MouseState |= kMousePressed;
        else MouseState &= static_cast<uint8_t>(~kMousePressed);
        Refresh();
      }
      break;
    case WM_LBUTTONUP:
      MouseState &= static_cast<uint8_t>(~kMousePressed);
      Refresh();
      break;
    case CM_MOUSEENTER:
      MouseState |= kMouseHot;
      Refresh();
      break;
    case CM_MOUSELEAVE:
      MouseState &= static_cast<uint8_t>(~(kMouseHot | kMousePressed));
      if (Control != nullptr && Control->Visible()) Refresh();
      break;
    default:
      TSkinButton::AfterProc(message);
      break;
  }
}

void TSkinSpeedButton::PaintWindow(HDC) {
  // Without a window the button is painted only through its parent: ask for that.
  Refresh();
}

void TSkinSpeedButton::PaintOn(HDC dc) {
  if (Control == nullptr) return;
  const RECT rect{0, 0, Control->Width(), Control->Height()};
  try {
    DrawSkin(dc, rect);
  } catch (...) {
  }
}

void TSkinSpeedButton::DrawSkin(HDC dc, const RECT& rect) {
  if (Painting || Control == nullptr || SkinData == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width < 1 || height < 1) return;
  Painting = 1;
  struct Guard {
    uint8_t& flag;
    ~Guard() { flag = 0; }
  } guard{Painting};

  const bool down = Lower(GetEnumPropByName(Control, "Down")) == "true";
  Enabled = Lower(GetEnumPropByName(Control, "Enabled")) == "true" ? 1 : 0;
  int state = down ? 2 : !Enabled ? 3 : (MouseState & kMousePressed) ? 2 : (MouseState & kMouseHot) ? 4 : 1;
  const int glyphCell = down ? 4 : (MouseState & kMousePressed) ? 3 : !Enabled ? 2 : 1;
  Focused = 0;
  Caption = GetTextPropByName(Control, "Caption");
  if (Buffer->Width() != width || Buffer->Height() != height) Buffer->SetSize(width, height);
  HDC buffer = Buffer->Canvas()->Handle();
  const RECT local{0, 0, width, height};
  if (Transparent)
    DrawParentBackground(Control, buffer);
  else
    FillSkinBackground(buffer, local);
  const bool flat = Lower(GetEnumPropByName(Control, "Flat")) == "true";
  const bool hasFace = SkinData->Buttons && SkinData->Buttons->Bitmap && !SkinData->Buttons->Bitmap->Empty();
  if (hasFace && (state == 2 || state == 4 || !flat))
    DrawElementFrame(Control, buffer, local, SkinData->Buttons->FrameCount, state, SkinData->Buttons.get());
  if (hasFace) {
    HGDIOBJ previous = SelectCaptionFont(state);
    DrawGlyphAndCaption(local, glyphCell, Enabled != 0, true);
    if (previous != nullptr) SelectObject(Buffer->Canvas()->Handle(), previous);
  }
  BitBlt(dc, rect.left, rect.top, width, height, Buffer->Canvas()->Handle(), 0, 0, SRCCOPY);
}
