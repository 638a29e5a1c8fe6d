#include "gallery/GalleryForm.h"

#include <commdlg.h>

#include <algorithm>
#include <cwctype>

#include "framework/ClassBuilder.h"
#include "framework/ListCtrls.h"
#include "framework/SysUtils.h"
#include "gallery/MdiDemo.h"

const TClassInfo& TGalleryForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGalleryForm>("TGalleryForm", &Inherited::StaticClass())
                                     .Field("SkinData1", &TGalleryForm::SkinData1)
                                     .Field("SkinGroup", &TGalleryForm::SkinGroup)
                                     .Field("StatusBar1", &TGalleryForm::StatusBar1)
                                     .Field("ToolBar1", &TGalleryForm::ToolBar1)
                                     .Field("ImageList1", &TGalleryForm::ImageList1)
                                     .Field("BitBtn1", &TGalleryForm::BitBtn1)
                                     .Field("BitBtn2", &TGalleryForm::BitBtn2)
                                     .Field("BitBtn3", &TGalleryForm::BitBtn3)
                                     .Field("SpeedButton4", &TGalleryForm::SpeedButton4)
                                     .Field("SpeedButton5", &TGalleryForm::SpeedButton5)
                                     .Field("DefaultSkinItem", &TGalleryForm::DefaultSkinItem)
                                     .Field("DarkSkinItem", &TGalleryForm::DarkSkinItem)
                                     .Field("NoSkinItem", &TGalleryForm::NoSkinItem)
                                     .Method("FormCreate", &TGalleryForm::FormCreate)
                                     .Method("MessageButtonClick", &TGalleryForm::MessageButtonClick)
                                     .Method("FileDialogButtonClick", &TGalleryForm::FileDialogButtonClick)
                                     .Method("MdiButtonClick", &TGalleryForm::MdiButtonClick)
                                     .Method("SkinGroupClick", &TGalleryForm::SkinGroupClick)
                                     .Method("SkinMenuItemClick", &TGalleryForm::SkinMenuItemClick)
                                     .Method("ExitItemClick", &TGalleryForm::ExitItemClick)
                                     .Build();
  return info;
}

TGalleryForm::~TGalleryForm() {
  if (mdiDemo_) mdiDemo_->RemoveFreeNotification(this);
}

void TGalleryForm::FormCreate(TObject*) {
  MakeGlyphs();
  ShowChoice();
  // Windows for every control now, those of hidden pages too, so that the skin engine
  // finds every one when it skins the window.
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* control = dynamic_cast<TWinControl*>(Components(i))) control->HandleNeeded();
  if (auto* tree = dynamic_cast<TTreeView*>(FindComponent(L"TreeView1"))) tree->FullExpand();
}

void TGalleryForm::MakeGlyphs() {
  // A two-cell glyph (normal, disabled) on the magenta key: a check mark.
  TBitmap glyph(32, 16, pf24bit);
  TCanvas* c = glyph.Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, 32, 16));
  const TColor colours[2] = {clGreen, clGray};
  for (int cell = 0; cell < 2; ++cell) {
    c->Pen()->SetColor(colours[cell]);
    for (int thick = 0; thick < 2; ++thick) {
      const int x = cell * 16;
      c->MoveTo(x + 3, 8 + thick);
      c->LineTo(x + 6, 11 + thick);
      c->LineTo(x + 13, 4 + thick);
    }
  }
  for (TBitBtn* button : {BitBtn1, BitBtn2, BitBtn3}) {
    if (!button) continue;
    button->SetGlyph(&glyph);
    button->SetNumGlyphs(2);
  }
  for (TSpeedButton* button : {SpeedButton4, SpeedButton5}) {
    if (!button) continue;
    button->SetGlyph(&glyph);
    button->SetNumGlyphs(2);
  }
  if (!ImageList1 || !ToolBar1) return;
  // Tool bar images: a page and a folder.
  TBitmap image(16, 16, pf24bit);
  TCanvas* ic = image.Canvas();
  ic->Brush()->SetColor(clFuchsia);
  ic->FillRect(Rect(0, 0, 16, 16));
  ic->Brush()->SetColor(clWhite);
  ic->Pen()->SetColor(clNavy);
  ic->Rectangle(Rect(3, 1, 13, 15));
  ImageList1->AddMasked(&image, clFuchsia);
  ic->Brush()->SetColor(clFuchsia);
  ic->FillRect(Rect(0, 0, 16, 16));
  ic->Brush()->SetColor(clYellow);
  ic->Pen()->SetColor(clOlive);
  ic->Rectangle(Rect(1, 4, 15, 14));
  ImageList1->AddMasked(&image, clFuchsia);
  ToolBar1->SetImages(ImageList1);
}

