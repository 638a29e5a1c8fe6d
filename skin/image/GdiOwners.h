// Owners of the GDI objects the image routines and drawing primitives make for a moment:
// each frees its object once, and every create and free is counted (ResourceCount), so
// tests can show that painting returns to its baseline. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

#include "framework/ResourceCount.h"

namespace gdi {

// A GDI object freed with DeleteObject (bitmap, brush, region).
template <class Handle, TResourceKind Kind>
class Object {
 public:
  Object() = default;
  explicit Object(Handle handle) : handle_(handle) {
    if (handle_) ResourceCreated(Kind);
  }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  Object(Object&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Object& operator=(Object&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~Object() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Hands the object over (to a system call that now owns it, such as SetWindowRgn, or to
  // a caller that frees it itself); it no longer counts as ours.
  Handle Release() {
    if (handle_) ResourceFreed(Kind);
    return std::exchange(handle_, nullptr);
  }
  void Reset() {
    if (handle_) {
      DeleteObject(handle_);
      ResourceFreed(Kind);
      handle_ = nullptr;
    }
  }

 private:
  Handle handle_ = nullptr;
};

using Bitmap = Object<HBITMAP, TResourceKind::Bitmap>;
using Brush = Object<HBRUSH, TResourceKind::Brush>;
using Region = Object<HRGN, TResourceKind::Region>;

// A memory device context compatible with `like` (the screen when null).
class MemoryDC {
 public:
  explicit MemoryDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {
    if (dc_) ResourceCreated(TResourceKind::MemoryDC);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  ~MemoryDC() {
    if (dc_) {
      DeleteDC(dc_);
      ResourceFreed(TResourceKind::MemoryDC);
    }
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// An object selected into a DC until the end of the scope. Declare it after the owner of
// the object, so that the object is deselected before it is freed.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  bool Ok() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The screen's DC (GetDC of no window), released at the end of the scope.
class ScreenDC {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  ~ScreenDC() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Saves the state of a DC (SaveDC) and restores it at the end of the scope.
class SavedState {
 public:
  explicit SavedState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  SavedState(const SavedState&) = delete;
  SavedState& operator=(const SavedState&) = delete;
  ~SavedState() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// A top-down 32-bit DIB section (blue, green, red, unused per pixel) and its bits.
struct Dib32 {
  Bitmap bitmap;
  uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  explicit operator bool() const { return static_cast<bool>(bitmap); }
};
// Null bitmap for a size with no pixels or when the system refuses it.
Dib32 CreateDib32(int width, int height);

// A 1-bit bitmap: 0 black, 1 white.
Bitmap CreateMonoBitmap(int width, int height);

}  // namespace gdi
