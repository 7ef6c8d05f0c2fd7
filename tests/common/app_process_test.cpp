// Start-up as a real process: velmor2 in a local program folder X/APLI with
// the stand-in korvan.exe, the server folder behind a mapped drive letter.
// Which start of the main program each gate makes, with exactly which
// arguments, and that arguments given to velmor2 change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/AppTestSupport.h"
#include "common/Korvan.h"
#include "common/TestSupport.h"

using namespace testing_support;

namespace {

// Copies the built updater into folder under its own file name.
std::string InstallVelmor(const std::string& folder) {
  const std::filesystem::path exe(HostPath(VELMOR_EXE));
  const std::string target = Join(folder, exe.filename().string());
  std::error_code ec;
  std::filesystem::copy_file(exe, target, std::filesystem::copy_options::overwrite_existing, ec);
  std::filesystem::permissions(target, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  return ec ? std::string() : target;
}

struct ProcessRow {
  const char* name;
  bool settingsFile;
  int systemEnv;
  std::optional<std::string> localStamp;
  std::optional<std::string> serverStamp;
  std::optional<std::vector<std::string>> korvanArgs;  // none: korvan not started
};

using Args = std::vector<std::string>;

const ProcessRow kRows[] = {
    {"settings file missing", false, 3, "1.0", "1.1", Args{"-v"}},
    {"SystemENV 0", true, 0, "1.0", "1.1", Args{"-v"}},
    {"local stamp missing", true, 3, std::nullopt, "1.1", std::nullopt},
    {"local stamp empty", true, 3, "\r\n", "1.1", std::nullopt},
    {"server stamp missing", true, 3, "1.0", std::nullopt, Args{"-v"}},
    {"equal stamps", true, 3, "1.0\r\n", "1.0\r\n", Args{"-v"}},
    {"local above server", true, 3, "9", "10", Args{"-v"}},
};

// Arguments velmor2 is given: none, or some that would mean something to a
// program that read its command line.
const std::vector<Args> kCommandLines = {
    {}, {"-v"}, {"/update", "S", "with blank", ""},
};

class StartupProcess : public ::testing::TestWithParam<ProcessRow> {};

TEST_P(StartupProcess, MainProgramStartedAsTheGateSays) {
  const ProcessRow& row = GetParam();
  for (const Args& commandLine : kCommandLines) {
    SCOPED_TRACE(::testing::PrintToString(commandLine));
    TempFolder root;
    const std::string local = root / "X/APLI";
    const std::string server = root / "server";
    MakeFolders(local);
    MakeFolders(server);
    MappedDrive drive(server);
    ASSERT_TRUE(drive.Ok());
    const std::string velmor = InstallVelmor(local);
    ASSERT_FALSE(velmor.empty());
    ASSERT_TRUE(InstallKorvan(local));
    if (row.settingsFile) WriteFile(Join(local, "ZOLENV.INI"), ZolEnv(0, row.systemEnv, drive.Letter()));
    if (row.localStamp) WriteFile(Join(local, "VERSION.INI"), *row.localStamp);
    if (row.serverStamp) WriteFile(Join(server, "ZOLDATA/APLI/VERSION.INI"), *row.serverStamp);

    const ProcessResult result = RunProcess(velmor, commandLine, local, 30000, drive.Env());
    ASSERT_TRUE(result.started);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);

    if (row.korvanArgs) {
      ASSERT_TRUE(WaitForKorvanRuns(local, 1, 15000)) << "korvan.exe was not started";
      SleepMs(300);  // a second start would have shown by now
      const std::vector<KorvanRun> runs = ReadKorvanRuns(local);
      ASSERT_EQ(runs.size(), 1u);
      EXPECT_EQ(runs[0].args, *row.korvanArgs);
      EXPECT_EQ(runs[0].cwd, local);
    } else {
      SleepMs(800);
      EXPECT_TRUE(ReadKorvanRuns(local).empty());
    }
    // Start-up writes nothing into the program folder but what korvan adds.
    auto files = Snapshot(local);
    files.erase("korvan-runs.txt");
    files.erase("korvan.exe");
    files.erase(std::filesystem::path(velmor).filename().string());
    files.erase("ZOLENV.INI");
    files.erase("VERSION.INI");
    EXPECT_TRUE(files.empty()) << files.begin()->first;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, StartupProcess, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<ProcessRow>& row) { return RowName(row.param.name); });

}  // namespace
