// Open files of the Win32 backend: CreateFileA handles, with share mode 0 or
// FILE_SHARE_READ as the caller asks.
#include "platform/win32/Win32Platform.h"

#include <windows.h>

namespace platform {

namespace {

class Win32File final : public File {
 public:
  explicit Win32File(HANDLE handle) : m_handle(handle) {}
  ~Win32File() override { Close(); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  long long Read(void* buffer, std::size_t size) override {
    if (m_handle == INVALID_HANDLE_VALUE) return -1;
    DWORD want = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(m_handle, buffer, want, &got, nullptr)) return -1;
    return static_cast<long long>(got);
  }

  bool Write(const void* data, std::size_t size) override {
    if (m_handle == INVALID_HANDLE_VALUE) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(m_handle, p, chunk, &written, nullptr) || written == 0) return false;
      p += written;
      size -= written;
    }
    return true;
  }

  bool SeekToEnd() override {
    if (m_handle == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    return SetFilePointerEx(m_handle, zero, nullptr, FILE_END) != FALSE;
  }

  bool Close() override {
    if (m_handle == INVALID_HANDLE_VALUE) return false;
    HANDLE h = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != FALSE;
  }

 private:
  HANDLE m_handle;
};

}  // namespace

std::unique_ptr<File> Win32Platform::OpenFile(const std::string& path, FileAccess access,
                                              FileShare share) {
  DWORD desired = GENERIC_READ;
  DWORD disposition = OPEN_EXISTING;
  switch (access) {
    case FileAccess::Read: break;
    case FileAccess::WriteExisting: desired = GENERIC_WRITE; break;
    case FileAccess::CreateWrite:
      desired = GENERIC_WRITE;
      disposition = CREATE_ALWAYS;
      break;
  }
  DWORD shareMode = share == FileShare::Read ? FILE_SHARE_READ : 0;
  HANDLE h = CreateFileA(path.c_str(), desired, shareMode, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32File>(h);
}

}  // namespace platform
