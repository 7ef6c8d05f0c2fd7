// The installation the reliability tests update: a local program folder
// X/APLI with its LOG folder and the backup folder X/APLI_BAK beside it, and
// a server drive whose ZOLDATA/APLI holds a newer version. Each test gets a
// fresh one in a temporary folder; Reset lays the standard trees anew so a
// test can run many updates in a row.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/AppTestSupport.h"
#include "common/TestSupport.h"

namespace testing_support {

// The stamps of the standard trees: 20 bytes each, so a success marks the
// backup VERSION.INI.
extern const char kOldStamp[];
extern const char kNewStamp[];
// The log lines of package kind 2.
extern const char kSuccessText[];
extern const char kFailureText[];

// Sets XDG_RUNTIME_DIR (where the POSIX backend keeps its named mutexes) to
// a folder of the test's own for its lifetime, so that the stand-in main
// program of one test is never taken for the running main program of
// another. Does nothing on Windows.
class PrivateMutexes {
 public:
  explicit PrivateMutexes(const std::string& folder);
  ~PrivateMutexes();
  PrivateMutexes(const PrivateMutexes&) = delete;
  PrivateMutexes& operator=(const PrivateMutexes&) = delete;
  // NAME=VALUE settings a child process needs to share them.
  std::vector<std::string> Env() const;

 private:
  std::string m_folder;
  std::optional<std::string> m_previous;
};

class Installation {
 public:
  // clientRoot: where X (local, backup and log folders) goes; below the
  // temporary root when empty.
  explicit Installation(const std::string& clientRoot = "");
  ~Installation();
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  const std::string& Root() const { return m_root.Path(); }
  std::string Local(const std::string& relative = "") const;
  std::string Backup(const std::string& relative = "") const;
  std::string LogFile() const;
  std::string Server(const std::string& relative = "") const;
  const MappedDrive& Drive() const { return *m_drive; }
  // What a child process needs to see the drive and the private mutexes.
  std::vector<std::string> ChildEnv() const;

  // Lays the standard trees (below), removing whatever an earlier run left:
  //  local   VERSION.INI (old stamp), ZOLENV.INI, the catalogue, korvan.exe,
  //          a.dll, b.dat (read-only), SUB/c.dll, SUB/d.dat, SUB/DEEP/e.txt,
  //          keep.txt (no server counterpart)
  //  server  the same five files and VERSION.INI with new content, and the
  //          new files h.txt, SUB/i.new, NEW/f.dat, NEW/SUB2/g.dat: ten files
  //  backup  stale.txt, OLD/x.txt left by an earlier run
  //  log     one line of an earlier run
  // bServerToo false keeps the server folder as it is.
  void Reset(bool bServerToo = true);
  // From the next Reset on, count more server files below BULK, every other
  // one with an old local counterpart: an update long enough to interrupt.
  void SetBulk(std::size_t count) { m_nBulk = count; }
  // Lays one more local program folder (LOCAL/APLI below root/name) for the
  // same server: the standard local tree only. Returns its path.
  std::string AddClient(const std::string& name) const;

  // The local folder as a test compares it: without the stand-in's own
  // files, which change with every start.
  std::map<std::string, std::string> LocalSnapshot() const;
  static std::map<std::string, std::string> FolderSnapshot(const std::string& folder);

  // The lines of the log without their 20-character prefix.
  std::vector<std::string> LogTexts() const;

  // Empty when the local folder is the complete update of the server
  // folder (every server file byte for byte, local-only files untouched,
  // and with bMarked the backup VERSION.INI marked); otherwise what differs.
  std::string CheckUpdated(const std::string& local, bool bMarked = true) const;
  // Empty when snapshot equals before apart from folders that before lacks
  // (created for new files); otherwise what differs.
  static std::string CheckUnchanged(const std::map<std::string, std::string>& before,
                                    const std::map<std::string, std::string>& after);

 private:
  void WriteLocalTree(const std::string& local) const;
  TempFolder m_root;
  std::unique_ptr<MappedDrive> m_drive;
  std::unique_ptr<PrivateMutexes> m_mutexes;
  std::size_t m_nBulk = 0;
  std::string m_x;  // the folder that holds APLI, APLI_BAK and LOG
};

// A symbolic link at `at` to target, made by the file system's own means:
// symlink on POSIX; under Wine a Unix symbolic link (made with /bin/ln),
// which Windows programs there see as the folder or file it leads to.
// target "/" is the root of the Unix file system. False on failure.
bool MakeLink(const std::string& target, const std::string& at);
// Removes the link itself (never what it leads to); true when it is gone.
// Under Wine the folder functions would walk into a Unix link, so a test
// removes its links this way before it cleans up.
bool RemoveLink(const std::string& at);

// A program started without waiting for it, so that several run at once
// or one can be killed part way.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();  // kills it if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // env holds extra NAME=VALUE settings. False when it could not be started.
  bool Start(const std::string& program, const std::string& workingDir,
             const std::vector<std::string>& env);
  // The exit code; -1 after timeoutMs (it is then killed), 128 + signal for
  // a process ended by a signal.
  int Wait(int timeoutMs);
  // Ends it at once (SIGKILL, TerminateProcess): true when that ended it,
  // false when it had ended already.
  bool Kill();

 private:
#ifdef _WIN32
  void* m_hProcess = nullptr;
#else
  int m_pid = -1;
#endif
};

// The record of a stand-in start, as one text: "(none)" for no argument,
// else the arguments joined by blanks; "(not started)" when none came
// within timeoutMs. Waits for the stand-in to end as well.
std::string AwaitKorvan(const std::string& local, std::size_t expectedRuns, int timeoutMs);

}  // namespace testing_support
