#include "common/Korvan.h"

#include <chrono>
#include <filesystem>
#include <sstream>

#include "common/TestSupport.h"

namespace testing_support {

bool InstallKorvan(const std::string& folder) {
  std::error_code ec;
  std::filesystem::copy_file(HostPath(KORVAN_EXE), Join(folder, "korvan.exe"),
                             std::filesystem::copy_options::overwrite_existing, ec);
  return !ec;
}

void SetKorvanStay(const std::string& folder, int ms) {
  WriteFile(Join(folder, "korvan-stay-ms.txt"), std::to_string(ms));
}

std::vector<KorvanRun> ReadKorvanRuns(const std::string& folder) {
  std::vector<KorvanRun> runs;
  std::istringstream in(ReadFile(Join(folder, "korvan-runs.txt")));
  std::string line;
  KorvanRun current;
  bool open = false;
  while (std::getline(in, line)) {
    if (line == "run") {
      current = KorvanRun();
      open = true;
    } else if (open && line.compare(0, 4, "cwd ") == 0) {
      current.cwd = line.substr(4);
    } else if (open && line.compare(0, 4, "arg ") == 0) {
      current.args.push_back(line.substr(4));
    } else if (open && line == "end") {
      runs.push_back(current);
      open = false;
    }
  }
  return runs;
}

bool WaitForKorvanRuns(const std::string& folder, std::size_t count, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (ReadKorvanRuns(folder).size() >= count) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    SleepMs(20);
  }
}

}  // namespace testing_support
