// Build mode (TCustomInstall::Build): "setup.1" with the installer program
// and the presetup files, the loading program as "setup.exe" (or, without
// one, a copy of the installer), the tree compressed into "files.1",
// "filelist.lst" for net distributions, and for a stand-alone setup the
// archives appended to "setup.exe" with their trailer. "setup.exe" is
// written under a temporary name and put in place only when every step
// succeeded, so a failed build never leaves one that looks complete.
#include <vector>

#include "archive/MemberDecoder.h"
#include "framework/ClassRegistry.h"
#include "framework/RunAndFinish.h"
#include "framework/StrUtils.h"
#include "install/BuildAppend.h"
#include "install/BuildInf.h"
#include "install/ContainerCompress.h"
#include "install/FileList.h"
#include "install/InstallErrors.h"
#include "install/InstallLists.h"
#include "install/KitDirectory.h"
#include "install/NetLocationAccess.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kLoaderName = "PellmoreLoadProgram.exe";
// "setup.exe" while it is being made.
constexpr const char* kPartialSetupName = "setup.exe.tmp";

void Fire(const TNotifyEvent& hook, TObject* sender) {
  if (hook) hook(sender);
}

uint32_t OptionsFor(TDistributeType type) {
  switch (type) {
    case dtWeb:
      return kBuildOptionsWeb;
    case dtTraditionalNet:
      return kBuildOptionsTraditionalNet;
    default:
      return kBuildOptionsTraditional;
  }
}

void DeleteQuietly(const std::string& path) noexcept {
  try {
    if (platform::files().FileExists(path)) platform::files().DeleteFile(path);
  } catch (...) {
    // Clean-up after a failure: the failure itself is what the user sees.
  }
}

// Packs `path` into the archive `archive` through an install file that
// belongs to no container. Install files live in the layer above, so it is
// made by class name and given its source through its published
// properties.
void PackLooseFile(const std::string& path, const std::string& archive, TlzhCommand mode) {
  ClassRegistry& registry = ClassRegistry::Global();
  Owned<TComponent> holder(registry.Create("TInstallFile", nullptr));
  auto* file = dynamic_cast<TFileRelated*>(holder.get());
  const ClassInfo* info = registry.ClassOf(*holder);
  const PropInfo* dir = info ? info->FindProp("IncludeFromDir") : nullptr;
  const PropInfo* name = info ? info->FindProp("FileName") : nullptr;
  if (!file || !dir || !name)
    throw EInternalError("TInstallFile is not registered with IncludeFromDir and FileName");
  dir->SetStr(*holder, ExcludeTrailingBackslash(ExtractFilePath(path)));
  name->SetStr(*holder, ExtractFileName(path));
  file->SetNet(false);
  file->SetArchiveFileType(nullptr);
  file->SetArchiveFile(archive);
  file->SetAddToArchive(mode);
  file->Compress(0);
}

// "setup.1": the installer program, which starts a new archive, then each
// presetup file appended.
void MakeSetupArchive(const std::string& program, const TStrings& presetupFiles,
                      const std::string& setup1) {
  const std::string path = Trim(program);
  if (path.empty()) throw IEInstall("Cannot create setup file. Executable is blank");
  if (!platform::files().FileExists(path))
    throw IEInstall("TInstall: Cannot find the executable file %s", path);
  try {
    PackLooseFile(path, setup1, lzcOverwrite);
    for (int i = 0; i < presetupFiles.Count(); ++i)
      PackLooseFile(Trim(presetupFiles.Strings(i)), setup1, lzcOnlyAdd);
  } catch (const EvcDiskFull&) {
    throw IEInstall(
        "The disk that you have specified has been determined to be either too full or is corrupt "
        "while trying to copy the SETUP.1 archive file. You should probably clear all files off of "
        "the drive. Minimally, you should leave enough space on the drive for the SETUP.1 archive "
        "file.");
  }
}

std::string FindKitDirectory() {
  try {
    return KitDirectory();
  } catch (const IENoPellmorePath&) {
    throw IEInstall(
        "The HKEY_LOCAL_MACHINE | %s key in the registry is either missing or points to an "
        "invalid Pellmore directory",
        std::string(kKitKey));
  }
}

}  // namespace

