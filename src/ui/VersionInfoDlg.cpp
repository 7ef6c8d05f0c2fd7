#include "ui/VersionInfoDlg.h"

#include "ui/ResourceIds.h"

// No parent: the framework makes the application's main window, the update
// dialog, the owner and disables it while the box is open.
CVersionInfoDlg::CVersionInfoDlg() : framework::Dialog(IDD_VERSION_INFO, nullptr) {}
