// The installation the dialog tests run velmor2 in: a local program folder
// X/APLI one version behind a server drive SRV/ZOLDATA/APLI, with a
// catalogue whose texts the tests know, and the stand-in main program.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/AppTestSupport.h"
#include "common/ReliabilityInstallation.h"
#include "common/TestSupport.h"

namespace testing_support {

// The catalogue's texts as the dialog shows them (UTF-8), the line-break
// escapes resolved. The heading holds ソ and 表, whose second byte in
// code page 932 is a backslash, in front of an n.
namespace ui_text {
extern const char kTitle[];      // IDC_APLNAME with the local stamp
extern const char kHeading[];    // IDC_LB001
extern const char kLocalLabel[];   // IDC_LB002
extern const char kServerLabel[];  // IDC_LB003
extern const char kButton[];     // IDC_BT001
extern const char kReady[];      // MG921000
extern const char kRunning[];    // ME921001
extern const char kUpdating[];   // MG921001
extern const char kLocalStamp[];
extern const char kServerStamp[];
extern const char kMenuItem[];   // string 101
}  // namespace ui_text

class UiInstallation {
 public:
  UiInstallation();
  ~UiInstallation();
  UiInstallation(const UiInstallation&) = delete;
  UiInstallation& operator=(const UiInstallation&) = delete;

  bool Ok() const { return m_bOk; }
  const std::string& Root() const { return m_root.Path(); }
  std::string Local(const std::string& relative = "") const;
  std::string Server(const std::string& relative = "") const;
  // Environment a started velmor2 or korvan.exe needs (drive, mutexes).
  std::vector<std::string> ChildEnv() const;
  // Every file and folder of the installation, korvan's own records left out.
  std::map<std::string, std::string> State() const;
  // True when the local folder now holds the server's files and the
  // server's stamp.
  bool Updated() const;
  // A folder beside the installation with a copy of the stand-in main
  // program, started from there by a test that needs it running.
  std::string RunningMainFolder() const;

 private:
  TempFolder m_root;
  std::unique_ptr<MappedDrive> m_drive;
  std::unique_ptr<PrivateMutexes> m_mutexes;
  bool m_bOk = false;
};

}  // namespace testing_support
