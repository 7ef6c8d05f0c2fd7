// Our reader of Windows profile (INI) files, giving the answers of
// GetPrivateProfileIntA and GetPrivateProfileStringA for the same file.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Platform.h"

namespace profile {

// The parsed value of section/key in the file's content, or false when the
// file lacks it.
bool FindValue(const std::string& content, const std::string& section, const std::string& key,
               std::string& value);

// GetPrivateProfileIntA on content.
int ReadInt(const std::string& content, const std::string& section, const std::string& key,
            int defaultValue);

// GetPrivateProfileStringA on content, cut to bufferSize - 1 bytes.
std::string ReadString(const std::string& content, const std::string& section,
                       const std::string& key, const std::string& defaultValue,
                       std::size_t bufferSize);

// The same with the code page given: the three above use
// platform::Current().AnsiCodePage(). A file that begins with the UTF-8
// byte-order mark is read as UTF-8 whatever the code page.
bool FindValue(const std::string& content, const std::string& section, const std::string& key,
               std::string& value, platform::CodePage cp);
int ReadInt(const std::string& content, const std::string& section, const std::string& key,
            int defaultValue, platform::CodePage cp);
std::string ReadString(const std::string& content, const std::string& section,
                       const std::string& key, const std::string& defaultValue,
                       std::size_t bufferSize, platform::CodePage cp);

}  // namespace profile
