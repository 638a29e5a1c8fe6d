// TToolBar over the common tool bar, and its buttons (TToolButton, graphic controls that
// the bar's window draws and clicks). The bar raises OnCustomDraw / OnCustomDrawButton
// from the tool bar's custom-draw notifications, which is how the skin engine paints it.
#pragma once

#include <functional>

#include "framework/Controls.h"

class TImageList;
class TMainMenu;
class TMenuItem;
class TPopupMenu;
class TToolBar;
class TToolButton;

FRAMEWORK_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)
FRAMEWORK_ENUM(TCustomDrawStateFlag, cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault,
               cdsHot, cdsMarked, cdsIndeterminate)
using TCustomDrawState = TSetOf<TCustomDrawStateFlag>;

// Painting hooks: draw on the bar's Canvas; clear DefaultDraw to stop the bar's own drawing.
using TTBCustomDrawEvent = std::function<void(TToolBar* sender, const TRect& rect, bool& defaultDraw)>;
using TTBCustomDrawBtnEvent =
    std::function<void(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw)>;

class TToolButton : public TGraphicControl {
  FRAMEWORK_CLASS(TToolButton, TGraphicControl)

 public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;

  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle value);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t value);
  // A check button that stays pressed.
  bool Down() const { return down_; }
  void SetDown(bool value);
  // Check buttons of a group release each other.
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool value);
  TMenuItem* MenuItem() const { return menuItem_; }
  void SetMenuItem(TMenuItem* value);
  TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* value);
  // The command identifier of the button on its bar.
  int CommandId() const { return commandId_; }
  void SetParent(TWinControl* parent) override;
  void Click() override;

 protected:
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TToolBar;
  TToolBar* Bar() const;
  TToolButtonStyle style_ = tbsButton;
  int32_t imageIndex_ = -1;
  bool down_ = false;
  bool grouped_ = false;
  TMenuItem* menuItem_ = nullptr;
  TPopupMenu* dropdownMenu_ = nullptr;
  int commandId_;
};

class TToolBar : public TWinControl {
  FRAMEWORK_CLASS(TToolBar, TWinControl)

 public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;

  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool value);
  bool List() const { return list_; }
  void SetList(bool value);
  int32_t ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int32_t value);
  int32_t ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int32_t value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  // A main-menu-like bar: each top-level item of Menu becomes a button that drops its items.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* value);
  TCanvas* Canvas() const { return canvas_; }
  int ButtonCount() const;
  TToolButton* Buttons(int index) const;
  // Sends the buttons to the window again (after a change of a button).
  void UpdateButtons();
  void Loaded() override;

  TTBCustomDrawEvent OnCustomDraw;
  TTBCustomDrawBtnEvent OnCustomDrawButton;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TToolButton;
  void CustomDraw(TMessage& message);
  TToolButton* ButtonOfCommand(int command) const;
  void DropDown(TToolButton* button);
  void MakeMenuButtons();
  bool flat_ = false;
  bool showCaptions_ = false;
  bool list_ = false;
  int32_t buttonWidth_ = 23;
  int32_t buttonHeight_ = 22;
  TImageList* images_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TCanvas* canvas_;
  bool updating_ = false;
};

// Makes TToolBar and TToolButton known to stored layouts.
void RegisterToolBarClasses();
