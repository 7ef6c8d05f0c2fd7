// Sixteen clients update from one server folder at the same moment. None
// reads an empty server stamp (which would skip its update) and all of them
// end updated. Under Wine the share modes of one prefix are in force
// between the sixteen processes.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/ReliabilityInstallation.h"

using namespace testing_support;

namespace {

#ifdef UPDATE_RUNNER_EXE
constexpr int kClients = 16;

TEST(ReliabilityClients, SixteenClientsUpdateFromOneServerAtOnce) {
  Installation inst;
  ASSERT_TRUE(inst.Drive().Ok());
  std::vector<std::string> locals;
  std::vector<std::vector<std::string>> envs;
  for (int i = 0; i < kClients; ++i) {
    locals.push_back(inst.AddClient("C" + std::to_string(i)));
    std::vector<std::string> env = inst.Drive().Env();
#ifndef _WIN32
    // Each client machine has its own main program: a stand-in started by
    // one client must not count as running for the others.
    PrivateMutexes own(inst.Root() + "/run" + std::to_string(i));
    for (const std::string& e : own.Env()) env.push_back(e);
#endif
    envs.push_back(env);
  }
  std::vector<int> codes(kClients, -1);
  int nStarts = 0;
  // Under Wine the sixteen share one "korvan" mutex: a client that finds
  // another's stand-in running has changed nothing (exit 3) and goes again.
  for (int attempt = 0; attempt < 6; ++attempt) {
    std::vector<std::unique_ptr<ChildProcess>> runners;
    std::vector<int> started;
    for (int i = 0; i < kClients; ++i) {
      if (codes[i] != -1 && codes[i] != 3) continue;
      runners.push_back(std::make_unique<ChildProcess>());
      ASSERT_TRUE(runners.back()->Start(HostPath(UPDATE_RUNNER_EXE), locals[i], envs[i]));
      started.push_back(i);
      ++nStarts;
    }
    if (started.empty()) break;
    for (std::size_t k = 0; k < started.size(); ++k) codes[started[k]] = runners[k]->Wait(120000);
    for (int i : started) AwaitKorvan(locals[i], 1, 15000);
  }
  int nUpdated = 0;
  for (int i = 0; i < kClients; ++i) {
    EXPECT_NE(codes[i], 2) << "client " << i << " read no server stamp and skipped its update";
    EXPECT_EQ(codes[i], 0) << "client " << i;
    const std::string problems = inst.CheckUpdated(locals[i], false);
    EXPECT_EQ(problems, "") << "client " << i;
    if (codes[i] == 0 && problems.empty()) ++nUpdated;
  }
  std::ostringstream summary;
  summary << "clients: " << nUpdated << " of " << kClients
          << " updated from one server folder at once (" << nStarts << " starts)";
  std::cout << "[ figures  ] " << summary.str() << std::endl;
  RecordProperty("figures", summary.str());
}
#endif

}  // namespace
