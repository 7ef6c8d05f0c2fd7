// The modal dialog of our small framework layer.
//
// A dialog is built from a template id. DoModal shows it through the
// backend's dialog host (a real Win32 dialog, or the terminal dialog on
// POSIX) and returns the end code. Without a host (before DoModal, or in a
// test that drives a handler directly) control texts are kept here and
// EndDialog only records the end code, so the update logic runs without a
// window.
#pragma once

#include <map>
#include <string>

#include "platform/Types.h"

namespace framework {

// What a backend offers while a dialog is shown.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual void SetItemText(int id, const std::string& text) = 0;
  virtual void SetTitle(const std::string& text) = 0;
  virtual void End(int result) = 0;
};

class Dialog {
 public:
  explicit Dialog(int templateId, Dialog* parent = nullptr);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // IDOK or IDCANCEL as the dialog ended, -1 when it could not be shown.
  int DoModal();

  // Handlers; the defaults behave as a plain dialog does.
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

  void EndDialog(int result);
  void SetDlgItemText(int id, const std::string& text);
  std::string GetDlgItemText(int id) const;
  void SetWindowText(const std::string& text);
  std::string GetWindowText() const;

  int TemplateId() const { return m_nTemplateId; }
  Dialog* Parent() const { return m_pParent; }
  bool IsEnded() const { return m_bEnded; }
  int EndCode() const { return m_nEndCode; }

  // Used by the backend while the dialog is shown.
  void AttachHost(DialogHost* host) { m_pHost = host; }

 private:
  int m_nTemplateId;
  Dialog* m_pParent;
  DialogHost* m_pHost = nullptr;
  std::map<int, std::string> m_texts;
  std::string m_strTitle;
  bool m_bEnded = false;
  int m_nEndCode = 0;
};

// The backend's modal run of a dialog: creates the window from the template,
// calls OnInitDialog, dispatches input until EndDialog, returns the end code.
int RunModalDialog(Dialog& dialog);

}  // namespace framework
