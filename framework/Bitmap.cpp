#include "framework/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/BmpFormat.h"
#include "framework/ClassBuilder.h"

// ---- TGraphic ----

const TClassInfo& TGraphic::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGraphic>("TGraphic", &Inherited::StaticClass())
                                     .Property("Transparent", &TGraphic::Transparent, &TGraphic::SetTransparent)
                                     .Build();
  return info;
}

void TGraphic::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, TFileMode::fmOpenRead);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) {
  TFileStream stream(fileName, TFileMode::fmCreate);
  SaveToStream(stream);
}

// ---- TBitmapCanvas: a memory DC with the bitmap selected ----

class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  // Lets go of the DC (before the bitmap handle changes).
  void FreeContext() {
    if (!dc_) return;
    DeselectHandles();
    if (oldBitmap_) SelectObject(dc_->Get(), oldBitmap_);
    oldBitmap_ = nullptr;
    SetHandle(nullptr);
    dc_.reset();
  }

 protected:
  void CreateHandle() override {
    if (dc_) return;
    dc_ = std::make_unique<MemoryDC>(nullptr);
    if (!*dc_) {
      dc_.reset();
      return;
    }
    if (bitmap_->handle_) oldBitmap_ = SelectObject(dc_->Get(), bitmap_->handle_.Get());
    SetHandle(dc_->Get());
  }

 private:
  TBitmap* bitmap_;
  std::unique_ptr<MemoryDC> dc_;
  HGDIOBJ oldBitmap_ = nullptr;
};

// ---- TBitmap ----

namespace {

int BitsOf(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

std::vector<RGBQUAD> DefaultPalette(int bits) {
  std::vector<RGBQUAD> pal;
  auto add = [&](int r, int g, int b) {
    pal.push_back(RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
  };
  if (bits == 1) {
    add(0, 0, 0);
    add(255, 255, 255);
  } else if (bits == 4) {
    static const int kVga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (const auto& c : kVga) add(c[0], c[1], c[2]);
  } else if (bits == 8) {
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
    for (int i = 0; i < 40; ++i) add(i * 255 / 39, i * 255 / 39, i * 255 / 39);
  }
  return pal;
}

}  // namespace

const TClassInfo& TBitmap::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TBitmap>("TBitmap", &Inherited::StaticClass())
          .Property("Width", &TBitmap::Width, &TBitmap::SetWidth)
          .Property("Height", &TBitmap::Height, &TBitmap::SetHeight)
          .Property("PixelFormat", &TBitmap::PixelFormat, &TBitmap::SetPixelFormat)
          .Property("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor, &ColorIdents())
          .Property("TransparentMode", &TBitmap::TransparentMode, &TBitmap::SetTransparentMode)
          .Build();
  return info;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : pixelFormat_(format) {
  Recreate(width, height, format, false);
}

TBitmap::~TBitmap() { canvas_.reset(); }

int TBitmap::BitsPerPixel() const { return BitsOf(pixelFormat_); }

void TBitmap::CanvasChanging() {
  if (canvas_) canvas_->FreeContext();
}

void TBitmap::Recreate(int width, int height, TPixelFormat format, bool copy) {
  if (format == pfCustom) throw Exception("pfCustom is not a pixel format a bitmap can be made in");
  if (width < 0 || height < 0 || width > kMaxBmpSide || height > kMaxBmpSide)
    throw Exception("bitmap size " + std::to_string(width) + " x " + std::to_string(height) + " out of range");
  CanvasChanging();
  if (width == 0 || height == 0) {
    handle_.Reset();
    bits_ = nullptr;
    stride_ = 0;
    width_ = height_ = 0;
    pixelFormat_ = format;
    Changed();
    return;
  }
  const int bits = BitsOf(format);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } bmi{};
  bmi.header.biSize = sizeof(BITMAPINFOHEADER);
  bmi.header.biWidth = width;
  bmi.header.biHeight = height;
  bmi.header.biPlanes = 1;
  bmi.header.biBitCount = static_cast<WORD>(bits);
  bmi.header.biCompression = BI_RGB;
  if (format == pf16bit) {
    bmi.header.biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(bmi.colors, masks, sizeof masks);
  }
  const std::vector<RGBQUAD> palette = DefaultPalette(bits);
  std::copy(palette.begin(), palette.end(), bmi.colors);
  bmi.header.biClrUsed = static_cast<DWORD>(palette.size());
  void* newBits = nullptr;
  HBITMAP created = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS, &newBits, nullptr, 0);
  if (!created) throw Exception("cannot create a bitmap of " + std::to_string(width) + " x " + std::to_string(height));
  UniqueGdi<HBITMAP> fresh(created);
  const size_t stride = BmpStride(width, static_cast<uint16_t>(bits));
  std::memset(newBits, 0, stride * static_cast<size_t>(height));
  if (copy && handle_) {
    MemoryDC from(nullptr), to(nullptr);
    SelectGuard keepFrom(from.Get(), handle_.Get());
    SelectGuard keepTo(to.Get(), fresh.Get());
    BitBlt(to.Get(), 0, 0, std::min(width, width_), std::min(height, height_), from.Get(), 0, 0, SRCCOPY);
  }
  handle_ = std::move(fresh);
  bits_ = static_cast<uint8_t*>(newBits);
  stride_ = stride;
  width_ = width;
  height_ = height;
  pixelFormat_ = format;
  Changed();
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  Recreate(width, height, pixelFormat_, true);
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == pixelFormat_) return;
  if (!handle_) {
    if (value == pfCustom) throw Exception("pfCustom is not a pixel format a bitmap can be made in");
    pixelFormat_ = value;
    return;
  }
  Recreate(width_, height_, value, true);
}

