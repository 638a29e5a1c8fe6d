// Common controls: TStatusBar with its panels (or one simple panel).
#pragma once

#include "framework/Collections.h"
#include "framework/Controls.h"

FRAMEWORK_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
FRAMEWORK_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class TCustomStatusBar;

class TStatusPanel : public TCollectionItem {
  FRAMEWORK_CLASS(TStatusPanel, TCollectionItem)

 public:
  explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& value);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel value);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle value);
  void Assign(const TPersistent* source) override;

 private:
  std::wstring text_;
  int32_t width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  TStatusPanelStyle style_ = psText;
};

class TStatusPanels : public TOwnedCollection<TStatusPanel> {
 public:
  explicit TStatusPanels(TCustomStatusBar* bar);

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCustomStatusBar* bar_;
};

using TDrawPanelEvent = std::function<void(TCustomStatusBar* bar, TStatusPanel* panel, const TRect& rect)>;

class TCustomStatusBar : public TWinControl {
  FRAMEWORK_CLASS(TCustomStatusBar, TWinControl)

 public:
  explicit TCustomStatusBar(TComponent* owner);
  ~TCustomStatusBar() override;

  TStatusPanels* Panels() const { return panels_; }
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::wstring& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::wstring& value);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);
  // Sends the panels' widths, texts and styles to the window.
  void UpdatePanels();
  void UpdatePanel(int index);
  // The text the window shows in part `index` (SB_GETTEXT), for checks.
  std::wstring PanelTextShown(int index);

  TDrawPanelEvent OnDrawPanel;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  TStatusPanels* panels_;
  bool simplePanel_ = false;
  std::wstring simpleText_;
  bool sizeGrip_ = true;
};

class TStatusBar : public TCustomStatusBar {
  FRAMEWORK_CLASS(TStatusBar, TCustomStatusBar)

 public:
  using TCustomStatusBar::TCustomStatusBar;
};
