// Attributes, removal, folder creation and folder search of the real backend
// on a real temporary folder.
#include <gtest/gtest.h>

#include <map>

#include "common/TestSupport.h"
#include "platform/Platform.h"

using namespace testing_support;
using platform::Native;

namespace {

enum class Thing { Nothing, File, ReadOnlyFile, Folder, FolderWithFile };

// Makes the thing at path.
void Make(Thing thing, const std::string& path) {
  switch (thing) {
    case Thing::Nothing: break;
    case Thing::File: WriteFile(path, "x"); break;
    case Thing::ReadOnlyFile:
      WriteFile(path, "x");
      SetReadOnly(path, true);
      break;
    case Thing::Folder: MakeFolders(path); break;
    case Thing::FolderWithFile: WriteFile(Join(path, "inner.txt"), "x"); break;
  }
}

struct AttributeCase {
  const char* name;
  Thing thing;
  std::uint32_t set;    // bits that must be set
  std::uint32_t clear;  // bits that must be clear
};

class PlatformAttributes : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(PlatformAttributes, Bits) {
  const AttributeCase& c = GetParam();
  TempFolder tmp;
  Make(c.thing, tmp / "it");
  std::uint32_t a = Native().GetAttributes(tmp / "it");
  if (c.thing == Thing::Nothing) {
    EXPECT_EQ(a, platform::kInvalidAttributes);
    return;
  }
  EXPECT_EQ(a & c.set, c.set) << std::hex << a;
  EXPECT_EQ(a & c.clear, 0u) << std::hex << a;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformAttributes,
    ::testing::Values(
        AttributeCase{"Missing", Thing::Nothing, 0, 0},
        AttributeCase{"File", Thing::File, platform::kAttrArchive,
                      platform::kAttrReadOnly | platform::kAttrDirectory |
                          platform::kAttrReparsePoint},
        AttributeCase{"ReadOnlyFile", Thing::ReadOnlyFile, platform::kAttrReadOnly,
                      platform::kAttrDirectory | platform::kAttrReparsePoint},
        AttributeCase{"Folder", Thing::Folder, platform::kAttrDirectory,
                      platform::kAttrReadOnly | platform::kAttrReparsePoint}),
    [](const ::testing::TestParamInfo<AttributeCase>& p) {
      return std::string(p.param.name);
    });

TEST(PlatformSetArchiveOnly, MakesAReadOnlyFileWritableAndRemovable) {
  TempFolder tmp;
  Make(Thing::ReadOnlyFile, tmp / "f");
  ASSERT_TRUE(Native().SetArchiveOnly(tmp / "f"));
  std::uint32_t a = Native().GetAttributes(tmp / "f");
  EXPECT_EQ(a & (platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem), 0u);
  EXPECT_NE(a & platform::kAttrArchive, 0u);
  EXPECT_FALSE(IsReadOnly(tmp / "f"));
  EXPECT_TRUE(Native().RemoveFile(tmp / "f"));
  EXPECT_FALSE(Native().SetArchiveOnly(tmp / "missing"));
}

struct RemoveCase {
  const char* name;
  Thing thing;
  bool asFile;  // RemoveFile, else RemoveFolder
  bool expected;
};

class PlatformRemove : public ::testing::TestWithParam<RemoveCase> {};

// A read-only file refuses deletion for every user: the tests run as root on
// Linux, where unlink alone would succeed.
TEST_P(PlatformRemove, ResultAndWhatStays) {
  const RemoveCase& c = GetParam();
  TempFolder tmp;
  const std::string path = tmp / "it";
  Make(c.thing, path);
  bool result = c.asFile ? Native().RemoveFile(path) : Native().RemoveFolder(path);
  EXPECT_EQ(result, c.expected);
  if (c.thing != Thing::Nothing) {
    EXPECT_EQ(Exists(path), !c.expected);
  }
  if (c.thing == Thing::FolderWithFile) {
    EXPECT_TRUE(Exists(tmp / "it/inner.txt"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformRemove,
    ::testing::Values(RemoveCase{"File", Thing::File, true, true},
                      RemoveCase{"ReadOnlyFile", Thing::ReadOnlyFile, true, false},
                      RemoveCase{"FileIsNoFolder", Thing::File, false, false},
                      RemoveCase{"MissingFile", Thing::Nothing, true, false},
                      RemoveCase{"FolderIsNoFile", Thing::Folder, true, false},
                      RemoveCase{"EmptyFolder", Thing::Folder, false, true},
                      RemoveCase{"FolderNotEmpty", Thing::FolderWithFile, false, false},
                      RemoveCase{"MissingFolder", Thing::Nothing, false, false}),
    [](const ::testing::TestParamInfo<RemoveCase>& p) { return std::string(p.param.name); });

struct CreateCase {
  const char* name;
  const char* existing;  // a file made first ("" for none)
  const char* path;      // '/' between names; the last name is never made
  bool expected;
  std::vector<const char*> folders;  // folders that must exist afterwards
  const char* absent;                // what must not exist afterwards
};

class PlatformCreateFolders : public ::testing::TestWithParam<CreateCase> {};

TEST_P(PlatformCreateFolders, MakesEveryFolderUpToTheLastSeparator) {
  const CreateCase& c = GetParam();
  TempFolder tmp;
  if (*c.existing != '\0') WriteFile(tmp / c.existing, "x");
  EXPECT_EQ(Native().CreateFolders(tmp / c.path), c.expected);
  for (const char* f : c.folders) EXPECT_TRUE(IsFolder(tmp / f)) << f;
  if (*c.absent != '\0') {
    EXPECT_FALSE(IsFolder(tmp / c.absent)) << c.absent;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformCreateFolders,
    ::testing::Values(
        CreateCase{"ForAFile", "", "a/b/c.dll", true, {"a", "a/b"}, "a/b/c.dll"},
        CreateCase{"FinalSeparator", "", "a/b/", true, {"a", "a/b"}, ""},
        CreateCase{"PartlyThere", "a/keep.txt", "a/b/c/d.txt", true, {"a/b", "a/b/c"},
                   "a/b/c/d.txt"},
        CreateCase{"AllThere", "a/b/keep.txt", "a/b/d.txt", true, {"a/b"}, ""},
        CreateCase{"FileInTheWay", "a/b", "a/b/c/d.txt", false, {"a"}, "a/b/c"}),
    [](const ::testing::TestParamInfo<CreateCase>& p) { return std::string(p.param.name); });

// name -> "folder" or "file", read through a SearchFolder of folder.
std::map<std::string, std::string> Listing(const std::string& folder) {
  std::map<std::string, std::string> out;
  auto search = Native().SearchFolder(folder);
  if (!search) return {{"<null>", ""}};
  platform::FolderEntry e;
  while (search->Next(e)) {
    EXPECT_EQ(out.count(e.name), 0u) << "listed twice: " << e.name;
    EXPECT_FALSE(e.isLink) << e.name;
    out[e.name] = e.isFolder ? "folder" : "file";
  }
  return out;
}

TEST(PlatformSearchFolder, ListsEveryEntryButTheDots) {
  TempFolder tmp;
  WriteFile(tmp / "top/a.dll", "x");
  WriteFile(tmp / "top/Mixed Case.TXT", "x");
  WriteFile(tmp / "top/noext", "x");
  Make(Thing::ReadOnlyFile, tmp / "top/ro.ini");
  WriteFile(tmp / "top/sub/deep.txt", "x");
  MakeFolders(tmp / "top/empty");
  const std::map<std::string, std::string> expected = {
      {"a.dll", "file"},   {"Mixed Case.TXT", "file"}, {"noext", "file"},
      {"ro.ini", "file"},  {"sub", "folder"},          {"empty", "folder"}};
  EXPECT_EQ(Listing(tmp / "top"), expected);
  // A folder text with its final separator, as the core passes it.
  EXPECT_EQ(Listing(tmp / "top" + Sep()), expected);
  EXPECT_TRUE(Listing(tmp / "top/empty").empty());
}

TEST(PlatformSearchFolder, MissingFolderOrFileCannotBeListed) {
  TempFolder tmp;
  WriteFile(tmp / "file.txt", "x");
  EXPECT_EQ(Native().SearchFolder(tmp / "missing"), nullptr);
  EXPECT_EQ(Native().SearchFolder(tmp / "file.txt"), nullptr);
}

}  // namespace
