// The meeting point of control discovery (this layer) and the skinned-control classes
// (skin/controls, the layer above). Discovery decides, by the rules of the form layer,
// which skinned-control class a control gets; the classes themselves are registered here
// by name, so the form layer never includes their headers.
//
// Usage (in skin/controls, from RegisterSkinControls(), which the program calls once
// before skinning starts so that the linker keeps the classes):
//
//   RegisterSkinControlClass("TSkinTrackBar", [](const TSkinAttachRequest& r) -> TSkinControlItem* {
//     auto* object = new TSkinTrackBar(r.Control);          // owned by the control, or null
//     if (r.Control != nullptr)
//       object->InitSkin(r.Form, r.SkinData, r.SetColour, r.Canvas, AsWinControl(r.Control));
//     else
//       object->InitSkinHandle(r.Window, r.SkinData, r.Form, r.Canvas);
//     return object;                                         // (null when it could not attach)
//   });
//
// A factory makes the object, applies the request's preset, attaches it with the class's
// own initialisation (InitSkin, InitScrollbars, InitSpeedButton, InitScrollControl for a
// framework control; InitSkinHandle for a raw window) and returns it. The attach call
// registers the object with r.Form; the frame frees every registered object when it
// detaches. An object made for a raw window has no owner: the frame owns it.
//
// Class names used by discovery: TSkinButton, TSkinBitButton, TSkinSpeedButton,
// TSkinMenuButton, TSkinCheckBox, TSkinRadioButton, TSkinStatusBar, TSkinScrollbar,
// TSkinListView, TSkinScrollbarH, TSkinScControl, TComboxScrollBar, TSkinGroupBox,
// TSkinTab, TSkinTabBtn, TSkinTab31, TSkinTabSheet, TSkinAdvPage, TSkinHeader,
// TSkinTrackBar, TSkinUpDown, TSkinMP, TSkinProgress, TSkinComBox, TSkinEdit,
// TSkinDateTime, TSkinBox, TSkinBoxH, TSkinSizer, TSkinObjImage. A class that is not
// registered is simply not used.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

class TCanvas;
class TControl;
class TSkinData;
class TSkinControlItem;

// What keeps the list of a window's skinned-control objects (the frame's discovery).
class TSkinControlList {
 public:
  virtual ~TSkinControlList() = default;
  virtual void AddSkinControl(TSkinControlItem* control) = 0;
  virtual void RemoveSkinControl(TSkinControlItem* control) = 0;
};

// What the frame needs of a skinned-control object (TSkinControl implements it).
class TSkinControlItem {
 public:
  // The window it skins, and the framework control (null for a raw window).
  virtual HWND SkinnedWindow() const = 0;
  virtual TControl* SkinnedControl() const = 0;
  // SkinState: 6 once the skinned window was destroyed.
  virtual int32_t SkinnedState() const = 0;
  // The class the object is (e.g. "TSkinListView").
  virtual const std::string& SkinClassName() const = 0;
  virtual bool IsAttached() const = 0;
  // Takes the skin off the control (Unskin) / applies a new skin (UpdateSkin).
  virtual void UnskinItem() = 0;
  virtual void UpdateItemSkin() = 0;
  // Attaches an object the application made (OnSkinControl) to `control` with InitSkin
  // and the object's own colour flag.
  virtual void AttachToControl(TSkinControlList* form, TSkinData* skinData, TCanvas* canvas,
                               TControl* control) = 0;
  // Frees the object (it leaves its list and its owner).
  virtual void FreeItem() = 0;

 protected:
  ~TSkinControlItem() = default;
};

// What a factory is asked to make.
struct TSkinAttachRequest {
  TSkinControlList* Form = nullptr;
  TSkinData* SkinData = nullptr;
  TCanvas* Canvas = nullptr;
  // The framework control to skin, or null: then Window is a raw window (InitSkinHandle).
  TControl* Control = nullptr;
  HWND Window = nullptr;
  // InitSkin's recolour flag.
  bool SetColour = false;
  // Set before initialisation: TSkinTab mode 2, TSkinScrollbar single mode 1,
  // TSkinObjImage kind 1-3, TSkinAdvPage 4. 0: none.
  int32_t Preset = 0;
  // TSkinBitButton: the control property that holds its image ("PngImage"); empty: Glyph.
  std::string ImageProperty;
};

using TSkinControlFactory = std::function<TSkinControlItem*(const TSkinAttachRequest& request)>;

// A later registration of the same name replaces the earlier one.
void RegisterSkinControlClass(const std::string& className, TSkinControlFactory factory);
void UnregisterSkinControlClass(const std::string& className);
bool IsSkinControlClassRegistered(const std::string& className);
// The attached object, or null (class not registered, attach failed, factory threw).
TSkinControlItem* CreateSkinControl(const std::string& className, const TSkinAttachRequest& request);
