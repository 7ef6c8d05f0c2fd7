// Every file-system call of a confirmed update fails in turn: for each kind
// of call and each N, the Nth call fails (once, or from then on as a disk
// that stays full), until a run makes fewer than N calls of the kind. After
// every run the update is complete or the local folder is as it was (apart
// from folders made for new files), the log says which, and the main
// program was started accordingly: with no argument after a success, with
// "-v" after a rollback.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/UpdateApp.h"
#include "common/AppTestSupport.h"
#include "common/ReliabilityInstallation.h"
#include "platform/FaultInjectingPlatform.h"
#include "ui/UpdateDlg.h"

using namespace testing_support;
using platform::FaultCall;
using platform::FaultMode;

namespace {

// Start-up and a confirmed update in this process, with p as the platform,
// the way the headless runner does it.
void RunConfirmedUpdate(const Installation& inst, platform::Platform& p) {
  ScopedCurrentDir cwd(inst.Local());
  platform::SetCurrent(&p);
  {
    CUpdateApp app;
    if (app.PrepareRun()) {
      CUpdateDlg dlg;
      app.m_pMainWnd = &dlg;
      dlg.m_pApp = &app;
      dlg.OnInitDialog();
      dlg.OnOK();
      app.m_pMainWnd = nullptr;
    }
  }
  platform::SetCurrent(nullptr);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What is wrong after one run; empty when nothing is.
std::string Judge(const Installation& inst, const std::map<std::string, std::string>& before,
                  const platform::FaultInjectingPlatform& p, const std::string& korvan) {
  std::string problems;
  auto hit = [&](const std::string& name) {
    for (const std::string& path : p.FaultPaths())
      if (EndsWith(path, name)) return true;
    return false;
  };
  const bool bSucceeded = korvan == "(none)";
  // A failed write of the mark leaves it unmade, and the run a success.
  if (bSucceeded) problems = inst.CheckUpdated(inst.Local(), !hit(Sep() + "APLI_BAK" + Sep() + "VERSION.INI"));
  else if (korvan == "-v") problems = Installation::CheckUnchanged(before, inst.LocalSnapshot());
  else return "main program: " + korvan;
  if (p.FaultCount() == 0 && !bSucceeded) problems += "a run without a fault failed; ";

  // A write that failed on the log itself may have cost a line: then the log
  // must only not claim the other outcome.
  const std::vector<std::string> log = inst.LogTexts();
  const bool bLogHit = hit("Velmor.log");
  const std::string versions = std::string(kOldStamp) + " -> " + kNewStamp;
  auto has = [&](const std::string& text) {
    for (const std::string& line : log)
      if (line == text) return true;
    return false;
  };
  if (bLogHit) {
    if (has(bSucceeded ? kFailureText : kSuccessText)) problems += "log claims the other outcome; ";
  } else if (bSucceeded) {
    if (log.size() != 3 || log[1] != versions || log[2] != kSuccessText)
      problems += "log is not versions + success; ";
  } else if (log.size() != 4 || log[1] != versions || log[2] != kFailureText || log[3].empty()) {
    problems += "log is not versions + failure + name; ";
  }
  return problems;
}

// The fault platform, and how the run started the main program. Natively
// every start is real and read back from the stand-in's record. Under Wine a
// start costs a tenth of a second, so there the first run of each kind and
// mode starts the stand-in for real and the others note the parameter the
// run passed to the platform, which is all a start depends on.
class FaultsAndStarts : public platform::FaultInjectingPlatform {
 public:
  explicit FaultsAndStarts(bool bRealStart) : m_bRealStart(bRealStart) {}
  bool StartMainProgram(const char* parameters) override {
    m_starts.push_back(parameters == nullptr ? "(none)" : parameters);
    return m_bRealStart ? FaultInjectingPlatform::StartMainProgram(parameters) : true;
  }
  bool m_bRealStart;
  std::vector<std::string> m_starts;
};

struct Tally {
  int runs = 0;
  std::size_t faults = 0;
  int failures = 0;
};

// Every N for one kind and mode.
void EveryCallFails(Installation& inst, FaultCall call, FaultMode mode, Tally& tally) {
  for (std::size_t n = 1; n < 400; ++n) {
    inst.Reset();
    const auto before = inst.LocalSnapshot();
#ifdef _WIN32
    FaultsAndStarts p(n == 1);
#else
    FaultsAndStarts p(true);
#endif
    p.FailAt(call, n, mode);
    RunConfirmedUpdate(inst, p);
    std::string korvan = p.m_starts.size() == 1 ? p.m_starts[0] : "(started " + std::to_string(p.m_starts.size()) + " times)";
    if (p.m_bRealStart && AwaitKorvan(inst.Local(), 1, 15000) != korvan) korvan = "(stand-in record differs)";
    ++tally.runs;
    tally.faults += p.FaultCount();
    const std::string problems = Judge(inst, before, p, korvan);
    if (!problems.empty()) {
      ++tally.failures;
      ADD_FAILURE() << platform::FaultCallName(call) << " call " << n << " failing "
                    << platform::FaultModeName(mode) << " ("
                    << (p.FaultPaths().empty() ? "" : p.FaultPaths()[0]) << "): " << problems;
    }
    if (p.FaultCount() == 0) return;  // fewer than n calls: every one has failed
  }
  ADD_FAILURE() << platform::FaultCallName(call) << ": no end to the calls";
}

TEST(ReliabilityFaults, EveryCallOfAnUpdateFailsOnceAndFromThenOn) {
  Installation inst;
  ASSERT_TRUE(inst.Drive().Ok());
  Tally tally;
  for (std::size_t kind = 0; kind < platform::kFaultCallKinds; ++kind) {
    for (FaultMode mode : {FaultMode::Once, FaultMode::FromThenOn}) {
      EveryCallFails(inst, platform::FaultCallAt(kind), mode, tally);
    }
  }
  std::ostringstream summary;
  summary << "faults: " << tally.runs << " runs, " << tally.faults << " faults injected, "
          << tally.failures << " runs left the folder inconsistent";
  std::cout << "[ figures  ] " << summary.str() << std::endl;
  RecordProperty("figures", summary.str());
  // Each kind is reached: a tree of ten files makes far more calls than kinds.
  EXPECT_GT(tally.runs, 40);
}

}  // namespace
