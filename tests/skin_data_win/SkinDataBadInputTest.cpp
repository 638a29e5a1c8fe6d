// Skin files that are corrupt, cut off, of an unknown version, that name missing or
// broken pictures, or that carry absurd margins and frame counts: the program never
// crashes, shows one clear message for a file it cannot use, and keeps the skin in use.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/Streams.h"
#include "framework/SysUtils.h"
#include "skin/data/LzhCompressor.h"
#include "skin/data/SkinArchive.h"
#include "skin/data/SkinBitmaps.h"
#include "skin/data/WinSkinData.h"
#include "tests/skin_data_win/MiniJson.h"
#include "tests/skin_data_win/SkinTestSupport.h"
#include "tools/skininfo/SkinInfoJson.h"

namespace {

const char kGoodIni[] =
    "[TitlebarSkin]\nSkinName=Good\n[Personality]\nTop=top.bmp\n"
    "[Tabs]\nImage=tabs.bmp\n";

std::vector<TSkinEntry> GoodEntries() {
  return {{"top.bmp", Bmp24(30, 12, 0x336699)}, {"tabs.bmp", Bmp24(50, 10, 0x777777)}};
}

class SkinDataBadFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetManager();
    data_ = std::make_unique<TSkinData>(nullptr);
    good_ = MakeSkinFile(kGoodIni, GoodEntries());
    data_->SkinStream->Buffer() = good_;
    ASSERT_TRUE(data_->LoadSkin());
    Recorder().Calls.clear();
  }
  void TearDown() override {
    data_.reset();
    for (const std::string& path : files_) DeleteFileW(NarrowToWide(path).c_str());
    ResetManager();
  }
  std::string File(const std::string& name, const std::vector<uint8_t>& bytes) {
    files_.push_back(WriteTempFile(name, bytes));
    return files_.back();
  }
  // The skin in use is untouched, and the manager heard nothing.
  void ExpectGoodSkinInUse(const std::string& what) {
    EXPECT_FALSE(data_->SkinEmpty) << what;
    EXPECT_EQ(data_->SkinName, "Good") << what;
    ASSERT_TRUE(data_->Tabs) << what;
    EXPECT_EQ(data_->Tabs->Bitmap->Width(), 50) << what;
    EXPECT_EQ(data_->TitleColour, 0x336699) << what;
    EXPECT_EQ(std::vector<uint8_t>(data_->SkinStream->Bytes().begin(), data_->SkinStream->Bytes().end()),
              good_) << what;
    EXPECT_TRUE(Recorder().Calls.empty()) << what;
  }

  MessageRecorder messages_;
  std::unique_ptr<TSkinData> data_;
  std::vector<uint8_t> good_;
  std::vector<std::string> files_;
};

TEST_F(SkinDataBadFile, EachUnusableFileShowsOneMessageNamingItAndKeepsTheSkin) {
  const std::vector<uint8_t> whole = MakeSkinFile("[TitlebarSkin]\nSkinName=Other\n", GoodEntries());
  std::vector<uint8_t> flipped = whole;
  for (size_t i = 4; i < flipped.size(); i += 7) flipped[i] ^= 0x5A;
  const std::string iniText = "[TitlebarSkin]\nSkinName=Plain text\n";
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty file", {}},
      {"three bytes", {1, 2, 3}},
      {"cut to its size header", std::vector<uint8_t>(whole.begin(), whole.begin() + 4)},
      {"cut in half", std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(whole.size() / 2))},
      {"last byte missing", std::vector<uint8_t>(whole.begin(), whole.end() - 1)},
      {"negative size", {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4}},
      {"impossible size", {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4}},
      {"an INI text, not a skin", {iniText.begin(), iniText.end()}},
      {"bits flipped throughout", flipped},
      {"zero bytes", std::vector<uint8_t>(4096, 0)},
  };
  for (const Case& c : cases) {
    messages_.messages.clear();
    const std::string path = File("bad.skn", c.bytes);
    data_->SetSkinFile(path);
    ASSERT_EQ(messages_.messages.size(), 1u) << c.what;
    const std::wstring& message = messages_.messages[0];
    // A file whose bytes expand to an archive of some other version gets that message;
    // everything else names the file.
    if (message != Utf8ToWide(kOlderSkinFileText)) {
      EXPECT_NE(message.find(NarrowToWide(path)), std::wstring::npos) << c.what;
      EXPECT_NE(message.find(L"cannot be loaded"), std::wstring::npos) << c.what;
    }
    EXPECT_EQ(data_->LastSkinError(), message) << c.what;
    ExpectGoodSkinInUse(c.what);
  }
}

