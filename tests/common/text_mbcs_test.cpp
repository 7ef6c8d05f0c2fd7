// The multi-byte walk: comparisons as _mbscmp makes them, and searches and
// replacements that never start or end inside a double-byte character.
#include <gtest/gtest.h>

#include <string>

#include "platform/MbcsText.h"

namespace {

using namespace std::string_literals;
using platform::CodePage;

constexpr std::size_t npos = std::string::npos;

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(MbcsTextTest, CharLength) {
  struct Row {
    CodePage cp;
    std::string text;
    std::size_t pos;
    std::size_t length;
  } rows[] = {
      {CodePage::Cp932, "\x95\x5C", 0, 2},          // 表
      {CodePage::Cp932, "\xE0\x40", 0, 2},          // second lead range
      {CodePage::Cp932, "\xFC\x4B", 0, 2},          // last lead byte
      {CodePage::Cp932, "\xA1\x5C", 0, 1},          // half-width katakana is single
      {CodePage::Cp932, "\x80\x5C", 0, 1},          // 0x80 is no lead byte
      {CodePage::Cp932, "\xFD\x5C", 0, 1},          // 0xFD is no lead byte
      {CodePage::Cp932, "A\x95", 1, 1},             // a lead byte at the very end
      {CodePage::Utf8, "\xE8\xA1\xA8", 0, 3},       // 表
      {CodePage::Utf8, "\xF0\x9F\x98\x80", 0, 4},   // U+1F600
      {CodePage::Utf8, "\xC3\xA9", 0, 2},           // é
      {CodePage::Utf8, "\xE8\xA1", 0, 1},           // cut short
      {CodePage::Utf8, "\xC0\xAF", 0, 1},           // overlong "/"
      {CodePage::Utf8, "\xED\xA0\x80", 0, 1},       // surrogate
      {CodePage::Utf8, "\xF4\x90\x80\x80", 0, 1},   // above U+10FFFF
      {CodePage::Utf8, "\xA8", 0, 1},               // a lone continuation byte
      {CodePage::SingleByte, "\x95\x5C", 0, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.text));
    EXPECT_EQ(mbcs::CharLength(r.text, r.pos, r.cp), r.length);
  }
}

TEST(MbcsTextTest, CompareAsMbscmp) {
  struct Row {
    CodePage cp;
    std::string a;
    std::string b;
    int sign;
  } rows[] = {
      {CodePage::Cp932, "1.10", "1.9", -1},           // text, not numbers
      {CodePage::Cp932, "9", "10", 1},
      {CodePage::Cp932, "2024.01", "2024.01", 0},
      {CodePage::Cp932, "2024.01", "2024.01 ", -1},   // a prefix sorts first
      {CodePage::Cp932, "", "1", -1},
      // A double-byte character (lead * 256 + trail) sorts above every single
      // byte, also above half-width katakana and 0xFD, which plain unsigned
      // byte order puts above lead bytes.
      {CodePage::Cp932, "V\x81\x40", "V\xA1", 1},      // 　 against ｡
      {CodePage::Cp932, "\x88\x9F", "\xDF", 1},        // 亜 against ﾟ
      {CodePage::Cp932, "\xE0\x40", "\xFD", 1},
      {CodePage::Cp932, "\xFD", "\xE0\x40", -1},
      // Signed bytes would put every double-byte character below ASCII.
      {CodePage::Cp932, "\x82\xA0", "A", 1},           // あ against A
      {CodePage::Cp932, "A", "\x82\xA0", -1},
      // Equal lead bytes: the trail byte decides.
      {CodePage::Cp932, "\x95\x5C", "\x95\x5D", -1},
      {CodePage::Cp932, "\x95\x41", "\x95\x5C", -1},
      // A lead byte alone at the end is one character of its byte value.
      {CodePage::Cp932, "1\x81", "1\x81\x40", -1},
      {CodePage::Cp932, "1\x81", "1\x80", 1},
      {CodePage::Cp932, "\x81\x40", "\x81", 1},
      // UTF-8: byte order is code point order.
      {CodePage::Utf8, "\xC3\xA9", "z", 1},            // é against z
      {CodePage::Utf8, "\xEF\xBD\xB1", "\xF0\x9F\x98\x80", -1},
      {CodePage::Utf8, "1.9", "1.10", 1},
      {CodePage::SingleByte, "\xE9", "e", 1},
      {CodePage::SingleByte, "\xA1", "\x81\x40", 1},   // no pairs in a single-byte page
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.a) + " vs " + testing::PrintToString(r.b));
    EXPECT_EQ(Sign(mbcs::Compare(r.a, r.b, r.cp)), r.sign);
  }
}

