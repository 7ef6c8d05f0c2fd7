// A server file that another opener holds without sharing cannot be copied:
// the update takes its failure path and rolls back. Share modes apply
// between handles, so a handle of this process stands in for another client.
#include "common/update_fixture.h"

#include <windows.h>

using namespace testing_support;
using namespace update_test;

namespace {

class ServerFileInUse : public ::testing::TestWithParam<const char*> {};

TEST_P(ServerFileInUse, TakesTheFailurePathAndRollsBack) {
  const std::string held = GetParam();
  Installation run;
  run.Put(run.local, {{"VERSION.INI", "2024.05.01-build-001\r\n"}, {"A.DLL", "old A"}});
  run.Put(run.server, {{"VERSION.INI", "2024.06.01-build-004\r\n"},
                       {"A.DLL", "new A"},
                       {"SUB/B.DLL", "new B"}});
  const Files before = run.Local();
  HANDLE h = CreateFileA((run.server + held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  UpdatePlatform p;
  run.Confirm(p);
  CloseHandle(h);

  Files after = run.Local();
  after.erase("SUB/");  // made for the new file, and left
  EXPECT_EQ(after, before);
  EXPECT_EQ(run.Log(), std::string(kStamp) + "2024.05.01-build-001 -> 2024.06.01-build-004\r\n" +
                           kStamp + "An update of a program was failed.\r\n" +
                           std::string(20, ' ') + held + "\r\n");
  const auto starts = run.Starts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args, std::vector<std::string>{"-v"});
}

INSTANTIATE_TEST_SUITE_P(Update, ServerFileInUse, ::testing::Values("A.DLL", "VERSION.INI"),
                         [](const auto& row) {
                           return std::string(row.param) == "A.DLL" ? "program_file"
                                                                    : "version_file";
                         });

}  // namespace
