// Links inside listed and emptied folders: never followed, so a loop ends
// and nothing outside the folder is listed or deleted. Names in UTF-8.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>
#include <string>

#include "common/TestSupport.h"
#include "update/ClearFolder.h"
#include "update/CollectFiles.h"

using namespace testing_support;

namespace {

std::set<std::string> Entries(const FileList& list) {
  std::set<std::string> out;
  for (std::size_t i = 0; i < list.GetCount(); ++i) out.insert(list[i]);
  return out;
}

TEST(UpdateLinks, ListingDoesNotFollowFolderLinks) {
  TempFolder tmp;
  WriteFile(tmp / "root/a.txt", "a");
  WriteFile(tmp / "root/SUB/b.txt", "b");
  WriteFile(tmp / "outside/secret.txt", "s");
  ASSERT_EQ(symlink("..", (tmp / "root/SUB/loop").c_str()), 0);
  ASSERT_EQ(symlink((tmp / "outside").c_str(), (tmp / "root/out").c_str()), 0);
  FileList list;
  EXPECT_EQ(CollectFiles(tmp / "root/", list), 1);
  EXPECT_EQ(Entries(list), (std::set<std::string>{tmp / "root/a.txt", tmp / "root/SUB/b.txt"}));
}

TEST(UpdateLinks, ClearFolderRemovesLinksAndNothingBehindThem) {
  TempFolder tmp;
  WriteFile(tmp / "decoy/keep.txt", "keep");
  WriteFile(tmp / "decoy/SUB/deep.txt", "deep");
  WriteFile(tmp / "decoy.txt", "file");
  WriteFile(tmp / "bak/x.txt", "x");
  ASSERT_EQ(symlink((tmp / "decoy").c_str(), (tmp / "bak/to-folder").c_str()), 0);
  ASSERT_EQ(symlink((tmp / "decoy.txt").c_str(), (tmp / "bak/to-file").c_str()), 0);
  MakeFolders(tmp / "bak/SUB");
  ASSERT_EQ(symlink("..", (tmp / "bak/SUB/loop").c_str()), 0);
  const auto decoyBefore = Snapshot(tmp / "decoy");
  ClearFolder(tmp / "bak/");
  EXPECT_TRUE(Snapshot(tmp / "bak").empty());
  EXPECT_TRUE(IsFolder(tmp / "bak"));
  EXPECT_EQ(Snapshot(tmp / "decoy"), decoyBefore);
  EXPECT_EQ(ReadFile(tmp / "decoy.txt"), "file");
}

TEST(UpdateLinks, Utf8NamesAreListedWithTheirPaths) {
  TempFolder tmp;
  WriteFile(tmp / "表.txt", "1");
  WriteFile(tmp / "ソ/表ソ.dat", "2");
  WriteFile(tmp / "十/velmor2.exe", "3");
  FileList list;
  CollectFiles(tmp.Path() + "/", list);
  EXPECT_EQ(Entries(list), (std::set<std::string>{tmp.Path() + "/表.txt",
                                                  tmp.Path() + "/ソ/表ソ.dat"}));
}

}  // namespace
