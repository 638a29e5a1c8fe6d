// TSkinData as a component: defaults, the stored layout, what it asks of the skin manager,
// the window filter, and the pieces it keeps for the frame (glyphs, caption font, icon).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/LayoutReader.h"
#include "framework/TypInfo.h"
#include "skin/data/SkinBitmaps.h"
#include "skin/data/WinSkinData.h"
#include "tests/skin_data_win/SkinTestSupport.h"

namespace {

using Calls = std::vector<std::string>;

Calls Operations(const TRecordingSkinManager& manager) {
  Calls out;
  for (const auto& call : manager.Calls) {
    std::string text = call.Operation;
    if (call.Operation == "RequestAction")
      text += "(" + std::to_string(call.Action) + "," + std::to_string(call.DelayMs) + ")";
    out.push_back(text);
  }
  return out;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string out;
  char pair[3];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
    out += pair;
    if (i % 32 == 31) out += "\n    ";
  }
  return out;
}

// The stored form of SkinStream: 32-bit length, then the bytes.
std::vector<uint8_t> Stored(const std::vector<uint8_t>& skin, int32_t length) {
  std::vector<uint8_t> out;
  out.reserve(4 + skin.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(length) >> (8 * i)));
  for (const uint8_t b : skin) out.push_back(b);
  return out;
}

std::string Layout(const std::string& properties, const std::vector<uint8_t>& stored) {
  return "object SkinData1: TSkinData\n" + properties + "  SkinStream = {\n    " + Hex(stored) +
         "}\nend\n";
}

const char kSmallSkinIni[] = "[TitlebarSkin]\nSkinName=Layout\n";

class SkinDataComponent : public ::testing::Test {
 protected:
  void SetUp() override { ResetManager(); }
  void TearDown() override {
    SetScrollBarInfoProbeForTesting({});
    ResetManager();
  }
  std::unique_ptr<TSkinData> FromLayout(const std::string& text) {
    return std::unique_ptr<TSkinData>(
        dynamic_cast<TSkinData*>(CreateComponentFromLayout(text, nullptr)));
  }
  MessageRecorder messages_;
};

TEST_F(SkinDataComponent, ConstructionDefaults) {
  TSkinData data(nullptr);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag(), 99);
  EXPECT_EQ(data.SkinControls().Bits(), 0x1FFFFBu);
  EXPECT_EQ(data.Options(), (TSkinOptions{xoPreview, xoToolbarBK}));
  EXPECT_EQ(data.Skin3rd()->ToVector(), DefaultSkin3rdLines());
  EXPECT_EQ(data.SkinFile(), "");
  EXPECT_EQ(data.SkinStore(), "(none)");
  EXPECT_EQ(data.SkinFormtype(), sfMainform);
  EXPECT_EQ(data.Version(), "4.86.06.13");
  EXPECT_TRUE(data.MenuUpdate());
  EXPECT_FALSE(data.MenuMerge());
  EXPECT_TRUE(data.SkinEmpty);
  EXPECT_TRUE(data.FramePaintAllowed);
  EXPECT_EQ(data.SkinStream->Size(), 0);
  EXPECT_EQ(data.MaxTrackWidth, GetSystemMetrics(SM_CXMAXIMIZED));
  EXPECT_EQ(data.MaxTrackHeight, GetSystemMetrics(SM_CYMAXIMIZED));
  EXPECT_EQ(data.Buttons->Name, "Buttons");
  EXPECT_EQ(data.Title->Name, "Title");
  EXPECT_EQ(data.BorderLeft->Name, "Left");
  EXPECT_EQ(data.BorderRight->Name, "Right");
  EXPECT_EQ(data.BorderTop->Name, "Top");
  EXPECT_EQ(data.BorderBottom->Name, "Bottom");
  EXPECT_FALSE(data.Tabs);
  EXPECT_FALSE(data.OnFormSkin);
  // The four system-menu glyphs.
  ASSERT_TRUE(data.MenuGlyphs);
  EXPECT_EQ(data.MenuGlyphs->Count(), 4);
  EXPECT_EQ(data.MenuGlyphs->Width(), 16);
  EXPECT_EQ(data.MenuGlyphs->Height(), 16);
  // Nothing is asked of the manager before loading.
  EXPECT_EQ(SkinManager(), nullptr);
}

