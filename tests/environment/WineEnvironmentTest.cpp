// Checks that the Wine prefix the tests and the program run in is the one the scripts
// promise: code page 936, fixed drives of ours, no drive on the Linux root, and a font
// that has the Chinese glyphs for "宋体".
#include <windows.h>

#include <gtest/gtest.h>

TEST(WineEnvironment, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST(WineEnvironment, DrivesCDEAreFixedAndZIsAbsent) {
  EXPECT_EQ(GetDriveTypeW(L"C:\\"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(GetDriveTypeW(L"E:\\"), static_cast<UINT>(DRIVE_FIXED));
  const DWORD drives = GetLogicalDrives();
  EXPECT_EQ(drives & (1u << ('Z' - 'A')), 0u) << "Z: maps the Linux root";
}

TEST(WineEnvironment, SimSunResolvesToAFontWithChineseGlyphs) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  LOGFONTW lf{};
  lf.lfHeight = -13;
  lf.lfCharSet = GB2312_CHARSET;
  wcscpy(lf.lfFaceName, L"宋体");
  HFONT font = CreateFontIndirectW(&lf);
  ASSERT_NE(font, nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  WORD glyphs[4] = {};
  const wchar_t text[] = L"磁盘监视";
  ASSERT_EQ(GetGlyphIndicesW(dc, text, 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 4u);
  for (WORD g : glyphs) EXPECT_NE(g, 0xFFFF);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
}

TEST(WineEnvironment, ChineseFontNamesAreReplacedByTheSharpCjkFont) {
  for (const wchar_t* name : {L"宋体", L"SimSun", L"新宋体", L"黑体"}) {
    wchar_t value[128] = {};
    DWORD size = sizeof value;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", name,
                           RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, L"WenQuanYi Zen Hei Sharp");
  }
}

TEST(WineEnvironment, WinesOwnFontsAreInstalledSoCaptionGlyphsAreNotLetters) {
  for (const wchar_t* file : {L"C:\\windows\\Fonts\\marlett.ttf", L"C:\\windows\\Fonts\\tahoma.ttf"}) {
    EXPECT_NE(GetFileAttributesW(file), INVALID_FILE_ATTRIBUTES) << "missing";
  }
}
