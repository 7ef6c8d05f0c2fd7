// windows.h for the dialog backend. Its generic-name macros (SetWindowText,
// LoadString, SendMessage, ...) would rename the framework's members of the
// same names, and IDOK / IDCANCEL would clash with Types.h; they are taken
// away here, so this backend names every Win32 call with its A or W suffix.
#pragma once

#include <windows.h>

#undef IDOK
#undef IDCANCEL
#undef AppendMenu
#undef GetWindowText
#undef LoadIcon
#undef LoadString
#undef SendMessage
#undef SetDlgItemText
#undef GetDlgItemText
#undef SetWindowText

#include "platform/Dialog.h"

namespace framework {
namespace win32 {

// A registered message that a dialog of this program answers by sending its
// system menu, as text, to the window named in wParam (WM_COPYDATA). Under
// Wine another process cannot read a window's system menu; the dialog
// driver of the tests asks the dialog itself.
UINT SystemMenuReportMessage();
void ReportSystemMenu(HWND dialog, HWND requester);

}  // namespace win32
}  // namespace framework
