// Start-up in process: the folders, both gates and the catalogue load, on real
// files, with the starts of the main program recorded by the platform wrapper.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "app/UpdateApp.h"
#include "catalogue/Catalogue.h"
#include "common/AppTestSupport.h"
#include "common/TestSupport.h"

using namespace testing_support;

namespace {

enum class DriveText { Mapped, Empty, WithColon };

struct OutcomeRow {
  const char* name;
  bool settingsFile;
  std::optional<int> kind;
  std::optional<int> systemEnv;
  DriveText drive;
  std::optional<std::string> localStamp;   // VERSION.INI bytes; none: no file
  std::optional<std::string> serverStamp;
  // expected
  BOOL due;
  std::vector<std::string> starts;
  std::string localVersion;
  std::string serverVersion;
  int versionFilesOpened;  // 0: none, 1: the local one only, 2: both
  const char* catalogueText;  // IDC_LB001 after start-up; null: not loaded
};

const OutcomeRow kOutcomes[] = {
    {"settings file missing", false, 0, 3, DriveText::Mapped, "1.0", "1.1",
     FALSE, {"-v"}, "", "", 0, nullptr},
    {"SystemENV 0", true, 0, 0, DriveText::Mapped, "1.0", "1.1", FALSE, {"-v"}, "", "", 0, nullptr},
    {"SystemENV 2", true, 0, 2, DriveText::Mapped, "1.0", "1.1", FALSE, {"-v"}, "", "", 0, nullptr},
    {"SystemENV key missing", true, 0, std::nullopt, DriveText::Mapped, "1.0", "1.1",
     FALSE, {"-v"}, "", "", 0, nullptr},
    {"local VERSION.INI missing", true, 0, 3, DriveText::Mapped, std::nullopt, "1.1",
     FALSE, {}, "", "", 1, nullptr},
    {"local first line empty", true, 0, 3, DriveText::Mapped, "\r\n1.0\r\n", "1.1",
     FALSE, {}, "", "", 1, nullptr},
    {"server VERSION.INI missing", true, 0, 3, DriveText::Mapped, "1.0", std::nullopt,
     FALSE, {"-v"}, "1.0", "", 2, nullptr},
    {"server first line empty", true, 0, 3, DriveText::Mapped, "1.0", "\r\n1.1",
     FALSE, {"-v"}, "1.0", "", 2, nullptr},
    {"ServerDrive empty", true, 0, 3, DriveText::Empty, "1.0", "1.1",
     FALSE, {"-v"}, "1.0", "", 2, nullptr},
    {"ServerDrive with a colon", true, 0, 3, DriveText::WithColon, "1.0", "1.1",
     FALSE, {"-v"}, "1.0", "", 2, nullptr},
    {"equal stamps", true, 0, 3, DriveText::Mapped, "1.0\r\n", "1.0\r\n",
     FALSE, {"-v"}, "1.0", "1.0", 2, nullptr},
    {"local above server", true, 0, 3, DriveText::Mapped, "1.1", "1.0",
     FALSE, {"-v"}, "1.1", "1.0", 2, nullptr},
    {"local below server", true, 0, 3, DriveText::Mapped, "1.0\r\n", "1.1\r\n",
     TRUE, {}, "1.0", "1.1", 2, "kind 0"},
    {"kind 1, below", true, 1, 3, DriveText::Mapped, "1.0", "1.1", TRUE, {}, "1.0", "1.1", 2,
     "kind 1"},
    {"kind 2, below", true, 2, 3, DriveText::Mapped, "1.0", "1.1", TRUE, {}, "1.0", "1.1", 2,
     "kind 0"},
    {"PkgKBN missing, below", true, std::nullopt, 3, DriveText::Mapped, "1.0", "1.1",
     TRUE, {}, "1.0", "1.1", 2, "kind 0"},
};

// The server program folder below a drive root for the package kind.
std::string ServerAppFolder(const std::string& root, int kind) {
  return kind == 1 ? Join(root, "QARZOLW3/ZOLDATA/APLI") : Join(root, "ZOLDATA/APLI");
}

// The root folder text of the mapped drive as the backend forms it.
std::string DriveRootText(const MappedDrive& drive, const std::string& folder) {
#ifdef _WIN32
  (void)folder;
  return drive.Letter() + ":\\";
#else
  (void)drive;
  return folder + "/";
#endif
}

class StartupOutcome : public ::testing::TestWithParam<OutcomeRow> {};

TEST_P(StartupOutcome, GatesDecideAsTheSettingsAndStampsSay) {
  const OutcomeRow& row = GetParam();
  TempFolder root;
  const std::string local = root / "X/APLI";
  const std::string server = root / "server";
  MakeFolders(local);
  MakeFolders(server);
  MappedDrive drive(server);
  ASSERT_TRUE(drive.Ok()) << "could not map a drive letter onto " << server;
  const std::string driveText = row.drive == DriveText::Mapped    ? drive.Letter()
                                : row.drive == DriveText::Empty   ? std::string()
                                                                  : drive.Letter() + ":";
  if (row.settingsFile)
    WriteFile(Join(local, "ZOLENV.INI"), ZolEnv(row.kind, row.systemEnv, driveText));
  if (row.localStamp) WriteFile(Join(local, "VERSION.INI"), *row.localStamp);
  const int kind = row.kind.value_or(0);
  if (row.serverStamp)
    WriteFile(Join(ServerAppFolder(server, kind), "VERSION.INI"), *row.serverStamp);
  WriteFile(Join(local, "translations/velmor_00.ini"), "IDC_LB001=kind 0\r\n");
  WriteFile(Join(local, "translations/velmor_01.ini"), "IDC_LB001=kind 1\r\n");

  TheCatalogue().clear();
  RecordingPlatform recorder;
  BOOL due = FALSE;
  {
    ScopedCurrentDir cd(local);
    CUpdateApp app;
    due = app.PrepareRun();
    EXPECT_EQ(app.m_strLocalDir, local + Sep());
    EXPECT_EQ(app.m_strBackupDir, local + "_BAK" + Sep());
    EXPECT_EQ(app.m_nPkgKind, row.settingsFile ? kind : 0);
    EXPECT_EQ(app.m_strLocalVersion, row.localVersion);
    EXPECT_EQ(app.m_strServerVersion, row.serverVersion);
    if (due) {
      EXPECT_EQ(app.m_strServerDir, ServerAppFolder(DriveRootText(drive, server), kind) + Sep());
    }
    if (row.versionFilesOpened < 2) {
      EXPECT_EQ(app.m_strServerDir, "");
    }
  }
  EXPECT_EQ(due, row.due);
  EXPECT_EQ(recorder.Starts(), row.starts);

  std::vector<std::string> versionOpens;
  for (const std::string& e : recorder.EventsStartingWith("open "))
    if (e.size() >= 11 && e.compare(e.size() - 11, 11, "VERSION.INI") == 0) versionOpens.push_back(e);
  ASSERT_EQ(static_cast<int>(versionOpens.size()), row.versionFilesOpened);
  if (!versionOpens.empty()) {
    EXPECT_EQ(versionOpens[0], "open " + Join(local, "VERSION.INI"));
  }
  // ServerDrive is read only on the way to the server's stamp.
  EXPECT_EQ(recorder.EventsStartingWith("key ServerDrive").size(),
            row.versionFilesOpened == 2 ? 1u : 0u);

  // The catalogue is loaded only when the dialog is due.
  EXPECT_EQ(recorder.EventsStartingWith("open " + local + Sep() + Sep() + "translations").size(),
            row.catalogueText != nullptr ? 1u : 0u);
  auto entry = TheCatalogue().find("IDC_LB001");
  if (row.catalogueText != nullptr) {
    ASSERT_NE(entry, TheCatalogue().end());
    EXPECT_EQ(entry->second, row.catalogueText);
  } else {
    EXPECT_EQ(entry, TheCatalogue().end());
  }
  TheCatalogue().clear();
}

INSTANTIATE_TEST_SUITE_P(Rows, StartupOutcome, ::testing::ValuesIn(kOutcomes),
                         [](const ::testing::TestParamInfo<OutcomeRow>& row) { return RowName(row.param.name); });

// With SystemENV other than 3 the main program is started as soon as the key
// has been read, before (and instead of) any VERSION.INI.
TEST(StartupOrder, EnvironmentGateStartsTheMainProgramBeforeAnyStampIsRead) {
  TempFolder root;
  const std::string local = root / "X/APLI";
  WriteFile(Join(local, "ZOLENV.INI"), ZolEnv(0, 1, std::string("S")));
  WriteFile(Join(local, "VERSION.INI"), "1.0\r\n");
  RecordingPlatform recorder;
  ScopedCurrentDir cd(local);
  CUpdateApp app;
  EXPECT_EQ(app.PrepareRun(), FALSE);
  const std::vector<std::string> expected = {"key PkgKBN", "key PkgKBN", "key SystemENV",
                                             "start -v"};
  EXPECT_EQ(recorder.m_events, expected);
}

// Start-up reads, in this order: the package kind twice, the environment
// key, the local stamp, ServerDrive, the server stamp, then the catalogue.
TEST(StartupOrder, DueUpdateReadsEverythingInItsOrder) {
  TempFolder root;
  const std::string local = root / "X/APLI";
  const std::string server = root / "server";
  MakeFolders(server);
  MappedDrive drive(server);
  ASSERT_TRUE(drive.Ok());
  WriteFile(Join(local, "ZOLENV.INI"), ZolEnv(0, 3, drive.Letter()));
  WriteFile(Join(local, "VERSION.INI"), "1.0\r\n");
  WriteFile(Join(server, "ZOLDATA/APLI/VERSION.INI"), "2.0\r\n");
  TheCatalogue().clear();
  RecordingPlatform recorder;
  ScopedCurrentDir cd(local);
  CUpdateApp app;
  EXPECT_EQ(app.PrepareRun(), TRUE);
  const std::string localDir = local + Sep();
  const std::vector<std::string> expected = {
      "key PkgKBN",
      "key PkgKBN",
      "key SystemENV",
      "open " + localDir + "VERSION.INI",
      "key ServerDrive",
      "open " + ServerAppFolder(DriveRootText(drive, server), 0) + Sep() + "VERSION.INI",
      "open " + localDir + Sep() + "translations" + Sep() + "velmor_00.ini"};
  EXPECT_EQ(recorder.m_events, expected);
  TheCatalogue().clear();
}

}  // namespace
