// The message catalogue on real files: what a line becomes, which file a
// package kind reads, the escape, and the window title.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "catalogue/Catalogue.h"
#include "common/AppTestSupport.h"
#include "common/TestSupport.h"

using namespace testing_support;

namespace {

using CP = platform::CodePage;

// Writes content as translations/velmor_00.ini below a fresh local folder and
// loads it into an emptied catalogue.
class CatalogueFile {
 public:
  explicit CatalogueFile(const std::string& content, const char* file = "velmor_00.ini") {
    WriteFile(m_root / (std::string("translations/") + file), content);
    TheCatalogue().clear();
  }
  ~CatalogueFile() { TheCatalogue().clear(); }
  std::string LocalDir() const { return m_root.Path() + Sep(); }
  void Load(int kind = 0) const { LoadCatalogue(kind, LocalDir()); }

 private:
  TempFolder m_root;
};

struct LineRow {
  const char* name;
  std::string content;
  CP cp;
  std::string key;
  std::string expected;
  int entries;  // entries after loading, before the lookup; -1: not checked
};

const std::string kMegabyte(1 << 20, 'x');

const LineRow kLines[] = {
    {"further equals signs belong to the text", "A=B=C\r\n", CP::SingleByte, "A", "B=C", 1},
    {"blanks belong to key and text", "A = B\r\n", CP::SingleByte, "A ", " B", 1},
    {"key without its blank is absent", "A = B\r\n", CP::SingleByte, "A", "", 1},
    {"tab belongs to the key", "A\t=B\r\n", CP::SingleByte, "A\t", "B", 1},
    {"empty key", "=x\r\n", CP::SingleByte, "", "x", 1},
    {"empty text", "K=\r\n", CP::SingleByte, "K", "", 1},
    {"later line wins", "K=1\r\nK=2\r\n", CP::SingleByte, "K", "2", 1},
    {"sections, comments, empty lines add nothing", "[X]\r\n; note\r\n\r\nplain\r\n",
     CP::SingleByte, "[X]", "", 0},
    {"a comment with an equals sign is an entry", "[X]\r\n; a=b\r\n", CP::SingleByte, "; a", "b", 1},
    {"escape in the middle", "K=one\\ntwo\r\n", CP::SingleByte, "K", "one\r\ntwo", 1},
    {"escape at the end", "K=one\\n\r\n", CP::SingleByte, "K", "one\r\n", 1},
    {"backslash before the escape", "K=a\\\\nb\r\n", CP::SingleByte, "K", "a\\\r\nb", 1},
    {"upper-case N is no escape", "K=a\\Nb\\tc\r\n", CP::SingleByte, "K", "a\\Nb\\tc", 1},
    // 表 is 0x95 0x5C: its trail byte and the following n are no escape.
    {"CP932 trail byte 0x5C before n", "K=\x95\x5Cn\\n\r\n", CP::Cp932, "K", "\x95\x5Cn\r\n", 1},
    {"single-byte page reads the same bytes as an escape", "K=\x95\x5Cn\r\n", CP::SingleByte, "K",
     "\x95\r\n", 1},
    {"UTF-8 text with escape", "K=\xE8\xA1\xA8\\n\xE3\x82\xBD\r\n", CP::Utf8, "K",
     "\xE8\xA1\xA8\r\n\xE3\x82\xBD", 1},
    {"CP932 key", "\x83\x5C\x95\x5C=v\r\n", CP::Cp932, "\x83\x5C\x95\x5C", "v", 1},
    {"byte-order mark is part of the first key", "\xEF\xBB\xBFK=v\r\nL=w\r\n", CP::Utf8,
     "\xEF\xBB\xBFK", "v", 2},
    {"first key without the mark is absent", "\xEF\xBB\xBFK=v\r\n", CP::Utf8, "K", "", 1},
    {"0x1A ends the file", "K=v\x1A\r\nL=w\r\n", CP::SingleByte, "K", "v", 1},
    {"nothing after 0x1A is read", "K=v\r\n\x1AL=w\r\n", CP::SingleByte, "L", "", 1},
    {"last line without a line end", "A=1\r\nK=v", CP::SingleByte, "K", "v", 2},
    {"LF line ends", "A=1\nK=v\n", CP::SingleByte, "K", "v", 2},
    {"CR elsewhere stays", "K=a\rb\r\n", CP::SingleByte, "K", "a\rb", 1},
    {"CR before CR LF stays", "K=v\r\r\n", CP::SingleByte, "K", "v\r", 1},
    {"1 MB line", "A=1\r\nK=" + kMegabyte + "\r\nL=2\r\n", CP::SingleByte, "K", kMegabyte, 3},
};

class CatalogueLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(CatalogueLine, LookupGivesTheExpectedBytes) {
  const LineRow& row = GetParam();
  CatalogueFile file(row.content);
  RecordingPlatform recorder;
  recorder.m_codePage = row.cp;
  file.Load();
  if (row.entries >= 0) {
    EXPECT_EQ(static_cast<int>(TheCatalogue().size()), row.entries);
  }
  EXPECT_EQ(GetCatalogueText(row.key), row.expected);
  // The stored text keeps its escapes: a second lookup gives the same.
  EXPECT_EQ(GetCatalogueText(row.key), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, CatalogueLine, ::testing::ValuesIn(kLines),
                         [](const ::testing::TestParamInfo<LineRow>& row) { return RowName(row.param.name); });

TEST(CatalogueLookup, AbsentKeyIsAddedWithTheEmptyText) {
  CatalogueFile file("K=v\r\n");
  file.Load();
  EXPECT_EQ(GetCatalogueText("MISSING"), "");
  ASSERT_EQ(TheCatalogue().count("MISSING"), 1u);
  EXPECT_EQ(TheCatalogue()["MISSING"], "");
  EXPECT_EQ(TheCatalogue()["K"], "v");
}

TEST(CatalogueLookup, EscapeStaysStoredUnresolved) {
  CatalogueFile file("K=a\\nb\r\n");
  file.Load();
  EXPECT_EQ(GetCatalogueText("K"), "a\r\nb");
  EXPECT_EQ(TheCatalogue()["K"], "a\\nb");
}

// Package kind 1 reads velmor_01.ini, every other kind velmor_00.ini, from
// the translations folder behind a doubled separator.
TEST(CatalogueFileChoice, KindSelectsTheFile) {
  const struct {
    int kind;
    const char* file;
  } rows[] = {{0, "velmor_00.ini"}, {1, "velmor_01.ini"}, {2, "velmor_00.ini"},
              {-1, "velmor_00.ini"}};
  for (const auto& row : rows) {
    TempFolder root;
    WriteFile(root / "translations/velmor_00.ini", "K=Japanese\r\n");
    WriteFile(root / "translations/velmor_01.ini", "K=English\r\n");
    TheCatalogue().clear();
    RecordingPlatform recorder;
    const std::string localDir = root.Path() + Sep();
    LoadCatalogue(row.kind, localDir);
    EXPECT_EQ(GetCatalogueText("K"), row.kind == 1 ? "English" : "Japanese") << row.kind;
    const std::vector<std::string> opened = {"open " + localDir + Sep() + "translations" + Sep() +
                                             row.file};
    EXPECT_EQ(recorder.EventsStartingWith("open "), opened) << row.kind;
  }
  TheCatalogue().clear();
}

TEST(CatalogueFileChoice, MissingFileLeavesTheCatalogueEmpty) {
  TempFolder root;
  TheCatalogue().clear();
  LoadCatalogue(0, root.Path() + Sep());
  EXPECT_TRUE(TheCatalogue().empty());
  EXPECT_EQ(FormatTitle("1.0"), "");
  EXPECT_EQ(GetCatalogueText("IDC_LB001"), "");
  TheCatalogue().clear();
}

// A file whose reading fails part-way: the entries of the lines read whole
// are kept, the line the error cut short is not taken, nothing escapes.
class FailingReadPlatform : public RecordingPlatform {
 public:
  explicit FailingReadPlatform(std::size_t failAfter) : m_failAfter(failAfter) {}
  std::unique_ptr<platform::File> OpenFile(const std::string& path, platform::FileAccess access,
                                           platform::FileShare share) override {
    auto inner = RecordingPlatform::OpenFile(path, access, share);
    if (!inner) return inner;
    return std::make_unique<FailingFile>(std::move(inner), m_failAfter);
  }

