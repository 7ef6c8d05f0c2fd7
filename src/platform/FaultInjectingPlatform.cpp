#include "platform/FaultInjectingPlatform.h"

#include <cerrno>
#include <utility>

namespace platform {

namespace {

std::size_t IndexOf(FaultCall call) { return static_cast<std::size_t>(call); }

// An open file whose writes are counted. A write chosen to fail stores the
// first half of its bytes and then reports the failure, as a write that
// runs out of disk space does; once the disk is full nothing more goes in.
class FaultInjectingFile final : public File {
 public:
  FaultInjectingFile(std::unique_ptr<File> inner, FaultInjectingPlatform& owner,
                     std::string path)
      : m_inner(std::move(inner)), m_owner(owner), m_strPath(std::move(path)) {}

  long long Read(void* buffer, std::size_t size) override { return m_inner->Read(buffer, size); }

  bool Write(const void* data, std::size_t size) override {
    if (!m_owner.CountAndDecide(FaultCall::FileWrite, m_strPath))
      return m_inner->Write(data, size);
    const std::size_t nStored = m_bFull ? 0 : size / 2;
    m_bFull = true;
    if (nStored > 0) m_inner->Write(data, nStored);
    errno = ENOSPC;
    return false;
  }

  bool SeekToEnd() override { return m_inner->SeekToEnd(); }
  bool Close() override { return m_inner->Close(); }

 private:
  std::unique_ptr<File> m_inner;
  FaultInjectingPlatform& m_owner;
  std::string m_strPath;
  bool m_bFull = false;
};

}  // namespace

FaultCall FaultCallAt(std::size_t index) { return static_cast<FaultCall>(index); }

const char* FaultCallName(FaultCall call) {
  switch (call) {
    case FaultCall::CopyFile: return "CopyFile";
    case FaultCall::RemoveFile: return "RemoveFile";
    case FaultCall::CreateFolders: return "CreateFolders";
    case FaultCall::SetArchiveOnly: return "SetArchiveOnly";
    case FaultCall::FileWrite: return "FileWrite";
  }
  return "?";
}

const char* FaultModeName(FaultMode mode) {
  return mode == FaultMode::Once ? "once" : "from then on";
}

void FaultInjectingPlatform::FailAt(FaultCall call, std::size_t n, FaultMode mode) {
  Arming& arming = m_armings[IndexOf(call)];
  arming.nAt = n;
  arming.mode = mode;
}

void FaultInjectingPlatform::Reset() {
  for (Arming& arming : m_armings) arming = Arming();
  m_nFaults = 0;
  m_faultPaths.clear();
}

std::size_t FaultInjectingPlatform::CallCount(FaultCall call) const {
  return m_armings[IndexOf(call)].nCalls;
}

bool FaultInjectingPlatform::CountAndDecide(FaultCall call, const std::string& path) {
  Arming& arming = m_armings[IndexOf(call)];
  const std::size_t n = ++arming.nCalls;
  if (arming.nAt == 0) return false;
  const bool bFail = arming.mode == FaultMode::Once ? n == arming.nAt : n >= arming.nAt;
  if (!bFail) return false;
  ++m_nFaults;
  m_faultPaths.push_back(path);
  return true;
}

std::unique_ptr<File> FaultInjectingPlatform::OpenFile(const std::string& path,
                                                       FileAccess access, FileShare share) {
  std::unique_ptr<File> file = ForwardingPlatform::OpenFile(path, access, share);
  if (!file) return file;
  return std::make_unique<FaultInjectingFile>(std::move(file), *this, path);
}

bool FaultInjectingPlatform::SetArchiveOnly(const std::string& path) {
  if (CountAndDecide(FaultCall::SetArchiveOnly, path)) {
    errno = EACCES;
    return false;
  }
  return ForwardingPlatform::SetArchiveOnly(path);
}

bool FaultInjectingPlatform::RemoveFile(const std::string& path) {
  if (CountAndDecide(FaultCall::RemoveFile, path)) {
    errno = EACCES;  // in use, or not ours to delete
    return false;
  }
  return ForwardingPlatform::RemoveFile(path);
}

bool FaultInjectingPlatform::CopyFile(const std::string& from, const std::string& to,
                                      bool failIfExists) {
  if (CountAndDecide(FaultCall::CopyFile, to)) {
    errno = ENOSPC;  // the destination stays as it was, as after a real failed copy
    return false;
  }
  return ForwardingPlatform::CopyFile(from, to, failIfExists);
}

bool FaultInjectingPlatform::CreateFolders(const std::string& path) {
  if (CountAndDecide(FaultCall::CreateFolders, path)) {
    errno = ENOSPC;
    return false;
  }
  return ForwardingPlatform::CreateFolders(path);
}

}  // namespace platform
