// The terminal dialog of the POSIX build: velmor2 runs in a tmux pane of
// 100 x 40 cells in a prepared installation; the tests read the screen and
// type keys, hang the terminal up and send signals.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/Korvan.h"
#include "common/TestSupport.h"
#include "common/UiInstallation.h"
#include "native/UiTmux.h"

namespace ts = testing_support;
namespace text = testing_support::ui_text;

namespace {

// Splits a catalogue text at its CR LF.
std::vector<std::string> TextLines(const std::string& s) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = s.find("\r\n", start);
    lines.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return lines;
    start = at + 2;
  }
}

// Waits until pid has sat in the system call of that number for 200 ms on
// end: blocked there, not passing through.
bool WaitInSystemCall(pid_t pid, int number) {
  const std::string prefix = std::to_string(number) + " ";
  int inside = 0;
  for (int waited = 0; waited <= 10000; waited += 20) {
    const std::string now = ts::ReadFile("/proc/" + std::to_string(pid) + "/syscall");
    inside = now.compare(0, prefix.size(), prefix) == 0 ? inside + 20 : 0;
    if (inside >= 200) return true;
    ts::SleepMs(20);
  }
  return false;
}

class TerminalDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ts::HaveTmux()) GTEST_SKIP() << "tmux is not installed: the terminal dialog tests need it";
    ASSERT_TRUE(m_inst.Ok());
    m_before = m_inst.State();
  }

  // The updater in its local folder under a UTF-8 locale, after a line
  // that shows whether the screen is given back.
  std::string Command() const {
    std::string env;
    for (const auto& e : m_inst.ChildEnv()) env += " '" + e + "'";
    return "printf 'BEFORE-MARK\\n'; cd '" + m_inst.Local() +
           "' && env LANG=C.UTF-8 LC_ALL=C.UTF-8 ASAN_OPTIONS=detect_leaks=0" + env + " '" +
           VELMOR_EXE + "'";
  }

  std::vector<std::string> Env() const {
    std::vector<std::string> env = m_inst.ChildEnv();
    env.push_back("ASAN_OPTIONS=detect_leaks=0");
    return env;
  }

  std::unique_ptr<ts::TmuxPane> Start() {
    auto pane = std::make_unique<ts::TmuxPane>(Command());
    EXPECT_TRUE(pane->Started());
    EXPECT_TRUE(pane->WaitForText(text::kButton, 15000)) << pane->ScreenText();
    return pane;
  }

  void ExpectScreenRestored(const ts::TmuxPane& pane) {
    const std::string screen = pane.HistoryText();
    EXPECT_NE(screen.find("BEFORE-MARK"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("┌"), std::string::npos) << screen;
    EXPECT_EQ(screen.find(text::kButton), std::string::npos) << screen;
  }

  void ExpectUntouched() {
    ts::SleepMs(300);
    EXPECT_EQ(m_inst.State(), m_before);
    EXPECT_TRUE(ts::ReadKorvanRuns(m_inst.Local()).empty());
  }

  void ExpectUpdatedAndStarted() {
    EXPECT_TRUE(m_inst.Updated());
    ASSERT_TRUE(ts::WaitForKorvanRuns(m_inst.Local(), 1, 10000));
    const auto runs = ts::ReadKorvanRuns(m_inst.Local());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(runs[0].args.empty());
  }

  ts::UiInstallation m_inst;
  std::map<std::string, std::string> m_before;
};

TEST_F(TerminalDialogTest, DrawsEveryTextAtItsPlace) {
  auto pane = Start();
  const auto rows = pane->Screen();
  ASSERT_GE(rows.size(), 31u);
  // The 96 x 22 frame centred in 100 x 40; client cells from row 10, col 3.
  // Each row: where a text begins, worked out from template 102 with cells
  // of 15/4 x 8 dialog units.
  struct Place {
    int row, col;
    std::string text;
  };
  const std::vector<std::string> guidance = TextLines(text::kReady);
  const Place places[] = {
      {9, 2, "┌"},
      {9, 4, text::kTitle},
      {12, 7, text::kHeading},
      {13, 7, "┌"},                    // the group box
      {14, 25, "┌"},                   // the border of control 1001
      {15, 9, text::kLocalLabel},
      {15, 26, text::kLocalStamp},
      {15, 49, "->"},
      {15, 54, text::kServerLabel},
      {15, 70, text::kServerStamp},
      {19, 7, "┌"},                    // the border of the guidance
      {20, 8, guidance.at(0)},
      {21, 8, guidance.at(1)},
      {26, 43, "╔"},                   // the default button's double border
      {27, 46, text::kButton},
      {30, 2, "└"},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.text);
    EXPECT_EQ(ts::ColumnOf(rows[static_cast<std::size_t>(p.row)], p.text), p.col)
        << rows[static_cast<std::size_t>(p.row)];
  }
  pane->SendKeys({"Escape"});
  EXPECT_EQ(pane->WaitExit(10000), 0);
}

