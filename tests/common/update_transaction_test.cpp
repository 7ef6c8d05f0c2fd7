// The update transaction end to end on real folders with the stand-in main
// program: what it leaves on disk, in the log and in the dialog, for each
// outcome; rollback at every point a copy can fail.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/update_fixture.h"

using namespace testing_support;
using namespace update_test;

namespace {

const std::string kServerVersion = "2024.06.01-build-004\r\nsecond line\r\n";
const std::string kMarkedVersion = "2024.06.01-build-009";
const std::string kLocalVersion = "2024.05.01-build-001\r\n";
const std::string kVersionsLine =
    std::string(kStamp) + "2024.05.01-build-001 -> 2024.06.01-build-004\r\n";

// A local folder and a server folder of five files to copy: two replace
// local files (one read-only, one in a sub-folder), two are new (one in a
// folder the local side lacks), and the version file.
struct FiveFiles : Installation {
  explicit FiveFiles(int nKind = 2) : Installation(nKind) {
    Put(local, {{"VERSION.INI", kLocalVersion},
                {"A.DLL", "old A"},
                {"SUB/B.DAT", "old B"},
                {"velmor2.exe", "local updater"},
                {"ZOLENV.INI", "[ENVSET]\r\nSystemENV=3\r\n"},
                {"EXTRA.TXT", "local only"}});
    SetReadOnly(Join(local, "A.DLL"), true);
    Put(server, {{"VERSION.INI", kServerVersion},
                 {"A.DLL", "new A"},
                 {"SUB/B.DAT", "new B"},
                 {"NEW/DEEP/C.TXT", "new C"},
                 {"D.TXT", "new D"},
                 {"velmor2.exe", "server updater"},
                 {"VELMOR.EXE", "server old updater"}});
  }
};

std::string Rel(const std::string& path, const std::string& folder) {
  std::string rel = path.substr(folder.size());
  for (char& ch : rel)
    if (ch == Sep()[0]) ch = '/';
  return rel;
}

// The copies the run made into folder, as relative names, in order.
std::vector<std::string> CopiesInto(const UpdatePlatform& p, const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& [from, to] : p.copies)
    if (to.compare(0, folder.size(), folder) == 0) out.push_back(Rel(to, folder));
  return out;
}

std::vector<std::string> Args(std::initializer_list<const char*> args) {
  return std::vector<std::string>(args.begin(), args.end());
}

TEST(UpdateTransaction, SuccessCopiesEveryServerFileAndKeepsTheOldOnes) {
  FiveFiles run;
  // Left by an earlier run: deleted, except what is read-only. A read-only
  // file at a backup path of this run is replaced by this run's backup.
  run.Put(run.backup, {{"OLD/stale.txt", "stale"}, {"SUB/B.DAT", "stale B"}, {"KEEP/ro.txt", "ro"}});
  SetReadOnly(Join(run.backup, "SUB/B.DAT"), true);
  SetReadOnly(Join(run.backup, "KEEP/ro.txt"), true);
  Files expected = run.Local();
  expected["VERSION.INI"] = kServerVersion;
  expected["A.DLL"] = "new A";
  expected["SUB/B.DAT"] = "new B";
  expected["NEW/"] = "";
  expected["NEW/DEEP/"] = "";
  expected["NEW/DEEP/C.TXT"] = "new C";
  expected["D.TXT"] = "new D";

  UpdatePlatform p;
  p.descending = true;  // "VERSION.INI" comes first of the program files
  run.Confirm(p);

  EXPECT_EQ(run.Local(), expected);
  EXPECT_EQ(Snapshot(run.backup), (Files{{"A.DLL", "old A"},
                                         {"SUB/", ""},
                                         {"SUB/B.DAT", "old B"},
                                         {"KEEP/", ""},
                                         {"KEEP/ro.txt", "ro"},
                                         {"VERSION.INI", kMarkedVersion}}));
  EXPECT_EQ(run.Log(), kVersionsLine + kStamp + "An update of a program succeeded.\r\n");
  const auto starts = run.Starts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args, Args({}));
  EXPECT_TRUE(run.dlg.IsEnded());
  EXPECT_EQ(run.dlg.EndCode(), IDOK);
  EXPECT_EQ(run.dlg.GetDlgItemText(IDC_GUIDANCE), kGuidanceUpdating);
  // The local stamp turns new last of all the local files.
  const auto intoLocal = CopiesInto(p, run.local);
  ASSERT_FALSE(intoLocal.empty());
  EXPECT_EQ(intoLocal.back(), "VERSION.INI");
  // Every other file reaches the disk before the stamp: the run's one flush
  // comes after every other server copy and before the local VERSION.INI.
  ASSERT_EQ(p.flushes.size(), 1u);
  EXPECT_EQ(p.flushes[0].second, run.local);
  const std::size_t flushedAfter = p.flushes[0].first;
  for (std::size_t i = 0; i < p.copies.size(); ++i) {
    const auto& [from, to] = p.copies[i];
    if (from.compare(0, run.server.size(), run.server) != 0 ||
        to.compare(0, run.local.size(), run.local) != 0)
      continue;
    if (to == run.local + "VERSION.INI") {
      EXPECT_GE(i, flushedAfter);
    } else {
      EXPECT_LT(i, flushedAfter) << to;
    }
  }
}

