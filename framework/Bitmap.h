// Pictures: TGraphic (what a canvas can draw), TBitmap (a DIB section with pixel format,
// scan lines, a canvas, BMP streaming and transparency) and TIcon.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/Graphics.h"

class TGraphic : public TPersistent {
  FRAMEWORK_CLASS(TGraphic, TPersistent)

 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  // Draws the whole picture stretched into `rect` of `canvas`.
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);
  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  bool transparent_ = false;
};

FRAMEWORK_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
FRAMEWORK_ENUM(TTransparentMode, tmAuto, tmFixed)

class TBitmapCanvas;

// Every bitmap is a DIB section (pfDevice ones are 32-bit), stored bottom-up as Windows
// does; ScanLine(y) is row y counted from the top. Resizing keeps the picture's top-left
// part. Handles are counted.
class TBitmap : public TGraphic {
  FRAMEWORK_CLASS(TBitmap, TGraphic)

 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pf24bit);
  ~TBitmap() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int value) { SetSize(value, height_); }
  void SetHeight(int value) { SetSize(width_, value); }
  void SetSize(int width, int height);
  TPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TPixelFormat value);
  int BitsPerPixel() const;

  // The bitmap handle (made when the bitmap has a size); still owned by this object.
  HBITMAP Handle() const { return handle_.Get(); }
  bool HandleAllocated() const { return static_cast<bool>(handle_); }
  // Takes ownership of `bitmap` (nullptr clears); size and format come from it.
  void SetHandle(HBITMAP bitmap);
  // Gives the handle away; the bitmap becomes empty.
  HBITMAP ReleaseHandle();

  // Row `row` (0 = top); Exception when out of range or empty. Flushes GDI first.
  uint8_t* ScanLine(int row);
  // Bytes per row (a multiple of 4).
  int Stride() const { return static_cast<int>(stride_); }

  TCanvas* Canvas();
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);

  void Draw(TCanvas& canvas, const TRect& rect) override;
  // Reads a .bmp file image; throws Exception naming what is wrong.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  void Assign(const TPersistent* source) override;
  // Loads a BITMAP resource of the program (or of `module`).
  void LoadFromResourceName(HINSTANCE module, const wchar_t* name);
  void FreeImage() { SetSize(0, 0); }

 private:
  friend class TBitmapCanvas;
  // Makes a new DIB of the given shape, copying what fits of the old picture.
  void Recreate(int width, int height, TPixelFormat format, bool copy);
  HDC SelectInto();  // the canvas DC with the bitmap selected
  void CanvasChanging();

  int width_ = 0;
  int height_ = 0;
  TPixelFormat pixelFormat_ = pfDevice;
  UniqueGdi<HBITMAP> handle_;
  uint8_t* bits_ = nullptr;
  size_t stride_ = 0;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  std::unique_ptr<TBitmapCanvas> canvas_;
};

// An icon or cursor: owned (and counted) unless it is a shared system one.
class TIcon : public TGraphic {
  FRAMEWORK_CLASS(TIcon, TGraphic)

 public:
  TIcon() = default;
  ~TIcon() override;
  int Width() const override;
  int Height() const override;
  HICON Handle() const { return handle_; }
  // `owned`: DestroyIcon at the end (icons from LoadImage without LR_SHARED,
  // CreateIconIndirect, CopyIcon).
  void SetHandle(HICON icon, bool owned);
  HICON ReleaseHandle();
  // Loads icon resource `name` of `module` at the system's large size; false if absent.
  bool LoadFromResourceName(HINSTANCE module, const wchar_t* name);
  void Draw(TCanvas& canvas, const TRect& rect) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;

 private:
  void Clear();
  HICON handle_ = nullptr;
  bool owned_ = false;
};