TEST_F(SkinDataComponent, PublishedPropertiesByName) {
  TSkinData data(nullptr);
  EXPECT_EQ(GetPropValue(&data, "SkinControls"),
            L"[xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, "
            L"xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, "
            L"xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcTrackBar, "
            L"xcSystemMenu]");
  EXPECT_EQ(GetPropValue(&data, "Options"), L"[xoPreview, xoToolbarBK]");
  EXPECT_EQ(GetPropValue(&data, "SkinFormtype"), L"sfMainform");
  SetPropValue(&data, "Version", L"1.0");
  SetPropValue(&data, "SkinStore", L"(Good)");
  EXPECT_EQ(GetPropValue(&data, "Version"), L"4.86.06.13");
  EXPECT_EQ(GetPropValue(&data, "SkinStore"), L"(none)");
  SetPropValue(&data, "DisableTag", L"7");
  EXPECT_EQ(data.DisableTag(), 7);
  for (const char* event : {"OnFormSkin", "OnSkinChanged", "OnSkinControl", "OnBeforeSkinForm",
                            "OnAfterSkinForm"})
    EXPECT_EQ(PropType(&data, event), TTypeKind::tkMethod) << event;
  TStringList lines(std::vector<std::wstring>{L"TMyGrid=scrollbar"});
  data.SetSkin3rd(&lines);
  EXPECT_EQ(data.Skin3rd()->ToVector(), (std::vector<std::wstring>{L"TMyGrid=scrollbar"}));
}

TEST_F(SkinDataComponent, LayoutWithSkinStreamBuildsTheModelWhileItIsRead) {
  const auto skin = MakeSkinFile(kSmallSkinIni);
  auto data = FromLayout(Layout("  Active = True\n  SkinFormtype = sfMainform\n"
                                "  Skin3rd.Strings = (\n    'TGrid=scrollbar')\n",
                                Stored(skin, static_cast<int32_t>(skin.size()))));
  ASSERT_TRUE(data);
  EXPECT_FALSE(data->SkinEmpty);
  EXPECT_EQ(data->SkinName, "Layout");
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(std::vector<uint8_t>(data->SkinStream->Bytes().begin(), data->SkinStream->Bytes().end()), skin);
  // The stored list replaces the default lines.
  EXPECT_EQ(data->Skin3rd()->ToVector(), (std::vector<std::wstring>{L"TGrid=scrollbar"}));
  // Loaded: registration, the hook and the start request; the main menu set drops
  // xcMenuItem.
  EXPECT_EQ(Operations(Recorder()),
            (Calls{"AddSkinData", "InstallHook", "RequestAction(1,250)"}));
  EXPECT_EQ(Recorder().SkinDatas, (std::vector<TSkinData*>{data.get()}));
  EXPECT_FALSE(data->SkinControls().Contains(xcMenuItem));
  EXPECT_TRUE(data->SkinControls().Contains(xcSystemMenu));
  EXPECT_TRUE(messages_.messages.empty());
  data.reset();
  // The destructor unregisters.
  EXPECT_EQ(Recorder().Calls.back().Operation, "RemoveSkinData");
  EXPECT_TRUE(Recorder().SkinDatas.empty());
}

TEST_F(SkinDataComponent, ActiveWithoutAStoredSkinSwitchesItselfOff) {
  for (const int32_t length : {0, -5}) {
    ResetManager();
    auto data = FromLayout(Layout("  Active = True\n", Stored({}, length)));
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->SkinEmpty) << length;
    EXPECT_FALSE(data->Active()) << length;
    EXPECT_EQ(Operations(Recorder()), (Calls{"AddSkinData", "InstallHook"})) << length;
    EXPECT_TRUE(messages_.messages.empty());
  }
}

TEST_F(SkinDataComponent, WithoutAMainMenuTheSystemMenuIsNotSkinned) {
  const auto skin = MakeSkinFile(kSmallSkinIni);
  auto data = FromLayout(Layout("  SkinControls = [xcPopupMenu, xcMenuItem, xcSystemMenu, xcScrollbar]\n",
                                Stored(skin, static_cast<int32_t>(skin.size()))));
  EXPECT_EQ(data->SkinControls(), (TSkinControlTypes{xcPopupMenu, xcMenuItem, xcScrollbar}));
  EXPECT_FALSE(data->Active());
  EXPECT_EQ(Operations(Recorder()), (Calls{"AddSkinData", "InstallHook"}));
}

