// The POSIX backend. Seen only by the files of this folder; the core reaches
// it through platform::Native() / platform::Current().
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace platform {

class PosixPlatform final : public Platform {
 public:
  char Separator() const override { return '/'; }
  std::string CurrentDirectory() override;
  std::string DriveRoot(const std::string& drive) override;
  int ProfileInt(const std::string& section, const std::string& key, int defaultValue,
                 const std::string& path) override;
  std::string ProfileString(const std::string& section, const std::string& key,
                            const std::string& defaultValue, std::size_t bufferSize,
                            const std::string& path) override;

  std::unique_ptr<File> OpenFile(const std::string& path, FileAccess access,
                                 FileShare share) override;
  std::uint32_t GetAttributes(const std::string& path) override;
  bool SetArchiveOnly(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
  bool RenameOver(const std::string& from, const std::string& to) override;
  bool FlushFileSystem(const std::string& folder) override;
  bool CreateFolders(const std::string& path) override;
  std::unique_ptr<FolderSearch> SearchFolder(const std::string& folder) override;

  bool MutexExists(const std::string& name) override;
  std::unique_ptr<MutexHold> HoldMutex(const std::string& name) override;
  bool StartMainProgram(const char* parameters) override;

  LocalTime Now() override;
  CodePage AnsiCodePage() override;
  std::string FromUtf8(const std::string& utf8) override;
};

namespace posix {

// The whole content of a file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& content);

// A suffix appended to a destination's name for the temporary file of a
// copy with replace; the next copy to the same destination removes a
// leftover of an interrupted one.
constexpr const char* kCopyTempSuffix = ".velmor-tmp";

}  // namespace posix

}  // namespace platform
