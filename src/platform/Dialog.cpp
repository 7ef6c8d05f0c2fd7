#include "platform/Dialog.h"

namespace framework {

Dialog::Dialog(int templateId, Dialog* parent) : m_nTemplateId(templateId), m_pParent(parent) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
  m_bEnded = false;
  m_nEndCode = 0;
  return RunModalDialog(*this);
}

void Dialog::EndDialog(int result) {
  m_bEnded = true;
  m_nEndCode = result;
  if (m_pHost != nullptr) m_pHost->End(result);
}

void Dialog::SetDlgItemText(int id, const std::string& text) {
  m_texts[id] = text;
  if (m_pHost != nullptr) m_pHost->SetItemText(id, text);
}

std::string Dialog::GetDlgItemText(int id) const {
  auto it = m_texts.find(id);
  return it == m_texts.end() ? std::string() : it->second;
}

void Dialog::SetWindowText(const std::string& text) {
  m_strTitle = text;
  if (m_pHost != nullptr) m_pHost->SetTitle(text);
}

std::string Dialog::GetWindowText() const { return m_strTitle; }

}  // namespace framework
