// TSkinBox and TSkinBoxH.
#include "skin/controls/WinSubClassBox.h"

#include <commctrl.h>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHandlerless.h"
#include "skin/data/WinSkinData.h"

namespace {

// The framework's reflected WM_NOTIFY, as a framework parent sends it to its child.
constexpr UINT kReflectedNotify = 0xBC4E;

// A skinned track bar child draws itself through its custom-draw notification, which
// only reaches it when its parent hands it back.
bool IsSkinnedTrackBar(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  return lstrcmpiW(name, TRACKBAR_CLASSW) == 0 && SendMessageW(window, SKM_QUERYSKIN, 0, 0) == 1;
}

}  // namespace

const TClassInfo& TSkinBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinBox>("TSkinBox", &Inherited::StaticClass()).Build();
  return info;
}
const TClassInfo& TSkinBoxH::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinBoxH>("TSkinBoxH", &Inherited::StaticClass()).Build();
  return info;
}

// ---- TSkinBox ----

void TSkinBox::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                        TWinControl* control) {
  AttachWithoutHandler(*this, form, skinData, setColour, canvas, control, [this] { ApplySkinColours(true); });
}

void TSkinBox::Unskin() {
  // State 4: the control has been handed back already; its colour is its own again.
  if (SkinState != 4) RestoreSkinColours();
  SkinState = kSkinUnskinned;
}

// ---- TSkinBoxH ----

bool TSkinBoxH::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
      if (header == nullptr || header->code != static_cast<UINT>(NM_CUSTOMDRAW) || GetParent(header->hwndFrom) != Handle ||
          !IsSkinnedTrackBar(header->hwndFrom))
        return TSkinControl::BeforeProc(message);
      message.Result = SendMessageW(header->hwndFrom, kReflectedNotify, message.WParam, message.LParam);
      return false;
    }
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(Handle, &client);
      FillSkinBackground(reinterpret_cast<HDC>(message.WParam), client);
      message.Result = 0;
      return false;
    }
    case WM_CTLCOLORSTATIC:
      CallOldProc(message);
      if (SkinData == nullptr || !SkinData->ButtonFaceBrush) return false;
      // The text's own background matches the brush, so a static text sits on the skin.
      SetBkColor(reinterpret_cast<HDC>(message.WParam), ColorToRGB(SkinData->ButtonFaceColour));
      message.Result = reinterpret_cast<LRESULT>(SkinData->ButtonFaceBrush.Get());
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}
