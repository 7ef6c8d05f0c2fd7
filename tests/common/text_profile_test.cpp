// Our profile reader against the answers the Windows profile functions give
// (measured under Wine, tests/common/ProfileCases.h), for each code page.
#include <gtest/gtest.h>

#include "ProfileCases.h"
#include "platform/ProfileReader.h"

namespace {

using platform::CodePage;

void ExpectTableUnder(CodePage cp) {
  for (const profile_cases::Case& c : profile_cases::All()) {
    if (cp == CodePage::Utf8 && !c.IsAscii()) continue;
    SCOPED_TRACE(c.name);
    const profile_cases::Answer& want = c.For(cp == CodePage::Cp932);
    EXPECT_EQ(profile::ReadInt(c.content, c.section, c.key, profile_cases::Case::kIntDefault, cp),
              want.number);
    EXPECT_EQ(profile::ReadString(c.content, c.section, c.key, c.stringDefault, c.bufferSize, cp),
              want.text);
  }
}

TEST(ProfileReaderTest, AnswersAsWindowsUnderCodePage932) { ExpectTableUnder(CodePage::Cp932); }

TEST(ProfileReaderTest, AnswersAsWindowsUnderSingleByteCodePage) {
  ExpectTableUnder(CodePage::SingleByte);
}

TEST(ProfileReaderTest, AnswersAsWindowsUnderUtf8ForAsciiFiles) { ExpectTableUnder(CodePage::Utf8); }

// A file with the byte-order mark is UTF-8 whatever the code page: the
// cp overloads give its values as the file holds them.
TEST(ProfileReaderTest, ByteOrderMarkFileIsWalkedAsUtf8) {
  // ぁ is E3 81 81 in UTF-8; walked as code page 932 its last byte would be a
  // lead byte taking the CR behind it, and the next line would vanish.
  const std::string lines = "[ENVSET]\rServerDrive=\xE3\x81\x81\rSystemENV=3\r";
  const std::string withMark = "\xEF\xBB\xBF" + lines;
  EXPECT_EQ(profile::ReadInt(withMark, "ENVSET", "SystemENV", 77, CodePage::Cp932), 3);
  EXPECT_EQ(profile::ReadString(withMark, "ENVSET", "ServerDrive", "", 1024, CodePage::Cp932),
            "\xE3\x81\x81");
  EXPECT_EQ(profile::ReadInt(lines, "ENVSET", "SystemENV", 77, CodePage::Cp932), 77);
  // Cut by whole UTF-8 characters: three bytes do not fit two.
  EXPECT_EQ(profile::ReadString(withMark, "ENVSET", "ServerDrive", "", 3, CodePage::Cp932), "");
}

TEST(ProfileReaderTest, FindValueGivesTheTrimmedValueAsWritten) {
  const std::string content = "[ENVSET]\r\n ServerDrive = \"S\" \r\nSystemENV\r\n";
  std::string value;
  ASSERT_TRUE(profile::FindValue(content, "envset", "SERVERDRIVE", value, CodePage::Cp932));
  EXPECT_EQ(value, "\"S\"");
  EXPECT_FALSE(profile::FindValue(content, "ENVSET", "SystemENV", value, CodePage::Cp932));
  EXPECT_FALSE(profile::FindValue(content, "ENVSET", "PkgKBN", value, CodePage::Cp932));
}

}  // namespace
