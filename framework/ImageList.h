// TImageList: a list of equally sized images (with masks) on a system image list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Bitmap.h"
#include "framework/Classes.h"

class TImageList : public TComponent {
  FRAMEWORK_CLASS(TImageList, TComponent)

 public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;

  int32_t Width() const { return width_; }
  void SetWidth(int32_t value);
  int32_t Height() const { return height_; }
  void SetHeight(int32_t value);
  int Count() const;
  // The list (made on first use; counted).
  HIMAGELIST Handle();
  // Adds an image; pixels of `mask`'s set bits are transparent (nullptr: opaque). Returns
  // the index of the image, or -1.
  int Add(TBitmap* image, TBitmap* mask);
  // Adds an image whose pixels of `maskColor` are transparent.
  int AddMasked(TBitmap* image, TColor maskColor);
  void Delete(int index);
  void Clear();
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
  // Copies image `index` into `image` (resized to the list's size).
  void GetBitmap(int index, TBitmap& image);

 private:
  void Recreate();
  int32_t width_ = 16;
  int32_t height_ = 16;
  HIMAGELIST handle_ = nullptr;
};
