// The stand-in main program korvan.exe in tests: installing it into a
// program folder and reading the records it appends to "korvan-runs.txt".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace testing_support {

struct KorvanRun {
  std::string cwd;
  std::vector<std::string> args;  // exactly as received; empty for none
};

// Copies the built korvan.exe into folder as "korvan.exe"; false on failure.
bool InstallKorvan(const std::string& folder);

// Makes every korvan.exe started in folder stay running for ms milliseconds
// after it has written its record (0: end at once).
void SetKorvanStay(const std::string& folder, int ms);

// The complete records of folder's "korvan-runs.txt", oldest first.
std::vector<KorvanRun> ReadKorvanRuns(const std::string& folder);

// Waits until folder holds at least count records; false after timeoutMs.
bool WaitForKorvanRuns(const std::string& folder, std::size_t count, int timeoutMs);

}  // namespace testing_support
