// Dialogs of the POSIX backend, drawn on the controlling terminal from the
// program's portable templates. Keys become the messages the Windows dialog
// manager would send (Enter and Space the button's click, Esc the cancel
// command, Alt+Space and F10 the system menu), and they pass through the
// dialog's message maps first; what the maps leave alone gets the default
// processing of a Windows dialog, done here.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Platform.h"
#include "platform/posix/TerminalCanvas.h"
#include "platform/posix/TerminalLayout.h"
#include "platform/posix/TerminalMenu.h"
#include "platform/posix/TerminalSession.h"
#include "platform/posix/TerminalText.h"

namespace framework {

namespace {

using terminal::Attr;
using terminal::Canvas;
using terminal::CellRect;
using terminal::Event;
using terminal::EventKind;
using terminal::KeyKind;

class TerminalHost;

// The session and the dialogs on the screen, lowest first.
struct Screen {
  std::unique_ptr<terminal::Session> session;
  std::vector<TerminalHost*> stack;
  platform::CodePage cp = platform::CodePage::Utf8;
};

Screen& TheScreen() {
  static Screen screen;
  return screen;
}

void Repaint();

bool IsPushButton(const ControlTemplate& c) {
  const std::uint32_t type = c.style & kBsTypeMask;
  return c.controlClass == ControlClass::Button &&
         (type == kBsPushButton || type == kBsDefPushButton);
}

class TerminalHost : public DialogHost {
 public:
  TerminalHost(Dialog& dialog, const DialogTemplate& t, TerminalHost* owner)
      : m_dialog(dialog), m_t(t), m_owner(owner), m_menu(TheScreen().cp) {
    for (std::size_t i = 0; i < t.controlCount; ++i) {
      const char* text = t.controls[i].text;
      m_texts.push_back(text != nullptr ? platform::Current().FromUtf8(text) : std::string());
      if (m_focus < 0 && (t.controls[i].style & kWsTabStop) != 0) m_focus = static_cast<int>(i);
    }
    m_title = platform::Current().FromUtf8(t.title != nullptr ? t.title : "");
  }

  // --- DialogHost ---
  void SetItemText(int id, const std::string& text) override {
    const int i = IndexOf(id);
    if (i < 0) return;
    m_texts[static_cast<std::size_t>(i)] = text;
    if (m_shown) Repaint();
  }
  std::string GetItemText(int id) override {
    const int i = IndexOf(id);
    return i < 0 ? std::string() : m_texts[static_cast<std::size_t>(i)];
  }
  void SetTitle(const std::string& text) override {
    m_title = text;
    if (m_shown) Repaint();
  }
  void End(int result) override {
    m_ended = true;
    m_result = result;
  }
  Menu* SystemMenu(bool revert) override {
    if ((m_t.style & kWsSysMenu) == 0) return nullptr;
    if (revert) m_menu.Reset();
    return &m_menu;
  }
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override {
    LRESULT result = 0;
    if (m_dialog.OnWndMsg(message, wParam, lParam, &result)) return result;
    return DefaultProcessing(message, wParam, lParam);
  }
  bool Iconic() override { return false; }  // a terminal dialog is never minimized
  Rect ClientRect() override {
    const CellRect c = terminal::ClientCells(m_t);
    return Rect{0, 0, c.right, c.bottom};
  }
  void* BeginPaint() override { return m_canvas; }
  void EndPaint(void*) override {}
  void DrawIcon(void* dc, int x, int y, HICON) override {
    if (dc == nullptr) return;
    const CellRect client = Client();
    DrawEmblem(*static_cast<Canvas*>(dc), CellRect{client.left + x, client.top + y,
                                                   client.left + x + 5, client.top + y + 3});
  }

  // The modal loop: until the dialog ends.
  int Run() {
    m_shown = true;
    Repaint();
    terminal::Session& session = *TheScreen().session;
    while (!m_ended) {
      const Event e = session.Next();
      if (e.kind == EventKind::Resize) {
        Repaint();
      } else if (e.kind == EventKind::Abandon) {
        Command(IDCANCEL);
        if (!m_ended) End(IDCANCEL);
      } else if (HandleKey(e.key) && !m_ended) {
        // Keys typed while a handler ran (the update) were not meant for
        // what the dialog shows now.
        session.DiscardInput();
        Repaint();
      }
    }
    return m_result;
  }

