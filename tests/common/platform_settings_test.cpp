// Settings, clock and texts of the real backend.
#include <gtest/gtest.h>

#include <ctime>

#include "common/TestSupport.h"
#include "platform/Platform.h"

using namespace testing_support;
using platform::Native;

namespace {

// The backend reads the file at the path it is given; the reader's own
// rules are tested on their own.
TEST(PlatformProfile, ReadsTheNamedFileAndFallsBackToDefaults) {
  TempFolder tmp;
  const std::string ini = tmp / "ZOLENV.INI";
  WriteFile(ini, "[ENVSET]\r\nPkgKBN=1\r\nSystemENV = 3\r\nServerDrive=S\r\n");
  EXPECT_EQ(Native().ProfileInt("ENVSET", "SystemENV", 0, ini), 3);
  EXPECT_EQ(Native().ProfileInt("envset", "pkgkbn", 0, ini), 1);
  EXPECT_EQ(Native().ProfileString("ENVSET", "ServerDrive", "", 1024, ini), "S");
  EXPECT_EQ(Native().ProfileInt("ENVSET", "Missing", 7, ini), 7);
  EXPECT_EQ(Native().ProfileInt("ENVSET", "SystemENV", 5, tmp / "none.ini"), 5);
  EXPECT_EQ(Native().ProfileString("ENVSET", "ServerDrive", "dflt", 1024, tmp / "none.ini"),
            "dflt");
}

TEST(PlatformClock, NowIsTheLocalTime) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::time_t before = std::time(nullptr);
    platform::LocalTime now = Native().Now();
    std::time_t after = std::time(nullptr);
    if (before != after) continue;  // a second boundary in between: again
    std::tm tm = *std::localtime(&before);
    EXPECT_EQ(now.year, tm.tm_year + 1900);
    EXPECT_EQ(now.month, tm.tm_mon + 1);
    EXPECT_EQ(now.day, tm.tm_mday);
    EXPECT_EQ(now.hour, tm.tm_hour);
    EXPECT_EQ(now.minute, tm.tm_min);
    EXPECT_EQ(now.second, tm.tm_sec);
    return;
  }
}

// The Japanese texts are held as UTF-8 and written in the ANSI code page.
TEST(PlatformText, FromUtf8FollowsTheCodePage) {
  const std::string hyo = "\xE8\xA1\xA8";  // 表, Shift_JIS 0x95 0x5C
  EXPECT_EQ(Native().FromUtf8("Velmor 1.0"), "Velmor 1.0");
  EXPECT_EQ(Native().FromUtf8(""), "");
  switch (Native().AnsiCodePage()) {
    case platform::CodePage::Cp932: EXPECT_EQ(Native().FromUtf8(hyo), "\x95\x5C"); break;
    case platform::CodePage::Utf8: EXPECT_EQ(Native().FromUtf8(hyo), hyo); break;
    case platform::CodePage::SingleByte: break;  // 表 has no single-byte form
  }
}

}  // namespace
