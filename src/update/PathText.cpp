#include "update/PathText.h"

#include "platform/MbcsText.h"
#include "platform/Platform.h"

namespace {

// The last character of text is a separator: the platform's own, or '/',
// which Windows takes as one too.
bool EndsInSeparator(const std::string& text) {
  if (text.empty()) return false;
  platform::Platform& p = platform::Current();
  const platform::CodePage cp = p.AnsiCodePage();
  const std::size_t last = text.size() - 1;
  return mbcs::FindLastChar(text, p.Separator(), cp) == last ||
         mbcs::FindLastChar(text, '/', cp) == last;
}

}  // namespace

std::string EntryPath(const std::string& strFolder, const std::string& strName) {
  std::string path = strFolder;
  if (!EndsInSeparator(path)) path += platform::Current().Separator();
  return path + strName;
}
