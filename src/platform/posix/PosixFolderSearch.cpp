// Folder search of the POSIX backend over opendir/readdir. A symbolic link
// to a folder is reported with isFolder and isLink both set, as Windows
// reports a folder junction; callers never descend into a link.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <utility>

#include "platform/posix/PosixPlatform.h"

namespace platform {

namespace {

class PosixFolderSearch final : public FolderSearch {
 public:
  PosixFolderSearch(DIR* dir, std::string folder) : m_dir(dir), m_folder(std::move(folder)) {
    if (!m_folder.empty() && m_folder.back() != '/') m_folder += '/';
  }
  ~PosixFolderSearch() override { ::closedir(m_dir); }
  PosixFolderSearch(const PosixFolderSearch&) = delete;
  PosixFolderSearch& operator=(const PosixFolderSearch&) = delete;

  bool Next(FolderEntry& entry) override {
    for (;;) {
      const struct dirent* d = ::readdir(m_dir);
      if (d == nullptr) return false;
      if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0) continue;
      entry.name = d->d_name;
      Classify(*d, entry);
      return true;
    }
  }

 private:
  void Classify(const struct dirent& d, FolderEntry& entry) const {
    unsigned char type = d.d_type;
    const std::string path = m_folder + d.d_name;
    if (type == DT_UNKNOWN) {
      struct stat st;
      if (::lstat(path.c_str(), &st) == 0) {
        type = S_ISLNK(st.st_mode) ? DT_LNK : S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
      }
    }
    entry.isLink = type == DT_LNK;
    entry.isFolder = type == DT_DIR;
    if (entry.isLink) {
      struct stat target;
      entry.isFolder = ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
    }
  }

  DIR* m_dir;
  std::string m_folder;
};

}  // namespace

std::unique_ptr<FolderSearch> PosixPlatform::SearchFolder(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return nullptr;
  return std::make_unique<PosixFolderSearch>(dir, folder);
}

}  // namespace platform
