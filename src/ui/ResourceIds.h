// Resource ids of the updater beyond the update dialog's own (UpdateDlg.h):
// the version-information box, the system-menu item and the icon.
#pragma once

constexpr unsigned IDD_VERSION_INFO = 100;     // dialog template of the box
constexpr unsigned IDS_VERSION_INFO_MENU = 101;  // text of the system-menu item
constexpr unsigned IDR_MAINFRAME = 128;        // the program's icon
// Command id of the system-menu item; the system keeps the low four bits of
// system command ids for itself, so this one is a multiple of 16.
constexpr unsigned IDM_VERSION_INFO = 0x0010;
