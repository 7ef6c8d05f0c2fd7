// The controlling terminal while terminal dialogs are shown: raw input,
// the alternate screen, and the signals a terminal sends.
//
// SIGINT, SIGHUP and SIGTERM (and SIGWINCH) stay blocked for as long as the
// session is open and are let through only while it waits for a key. A
// handler that runs meanwhile (the update transaction) is therefore never
// interrupted: a signal that comes then waits, and acts when the dialog
// waits again (a cancel) or, when the dialog has ended, once the session has
// closed and the signal's own disposition is back.
#pragma once

#include <signal.h>
#include <termios.h>

#include <string>

#include "platform/posix/TerminalKeys.h"

namespace terminal {

enum class EventKind {
  Key,
  Resize,
  Abandon,  // hangup, SIGINT, SIGHUP or SIGTERM: every dialog ends
};

struct Event {
  EventKind kind = EventKind::Key;
  Key key;
};

class Session {
 public:
  // Opens /dev/tty; null with error set when there is none.
  static Session* Open(std::string& error);
  ~Session();  // restores the screen, the terminal settings and the signals
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  int Rows() const { return m_rows; }
  int Cols() const { return m_cols; }
  bool Abandoned() const { return m_abandoned; }

  // The next key or event. Blocks; signals are let through only here.
  Event Next();
  // Input typed while the dialog did not read is thrown away.
  void DiscardInput();
  void Write(const std::string& bytes);
  void UpdateSize();

 private:
  explicit Session(int fd);
  bool WaitReadable(int timeoutMs);  // false on timeout or signal
  void ReadMore();

  int m_fd;
  termios m_saved{};
  sigset_t m_savedMask;
  struct sigaction m_savedActions[4];
  int m_rows = 24;
  int m_cols = 80;
  bool m_abandoned = false;
  bool m_dead = false;  // the terminal has hung up: nothing is written
  std::string m_input;
};

}  // namespace terminal