// The backup VERSION.INI by the length of the server's first line.
struct MarkCase {
  const char* name;
  std::string server;
  std::string backup;
  bool readFault = false;   // a read error once the first 20 bytes are in
  bool writeFault = false;  // the rewrite refuses every byte
};

const MarkCase kMarkCases[] = {
    {"twenty bytes", "ABCDEFGHIJKLMNOPQRST\r\nmore\r\n", "ABCDEFGHIJKLMNOPQRS9"},
    {"twenty bytes ending in 9", "ABCDEFGHIJKLMNOPQRS9\r\nmore\r\n", "ABCDEFGHIJKLMNOPQRS9"},
    {"twenty bytes, LF only, no second line", "ABCDEFGHIJKLMNOPQRST\n", "ABCDEFGHIJKLMNOPQRS9"},
    {"nineteen bytes", "ABCDEFGHIJKLMNOPQRS\r\nmore\r\n", "ABCDEFGHIJKLMNOPQRS\r\nmore\r\n"},
    {"twenty-one bytes", "ABCDEFGHIJKLMNOPQRSTU\r\n", "ABCDEFGHIJKLMNOPQRSTU\r\n"},
    {"read error after the stamp", "ABCDEFGHIJKLMNOPQRST\r\nmore\r\n",
     "ABCDEFGHIJKLMNOPQRST\r\nmore\r\n", true, false},
    {"write error", "ABCDEFGHIJKLMNOPQRST\r\nmore\r\n", "ABCDEFGHIJKLMNOPQRST\r\nmore\r\n", false,
     true},
};

class MarkTable : public ::testing::TestWithParam<MarkCase> {};

TEST_P(MarkTable, MarksOnlyATwentyByteStamp) {
  const MarkCase& c = GetParam();
  Installation run;
  run.Put(run.local, {{"VERSION.INI", kLocalVersion}});
  run.Put(run.server, {{"VERSION.INI", c.server}});
  UpdatePlatform p;
  if (c.readFault) {
    p.readFaultPath = run.backup + "VERSION.INI";
    p.readFaultAfter = 20;
  }
  if (c.writeFault) p.writeFaultPath = run.backup + "VERSION.INI";
  run.Confirm(p);
  EXPECT_EQ(ReadFile(run.backup + "VERSION.INI"), c.backup);
  EXPECT_EQ(ReadFile(run.local + "VERSION.INI"), c.server);
  EXPECT_EQ(run.Log(), kVersionsLine + kStamp + "An update of a program succeeded.\r\n");
  const auto starts = run.Starts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args, Args({}));
}

