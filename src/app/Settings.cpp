// What the updater reads from ZOLENV.INI, and the server program folder.
#include "app/UpdateApp.h"
#include "platform/Platform.h"

namespace {
const char kSection[] = "ENVSET";
const char kSettingsFile[] = "ZOLENV.INI";
// GetPrivateProfileStringA's buffer: values are cut to 1023 bytes.
constexpr std::size_t kDriveBufferSize = 1024;
}  // namespace

int CUpdateApp::ReadPkgKind() {
  return platform::Current().ProfileInt(kSection, "PkgKBN", 0, m_strLocalDir + kSettingsFile);
}

int CUpdateApp::ReadSystemEnv() {
  return platform::Current().ProfileInt(kSection, "SystemENV", 0, m_strLocalDir + kSettingsFile);
}

std::string CUpdateApp::ReadServerDrive() {
  return platform::Current().ProfileString(kSection, "ServerDrive", "", kDriveBufferSize,
                                           m_strLocalDir + kSettingsFile);
}

std::string CUpdateApp::BuildServerDir(int nKind) {
  platform::Platform& system = platform::Current();
  const std::string strSep(1, system.Separator());
  // The drive text is used unchecked: "" or "S:" give folders that cannot be
  // reached, and the server stamp then reads as empty.
  std::string strFolder = system.DriveRoot(ReadServerDrive());
  if (nKind == 1) strFolder += "QARZOLW3" + strSep;
  strFolder += "ZOLDATA" + strSep + "APLI" + strSep;
  return strFolder;
}
