#include "framework/Graphics.h"

#include <cstddef>

#include "framework/Bitmap.h"
#include "framework/ClassBuilder.h"

bool SystemNonClientMetrics(NONCLIENTMETRICSW& metrics) {
  for (const UINT size : {static_cast<UINT>(sizeof(NONCLIENTMETRICSW)),
                          static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth))}) {
    metrics = NONCLIENTMETRICSW{};
    metrics.cbSize = size;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, size, &metrics, 0)) return true;
  }
  return false;
}

COLORREF ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

const TIdentMap& ColorIdents() {
  static const TIdentMap map{
      {"clBlack", clBlack},
      {"clMaroon", clMaroon},
      {"clGreen", clGreen},
      {"clOlive", clOlive},
      {"clNavy", clNavy},
      {"clPurple", clPurple},
      {"clTeal", clTeal},
      {"clGray", clGray},
      {"clSilver", clSilver},
      {"clRed", clRed},
      {"clLime", clLime},
      {"clYellow", clYellow},
      {"clBlue", clBlue},
      {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},
      {"clWhite", clWhite},
      {"clMoneyGreen", 0xC0DCC0},
      {"clSkyBlue", 0xF0CAA6},
      {"clCream", 0xF0FBFF},
      {"clMedGray", 0xA4A0A0},
      {"clNone", clNone},
      {"clDefault", clDefault},
      {"clScrollBar", clScrollBar},
      {"clBackground", clBackground},
      {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption},
      {"clMenu", clMenu},
      {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame},
      {"clMenuText", clMenuText},
      {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText},
      {"clActiveBorder", clActiveBorder},
      {"clInactiveBorder", clInactiveBorder},
      {"clAppWorkSpace", clAppWorkSpace},
      {"clHighlight", clHighlight},
      {"clHighlightText", clHighlightText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clGrayText", clGrayText},
      {"clBtnText", clBtnText},
      {"clInactiveCaptionText", clInactiveCaptionText},
      {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow},
      {"cl3DLight", cl3DLight},
      {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk},
      {"clHotLight", clHotLight},
      {"clGradientActiveCaption", SystemColor(27)},
      {"clGradientInactiveCaption", SystemColor(28)},
      {"clMenuHighlight", SystemColor(29)},
      {"clMenuBar", SystemColor(30)},
  };
  return map;
}

const TIdentMap& CharsetIdents() {
  static const TIdentMap map{
      {"ANSI_CHARSET", ANSI_CHARSET},         {"DEFAULT_CHARSET", DEFAULT_CHARSET},
      {"SYMBOL_CHARSET", SYMBOL_CHARSET},     {"MAC_CHARSET", MAC_CHARSET},
      {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}, {"HANGEUL_CHARSET", HANGEUL_CHARSET},
      {"JOHAB_CHARSET", JOHAB_CHARSET},       {"GB2312_CHARSET", GB2312_CHARSET},
      {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET}, {"GREEK_CHARSET", GREEK_CHARSET},
      {"TURKISH_CHARSET", TURKISH_CHARSET},   {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
      {"HEBREW_CHARSET", HEBREW_CHARSET},     {"ARABIC_CHARSET", ARABIC_CHARSET},
      {"BALTIC_CHARSET", BALTIC_CHARSET},     {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
      {"THAI_CHARSET", THAI_CHARSET},         {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
      {"OEM_CHARSET", OEM_CHARSET},
  };
  return map;
}

const TClassInfo& TGraphicsObject::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGraphicsObject>("TGraphicsObject", &Inherited::StaticClass()).Build();
  return info;
}

void TGraphicsObject::Notify() {
  if (OnChange) OnChange(this);
}

void TFont::Changed() {
  const UniqueGdi<HFONT> old = std::move(handle_);
  Notify();
}

void TPen::Changed() {
  const UniqueGdi<HPEN> old = std::move(handle_);
  Notify();
}

void TBrush::Changed() {
  const UniqueGdi<HBRUSH> old = std::move(handle_);
  Notify();
}

// ---- TFont ----

const TClassInfo& TFont::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFont>("TFont", &Inherited::StaticClass())
                                     .Property("Charset", &TFont::Charset, &TFont::SetCharset, &CharsetIdents())
                                     .Property("Color", &TFont::Color, &TFont::SetColor, &ColorIdents())
                                     .Property("Height", &TFont::Height, &TFont::SetHeight)
                                     .Property("Name", &TFont::Name, &TFont::SetName)
                                     .Property("Pitch", &TFont::Pitch, &TFont::SetPitch)
                                     .Property("Size", &TFont::Size, &TFont::SetSize)
                                     .Property("Style", &TFont::Style, &TFont::SetStyle)
                                     .Build();
  return info;
}

TFont::TFont() : name_(L"Tahoma"), height_(-11) {}

void TFont::SetName(const std::wstring& value) {
  if (value == name_ || value.empty()) return;
  name_ = value.substr(0, LF_FACESIZE - 1);
  Changed();
}

void TFont::SetHeight(int32_t value) {
  if (value == height_) return;
  height_ = value;
  Changed();
}

int32_t TFont::Size() const { return -MulDiv(height_, 72, kPixelsPerInch); }

void TFont::SetSize(int32_t value) { SetHeight(-MulDiv(value, kPixelsPerInch, 72)); }

void TFont::SetCharset(int32_t value) {
  value &= 0xFF;
  if (value == charset_) return;
  charset_ = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  // The colour is not part of the GDI font: notify without a new handle.
  Notify();
}

void TFont::SetStyle(TFontStyles value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (value == pitch_) return;
  pitch_ = value;
  Changed();
}

LOGFONTW TFont::MakeLogFont() const {
  LOGFONTW lf{};
  lf.lfHeight = height_;
  lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style_.Contains(fsItalic);
  lf.lfUnderline = style_.Contains(fsUnderline);
  lf.lfStrikeOut = style_.Contains(fsStrikeOut);
  lf.lfCharSet = static_cast<BYTE>(charset_);
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
  wcsncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
  return lf;
}

HFONT TFont::Handle() {
  if (!handle_) {
    const LOGFONTW lf = MakeLogFont();
    handle_.Reset(CreateFontIndirectW(&lf));
  }
  return handle_.Get();
}

bool TFont::SameAs(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && charset_ == other.charset_ &&
         color_ == other.color_ && style_ == other.style_ && pitch_ == other.pitch_;
}

void TFont::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TFont*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (SameAs(*other)) return;
  name_ = other->name_;
  height_ = other->height_;
  charset_ = other->charset_;
  color_ = other->color_;
  style_ = other->style_;
  pitch_ = other->pitch_;
  Changed();
}

// ---- TPen ----

const TClassInfo& TPen::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPen>("TPen", &Inherited::StaticClass())
                                     .Property("Color", &TPen::Color, &TPen::SetColor, &ColorIdents())
                                     .Property("Style", &TPen::Style, &TPen::SetStyle)
                                     .Property("Width", &TPen::Width, &TPen::SetWidth)
                                     .Build();
  return info;
}

