#include "update/CollectFiles.h"

#include <memory>

#include "platform/MbcsText.h"
#include "platform/Platform.h"
#include "update/PathText.h"

namespace {

// The updater's own executables, matched anywhere in the lower-cased path;
// two tests because "velmor2.exe" does not contain "velmor.exe".
bool IsUpdaterExecutable(const std::string& strPath, platform::CodePage cp) {
  const std::string lower = mbcs::ToLower(strPath, cp);
  return mbcs::Find(lower, "velmor.exe", cp) != std::string::npos ||
         mbcs::Find(lower, "velmor2.exe", cp) != std::string::npos;
}

// A link that leads to a folder. Such an entry is neither listed nor
// followed, so a link loop cannot recurse without end.
bool IsFolderLink(const platform::FolderEntry& entry, const std::string& strPath) {
  if (!entry.isLink) return false;
  if (entry.isFolder) return true;
  const std::uint32_t attributes = platform::Current().GetAttributes(strPath);
  return attributes != platform::kInvalidAttributes &&
         (attributes & platform::kAttrDirectory) != 0;
}

}  // namespace

int CollectFiles(std::string strFolder, FileList& list) {
  platform::Platform& p = platform::Current();
  std::unique_ptr<platform::FolderSearch> search = p.SearchFolder(strFolder);
  if (!search) return 0;
  const platform::CodePage cp = p.AnsiCodePage();
  platform::FolderEntry entry;
  while (search->Next(entry)) {
    const std::string path = EntryPath(strFolder, entry.name);
    if (IsFolderLink(entry, path)) continue;
    if (entry.isFolder) {
      CollectFiles(path, list);  // depth-first: its files come here
    } else if (!IsUpdaterExecutable(path, cp)) {
      list.Add(path);
    }
  }
  return 1;
}
