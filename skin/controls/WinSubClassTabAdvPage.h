// The skinned advanced page control of unit WinSubClass (chosen by the Skin3rd kind
// "advpagecontrol"): the control draws its own tabs from two pictures, "TabBackGround"
// and "TabBackGroundActive", which get frames 1 and 2 of the skin's Tabs element.
#pragma once

#include <memory>

#include "skin/controls/WinSubClass.h"

class TSkinUpDown;

class TSkinAdvPage : public TSkinControl {
  FRAMEWORK_CLASS(TSkinAdvPage, TSkinControl)

 public:
  explicit TSkinAdvPage(TComponent* owner);
  ~TSkinAdvPage() override;

  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  void Unskin() override;
  void UpdateSkin() override;
  void AfterProc(TMessage& message) override;

  // 4: the tab pictures are set (from Mode when not set).
  int32_t PageMode = 0;
  std::unique_ptr<TSkinUpDown> UpDown;

 private:
  void ApplyPictures();
};
