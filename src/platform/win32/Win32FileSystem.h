// The file service over kernel32's wide file calls (CreateFileW, MoveFileExW,
// FindFirstFileW ...). Windows itself enforces share modes, attributes and
// error codes; this layer converts text and turns refusals into OsError.
#pragma once

#include <memory>

#include "platform/FileSystem.h"

namespace platform::win32 {

std::unique_ptr<FileSystem> CreateWin32FileSystem();

}  // namespace platform::win32
