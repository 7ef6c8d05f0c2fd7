#include "update/LinkGuard.h"

#include <cstdint>

#include "platform/MbcsText.h"
#include "platform/Platform.h"

bool LeadsThroughLink(const std::string& strFolder, const std::string& strRelative) {
  platform::Platform& p = platform::Current();
  const platform::CodePage cp = p.AnsiCodePage();
  const char cSep = p.Separator();
  for (std::size_t pos = 0; pos < strRelative.size(); pos += mbcs::CharLength(strRelative, pos, cp)) {
    const char c = strRelative[pos];
    if (mbcs::CharLength(strRelative, pos, cp) != 1 || (c != cSep && c != '/')) continue;
    const std::uint32_t attributes = p.GetAttributes(strFolder + strRelative.substr(0, pos));
    if (attributes != platform::kInvalidAttributes &&
        (attributes & platform::kAttrReparsePoint) != 0)
      return true;
  }
  return false;
}
