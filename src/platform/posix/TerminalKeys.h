// Keys of the terminal dialog, decoded from the bytes a terminal sends.
#pragma once

#include <cstddef>
#include <string>

namespace terminal {

enum class KeyKind {
  None,       // nothing to act on (an unknown sequence)
  Enter,
  Space,
  Escape,
  Interrupt,  // Ctrl+C
  AltSpace,
  F10,
  AltF4,
  Up,
  Down,
  Tab,
  BackTab,
  Char,       // a printable ASCII character
};

struct Key {
  KeyKind kind = KeyKind::None;
  char ch = 0;  // for Char
};

// Decodes the first key of input. Returns the bytes it takes, or 0 when
// input may be the beginning of a longer sequence and more bytes may
// follow (final false). With final set, a lone ESC is the Escape key.
std::size_t DecodeKey(const std::string& input, bool final, Key& key);

}  // namespace terminal
