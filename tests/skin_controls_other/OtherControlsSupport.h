// Helpers of the tests of the other skinned controls: a raw top-level window that holds
// raw common controls and reflects their notifications back to them (WM_NOTIFY and
// WM_COMMAND as the framework's CN_ messages, as framework parents do), and pixel checks
// against pictures made with the skin's drawing primitives.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skin/data/SkinElements.h"
#include "tests/skin_controls/SkinControlsSupport.h"

// A top-level raw window, topmost, holding the controls under test. One at a time on the
// screen across test programs (the shared screen mutex of the skinned-control tests).
class TRawHost {
 public:
  TRawHost(int width = 420, int height = 320);
  ~TRawHost();
  TRawHost(const TRawHost&) = delete;
  TRawHost& operator=(const TRawHost&) = delete;

  HWND Window() const { return window_; }
  HWND Add(const wchar_t* windowClass, DWORD style, int x, int y, int width, int height,
           const wchar_t* text = L"", DWORD exStyle = 0);
  // A tab control with three tabs ("第一页", "第二页", "三"), the second one selected.
  HWND AddTabs(DWORD style, int x, int y, int width, int height);
  // The answer the host gives to SKM_CLOSETAB, and how often it was asked.
  LRESULT closeTabAnswer = 0;
  int closeTabAsked = 0;
  WPARAM closeTabWParam = 0;
  LPARAM closeTabLParam = -1;

 private:
  static LRESULT CALLBACK HostProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  HANDLE screenLock_ = nullptr;
};

// The window's current window procedure.
WNDPROC WindowProcOf(HWND window);

// A picture of `width` x `height`: the face colour, then frame `frame` of `frames` of the
// element nine-sliced over it (transparent when the element says so).
std::unique_ptr<TCapture> ExpectedFrame(const TDataSkinObject& element, int frames, int frame, int width,
                                        int height, COLORREF face);

// The element's frame nine-sliced over magenta (key colour pixels stay magenta).
std::unique_ptr<TCapture> RawFrame(const TDataSkinObject& element, int frames, int frame, int width, int height);

// Pixels of `got` inside `area` equal those of `want` wherever `want` is not magenta.
testing::AssertionResult SameOpaquePixels(const TCapture& got, const RECT& area, const TCapture& want);

// Pixels of `got` inside `area` equal those of `want` at the same place relative to the
// area's corner; `ring` > 0 compares only that many pixels along the area's edges.
testing::AssertionResult SamePixels(const TCapture& got, const RECT& area, const TCapture& want, int ring = 0);

// How many pixels of `a` and `b` differ inside `area`.
int DifferingPixels(const TCapture& a, const TCapture& b, const RECT& area);
