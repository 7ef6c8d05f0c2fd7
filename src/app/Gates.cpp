// The environment gate and the version gate of start-up.
#include "app/MainControl.h"
#include "app/UpdateApp.h"
#include "platform/MbcsText.h"
#include "platform/Platform.h"

BOOL CUpdateApp::CheckSystemEnv() {
  if (ReadSystemEnv() == 3) return TRUE;
  // Not set up for server updates: the main program runs as it is.
  LaunchMain("-v");
  return FALSE;
}

BOOL CUpdateApp::CheckVersions(int nKind) {
  m_strLocalVersion = ReadFirstLine(m_strLocalDir + "VERSION.INI");
  // No local stamp: end silently, without looking at the server at all.
  if (m_strLocalVersion.empty()) return FALSE;
  m_strServerDir = BuildServerDir(nKind);
  m_strServerVersion = ReadFirstLine(m_strServerDir + "VERSION.INI");
  // Stamps compare as multi-byte text, not as numbers: only a local stamp
  // strictly below the server's makes an update due.
  if (!m_strServerVersion.empty() &&
      mbcs::Compare(m_strLocalVersion, m_strServerVersion, platform::Current().AnsiCodePage()) <
          0) {
    return TRUE;
  }
  LaunchMain("-v");
  return FALSE;
}
