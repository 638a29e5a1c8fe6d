#include "framework/StdCtrls.h"

#include <algorithm>
#include <cwctype>

#include "framework/ClassBuilder.h"
#include "framework/Forms.h"

bool IsAccel(wchar_t ch, const std::wstring& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] == L'&') {
      ++i;
      continue;
    }
    return std::towupper(text[i + 1]) == std::towupper(ch);
  }
  return false;
}

// ---- TCustomEdit ----

const TClassInfo& TCustomEdit::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomEdit>("TCustomEdit", &Inherited::StaticClass())
                                     .Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
                                     .Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
                                     .Property("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle)
                                     .Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase)
                                     .Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect)
                                     .Property("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection)
                                     .Property("OnChange", &TCustomEdit::OnChange)
                                     .Build();
  return info;
}

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo info = TClassBuilder<TEdit>("TEdit", &Inherited::StaticClass()).Build();
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  controlStyle_ = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, L"EDIT");
  p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (readOnly_) p.Style |= ES_READONLY;
  if (charCase_ == ecUpperCase) p.Style |= ES_UPPERCASE;
  if (charCase_ == ecLowerCase) p.Style |= ES_LOWERCASE;
  if (!hideSelection_) p.Style |= ES_NOHIDESEL;
  if (borderStyle_ != bsNone) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandleDone() {
  // 0 lifts the limit: EM_SETLIMITTEXT 0 lets a multi-line edit hold any length.
  SendMessageW(handle_, EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  SendMessageW(handle_, EM_SETMODIFY, modified_, 0);
}

void TCustomEdit::SetMaxLength(int32_t value) {
  value = std::max(value, 0);
  if (value == maxLength_) return;
  maxLength_ = value;
  if (HandleAllocated()) SendMessageW(handle_, EM_SETLIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  if (HandleAllocated()) SendMessageW(handle_, EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (value == charCase_) return;
  charCase_ = value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool value) {
  if (value == hideSelection_) return;
  hideSelection_ = value;
  RecreateWnd();
}

int TCustomEdit::SelStart() {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value) { SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(value), value); }

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value) {
  const int start = SelStart();
  SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + value);
}

std::wstring TCustomEdit::SelText() {
  const int start = SelStart(), length = SelLength();
  const std::wstring text = Text();
  if (start < 0 || static_cast<size_t>(start) > text.size()) return {};
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomEdit::SetSelText(const std::wstring& value) {
  SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }

bool TCustomEdit::Modified() {
  if (HandleAllocated()) modified_ = SendMessageW(handle_, EM_GETMODIFY, 0, 0) != 0;
  return modified_;
}

void TCustomEdit::SetModified(bool value) {
  modified_ = value;
  if (HandleAllocated()) SendMessageW(handle_, EM_SETMODIFY, value, 0);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == EN_CHANGE && !controlState_.Contains(csCreating)) Change();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TMemoStrings ----

const TClassInfo& TMemoStrings::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMemoStrings>("TMemoStrings", &Inherited::StaticClass()).Build();
  return info;
}

std::vector<std::wstring> TMemoStrings::Lines() const {
  Flush();
  TStringList list;
  list.SetText(memo_->Text());  // a final line break ends the last line, it adds none
  return list.ToVector();
}

int TMemoStrings::Count() const { return static_cast<int>(Lines().size()); }

std::wstring TMemoStrings::Get(int index) const {
  const std::vector<std::wstring> lines = Lines();
  if (index < 0 || index >= static_cast<int>(lines.size())) Error(index);
  return lines[static_cast<size_t>(index)];
}

namespace {
std::wstring Join(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const auto& line : lines) {
    text += line;
    text += L"\r\n";
  }
  return text;
}
}  // namespace

void TMemoStrings::Put(int index, const std::wstring& text) {
  std::vector<std::wstring> lines = Lines();
  if (index < 0 || index >= static_cast<int>(lines.size())) Error(index);
  lines[static_cast<size_t>(index)] = text;
  memo_->SetText(Join(lines));
}

