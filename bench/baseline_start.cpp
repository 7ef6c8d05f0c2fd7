// The least a no-update start can do: read the two first lines, compare them
// and spawn the main program. The start-up benchmark measures velmor2
// against this program.
#include <spawn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern char** environ;

static std::string FirstLine(const std::string& path) {
  std::string line;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(f)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
    std::fclose(f);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int main() {
  const char* drive = std::getenv("VELMOR_DRIVE_S");
  std::string server = std::string(drive != nullptr ? drive : "/mnt/S") + "/ZOLDATA/APLI/VERSION.INI";
  std::string local = FirstLine("VERSION.INI");
  std::string remote = FirstLine(server);
  if (local.empty()) return 0;
  if (!remote.empty() && local < remote) return 1;  // an update would be due
  char arg0[] = "./korvan.exe";
  char arg1[] = "-v";
  char* argv[] = {arg0, arg1, nullptr};
  pid_t pid;
  return posix_spawn(&pid, arg0, nullptr, nullptr, argv, environ) == 0 ? 0 : 2;
}
