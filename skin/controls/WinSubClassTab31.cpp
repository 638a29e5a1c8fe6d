// TSkinTab31: attach and painting of a tab set.
#include "skin/controls/WinSubClassTab31.h"

#include <algorithm>
#include <string>

#include "framework/ClassBuilder.h"
#include "framework/Strings.h"
#include "skin/controls/WinSubClassHasImage.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/image/ImgUtil.h"

const TClassInfo& TSkinTab31::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinTab31>("TSkinTab31", &Inherited::StaticClass()).Build();
  return info;
}

TSkinTab31::TSkinTab31(TComponent* owner) : TSkinControl(owner) {}

TSkinTab31::~TSkinTab31() = default;

void TSkinTab31::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                          TWinControl* control) {
  if (Attached) return;
  auto* tabSet = control != nullptr ? control : dynamic_cast<TWinControl*>(Owner());
  if (tabSet == nullptr) return;
  SetColour = setColour ? 1 : 0;
  InitSkinHandle(tabSet->Handle(), skinData, form, canvas);
  if (!Attached) return;
  Control = tabSet;
  if (tabSet != Owner()) tabSet->FreeNotification(this);
  ReadImage();
  // The tab set's first component is its scroller when it has one.
  if (tabSet->ComponentCount() > 0) {
    auto* scroller = dynamic_cast<TWinControl*>(tabSet->Components(0));
    if (scroller != nullptr && scroller->Parent() == tabSet) {
      Scroller = std::make_unique<TSkinUpDown>(nullptr);
      Scroller->HorzMode = 1;
      Scroller->InitSkinHandle(scroller->Handle(), SkinData, Form, Canvas);
    }
  }
}

void TSkinTab31::ReadImage() {
  TabImage.reset();
  if (SkinData == nullptr || !HasImage(SkinData->Tabs.get())) return;
  TabImage = std::make_unique<TBitmap>();
  CopyBitmap(SkinData->Tabs->Bitmap.get(), TabImage.get());
  FlipBitmap(TabImage.get());
}

void TSkinTab31::Unskin() {
  TSkinControl::Unskin();
  if (SkinState != kSkinWindowDestroyed) Scroller.reset();
}

void TSkinTab31::UpdateSkin() {
  ReadImage();
  TSkinControl::UpdateSkin();
}

bool TSkinTab31::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintReplace(message);
      return true;  // the control's own handling runs as well (it paints its children)
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinTab31::AfterProc(TMessage& message) {
  if (message.Msg == WM_PAINT) return;  // painted before the control's own handling
  TSkinControl::AfterProc(message);
}

void TSkinTab31::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || dc == nullptr || Control == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  TBitmap work(width, height, pf24bit);
  TCanvas* canvas = work.Canvas();
  HDC workDc = canvas->Handle();
  FillSkinBackground(workDc, RECT{0, 0, width, height});
  canvas->Font()->Assign(Control->Font());
  TabRects.clear();
  auto* tabs = static_cast<TStrings*>(GetObjectPropByName(Control, "Tabs", TStrings::StaticClass()));
  if (tabs != nullptr && TabImage != nullptr) {
    const TDataSkinBorder& element = *SkinData->Tabs;
    const int selected = GetOrdPropByName(Control, "TabIndex");
    const int first = std::max(GetOrdPropByName(Control, "FirstIndex"), 0);
    const bool scrollerShown = Scroller != nullptr && IsWindowVisible(Scroller->Handle);
    const int limit = width - (scrollerShown ? 21 : 9);
    RECT margins = element.Margins;
    std::swap(margins.top, margins.bottom);
    int x = 0;
    for (int i = first; i < tabs->Count(); ++i) {
      const std::wstring text = tabs->Get(i);
      const int tabWidth = canvas->TextWidth(text) + 9;
      if (x + tabWidth > limit) break;
      const RECT tab{x, 0, x + tabWidth, height};
      const bool isSelected = i == selected;
      DrawNineSlice(workDc, tab, TabImage.get(), false, element.Tile != 0, element.Trans == 1,
                    std::max(element.FrameCount, 1), isSelected ? 2 : 1, margins);
      canvas->Font()->SetColor(isSelected ? element.MouseOverColour2 : element.NormalColour2);
      DrawCentredText(canvas, tab, text, 2, Control->Enabled());
      TabRects.push_back(tab);
      x += tabWidth;
    }
  }
  BitBlt(dc, rect.left, rect.top, width, height, workDc, 0, 0, SRCCOPY);
}