INSTANTIATE_TEST_SUITE_P(Update, MarkTable, ::testing::ValuesIn(kMarkCases),
                         [](const auto& row) { return RowName(row.param.name); });

// A copy that fails: into the local folder at its k-th copy, or into the
// backup folder at its k-th copy (the last there is the server VERSION.INI
// after the loop, path B).
struct FailCase {
  const char* name;
  bool intoBackup;
  int k;
};

const FailCase kFailCases[] = {
    {"local copy 1", false, 1}, {"local copy 2", false, 2},   {"local copy 3", false, 3},
    {"local copy 4", false, 4}, {"local copy 5", false, 5},   {"backup copy 1", true, 1},
    {"backup copy 2", true, 2}, {"backup copy 3", true, 3},   {"backup version file", true, 4},
};

class FailureTable : public ::testing::TestWithParam<FailCase> {};

TEST_P(FailureTable, RollsBackToTheStateBefore) {
  const FailCase& c = GetParam();
  FiveFiles run;
  const Files before = run.Local();
  UpdatePlatform p;
  p.failInto = c.intoBackup ? run.backup : run.local;
  p.failAt = c.k;
  run.Confirm(p);

  // Only the folders made for new files may have stayed.
  const Files after = run.Local();
  for (const auto& [rel, bytes] : before) {
    auto it = after.find(rel);
    ASSERT_NE(it, after.end()) << rel << " is gone";
    EXPECT_EQ(it->second, bytes) << rel;
  }
  for (const auto& [rel, bytes] : after) {
    if (before.count(rel) == 0) {
      EXPECT_TRUE(rel == "NEW/" || rel == "NEW/DEEP/") << rel;
    }
  }

  // The failed copy, and nothing from the server after it: a file whose
  // backup failed is not replaced, later files are not touched.
  const std::string& into = c.intoBackup ? run.backup : run.local;
  std::size_t failedAt = p.copies.size();
  for (std::size_t i = 0, n = 0; i < p.copies.size() && failedAt == p.copies.size(); ++i) {
    if (p.copies[i].second.compare(0, into.size(), into) == 0 && ++n == static_cast<std::size_t>(c.k))
      failedAt = i;
  }
  ASSERT_LT(failedAt, p.copies.size());
  for (std::size_t i = failedAt + 1; i < p.copies.size(); ++i)
    EXPECT_NE(p.copies[i].first.compare(0, run.server.size(), run.server), 0) << p.copies[i].first;

  const bool pathB = c.intoBackup && c.k == 4;
  const std::string failed = p.copies[failedAt].second.substr(into.size());
  const std::string tail =
      pathB ? std::string(kStamp) + "VERSION.INI\r\n" : std::string(20, ' ') + failed + "\r\n";
  EXPECT_EQ(run.Log(), kVersionsLine + kStamp + "An update of a program was failed.\r\n" + tail);
  const auto starts = run.Starts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args, Args({"-v"}));
  EXPECT_EQ(run.dlg.EndCode(), IDOK);
}

INSTANTIATE_TEST_SUITE_P(Update, FailureTable, ::testing::ValuesIn(kFailCases),
                         [](const auto& row) { return RowName(row.param.name); });

TEST(UpdateTransaction, EmptyServerFolderTakesPathB) {
  Installation run;
  run.Put(run.local, {{"VERSION.INI", kLocalVersion}, {"A.DLL", "A"}});
  run.Put(run.backup, {{"OLD/stale.txt", "stale"}});
  const Files before = run.Local();
  UpdatePlatform p;
  run.Confirm(p);
  EXPECT_EQ(run.Local(), before);
  EXPECT_TRUE(IsFolder(run.backup));
  EXPECT_TRUE(Snapshot(run.backup).empty());
  EXPECT_EQ(run.Log(), kVersionsLine + kStamp + "An update of a program was failed.\r\n" + kStamp +
                           "VERSION.INI\r\n");
  const auto starts = run.Starts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args, Args({"-v"}));
}

