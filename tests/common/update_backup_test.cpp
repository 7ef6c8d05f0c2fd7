// The backup area on real folders: emptying it, making files writable, and
// the rollback, which puts back exactly what an update backed up.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/UpdateApp.h"
#include "common/AppTestSupport.h"
#include "common/TestSupport.h"
#include "platform/ForwardingPlatform.h"
#include "platform/Platform.h"
#include "ui/UpdateDlg.h"
#include "update/ClearFolder.h"

#ifdef _WIN32
#include <windows.h>
// windows.h maps CopyFile to CopyFileA; the platform member keeps its name.
#undef CopyFile
#endif

using namespace testing_support;

namespace {

using Files = std::map<std::string, std::string>;  // relative path -> bytes

// A relative path written with '/' in the platform's separators.
std::string Relative(std::string rel) {
  for (char& ch : rel)
    if (ch == '/') ch = Sep()[0];
  return rel;
}

// Creates the files (a final '/' makes a folder) below root.
void Create(const std::string& root, const Files& files) {
  MakeFolders(root);
  for (const auto& [rel, bytes] : files) {
    if (rel.back() == '/') MakeFolders(Join(root, rel.substr(0, rel.size() - 1)));
    else WriteFile(Join(root, rel), bytes);
  }
}

struct ClearCase {
  const char* name;
  Files create;
  std::vector<std::string> readOnly;
  Files remaining;  // as Snapshot shows it
};

const ClearCase kClearCases[] = {
    {"nested sub-folders", {{"a", "1"}, {"S1/b", "2"}, {"S1/S2/c", "3"}, {"S1/S2/S3/", ""}}, {}, {}},
    {"read-only file keeps its sub-folder",
     {{"a", "1"}, {"KEEP/ro.txt", "ro"}, {"KEEP/rw.txt", "rw"}, {"KEEP/IN/x", "x"}, {"GONE/y", "y"}},
     {"KEEP/ro.txt"},
     {{"KEEP/", ""}, {"KEEP/ro.txt", "ro"}}},
    {"updater executables go too",
     {{"velmor2.exe", "v2"}, {"velmor.exe", "v"}, {"SUB/VELMOR.EXE", "V"}}, {}, {}},
};

class ClearFolderTable : public ::testing::TestWithParam<ClearCase> {};

TEST_P(ClearFolderTable, EmptiesWhatItCan) {
  const ClearCase& c = GetParam();
  TempFolder tmp;
  const std::string bak = tmp / "APLI_BAK";
  Create(bak, c.create);
  for (const auto& rel : c.readOnly) SetReadOnly(Join(bak, rel), true);
  ClearFolder(bak + Sep());
  EXPECT_TRUE(IsFolder(bak));
  EXPECT_EQ(Snapshot(bak), c.remaining);
}

INSTANTIATE_TEST_SUITE_P(Update, ClearFolderTable, ::testing::ValuesIn(kClearCases),
                         [](const auto& row) { return RowName(row.param.name); });

TEST(UpdateBackupArea, ClearFolderOnMissingFolderCreatesNothing) {
  TempFolder tmp;
  ClearFolder(tmp / "APLI_BAK" + Sep());
  EXPECT_FALSE(Exists(tmp / "APLI_BAK"));
}

// ClearReadOnly: attributes before -> after, Windows values.
TEST(UpdateBackupArea, ClearReadOnlyTable) {
  TempFolder tmp;
  platform::Platform& p = platform::Current();
  CUpdateApp app;
  CUpdateDlg dlg;
  dlg.m_pApp = &app;

  dlg.ClearReadOnly(tmp / "missing.txt");
  EXPECT_FALSE(Exists(tmp / "missing.txt"));

  WriteFile(tmp / "ro.txt", "r");
  SetReadOnly(tmp / "ro.txt", true);
  WriteFile(tmp / "rw.txt", "w");
#ifdef _WIN32
  SetFileAttributesA((tmp / "ro.txt").c_str(),
                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA((tmp / "rw.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
#endif
  const std::uint32_t writableBefore = p.GetAttributes(tmp / "rw.txt");
  dlg.ClearReadOnly(tmp / "ro.txt");
  dlg.ClearReadOnly(tmp / "rw.txt");
  EXPECT_EQ(p.GetAttributes(tmp / "ro.txt"), platform::kAttrArchive);
  EXPECT_FALSE(IsReadOnly(tmp / "ro.txt"));
  EXPECT_EQ(p.GetAttributes(tmp / "rw.txt"), writableBefore);
#ifdef _WIN32
  EXPECT_EQ(writableBefore, static_cast<std::uint32_t>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
#endif
  EXPECT_EQ(ReadFile(tmp / "ro.txt"), "r");
}

struct RestoreCase {
  const char* name;
  Files local;                        // as the failed update left the local folder
  Files backup;                       // the backup folder
  std::vector<std::string> newFiles;  // relative to the local folder
  std::vector<std::string> backedUp;  // relative names this update backed up
  std::vector<std::string> readOnly;  // "L:" local, "B:" backup
  Files expected;                     // the local folder afterwards
};

const RestoreCase kRestoreCases[] = {
    {"empty lists change nothing",
     {{"a", "A"}},
     {{"a", "old"}},
     {},
     {},
     {},
     {{"a", "A"}}},
    {"new files deleted, their folders stay, a gone entry passed over",
     {{"a", "A"}, {"NEW/n.dll", "N"}, {"n2.txt", "N2"}},
     {},
     {"NEW/n.dll", "gone.txt", "n2.txt"},
     {},
     {},
     {{"a", "A"}, {"NEW/", ""}}},
    {"updated files get their old content back, sub-folders included",
     {{"VERSION.INI", "new"}, {"top.dll", "new"}, {"SUB/DEEP/x.dll", "new"}, {"SUB/", ""}},
     {{"VERSION.INI", "old v"}, {"top.dll", "old top"}, {"SUB/DEEP/x.dll", "old x"}, {"x.dll", "stale"}},
     {},
     {"VERSION.INI", "top.dll", "SUB/DEEP/x.dll"},
     {},
     {{"VERSION.INI", "old v"}, {"top.dll", "old top"}, {"SUB/", ""}, {"SUB/DEEP/", ""},
      {"SUB/DEEP/x.dll", "old x"}}},
    {"stale backup files are not restored",
     {{"a", "A"}},
     {{"stale.txt", "S"}, {"OLD/stale2.txt", "S2"}, {"a", "not backed up"}},
     {},
     {},
     {},
     {{"a", "A"}}},
    {"read-only on both ends is restored",
     {{"ro.dll", "new"}},
     {{"ro.dll", "old"}},
     {},
     {"ro.dll"},
     {"L:ro.dll", "B:ro.dll"},
     {{"ro.dll", "old"}}},
    {"a backed-up file missing locally comes back",
     {{"a", "A"}},
     {{"b", "old b"}},
     {},
     {"b"},
     {},
     {{"a", "A"}, {"b", "old b"}}},
};

class RestoreTable : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(RestoreTable, PutsBackWhatThisUpdateBackedUp) {
  const RestoreCase& c = GetParam();
  TempFolder tmp;
  CUpdateApp app;
  app.m_strLocalDir = tmp / "APLI" + Sep();
  app.m_strBackupDir = tmp / "APLI_BAK" + Sep();
  Create(app.m_strLocalDir, c.local);
  Create(app.m_strBackupDir, c.backup);
  for (const auto& mark : c.readOnly)
    SetReadOnly(Join(mark[0] == 'L' ? app.m_strLocalDir : app.m_strBackupDir, mark.substr(2)), true);
  FileList newFiles;
  FileList backedUp;
  for (const auto& rel : c.newFiles) newFiles.Add(Join(app.m_strLocalDir, rel));
  for (const auto& rel : c.backedUp) backedUp.Add(Relative(rel));
  const Files backupBefore = Snapshot(app.m_strBackupDir);

  CUpdateDlg dlg;
  dlg.m_pApp = &app;
  dlg.RestoreBackup(newFiles, backedUp);

  EXPECT_EQ(Snapshot(app.m_strLocalDir), c.expected);
  EXPECT_EQ(Snapshot(app.m_strBackupDir), backupBefore);
  EXPECT_FALSE(dlg.IsEnded());
}

INSTANTIATE_TEST_SUITE_P(Update, RestoreTable, ::testing::ValuesIn(kRestoreCases),
                         [](const auto& row) { return RowName(row.param.name); });

// A disk too full for a copy back: the backup is moved over the updated
// file instead, so the rollback still brings the old content back.
class CopyBackFails : public platform::ForwardingPlatform {
 public:
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
    if (from.compare(0, backup.size(), backup) == 0) return false;
    return ForwardingPlatform::CopyFile(from, to, failIfExists);
  }
  std::string backup;
};

TEST(UpdateBackupArea, RestoreMovesTheBackupWhenNoCopyCanBeMade) {
  TempFolder tmp;
  CUpdateApp app;
  app.m_strLocalDir = tmp / "APLI" + Sep();
  app.m_strBackupDir = tmp / "APLI_BAK" + Sep();
  Create(app.m_strLocalDir, {{"A.DLL", "new"}, {"SUB/B.DLL", "new"}});
  Create(app.m_strBackupDir, {{"A.DLL", "old A"}, {"SUB/B.DLL", "old B"}});
  FileList backedUp;
  backedUp.Add("A.DLL");
  backedUp.Add(Relative("SUB/B.DLL"));
  CopyBackFails p;
  p.backup = app.m_strBackupDir;
  CUpdateDlg dlg;
  dlg.m_pApp = &app;
  platform::SetCurrent(&p);
  dlg.RestoreBackup(FileList(), backedUp);
  platform::SetCurrent(nullptr);
  EXPECT_EQ(Snapshot(app.m_strLocalDir),
            (Files{{"A.DLL", "old A"}, {"SUB/", ""}, {"SUB/B.DLL", "old B"}}));
}

}  // namespace
