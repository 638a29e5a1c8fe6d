#include "skin/data/SkinElements.h"

#include <utility>

TDataSkinObject::TDataSkinObject(std::string name)
    : Bitmap(std::make_unique<TBitmap>()), Name(std::move(name)) {}

TDataSkinBorder::TDataSkinBorder(std::string name)
    : TDataSkinObject(std::move(name)), Image2(std::make_unique<TBitmap>()) {}

TDataSkinButton::TDataSkinButton(std::string name)
    : TDataSkinObject(std::move(name)),
      CheckBitmap(std::make_unique<TBitmap>()),
      RadioBitmap(std::make_unique<TBitmap>()) {}

TDataSkinTitle::TDataSkinTitle(std::string name) : TDataSkinObject(std::move(name)) {}

TDataSkinSysButton::TDataSkinSysButton(std::string name) : TDataSkinObject(std::move(name)) {}

TDataSkinBoxLabel::TDataSkinBoxLabel(std::string name) : TDataSkinObject(std::move(name)) {}
