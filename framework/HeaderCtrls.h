// THeaderControl: a bar of column headings (the common header control), one per section.
#pragma once

#include "framework/Collections.h"
#include "framework/Controls.h"

FRAMEWORK_ENUM(THeaderSectionStyle, hsText, hsOwnerDraw)

class THeaderControl;

class THeaderSection : public TCollectionItem {
  FRAMEWORK_CLASS(THeaderSection, TCollectionItem)

 public:
  explicit THeaderSection(TCollection* collection) : TCollectionItem(collection) {}
  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& value);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  THeaderSectionStyle Style() const { return style_; }
  void SetStyle(THeaderSectionStyle value);
  bool AllowClick() const { return allowClick_; }
  void SetAllowClick(bool value) { allowClick_ = value; }
  void Assign(const TPersistent* source) override;

 private:
  std::wstring text_;
  int32_t width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  THeaderSectionStyle style_ = hsText;
  bool allowClick_ = true;
};

class THeaderSections : public TOwnedCollection<THeaderSection> {
 public:
  explicit THeaderSections(THeaderControl* header);

 protected:
  void Update(TCollectionItem* item) override;

 private:
  THeaderControl* header_;
};

using TSectionNotifyEvent = std::function<void(THeaderControl* sender, THeaderSection* section)>;

class THeaderControl : public TWinControl {
  FRAMEWORK_CLASS(THeaderControl, TWinControl)

 public:
  explicit THeaderControl(TComponent* owner);
  ~THeaderControl() override;

  THeaderSections* Sections() const { return sections_; }
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value);
  // Sends the sections to the window.
  void UpdateSections();
  // Items the window shows now (HDM_GETITEMCOUNT).
  int SectionCountShown();

  TSectionNotifyEvent OnSectionClick;
  TSectionNotifyEvent OnSectionResize;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  THeaderSections* sections_;
  bool hotTrack_ = false;
};

void RegisterHeaderClasses();
