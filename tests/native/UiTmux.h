// A program on a terminal of its own for the terminal-dialog tests: a tmux
// server on a private socket runs it in a 100 x 40 pane, the test sends keys
// and reads the screen.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace testing_support {

// True when tmux can be run.
bool HaveTmux();

class TmuxPane {
 public:
  // Runs shellCommand (through /bin/sh) in a new pane; the shell writes the
  // program's exit status to a file, and the pane stays after it ends so
  // that its last screen can be read.
  explicit TmuxPane(const std::string& shellCommand, int cols = 100, int rows = 40);
  ~TmuxPane();  // ends the server, and with it whatever still runs
  TmuxPane(const TmuxPane&) = delete;
  TmuxPane& operator=(const TmuxPane&) = delete;

  bool Started() const { return m_bStarted; }
  // The pane's screen, one string per row, trailing blanks dropped.
  std::vector<std::string> Screen() const;
  std::string ScreenText() const;  // rows joined by "\n"
  // The screen with the pane's history above it: what the terminal shows
  // after a program that used the alternate screen has ended.
  std::string HistoryText() const;
  // Waits until the screen holds (or no longer holds) text.
  bool WaitForText(const std::string& text, int timeoutMs) const;
  bool WaitForNoText(const std::string& text, int timeoutMs) const;
  // tmux key names: Enter, Space, Escape, M-Space, F10, Down, C-c, a ...
  void SendKeys(const std::vector<std::string>& keys) const;
  // The program: the first child of the pane's shell.
  pid_t ProgramPid() const;
  // Waits until the program has ended; its exit status, -1 on timeout.
  int WaitExit(int timeoutMs) const;
  // Ends the server at once: the terminal hangs up on the program.
  void HangUp();

 private:
  std::string Tmux(const std::vector<std::string>& args) const;

  pid_t PanePid() const;

  std::string m_socket;
  std::string m_config;
  std::string m_status;
  bool m_bStarted = false;
  bool m_bAlive = false;
};

// The display column (in cells) where text begins in row, -1 if absent.
int ColumnOf(const std::string& row, const std::string& text);

// Waits until pid (not a child of ours) no longer runs.
bool WaitProcessGone(pid_t pid, int timeoutMs);

// Output of a program run with argv, waited for.
std::string RunCapture(const std::vector<std::string>& argv);

}  // namespace testing_support
