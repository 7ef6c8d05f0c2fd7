// The backup-area operations of the update dialog.
#include <cstdint>

#include "app/UpdateApp.h"
#include "platform/Platform.h"
#include "ui/UpdateDlg.h"

void CUpdateDlg::ClearReadOnly(std::string strPath) {
  platform::Platform& p = platform::Current();
  const std::uint32_t attributes = p.GetAttributes(strPath);
  if (attributes != platform::kInvalidAttributes && (attributes & platform::kAttrReadOnly) != 0)
    p.SetArchiveOnly(strPath);
}

void CUpdateDlg::RestoreBackup(const FileList& newFiles, const FileList& backedUp) {
  platform::Platform& p = platform::Current();
  for (std::size_t i = 0; i < newFiles.GetCount(); ++i) p.RemoveFile(newFiles[i]);
  // Only what this update backed up goes back, each file to its own relative
  // path and over the updated file; anything else in the backup folder is
  // left from an earlier run and is not ours to restore.
  for (std::size_t i = 0; i < backedUp.GetCount(); ++i) {
    const std::string strBackupPath = m_pApp->m_strBackupDir + backedUp[i];
    const std::string strLocalPath = m_pApp->m_strLocalDir + backedUp[i];
    ClearReadOnly(strBackupPath);
    ClearReadOnly(strLocalPath);
    // A copy back needs room for the whole file, which a full disk may not
    // have: the backup is then moved back instead, which needs none, and
    // the backup folder loses that file.
    if (!p.CopyFile(strBackupPath, strLocalPath, false)) p.RenameOver(strBackupPath, strLocalPath);
  }
}
