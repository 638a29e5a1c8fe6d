// TSkinSizer: the grip painted over in the face colour.
#include "skin/controls/WinSubClassSizer.h"

#include "framework/ClassBuilder.h"

const TClassInfo& TSkinSizer::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinSizer>("TSkinSizer", &Inherited::StaticClass()).Build();
  return info;
}

void TSkinSizer::DrawSkin(HDC dc, const RECT& rect) {
  if (dc != nullptr) FillSkinBackground(dc, rect);
}
