// What only the Win32 backend has: share modes between processes, files in
// use, and attribute bits that POSIX lacks.
#include <gtest/gtest.h>

#include "common/TestSupport.h"
#include "platform/Platform.h"

#include <windows.h>
// The interface's CopyFile, not the Win32 macro.
#undef CopyFile

using namespace testing_support;
using platform::Native;

namespace {

// Another process of the prefix copies path to copy; true when it could read
// it. cmd's copy opens its source for reading, sharing reading only.
bool AnotherProcessCanRead(const std::string& folder, const std::string& path,
                           const std::string& copy) {
  ProcessResult r = RunProcess("C:\\windows\\system32\\cmd.exe", {"/c", "copy", "/y", path, copy},
                               folder, 30000);
  EXPECT_TRUE(r.started);
  return ReadFile(copy) == "shared bytes";
}

TEST(PlatformShareMode, ReadSharingLetsAnotherProcessReadAndNoneBlocksIt) {
  TempFolder tmp;
  const std::string path = tmp / "VERSION.INI";
  WriteFile(path, "shared bytes");
  {
    auto file = Native().OpenFile(path, platform::FileAccess::Read, platform::FileShare::Read);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(AnotherProcessCanRead(tmp.Path(), path, tmp / "while-shared.txt"));
  }
  {
    auto file = Native().OpenFile(path, platform::FileAccess::Read, platform::FileShare::None);
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(AnotherProcessCanRead(tmp.Path(), path, tmp / "while-unshared.txt"));
    EXPECT_FALSE(Exists(tmp / "while-unshared.txt"));
  }
  EXPECT_TRUE(AnotherProcessCanRead(tmp.Path(), path, tmp / "after-close.txt"))
      << "the handle is gone with the File";
}

// A destination open without sharing cannot be replaced or removed; the
// temporary of the failed replace does not stay.
TEST(PlatformInUse, DestinationInUseRefusesReplaceAndRemoval) {
  TempFolder tmp;
  WriteFile(tmp / "new.dll", "new");
  WriteFile(tmp / "busy.dll", "old");
  {
    auto file =
        Native().OpenFile(tmp / "busy.dll", platform::FileAccess::Read, platform::FileShare::None);
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(Native().CopyFile(tmp / "new.dll", tmp / "busy.dll", false));
    EXPECT_FALSE(Native().RemoveFile(tmp / "busy.dll"));
    EXPECT_FALSE(Exists(tmp / "busy.dll.velmor-tmp"));
  }
  EXPECT_EQ(ReadFile(tmp / "busy.dll"), "old");
  EXPECT_TRUE(Native().CopyFile(tmp / "new.dll", tmp / "busy.dll", false));
  EXPECT_EQ(ReadFile(tmp / "busy.dll"), "new");
}

TEST(PlatformSetArchiveOnly, DropsHiddenAndSystemToo) {
  TempFolder tmp;
  const std::string path = tmp / "hidden.ini";
  WriteFile(path, "x");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                   FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(Native().SetArchiveOnly(path));
  EXPECT_EQ(Native().GetAttributes(path), platform::kAttrArchive);
}

TEST(PlatformDriveRoot, DriveLetterColonBackslash) {
  EXPECT_EQ(Native().DriveRoot("S"), "S:\\");
  EXPECT_EQ(Native().DriveRoot("S:"), "S::\\") << "taken as given";
}

}  // namespace
