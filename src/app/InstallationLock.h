// One updater per installation. Two runs in the same local program folder
// at once (a double click, a second logon script) would empty each other's
// backup folder and copy over each other's files, so the run that finds an
// update due takes a lock named after its local folder and holds it until it
// ends; a run that finds the lock taken ends at once, changing and starting
// nothing.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

class InstallationLock {
 public:
  // The lock's name for a local folder text: "velmor2-" and 16 hex digits
  // of a hash of the text with A-Z lowered (Windows paths ignore case), so
  // it is a valid mutex name and a valid file name on both platforms.
  static std::string NameFor(const std::string& strLocalDir);

  // Takes the lock of the installation in strLocalDir; false when another
  // run holds it (or it cannot be had); true at once when this object holds
  // it already. Held until Release or destruction.
  bool Take(const std::string& strLocalDir);
  void Release() { m_hold.reset(); }
  bool IsHeld() const { return m_hold != nullptr; }

 private:
  std::unique_ptr<platform::MutexHold> m_hold;
};
