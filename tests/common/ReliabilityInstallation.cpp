#include "common/ReliabilityInstallation.h"

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <sstream>

#include "common/Korvan.h"
#include "common/TestSupport.h"
#include "platform/Platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace testing_support {

const char kOldStamp[] = "2023.12.31 build 001";
const char kNewStamp[] = "2024.01.31 build 002";
const char kSuccessText[] = "An update of a program succeeded.";
const char kFailureText[] = "An update of a program was failed.";

namespace {

// Contents that differ from file to file and between old and new, a few
// KiB each, so a half-copied file shows.
std::string Content(const std::string& name, const std::string& version, std::size_t size) {
  std::string out;
  while (out.size() < size) out += version + ":" + name + ":" + std::to_string(out.size()) + "\n";
  return out;
}

struct TreeFile {
  const char* relative;
  std::size_t size;
};

const TreeFile kReplaced[] = {
    {"a.dll", 3000}, {"b.dat", 1200}, {"SUB/c.dll", 5000}, {"SUB/d.dat", 700},
    {"SUB/DEEP/e.txt", 2500}};
const TreeFile kNew[] = {
    {"h.txt", 900}, {"SUB/i.new", 1500}, {"NEW/f.dat", 4000}, {"NEW/SUB2/g.dat", 600}};

std::string BulkName(std::size_t i) {
  return "BULK/D" + std::to_string(i % 7) + "/f" + std::to_string(i) + ".dat";
}

const char kCatalogue[] =
    "IDC_APLNAME=Velmor update %s\r\n"
    "MG921000=Press the button to update.\r\n"
    "MG921001=Updating...\r\n"
    "ME921001=Close the catalogue first.\r\n";

}  // namespace

PrivateMutexes::PrivateMutexes(const std::string& folder) : m_folder(folder) {
#ifndef _WIN32
  MakeFolders(folder);
  if (const char* old = std::getenv("XDG_RUNTIME_DIR")) m_previous = old;
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
#endif
}

PrivateMutexes::~PrivateMutexes() {
#ifndef _WIN32
  if (m_previous) setenv("XDG_RUNTIME_DIR", m_previous->c_str(), 1);
  else unsetenv("XDG_RUNTIME_DIR");
#endif
}

std::vector<std::string> PrivateMutexes::Env() const {
#ifdef _WIN32
  return {};
#else
  return {"XDG_RUNTIME_DIR=" + m_folder};
#endif
}

Installation::Installation(const std::string& clientRoot)
    : m_x(clientRoot.empty() ? m_root / "X" : Join(clientRoot, "X")) {
  MakeFolders(m_root / "SRV/ZOLDATA/APLI");
  m_drive = std::make_unique<MappedDrive>(m_root / "SRV");
  m_mutexes = std::make_unique<PrivateMutexes>(m_root / "run");
  Reset();
}

Installation::~Installation() = default;

std::string Installation::Local(const std::string& relative) const {
  return relative.empty() ? Join(m_x, "APLI") : Join(m_x, "APLI/" + relative);
}

std::string Installation::Backup(const std::string& relative) const {
  return relative.empty() ? Join(m_x, "APLI_BAK") : Join(m_x, "APLI_BAK/" + relative);
}

std::string Installation::LogFile() const { return Join(m_x, "LOG/Velmor.log"); }

std::string Installation::Server(const std::string& relative) const {
  return relative.empty() ? m_root / "SRV/ZOLDATA/APLI" : m_root / ("SRV/ZOLDATA/APLI/" + relative);
}

std::vector<std::string> Installation::ChildEnv() const {
  std::vector<std::string> env = m_drive->Env();
  for (const std::string& e : m_mutexes->Env()) env.push_back(e);
  return env;
}

