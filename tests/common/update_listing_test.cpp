// The recursive listing on real folders: depth-first order, the folder text
// kept exactly as passed, the updater's own executables left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/AppTestSupport.h"
#include "common/TestSupport.h"
#include "platform/ForwardingPlatform.h"
#include "update/CollectFiles.h"

using namespace testing_support;

namespace {

// Notes every folder the listing opens.
class SearchRecorder : public platform::ForwardingPlatform {
 public:
  std::unique_ptr<platform::FolderSearch> SearchFolder(const std::string& folder) override {
    searched.push_back(folder);
    return ForwardingPlatform::SearchFolder(folder);
  }
  std::vector<std::string> searched;
};

class Installed {
 public:
  explicit Installed(platform::Platform& p) { platform::SetCurrent(&p); }
  ~Installed() { platform::SetCurrent(nullptr); }
};

std::vector<std::string> Entries(const FileList& list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.GetCount(); ++i) out.push_back(list[i]);
  return out;
}

// Entries below one sub-folder follow each other: nothing met after the
// sub-folder in its parent comes between them.
void ExpectDepthFirst(const std::vector<std::string>& entries, const std::string& root) {
  std::set<std::string> folders;
  for (const auto& e : entries) {
    const std::string rel = e.substr(root.size());
    for (std::size_t pos = rel.find(Sep()); pos != std::string::npos;
         pos = rel.find(Sep(), pos + 1))
      folders.insert(rel.substr(0, pos + 1));
  }
  for (const auto& folder : folders) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (entries[i].compare(root.size(), folder.size(), folder) == 0) at.push_back(i);
    EXPECT_EQ(at.back() - at.front() + 1, at.size()) << "files of " << folder << " are split";
  }
}

struct ListingCase {
  const char* name;
  std::vector<std::string> create;  // '/' between names; a final '/' makes a folder
  std::vector<std::string> listed;
  std::vector<std::string> searched;  // folders that must have been opened
};

const ListingCase kCases[] = {
    {"nested folders",
     {"a.txt", "SUB/b.txt", "SUB/DEEP/c.txt", "SUB/DEEP/d.txt", "SUB/e.txt", "SUB2/f.txt",
      ".hidden", "z.txt"},
     {"a.txt", "SUB/b.txt", "SUB/DEEP/c.txt", "SUB/DEEP/d.txt", "SUB/e.txt", "SUB2/f.txt",
      ".hidden", "z.txt"},
     {"SUB", "SUB/DEEP", "SUB2"}},
    {"own executables in any case and as a substring",
     {"VELMOR.EXE", "Velmor2.Exe", "velmor3.exe", "old_velmor.exe", "velmor2.exe.bak",
      "SUB/velmor.exe", "SUB/velmor2.ex", "keep.txt"},
     {"velmor3.exe", "SUB/velmor2.ex", "keep.txt"},
     {"SUB"}},
    {"folders named like the executables are searched, their files hidden",
     {"velmor.exe.d/a.txt", "velmor.exe.d/INNER/b.txt", "VELMOR2.EXE.OLD/c.txt", "other/d.txt"},
     {"other/d.txt"},
     {"velmor.exe.d", "velmor.exe.d/INNER", "VELMOR2.EXE.OLD", "other"}},
    {"empty sub-folders add nothing", {"E1/", "E2/E3/", "f.txt"}, {"f.txt"}, {"E1", "E2/E3"}},
};

class ListingTable : public ::testing::TestWithParam<ListingCase> {};

TEST_P(ListingTable, ListsWhatItMust) {
  const ListingCase& c = GetParam();
  TempFolder tmp;
  for (const auto& rel : c.create) {
    if (rel.back() == '/') MakeFolders(tmp / rel.substr(0, rel.size() - 1));
    else WriteFile(tmp / rel, "x");
  }
  const std::string root = tmp.Path() + Sep();
  SearchRecorder recorder;
  FileList list;
  int result = 0;
  {
    Installed installed(recorder);
    result = CollectFiles(root, list);
  }
  EXPECT_EQ(result, 1);
  const std::vector<std::string> entries = Entries(list);
  std::multiset<std::string> expected;
  for (const auto& rel : c.listed) expected.insert(Join(root, rel));
  EXPECT_EQ(std::multiset<std::string>(entries.begin(), entries.end()), expected);
  for (const auto& e : entries) EXPECT_EQ(e.compare(0, root.size(), root), 0) << e;
  ExpectDepthFirst(entries, root);
  for (const auto& folder : c.searched)
    EXPECT_NE(std::find(recorder.searched.begin(), recorder.searched.end(), Join(root, folder)),
              recorder.searched.end())
        << folder << " was not searched";
}

INSTANTIATE_TEST_SUITE_P(Update, ListingTable, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return RowName(row.param.name); });

TEST(UpdateListing, EmptyFolderGivesOneAndNothing) {
  TempFolder tmp;
  FileList list;
  EXPECT_EQ(CollectFiles(tmp.Path() + Sep(), list), 1);
  EXPECT_EQ(list.GetCount(), 0u);
}

TEST(UpdateListing, MissingFolderGivesZeroAndNothing) {
  TempFolder tmp;
  FileList list;
  list.Add("kept");
  EXPECT_EQ(CollectFiles(tmp / "missing" + Sep(), list), 0);
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_EQ(list[0], "kept");
}

TEST(UpdateListing, AppendsBehindExistingEntries) {
  TempFolder tmp;
  WriteFile(tmp / "a.txt", "a");
  WriteFile(tmp / "S/b.txt", "b");
  FileList list;
  list.Add("first");
  list.Add("second");
  CollectFiles(tmp.Path() + Sep(), list);
  ASSERT_EQ(list.GetCount(), 4u);
  EXPECT_EQ(list[0], "first");
  EXPECT_EQ(list[1], "second");
  EXPECT_EQ((std::set<std::string>{list[2], list[3]}),
            (std::set<std::string>{tmp / "a.txt", tmp / "S/b.txt"}));
}

// The form a recursive call passes: no final separator, so one is put in.
TEST(UpdateListing, FolderTextWithoutFinalSeparator) {
  TempFolder tmp;
  WriteFile(tmp / "S/b.txt", "b");
  FileList list;
  CollectFiles(tmp / "S", list);
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_EQ(list[0], tmp / "S" + Sep() + "b.txt");
}

TEST(UpdateListing, ReadOnlyFilesAreListed) {
  TempFolder tmp;
  WriteFile(tmp / "ro.dll", "r");
  SetReadOnly(tmp / "ro.dll", true);
  FileList list;
  CollectFiles(tmp.Path() + Sep(), list);
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_EQ(list[0], tmp / "ro.dll");
}

}  // namespace