void TCustomInstall::Build(const std::string& buildDirectory, const std::string& programFile,
                           bool standalone) {
  if (standalone && !useLoadingProgram_)
    throw IEInstall(
        "Cannot build a stand alone executable if the UseLoadingProgram property of the TInstall "
        "is set to False");
  // Without a directory every product would land in the current drive's
  // root.
  const std::string dir = BuildDirectoryOf(buildDirectory);
  const std::string base = dir + "\\";
  const std::string setupExe = base + "setup.exe";
  const std::string setup1 = base + "setup.1";
  const std::string files1 = base + "files.1";
  const std::string partialExe = base + kPartialSetupName;
  try {
    platform::files().CreateDirectories(ExcludeTrailingBackslash(base));
  } catch (const platform::OsError& e) {
    throw IEInstall("Cannot create the build directory %s: %s", dir, e.Message());
  }

  try {
    if (useLoadingProgram_) {
      Fire(BuildHooks.BeforeSetupArchive, this);
      MakeSetupArchive(programFile, *presetupFiles_, setup1);
      Fire(BuildHooks.AfterSetupArchive, this);

      const std::string loader = FindKitDirectory() + "\\" + kLoaderName;
      if (!platform::files().FileExists(loader))
        throw IEInstall("The loader program %s was not found", loader);
      Fire(BuildHooks.BeforeCopy, this);
      try {
        platform::files().CopyFile(loader, partialExe, false);
      } catch (const platform::OsError&) {
        throw IEInstall("Cannot copy the loading program from %s to %s", loader, setupExe);
      }
      Fire(BuildHooks.AfterCopy, this);
    } else {
      const std::string program = Trim(programFile);
      const std::string copy = base + ExtractFileName(program);
      Fire(BuildHooks.BeforeCopy, this);
      try {
        platform::files().CopyFile(program, copy, false);
      } catch (const platform::OsError&) {
        throw IEInstall("Cannot copy the installation application from %s to %s", program, copy);
      }
      Fire(BuildHooks.AfterCopy, this);
    }

    CompressForBuild(files1);

    if (standalone) {
      Fire(BuildHooks.BeforeAppend, this);
      AppendSelfExtractor(partialExe, setupExe, setup1, files1);
      Fire(BuildHooks.AfterAppend, this);
    }
    if (useLoadingProgram_) {
      try {
        platform::files().MoveFile(partialExe, setupExe, platform::kMoveReplaceExisting);
      } catch (const platform::OsError&) {
        throw IEInstall("Cannot copy the loading program from %s to %s", partialExe, setupExe);
      }
    }
  } catch (...) {
    DeleteQuietly(partialExe);
    throw;
  }
}

void TCustomInstall::CompressForBuild(const std::string& mainArchive) {
  // The installer's own archive settings are back afterwards, whatever
  // happens.
  TCustomPathSpecifier* savedType = ArchiveFileType();
  const std::string savedFile = ArchiveFile();
  SetArchiveFileType(nullptr);
  SetArchiveFile(mainArchive);
  RunAndFinish(
      [&] {
        Fire(BuildHooks.BeforeCompress, this);
        ClearAllBuildMarkers();
        Compress(OptionsFor(distributeType_));
        if (distributeType_ == dtWeb || distributeType_ == dtTraditionalNet) WriteFileList();
        Fire(BuildHooks.AfterCompress, this);
      },
      [&] {
        SetArchiveFileType(savedType);
        SetArchiveFile(savedFile);
      });
}

void TCustomInstall::WriteFileList() {
  INetInstallLocation* location = AsNetInstallLocation(NetLocation());
  if (!location)
    throw IEInstallNetLocNil(
        "Must assign a net location via the NetLocation property before you can set the "
        "distribute type");
  std::string dir = ExcludeTrailingBackslash(ExtractFilePath(ArchiveFile()));
  const std::string sub = location->NetLocationPath();
  if (!sub.empty()) dir += "\\" + sub;

  std::vector<FileListRecord> records;
  const TCustomInstallFileList& list = CustomInstallFileList();
  for (int i = 0; i < list.Count(); ++i) {
    FileListRecord r;
    if (list.Items(i)->PackedFileListRecord(r)) records.push_back(std::move(r));
  }
  // Encoded first: a name the list cannot hold stops the build before an
  // old list is replaced.
  const std::string bytes = EncodeFileList(records);
  platform::files().CreateDirectories(dir);
  std::unique_ptr<platform::File> f = platform::files().Create(dir + "\\filelist.lst");
  f->Write(bytes.data(), bytes.size());
  f->Close();
}
