#include "platform/posix/TerminalKeys.h"

namespace terminal {

namespace {

bool IsFinalByte(char c) { return c >= 0x40 && c <= 0x7E; }

// ESC [ params final: F10 is "21~" (with any modifier, "21;2~"), the arrows
// A and B, Shift+Tab Z, Alt+F4 "1;3S".
Key CsiKey(const std::string& params, char finalByte) {
  Key k;
  if (finalByte == '~' && (params == "21" || params.rfind("21;", 0) == 0)) k.kind = KeyKind::F10;
  else if (finalByte == 'A') k.kind = KeyKind::Up;
  else if (finalByte == 'B') k.kind = KeyKind::Down;
  else if (finalByte == 'Z') k.kind = KeyKind::BackTab;
  else if (finalByte == 'S' && params == "1;3") k.kind = KeyKind::AltF4;
  return k;
}

}  // namespace

std::size_t DecodeKey(const std::string& in, bool final, Key& key) {
  key = Key();
  if (in.empty()) return 0;
  const char c = in[0];
  if (c != '\x1b') {
    if (c == '\r' || c == '\n') key.kind = KeyKind::Enter;
    else if (c == ' ') key.kind = KeyKind::Space;
    else if (c == '\x03') key.kind = KeyKind::Interrupt;
    else if (c == '\t') key.kind = KeyKind::Tab;
    else if (c > ' ' && c < 0x7F) {
      key.kind = KeyKind::Char;
      key.ch = c;
    }
    // A multi-byte character or a control byte: one byte at a time, acted
    // on by nobody.
    return 1;
  }
  if (in.size() == 1) {
    if (!final) return 0;
    key.kind = KeyKind::Escape;
    return 1;
  }
  const char second = in[1];
  if (second == ' ') {
    key.kind = KeyKind::AltSpace;
    return 2;
  }
  if (second == '[') {
    std::size_t i = 2;
    while (i < in.size() && !IsFinalByte(in[i])) ++i;
    if (i >= in.size()) {
      if (!final) return 0;
      return in.size();  // a cut sequence: dropped whole
    }
    key = CsiKey(in.substr(2, i - 2), in[i]);
    return i + 1;
  }
  if (second == 'O') {  // SS3: arrows in application mode, F1-F4
    if (in.size() < 3) {
      if (!final) return 0;
      return 2;
    }
    if (in[2] == 'A') key.kind = KeyKind::Up;
    else if (in[2] == 'B') key.kind = KeyKind::Down;
    return 3;
  }
  if (second == '\x1b') {
    key.kind = KeyKind::Escape;  // Esc pressed twice: the first one
    return 1;
  }
  return 2;  // Alt with another key: nothing here
}

}  // namespace terminal
