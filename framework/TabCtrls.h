// Tab controls: TTabControl (a row of tabs over one area) and TPageControl with its pages
// (TTabSheet), both over the common tab control. Tabs go on any side (TabPosition) and can
// look like buttons (Style). Children are laid out in the display area, inside the tabs.
#pragma once

#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/Strings.h"

FRAMEWORK_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight)
FRAMEWORK_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons)

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TCustomTabControl : public TWinControl {
  FRAMEWORK_CLASS(TCustomTabControl, TWinControl)

 public:
  explicit TCustomTabControl(TComponent* owner);
  ~TCustomTabControl() override;

  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition value);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle value);
  // Left and right tabs are always on several lines.
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value);
  // The area inside the tabs, in client coordinates.
  TRect DisplayRect();
  // Tabs the window shows now (TCM_GETITEMCOUNT) and the text of one.
  int TabCountShown();
  std::wstring TabTextShown(int index);

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  void AlignControls(TRect& rect) override;
  // The tab texts to show.
  virtual std::vector<std::wstring> TabTexts() const = 0;
  virtual int CurrentTab() const = 0;
  // The user picked tab `index` (after OnChanging allowed it).
  virtual void TabPicked(int index) = 0;
  // Sends the tab texts and the selection to the window.
  void UpdateTabs();
  void SelectTabShown(int index);

 private:
  TTabPosition tabPosition_ = tpTop;
  TTabStyle style_ = tsTabs;
  bool multiLine_ = false;
  bool hotTrack_ = false;
};

class TTabControl : public TCustomTabControl {
  FRAMEWORK_CLASS(TTabControl, TCustomTabControl)

 public:
  explicit TTabControl(TComponent* owner);
  ~TTabControl() override;

  TStrings* Tabs() const { return tabs_.get(); }
  void SetTabs(TStrings* value) { tabs_->Assign(value); }
  int32_t TabIndex() const { return tabIndex_; }
  void SetTabIndex(int32_t value);

 protected:
  std::vector<std::wstring> TabTexts() const override;
  int CurrentTab() const override { return tabIndex_; }
  void TabPicked(int index) override;

 private:
  std::unique_ptr<TStringList> tabs_;
  int32_t tabIndex_ = -1;
};

class TPageControl;

// A page of a page control: a plain container whose caption is its tab's text. Only the
// active page is visible.
class TTabSheet : public TWinControl {
  FRAMEWORK_CLASS(TTabSheet, TWinControl)

 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* value);
  // Position among the page control's pages.
  int32_t PageIndex() const;
  void SetPageIndex(int32_t value);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool value);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t value) { imageIndex_ = value; }
  void SetParent(TWinControl* parent) override;

 protected:
  void WndProc(TMessage& message) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int32_t imageIndex_ = -1;
};

class TPageControl : public TCustomTabControl {
  FRAMEWORK_CLASS(TPageControl, TCustomTabControl)

 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  int32_t ActivePageIndex() const;
  void SetActivePageIndex(int32_t value);
  // Moves to the next (or previous) page whose tab is visible, wrapping round.
  void SelectNextPage(bool forward);
  void Loaded() override;

 protected:
  std::vector<std::wstring> TabTexts() const override;
  int CurrentTab() const override;
  void TabPicked(int index) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  void PagesChanged();
  void ShowActivePage();
  // The page of visible tab `tab`, and the tab of a page (-1 when its tab is hidden).
  TTabSheet* PageOfTab(int tab) const;
  int TabOfPage(const TTabSheet* page) const;
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

// Makes the tab controls known to stored layouts.
void RegisterTabClasses();
