#include <string>

#include "Driver.h"

namespace driver {

namespace {

struct Search {
  DWORD pid;
  HWND owner;  // null: a dialog without owner
  HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (s->pid != 0 && pid != s->pid) return TRUE;
  if (!IsWindowVisible(hwnd) || ClassName(hwnd) != "#32770") return TRUE;
  if (GetWindow(hwnd, GW_OWNER) != s->owner) return TRUE;
  s->found = hwnd;
  return FALSE;
}

HWND WaitFor(Search search, int timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    search.found = nullptr;
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return nullptr;
    Sleep(20);
  }
}

}  // namespace

HWND WaitForMainDialog(DWORD pid, int timeoutMs) { return WaitFor(Search{pid, nullptr, nullptr}, timeoutMs); }

HWND WaitForOwnedDialog(HWND owner, int timeoutMs) {
  return WaitFor(Search{0, owner, nullptr}, timeoutMs);
}

bool WaitForGone(HWND hwnd, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(hwnd)) {
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::string WindowText(HWND hwnd) {
  // WM_GETTEXT crosses processes; GetWindowTextW would not ask a window of
  // another process for a control's text.
  const auto length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto n = SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                              reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return Utf8(text);
}

std::string ClassName(HWND hwnd) {
  wchar_t name[256];
  int n = GetClassNameW(hwnd, name, 256);
  return Utf8(std::wstring(name, static_cast<std::size_t>(n > 0 ? n : 0)));
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace driver
