// The text-mode reader and the first-line reader on any bytes. The reader
// is fed through a file that hands out its content in chunks of sizes the
// input chooses (and may fail part way), so a CR LF or a lead byte split
// across two reads is tried as well. What it reads must equal the content
// in text mode: cut at the first 0x1A, every CR LF read as LF, split at LF.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "app/UpdateApp.h"
#include "platform/TextFile.h"

namespace {

class ChunkedFile final : public platform::File {
 public:
  ChunkedFile(std::string content, std::vector<std::size_t> chunks, std::size_t failAt)
      : m_content(std::move(content)), m_chunks(std::move(chunks)), m_failAt(failAt) {}
  long long Read(void* buffer, std::size_t size) override {
    if (m_pos >= m_failAt) return -1;
    std::size_t n = m_chunks.empty() ? size : m_chunks[m_next++ % m_chunks.size()];
    n = std::min({n, size, m_content.size() - m_pos, m_failAt - m_pos});
    std::memcpy(buffer, m_content.data() + m_pos, n);
    m_pos += n;
    return static_cast<long long>(n);
  }
  bool Write(const void*, std::size_t) override { return false; }
  bool SeekToEnd() override { return false; }
  bool Close() override { return true; }

 private:
  std::string m_content;
  std::vector<std::size_t> m_chunks;
  std::size_t m_failAt;
  std::size_t m_pos = 0;
  std::size_t m_next = 0;
};

// The content as text mode reads it.
std::string TextMode(const std::string& raw) {
  std::string text = raw.substr(0, raw.find('\x1A'));
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t lf = text.find('\n', pos);
    if (lf == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, lf - pos));
    pos = lf + 1;
  }
  return lines;
}

// A scratch file, made once and removed at exit. A plain array: it
// outlives the exit handler.
char g_scratch[256];

const char* ScratchPath() {
  if (g_scratch[0] == 0) {
    const char* dir = std::getenv("TMPDIR");
    std::snprintf(g_scratch, sizeof g_scratch, "%s/velmor-fuzz-XXXXXX", dir ? dir : "/tmp");
    const int fd = ::mkstemp(g_scratch);
    FUZZ_CHECK(fd >= 0);
    ::close(fd);
    std::atexit([] { ::unlink(g_scratch); });
  }
  return g_scratch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<std::size_t> chunks;
  const std::size_t nChunks = in.ConsumeIntegralInRange<std::size_t>(0, 4);
  for (std::size_t i = 0; i < nChunks; ++i) chunks.push_back(in.ConsumeIntegralInRange<std::size_t>(1, 9));
  const bool bFail = in.ConsumeIntegralInRange<int>(0, 7) == 0;
  const std::size_t failAfter = in.ConsumeIntegral<std::uint16_t>();
  const std::string content = in.ConsumeRemainingBytesAsString();
  const std::string text = TextMode(content);
  const std::vector<std::string> expected = Lines(text);

  TextReader reader(std::make_unique<ChunkedFile>(content, chunks,
                                                  bFail ? failAfter : std::string::npos));
  std::vector<std::string> got;
  std::string line;
  while (reader.ReadLine(line)) {
    got.push_back(line);
    FUZZ_CHECK(got.size() <= expected.size() + 1);
  }
  if (!bFail || failAfter >= content.size()) {
    FUZZ_CHECK(!reader.HadError() || failAfter == content.size());
    if (!reader.HadError()) FUZZ_CHECK(got == expected);
  } else {
    FUZZ_CHECK(reader.HadError() || content.find('\x1A') < failAfter);
    // What came before the error is what text mode reads there, the line cut
    // short by it (perhaps just after its CR) included.
    std::string joined;
    for (std::size_t i = 0; i < got.size(); ++i) joined += (i ? "\n" : "") + got[i];
    const std::string cut = joined.size() && joined.back() == '\r' ? joined.substr(0, joined.size() - 1) : joined;
    FUZZ_CHECK(text.compare(0, joined.size(), joined) == 0 || text.compare(0, cut.size(), cut) == 0);
  }
  reader.Close();

  // The real first-line reader through a real file.
  FILE* f = std::fopen(ScratchPath(), "wb");
  FUZZ_CHECK(f != nullptr);
  FUZZ_CHECK(std::fwrite(content.data(), 1, content.size(), f) == content.size());
  std::fclose(f);
  FUZZ_CHECK(ReadFirstLine(ScratchPath()) == (expected.empty() ? std::string() : expected[0]));
  return 0;
}
