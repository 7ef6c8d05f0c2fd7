// The start of the main program, with the real stand-in korvan.exe, and the
// running probe. The probe is asked about a mutex of the test's own: holding
// "korvan" for long would make other tests on this machine see the main
// program running.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/MainControl.h"
#include "common/AppTestSupport.h"
#include "common/Korvan.h"
#include "common/TestSupport.h"
#include "platform/Platform.h"

using namespace testing_support;

namespace {

TEST(LaunchMain, NullStartsWithoutAnyArgumentAndMinusVWithIt) {
  const struct {
    const char* parameters;
    std::vector<std::string> args;
  } rows[] = {{nullptr, {}}, {"-v", {"-v"}}};
  for (const auto& row : rows) {
    TempFolder folder;
    ASSERT_TRUE(InstallKorvan(folder.Path()));
    {
      ScopedCurrentDir cd(folder.Path());
      EXPECT_EQ(LaunchMain(row.parameters), TRUE);
    }
    ASSERT_TRUE(WaitForKorvanRuns(folder.Path(), 1, 15000));
    const std::vector<KorvanRun> runs = ReadKorvanRuns(folder.Path());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].args, row.args);
    EXPECT_EQ(runs[0].cwd, folder.Path());
  }
}

TEST(IsMainClosed, TrueWithoutTheMutexFalseWhileItIsHeld) {
  // A name of this test's own, so that korvan programs of other tests running
  // on this machine cannot interfere.
  const std::string name = "velmor-probe-" + std::to_string(
      std::chrono::steady_clock::now().time_since_epoch().count());
  EXPECT_EQ(IsMainClosed(name), TRUE);
  {
    auto hold = platform::Current().HoldMutex(name);
    ASSERT_NE(hold, nullptr);
    EXPECT_EQ(IsMainClosed(name), FALSE);
    // The probe keeps nothing: asking again gives the same answer.
    EXPECT_EQ(IsMainClosed(name), FALSE);
  }
  EXPECT_EQ(IsMainClosed(name), TRUE);
}

}  // namespace