TEST_F(TerminalDialogTest, GuidanceKeepsItsLineBreaksAndWrapsWithinItsField) {
  std::string wide;
  for (int i = 0; i < 50; ++i) wide += "あ";
  std::string words;
  for (int i = 0; i < 20; ++i) words += "word ";
  ts::WriteFile(m_inst.Local("translations/velmor_00.ini"),
                "IDC_BT001=" + std::string(text::kButton) + "\r\nMG921000=" + wide + "\\n" + words + "\r\n");
  auto pane = Start();
  const auto rows = pane->Screen();
  ASSERT_GE(rows.size(), 26u);
  // 83 cells inside the border: 41 full-width characters, the rest on the
  // next row; the words break at a blank.
  std::string first, second;
  for (int i = 0; i < 41; ++i) first += "あ";
  for (int i = 0; i < 9; ++i) second += "あ";
  std::string sixteen, four;
  for (int i = 0; i < 16; ++i) sixteen += i == 0 ? "word" : " word";
  for (int i = 0; i < 4; ++i) four += i == 0 ? "word" : " word";
  EXPECT_EQ(ts::ColumnOf(rows[20], first + " │"), 8) << pane->ScreenText();
  EXPECT_EQ(ts::ColumnOf(rows[21], second + " "), 8) << rows[21];
  EXPECT_EQ(ts::ColumnOf(rows[22], sixteen + " "), 8) << rows[22];
  EXPECT_EQ(ts::ColumnOf(rows[23], four + " "), 8) << rows[23];
  EXPECT_EQ(rows[23].find("word word word word word"), std::string::npos);
  pane->SendKeys({"Escape"});
  EXPECT_EQ(pane->WaitExit(10000), 0);
}

class TerminalConfirmTest : public TerminalDialogTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(TerminalConfirmTest, RunsTheUpdateAndGivesTheScreenBack) {
  auto pane = Start();
  pane->SendKeys({GetParam()});
  EXPECT_EQ(pane->WaitExit(30000), 0);
  ExpectScreenRestored(*pane);
  ExpectUpdatedAndStarted();
}

INSTANTIATE_TEST_SUITE_P(Keys, TerminalConfirmTest, ::testing::Values("Enter", "Space"));

class TerminalCancelTest : public TerminalDialogTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(TerminalCancelTest, EndsWithNothingChangedAndTheScreenBack) {
  auto pane = Start();
  pane->SendKeys({GetParam()});
  EXPECT_EQ(pane->WaitExit(10000), 0);
  ExpectScreenRestored(*pane);
  ExpectUntouched();
}

INSTANTIATE_TEST_SUITE_P(Keys, TerminalCancelTest, ::testing::Values("Escape", "C-c", "M-F4"));

// Alt+Space and F10 open the system menu; its last item (mnemonic A, or
// chosen with the arrows) opens the version box, which each of its keys
// closes, leaving the update dialog exactly as it was.
TEST_F(TerminalDialogTest, SystemMenuOpensTheVersionBox) {
  auto pane = Start();
  const std::string dialog = pane->ScreenText();
  struct Row {
    const char* open;
    std::vector<std::string> choose;
    const char* close;
  };
  const Row rows[] = {
      {"M-Space", {"a"}, "Enter"},
      {"F10", {"Down", "Enter"}, "Escape"},
      {"M-Space", {"A"}, "Space"},
      {"F10", {"Up", "Enter"}, "C-c"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.open) + " then " + row.choose[0] + ", closed by " + row.close);
    pane->SendKeys({row.open});
    ASSERT_TRUE(pane->WaitForText("閉じる(C)", 5000)) << pane->ScreenText();
    const auto menu = pane->Screen();
    // The menu's last two rows: a separator and the item of string 101.
    std::size_t item = 0;
    for (std::size_t i = 0; i < menu.size(); ++i)
      if (menu[i].find("velmor のﾊﾞｰｼﾞｮﾝ情報(A)...") != std::string::npos) item = i;
    ASSERT_GT(item, 1u) << pane->ScreenText();
    EXPECT_EQ(ts::ColumnOf(menu[item - 1], "├"), 3);
    EXPECT_NE(menu[item - 2].find("閉じる(C)"), std::string::npos);
    EXPECT_NE(menu[item + 1].find("└"), std::string::npos);

    pane->SendKeys(row.choose);
    ASSERT_TRUE(pane->WaitForText("velmorのﾊﾞｰｼﾞｮﾝ情報", 5000)) << pane->ScreenText();
    const std::string box = pane->ScreenText();
    EXPECT_NE(box.find("velmor Version 1.0"), std::string::npos);
    EXPECT_NE(box.find("Copyright (C) 2026 velmor"), std::string::npos);
    EXPECT_NE(box.find("║     OK     ║"), std::string::npos) << box;

    pane->SendKeys({row.close});
    ASSERT_TRUE(pane->WaitForNoText("velmor Version 1.0", 5000));
    EXPECT_EQ(pane->ScreenText(), dialog);
  }
  pane->SendKeys({"Escape"});
  EXPECT_EQ(pane->WaitExit(10000), 0);
  ExpectScreenRestored(*pane);
  ExpectUntouched();
}

