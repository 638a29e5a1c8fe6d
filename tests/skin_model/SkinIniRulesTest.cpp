#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Streams.h"
#include "skin/data/SkinIniRules.h"

namespace {

TQuickIni LoadIni(const std::string& text) {
  TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  return ini;
}

struct ColourCase {
  const char* text;
  int32_t expected;
};

TEST(SkinIniRules, ParseColourTakesThreeNumbersOfAnySeparation) {
  const ColourCase cases[] = {
      {"10 20 30", 0x001E140A},
      {"10,20,30", 0x001E140A},
      {"10;20;30", 0x001E140A},
      {"  10 ,  20 ;30  ", 0x001E140A},
      {"R10G20B30", 0x001E140A},
      {"10 20 30;", 0x001E140A},
      {"10 20 30 40 50", 0x001E140A},  // only the first three numbers count
      {"255 255 255", 0x00FFFFFF},
      {"0 0 0", 0},
      // One number at the end of the text is not stored: black.
      {"200", 0},
      // Two numbers: the second ends the text and is not the third component.
      {"10 20", 0x0000000A},
      {"10 20 ", 0x0000000A},  // trimmed first, so the same
      // A separator after the second number stores it.
      {"10 20,", 0x0000140A},
      // Each component modulo 256, however long the run of digits.
      {"300 0 0", 0x0000002C},
      {"256 257 258", 0x00020100},
      {"99999999999999999999 0 1", 0x000100FF},
      {"", 0},
      {"abc", 0},
      {"-10 -20 -30", 0x001E140A},  // signs are separators
  };
  for (const ColourCase& c : cases)
    EXPECT_EQ(ParseColour(c.text), c.expected) << '"' << c.text << '"';
}

TEST(SkinIniRules, ReadColourGivesTheDefaultOnlyForEmptyText) {
  EXPECT_EQ(ReadColour("", static_cast<int32_t>(0x80000012)), static_cast<int32_t>(0x80000012));
  EXPECT_EQ(ReadColour("   ", 7), 7);
  EXPECT_EQ(ReadColour("5", 7), 0);  // one number: black, not the default
  EXPECT_EQ(ReadColour("1 2 3", 7), 0x00030201);
}

TEST(SkinIniRules, ReadRGBNeedsAllThreeKeysAtZeroOrMore) {
  const TQuickIni ini = LoadIni(
      "[P]\nActiveTextR=255\nActiveTextG=128\nActiveTextB=1\n"
      "HalfR=10\nHalfG=20\n"
      "NegR=1\nNegG=-1\nNegB=3\n"
      "BigR=300\nBigG=256\nBigB=0\n"
      "BadR=x\nBadG=1\nBadB=1\n");
  struct Case {
    const char* prefix;
    bool set;
    int32_t colour;
  } cases[] = {
      {"ActiveText", true, 0x000180FF}, {"Half", false, 0},      {"Neg", false, 0},
      {"Big", true, 0x0000002C},        {"Bad", false, 0},       {"Missing", false, 0},
  };
  for (const Case& c : cases) {
    int32_t colour = 0x1FFFFFFF;
    EXPECT_EQ(ReadRGB(ini, "P", c.prefix, colour), c.set) << c.prefix;
    EXPECT_EQ(colour, c.set ? c.colour : 0x1FFFFFFF) << c.prefix;
  }
}

TEST(SkinIniRules, BitmapEntryNameDropsFoldersAndNeedsLowerCaseBmp) {
  struct Case {
    const char* value;
    const char* entry;
  } cases[] = {
      {"frame.bmp", "frame.bmp"},
      {"skin\\frame.bmp", "frame.bmp"},
      {"C:\\skins\\blue\\frame.bmp", "frame.bmp"},
      {"c:frame.bmp", "frame.bmp"},
      {"dir/frame.bmp", "dir/frame.bmp"},  // a slash is not a separator
      {"frame.BMP", ""},
      {"frame.Bmp", ""},
      {"frame.tga", ""},
      {"frame", ""},
      {"0", ""},
      {"", ""},
      {"skin\\", ""},
      {"frame.bmp.txt", ""},
      {"a.b.bmp", "a.b.bmp"},
  };
  for (const Case& c : cases) EXPECT_EQ(SkinBitmapEntryName(c.value), c.entry) << c.value;
}

TEST(SkinIniRules, ColourSectionsKeepTextOrderAndSkipColours) {
  const std::vector<std::string> sections = {"Colour2", "Personality", "COLOURS", "colour0",
                                             "Colours", "Colour1",     "Color3",  "COLOURX"};
  EXPECT_EQ(ColourSectionNames(sections),
            (std::vector<std::string>{"Colour2", "colour0", "Colour1", "COLOURX"}));
}

TEST(SkinIniRules, CaptionButtonSectionsSkipOtherButtonSectionsAndHiddenOnes) {
  const TQuickIni ini = LoadIni(
      "[BUTTON0]\nAction=0\n[Buttons]\n[Button]\n[Button.Radio]\n[BUTTON.CHECKBOX]\n"
      "[button1]\nAction=-1\nVisibility=0\n"     // kept: always visible
      "[BUTTON2]\nAction=-1\nVisibility=3\n"     // dropped
      "[BUTTON3]\nAction=-1\n"                   // dropped: Visibility defaults to -1
      "[BUTTONX]\n[ButtonsExtra]\nAction=5\n");
  std::vector<std::string> sections;
  ini.GetSections(&sections);
  EXPECT_EQ(CaptionButtonSectionNames(ini, sections),
            (std::vector<std::string>{"BUTTON0", "button1", "BUTTONX", "ButtonsExtra"}));
}

TEST(SkinIniRules, MakeSkinColourKeepsLowBytes) {
  EXPECT_EQ(MakeSkinColour(1, 2, 3), 0x00030201);
  EXPECT_EQ(MakeSkinColour(-1, 256, 511), 0x00FF00FF);
}

}  // namespace
