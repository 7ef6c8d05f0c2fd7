// Start of the main program on POSIX: posix_spawn of ./korvan.exe in the
// current directory, in a session of its own, not waited for. The child
// starts with an empty signal mask and default handlers for the signals a
// terminal sends, whatever the updater holds off at that moment.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/posix/PosixPlatform.h"

extern char** environ;

namespace platform {

namespace {

constexpr const char* kMainProgram = "./korvan.exe";

// Children started here. The updater ends right after a start, but a long
// running process (the tests) would collect zombies: each start reaps the
// ones that have ended, without touching anybody else's children or the
// SIGCHLD disposition.
std::mutex g_childrenLock;
std::vector<pid_t> g_children;

void ReapEndedChildren() {
  std::vector<pid_t> running;
  for (pid_t pid : g_children) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == 0) running.push_back(pid);
  }
  g_children.swap(running);
}

class SpawnSettings {
 public:
  SpawnSettings() {
    m_ok = ::posix_spawnattr_init(&m_attr) == 0;
    if (!m_ok) return;
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int s : {SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGPIPE, SIGTSTP, SIGTTIN, SIGTTOU}) {
      sigaddset(&defaults, s);
    }
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID;
    m_ok = ::posix_spawnattr_setsigmask(&m_attr, &none) == 0 &&
           ::posix_spawnattr_setsigdefault(&m_attr, &defaults) == 0 &&
           ::posix_spawnattr_setflags(&m_attr, flags) == 0;
  }
  ~SpawnSettings() { ::posix_spawnattr_destroy(&m_attr); }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;
  bool Ok() const { return m_ok; }
  const posix_spawnattr_t* Get() const { return &m_attr; }

 private:
  posix_spawnattr_t m_attr;
  bool m_ok = false;
};

}  // namespace

bool PosixPlatform::StartMainProgram(const char* parameters) {
  std::lock_guard<std::mutex> guard(g_childrenLock);
  ReapEndedChildren();

  std::string program = kMainProgram;
  std::string name = "korvan.exe";
  std::string parameter = parameters != nullptr ? parameters : "";
  std::vector<char*> argv;
  argv.push_back(&name[0]);
  if (parameters != nullptr) argv.push_back(&parameter[0]);
  argv.push_back(nullptr);

  SpawnSettings settings;
  int error = settings.Ok() ? 0 : EINVAL;
  pid_t pid = 0;
  if (error == 0) {
    error = ::posix_spawn(&pid, program.c_str(), nullptr, settings.Get(), argv.data(), environ);
  }
  if (error != 0) {
    // The counterpart of the system's message box: the user learns why the
    // catalogue did not come up, and the updater ends as usual.
    std::fprintf(stderr, "velmor2: cannot start %s: %s\n", program.c_str(),
                 std::strerror(error));
    return false;
  }
  g_children.push_back(pid);
  return true;
}

}  // namespace platform
