// The modal dialog of our small framework layer.
//
// A dialog is built from a template id. DoModal shows it through the
// backend's dialog host (a real Win32 dialog from the executable's resources,
// or the terminal dialog on POSIX) and returns the end code. Messages reach
// the dialog's handlers through message maps, most derived class first, as
// the Windows dialog manager delivers them; a handler that calls Default()
// hands its message on to the backend's default processing.
//
// Without a host (before DoModal, or in a test that drives a handler
// directly) control texts are kept here and EndDialog only records the end
// code, so the update logic runs without a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "platform/Types.h"

namespace framework {

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HICON = void*;

// Messages, codes and flags the dialogs use, with their Windows values. The
// names differ from windows.h so that both can be seen in one file.
constexpr UINT kWmPaint = 0x000F;
constexpr UINT kWmIconEraseBkgnd = 0x0027;
constexpr UINT kWmQueryDragIcon = 0x0037;
constexpr UINT kWmSetIcon = 0x0080;
constexpr UINT kWmCommand = 0x0111;
constexpr UINT kWmSysCommand = 0x0112;
constexpr UINT kBnClicked = 0;
constexpr UINT kScMove = 0xF010;
constexpr UINT kScClose = 0xF060;
constexpr UINT kScKeyMenu = 0xF100;
constexpr WPARAM kIconSmall = 0;
constexpr WPARAM kIconBig = 1;
constexpr int kSmCxIcon = 11;
constexpr int kSmCyIcon = 12;
constexpr UINT kMfString = 0x0000;
constexpr UINT kMfGrayed = 0x0001;
constexpr UINT kMfSeparator = 0x0800;

// Window and control styles of the dialog templates.
constexpr std::uint32_t kWsPopup = 0x80000000u;
constexpr std::uint32_t kWsChild = 0x40000000u;
constexpr std::uint32_t kWsVisible = 0x10000000u;
constexpr std::uint32_t kWsCaption = 0x00C00000u;
constexpr std::uint32_t kWsSysMenu = 0x00080000u;
constexpr std::uint32_t kWsGroup = 0x00020000u;
constexpr std::uint32_t kWsTabStop = 0x00010000u;
constexpr std::uint32_t kWsMinimizeBox = 0x00020000u;  // on a top-level window
constexpr std::uint32_t kWsMaximizeBox = 0x00010000u;  // on a top-level window
constexpr std::uint32_t kDsSetFont = 0x40u;
constexpr std::uint32_t kDsModalFrame = 0x80u;
constexpr std::uint32_t kWsExAppWindow = 0x00040000u;
constexpr std::uint32_t kBsPushButton = 0x0u;
constexpr std::uint32_t kBsDefPushButton = 0x1u;
constexpr std::uint32_t kBsGroupBox = 0x7u;
constexpr std::uint32_t kBsTypeMask = 0xFu;
constexpr std::uint32_t kSsLeft = 0x0u;
constexpr std::uint32_t kSsCenter = 0x1u;
constexpr std::uint32_t kSsIcon = 0x3u;
constexpr std::uint32_t kSsTypeMask = 0x1Fu;
constexpr std::uint32_t kSsNoPrefix = 0x80u;
constexpr std::uint32_t kSsCenterImage = 0x200u;
constexpr std::uint32_t kSsSunken = 0x1000u;

constexpr WPARAM MakeWParam(UINT low, UINT high) {
  return static_cast<WPARAM>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
constexpr UINT LowWord(WPARAM w) { return static_cast<UINT>(w & 0xFFFFu); }
constexpr UINT HighWord(WPARAM w) { return static_cast<UINT>((w >> 16) & 0xFFFFu); }

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// A window's menu (the system menu) while the window exists.
class Menu {
 public:
  virtual ~Menu() = default;
  virtual BOOL AppendMenu(UINT nFlags, UINT nIDNewItem, const char* lpszNewItem) = 0;
};

// What a backend offers while a dialog is shown.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual void SetItemText(int id, const std::string& text) = 0;
  virtual std::string GetItemText(int id) = 0;
  virtual void SetTitle(const std::string& text) = 0;
  virtual void End(int result) = 0;
  // Null when the window has no system menu.
  virtual Menu* SystemMenu(bool revert) = 0;
  // The message through the window: the dialog's handlers first, then the
  // backend's default processing.
  virtual LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual bool Iconic() = 0;
  virtual Rect ClientRect() = 0;
  // Painting of the current paint message: a device context or null.
  virtual void* BeginPaint() = 0;
  virtual void EndPaint(void* dc) = 0;
  virtual void DrawIcon(void* dc, int x, int y, HICON icon) = 0;
};

class Dialog;

// One entry of a message map. Command entries match a notification code and
// a range of control ids; the others match the message alone. Exactly one of
// the handler pointers is set, according to the message.
struct MessageMapEntry {
  UINT message = 0;
  UINT code = 0;
  UINT idFirst = 0;
  UINT idLast = 0;
  void (Dialog::*onVoid)() = nullptr;                     // commands, paint
  void (Dialog::*onSysCommand)(UINT, LPARAM) = nullptr;   // system commands
  HICON (Dialog::*onQueryDragIcon)() = nullptr;           // drag icon
};

struct MessageMap {
  const MessageMap* base;  // searched after this one; null ends the chain
  const MessageMapEntry* entries;
  std::size_t count;
};

// Entries for a map of dialog class D.
template <class D>
MessageMapEntry MapSysCommand(void (D::*handler)(UINT, LPARAM)) {
  MessageMapEntry e;
  e.message = kWmSysCommand;
  e.onSysCommand = static_cast<void (Dialog::*)(UINT, LPARAM)>(handler);
  return e;
}
template <class D>
MessageMapEntry MapPaint(void (D::*handler)()) {
  MessageMapEntry e;
  e.message = kWmPaint;
  e.onVoid = static_cast<void (Dialog::*)()>(handler);
  return e;
}
template <class D>
MessageMapEntry MapQueryDragIcon(HICON (D::*handler)()) {
  MessageMapEntry e;
  e.message = kWmQueryDragIcon;
  e.onQueryDragIcon = static_cast<HICON (Dialog::*)()>(handler);
  return e;
}
template <class D>
MessageMapEntry MapCommandRange(UINT code, UINT idFirst, UINT idLast, void (D::*handler)()) {
  MessageMapEntry e;
  e.message = kWmCommand;
  e.code = code;
  e.idFirst = idFirst;
  e.idLast = idLast;
  e.onVoid = static_cast<void (Dialog::*)()>(handler);
  return e;
}

class Dialog {
 public:
  explicit Dialog(UINT nIDTemplate, Dialog* pParentWnd = nullptr);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // IDOK or IDCANCEL as the dialog ended, -1 when it could not be shown.
  // Without a parent the application's main window, when shown, owns it.
  int DoModal();

