// Shared test fixtures: scoped temporary folders on the real file system,
// byte-exact file helpers and a runner for real processes.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace testing_support {

// The platform's folder separator as a string: "\\" or "/".
const std::string& Sep();

// A build path (as CMake wrote it) in the form this platform's programs take:
// under Wine a Unix path /a/b becomes Z:\a\b.
std::string HostPath(const std::string& buildPath);

// A fresh folder below the system's temporary folder, removed with
// everything below it (read-only files included) when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder without a final separator.
  const std::string& Path() const { return m_path; }
  // Path() + separator + relative, where relative uses '/' between names.
  std::string operator/(const std::string& relative) const;

 private:
  std::string m_path;
};

// relative paths below use '/', turned into the platform separator.
std::string Join(const std::string& folder, const std::string& relative);

// Writes bytes exactly, creating the folders on the way.
void WriteFile(const std::string& path, const std::string& bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);
void MakeFolders(const std::string& path);
void SetReadOnly(const std::string& path, bool readOnly);
bool IsReadOnly(const std::string& path);
void RemoveTree(const std::string& path);

// Every file below root, relative path ('/' separators) -> bytes. Folders
// appear with a final '/' and empty bytes, so that created folders show.
std::map<std::string, std::string> Snapshot(const std::string& root);

struct ProcessResult {
  bool started = false;
  bool timedOut = false;
  int exitCode = -1;
};

// Runs program with args in workingDir and waits up to timeoutMs. env holds
// extra NAME=VALUE settings for the child.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir, int timeoutMs = 30000,
                         const std::vector<std::string>& env = {});

// Under Wine: the Unix path a Windows path maps to (empty when Wine cannot
// tell); elsewhere the path itself.
std::string UnixPathOf(const std::string& path);

// Under Wine: starts a Unix program (links are made with the Unix tools, as
// Wine makes none itself) with NUL as its standard handles, since a Unix
// child keeps inherited pipes open. Its end cannot be waited for: callers
// wait for its effect.
bool StartUnixCommand(const std::string& commandLine);

// Sleeps for ms milliseconds.
void SleepMs(int ms);

}  // namespace testing_support
