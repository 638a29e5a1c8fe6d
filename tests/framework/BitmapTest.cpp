// TBitmap: pixel formats, scan lines, BMP streams both ways, bad files, transparency,
// canvas drawing; TCanvas locking across threads; TImageList.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "framework/Bitmap.h"
#include "framework/BmpFormat.h"
#include "framework/ImageList.h"
#include "framework/ResourceCount.h"

namespace {

TEST(Bitmap, PixelFormatsAndScanLines) {
  struct Case {
    TPixelFormat format;
    int bits;
  } cases[] = {{pf1bit, 1}, {pf4bit, 4}, {pf8bit, 8}, {pf15bit, 16}, {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 32}, {pfDevice, 32}};
  for (const Case& c : cases) {
    TBitmap b(10, 4, c.format);
    EXPECT_EQ(b.PixelFormat(), c.format);
    EXPECT_EQ(b.BitsPerPixel(), c.bits);
    EXPECT_EQ(b.Stride(), static_cast<int>(BmpStride(10, static_cast<uint16_t>(c.bits))));
    EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), -b.Stride()) << "bottom-up storage";
    EXPECT_THROW(b.ScanLine(4), Exception);
    EXPECT_THROW(b.ScanLine(-1), Exception);
  }
}

TEST(Bitmap, ScanLineRowZeroIsTheTop) {
  TBitmap b(3, 3, pf24bit);
  b.Canvas()->SetPixel(1, 0, clRed);  // top row, middle pixel
  const uint8_t* row = b.ScanLine(0);
  EXPECT_EQ(row[3 + 2], 0xFF);  // B, G, R
  EXPECT_EQ(row[3 + 1], 0x00);
  uint8_t* bottom = b.ScanLine(2);
  bottom[0] = 0xFF;  // blue at (0, 2)
  EXPECT_EQ(b.Canvas()->Pixel(0, 2), RGB(0, 0, 255));
}

TEST(Bitmap, ResizeKeepsThePictureAndFormatChangeConverts) {
  TBitmap b(4, 4, pf24bit);
  b.Canvas()->SetPixel(0, 0, clLime);
  b.SetSize(8, 8);
  EXPECT_EQ(b.Canvas()->Pixel(0, 0), RGB(0, 255, 0));
  b.SetPixelFormat(pf32bit);
  EXPECT_EQ(b.BitsPerPixel(), 32);
  EXPECT_EQ(b.Canvas()->Pixel(0, 0), RGB(0, 255, 0));
  EXPECT_THROW(b.SetSize(40000, 1), Exception);
  EXPECT_THROW(b.SetPixelFormat(pfCustom), Exception);
}

TEST(Bitmap, StreamRoundTripForEveryFormat) {
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap b(7, 5, f);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 7, 5));
    b.Canvas()->SetPixel(2, 1, clBlack);
    TMemoryStream stream;
    b.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.Width(), 7);
    EXPECT_EQ(back.Height(), 5);
    EXPECT_EQ(back.PixelFormat(), f);
    EXPECT_EQ(back.Canvas()->Pixel(2, 1), RGB(0, 0, 0)) << f;
    EXPECT_EQ(back.Canvas()->Pixel(3, 1), RGB(255, 255, 255)) << f;
  }
}