TEST_F(SkinDataBadFile, WhileTheFailureIsReportedTheSkinInUseStillCounts) {
  // The message box that reports a failed load is skinned like every other window of the
  // program: the manager skins nothing for a component marked empty.
  std::vector<bool> emptyWhileShown;
  SetSkinMessageSink([&](const std::wstring&) { emptyWhileShown.push_back(data_->SkinEmpty); });
  data_->SetSkinFile(File("bad.skn", {1, 2, 3}));
  data_->SkinStream->Buffer() = {1, 2, 3, 4, 5};
  data_->LoadSkin();
  SetSkinMessageSink([this](const std::wstring& text) { messages_.messages.push_back(text); });
  EXPECT_EQ(emptyWhileShown, std::vector<bool>({false, false}));

  TSkinData fresh(nullptr);
  SetSkinMessageSink([&](const std::wstring&) { emptyWhileShown.push_back(fresh.SkinEmpty); });
  emptyWhileShown.clear();
  fresh.SetSkinFile(File("bad2.skn", {1, 2, 3}));
  SetSkinMessageSink([this](const std::wstring& text) { messages_.messages.push_back(text); });
  EXPECT_EQ(emptyWhileShown, std::vector<bool>({true}));
}

TEST_F(SkinDataBadFile, AnUnknownVersionShowsTheOlderSkinMessage) {
  // A readable archive with an unknown version number.
  std::vector<uint8_t> archive = BuildSkinArchive(std::vector<TSkinEntry>{{"skin.ini", {'x'}}});
  archive[0] = 0x39;  // version 20000 (0x4E20) becomes 0x4E39
  const std::string path = File("old.skn", LzhCompress(archive));
  data_->SetSkinFile(path);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0], L"This is Older Skin File\rPlease update to new version !");
  ExpectGoodSkinInUse("unknown version");
}

TEST_F(SkinDataBadFile, EntriesClaimingMoreThanTheArchiveHoldsAreACutOffFile) {
  std::vector<uint8_t> archive = BuildSkinArchive(std::vector<TSkinEntry>{{"skin.ini", {'[', 'a', ']'}}, {"top.bmp", {1, 2, 3, 4}}});
  archive.resize(archive.size() - 2);
  data_->SetSkinFile(File("short.skn", LzhCompress(archive)));
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].find(L"cut off"), std::wstring::npos) << messages_.messages[0];
  ExpectGoodSkinInUse("entries past the end");
}

TEST_F(SkinDataBadFile, AMissingFileChangesNothingAndSaysNothing) {
  data_->SetSkinFile("C:\\no such folder\\missing.skn");
  EXPECT_TRUE(messages_.messages.empty());
  ExpectGoodSkinInUse("missing file");
  data_->SetSkinFile("");
  EXPECT_TRUE(messages_.messages.empty());
  ExpectGoodSkinInUse("empty name");
}

TEST_F(SkinDataBadFile, ABadStoredSkinKeepsTheModelInUse) {
  data_->SkinStream->Buffer() = {1, 2, 3, 4, 5};
  EXPECT_FALSE(data_->LoadSkin());
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_FALSE(data_->SkinEmpty);
  EXPECT_EQ(data_->SkinName, "Good");
}

// Collects the texts of a window's "Static" children.
BOOL CALLBACK CollectStaticText(HWND child, LPARAM text) {
  wchar_t cls[32], buffer[256];
  GetClassNameW(child, cls, 32);
  if (lstrcmpiW(cls, L"Static") == 0 && GetWindowTextW(child, buffer, 256) > 0)
    *reinterpret_cast<std::wstring*>(text) += buffer;
  return TRUE;
}

