// Nothing is written outside the local, backup and log folders: server and
// local trees hold symbolic links that lead to a decoy folder outside, and
// after an update, and after an update rolled back at its last copy, no
// byte of the decoy has changed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "app/UpdateApp.h"
#include "common/AppTestSupport.h"
#include "common/ReliabilityInstallation.h"
#include "platform/FaultInjectingPlatform.h"
#include "ui/UpdateDlg.h"

using namespace testing_support;

namespace {

struct LinkCase {
  const char* name;
  // Puts links into the trees; decoy is the decoy folder.
  std::function<void(const Installation&, const std::string& decoy)> plant;
};

void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

void Link(const std::string& target, const std::string& at) {
  RemoveTree(at);
  MakeFolders(at.substr(0, at.rfind('/')));
  ASSERT_EQ(symlink(target.c_str(), at.c_str()), 0) << at;
}

const LinkCase kLinkCases[] = {
    {"LocalSubFolderIsALink",
     [](const Installation& i, const std::string& d) { Link(d, i.Local("SUB")); }},
    {"LocalFolderForNewFilesIsALink",
     [](const Installation& i, const std::string& d) { Link(d, i.Local("NEW")); }},
    {"LocalDeepFolderIsALink",
     [](const Installation& i, const std::string& d) { Link(d + "/DEEP", i.Local("SUB/DEEP")); }},
    {"LocalFileIsALink",
     [](const Installation& i, const std::string& d) { Link(d + "/c.dll", i.Local("a.dll")); }},
    {"LocalVersionFileIsALink",
     [](const Installation& i, const std::string& d) {
       WriteFile(d + "/VERSION.INI", std::string(kOldStamp) + "\r\n");
       Link(d + "/VERSION.INI", i.Local("VERSION.INI"));
     }},
    {"LeftoverCopyTempIsALink",
     [](const Installation& i, const std::string& d) { Link(d + "/c.dll", i.Local("a.dll.velmor-tmp")); }},
    {"ServerFolderLinkLeadsOutside",
     [](const Installation& i, const std::string& d) { Link(d, i.Server("OUT")); }},
    {"ServerFileLinkLeadsOutside",
     [](const Installation& i, const std::string& d) { Link(d + "/c.dll", i.Server("z.dat")); }},
    {"BackupFolderHoldsALinkOutside",
     [](const Installation& i, const std::string& d) { Link(d, i.Backup("SUB")); }},
};

class ReliabilityLinks : public ::testing::TestWithParam<LinkCase> {};

// Runs start-up and a confirmed update in this process; failAt > 0 makes
// that CopyFile call fail. Returns the number of CopyFile calls.
std::size_t Update(const Installation& inst, std::size_t failAt) {
  platform::FaultInjectingPlatform p;
  if (failAt > 0) p.FailAt(platform::FaultCall::CopyFile, failAt, platform::FaultMode::Once);
  ScopedCurrentDir cwd(inst.Local());
  platform::SetCurrent(&p);
  {
    CUpdateApp app;
    if (app.PrepareRun()) {
      CUpdateDlg dlg;
      dlg.m_pApp = &app;
      dlg.OnInitDialog();
      dlg.OnOK();
    }
  }
  platform::SetCurrent(nullptr);
  return p.CallCount(platform::FaultCall::CopyFile);
}

TEST_P(ReliabilityLinks, NoByteOutsideTheThreeFoldersChanges) {
  Installation inst;
  ASSERT_TRUE(inst.Drive().Ok());
  const std::string decoy = inst.Root() + "/decoy";
  std::size_t nCopies = 0;
  for (const bool bRollback : {false, true}) {
    inst.Reset();
    RemoveTree(decoy);
    WriteFile(decoy + "/c.dll", "decoy c");
    WriteFile(decoy + "/d.dat", "decoy d");
    WriteFile(decoy + "/f.dat", "decoy f");
    WriteFile(decoy + "/DEEP/e.txt", "decoy e");
    GetParam().plant(inst, decoy);
    const auto decoyBefore = Snapshot(decoy);
    const std::size_t nCalls = Update(inst, bRollback ? nCopies : 0);
    if (!bRollback) nCopies = nCalls;
    const std::string korvan = AwaitKorvan(inst.Local(), 1, 10000);
    EXPECT_TRUE(korvan == "(none)" || korvan == "-v") << korvan;
    if (bRollback) {
      EXPECT_EQ(korvan, "-v") << "the last copy was to fail";
    }
    EXPECT_EQ(Snapshot(decoy), decoyBefore) << (bRollback ? "after a rollback" : "after an update");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReliabilityLinks, ::testing::ValuesIn(kLinkCases),
                         [](const ::testing::TestParamInfo<LinkCase>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
