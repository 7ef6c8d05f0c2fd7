#include "ui/UpdateDlg.h"

#include "app/MainControl.h"
#include "app/UpdateApp.h"
#include "catalogue/Catalogue.h"
#include "platform/Application.h"
#include "ui/IconPlacement.h"
#include "ui/ResourceIds.h"
#include "ui/VersionInfoDlg.h"

CUpdateDlg::CUpdateDlg(framework::Dialog* pParent)
    : framework::Dialog(IDD_UPDATE_DIALOG, pParent), m_hIcon(framework::LoadIcon(IDR_MAINFRAME)) {}

CUpdateDlg::~CUpdateDlg() = default;

const framework::MessageMap* CUpdateDlg::GetMessageMap() const {
  static const framework::MessageMapEntry kEntries[] = {
      framework::MapSysCommand(&CUpdateDlg::OnSysCommand),
      framework::MapPaint(&CUpdateDlg::OnPaint),
      framework::MapQueryDragIcon(&CUpdateDlg::OnQueryDragIcon),
      // Enter and the button: through the virtual call, so OnOK is the
      // update transaction.
      framework::MapCommandRange(framework::kBnClicked, IDC_CONFIRM, IDC_CONFIRM, &CUpdateDlg::OnOK),
  };
  static const framework::MessageMap kMap{framework::Dialog::DialogMap(), kEntries,
                                          sizeof kEntries / sizeof kEntries[0]};
  return &kMap;
}

BOOL CUpdateDlg::OnInitDialog() {
  framework::Dialog::OnInitDialog();

  framework::Menu* pSysMenu = GetSystemMenu(FALSE);
  if (pSysMenu != nullptr) {
    const std::string strMenuText = framework::LoadString(IDS_VERSION_INFO_MENU);
    if (!strMenuText.empty()) {
      pSysMenu->AppendMenu(framework::kMfSeparator, 0, nullptr);
      pSysMenu->AppendMenu(framework::kMfString, IDM_VERSION_INFO, strMenuText.c_str());
    }
  }

  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  m_pApp = static_cast<CUpdateApp*>(framework::CurrentApp());
  SetWindowText(FormatTitle(m_pApp->m_strLocalVersion));
  SetDlgItemText(IDC_HEADING, GetCatalogueText("IDC_LB001"));
  SetDlgItemText(IDC_LOCAL_LABEL, GetCatalogueText("IDC_LB002"));
  SetDlgItemText(IDC_LOCAL_VERSION, m_pApp->m_strLocalVersion);
  SetDlgItemText(IDC_SERVER_LABEL, GetCatalogueText("IDC_LB003"));
  SetDlgItemText(IDC_SERVER_VERSION, m_pApp->m_strServerVersion);
  SetDlgItemText(IDC_GUIDANCE, GetCatalogueText(IsMainClosed("korvan") ? "MG921000" : "ME921001"));
  SetDlgItemText(IDC_CONFIRM, GetCatalogueText("IDC_BT001"));
  return TRUE;  // the dialog manager focuses the first tab stop, button 1007
}

void CUpdateDlg::OnSysCommand(framework::UINT nID, framework::LPARAM /*lParam*/) {
  // The system uses the four low bits inside its own commands.
  if ((nID & 0xFFF0) == IDM_VERSION_INFO) {
    CVersionInfoDlg dlgVersion;
    dlgVersion.DoModal();
  } else {
    Default();
  }
}

void CUpdateDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  framework::PaintDC dc(*this);
  SendMessage(framework::kWmIconEraseBkgnd, reinterpret_cast<framework::WPARAM>(dc.GetSafeHdc()), 0);
  const int cxIcon = framework::GetSystemMetrics(framework::kSmCxIcon);
  const int cyIcon = framework::GetSystemMetrics(framework::kSmCyIcon);
  const framework::Rect rect = GetClientRect();
  const IconOrigin origin =
      CenteredIconOrigin(rect.right - rect.left, rect.bottom - rect.top, cxIcon, cyIcon);
  dc.DrawIcon(origin.x, origin.y, m_hIcon);
}

framework::HICON CUpdateDlg::OnQueryDragIcon() { return m_hIcon; }