HDC TBitmap::SelectInto() { return Canvas()->Handle(); }

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(this);
  return canvas_.get();
}

uint8_t* TBitmap::ScanLine(int row) {
  if (!bits_ || row < 0 || row >= height_) throw Exception("Scan line index out of range: " + std::to_string(row));
  GdiFlush();
  return bits_ + static_cast<size_t>(height_ - 1 - row) * stride_;
}

void TBitmap::SetHandle(HBITMAP bitmap) {
  CanvasChanging();
  if (!bitmap) {
    handle_.Reset();
    bits_ = nullptr;
    stride_ = 0;
    width_ = height_ = 0;
    Changed();
    return;
  }
  DIBSECTION dib{};
  if (GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits) {
    handle_.Reset(bitmap);
    bits_ = static_cast<uint8_t*>(dib.dsBm.bmBits);
    width_ = dib.dsBm.bmWidth;
    height_ = std::abs(dib.dsBm.bmHeight);
    stride_ = static_cast<size_t>(dib.dsBm.bmWidthBytes);
    switch (dib.dsBm.bmBitsPixel) {
      case 1: pixelFormat_ = pf1bit; break;
      case 4: pixelFormat_ = pf4bit; break;
      case 8: pixelFormat_ = pf8bit; break;
      case 16: pixelFormat_ = dib.dsBmih.biCompression == BI_BITFIELDS && dib.dsBitfields[1] == 0x07E0 ? pf16bit : pf15bit; break;
      case 24: pixelFormat_ = pf24bit; break;
      default: pixelFormat_ = pf32bit; break;
    }
    if (dib.dsBmih.biHeight < 0) {
      // A top-down DIB: copy into our bottom-up layout so ScanLine stays right.
      UniqueGdi<HBITMAP> original(handle_.Release());
      handle_ = UniqueGdi<HBITMAP>();
      const int w = width_, h = height_;
      width_ = height_ = 0;
      Recreate(w, h, pixelFormat_, false);
      MemoryDC from(nullptr);
      SelectGuard keep(from.Get(), original.Get());
      BitBlt(SelectInto(), 0, 0, w, h, from.Get(), 0, 0, SRCCOPY);
    }
    Changed();
    return;
  }
  // A device-dependent bitmap: copy it into a 32-bit DIB.
  BITMAP bm{};
  UniqueGdi<HBITMAP> original(bitmap);
  if (!GetObjectW(bitmap, sizeof bm, &bm)) throw Exception("not a bitmap handle");
  handle_.Reset();
  width_ = height_ = 0;
  Recreate(bm.bmWidth, bm.bmHeight, pfDevice, false);
  MemoryDC from(nullptr);
  SelectGuard keep(from.Get(), original.Get());
  BitBlt(SelectInto(), 0, 0, bm.bmWidth, bm.bmHeight, from.Get(), 0, 0, SRCCOPY);
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  CanvasChanging();
  HBITMAP h = handle_.Release();
  bits_ = nullptr;
  stride_ = 0;
  width_ = height_ = 0;
  return h;
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
  if (!bits_) return clDefault;
  // The bottom-left pixel, read through GDI so every pixel format works. A bitmap can be
  // selected into one DC only: use the canvas's.
  return static_cast<TColor>(GetPixel(const_cast<TBitmap*>(this)->SelectInto(), 0, height_ - 1));
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == transparentColor_) return;
  transparentColor_ = value;
  transparentMode_ = value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == transparentMode_) return;
  transparentMode_ = value;
  if (value == tmAuto) transparentColor_ = clDefault;
  Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
  if (!handle_) return;
  const HDC dst = canvas.Handle();
  const TColor key = Transparent() ? TransparentColor() : clDefault;
  const HDC src = SelectInto();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (Transparent() && key != clDefault) {
    TransparentBlt(dst, rect.left, rect.top, w, h, src, 0, 0, width_, height_, ColorToRGB(key));
    return;
  }
  const int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
  StretchBlt(dst, rect.left, rect.top, w, h, src, 0, 0, width_, height_, canvas.CopyMode());
  SetStretchBltMode(dst, oldMode);
}

