#include "platform/posix/TerminalSession.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace terminal {

namespace {

constexpr int kSignals[4] = {SIGINT, SIGHUP, SIGTERM, SIGWINCH};

volatile sig_atomic_t g_terminate = 0;
volatile sig_atomic_t g_resized = 0;

extern "C" void OnSignal(int sig) {
  if (sig == SIGWINCH) g_resized = 1;
  else g_terminate = 1;
}

// A lone ESC waits this long for the rest of a sequence.
constexpr int kEscapeWaitMs = 50;

}  // namespace

Session* Session::Open(std::string& error) {
  const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = std::string("/dev/tty: ") + std::strerror(errno);
    return nullptr;
  }
  termios settings{};
  if (::tcgetattr(fd, &settings) != 0) {
    error = std::string("/dev/tty: ") + std::strerror(errno);
    ::close(fd);
    return nullptr;
  }
  return new Session(fd);
}

Session::Session(int fd) : m_fd(fd) {
  sigset_t block;
  sigemptyset(&block);
  for (int s : kSignals) sigaddset(&block, s);
  ::sigprocmask(SIG_BLOCK, &block, &m_savedMask);
  g_terminate = 0;
  g_resized = 0;
  struct sigaction action{};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 4; ++i) ::sigaction(kSignals[i], &action, &m_savedActions[i]);

  ::tcgetattr(m_fd, &m_saved);
  termios raw = m_saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  raw.c_cflag |= CS8;
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  ::tcsetattr(m_fd, TCSAFLUSH, &raw);
  UpdateSize();
  // The alternate screen keeps what the terminal showed before; the cursor
  // is hidden while the dialog is up.
  Write("\x1b[?1049h\x1b[?25l\x1b[2J");
}

Session::~Session() {
  Write("\x1b[0m\x1b[2J\x1b[?25h\x1b[?1049l");
  ::tcsetattr(m_fd, TCSAFLUSH, &m_saved);
  ::close(m_fd);
  for (int i = 0; i < 4; ++i) ::sigaction(kSignals[i], &m_savedActions[i], nullptr);
  // A signal held off while a handler ran now takes its own effect.
  ::sigprocmask(SIG_SETMASK, &m_savedMask, nullptr);
}

void Session::UpdateSize() {
  winsize size{};
  if (::ioctl(m_fd, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    m_rows = size.ws_row;
    m_cols = size.ws_col;
  }
}

void Session::Write(const std::string& bytes) {
  std::size_t done = 0;
  while (!m_dead && done < bytes.size()) {
    const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      m_dead = true;  // hung up: the screen is gone
    }
  }
}

bool Session::WaitReadable(int timeoutMs) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(m_fd, &readable);
  timespec timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000000L};
  // The saved mask lets the held-off signals in during the wait only.
  const int n = ::pselect(m_fd + 1, &readable, nullptr, nullptr, timeoutMs < 0 ? nullptr : &timeout,
                          &m_savedMask);
  return n > 0;
}

void Session::ReadMore() {
  char buffer[256];
  const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
  if (n > 0) {
    m_input.append(buffer, static_cast<std::size_t>(n));
  } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
    m_dead = true;  // end of input: the terminal has hung up
    m_abandoned = true;
  }
}

Event Session::Next() {
  Event e;
  for (;;) {
    if (g_terminate != 0) m_abandoned = true;
    if (m_abandoned) {
      e.kind = EventKind::Abandon;
      return e;
    }
    if (g_resized != 0) {
      g_resized = 0;
      UpdateSize();
      e.kind = EventKind::Resize;
      return e;
    }
    if (!m_input.empty()) {
      std::size_t used = DecodeKey(m_input, false, e.key);
      if (used == 0) {
        if (WaitReadable(kEscapeWaitMs)) {
          ReadMore();
          continue;
        }
        if (g_terminate != 0 || g_resized != 0) continue;
        used = DecodeKey(m_input, true, e.key);
      }
      m_input.erase(0, used);
      if (e.key.kind == KeyKind::None) continue;
      e.kind = EventKind::Key;
      return e;
    }
    if (WaitReadable(-1)) ReadMore();
  }
}

void Session::DiscardInput() {
  ::tcflush(m_fd, TCIFLUSH);
  m_input.clear();
}

}  // namespace terminal
