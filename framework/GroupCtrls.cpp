// TGroupBox, TRadioGroup, TScrollBox.
#include "framework/GroupCtrls.h"

#include <algorithm>

#include "framework/ClassBuilder.h"

// ---- TCustomGroupBox ----

const TClassInfo& TCustomGroupBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomGroupBox>("TCustomGroupBox", &Inherited::StaticClass()).Build();
  return info;
}

const TClassInfo& TGroupBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGroupBox>("TGroupBox", &Inherited::StaticClass()).Build();
  return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = Canvas();
  HDC dc = canvas->Handle();
  const int textHeight = canvas->TextHeight(L"0");
  TRect frame = Rect(0, textHeight / 2 - 1, Width(), Height());
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::wstring caption = Caption();
  if (caption.empty()) return;
  TRect text = Rect(8, 0, Width() - 8, textHeight);
  canvas->Brush()->SetColor(Color());
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ColorToRGB(Color()));
  SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  // Only as wide as the caption, so the line shows on both sides.
  canvas->DrawText(caption, text, DT_SINGLELINE | DT_LEFT | DT_CALCRECT);
  canvas->DrawText(caption, text, DT_SINGLELINE | DT_LEFT);
}

void TCustomGroupBox::AlignControls(TRect& rect) {
  // Aligned children stay inside the frame, below the caption.
  rect.top += std::max(Font()->Height() < 0 ? -Font()->Height() : Font()->Height(), 13) + 2;
  InflateRect(&rect, -2, 0);
  rect.bottom -= 2;
  TCustomControl::AlignControls(rect);
}

void TCustomGroupBox::WndProc(TMessage& m) {
  TCustomControl::WndProc(m);
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_ENABLEDCHANGED) Invalidate();
}

// ---- TGroupButton ----

const TClassInfo& TGroupButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGroupButton>("TGroupButton", &Inherited::StaticClass()).Build();
  return info;
}

TGroupButton::TGroupButton(TCustomRadioGroup* group, int index) : TRadioButton(group), group_(group), index_(index) {
  SetTabStop(false);
}

void TGroupButton::Click() {
  group_->ButtonClicked(index_);
  TRadioButton::Click();
}

// ---- TCustomRadioGroup ----