void TBitmap::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(0, stream.Remaining())));
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), bytes.size());
  TBmpInfo info;
  std::string error;
  if (!ParseBmp(bytes, info, error)) throw Exception("Bitmap image is not valid: " + error);
  TPixelFormat format = pf24bit;
  switch (info.bitCount) {
    case 1: format = pf1bit; break;
    case 4: format = pf4bit; break;
    case 8: format = pf8bit; break;
    case 16:
      if (!info.bitFields || (info.masks[0] == 0x7C00 && info.masks[1] == 0x03E0 && info.masks[2] == 0x001F)) {
        format = pf15bit;
      } else if (info.masks[0] == 0xF800 && info.masks[1] == 0x07E0 && info.masks[2] == 0x001F) {
        format = pf16bit;
      } else {
        throw Exception("Bitmap image is not valid: unsupported 16-bit masks");
      }
      break;
    case 24: format = pf24bit; break;
    default:
      if (info.bitFields && !(info.masks[0] == 0xFF0000 && info.masks[1] == 0xFF00 && info.masks[2] == 0xFF))
        throw Exception("Bitmap image is not valid: unsupported 32-bit masks");
      format = pf32bit;
      break;
  }
  width_ = height_ = 0;  // no copy of the old picture
  Recreate(info.width, info.height, format, false);
  if (!info.palette.empty()) {
    std::vector<RGBQUAD> colors;
    for (uint32_t c : info.palette)
      colors.push_back(RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0});
    SetDIBColorTable(SelectInto(), 0, static_cast<UINT>(colors.size()), colors.data());
  }
  GdiFlush();
  const uint8_t* source = bytes.data() + info.pixelOffset;
  for (int fileRow = 0; fileRow < info.height; ++fileRow) {
    const int imageRow = info.topDown ? fileRow : info.height - 1 - fileRow;
    std::memcpy(ScanLine(imageRow), source + static_cast<size_t>(fileRow) * info.stride, info.stride);
  }
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
  if (!handle_) throw Exception("cannot save an empty bitmap");
  const int bits = BitsPerPixel();
  std::vector<uint32_t> palette;
  if (bits <= 8) {
    RGBQUAD colors[256];
    const UINT n = GetDIBColorTable(SelectInto(), 0, 256, colors);
    for (UINT i = 0; i < n; ++i)
      palette.push_back(static_cast<uint32_t>(colors[i].rgbRed) << 16 | static_cast<uint32_t>(colors[i].rgbGreen) << 8 |
                        colors[i].rgbBlue);
  }
  GdiFlush();
  const std::span<const uint8_t> rows(bits_, stride_ * static_cast<size_t>(height_));
  const std::vector<uint8_t> file =
      WriteBmp(width_, height_, static_cast<uint16_t>(bits), palette, rows, pixelFormat_ == pf16bit);
  stream.WriteBuffer(file.data(), file.size());
}