TEST_F(SkinDataComponent, WithoutGetScrollBarInfoScrollBarsAreNotSkinned) {
  SetScrollBarInfoProbeForTesting([] { return false; });
  auto data = FromLayout(Layout("", Stored({}, 0)));
  EXPECT_FALSE(data->SkinControls().Contains(xcScrollbar));
  EXPECT_TRUE(data->SkinControls().Contains(xcEdit));
  SetScrollBarInfoProbeForTesting([] { return true; });
  auto other = FromLayout(Layout("", Stored({}, 0)));
  EXPECT_TRUE(other->SkinControls().Contains(xcScrollbar));
}

TEST_F(SkinDataComponent, OtherFormTypesEnableTheManagerAndCountRunState) {
  const auto skin = MakeSkinFile(kSmallSkinIni);
  auto data = FromLayout(Layout("  Active = True\n  SkinFormtype = sfDialog\n",
                                Stored(skin, static_cast<int32_t>(skin.size()))));
  EXPECT_EQ(Operations(Recorder()), (Calls{"AddSkinData"}));
  EXPECT_TRUE(Recorder().Enabled);
  EXPECT_EQ(Recorder().RunState, 1);
  // Its owner is no form: no window to skin. The sets are left as they are.
  EXPECT_TRUE(data->SkinControls().Contains(xcSystemMenu));
}

TEST_F(SkinDataComponent, SetActiveAsksForStartAndStop) {
  const auto skin = MakeSkinFile(kSmallSkinIni);
  auto data = FromLayout(Layout("", Stored(skin, static_cast<int32_t>(skin.size()))));
  TRecordingSkinManager& manager = Recorder();
  manager.Calls.clear();
  data->SetActive(false);  // its value already
  EXPECT_TRUE(manager.Calls.empty());
  data->SetActive(true);
  EXPECT_EQ(Operations(manager), (Calls{"RequestAction(1,250)"}));
  EXPECT_EQ(manager.Calls[0].ActionSkinData, data.get());
  EXPECT_EQ(manager.RunState, 1);
  data->SetActive(false);
  EXPECT_EQ(Operations(manager), (Calls{"RequestAction(1,250)", "RequestAction(2,250)"}));

  manager.Calls.clear();
  data->SetSkinFormtype(sfDialog);
  data->SetActive(true);
  EXPECT_TRUE(data->Active());
  EXPECT_TRUE(manager.Calls.empty());

  data->SetActive(false);
  data->SetSkinFormtype(sfOnlyThisForm);
  manager.ActionSkinData = nullptr;
  data->SetActive(true);
  EXPECT_EQ(Operations(manager), (Calls{"RequestAction(1,250)"}));
  EXPECT_EQ(manager.ActionSkinData, data.get());
}

TEST_F(SkinDataComponent, SetActiveWithoutASkinAsksNothing) {
  auto data = FromLayout(Layout("", Stored({}, 0)));
  TRecordingSkinManager& manager = Recorder();
  manager.Calls.clear();
  data->SetActive(true);
  EXPECT_TRUE(manager.Calls.empty());
  data->SetSkinFormtype(sfOnlyThisForm);
  data->SetActive(false);
  data->SetActive(true);
  EXPECT_EQ(Operations(manager), (Calls{"RequestAction(2,250)"}));
  EXPECT_EQ(manager.ActionSkinData, data.get());
}

TEST_F(SkinDataComponent, DoFormSkinRefusesCalendarsAndReportWindows) {
  TSkinData data(nullptr);
  struct Case {
    const char* className;
    bool fastReport;
    bool expected;
  } cases[] = {
      {"SysMonthCal32", false, false}, {"SysMonthCal32x", false, true},
      {"TfrPreviewForm", true, false}, {"TfrPreviewForm", false, true},
      {"TFRPreview", true, true},      {"TForm1", true, true},
  };
  HWND window = reinterpret_cast<HWND>(0x1234);
  for (const Case& c : cases) {
    TSkinControlTypes controls = data.SkinControls();
    if (c.fastReport) {
      controls.Include(xcFastReport);
    } else {
      controls.Exclude(xcFastReport);
    }
    data.SetSkinControls(controls);
    bool doSkin = true;
    data.DoFormSkin(window, c.className, doSkin);
    EXPECT_EQ(doSkin, c.expected) << c.className << " " << c.fastReport;
    EXPECT_EQ(data.LastFormWindow, window);
  }
  // With a handler, the handler alone decides.
  std::string seen;
  data.OnFormSkin = [&](TObject* sender, const std::string& name, bool& doSkin) {
    EXPECT_EQ(sender, &data);
    seen = name;
    doSkin = name != "TForm1";
  };
  bool doSkin = true;
  data.DoFormSkin(nullptr, "SysMonthCal32", doSkin);
  EXPECT_TRUE(doSkin);
  EXPECT_EQ(seen, "SysMonthCal32");
  data.DoFormSkin(nullptr, "TForm1", doSkin);
  EXPECT_FALSE(doSkin);
}

