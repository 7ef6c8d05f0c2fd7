// Folder search of the Win32 backend: FindFirstFileA/FindNextFileA over the
// pattern folder + "\*.*", which matches every entry, hidden ones included.
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <cstring>

namespace platform {

namespace {

class Win32FolderSearch final : public FolderSearch {
 public:
  Win32FolderSearch(HANDLE handle, const WIN32_FIND_DATAA& first)
      : m_handle(handle), m_data(first) {}
  ~Win32FolderSearch() override { FindClose(m_handle); }
  Win32FolderSearch(const Win32FolderSearch&) = delete;
  Win32FolderSearch& operator=(const Win32FolderSearch&) = delete;

  bool Next(FolderEntry& entry) override {
    for (;;) {
      if (m_bHaveCurrent) {
        m_bHaveCurrent = false;
      } else if (!FindNextFileA(m_handle, &m_data)) {
        return false;
      }
      if (std::strcmp(m_data.cFileName, ".") == 0 || std::strcmp(m_data.cFileName, "..") == 0) {
        continue;
      }
      entry.name = m_data.cFileName;
      entry.isFolder = (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      entry.isLink = (m_data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      return true;
    }
  }

 private:
  HANDLE m_handle;
  WIN32_FIND_DATAA m_data;
  bool m_bHaveCurrent = true;  // FindFirstFileA gave the first entry already
};

}  // namespace

std::unique_ptr<FolderSearch> Win32Platform::SearchFolder(const std::string& folder) {
  const std::string pattern = folder + "\\*.*";
  WIN32_FIND_DATAA first;
  HANDLE h = FindFirstFileA(pattern.c_str(), &first);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32FolderSearch>(h, first);
}

}  // namespace platform
