#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "skin/data/SkinDataTypes.h"

namespace {

TEST(SkinDefaults, Skin3rdHas117LinesInTheirFixedOrder) {
  const auto& lines = DefaultSkin3rdLines();
  ASSERT_EQ(lines.size(), 117u);
  EXPECT_EQ(lines[0], L"TCategoryButtons=scrollbar");
  EXPECT_EQ(lines[1], L"TPngBitBtn=pngbitbtn");
  EXPECT_EQ(lines[116], L"TOVCDBNUMERICFIELD=Edit");
  std::map<std::wstring, int> seen;
  for (const auto& line : lines) {
    EXPECT_NE(line.find(L'='), std::wstring::npos) << line;
    ++seen[line];
  }
  std::vector<std::wstring> twice;
  for (const auto& [line, count] : seen)
    if (count > 1) twice.push_back(line);
  EXPECT_EQ(twice, (std::vector<std::wstring>{L"TDBCheckboxEh=Checkbox",
                                              L"TLMDFontSizeCombobox=combobox",
                                              L"TWWDBCombobox=Combobox"}));
}

TEST(SkinDefaults, SetDefaultsMatchTheirMembers) {
  const TSkinControlTypes controls = TSkinControlTypes::FromBits(kDefaultSkinControlBits);
  EXPECT_FALSE(controls.Contains(xcMenuItem));
  EXPECT_FALSE(controls.Contains(xcFastReport));
  for (int m = xcMainMenu; m <= xcSystemMenu; ++m) {
    if (m != xcMenuItem) {
      EXPECT_TRUE(controls.Contains(static_cast<TSkinControlType>(m))) << m;
    }
  }
  EXPECT_EQ(EnumInfoFor<TSkinControlType>().Count(), 22);
  EXPECT_EQ(EnumInfoFor<TSkinOption>().Count(), 11);
  EXPECT_EQ(TSkinOptions::FromBits(kDefaultSkinOptionBits),
            (TSkinOptions{xoPreview, xoToolbarBK}));
  EXPECT_EQ(EnumInfoFor<TSkinFormType>().Ident(sfDLL), "sfDLL");
}

}  // namespace
