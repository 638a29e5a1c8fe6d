#include "tests/skin_controls/SkinControlsSupport.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Streams.h"

std::string WinePath(const std::string& linuxPath) {
  std::string path = "\\\\?\\unix";
  for (const char c : linuxPath) path += c == '/' ? '\\' : c;
  return path;
}

std::unique_ptr<TSkinData> LoadBuiltSkin(const std::string& name) {
  auto data = std::make_unique<TSkinData>(nullptr);
  data->SkinStream->Buffer() = ReadFileBytes(WinePath(std::string(PTEST_BINARY_DIR) + "/skins/" + name + ".skn"));
  if (!data->LoadSkin()) return nullptr;
  return data;
}

void TRecordingList::AddSkinControl(TSkinControlItem* item) {
  ++added;
  controls.push_back(dynamic_cast<TSkinControl*>(item));
}

void TRecordingList::RemoveSkinControl(TSkinControlItem* item) {
  ++removed;
  TSkinControl* control = dynamic_cast<TSkinControl*>(item);
  controls.erase(std::remove(controls.begin(), controls.end(), control), controls.end());
}

TControlsForm::TControlsForm() {
  screenLock_ = CreateMutexW(nullptr, FALSE, L"PtestSkinControlsScreen");
  if (screenLock_ != nullptr) WaitForSingleObject(screenLock_, 300000);
  form = new TForm(nullptr);
  form->SetBounds(40, 40, 360, 240);
  form->SetCaption(L"skinned controls");
  button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 100, 30);
  button->SetCaption(L"监视全部硬盘");
  button->OnClick = [this](TObject*) { clicks.push_back(L"button"); };
  button2 = new TButton(form);
  button2->SetParent(form);
  button2->SetBounds(120, 10, 100, 30);
  button2->SetCaption(L"停止");
  check = new TCheckBox(form);
  check->SetParent(form);
  check->SetBounds(10, 50, 150, 20);
  check->SetCaption(L"检查");
  radio = new TRadioButton(form);
  radio->SetParent(form);
  radio->SetBounds(10, 80, 150, 20);
  radio->SetCaption(L"一");
  radio2 = new TRadioButton(form);
  radio2->SetParent(form);
  radio2->SetBounds(10, 105, 150, 20);
  radio2->SetCaption(L"二");
  status = new TStatusBar(form);
  status->SetParent(form);
  status->SetAlign(alBottom);
  status->Panels()->Add()->SetWidth(150);
  status->Panels()->Add()->SetWidth(100);
  status->Panels()->Items(0)->SetText(L"没有监视");
  status->Panels()->Items(1)->SetText(L"就绪");
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
  PumpFor(50);
}

TControlsForm::~TControlsForm() {
  delete form;
  PumpFor(10);
  if (screenLock_ != nullptr) {
    ReleaseMutex(screenLock_);
    CloseHandle(screenLock_);
  }
}

TCapture::TCapture(int width, int height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<uint32_t*>(bits);
  old_ = SelectObject(dc_, bitmap_);
  Fill(RGB(1, 2, 3));
}

TCapture::~TCapture() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void TCapture::Fill(COLORREF colour) {
  GdiFlush();
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all{0, 0, width_, height_};
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

COLORREF TCapture::At(int x, int y) const {
  GdiFlush();
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const uint32_t bgra = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
  return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

std::unique_ptr<TCapture> PaintOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  auto capture = std::make_unique<TCapture>(rect.right - rect.left, rect.bottom - rect.top);
  SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(capture->Dc()), 0);
  return capture;
}

std::unique_ptr<TCapture> ScreenOf(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(30);
  RECT rect{};
  GetWindowRect(window, &rect);
  auto capture = std::make_unique<TCapture>(rect.right - rect.left, rect.bottom - rect.top);
  HDC screen = GetDC(nullptr);
  BitBlt(capture->Dc(), 0, 0, capture->Width(), capture->Height(), screen, rect.left, rect.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return capture;
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    Application->ProcessMessages();
    Sleep(1);
  } while (GetTickCount() - start < milliseconds);
}
