// TSkinData and the skin manager: registration after loading, start, stop and refresh
// requests, the window filter; and the caption font and application icon it keeps.
#include <utility>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "skin/data/SkinBitmaps.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

// The size NONCLIENTMETRICS had before Windows Vista added iPaddedBorderWidth; every
// system accepts it.
constexpr UINT kNonClientMetricsSize = 340;
constexpr int32_t kMagenta = 0xFF00FF;

TScrollBarInfoProbe& ScrollBarInfoProbe() {
  static TScrollBarInfoProbe probe;
  return probe;
}

bool SystemHasGetScrollBarInfo() {
  if (ScrollBarInfoProbe()) return ScrollBarInfoProbe()();
  return DynamicUser32().HasGetScrollBarInfo();
}

}  // namespace

void SetScrollBarInfoProbeForTesting(TScrollBarInfoProbe probe) {
  ScrollBarInfoProbe() = std::move(probe);
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (Designing()) return;
  if (!SystemHasGetScrollBarInfo()) skinControls_.Exclude(xcScrollbar);
  TSkinManagerLink* manager = EnsureSkinManager();
  manager->AddSkinData(this);
  LoadCaptionFont();
  if (skinFormtype_ != sfMainform) {
    manager->Enabled = true;
    ++manager->RunState;
    // The owner's window, when the owner is a framework form.
    auto* form = dynamic_cast<TWinControl*>(Owner());
    if (form != nullptr && form->ClassType().InheritsFrom("TCustomForm") && active_)
      manager->SkinWindow(form->Handle());
    return;
  }
  manager->InstallHook();
  if (active_) {
    if (SkinEmpty) {
      // No skin, no skinning; stored directly, so no stop is requested either.
      active_ = false;
    } else {
      manager->RequestAction(kSkinActionStart, kSkinActionDelayMs);
    }
  }
  // A main menu is skinned through its bar; otherwise the system menu is left alone.
  if (skinControls_.Contains(xcMainMenu)) {
    skinControls_.Exclude(xcMenuItem);
  } else {
    skinControls_.Exclude(xcSystemMenu);
  }
  LoadAppIcon();
}

void TSkinData::ApplySkin() {
  if (Designing() || Loading()) return;
  if (SkinManager() == nullptr) Loaded();
  TSkinManagerLink* manager = EnsureSkinManager();
  manager->ActionSkinData = this;
  manager->NotifySkinChanged();
  if (manager->RunState == 1) manager->RequestAction(kSkinActionRefresh, kSkinActionDelayMs);
}

void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  // While the layout is read the value is only stored; Loaded acts on it.
  if (Designing() || Loading()) return;
  switch (skinFormtype_) {
    case sfOnlyThisForm: {
      TSkinManagerLink* manager = EnsureSkinManager();
      manager->ActionSkinData = this;
      if (value && SkinEmpty) return;
      manager->RequestAction(value ? kSkinActionStart : kSkinActionStop, kSkinActionDelayMs);
      return;
    }
    case sfDialog:
    case sfDLL:
      return;
    case sfMainform: {
      if (value && SkinEmpty) return;
      TSkinManagerLink* manager = EnsureSkinManager();
      manager->ActionSkinData = this;
      manager->RequestAction(value ? kSkinActionStart : kSkinActionStop, kSkinActionDelayMs);
      if (value) manager->RunState = 1;
      return;
    }
  }
}

void TSkinData::DoFormSkin(HWND window, const std::string& className, bool& doSkin) {
  LastFormWindow = window;
  if (OnFormSkin) {
    OnFormSkin(this, className, doSkin);
    return;
  }
  if (className == "SysMonthCal32") doSkin = false;
  if (skinControls_.Contains(xcFastReport) && className.starts_with("Tfr")) doSkin = false;
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::LoadCaptionFont() {
  CaptionFont = std::make_unique<TFont>();
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = kNonClientMetricsSize;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0)) return;
  // The font takes the caption font's attributes and makes its handle from them.
  const LOGFONTA& caption = metrics.lfCaptionFont;
  CaptionFont->SetName(AnsiToWide(caption.lfFaceName));
  CaptionFont->SetHeight(caption.lfHeight);
  CaptionFont->SetCharset(caption.lfCharSet);
  TFontStyles style;
  if (caption.lfWeight >= FW_BOLD) style.Include(fsBold);
  if (caption.lfItalic) style.Include(fsItalic);
  if (caption.lfUnderline) style.Include(fsUnderline);
  if (caption.lfStrikeOut) style.Include(fsStrikeOut);
  CaptionFont->SetStyle(style);
}

void TSkinData::LoadAppIcon() {
  const int width = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  TBitmap icon;
  MakeFilledBitmap(icon, width, height, kMagenta);
  HWND window = Application->Handle();
  auto shown = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
  if (shown == nullptr) shown = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
  if (shown == nullptr) return;
  auto copy = static_cast<HICON>(CopyImage(shown, IMAGE_ICON, width, height, LR_COPYFROMRESOURCE));
  if (copy == nullptr) return;
  DrawIconEx(icon.Canvas()->Handle(), 0, 0, copy, 0, 0, 0, nullptr, DI_NORMAL);
  DestroyIcon(copy);
  AppIconBitmap->Assign(&icon);
  AppIconBitmap->SetTransparentColor(kMagenta);
  AppIconBitmap->SetTransparent(true);
}