// The result lines by package kind.
struct KindCase {
  const char* name;
  int kind;
  bool fail;
};

const KindCase kKindCases[] = {
    {"kind 0 success", 0, false},
    {"kind 0 failure", 0, true},
    {"kind 1 success", 1, false},
    {"kind 2 failure", 2, true},
};

class KindTable : public ::testing::TestWithParam<KindCase> {};

TEST_P(KindTable, WritesTheResultInTheKindsLanguage) {
  const KindCase& c = GetParam();
  std::string result;
  if (c.kind == 0) {
    result = c.fail ? FailureJa() : SuccessJa();
    if (result.empty()) GTEST_SKIP() << "the Japanese texts need code page 932 or UTF-8";
  } else {
    result = c.fail ? "An update of a program was failed." : "An update of a program succeeded.";
  }
  Installation run(c.kind);
  run.Put(run.local, {{"VERSION.INI", kLocalVersion}});
  run.Put(run.server, {{"VERSION.INI", kServerVersion}, {"A.DLL", "A"}});
  UpdatePlatform p;
  if (c.fail) {
    p.failInto = run.local;
    p.failAt = 1;
  }
  run.Confirm(p);
  EXPECT_EQ(run.Log(), kVersionsLine + kStamp + result + "\r\n" +
                           (c.fail ? std::string(20, ' ') + "A.DLL\r\n" : std::string()));
}

INSTANTIATE_TEST_SUITE_P(Update, KindTable, ::testing::ValuesIn(kKindCases),
                         [](const auto& row) { return RowName(row.param.name); });

// While the main program runs a press changes control 1003 and nothing else;
// once it has ended the next press updates.
TEST(UpdateTransaction, MainProgramRunningChangesOnlyTheGuidance) {
  FiveFiles run;
  const std::string elsewhere = run.tmp / "RUNNING";
  MakeFolders(elsewhere);
  ASSERT_TRUE(InstallKorvan(elsewhere));
  SetKorvanStay(elsewhere, 1500);
  {
    ScopedCurrentDir there(elsewhere);
    ASSERT_TRUE(platform::Current().StartMainProgram(nullptr));
  }
  ASSERT_TRUE(WaitForKorvanRuns(elsewhere, 1, 10000));
  ASSERT_FALSE(IsMainClosed("korvan"));

  const std::vector<int> controls = {IDC_LOCAL_VERSION, IDC_SERVER_VERSION, IDC_GUIDANCE,
                                     IDC_HEADING,       IDC_LOCAL_LABEL,    IDC_SERVER_LABEL,
                                     IDC_CONFIRM};
  for (int id : controls) run.dlg.SetDlgItemText(id, "text " + std::to_string(id));
  run.dlg.SetWindowText("title");
  auto everything = [&] {
    Files all = Snapshot(run.tmp.Path());
    all.erase("RUNNING/korvan-runs.txt");
    return all;
  };
  const Files before = everything();
  UpdatePlatform p;
  run.Confirm(p);
  EXPECT_EQ(everything(), before);
  EXPECT_FALSE(Exists(run.log));
  EXPECT_FALSE(run.dlg.IsEnded());
  EXPECT_EQ(run.dlg.GetWindowText(), "title");
  for (int id : controls)
    EXPECT_EQ(run.dlg.GetDlgItemText(id),
              id == IDC_GUIDANCE ? kGuidanceRunning : "text " + std::to_string(id));
  EXPECT_TRUE(p.copies.empty());

  Installation::WaitUntilMainClosed();
  ASSERT_TRUE(IsMainClosed("korvan"));
  run.Confirm(p);
  EXPECT_TRUE(run.dlg.IsEnded());
  EXPECT_EQ(ReadFile(run.local + "D.TXT"), "new D");
  EXPECT_EQ(run.Log(), kVersionsLine + kStamp + "An update of a program succeeded.\r\n");
}

}  // namespace