// Closes the message box the component shows without a sink, and reports its texts.
TEST(SkinDataMessageBox, TheUnknownVersionBoxShowsTheExactText) {
  ResetManager();
  std::vector<uint8_t> archive = BuildSkinArchive(std::vector<TSkinEntry>{{"skin.ini", {'x'}}});
  archive[1] = 0x01;
  std::atomic<bool> done{false};
  std::wstring shown;
  std::thread closer([&] {
    for (int i = 0; i < 500 && !done; ++i) {
      HWND box = FindWindowW(L"#32770", L"Skin");
      if (box != nullptr) {
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&shown));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(20);
    }
  });
  {
    TSkinData data(nullptr);
    data.SkinStream->Buffer() = LzhCompress(archive);
    EXPECT_FALSE(data.LoadSkin());
  }
  done = true;
  closer.join();
  // The box shows the text with its line break ("\r" may come out as a break or as is).
  EXPECT_NE(shown.find(L"This is Older Skin File"), std::wstring::npos) << shown;
  EXPECT_NE(shown.find(L"Please update to new version !"), std::wstring::npos) << shown;
  ResetManager();
}

// Skins that load, with pictures missing, broken or strange, and absurd numbers.
class SkinDataOddContent : public ::testing::Test {
 protected:
  void TearDown() override { ResetManager(); }
  std::unique_ptr<TSkinData> Load(const std::string& ini, std::vector<TSkinEntry> entries) {
    auto data = std::make_unique<TSkinData>(nullptr);
    data->SkinStream->Buffer() = MakeSkinFile(ini, std::move(entries));
    EXPECT_TRUE(data->LoadSkin()) << ini;
    EXPECT_FALSE(data->SkinEmpty);
    EXPECT_TRUE(messages_.messages.empty());
    return data;
  }
  MessageRecorder messages_;
};

TEST_F(SkinDataOddContent, BrokenPicturesBecomeEmptyWithAWarning) {
  std::vector<uint8_t> good = Bmp24(10, 10, 0x123456);
  std::vector<uint8_t> cut(good.begin(), good.begin() + 60);
  std::vector<uint8_t> huge = good;
  huge[18] = 0xFF;  // width 0x..FF: far more pixels than bytes
  huge[19] = 0xFF;
  std::vector<uint8_t> badDepth = good;
  badDepth[28] = 7;
  std::vector<uint8_t> notBmp = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  auto data = Load(
      "[Personality]\nTop=cut.bmp\nLeft=huge.bmp\nRight=depth.bmp\nBottom=gif.bmp\n"
      "[Tabs]\nImage=nothere.bmp\nBorder=alsonothere.bmp\n[ToolBars]\nImage=picture.tga\n",
      {{"cut.bmp", cut}, {"huge.bmp", huge}, {"depth.bmp", badDepth}, {"gif.bmp", notBmp}});
  for (const auto* border : {&data->BorderTop, &data->BorderLeft, &data->BorderRight, &data->BorderBottom})
    EXPECT_TRUE(BitmapIsEmpty(*(*border)->Bitmap));
  ASSERT_TRUE(data->Tabs);
  EXPECT_TRUE(BitmapIsEmpty(*data->Tabs->Bitmap));
  ASSERT_TRUE(data->ToolBars);  // a Targa name: element present, picture empty, no warning
  EXPECT_TRUE(BitmapIsEmpty(*data->ToolBars->Bitmap));
  const auto& warnings = data->SkinWarnings();
  ASSERT_EQ(warnings.size(), 6u);
  // The borders load in the order Left, Right, Top, Bottom.
  EXPECT_EQ(warnings[0].rfind("huge.bmp: ", 0), 0u) << warnings[0];
  EXPECT_EQ(warnings[1].rfind("depth.bmp: ", 0), 0u) << warnings[1];
  EXPECT_EQ(warnings[2].rfind("cut.bmp: ", 0), 0u) << warnings[2];
  EXPECT_EQ(warnings[3].rfind("gif.bmp: ", 0), 0u) << warnings[3];
  EXPECT_EQ(warnings[4], "nothere.bmp: no such entry in the skin");
  EXPECT_EQ(warnings[5], "alsonothere.bmp: no such entry in the skin");
  // skininfo lists them for the skin author.
  const JsonValue json = ParseJson(SkinModelToJson(*data, warnings));
  EXPECT_EQ(json["Warnings"].items.size(), 6u);
  EXPECT_TRUE(json["BorderTop"]["Bitmap"].IsNull());
}

