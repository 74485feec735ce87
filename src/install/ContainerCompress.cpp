// The container side of build mode (see ContainerCompress.h).
#include "install/ContainerCompress.h"

#include <vector>

#include "archive/CompressionAhead.h"

#include "framework/RunAndFinish.h"
#include "framework/StrUtils.h"
#include "install/InstallLists.h"
#include "install/NetLocationAccess.h"
#include "install/PackedSources.h"
#include "install/cmp_TFileContainer.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {

TNetLocationPathResolver& Resolver() {
  static TNetLocationPathResolver resolver;
  return resolver;
}

std::string NetLocationPath(TComponent* location) {
  if (Resolver()) return Resolver()(location);
  if (INetInstallLocation* net = AsNetInstallLocation(location)) return net->NetLocationPath();
  return location ? location->Name() : std::string();
}

// The location an object uses: its own, else its containers', else the
// program's default.
TComponent* EffectiveNetLocation(TInstallContainer* o) {
  for (int depth = 0; o && depth < 1000; ++depth) {
    if (o->Is<TFileRelated>()) {
      if (TComponent* loc = static_cast<TFileRelated*>(o)->NetLocation()) return loc;
    }
    o = o->Is<TInstallObject>() ? static_cast<TInstallObject*>(o)->Container() : nullptr;
  }
  return DefaultNetLocation();
}

// `dir` + "\" + `tail`, with exactly one backslash between them.
std::string JoinPath(const std::string& dir, const std::string& tail) {
  if (!tail.empty() && tail.front() == '\\') return ExcludeTrailingBackslash(dir) + tail;
  return IncludeTrailingBackslash(dir) + tail;
}

// Where a net archive named `name` goes: under the location's folder
// below `dir`, or straight in `dir` for a location at the server's root.
std::string NetArchivePath(const std::string& dir, TComponent* location, const std::string& name) {
  const std::string sub = NetLocationPath(location);
  return (sub.empty() ? ExcludeTrailingBackslash(dir) : JoinPath(dir, sub)) + "\\" + name + ".1";
}

std::string WithoutDrive(const std::string& path) {
  return path.substr(ExtractFileDrive(path).size());
}

void DeleteArchive(TFileContainer& c, const std::string& path) {
  platform::FileSystem& fs = platform::files();
  if (!fs.FileExists(path)) return;
  try {
    fs.DeleteFile(path);
  } catch (const platform::OsError&) {
    throw IEFileContainer("%s cannot delete the archive file %s", c.Name(), path);
  }
}

// The files the compress step packs, and reads the source information of:
// everything with coEverything, else the included ones.
void ReadSources(TFileContainer& c, bool all) {
  for (int i = 0; i < c.ObjectCount(); ++i) {
    TInstallObject* o = c.Objects(i);
    if (!all && !o->Include()) continue;
    if (TFileRelated* file = AsInstallFile(o))
      file->ReadSourceInformation();
    else if (o->Is<TFileContainer>())
      ReadSources(static_cast<TFileContainer&>(*o), all);
  }
}

struct SavedSettings {
  TlzhCommand addToArchive;
  std::string archiveFile;
  TCustomPathSpecifier* archiveFileType;
  bool include;
};

void Restore(TFileRelated& child, const SavedSettings& s) {
  child.SetAddToArchive(s.addToArchive);
  child.SetArchiveFileType(s.archiveFileType);
  child.SetArchiveFile(s.archiveFile);
  child.SetInclude(s.include);
}

void Redirect(TFileRelated& child, TlzhCommand mode, const std::string& archive) {
  child.SetAddToArchive(mode);
  child.SetArchiveFileType(nullptr);
  child.SetArchiveFile(archive);
}

// Whether the build packs `child` as a net file: install files that are
// net, or all of them under coForceFilesNet, unless coForceNetFilesLocal.
bool PackedAsNetFile(TFileRelated& child, uint32_t options) {
  if (!AsInstallFile(&child) || (options & coForceNetFilesLocal)) return false;
  return child.Net() || (options & coForceFilesNet);
}

