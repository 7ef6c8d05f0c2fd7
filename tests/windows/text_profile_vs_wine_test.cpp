// Each awkward profile file of the shared table, written to a real file and
// answered both by the system's GetPrivateProfileIntA/GetPrivateProfileStringA
// and by our reader (in the process's code page): the answers must agree, and
// must be those recorded in the table.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/ProfileCases.h"
#include "common/TestSupport.h"
#include "platform/ProfileReader.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

struct SystemAnswer {
  int number;
  std::string text;
};

// The buffer is zeroed: when a double-byte text does not fit, Wine copies
// the whole characters that fit and leaves the byte behind them untouched,
// so the caller sees exactly those characters.
SystemAnswer AskSystem(const std::string& path, const profile_cases::Case& c) {
  SystemAnswer a;
  a.number = static_cast<int>(GetPrivateProfileIntA(c.section.c_str(), c.key.c_str(),
                                                    profile_cases::Case::kIntDefault,
                                                    path.c_str()));
  std::vector<char> buffer(c.bufferSize + 1, '\0');
  GetPrivateProfileStringA(c.section.c_str(), c.key.c_str(), c.stringDefault.c_str(),
                           buffer.data(), static_cast<DWORD>(c.bufferSize), path.c_str());
  a.text.assign(buffer.data(), strnlen(buffer.data(), c.bufferSize));
  return a;
}

bool Cp932() { return GetACP() == 932; }

TEST(ProfileVsWineTest, OurReaderAnswersAsTheSystemOnEveryCase) {
  int index = 0;
  for (const profile_cases::Case& c : profile_cases::All()) {
    SCOPED_TRACE(c.name);
    // A folder of its own per case: the system caches profile files by name.
    TempFolder folder;
    const std::string path = folder / ("ZOLENV" + std::to_string(index++) + ".INI");
    WriteFile(path, c.content);
    const SystemAnswer system = AskSystem(path, c);
    EXPECT_EQ(profile::ReadInt(c.content, c.section, c.key, profile_cases::Case::kIntDefault),
              system.number);
    EXPECT_EQ(profile::ReadString(c.content, c.section, c.key, c.stringDefault, c.bufferSize),
              system.text);
    const profile_cases::Answer& recorded = c.For(Cp932());
    EXPECT_EQ(system.number, recorded.number);
    EXPECT_EQ(system.text, recorded.text);
  }
}

// A file with the UTF-8 byte-order mark: the system converts its values into
// the ANSI code page, and so does our reader.
TEST(ProfileVsWineTest, ByteOrderMarkFileValuesComeInTheCodePage) {
  const std::string contents[] = {
      "\xEF\xBB\xBF[ENVSET]\r\nServerDrive=\xE8\xA1\xA8\r\n",               // 表
      "\xEF\xBB\xBF[ENVSET]\rServerDrive=\xE3\x81\x81\rSystemENV=3\r",      // ぁ, CR line ends
  };
  int index = 0;
  for (const std::string& content : contents) {
    SCOPED_TRACE(index);
    profile_cases::Case c = profile_cases::MakeCase("", content, "ServerDrive", {0, ""});
    TempFolder folder;
    const std::string path = folder / ("BOM" + std::to_string(index++) + ".INI");
    WriteFile(path, content);
    const SystemAnswer system = AskSystem(path, c);
    EXPECT_EQ(profile::ReadString(content, c.section, c.key, c.stringDefault, c.bufferSize),
              system.text);
    c.key = "SystemENV";
    EXPECT_EQ(profile::ReadInt(content, c.section, c.key, profile_cases::Case::kIntDefault),
              AskSystem(path, c).number);
  }
}

// Where we knowingly answer otherwise: the system turns a well-formed but
// unassigned double-byte code of code page 932 into "・" on its way through
// UTF-16; our reader, which has no table of assigned codes, keeps the bytes.
TEST(ProfileVsWineTest, UnassignedDoubleByteCodeIsTheOneKnownDifference) {
  if (!Cp932()) GTEST_SKIP() << "code page 932 only";
  const std::string content = "[ENVSET]\r\nServerDrive=S\x85\x40T\r\n";
  const profile_cases::Case c = profile_cases::MakeCase("", content, "ServerDrive", {0, ""});
  TempFolder folder;
  const std::string path = folder / "ZOLENV.INI";
  WriteFile(path, content);
  EXPECT_EQ(AskSystem(path, c).text, "S\x81\x45T");
  EXPECT_EQ(profile::ReadString(content, c.section, c.key, c.stringDefault, c.bufferSize),
            "S\x85\x40T");
}

}  // namespace
