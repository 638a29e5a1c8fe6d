// TSkinObjImage: the skin's marks put into the control's own glyph pictures.
#include "skin/controls/WinSubClassObjImage.h"

#include <string>

#include "framework/Bitmap.h"
#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHandlerless.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

TBitmap* PictureOf(TObject* object, const char* name) {
  return static_cast<TBitmap*>(GetObjectPropByName(object, name, TBitmap::StaticClass()));
}

TObject* PropertiesOf(TObject* object) { return GetObjectPropByName(object, "Properties", TObject::StaticClass()); }

}  // namespace

const TClassInfo& TSkinObjImage::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinObjImage>("TSkinObjImage", &Inherited::StaticClass()).Build();
  return info;
}

void TSkinObjImage::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                             TWinControl* control) {
  AttachWithoutHandler(*this, form, skinData, setColour, canvas, control, [this] {
    if (GlyphMode == 0) GlyphMode = Mode;
    ApplyGlyphs();
  });
}

void TSkinObjImage::ApplyGlyphs() {
  if (Control == nullptr || SkinData == nullptr || SkinData->Buttons == nullptr) return;
  const TDataSkinButton& buttons = *SkinData->Buttons;
  if (GlyphMode == 1 || GlyphMode == 2) {
    TBitmap* image = GlyphMode == 1 ? buttons.CheckBitmap.get() : buttons.RadioBitmap.get();
    TBitmap* glyphs = PictureOf(Control, "CustomGlyphs");
    if (image == nullptr || image->Empty() || glyphs == nullptr) return;
    CopyBitmap(image, glyphs);
    SetPropByName(Control, "transparentcolor", std::to_string(kSkinKeyColour));
    // Switched off and on so the control reloads its marks from the picture.
    SetPropByName(Control, "UseCustomGlyphs", "false");
    SetPropByName(Control, "UseCustomGlyphs", "true");
  } else if (GlyphMode == 3) {
    TBitmap* glyph = PictureOf(PropertiesOf(Control), "Glyph");
    TBitmap* image = buttons.CheckBitmap.get();
    if (glyph != nullptr && image != nullptr && !image->Empty()) CopyBitmap(image, glyph);
  }
}

void TSkinObjImage::UpdateSkin() {
  ApplyGlyphs();
  if (Control != nullptr) Control->Invalidate();
}

void TSkinObjImage::Unskin() {
  if (Control == nullptr || Control->DestroyingState()) return;
  if (GlyphMode == 1 || GlyphMode == 2) {
    SetPropByName(Control, "UseCustomGlyphs", "false");
  } else if (GlyphMode == 3) {
    if (TBitmap* glyph = PictureOf(PropertiesOf(Control), "Glyph")) glyph->SetSize(0, 0);
  }
}
