// A platform that makes chosen calls fail, for tests of what the updater
// does when the file system lets it down.
//
// Every call of the kinds below is counted. A test arms one kind to fail at
// its Nth call, once or from then on (a disk that stays full), runs the code
// under test and looks at the counts: when fewer than N calls were made no
// fault fired, so looping N = 1, 2, ... until then reaches every call. Each
// failure looks as the real system's does: nothing changes on disk (a copy
// leaves its destination as it was, a folder is not created), except that a
// failing write stores part of its bytes first, as a disk that fills up in
// the middle of a write does.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/ForwardingPlatform.h"

namespace platform {

enum class FaultCall {
  CopyFile,
  RemoveFile,
  CreateFolders,
  SetArchiveOnly,
  FileWrite,  // File::Write on any file opened through this platform
};
constexpr std::size_t kFaultCallKinds = 5;

// The kinds in declaration order, and a name for test output.
FaultCall FaultCallAt(std::size_t index);
const char* FaultCallName(FaultCall call);

enum class FaultMode {
  Once,        // only the Nth call fails
  FromThenOn,  // the Nth call and every later one of the kind fail
};
const char* FaultModeName(FaultMode mode);

class FaultInjectingPlatform : public ForwardingPlatform {
 public:
  FaultInjectingPlatform() = default;
  explicit FaultInjectingPlatform(Platform& inner) : ForwardingPlatform(inner) {}

  // Arms call: its nth call (counted from 1 since the last Reset) fails.
  // Other kinds stay as they are armed; n = 0 disarms the kind.
  void FailAt(FaultCall call, std::size_t n, FaultMode mode);
  // Disarms every kind and sets every count to 0.
  void Reset();

  // Calls of the kind since the last Reset, failed ones included.
  std::size_t CallCount(FaultCall call) const;
  // Calls made to fail since the last Reset, over all kinds.
  std::size_t FaultCount() const { return m_nFaults; }
  // The path of each call made to fail, in order (for a write, the path of
  // the file written).
  const std::vector<std::string>& FaultPaths() const { return m_faultPaths; }

  std::unique_ptr<File> OpenFile(const std::string& path, FileAccess access,
                                 FileShare share) override;
  bool SetArchiveOnly(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
  bool CreateFolders(const std::string& path) override;

  // Counts one call of the kind and says whether it is to fail; used by the
  // files this platform opens.
  bool CountAndDecide(FaultCall call, const std::string& path);

 private:
  struct Arming {
    std::size_t nAt = 0;  // 0: not armed
    FaultMode mode = FaultMode::Once;
    std::size_t nCalls = 0;
  };
  Arming m_armings[kFaultCallKinds];
  std::size_t m_nFaults = 0;
  std::vector<std::string> m_faultPaths;
};

}  // namespace platform
