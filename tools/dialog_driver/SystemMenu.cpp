// Under Wine a process cannot read another process's system menu, so the
// driver asks the dialog: velmor2's dialogs answer the registered message
// "velmor2.SystemMenuReport" by sending their menu as text (WM_COPYDATA) to
// the window given in wParam, a message-only window of the driver.
#include <string>

#include "Driver.h"

namespace driver {

namespace {

std::wstring g_report;
bool g_answered = false;

LRESULT CALLBACK Receiver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    g_report.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    g_answered = true;
    return TRUE;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

std::string SystemMenuReport(HWND dialog) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Receiver;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"velmor2.DriverReceiver";
  RegisterClassW(&wc);
  HWND receiver = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
  if (receiver == nullptr) return std::string();
  g_answered = false;
  const UINT request = RegisterWindowMessageW(L"velmor2.SystemMenuReport");
  DWORD_PTR result = 0;
  SendMessageTimeoutW(dialog, request, reinterpret_cast<WPARAM>(receiver), 0, SMTO_NORMAL, 5000,
                      &result);
  DestroyWindow(receiver);
  if (!g_answered) return std::string();
  std::string out = Utf8(g_report);
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

}  // namespace driver
