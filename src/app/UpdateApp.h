// The application object: the data of one updater run and its start-up.
#pragma once

#include <string>

#include "platform/Application.h"
#include "platform/Types.h"

class CUpdateApp : public framework::Application {
 public:
  CUpdateApp() = default;
  ~CUpdateApp() override = default;

  BOOL InitInstance() override;

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
};

// The first line of a file, without its line end; empty when the file cannot
// be opened or holds no character. Others may read the file meanwhile.
std::string ReadFirstLine(std::string strPath);
