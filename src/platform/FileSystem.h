// The file service: Windows paths in UTF-8, Windows share modes, attributes,
// times and error codes. Both backends implement it (the simulated machine
// and the real Win32 one), so kit code sees the same rules everywhere: a
// refusal raises platform::OsError naming the Windows call and its code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/DateTime.h"
#include "platform/OsError.h"

namespace platform {

// Windows error codes the file service raises beyond those of OsError.h.
enum : uint32_t {
  kErrorNotSameDevice = 17,
  kErrorBadNetPath = 53,
  kErrorNegativeSeek = 131,
  kErrorFilenameExcedRange = 206,
  kErrorDirectory = 267,
};

// A Windows FILETIME: 100-nanosecond intervals since 1601-01-01 00:00 UTC.
using FileTime = uint64_t;

// Attribute bits with their Windows values. The simulated machine keeps
// ReadOnly (and Directory); it reports every file with Archive set, as
// Windows does for files it has written.
enum : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
};

// Access and share bits (GENERIC_READ/GENERIC_WRITE reduced to two bits;
// share bits have the FILE_SHARE_* values).
enum : uint32_t { kAccessRead = 1, kAccessWrite = 2 };
enum : uint32_t { kShareNone = 0, kShareRead = 1, kShareWrite = 2, kShareDelete = 4 };

// CreateFile dispositions with their Windows numbers.
enum class Disposition : uint32_t {
  CreateNew = 1,         // fails with ERROR_FILE_EXISTS when the file exists
  CreateAlways = 2,      // creates or truncates
  OpenExisting = 3,      // fails with ERROR_FILE_NOT_FOUND when absent
  OpenAlways = 4,        // opens or creates
  TruncateExisting = 5,  // opens and truncates; needs write access
};

enum class SeekOrigin { Begin = 0, Current = 1, End = 2 };

// MoveFileEx flags (their Windows values). Delayed moves (until reboot) are
// a later service.
enum : uint32_t { kMoveReplaceExisting = 1, kMoveCopyAllowed = 2 };

struct FileInfo {
  uint32_t attributes = 0;
  uint64_t size = 0;  // 0 for directories
  FileTime lastWrite = 0;
  bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
};

// One entry of a directory listing, as FindFirstFile/FindNextFile give it.
struct DirEntry {
  std::string name;  // the name's stored case
  uint32_t attributes = 0;
  uint64_t size = 0;
  FileTime lastWrite = 0;
  bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
};

struct DiskSpace {
  uint64_t freeBytes = 0;
  uint64_t totalBytes = 0;
};

// An open file. Every call either does all its work or raises OsError and
// leaves the file as it was (a failed Write writes nothing). The destructor
// closes the handle and never throws.
class File {
 public:
  virtual ~File() = default;

