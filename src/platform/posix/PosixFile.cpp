// Open files of the POSIX backend: plain descriptors. POSIX has no share
// modes, so FileShare is accepted and not enforced; what Windows refuses for
// read-only files and folders is refused here as well.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/PosixPlatform.h"

namespace platform {

namespace {

class PosixFile final : public File {
 public:
  explicit PosixFile(int fd) : m_fd(fd) {}
  ~PosixFile() override { Close(); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  long long Read(void* buffer, std::size_t size) override {
    if (m_fd < 0) return -1;
    for (;;) {
      ssize_t n = ::read(m_fd, buffer, size);
      if (n >= 0) return static_cast<long long>(n);
      if (errno != EINTR) return -1;
    }
  }

  bool Write(const void* data, std::size_t size) override {
    if (m_fd < 0) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      ssize_t n = ::write(m_fd, p, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      p += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

  bool SeekToEnd() override { return m_fd >= 0 && ::lseek(m_fd, 0, SEEK_END) >= 0; }

  bool Close() override {
    if (m_fd < 0) return false;
    int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }

 private:
  int m_fd;
};

}  // namespace

std::unique_ptr<File> PosixPlatform::OpenFile(const std::string& path, FileAccess access,
                                              FileShare /*share*/) {
  int flags = O_CLOEXEC;
  switch (access) {
    case FileAccess::Read: flags |= O_RDONLY; break;
    case FileAccess::WriteExisting: flags |= O_WRONLY; break;
    case FileAccess::CreateWrite: flags |= O_WRONLY | O_CREAT; break;
  }
  if (access != FileAccess::Read) {
    // Root may write anything; Windows lets nobody write a read-only file.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0) {
      errno = EACCES;
      return nullptr;
    }
  }
  int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return nullptr;
  }
  // Emptied only once it is known to be a file we may write.
  if (access == FileAccess::CreateWrite && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixFile>(fd);
}

}  // namespace platform
