// One updater per installation: while one run holds the lock of its local
// folder, a second run in the same folder ends at once, changing and
// starting nothing; runs in other folders are not held back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "app/InstallationLock.h"
#include "app/UpdateApp.h"
#include "common/AppTestSupport.h"
#include "common/Korvan.h"
#include "common/ReliabilityInstallation.h"

using namespace testing_support;

namespace {

TEST(ReliabilityLock, NamesAreValidMutexAndFileNamesOnePerFolder) {
  const std::string a = InstallationLock::NameFor(Sep() + "x" + Sep() + "APLI" + Sep());
  const std::string b = InstallationLock::NameFor(Sep() + "y" + Sep() + "APLI" + Sep());
  EXPECT_NE(a, b);
  EXPECT_EQ(a, InstallationLock::NameFor(Sep() + "X" + Sep() + "apli" + Sep()));
  EXPECT_EQ(a.compare(0, 8, "velmor2-"), 0);
  // No separator, colon or other character a mutex or file name refuses.
  EXPECT_EQ(a.find_first_not_of("velmor2-0123456789abcdef"), std::string::npos) << a;
}

TEST(ReliabilityLock, ASecondRunInTheSameFolderEndsAtOnceStartingNothing) {
  Installation inst;
  ASSERT_TRUE(inst.Drive().Ok());
  const std::string other = inst.AddClient("Y");
  RecordingPlatform recording;
  {
    ScopedCurrentDir cwd(inst.Local());
    CUpdateApp first;
    ASSERT_TRUE(first.PrepareRun());
    {
      CUpdateApp second;
      EXPECT_FALSE(second.PrepareRun());
      EXPECT_TRUE(recording.Starts().empty());
    }
    {
      ScopedCurrentDir elsewhere(other);
      CUpdateApp third;
      EXPECT_TRUE(third.PrepareRun()) << "another installation is not held back";
    }
  }
  // The lock goes with the run that held it.
  ScopedCurrentDir cwd(inst.Local());
  CUpdateApp again;
  EXPECT_TRUE(again.PrepareRun());
  EXPECT_TRUE(recording.Starts().empty());
}

#ifdef UPDATE_RUNNER_EXE
// Two updaters started at the same moment in one folder, many times over:
// one updates, the other finds the lock (or, started late, no update due);
// never do both run the transaction.
TEST(ReliabilityLock, TwoUpdatersStartedAtOnceUpdateOnce) {
  Installation inst;
  inst.SetBulk(40);
  // VELMOR_LOCK_ROUNDS sets the number of pairs (scripts/reliability.sh).
  const char* rounds = std::getenv("VELMOR_LOCK_ROUNDS");
#ifdef _WIN32
  const int nDefault = 4;
#else
  const int nDefault = 12;
#endif
  const int nRounds = rounds != nullptr && std::atoi(rounds) > 0 ? std::atoi(rounds) : nDefault;
  int nLocked = 0;
  for (int round = 0; round < nRounds; ++round) {
    inst.Reset(round == 0);
    ChildProcess a, b;
    ASSERT_TRUE(a.Start(HostPath(UPDATE_RUNNER_EXE), inst.Local(), inst.ChildEnv()));
    ASSERT_TRUE(b.Start(HostPath(UPDATE_RUNNER_EXE), inst.Local(), inst.ChildEnv()));
    const int codeA = a.Wait(60000), codeB = b.Wait(60000);
    ASSERT_TRUE((codeA == 0 && codeB == 2) || (codeA == 2 && codeB == 0))
        << "round " << round << ": exit codes " << codeA << " and " << codeB;
    AwaitKorvan(inst.Local(), 1, 10000);
    const std::vector<KorvanRun> runs = ReadKorvanRuns(inst.Local());
    int nVersionLines = 0;
    for (const std::string& line : inst.LogTexts())
      nVersionLines += line == std::string(kOldStamp) + " -> " + kNewStamp ? 1 : 0;
    EXPECT_EQ(nVersionLines, 1) << "round " << round << ": both ran the update";
    EXPECT_EQ(inst.CheckUpdated(inst.Local()), "") << "round " << round;
    // The second found the lock taken when it started nothing at all.
    if (runs.size() == 1) ++nLocked;
    else EXPECT_EQ(runs.size(), 2u) << "round " << round;
  }
  std::ostringstream summary;
  summary << "lock: " << nRounds << " pairs started at once, " << nLocked
          << " times the second found the lock taken, never both updated";
  std::cout << "[ figures  ] " << summary.str() << std::endl;
  RecordProperty("figures", summary.str());
}
#endif

}  // namespace
