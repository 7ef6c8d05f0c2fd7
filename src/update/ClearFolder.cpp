#include "update/ClearFolder.h"

#include <memory>

#include "platform/Platform.h"
#include "update/PathText.h"

void ClearFolder(const std::string& strFolder) {
  platform::Platform& p = platform::Current();
  std::unique_ptr<platform::FolderSearch> search = p.SearchFolder(strFolder);
  if (!search) return;
  platform::FolderEntry entry;
  while (search->Next(entry)) {
    const std::string path = EntryPath(strFolder, entry.name);
    if (entry.isLink) {
      // Only the link goes; whatever it leads to is not ours to delete. A
      // link to a folder is removed as a folder on Windows, as a file on
      // POSIX: try the likely kind first, then the other.
      if (entry.isFolder) {
        if (!p.RemoveFolder(path)) p.RemoveFile(path);
      } else if (!p.RemoveFile(path)) {
        p.RemoveFolder(path);
      }
    } else if (entry.isFolder) {
      ClearFolder(path);
      p.RemoveFolder(path);
    } else {
      p.RemoveFile(path);
    }
  }
}