HPEN TPen::Handle() {
  if (!handle_) {
    static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    handle_.Reset(CreatePen(kStyles[style_], width_, ColorToRGB(color_)));
  }
  return handle_.Get();
}

void TPen::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TPen::SetWidth(int32_t value) {
  if (value < 0 || value == width_) return;
  width_ = value;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TPen::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TPen*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  color_ = other->color_;
  width_ = other->width_;
  style_ = other->style_;
  Changed();
}

// ---- TBrush ----

const TClassInfo& TBrush::StaticClass() {
  static const TClassInfo info = TClassBuilder<TBrush>("TBrush", &Inherited::StaticClass())
                                     .Property("Color", &TBrush::Color, &TBrush::SetColor, &ColorIdents())
                                     .Property("Style", &TBrush::Style, &TBrush::SetStyle)
                                     .Build();
  return info;
}

HBRUSH TBrush::Handle() {
  if (style_ == bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!handle_) {
    if (style_ == bsSolid) {
      handle_.Reset(CreateSolidBrush(ColorToRGB(color_)));
    } else {
      static const int kHatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
      handle_.Reset(CreateHatchBrush(kHatches[style_], ColorToRGB(color_)));
    }
  }
  return handle_.Get();
}

void TBrush::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TBrush::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TBrush*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  color_ = other->color_;
  style_ = other->style_;
  Changed();
}

// ---- TCanvas ----

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas", &Inherited::StaticClass())
                                     .Property("Font", &TCanvas::Font)
                                     .Property("Pen", &TCanvas::Pen)
                                     .Property("Brush", &TCanvas::Brush)
                                     .Build();
  return info;
}

TCanvas::TCanvas() : font_(new TFont), pen_(new TPen), brush_(new TBrush) {
  // A changed object must leave the DC before its old handle is deleted.
  font_->OnChange = [this](TObject*) {
    if (state_ & kFontValid) {
      SelectObject(handle_, oldFont_);
      state_ &= ~kFontValid;
    }
  };
  pen_->OnChange = [this](TObject*) {
    if (state_ & kPenValid) {
      SelectObject(handle_, oldPen_);
      state_ &= ~kPenValid;
    }
  };
  brush_->OnChange = [this](TObject*) {
    if (state_ & kBrushValid) {
      SelectObject(handle_, oldBrush_);
      state_ &= ~kBrushValid;
    }
  };
}