TEST(MbcsTextTest, FindStartsAndEndsOnCharacters) {
  struct Row {
    CodePage cp;
    std::string text;
    std::string needle;
    std::size_t from;
    std::size_t found;
  } rows[] = {
      {CodePage::Cp932, "\x95\x5Cn", "\\n", 0, npos},            // 表 then n: no escape
      {CodePage::Cp932, "\x83\x5C\\n", "\\n", 0, 2},            // ソ then the escape
      {CodePage::Cp932, "\x81\x5Cn\\n", "\\n", 0, 3},           // ― then n, then the escape
      {CodePage::Cp932, "C:\\\x95\x5C\\", "\\", 0, 2},
      {CodePage::Cp932, "C:\\\x95\x5C\\", "\\", 3, 5},          // the trail byte at 4 is skipped
      {CodePage::SingleByte, "C:\\\x95\x5C\\", "\\", 3, 4},
      {CodePage::Cp932, "\x95\x5C\\", "\\", 1, 2},             // from inside a character
      {CodePage::Cp932, "\x95\x5C", "\x95", 0, npos},          // a match may not end inside one
      {CodePage::SingleByte, "\x95\x5C", "\x95", 0, 0},
      {CodePage::Cp932, "\x95\x5C\x95\x5C", "\x5C\x95", 0, npos},
      {CodePage::SingleByte, "\x95\x5C\x95\x5C", "\x5C\x95", 0, 1},
      {CodePage::Cp932, "A\x95", "\x95", 0, 1},                // a final lead byte is a character
      {CodePage::Cp932, "x\\\x82\xA0velmor.exe", "velmor.exe", 0, 4},
      {CodePage::Cp932, "\x83velmor.exe", "velmor.exe", 0, npos},     // "v" is a trail byte
      {CodePage::SingleByte, "\x83velmor.exe", "velmor.exe", 0, 1},
      {CodePage::Utf8, "\xE8\xA1\xA8", "\xA8", 0, npos},         // a continuation byte
      {CodePage::SingleByte, "\xE8\xA1\xA8", "\xA8", 0, 2},
      {CodePage::Utf8, "\xE8\xA1\xA8/\xE8\xA1\xA8", "/", 1, 3},
      {CodePage::Cp932, "abc", "c", 4, npos},                  // from beyond the end
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.text) + " / " + testing::PrintToString(r.needle));
    EXPECT_EQ(mbcs::Find(r.text, r.needle, r.cp, r.from), r.found);
  }
}

TEST(MbcsTextTest, ReplaceAllWalksCharacters) {
  struct Row {
    CodePage cp;
    std::string text;
    std::string from;
    std::string to;
    std::string result;
  } rows[] = {
      {CodePage::Cp932, "a\\nb", "\\n", "\r\n", "a\r\nb"},
      {CodePage::Cp932, "\\n\\n", "\\n", "\r\n", "\r\n\r\n"},
      {CodePage::Cp932, "end\\n", "\\n", "\r\n", "end\r\n"},
      {CodePage::Cp932, "\\\\n", "\\n", "\r\n", "\\\r\n"},              // the escape is not escaped
      {CodePage::Cp932, "\x95\x5Cn", "\\n", "\r\n", "\x95\x5Cn"},       // 表n stays
      {CodePage::SingleByte, "\x95\x5Cn", "\\n", "\r\n", "\x95\r\n"},   // what a byte search does
      {CodePage::Cp932, "\x83\x5C\\n\x95\x5C", "\\n", "\r\n", "\x83\x5C\r\n\x95\x5C"},
      {CodePage::Cp932, "\x95\x5C\x95\x5C", "\x5C", "/", "\x95\x5C\x95\x5C"},
      {CodePage::Utf8, "\xE8\xA1\xA8\\n", "\\n", "\r\n", "\xE8\xA1\xA8\r\n"},
      {CodePage::Cp932, "aaa", "aa", "X", "Xa"},                           // left to right, no overlap
      {CodePage::Cp932, "abc", "", "X", "abc"},
      {CodePage::Cp932, "a\x95", "\x95", "X", "aX"},                       // a final lead byte
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.text));
    EXPECT_EQ(mbcs::ReplaceAll(r.text, r.from, r.to, r.cp), r.result);
  }
}

TEST(MbcsTextTest, ToLowerTouchesSingleByteLettersOnly) {
  struct Row {
    CodePage cp;
    std::string text;
    std::string result;
  } rows[] = {
      {CodePage::Cp932, "C:\\APLI\\VELMOR2.EXE", "c:\\apli\\velmor2.exe"},
      {CodePage::Cp932, "A\x83\x41Z", "a\x83\x41z"},            // ア keeps its trail byte "A"
      {CodePage::SingleByte, "A\x83\x41Z", "a\x83\x61z"},
      {CodePage::Cp932, "\x82\x60", "\x82\x60"},                // full-width Ａ stays
      {CodePage::Cp932, "AB\x83", "ab\x83"},
      {CodePage::Utf8, "\xC3\x89" "A", "\xC3\x89" "a"},           // É stays
      {CodePage::SingleByte, "\xC9@[`{", "\xC9@[`{"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.text));
    EXPECT_EQ(mbcs::ToLower(r.text, r.cp), r.result);
  }
}

TEST(MbcsTextTest, FindLastCharSkipsTrailBytes) {
  struct Row {
    CodePage cp;
    std::string text;
    char c;
    std::size_t found;
  } rows[] = {
      {CodePage::Cp932, "C:\\X\\\x95\x5C", '\\', 4},
      {CodePage::SingleByte, "C:\\X\\\x95\x5C", '\\', 6},
      {CodePage::Cp932, "\x83\x5C\x83\x5C", '\\', npos},
      {CodePage::Cp932, "abc", '\\', npos},
      {CodePage::Utf8, "a/b/\xE8\xA1\xA8", '/', 3},
      {CodePage::Cp932, "", '/', npos},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.text));
    EXPECT_EQ(mbcs::FindLastChar(r.text, r.c, r.cp), r.found);
  }
}

}  // namespace
