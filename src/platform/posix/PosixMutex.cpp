// Named mutexes of the POSIX backend: an advisory flock on "<name>.lock" in
// $XDG_RUNTIME_DIR (or /tmp). The holder keeps an exclusive lock for its
// lifetime; the lock goes with the process however it ends, so a killed
// holder never leaves the mutex behind. The lock file itself stays: removing
// it would let a new holder lock a file that a probe no longer finds.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/PosixPlatform.h"

namespace platform {

namespace {

std::string LockPath(const std::string& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime != nullptr && *runtime != '\0' ? runtime : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder + name + ".lock";
}

class PosixMutexHold final : public MutexHold {
 public:
  explicit PosixMutexHold(int fd) : m_fd(fd) {}
  ~PosixMutexHold() override { ::close(m_fd); }  // releases the lock
  PosixMutexHold(const PosixMutexHold&) = delete;
  PosixMutexHold& operator=(const PosixMutexHold&) = delete;

 private:
  int m_fd;
};

int LockRetryingOnSignal(int fd, int operation) {
  int r;
  do {
    r = ::flock(fd, operation);
  } while (r != 0 && errno == EINTR);
  return r;
}

}  // namespace

bool PosixPlatform::MutexExists(const std::string& name) {
  int fd = ::open(LockPath(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // A shared lock is refused only while someone holds the exclusive one. A
  // shared lock we get is dropped at once with the descriptor.
  bool held = LockRetryingOnSignal(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

std::unique_ptr<MutexHold> PosixPlatform::HoldMutex(const std::string& name) {
  int fd = ::open(LockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  if (LockRetryingOnSignal(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixMutexHold>(fd);
}

}  // namespace platform
