#include "platform/TextFile.h"

#include <utility>

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr char kEndOfFile = '\x1A';  // DOS end of file: nothing after it is read

}  // namespace

TextReader::TextReader(std::unique_ptr<platform::File> file) : m_file(std::move(file)) {
  if (!m_file) m_bEnd = true;
}

bool TextReader::Fill() {
  m_buffer.clear();
  m_pos = 0;
  if (m_bEnd) return false;
  m_buffer.resize(kChunkSize);
  const long long count = m_file->Read(&m_buffer[0], m_buffer.size());
  if (count <= 0) {
    if (count < 0) m_bError = true;
    m_bEnd = true;
    m_buffer.clear();
    return false;
  }
  m_buffer.resize(static_cast<std::size_t>(count));
  return true;
}

bool TextReader::ReadLine(std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    if (m_pos >= m_buffer.size() && !Fill()) return any;
    const std::size_t stop = m_buffer.find_first_of("\n\x1A", m_pos);
    const std::size_t end = stop == std::string::npos ? m_buffer.size() : stop;
    line.append(m_buffer, m_pos, end - m_pos);
    any = any || end > m_pos;
    if (stop == std::string::npos) {
      m_pos = m_buffer.size();
      continue;
    }
    if (m_buffer[stop] == kEndOfFile) {
      m_bEnd = true;
      m_buffer.clear();
      m_pos = 0;
      return any;
    }
    // The line holds every byte since the previous LF, also across chunks,
    // so its last byte is the one just before this LF.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    m_pos = stop + 1;
    return true;
  }
}

void TextReader::Close() {
  if (m_file) m_file->Close();
  m_file.reset();
  m_bEnd = true;
  m_buffer.clear();
  m_pos = 0;
}

TextWriter::TextWriter(std::unique_ptr<platform::File> file) : m_file(std::move(file)) {
  if (!m_file) m_bError = true;
}

// After a failed write nothing more is written, so the file never holds
// text with a hole in it.
bool TextWriter::WriteString(const std::string& text) {
  if (m_bError || !m_file) return false;
  std::string out;
  out.reserve(text.size() + text.size() / 16 + 2);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  if (!out.empty() && !m_file->Write(out.data(), out.size())) m_bError = true;
  return !m_bError;
}

bool TextWriter::SeekToEnd() {
  if (m_bError || !m_file) return false;
  if (!m_file->SeekToEnd()) m_bError = true;
  return !m_bError;
}

bool TextWriter::Close() {
  if (!m_file) return false;
  const bool closed = m_file->Close();
  m_file.reset();
  return closed && !m_bError;
}

std::string ReadFirstLineOf(const std::string& path, platform::FileShare share) {
  TextReader reader(platform::Current().OpenFile(path, platform::FileAccess::Read, share));
  std::string line;
  const bool got = reader.ReadLine(line);
  // A line cut short by a read error is no line at all: half a version stamp
  // would compare as a different version.
  const bool failed = reader.HadError();
  reader.Close();
  if (!got || failed) return std::string();
  return line;
}
