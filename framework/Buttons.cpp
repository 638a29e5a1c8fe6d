// TBitBtn and TSpeedButton.
#include "framework/Buttons.h"

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "framework/Forms.h"

// ---- shared glyph and caption placement ----

TGlyphLayout LayoutGlyphAndText(const TRect& client, SIZE glyphSize, SIZE textSize, TButtonLayout layout,
                                int margin, int spacing) {
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  const int extent = horizontal ? client.right - client.left : client.bottom - client.top;
  const int glyphAlong = horizontal ? glyphSize.cx : glyphSize.cy;
  const int textAlong = horizontal ? textSize.cx : textSize.cy;
  if (glyphAlong == 0 || textAlong == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      margin = spacing = (extent - glyphAlong - textAlong) / 3;
    } else {
      margin = (extent - (glyphAlong + spacing + textAlong)) / 2;
    }
  } else if (spacing == -1) {
    spacing = (extent - margin - glyphAlong - textAlong) / 2;
  }
  // Across the layout axis both parts are centred.
  const int midX = (client.left + client.right) / 2, midY = (client.top + client.bottom) / 2;
  TGlyphLayout out;
  auto place = [&](TRect& r, SIZE size, int along) {
    if (horizontal) {
      r = Rect(client.left + along, midY - size.cy / 2, client.left + along + size.cx, midY - size.cy / 2 + size.cy);
    } else {
      r = Rect(midX - size.cx / 2, client.top + along, midX - size.cx / 2 + size.cx, client.top + along + size.cy);
    }
  };
  switch (layout) {
    case blGlyphLeft:
    case blGlyphTop:
      place(out.glyph, glyphSize, margin);
      place(out.text, textSize, margin + glyphAlong + spacing);
      break;
    case blGlyphRight:
    case blGlyphBottom:
      place(out.glyph, glyphSize, extent - margin - glyphAlong);
      place(out.text, textSize, extent - margin - glyphAlong - spacing - textAlong);
      break;
  }
  return out;
}

void DrawGlyphCell(HDC dc, TBitmap& glyph, int numGlyphs, int cell, int x, int y) {
  if (glyph.Empty()) return;
  numGlyphs = std::max(1, numGlyphs);
  const int width = glyph.Width() / numGlyphs;
  if (width <= 0) return;
  if (cell < 0 || cell >= numGlyphs) cell = 0;
  HDC source = glyph.Canvas()->Handle();
  const COLORREF key = GetPixel(source, 0, glyph.Height() - 1);
  TransparentBlt(dc, x, y, width, glyph.Height(), source, cell * width, 0, width, glyph.Height(), key);
}

namespace {

SIZE GlyphCellSize(const TBitmap* glyph, int numGlyphs) {
  if (!glyph || glyph->Empty()) return SIZE{0, 0};
  return SIZE{glyph->Width() / std::max(1, numGlyphs), glyph->Height()};
}

SIZE CaptionSize(HDC dc, const std::wstring& caption) {
  if (caption.empty()) return SIZE{0, 0};
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// Glyph and caption of a button face; `cell` picks the glyph state, `offset` shifts a
// pressed face's contents by a pixel.
void DrawFaceContents(HDC dc, const TRect& face, TBitmap* glyph, int numGlyphs, int cell, const std::wstring& caption,
                      TButtonLayout layout, int margin, int spacing, bool enabled, int offset) {
  const SIZE glyphSize = GlyphCellSize(glyph, numGlyphs);
  const SIZE textSize = CaptionSize(dc, caption);
  TGlyphLayout at = LayoutGlyphAndText(face, glyphSize, textSize, layout, margin, spacing);
  OffsetRect(&at.glyph, offset, offset);
  OffsetRect(&at.text, offset, offset);
  if (glyph && glyphSize.cx > 0) DrawGlyphCell(dc, *glyph, numGlyphs, cell, at.glyph.left, at.glyph.top);
  if (caption.empty()) return;
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) {
    // The embossed look of disabled captions.
    OffsetRect(&at.text, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &at.text, DT_SINGLELINE | DT_NOCLIP);
    OffsetRect(&at.text, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &at.text, DT_SINGLELINE | DT_NOCLIP);
}

int NormaliseNumGlyphs(int32_t value) { return std::clamp<int32_t>(value, 1, 4); }

// A glyph property takes a copy of the bitmap it is given; none empties it.
void CopyGlyph(TBitmap& glyph, TBitmap* value) {
  if (value) {
    glyph.Assign(value);
  } else {
    glyph.FreeImage();
  }
}

}  // namespace

// ---- TBitBtn ----

const TClassInfo& TBitBtn::StaticClass() {
  static const TClassInfo info = TClassBuilder<TBitBtn>("TBitBtn", &Inherited::StaticClass())
                                     .Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
                                     .Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
                                     .Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout)
                                     .Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
                                     .Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
                                     .Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind)
                                     .Build();
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TBitBtn::~TBitBtn() { DestroyHandle(); }

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~static_cast<DWORD>(0x0F)) | BS_OWNERDRAW;
}