TEST_F(SkinDataComponent, DoSkinChangedRaisesOnSkinChanged) {
  TSkinData data(nullptr);
  data.DoSkinChanged();  // no handler: nothing
  int raised = 0;
  data.OnSkinChanged = [&](TObject* sender) {
    EXPECT_EQ(sender, &data);
    ++raised;
  };
  data.DoSkinChanged();
  EXPECT_EQ(raised, 1);
}

// Captures the "SkinStream" callbacks a component defines.
class BinaryFiler : public TFiler {
 public:
  void DefineProperty(const std::string&, std::function<void(const TLayoutValue&)>,
                      std::function<TLayoutValue()>, bool) override {}
  void DefineBinaryProperty(const std::string& name, std::function<void(TStream&)> reader,
                            std::function<void(TStream&)> writer, bool stored) override {
    if (name != "SkinStream") return;
    read = std::move(reader);
    write = std::move(writer);
    hasData = stored;
  }
  std::function<void(TStream&)> read;
  std::function<void(TStream&)> write;
  bool hasData = false;
};

TEST_F(SkinDataComponent, SkinStreamIsStoredAsLengthAndBytes) {
  TSkinData data(nullptr);
  BinaryFiler filer;
  data.DefineProperties(filer);
  ASSERT_TRUE(filer.write);
  EXPECT_TRUE(filer.hasData);
  TMemoryStream empty;
  filer.write(empty);
  EXPECT_EQ(std::vector<uint8_t>(empty.Bytes().begin(), empty.Bytes().end()),
            (std::vector<uint8_t>{0, 0, 0, 0}));

  const auto skin = MakeSkinFile(kSmallSkinIni);
  TMemoryStream stored(Stored(skin, static_cast<int32_t>(skin.size())));
  filer.read(stored);
  EXPECT_FALSE(data.SkinEmpty);
  TMemoryStream written;
  filer.write(written);
  EXPECT_EQ(std::vector<uint8_t>(written.Bytes().begin(), written.Bytes().end()),
            Stored(skin, static_cast<int32_t>(skin.size())));
}

TEST_F(SkinDataComponent, AStoredSkinCutShortOfItsLengthIsReported) {
  TSkinData data(nullptr);
  data.SetName(L"SkinData1");
  BinaryFiler filer;
  data.DefineProperties(filer);
  const auto skin = MakeSkinFile(kSmallSkinIni);
  const std::vector<uint8_t> cut(skin.begin(), skin.end() - 10);
  TMemoryStream stored(Stored(cut, static_cast<int32_t>(skin.size())));
  filer.read(stored);
  EXPECT_TRUE(data.SkinEmpty);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].find(L"The skin stored in SkinData1 cannot be loaded"),
            std::wstring::npos)
      << messages_.messages[0];
}

TEST_F(SkinDataComponent, SetSkinFileLoadsTheFileAndAsksForARefresh) {
  const auto skin = MakeSkinFile(kSmallSkinIni);
  auto data = FromLayout(Layout("  Active = True\n", Stored(skin, static_cast<int32_t>(skin.size()))));
  TRecordingSkinManager& manager = Recorder();
  manager.Calls.clear();
  const auto second = MakeSkinFile("[TitlebarSkin]\nSkinName=From file\n");
  const std::string path = WriteTempFile("second.skn", second);
  // No window activated yet: the manager only hears of the new skin.
  data->SetSkinFile(path);
  EXPECT_EQ(data->SkinFile(), path);
  EXPECT_FALSE(data->SkinEmpty);
  EXPECT_EQ(data->SkinName, "From file");
  EXPECT_EQ(std::vector<uint8_t>(data->SkinStream->Bytes().begin(), data->SkinStream->Bytes().end()), second);
  EXPECT_EQ(Operations(manager), (Calls{"NotifySkinChanged"}));
  EXPECT_EQ(manager.Calls[0].ActionSkinData, data.get());
  // Running: a refresh follows.
  manager.RunState = 1;
  manager.Calls.clear();
  data->SetSkinFile(path);
  EXPECT_EQ(Operations(manager), (Calls{"NotifySkinChanged", "RequestAction(3,250)"}));
  EXPECT_TRUE(messages_.messages.empty());
  DeleteFileW(NarrowToWide(path).c_str());
}

