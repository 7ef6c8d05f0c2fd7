// The mutex probe and the start of the main program, against the stand-in
// korvan.exe running as a real process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <thread>

#include "common/AppTestSupport.h"
#include "common/Korvan.h"
#include "common/TestSupport.h"
#include "platform/Platform.h"

using namespace testing_support;
using platform::Native;

namespace {

constexpr int kWaitMs = 15000;

// A program folder with korvan.exe. On POSIX the "korvan" lock lives in a
// runtime folder of this test alone, so tests running side by side do not
// see each other's stand-in.
class PlatformProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallKorvan(m_tmp.Path()));
#ifndef _WIN32
    MakeFolders(m_tmp / "run");
    const char* previous = std::getenv("XDG_RUNTIME_DIR");
    m_hadRuntime = previous != nullptr;
    if (m_hadRuntime) m_previousRuntime = previous;
    setenv("XDG_RUNTIME_DIR", (m_tmp / "run").c_str(), 1);
#endif
    ASSERT_FALSE(Native().MutexExists("korvan")) << "another korvan.exe is running";
  }

  void TearDown() override {
    WaitUntilEnded();
#ifndef _WIN32
    if (m_hadRuntime) setenv("XDG_RUNTIME_DIR", m_previousRuntime.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
#endif
  }

  // The stand-in must be gone before its folder is removed.
  bool WaitUntilEnded() {
    for (int i = 0; i < kWaitMs / 20; ++i) {
      if (!Native().MutexExists("korvan")) return true;
      SleepMs(20);
    }
    return false;
  }

  // Runs korvan.exe for up to timeoutMs on a thread of its own; RunProcess
  // kills it when it is still running then.
  std::thread RunKorvan(int timeoutMs, ProcessResult& result) {
    return std::thread([this, timeoutMs, &result] {
      result = RunProcess(HostPath(m_tmp / "korvan.exe"), {}, m_tmp.Path(), timeoutMs);
    });
  }

  TempFolder m_tmp;
#ifndef _WIN32
  bool m_hadRuntime = false;
  std::string m_previousRuntime;
#endif
};

TEST_F(PlatformProcess, ProbeSeesTheRunningProgramAndNotTheEndedOne) {
  SetKorvanStay(m_tmp.Path(), 1500);
  ProcessResult result;
  std::thread runner = RunKorvan(kWaitMs, result);
  bool recorded = WaitForKorvanRuns(m_tmp.Path(), 1, kWaitMs);
  // The record is written with the mutex held: it runs now.
  bool whileRunning = Native().MutexExists("korvan");
  runner.join();
  ASSERT_TRUE(recorded);
  EXPECT_TRUE(whileRunning);
  EXPECT_TRUE(result.started);
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0) << "korvan.exe could not take its mutex";
  EXPECT_FALSE(Native().MutexExists("korvan")) << "after a normal end";
}

TEST_F(PlatformProcess, ProbeSeesNothingAfterTheProgramWasKilled) {
  SetKorvanStay(m_tmp.Path(), 600000);
  ProcessResult result;
  std::thread runner = RunKorvan(4000, result);
  bool recorded = WaitForKorvanRuns(m_tmp.Path(), 1, 3500);
  bool whileRunning = Native().MutexExists("korvan");
  runner.join();
  ASSERT_TRUE(recorded);
  EXPECT_TRUE(whileRunning);
  EXPECT_TRUE(result.timedOut) << "korvan.exe was meant to be killed";
  EXPECT_TRUE(WaitUntilEnded()) << "a killed holder leaves no mutex behind";
}

// A probe that kept a handle or a lock would keep the mutex alive or stand
// in the holder's way: probe again and again, then take it.
TEST_F(PlatformProcess, ProbesKeepNothing) {
  for (int i = 0; i < 50; ++i) ASSERT_FALSE(Native().MutexExists("korvan"));
  ProcessResult result = RunProcess(HostPath(m_tmp / "korvan.exe"), {}, m_tmp.Path(), kWaitMs);
  EXPECT_EQ(result.exitCode, 0) << "korvan.exe could not take its mutex after the probes";

  SetKorvanStay(m_tmp.Path(), 1000);
  std::thread runner = RunKorvan(kWaitMs, result);
  ASSERT_TRUE(WaitForKorvanRuns(m_tmp.Path(), 2, kWaitMs));
  int seen = 0;
  for (int i = 0; i < 50; ++i) seen += Native().MutexExists("korvan") ? 1 : 0;
  runner.join();
  EXPECT_GT(seen, 0);
  EXPECT_FALSE(Native().MutexExists("korvan"));
  {
    auto hold = Native().HoldMutex("korvan");
    EXPECT_NE(hold, nullptr) << "the probes kept the mutex";
    EXPECT_TRUE(Native().MutexExists("korvan"));
    EXPECT_EQ(Native().HoldMutex("korvan"), nullptr) << "held already";
  }
  EXPECT_FALSE(Native().MutexExists("korvan"));
}

TEST_F(PlatformProcess, HolderInThisProcessIsSeen) {
  std::mt19937 rng(std::random_device{}());
  const std::string name = "velmor-test-" + std::to_string(rng());
  EXPECT_FALSE(Native().MutexExists(name));
  {
    auto hold = Native().HoldMutex(name);
    ASSERT_NE(hold, nullptr);
    EXPECT_TRUE(Native().MutexExists(name));
  }
  EXPECT_FALSE(Native().MutexExists(name));
}

// The other tests tell "no parameter" from an empty one by the stand-in's
// record: it must keep every argument exactly, an empty one included.
TEST_F(PlatformProcess, StandInRecordsEveryArgumentExactly) {
  const std::vector<std::string> args = {"-v", "", "two words", "quote\"inside", "back\\slash\\"};
  ProcessResult result = RunProcess(HostPath(m_tmp / "korvan.exe"), args, m_tmp.Path(), kWaitMs);
  EXPECT_EQ(result.exitCode, 0);
  RunProcess(HostPath(m_tmp / "korvan.exe"), {}, m_tmp.Path(), kWaitMs);
  std::vector<KorvanRun> runs = ReadKorvanRuns(m_tmp.Path());
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].args, args);
  EXPECT_TRUE(runs[1].args.empty());
  EXPECT_FALSE(runs[0].cwd.empty());
}

struct StartCase {
  const char* name;
  const char* parameters;
  std::vector<std::string> expectedArgs;
};

class PlatformStart : public PlatformProcess, public ::testing::WithParamInterface<StartCase> {};

// The start is checked through what the started program itself received.
TEST_P(PlatformStart, MainProgramGetsExactlyTheParameter) {
  const StartCase& c = GetParam();
  std::string cwd;
  {
    ScopedCurrentDir inside(m_tmp.Path());
    cwd = Native().CurrentDirectory();
    EXPECT_TRUE(Native().StartMainProgram(c.parameters));
  }
  ASSERT_TRUE(WaitForKorvanRuns(m_tmp.Path(), 1, kWaitMs));
  std::vector<KorvanRun> runs = ReadKorvanRuns(m_tmp.Path());
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].cwd, cwd) << "started in the updater's current directory";
  EXPECT_EQ(runs[0].args, c.expectedArgs);
  EXPECT_TRUE(WaitUntilEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformStart,
    ::testing::Values(StartCase{"Verbose", "-v", {"-v"}},
                      StartCase{"NoParameterAtAll", nullptr, {}}),
    [](const ::testing::TestParamInfo<StartCase>& p) { return std::string(p.param.name); });

}  // namespace