const TClassInfo& TCustomRadioGroup::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomRadioGroup>("TCustomRadioGroup", &Inherited::StaticClass())
          .Property("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems)
          .Property("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex)
          .Property("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns)
          .Build();
  return info;
}

const TClassInfo& TRadioGroup::StaticClass() {
  static const TClassInfo info = TClassBuilder<TRadioGroup>("TRadioGroup", &Inherited::StaticClass()).Build();
  return info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
  items_->OnChange = [this](TObject*) { UpdateButtons(); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  // The buttons are owned (and freed) by the group; the list only refers to them.
  buttons_.clear();
}

TGroupButton* TCustomRadioGroup::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount()) return nullptr;
  return buttons_[static_cast<size_t>(index)];
}

void TCustomRadioGroup::UpdateButtons() {
  if (Loading()) return;
  updating_ = true;
  while (static_cast<int>(buttons_.size()) > items_->Count()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  while (static_cast<int>(buttons_.size()) < items_->Count()) {
    auto* button = new TGroupButton(this, static_cast<int>(buttons_.size()));
    button->SetEnabled(Enabled());
    button->SetParent(this);
    buttons_.push_back(button);
  }
  for (int i = 0; i < ButtonCount(); ++i) {
    buttons_[static_cast<size_t>(i)]->SetCaption(items_->Get(i));
    buttons_[static_cast<size_t>(i)]->SetChecked(i == itemIndex_);
  }
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  updating_ = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const int columns = std::max<int32_t>(columns_, 1);
  const int rows = (ButtonCount() + columns - 1) / columns;
  const int top = std::max(-Font()->Height(), 13) + 4;
  const int columnWidth = std::max((Width() - 10) / columns, 1);
  const int rowHeight = std::max((Height() - top - 4) / rows, 1);
  for (int i = 0; i < ButtonCount(); ++i) {
    const int column = i / rows, row = i % rows;
    buttons_[static_cast<size_t>(i)]->SetBounds(8 + column * columnWidth, top + row * rowHeight + (rowHeight - 17) / 2,
                                                columnWidth - 8, 17);
  }
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::Resize() {
  TCustomGroupBox::Resize();
  ArrangeButtons();
}

void TCustomRadioGroup::SetItemIndex(int32_t value) {
  if (Loading()) {
    itemIndex_ = value;
    return;
  }
  if (value < -1 || value >= items_->Count()) value = -1;
  if (value == itemIndex_) return;
  itemIndex_ = value;
  updating_ = true;
  if (value >= 0) {
    buttons_[static_cast<size_t>(value)]->SetChecked(true);
  } else {
    for (TGroupButton* b : buttons_) b->SetChecked(false);
  }
  updating_ = false;
}

void TCustomRadioGroup::SetColumns(int32_t value) {
  value = std::clamp<int32_t>(value, 1, 16);
  if (value == columns_) return;
  columns_ = value;
  ArrangeButtons();
}

void TCustomRadioGroup::ButtonClicked(int index) {
  if (updating_) return;
  itemIndex_ = index;
  Click();
}

void TCustomRadioGroup::WndProc(TMessage& m) {
  TCustomGroupBox::WndProc(m);
  if (m.Msg == CM_ENABLEDCHANGED)
    for (TGroupButton* b : buttons_) b->SetEnabled(Enabled());
  if (m.Msg == CM_FONTCHANGED) ArrangeButtons();
}

// ---- TScrollBox ----

const TClassInfo& TScrollBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TScrollBox>("TScrollBox", &Inherited::StaticClass())
                                     .Property("AutoScroll", &TScrollBox::AutoScroll, &TScrollBox::SetAutoScroll)
                                     .Property("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle)
                                     .Build();
  return info;
}

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
  controlStyle_.Include(csAcceptsControls);
  SetBounds(0, 0, 185, 41);
}

TScrollBox::~TScrollBox() { DestroyHandle(); }

void TScrollBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateHandleDone() {
  scrollPos_ = Point(0, 0);
  UpdateScrollBars();
}

void TScrollBox::SetAutoScroll(bool value) {
  if (value == autoScroll_) return;
  autoScroll_ = value;
  UpdateScrollBars();
}

void TScrollBox::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TScrollBox::UpdateScrollBars() {
  if (!HandleAllocated() || updatingBars_) return;
  updatingBars_ = true;
  int right = 0, bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    right = std::max(right, c->Left() + c->Width() + static_cast<int>(scrollPos_.x));
    bottom = std::max(bottom, c->Top() + c->Height() + static_cast<int>(scrollPos_.y));
  }
  for (int pass = 0; pass < 2; ++pass) {  // a bar that appears narrows the other axis
    RECT client{};
    GetClientRect(handle_, &client);
    const bool horz = autoScroll_ && right > client.right;
    const bool vert = autoScroll_ && bottom > client.bottom;
    SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE, 0, horz ? right - 1 : 0, static_cast<UINT>(horz ? client.right : 0), 0, 0};
    SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE, 0, vert ? bottom - 1 : 0, static_cast<UINT>(vert ? client.bottom : 0), 0, 0};
    SetScrollInfo(handle_, SB_HORZ, &h, TRUE);
    SetScrollInfo(handle_, SB_VERT, &v, TRUE);
    ShowScrollBar(handle_, SB_HORZ, horz);
    ShowScrollBar(handle_, SB_VERT, vert);
  }
  // Contents scrolled beyond what is now needed come back.
  if (scrollPos_.x > 0 || scrollPos_.y > 0) {
    SCROLLINFO h{sizeof h, SIF_POS, 0, 0, 0, 0, 0}, v{sizeof v, SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(handle_, SB_HORZ, &h);
    GetScrollInfo(handle_, SB_VERT, &v);
    const int dx = scrollPos_.x - h.nPos, dy = scrollPos_.y - v.nPos;
    if (dx || dy) {
      scrollPos_ = Point(h.nPos, v.nPos);
      for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
      }
    }
  }
  updatingBars_ = false;
}

void TScrollBox::ScrollBy(int bar, int code) {
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(handle_, bar, &info)) return;
  int pos = info.nPos;
  const int line = 8, page = std::max<int>(static_cast<int>(info.nPage), 1);
  switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
  }
  pos = std::clamp(pos, info.nMin, std::max(info.nMin, info.nMax - page + 1));
  if (pos == info.nPos) return;
  info.fMask = SIF_POS;
  info.nPos = pos;
  SetScrollInfo(handle_, bar, &info, TRUE);
  const int delta = pos - (bar == SB_HORZ ? scrollPos_.x : scrollPos_.y);
  if (bar == SB_HORZ) {
    scrollPos_.x = pos;
  } else {
    scrollPos_.y = pos;
  }
  updatingBars_ = true;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() - (bar == SB_HORZ ? delta : 0), c->Top() - (bar == SB_VERT ? delta : 0), c->Width(),
                 c->Height());
  }
  updatingBars_ = false;
  InvalidateRect(handle_, nullptr, TRUE);
}

void TScrollBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (m.LParam == 0) {
        ScrollBy(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(m.WParam));
        m.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      TWinControl::WndProc(m);
      UpdateScrollBars();
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void RegisterGroupClasses() {
  RegisterClasses({&TGroupBox::StaticClass(), &TRadioGroup::StaticClass(), &TScrollBox::StaticClass()});
}
