#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Streams.h"
#include "framework/SysUtils.h"
#include "skin/data/AnsiText.h"
#include "skin/data/WinSkinIni.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TQuickIni LoadIni(const std::string& text) {
  TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  return ini;
}

std::vector<std::string> SectionTexts(const TQuickIni& ini) {
  std::vector<std::string> texts;
  for (const auto& section : ini.Sections()) texts.push_back(section.Text);
  return texts;
}

std::vector<int32_t> SectionLineIndexes(const TQuickIni& ini) {
  std::vector<int32_t> indexes;
  for (const auto& section : ini.Sections()) indexes.push_back(section.LineIndex);
  return indexes;
}

using Lines = std::vector<std::string>;

TEST(WinSkinIni, SectionNamesAndKeysMatchRegardlessOfCase) {
  const TQuickIni ini = LoadIni("[TITLEBAR]\nSkinName=Blue\nBorderWidth=5\n");
  EXPECT_EQ(ini.ReadString("TitleBar", "skinname", "none"), "Blue");
  EXPECT_EQ(ini.ReadString("titlebar", "SKINNAME", "none"), "Blue");
  EXPECT_EQ(ini.ReadInteger("tItLeBaR", "borderWIDTH", -1), 5);
  EXPECT_EQ(ini.SectionIndex("titlebar"), 0);
  EXPECT_EQ(ini.ReadString("Title", "SkinName", "none"), "none");
}

TEST(WinSkinIni, SpacesAroundKeyEqualsAndValueAreTrimmed) {
  const TQuickIni ini = LoadIni("[A]\n   Key  =   some value \t \n\tTab\t=\t7\t\n");
  EXPECT_EQ(ini.ReadString("A", "key", ""), "some value");
  EXPECT_EQ(ini.ReadInteger("A", "tab", 0), 7);
  EXPECT_EQ(ini.Lines(), (Lines{"[A]", "Key  =   some value", "Tab\t=\t7"}));
}

TEST(WinSkinIni, ControlBytesTrimButHighBytesStay) {
  // Every code up to 32 is trimmed; GBK bytes (0x80 and above) are text.
  const TQuickIni ini = LoadIni("[A]\n\x01\x1fk=\x02v\xa1\xa1\x1f\n");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "v\xa1\xa1");
}

TEST(WinSkinIni, RepeatedSectionOnlyFirstIsQueriedButBothAreListed) {
  const TQuickIni ini = LoadIni("[Colors]\nA=1\n[Other]\nA=9\n[colors]\nA=2\nB=3\n");
  EXPECT_EQ(ini.ReadString("Colors", "A", ""), "1");
  EXPECT_EQ(ini.ReadString("Colors", "B", "dflt"), "dflt");
  std::vector<std::string> sections{"stale"};
  ini.GetSections(&sections);
  EXPECT_EQ(sections, (Lines{"Colors", "Other", "colors"}));
}

TEST(WinSkinIni, EmptyValueHidesLaterLineWithSameKey) {
  const TQuickIni ini = LoadIni("[A]\nSize=\nSize=3\nName=  \nName=x\n");
  EXPECT_EQ(ini.ReadInteger("A", "Size", 42), 42);
  EXPECT_EQ(ini.ReadString("A", "Size", "d"), "d");
  EXPECT_EQ(ini.ReadString("A", "Name", "d"), "d");
}

TEST(WinSkinIni, FirstOfRepeatedKeysWins) {
  const TQuickIni ini = LoadIni("[A]\nk=1\nK=2\n");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
}

struct IntegerCase {
  const char* value;
  int32_t expected;
};

TEST(WinSkinIni, ReadIntegerConversions) {
  constexpr int32_t kDefault = -777;
  const IntegerCase cases[] = {
      {"0x1F", 31},          {"0X1f", 31},          {"-6", -6},
      {"+12", 12},           {"$1F", 31},           {"-$10", -16},
      {"0", 0},              {"007", 7},            {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},                   {"0xFFFFFFFF", -1},
      {"0x7FFFFFFF", INT32_MAX},                    {"2147483648", kDefault},
      {"0x100000000", kDefault},                    {"0x", kDefault},
      {"0xG1", kDefault},    {"$", kDefault},       {"-", kDefault},
      {"1 2 3", kDefault},   {"255,0,0", kDefault}, {"1.5", kDefault},
      {"12abc", kDefault},   {"x1F", kDefault},     {"-0x1F", kDefault},
      {"1F", kDefault},      {"5 ; five", kDefault},
  };
  for (const IntegerCase& c : cases) {
    const TQuickIni ini = LoadIni(std::string("[A]\nv=") + c.value + "\n");
    EXPECT_EQ(ini.ReadInteger("A", "v", kDefault), c.expected) << "value \"" << c.value << '"';
  }
  const TQuickIni ini = LoadIni("[A]\nv=\n");
  EXPECT_EQ(ini.ReadInteger("A", "v", kDefault), kDefault);
  EXPECT_EQ(ini.ReadInteger("A", "missing", kDefault), kDefault);
  EXPECT_EQ(ini.ReadInteger("Missing", "v", kDefault), kDefault);
}