void Installation::WriteLocalTree(const std::string& local) const {
  RemoveTree(local);
  WriteFile(Join(local, "VERSION.INI"), std::string(kOldStamp) + "\r\n[info]\r\n");
  WriteFile(Join(local, "ZOLENV.INI"), ZolEnv(2, 3, m_drive->Letter()));
  WriteFile(Join(local, "translations/velmor_00.ini"), kCatalogue);
  for (const TreeFile& f : kReplaced) WriteFile(Join(local, f.relative), Content(f.relative, "old", f.size));
  for (std::size_t i = 0; i < m_nBulk; i += 2) WriteFile(Join(local, BulkName(i)), Content(BulkName(i), "old", 2000 + i * 37));
  WriteFile(Join(local, "keep.txt"), "local only\r\n");
  SetReadOnly(Join(local, "b.dat"), true);
  InstallKorvan(local);
}

void Installation::Reset(bool bServerToo) {
  RemoveTree(m_x);
  WriteLocalTree(Local());
  WriteFile(Backup("stale.txt"), "from an earlier run");
  WriteFile(Backup("OLD/x.txt"), "from an earlier run");
  WriteFile(LogFile(), "2023/12/31 10:00:00 earlier line\r\n");
  if (!bServerToo) return;
  RemoveTree(Server());
  WriteFile(Server("VERSION.INI"), std::string(kNewStamp) + "\r\n[info]\r\nnew=1\r\n");
  for (const TreeFile& f : kReplaced) WriteFile(Server(f.relative), Content(f.relative, "new", f.size + 333));
  for (const TreeFile& f : kNew) WriteFile(Server(f.relative), Content(f.relative, "new", f.size));
  for (std::size_t i = 0; i < m_nBulk; ++i) WriteFile(Server(BulkName(i)), Content(BulkName(i), "new", 3000 + i * 41));
}

std::string Installation::AddClient(const std::string& name) const {
  const std::string local = m_root / (name + "/APLI");
  WriteLocalTree(local);
  MakeFolders(m_root / (name + "/LOG"));
  return local;
}

std::map<std::string, std::string> Installation::FolderSnapshot(const std::string& folder) {
  std::map<std::string, std::string> snapshot = Snapshot(folder);
  snapshot.erase("korvan-runs.txt");
  snapshot.erase("korvan-stay-ms.txt");
  return snapshot;
}

std::map<std::string, std::string> Installation::LocalSnapshot() const {
  return FolderSnapshot(Local());
}

std::vector<std::string> Installation::LogTexts() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(LogFile()));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line.size() > 20 ? line.substr(20) : std::string());
  }
  return lines;
}

std::string Installation::CheckUpdated(const std::string& local, bool bMarked) const {
  std::ostringstream out;
  const auto server = Snapshot(Server());
  const auto after = FolderSnapshot(local);
  for (const auto& [relative, bytes] : server) {
    auto it = after.find(relative);
    if (it == after.end()) out << relative << " missing; ";
    else if (it->second != bytes) out << relative << " not the server's; ";
  }
  if (after.count("keep.txt") == 0 || after.at("keep.txt") != "local only\r\n") out << "keep.txt changed; ";
  std::string marked = kNewStamp;
  marked[19] = '9';
  if (bMarked && local == Local() && ReadFile(Backup("VERSION.INI")) != marked) out << "backup VERSION.INI not marked; ";
  return out.str();
}

std::string Installation::CheckUnchanged(const std::map<std::string, std::string>& before,
                                         const std::map<std::string, std::string>& after) {
  std::ostringstream out;
  for (const auto& [relative, bytes] : before) {
    auto it = after.find(relative);
    if (it == after.end()) out << relative << " gone; ";
    else if (it->second != bytes) out << relative << " changed; ";
  }
  for (const auto& [relative, bytes] : after) {
    if (before.count(relative) != 0) continue;
    if (relative.empty() || relative.back() != '/') out << relative << " added; ";
  }
  return out.str();
}

