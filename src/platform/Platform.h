// The one interface between the updater and the operating system.
//
// Everything the core needs from the system goes through a Platform object:
// the win32 backend calls the Win32 API, the posix backend maps each service as
// documented in docs/platform.md. Tests swap the current object for a wrapper
// (fault injection, a fixed clock) without touching the logic above it.
//
// Texts are bytes in the ANSI code page. Paths are folder texts with the
// platform's separator ('\' on Windows, '/' on POSIX) and are used as given.
// No function here throws; failures are results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Attribute bits, Windows values on both backends.
constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFFu;
constexpr std::uint32_t kAttrReadOnly = 0x1;
constexpr std::uint32_t kAttrHidden = 0x2;
constexpr std::uint32_t kAttrSystem = 0x4;
constexpr std::uint32_t kAttrDirectory = 0x10;
constexpr std::uint32_t kAttrArchive = 0x20;
constexpr std::uint32_t kAttrReparsePoint = 0x400;

enum class FileAccess {
  Read,           // existing file, read only
  WriteExisting,  // existing file, write, not truncated
  CreateWrite,    // create, or empty an existing file, for writing
};

enum class FileShare {
  None,  // nobody else may open the file while it is open here
  Read,  // others may open it for reading
};

// An open file. Raw bytes: text mode is TextFile's business.
class File {
 public:
  virtual ~File() = default;  // closes the file if Close was not called
  // Up to size bytes into buffer: the count read, 0 at the end, -1 on error.
  virtual long long Read(void* buffer, std::size_t size) = 0;
  virtual bool Write(const void* data, std::size_t size) = 0;
  virtual bool SeekToEnd() = 0;
  // Flushes and closes; false when that fails. Further calls fail.
  virtual bool Close() = 0;
};

struct FolderEntry {
  std::string name;   // as the file system reports it
  bool isFolder = false;
  bool isLink = false;  // symbolic link or junction (reparse point)
};

// One folder's entries, "." and ".." left out, in the file system's order.
class FolderSearch {
 public:
  virtual ~FolderSearch() = default;
  // The next entry; false when there is none left.
  virtual bool Next(FolderEntry& entry) = 0;
};

// A named mutex held for the lifetime of this object.
class MutexHold {
 public:
  virtual ~MutexHold() = default;
};

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

enum class CodePage {
  SingleByte,  // every byte is one character
  Cp932,       // Shift_JIS: lead bytes 0x81-0x9F and 0xE0-0xFC
  Utf8,
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- folders and settings ---
  virtual char Separator() const = 0;
  // The current directory as the system gives it (no final separator unless
  // it is a root). Empty when it cannot be had or is longer than 259 bytes.
  virtual std::string CurrentDirectory() = 0;
  // The root folder text of the server drive named by drive: "S:\" on
  // Windows; $VELMOR_DRIVE_<drive> or /mnt/<drive>, then "/", on POSIX.
  virtual std::string DriveRoot(const std::string& drive) = 0;
  virtual int ProfileInt(const std::string& section, const std::string& key,
                         int defaultValue, const std::string& path) = 0;
  // The value cut to bufferSize - 1 bytes, as GetPrivateProfileStringA does.
  virtual std::string ProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue,
                                    std::size_t bufferSize, const std::string& path) = 0;

  // --- files and folders ---
  // Null when the file cannot be opened.
  virtual std::unique_ptr<File> OpenFile(const std::string& path, FileAccess access,
                                         FileShare share) = 0;
  // kInvalidAttributes when nothing exists at path.
  virtual std::uint32_t GetAttributes(const std::string& path) = 0;
  // Replaces every attribute by the archive bit alone (makes the file writable).
  virtual bool SetArchiveOnly(const std::string& path) = 0;
  // Fails for a read-only file, a folder and a missing path. A link is
  // removed itself, never what it points to.
  virtual bool RemoveFile(const std::string& path) = 0;
  // Fails unless the folder is empty. A link to a folder is removed itself.
  virtual bool RemoveFolder(const std::string& path) = 0;
  // failIfExists: refuse any existing destination. Otherwise replace it in
  // whole (temporary file beside it, then rename over it), so that after an
  // interruption it holds its old or its new content. Fails where the
  // destination is read-only or in use.
  virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
  // Moves from over to in one step, replacing to: nothing is copied, so it
  // needs no free space. Fails where to is read-only, a folder or in use, and
  // where the two lie on different volumes. A rollback falls back on it when
  // a copy back cannot be made (a full disk).
  virtual bool RenameOver(const std::string& from, const std::string& to) = 0;
  // Makes everything written so far to the file system that holds folder
  // durable. Copies themselves do not wait for the disk; the update calls
  // this once, before the step that must not reach the disk ahead of the
  // others (the local version stamp). False when the system refuses.
  virtual bool FlushFileSystem(const std::string& folder) = 0;
  // Creates every missing folder of path up to its last separator.
  virtual bool CreateFolders(const std::string& path) = 0;
  // Null when the folder cannot be opened for listing.
  virtual std::unique_ptr<FolderSearch> SearchFolder(const std::string& folder) = 0;

  // --- processes ---
  // True when a mutex of that name exists (held by a running program).
  virtual bool MutexExists(const std::string& name) = 0;
  // Null when the mutex cannot be created or is held already.
  virtual std::unique_ptr<MutexHold> HoldMutex(const std::string& name) = 0;
  // Starts korvan.exe from the current directory with the parameter text, or
  // with no parameter at all for null. Does not wait. True when started; a
  // failed start is reported to the user by the backend.
  virtual bool StartMainProgram(const char* parameters) = 0;

  // --- clock and text ---
  virtual LocalTime Now() = 0;
  virtual CodePage AnsiCodePage() = 0;
  // A text held in the source as UTF-8, in the ANSI code page.
  virtual std::string FromUtf8(const std::string& utf8) = 0;
};

// The platform the core uses: the native backend unless a test set another.
Platform& Current();
// Installs p (not owned); null restores the native backend.
void SetCurrent(Platform* p);
// The real backend of this build.
Platform& Native();

}  // namespace platform
