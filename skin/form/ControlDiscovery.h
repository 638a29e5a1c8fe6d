// Control discovery: when a skinned frame completes its set-up it walks the controls of
// its window and attaches a skinned-control object to each control the skin covers.
// Framework forms are walked through their component and control trees and decided by
// framework class and class name (with the skin component's Skin3rd mapping and
// OnSkinControl hook first); foreign windows are walked through their child windows and
// decided by window class and style. The objects are made through the registry of
// skinned-control classes (SkinControlRegistry.h) and kept in this list, which owns
// them: Detach unskins and frees them all. GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "skin/form/SkinControlRegistry.h"

class TCanvas;
class TControl;
class TCustomForm;
class TMenuItem;
class TSkinData;
class TToolBar;
class TWinControl;
class TWatchedMenuItems;

// The frame as the Sender of the skin component's OnSkinControl: frames are not
// components here, so the frame's discovery stands in with this one (class name
// "TWinSkinForm"; Window: the skinned window). It lives as long as the frame's discovery.
class TSkinFrameSender : public TComponent {
  FRAMEWORK_CLASS(TSkinFrameSender, TComponent)

 public:
  explicit TSkinFrameSender(HWND window) : TComponent(nullptr), window_(window) {}
  HWND Window() const { return window_; }

 private:
  HWND window_;
};

class TControlDiscovery : public TSkinControlList {
 public:
  // `frameWindow`: the skinned window; `drawFrame`: the frame paints its own frame.
  TControlDiscovery(TSkinData* skinData, HWND frameWindow, bool drawFrame);
  ~TControlDiscovery() override;
  TControlDiscovery(const TControlDiscovery&) = delete;
  TControlDiscovery& operator=(const TControlDiscovery&) = delete;

  // TSkinControlList.
  void AddSkinControl(TSkinControlItem* control) override;
  void RemoveSkinControl(TSkinControlItem* control) override;

  void DiscoverForm(TCustomForm* form);
  void DiscoverWindow(HWND window);
  void SkinControl(TControl* control, TWinControl* container);
  void SkinChildWindow(HWND window);
  void WalkChildren(TWinControl* container);
  void WalkComponents(TComponent* owner);
  // SKM_RESKINSCROLL: the scroll-bar object of `window` is made again for its control.
  void ReskinScroll(HWND window);
  // Frees the objects whose window was destroyed.
  void Purge();
  // Every object, first to last: Unskin (unless its window was destroyed), then freed.
  void Detach();
  // A new skin: every object gets UpdateSkin.
  void UpdateSkins();

  const std::vector<TSkinControlItem*>& Controls() const { return controls_; }
  // The registered object skinning `window` (searched from the last one), or null.
  TSkinControlItem* FindByWindow(HWND window) const;
  TSkinControlItem* FindByControl(const TControl* control) const;
  TSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TSkinData* skinData) { skinData_ = skinData; }

 private:
  // The built-in decision for one control (Name: the upper-cased class name). True when
  // a rule matched.
  bool ApplyBuiltInRules(TControl* control, const std::string& name);
  // The Skin3rd mapping; true when it handled the control.
  bool ApplySkin3rd(TControl* control, const std::string& className);
  bool ApplyMappedKind(TControl* control, const std::string& className, const std::string& kind);
  // Makes `className` for a framework control / a raw window through the registry.
  TSkinControlItem* Make(const char* className, TControl* control, bool setColour, int32_t preset = 0,
                         const std::string& imageProperty = {});
  TSkinControlItem* MakeRaw(const char* className, HWND window);
  void FreeItem(TSkinControlItem* item);
  // Rule 20: the frame's painters go to the bar's custom-draw events that had none.
  void AttachToolbarPainters(TToolBar* bar, TSkinControlItem* box);
  // Clears the events AttachToolbarPainters gave the bar of `box` (the bar's own stay).
  void ReleaseToolbarPainters(TSkinControlItem* box);
  // A tool button's menu item and its sub-items get the skin's item painter; at Detach
  // they get back the handlers they had.
  void OwnerDrawToolMenu(TMenuItem* item);
  void ReleaseToolMenus();
  bool Has(int member) const;
  bool TabsAvailable() const;
  bool IsScrollable(TControl* control) const;

  TSkinData* skinData_;
  HWND frameWindow_;
  bool drawFrame_;
  std::unique_ptr<TCanvas> canvas_;
  std::vector<TSkinControlItem*> controls_;
  // The tool bars given painters, with the box object whose life vouches for the bar's.
  struct TToolbarPainters {
    TToolBar* bar;
    TSkinControlItem* box;
    bool background;
    bool button;
  };
  std::vector<TToolbarPainters> toolbars_;
  // The tool buttons' menu items given the painter (an item leaves when it is freed).
  std::unique_ptr<TWatchedMenuItems> toolMenus_;
  std::unique_ptr<TSkinFrameSender> sender_;
};
