// A Platform that hands every call to another one. Tests derive from it and
// override the one call they need to change (a failing copy, a fixed clock),
// then install it with platform::SetCurrent; everything else stays real.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace platform {

class ForwardingPlatform : public Platform {
 public:
  ForwardingPlatform() : m_inner(Native()) {}
  explicit ForwardingPlatform(Platform& inner) : m_inner(inner) {}

  Platform& Inner() const { return m_inner; }

  char Separator() const override { return m_inner.Separator(); }
  std::string CurrentDirectory() override { return m_inner.CurrentDirectory(); }
  std::string DriveRoot(const std::string& drive) override { return m_inner.DriveRoot(drive); }
  int ProfileInt(const std::string& section, const std::string& key, int defaultValue,
                 const std::string& path) override {
    return m_inner.ProfileInt(section, key, defaultValue, path);
  }
  std::string ProfileString(const std::string& section, const std::string& key,
                            const std::string& defaultValue, std::size_t bufferSize,
                            const std::string& path) override {
    return m_inner.ProfileString(section, key, defaultValue, bufferSize, path);
  }

  std::unique_ptr<File> OpenFile(const std::string& path, FileAccess access,
                                 FileShare share) override {
    return m_inner.OpenFile(path, access, share);
  }
  std::uint32_t GetAttributes(const std::string& path) override {
    return m_inner.GetAttributes(path);
  }
  bool SetArchiveOnly(const std::string& path) override { return m_inner.SetArchiveOnly(path); }
  bool RemoveFile(const std::string& path) override { return m_inner.RemoveFile(path); }
  bool RemoveFolder(const std::string& path) override { return m_inner.RemoveFolder(path); }
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
    return m_inner.CopyFile(from, to, failIfExists);
  }
  bool RenameOver(const std::string& from, const std::string& to) override {
    return m_inner.RenameOver(from, to);
  }
  bool FlushFileSystem(const std::string& folder) override {
    return m_inner.FlushFileSystem(folder);
  }
  bool CreateFolders(const std::string& path) override { return m_inner.CreateFolders(path); }
  std::unique_ptr<FolderSearch> SearchFolder(const std::string& folder) override {
    return m_inner.SearchFolder(folder);
  }

  bool MutexExists(const std::string& name) override { return m_inner.MutexExists(name); }
  std::unique_ptr<MutexHold> HoldMutex(const std::string& name) override {
    return m_inner.HoldMutex(name);
  }
  bool StartMainProgram(const char* parameters) override {
    return m_inner.StartMainProgram(parameters);
  }

  LocalTime Now() override { return m_inner.Now(); }
  CodePage AnsiCodePage() override { return m_inner.AnsiCodePage(); }
  std::string FromUtf8(const std::string& utf8) override { return m_inner.FromUtf8(utf8); }

 private:
  Platform& m_inner;
};

}  // namespace platform
