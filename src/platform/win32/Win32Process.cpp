// Named mutexes and the start of the main program on Windows.
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>

namespace platform {

namespace {

class Win32MutexHold final : public MutexHold {
 public:
  explicit Win32MutexHold(HANDLE handle) : m_handle(handle) {}
  ~Win32MutexHold() override { CloseHandle(m_handle); }
  Win32MutexHold(const Win32MutexHold&) = delete;
  Win32MutexHold& operator=(const Win32MutexHold&) = delete;

 private:
  HANDLE m_handle;
};

}  // namespace

// Any mutex of that name counts, whoever holds it; a probe keeps nothing.
bool Win32Platform::MutexExists(const std::string& name) {
  HANDLE h = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str());
  if (h == nullptr) return false;
  CloseHandle(h);
  return true;
}

std::unique_ptr<MutexHold> Win32Platform::HoldMutex(const std::string& name) {
  HANDLE h = CreateMutexA(nullptr, FALSE, name.c_str());
  if (h == nullptr) return nullptr;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(h);
    return nullptr;
  }
  return std::make_unique<Win32MutexHold>(h);
}

// korvan.exe by its bare name, looked up by the system from the current
// directory. A failed start is reported by the shell's own message box. The
// process handle handed back is left to the end of this process.
bool Win32Platform::StartMainProgram(const char* parameters) {
  SHELLEXECUTEINFOA info;
  ZeroMemory(&info, sizeof info);
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = nullptr;
  info.lpVerb = "open";
  info.lpFile = "korvan.exe";
  info.lpParameters = parameters;
  info.lpDirectory = nullptr;
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExA(&info) != FALSE;
}

}  // namespace platform
