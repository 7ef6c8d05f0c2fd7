// Folders, settings and the clock of the POSIX backend, and Native().
#include "platform/posix/PosixPlatform.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/ProfileReader.h"

namespace platform {

namespace {
// The longest current directory the updater accepts: MAX_PATH less the
// terminating byte, as GetCurrentDirectoryA with a 260-byte buffer.
constexpr std::size_t kMaxDirectory = 259;
}  // namespace

namespace posix {

bool ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[8192];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      content.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      ok = false;  // a folder, or a read error
      break;
    }
  }
  ::close(fd);
  if (!ok) content.clear();
  return ok;
}

}  // namespace posix

std::string PosixPlatform::CurrentDirectory() {
  std::vector<char> buffer(PATH_MAX + 1);
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return std::string();
  std::string dir(buffer.data());
  if (dir.size() > kMaxDirectory) return std::string();
  return dir;
}

std::string PosixPlatform::DriveRoot(const std::string& drive) {
  const std::string variable = "VELMOR_DRIVE_" + drive;
  const char* value = std::getenv(variable.c_str());
  if (value != nullptr) return std::string(value) + "/";
  return "/mnt/" + drive + "/";
}

// A file that cannot be read reads as empty, so every value takes its
// default, as with the Windows functions.
int PosixPlatform::ProfileInt(const std::string& section, const std::string& key,
                              int defaultValue, const std::string& path) {
  std::string content;
  posix::ReadWholeFile(path, content);
  return profile::ReadInt(content, section, key, defaultValue);
}

std::string PosixPlatform::ProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue,
                                         std::size_t bufferSize, const std::string& path) {
  std::string content;
  posix::ReadWholeFile(path, content);
  return profile::ReadString(content, section, key, defaultValue, bufferSize);
}

LocalTime PosixPlatform::Now() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  LocalTime t;
  if (::localtime_r(&now, &tm) == nullptr) return t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  return t;
}

Platform& Native() {
  static PosixPlatform native;
  return native;
}

}  // namespace platform
