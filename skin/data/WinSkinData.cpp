// TSkinData: construction, published properties, the stored "SkinStream", and loading a
// skin (from the layout or from a file) into the element model.
#include "skin/data/WinSkinData.h"

#include <utility>

#include "framework/ClassBuilder.h"
#include "framework/SysUtils.h"
#include "skin/data/SkinArchive.h"
#include "skin/data/SkinBitmaps.h"
#include "skin/data/SkinFileExpand.h"
#include "skin/data/SkinModelBuilder.h"
#include "skin/data/WinSkinIni.h"

namespace {

TSkinMessageSink& MessageSink() {
  static TSkinMessageSink sink;
  return sink;
}

std::wstring Wide(std::string_view utf8) { return Utf8ToWide(utf8); }

// The archive read from a skin file: refused when the file is cut off (see
// ExpandSkinFile) or when its entries claim more bytes than it holds.
bool ReadArchive(TSkinReader& reader, const TMemoryStream& skin, std::string* reason) {
  std::vector<uint8_t> archive;
  if (!ExpandSkinFile(skin.Bytes(), &archive, reason)) return false;
  if (!reader.LoadArchive(archive)) {
    *reason = reader.LastError();
    return false;
  }
  int64_t claimed = 0;
  for (int32_t i = 0; i < reader.EntryCount(); ++i) claimed += reader.Sizes()[static_cast<size_t>(i)];
  const auto held = static_cast<int64_t>(reader.Data().Bytes().size());
  if (claimed > held) {
    *reason = "its entries claim " + std::to_string(claimed) + " bytes but the archive holds " +
              std::to_string(held) + " (cut off)";
    return false;
  }
  return true;
}

}  // namespace

void SetSkinMessageSink(TSkinMessageSink sink) { MessageSink() = std::move(sink); }

