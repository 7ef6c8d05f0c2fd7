// Listing with UTF-8 names, as a UTF-8 locale gives them.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/TestSupport.h"
#include "update/CollectFiles.h"

using namespace testing_support;

namespace {

TEST(UpdateUtf8Listing, NamesAreListedWithTheirPaths) {
  TempFolder tmp;
  WriteFile(tmp / "表.txt", "1");
  WriteFile(tmp / "ソ/表ソ.dat", "2");
  WriteFile(tmp / "十/velmor2.exe", "3");
  FileList list;
  CollectFiles(tmp.Path() + "/", list);
  std::set<std::string> entries;
  for (std::size_t i = 0; i < list.GetCount(); ++i) entries.insert(list[i]);
  EXPECT_EQ(entries, (std::set<std::string>{tmp.Path() + "/表.txt", tmp.Path() + "/ソ/表ソ.dat"}));
}

}  // namespace