TEST_F(TerminalDialogTest, MenuClosesWithEscapeAndItsCloseItemCancels) {
  auto pane = Start();
  const std::string dialog = pane->ScreenText();
  pane->SendKeys({"M-Space"});
  ASSERT_TRUE(pane->WaitForText("閉じる(C)", 5000));
  pane->SendKeys({"Escape"});
  ASSERT_TRUE(pane->WaitForNoText("閉じる(C)", 5000));
  EXPECT_EQ(pane->ScreenText(), dialog);
  pane->SendKeys({"M-Space"});
  ASSERT_TRUE(pane->WaitForText("閉じる(C)", 5000));
  pane->SendKeys({"c"});
  EXPECT_EQ(pane->WaitExit(10000), 0);
  ExpectUntouched();
}

TEST_F(TerminalDialogTest, HangupWhileWaitingCancels) {
  auto pane = Start();
  const pid_t pid = pane->ProgramPid();
  ASSERT_GT(pid, 0);
  pane->HangUp();
  EXPECT_TRUE(ts::WaitProcessGone(pid, 10000));
  ExpectUntouched();
}

TEST_F(TerminalDialogTest, SignalsWhileWaitingCancel) {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(sig);
    auto pane = Start();
    kill(pane->ProgramPid(), sig);
    EXPECT_EQ(pane->WaitExit(10000), 0);
    ExpectScreenRestored(*pane);
  }
  ExpectUntouched();
}

// The server offers a named pipe: the update's copy of it waits until the
// test writes its content, so the keys, signals and the hangup below all
// come while the update runs. None of them stops it.
TEST_F(TerminalDialogTest, HangupCtrlCAndSignalsDuringTheUpdateDoNotInterruptIt) {
  const std::string pipePath = m_inst.Server("SUB/pipe.dat");
  ASSERT_EQ(mkfifo(pipePath.c_str(), 0644), 0);
  auto pane = Start();
  const pid_t pid = pane->ProgramPid();
  pane->SendKeys({"Enter"});
  ASSERT_TRUE(pane->WaitForText(TextLines(text::kUpdating).at(0), 10000)) << pane->ScreenText();
  // The copy waits in the open of the pipe (openat, system call 257 on
  // x86-64) until a writer comes: the signals and the hangup go in there.
  ASSERT_TRUE(WaitInSystemCall(pid, 257)) << "the update never waited on the pipe";
  pane->SendKeys({"C-c", "Escape"});
  kill(pid, SIGINT);
  kill(pid, SIGTERM);
  pane->HangUp();
  ts::SleepMs(300);
  const int writer = open(pipePath.c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(writer, 0) << "the update no longer waits on the pipe";
  const std::string content = "piped content\r\n";
  ASSERT_EQ(write(writer, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  close(writer);
  EXPECT_TRUE(ts::WaitProcessGone(pid, 30000));
  EXPECT_EQ(ts::ReadFile(m_inst.Local("SUB/pipe.dat")), content);
  ExpectUpdatedAndStarted();
}

TEST_F(TerminalDialogTest, WithoutATerminalTheRunEndsWithNothingChanged) {
  const std::string err = ts::Join(m_inst.Root(), "stderr.txt");
  // setsid: a session of its own, without a controlling terminal.
  const auto result = ts::RunProcess(
      "/bin/sh",
      {"-c", "exec /usr/bin/setsid '" + std::string(VELMOR_EXE) + "' </dev/null >/dev/null 2>'" + err + "'"},
      m_inst.Local(), 30000, Env());
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0);
  const std::string message = ts::ReadFile(err);
  EXPECT_NE(message.find("terminal"), std::string::npos) << message;
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  ExpectUntouched();
}

}  // namespace
