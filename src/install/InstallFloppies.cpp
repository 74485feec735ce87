// -f: copies a self-extracting setup onto floppies in drive A:. Disk 1 gets
// the loader ("setup.exe") and the installer's archive ("setup.1"), both
// cut out of the self-extracting program by its trailer; the main archive
// inside the program is then split into volumes ("files.1", "files.2" ...),
// the user being asked for each new disk. Every error ends in a message
// box, and the program terminates either way. Files already written stay:
// a disk cannot be taken back from the user.
#include "install/InstallFloppies.h"

#include <memory>
#include <vector>

#include "archive/cmp_TVrexCompress.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/StrUtils.h"
#include "i18n/cmp_TTranslator.h"
#include "install/ExtractionInfo.h"
#include "install/InstallErrors.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/Platform.h"

namespace {

TFloppyProgressHook& ProgressHook() {
  static TFloppyProgressHook hook;
  return hook;
}

bool IsDiskFull(const platform::OsError& e) {
  return e.Code() == platform::kErrorDiskFull || e.Code() == 39 /* ERROR_HANDLE_DISK_FULL */;
}

// The hourglass, except while the user is asked for a disk.
class CursorScope {
 public:
  CursorScope() { Screen().SetCursor(crHourGlass); }
  ~CursorScope() { Screen().SetCursor(crDefault); }
  CursorScope(const CursorScope&) = delete;
  CursorScope& operator=(const CursorScope&) = delete;
};

// Copies `count` bytes of the program at `from` into a new file `target`;
// anything short raises `message` with the file service's reason.
void CopyOut(platform::File& program, uint64_t from, uint64_t count, const std::string& target,
             const char* message, const std::function<void(size_t)>& afterBlock) {
  std::string cause;
  try {
    std::unique_ptr<platform::File> out = platform::files().Create(target);
    const uint64_t done = CopyInBlocks(program, from, count, *out, afterBlock);
    if (done != count)
      cause = "Only " + std::to_string(done) + " of " + std::to_string(count) +
              " bytes could be written.";
    else
      out->Close();
  } catch (const platform::OsError& e) {
    cause = e.Message();
  }
  if (!cause.empty()) throw WithCause(IEInstall(message), cause);
}

// The split's handlers on the shared archive, removed on every path.
class SplitHandlers {
 public:
  SplitHandlers(TVrexCompress& archive, bool& cancelled) : archive_(archive) {
    archive.OnNewDisk = [&cancelled](TObject*, int disk, std::string&) {
      Screen().SetCursor(crDefault);
      const int answer =
          Application().MessageBox(Format(TranslateFromEnglish("Please insert disk %d"), disk),
                                   Application().Title(), MB_OKCANCEL | MB_ICONQUESTION);
      Screen().SetCursor(crHourGlass);
      if (answer != IDOK) {
        cancelled = true;
        throw IEInstall("Aborted by user");
      }
    };
    archive.OnStatus = [](TObject*, const TlzhFileStats& stats) {
      if (ProgressHook()) ProgressHook()(stats);
      Application().ProcessMessages();
    };
  }
  ~SplitHandlers() {
    archive_.OnNewDisk = nullptr;
    archive_.OnStatus = nullptr;
  }
  SplitHandlers(const SplitHandlers&) = delete;
  SplitHandlers& operator=(const SplitHandlers&) = delete;

 private:
  TVrexCompress& archive_;
};

}  // namespace

void SetFloppyProgressHook(TFloppyProgressHook hook) {
  ProgressHook() = std::move(hook);
}

uint64_t CopyInBlocks(platform::File& in, uint64_t from, uint64_t count, platform::File& out,
                      const std::function<void(size_t)>& afterBlock) {
  std::vector<uint8_t> buffer(kFloppyBlock);
  in.Seek(static_cast<int64_t>(from), platform::SeekOrigin::Begin);
  uint64_t done = 0;
  while (done < count) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kFloppyBlock, count - done));
    const size_t got = in.Read(buffer.data(), want);
    if (got == 0) break;
    try {
      out.Write(buffer.data(), got);
    } catch (const platform::OsError& e) {
      if (!IsDiskFull(e)) throw;
      break;
    }
    done += got;
    if (afterBlock) afterBlock(got);
    if (got < want) break;
  }
  return done;
}

void TCustomInstall::TransferToFloppies(const std::string& drive) {
  const std::string disk = ExcludeTrailingBackslash(drive);
  std::string failure;
  bool cancelled = false;
  {
    CursorScope hourglass;
    try {
      if (!HasSwitch('e'))
        throw IEInstall(
            "Sorry... You can only transfer this installation to floppies through the "
            "self-extracting file. Usage example: setup.exe *TODISK");
      const std::string program = ResolveArchiveFile();
      const extraction_trailer::Offsets offsets = ReadExtractionInfo(program);

      ShowStatus("Transferring this installation to floppies. Please wait...");
      try {
        std::unique_ptr<platform::File> in;
        try {
          in = platform::files().OpenRead(program);
        } catch (const platform::OsError& e) {
          throw WithCause(IEInstall("Could not read the extraction info from the archive file %s "
                                    "when trying to find the correct offset into the self "
                                    "extracting file",
                                    program),
                          e.Message());
        }
        const auto pump = [](size_t) { Application().ProcessMessages(); };
        CopyOut(*in, 0, offsets.setupStart, disk + "\\setup.exe",
                "Cannot create setup.exe on the A drive. Probably not enough room", pump);
        CopyOut(*in, offsets.setupStart, uint64_t(offsets.setupEnd) - offsets.setupStart + 1,
                disk + "\\setup.1",
                "Cannot create setup.1 on the A drive. Probably not enough room", pump);
      } catch (...) {
        HideStatus();
        throw;
      }
      HideStatus();

      // A setup whose files all travel in "setup.1" has nothing to split.
      if (offsets.HasFiles()) {
        TVrexCompress& archive = TVrexCompress::Shared();
        SplitHandlers handlers(archive, cancelled);
        archive.SetCompressedFile(program);
        archive.SetOffset(static_cast<int32_t>(offsets.filesStart));
        archive.SplitToVolumes(disk + "\\", "files.1");
      }
    } catch (const Exception& e) {
      failure = e.Message();
    } catch (const std::exception& e) {
      failure = e.what();
    }
  }
  SetInstallOutcome(failure.empty() ? ioFinished : cancelled ? ioCancelled : ioFailed);
  if (!failure.empty()) {
    try {
      Application().MessageBox(failure, Application().Title(), MB_OK);
    } catch (...) {
      // Nothing is left to show the message with; the outcome still says it.
    }
  }
  Application().Terminate();
}
