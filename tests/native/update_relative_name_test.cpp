// A server file whose path repeats the server folder text lands at its own
// relative path: only the leading folder text is taken off.
#include "common/update_fixture.h"

using namespace testing_support;
using namespace update_test;

namespace {

TEST(UpdateRelativeName, ServerFolderTextInsideThePathStays) {
  Installation run;
  // server + "X" + server + "f.txt": the folder text occurs twice.
  const std::string rel = "X" + run.server + "f.txt";
  run.Put(run.local, {{"VERSION.INI", "2024.05.01-build-001\r\n"}});
  run.Put(run.server, {{"VERSION.INI", "2024.06.01-build-004\r\n"}, {rel, "deep"}});
  UpdatePlatform p;
  run.Confirm(p);
  EXPECT_EQ(ReadFile(run.local + rel), "deep");
  EXPECT_FALSE(Exists(run.local + "Xf.txt"));
  EXPECT_EQ(run.Log(), std::string(kStamp) + "2024.05.01-build-001 -> 2024.06.01-build-004\r\n" +
                           kStamp + "An update of a program succeeded.\r\n");
}

}  // namespace
