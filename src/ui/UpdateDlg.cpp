#include "ui/UpdateDlg.h"

#include "app/MainControl.h"
#include "app/UpdateApp.h"
#include "catalogue/Catalogue.h"
#include "platform/Application.h"

CUpdateDlg::CUpdateDlg(framework::Dialog* pParent) : framework::Dialog(IDD_UPDATE_DIALOG, pParent) {}

CUpdateDlg::~CUpdateDlg() = default;

BOOL CUpdateDlg::OnInitDialog() {
  framework::Dialog::OnInitDialog();
  m_pApp = static_cast<CUpdateApp*>(framework::CurrentApp());
  SetWindowText(FormatTitle(m_pApp->m_strLocalVersion));
  SetDlgItemText(IDC_HEADING, GetCatalogueText("IDC_LB001"));
  SetDlgItemText(IDC_LOCAL_LABEL, GetCatalogueText("IDC_LB002"));
  SetDlgItemText(IDC_LOCAL_VERSION, m_pApp->m_strLocalVersion);
  SetDlgItemText(IDC_SERVER_LABEL, GetCatalogueText("IDC_LB003"));
  SetDlgItemText(IDC_SERVER_VERSION, m_pApp->m_strServerVersion);
  SetDlgItemText(IDC_GUIDANCE, GetCatalogueText(IsMainClosed("korvan") ? "MG921000" : "ME921001"));
  SetDlgItemText(IDC_CONFIRM, GetCatalogueText("IDC_BT001"));
  return TRUE;
}