  // Frame, caption and, through the paint message, the controls.
  void Paint(Canvas& canvas) {
    const platform::CodePage cp = TheScreen().cp;
    const CellRect frame = Frame(canvas);
    canvas.ClearClip();
    canvas.Fill(frame, Attr());
    canvas.Box(frame, terminal::LightBox(cp), Attr());
    Attr caption;
    caption.reverse = true;
    canvas.SetClip(CellRect{frame.left + 1, frame.top, frame.right - 1, frame.top + 1});
    canvas.Fill(CellRect{frame.left + 1, frame.top, frame.right - 1, frame.top + 1}, caption);
    canvas.PutLine(frame.top, frame.left + 2, terminal::ToGlyphs(m_title, cp), caption);
    canvas.SetClip(Client());
    m_canvas = &canvas;
    Send(kWmPaint, 0, 0);
    m_canvas = nullptr;
    canvas.ClearClip();
    if (m_menuOpen) m_menu.Paint(canvas, frame.top + 1, frame.left + 1);
  }

 private:
  int IndexOf(int id) const {
    for (std::size_t i = 0; i < m_t.controlCount; ++i) {
      if (m_t.controls[i].id == id) return static_cast<int>(i);
    }
    return -1;
  }

  CellRect Frame(const Canvas& canvas) const {
    const CellRect client = terminal::ClientCells(m_t);
    const int width = client.Width() + 2;
    const int height = client.Height() + 2;
    // Centred over the owner, or on the screen; never off its top left.
    CellRect around{0, 0, canvas.Cols(), canvas.Rows()};
    if (m_owner != nullptr) around = m_owner->Frame(canvas);
    int left = around.left + (around.Width() - width) / 2;
    int top = around.top + (around.Height() - height) / 2;
    if (left + width > canvas.Cols()) left = canvas.Cols() - width;
    if (top + height > canvas.Rows()) top = canvas.Rows() - height;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    return CellRect{left, top, left + width, top + height};
  }

  CellRect Client() const {
    const Canvas& canvas = *m_canvasForLayout;
    const CellRect f = Frame(canvas);
    return CellRect{f.left + 1, f.top + 1, f.right - 1, f.bottom - 1};
  }

  LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case kWmSysCommand:
        switch (static_cast<UINT>(wParam) & 0xFFF0u) {
          case kScClose:  // as the dialog manager turns a close into cancel
            Command(IDCANCEL);
            break;
          case kScKeyMenu:
            RunSystemMenu();
            break;
          default:
            break;
        }
        return 0;
      case kWmPaint:
        if (m_canvas != nullptr) PaintControls(*m_canvas);
        return 0;
      case kWmSetIcon: {
        HICON& slot = wParam == kIconBig ? m_bigIcon : m_smallIcon;
        HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(previous);
      }
      default:
        return 0;
    }
  }

  void Command(int id) { Send(kWmCommand, MakeWParam(static_cast<UINT>(id), kBnClicked), 0); }

  int DefaultButtonId() const {
    for (std::size_t i = 0; i < m_t.controlCount; ++i) {
      if (IsPushButton(m_t.controls[i]) && (m_t.controls[i].style & kBsTypeMask) == kBsDefPushButton)
        return m_t.controls[i].id;
    }
    return IDOK;
  }

  const ControlTemplate* Focused() const {
    return m_focus >= 0 ? &m_t.controls[static_cast<std::size_t>(m_focus)] : nullptr;
  }

  void MoveFocus(int step) {
    const int n = static_cast<int>(m_t.controlCount);
    for (int k = 1; k <= n; ++k) {
      const int i = ((m_focus < 0 ? 0 : m_focus) + step * k % n + n) % n;
      if ((m_t.controls[i].style & kWsTabStop) != 0) {
        m_focus = i;
        return;
      }
    }
  }

  // True when the key sent the dialog a message.
  bool HandleKey(const terminal::Key& key) {
    const ControlTemplate* focused = Focused();
    switch (key.kind) {
      case KeyKind::Enter:
        Command(focused != nullptr && IsPushButton(*focused) ? focused->id : DefaultButtonId());
        return true;
      case KeyKind::Space:
        if (focused == nullptr || focused->controlClass != ControlClass::Button) return false;
        Command(focused->id);
        return true;
      case KeyKind::Escape:
      case KeyKind::Interrupt:
        Command(IDCANCEL);
        return true;
      case KeyKind::AltSpace:
        Send(kWmSysCommand, kScKeyMenu, ' ');
        return true;
      case KeyKind::F10:
        Send(kWmSysCommand, kScKeyMenu, 0);
        return true;
      case KeyKind::AltF4:
        Send(kWmSysCommand, kScClose, 0);
        return true;
      case KeyKind::Tab:
      case KeyKind::BackTab:
        MoveFocus(key.kind == KeyKind::Tab ? 1 : -1);
        Repaint();
        return false;
      default:
        return false;
    }
  }

