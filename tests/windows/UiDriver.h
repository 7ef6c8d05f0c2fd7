// velmor2.exe as a running process under Wine, and the dialog driver
// (tools/dialog_driver) that talks to its windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// True when a display is there to show windows on (Xvfb under CI).
bool HaveDisplay();

class UpdaterProcess {
 public:
  // Starts program (velmor2.exe by default) in folder.
  explicit UpdaterProcess(const std::string& folder, const std::string& program = "");
  ~UpdaterProcess();  // ends the process if it still runs
  UpdaterProcess(const UpdaterProcess&) = delete;
  UpdaterProcess& operator=(const UpdaterProcess&) = delete;

  bool Started() const { return m_process != nullptr; }
  DWORD Pid() const { return m_pid; }
  // The exit code, or -1 while it still runs after timeoutMs.
  int WaitExit(int timeoutMs);

  // Runs the driver against this process; its output lines.
  std::vector<std::string> Drive(const std::vector<std::string>& commands) const;

 private:
  HANDLE m_process = nullptr;
  DWORD m_pid = 0;
};

// Starts program in folder and leaves it running (the stand-in main
// program); TerminateProcess at the end.
class BackgroundProcess {
 public:
  BackgroundProcess(const std::string& program, const std::string& folder);
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;
  bool Started() const { return m_process != nullptr; }
  void End();

 private:
  HANDLE m_process = nullptr;
};

// The lines of output that begin with prefix, prefix taken off.
std::vector<std::string> LinesAfter(const std::vector<std::string>& lines, const std::string& prefix);

}  // namespace testing_support
