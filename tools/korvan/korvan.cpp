// A stand-in for the catalogue main program korvan.exe, for tests and demos.
//
// While it runs it holds the mutex "korvan", as the real program does. Each
// start appends one record to "korvan-runs.txt" in its current directory:
//
//   run
//   cwd <current directory>
//   arg <argument>        one line per argument, "arg " for an empty one
//   end
//
// The record goes out in one appending write, so records of programs that
// run side by side never interleave. It then stays running for the number of
// milliseconds in "korvan-stay-ms.txt" (current directory), or else in the
// environment variable KORVAN_STAY_MS, or else not at all.
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// Before windows.h, whose CopyFile macro would rename the interface's member.
#include "platform/Platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
// The arguments of the command line, split as the C run-time splits them:
// blanks separate arguments outside quotes; 2n backslashes before a quote
// give n backslashes and the quote opens or closes; 2n+1 give n and a literal
// quote; other backslashes are literal. "" is an empty argument.
std::vector<std::string> CommandLineArguments() {
  const char* p = GetCommandLineA();
  // The program name: up to the next blank, quotes only grouping.
  bool quoted = false;
  while (*p != '\0' && (quoted || (*p != ' ' && *p != '\t'))) {
    if (*p == '"') quoted = !quoted;
    ++p;
  }
  std::vector<std::string> args;
  for (;;) {
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\0') break;
    std::string arg;
    quoted = false;
    while (*p != '\0' && (quoted || (*p != ' ' && *p != '\t'))) {
      if (*p == '\\') {
        std::size_t slashes = 0;
        while (*p == '\\') {
          ++slashes;
          ++p;
        }
        if (*p == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            arg += '"';
            ++p;
          }
        } else {
          arg.append(slashes, '\\');
        }
      } else if (*p == '"') {
        if (quoted && p[1] == '"') {  // "" inside quotes: a literal quote
          arg += '"';
          p += 2;
        } else {
          quoted = !quoted;
          ++p;
        }
      } else {
        arg += *p++;
      }
    }
    args.push_back(arg);
  }
  return args;
}

bool AppendInOneWrite(const char* path, const std::string& bytes) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE h = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      Sleep(20);  // someone holds it without sharing for a moment
      continue;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
  }
  return false;
}
#else
bool AppendInOneWrite(const char* path, const std::string& bytes) {
  int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ssize_t n = ::write(fd, bytes.data(), bytes.size());
  ::close(fd);
  return n == static_cast<ssize_t>(bytes.size());
}
#endif

int StayMilliseconds() {
  std::string text;
  auto file = platform::Current().OpenFile("korvan-stay-ms.txt", platform::FileAccess::Read,
                                           platform::FileShare::Read);
  if (file) {
    char buffer[64];
    long long n = file->Read(buffer, sizeof buffer - 1);
    if (n > 0) text.assign(buffer, static_cast<std::size_t>(n));
  } else if (const char* env = std::getenv("KORVAN_STAY_MS")) {
    text = env;
  }
  return std::atoi(text.c_str());
}

int Run(const std::vector<std::string>& args) {
  platform::Platform& p = platform::Current();
  // Held from before the record is written until the process ends.
  std::unique_ptr<platform::MutexHold> hold = p.HoldMutex("korvan");

  std::string record = "run\ncwd " + p.CurrentDirectory() + "\n";
  for (const std::string& arg : args) record += "arg " + arg + "\n";
  record += "end\n";
  bool recorded = AppendInOneWrite("korvan-runs.txt", record);

  // A second copy beside a running one only leaves its record.
  if (!hold) return 1;
  int stay = StayMilliseconds();
  if (stay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(stay));
  return recorded ? 0 : 1;
}

}  // namespace

#ifdef _WIN32
int main() { return Run(CommandLineArguments()); }
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return Run(args);
}
#endif
