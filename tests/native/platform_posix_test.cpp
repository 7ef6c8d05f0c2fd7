// What only the POSIX backend has to get right: symbolic links, the
// read-only rule for root, the server drive variables, the long current
// directory, the mutex lock file and the children it starts.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "common/AppTestSupport.h"
#include "common/Korvan.h"
#include "common/TestSupport.h"
#include "platform/Platform.h"

using namespace testing_support;
using platform::Native;

namespace {

// A folder with a file, a folder and a link of each kind pointing at them.
class PlatformLinks : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(m_tmp / "target.txt", "target");
    SetReadOnly(m_tmp / "target.txt", true);
    WriteFile(m_tmp / "dir/inner.txt", "inner");
    ASSERT_EQ(symlink("target.txt", (m_tmp / "to-file").c_str()), 0);
    ASSERT_EQ(symlink("dir", (m_tmp / "to-dir").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (m_tmp / "dangling").c_str()), 0);
  }
  TempFolder m_tmp;
};

TEST_F(PlatformLinks, AttributesMarkLinksAsReparsePoints) {
  using namespace platform;
  EXPECT_EQ(Native().GetAttributes(m_tmp / "to-dir"), kAttrReparsePoint | kAttrDirectory);
  EXPECT_EQ(Native().GetAttributes(m_tmp / "to-file") & (kAttrReparsePoint | kAttrDirectory),
            kAttrReparsePoint);
  EXPECT_EQ(Native().GetAttributes(m_tmp / "dangling") & (kAttrReparsePoint | kAttrDirectory),
            kAttrReparsePoint);
}

TEST_F(PlatformLinks, SearchReportsLinksAsLinks) {
  std::map<std::string, std::pair<bool, bool>> seen;  // name -> folder, link
  auto search = Native().SearchFolder(m_tmp.Path());
  ASSERT_NE(search, nullptr);
  platform::FolderEntry e;
  while (search->Next(e)) seen[e.name] = {e.isFolder, e.isLink};
  const std::map<std::string, std::pair<bool, bool>> expected = {
      {"target.txt", {false, false}}, {"dir", {true, false}},     {"to-file", {false, true}},
      {"to-dir", {true, true}},       {"dangling", {false, true}}};
  EXPECT_EQ(seen, expected);
}

TEST_F(PlatformLinks, RemovalTakesTheLinkNeverItsTarget) {
  EXPECT_TRUE(Native().RemoveFile(m_tmp / "to-file")) << "link to a read-only file";
  EXPECT_TRUE(Native().RemoveFile(m_tmp / "dangling"));
  EXPECT_FALSE(Native().RemoveFile(m_tmp / "to-dir")) << "a link to a folder is a folder";
  EXPECT_TRUE(Native().RemoveFolder(m_tmp / "to-dir"));
  EXPECT_FALSE(Exists(m_tmp / "to-file"));
  EXPECT_FALSE(Exists(m_tmp / "dangling"));
  EXPECT_FALSE(Exists(m_tmp / "to-dir"));
  EXPECT_EQ(ReadFile(m_tmp / "target.txt"), "target");
  EXPECT_EQ(ReadFile(m_tmp / "dir/inner.txt"), "inner");
}

TEST_F(PlatformLinks, CopyNeverWritesThroughALink) {
  WriteFile(m_tmp / "src.txt", "new");
  EXPECT_FALSE(Native().CopyFile(m_tmp / "src.txt", m_tmp / "dangling", true));
  EXPECT_FALSE(Exists(m_tmp / "nowhere")) << "fail-if-exists created the link's target";
  ASSERT_EQ(symlink("dir/inner.txt", (m_tmp / "to-inner").c_str()), 0);
  EXPECT_TRUE(Native().CopyFile(m_tmp / "src.txt", m_tmp / "to-inner", false));
  EXPECT_EQ(ReadFile(m_tmp / "to-inner"), "new");
  EXPECT_EQ(ReadFile(m_tmp / "dir/inner.txt"), "inner") << "replace swaps the link itself";
}

// Root may write anything on Linux; the backend refuses what Windows refuses.
TEST(PlatformReadOnly, NoWriteAccessToAReadOnlyFileForAnyUser) {
  TempFolder tmp;
  WriteFile(tmp / "ro.txt", "keep");
  SetReadOnly(tmp / "ro.txt", true);
  for (auto access : {platform::FileAccess::WriteExisting, platform::FileAccess::CreateWrite}) {
    EXPECT_EQ(Native().OpenFile(tmp / "ro.txt", access, platform::FileShare::None), nullptr);
  }
  EXPECT_NE(Native().OpenFile(tmp / "ro.txt", platform::FileAccess::Read,
                              platform::FileShare::None),
            nullptr);
  EXPECT_EQ(ReadFile(tmp / "ro.txt"), "keep");
  EXPECT_EQ(Native().OpenFile(tmp.Path(), platform::FileAccess::Read, platform::FileShare::None),
            nullptr)
      << "a folder is no file";
}

TEST(PlatformDriveRoot, VariableOrMountPoint) {
  const char* previous = std::getenv("VELMOR_DRIVE_Q");
  std::string saved = previous != nullptr ? previous : "";
  unsetenv("VELMOR_DRIVE_Q");
  EXPECT_EQ(Native().DriveRoot("Q"), "/mnt/Q/");
  setenv("VELMOR_DRIVE_Q", "/srv/share", 1);
  EXPECT_EQ(Native().DriveRoot("Q"), "/srv/share/");
  EXPECT_EQ(Native().DriveRoot("q"), "/mnt/q/") << "the name is taken as given";
  if (previous != nullptr) setenv("VELMOR_DRIVE_Q", saved.c_str(), 1);
  else unsetenv("VELMOR_DRIVE_Q");
}

