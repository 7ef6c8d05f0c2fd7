#include "platform/posix/TerminalMenu.h"

#include <cctype>

#include "platform/Platform.h"
#include "platform/posix/TerminalText.h"

namespace terminal {

namespace {

std::string Local(const char* utf8, const char* fallback) {
  const std::string text = platform::Current().FromUtf8(utf8);
  return text.empty() ? std::string(fallback) : text;
}

// The letter after a single "&", upper case; 0 for none.
char Mnemonic(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

void SplitShortcut(const std::string& text, std::string& label, std::string& shortcut) {
  const std::size_t tab = text.find('\t');
  label = text.substr(0, tab);
  shortcut = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

}  // namespace

SystemMenu::SystemMenu(platform::CodePage cp) : m_cp(cp) { Reset(); }

void SystemMenu::Reset() {
  m_items.clear();
  m_items.push_back({framework::kMfGrayed, framework::kScMove, Local("移動(&M)", "&Move")});
  m_items.push_back({framework::kMfString, framework::kScClose,
                     Local("閉じる(&C)\tAlt+F4", "&Close\tAlt+F4")});
}

BOOL SystemMenu::AppendMenu(framework::UINT nFlags, framework::UINT nIDNewItem, const char* lpszNewItem) {
  m_items.push_back({nFlags, nIDNewItem, lpszNewItem != nullptr ? lpszNewItem : ""});
  return TRUE;
}

bool SystemMenu::Selectable(std::size_t i) const {
  return (m_items[i].flags & (framework::kMfSeparator | framework::kMfGrayed)) == 0;
}

void SystemMenu::Open() {
  m_selected = 0;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (Selectable(i)) {
      m_selected = i;
      return;
    }
  }
}

void SystemMenu::Step(int direction) {
  const int n = static_cast<int>(m_items.size());
  for (int k = 1; k <= n; ++k) {
    const int i = ((static_cast<int>(m_selected) + direction * k) % n + n) % n;
    if (Selectable(static_cast<std::size_t>(i))) {
      m_selected = static_cast<std::size_t>(i);
      return;
    }
  }
}

MenuAnswer SystemMenu::OnKey(const Key& key, framework::UINT& chosen) {
  switch (key.kind) {
    case KeyKind::Up:
    case KeyKind::BackTab:
      Step(-1);
      return MenuAnswer::Stay;
    case KeyKind::Down:
    case KeyKind::Tab:
      Step(1);
      return MenuAnswer::Stay;
    case KeyKind::Enter:
    case KeyKind::Space:
      if (m_selected < m_items.size() && Selectable(m_selected)) {
        chosen = m_items[m_selected].id;
        return MenuAnswer::Chosen;
      }
      return MenuAnswer::Stay;
    case KeyKind::Escape:
    case KeyKind::AltSpace:
    case KeyKind::F10:
    case KeyKind::Interrupt:
      return MenuAnswer::Close;
    case KeyKind::Char: {
      const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(key.ch)));
      for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (Selectable(i) && Mnemonic(m_items[i].text) == letter) {
          chosen = m_items[i].id;
          return MenuAnswer::Chosen;
        }
      }
      return MenuAnswer::Stay;
    }
    default:
      return MenuAnswer::Stay;
  }
}

void SystemMenu::Paint(Canvas& canvas, int row, int col) const {
  int labelWidth = 0;
  int shortcutWidth = 0;
  for (const Item& item : m_items) {
    std::string label, shortcut;
    SplitShortcut(item.text, label, shortcut);
    const int lw = Width(ToGlyphs(label, m_cp, true));
    const int sw = Width(ToGlyphs(shortcut, m_cp));
    if (lw > labelWidth) labelWidth = lw;
    if (sw > shortcutWidth) shortcutWidth = sw;
  }
  const int inner = labelWidth + (shortcutWidth > 0 ? shortcutWidth + 3 : 0) + 2;
  const CellRect box{col, row, col + inner + 2, row + static_cast<int>(m_items.size()) + 2};
  const BoxStyle& style = LightBox(m_cp);
  canvas.Fill(box, Attr());
  canvas.Box(box, style, Attr());
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    const int r = row + 1 + static_cast<int>(i);
    const Item& item = m_items[i];
    if ((item.flags & framework::kMfSeparator) != 0) {
      canvas.HLine(r, box.left, box.right, style, Attr(), true);
      continue;
    }
    Attr a;
    a.reverse = i == m_selected;
    a.dim = (item.flags & framework::kMfGrayed) != 0;
    canvas.Fill(CellRect{box.left + 1, r, box.right - 1, r + 1}, a);
    std::string label, shortcut;
    SplitShortcut(item.text, label, shortcut);
    canvas.PutLine(r, box.left + 2, ToGlyphs(label, m_cp, true), a);
    if (!shortcut.empty()) {
      const GlyphLine s = ToGlyphs(shortcut, m_cp);
      canvas.PutLine(r, box.right - 2 - Width(s), s, a);
    }
  }
}

}  // namespace terminal
