// File copy of the POSIX backend: content, permission bits and modification
// time. With replace the destination is swapped in whole by a rename, so an
// interruption leaves its old or its new content, never a part.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/PosixPlatform.h"

namespace platform {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return m_fd; }
  void Reset(int fd) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = fd;
  }
  bool Close() {
    int fd = m_fd;
    m_fd = -1;
    return fd >= 0 && ::close(fd) == 0;
  }

 private:
  int m_fd;
};

bool CopyByReadWrite(int in, int out) {
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    const char* p = buffer;
    while (n > 0) {
      ssize_t w = ::write(out, p, static_cast<std::size_t>(n));
      if (w < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      p += w;
      n -= w;
    }
  }
}

// The kernel copies within one file system; where it refuses (another file
// system, a special file, an old kernel) the rest goes by read and write.
// Both advance the descriptors' offsets, so the fallback goes on from there.
bool CopyContent(int in, int out) {
  for (;;) {
    ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
    if (n == 0) return true;
    if (n > 0) continue;
    if (errno == EINTR) continue;
    if (errno == ENOSYS || errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP ||
        errno == EPERM || errno == EBADF || errno == ETXTBSY) {
      return CopyByReadWrite(in, out);
    }
    return false;
  }
}

// Content, permission bits and times of source onto the open destination.
bool CopyInto(int in, const struct stat& source, int out) {
  if (!CopyContent(in, out)) return false;
  if (::fchmod(out, source.st_mode & 0777) != 0) return false;
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = source.st_mtim;
  return ::futimens(out, times) == 0;
}

std::string ParentFolder(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Makes a rename durable. A folder that cannot be synced (some file systems
// refuse) does not fail the rename.
void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// What Windows refuses to replace, refused for every user, root included: a
// folder and a read-only file.
bool MayReplace(const std::string& to) {
  struct stat existing;
  if (::stat(to.c_str(), &existing) != 0) return true;
  if (S_ISDIR(existing.st_mode)) {
    errno = EISDIR;
    return false;
  }
  if ((existing.st_mode & 0222) == 0) {
    errno = EACCES;
    return false;
  }
  return true;
}

bool CopyToNew(int in, const struct stat& source, const std::string& to) {
  // O_EXCL refuses anything at the destination, a dangling link included.
  Descriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (out.Get() < 0) return false;
  if (!CopyInto(in, source, out.Get()) || !out.Close()) {
    int saved = errno;
    ::unlink(to.c_str());  // no partial copy stays behind
    errno = saved;
    return false;
  }
  return true;
}

bool CopyReplacing(int in, const struct stat& source, const std::string& to) {
  if (!MayReplace(to)) return false;
  const std::string temp = to + posix::kCopyTempSuffix;
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
  Descriptor out(::open(temp.c_str(), flags, 0600));
  if (out.Get() < 0 && errno == EEXIST) {
    ::unlink(temp.c_str());  // left by an interrupted copy
    out.Reset(::open(temp.c_str(), flags, 0600));
  }
  if (out.Get() < 0) return false;
  // No sync per file: the rename alone makes the swap whole after a crash of
  // the process, and the update flushes the file system once before the
  // version stamp changes (FlushFileSystem).
  bool ok = CopyInto(in, source, out.Get());
  ok = out.Close() && ok;
  if (!ok || ::rename(temp.c_str(), to.c_str()) != 0) {
    int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return false;
  }
  return true;
}

}  // namespace

bool PosixPlatform::CopyFile(const std::string& from, const std::string& to,
                             bool failIfExists) {
  Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.Get() < 0) return false;
  struct stat source;
  if (::fstat(in.Get(), &source) != 0) return false;
  if (S_ISDIR(source.st_mode)) {
    errno = EISDIR;
    return false;
  }
  return failIfExists ? CopyToNew(in.Get(), source, to) : CopyReplacing(in.Get(), source, to);
}

bool PosixPlatform::RenameOver(const std::string& from, const std::string& to) {
  if (!MayReplace(to)) return false;
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  SyncFolder(ParentFolder(to));
  return true;
}

bool PosixPlatform::FlushFileSystem(const std::string& folder) {
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.Get() >= 0 && ::syncfs(fd.Get()) == 0;
}

}  // namespace platform
