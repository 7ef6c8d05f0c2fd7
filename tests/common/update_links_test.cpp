// Links inside listed and emptied folders are never followed: a link loop
// ends, and nothing behind a link is listed or deleted. Under Wine a Unix
// symbolic link shows as a reparse point, as a link or junction does on
// Windows.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/TestSupport.h"
#include "update/ClearFolder.h"
#include "update/CollectFiles.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

using namespace testing_support;

namespace {


#ifdef _WIN32
// Runs a Unix command (Wine makes no links itself) and waits until the
// link at path exists or not, as wanted.
bool RunUnixFor(const std::string& cmd, const std::string& path, bool wantExists) {
  if (!StartUnixCommand(cmd)) return false;
  for (int i = 0; i < 250 && Exists(path) != wantExists; ++i) SleepMs(10);
  return Exists(path) == wantExists;
}

std::string UnixLinkPath(const std::string& link) {
  const std::size_t slash = link.rfind('\\');
  const std::string folder = UnixPathOf(link.substr(0, slash));
  return folder.empty() ? folder : folder + "/" + link.substr(slash + 1);
}
#endif

// Symbolic links made for one test, removed before its temporary folder
// goes, so that removing the folder never walks through them.
class Links {
 public:
  ~Links() {
    for (const auto& link : m_links) {
#ifdef _WIN32
      const std::string unixLink = UnixLinkPath(link);
      if (!unixLink.empty()) RunUnixFor("/bin/rm -f " + unixLink, link, false);
#else
      unlink(link.c_str());
#endif
    }
  }

  // A link at link (in an existing folder) to target.
  bool Make(const std::string& target, const std::string& link) {
    m_links.push_back(link);
#ifdef _WIN32
    const std::string unixTarget = UnixPathOf(target);
    const std::string unixLink = UnixLinkPath(link);
    if (unixTarget.empty() || unixLink.empty()) return false;
    return RunUnixFor("/bin/ln -s " + unixTarget + " " + unixLink, link, true);
#else
    return symlink(target.c_str(), link.c_str()) == 0;
#endif
  }

 private:
  std::vector<std::string> m_links;
};

std::set<std::string> Entries(const FileList& list) {
  std::set<std::string> out;
  for (std::size_t i = 0; i < list.GetCount(); ++i) out.insert(list[i]);
  return out;
}

TEST(UpdateLinks, ListingDoesNotFollowFolderLinks) {
  TempFolder tmp;
  Links links;
  WriteFile(tmp / "root/a.txt", "a");
  WriteFile(tmp / "root/SUB/b.txt", "b");
  WriteFile(tmp / "outside/secret.txt", "s");
  ASSERT_TRUE(links.Make(tmp / "root", tmp / "root/SUB/loop"));
  ASSERT_TRUE(links.Make(tmp / "outside", tmp / "root/out"));
  FileList list;
  EXPECT_EQ(CollectFiles(tmp / "root" + Sep(), list), 1);
  EXPECT_EQ(Entries(list), (std::set<std::string>{tmp / "root/a.txt", tmp / "root/SUB/b.txt"}));
}

TEST(UpdateLinks, ClearFolderRemovesLinksAndNothingBehindThem) {
  TempFolder tmp;
  Links links;
  WriteFile(tmp / "decoy/keep.txt", "keep");
  WriteFile(tmp / "decoy/SUB/deep.txt", "deep");
  WriteFile(tmp / "bak/x.txt", "x");
  MakeFolders(tmp / "bak/SUB");
  ASSERT_TRUE(links.Make(tmp / "decoy", tmp / "bak/to-folder"));
  ASSERT_TRUE(links.Make(tmp / "bak", tmp / "bak/SUB/loop"));
#ifndef _WIN32
  // Wine shows a Unix link to a file as the file itself, so there it cannot
  // stand for a Windows link; a link to a folder shows as a reparse point.
  WriteFile(tmp / "decoy.txt", "file");
  ASSERT_TRUE(links.Make(tmp / "decoy.txt", tmp / "bak/to-file"));
#endif
  const auto decoyBefore = Snapshot(tmp / "decoy");
  ClearFolder(tmp / "bak" + Sep());
  EXPECT_EQ(Snapshot(tmp / "decoy"), decoyBefore);
  EXPECT_FALSE(Exists(tmp / "bak/x.txt"));
  EXPECT_TRUE(IsFolder(tmp / "bak"));
#ifndef _WIN32
  // The links themselves are gone (Wine cannot remove a Unix link through
  // the Windows calls, so this holds natively only).
  EXPECT_TRUE(Snapshot(tmp / "bak").empty());
  EXPECT_EQ(ReadFile(tmp / "decoy.txt"), "file");
#endif
}

}  // namespace
