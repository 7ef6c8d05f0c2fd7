// dialog_driver: drives a dialog of another process for the tests.
//
//   dialog_driver <pid> [--timeout <ms>] <command>...
//
// Commands run in order against the current window, at first the process's
// main dialog (class #32770, no owner). Each prints one line (several for
// controls and sysmenu); texts are UTF-8, escaped as Escape() says.
//
//   wait             wait for the main dialog             -> dialog
//   box              wait for a dialog owned by the current one, make it
//                    current                              -> box
//   nobox <ms>       watch for an owned dialog for ms     -> nobox | box-open
//   main             make the main dialog current again   -> main
//   title            -> title <text>
//   text <id>        -> text <id> <text>
//   style, exstyle   -> style 0x........
//   enabled          -> enabled 1|0
//   controls         -> control <id> <class> 0x<style> <text>, in z-order
//   focus            -> focus <id of the focused control>
//   sysmenu          -> menu <id> <separator|string> <text>, one per item
//   click <id>       post BM_CLICK to the control           -> posted
//   command <id>     post WM_COMMAND (id, BN_CLICKED)       -> posted
//   syscommand <n>   post WM_SYSCOMMAND n (decimal or 0x)   -> posted
//   key <name>       Enter, Escape, Space or AltF4          -> posted
//   gone <ms>        wait until the current window is destroyed -> gone | open
//   sleep <ms>       -> slept
//
// Exit code 0 when every command ran; 1 when a window was not found.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"

namespace {

void Line(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Hex(unsigned long long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%08llX", value);
  return buffer;
}

int Number(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 0)); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog_driver <pid> [--timeout <ms>] <command>...\n");
    return 2;
  }
  const DWORD pid = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 0));
  std::vector<std::string> args(argv + 2, argv + argc);
  int timeoutMs = 15000;
  std::size_t i = 0;
  if (args.size() >= 2 && args[0] == "--timeout") {
    timeoutMs = Number(args[1]);
    i = 2;
  }
  HWND main = nullptr;
  HWND current = nullptr;
  auto next = [&]() -> std::string { return i < args.size() ? args[i++] : std::string(); };
  auto need = [&]() -> bool {
    if (current == nullptr) {
      main = driver::WaitForMainDialog(pid, timeoutMs);
      current = main;
    }
    if (current == nullptr) Line("no-dialog");
    return current != nullptr;
  };
  while (i < args.size()) {
    const std::string command = next();
    if (command == "wait") {
      if (!need()) return 1;
      Line("dialog");
    } else if (command == "box") {
      if (!need()) return 1;
      HWND box = driver::WaitForOwnedDialog(current, timeoutMs);
      if (box == nullptr) {
        Line("no-box");
        return 1;
      }
      current = box;
      Line("box");
    } else if (command == "nobox") {
      const int ms = Number(next());
      if (!need()) return 1;
      Line(driver::WaitForOwnedDialog(current, ms) == nullptr ? "nobox" : "box-open");
    } else if (command == "main") {
      current = main;
      if (!need()) return 1;
      Line("main");
    } else if (command == "title") {
      if (!need()) return 1;
      Line("title " + driver::Escape(driver::WindowText(current)));
    } else if (command == "text") {
      const std::string id = next();
      if (!need()) return 1;
      HWND item = GetDlgItem(current, Number(id));
      Line("text " + id + " " + (item != nullptr ? driver::Escape(driver::WindowText(item)) : "<none>"));
    } else if (command == "style" || command == "exstyle") {
      if (!need()) return 1;
      const LONG_PTR value = GetWindowLongPtrW(current, command == "style" ? GWL_STYLE : GWL_EXSTYLE);
      Line(command + " " + Hex(static_cast<unsigned long long>(value) & 0xFFFFFFFFull));
    } else if (command == "enabled") {
      if (!need()) return 1;
      Line(std::string("enabled ") + (IsWindowEnabled(current) ? "1" : "0"));
    } else if (command == "controls") {
      if (!need()) return 1;
      for (HWND c = GetWindow(current, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        const auto style = static_cast<unsigned long long>(GetWindowLongPtrW(c, GWL_STYLE)) & 0xFFFFFFFFull;
        Line("control " + std::to_string(static_cast<short>(GetDlgCtrlID(c))) + " " +
             driver::ClassName(c) + " " + Hex(style) + " " + driver::Escape(driver::WindowText(c)));
      }
    } else if (command == "focus") {
      if (!need()) return 1;
      HWND focus = driver::FocusWindow(current);
      Line("focus " + (focus != nullptr ? std::to_string(static_cast<short>(GetDlgCtrlID(focus))) : std::string("none")));
    } else if (command == "sysmenu") {
      if (!need()) return 1;
      const std::string report = driver::SystemMenuReport(current);
      if (report.empty()) {
        Line("menu-unanswered");
      } else {
        std::size_t start = 0;
        while (start <= report.size()) {
          std::size_t end = report.find('\n', start);
          if (end == std::string::npos) end = report.size();
          std::string item = report.substr(start, end - start);
          for (char& c : item)
            if (c == '\t') c = ' ';
          Line("menu " + item);
          start = end + 1;
        }
      }
    } else if (command == "click") {
      const int id = Number(next());
      if (!need()) return 1;
      PostMessageW(GetDlgItem(current, id), BM_CLICK, 0, 0);
      Line("posted");
    } else if (command == "command") {
      const int id = Number(next());
      if (!need()) return 1;
      PostMessageW(current, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
      Line("posted");
    } else if (command == "syscommand") {
      const auto n = static_cast<WPARAM>(std::strtoull(next().c_str(), nullptr, 0));
      if (!need()) return 1;
      PostMessageW(current, WM_SYSCOMMAND, n, 0);
      Line("posted");
    } else if (command == "key") {
      const std::string name = next();
      if (!need()) return 1;
      Line(driver::PostKey(current, name) ? "posted" : "unknown-key");
    } else if (command == "gone") {
      const int ms = Number(next());
      if (!need()) return 1;
      Line(driver::WaitForGone(current, ms) ? "gone" : "open");
    } else if (command == "sleep") {
      Sleep(static_cast<DWORD>(Number(next())));
      Line("slept");
    } else {
      Line("unknown-command " + command);
      return 2;
    }
  }
  return 0;
}
