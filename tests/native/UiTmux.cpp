#include "native/UiTmux.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cwchar>
#include <locale.h>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "common/TestSupport.h"

extern char** environ;

namespace testing_support {

namespace {

const char kTmux[] = "/usr/bin/tmux";

}  // namespace

std::string RunCapture(const std::vector<std::string>& argv) {
  int fds[2];
  if (pipe(fds) != 0) return std::string();
  const pid_t pid = fork();
  if (pid < 0) return std::string();
  if (pid == 0) {
    dup2(fds[1], 1);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 2);
    // Only standard output may hold the pipe: a tmux server that stays
    // behind must not keep it open.
    close(fds[0]);
    close(fds[1]);
    close(null);
    unsetenv("TMUX");
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(fds[1]);
  std::string out;
  char buffer[4096];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return out;
}

bool HaveTmux() { return access(kTmux, X_OK) == 0; }

TmuxPane::TmuxPane(const std::string& shellCommand, int cols, int rows) {
  std::random_device rd;
  m_socket = "velmor-ui-" + std::to_string(getpid()) + "-" + std::to_string(rd());
  m_config = "/tmp/" + m_socket + ".conf";
  m_status = "/tmp/" + m_socket + ".status";
  std::ofstream(m_config) << "set -g remain-on-exit on\nset -g default-shell /bin/sh\n"
                             "set -g status off\nset -g escape-time 0\n";
  Tmux({"new-session", "-d", "-s", "ui", "-x", std::to_string(cols), "-y", std::to_string(rows),
        shellCommand + "; echo $? > " + m_status});
  m_bStarted = PanePid() > 0;
  m_bAlive = m_bStarted;
}

TmuxPane::~TmuxPane() {
  HangUp();
  unlink(m_config.c_str());
  unlink(m_status.c_str());
}

std::string TmuxPane::Tmux(const std::vector<std::string>& args) const {
  std::vector<std::string> argv{kTmux, "-L", m_socket, "-f", m_config};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunCapture(argv);
}

std::vector<std::string> TmuxPane::Screen() const {
  std::vector<std::string> rows;
  std::istringstream in(Tmux({"capture-pane", "-p", "-t", "ui"}));
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    rows.push_back(line);
  }
  return rows;
}

std::string TmuxPane::ScreenText() const {
  std::string text;
  for (const auto& row : Screen()) text += row + "\n";
  return text;
}

std::string TmuxPane::HistoryText() const {
  return Tmux({"capture-pane", "-p", "-S", "-", "-t", "ui"});
}

bool TmuxPane::WaitForText(const std::string& text, int timeoutMs) const {
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    if (ScreenText().find(text) != std::string::npos) return true;
    SleepMs(50);
  }
  return false;
}

bool TmuxPane::WaitForNoText(const std::string& text, int timeoutMs) const {
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    if (ScreenText().find(text) == std::string::npos) return true;
    SleepMs(50);
  }
  return false;
}

void TmuxPane::SendKeys(const std::vector<std::string>& keys) const {
  std::vector<std::string> args{"send-keys", "-t", "ui"};
  args.insert(args.end(), keys.begin(), keys.end());
  Tmux(args);
}

pid_t TmuxPane::PanePid() const {
  return static_cast<pid_t>(std::atoi(Tmux({"display-message", "-p", "-t", "ui", "#{pane_pid}"}).c_str()));
}

pid_t TmuxPane::ProgramPid() const {
  const pid_t shell = PanePid();
  for (int waited = 0; shell > 0 && waited <= 5000; waited += 20) {
    std::ifstream children("/proc/" + std::to_string(shell) + "/task/" + std::to_string(shell) + "/children");
    pid_t child = 0;
    if (children >> child && child > 0) return child;
    SleepMs(20);
  }
  return 0;
}

int TmuxPane::WaitExit(int timeoutMs) const {
  // tmux does not always reap an ended program, so the shell tells.
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    std::ifstream in(m_status);
    int status = -1;
    if (in >> status) return status;
    SleepMs(50);
  }
  return -1;
}

void TmuxPane::HangUp() {
  if (!m_bAlive) return;
  Tmux({"kill-server"});
  m_bAlive = false;
}

int ColumnOf(const std::string& row, const std::string& text) {
  const std::size_t at = row.find(text);
  if (at == std::string::npos) return -1;
  // The C library's idea of the widths, under a UTF-8 locale of its own.
  locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (utf8 == static_cast<locale_t>(0)) return -1;
  locale_t previous = uselocale(utf8);
  int column = 0;
  mbstate_t state{};
  for (std::size_t i = 0; i < at;) {
    wchar_t wc = 0;
    const std::size_t n = mbrtowc(&wc, row.data() + i, at - i, &state);
    if (n == 0 || n > at - i) break;
    const int w = wcwidth(wc);
    column += w > 0 ? w : 0;
    i += n;
  }
  uselocale(previous);
  freelocale(utf8);
  return column;
}

bool WaitProcessGone(pid_t pid, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string content;
    std::getline(stat, content);
    // Gone, or a zombie waiting for whoever took it over.
    const std::size_t close = content.rfind(')');
    if (!stat || content.empty() || (close != std::string::npos && content.compare(close + 2, 1, "Z") == 0))
      return true;
    SleepMs(20);
  }
  return false;
}

}  // namespace testing_support
