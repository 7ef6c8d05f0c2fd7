#include "common/AppTestSupport.h"

#include "common/TestSupport.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace testing_support {

RecordingPlatform::RecordingPlatform() { platform::SetCurrent(this); }

RecordingPlatform::~RecordingPlatform() { platform::SetCurrent(nullptr); }

std::vector<std::string> RecordingPlatform::Starts() const {
  std::vector<std::string> out;
  for (const std::string& e : EventsStartingWith("start ")) out.push_back(e.substr(6));
  return out;
}

std::vector<std::string> RecordingPlatform::EventsStartingWith(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& e : m_events)
    if (e.compare(0, prefix.size(), prefix) == 0) out.push_back(e);
  return out;
}

std::unique_ptr<platform::File> RecordingPlatform::OpenFile(const std::string& path,
                                                            platform::FileAccess access,
                                                            platform::FileShare share) {
  m_events.push_back("open " + path);
  return ForwardingPlatform::OpenFile(path, access, share);
}

int RecordingPlatform::ProfileInt(const std::string& section, const std::string& key,
                                  int defaultValue, const std::string& path) {
  m_events.push_back("key " + key);
  return ForwardingPlatform::ProfileInt(section, key, defaultValue, path);
}

std::string RecordingPlatform::ProfileString(const std::string& section, const std::string& key,
                                             const std::string& defaultValue,
                                             std::size_t bufferSize, const std::string& path) {
  m_events.push_back("key " + key);
  return ForwardingPlatform::ProfileString(section, key, defaultValue, bufferSize, path);
}

bool RecordingPlatform::StartMainProgram(const char* parameters) {
  m_events.push_back(std::string("start ") + (parameters != nullptr ? parameters : "(none)"));
  return true;
}

platform::CodePage RecordingPlatform::AnsiCodePage() {
  return m_codePage ? *m_codePage : ForwardingPlatform::AnsiCodePage();
}

platform::LocalTime RecordingPlatform::Now() {
  return m_clock ? *m_clock : ForwardingPlatform::Now();
}

ScopedCurrentDir::ScopedCurrentDir(const std::string& folder) {
  std::error_code ec;
  m_previous = std::filesystem::current_path(ec).string();
  std::filesystem::current_path(folder, ec);
}

ScopedCurrentDir::~ScopedCurrentDir() {
  std::error_code ec;
  std::filesystem::current_path(m_previous, ec);
}

namespace {

#ifdef _WIN32
bool WaitFor(bool (*condition)(const std::string&), const std::string& arg) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition(arg)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition(arg);
}

bool DriveVisible(const std::string& root) {
  return GetFileAttributesA(root.c_str()) != INVALID_FILE_ATTRIBUTES;
}
bool DriveGone(const std::string& root) { return !DriveVisible(root); }

// Starts a Unix program under Wine. Its process handle cannot be waited on,
// so callers poll for the effect. It gets NUL as its standard handles: given
// this process's own, Wine loses this process's later output.
#endif

}  // namespace

MappedDrive::MappedDrive(const std::string& folder) {
#ifdef _WIN32
  const char* prefix = std::getenv("WINEPREFIX");
  const std::string target = testing_support::UnixPathOf(folder);
  if (prefix == nullptr || target.empty()) return;
  const DWORD used = GetLogicalDrives();
  for (char letter = 'S'; letter <= 'Y'; ++letter) {
    if ((used & (1u << (letter - 'A'))) != 0) continue;
    const std::string root = std::string(1, letter) + ":\\";
    if (DriveVisible(root)) continue;
    m_letter = std::string(1, letter);
    m_link = std::string(prefix) + "/dosdevices/" + static_cast<char>(letter - 'A' + 'a') + ":";
    m_bOk = testing_support::StartUnixCommand("/bin/ln -sfn " + target + " " + m_link) && WaitFor(DriveVisible, root);
    return;
  }
#else
  m_letter = "S";
  if (const char* old = std::getenv("VELMOR_DRIVE_S")) m_previous = old;
  m_bOk = setenv("VELMOR_DRIVE_S", folder.c_str(), 1) == 0;
#endif
}

MappedDrive::~MappedDrive() {
#ifdef _WIN32
  if (!m_link.empty() && testing_support::StartUnixCommand("/bin/rm -f " + m_link)) WaitFor(DriveGone, m_letter + ":\\");
#else
  if (m_previous) setenv("VELMOR_DRIVE_S", m_previous->c_str(), 1);
  else unsetenv("VELMOR_DRIVE_S");
#endif
}

std::vector<std::string> MappedDrive::Env() const {
#ifdef _WIN32
  return {};
#else
  const char* value = std::getenv("VELMOR_DRIVE_S");
  return {std::string("VELMOR_DRIVE_S=") + (value != nullptr ? value : "")};
#endif
}

std::string RowName(const char* description) {
  std::string name;
  for (const char* p = description; *p != '\0'; ++p)
    name += (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') ? *p
                                                                                             : '_';
  return name;
}

std::string ZolEnv(std::optional<int> pkgKind, std::optional<int> systemEnv,
                   std::optional<std::string> serverDrive) {
  std::string text = "[ENVSET]\r\n";
  if (pkgKind) text += "PkgKBN=" + std::to_string(*pkgKind) + "\r\n";
  if (systemEnv) text += "SystemENV=" + std::to_string(*systemEnv) + "\r\n";
  if (serverDrive) text += "ServerDrive=" + *serverDrive + "\r\n";
  return text;
}

}  // namespace testing_support
