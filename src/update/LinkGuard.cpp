#include "update/LinkGuard.h"

#include <cstdint>

#include "platform/MbcsText.h"
#include "platform/Platform.h"

bool LinkGuard::LeadsThroughLink(const std::string& strRelative) {
  platform::Platform& p = platform::Current();
  const platform::CodePage cp = p.AnsiCodePage();
  const char cSep = p.Separator();
  std::size_t nLastSep = std::string::npos;
  for (std::size_t pos = 0; pos < strRelative.size(); pos += mbcs::CharLength(strRelative, pos, cp)) {
    const char c = strRelative[pos];
    if (mbcs::CharLength(strRelative, pos, cp) == 1 && (c == cSep || c == '/')) nLastSep = pos;
  }
  if (nLastSep == std::string::npos) return false;  // directly in the folder
  const std::string strSubFolder = strRelative.substr(0, nLastSep);
  if (m_bHaveClean && strSubFolder == m_strCleanSubFolder) return false;
  for (std::size_t pos = 0; pos <= nLastSep; pos += mbcs::CharLength(strRelative, pos, cp)) {
    const char c = strRelative[pos];
    if (mbcs::CharLength(strRelative, pos, cp) != 1 || (c != cSep && c != '/')) continue;
    const std::uint32_t attributes = p.GetAttributes(m_strFolder + strRelative.substr(0, pos));
    if (attributes != platform::kInvalidAttributes &&
        (attributes & platform::kAttrReparsePoint) != 0)
      return true;
  }
  m_strCleanSubFolder = strSubFolder;
  m_bHaveClean = true;
  return false;
}
