// An update killed at random instants: every local file is then wholly old
// or wholly new, the local stamp is new only once every file is, and the
// next confirmed run completes the update. VELMOR_LONG=1 kills many more
// times than the normal suite does.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "common/update_fixture.h"

using namespace testing_support;
using namespace update_test;

namespace {

const char kTempSuffix[] = ".velmor-tmp";  // the copy's temporary file beside its destination

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Content(const std::string& rel, const char* version, std::size_t size) {
  std::string bytes;
  const std::string unit = version + std::string(":") + rel + "\n";
  while (bytes.size() < size) bytes += unit;
  bytes.resize(size);
  return bytes;
}

// A kill of the process is what is tested, which syncing to disk does not
// change: where a memory file system is at hand the installation lives
// there, so that many kills take little time.
struct OnMemoryFileSystem {
  OnMemoryFileSystem() {
    const char* previous = std::getenv("TMPDIR");
    if (previous != nullptr) m_previous = previous;
    m_bHad = previous != nullptr;
    if (IsFolder("/dev/shm") && access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
  }
  void Restore() {
    if (m_bHad) setenv("TMPDIR", m_previous.c_str(), 1);
    else unsetenv("TMPDIR");
  }
  std::string m_previous;
  bool m_bHad = false;
};

struct Interrupted : OnMemoryFileSystem, Installation {
  Interrupted() : drive(tmp / "SRV") {
    Restore();
    std::mt19937 sizes(7);
    for (int i = 0; i < 300; ++i) {
      const std::string rel = "D" + std::to_string(i % 12) + "/F" + std::to_string(i) + ".DAT";
      const std::size_t size = 512 + sizes() % 32768;
      if (i % 6 != 5) oldFiles[rel] = Content(rel, "old", size);
      newFiles[rel] = Content(rel, "new", size + sizes() % 2048);
    }
    oldFiles["BIG.DAT"] = Content("BIG.DAT", "old", 3 << 20);
    newFiles["BIG.DAT"] = Content("BIG.DAT", "new", 3 << 20);
    oldFiles["VERSION.INI"] = "2024.05.01-build-001\r\n";
    newFiles["VERSION.INI"] = "2024.06.01-build-004\r\n";
    Put(server, newFiles);
  }

  void ResetLocal() {
    RemoveTree(tmp / "APLI");
    MakeFolders(tmp / "APLI");
    EXPECT_TRUE(InstallKorvan(local));
    Put(local, oldFiles);
    Put(local, {{"ZOLENV.INI", ZolEnv(2, 3, drive.Letter())}});
  }

  // The program files of the local folder; fails the test on a file that
  // is neither the old nor the new one. The count of new files.
  std::size_t CheckWholeFiles(std::size_t& leftovers) {
    leftovers = 0;
    std::size_t nNew = 0;
    Files state = Local();
    for (const auto& [rel, bytes] : state) {
      if (EndsWith(rel, "/") || rel == "korvan.exe" || rel == "ZOLENV.INI") continue;
      if (EndsWith(rel, kTempSuffix)) {
        ++leftovers;
        continue;
      }
      const auto fresh = newFiles.find(rel);
      const auto old = oldFiles.find(rel);
      EXPECT_NE(fresh, newFiles.end()) << "unexpected file " << rel;
      if (fresh != newFiles.end() && bytes == fresh->second) {
        ++nNew;
      } else {
        EXPECT_TRUE(old != oldFiles.end() && bytes == old->second) << rel << " is mixed";
      }
    }
    for (const auto& [rel, bytes] : oldFiles) EXPECT_EQ(state.count(rel), 1u) << rel << " is gone";
    if (state["VERSION.INI"] == newFiles["VERSION.INI"]) {
      EXPECT_EQ(nNew, newFiles.size()) << "the local stamp is new while files are old";
    }
    return nNew;
  }

  // Starts the runner in the local folder and kills it after delay unless
  // it has ended by then. True when it was killed.
  bool RunAndKill(std::chrono::microseconds delay) {
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(local.c_str()) != 0) _exit(127);
      execl(UPDATE_RUNNER_EXE, UPDATE_RUNNER_EXE, static_cast<char*>(nullptr));
      _exit(127);
    }
    EXPECT_GT(pid, 0);
    if (pid <= 0) return false;
    usleep(static_cast<useconds_t>(delay.count()));
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return false;
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status);
  }

  int RunToEnd() {
    const ProcessResult r = RunProcess(UPDATE_RUNNER_EXE, {}, tmp / "APLI", 120000);
    WaitUntilMainClosed();
    return r.exitCode;
  }

  MappedDrive drive;
  Files oldFiles;
  Files newFiles;
};

TEST(UpdateInterruption, KilledUpdateLeavesWholeFilesAndCompletesNextTime) {
  Interrupted run;
  ASSERT_TRUE(run.drive.Ok());
  const char* longRun = std::getenv("VELMOR_LONG");
  const int kills = longRun != nullptr && std::string(longRun) == "1" ? 300 : 30;

  // One run without a kill tells how long an update lasts here.
  run.ResetLocal();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(run.RunToEnd(), 0);
  const auto full = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  std::size_t leftovers = 0;
  ASSERT_EQ(run.CheckWholeFiles(leftovers), run.newFiles.size());

  const unsigned seed = std::random_device{}();
  std::mt19937 rng(seed);
  std::uniform_int_distribution<long long> instant(0, full.count());
  int killed = 0;
  int mixed = 0;
  for (int i = 0; i < kills && !HasFailure(); ++i) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", kill " + std::to_string(i));
    run.ResetLocal();
    if (run.RunAndKill(std::chrono::microseconds(instant(rng)))) ++killed;
    const std::size_t nNew = run.CheckWholeFiles(leftovers);
    const bool allNew = nNew == run.newFiles.size();
    if (nNew > 0 && !allNew) ++mixed;
    const int code = run.RunToEnd();
    // Killed after the local stamp turned new: nothing is due any more.
    EXPECT_TRUE(code == 0 || (code == 2 && allNew)) << "exit code " << code;
    EXPECT_EQ(run.CheckWholeFiles(leftovers), run.newFiles.size());
    EXPECT_EQ(leftovers, 0u);
  }
  std::printf("%d of %d runs killed, %d in the middle of the copies (full run %lld us, seed %u)\n",
              killed, kills, mixed, static_cast<long long>(full.count()), seed);
  // The instants must reach into the copy loop, or nothing was shown.
  EXPECT_GE(killed, kills / 2);
  EXPECT_GE(mixed, 1);
}

}  // namespace
