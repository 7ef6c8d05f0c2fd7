#include "platform/Dialog.h"

#include "platform/Application.h"

namespace framework {

namespace {

bool Matches(const MessageMapEntry& e, UINT message, WPARAM wParam) {
  if (e.message != message) return false;
  if (message != kWmCommand) return true;
  const UINT id = LowWord(wParam);
  return HighWord(wParam) == e.code && e.idFirst <= id && id <= e.idLast;
}

const MessageMapEntry* FindEntry(const MessageMap* map, UINT message, WPARAM wParam) {
  for (; map != nullptr; map = map->base) {
    for (std::size_t i = 0; i < map->count; ++i) {
      if (Matches(map->entries[i], message, wParam)) return &map->entries[i];
    }
  }
  return nullptr;
}

}  // namespace

Dialog::Dialog(UINT nIDTemplate, Dialog* pParentWnd)
    : m_nTemplateId(nIDTemplate), m_pParent(pParentWnd) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
  m_bEnded = false;
  m_nEndCode = 0;
  return RunModalDialog(*this);
}

void Dialog::OnOK() {
  DoDataExchange();
  EndDialog(IDOK);
}

const MessageMap* Dialog::DialogMap() {
  static const MessageMapEntry kEntries[] = {
      MapCommandRange(kBnClicked, IDOK, IDOK, &Dialog::OnOK),
      MapCommandRange(kBnClicked, IDCANCEL, IDCANCEL, &Dialog::OnCancel),
  };
  static const MessageMap kMap{nullptr, kEntries, sizeof kEntries / sizeof kEntries[0]};
  return &kMap;
}

const MessageMap* Dialog::GetMessageMap() const { return DialogMap(); }

BOOL Dialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const MessageMapEntry* e = FindEntry(GetMessageMap(), message, wParam);
  if (e == nullptr) return FALSE;
  // A handler may send messages to this dialog itself; each keeps its own
  // request for default processing.
  const bool outer = m_bDefaultRequested;
  m_bDefaultRequested = false;
  LRESULT result = 0;
  if (e->onSysCommand != nullptr) {
    (this->*(e->onSysCommand))(static_cast<UINT>(wParam), lParam);
  } else if (e->onQueryDragIcon != nullptr) {
    result = reinterpret_cast<LRESULT>((this->*(e->onQueryDragIcon))());
  } else if (e->onVoid != nullptr) {
    (this->*(e->onVoid))();
  }
  const bool handled = !m_bDefaultRequested;
  m_bDefaultRequested = outer;
  if (pResult != nullptr) *pResult = result;
  return handled ? TRUE : FALSE;
}

Dialog* Dialog::Owner() const {
  if (m_pParent != nullptr) return m_pParent;
  Application* app = CurrentApp();
  if (app == nullptr || app->m_pMainWnd == this) return nullptr;
  Dialog* main = app->m_pMainWnd;
  return main != nullptr && main->Host() != nullptr ? main : nullptr;
}

void Dialog::EndDialog(int nResult) {
  m_bEnded = true;
  m_nEndCode = nResult;
  if (m_pHost != nullptr) m_pHost->End(nResult);
}

void Dialog::SetDlgItemText(int id, const std::string& text) {
  m_texts[id] = text;
  if (m_pHost != nullptr) m_pHost->SetItemText(id, text);
}

std::string Dialog::GetDlgItemText(int id) const {
  if (m_pHost != nullptr) return m_pHost->GetItemText(id);
  auto it = m_texts.find(id);
  return it == m_texts.end() ? std::string() : it->second;
}

void Dialog::SetWindowText(const std::string& text) {
  m_strTitle = text;
  if (m_pHost != nullptr) m_pHost->SetTitle(text);
}

std::string Dialog::GetWindowText() const { return m_strTitle; }

Menu* Dialog::GetSystemMenu(BOOL bRevert) {
  return m_pHost != nullptr ? m_pHost->SystemMenu(bRevert != FALSE) : nullptr;
}

LRESULT Dialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pHost != nullptr) return m_pHost->Send(message, wParam, lParam);
  LRESULT result = 0;
  OnWndMsg(message, wParam, lParam, &result);
  return result;
}

HICON Dialog::SetIcon(HICON hIcon, BOOL bBigIcon) {
  return reinterpret_cast<HICON>(SendMessage(kWmSetIcon, bBigIcon ? kIconBig : kIconSmall,
                                             reinterpret_cast<LPARAM>(hIcon)));
}

BOOL Dialog::IsIconic() const { return m_pHost != nullptr && m_pHost->Iconic() ? TRUE : FALSE; }

Rect Dialog::GetClientRect() const { return m_pHost != nullptr ? m_pHost->ClientRect() : Rect{}; }

PaintDC::PaintDC(Dialog& dialog)
    : m_pHost(dialog.Host()), m_dc(m_pHost != nullptr ? m_pHost->BeginPaint() : nullptr) {}

PaintDC::~PaintDC() {
  if (m_pHost != nullptr) m_pHost->EndPaint(m_dc);
}

void PaintDC::DrawIcon(int x, int y, HICON hIcon) {
  if (m_pHost != nullptr) m_pHost->DrawIcon(m_dc, x, y, hIcon);
}

}  // namespace framework