// Points one child at the archive it is packed into for this build.
void Prepare(TFileContainer& c, TFileRelated& child, uint32_t options,
             const std::string& containerArchive, const std::string& netArchive) {
  const std::string containerDir = ExtractFileDir(containerArchive);
  if (PackedAsNetFile(child, options)) {
    auto perObject = [&](TComponent* location) {
      return NetArchivePath(containerDir, location, child.Name());
    };
    if (child.NetLocation())
      Redirect(child, lzcOverwrite, perObject(child.NetLocation()));
    else if (child.KeepsOwnNetArchive())
      Redirect(child, lzcOnlyAdd, perObject(EffectiveNetLocation(&c)));
    else
      Redirect(child, lzcOnlyAdd, netArchive);
    child.SetNetPacked(true);
    return;
  }
  TCustomPathSpecifier* type = child.ArchiveFileType();
  const bool containerType = type && type->Is<TpsContainerArchiveFile>();
  if (options & coAppendAll) {
    Redirect(child, lzcOnlyAdd, {});
  } else if (containerType) {
    child.SetAddToArchive(lzcOnlyAdd);
  } else if (type && type->Is<TpsMainArchiveFile>()) {
    // The main archive is the one the installer packs into, "files.1" in a
    // build. Resolved as a path of its own (and started afresh) it would
    // either replace that archive with this one file or land where no run
    // looks for it; it is appended like the groups' files instead.
    TCustomInstall* installer = Installer();
    Redirect(child, lzcOnlyAdd,
             installer ? installer->ResolveArchiveFile() : child.ResolveArchiveFile());
  } else if (type && type->Is<TpsInstallSource>()) {
    TCustomInstall* installer = Installer();
    const std::string base = installer ? ExtractFileDir(installer->ResolveArchiveFile()) : "";
    Redirect(child, lzcOverwrite, JoinPath(base, child.ArchiveFile()));
  } else if (options & coContainerRelative) {
    Redirect(child, lzcOverwrite, JoinPath(containerDir, WithoutDrive(child.ResolveArchiveFile())));
  }
}

void CompressChildren(TFileContainer& c, uint32_t options, const std::string& containerArchive,
                      const std::string& netArchive) {
  // A snapshot: a child's step must not change which children are packed.
  std::vector<TInstallObject*> children;
  for (int i = 0; i < c.ObjectCount(); ++i) children.push_back(c.Objects(i));
  for (TInstallObject* o : children) {
    if (!o->Is<TFileRelated>()) continue;
    auto& child = static_cast<TFileRelated&>(*o);
    if (!AsInstallFile(&child) && !child.Is<TFileContainer>()) continue;
    const SavedSettings saved{child.AddToArchive(), child.ArchiveFile(), child.ArchiveFileType(),
                              child.Include()};
    try {
      if (options & coEverything) child.SetInclude(true);
      Prepare(c, child, options, containerArchive, netArchive);
      child.Compress(options);
    } catch (...) {
      Restore(child, saved);
      throw;
    }
    Restore(child, saved);
  }
}

}  // namespace

void SetNetLocationPathResolver(TNetLocationPathResolver resolver) {
  Resolver() = std::move(resolver);
}

void CompressContainer(TFileContainer& container, uint32_t options) {
  container.Compress(options);
}

void TFileContainer::Compress(uint32_t options) {
  if ((options & coForceNetFilesLocal) && (options & coForceFilesNet))
    throw IEFileContainer("Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
  SetState(fcsCompressing);
  RunAndFinish(
      [this, options] {
        if (OnBeforeProcess()) OnBeforeProcess()(this);
        if (!Include()) return;
        const bool all = (options & coEverything) != 0;
        PassUp(this, kInfoContainerStarts, this);
        ReadSources(*this, all);
        // Members are compressed on all cores while the tree is packed in
        // order; a nested container's scope leaves the outermost one in charge.
        const TCompressionAheadScope ahead(PackedSourcePaths(*this, all));
        SetTotals(RecursiveByteTotal(all), 0);

        const std::string containerArchive = ResolveArchiveFile();
        std::string netArchive;
        if (TComponent* location = EffectiveNetLocation(this)) {
          netArchive = NetArchivePath(ExtractFileDir(containerArchive), location, Name());
        } else if (!(options & coForceNetFilesLocal)) {
          throw IEFileRel_NoNetLocation("%s does not have a net location", Name());
        }

        if (AddToArchive() == lzcOverwrite)
          DeleteArchive(*this, ChangeFileExt(containerArchive, ".1"));
        bool hasNetFile = false;
        for (int i = 0; i < ObjectCount() && !hasNetFile; ++i) {
          TInstallObject* o = Objects(i);
          hasNetFile =
              o->Is<TFileRelated>() && PackedAsNetFile(static_cast<TFileRelated&>(*o), options);
        }
        if (hasNetFile && !netArchive.empty()) DeleteArchive(*this, netArchive);

        CompressChildren(*this, options, containerArchive, netArchive);
        if (OnAfterProcess()) OnAfterProcess()(this);
        PassUp(this, kInfoContainerEnds, this);
      },
      // Idle again and the end announced, on every path.
      [this] {
        SetState(fcsIdle);
        BroadcastCall(this, kCallCopyEnded, nullptr);
      });
}

void ClearAllBuildMarkers() {
  TCustomInstallFileList& list = CustomInstallFileList();
  for (int i = 0; i < list.Count(); ++i) list.Items(i)->ClearBuildMarkers();
}

void RemoveFilesWithoutSource(TFileContainer& group) {
  std::vector<TFileRelated*> gone;
  for (int i = 0; i < group.ObjectCount(); ++i) {
    TFileRelated* file = AsInstallFile(group.Objects(i));
    if (file && !platform::files().FileExists(file->SourcePath())) gone.push_back(file);
  }
  for (TFileRelated* file : gone) file->Free();
}
