#include "windows/UiDriver.h"

#include <cstdlib>
#include <sstream>

#include "common/TestSupport.h"

namespace testing_support {

namespace {

std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  return "\"" + arg + "\"";
}

// Without a window manager Wine waits two seconds for one whenever a
// window it counts as managed is hidden. Unmanaged windows (Wine draws
// their frame itself) close at once; the setting is read at process start.
void UseUnmanagedWindows() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const wchar_t value[] = L"N";
  RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
  RegCloseKey(key);
}

HANDLE Start(const std::string& program, const std::vector<std::string>& args,
             const std::string& folder, HANDLE output, DWORD* pid) {
  std::string cmd = Quote(program);
  for (const auto& a : args) cmd += " " + Quote(a);
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (output != nullptr) {
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = output;
    si.hStdError = output;
  }
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, output != nullptr ? TRUE : FALSE, 0,
                      nullptr, folder.c_str(), &si, &pi)) {
    return nullptr;
  }
  CloseHandle(pi.hThread);
  if (pid != nullptr) *pid = pi.dwProcessId;
  return pi.hProcess;
}

}  // namespace

bool HaveDisplay() {
  char value[256];
  return GetEnvironmentVariableA("DISPLAY", value, sizeof value) > 0;
}

UpdaterProcess::UpdaterProcess(const std::string& folder, const std::string& program) {
  UseUnmanagedWindows();
  m_process = Start(program.empty() ? HostPath(VELMOR_EXE) : program, {}, folder, nullptr, &m_pid);
}

UpdaterProcess::~UpdaterProcess() {
  if (m_process == nullptr) return;
  if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process, 1);
    WaitForSingleObject(m_process, 5000);
  }
  CloseHandle(m_process);
}

int UpdaterProcess::WaitExit(int timeoutMs) {
  if (m_process == nullptr) return -1;
  if (WaitForSingleObject(m_process, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(m_process, &code);
  return static_cast<int>(code);
}

std::vector<std::string> UpdaterProcess::Drive(const std::vector<std::string>& commands) const {
  std::vector<std::string> lines;
  TempFolder folder;
  const std::string outPath = folder / "driver.txt";
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return lines;
  std::vector<std::string> args{std::to_string(m_pid)};
  args.insert(args.end(), commands.begin(), commands.end());
  HANDLE driver = Start(HostPath(DIALOG_DRIVER_EXE), args, folder.Path(), out, nullptr);
  CloseHandle(out);
  if (driver == nullptr) return lines;
  if (WaitForSingleObject(driver, 120000) == WAIT_TIMEOUT) TerminateProcess(driver, 1);
  CloseHandle(driver);
  std::istringstream in(ReadFile(outPath));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

BackgroundProcess::BackgroundProcess(const std::string& program, const std::string& folder)
    : m_process(Start(program, {}, folder, nullptr, nullptr)) {}

BackgroundProcess::~BackgroundProcess() { End(); }

void BackgroundProcess::End() {
  if (m_process == nullptr) return;
  TerminateProcess(m_process, 0);
  WaitForSingleObject(m_process, 5000);
  CloseHandle(m_process);
  m_process = nullptr;
}

std::vector<std::string> LinesAfter(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& l : lines) {
    if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l.substr(prefix.size()));
  }
  return out;
}

}  // namespace testing_support
