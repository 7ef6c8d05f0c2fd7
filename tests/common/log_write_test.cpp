// The update log on real folders: where the line goes, its exact bytes, and
// that a missing LOG folder or a failing file loses the line and nothing more.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/UpdateApp.h"
#include "common/AppTestSupport.h"
#include "common/TestSupport.h"
#include "ui/UpdateDlg.h"

using namespace testing_support;

namespace {

const std::string kBlanks(20, ' ');

// A dialog whose m_pApp has the given local folder, as the transaction has.
class LogWriter {
 public:
  explicit LogWriter(const std::string& localDir) {
    m_app.m_strLocalDir = localDir;
    m_dlg.m_pApp = &m_app;
  }
  void Write(const std::string& text, int stamped) { m_dlg.WriteLog(text, stamped); }

 private:
  CUpdateApp m_app;
  CUpdateDlg m_dlg;
};

struct PathRow {
  const char* name;
  const char* localDir;  // below the temp root, '/' separated, ends in '/'
  const char* logFolder;  // made before the write
  const char* logFile;    // where the line is expected
};

const PathRow kPaths[] = {
    {"APLI becomes LOG", "X/APLI/", "X/LOG", "X/LOG/Velmor.log"},
    {"both APLI folders become LOG", "APLI/Z/APLI/", "LOG/Z/LOG", "LOG/Z/LOG/Velmor.log"},
    {"lower-case apli stays", "X/apli/", "X/apli", "X/apli/Velmor.log"},
    {"no APLI logs into the local folder", "Y/", "Y", "Y/Velmor.log"},
    {"APLI only as part of a name stays", "X/APLI2/", "X/APLI2", "X/APLI2/Velmor.log"},
};

class LogPath : public ::testing::TestWithParam<PathRow> {};

TEST_P(LogPath, LineGoesToTheLogFolder) {
  const PathRow& row = GetParam();
  TempFolder root;
  MakeFolders(root / row.logFolder);
  auto before = Snapshot(root.Path());
  LogWriter log(Join(root.Path(), row.localDir));
  log.Write("t", 0);
  auto after = Snapshot(root.Path());
  before[row.logFile] = kBlanks + "t\r\n";
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Rows, LogPath, ::testing::ValuesIn(kPaths),
                         [](const ::testing::TestParamInfo<PathRow>& row) { return RowName(row.param.name); });

TEST(LogFolder, MissingLogFolderWritesAndCreatesNothing) {
  TempFolder root;
  MakeFolders(root / "X/APLI");
  const auto before = Snapshot(root.Path());
  LogWriter log(Join(root.Path(), "X/APLI/"));
  log.Write("t", 1);
  log.Write("u", 0);
  EXPECT_EQ(Snapshot(root.Path()), before);
}

TEST(LogFolder, LogPathNamingAFolderWritesNothing) {
  TempFolder root;
  MakeFolders(root / "X/LOG/Velmor.log");
  const auto before = Snapshot(root.Path());
  LogWriter log(Join(root.Path(), "X/APLI/"));
  log.Write("t", 1);
  EXPECT_EQ(Snapshot(root.Path()), before);
}

// The clock fixed at one second after midnight, 1 February 2008.
class FixedClock : public RecordingPlatform {
 public:
  FixedClock() { m_clock = platform::LocalTime{2008, 2, 1, 0, 0, 1}; }
};

struct LineRow {
  const char* name;
  std::string text;
  int stamped;
  std::string expected;  // the bytes added to the file
};

const LineRow kLines[] = {
    {"stamped", "An update of a program was failed.", 1,
     "2008/02/01 00:00:01 An update of a program was failed.\r\n"},
    {"plain", "SUB\\SAMPLE.DLL", 0, kBlanks + "SUB\\SAMPLE.DLL\r\n"},
    {"stamped 2 is plain", "x", 2, kBlanks + "x\r\n"},
    {"stamped -1 is plain", "x", -1, kBlanks + "x\r\n"},
    {"empty text stamped", "", 1, "2008/02/01 00:00:01 \r\n"},
    {"empty text plain", "", 0, kBlanks + "\r\n"},
    {"LF inside the text", "a\nb", 0, kBlanks + "a\r\nb\r\n"},
    {"versions line", "1.0 -> 1.1", 1, "2008/02/01 00:00:01 1.0 -> 1.1\r\n"},
};

class LogLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(LogLine, ExactBytesAppended) {
  const LineRow& row = GetParam();
  TempFolder root;
  MakeFolders(root / "X/LOG");
  FixedClock clock;
  LogWriter log(Join(root.Path(), "X/APLI/"));
  log.Write(row.text, row.stamped);
  EXPECT_EQ(ReadFile(root / "X/LOG/Velmor.log"), row.expected);
  // A second line goes behind the first.
  log.Write(row.text, row.stamped);
  EXPECT_EQ(ReadFile(root / "X/LOG/Velmor.log"), row.expected + row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, LogLine, ::testing::ValuesIn(kLines),
                         [](const ::testing::TestParamInfo<LineRow>& row) { return RowName(row.param.name); });

TEST(LogAppend, ContinuesALastLineWithoutLineEnd) {
  TempFolder root;
  WriteFile(root / "X/LOG/Velmor.log", "old\r\nunfinished");
  FixedClock clock;
  LogWriter log(Join(root.Path(), "X/APLI/"));
  log.Write("t", 1);
  EXPECT_EQ(ReadFile(root / "X/LOG/Velmor.log"), "old\r\nunfinished2008/02/01 00:00:01 t\r\n");
}

TEST(LogAppend, RealClockGivesAStampOfTwentyCharacters) {
  TempFolder root;
  MakeFolders(root / "X/LOG");
  LogWriter log(Join(root.Path(), "X/APLI/"));
  log.Write("t", 1);
  const std::string line = ReadFile(root / "X/LOG/Velmor.log");
  ASSERT_EQ(line.size(), 20u + 3u);
  for (std::size_t i : {4u, 7u}) EXPECT_EQ(line[i], '/');
  for (std::size_t i : {13u, 16u}) EXPECT_EQ(line[i], ':');
  EXPECT_EQ(line.substr(10, 1) + line.substr(19), "  t\r\n");
}

// The Japanese result texts are held as UTF-8 and written in the ANSI code
// page: Shift_JIS on a code page 932 system, UTF-8 under a UTF-8 locale.
TEST(LogText, JapaneseTextInTheAnsiCodePage) {
  const std::string success = "\xE3\x83\x97\xE3\x83\xAD\xE3\x82\xB0\xE3\x83\xA9\xE3\x83\xA0"
                              "\xE6\x9B\xB4\xE6\x96\xB0\xE3\x81\x8C\xE6\x88\x90\xE5\x8A\x9F"
                              "\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82";
  const std::string successSjis = "\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\x8D\x58\x90\x56\x82\xAA"
                                  "\x90\xAC\x8C\xF7\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42";
  const std::string failure = "\xE3\x83\x97\xE3\x83\xAD\xE3\x82\xB0\xE3\x83\xA9\xE3\x83\xA0"
                              "\xE6\x9B\xB4\xE6\x96\xB0\xE3\x81\x8C\xE5\xA4\xB1\xE6\x95\x97"
                              "\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82";
  const std::string failureSjis = "\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\x8D\x58\x90\x56\x82\xAA"
                                  "\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42";
  const platform::CodePage cp = platform::Current().AnsiCodePage();
#ifdef _WIN32
  ASSERT_EQ(cp, platform::CodePage::Cp932) << "run under LANG=ja_JP.UTF-8";
#endif
  if (cp == platform::CodePage::SingleByte) GTEST_SKIP() << "no Japanese in a single-byte locale";
  const bool sjis = cp == platform::CodePage::Cp932;
  TempFolder root;
  MakeFolders(root / "X/LOG");
  FixedClock clock;
  LogWriter log(Join(root.Path(), "X/APLI/"));
  log.Write(platform::Current().FromUtf8(success), 1);
  log.Write(platform::Current().FromUtf8(failure), 1);
  EXPECT_EQ(ReadFile(root / "X/LOG/Velmor.log"),
            "2008/02/01 00:00:01 " + (sjis ? successSjis : success) + "\r\n" +
                "2008/02/01 00:00:01 " + (sjis ? failureSjis : failure) + "\r\n");
}

// A file that opens but then fails: the line is lost, the file keeps what it
// had, and nothing escapes WriteLog.
class FailingLogFile : public RecordingPlatform {
 public:
  enum class Fault { Seek, Write, Close };
  explicit FailingLogFile(Fault fault) : m_fault(fault) {}
  std::unique_ptr<platform::File> OpenFile(const std::string& path, platform::FileAccess access,
                                           platform::FileShare share) override {
    auto inner = RecordingPlatform::OpenFile(path, access, share);
    if (!inner) return inner;
    return std::make_unique<Faulty>(std::move(inner), m_fault);
  }

