// An open file over a Win32 handle, and the FILETIME conversions the file
// calls share. Only the Win32 back end includes this (it needs <windows.h>).
#pragma once

#include "platform/win32/Win32Api.h"

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace platform::win32 {

inline FILETIME ToFiletime(FileTime t) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(t & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
  return ft;
}

inline FileTime FromFiletime(const FILETIME& ft) {
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// Takes ownership of `handle` (a valid file handle); `path` is the full
// Windows path it was opened by.
std::unique_ptr<File> WrapFileHandle(HANDLE handle, std::string path);

}  // namespace platform::win32