  void RunSystemMenu() {
    if ((m_t.style & kWsSysMenu) == 0) return;
    terminal::Session& session = *TheScreen().session;
    m_menuOpen = true;
    m_menu.Open();
    Repaint();
    UINT chosen = 0;
    bool done = false;
    while (!done) {
      const Event e = session.Next();
      if (e.kind == EventKind::Abandon) break;
      if (e.kind == EventKind::Resize) {
        Repaint();
        continue;
      }
      switch (m_menu.OnKey(e.key, chosen)) {
        case terminal::MenuAnswer::Stay:
          Repaint();
          break;
        case terminal::MenuAnswer::Close:
          done = true;
          break;
        case terminal::MenuAnswer::Chosen:
          done = true;
          break;
      }
    }
    m_menuOpen = false;
    Repaint();
    // As on Windows, the chosen item comes as a system command once the menu
    // has closed.
    if (chosen != 0) Send(kWmSysCommand, chosen, 0);
  }

  void PaintControls(Canvas& canvas) {
    const CellRect client = Client();
    for (std::size_t i = 0; i < m_t.controlCount; ++i) {
      const ControlTemplate& c = m_t.controls[i];
      CellRect r = terminal::ControlCells(c);
      r = CellRect{client.left + r.left, client.top + r.top, client.left + r.right, client.top + r.bottom};
      canvas.SetClip(client);
      PaintControl(canvas, c, r, m_texts[i], static_cast<int>(i) == m_focus);
    }
    canvas.SetClip(client);
  }

