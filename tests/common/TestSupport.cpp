#include "common/TestSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace fs = std::filesystem;

namespace testing_support {

const std::string& Sep() {
#ifdef _WIN32
  static const std::string sep = "\\";
#else
  static const std::string sep = "/";
#endif
  return sep;
}

std::string HostPath(const std::string& buildPath) {
#ifdef _WIN32
  if (!buildPath.empty() && buildPath[0] == '/') {
    std::string out = "Z:" + buildPath;
    for (char& c : out)
      if (c == '/') c = '\\';
    return out;
  }
#endif
  return buildPath;
}

std::string Join(const std::string& folder, const std::string& relative) {
  std::string rel = relative;
  for (char& c : rel)
    if (c == '/') c = Sep()[0];
  if (!folder.empty() && folder.back() == Sep()[0]) return folder + rel;
  return folder + Sep() + rel;
}

TempFolder::TempFolder() {
  static std::mt19937_64 rng(std::random_device{}() ^
                             static_cast<unsigned long long>(
                                 std::chrono::steady_clock::now().time_since_epoch().count()));
  std::string base;
#ifdef _WIN32
  char buffer[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, buffer);
  base.assign(buffer, n);
  if (!base.empty() && base.back() == '\\') base.pop_back();
#else
  const char* tmp = std::getenv("TMPDIR");
  base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
#endif
  for (;;) {
    std::ostringstream name;
    name << base << Sep() << "velmor-test-" << std::hex << rng();
    std::error_code ec;
    if (fs::create_directory(name.str(), ec)) {
      m_path = name.str();
      break;
    }
  }
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

std::string TempFolder::operator/(const std::string& relative) const {
  return Join(m_path, relative);
}

void MakeFolders(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::path p(path);
  if (p.has_parent_path()) MakeFolders(p.parent_path().string());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

void SetReadOnly(const std::string& path, bool readOnly) {
#ifdef _WIN32
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), readOnly ? (a | FILE_ATTRIBUTE_READONLY)
                                            : (a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)));
#else
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return;
  chmod(path.c_str(), readOnly ? (st.st_mode & ~0222u) : (st.st_mode | 0200u));
#endif
}

bool IsReadOnly(const std::string& path) {
#ifdef _WIN32
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) != 0;
#else
  struct stat st;
  return stat(path.c_str(), &st) == 0 && (st.st_mode & 0222u) == 0;
#endif
}

void RemoveTree(const std::string& path) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(path, ec)) && fs::is_directory(path, ec)) {
    for (auto it = fs::recursive_directory_iterator(path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (!it->is_symlink()) SetReadOnly(it->path().string(), false);
    }
  }
  fs::remove_all(path, ec);
}

std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::string rel = fs::relative(it->path(), root, ec).generic_string();
    if (it->is_symlink()) {
      out[rel + "@"] = fs::read_symlink(it->path(), ec).generic_string();
      it.disable_recursion_pending();
    } else if (it->is_directory()) {
      out[rel + "/"] = "";
    } else {
      out[rel] = ReadFile(it->path().string());
    }
  }
  return out;
}

#ifdef _WIN32
std::string UnixPathOf(const std::string& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return std::string();
  std::wstring wide(path.size() + 1, L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size())) <= 0)
    return std::string();
  char* unixName = toUnix(wide.c_str());
  if (unixName == nullptr) return std::string();
  std::string out = unixName;
  HeapFree(GetProcessHeap(), 0, unixName);
  return out;
}

bool StartUnixCommand(const std::string& commandLine) {
  std::string cmd = commandLine;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inheritable, OPEN_EXISTING, 0, nullptr);
  if (nul == INVALID_HANDLE_VALUE) return false;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = si.hStdOutput = si.hStdError = nul;
  PROCESS_INFORMATION pi{};
  const BOOL started =
      CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(nul);
  if (!started) return false;
  if (pi.hThread != nullptr) CloseHandle(pi.hThread);
  if (pi.hProcess != nullptr) CloseHandle(pi.hProcess);
  return true;
}
#else
std::string UnixPathOf(const std::string& path) { return path; }

bool StartUnixCommand(const std::string& commandLine) {
  return RunProcess("/bin/sh", {"-c", commandLine}, "/").exitCode == 0;
}
#endif

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

#ifdef _WIN32
namespace {
std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  std::size_t slashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++slashes;
    } else if (c == '"') {
      out.append(slashes * 2 + 1, '\\');
      slashes = 0;
    } else {
      slashes = 0;
    }
    out += c;
  }
  out.append(slashes, '\\');
  return out + "\"";
}
}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir, int timeoutMs,
                         const std::vector<std::string>& env) {
  ProcessResult result;
  std::string cmd = Quote(program);
  for (const auto& a : args) cmd += " " + Quote(a);
  std::string block;
  char* current = GetEnvironmentStringsA();
  for (const char* p = current; *p != '\0'; p += std::strlen(p) + 1) block.append(p, std::strlen(p) + 1);
  FreeEnvironmentStringsA(current);
  for (const auto& e : env) block.append(e).push_back('\0');
  block.push_back('\0');
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::vector<char> cmdline(cmd.begin(), cmd.end());
  cmdline.push_back('\0');
  if (!CreateProcessA(nullptr, cmdline.data(), nullptr, nullptr, FALSE, 0,
                      env.empty() ? nullptr : block.data(), workingDir.c_str(), &si, &pi)) {
    return result;
  }
  result.started = true;
  if (WaitForSingleObject(pi.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_TIMEOUT) {
    result.timedOut = true;
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, INFINITE);
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  result.exitCode = static_cast<int>(code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}
#else
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir, int timeoutMs,
                         const std::vector<std::string>& env) {
  ProcessResult result;
  pid_t pid = fork();
  if (pid < 0) return result;
  if (pid == 0) {
    if (chdir(workingDir.c_str()) != 0) _exit(127);
    for (const auto& e : env) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  result.started = true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  for (;;) {
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (std::chrono::steady_clock::now() > deadline) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    SleepMs(5);
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  else if (WIFSIGNALED(status)) result.exitCode = 128 + WTERMSIG(status);
  return result;
}
#endif

}  // namespace testing_support
