// Owners of GDI handles and device-context guards. Every owner counts what it creates and
// frees (ResourceCount.h), so tests can prove that nothing leaks.
//
//   UniqueGdi<HFONT> font(CreateFontIndirectW(&lf));    // DeleteObject when it goes
//   MemoryDC dc(screen);                                 // DeleteDC
//   SelectGuard keep(dc.Get(), font.Get());              // deselects before the owner dies
//
// Owners are move-only and do not convert to the raw handle implicitly.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "framework/ResourceCount.h"

template <class H>
struct GdiKind;
template <>
struct GdiKind<HFONT> {
  static constexpr TResourceKind kKind = TResourceKind::Font;
};
template <>
struct GdiKind<HBRUSH> {
  static constexpr TResourceKind kKind = TResourceKind::Brush;
};
template <>
struct GdiKind<HPEN> {
  static constexpr TResourceKind kKind = TResourceKind::Pen;
};
template <>
struct GdiKind<HBITMAP> {
  static constexpr TResourceKind kKind = TResourceKind::Bitmap;
};
template <>
struct GdiKind<HRGN> {
  static constexpr TResourceKind kKind = TResourceKind::Region;
};

// Owns one GDI object (font, brush, pen, bitmap, region); DeleteObject at the end.
template <class H>
class UniqueGdi {
 public:
  UniqueGdi() = default;
  // Takes ownership of `handle` (nullptr allowed) and counts it.
  explicit UniqueGdi(H handle) : handle_(handle) {
    if (handle_) ResourceCreated(GdiKind<H>::kKind);
  }
  UniqueGdi(UniqueGdi&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueGdi& operator=(UniqueGdi&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueGdi(const UniqueGdi&) = delete;
  UniqueGdi& operator=(const UniqueGdi&) = delete;
  ~UniqueGdi() { Reset(); }

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(H handle = nullptr) {
    if (handle_) {
      DeleteObject(handle_);
      ResourceFreed(GdiKind<H>::kKind);
    }
    handle_ = handle;
    if (handle_) ResourceCreated(GdiKind<H>::kKind);
  }
  // Gives up ownership (a Windows call took it, e.g. SetWindowRgn); uncounts it.
  H Release() {
    if (handle_) ResourceFreed(GdiKind<H>::kKind);
    return std::exchange(handle_, nullptr);
  }

 private:
  H handle_ = nullptr;
};

// A memory DC compatible with `reference` (nullptr: the screen). DeleteDC at the end.
class MemoryDC {
 public:
  explicit MemoryDC(HDC reference = nullptr) : dc_(CreateCompatibleDC(reference)) {
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

// GetDC/GetWindowDC ... ReleaseDC.
class WindowDC {
 public:
  // `whole` selects GetWindowDC (non-client area included).
  explicit WindowDC(HWND window, bool whole = false)
      : window_(window), dc_(whole ? GetWindowDC(window) : GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint ... EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(window_, &ps_); }
  HDC Get() const { return dc_; }
  const PAINTSTRUCT& Info() const { return ps_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back at the end. Declare it
// after the owner of the object, so it runs first.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC ... RestoreDC.
class SavedDCState {
 public:
  explicit SavedDCState(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  SavedDCState(const SavedDCState&) = delete;
  SavedDCState& operator=(const SavedDCState&) = delete;
  ~SavedDCState() {
    if (id_) RestoreDC(dc_, id_);
  }

 private:
  HDC dc_;
  int id_;
};