 private:
  class FailingFile : public platform::File {
   public:
    FailingFile(std::unique_ptr<platform::File> inner, std::size_t failAfter)
        : m_inner(std::move(inner)), m_left(failAfter) {}
    long long Read(void* buffer, std::size_t size) override {
      if (m_left == 0) return -1;
      long long n = m_inner->Read(buffer, std::min(size, m_left));
      if (n > 0) m_left -= static_cast<std::size_t>(n);
      return n;
    }
    bool Write(const void* data, std::size_t size) override { return m_inner->Write(data, size); }
    bool SeekToEnd() override { return m_inner->SeekToEnd(); }
    bool Close() override { return m_inner->Close(); }

   private:
    std::unique_ptr<platform::File> m_inner;
    std::size_t m_left;
  };
  std::size_t m_failAfter;
};

TEST(CatalogueReadError, KeepsTheEntriesReadBeforeTheError) {
  const std::string content = "A=1\r\nB=2\r\nC=33333\r\nD=4\r\n";
  CatalogueFile file(content);
  {
    FailingReadPlatform failing(content.find("333"));
    file.Load();
  }
  EXPECT_EQ(TheCatalogue().count("A"), 1u);
  EXPECT_EQ(TheCatalogue()["B"], "2");
  EXPECT_EQ(TheCatalogue().count("C"), 0u);
  EXPECT_EQ(TheCatalogue().count("D"), 0u);
}

struct TitleRow {
  const char* name;
  const char* content;  // the catalogue file; null: no IDC_APLNAME line
  std::string version;
  std::string expected;
};

const TitleRow kTitles[] = {
    {"version in place of %s", "IDC_APLNAME=velmor %s update", "1.0", "velmor 1.0 update"},
    {"no conversion", "IDC_APLNAME=velmor update", "1.0", "velmor update"},
    {"%n stays text", "IDC_APLNAME=a%nb %s", "1.0", "a%nb 1.0"},
    {"only the first %s", "IDC_APLNAME=%s%s", "1.0", "1.0%s"},
    {"%d stays text", "IDC_APLNAME=v%d", "1.0", "v%d"},
    {"%% becomes %", "IDC_APLNAME=100%% %s", "1.0", "100% 1.0"},
    {"%%s is a percent sign and s", "IDC_APLNAME=%%s %s", "1.0", "%s 1.0"},
    {"lone % at the end", "IDC_APLNAME=50%", "1.0", "50%"},
    {"version text is not expanded", "IDC_APLNAME=[%s]", "%s%n%%", "[%s%n%%]"},
    {"escape resolved first", "IDC_APLNAME=velmor\\n%s", "1.0", "velmor\r\n1.0"},
    {"key missing", "OTHER=%s", "1.0", ""},
    {"empty version", "IDC_APLNAME=v%s.", "", "v."},
};

class WindowTitle : public ::testing::TestWithParam<TitleRow> {};

TEST_P(WindowTitle, FirstPercentSIsTheVersion) {
  const TitleRow& row = GetParam();
  CatalogueFile file(std::string(row.content) + "\r\n");
  file.Load();
  EXPECT_EQ(FormatTitle(row.version), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowTitle, ::testing::ValuesIn(kTitles),
                         [](const ::testing::TestParamInfo<TitleRow>& row) { return RowName(row.param.name); });

// The demo installation's two catalogue files hold every key the updater
// looks up, a title with one "%s", and no line-break escape that CP932 would
// swallow into a double-byte character.
TEST(DemoCatalogue, HoldsEveryKey) {
  const char* keys[] = {"IDC_APLNAME", "IDC_LB001", "IDC_LB002", "IDC_LB003",
                        "IDC_BT001",   "MG921000",  "ME921001",  "MG921001"};
  for (const char* file : {"velmor_00.ini", "velmor_01.ini"}) {
    const std::string content =
        ReadFile(HostPath(std::string(VELMOR_SOURCE_DIR) + "/demo/local/APLI/translations/" + file));
    ASSERT_FALSE(content.empty()) << file;
    // The files are kept in UTF-8; the Windows demo installs them converted
    // to the ANSI code page 932, as this does.
#ifdef _WIN32
    if (platform::Native().AnsiCodePage() != CP::Cp932) GTEST_SKIP() << "needs code page 932";
    CatalogueFile copy(platform::Native().FromUtf8(content));
    RecordingPlatform recorder;
    recorder.m_codePage = CP::Cp932;
#else
    CatalogueFile copy(content);
    RecordingPlatform recorder;
    recorder.m_codePage = CP::Utf8;
#endif
    copy.Load();
    for (const char* key : keys) {
      EXPECT_NE(GetCatalogueText(key), "") << file << " " << key;
    }
    const std::string title = TheCatalogue()["IDC_APLNAME"];
    EXPECT_NE(title.find("%s"), std::string::npos) << file;
    EXPECT_EQ(title.find("%s", title.find("%s") + 2), std::string::npos) << file;
    for (const char* key : {"MG921000", "ME921001", "MG921001"})
      EXPECT_NE(GetCatalogueText(key).find("\r\n"), std::string::npos) << file << " " << key;
  }
}

}  // namespace
