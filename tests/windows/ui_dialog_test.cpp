// The update dialog and the version box as real windows under Wine: velmor2
// runs in a prepared installation and the dialog driver reads and presses
// its controls with Win32 messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainControl.h"
#include "common/Korvan.h"
#include "common/TestSupport.h"
#include "common/UiInstallation.h"
#include "windows/UiDriver.h"

namespace ts = testing_support;
namespace text = testing_support::ui_text;

namespace {

// The driver writes CR and LF as \r and \n.
std::string Esc(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

unsigned long Hex(const std::string& s) { return std::strtoul(s.c_str(), nullptr, 16); }

std::vector<std::string> Cat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

bool WaitMainRunning(bool running) {
  for (int i = 0; i < 500; ++i) {
    if ((IsMainClosed("korvan") == FALSE) == running) return true;
    ts::SleepMs(20);
  }
  return false;
}

class UpdateDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ts::HaveDisplay()) GTEST_SKIP() << "no DISPLAY: the dialog tests need Xvfb";
    ASSERT_TRUE(m_inst.Ok());
    m_before = m_inst.State();
  }

  // After a run that must have changed nothing and started nothing.
  void ExpectUntouched() {
    ts::SleepMs(300);  // a started main program would have written by now
    EXPECT_EQ(m_inst.State(), m_before);
    EXPECT_TRUE(ts::ReadKorvanRuns(m_inst.Local()).empty());
  }

  ts::UiInstallation m_inst;
  std::map<std::string, std::string> m_before;
};

TEST_F(UpdateDialogTest, ShowsTheTextsStylesFocusAndSystemMenuItem) {
  ts::UpdaterProcess p(m_inst.Local());
  ASSERT_TRUE(p.Started());
  const auto out = p.Drive({"wait", "title", "style", "exstyle", "focus", "controls", "sysmenu"});
  ASSERT_FALSE(out.empty());
  ASSERT_EQ(out[0], "dialog");
  EXPECT_EQ(ts::LinesAfter(out, "title "), std::vector<std::string>{text::kTitle});

  const unsigned long style = Hex(ts::LinesAfter(out, "style ").at(0));
  EXPECT_NE(style & WS_SYSMENU, 0u);
  EXPECT_EQ(style & WS_CAPTION, static_cast<unsigned long>(WS_CAPTION));
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u) << std::hex << style;
  EXPECT_NE(Hex(ts::LinesAfter(out, "exstyle ").at(0)) & WS_EX_APPWINDOW, 0u);
  EXPECT_EQ(ts::LinesAfter(out, "focus "), std::vector<std::string>{"1007"});

  // Stored order, classes and texts; one tab stop, the confirm button.
  struct Expected {
    const char* id;
    const char* cls;
    std::string text;
  };
  const std::vector<Expected> expected = {
      {"1007", "Button", text::kButton},         {"1004", "Static", text::kHeading},
      {"-1", "Button", ""},                      {"1005", "Static", text::kLocalLabel},
      {"1001", "Static", text::kLocalStamp},     {"1006", "Static", text::kServerLabel},
      {"1002", "Static", text::kServerStamp},    {"-1", "Static", "->"},
      {"1003", "Static", text::kReady},
  };
  const auto controls = ts::LinesAfter(out, "control ");
  ASSERT_EQ(controls.size(), expected.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    SCOPED_TRACE(controls[i]);
    std::istringstream in(controls[i]);
    std::string id, cls, styleText;
    in >> id >> cls >> styleText;
    std::string shown;
    std::getline(in, shown);
    if (!shown.empty() && shown[0] == ' ') shown.erase(0, 1);
    EXPECT_EQ(id, expected[i].id);
    EXPECT_EQ(cls, expected[i].cls);
    EXPECT_EQ(shown, Esc(expected[i].text));
    EXPECT_EQ((Hex(styleText) & WS_TABSTOP) != 0, i == 0);
  }

  // Wine puts items of its own in front; the program's are the last two.
  const auto menu = ts::LinesAfter(out, "menu ");
  ASSERT_GE(menu.size(), 2u);
  EXPECT_EQ(menu[menu.size() - 2], "0 separator ");
  EXPECT_EQ(menu.back(), std::string("16 string ") + text::kMenuItem);

  EXPECT_EQ(p.Drive({"key", "Escape", "gone", "10000"}).back(), "gone");
  EXPECT_EQ(p.WaitExit(10000), 0);
  ExpectUntouched();
}

