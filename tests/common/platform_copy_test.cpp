// File copy of the real backend on a real temporary folder: what is refused,
// what the destination holds afterwards, and the temporary of a replace.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "common/TestSupport.h"
#include "platform/Platform.h"

using namespace testing_support;

namespace {

// The name a copy with replace writes before it renames over the destination.
std::string TempOf(const std::string& destination) { return destination + ".velmor-tmp"; }

// Bytes that text handling would change: CR LF, 0x1A, a NUL.
constexpr char kNewBytes[] = "new content\r\n\x1a\0tail";
const std::string kNew(kNewBytes, sizeof kNewBytes - 1);

enum class Destination { Missing, Writable, ReadOnly, Folder };
enum class After { NewContent, OldContent, StillFolder };

struct CopyCase {
  const char* name;
  Destination destination;
  bool failIfExists;
  bool expectedResult;
  After after;
};

class PlatformCopy : public ::testing::TestWithParam<CopyCase> {};

TEST_P(PlatformCopy, ResultAndDestination) {
  const CopyCase& c = GetParam();
  TempFolder tmp;
  const std::string from = tmp / "from.dll";
  const std::string to = tmp / "to.dll";
  WriteFile(from, kNew);
  switch (c.destination) {
    case Destination::Missing: break;
    case Destination::Writable: WriteFile(to, "old"); break;
    case Destination::ReadOnly:
      WriteFile(to, "old");
      SetReadOnly(to, true);
      break;
    case Destination::Folder: MakeFolders(to); break;
  }

  EXPECT_EQ(platform::Native().CopyFile(from, to, c.failIfExists), c.expectedResult);

  switch (c.after) {
    case After::NewContent: EXPECT_EQ(ReadFile(to), kNew); break;
    case After::OldContent: EXPECT_EQ(ReadFile(to), "old"); break;
    case After::StillFolder: EXPECT_TRUE(IsFolder(to)); break;
  }
  EXPECT_FALSE(Exists(TempOf(to))) << "no temporary stays behind";
  EXPECT_EQ(ReadFile(from), kNew) << "the source is not touched";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformCopy,
    ::testing::Values(
        CopyCase{"NewDestination", Destination::Missing, true, true, After::NewContent},
        CopyCase{"FailIfExistsKeepsDestination", Destination::Writable, true, false,
                 After::OldContent},
        CopyCase{"FailIfExistsKeepsReadOnly", Destination::ReadOnly, true, false,
                 After::OldContent},
        CopyCase{"ReplaceNew", Destination::Missing, false, true, After::NewContent},
        CopyCase{"ReplaceExisting", Destination::Writable, false, true, After::NewContent},
        CopyCase{"ReplaceRefusesReadOnly", Destination::ReadOnly, false, false,
                 After::OldContent},
        CopyCase{"ReplaceRefusesFolder", Destination::Folder, false, false, After::StillFolder},
        CopyCase{"FailIfExistsRefusesFolder", Destination::Folder, true, false,
                 After::StillFolder}),
    [](const ::testing::TestParamInfo<CopyCase>& p) { return std::string(p.param.name); });

TEST(PlatformCopyBytes, BinaryContentIsCopiedWhole) {
  TempFolder tmp;
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes.push_back(static_cast<char>(i * 7));
  WriteFile(tmp / "big.bin", bytes);
  ASSERT_TRUE(platform::Native().CopyFile(tmp / "big.bin", tmp / "a.bin", true));
  ASSERT_TRUE(platform::Native().CopyFile(tmp / "big.bin", tmp / "b.bin", false));
  EXPECT_EQ(ReadFile(tmp / "a.bin"), bytes);
  EXPECT_EQ(ReadFile(tmp / "b.bin"), bytes);
}

TEST(PlatformCopyMissing, MissingSourceCreatesNothing) {
  TempFolder tmp;
  for (bool failIfExists : {true, false}) {
    EXPECT_FALSE(platform::Native().CopyFile(tmp / "none", tmp / "to", failIfExists));
    EXPECT_FALSE(Exists(tmp / "to"));
    EXPECT_FALSE(Exists(TempOf(tmp / "to")));
  }
}

// An interrupted replace leaves its temporary; the next copy to the same
// destination clears it, even when it carries a read-only source's attribute.
TEST(PlatformCopyLeftover, NextCopyRemovesLeftoverTemporary) {
  TempFolder tmp;
  const std::string to = tmp / "to.dll";
  WriteFile(tmp / "from.dll", "fresh");
  WriteFile(to, "old");
  WriteFile(TempOf(to), "half a copy");
  SetReadOnly(TempOf(to), true);

  EXPECT_TRUE(platform::Native().CopyFile(tmp / "from.dll", to, false));
  EXPECT_EQ(ReadFile(to), "fresh");
  EXPECT_FALSE(Exists(TempOf(to)));
}

// The copy keeps the source's read-only attribute and modification time, as
// CopyFileA does; a read-only copy then refuses to be replaced.
TEST(PlatformCopyAttributes, ReadOnlyAndTimeTravelWithTheCopy) {
  namespace fs = std::filesystem;
  TempFolder tmp;
  const std::string from = tmp / "from.dll";
  WriteFile(from, "v1");
  const auto old = fs::last_write_time(from) - std::chrono::hours(24 * 400);
  fs::last_write_time(from, old);
  SetReadOnly(from, true);

  for (bool failIfExists : {true, false}) {
    const std::string to = tmp / (failIfExists ? "new.dll" : "replaced.dll");
    if (!failIfExists) WriteFile(to, "before");
    ASSERT_TRUE(platform::Native().CopyFile(from, to, failIfExists));
    EXPECT_TRUE(IsReadOnly(to));
    auto diff = fs::last_write_time(to) - old;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(diff).count(), 3)
        << "modification time of the source";
    EXPECT_GT(std::chrono::duration_cast<std::chrono::seconds>(diff).count(), -3);
  }
  WriteFile(tmp / "v2.dll", "v2");
  EXPECT_FALSE(platform::Native().CopyFile(tmp / "v2.dll", tmp / "replaced.dll", false));
  EXPECT_EQ(ReadFile(tmp / "replaced.dll"), "v1");
}

}  // namespace

