// Attributes, removal, copy and folder creation of the Win32 backend.
#include "platform/win32/Win32Platform.h"

#include <cstring>

#include <windows.h>
#include <imagehlp.h>

// windows.h maps CopyFile to CopyFileA; the member keeps its own name.
#undef CopyFile

namespace platform {

namespace {

// Suffix of the temporary file that a copy with replace writes beside its
// destination; the next copy to the same destination removes a leftover.
constexpr const char* kCopyTempSuffix = ".velmor-tmp";

// A file of our own that may carry the source's read-only attribute.
void RemoveOwnFile(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

// CopyFileA to a temporary file, then one rename over the destination: the
// destination holds its old or its new content, never a part.
bool CopyReplacing(const std::string& from, const std::string& to) {
  DWORD existing = GetFileAttributesA(to.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES &&
      (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const std::string temp = to + kCopyTempSuffix;
  if (GetFileAttributesA(temp.c_str()) != INVALID_FILE_ATTRIBUTES) RemoveOwnFile(temp);
  if (!CopyFileA(from.c_str(), temp.c_str(), FALSE)) return false;
  if (!MoveFileExA(temp.c_str(), to.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    RemoveOwnFile(temp);
    SetLastError(error);
    return false;
  }
  return true;
}

}  // namespace

std::uint32_t Win32Platform::GetAttributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

bool Win32Platform::SetArchiveOnly(const std::string& path) {
  return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE) != FALSE;
}

bool Win32Platform::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32Platform::RemoveFolder(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

// Without MOVEFILE_COPY_ALLOWED: across volumes it fails rather than copy.
bool Win32Platform::RenameOver(const std::string& from, const std::string& to) {
  DWORD existing = GetFileAttributesA(to.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES &&
      (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Every replace already goes through MoveFileExA with MOVEFILE_WRITE_THROUGH,
// and flushing a whole volume needs rights a client does not have.
bool Win32Platform::FlushFileSystem(const std::string&) { return true; }

bool Win32Platform::CopyFile(const std::string& from, const std::string& to,
                             bool failIfExists) {
  // Wine's CopyFileA writes past MAX_PATH where its other ANSI functions
  // (rename, delete) refuse: such a copy would leave a file behind that
  // nothing can remove. Refused before anything is written.
  const std::size_t nWritten = to.size() + (failIfExists ? 0 : std::strlen(kCopyTempSuffix));
  if (nWritten >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  if (failIfExists) return CopyFileA(from.c_str(), to.c_str(), TRUE) != FALSE;
  return CopyReplacing(from, to);
}

bool Win32Platform::CreateFolders(const std::string& path) {
  return MakeSureDirectoryPathExists(path.c_str()) != FALSE;
}

}  // namespace platform