void TGalleryForm::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation == TOperation::opRemove && component == mdiDemo_) mdiDemo_ = nullptr;
}

void TGalleryForm::MessageButtonClick(TObject*) {
  MessageBoxW(Handle(), L"A message box of the system.", L"Control gallery", MB_OK | MB_ICONINFORMATION);
}

void TGalleryForm::FileDialogButtonClick(TObject*) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = Handle();
  open.lpstrFilter = L"Skin files (*.skn)\0*.skn\0All files (*.*)\0*.*\0";
  open.lpstrFile = file;
  open.nMaxFile = MAX_PATH;
  open.lpstrTitle = L"Open a file (a skin file is loaded)";
  open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&open)) return;
  std::wstring name = file;
  std::wstring lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t ch) { return std::towlower(ch); });
  if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, L".skn") == 0) ApplySkinFile(name);
  if (StatusBar1 && StatusBar1->Panels()->Count() > 0) StatusBar1->Panels()->Items(0)->SetText(name);
}

void TGalleryForm::MdiButtonClick(TObject*) {
  if (mdiDemo_) {
    mdiDemo_->Show();
    return;
  }
  mdiDemo_ = ShowMdiDemo(this, 3);
  mdiDemo_->FreeNotification(this);
}

void TGalleryForm::SkinGroupClick(TObject*) {
  if (!SkinGroup || SkinGroup->ItemIndex() < 0) return;
  ApplySkinChoice(static_cast<TSkinChoice>(SkinGroup->ItemIndex()));
}

void TGalleryForm::SkinMenuItemClick(TObject* sender) {
  if (sender == DefaultSkinItem) ApplySkinChoice(TSkinChoice::Default);
  if (sender == DarkSkinItem) ApplySkinChoice(TSkinChoice::Dark);
  if (sender == NoSkinItem) ApplySkinChoice(TSkinChoice::Off);
}

void TGalleryForm::ExitItemClick(TObject*) { Close(); }

bool TGalleryForm::ApplySkinChoice(TSkinChoice choice) {
  if (!SkinData1) return false;
  if (choice == TSkinChoice::Off) {
    SkinData1->SetActive(false);
    choice_ = choice;
    ShowChoice();
    return true;
  }
  const std::wstring file = FindSkinFile(choice);
  if (file.empty()) {
    if (StatusBar1 && StatusBar1->Panels()->Count() > 1)
      StatusBar1->Panels()->Items(1)->SetText(L"Skin file not found");
    ShowChoice();
    return false;
  }
  SkinData1->SetSkinFile(AnsiText(file));
  if (!SkinData1->Active()) SkinData1->SetActive(true);
  choice_ = choice;
  ShowChoice();
  return true;
}

namespace {
std::wstring FullPath(const std::wstring& path);
bool IsFile(const std::wstring& path);
}  // namespace

