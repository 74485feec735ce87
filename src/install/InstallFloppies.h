// The floppy transfer (-f): a self-extracting setup is copied onto a set of
// disks in drive A: as the loader ("setup.exe"), the installer's archive
// ("setup.1") and the main archive split into volumes ("files.1" ...).
// The transfer itself is TCustomInstall::TransferToFloppies; these are the
// pieces it is made of that are worth reaching on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "archive/FileStats.h"

namespace platform {
class File;
}

// The block size of the copies onto the disk.
inline constexpr size_t kFloppyBlock = 8192;

// Copies `count` bytes of `in` starting at `from` to the end of `out` in
// blocks of kFloppyBlock (the last one shorter), calling `afterBlock` with
// each block's size once it is written. Returns the bytes written: fewer
// than `count` when `in` ends early or `out` takes no more (the disk is
// full). Other failures of the file service pass on as OsError.
uint64_t CopyInBlocks(platform::File& in, uint64_t from, uint64_t count, platform::File& out,
                      const std::function<void(size_t)>& afterBlock);

// The progress of the volume split is handed to this hook when one is set
// (none is in the setup program); null removes it.
using TFloppyProgressHook = std::function<void(const TlzhFileStats&)>;
void SetFloppyProgressHook(TFloppyProgressHook hook);
