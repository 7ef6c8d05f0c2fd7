// Folders, settings, the clock and texts of the Win32 backend, and Native().
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <vector>

namespace platform {

std::string Win32Platform::CurrentDirectory() {
  char buffer[MAX_PATH];
  DWORD n = GetCurrentDirectoryA(MAX_PATH, buffer);
  if (n == 0 || n >= MAX_PATH) return std::string();  // failed, or does not fit
  return std::string(buffer, n);
}

std::string Win32Platform::DriveRoot(const std::string& drive) { return drive + ":\\"; }

int Win32Platform::ProfileInt(const std::string& section, const std::string& key,
                              int defaultValue, const std::string& path) {
  return static_cast<int>(
      GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path.c_str()));
}

std::string Win32Platform::ProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue,
                                         std::size_t bufferSize, const std::string& path) {
  if (bufferSize == 0) return std::string();
  std::vector<char> buffer(bufferSize, '\0');
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                     buffer.data(), static_cast<DWORD>(bufferSize),
                                     path.c_str());
  return std::string(buffer.data(), n);
}

LocalTime Win32Platform::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  LocalTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  return t;
}

CodePage Win32Platform::AnsiCodePage() {
  switch (GetACP()) {
    case 932: return CodePage::Cp932;
    case CP_UTF8: return CodePage::Utf8;
    default: return CodePage::SingleByte;
  }
}

// Through UTF-16; the text stays as it was where a step fails.
std::string Win32Platform::FromUtf8(const std::string& utf8) {
  if (utf8.empty() || GetACP() == CP_UTF8) return utf8;
  const int inLength = static_cast<int>(utf8.size());
  int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, nullptr, 0);
  if (wide <= 0) return utf8;
  std::vector<wchar_t> utf16(static_cast<std::size_t>(wide));
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, utf16.data(),
                          wide) != wide) {
    return utf8;
  }
  int bytes = WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return utf8;
  std::string out(static_cast<std::size_t>(bytes), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, &out[0], bytes, nullptr, nullptr) !=
      bytes) {
    return utf8;
  }
  return out;
}

Platform& Native() {
  static Win32Platform native;
  return native;
}

}  // namespace platform