void TMemoStrings::Insert(int index, const std::wstring& text) {
  std::vector<std::wstring> lines = Lines();
  if (index < 0 || index > static_cast<int>(lines.size())) Error(index);
  if (index == static_cast<int>(lines.size())) {
    Append({text});
    return;
  }
  lines.insert(lines.begin() + index, text);
  memo_->SetText(Join(lines));
}

void TMemoStrings::Delete(int index) {
  std::vector<std::wstring> lines = Lines();
  if (index < 0 || index >= static_cast<int>(lines.size())) Error(index);
  lines.erase(lines.begin() + index);
  memo_->SetText(Join(lines));
}

void TMemoStrings::Clear() {
  pending_.clear();
  memo_->SetText(L"");
}

int TMemoStrings::Add(const std::wstring& text) {
  if (UpdateCount() > 0) {
    pending_.push_back(text);
    return -1;  // the index is not known until the lines are added
  }
  Append({text});
  return Count() - 1;
}

void TMemoStrings::AddStrings(const TStrings& other) { Append(other.ToVector()); }

void TMemoStrings::Append(const std::vector<std::wstring>& lines) {
  if (lines.empty()) return;
  if (UpdateCount() > 0) {
    pending_.insert(pending_.end(), lines.begin(), lines.end());
    return;
  }
  std::wstring chunk;
  for (const auto& line : lines) {
    chunk += line;
    chunk += L"\r\n";
  }
  memo_->AppendText(chunk);
}

std::wstring TMemoStrings::Text() const {
  Flush();
  return memo_->Text();
}

void TMemoStrings::SetText(const std::wstring& text) {
  pending_.clear();
  memo_->SetText(text);
}

void TMemoStrings::SetUpdateState(bool updating) {
  if (!updating) Flush();
}

void TMemoStrings::Flush() const {
  if (pending_.empty()) return;
  std::vector<std::wstring> lines;
  lines.swap(pending_);
  std::wstring chunk;
  for (const auto& line : lines) {
    chunk += line;
    chunk += L"\r\n";
  }
  memo_->AppendText(chunk);
}

// ---- TCustomMemo ----

const TClassInfo& TCustomMemo::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomMemo>("TCustomMemo", &Inherited::StaticClass())
                                     .Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines)
                                     .Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars)
                                     .Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap)
                                     .Property("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment)
                                     .Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns)
                                     .Property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs)
                                     .Build();
  return info;
}

const TClassInfo& TMemo::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMemo>("TMemo", &Inherited::StaticClass()).Build();
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(this)) {
  controlStyle_.Exclude(csFixedHeight);
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() {
  // The window goes before the lines object that reads it.
  DestroyHandle();
}

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  // The bars are the ones asked for. Word wrap only gives up automatic horizontal
  // scrolling; with a horizontal bar the system edit scrolls instead of wrapping.
  if (wordWrap_) p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
  if (alignment_ == taRightJustify) p.Style |= ES_RIGHT;
  if (alignment_ == taCenter) p.Style |= ES_CENTER;
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  RecreateWnd();
}

void TCustomMemo::AppendText(const std::wstring& text) {
  if (text.empty()) return;
  if (!HandleAllocated()) {
    std::wstring chunk = text;
    if (!text_.empty() && text_.back() != L'\n' && text_.back() != L'\r') chunk.insert(0, L"\r\n");
    text_ += chunk;
    return;
  }
  const HWND h = handle_;
  const auto length = static_cast<WPARAM>(GetWindowTextLengthW(h));
  std::wstring chunk = text;
  if (length > 0) {
    // Does the text end with a line break? Its last line is then empty.
    const LRESULT lines = SendMessageW(h, EM_GETLINECOUNT, 0, 0);
    const LRESULT lastStart = SendMessageW(h, EM_LINEINDEX, static_cast<WPARAM>(lines - 1), 0);
    if (SendMessageW(h, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0) != 0) chunk.insert(0, L"\r\n");
  }
  SendMessageW(h, EM_SETSEL, length, static_cast<LPARAM>(length));
  SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(chunk.c_str()));
}

void TCustomMemo::WndProc(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    TCustomEdit::WndProc(m);
    if (wantTabs_) {
      m.Result |= DLGC_WANTTAB;
    } else {
      m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    }
    if (!wantReturns_) m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
    return;
  }
  TCustomEdit::WndProc(m);
}