TEST_F(SkinDataComponent, ApplySkinWithoutAManagerRunsLoadedFirst) {
  TSkinData data(nullptr);
  const std::string path = WriteTempFile("first.skn", MakeSkinFile(kSmallSkinIni));
  data.SetSkinFile(path);
  EXPECT_FALSE(data.SkinEmpty);
  EXPECT_EQ(Operations(Recorder()), (Calls{"AddSkinData", "InstallHook", "NotifySkinChanged"}));
  DeleteFileW(NarrowToWide(path).c_str());
}

TEST_F(SkinDataComponent, TheDestructorLeavesNoPendingActionBehind) {
  auto data = std::make_unique<TSkinData>(nullptr);
  Recorder().ActionSkinData = data.get();
  data.reset();
  EXPECT_EQ(Recorder().ActionSkinData, nullptr);
}

TEST_F(SkinDataComponent, CaptionFontComesFromTheSystemMetrics) {
  TSkinData data(nullptr);
  EXPECT_FALSE(data.CaptionFont);
  data.LoadCaptionFont();
  ASSERT_TRUE(data.CaptionFont);
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = 340;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0));
  EXPECT_EQ(data.CaptionFont->Height(), metrics.lfCaptionFont.lfHeight);
  // The system gives the face name in the ANSI code page (a Chinese name under 936).
  wchar_t face[LF_FACESIZE] = {};
  MultiByteToWideChar(CP_ACP, 0, metrics.lfCaptionFont.lfFaceName, -1, face, LF_FACESIZE);
  EXPECT_EQ(data.CaptionFont->Name(), std::wstring(face));
  EXPECT_NE(data.CaptionFont->Handle(), nullptr);
}

TEST_F(SkinDataComponent, AppIconIsDrawnOnMagenta) {
  TSkinData data(nullptr);
  const int cx = GetSystemMetrics(SM_CXSMICON);
  const int cy = GetSystemMetrics(SM_CYSMICON);
  // An icon that is white inside a one-pixel transparent border.
  std::vector<uint8_t> andBits(static_cast<size_t>((cx + 15) / 16 * 2 * cy), 0);
  std::vector<uint8_t> xorBits(static_cast<size_t>(cx * cy * 4), 0xFF);
  for (int y = 0; y < cy; ++y) {
    for (int x = 0; x < cx; ++x) {
      if (x != 0 && y != 0) continue;
      andBits[static_cast<size_t>(y * ((cx + 15) / 16 * 2) + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      for (int b = 0; b < 4; ++b) xorBits[static_cast<size_t>((y * cx + x) * 4 + b)] = 0;
    }
  }
  HICON icon = CreateIcon(GetModuleHandleW(nullptr), cx, cy, 1, 32, andBits.data(), xorBits.data());
  ASSERT_NE(icon, nullptr);
  HWND window = Application->Handle();
  const auto previous = reinterpret_cast<HICON>(SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
  data.LoadAppIcon();
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(previous));
  DestroyIcon(icon);
  ASSERT_FALSE(BitmapIsEmpty(*data.AppIconBitmap));
  EXPECT_EQ(data.AppIconBitmap->Width(), cx);
  EXPECT_EQ(data.AppIconBitmap->Height(), cy);
  EXPECT_EQ(BitmapPixel(*data.AppIconBitmap, 0, 0, -1), 0xFF00FF);
  EXPECT_EQ(BitmapPixel(*data.AppIconBitmap, cx / 2, cy / 2, -1), 0xFFFFFF);
  EXPECT_TRUE(data.AppIconBitmap->Transparent());
  EXPECT_EQ(data.AppIconBitmap->TransparentColor(), 0xFF00FF);
}

}  // namespace