TEST_F(SkinDataOddContent, AbsurdFrameCountsAndMarginsAreKeptAndDoNoHarm) {
  const auto top = Bmp24(30, 12, [](int x, int y) { return static_cast<uint32_t>(x | y << 8); });
  for (const int frames : {0, -3, 1, 1000}) {
    const std::string n = std::to_string(frames);
    auto data = Load(
        "[Personality]\nTop=top.bmp\nTopFrame=" + n + "\nTopTopHeight=-40\nTopBotHeight=99999\n"
        "Left=top.bmp\nLeftFrame=" + n + "\nLeftTopHeight=100000\n"
        "[BUTTON0]\nAction=1\nframe=" + n + "\nButtonImage=top.bmp\n"
        "[BUTTON1]\nAction=2\nButtonImage=tiny.bmp\n"
        "[MDICONTROLS]\nImage=tiny.bmp\n"
        "[Track]\nImage=top.bmp\nFrame=" + n + "\nLeftWidth=-5\nRightWidth=70000\n"
        "[Progress.Chunk]\nImage=top.bmp\nFrame=" + n + "\n"
        "[Headerbar]\nImage=top.bmp\nFrame=" + n + "\n"
        "[Buttons]\nBitmap=top.bmp\nRadioButton=tiny.bmp\nCheckButton=top.bmp\n"
        "[SunkEdge]\nImage=top.bmp\nLeftWidth=500\nTopHeight=-7\nRightWidth=500\nBottomHeight=900\nTrans=1\n"
        "[ComboButton]\nImage=tiny.bmp\nLeftWidth=-100\nRightWidth=100\n"
        "[ExtraImages]\nImage=top.bmp\n",
        {{"top.bmp", top}, {"tiny.bmp", Bmp24(1, 1, 0x010203)}});
    // Numbers are kept as the skin gives them ...
    EXPECT_EQ(data->BorderTop->FrameCount, frames);
    EXPECT_EQ(data->BorderTop->Margins.left, -40);
    EXPECT_EQ(data->Track->FrameCount, frames);
    EXPECT_EQ(data->ProgressChunk->FrameCount, frames);
    EXPECT_EQ(data->Headerbar->FrameCount, frames == 0 ? 5 : frames);
    ASSERT_EQ(data->SysButtons.size(), 5u);
    // A caption button without a usable frame count (0) gets one from its picture.
    EXPECT_EQ(data->SysButtons[0]->FrameCount, frames == 0 ? 3 : frames);
    EXPECT_EQ(data->SysButtons[1]->FrameCount, 3);  // 1 x 1
    // ... a frame count below 1 counts as 1 where the title colour divides by it ...
    const int fc = frames < 1 ? 1 : frames;
    EXPECT_EQ(data->TitleColour, static_cast<int32_t>(10 | (12 / fc / 3) << 8)) << frames;
    // ... a picture narrower than 12 cells gives empty MDI pictures ...
    EXPECT_TRUE(BitmapIsEmpty(*data->SysButtons[2]->Bitmap));
    EXPECT_EQ(data->SysButtons[2]->XCoord, 12);
    // ... marks too small for their rule still get 4 frames, and the composite combo
    // strips are made whatever the margins say.
    EXPECT_EQ(data->Buttons->RadioFrameCount, 4);
    EXPECT_EQ(data->Buttons->CheckFrameCount, 4);
    EXPECT_EQ(data->ComboButton->Style, 2);
    EXPECT_EQ(data->ComboButton->Bitmap->Width(), 200);
    EXPECT_EQ(data->ComboArrow->Bitmap->Width(), 68);
    // skininfo prints them as they are.
    const JsonValue json = ParseJson(SkinModelToJson(*data, data->SkinWarnings()));
    EXPECT_EQ(json["BorderTop"]["FrameCount"].Int(), frames);
    EXPECT_EQ(json["Track"]["Margins"][2].Int(), 70000);
    data.reset();
    ResetManager();
  }
}

}  // namespace
