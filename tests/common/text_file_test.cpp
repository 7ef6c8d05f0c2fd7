// Text mode on real files: CR LF reads as LF, LF writes as CR LF, 0x1A ends
// what is read; read and write errors after the open end quietly.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/TestSupport.h"
#include "platform/ForwardingPlatform.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

namespace {

using namespace std::string_literals;
using platform::FileAccess;
using platform::FileShare;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

// The reader takes the file in chunks of this size.
constexpr std::size_t kChunk = 64 * 1024;

std::vector<std::string> ReadAllLines(const std::string& path) {
  TextReader reader(platform::Current().OpenFile(path, FileAccess::Read, FileShare::None));
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  EXPECT_FALSE(reader.HadError());
  reader.Close();
  return lines;
}

TEST(TextFileTest, ReadsLinesInTextMode) {
  const std::string xs(kChunk - 1, 'x');
  struct Row {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  } rows[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"LF", "a\nb\n", {"a", "b"}},
      {"lone CR inside a line", "a\rb\r\n", {"a\rb"}},
      {"lone CR at the end", "a\r", {"a\r"}},
      {"CR CR LF", "a\r\r\n", {"a\r"}},
      {"CR before 0x1A", "a\r\x1A", {"a\r"}},
      {"0x1A inside a line", "ab\x1A" "cd\r\nef\r\n", {"ab"}},
      {"0x1A at a line start", "ab\r\n\x1A" "cd\r\n", {"ab"}},
      {"0x1A first", "\x1A" "ab\r\n", {}},
      {"no line end", "abc", {"abc"}},
      {"empty file", "", {}},
      {"empty first line", "\r\nx", {"", "x"}},
      {"empty lines", "\n\n", {"", ""}},
      {"NUL is an ordinary byte", "a\0b\r\n"s, {"a\0b"s}},
      {"CR LF across chunks", xs + "\r\ny", {xs, "y"}},
      {"LF first in the next chunk", std::string(kChunk, 'x') + "\ny", {std::string(kChunk, 'x'), "y"}},
      {"CR ends a chunk, no LF", xs + "\rz\n", {xs + "\rz"}},
      {"0x1A first in the next chunk", std::string(kChunk, 'x') + "\x1A" "tail",
       {std::string(kChunk, 'x')}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TempFolder folder;
    const std::string path = folder / "t.txt";
    WriteFile(path, r.bytes);
    EXPECT_EQ(ReadAllLines(path), r.lines);
  }
}

TEST(TextFileTest, ReadsAOneMegabyteLineInOnePiece) {
  std::string big;
  for (int i = 0; big.size() < 1024 * 1024; ++i) big += "line" + std::to_string(i) + ";";
  TempFolder folder;
  const std::string path = folder / "big.txt";
  WriteFile(path, big + "\r\nend\r\n");
  const std::vector<std::string> lines = ReadAllLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0] == big) << "first line of " << lines[0].size() << " bytes";
  EXPECT_EQ(lines[1], "end");
}

TEST(TextFileTest, WriterWritesEveryLfAsCrLf) {
  TempFolder folder;
  const std::string path = folder / "out.txt";
  TextWriter writer(platform::Current().OpenFile(path, FileAccess::CreateWrite, FileShare::None));
  EXPECT_TRUE(writer.WriteString("a\nb"));
  EXPECT_TRUE(writer.WriteString("\n\nc\r\n"));  // a CR already there stays
  EXPECT_TRUE(writer.WriteString(""));
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(ReadFile(path), "a\r\nb\r\n\r\nc\r\r\n");
}

TEST(TextFileTest, WriterAppendsAfterSeekToEnd) {
  TempFolder folder;
  const std::string path = folder / "log.txt";
  WriteFile(path, "old\r\n");
  TextWriter writer(platform::Current().OpenFile(path, FileAccess::WriteExisting, FileShare::None));
  EXPECT_TRUE(writer.SeekToEnd());
  EXPECT_TRUE(writer.WriteString("new\n"));
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(ReadFile(path), "old\r\nnew\r\n");
}

TEST(TextFileTest, WriterWithoutFileReportsFalse) {
  TextWriter writer(nullptr);
  EXPECT_FALSE(writer.WriteString("x\n"));
  EXPECT_FALSE(writer.SeekToEnd());
  EXPECT_FALSE(writer.Close());
  TextReader reader(nullptr);
  std::string line = "stale";
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_EQ(line, "");
}

