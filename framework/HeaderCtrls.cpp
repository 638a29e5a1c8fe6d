// THeaderControl and its sections.
#include "framework/HeaderCtrls.h"

#include <commctrl.h>

#include "framework/ClassBuilder.h"
#include "framework/CommonControls.h"

const TClassInfo& THeaderSection::StaticClass() {
  static const TClassInfo info = TClassBuilder<THeaderSection>("THeaderSection", &Inherited::StaticClass())
                                     .Property("Text", &THeaderSection::Text, &THeaderSection::SetText)
                                     .Property("Width", &THeaderSection::Width, &THeaderSection::SetWidth)
                                     .Property("Alignment", &THeaderSection::Alignment, &THeaderSection::SetAlignment)
                                     .Property("Style", &THeaderSection::Style, &THeaderSection::SetStyle)
                                     .Property("AllowClick", &THeaderSection::AllowClick, &THeaderSection::SetAllowClick)
                                     .Build();
  return info;
}

void THeaderSection::SetText(const std::wstring& value) {
  if (value == text_) return;
  text_ = value;
  Changed(false);
}

void THeaderSection::SetWidth(int32_t value) {
  if (value == width_ || value < 0) return;
  width_ = value;
  Changed(false);
}

void THeaderSection::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed(false);
}

void THeaderSection::SetStyle(THeaderSectionStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed(false);
}

void THeaderSection::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const THeaderSection*>(source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  text_ = other->text_;
  width_ = other->width_;
  alignment_ = other->alignment_;
  style_ = other->style_;
  allowClick_ = other->allowClick_;
  Changed(false);
}

THeaderSections::THeaderSections(THeaderControl* header) : TOwnedCollection<THeaderSection>(header), header_(header) {}

void THeaderSections::Update(TCollectionItem*) { header_->UpdateSections(); }

const TClassInfo& THeaderControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<THeaderControl>("THeaderControl", &Inherited::StaticClass())
                                     .Property("Sections", &THeaderControl::Sections)
                                     .Property("HotTrack", &THeaderControl::HotTrack, &THeaderControl::SetHotTrack)
                                     .Property("OnSectionClick", &THeaderControl::OnSectionClick)
                                     .Property("OnSectionResize", &THeaderControl::OnSectionResize)
                                     .Build();
  return info;
}

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner), sections_(new THeaderSections(this)) {
  SetBounds(0, 0, 150, 17);
  SetAlign(alTop);
}

THeaderControl::~THeaderControl() {
  DestroyHandle();
  delete sections_;
  sections_ = nullptr;
}

void THeaderControl::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_LISTVIEW_CLASSES);
  TWinControl::CreateParams(p);
  CreateSubClass(p, WC_HEADERW);
  p.Style |= HDS_BUTTONS | HDS_HORZ | CCS_NOPARENTALIGN | CCS_NORESIZE;
  if (hotTrack_) p.Style |= HDS_HOTTRACK;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void THeaderControl::CreateHandleDone() { UpdateSections(); }

void THeaderControl::SetHotTrack(bool value) {
  if (value == hotTrack_) return;
  hotTrack_ = value;
  RecreateWnd();
}

void THeaderControl::UpdateSections() {
  if (!HandleAllocated() || !sections_) return;
  while (SendMessageW(handle_, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageW(handle_, HDM_DELETEITEM, 0, 0);
  for (int i = 0; i < sections_->Count(); ++i) {
    THeaderSection* s = sections_->Items(i);
    std::wstring text = s->Text();
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_LPARAM;
    item.cxy = s->Width();
    item.pszText = text.data();
    item.fmt = (s->Style() == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING) |
               (s->Alignment() == taRightJustify ? HDF_RIGHT : s->Alignment() == taCenter ? HDF_CENTER : HDF_LEFT);
    item.lParam = i;
    SendMessageW(handle_, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

int THeaderControl::SectionCountShown() {
  return HandleAllocated() ? static_cast<int>(SendMessageW(handle_, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void THeaderControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && m.LParam) {
    const auto* notify = reinterpret_cast<const NMHEADERW*>(m.LParam);
    m.Result = 0;
    THeaderSection* section = sections_->Items(notify->iItem);
    switch (notify->hdr.code) {
      case HDN_ITEMCLICKW:
        if (section && section->AllowClick() && OnSectionClick) OnSectionClick(this, section);
        break;
      case HDN_ENDTRACKW:
      case HDN_ITEMCHANGEDW:
        if (section && notify->pitem && (notify->pitem->mask & HDI_WIDTH) && notify->pitem->cxy != section->Width()) {
          // The user dragged the divider: keep the width without sending it back.
          auto* keep = sections_;
          sections_ = nullptr;
          section->SetWidth(notify->pitem->cxy);
          sections_ = keep;
          if (OnSectionResize) OnSectionResize(this, section);
        }
        break;
      default:
        break;
    }
    return;
  }
  TWinControl::WndProc(m);
}

void RegisterHeaderClasses() { RegisterClasses({&THeaderControl::StaticClass()}); }
