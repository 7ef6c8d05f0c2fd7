// The update transaction: the confirm button of the update dialog.
//
// Beyond the plain copy loop it keeps three promises. No local file is
// replaced before its backup exists. Every replace swaps the file in whole,
// so an interrupted run leaves each file old or new. The local VERSION.INI
// is replaced last, so the local stamp turns new only once every other file
// is new, and an interrupted update is offered again at the next start.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "app/MainControl.h"
#include "app/UpdateApp.h"
#include "catalogue/Catalogue.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "ui/UpdateDlg.h"
#include "update/ClearFolder.h"
#include "update/CollectFiles.h"
#include "update/FileList.h"
#include "update/LinkGuard.h"

namespace {

const char kVersionFile[] = "VERSION.INI";
constexpr std::size_t kMarkedStampLength = 20;

// The result lines of the log: Japanese for package kind 0, English for
// every other kind. The Japanese ones are kept here as UTF-8.
std::string SuccessText(int nPkgKind) {
  if (nPkgKind != 0) return "An update of a program succeeded.";
  return platform::Current().FromUtf8("プログラム更新が成功しました。");
}

std::string FailureText(int nPkgKind) {
  if (nPkgKind != 0) return "An update of a program was failed.";
  return platform::Current().FromUtf8("プログラム更新が失敗しました。");
}

// The path below the server folder: the entry with the folder text it
// begins with taken off once.
std::string RelativeName(const std::string& strServerPath, const std::string& strServerDir) {
  if (strServerPath.compare(0, strServerDir.size(), strServerDir) == 0)
    return strServerPath.substr(strServerDir.size());
  return strServerPath;
}

// Backs up the local counterpart of one server file (or notes the file as
// new) and copies the server file over it. False when the backup or the
// copy failed; the local file is then as it was.
// What the copy loop carries from file to file.
struct LoopState {
  FileList& newFiles;
  FileList& backedUp;
  LinkGuard local;
  LinkGuard backup;
};

bool UpdateOneFile(CUpdateDlg& dlg, const std::string& strServerPath,
                   const std::string& strRelative, LoopState& state) {
  platform::Platform& p = platform::Current();
  const CUpdateApp& app = *dlg.m_pApp;
  const std::string strLocalPath = app.m_strLocalDir + strRelative;
  const std::string strBackupPath = app.m_strBackupDir + strRelative;
  // Below a linked folder nothing is touched: it is not the installation's.
  if (state.local.LeadsThroughLink(strRelative) || state.backup.LeadsThroughLink(strRelative))
    return false;

  dlg.ClearReadOnly(strLocalPath);
  if (p.GetAttributes(strLocalPath) != platform::kInvalidAttributes) {
    p.CreateFolders(strBackupPath);
    // A file left at the backup path by an earlier run is replaced, so the
    // backup always holds this run's old content.
    dlg.ClearReadOnly(strBackupPath);
    if (!p.CopyFile(strLocalPath, strBackupPath, false)) return false;
    state.backedUp.Add(strRelative);
  } else {
    p.CreateFolders(strLocalPath);
    state.newFiles.Add(strLocalPath);  // before the copy: a failed new file goes too
  }
  return p.CopyFile(strServerPath, strLocalPath, false);
}

// The copy loop over the server listing, the server's VERSION.INI last.
// False with strFailed set to the relative name of the file that failed.
bool UpdateAllFiles(CUpdateDlg& dlg, const FileList& serverFiles, FileList& newFiles,
                    FileList& backedUp, std::string& strFailed) {
  const std::string& strServerDir = dlg.m_pApp->m_strServerDir;
  LoopState state{newFiles, backedUp, LinkGuard(dlg.m_pApp->m_strLocalDir),
                  LinkGuard(dlg.m_pApp->m_strBackupDir)};
  const std::size_t nCount = serverFiles.GetCount();
  std::size_t nVersionIndex = nCount;
  for (std::size_t i = 0; i < nCount; ++i) {
    const std::string strServerPath = serverFiles[i];
    const std::string strRelative = RelativeName(strServerPath, strServerDir);
    if (strRelative == kVersionFile && nVersionIndex == nCount) {
      nVersionIndex = i;
      continue;
    }
    if (!UpdateOneFile(dlg, strServerPath, strRelative, state)) {
      strFailed = strRelative;
      return false;
    }
  }
  if (nVersionIndex == nCount) return true;
  // Every other file and its backup reach the disk before the stamp turns
  // new, so even a power cut cannot leave a new stamp on an old folder.
  platform::Current().FlushFileSystem(dlg.m_pApp->m_strLocalDir);
  if (!UpdateOneFile(dlg, serverFiles[nVersionIndex], kVersionFile, state)) {
    strFailed = kVersionFile;
    return false;
  }
  return true;
}

// Sets the 20th byte of a 20-byte version stamp to "9" and leaves the file
// holding that line alone, without a line end. Any other stamp, a file that
// cannot be opened, and a read or write error leave the mark unmade.
void MarkBackupVersion(CUpdateDlg& dlg, const std::string& strPath) {
  platform::Platform& p = platform::Current();
  dlg.ClearReadOnly(strPath);
  std::unique_ptr<platform::File> in =
      p.OpenFile(strPath, platform::FileAccess::Read, platform::FileShare::None);
  if (!in) return;
  std::string strStamp;
  {
    TextReader reader(std::move(in));
    const bool bRead = reader.ReadLine(strStamp);
    const bool bError = reader.HadError();
    reader.Close();
    if (!bRead || bError || strStamp.size() != kMarkedStampLength) return;
  }
  strStamp[kMarkedStampLength - 1] = '9';
  std::unique_ptr<platform::File> out =
      p.OpenFile(strPath, platform::FileAccess::CreateWrite, platform::FileShare::None);
  if (!out) return;
  TextWriter writer(std::move(out));
  writer.WriteString(strStamp);
  writer.Close();
}

}  // namespace

void CUpdateDlg::OnOK() {
  if (!IsMainClosed("korvan")) {
    SetDlgItemText(IDC_GUIDANCE, GetCatalogueText("ME921001"));
    return;
  }
  platform::Platform& p = platform::Current();
  const CUpdateApp& app = *m_pApp;

  WriteLog(app.m_strLocalVersion + " -> " + app.m_strServerVersion, 1);
  SetDlgItemText(IDC_GUIDANCE, GetCatalogueText("MG921001"));

  FileList serverFiles;
  CollectFiles(app.m_strServerDir, serverFiles);
  ClearFolder(app.m_strBackupDir);
  p.CreateFolders(app.m_strBackupDir);

  FileList newFiles;
  FileList backedUp;
  std::string strFailed;
  bool bUpdated = UpdateAllFiles(*this, serverFiles, newFiles, backedUp, strFailed);
  bool bStampedName = false;
  if (bUpdated) {
    const std::string strBackupVersion = app.m_strBackupDir + kVersionFile;
    ClearReadOnly(strBackupVersion);
    if (p.CopyFile(app.m_strServerDir + kVersionFile, strBackupVersion, false)) {
      MarkBackupVersion(*this, strBackupVersion);
    } else {
      bUpdated = false;
      strFailed = kVersionFile;
      bStampedName = true;
    }
  }

  if (bUpdated) {
    WriteLog(SuccessText(app.m_nPkgKind), 1);
    LaunchMain(nullptr);
  } else {
    WriteLog(FailureText(app.m_nPkgKind), 1);
    WriteLog(strFailed, bStampedName ? 1 : 0);
    RestoreBackup(newFiles, backedUp);
    LaunchMain("-v");
  }
  framework::Dialog::OnOK();
}
