// The version-information box: the program's icon, name, version and legal
// notice, opened from the update dialog's system menu.
#pragma once

#include "platform/Dialog.h"

class CVersionInfoDlg : public framework::Dialog {
 public:
  CVersionInfoDlg();
};
