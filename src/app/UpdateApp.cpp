#include "app/UpdateApp.h"

#include "catalogue/Catalogue.h"
#include "platform/Platform.h"
#include "ui/UpdateDlg.h"

BOOL CUpdateApp::PrepareRun() {
  // The updater is started in the local program folder; the command line is
  // never looked at.
  const std::string strCurrent = platform::Current().CurrentDirectory();
  const std::string strSep(1, platform::Current().Separator());
  // At a root the directory text already ends with a separator: the local
  // folder then ends with two, and the backup folder is a child of the root.
  m_strLocalDir = strCurrent + strSep;
  m_strBackupDir = strCurrent + "_BAK" + strSep;
  m_nPkgKind = ReadPkgKind();
  // The steps below use a second read of the same key.
  const int nKind = ReadPkgKind();
  if (!CheckSystemEnv()) return FALSE;
  if (!CheckVersions(nKind)) return FALSE;
  // Another run is updating this installation: end at once, starting nothing.
  if (!m_installationLock.Take(m_strLocalDir)) return FALSE;
  LoadCatalogue(nKind, m_strLocalDir);
  return TRUE;
}

BOOL CUpdateApp::InitInstance() {
  if (PrepareRun()) {
    // Everything after the gates (the update, the start of the main program)
    // happens inside the dialog; a dialog closed without confirming starts
    // nothing.
    CUpdateDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
  }
  return FALSE;
}
