// Listing under code page 932: names whose double-byte characters end in the
// byte 0x5C (表 = 95 5C, ソ = 83 5C) are not taken for a separator.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "common/TestSupport.h"
#include "update/ClearFolder.h"
#include "update/CollectFiles.h"

using namespace testing_support;

namespace {

const std::string kHyo = "\x95\x5C";  // 表
const std::string kSo = "\x83\x5C";   // ソ

class Cp932Listing : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 932) GTEST_SKIP() << "needs the ANSI code page 932";
  }
  // Under Wine the test folder is reached through a path in ASCII.
  void Create() {
    root = tmp.Path() + "\\";
    ASSERT_TRUE(CreateDirectoryA((root + kSo).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + kSo + "\\" + kHyo).c_str(), nullptr));
    for (const std::string& file :
         {kHyo + ".txt", kSo + "\\" + kHyo + ".dll", kSo + "\\" + kHyo + "\\" + kSo,
          kSo + "\\velmor2.exe"}) {
      HANDLE h = CreateFileA((root + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE) << file;
      CloseHandle(h);
    }
  }
  TempFolder tmp;
  std::string root;
};

TEST_F(Cp932Listing, TrailByte5CIsNoSeparator) {
  Create();
  FileList list;
  EXPECT_EQ(CollectFiles(root, list), 1);
  std::set<std::string> entries;
  for (std::size_t i = 0; i < list.GetCount(); ++i) entries.insert(list[i]);
  EXPECT_EQ(entries, (std::set<std::string>{root + kHyo + ".txt", root + kSo + "\\" + kHyo + ".dll",
                                            root + kSo + "\\" + kHyo + "\\" + kSo}));
}

TEST_F(Cp932Listing, ClearFolderEmptiesSuchFolders) {
  Create();
  ClearFolder(root);
  EXPECT_TRUE(Snapshot(tmp.Path()).empty());
}

}  // namespace
