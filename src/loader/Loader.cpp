// The loading program's run (see Loader.h). Anything that goes wrong
// before the installer starts ends in one message box and exit code 1, and
// leaves nothing behind: the temporary directory goes again.
#include "loader/Loader.h"

#include <cstring>

#include "archive/ExtractionTrailer.h"
#include "loader/SetupArchive.h"

namespace loader {
namespace {

constexpr char kTrailerText[] = "SELFEXTRACTING";

// Owns what the host hands out; the Windows loader has no unique_ptr
// worth its size, and this is all that is needed.
template <class T>
struct Owned {
  T* p;
  explicit Owned(T* q) : p(q) {}
  ~Owned() { delete p; }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  T* operator->() const { return p; }
  explicit operator bool() const { return p != nullptr; }
};

struct Source {
  bool selfExtracting = false;
  ArchiveSpan span;
};

int Fail(LoaderHost& host, const Text& message) {
  host.HidePreparing();
  host.ShowMessage(message.c_str());
  return kLoaderFailed;
}

Text Damaged(const Text& setupPath, const char* why) {
  Text t("This setup is damaged and cannot continue (");
  t.Append(why).Append(").\n\nPlease obtain a new copy of ").Append(setupPath).Append('.');
  return t;
}

// Where setup.1 is: inside the program behind a valid trailer, else null
// `why` and not self-extracting. A trailer that is there but cannot
// describe the file is damage.
bool FindSource(InputFile& self, Source& source, const char*& why) {
  const uint64_t size = self.Size();
  extraction_trailer::Bytes bytes{};
  if (size < bytes.size() || !self.ReadAt(size - bytes.size(), bytes.data(), bytes.size()))
    return true;
  if (bytes[0] != sizeof kTrailerText - 1 ||
      std::memcmp(bytes.data() + 1, kTrailerText, sizeof kTrailerText - 1) != 0)
    return true;
  const extraction_trailer::Offsets o = extraction_trailer::Decode(bytes);
  if (auto reason = extraction_trailer::Implausible(o, size)) {
    why = *reason;
    return false;
  }
  source.selfExtracting = true;
  source.span.start = o.setupStart;
  source.span.length = uint64_t(o.setupEnd) - o.setupStart + 1;
  return true;
}

struct Progress {
  LoaderHost& host;
  uint32_t started;
  uint64_t before;  // bytes of earlier members
  uint64_t total;
  bool shown = false;
  void operator()(uint64_t done) {
    if (!shown && host.Milliseconds() - started >= kPreparingDelayMs) {
      host.ShowPreparing();
      shown = true;
    }
    if (shown) host.Progress(total ? int((before + done) * 100 / total) : 100);
  }
};

}  // namespace

Text InstallerCommand(const Text& installer, const Text& setupPath, bool selfExtracting,
                      bool toDisk) {
  Text c;
  c.Append('"').Append(installer).Append("\" \"-s").Append(DirectoryOf(setupPath)).Append('"');
  if (selfExtracting) c.Append(" \"-e").Append(FileNameOf(setupPath.c_str())).Append('"');
  c.Append(toDisk ? " -f" : " -c");
  return c;
}

int RunLoader(LoaderHost& host) {
  const uint32_t started = host.Milliseconds();
  Text setupPath;
  if (!host.ProgramPath(setupPath) || setupPath.Overflowed())
    return Fail(host, "Cannot find the path of this setup program.");
  bool toDisk = false;
  for (int i = 0; i < host.ArgumentCount(); ++i) {
    Text arg;
    if (host.Argument(i, arg) && SameAscii(arg.c_str(), "*TODISK")) toDisk = true;
  }

  Owned<InputFile> self(host.OpenRead(setupPath.c_str()));
  if (!self) {
    Text t("Cannot read the setup program ");
    return Fail(host, t.Append(setupPath).Append('.'));
  }
  Source source;
  const char* why = nullptr;
  if (!FindSource(*self.p, source, why)) return Fail(host, Damaged(setupPath, why));

  Text archivePath = setupPath;
  Owned<InputFile> beside(nullptr);
  InputFile* archive = self.p;
  if (!source.selfExtracting) {
    archivePath = DirectoryOf(setupPath);
    archivePath.Append("\\setup.1");
    beside.p = host.OpenRead(archivePath.c_str());
    if (!beside) {
      Text t("Cannot find ");
      t.Append(archivePath).Append(", which this setup needs. Keep all files of the setup in one ");
      return Fail(host, t.Append("directory and start it again."));
    }
    archive = beside.p;
    source.span.length = archive->Size();
  }

  // Read the whole directory first: a damaged archive fails before any
  // file is written.
  constexpr uint32_t kMaxMembers = 64;
  static Member members[kMaxMembers];
  ArchiveDirectory directory(*archive, source.span);
  if (!directory.Open(why)) return Fail(host, Damaged(archivePath, why));
  if (directory.Count() > kMaxMembers)
    return Fail(host, Damaged(archivePath, "the setup archive holds too many files"));
  uint64_t total = 0;
  for (uint32_t i = 0; i < directory.Count(); ++i) {
    if (!directory.Next(members[i], why)) return Fail(host, Damaged(archivePath, why));
    if (!SafeMemberName(members[i].name))
      return Fail(host, Damaged(archivePath, "a file in the setup archive has an unusable name"));
    total += members[i].size;
  }

  Text temp;
  if (!host.MakeTempDirectory(temp) || temp.Overflowed())
    return Fail(host, "Cannot create a temporary directory to prepare the setup in.");
  Progress progress{host, started, 0, total};
  Text installer;
  for (uint32_t i = 0; i < directory.Count(); ++i) {
    Text target = temp;
    target.Append('\\').Append(members[i].name);
    if (i == 0) installer = target;
    bool diskFull = false;
    Owned<OutputFile> out(target.Overflowed() ? nullptr : host.Create(target.c_str(), diskFull));
    UnpackResult r = UnpackResult::WriteFailed;
    if (out) {
      r = UnpackMember(*archive, source.span, members[i], *out.p, why, progress);
      const WriteResult closed = out->Close();
      if (r == UnpackResult::Ok && closed != WriteResult::Ok)
        r = closed == WriteResult::DiskFull ? UnpackResult::DiskFull : UnpackResult::WriteFailed;
    } else if (diskFull) {
      r = UnpackResult::DiskFull;
    }
    progress.before += members[i].size;
    if (r != UnpackResult::Ok) {
      delete out.p;  // closed before its directory goes
      out.p = nullptr;
      host.RemoveDirectoryAndFiles(temp.c_str());
      Text t;
      if (r == UnpackResult::Damaged)
        t = Damaged(archivePath, why);
      else if (r == UnpackResult::DiskFull)
        t.Append("There is not enough free disk space to prepare the setup in ")
            .Append(temp)
            .Append(". Free some space on that drive and start the setup again.");
      else
        t.Append("Cannot write ").Append(target).Append(" while preparing the setup.");
      return Fail(host, t);
    }
  }
  host.HidePreparing();

  const Text command = InstallerCommand(installer, setupPath, source.selfExtracting, toDisk);
  uint32_t exitCode = 0;
  if (!host.RunAndWait(command.c_str(), exitCode)) {
    host.RemoveDirectoryAndFiles(temp.c_str());
    Text t("Cannot start the setup program ");
    return Fail(host, t.Append(installer).Append('.'));
  }
  // A transfer to floppies never cleans up after itself, and nothing of it
  // waits for a restart: the copy goes now. Otherwise the installer's own
  // clean-up removes it (or keeps it for the run after a restart).
  if (toDisk) host.RemoveDirectoryAndFiles(temp.c_str());
  return int(exitCode);
}

}  // namespace loader
