// The Win32 backend. Seen only by the files of this folder; the core reaches
// it through platform::Native() / platform::Current().
//
// Each source file includes this header before <windows.h>, so the member
// CopyFile keeps its name here; the file that defines it #undefs the macro.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace platform {

class Win32Platform final : public Platform {
 public:
  char Separator() const override { return '\\'; }
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

}  // namespace platform
