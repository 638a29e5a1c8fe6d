#include "framework/ImageList.h"

#include "framework/ClassBuilder.h"

const TClassInfo& TImageList::StaticClass() {
  static const TClassInfo info = TClassBuilder<TImageList>("TImageList", &Inherited::StaticClass())
                                     .Property("Width", &TImageList::Width, &TImageList::SetWidth)
                                     .Property("Height", &TImageList::Height, &TImageList::SetHeight)
                                     .Build();
  return info;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() { Clear(); }

HIMAGELIST TImageList::Handle() {
  if (!handle_) {
    handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4);
    if (!handle_) throw Exception("cannot create an image list");
    ResourceCreated(TResourceKind::ImageList);
  }
  return handle_;
}

void TImageList::Recreate() { Clear(); }

void TImageList::SetWidth(int32_t value) {
  if (value == width_ || value <= 0) return;
  width_ = value;
  Recreate();
}

void TImageList::SetHeight(int32_t value) {
  if (value == height_ || value <= 0) return;
  height_ = value;
  Recreate();
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image || image->Empty()) return -1;
  // ImageList_Add copies the bitmaps; they may not be selected into a DC meanwhile.
  TBitmap copy;
  copy.Assign(image);
  TBitmap maskCopy;
  if (mask) maskCopy.Assign(mask);
  return ImageList_Add(Handle(), copy.Handle(), mask ? maskCopy.Handle() : nullptr);
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (!image || image->Empty()) return -1;
  TBitmap copy;
  copy.Assign(image);
  return ImageList_AddMasked(Handle(), copy.Handle(), ColorToRGB(maskColor));
}

void TImageList::Delete(int index) {
  if (handle_) ImageList_Remove(handle_, index);
}

void TImageList::Clear() {
  if (!handle_) return;
  ImageList_Destroy(handle_);
  handle_ = nullptr;
  ResourceFreed(TResourceKind::ImageList);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
  if (!handle_ || index < 0 || index >= Count()) return;
  ImageList_DrawEx(handle_, index, canvas.Handle(), x, y, 0, 0, CLR_NONE, CLR_DEFAULT,
                   enabled ? ILD_TRANSPARENT : (ILD_TRANSPARENT | ILD_BLEND50));
}

void TImageList::GetBitmap(int index, TBitmap& image) {
  image.SetPixelFormat(pf32bit);
  image.SetSize(width_, height_);
  image.Canvas()->Brush()->SetColor(clWhite);
  image.Canvas()->FillRect(Rect(0, 0, width_, height_));
  if (handle_ && index >= 0 && index < Count())
    ImageList_Draw(handle_, index, image.Canvas()->Handle(), 0, 0, ILD_NORMAL);
}