void TBitmap::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TBitmap*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  width_ = height_ = 0;
  Recreate(other->width_, other->height_, other->pixelFormat_, false);
  if (other->handle_) {
    GdiFlush();
    std::memcpy(bits_, other->bits_, stride_ * static_cast<size_t>(height_));
    if (BitsPerPixel() <= 8) {
      RGBQUAD colors[256];
      const UINT n = GetDIBColorTable(const_cast<TBitmap*>(other)->SelectInto(), 0, 256, colors);
      SetDIBColorTable(SelectInto(), 0, n, colors);
    }
  }
  transparentColor_ = other->transparentColor_;
  transparentMode_ = other->transparentMode_;
  SetTransparent(other->Transparent());
  Changed();
}

void TBitmap::LoadFromResourceName(HINSTANCE module, const wchar_t* name) {
  auto* bitmap = static_cast<HBITMAP>(LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) throw Exception("bitmap resource not found");
  SetHandle(bitmap);
}

// ---- TIcon ----

const TClassInfo& TIcon::StaticClass() {
  static const TClassInfo info = TClassBuilder<TIcon>("TIcon", &Inherited::StaticClass()).Build();
  return info;
}

TIcon::~TIcon() { Clear(); }

void TIcon::Clear() {
  if (handle_ && owned_) {
    DestroyIcon(handle_);
    ResourceFreed(TResourceKind::Icon);
  }
  handle_ = nullptr;
  owned_ = false;
}

void TIcon::SetHandle(HICON icon, bool owned) {
  if (icon == handle_) return;
  Clear();
  handle_ = icon;
  owned_ = icon && owned;
  if (owned_) ResourceCreated(TResourceKind::Icon);
  Changed();
}

HICON TIcon::ReleaseHandle() {
  if (owned_) ResourceFreed(TResourceKind::Icon);
  owned_ = false;
  return std::exchange(handle_, nullptr);
}

int TIcon::Width() const { return handle_ ? GetSystemMetrics(SM_CXICON) : 0; }
int TIcon::Height() const { return handle_ ? GetSystemMetrics(SM_CYICON) : 0; }

bool TIcon::LoadFromResourceName(HINSTANCE module, const wchar_t* name) {
  auto* icon = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  if (!icon) return false;
  SetHandle(icon, false);  // shared: the system frees it
  return true;
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) {
  if (!handle_) return;
  DrawIconEx(canvas.Handle(), rect.left, rect.top, handle_, rect.right - rect.left, rect.bottom - rect.top, 0,
             nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(TStream& stream) {
  // An .ico file: a 6-byte directory header, 16-byte entries, then the images. The first
  // image is used.
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(0, stream.Remaining())));
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), bytes.size());
  auto u16 = [&](size_t at) { return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (bytes.size() < 22 || u16(0) != 0 || u16(2) != 1 || u16(4) == 0) throw Exception("Icon image is not valid");
  const uint32_t size = u32(6 + 8), offset = u32(6 + 12);
  if (offset > bytes.size() || size > bytes.size() - offset || size < 40) throw Exception("Icon image is not valid");
  const int w = bytes[6] ? bytes[6] : 256, h = bytes[7] ? bytes[7] : 256;
  HICON icon = CreateIconFromResourceEx(bytes.data() + offset, size, TRUE, 0x00030000, w, h, LR_DEFAULTCOLOR);
  if (!icon) throw Exception("Icon image is not valid");
  SetHandle(icon, true);
}

void TIcon::SaveToStream(TStream& /*stream*/) { throw Exception("saving icons is not supported"); }
