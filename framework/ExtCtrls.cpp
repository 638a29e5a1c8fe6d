#include "framework/ExtCtrls.h"

#include <map>

#include "framework/Application.h"
#include "framework/ClassBuilder.h"

namespace {
// Live timers by system timer id (GUI thread only).
std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}
}  // namespace

const TClassInfo& TTimer::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTimer>("TTimer", &Inherited::StaticClass())
                                     .Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
                                     .Property("Interval", &TTimer::Interval, &TTimer::SetInterval)
                                     .Property("OnTimer", &TTimer::OnTimer)
                                     .Build();
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  enabled_ = false;
  UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(int32_t value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (id_) {
    KillTimer(nullptr, id_);
    Timers().erase(id_);
    id_ = 0;
  }
  // No timer while a layout is still being read. (OnTimer is a plain member that may be
  // set at any time, so a timer runs whether or not a handler is assigned yet.)
  if (!enabled_ || interval_ <= 0 || Loading() || DestroyingState()) return;
  id_ = SetTimer(nullptr, 0, static_cast<UINT>(interval_), &TTimer::TimerProc);
  if (!id_) throw Exception("Not enough timers available");
  Timers()[id_] = this;
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  try {
    auto it = Timers().find(id);
    if (it != Timers().end()) it->second->Timer();
  } catch (...) {
    if (Application) Application->HandleException(std::current_exception());
  }
}

// ---- TPanel ----

const TClassInfo& TCustomPanel::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomPanel>("TCustomPanel", &Inherited::StaticClass())
                                     .Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
                                     .Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
                                     .Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
                                     .Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)
                                     .Build();
  return info;
}

const TClassInfo& TPanel::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPanel>("TPanel", &Inherited::StaticClass()).Build();
  return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int32_t value) {
  if (value == bevelWidth_ || value < 0) return;
  bevelWidth_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCustomPanel::AlignControls(TRect& rect) {
  int inset = 0;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  InflateRect(&rect, -inset, -inset);
  TCustomControl::AlignControls(rect);
}

void TCustomPanel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  auto bevel = [&](TPanelBevel kind) {
    if (kind == bvNone) return;
    const UINT edge = kind == bvLowered ? BDR_SUNKENOUTER : kind == bvRaised ? BDR_RAISEDINNER : 0;
    for (int i = 0; i < bevelWidth_; ++i) {
      if (edge) {
        DrawEdge(canvas->Handle(), &r, edge, BF_RECT);
      }
      InflateRect(&r, -1, -1);
    }
  };
  bevel(bevelOuter_);
  bevel(bevelInner_);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(r);
  canvas->Brush()->SetStyle(bsClear);
  const UINT align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
  const std::wstring text = Text();
  canvas->DrawText(text, r, align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}