// ---- TButton ----

const TClassInfo& TButtonControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TButtonControl>("TButtonControl", &Inherited::StaticClass()).Build();
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {}

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TButton>("TButton", &Inherited::StaticClass())
                                     .Property("Default", &TButton::Default, &TButton::SetDefault)
                                     .Property("Cancel", &TButton::Cancel, &TButton::SetCancel)
                                     .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
                                     .Build();
  return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  controlStyle_ = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, L"BUTTON");
  p.Style |= active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TButton::SetButtonStyle(bool isDefault) {
  if (!HandleAllocated()) return;
  const LONG_PTR style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongW(handle_, GWL_STYLE) & 0x0F) != style) SendMessageW(handle_, BM_SETSTYLE, static_cast<WPARAM>(style), TRUE);
}

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  TCustomForm* form = GetParentForm(this);
  if (form && form->FocusedControl() && dynamic_cast<TButton*>(form->FocusedControl())) return;
  active_ = value;
  SetButtonStyle(value);
}

void TButton::Click() {
  if (modalResult_ != 0)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      m.Result = 0;
      return;
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && cancel_)) &&
          (m.LParam & 0x20000000) == 0 && CanFocus()) {
        Click();
        m.Result = 1;
      }
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<wchar_t>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
      }
      return;
    case CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
      active_ = dynamic_cast<TButton*>(focused) ? focused == this : default_;
      SetButtonStyle(active_);
      m.Result = 0;
      return;
    }
    default:
      break;
  }
  TButtonControl::WndProc(m);
}

// ---- TCustomLabel ----

const TClassInfo& TCustomLabel::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomLabel>("TCustomLabel", &Inherited::StaticClass())
          .Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)
          .Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout)
          .Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
          .Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap)
          .Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
          .Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
          .Build();
  return info;
}

const TClassInfo& TLabel::StaticClass() {
  static const TClassInfo info = TClassBuilder<TLabel>("TLabel", &Inherited::StaticClass()).Build();
  return info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_.Include(csOpaque).Include(csReplicatable);
  SetBounds(0, 0, 65, 17);
  SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  if (value) {
    controlStyle_.Exclude(csOpaque);
  } else {
    controlStyle_.Include(csOpaque);
  }
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  AdjustSize();
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  AdjustSize();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
  if (value == focusControl_) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = value;
  if (value) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

UINT TCustomLabel::DrawFlags() const {
  UINT flags = DT_EXPANDTABS;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  return flags;
}

bool TCustomLabel::CanAutoSize(int& width, int& height) {
  std::wstring text = text_;
  if (text.empty()) text = L" ";
  MemoryDC dc(nullptr);
  if (!dc) return false;
  SelectGuard keep(dc.Get(), Font()->Handle());
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
  if (!wordWrap_) width = r.right;
  height = r.bottom;
  return true;
}

void TCustomLabel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  if (!transparent_) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(r);
  }
  canvas->Brush()->SetStyle(bsClear);
  const std::wstring text = text_;
  const UINT flags = DrawFlags();
  if (layout_ != tlTop) {
    TRect measure = r;
    canvas->DrawText(text, measure, flags | DT_CALCRECT);
    const int h = measure.bottom - measure.top;
    const int offset = layout_ == tlCenter ? (r.bottom - r.top - h) / 2 : r.bottom - r.top - h;
    r.top += offset;
  }
  if (!Enabled()) {
    TRect shifted = r;
    OffsetRect(&shifted, 1, 1);
    canvas->Font()->SetColor(clBtnHighlight);
    canvas->DrawText(text, shifted, flags);
    canvas->Font()->SetColor(clBtnShadow);
  }
  canvas->DrawText(text, r, flags);
}

void TCustomLabel::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    if (showAccelChar_ && focusControl_ && IsAccel(static_cast<wchar_t>(m.WParam), text_) && focusControl_->CanFocus()) {
      focusControl_->SetFocus();
      m.Result = 1;
    }
    return;
  }
  TGraphicControl::WndProc(m);
}
