#include "app/InstallationLock.h"

#include <cstdint>

#include "platform/MbcsText.h"

std::string InstallationLock::NameFor(const std::string& strLocalDir) {
  const std::string strKey = mbcs::ToLower(strLocalDir, platform::Current().AnsiCodePage());
  // 64-bit FNV-1a: stable across builds and runs, unlike std::hash.
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : strKey) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  static const char kHex[] = "0123456789abcdef";
  std::string strName = "velmor2-";
  for (int shift = 60; shift >= 0; shift -= 4) strName += kHex[(hash >> shift) & 0xF];
  return strName;
}

bool InstallationLock::Take(const std::string& strLocalDir) {
  if (m_hold) return true;  // taken by this run already
  m_hold = platform::Current().HoldMutex(NameFor(strLocalDir));
  return m_hold != nullptr;
}
