#include "framework/ComCtrls.h"

#include <commctrl.h>

#include "framework/ClassBuilder.h"
#include "framework/CommonControls.h"
#include "framework/Forms.h"

const TClassInfo& TStatusPanel::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStatusPanel>("TStatusPanel", &Inherited::StaticClass())
                                     .Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
                                     .Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel)
                                     .Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle)
                                     .Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
                                     .Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)
                                     .Build();
  return info;
}

void TStatusPanel::SetText(const std::wstring& value) {
  if (value == text_) return;
  text_ = value;
  Changed(false);
}

void TStatusPanel::SetWidth(int32_t value) {
  if (value == width_) return;
  width_ = value;
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
  if (value == bevel_) return;
  bevel_ = value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed(false);
}

void TStatusPanel::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TStatusPanel*>(source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  text_ = other->text_;
  width_ = other->width_;
  alignment_ = other->alignment_;
  bevel_ = other->bevel_;
  style_ = other->style_;
  Changed(true);
}

TStatusPanels::TStatusPanels(TCustomStatusBar* bar) : TOwnedCollection<TStatusPanel>(bar), bar_(bar) {}

void TStatusPanels::Update(TCollectionItem* item) {
  if (item) {
    bar_->UpdatePanel(item->Index());
  } else {
    bar_->UpdatePanels();
  }
}

const TClassInfo& TStatusBar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStatusBar>("TStatusBar", &Inherited::StaticClass()).Build();
  return info;
}

const TClassInfo& TCustomStatusBar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomStatusBar>("TCustomStatusBar", &Inherited::StaticClass())
                                     .Property("Panels", &TCustomStatusBar::Panels)
                                     .Property("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel)
                                     .Property("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText)
                                     .Property("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip)
                                     .Property("OnDrawPanel", &TCustomStatusBar::OnDrawPanel)
                                     .Build();
  return info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner), panels_(new TStatusPanels(this)) {
  controlStyle_ = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetColor(clBtnFace);
  SetParentColor(false);
  SetBounds(0, 0, 0, 19);
  SetAlign(alBottom);
}

TCustomStatusBar::~TCustomStatusBar() {
  DestroyHandle();
  delete panels_;
  panels_ = nullptr;
}

void TCustomStatusBar::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_BAR_CLASSES);
  TWinControl::CreateParams(p);
  CreateSubClass(p, STATUSCLASSNAMEW);
  // The bar keeps the bounds the framework gives it (Align), not its own.
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
  auto* form = dynamic_cast<TCustomForm*>(Parent());
  if (sizeGrip_ && form && (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin))
    p.Style |= SBARS_SIZEGRIP;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomStatusBar::CreateHandleDone() {
  SendMessageW(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(Color() == clBtnFace ? CLR_DEFAULT : ColorToRGB(Color())));
  UpdatePanels();
}

void TCustomStatusBar::SetSimplePanel(bool value) {
  if (value == simplePanel_) return;
  simplePanel_ = value;
  if (HandleAllocated()) {
    SendMessageW(handle_, SB_SIMPLE, value, 0);
    UpdatePanels();
  }
}

void TCustomStatusBar::SetSimpleText(const std::wstring& value) {
  if (value == simpleText_) return;
  simpleText_ = value;
  if (HandleAllocated() && simplePanel_)
    SendMessageW(handle_, SB_SETTEXTW, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TCustomStatusBar::SetSizeGrip(bool value) {
  if (value == sizeGrip_) return;
  sizeGrip_ = value;
  RecreateWnd();
}

void TCustomStatusBar::UpdatePanel(int index) {
  if (!HandleAllocated() || !panels_) return;
  TStatusPanel* panel = panels_->Items(index);
  if (!panel) return;
  WPARAM flags = static_cast<WPARAM>(index);
  if (panel->Bevel() == pbNone) flags |= SBT_NOBORDERS;
  if (panel->Bevel() == pbRaised) flags |= SBT_POPOUT;
  if (panel->Style() == psOwnerDraw) flags |= SBT_OWNERDRAW;
  // Alignment goes in the text itself: a tab before it centres, two right-align.
  std::wstring text = panel->Text();
  if (panel->Alignment() == taCenter) text.insert(0, L"\t");
  if (panel->Alignment() == taRightJustify) text.insert(0, L"\t\t");
  SendMessageW(handle_, SB_SETTEXTW, flags,
               panel->Style() == psOwnerDraw ? reinterpret_cast<LPARAM>(panel) : reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomStatusBar::UpdatePanels() {
  if (!HandleAllocated() || !panels_) return;
  SendMessageW(handle_, SB_SIMPLE, simplePanel_, 0);
  if (simplePanel_) {
    SendMessageW(handle_, SB_SETTEXTW, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(simpleText_.c_str()));
    return;
  }
  const int count = std::min(panels_->Count(), 64);
  std::vector<int> rights(static_cast<size_t>(std::max(count, 1)), -1);
  int x = 0;
  for (int i = 0; i < count; ++i) {
    x += panels_->Items(i)->Width();
    rights[static_cast<size_t>(i)] = x;
  }
  if (count > 0) rights[static_cast<size_t>(count - 1)] = -1;  // the last panel takes the rest
  SendMessageW(handle_, SB_SETPARTS, static_cast<WPARAM>(std::max(count, 1)), reinterpret_cast<LPARAM>(rights.data()));
  for (int i = 0; i < count; ++i) UpdatePanel(i);
  if (count == 0) SendMessageW(handle_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
}

std::wstring TCustomStatusBar::PanelTextShown(int index) {
  if (!HandleAllocated()) return {};
  const LRESULT info = SendMessageW(handle_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0);
  std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
  SendMessageW(handle_, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(info));
  return text;
}

void TCustomStatusBar::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (OnDrawPanel && d) {
      TStatusPanel* panel = panels_->Items(static_cast<int>(d->itemID));
      if (panel) OnDrawPanel(this, panel, d->rcItem);
    }
    m.Result = TRUE;
    return;
  }
  if (m.Msg == CM_COLORCHANGED && HandleAllocated())
    SendMessageW(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(Color() == clBtnFace ? CLR_DEFAULT : ColorToRGB(Color())));
  TWinControl::WndProc(m);
}