  // Handlers; the defaults behave as a plain dialog does.
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK();  // DoDataExchange, then EndDialog(IDOK)
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  virtual void DoDataExchange() {}
  // The class's message map. This one routes the commands IDOK and IDCANCEL
  // to the virtual OnOK and OnCancel.
  virtual const MessageMap* GetMessageMap() const;
  static const MessageMap* DialogMap();

  void EndDialog(int nResult);
  void SetDlgItemText(int id, const std::string& text);
  std::string GetDlgItemText(int id) const;
  void SetWindowText(const std::string& text);
  std::string GetWindowText() const;
  // The window's system menu; null without a window or when it has none.
  Menu* GetSystemMenu(BOOL bRevert);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  HICON SetIcon(HICON hIcon, BOOL bBigIcon);
  BOOL IsIconic() const;
  Rect GetClientRect() const;

  // Called inside a handler: the message goes on to the backend's default
  // processing once the handler returns.
  void Default() { m_bDefaultRequested = true; }

  // Runs the message's handler from the maps. TRUE when one took it; FALSE
  // when none is mapped or the handler asked for default processing.
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

  UINT TemplateId() const { return m_nTemplateId; }
  Dialog* Parent() const { return m_pParent; }
  // The window this dialog's modal run belongs to: the parent, or else the
  // application's main window while it is shown; null for none.
  Dialog* Owner() const;
  bool IsEnded() const { return m_bEnded; }
  int EndCode() const { return m_nEndCode; }

  // Used by the backend while the dialog is shown.
  void AttachHost(DialogHost* host) { m_pHost = host; }
  DialogHost* Host() const { return m_pHost; }

 private:
  UINT m_nTemplateId;
  Dialog* m_pParent;
  DialogHost* m_pHost = nullptr;
  std::map<int, std::string> m_texts;
  std::string m_strTitle;
  bool m_bEnded = false;
  int m_nEndCode = 0;
  bool m_bDefaultRequested = false;
};

// The paint device context of one paint message (BeginPaint to EndPaint).
class PaintDC {
 public:
  explicit PaintDC(Dialog& dialog);
  ~PaintDC();
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  void* GetSafeHdc() const { return m_dc; }
  void DrawIcon(int x, int y, HICON hIcon);

 private:
  DialogHost* m_pHost;
  void* m_dc;
};

// Resources of the program: Win32 loads them from the executable, the POSIX
// backend from the portable tables below.
HICON LoadIcon(UINT nIDResource);
std::string LoadString(UINT nID);  // empty when absent
int GetSystemMetrics(int nIndex);

// The backend's modal run of a dialog: creates the window from the template,
// calls OnInitDialog, dispatches input until EndDialog, returns the end code.
int RunModalDialog(Dialog& dialog);

// --- portable resources ---
// Dialog templates and strings as data, in the form of the Windows
// resources: the terminal backend draws from them, and a Windows test checks
// that the executable's resources say the same. Texts are UTF-8.

enum class ControlClass : std::uint16_t { Button = 0x0080, Static = 0x0082 };

struct ControlTemplate {
  int id;  // -1 for controls the program never refers to
  ControlClass controlClass;
  const char* text;  // null when the text is the resource ordinal iconId
  UINT iconId;
  short x, y, cx, cy;  // dialog units
  std::uint32_t style;  // WS_CHILD and WS_VISIBLE included
};

struct DialogTemplate {
  UINT id;
  bool extended;  // stored in the extended form
  std::uint32_t style;
  std::uint32_t exStyle;
  short x, y, cx, cy;
  const char* title;
  short pointSize;
  const char* face;
  std::uint16_t weight;
  bool italic;
  std::uint8_t charset;
  const ControlTemplate* controls;
  std::size_t controlCount;
};

// Provided by the program: its templates and strings, null when absent, and
// whether it has an icon of that id.
const DialogTemplate* FindDialogTemplate(UINT id);
const char* FindStringResource(UINT id);
bool HasIconResource(UINT id);

}  // namespace framework
