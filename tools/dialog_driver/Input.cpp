// Keys posted to the dialog's focused control. They go through the
// dialog's own modal loop, so the dialog manager handles them as typed
// keys: Enter and Escape become commands, Space presses the focused button,
// Alt+F4 becomes the close command.
#include <string>

#include "Driver.h"

namespace driver {

HWND FocusWindow(HWND hwnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

namespace {

LPARAM KeyData(UINT vk, bool up, bool alt) {
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  LPARAM data = 1 | static_cast<LPARAM>(scan << 16);
  if (alt) data |= 1 << 29;
  if (up) data |= (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
  return data;
}

void Press(HWND target, UINT vk, bool alt) {
  const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
  PostMessageW(target, down, vk, KeyData(vk, false, alt));
  if (vk == VK_SPACE && !alt) PostMessageW(target, WM_CHAR, L' ', KeyData(vk, false, false));
  PostMessageW(target, up, vk, KeyData(vk, true, alt));
}

}  // namespace

bool PostKey(HWND dialog, const std::string& name) {
  HWND target = FocusWindow(dialog);
  if (target == nullptr) target = dialog;
  if (name == "Enter") Press(target, VK_RETURN, false);
  else if (name == "Escape") Press(target, VK_ESCAPE, false);
  else if (name == "Space") Press(target, VK_SPACE, false);
  else if (name == "AltF4") Press(target, VK_F4, true);
  else return false;
  return true;
}

}  // namespace driver