 private:
  class Faulty : public platform::File {
   public:
    Faulty(std::unique_ptr<platform::File> inner, Fault fault)
        : m_inner(std::move(inner)), m_fault(fault) {}
    long long Read(void* buffer, std::size_t size) override { return m_inner->Read(buffer, size); }
    bool Write(const void* data, std::size_t size) override {
      return m_fault == Fault::Write ? false : m_inner->Write(data, size);
    }
    bool SeekToEnd() override { return m_fault == Fault::Seek ? false : m_inner->SeekToEnd(); }
    bool Close() override {
      const bool closed = m_inner->Close();
      return m_fault == Fault::Close ? false : closed;
    }

   private:
    std::unique_ptr<platform::File> m_inner;
    Fault m_fault;
  };
  Fault m_fault;
};

TEST(LogFaults, ErrorsAfterOpeningLoseTheLineOnly) {
  for (auto fault : {FailingLogFile::Fault::Seek, FailingLogFile::Fault::Write,
                     FailingLogFile::Fault::Close}) {
    TempFolder root;
    WriteFile(root / "X/LOG/Velmor.log", "earlier line\r\n");
    {
      FailingLogFile failing(fault);
      LogWriter log(Join(root.Path(), "X/APLI/"));
      log.Write("t", 0);
      // The file was opened once, without sharing.
      EXPECT_EQ(failing.EventsStartingWith("open ").size(), 1u);
    }
    const std::string content = ReadFile(root / "X/LOG/Velmor.log");
    if (fault == FailingLogFile::Fault::Close) {
      // A failed close may or may not have stored the line; never more.
      EXPECT_TRUE(content == "earlier line\r\n" || content == "earlier line\r\n" + kBlanks + "t\r\n")
          << content;
    } else {
      // Without the end position nothing is written over the earlier line.
      EXPECT_EQ(content, "earlier line\r\n");
    }
  }
}

}  // namespace
