// The application object: the data of one updater run and its start-up.
#pragma once

#include <string>

#include "app/InstallationLock.h"
#include "platform/Application.h"
#include "platform/Types.h"

class CUpdateApp : public framework::Application {
 public:
  CUpdateApp() = default;
  ~CUpdateApp() override = default;

  // The whole run: PrepareRun, then the update dialog when it is due.
  // FALSE on every path, so that no message loop follows.
  BOOL InitInstance() override;

  // Start-up up to the dialog: folders, package kind, both gates and the
  // catalogue. TRUE when the update dialog is due; FALSE when a gate has
  // handed over to the main program (or ended silently). A headless runner
  // calls it and then confirms the update itself.
  BOOL PrepareRun();

  // The two gates.
  BOOL CheckSystemEnv();
  BOOL CheckVersions(int nKind);

  // ZOLENV.INI, section ENVSET; read anew on every call.
  int ReadPkgKind();
  int ReadSystemEnv();
  std::string ReadServerDrive();
  std::string BuildServerDir(int nKind);

  std::string m_strLocalVersion;
  std::string m_strServerVersion;
  std::string m_strLocalDir;
  std::string m_strServerDir;
  std::string m_strBackupDir;
  int m_nPkgKind = 0;
  // Taken by PrepareRun once an update is due, held until the run ends.
  InstallationLock m_installationLock;
};

// The first line of a file, without its line end; empty when the file cannot
// be opened or holds no character. Others may read the file meanwhile.
std::string ReadFirstLine(std::string strPath);
