// The version gate on real VERSION.INI files: first-line reading and the
// multi-byte comparison of the two stamps. The same table on both builds; the
// code page is given explicitly so that the CP932 rows mean the same bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/UpdateApp.h"
#include "common/AppTestSupport.h"
#include "common/TestSupport.h"

using namespace testing_support;

namespace {

struct StampRow {
  const char* name;
  std::string local;   // file bytes
  std::string server;  // file bytes
  platform::CodePage cp;
  BOOL due;
  std::string localStamp;
  std::string serverStamp;
};

using CP = platform::CodePage;

const StampRow kStamps[] = {
    // Stamps are text: 1.10 sorts below 1.9, 9 above 10.
    {"1.10 below 1.9", "1.10", "1.9", CP::SingleByte, TRUE, "1.10", "1.9"},
    {"9 above 10", "9", "10", CP::SingleByte, FALSE, "9", "10"},
    {"equal", "1.0", "1.0", CP::SingleByte, FALSE, "1.0", "1.0"},
    {"trailing blank above", "1.0 ", "1.0", CP::SingleByte, FALSE, "1.0 ", "1.0"},
    {"prefix below", "1.0", "1.0 ", CP::SingleByte, TRUE, "1.0", "1.0 "},
    {"CR LF endings", "1.0\r\nrest\r\n", "1.1\r\n", CP::SingleByte, TRUE, "1.0", "1.1"},
    {"LF endings", "1.0\nrest\n", "1.1\n", CP::SingleByte, TRUE, "1.0", "1.1"},
    {"CR LF equals LF", "1.0\r\n", "1.0\n", CP::SingleByte, FALSE, "1.0", "1.0"},
    {"no line end equals CR LF", "1.0", "1.0\r\n", CP::SingleByte, FALSE, "1.0", "1.0"},
    {"lone CR stays", "1.0\r", "1.0", CP::SingleByte, FALSE, "1.0\r", "1.0"},
    {"local first line empty", "\r\n1.0\r\n", "2.0", CP::SingleByte, FALSE, "", ""},
    {"server first line empty", "1.0", "\r\n2.0\r\n", CP::SingleByte, FALSE, "1.0", ""},
    {"server empty file", "1.0", "", CP::SingleByte, FALSE, "1.0", ""},
    // 0x1A ends what is read: the server stamp is 1.0, equal to the local one.
    {"0x1A in the server line", "1.0", "1.0\x1A" "1\r\n", CP::SingleByte, FALSE, "1.0", "1.0"},
    // Read on past 0x1A, the local line would sort above the server's.
    {"0x1A ends the local line", "1.0\x1A" "9", "1.0\x10", CP::SingleByte, TRUE, "1.0", "1.0\x10"},
    {"0x1A first", "\x1A" "1.0", "2.0", CP::SingleByte, FALSE, "", ""},
    // CP932: a double-byte character counts as lead * 256 + trail. A signed
    // byte comparison gets these wrong, and so does a plain unsigned one for
    // the half-width katakana 0xA1 against the full-width blank 0x81 0x40.
    {"CP932 half-width below full-width", "\xA1", "\x81\x40", CP::Cp932, TRUE, "\xA1", "\x81\x40"},
    {"CP932 full-width above half-width", "\x81\x40", "\xA1", CP::Cp932, FALSE, "\x81\x40", "\xA1"},
    {"CP932 ASCII below kana", "V1A", "V1\x82\xA0", CP::Cp932, TRUE, "V1A", "V1\x82\xA0"},
    {"CP932 trail 0x5C", "V\x83\x5C" "1", "V\x83\x5C" "2", CP::Cp932, TRUE, "V\x83\x5C" "1",
     "V\x83\x5C" "2"},
    {"CP932 equal double-byte", "\x95\x5C", "\x95\x5C", CP::Cp932, FALSE, "\x95\x5C", "\x95\x5C"},
};

class StampComparison : public ::testing::TestWithParam<StampRow> {};

TEST_P(StampComparison, UpdateIsDueOnlyWhenLocalSortsBelowServer) {
  const StampRow& row = GetParam();
  TempFolder root;
  const std::string local = root / "APLI";
  const std::string server = root / "server";
  MakeFolders(server);
  MappedDrive drive(server);
  ASSERT_TRUE(drive.Ok());
  WriteFile(Join(local, "ZOLENV.INI"), ZolEnv(0, 3, drive.Letter()));
  WriteFile(Join(local, "VERSION.INI"), row.local);
  WriteFile(Join(server, "ZOLDATA/APLI/VERSION.INI"), row.server);

  RecordingPlatform recorder;
  recorder.m_codePage = row.cp;
  CUpdateApp app;
  app.m_strLocalDir = local + Sep();
  EXPECT_EQ(app.CheckVersions(0), row.due);
  EXPECT_EQ(app.m_strLocalVersion, row.localStamp);
  EXPECT_EQ(app.m_strServerVersion, row.serverStamp);
  // Not due: the main program is started with -v, except that an empty local
  // stamp ends start-up silently.
  std::vector<std::string> expectedStarts;
  if (!row.due && !row.localStamp.empty()) expectedStarts.push_back("-v");
  EXPECT_EQ(recorder.Starts(), expectedStarts);
}

INSTANTIATE_TEST_SUITE_P(Rows, StampComparison, ::testing::ValuesIn(kStamps),
                         [](const ::testing::TestParamInfo<StampRow>& row) { return RowName(row.param.name); });

// Another program reading VERSION.INI at the same moment does not make the
// stamp empty: the reader grants read sharing.
TEST(StampReading, FileHeldOpenForReadingByAnotherReader) {
  TempFolder root;
  const std::string path = root / "VERSION.INI";
  WriteFile(path, "1.0\r\n");
  auto other = platform::Current().OpenFile(path, platform::FileAccess::Read,
                                            platform::FileShare::Read);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(ReadFirstLine(path), "1.0");
}

TEST(StampReading, LongFirstLineInOnePiece) {
  TempFolder root;
  const std::string path = root / "VERSION.INI";
  const std::string line(300000, '7');
  WriteFile(path, line + "\r\nsecond\r\n");
  EXPECT_EQ(ReadFirstLine(path), line);
}

}  // namespace