TEST(TextFileTest, ReadFirstLineOf) {
  struct Row {
    const char* name;
    const char* bytes;  // null: no file
    std::string line;
  } rows[] = {
      {"CR LF", "1.10\r\n1.9\r\n", "1.10"},
      {"no line end", "2024.01", "2024.01"},
      {"trailing blank kept", "1.0 \r\n", "1.0 "},
      {"empty first line", "\r\n1.0\r\n", ""},
      {"empty file", "", ""},
      {"0x1A first", "\x1A" "1.0", ""},
      {"missing file", nullptr, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TempFolder folder;
    const std::string path = folder / "VERSION.INI";
    if (r.bytes != nullptr) WriteFile(path, r.bytes);
    EXPECT_EQ(ReadFirstLineOf(path, FileShare::None), r.line);
    EXPECT_EQ(ReadFirstLineOf(path, FileShare::Read), r.line);
  }
}

// --- errors after a successful open, injected through the platform ---

// Passes the first goodBytes bytes of the real file, then fails every read.
class FailingReadFile : public platform::File {
 public:
  FailingReadFile(std::unique_ptr<platform::File> inner, std::size_t goodBytes)
      : m_inner(std::move(inner)), m_left(goodBytes) {}
  long long Read(void* buffer, std::size_t size) override {
    if (m_left == 0) return -1;
    const long long n = m_inner->Read(buffer, size < m_left ? size : m_left);
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

// Lets goodWrites writes through, then fails every write; Close may fail.
class FailingWriteFile : public platform::File {
 public:
  FailingWriteFile(std::unique_ptr<platform::File> inner, int goodWrites, bool closeFails)
      : m_inner(std::move(inner)), m_left(goodWrites), m_closeFails(closeFails) {}
  long long Read(void* buffer, std::size_t size) override { return m_inner->Read(buffer, size); }
  bool Write(const void* data, std::size_t size) override {
    ++writes;
    if (m_left == 0) return false;
    --m_left;
    return m_inner->Write(data, size);
  }
  bool SeekToEnd() override { return m_inner->SeekToEnd(); }
  bool Close() override { return m_inner->Close() && !m_closeFails; }
  int writes = 0;

 private:
  std::unique_ptr<platform::File> m_inner;
  int m_left;
  bool m_closeFails;
};

class FaultyFilesPlatform : public platform::ForwardingPlatform {
 public:
  std::size_t goodReadBytes = 0;
  int goodWrites = 0;
  bool closeFails = false;
  FailingWriteFile* lastWriter = nullptr;

  std::unique_ptr<platform::File> OpenFile(const std::string& path, FileAccess access,
                                           FileShare share) override {
    std::unique_ptr<platform::File> real = Inner().OpenFile(path, access, share);
    if (!real) return real;
    if (access == FileAccess::Read) {
      return std::make_unique<FailingReadFile>(std::move(real), goodReadBytes);
    }
    auto writer = std::make_unique<FailingWriteFile>(std::move(real), goodWrites, closeFails);
    lastWriter = writer.get();
    return writer;
  }
};

class TextFileFaultTest : public testing::Test {
 protected:
  void SetUp() override { platform::SetCurrent(&m_faulty); }
  void TearDown() override { platform::SetCurrent(nullptr); }
  FaultyFilesPlatform m_faulty;
  TempFolder m_folder;
};

TEST_F(TextFileFaultTest, ReadErrorEndsTheReaderAfterThePartialLine) {
  const std::string path = m_folder / "t.txt";
  WriteFile(path, "first\r\nsecond line\r\nthird\r\n");
  m_faulty.goodReadBytes = 10;  // "first\r\nsec"
  TextReader reader(platform::Current().OpenFile(path, FileAccess::Read, FileShare::None));
  std::string line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "first");
  EXPECT_FALSE(reader.HadError());
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "sec");
  EXPECT_TRUE(reader.HadError());
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_FALSE(reader.ReadLine(line));
  reader.Close();
}

TEST_F(TextFileFaultTest, ReadErrorBeforeAnyByteReadsNothing) {
  const std::string path = m_folder / "t.txt";
  WriteFile(path, "first\r\n");
  m_faulty.goodReadBytes = 0;
  TextReader reader(platform::Current().OpenFile(path, FileAccess::Read, FileShare::None));
  std::string line;
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_TRUE(reader.HadError());
}

// Half a version stamp would compare as another version: a first line cut
// by a read error reads as no stamp at all.
TEST_F(TextFileFaultTest, FirstLineCutByReadErrorIsEmpty) {
  const std::string path = m_folder / "VERSION.INI";
  WriteFile(path, "2024.10\r\nrest\r\n");
  m_faulty.goodReadBytes = 4;
  EXPECT_EQ(ReadFirstLineOf(path, FileShare::None), "");
  m_faulty.goodReadBytes = 9;  // the whole first line and its LF arrive
  EXPECT_EQ(ReadFirstLineOf(path, FileShare::None), "2024.10");
}

TEST_F(TextFileFaultTest, WriteErrorIsReportedAndNothingMoreIsWritten) {
  const std::string path = m_folder / "out.txt";
  m_faulty.goodWrites = 1;
  TextWriter writer(platform::Current().OpenFile(path, FileAccess::CreateWrite, FileShare::None));
  ASSERT_NE(m_faulty.lastWriter, nullptr);
  EXPECT_TRUE(writer.WriteString("one\n"));
  EXPECT_FALSE(writer.WriteString("two\n"));
  EXPECT_FALSE(writer.WriteString("three\n"));
  EXPECT_EQ(m_faulty.lastWriter->writes, 2);  // the third never reached the file
  EXPECT_FALSE(writer.Close());
  EXPECT_EQ(ReadFile(path), "one\r\n");
}

TEST_F(TextFileFaultTest, FailedCloseIsReported) {
  const std::string path = m_folder / "out.txt";
  m_faulty.goodWrites = 10;
  m_faulty.closeFails = true;
  TextWriter writer(platform::Current().OpenFile(path, FileAccess::CreateWrite, FileShare::None));
  EXPECT_TRUE(writer.WriteString("one\n"));
  EXPECT_FALSE(writer.Close());
}

}  // namespace