namespace {

struct RenameCase {
  const char* name;
  Destination destination;
  bool expectedResult;
};

class PlatformRenameOver : public ::testing::TestWithParam<RenameCase> {};

// One step, no copy: the source is gone when it succeeded and both stay as
// they were when it was refused.
TEST_P(PlatformRenameOver, ReplacesOrLeavesBothAlone) {
  const RenameCase& c = GetParam();
  TempFolder tmp;
  const std::string from = tmp / "APLI_BAK/a.dll";
  const std::string to = tmp / "APLI/a.dll";
  WriteFile(from, kNew);
  MakeFolders(tmp / "APLI");
  if (c.destination == Destination::Folder) MakeFolders(to);
  if (c.destination == Destination::Writable || c.destination == Destination::ReadOnly) {
    WriteFile(to, "old");
    if (c.destination == Destination::ReadOnly) SetReadOnly(to, true);
  }
  EXPECT_EQ(platform::Native().RenameOver(from, to), c.expectedResult);
  if (c.expectedResult) {
    EXPECT_EQ(ReadFile(to), kNew);
    EXPECT_FALSE(Exists(from));
  } else {
    EXPECT_EQ(ReadFile(from), kNew);
    if (c.destination == Destination::Folder) {
      EXPECT_TRUE(IsFolder(to));
    } else {
      EXPECT_EQ(ReadFile(to), "old");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformRenameOver,
    ::testing::Values(RenameCase{"NewDestination", Destination::Missing, true},
                      RenameCase{"Existing", Destination::Writable, true},
                      RenameCase{"ReadOnlyRefused", Destination::ReadOnly, false},
                      RenameCase{"FolderRefused", Destination::Folder, false}),
    [](const ::testing::TestParamInfo<RenameCase>& p) { return std::string(p.param.name); });

}  // namespace
