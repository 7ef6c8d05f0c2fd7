// Resources of the Win32 backend: from the executable's own resources.
#include <string>

#include "platform/win32/DialogWindows.h"

namespace framework {

HICON LoadIcon(UINT nIDResource) {
  return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDResource));
}

std::string LoadString(UINT nID) {
  // LoadStringA answers in the ANSI code page; a string that fills the
  // buffer may have been cut, so the buffer grows until it does not.
  for (int size = 256; size <= 65536; size *= 4) {
    std::string text(static_cast<std::size_t>(size), '\0');
    int n = LoadStringA(GetModuleHandleA(nullptr), nID, text.data(), size);
    if (n <= 0) return std::string();
    if (n < size - 1) {
      text.resize(static_cast<std::size_t>(n));
      return text;
    }
  }
  return std::string();
}

int GetSystemMetrics(int nIndex) { return ::GetSystemMetrics(nIndex); }

}  // namespace framework