TCanvas::~TCanvas() {
  DeselectHandles();
  delete font_;
  delete pen_;
  delete brush_;
}

HDC TCanvas::Handle() {
  if (!handle_) CreateHandle();
  if (!handle_) throw Exception("Canvas does not allow drawing");
  return handle_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == handle_) return;
  DeselectHandles();
  handle_ = dc;
}

void TCanvas::DeselectHandles() {
  if (!handle_) return;
  if (state_ & kFontValid) SelectObject(handle_, oldFont_);
  if (state_ & kPenValid) SelectObject(handle_, oldPen_);
  if (state_ & kBrushValid) SelectObject(handle_, oldBrush_);
  state_ = 0;
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::RequireState(unsigned what) {
  const HDC dc = Handle();
  if ((what & kFontValid) && !(state_ & kFontValid)) {
    oldFont_ = SelectObject(dc, font_->Handle());
    SetTextColor(dc, ColorToRGB(font_->Color()));
    state_ |= kFontValid;
  }
  if ((what & kFontValid)) SetTextColor(dc, ColorToRGB(font_->Color()));
  if ((what & kPenValid) && !(state_ & kPenValid)) {
    oldPen_ = SelectObject(dc, pen_->Handle());
    state_ |= kPenValid;
  }
  if ((what & kBrushValid) && !(state_ & kBrushValid)) {
    oldBrush_ = SelectObject(dc, brush_->Handle());
    state_ |= kBrushValid;
  }
  if (what & kBrushValid) {
    SetBkColor(dc, ColorToRGB(brush_->Color()));
    SetBkMode(dc, brush_->Style() == bsSolid ? OPAQUE : TRANSPARENT);
  }
}

void TCanvas::Lock() {
  lock_.lock();
  ++lockCount_;
}

void TCanvas::Unlock() {
  --lockCount_;
  lock_.unlock();
}

bool TCanvas::TryLock() {
  if (!lock_.try_lock()) return false;
  ++lockCount_;
  return true;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::FillRect(const TRect& rect) {
  Changing();
  RequireState(kBrushValid);
  ::FillRect(handle_, &rect, brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
  Changing();
  RequireState(kBrushValid);
  ::FrameRect(handle_, &rect, brush_->Handle());
  Changed();
}

void TCanvas::Rectangle(const TRect& rect) {
  Changing();
  RequireState(kPenValid | kBrushValid);
  ::Rectangle(handle_, rect.left, rect.top, rect.right, rect.bottom);
  Changed();
}

void TCanvas::Ellipse(const TRect& rect) {
  Changing();
  RequireState(kPenValid | kBrushValid);
  ::Ellipse(handle_, rect.left, rect.top, rect.right, rect.bottom);
  Changed();
}

void TCanvas::MoveTo(int x, int y) {
  RequireState(kPenValid);
  MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequireState(kPenValid);
  ::LineTo(handle_, x, y);
  Changed();
}

void TCanvas::Polyline(const TPoint* points, int count) {
  Changing();
  RequireState(kPenValid);
  ::Polyline(handle_, points, count);
  Changed();
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
  Changing();
  RequireState(kFontValid | kBrushValid);
  ExtTextOutW(handle_, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::wstring& text) {
  Changing();
  RequireState(kFontValid | kBrushValid);
  const UINT options = ETO_CLIPPED | (brush_->Style() == bsSolid ? ETO_OPAQUE : 0);
  ExtTextOutW(handle_, x, y, options, &rect, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

int TCanvas::DrawText(const std::wstring& text, TRect& rect, UINT format) {
  Changing();
  RequireState(kFontValid | kBrushValid);
  const int h = ::DrawTextW(handle_, text.c_str(), static_cast<int>(text.size()), &rect, format);
  Changed();
  return h;
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
  RequireState(kFontValid);
  SIZE size{};
  GetTextExtentPoint32W(handle_, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

COLORREF TCanvas::Pixel(int x, int y) { return GetPixel(Handle(), x, y); }

void TCanvas::SetPixel(int x, int y, TColor color) {
  Changing();
  ::SetPixel(Handle(), x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequireState(0);
  graphic->Draw(*this, rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& canvas, const TRect& source) {
  Changing();
  const HDC src = canvas.Handle();
  const HDC dst = Handle();
  const int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
  StretchBlt(dst, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src, source.left,
             source.top, source.right - source.left, source.bottom - source.top, copyMode_);
  SetStretchBltMode(dst, oldMode);
  Changed();
}

TRect TCanvas::ClipRect() {
  TRect r{};
  GetClipBox(Handle(), &r);
  return r;
}