void TGalleryForm::ApplySkinFile(const std::wstring& given) {
  if (!SkinData1 || given.empty()) return;
  const std::wstring file = FullPath(given);
  const size_t slash = file.find_last_of(L"\\/");
  const std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
  if (!IsFile(file)) {
    // The skin in use stays, and so does the choice shown.
    if (StatusBar1 && StatusBar1->Panels()->Count() > 1)
      StatusBar1->Panels()->Items(1)->SetText(L"Skin file not found: " + name);
    return;
  }
  SkinData1->SetSkinFile(AnsiText(file));
  if (!SkinData1->Active()) SkinData1->SetActive(true);
  // A file of its own is none of the offered choices.
  choice_ = TSkinChoice::Default;
  for (TSkinChoice known : {TSkinChoice::Default, TSkinChoice::Dark}) {
    const std::wstring path = FindSkinFile(known);
    if (!path.empty() && CompareStringOrdinal(path.c_str(), -1, file.c_str(), -1, TRUE) == CSTR_EQUAL) {
      choice_ = known;
      ShowChoice();
      return;
    }
  }
  if (SkinGroup) SkinGroup->SetItemIndex(-1);
  if (DefaultSkinItem) DefaultSkinItem->SetChecked(false);
  if (DarkSkinItem) DarkSkinItem->SetChecked(false);
  if (NoSkinItem) NoSkinItem->SetChecked(false);
  if (StatusBar1 && StatusBar1->Panels()->Count() > 1) StatusBar1->Panels()->Items(1)->SetText(name);
}

void TGalleryForm::ShowChoice() {
  static const wchar_t* const names[] = {L"Default skin", L"Dark skin", L"Skinning off"};
  const int index = static_cast<int>(choice_);
  if (SkinGroup && SkinGroup->ItemIndex() != index) SkinGroup->SetItemIndex(index);
  if (DefaultSkinItem) DefaultSkinItem->SetChecked(choice_ == TSkinChoice::Default);
  if (DarkSkinItem) DarkSkinItem->SetChecked(choice_ == TSkinChoice::Dark);
  if (NoSkinItem) NoSkinItem->SetChecked(choice_ == TSkinChoice::Off);
  if (StatusBar1 && StatusBar1->Panels()->Count() > 1) StatusBar1->Panels()->Items(1)->SetText(names[index]);
}

void RegisterGalleryClasses() {
  RegisterStandardClasses();
  RegisterClasses({&TGalleryForm::StaticClass(), &TSkinData::StaticClass()});
}

std::string AnsiText(const std::wstring& text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
  return result;
}

namespace {

// The path without "." and ".." parts, for comparing. Done on the text: the system leaves
// paths of the form \\?\... (how Wine reaches Linux paths) as they are.
std::wstring FullPath(const std::wstring& path) {
  std::wstring text = path;
  std::replace(text.begin(), text.end(), L'/', L'\\');
  std::wstring prefix;
  if (text.rfind(L"\\\\?\\", 0) == 0) {
    prefix = text.substr(0, 4);
  } else if (text.size() >= 3 && text[1] == L':' && text[2] == L'\\') {
    prefix = text.substr(0, 3);
  } else {
    wchar_t full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(text.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : text;
  }
  std::vector<std::wstring> parts;
  size_t start = prefix.size();
  while (start <= text.size()) {
    const size_t end = std::min(text.find(L'\\', start), text.size());
    const std::wstring part = text.substr(start, end - start);
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::wstring result = prefix;
  for (size_t i = 0; i < parts.size(); ++i) result += (i ? L"\\" : L"") + parts[i];
  return result;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring folder(path, length);
  const size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

}  // namespace

std::wstring FindSkinFile(TSkinChoice choice) {
  if (choice == TSkinChoice::Off) return {};
  const std::wstring name = choice == TSkinChoice::Dark ? L"dark.skn" : L"default.skn";
  std::vector<std::wstring> places;
  const std::wstring folder = ProgramFolder();
  if (!folder.empty()) {
    places.push_back(folder + L"skins\\" + name);
    places.push_back(folder + L"..\\skins\\" + name);
  }
#ifdef PTEST_GALLERY_SKINS_DIR
  // The build's skins folder, a Linux path that Wine opens as \\?\unix\...
  std::wstring built = L"\\\\?\\unix" + Utf8ToWide(PTEST_GALLERY_SKINS_DIR) + L"/" + name;
  std::replace(built.begin(), built.end(), L'/', L'\\');
  places.push_back(built);
#endif
  for (const std::wstring& place : places)
    if (IsFile(place)) return FullPath(place);
  return {};
}
