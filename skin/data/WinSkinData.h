// TSkinData (unit WinSkinData): the non-visual component a form carries to be skinned. It
// holds the skin (the binary property "SkinStream" of the form's layout, or a file named
// by SkinFile), builds the skin element model from it (TSkinModel, its base), publishes
// the settings that steer skinning, and registers with the process-wide skin manager
// (SkinManagerLink.h), which it asks to start, stop or refresh skinning.
//
// A skin that cannot be loaded never replaces the one in use: the model is built into a
// fresh TSkinModel and adopted only when complete. An archive of an unknown version shows
// kOlderSkinFileText; any other failure shows one message naming the file (or the
// component whose stored skin failed). Tests catch the messages with SetSkinMessageSink.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Bitmap.h"
#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "framework/Strings.h"
#include "skin/data/SkinDataTypes.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinModel.h"

class TControl;
class TSkinData;

// OnFormSkin: the veto for each window about to be skinned (aName: its class name).
using TFormSkinEvent =
    std::function<void(TObject* sender, const std::string& aName, bool& doSkin)>;
// OnSkinControl: a hook for the skinning of one control.
using TSkinControlEvent =
    std::function<void(TComponent* sender, TSkinData* skinData, TControl* form,
                       TControl* control, const std::string& controlClass,
                       TComponent*& skinnedControl)>;
// OnBeforeSkinForm, OnAfterSkinForm: around the skinning of a window.
using TSkinFormEvent = std::function<void(TObject* sender, HWND ahwnd, const std::string& aName)>;

// Where the skin component's failure messages go: a message box unless a sink is set.
using TSkinMessageSink = std::function<void(const std::wstring& text)>;
// Installs `sink` (an empty one brings the message box back).
void SetSkinMessageSink(TSkinMessageSink sink);
void ShowSkinMessage(const std::wstring& text);

// Whether the system offers GetScrollBarInfo (Loaded drops xcScrollbar without it). Tests
// install a probe to play a system without it; an empty probe asks the system again.
using TScrollBarInfoProbe = std::function<bool()>;
void SetScrollBarInfoProbeForTesting(TScrollBarInfoProbe probe);

class TSkinData : public TComponent, public TSkinModel {
  FRAMEWORK_CLASS(TSkinData, TComponent)

 public:
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  void DefineProperties(TFiler& filer) override;
  void Loaded() override;

  // Published properties.
  bool Active() const { return active_; }
  void SetActive(bool value);
  int32_t DisableTag() const { return disableTag_; }
  void SetDisableTag(int32_t value) { disableTag_ = value; }
  TSkinControlTypes SkinControls() const { return skinControls_; }
  void SetSkinControls(TSkinControlTypes value) { skinControls_ = value; }
  TSkinOptions Options() const { return options_; }
  void SetOptions(TSkinOptions value) { options_ = value; }
  TStrings* Skin3rd() const { return skin3rd_.get(); }
  // Copies the lines of `value` (nothing for null).
  void SetSkin3rd(TStrings* value);
  const std::string& SkinFile() const { return skinFile_; }
  // At run time loads the skin file `value` (a path in the ANSI code page) and asks the
  // manager to refresh the skinned windows.
  void SetSkinFile(const std::string& value);
  // "(Good)" while designing with a stored skin, else "(none)"; writing does nothing.
  std::string SkinStore() const;
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype() const { return skinFormtype_; }
  void SetSkinFormtype(TSkinFormType value) { skinFormtype_ = value; }
  // Fixed; writing does nothing.
  std::string Version() const { return kSkinDataVersion; }
  void SetVersion(const std::string&) {}
  bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool value) { menuUpdate_ = value; }
  bool MenuMerge() const { return menuMerge_; }
  void SetMenuMerge(bool value) { menuMerge_ = value; }

  TFormSkinEvent OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TSkinControlEvent OnSkinControl;
  TSkinFormEvent OnBeforeSkinForm;
  TSkinFormEvent OnAfterSkinForm;

  // Builds the model from SkinStream. False when the skin could not be loaded (the
  // message was shown; the model in use, if any, stays in use).
  bool LoadSkin();
  // Tells the manager that a new skin was loaded.
  void ApplySkin();
  // The window filter the manager consults for each window about to be skinned.
  void DoFormSkin(HWND window, const std::string& className, bool& doSkin);
  // Raises OnSkinChanged (the manager calls it after an action this component asked for).
  void DoSkinChanged();
  void LoadCaptionFont();
  void LoadAppIcon();

  // The skin file bytes (stored form: 32-bit length, then the bytes).
  std::unique_ptr<TMemoryStream> SkinStream;
  // True while no model has been built from the skin in use.
  bool SkinEmpty = true;
  // The system's caption font, or null.
  std::unique_ptr<TFont> CaptionFont;
  // The application's small icon on magenta (transparent colour).
  std::unique_ptr<TBitmap> AppIconBitmap;
  // restore, maximize, minimize, close: 16 x 16 each, from the resource "ORVATHMENU".
  std::unique_ptr<TImageList> MenuGlyphs;
  int32_t MaxTrackWidth = 0;
  int32_t MaxTrackHeight = 0;
  // While false the skinned frame paints no non-client area.
  bool FramePaintAllowed = true;
  HWND LastFormWindow = nullptr;

  // What the last failed load reported (empty after a successful one), and what the last
  // successful load noted (images named but missing or broken).
  const std::wstring& LastSkinError() const { return lastSkinError_; }
  const std::vector<std::string>& SkinWarnings() const { return skinWarnings_; }

 private:
  void ReadSkinStream(TStream& stream);
  void WriteSkinStream(TStream& stream);
  // Builds a model from `skin` and adopts it. On failure shows one message (naming
  // `source`) and leaves everything as it was.
  bool BuildFrom(TMemoryStream& skin, const std::wstring& source);
  std::wstring StoredSkinSource() const;
  bool HasModel() const { return modelBuilt_; }

  bool active_ = false;
  int32_t disableTag_ = kDefaultDisableTag;
  TSkinControlTypes skinControls_ = TSkinControlTypes::FromBits(kDefaultSkinControlBits);
  TSkinOptions options_ = TSkinOptions::FromBits(kDefaultSkinOptionBits);
  std::unique_ptr<TStringList> skin3rd_;
  std::string skinFile_;
  TSkinFormType skinFormtype_ = sfMainform;
  bool menuUpdate_ = true;
  bool menuMerge_ = false;
  bool modelBuilt_ = false;
  std::wstring lastSkinError_;
  std::vector<std::string> skinWarnings_;
};
