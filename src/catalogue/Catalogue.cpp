#include "catalogue/Catalogue.h"

#include <memory>

#include "platform/MbcsText.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

Catalogue& TheCatalogue() {
  static Catalogue catalogue;
  return catalogue;
}

void LoadCatalogue(int nKind, const std::string& strLocalDir) {
  platform::Platform& system = platform::Current();
  const std::string strSep(1, system.Separator());
  // The local folder text already ends with a separator; the doubled one in
  // front of "translations" is taken as one by the file system.
  const std::string strPath = strLocalDir + strSep + "translations" + strSep +
                              (nKind == 1 ? "velmor_01.ini" : "velmor_00.ini");
  std::unique_ptr<platform::File> file =
      system.OpenFile(strPath, platform::FileAccess::Read, platform::FileShare::None);
  // A missing catalogue shows no error: every text stays empty.
  if (!file) return;
  const platform::CodePage cp = system.AnsiCodePage();
  Catalogue& catalogue = TheCatalogue();
  TextReader reader(std::move(file));
  std::string strLine;
  while (reader.ReadLine(strLine)) {
    // A read error keeps the entries read so far; the line it cut short is
    // not taken, so no text is stored truncated.
    if (reader.HadError()) break;
    if (strLine.empty()) continue;
    const std::size_t nEquals = mbcs::Find(strLine, "=", cp);
    if (nEquals == std::string::npos) continue;
    // Nothing is trimmed: blanks around "=" belong to the key and the text.
    // The later of two lines with one key wins.
    catalogue[strLine.substr(0, nEquals)] = strLine.substr(nEquals + 1);
  }
  reader.Close();
}

std::string GetCatalogueText(const std::string& strKey) {
  // An absent key is added with the empty text. The stored text keeps its
  // escapes, so every lookup gives the same result.
  const std::string strText = TheCatalogue()[strKey];
  return mbcs::ReplaceAll(strText, "\\n", "\r\n", platform::Current().AnsiCodePage());
}

std::string FormatTitle(const std::string& strVersion) {
  // The catalogue text comes from a file and is never handed to printf as a
  // format: only the first "%s" and "%%" mean anything.
  const std::string strFormat = GetCatalogueText("IDC_APLNAME");
  const platform::CodePage cp = platform::Current().AnsiCodePage();
  std::string strTitle;
  strTitle.reserve(strFormat.size() + strVersion.size());
  bool bVersionPlaced = false;
  std::size_t nPos = 0;
  while (nPos < strFormat.size()) {
    if (strFormat[nPos] == '%' && nPos + 1 < strFormat.size()) {
      const char cNext = strFormat[nPos + 1];
      if (cNext == 's' && !bVersionPlaced) {
        strTitle += strVersion;
        bVersionPlaced = true;
        nPos += 2;
        continue;
      }
      if (cNext == '%') {
        strTitle += '%';
        nPos += 2;
        continue;
      }
    }
    const std::size_t nLength = mbcs::CharLength(strFormat, nPos, cp);
    strTitle.append(strFormat, nPos, nLength);
    nPos += nLength;
  }
  return strTitle;
}
