// Dialogs of the Win32 backend: the real dialog manager, with templates from
// the executable's resources. The dialog procedure hands every message to
// the dialog's message maps; what they leave alone (no entry, or Default())
// goes back to the dialog manager as unhandled, which is its default
// processing.
#include "platform/win32/DialogWindows.h"

#include <string>

namespace framework {

namespace {

class Win32Menu : public Menu {
 public:
  HMENU m_hMenu = nullptr;
  BOOL AppendMenu(UINT nFlags, UINT nIDNewItem, const char* lpszNewItem) override {
    return AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
  }
};

class Win32Host : public DialogHost {
 public:
  explicit Win32Host(HWND hwnd) : m_hwnd(hwnd) {}
  HWND Window() const { return m_hwnd; }

  void SetItemText(int id, const std::string& text) override {
    SetDlgItemTextA(m_hwnd, id, text.c_str());
  }
  std::string GetItemText(int id) override {
    HWND item = GetDlgItem(m_hwnd, id);
    if (item == nullptr) return std::string();
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    int n = GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
  }
  void SetTitle(const std::string& text) override { SetWindowTextA(m_hwnd, text.c_str()); }
  void End(int result) override { ::EndDialog(m_hwnd, result); }
  Menu* SystemMenu(bool revert) override {
    m_menu.m_hMenu = ::GetSystemMenu(m_hwnd, revert ? TRUE : FALSE);
    return m_menu.m_hMenu != nullptr ? &m_menu : nullptr;
  }
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override {
    return SendMessageA(m_hwnd, message, wParam, lParam);
  }
  bool Iconic() override { return ::IsIconic(m_hwnd) != FALSE; }
  Rect ClientRect() override {
    RECT r{};
    ::GetClientRect(m_hwnd, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
  }
  void* BeginPaint() override { return ::BeginPaint(m_hwnd, &m_paint); }
  void EndPaint(void*) override { ::EndPaint(m_hwnd, &m_paint); }
  void DrawIcon(void* dc, int x, int y, HICON icon) override {
    ::DrawIcon(static_cast<HDC>(dc), x, y, static_cast<::HICON>(icon));
  }

 private:
  HWND m_hwnd;
  Win32Menu m_menu;
  PAINTSTRUCT m_paint{};
};

struct ModalRun {
  Dialog* dialog;
  HWND owner;
  Win32Host* host = nullptr;
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A dialog that its OnInitDialog did not place is centred over its owner,
// or on the work area when it has none, and kept on the work area.
void CenterWindow(HWND hwnd, HWND owner) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT around = work;
  if (owner != nullptr && IsWindowVisible(owner) && !::IsIconic(owner)) GetWindowRect(owner, &around);
  RECT self{};
  GetWindowRect(hwnd, &self);
  const int width = self.right - self.left;
  const int height = self.bottom - self.top;
  int x = around.left + (around.right - around.left - width) / 2;
  int y = around.top + (around.bottom - around.top - height) / 2;
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Messages whose answer is the dialog procedure's own return value rather
// than DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
  switch (message) {
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return true;
    default:
      return false;
  }
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<ModalRun*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
    run->host = new Win32Host(hwnd);
    run->dialog->AttachHost(run->host);
    RECT before{};
    GetWindowRect(hwnd, &before);
    const BOOL focusDefault = run->dialog->OnInitDialog();
    RECT after{};
    GetWindowRect(hwnd, &after);
    if (SameRect(before, after)) CenterWindow(hwnd, run->owner);
    return focusDefault;
  }
  auto* run = reinterpret_cast<ModalRun*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (run == nullptr) return FALSE;  // before WM_INITDIALOG (WM_SETFONT)
  if (message == win32::SystemMenuReportMessage()) {
    win32::ReportSystemMenu(hwnd, reinterpret_cast<HWND>(wParam));
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 1);
    return TRUE;
  }
  if (message == WM_NCDESTROY) {
    run->dialog->AttachHost(nullptr);
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    return FALSE;
  }
  LRESULT result = 0;
  if (!run->dialog->OnWndMsg(message, wParam, lParam, &result)) return FALSE;
  if (ReturnsDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace

int RunModalDialog(Dialog& dialog) {
  Dialog* owner = dialog.Owner();
  ModalRun run{&dialog, nullptr};
  if (owner != nullptr && owner->Host() != nullptr) {
    run.owner = static_cast<Win32Host*>(owner->Host())->Window();
  }
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.TemplateId()), run.owner,
                      DialogProc, reinterpret_cast<LPARAM>(&run));
  // The window is gone: texts set from now on are kept by the object only.
  dialog.AttachHost(nullptr);
  delete run.host;
  return static_cast<int>(result);
}

}  // namespace framework