TEST(WinSkinIni, CommentsAreDroppedButSemicolonsAfterValuesStay) {
  const TQuickIni ini = LoadIni("[A]\n   ; k=1\n;k=2\nk=3 ; three\n\t;x=1\nx=4\n");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "3 ; three");
  EXPECT_EQ(ini.ReadString("A", "x", ""), "4");
  EXPECT_EQ(ini.Lines(), (Lines{"[A]", "k=3 ; three", "x=4"}));
}

TEST(WinSkinIni, TextAfterNulIsIgnored) {
  const std::string text("[A]\nk=1\0\nj=2\n[B]\nm=3\n", 22);
  const TQuickIni ini = LoadIni(text);
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("A", "j", "none"), "none");
  EXPECT_EQ(ini.SectionIndex("B"), -1);
  EXPECT_EQ(ini.Lines(), (Lines{"[A]", "k=1"}));

  const TQuickIni cut = LoadIni(std::string("[A]\nk=12\0" "3\n", 10));
  EXPECT_EQ(cut.ReadString("A", "k", ""), "12");
}

struct LineEndCase {
  const char* name;
  std::string text;
  Lines lines;
};

TEST(WinSkinIni, LineEnds) {
  const LineEndCase cases[] = {
      {"LF", "[A]\na=1\nb=2", {"[A]", "a=1", "b=2"}},
      {"CR", "[A]\ra=1\rb=2\r", {"[A]", "a=1", "b=2"}},
      {"CRLF", "[A]\r\na=1\r\nb=2\r\n", {"[A]", "a=1", "b=2"}},
      {"LFCR", "[A]\n\ra=1\n\rb=2", {"[A]", "a=1", "b=2"}},
      {"mixed", "[A]\ra=1\r\n\nb=2\n\r\r\nc=3", {"[A]", "a=1", "b=2", "c=3"}},
      {"no end", "x", {"x"}},
      {"empty", "", {}},
      {"only breaks", "\r\n\n\r\r", {}},
  };
  for (const LineEndCase& c : cases) {
    const TQuickIni ini = LoadIni(c.text);
    EXPECT_EQ(ini.Lines(), c.lines) << c.name;
    if (!c.lines.empty() && c.lines[0] == "[A]") {
      EXPECT_EQ(ini.ReadString("A", "b", ""), "2") << c.name;
      EXPECT_EQ(ini.ReadString("A", "a", ""), "1") << c.name;
    }
  }
}

TEST(WinSkinIni, SectionsPairHeadersWithTheirLineIndex) {
  const TQuickIni ini = LoadIni("; top comment\nloose=1\n\n[One]\nk=1\n\n  [Two]  \n[]\nx\n");
  EXPECT_EQ(ini.Lines(), (Lines{"loose=1", "[One]", "k=1", "[Two]", "[]", "x"}));
  EXPECT_EQ(SectionTexts(ini), (Lines{"[One]", "[Two]", "[]"}));
  EXPECT_EQ(SectionLineIndexes(ini), (std::vector<int32_t>{1, 3, 4}));
  EXPECT_EQ(ini.SectionIndex("two"), 3);
  EXPECT_EQ(ini.SectionIndex(""), 4);
  EXPECT_EQ(ini.SectionIndex("Three"), -1);
}

TEST(WinSkinIni, KeysBeforeTheFirstHeaderAreNeverFound) {
  const TQuickIni ini = LoadIni("k=1\n[A]\nj=2\n");
  EXPECT_EQ(ini.ReadString("", "k", "none"), "none");
  EXPECT_EQ(ini.ReadString("A", "k", "none"), "none");
  EXPECT_EQ(ini.ReadString("A", "j", "none"), "2");
}

TEST(WinSkinIni, KeysStopAtTheNextHeader) {
  const TQuickIni ini = LoadIni("[A]\n[B]\nk=1\n");
  EXPECT_EQ(ini.ReadString("A", "k", "none"), "none");
  EXPECT_EQ(ini.ReadString("B", "k", "none"), "1");
}

TEST(WinSkinIni, SpacesInsideBracketsAreKept) {
  const TQuickIni ini = LoadIni("[ Title ]\nk=1\n");
  EXPECT_EQ(ini.SectionIndex("Title"), -1);
  EXPECT_EQ(ini.ReadString("Title", "k", "none"), "none");
  EXPECT_EQ(ini.ReadString(" Title ", "k", "none"), "1");
  std::vector<std::string> sections;
  ini.GetSections(&sections);
  EXPECT_EQ(sections, (Lines{"Title"}));
}