  void PaintControl(Canvas& canvas, const ControlTemplate& c, const CellRect& r,
                    const std::string& text, bool focused) {
    const platform::CodePage cp = TheScreen().cp;
    if (c.controlClass == ControlClass::Static && (c.style & kSsTypeMask) == kSsIcon) {
      DrawEmblem(canvas, r);
      return;
    }
    if (c.controlClass == ControlClass::Button) {
      if ((c.style & kBsTypeMask) == kBsGroupBox) {
        canvas.Box(r, terminal::LightBox(cp), Attr());
        if (!text.empty()) {
          terminal::GlyphLine label = terminal::ToGlyphs(" " + text + " ", cp, true);
          canvas.PutLine(r.top, r.left + 2, label, Attr());
        }
        return;
      }
      const bool isDefault = (c.style & kBsTypeMask) == kBsDefPushButton;
      canvas.Box(r, isDefault ? terminal::DoubleBox(cp) : terminal::LightBox(cp), Attr());
      const CellRect inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
      terminal::GlyphLine caption = terminal::ToGlyphs(text, cp, true);
      Attr a;
      a.reverse = focused;  // the focused button shows it
      a.bold = isDefault;
      const int row = inner.top + (inner.Height() - 1) / 2;
      const int w = terminal::Width(caption);
      // The caption with a blank on each side, centred, is what shows focus.
      const int col = inner.left + (inner.Width() - w - 2) / 2;
      canvas.SetClip(Intersect(inner, Client()));
      terminal::GlyphLine padded;
      padded.push_back(terminal::Plain(" "));
      padded.insert(padded.end(), caption.begin(), caption.end());
      padded.push_back(terminal::Plain(" "));
      canvas.PutLine(row, col, padded, a);
      return;
    }
    // Statics: left, centred; one line or wrapped; sunken ones bordered.
    const bool sunken = (c.style & kSsSunken) != 0;
    const bool singleLine = (c.style & kSsCenterImage) != 0;
    const bool mnemonics = (c.style & kSsNoPrefix) == 0;
    const bool centre = (c.style & kSsTypeMask) == kSsCenter;
    CellRect area = r;
    if (sunken) {
      canvas.Box(r, terminal::LightBox(cp), Attr());
      area = CellRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    if (singleLine) {
      terminal::GlyphLine line = terminal::ToGlyphs(JoinLines(text), cp, mnemonics);
      const int row = area.top + (area.Height() - 1) / 2;
      // A text longer than the field takes the border's cells on its row,
      // so that a version stamp is never cut short.
      if (sunken && terminal::Width(line) > area.Width()) area = CellRect{r.left, row, r.right, row + 1};
      canvas.SetClip(Intersect(area, Client()));
      const int w = terminal::Width(line);
      const int col = centre ? area.left + (area.Width() - w) / 2 : area.left;
      canvas.PutLine(row, col, line, Attr());
      return;
    }
    canvas.SetClip(Intersect(area, Client()));
    const auto lines = terminal::Lines(text, cp, area.Width(), true, mnemonics);
    int row = area.top;
    for (const auto& line : lines) {
      if (row >= area.bottom) break;
      const int w = terminal::Width(line);
      canvas.PutLine(row++, centre ? area.left + (area.Width() - w) / 2 : area.left, line, Attr());
    }
  }

  static std::string JoinLines(const std::string& text) {
    std::string out;
    for (char ch : text)
      if (ch != '\r' && ch != '\n') out += ch;
    return out;
  }

  static CellRect Intersect(const CellRect& a, const CellRect& b) {
    CellRect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
               a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
  }

  // The program's icon in cells: a white arrow down onto a yellow tray, on
  // blue, as the 32 x 32 picture shows it.
  static void DrawEmblem(Canvas& canvas, const CellRect& r) {
    const bool unicode = TheScreen().cp == platform::CodePage::Utf8;
    const char* rows[3][5] = {
        {" ", " ", unicode ? "█" : "|", " ", " "},
        {" ", unicode ? "▜" : "\\", unicode ? "█" : "|", unicode ? "▛" : "/", " "},
        {" ", unicode ? "▀" : "=", unicode ? "▀" : "=", unicode ? "▀" : "=", " "},
    };
    for (int y = 0; y < 3 && r.top + y < r.bottom; ++y) {
      Attr a;
      a.bg = 44;
      a.fg = y == 2 ? 93 : 97;
      for (int x = 0; x < 5 && r.left + x < r.right; ++x) canvas.Put(r.top + y, r.left + x, terminal::Plain(rows[y][x]), a);
    }
  }

 public:
  // Layout needs the screen size; the canvas being painted gives it.
  void SetLayoutCanvas(const Canvas* canvas) { m_canvasForLayout = canvas; }

 private:
  Dialog& m_dialog;
  const DialogTemplate& m_t;
  TerminalHost* m_owner;
  std::vector<std::string> m_texts;
  std::string m_title;
  int m_focus = -1;
  bool m_shown = false;
  bool m_ended = false;
  int m_result = 0;
  terminal::SystemMenu m_menu;
  bool m_menuOpen = false;
  Canvas* m_canvas = nullptr;
  const Canvas* m_canvasForLayout = nullptr;
  HICON m_bigIcon = nullptr;
  HICON m_smallIcon = nullptr;
};

void Repaint() {
  Screen& screen = TheScreen();
  if (!screen.session) return;
  Canvas canvas(screen.session->Rows(), screen.session->Cols());
  for (TerminalHost* host : screen.stack) host->SetLayoutCanvas(&canvas);
  for (TerminalHost* host : screen.stack) host->Paint(canvas);
  screen.session->Write(canvas.Render());
}

}  // namespace

int RunModalDialog(Dialog& dialog) {
  const DialogTemplate* t = FindDialogTemplate(dialog.TemplateId());
  if (t == nullptr) return -1;
  Screen& screen = TheScreen();
  const bool first = !screen.session;
  if (first) {
    std::string error;
    screen.session.reset(terminal::Session::Open(error));
    if (!screen.session) {
      std::fprintf(stderr, "velmor2: no terminal to show the dialog on (%s)\n", error.c_str());
      return -1;
    }
    screen.cp = platform::Current().AnsiCodePage();
  }
  Dialog* owner = dialog.Owner();
  TerminalHost* ownerHost = nullptr;
  for (TerminalHost* h : screen.stack) {
    if (owner != nullptr && owner->Host() == h) ownerHost = h;
  }
  TerminalHost host(dialog, *t, ownerHost);
  screen.stack.push_back(&host);
  dialog.AttachHost(&host);
  int result = IDCANCEL;
  if (!screen.session->Abandoned()) {
    dialog.OnInitDialog();
    result = host.Run();
  }
  dialog.AttachHost(nullptr);
  screen.stack.pop_back();
  if (first) {
    screen.session.reset();  // the screen as it was before
  } else {
    Repaint();
  }
  return result;
}

}  // namespace framework
