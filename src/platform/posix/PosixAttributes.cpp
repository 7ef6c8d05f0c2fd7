// Windows attribute bits over POSIX modes, and removal of files and folders
// with the refusals Windows makes: a file without any write permission bit
// is read-only for every user, root included.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/PosixPlatform.h"

namespace platform {

namespace {

bool HasNoWriteBit(mode_t mode) { return (mode & 0222) == 0; }

}  // namespace

std::uint32_t PosixPlatform::GetAttributes(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return kInvalidAttributes;
  if (S_ISLNK(st.st_mode)) {
    // A link is a reparse point; a link to a folder is a folder as well.
    struct stat target;
    bool toFolder = ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
    return kAttrReparsePoint | (toFolder ? kAttrDirectory : kAttrArchive);
  }
  std::uint32_t attributes = 0;
  if (S_ISDIR(st.st_mode)) {
    attributes = kAttrDirectory;
  } else {
    attributes = kAttrArchive;
  }
  if (HasNoWriteBit(st.st_mode)) attributes = (attributes & ~kAttrArchive) | kAttrReadOnly;
  return attributes;
}

bool PosixPlatform::SetArchiveOnly(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool PosixPlatform::RemoveFile(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return false;
  // A link to a folder goes with RemoveFolder, as a folder junction does.
  struct stat target;
  if (S_ISDIR(st.st_mode) ||
      (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode))) {
    errno = EISDIR;
    return false;
  }
  if (!S_ISLNK(st.st_mode) && HasNoWriteBit(st.st_mode)) {
    errno = EACCES;
    return false;
  }
  return ::unlink(path.c_str()) == 0;
}

bool PosixPlatform::RemoveFolder(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return false;
  if (S_ISLNK(st.st_mode)) {
    struct stat target;
    if (::stat(path.c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) {
      errno = ENOTDIR;
      return false;
    }
    return ::unlink(path.c_str()) == 0;
  }
  return ::rmdir(path.c_str()) == 0;
}

bool PosixPlatform::CreateFolders(const std::string& path) {
  const std::size_t last = path.rfind('/');
  if (last == std::string::npos) return true;
  // The common case, once per copied file: the folder is there already.
  struct stat existing;
  if (last > 0 && ::stat(path.substr(0, last).c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
    return true;
  // Every prefix that ends just before a '/' names a folder of the path.
  for (std::size_t end = path.find('/', 1); end != std::string::npos && end <= last;
       end = path.find('/', end + 1)) {
    const std::string folder = path.substr(0, end);
    if (folder.empty() || folder.back() == '/') continue;  // doubled separator
    if (::mkdir(folder.c_str(), 0777) == 0) continue;
    if (errno != EEXIST) return false;
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      errno = ENOTDIR;
      return false;
    }
  }
  return true;
}

}  // namespace platform
