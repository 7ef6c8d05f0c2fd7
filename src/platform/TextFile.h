// Text mode over a raw platform::File, the same code on both platforms:
// CR LF reads as LF, a byte 0x1A ends what is read, LF writes as CR LF.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

class TextReader {
 public:
  explicit TextReader(std::unique_ptr<platform::File> file);
  // The next line without its LF (a CR just before the LF is dropped, any
  // other CR stays). False at the end of the file before any character, and
  // after a read error (the line read so far is then still returned first).
  bool ReadLine(std::string& line);
  bool HadError() const { return m_bError; }
  void Close();

 private:
  bool Fill();
  std::unique_ptr<platform::File> m_file;
  std::string m_buffer;
  std::size_t m_pos = 0;
  bool m_bEnd = false;
  bool m_bError = false;
};

class TextWriter {
 public:
  explicit TextWriter(std::unique_ptr<platform::File> file);
  // Writes text with every LF as CR LF. False on a write error.
  bool WriteString(const std::string& text);
  bool SeekToEnd();
  // Flushes and closes; false when anything written could not be stored.
  bool Close();

 private:
  std::unique_ptr<platform::File> m_file;
  bool m_bError = false;
};

// Opens path with FileAccess::Read and the given sharing and reads its first
// line: empty when it cannot be opened or holds no character.
std::string ReadFirstLineOf(const std::string& path, platform::FileShare share);