TEST(WinSkinIni, LinesThatOnlyLookLikeHeadersAreKeyLines) {
  const TQuickIni ini = LoadIni("[A]\n[B]x=1\n[\n]\nv=a=b\nnoequals\n=5\n");
  EXPECT_EQ(SectionTexts(ini), (Lines{"[A]"}));
  EXPECT_EQ(ini.ReadString("A", "[b]x", ""), "1");
  EXPECT_EQ(ini.ReadString("A", "v", ""), "a=b");
  // Lines without "=" have an empty key and no value; the first of them ("[") hides "=5".
  EXPECT_EQ(ini.ReadString("A", "", "d"), "d");
  EXPECT_EQ(ini.ReadString("A", "noequals", "d"), "d");
}

TEST(WinSkinIni, NonAsciiSectionNameMatchesItsOwnBytes) {
  const TQuickIni ini = LoadIni("[\xc6\xa4\xb7\xf4]\nk=1\n");  // GBK text
  EXPECT_EQ(ini.ReadString("\xc6\xa4\xb7\xf4", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("\xc6\xa4\xb7\xf5", "k", "none"), "none");
}

TEST(WinSkinIni, NullStreamLeavesReaderUnchanged) {
  TQuickIni ini = LoadIni("[A]\nk=1\n");
  ini.LoadFromStream(nullptr);
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
  EXPECT_EQ(ini.Lines().size(), 2u);
}

TEST(WinSkinIni, SecondLoadReplacesEverything) {
  TQuickIni ini = LoadIni("[A]\nk=1\n");
  const std::string second = "[B]\nj=2\n";
  TMemoryStream stream(std::vector<uint8_t>(second.begin(), second.end()));
  ini.LoadFromStream(&stream);
  EXPECT_EQ(ini.ReadString("A", "k", "none"), "none");
  EXPECT_EQ(ini.ReadString("B", "j", ""), "2");
  EXPECT_EQ(SectionTexts(ini), (Lines{"[B]"}));

  TMemoryStream empty;
  ini.LoadFromStream(&empty);
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_TRUE(ini.Sections().empty());
}

TEST(WinSkinIni, LoadStartsAtTheStreamPosition) {
  const std::string text = "[A]\nk=1\n[B]\nk=2\n";
  TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  stream.SetPosition(8);
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  EXPECT_EQ(SectionTexts(ini), (Lines{"[B]"}));
  EXPECT_EQ(ini.ReadString("B", "k", ""), "2");
}

TEST(WinSkinIni, GetSectionsWithoutTargetIsAnAssertionFailure) {
  const TQuickIni ini = LoadIni("[A]\n");
  try {
    ini.GetSections(nullptr);
    FAIL() << "no exception";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "The parameter Strings is unassigned!");
  }
}

TEST(WinSkinIni, EmptyReaderAnswersDefaults) {
  const TQuickIni ini;
  EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
  EXPECT_EQ(ini.ReadInteger("A", "k", 9), 9);
  EXPECT_EQ(ini.SectionIndex("A"), -1);
  std::vector<std::string> sections{"old"};
  ini.GetSections(&sections);
  EXPECT_TRUE(sections.empty());
}

TEST(AnsiText, SameTextIgnoresCase) {
  EXPECT_TRUE(AnsiSameTextIgnoreCase("[TitleBar]", "[TITLEBAR]"));
  EXPECT_TRUE(AnsiSameTextIgnoreCase("", ""));
  EXPECT_FALSE(AnsiSameTextIgnoreCase("[A]", "[A] "));
  EXPECT_FALSE(AnsiSameTextIgnoreCase("[A]", "[B]"));
  EXPECT_TRUE(AnsiSameTextIgnoreCase("\xc6\xa4\xb7\xf4", "\xc6\xa4\xb7\xf4"));
  EXPECT_FALSE(AnsiSameTextIgnoreCase("\xc6\xa4\xb7\xf4", "\xc6\xa4\xb7\xf5"));
}

}  // namespace

#ifdef _WIN32
namespace {

// Windows compares ANSI text by its code page: full-width Latin letters of code page 936
// ("Ａ" A3C1, "ａ" A3E1) match ignoring case as ASCII letters do.
TEST(AnsiText, WindowsFoldsCodePageLetters) {
  ASSERT_EQ(GetACP(), 936u);
  EXPECT_TRUE(AnsiSameTextIgnoreCase("[\xA3\xC1]", "[\xA3\xE1]"));
  const TQuickIni ini = LoadIni("[\xA3\xC1]\nk=1\n");
  EXPECT_EQ(ini.ReadString("\xA3\xE1", "k", ""), "1");
}

}  // namespace
#endif
