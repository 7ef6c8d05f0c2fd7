// Resources of the POSIX backend: the portable tables of the program, texts
// turned from UTF-8 into the ANSI code page.
#include <map>
#include <string>

#include "platform/Dialog.h"
#include "platform/Platform.h"

namespace framework {

// Icons are not drawn from pixels in the terminal. A resource icon is a
// handle that stays valid for the process, as a shared icon does: one per id.
HICON LoadIcon(UINT nIDResource) {
  static std::map<UINT, UINT> icons;
  if (!HasIconResource(nIDResource)) return nullptr;
  auto it = icons.emplace(nIDResource, nIDResource).first;
  return &it->second;
}

std::string LoadString(UINT nID) {
  const char* text = FindStringResource(nID);
  return text != nullptr ? platform::Current().FromUtf8(text) : std::string();
}

// The sizes Windows gives for icons; the terminal has no pixels of its own.
int GetSystemMetrics(int nIndex) {
  return nIndex == kSmCxIcon || nIndex == kSmCyIcon ? 32 : 0;
}

}  // namespace framework
