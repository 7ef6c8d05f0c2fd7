// The dialog driver of the Windows tests: finds a dialog of another process
// and talks to it with Win32 messages, printing what it reads.
#pragma once

#include <windows.h>

#include <string>

namespace driver {

// A visible top-level dialog (class #32770) of process pid that has no
// owner, or null. Waits up to timeoutMs.
HWND WaitForMainDialog(DWORD pid, int timeoutMs);
// A visible dialog owned by owner, or null after timeoutMs.
HWND WaitForOwnedDialog(HWND owner, int timeoutMs);
// True once the window is destroyed; false after timeoutMs.
bool WaitForGone(HWND hwnd, int timeoutMs);

// Texts in UTF-8.
std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);
std::string Utf8(const std::wstring& text);
// CR, LF, tab and backslash written as \r, \n, \t and \\, so that one
// result stays on one output line.
std::string Escape(const std::string& text);

// The control that has the keyboard focus in hwnd's thread, or null.
HWND FocusWindow(HWND hwnd);
// Posts a key press (down and up) to the focused control: Enter, Escape,
// Space or AltF4. False for an unknown name.
bool PostKey(HWND dialog, const std::string& name);

// The dialog's system menu as the dialog reports it itself: one line per
// item, "<id>\t<separator|string>\t<text>" (UTF-8); empty when it does not
// answer.
std::string SystemMenuReport(HWND dialog);

}  // namespace driver
