// The update log: one line appended per call to Velmor.log in the LOG folder
// beside the local program folder.
#include <cstdio>
#include <memory>

#include "app/UpdateApp.h"
#include "platform/MbcsText.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "ui/UpdateDlg.h"

namespace {

// The 20 characters in front of every line: the local time, or blanks.
std::string LinePrefix(int nStamped) {
  if (nStamped != 1) return std::string(20, ' ');
  const platform::LocalTime now = platform::Current().Now();
  char szPrefix[64];
  std::snprintf(szPrefix, sizeof szPrefix, "%04d/%02d/%02d %02d:%02d:%02d ", now.year, now.month,
                now.day, now.hour, now.minute, now.second);
  return szPrefix;
}

}  // namespace

void CUpdateDlg::WriteLog(std::string strText, int nStamped) {
  platform::Platform& system = platform::Current();
  const std::string strSep(1, system.Separator());
  const std::string strPath = mbcs::ReplaceAll(m_pApp->m_strLocalDir + "Velmor.log",
                                               strSep + "APLI" + strSep, strSep + "LOG" + strSep,
                                               system.AnsiCodePage());
  const bool bExists = system.GetAttributes(strPath) != platform::kInvalidAttributes;
  // The LOG folder is never created: while it is missing nothing is logged.
  std::unique_ptr<platform::File> file = system.OpenFile(
      strPath, bExists ? platform::FileAccess::WriteExisting : platform::FileAccess::CreateWrite,
      platform::FileShare::None);
  if (!file) return;
  const std::string strLine = LinePrefix(nStamped) + strText + "\n";
  // A failure to position, write or close loses the line and nothing more:
  // the update goes on as if it had been written. Without the end position
  // nothing is written, so that no earlier line is overwritten.
  TextWriter writer(std::move(file));
  if (writer.SeekToEnd()) writer.WriteString(strLine);
  writer.Close();
}
