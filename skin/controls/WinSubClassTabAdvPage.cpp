// TSkinAdvPage: the control's tab pictures from the skin's Tabs frames.
#include "skin/controls/WinSubClassTabAdvPage.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHasImage.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

// The size the tab pictures are rendered at.
constexpr RECT kTabPicture{0, 0, 100, 21};

TBitmap* PictureOf(TObject* object, const char* name) {
  return static_cast<TBitmap*>(GetObjectPropByName(object, name, TBitmap::StaticClass()));
}

}  // namespace

const TClassInfo& TSkinAdvPage::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinAdvPage>("TSkinAdvPage", &Inherited::StaticClass()).Build();
  return info;
}

TSkinAdvPage::TSkinAdvPage(TComponent* owner) : TSkinControl(owner) {}

TSkinAdvPage::~TSkinAdvPage() = default;

void TSkinAdvPage::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                            TWinControl* control) {
  if (Attached) return;
  if (PageMode == 0) PageMode = Mode;
  TSkinControl::InitSkin(form, skinData, setColour, canvas, control);
  if (Attached) ApplyPictures();
}

void TSkinAdvPage::ApplyPictures() {
  if (PageMode != 4 || Control == nullptr || SkinData == nullptr) return;
  const TDataSkinBorder* tabs = SkinData->Tabs.get();
  if (!HasImage(tabs)) return;
  const char* names[] = {"TabBackGround", "TabBackGroundActive"};
  for (int frame = 1; frame <= 2; ++frame) {
    TBitmap* picture = PictureOf(Control, names[frame - 1]);
    if (picture == nullptr) continue;
    std::unique_ptr<TBitmap> image = BuildNineSlice(kTabPicture, tabs->Bitmap.get(), tabs->Margins, false,
                                                    tabs->Tile != 0, std::max(tabs->FrameCount, 1), frame);
    if (image) CopyBitmap(image.get(), picture);
  }
  Control->Invalidate();
}

void TSkinAdvPage::UpdateSkin() {
  ApplyPictures();
  TSkinControl::UpdateSkin();
}

void TSkinAdvPage::Unskin() {
  TSkinControl::Unskin();
  if (SkinState != kSkinWindowDestroyed) UpDown.reset();
  if (PageMode != 4 || Control == nullptr || Control->DestroyingState()) return;
  for (const char* name : {"TabBackGround", "TabBackGroundActive"})
    if (TBitmap* picture = PictureOf(Control, name)) picture->SetSize(0, 0);
}

void TSkinAdvPage::AfterProc(TMessage& message) {
  if (message.Msg == WM_PAINT && UpDown == nullptr && Handle != nullptr) {
    if (HWND spin = FindWindowExW(Handle, nullptr, UPDOWN_CLASSW, nullptr)) {
      UpDown = std::make_unique<TSkinUpDown>(nullptr);
      UpDown->InitSkinHandle(spin, SkinData, Form, Canvas);
    }
  }
  TSkinControl::AfterProc(message);
}
