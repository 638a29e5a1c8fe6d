// Drive and shell routines, against fixed inputs and against the Wine prefix the tests
// run in (drives C:, D:, E: fixed, no Z:).
#include "util/DriveUtils.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(DriveUtils, LettersOfMaskTakesBits0To25InOrder) {
  const struct {
    uint32_t mask;
    const wchar_t* letters;
  } cases[] = {
      {0, L""},
      {0b11101, L"ACDE"},
      {1u << 25, L"Z"},
      {0xFC000000u, L""},  // bits 26 to 31 name no drive
      {0x03FFFFFFu, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
  };
  for (const auto& c : cases) EXPECT_EQ(drive_utils::LettersOfMask(c.mask), c.letters);
}

TEST(DriveUtils, OnlyFixedDrivesAreInTheFixedList) {
  // A: floppy, C: and D: hard disks, E: CD-ROM, N: network, R: removable, M: RAM disk.
  const std::map<std::wstring, unsigned> types = {
      {L"A:\\", DRIVE_REMOVABLE}, {L"C:\\", DRIVE_FIXED},   {L"D:\\", DRIVE_FIXED},
      {L"E:\\", DRIVE_CDROM},     {L"N:\\", DRIVE_REMOTE},  {L"R:\\", DRIVE_REMOVABLE},
      {L"M:\\", DRIVE_RAMDISK},
  };
  std::wstring asked;
  const auto driveType = [&](const std::wstring& root) {
    asked += root;
    return types.at(root);
  };
  EXPECT_EQ(drive_utils::FixedLettersOf(L"ACDEMNR", driveType), L"CD");
  EXPECT_EQ(asked, L"A:\\C:\\D:\\E:\\M:\\N:\\R:\\");
  EXPECT_EQ(drive_utils::FixedLettersOf(L"", driveType), L"");
}

TEST(DriveUtils, DocumentDirectoryEndsAtTheLastBackslashOrColon) {
  const struct {
    const wchar_t* target;
    const wchar_t* directory;
  } cases[] = {
      {L"D:\\docs\\readme.txt", L"D:\\docs\\"},
      {L"readme.txt", L""},
      {L"", L""},
      {L"D:readme.txt", L"D:"},
      {L"https://example.org/page", L"https:"},
      {L"C:\\", L"C:\\"},
      {L"\\\\server\\share\\x.txt", L"\\\\server\\share\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(drive_utils::DocumentDirectory(c.target), c.directory);
}

TEST(DriveUtils, WindowsDirectoryIsAnExistingFolder) {
  const std::wstring dir = WindowsDirectory();
  ASSERT_GE(dir.size(), 3u);
  EXPECT_EQ(dir.substr(1, 2), L":\\");
  EXPECT_EQ(dir.find(L'\0'), std::wstring::npos);
  const DWORD attributes = GetFileAttributesW(dir.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  wchar_t expected[MAX_PATH] = {};
  ASSERT_GT(GetSystemWindowsDirectoryW(expected, MAX_PATH), 0u);
  EXPECT_EQ(_wcsicmp(dir.c_str(), expected), 0);
}

TEST(DriveUtils, DrivesOfOurWinePrefix) {
  const std::wstring letters = LogicalDriveLetters();
  EXPECT_NE(letters.find(L"CDE"), std::wstring::npos) << std::string(letters.begin(), letters.end());
  EXPECT_EQ(letters.find(L'Z'), std::wstring::npos);
  EXPECT_EQ(letters, drive_utils::LettersOfMask(GetLogicalDrives()));
  EXPECT_EQ(FixedDriveLetters(), L"CDE");
}

TEST(DriveUtils, OpenDocumentReportsWhetherTheShellAcceptedIt) {
  EXPECT_FALSE(OpenDocument(L"D:\\no such folder\\no such file.ptest-nothing", L""));
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  const std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
  EXPECT_TRUE(OpenDocument(cmd, L"/c exit 0"));
}

}  // namespace
