// Texts as bytes in the ANSI code page, walked character by character so that
// the trail byte of a double-byte character (0x5C in 表, ソ, 十) never begins
// a match. Every function takes the code page explicitly; the core passes
// platform::Current().AnsiCodePage().
#pragma once

#include <cstddef>
#include <string>

#include "platform/Platform.h"

namespace mbcs {

// Bytes taken by the character that starts at text[pos] (1 for a lone lead
// byte at the end of the text or an invalid UTF-8 sequence).
std::size_t CharLength(const std::string& text, std::size_t pos, platform::CodePage cp);

// Position of the first occurrence of needle that starts on a character
// boundary at or after from, or std::string::npos.
std::size_t Find(const std::string& text, const std::string& needle, platform::CodePage cp,
                 std::size_t from = 0);

// Every occurrence of from, left to right without overlap, replaced by to.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to,
                       platform::CodePage cp);

// A-Z lowered in single-byte characters only; double-byte characters stay.
std::string ToLower(const std::string& text, platform::CodePage cp);

// Multi-byte comparison: a double-byte character counts as lead * 256 + trail,
// a single byte as its unsigned value; a prefix sorts first. <0, 0, >0.
int Compare(const std::string& a, const std::string& b, platform::CodePage cp);

// Position of the last occurrence of the single-byte character c on a
// character boundary, or npos.
std::size_t FindLastChar(const std::string& text, char c, platform::CodePage cp);

}  // namespace mbcs