void TBitBtn::SetGlyph(TBitmap* value) {
  CopyGlyph(*glyph_, value);
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int32_t value) {
  value = NormaliseNumGlyphs(value);
  if (value == numGlyphs_) return;
  numGlyphs_ = value;
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TBitBtn::SetMargin(int32_t value) {
  value = std::max<int32_t>(value, -1);
  if (value == margin_) return;
  margin_ = value;
  Invalidate();
}

void TBitBtn::SetSpacing(int32_t value) {
  value = std::max<int32_t>(value, -1);
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind value) {
  if (value == kind_) return;
  kind_ = value;
  struct KindInfo {
    const wchar_t* caption;
    int32_t result;
  };
  static const KindInfo kinds[] = {{L"", mrNone},       {L"OK", mrOk},         {L"Cancel", mrCancel},
                                   {L"&Help", mrNone},  {L"&Yes", mrYes},      {L"&No", mrNo},
                                   {L"&Close", mrNone}, {L"Abort", mrAbort},   {L"&Retry", mrRetry},
                                   {L"&Ignore", mrIgnore}, {L"&All", 8}};
  if (value == bkCustom) return;
  const KindInfo& k = kinds[static_cast<int>(value)];
  if (!Loading() || Caption().empty()) SetCaption(k.caption);
  SetModalResult(k.result);
  if (value == bkOK || value == bkYes) SetDefault(true);
  if (value == bkCancel || value == bkNo) SetCancel(true);
}

void TBitBtn::Click() {
  // A Close button closes its form (after its own handler).
  if (kind_ == bkClose) {
    TButton::Click();
    if (TCustomForm* form = GetParentForm(this)) form->Close();
    return;
  }
  TButton::Click();
}

void TBitBtn::SetButtonStyle(bool isDefault) {
  if (isDefault == isDefault_) return;
  isDefault_ = isDefault;
  Invalidate();
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  TRect face = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0 && Enabled();
  FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  if (isDefault_ || focused) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&face, -1, -1);
  }
  if (pressed) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    DrawEdge(dc, &face, EDGE_RAISED, BF_RECT);
  }
  TRect inner = face;
  InflateRect(&inner, -2, -2);
  HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
  // Glyph cells: up, disabled, pressed.
  const int cell = !enabled ? 1 : pressed ? 2 : 0;
  DrawFaceContents(dc, inner, glyph_.get(), numGlyphs_, cell < numGlyphs_ ? cell : 0, Caption(), layout_, margin_,
                   spacing_, enabled, pressed ? 1 : 0);
  SelectObject(dc, oldFont);
  if (focused) {
    TRect focus = inner;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(dc, &focus);
  }
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      if (const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)) DrawItem(*item);
      m.Result = TRUE;
      return;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button turns a double click into a second click; keep it a press.
      m.Msg = WM_LBUTTONDOWN;
      break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      TButton::WndProc(m);
      Invalidate();
      return;
    default:
      break;
  }
  TButton::WndProc(m);
}

// ---- TSpeedButton ----

