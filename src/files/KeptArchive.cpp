// The component kept for the archive read last (see KeptArchive.h).
#include "files/KeptArchive.h"

#include <optional>

#include "archive/cmp_TVrexCompress.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {

struct Kept {
  TVrexCompress* archive = nullptr;
  std::string path;
  std::optional<platform::FileInfo> info;
};

Kept& Slot() {
  static Kept kept;
  static bool registered = false;
  if (!registered) {
    registered = true;
    ProcessState::RegisterReset("files.KeptArchive", [] { FreeKeptArchive(); });
  }
  return kept;
}

bool SameFile(const std::optional<platform::FileInfo>& a,
              const std::optional<platform::FileInfo>& b) {
  return a && b && a->size == b->size && a->lastWrite == b->lastWrite;
}

}  // namespace

TVrexCompress& KeptArchive(const std::string& path) {
  Kept& kept = Slot();
  std::optional<platform::FileInfo> info = platform::files().Stat(path);
  if (!kept.archive || !SameText(kept.path, path) || !SameFile(kept.info, info)) {
    // A fresh component for another archive, or for one that changed on
    // disk (its directory would be stale).
    FreeKeptArchive();
    kept.archive = new TVrexCompress(nullptr);
    kept.path = path;
    kept.info = info;
  }
  kept.archive->SetCompressedFile(path);
  return *kept.archive;
}

void FreeKeptArchive() noexcept {
  Kept& kept = Slot();
  TVrexCompress* archive = kept.archive;
  kept = Kept{};
  if (archive) archive->Free();
}
