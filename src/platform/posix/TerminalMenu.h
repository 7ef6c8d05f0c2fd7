// The system menu of a terminal dialog: the window's own items (move, shown
// greyed since a terminal dialog cannot move, and close), then whatever the
// program appends. Opened with Alt+Space or F10 below the caption.
#pragma once

#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/posix/TerminalCanvas.h"
#include "platform/posix/TerminalKeys.h"

namespace terminal {

enum class MenuAnswer { Stay, Close, Chosen };

class SystemMenu : public framework::Menu {
 public:
  explicit SystemMenu(platform::CodePage cp);
  BOOL AppendMenu(framework::UINT nFlags, framework::UINT nIDNewItem, const char* lpszNewItem) override;

  void Reset();  // the window's own items only
  void Open();   // the first item that can be chosen is selected
  // Up and Down move, Enter or Space chooses, a mnemonic letter chooses its
  // item, Esc (and Alt+Space, F10, Ctrl+C) closes.
  MenuAnswer OnKey(const Key& key, framework::UINT& chosen);
  // Drawn with its top left corner at row, col.
  void Paint(Canvas& canvas, int row, int col) const;

 private:
  struct Item {
    framework::UINT flags;
    framework::UINT id;
    std::string text;  // ANSI code page; "\t" before the shortcut
  };
  bool Selectable(std::size_t i) const;
  void Step(int direction);

  platform::CodePage m_cp;
  std::vector<Item> m_items;
  std::size_t m_selected = 0;
};

}  // namespace terminal
