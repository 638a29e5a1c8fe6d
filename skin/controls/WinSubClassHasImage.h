// Whether a skin element (or a picture) has an image to draw: the skinned controls draw
// from the skin where it does and fall back to drawing of their own where not.
#pragma once

#include <memory>

#include "framework/Bitmap.h"
#include "skin/data/SkinElements.h"

inline bool HasImage(const TDataSkinObject* element) {
  return element != nullptr && element->Bitmap != nullptr && !element->Bitmap->Empty();
}

inline bool HasImage(const std::unique_ptr<TBitmap>& bitmap) { return bitmap != nullptr && !bitmap->Empty(); }