  // The full Windows path the file was opened by.
  virtual const std::string& Path() const = 0;
  // Reads up to `count` bytes at the current position; fewer at the end of
  // the file, 0 at or past it (ReadFile).
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes all `count` bytes or nothing (WriteFile; ERROR_DISK_FULL when the
  // drive has no room for them).
  virtual void Write(const void* data, size_t count) = 0;
  // Moves the position and returns it; a negative result raises
  // ERROR_NEGATIVE_SEEK; positions past the end are allowed (SetFilePointerEx).
  virtual uint64_t Seek(int64_t offset, SeekOrigin origin) = 0;
  virtual uint64_t Position() = 0;
  virtual uint64_t Size() = 0;
  // Cuts or extends the file at the current position (SetEndOfFile).
  virtual void SetEndOfFile() = 0;
  virtual FileTime LastWriteTime() = 0;
  // An explicit time stays, whatever is written afterwards through this
  // handle (SetFileTime).
  virtual void SetLastWriteTime(FileTime time) = 0;
  // Closes now; later calls other than Close raise ERROR_INVALID_HANDLE.
  virtual void Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // CreateFileW. `access` is kAccessRead and/or kAccessWrite; `share` the
  // kShare* bits other handles may keep or take. A file opened by another
  // handle (of this process or another program) whose share bits refuse the
  // access, or whose access the new share bits refuse, raises
  // ERROR_SHARING_VIOLATION. Opening a directory or writing a read-only file
  // raises ERROR_ACCESS_DENIED.
  virtual std::unique_ptr<File> Open(std::string_view path, uint32_t access, uint32_t share,
                                     Disposition disposition) = 0;

  // Reads an existing file letting others read and write it (the kit's
  // "open for reading with sharing allowed").
  std::unique_ptr<File> OpenRead(std::string_view path) {
    return Open(path, kAccessRead, kShareRead | kShareWrite, Disposition::OpenExisting);
  }
  // Creates or truncates a file for writing; others may only read it.
  std::unique_ptr<File> Create(std::string_view path) {
    return Open(path, kAccessRead | kAccessWrite, kShareRead, Disposition::CreateAlways);
  }
  // Opens an existing file for reading and writing; others may only read.
  std::unique_ptr<File> OpenWrite(std::string_view path) {
    return Open(path, kAccessRead | kAccessWrite, kShareRead, Disposition::OpenExisting);
  }

  // GetFileAttributesExW. Queries never raise: an absent file, a missing
  // directory or an invalid name all answer "nothing there".
  virtual std::optional<FileInfo> Stat(std::string_view path) = 0;
  bool FileExists(std::string_view path);
  bool DirectoryExists(std::string_view path);

  // SetFileAttributesW. kAttrNormal (or 0) clears ReadOnly.
  virtual void SetAttributes(std::string_view path, uint32_t attributes) = 0;
  // SetFileTime on a path (the file is opened for writing attributes, so a
  // file held by another program refuses it).
  virtual void SetLastWriteTime(std::string_view path, FileTime time) = 0;

  // DeleteFileW: ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED for a directory or
  // a read-only file, ERROR_SHARING_VIOLATION for a file open without delete
  // sharing.
  virtual void DeleteFile(std::string_view path) = 0;
  // MoveFileExW: renames a file or directory; an existing destination needs
  // kMoveReplaceExisting (else ERROR_ALREADY_EXISTS) and is never a
  // directory; another drive needs kMoveCopyAllowed (else
  // ERROR_NOT_SAME_DEVICE) and works for files only. The source keeps its
  // last-write time. A file open without delete sharing (source or replaced
  // destination) refuses with ERROR_SHARING_VIOLATION.
  virtual void MoveFile(std::string_view from, std::string_view to, uint32_t flags) = 0;
  // CopyFileW: copies the bytes and the last-write time; with failIfExists
  // an existing destination raises ERROR_FILE_EXISTS. When it fails, an
  // existing destination is left as it was.
  virtual void CopyFile(std::string_view from, std::string_view to, bool failIfExists) = 0;

  // CreateDirectoryW: ERROR_ALREADY_EXISTS when the name is taken,
  // ERROR_PATH_NOT_FOUND when the parent is missing.
  virtual void CreateDirectory(std::string_view path) = 0;
  // Creates the directory and every missing parent; an existing directory
  // is fine. Stops at the first refusal, keeping the parents it made.
  void CreateDirectories(std::string_view path);
  // RemoveDirectoryW: ERROR_DIR_NOT_EMPTY, ERROR_DIRECTORY for a file.
  virtual void RemoveDirectory(std::string_view path) = 0;

  // FindFirstFileW/FindNextFileW: the entries of one directory whose names
  // match the last component of `pattern` ('*' any run, '?' one character,
  // "*.*" everything, a trailing ".*" also matching names without a dot).
  // "." and ".." are listed in directories other than a drive's root, as on
  // Windows. No match gives an empty list; a missing directory raises
  // ERROR_PATH_NOT_FOUND. Order is not part of the contract.
  virtual std::vector<DirEntry> FindFiles(std::string_view pattern) = 0;

  // GetDiskFreeSpaceExW for the drive holding `path`.
  virtual DiskSpace FreeSpace(std::string_view path) = 0;

  // GetFullPathNameW: `path` made absolute against the current directory,
  // "." and ".." resolved, forward slashes turned into backslashes. Pure
  // text: the path need not exist.
  virtual std::string FullPathName(std::string_view path) = 0;
};

// A FILETIME as a TDateTime, and back; no time-zone shift. Values before
// 1601 (or not finite) give FILETIME 0; the millisecond is the finest step.
TDateTime FileTimeToDateTime(FileTime time);
FileTime DateTimeToFileTime(TDateTime dateTime);

// A file's time as the local date-time the kit compares and stores, using
// the machine's time-zone offset (FileTimeToLocalFileTime), and back.
TDateTime FileTimeToLocalDateTime(FileTime utc);
FileTime LocalDateTimeToFileTime(TDateTime local);

}  // namespace platform
