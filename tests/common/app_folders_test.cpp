// The folder texts of a run and what start-up reads from ZOLENV.INI.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/UpdateApp.h"
#include "common/AppTestSupport.h"
#include "common/TestSupport.h"

using namespace testing_support;

namespace {

// At the root the directory text already ends with a separator: the local
// folder gets a second one and the backup folder becomes a child of the root.
TEST(RunFolders, RootOfTheFileSystem) {
#ifdef _WIN32
  const std::string rootDir = "C:\\";
  const std::string expectedLocal = "C:\\\\";
  const std::string expectedBackup = "C:\\_BAK\\";
#else
  const std::string rootDir = "/";
  const std::string expectedLocal = "//";
  const std::string expectedBackup = "/_BAK/";
#endif
  RecordingPlatform recorder;  // the gate's start is recorded, not made
  ScopedCurrentDir cd(rootDir);
  CUpdateApp app;
  app.PrepareRun();
  EXPECT_EQ(app.m_strLocalDir, expectedLocal);
  EXPECT_EQ(app.m_strBackupDir, expectedBackup);
  EXPECT_EQ(recorder.EventsStartingWith("key SystemENV").size(), 1u);
}

TEST(RunFolders, BackupFolderIsASiblingOfTheLocalFolder) {
  TempFolder root;
  const std::string local = root / "X/APLI";
  MakeFolders(local);
  RecordingPlatform recorder;
  ScopedCurrentDir cd(local);
  CUpdateApp app;
  app.PrepareRun();
  EXPECT_EQ(app.m_strLocalDir, Join(root.Path(), "X/APLI") + Sep());
  EXPECT_EQ(app.m_strBackupDir, Join(root.Path(), "X/APLI_BAK") + Sep());
}

struct ServerDirRow {
  const char* drive;  // the ServerDrive value
  int kind;
  const char* expected;
};

#ifdef _WIN32
const ServerDirRow kServerDirs[] = {
    {"S", 0, "S:\\ZOLDATA\\APLI\\"},
    {"S", 1, "S:\\QARZOLW3\\ZOLDATA\\APLI\\"},
    {"S", 2, "S:\\ZOLDATA\\APLI\\"},
    {"S", -1, "S:\\ZOLDATA\\APLI\\"},
    {"", 0, ":\\ZOLDATA\\APLI\\"},
    {"S:", 0, "S::\\ZOLDATA\\APLI\\"},
    {"", 1, ":\\QARZOLW3\\ZOLDATA\\APLI\\"},
};
#else
// POSIX drive roots: $VELMOR_DRIVE_<D> when set, /mnt/<D> otherwise. The test
// sets VELMOR_DRIVE_S=/srv/s and leaves the others unset.
const ServerDirRow kServerDirs[] = {
    {"S", 0, "/srv/s/ZOLDATA/APLI/"},
    {"S", 1, "/srv/s/QARZOLW3/ZOLDATA/APLI/"},
    {"S", 2, "/srv/s/ZOLDATA/APLI/"},
    {"S", -1, "/srv/s/ZOLDATA/APLI/"},
    {"", 0, "/mnt//ZOLDATA/APLI/"},
    {"S:", 0, "/mnt/S:/ZOLDATA/APLI/"},
    {"", 1, "/mnt//QARZOLW3/ZOLDATA/APLI/"},
};
#endif

TEST(RunFolders, ServerFolderFromDriveAndKind) {
#ifndef _WIN32
  MappedDrive drive("/srv/s");
  unsetenv("VELMOR_DRIVE_");
  unsetenv("VELMOR_DRIVE_S:");
#endif
  for (const ServerDirRow& row : kServerDirs) {
    TempFolder local;
    WriteFile(local / "ZOLENV.INI", ZolEnv(row.kind, 3, std::string(row.drive)));
    CUpdateApp app;
    app.m_strLocalDir = local.Path() + Sep();
    EXPECT_EQ(app.BuildServerDir(row.kind), row.expected)
        << "ServerDrive \"" << row.drive << "\", kind " << row.kind;
  }
}

// Names in another case, the drive text used unchanged, defaults when the
// file or a key is missing.
TEST(Settings, ReadFromZolEnv) {
  struct Row {
    const char* content;  // null: no ZOLENV.INI
    int kind;
    int systemEnv;
    const char* drive;
  };
  const Row rows[] = {
      {nullptr, 0, 0, ""},
      {"[ENVSET]\r\nPkgKBN=1\r\nSystemENV=3\r\nServerDrive=S\r\n", 1, 3, "S"},
      {"[envset]\r\npkgkbn=2\r\nSYSTEMENV=3\r\nserverdrive=T\r\n", 2, 3, "T"},
      {"[ENVSET]\r\nPkgKBN=-1\r\nServerDrive=S:\r\n", -1, 0, "S:"},
      {"[OTHER]\r\nPkgKBN=1\r\nSystemENV=3\r\nServerDrive=S\r\n", 0, 0, ""},
  };
  for (const Row& row : rows) {
    TempFolder local;
    if (row.content != nullptr) WriteFile(local / "ZOLENV.INI", row.content);
    CUpdateApp app;
    app.m_strLocalDir = local.Path() + Sep();
    const std::string what = row.content != nullptr ? row.content : "(no file)";
    EXPECT_EQ(app.ReadPkgKind(), row.kind) << what;
    EXPECT_EQ(app.ReadSystemEnv(), row.systemEnv) << what;
    EXPECT_EQ(app.ReadServerDrive(), row.drive) << what;
  }
}

}  // namespace