TEST(Bitmap, LoadsTopDownFiles) {
  // Two rows, top row red, bottom row blue, stored top down.
  std::vector<uint8_t> rows = {0, 0, 255, 0, 255, 0, 0, 0};  // 1 x 2, 24-bit rows padded to 4
  std::vector<uint8_t> file = WriteBmp(1, 2, 24, {}, rows);
  const int32_t minusTwo = -2;
  std::memcpy(&file[22], &minusTwo, 4);
  TMemoryStream stream(file);
  TBitmap b;
  b.LoadFromStream(stream);
  EXPECT_EQ(b.Canvas()->Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(b.Canvas()->Pixel(0, 1), RGB(0, 0, 255));
}

TEST(Bitmap, BadFilesThrowAndLeaveNoHandles) {
  const int64_t before = GdiObjectCount();
  for (const std::vector<uint8_t>& bytes :
       {std::vector<uint8_t>{}, std::vector<uint8_t>{'B', 'M', 1, 2, 3}, std::vector<uint8_t>(100, 0)}) {
    TMemoryStream stream(bytes);
    TBitmap b;
    EXPECT_THROW(b.LoadFromStream(stream), Exception);
    EXPECT_TRUE(b.Empty());
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST(Bitmap, TransparentDrawKeepsTheKeyColourOut) {
  TBitmap sprite(4, 4, pf24bit);
  sprite.Canvas()->Brush()->SetColor(clFuchsia);
  sprite.Canvas()->FillRect(Rect(0, 0, 4, 4));
  sprite.Canvas()->SetPixel(1, 1, clRed);
  EXPECT_EQ(ColorToRGB(sprite.TransparentColor()), RGB(255, 0, 255)) << "auto: the bottom-left pixel";
  sprite.SetTransparent(true);
  TBitmap target(4, 4, pf24bit);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(Rect(0, 0, 4, 4));
  target.Canvas()->Draw(0, 0, &sprite);
  EXPECT_EQ(target.Canvas()->Pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(target.Canvas()->Pixel(1, 1), RGB(255, 0, 0));
  sprite.SetTransparent(false);
  target.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &sprite);
  EXPECT_EQ(target.Canvas()->Pixel(0, 0), RGB(255, 0, 255));
}

TEST(Bitmap, CopyRectAndAssign) {
  TBitmap a(5, 5, pf24bit);
  a.Canvas()->SetPixel(4, 4, clBlue);
  TBitmap b(5, 5, pf32bit);
  b.Canvas()->CopyRect(Rect(0, 0, 5, 5), *a.Canvas(), Rect(0, 0, 5, 5));
  EXPECT_EQ(b.Canvas()->Pixel(4, 4), RGB(0, 0, 255));
  TBitmap c;
  c.Assign(&a);
  EXPECT_EQ(c.PixelFormat(), pf24bit);
  EXPECT_EQ(c.Canvas()->Pixel(4, 4), RGB(0, 0, 255));
  a.Canvas()->SetPixel(4, 4, clRed);
  EXPECT_EQ(c.Canvas()->Pixel(4, 4), RGB(0, 0, 255)) << "a copy, not a share";
}

TEST(Bitmap, HandleOwnershipMovesInAndOut) {
  const int64_t before = ResourceCount(TResourceKind::Bitmap);
  TBitmap b;
  b.SetHandle(CreateBitmap(6, 3, 1, 32, nullptr));  // a device-dependent bitmap becomes a DIB
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(ResourceCount(TResourceKind::Bitmap), before + 1);
  HBITMAP released = b.ReleaseHandle();
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(ResourceCount(TResourceKind::Bitmap), before);
  DeleteObject(released);
}

TEST(Canvas, LockSerialisesThreads) {
  TBitmap b(2, 2, pf24bit);
  TCanvas* canvas = b.Canvas();
  canvas->Lock();
  std::atomic<bool> got{false};
  std::thread other([&] {
    canvas->Lock();
    got = true;
    canvas->Unlock();
  });
  Sleep(50);
  EXPECT_FALSE(got) << "blocked while the GUI thread holds the canvas";
  EXPECT_EQ(canvas->LockCount(), 1);
  canvas->Unlock();
  other.join();
  EXPECT_TRUE(got);
  EXPECT_TRUE(canvas->TryLock());
  canvas->Unlock();
}

TEST(Canvas, TextInTheFontOfTheCanvas) {
  TBitmap b(60, 20, pf24bit);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 60, 20));
  c->Font()->SetName(L"宋体");
  c->Font()->SetCharset(GB2312_CHARSET);
  c->Font()->SetHeight(-16);
  c->Font()->SetColor(clBlack);
  const SIZE size = c->TextExtent(L"监视");
  EXPECT_GE(size.cx, 28);
  c->TextOut(0, 0, L"监视");
  int dark = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) dark += GetRValue(c->Pixel(x, y)) < 128;
  EXPECT_GT(dark, 30);
  wchar_t face[64] = {};
  GetTextFaceW(c->Handle(), 64, face);
  EXPECT_NE(face[0], L'\0');
}

TEST(ImageList, AddDrawAndFree) {
  const int64_t before = ResourceCount(TResourceKind::ImageList);
  {
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    TBitmap image(4, 4, pf24bit);
    image.Canvas()->Brush()->SetColor(clFuchsia);
    image.Canvas()->FillRect(Rect(0, 0, 4, 4));
    image.Canvas()->SetPixel(2, 2, clGreen);
    EXPECT_EQ(list.AddMasked(&image, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(ResourceCount(TResourceKind::ImageList), before + 1);
    TBitmap target(4, 4, pf24bit);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    list.Draw(*target.Canvas(), 0, 0, 0);
    EXPECT_EQ(target.Canvas()->Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(target.Canvas()->Pixel(2, 2), RGB(0, 128, 0));
  }
  EXPECT_EQ(ResourceCount(TResourceKind::ImageList), before);
}

}  // namespace
