// The update dialog: the one window of an update run. Its OnOK is the update
// transaction; the log and the backup-area operations are members as well,
// because they reach the run's data through m_pApp.
#pragma once

#include <string>

#include "platform/Dialog.h"
#include "platform/Types.h"
#include "update/FileList.h"

class CUpdateApp;

// Control ids of template 102.
constexpr int IDD_UPDATE_DIALOG = 102;
constexpr int IDC_LOCAL_VERSION = 1001;
constexpr int IDC_SERVER_VERSION = 1002;
constexpr int IDC_GUIDANCE = 1003;
constexpr int IDC_HEADING = 1004;
constexpr int IDC_LOCAL_LABEL = 1005;
constexpr int IDC_SERVER_LABEL = 1006;
constexpr int IDC_CONFIRM = 1007;

class CUpdateDlg : public framework::Dialog {
 public:
  explicit CUpdateDlg(framework::Dialog* pParent = nullptr);
  ~CUpdateDlg() override;

  const framework::MessageMap* GetMessageMap() const override;
  void DoDataExchange() override {}  // no control is bound to a member
  BOOL OnInitDialog() override;
  void OnOK() override;  // the update transaction

  // The system-menu item opens the version-information box; every other
  // system command gets default processing.
  void OnSysCommand(framework::UINT nID, framework::LPARAM lParam);
  // Draws m_hIcon centred while minimized; default painting otherwise.
  void OnPaint();
  framework::HICON OnQueryDragIcon();

  // One line appended to the update log; stamped 1 puts the local time in
  // front of the text, any other value 20 blanks.
  void WriteLog(std::string strText, int nStamped);
  // Makes a read-only file writable (archive attribute alone).
  void ClearReadOnly(std::string strPath);
  // Undoes a failed update: deletes the files it created (newFiles, local
  // paths) and puts back every file it backed up (backedUp, relative names)
  // from the backup folder over the local file at the same relative path.
  void RestoreBackup(const FileList& newFiles, const FileList& backedUp);

  CUpdateApp* m_pApp = nullptr;
  framework::HICON m_hIcon = nullptr;  // icon resource 128, shared: never destroyed
};