// Every way of confirming runs the update transaction and ends the run.
class ConfirmTest : public UpdateDialogTest,
                    public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(ConfirmTest, RunsTheUpdateAndStartsTheMainProgram) {
  ts::UpdaterProcess p(m_inst.Local());
  const auto out = p.Drive(Cat(Cat({"wait"}, GetParam()), {"gone", "30000"}));
  ASSERT_EQ(out.back(), "gone");
  EXPECT_EQ(p.WaitExit(30000), 0);
  EXPECT_TRUE(m_inst.Updated());
  ASSERT_TRUE(ts::WaitForKorvanRuns(m_inst.Local(), 1, 10000));
  const auto runs = ts::ReadKorvanRuns(m_inst.Local());
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_TRUE(runs[0].args.empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, ConfirmTest,
                         ::testing::Values(std::vector<std::string>{"click", "1007"},
                                           std::vector<std::string>{"key", "Enter"},
                                           std::vector<std::string>{"key", "Space"},
                                           std::vector<std::string>{"command", "1"}));

// Every way of closing without confirming ends the run with nothing done.
class CancelTest : public UpdateDialogTest,
                   public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(CancelTest, EndsWithNothingChangedOrStarted) {
  ts::UpdaterProcess p(m_inst.Local());
  const auto out = p.Drive(Cat(Cat({"wait"}, GetParam()), {"gone", "10000"}));
  ASSERT_EQ(out.back(), "gone");
  EXPECT_EQ(p.WaitExit(10000), 0);
  ExpectUntouched();
}

INSTANTIATE_TEST_SUITE_P(Ways, CancelTest,
                         ::testing::Values(std::vector<std::string>{"key", "Escape"},
                                           std::vector<std::string>{"syscommand", "0xF060"},
                                           std::vector<std::string>{"key", "AltF4"},
                                           std::vector<std::string>{"command", "2"}));

TEST_F(UpdateDialogTest, ConfirmWhileTheMainProgramRunsOnlyShowsTheNotice) {
  const std::string running = m_inst.RunningMainFolder();
  ts::SetKorvanStay(running, 120000);
  ts::BackgroundProcess korvan(ts::Join(running, "korvan.exe"), running);
  ASSERT_TRUE(korvan.Started());
  ASSERT_TRUE(WaitMainRunning(true));

  ts::UpdaterProcess p(m_inst.Local());
  auto out = p.Drive({"wait", "text", "1003", "click", "1007", "sleep", "500", "text", "1003",
                      "gone", "300", "text", "1007"});
  const auto texts = ts::LinesAfter(out, "text 1003 ");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], Esc(text::kRunning));
  EXPECT_EQ(texts[1], Esc(text::kRunning));
  EXPECT_EQ(ts::LinesAfter(out, "text 1007 "), std::vector<std::string>{text::kButton});
  EXPECT_EQ(ts::LinesAfter(out, "open").size(), 1u) << "the dialog stays open";
  EXPECT_EQ(m_inst.State(), m_before) << "no log line, nothing copied";
  EXPECT_TRUE(ts::ReadKorvanRuns(m_inst.Local()).empty());

  korvan.End();
  ASSERT_TRUE(WaitMainRunning(false));
  out = p.Drive({"click", "1007", "gone", "30000"});
  ASSERT_EQ(out.back(), "gone");
  EXPECT_EQ(p.WaitExit(30000), 0);
  EXPECT_TRUE(m_inst.Updated());
  ASSERT_TRUE(ts::WaitForKorvanRuns(m_inst.Local(), 1, 10000));
  EXPECT_TRUE(ts::ReadKorvanRuns(m_inst.Local())[0].args.empty());
}

// System command ids whose low 16 bits lie in 16..31 open the box; each way
// of closing it returns to the unchanged update dialog.
TEST_F(UpdateDialogTest, SystemMenuCommandsOpenTheVersionBox) {
  ts::UpdaterProcess p(m_inst.Local());
  const std::vector<std::string> look = {"title", "controls", "focus", "enabled"};
  const auto before = p.Drive(Cat({"wait"}, look));
  ASSERT_EQ(before.at(0), "dialog");
  struct Row {
    const char* command;
    std::vector<std::string> close;
  };
  const Row rows[] = {
      {"16", {"key", "Enter"}},          {"31", {"key", "Escape"}},
      {"16", {"syscommand", "0xF060"}},  {"31", {"key", "AltF4"}},
      {"0x10010", {"click", "1"}},       {"16", {"command", "2"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.command) + " closed by " + row.close[0] + " " + row.close[1]);
    const auto out = p.Drive(Cat(Cat({"syscommand", row.command, "box", "title", "controls", "focus",
                                      "main", "enabled", "box"},
                                     row.close),
                                 Cat({"gone", "10000", "main"}, look)));
    ASSERT_EQ(ts::LinesAfter(out, "box").size(), 2u);
    // The box's lines come before the first "main".
    const auto mainAt = std::find(out.begin(), out.end(), "main");
    const std::vector<std::string> boxPart(out.begin(), mainAt);
    EXPECT_EQ(ts::LinesAfter(boxPart, "title ").at(0), "velmorのﾊﾞｰｼﾞｮﾝ情報");
    const auto controls = ts::LinesAfter(boxPart, "control ");
    ASSERT_EQ(controls.size(), 4u);
    EXPECT_EQ(controls[0].substr(0, 10), "-1 Static ");
    EXPECT_EQ(Hex(controls[0].substr(10, 10)) & SS_TYPEMASK, static_cast<unsigned long>(SS_ICON));
    EXPECT_NE(controls[1].find(" velmor Version 1.0"), std::string::npos);
    EXPECT_NE(controls[2].find(" Copyright (C) 2026 velmor"), std::string::npos);
    EXPECT_EQ(controls[3].substr(0, 9), "1 Button ");
    EXPECT_NE(controls[3].find(" OK"), std::string::npos);
    EXPECT_EQ(ts::LinesAfter(boxPart, "focus "), std::vector<std::string>{"1"});
    EXPECT_EQ(ts::LinesAfter(out, "enabled ").at(0), "0") << "the update dialog is disabled";
    EXPECT_NE(std::find(out.begin(), out.end(), "gone"), out.end());
    // Back on the update dialog: exactly as before.
    const std::vector<std::string> after(out.end() - static_cast<long>(before.size() - 1), out.end());
    EXPECT_EQ(after, std::vector<std::string>(before.begin() + 1, before.end()));
  }
  EXPECT_EQ(p.Drive({"key", "Escape", "gone", "10000"}).back(), "gone");
  ExpectUntouched();
}

