// The log line of each change kind, the watch roots of the two start commands and the
// command line.
#include <gtest/gtest.h>

#include "app/LogText.h"
#include "app/ProgramOptions.h"
#include "app/WatchRoots.h"

namespace {

struct LineCase {
  int operation;
  std::wstring name1, name2, expected;
};

TEST(ChangeLogLine, EachKindHasItsPrefixAndTheSeparator) {
  const LineCase cases[] = {
      {0, L"C:\\x.txt", L"", L"增加文件:    C:\\x.txt;   "},
      {1, L"D:\\tmp\\a.txt", L"", L"删除文件:  D:\\tmp\\a.txt;   "},
      {2, L"E:\\b", L"", L"修改文件: E:\\b;   "},
      {3, L"D:\\a.txt", L"D:\\b.txt", L"重命名文件:  D:\\a.txt;   D:\\b.txt"},
      {4, L"D:\\", L"", L"变化丢失:  D:\\;   "},
      // Names are taken as they come: empty, with the separator inside, other scripts.
      {0, L"", L"", L"增加文件:    ;   "},
      {3, L"D:\\a;   b", L"D:\\한국어 😀", L"重命名文件:  D:\\a;   b;   D:\\한국어 😀"},
      {2, L"C:\\x", L"unexpected", L"修改文件: C:\\x;   unexpected"},
  };
  for (const LineCase& c : cases) {
    const std::optional<std::wstring> line = ChangeLogLine(c.operation, c.name1, c.name2);
    ASSERT_TRUE(line.has_value()) << c.operation;
    EXPECT_EQ(*line, c.expected);
  }
}

TEST(ChangeLogLine, PrefixesEndInTheStatedNumberOfSpaces) {
  const size_t spaces[] = {4, 2, 1, 2, 2};
  for (int op = 0; op < 5; ++op) {
    const std::wstring line = *ChangeLogLine(op, L"", L"");
    const std::wstring prefix = line.substr(0, line.size() - 4);  // without ";   "
    const size_t colon = prefix.find(L':');
    ASSERT_NE(colon, std::wstring::npos) << op;
    EXPECT_EQ(prefix.size() - colon - 1, spaces[op]) << op;
    EXPECT_EQ(prefix.find_first_not_of(L' ', colon + 1), std::wstring::npos) << op;
  }
}

TEST(ChangeLogLine, OtherValuesAddNothing) {
  for (int op : {-1, 5, 6, 255, 1 << 20}) EXPECT_FALSE(ChangeLogLine(op, L"C:\\x", L"y").has_value()) << op;
}

TEST(SystemDriveRoot, FirstThreeCharacters) {
  EXPECT_EQ(SystemDriveRoot(L"C:\\WINDOWS"), L"C:\\");
  EXPECT_EQ(SystemDriveRoot(L"D:\\windows\\"), L"D:\\");
  EXPECT_EQ(SystemDriveRoot(L"C:\\"), L"C:\\");
  EXPECT_EQ(SystemDriveRoot(L"C:"), L"C:");
  EXPECT_EQ(SystemDriveRoot(L""), L"");
}

TEST(FixedDriveRoots, OneRootPerLetterInOrder) {
  EXPECT_EQ(FixedDriveRoots(L"CDE"), (std::vector<std::wstring>{L"C:\\", L"D:\\", L"E:\\"}));
  EXPECT_TRUE(FixedDriveRoots(L"").empty());
}

TEST(FixedDriveRoots, NeverMoreThanTheTableHolds) {
  for (size_t count : {10u, 11u, 12u, 24u}) {
    const std::wstring letters = std::wstring(L"CDEFGHIJKLMNOPQRSTUVWXYZ").substr(0, count);
    const std::vector<std::wstring> roots = FixedDriveRoots(letters);
    ASSERT_EQ(roots.size(), std::min<size_t>(count, kWatcherSlots)) << count;
    for (size_t i = 0; i < roots.size(); ++i) EXPECT_EQ(roots[i], (std::wstring{letters[i], L':', L'\\'}));
  }
  EXPECT_EQ(kWatcherSlots, 11);
}

TEST(ProgramOptions, SkinFileForms) {
  struct Case {
    std::vector<std::wstring> args;
    std::optional<std::wstring> skin;
  };
  const Case cases[] = {
      {{}, std::nullopt},
      {{L"--skin", L"D:\\dark.skn"}, L"D:\\dark.skn"},
      {{L"--skin=D:\\皮肤 1.skn"}, L"D:\\皮肤 1.skn"},
      {{L"--skin"}, std::nullopt},                        // no file follows
      {{L"--skin="}, std::nullopt},                       // empty file
      {{L"--skin", L""}, std::nullopt},
      {{L"--skins", L"x"}, std::nullopt},                 // not the option
      {{L"-skin", L"x"}, std::nullopt},
      {{L"other", L"--skin", L"a.skn", L"--skin=b.skn"}, L"b.skn"},  // the last one counts
      {{L"--skin", L"--skin"}, L"--skin"},                // whatever follows is the file
  };
  for (const Case& c : cases) EXPECT_EQ(ParseProgramOptions(c.args).skinFile, c.skin);
}

}  // namespace
