// The updater killed with SIGKILL at random instants of a confirmed update:
// every local file then holds wholly its old or wholly its new content, the
// local stamp is new only once every file is, and the next run completes
// the update. VELMOR_KILLS sets the number of kills (20 by default;
// scripts/reliability.sh runs hundreds).
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "common/ReliabilityInstallation.h"

using namespace testing_support;

#ifdef UPDATE_RUNNER_EXE
namespace {

int KillCount() {
  const char* text = std::getenv("VELMOR_KILLS");
  const int n = text != nullptr ? std::atoi(text) : 0;
  return n > 0 ? n : 20;
}

bool IsCopyTemp(const std::string& relative) {
  const std::string suffix = ".velmor-tmp";
  return relative.size() > suffix.size() &&
         relative.compare(relative.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Every file old or new, the stamp new only when all are; empty when so.
std::string CheckInterrupted(const std::map<std::string, std::string>& before,
                             const std::map<std::string, std::string>& server,
                             const std::map<std::string, std::string>& after) {
  std::ostringstream out;
  bool bAllNew = true;
  for (const auto& [relative, bytes] : after) {
    if (!relative.empty() && relative.back() == '/') continue;
    if (IsCopyTemp(relative)) continue;  // a copy cut short, beside its destination
    auto old = before.find(relative);
    auto fresh = server.find(relative);
    const bool bOld = old != before.end() && old->second == bytes;
    const bool bNew = fresh != server.end() && fresh->second == bytes;
    if (!bOld && !bNew) out << relative << " is neither old nor new; ";
    if (fresh != server.end() && !bNew) bAllNew = false;
  }
  for (const auto& [relative, bytes] : server)
    if (relative.back() != '/' && after.count(relative) == 0) bAllNew = false;
  for (const auto& [relative, bytes] : before)
    if (after.count(relative) == 0 && server.count(relative) == 0) out << relative << " gone; ";
  const bool bStampNew = after.count("VERSION.INI") != 0 && after.at("VERSION.INI") == server.at("VERSION.INI");
  if (bStampNew && !bAllNew) out << "the stamp is new before every file is; ";
  return out.str();
}

int RunOnce(const Installation& inst, ChildProcess& runner) {
  if (!runner.Start(UPDATE_RUNNER_EXE, inst.Local(), inst.ChildEnv())) return -2;
  return runner.Wait(60000);
}

// Below /dev/shm where there is one: a kill cuts the update in the same
// places on any file system, and there the syncs of each copy cost nothing.
class ScopedTmpDir {
 public:
  ScopedTmpDir() {
    if (const char* old = std::getenv("TMPDIR")) m_previous = old;
    if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
  }
  ~ScopedTmpDir() {
    if (m_previous.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", m_previous.c_str(), 1);
  }

 private:
  std::string m_previous;
};

TEST(ReliabilityKill, KilledAtRandomInstantsEveryFileIsOldOrNew) {
  ScopedTmpDir tmp;
  Installation inst;
  inst.SetBulk(100);
  inst.Reset();
  ASSERT_TRUE(inst.Drive().Ok());
  const auto server = Snapshot(inst.Server());

  // How long one whole update takes here, to spread the kills over it.
  const auto start = std::chrono::steady_clock::now();
  {
    ChildProcess runner;
    ASSERT_EQ(RunOnce(inst, runner), 0);
  }
  const long long nWholeUs = std::chrono::duration_cast<std::chrono::microseconds>(
                                 std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(inst.CheckUpdated(inst.Local()), "");

  std::mt19937 rng(std::random_device{}());
  std::uniform_int_distribution<long long> instant(0, nWholeUs);
  const int nWanted = KillCount();
  int nKills = 0, nTooLate = 0, nFailures = 0;
  while (nKills < nWanted && nKills + nTooLate < nWanted * 3) {
    inst.Reset(false);
    const auto before = inst.LocalSnapshot();
    ChildProcess runner;
    ASSERT_TRUE(runner.Start(UPDATE_RUNNER_EXE, inst.Local(), inst.ChildEnv()));
    const long long nAtUs = instant(rng);
    std::this_thread::sleep_for(std::chrono::microseconds(nAtUs));
    if (!runner.Kill()) {
      ++nTooLate;  // it had finished already
      continue;
    }
    ++nKills;
    const auto after = inst.LocalSnapshot();
    std::string problems = CheckInterrupted(before, server, after);
    // The next run takes up the update and completes it, unless the killed
    // one had got as far as the new stamp: then none is due.
    const bool bStampNew = after.count("VERSION.INI") != 0 && after.at("VERSION.INI") == server.at("VERSION.INI");
    ChildProcess next;
    const int code = RunOnce(inst, next);
    AwaitKorvan(inst.Local(), 1, 10000);
    if (code != (bStampNew ? 2 : 0)) problems += "the next run ended with " + std::to_string(code) + "; ";
    problems += inst.CheckUpdated(inst.Local(), false);
    for (const auto& [relative, bytes] : inst.LocalSnapshot())
      if (IsCopyTemp(relative)) problems += relative + " left behind; ";
    if (!problems.empty()) {
      ++nFailures;
      ADD_FAILURE() << "killed after " << nAtUs << " us: " << problems;
    }
  }
  std::ostringstream summary;
  summary << "kills: " << nKills << " SIGKILLs during an update of " << server.size()
          << " server files (" << nTooLate << " came after the end), " << nFailures
          << " left a file part-written or the stamp early";
  std::cout << "[ figures  ] " << summary.str() << std::endl;
  RecordProperty("figures", summary.str());
  EXPECT_EQ(nKills, nWanted) << "too few kills landed during an update";
}

}  // namespace
#endif  // UPDATE_RUNNER_EXE