const TClassInfo& TSpeedButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSpeedButton>("TSpeedButton", &Inherited::StaticClass())
                                     .Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
                                     .Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
                                     .Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout)
                                     .Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
                                     .Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing)
                                     .Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
                                     .Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
                                     .Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
                                     .Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
                                     .Property("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent)
                                     .Build();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(std::make_unique<TBitmap>()) {
  // Clicks are raised here on release (after Down changed), not by the base class.
  controlStyle_ = TControlStyle{csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 23, 22);
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(TBitmap* value) {
  CopyGlyph(*glyph_, value);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int32_t value) {
  value = NormaliseNumGlyphs(value);
  if (value == numGlyphs_) return;
  numGlyphs_ = value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TSpeedButton::SetMargin(int32_t value) {
  value = std::max<int32_t>(value, -1);
  if (value == margin_) return;
  margin_ = value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int32_t value) {
  value = std::max<int32_t>(value, -1);
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  Invalidate();
}

void TSpeedButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  // The last button down of a group stays down unless the group allows all up.
  if (down_ && !allowAllUp_) return;
  down_ = value;
  if (value) UpdateExclusive();
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int32_t value) {
  value = std::max<int32_t>(value, 0);
  if (value == groupIndex_) return;
  groupIndex_ = value;
  if (value == 0) {
    down_ = false;
    Invalidate();
  } else if (down_) {
    UpdateExclusive();
  }
}

void TSpeedButton::SetAllowAllUp(bool value) {
  if (value == allowAllUp_) return;
  allowAllUp_ = value;
  // The whole group shares the setting.
  if (groupIndex_ == 0 || !Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    if (auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i)); other && other->groupIndex_ == groupIndex_)
      other->allowAllUp_ = value;
}

void TSpeedButton::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  if (value) {
    controlStyle_.Exclude(csOpaque);
  } else {
    controlStyle_.Include(csOpaque);
  }
  Invalidate();
}

void TSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || !Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
    if (!other || other == this || other->groupIndex_ != groupIndex_) continue;
    if (other->down_) {
      other->down_ = false;
      other->Invalidate();
    }
    other->allowAllUp_ = allowAllUp_;
  }
}

TButtonState TSpeedButton::State() const {
  if (!Enabled()) return bsDisabled;
  if (dragging_ && pressedInside_) return bsDown;
  if (down_) return bsExclusive;
  return bsUp;
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  dragging_ = true;
  pressedInside_ = true;
  Invalidate();
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  if (inside == pressedInside_) return;
  pressedInside_ = inside;
  Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && dragging_) {
    dragging_ = false;
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    pressedInside_ = false;
    if (inside && groupIndex_ != 0) SetDown(!down_ || !allowAllUp_);
    Invalidate();
    if (inside) Click();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      mouseInControl_ = m.Msg == CM_MOUSEENTER;
      if (flat_ && Enabled()) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      if (!Enabled()) dragging_ = pressedInside_ = false;
      break;
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  if (Width() < 1 || Height() < 1) return;
  HDC dc = Canvas()->Handle();
  TRect face = Rect(0, 0, Width(), Height());
  const TButtonState state = State();
  const bool sunk = state == bsDown || state == bsExclusive;
  if (!transparent_ || (!flat_ && !sunk)) FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  if (state == bsExclusive && !flat_) {
    // A button that stays down shows a lighter face.
    TRect inner = face;
    InflateRect(&inner, -1, -1);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_3DLIGHT));
  }
  if (flat_) {
    if (sunk) {
      DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT);
    } else if (mouseInControl_ && state != bsDisabled) {
      DrawEdge(dc, &face, BDR_RAISEDINNER, BF_RECT);
    }
  } else {
    DrawEdge(dc, &face, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  }
  TRect inner = face;
  InflateRect(&inner, -2, -2);
  HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
  // Glyph cells: up, disabled, pressed, down.
  int cell = 0;
  switch (state) {
    case bsDisabled: cell = 1; break;
    case bsDown: cell = 2; break;
    case bsExclusive: cell = 3; break;
    default: break;
  }
  if (cell >= numGlyphs_) cell = state == bsExclusive && numGlyphs_ > 2 ? 2 : 0;
  DrawFaceContents(dc, inner, glyph_.get(), numGlyphs_, cell, Caption(), layout_, margin_, spacing_,
                   state != bsDisabled, sunk ? 1 : 0);
  SelectObject(dc, oldFont);
}

void RegisterButtonClasses() { RegisterClasses({&TBitBtn::StaticClass(), &TSpeedButton::StaticClass()}); }
