// Fixtures for the start-up, catalogue and log tests: a platform wrapper that
// records what start-up reads and starts, a scoped current directory, and a
// server drive letter mapped onto a temporary folder.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ForwardingPlatform.h"

namespace testing_support {

// Forwards everything to the real backend, except that it records every
// file opened, every ZOLENV.INI key read and every start of the main program
// as one ordered list of events. Starts are recorded only, never made: the
// in-process tests must not start programs (the process tests do).
// Optionally fixes the ANSI code page and the clock.
class RecordingPlatform : public platform::ForwardingPlatform {
 public:
  RecordingPlatform();
  ~RecordingPlatform() override;  // reinstalls the native backend

  // Events: "open <path>", "key <name>", "start -v", "start (none)".
  std::vector<std::string> m_events;
  std::optional<platform::CodePage> m_codePage;
  std::optional<platform::LocalTime> m_clock;

  // Starts recorded so far: their parameter texts, "(none)" for null.
  std::vector<std::string> Starts() const;
  // Events that begin with prefix.
  std::vector<std::string> EventsStartingWith(const std::string& prefix) const;

  std::unique_ptr<platform::File> OpenFile(const std::string& path, platform::FileAccess access,
                                           platform::FileShare share) override;
  int ProfileInt(const std::string& section, const std::string& key, int defaultValue,
                 const std::string& path) override;
  std::string ProfileString(const std::string& section, const std::string& key,
                            const std::string& defaultValue, std::size_t bufferSize,
                            const std::string& path) override;
  bool StartMainProgram(const char* parameters) override;
  platform::CodePage AnsiCodePage() override;
  platform::LocalTime Now() override;
};

// Makes folder the current directory for the object's lifetime.
class ScopedCurrentDir {
 public:
  explicit ScopedCurrentDir(const std::string& folder);
  ~ScopedCurrentDir();
  ScopedCurrentDir(const ScopedCurrentDir&) = delete;
  ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

 private:
  std::string m_previous;
};

// A server drive letter whose root is folder, for this process and for the
// programs it starts.
//  - POSIX: the backend takes the root of drive D from VELMOR_DRIVE_<D>; the
//    variable is set here and handed to child processes through Env().
//  - Windows under Wine: a drive is a symbolic link in the prefix,
//    $WINEPREFIX/dosdevices/<d>: -> the folder's Unix path. A free letter is
//    chosen, the link made with /bin/ln (Wine runs Unix programs given by a
//    Unix path) and removed again at the end. WINEPREFIX must be set, as
//    scripts/wine-env.sh does.
class MappedDrive {
 public:
  explicit MappedDrive(const std::string& folder);
  ~MappedDrive();
  MappedDrive(const MappedDrive&) = delete;
  MappedDrive& operator=(const MappedDrive&) = delete;

  bool Ok() const { return m_bOk; }
  // The text for ServerDrive, for example "S".
  const std::string& Letter() const { return m_letter; }
  // NAME=VALUE settings a child process needs to see the drive.
  std::vector<std::string> Env() const;

 private:
  std::string m_letter;
  std::string m_link;  // Windows: the Unix path of the link in dosdevices
  std::optional<std::string> m_previous;  // POSIX: the variable's old value
  bool m_bOk = false;
};

// A table row's description as a test name: letters and digits, '_' else.
std::string RowName(const char* description);

// ZOLENV.INI text with the three keys; an empty optional leaves a key out.
std::string ZolEnv(std::optional<int> pkgKind, std::optional<int> systemEnv,
                   std::optional<std::string> serverDrive);

}  // namespace testing_support
