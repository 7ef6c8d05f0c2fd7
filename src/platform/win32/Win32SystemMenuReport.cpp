// The system-menu report of the Win32 dialogs (see DialogWindows.h): one
// line per item, "<id>\t<separator|string>\t<text>\n", in UTF-16, sent with
// WM_COPYDATA. It only reads the menu.
#include <string>

#include "platform/win32/DialogWindows.h"

namespace framework {
namespace win32 {

UINT SystemMenuReportMessage() {
  static const UINT message = RegisterWindowMessageW(L"velmor2.SystemMenuReport");
  return message;
}

void ReportSystemMenu(HWND dialog, HWND requester) {
  std::wstring report;
  HMENU menu = ::GetSystemMenu(dialog, FALSE);
  const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    std::wstring text;
    if ((info.fType & MFT_SEPARATOR) == 0 && info.cch > 0) {
      text.resize(info.cch + 1);
      info.dwTypeData = text.data();
      info.cch += 1;
      GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
      text.resize(info.cch);
    }
    report += std::to_wstring(info.wID);
    report += (info.fType & MFT_SEPARATOR) != 0 ? L"\tseparator\t" : L"\tstring\t";
    report += text;
    report += L"\n";
  }
  COPYDATASTRUCT data{};
  data.dwData = SystemMenuReportMessage();
  data.cbData = static_cast<DWORD>(report.size() * sizeof(wchar_t));
  data.lpData = report.empty() ? nullptr : report.data();
  SendMessageW(requester, WM_COPYDATA, reinterpret_cast<WPARAM>(dialog),
               reinterpret_cast<LPARAM>(&data));
}

}  // namespace win32
}  // namespace framework
