// Nothing is written outside the local, backup and log folders: server and
// local trees hold symbolic links that lead to a decoy folder outside, and
// after an update, and after an update rolled back at its last copy, no
// byte of the decoy has changed. Under Wine the links are Unix links, which
// Windows programs there see as reparse points (junctions) when they lead
// to a folder.
#include <gtest/gtest.h>

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
  // Puts a link into the trees (decoy is the decoy folder) and returns
  // where, so that the test can remove it before it cleans up.
  std::function<std::string(const Installation&, const std::string& decoy)> plant;
};

void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

std::string Link(const std::string& target, const std::string& at) {
  RemoveTree(at);
  MakeFolders(at.substr(0, at.rfind(Sep()[0])));
  EXPECT_TRUE(MakeLink(target, at)) << at;
  return at;
}

const LinkCase kLinkCases[] = {
    {"LocalSubFolderIsALink",
     [](const Installation& i, const std::string& d) { return Link(d, i.Local("SUB")); }},
    {"LocalFolderForNewFilesIsALink",
     [](const Installation& i, const std::string& d) { return Link(d, i.Local("NEW")); }},
    {"LocalDeepFolderIsALink",
     [](const Installation& i, const std::string& d) { return Link(Join(d, "DEEP"), i.Local("SUB/DEEP")); }},
    {"LocalFileIsALink",
     [](const Installation& i, const std::string& d) { return Link(Join(d, "c.dll"), i.Local("a.dll")); }},
    {"LocalVersionFileIsALink",
     [](const Installation& i, const std::string& d) {
       WriteFile(Join(d, "VERSION.INI"), std::string(kOldStamp) + "\r\n");
       return Link(Join(d, "VERSION.INI"), i.Local("VERSION.INI"));
     }},
#ifndef _WIN32
    // Under Wine a Unix link to a file looks like the file itself, and
    // deleting it deletes the file it leads to (Windows deletes the link):
    // nothing a Windows program can tell apart, so this row is native only.
    {"LeftoverCopyTempIsALink",
     [](const Installation& i, const std::string& d) { return Link(Join(d, "c.dll"), i.Local("a.dll.velmor-tmp")); }},
#endif
    {"ServerFolderLinkLeadsOutside",
     [](const Installation& i, const std::string& d) { return Link(d, i.Server("OUT")); }},
    {"ServerFileLinkLeadsOutside",
     [](const Installation& i, const std::string& d) { return Link(Join(d, "c.dll"), i.Server("z.dat")); }},
    {"BackupFolderHoldsALinkOutside",
     [](const Installation& i, const std::string& d) { return Link(d, i.Backup("SUB")); }},
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
  const std::string decoy = Join(inst.Root(), "decoy");
  std::size_t nCopies = 0;
  for (const bool bRollback : {false, true}) {
    inst.Reset();
    RemoveTree(decoy);
    WriteFile(Join(decoy, "c.dll"), "decoy c");
    WriteFile(Join(decoy, "d.dat"), "decoy d");
    WriteFile(Join(decoy, "f.dat"), "decoy f");
    WriteFile(Join(decoy, "DEEP/e.txt"), "decoy e");
    const std::string link = GetParam().plant(inst, decoy);
    if (HasFailure()) return;
    const auto decoyBefore = Snapshot(decoy);
    const std::size_t nCalls = Update(inst, bRollback ? nCopies : 0);
    if (!bRollback) nCopies = nCalls;
    const std::string korvan = AwaitKorvan(inst.Local(), 1, 10000);
    EXPECT_TRUE(korvan == "(none)" || korvan == "-v") << korvan;
    if (bRollback) {
      EXPECT_EQ(korvan, "-v") << "the last copy was to fail";
    }
    EXPECT_EQ(Snapshot(decoy), decoyBefore) << (bRollback ? "after a rollback" : "after an update");
    // The update may have replaced the link by a file of its own.
    if (!RemoveLink(link)) RemoveTree(link);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReliabilityLinks, ::testing::ValuesIn(kLinkCases),
                         [](const ::testing::TestParamInfo<LinkCase>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
