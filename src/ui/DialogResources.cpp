// The dialog templates and the string of the updater as data. The terminal
// dialog is drawn from these tables; src/ui/velmor2.rc holds the same for
// Windows, and a test under Wine compares the executable's template 102 with
// the table here.
#include "platform/Dialog.h"
#include "ui/ResourceIds.h"
#include "ui/UpdateDlg.h"

namespace {

using framework::ControlClass;
using framework::ControlTemplate;
using framework::DialogTemplate;

constexpr std::uint32_t kChild = framework::kWsChild | framework::kWsVisible;
constexpr const char* kFace = "ＭＳ Ｐゴシック";

// Template 102, the update dialog, in stored order (also tab and drawing
// order).
const ControlTemplate kUpdateControls[] = {
    {IDC_CONFIRM, ControlClass::Button, "は　い", 0, 151, 131, 50, 17,
     kChild | framework::kBsDefPushButton | framework::kWsTabStop},
    {IDC_HEADING, ControlClass::Static, "message", 0, 14, 14, 200, 8,
     kChild | framework::kSsLeft | framework::kWsGroup},
    {-1, ControlClass::Button, "", 0, 15, 26, 320, 38, kChild | framework::kBsGroupBox},
    {IDC_LOCAL_LABEL, ControlClass::Static, "now version", 0, 23, 40, 59, 13,
     kChild | framework::kSsLeft | framework::kSsCenterImage | framework::kWsGroup},
    {IDC_LOCAL_VERSION, ControlClass::Static, "Static", 0, 83, 39, 75, 15,
     kChild | framework::kSsLeft | framework::kSsSunken | framework::kSsCenterImage |
         framework::kWsGroup},
    {IDC_SERVER_LABEL, ControlClass::Static, "new version", 0, 190, 40, 59, 13,
     kChild | framework::kSsLeft | framework::kSsCenterImage | framework::kWsGroup},
    {IDC_SERVER_VERSION, ControlClass::Static, "Static", 0, 249, 39, 75, 15,
     kChild | framework::kSsLeft | framework::kSsSunken | framework::kSsCenterImage |
         framework::kWsGroup},
    {-1, ControlClass::Static, "->", 0, 169, 40, 15, 14,
     kChild | framework::kSsCenter | framework::kSsCenterImage | framework::kWsGroup},
    {IDC_GUIDANCE, ControlClass::Static, "Guidance", 0, 15, 72, 320, 54,
     kChild | framework::kSsLeft | framework::kSsSunken | framework::kWsGroup},
};

const DialogTemplate kUpdateDialog = {
    IDD_UPDATE_DIALOG,
    true,
    framework::kWsPopup | framework::kWsVisible | framework::kWsCaption | framework::kWsSysMenu |
        framework::kDsModalFrame | framework::kDsSetFont,
    framework::kWsExAppWindow,
    0,
    0,
    351,
    161,
    "",
    9,
    kFace,
    0,
    false,
    1,
    kUpdateControls,
    sizeof kUpdateControls / sizeof kUpdateControls[0],
};

// Template 100, the version-information box.
const ControlTemplate kVersionControls[] = {
    {-1, ControlClass::Static, nullptr, IDR_MAINFRAME, 11, 17, 20, 20, kChild | framework::kSsIcon},
    {-1, ControlClass::Static, "velmor Version 1.0", 0, 40, 10, 119, 8,
     kChild | framework::kSsLeft | framework::kSsNoPrefix | framework::kWsGroup},
    {-1, ControlClass::Static, "Copyright (C) 2026 velmor", 0, 40, 25, 119, 8,
     kChild | framework::kSsLeft | framework::kWsGroup},
    {IDOK, ControlClass::Button, "OK", 0, 178, 7, 50, 14,
     kChild | framework::kBsDefPushButton | framework::kWsGroup | framework::kWsTabStop},
};

const DialogTemplate kVersionDialog = {
    IDD_VERSION_INFO,
    false,
    framework::kWsPopup | framework::kWsCaption | framework::kWsSysMenu |
        framework::kDsModalFrame | framework::kDsSetFont,
    0,
    0,
    0,
    235,
    55,
    "velmorのﾊﾞｰｼﾞｮﾝ情報",
    9,
    kFace,
    0,
    false,
    1,
    kVersionControls,
    sizeof kVersionControls / sizeof kVersionControls[0],
};

}  // namespace

namespace framework {

const DialogTemplate* FindDialogTemplate(UINT id) {
  if (id == IDD_UPDATE_DIALOG) return &kUpdateDialog;
  if (id == IDD_VERSION_INFO) return &kVersionDialog;
  return nullptr;
}

const char* FindStringResource(UINT id) {
  if (id == IDS_VERSION_INFO_MENU) return "velmor のﾊﾞｰｼﾞｮﾝ情報(&A)...";
  return nullptr;
}

bool HasIconResource(UINT id) { return id == IDR_MAINFRAME; }

}  // namespace framework