void ShowSkinMessage(const std::wstring& text) {
  if (MessageSink()) {
    MessageSink()(text);
    return;
  }
  MessageBoxW(nullptr, text.c_str(), L"Skin", MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

const TClassInfo& TSkinData::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSkinData>("TSkinData", &Inherited::StaticClass())
          .Property("Active", &TSkinData::Active, &TSkinData::SetActive)
          .Property("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag)
          .Property("SkinControls", &TSkinData::SkinControls, &TSkinData::SetSkinControls)
          .Property("Options", &TSkinData::Options, &TSkinData::SetOptions)
          .Property("Skin3rd", &TSkinData::Skin3rd, &TSkinData::SetSkin3rd)
          .Property("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
          .Property("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
          .Property("SkinFormtype", &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype)
          .Property("Version", &TSkinData::Version, &TSkinData::SetVersion)
          .Property("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
          .Property("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge)
          .Property("OnFormSkin", &TSkinData::OnFormSkin)
          .Property("OnSkinChanged", &TSkinData::OnSkinChanged)
          .Property("OnSkinControl", &TSkinData::OnSkinControl)
          .Property("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm)
          .Property("OnAfterSkinForm", &TSkinData::OnAfterSkinForm)
          .Build();
  return info;
}

namespace {
// Layouts create the component by its class name.
const bool kRegistered = (RegisterClasses({&TSkinData::StaticClass()}), true);
}  // namespace

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      SkinStream(std::make_unique<TMemoryStream>()),
      AppIconBitmap(std::make_unique<TBitmap>()),
      skin3rd_(std::make_unique<TStringList>(DefaultSkin3rdLines())) {
  (void)kRegistered;
  AppIconBitmap->SetPixelFormat(pf24bit);
  MenuGlyphs = std::make_unique<TImageList>(nullptr);
  MenuGlyphs->SetWidth(16);
  MenuGlyphs->SetHeight(16);
  TBitmap glyphs;
  std::string reason;
  if (LoadBitmapResource(glyphs, GetModuleHandleW(nullptr), "ORVATHMENU", &reason)) {
    // The resource has one bit per pixel; the mask is cut from a colour copy (a
    // monochrome source gives an all-black, opaque image).
    glyphs.SetPixelFormat(pf24bit);
    MenuGlyphs->AddMasked(&glyphs, 0xFFFFFF);
  }
  MaxTrackWidth = GetSystemMetrics(SM_CXMAXIMIZED);
  MaxTrackHeight = GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinData::~TSkinData() {
  MenuGlyphs.reset();
  skin3rd_.reset();
  if (TSkinManagerLink* manager = SkinManager()) {
    manager->RemoveSkinData(this);
    // A pending action must not reach a component that is gone.
    if (manager->ActionSkinData == this) manager->ActionSkinData = nullptr;
  }
  // The model's elements, brush and bitmaps go with TSkinModel.
}

void TSkinData::SetSkin3rd(TStrings* value) {
  if (value != nullptr && value != skin3rd_.get()) skin3rd_->Assign(value);
}

std::string TSkinData::SkinStore() const {
  return Designing() && SkinStream->Size() > 0 ? "(Good)" : "(none)";
}

void TSkinData::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "SkinStream", [this](TStream& stream) { ReadSkinStream(stream); },
      [this](TStream& stream) { WriteSkinStream(stream); }, true);
}

void TSkinData::ReadSkinStream(TStream& stream) {
  int32_t length = 0;
  if (stream.Read(&length, sizeof length) != sizeof length || length <= 0) return;
  // A length beyond the bytes present is cut off: keep what is there, and the load
  // reports the skin as cut off.
  const int64_t present = std::min<int64_t>(length, stream.Remaining());
  SkinStream->Clear();
  SkinStream->SetSize(present);
  stream.Read(SkinStream->Buffer().data(), static_cast<size_t>(present));
  SkinStream->SetPosition(0);
  if (!Designing()) LoadSkin();
}

void TSkinData::WriteSkinStream(TStream& stream) {
  const auto length = static_cast<int32_t>(SkinStream->Size());
  stream.WriteBuffer(&length, sizeof length);
  if (length > 0) stream.WriteBuffer(SkinStream->Memory(), static_cast<size_t>(length));
}

std::wstring TSkinData::StoredSkinSource() const {
  return L"The skin stored in " + (Name().empty() ? std::wstring(L"the skin component") : Name());
}

bool TSkinData::BuildFrom(TMemoryStream& skin, const std::wstring& source) {
  std::wstring failure;
  try {
    TSkinReader reader;
    std::string reason;
    if (!ReadArchive(reader, skin, &reason)) {
      failure = reader.LastStatus() == TSkinLoadStatus::slUnknownVersion
                    ? Wide(kOlderSkinFileText)
                    : source + L" cannot be loaded: " + Wide(reason) + L".";
    } else {
      TMemoryStream entry;
      std::string iniName;
      reader.ExtractByPart(".ini", entry, iniName);
      entry.SetPosition(0);
      TQuickIni ini;
      ini.LoadFromStream(&entry);

      TSkinModel built;
      // The combo arrow keeps its picture when the new skin gives none to make it from.
      if (ComboArrow) {
        built.ComboArrow = std::make_unique<TDataSkinObject>(ComboArrow->Name);
        CopyBitmap24(*built.ComboArrow->Bitmap, *ComboArrow->Bitmap);
        built.ComboArrow->FrameCount = ComboArrow->FrameCount;
      }
      TSkinModelBuilder builder(built, reader, ini, entry, GetModuleHandleW(nullptr));
      builder.BuildSkinModel();
      AdoptModel(built);
      skinWarnings_ = builder.Warnings();
      lastSkinError_.clear();
      modelBuilt_ = true;
      SkinEmpty = false;
      return true;
    }
  } catch (const std::exception& e) {
    failure = source + L" cannot be loaded: " + Wide(e.what());
  } catch (...) {
    failure = source + L" cannot be loaded.";
  }
  lastSkinError_ = failure;
  // The skin in use stays in use, also for the message box that reports the failure.
  SkinEmpty = !HasModel();
  ShowSkinMessage(failure);
  return false;
}

bool TSkinData::LoadSkin() {
  SkinEmpty = true;
  if (Designing()) return false;
  if (BuildFrom(*SkinStream, StoredSkinSource())) return true;
  // The model in use (if any) stays in use.
  SkinEmpty = !HasModel();
  return false;
}

void TSkinData::SetSkinFile(const std::string& value) {
  SkinEmpty = true;
  skinFile_ = value;
  if (Designing()) {
    if (!value.empty() && SkinStream->Size() > 0) SkinStream->Clear();
    return;
  }
  // A file that is missing or cannot be used leaves the skin in use as it is.
  SkinEmpty = !HasModel();
  const std::wstring path = NarrowToWide(value);
  const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;

  const std::wstring source = L"The skin file \"" + path + L"\"";
  auto skin = std::make_unique<TMemoryStream>();
  try {
    skin->Buffer() = ReadFileBytes(WideToUtf8(path));
  } catch (const std::exception& e) {
    lastSkinError_ = source + L" cannot be read: " + Wide(e.what());
    ShowSkinMessage(lastSkinError_);
    return;
  }
  SkinEmpty = true;
  if (!BuildFrom(*skin, source)) {
    SkinEmpty = !HasModel();
    return;
  }
  SkinStream = std::move(skin);
  SkinStream->SetPosition(0);
  ApplySkin();
}