// GetCurrentDirectoryA with its 260-byte buffer gives nothing for a longer
// directory, and neither does the backend.
TEST(PlatformCurrentDirectory, LongestDirectoryIs259Bytes) {
  TempFolder tmp;
  std::string base = tmp.Path() + "/";
  ASSERT_LT(base.size(), 200u);
  std::string fits = base + std::string(259 - base.size(), 'a');
  std::string longer = fits + "/b";
  MakeFolders(longer);
  {
    ScopedCurrentDir inside(fits);
    EXPECT_EQ(Native().CurrentDirectory(), fits);
  }
  {
    ScopedCurrentDir inside(longer);
    EXPECT_EQ(Native().CurrentDirectory(), "");
  }
}

class PlatformPosixProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeFolders(m_tmp / "run");
    const char* previous = std::getenv("XDG_RUNTIME_DIR");
    m_hadRuntime = previous != nullptr;
    if (m_hadRuntime) m_previousRuntime = previous;
    setenv("XDG_RUNTIME_DIR", (m_tmp / "run").c_str(), 1);
    MakeFolders(m_tmp / "APLI");
  }
  void TearDown() override {
    for (int i = 0; i < 500 && Native().MutexExists("korvan"); ++i) SleepMs(20);
    if (m_hadRuntime) setenv("XDG_RUNTIME_DIR", m_previousRuntime.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
  }
  TempFolder m_tmp;
  bool m_hadRuntime = false;
  std::string m_previousRuntime;
};

TEST_F(PlatformPosixProcess, MutexLivesInTheRuntimeFolderAndProbesCreateNothing) {
  EXPECT_FALSE(Native().MutexExists("korvan"));
  EXPECT_FALSE(Exists(m_tmp / "run/korvan.lock")) << "a probe created the lock file";
  {
    auto hold = Native().HoldMutex("korvan");
    ASSERT_NE(hold, nullptr);
    EXPECT_TRUE(Exists(m_tmp / "run/korvan.lock"));
  }
  // The file that stays behind is not a running program.
  EXPECT_FALSE(Native().MutexExists("korvan"));
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_FALSE(Exists("/tmp/velmor-test-unused.lock"));
  {
    auto hold = Native().HoldMutex("velmor-test-unused");
    EXPECT_TRUE(Exists("/tmp/velmor-test-unused.lock")) << "/tmp without XDG_RUNTIME_DIR";
  }
  std::remove("/tmp/velmor-test-unused.lock");
}

TEST_F(PlatformPosixProcess, FailedStartSaysWhyOnStandardError) {
  ScopedCurrentDir inside(m_tmp / "APLI");  // no korvan.exe here
  ::testing::internal::CaptureStderr();
  bool started = Native().StartMainProgram("-v");
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(started);
  EXPECT_NE(err.find("korvan.exe"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
}

// Children of this process that have ended and not been waited for.
int Zombies() {
  int count = 0;
  const std::string me = std::to_string(getpid());
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return -1;
  while (const dirent* d = readdir(proc)) {
    std::ifstream stat(std::string("/proc/") + d->d_name + "/stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // pid (comm) state ppid ...: comm may hold blanks, so read after ')'.
    std::size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::string state, ppid;
    std::istringstream rest(line.substr(close + 1));
    rest >> state >> ppid;
    if (ppid == me && state == "Z") ++count;
  }
  closedir(proc);
  return count;
}

// The updater never waits for the main program; a long-running process
// still must not pile up ended children.
TEST_F(PlatformPosixProcess, EndedMainProgramsAreReaped) {
  ASSERT_TRUE(InstallKorvan(m_tmp / "APLI"));
  ScopedCurrentDir inside(m_tmp / "APLI");
  for (std::size_t i = 1; i <= 4; ++i) {
    ASSERT_TRUE(Native().StartMainProgram(nullptr));
    ASSERT_TRUE(WaitForKorvanRuns(m_tmp / "APLI", i, 15000));
    for (int k = 0; k < 500 && Native().MutexExists("korvan"); ++k) SleepMs(20);
    SleepMs(50);
  }
  EXPECT_LE(Zombies(), 1) << "only the last start may still wait to be reaped";
}

}  // namespace

namespace {

// The code page comes from the environment's locale, once per process: each
// case runs this test again in a child with that locale.
TEST(PlatformCodePage, FollowsTheEnvironmentLocale) {
  const std::string hyo = "\xE8\xA1\xA8";  // 表
  if (const char* expected = std::getenv("VELMOR_TEST_EXPECTED_CODE_PAGE")) {
    EXPECT_EQ(std::to_string(static_cast<int>(Native().AnsiCodePage())), expected);
    // Single-byte code sets have no 表: the text stays as it was.
    EXPECT_EQ(Native().FromUtf8(hyo), hyo);
    return;
  }
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  self[n] = '\0';
  const struct {
    const char* locale;
    platform::CodePage expected;
  } cases[] = {{"C", platform::CodePage::SingleByte},
               {"C.UTF-8", platform::CodePage::Utf8},
               {"no_SUCH.locale", platform::CodePage::SingleByte}};
  for (const auto& c : cases) {
    ProcessResult r = RunProcess(
        self, {"--gtest_filter=PlatformCodePage.FollowsTheEnvironmentLocale"}, ".", 60000,
        {std::string("LC_ALL=") + c.locale,
         "VELMOR_TEST_EXPECTED_CODE_PAGE=" + std::to_string(static_cast<int>(c.expected))});
    EXPECT_EQ(r.exitCode, 0) << c.locale;
  }
}

}  // namespace