#ifdef _WIN32
namespace {
// Runs a Unix program under Wine and waits until done(at) holds.
bool RunUnixUntil(const std::string& cmd, const std::string& at,
                  bool (*done)(const std::string&)) {
  if (!testing_support::StartUnixCommand(cmd)) return false;
  for (int i = 0; i < 250; ++i) {
    if (done(at)) return true;
    Sleep(20);
  }
  return false;
}

bool Present(const std::string& at) { return GetFileAttributesA(at.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool Gone(const std::string& at) { return !Present(at); }
}  // namespace

bool MakeLink(const std::string& target, const std::string& at) {
  const std::string unixTarget = target == "/" ? "/" : testing_support::UnixPathOf(target);
  const std::string unixAt = testing_support::UnixPathOf(at);
  if (unixTarget.empty() || unixAt.empty()) return false;
  // Windows rules split the command line: the paths hold no blanks.
  return RunUnixUntil("/bin/ln -sfn " + unixTarget + " " + unixAt, at, Present);
}

bool RemoveLink(const std::string& at) {
  const std::string unixAt = testing_support::UnixPathOf(at);
  if (unixAt.empty()) return false;
  return RunUnixUntil("/bin/rm -f " + unixAt, at, Gone);
}

ChildProcess::~ChildProcess() {
  if (m_hProcess == nullptr) return;
  Kill();
  CloseHandle(static_cast<HANDLE>(m_hProcess));
}

bool ChildProcess::Start(const std::string& program, const std::string& workingDir,
                         const std::vector<std::string>& env) {
  std::string block;
  char* current = GetEnvironmentStringsA();
  for (const char* p = current; *p != '\0'; p += std::strlen(p) + 1) block.append(p, std::strlen(p) + 1);
  FreeEnvironmentStringsA(current);
  for (const std::string& e : env) block.append(e).push_back('\0');
  block.push_back('\0');
  std::string cmd = "\"" + program + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0,
                      env.empty() ? nullptr : block.data(), workingDir.c_str(), &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  m_hProcess = pi.hProcess;
  return true;
}

int ChildProcess::Wait(int timeoutMs) {
  if (m_hProcess == nullptr) return -1;
  HANDLE h = static_cast<HANDLE>(m_hProcess);
  if (WaitForSingleObject(h, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    Kill();
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(h, &code);
  return static_cast<int>(code);
}

bool ChildProcess::Kill() {
  if (m_hProcess == nullptr) return false;
  const bool bKilled = TerminateProcess(static_cast<HANDLE>(m_hProcess), 137) != FALSE;
  WaitForSingleObject(static_cast<HANDLE>(m_hProcess), INFINITE);
  return bKilled;
}
#else
bool MakeLink(const std::string& target, const std::string& at) {
  return symlink(target.c_str(), at.c_str()) == 0;
}

bool RemoveLink(const std::string& at) { return unlink(at.c_str()) == 0; }

ChildProcess::~ChildProcess() {
  if (m_pid > 0) Kill();
}

bool ChildProcess::Start(const std::string& program, const std::string& workingDir,
                         const std::vector<std::string>& env) {
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    if (chdir(workingDir.c_str()) != 0) _exit(127);
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  m_pid = pid;
  return true;
}

int ChildProcess::Wait(int timeoutMs) {
  if (m_pid <= 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  for (;;) {
    const pid_t r = waitpid(m_pid, &status, WNOHANG);
    if (r == m_pid) break;
    if (r < 0 || std::chrono::steady_clock::now() > deadline) {
      Kill();
      return -1;
    }
    SleepMs(1);
  }
  m_pid = -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

bool ChildProcess::Kill() {
  if (m_pid <= 0) return false;
  kill(m_pid, SIGKILL);
  int status = 0;
  waitpid(m_pid, &status, 0);
  m_pid = -1;
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}
#endif

std::string AwaitKorvan(const std::string& local, std::size_t expectedRuns, int timeoutMs) {
  if (!WaitForKorvanRuns(local, expectedRuns, timeoutMs)) return "(not started)";
  // The stand-in holds "korvan" until it ends; the next run must not find
  // it still running.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (platform::Native().MutexExists("korvan") && std::chrono::steady_clock::now() < deadline)
    SleepMs(2);
  const std::vector<KorvanRun> runs = ReadKorvanRuns(local);
  const KorvanRun& last = runs.back();
  if (last.args.empty()) return "(none)";
  std::string text;
  for (const std::string& a : last.args) text += (text.empty() ? "" : " ") + a;
  return text;
}

}  // namespace testing_support
