// A real full disk: the client's folders lie on a size-limited tmpfs of the
// test's own, and an update that does not fit rolls back to the exact old
// state. Skipped where the machine refuses the mount.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "common/ReliabilityInstallation.h"

using namespace testing_support;

#ifdef UPDATE_RUNNER_EXE
namespace {

constexpr unsigned long long kMiB = 1024 * 1024;

// A tmpfs mounted on a folder for the object's lifetime.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(const std::string& folder) : m_folder(folder) {
    MakeFolders(folder);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64m") == 0) m_bMounted = true;
    else m_error = std::strerror(errno);
  }
  ~SmallFileSystem() {
    if (m_bMounted) ::umount2(m_folder.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return m_bMounted; }
  const std::string& Error() const { return m_error; }
  unsigned long long Used() const {
    struct statvfs st;
    if (::statvfs(m_folder.c_str(), &st) != 0) return 0;
    return (st.f_blocks - st.f_bfree) * st.f_frsize;
  }
  // Shrinks it to what is used now and room bytes more.
  bool LeaveRoom(unsigned long long room) {
    const std::string options = "size=" + std::to_string((Used() + room) / 1024) + "k";
    return ::mount("tmpfs", m_folder.c_str(), "tmpfs", MS_REMOUNT, options.c_str()) == 0;
  }

 private:
  std::string m_folder;
  bool m_bMounted = false;
  std::string m_error;
};

std::string Bytes(char c, unsigned long long size) { return std::string(size, c); }

struct DiskFullCase {
  const char* name;
  // Files added to the standard trees: local old ones, server new ones.
  std::vector<std::pair<std::string, unsigned long long>> local, server;
  unsigned long long room;  // free space left once the local tree is laid
};

void PrintTo(const DiskFullCase& c, std::ostream* os) { *os << c.name; }

class ReliabilityDiskFull : public ::testing::TestWithParam<DiskFullCase> {};

TEST_P(ReliabilityDiskFull, AnUpdateThatDoesNotFitRollsBackExactly) {
  const DiskFullCase& c = GetParam();
  TempFolder tmp;
  SmallFileSystem fs(tmp / "fs");
  if (!fs.Mounted()) GTEST_SKIP() << "no tmpfs of the test's own can be mounted here (" << fs.Error()
                                  << "): the real disk-full case is not run";
  Installation inst(tmp / "fs");
  ASSERT_TRUE(inst.Drive().Ok());
  for (const auto& [relative, size] : c.local) WriteFile(inst.Local(relative), Bytes('o', size));
  for (const auto& [relative, size] : c.server) WriteFile(inst.Server(relative), Bytes('n', size));
  const auto before = inst.LocalSnapshot();
  ASSERT_TRUE(fs.LeaveRoom(c.room));

  const ProcessResult r = RunProcess(UPDATE_RUNNER_EXE, {}, inst.Local(), 60000, inst.ChildEnv());
  ASSERT_TRUE(r.started);
  EXPECT_EQ(r.exitCode, 1) << "the update was to fail for want of space";
  EXPECT_EQ(AwaitKorvan(inst.Local(), 1, 10000), "-v");
  EXPECT_EQ(Installation::CheckUnchanged(before, inst.LocalSnapshot()), "");
  const std::vector<std::string> log = inst.LogTexts();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 2], kFailureText);
}

const DiskFullCase kDiskFullCases[] = {
    // The copy of a new file runs out of space.
    {"NewFileTooLarge", {}, {{"NEW/BIG.dat", 12 * kMiB}}, 6 * kMiB},
    // Two replaced files whose backups fill the disk: when the second
    // replace fails, there is no room left to copy the first one back.
    {"NoRoomToCopyBack",
     {{"X1.dat", 4 * kMiB}, {"X2.dat", 4 * kMiB}},
     {{"X1.dat", 1 * kMiB}, {"X2.dat", 1 * kMiB}},
     5 * kMiB + kMiB / 2},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReliabilityDiskFull, ::testing::ValuesIn(kDiskFullCases),
                         [](const ::testing::TestParamInfo<DiskFullCase>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
#endif  // UPDATE_RUNNER_EXE