TEST_F(UpdateDialogTest, OtherSystemCommandsNeverOpenTheBox) {
  ts::UpdaterProcess p(m_inst.Local());
  const auto before = p.Drive({"wait", "title", "controls"});
  for (const char* id : {"15", "32", "0xF010"}) {
    SCOPED_TRACE(id);
    // Escape ends the keyboard move that SC_MOVE starts; for the others the
    // text read before it shows the dialog unchanged and still waiting.
    auto out = p.Drive({"syscommand", id, "nobox", "700", "title", "controls"});
    EXPECT_EQ(out.at(1), "nobox");
    if (std::string(id) == "0xF010") p.Drive({"key", "Escape", "sleep", "300"});
    EXPECT_EQ(std::vector<std::string>(out.begin() + 2, out.end()),
              std::vector<std::string>(before.begin() + 1, before.end()));
  }
  const auto out = p.Drive({"title", "syscommand", "0xF060", "nobox", "500", "gone", "10000"});
  EXPECT_EQ(out.at(0), before.at(1)) << "still open after SC_MOVE";
  EXPECT_EQ(out.back(), "gone");
  EXPECT_EQ(std::count(out.begin(), out.end(), "box-open"), 0);
  EXPECT_EQ(p.WaitExit(10000), 0);
  ExpectUntouched();
}

// A copy of velmor2.exe whose string 101 is empty: its block (ids 96 to
// 111) replaced by sixteen empty strings, which is also how a block stores a
// string it lacks. (Wine's UpdateResource cannot delete a block.)
bool CopyWithEmptyMenuString(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) return false;
  HANDLE update = BeginUpdateResourceA(to.c_str(), FALSE);
  if (update == nullptr) return false;
  std::vector<WORD> emptyBlock(16, 0);
  const BOOL ok = UpdateResourceA(update, RT_STRING, MAKEINTRESOURCEA(101 / 16 + 1),
                                  MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), emptyBlock.data(),
                                  static_cast<DWORD>(emptyBlock.size() * sizeof(WORD)));
  return EndUpdateResourceA(update, ok ? FALSE : TRUE) && ok;
}

TEST_F(UpdateDialogTest, WithoutMenuStringNothingIsAppended) {
  std::vector<std::string> normalMenu;
  {
    ts::UpdaterProcess p(m_inst.Local());
    normalMenu = ts::LinesAfter(p.Drive({"sysmenu", "key", "Escape", "gone", "10000"}), "menu ");
  }
  ASSERT_GE(normalMenu.size(), 2u);
  ASSERT_EQ(normalMenu.back(), std::string("16 string ") + text::kMenuItem);
  const std::string copy = ts::Join(m_inst.Root(), "velmor2-empty-101.exe");
  ASSERT_TRUE(CopyWithEmptyMenuString(ts::HostPath(VELMOR_EXE), copy));
  ts::UpdaterProcess p(m_inst.Local(), copy);
  const auto out = p.Drive({"title", "sysmenu", "key", "Escape", "gone", "10000"});
  EXPECT_EQ(ts::LinesAfter(out, "title "), std::vector<std::string>{text::kTitle});
  EXPECT_EQ(ts::LinesAfter(out, "menu "),
            std::vector<std::string>(normalMenu.begin(), normalMenu.end() - 2));
  EXPECT_EQ(out.back(), "gone");
  ExpectUntouched();
}

}  // namespace
