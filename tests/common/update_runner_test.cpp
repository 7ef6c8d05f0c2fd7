// The headless runner as a real process: start-up in the local program
// folder, the update confirmed at once, the outcome in the exit code.
#include "common/update_fixture.h"

using namespace testing_support;
using namespace update_test;

namespace {

struct RunnerCase {
  const char* name;
  std::string serverStamp;
  bool backupFails;   // a local folder stands where the server has a file
  bool mainRunning;
  int exitCode;
  std::vector<std::string> startArgs;  // of the start the run made; none when empty
  bool started;
};

const RunnerCase kRunnerCases[] = {
    {"update succeeds", "2024.06.01-build-004", false, false, 0, {}, true},
    {"backup fails and rolls back", "2024.06.01-build-004", true, false, 1, {"-v"}, true},
    {"no update due", "2024.05.01-build-001", false, false, 2, {"-v"}, true},
    {"main program running", "2024.06.01-build-004", false, true, 3, {}, false},
};

class RunnerTable : public ::testing::TestWithParam<RunnerCase> {};

TEST_P(RunnerTable, ExitCodeTellsTheOutcome) {
  const RunnerCase& c = GetParam();
  Installation run;
  MappedDrive drive(run.tmp / "SRV");
  ASSERT_TRUE(drive.Ok());
  run.Put(run.local, {{"VERSION.INI", "2024.05.01-build-001\r\n"},
                      {"ZOLENV.INI", ZolEnv(2, 3, drive.Letter())},
                      {"A.DLL", "old A"}});
  run.Put(run.server, {{"VERSION.INI", c.serverStamp + "\r\n"}, {"A.DLL", "new A"}, {"DATA", "d"}});
  if (c.backupFails) run.Put(run.local, {{"DATA/inside.txt", "folder"}});
  const std::string elsewhere = run.tmp / "RUNNING";
  if (c.mainRunning) {
    MakeFolders(elsewhere);
    ASSERT_TRUE(InstallKorvan(elsewhere));
    SetKorvanStay(elsewhere, 3000);
    ScopedCurrentDir there(elsewhere);
    ASSERT_TRUE(platform::Current().StartMainProgram(nullptr));
    ASSERT_TRUE(WaitForKorvanRuns(elsewhere, 1, 10000));
  }
  const Files before = run.Local();

  const ProcessResult result =
      RunProcess(HostPath(UPDATE_RUNNER_EXE), {}, run.tmp / "APLI", 60000, drive.Env());
  ASSERT_TRUE(result.started);
  EXPECT_EQ(result.exitCode, c.exitCode);

  if (c.exitCode == 0) {
    EXPECT_EQ(ReadFile(run.local + "A.DLL"), "new A");
    EXPECT_EQ(ReadFile(run.local + "VERSION.INI"), c.serverStamp + "\r\n");
  } else {
    EXPECT_EQ(run.Local(), before);
  }
  if (c.started) {
    const auto starts = run.Starts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].args, c.startArgs);
  } else {
    SleepMs(300);
    EXPECT_TRUE(ReadKorvanRuns(run.local).empty());
    EXPECT_FALSE(Exists(run.log));
  }
}

INSTANTIATE_TEST_SUITE_P(Update, RunnerTable, ::testing::ValuesIn(kRunnerCases),
                         [](const auto& row) { return RowName(row.param.name); });

}  // namespace
