// The container side of build mode (see ContainerCompress.h).
#include "files/ContainerCompress.h"

#include <vector>

#include "files/cmp_TInstallFile.h"
#include "framework/StrUtils.h"
#include "install/InstallLists.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {

// The container's state and byte totals belong to the object model and
// are set here through pointers to its protected members, formed through a
// derived class as the language allows.
struct ContainerAccess : TFileContainer {
  static void State(TFileContainer& c, TFileContainerState s) {
    (c.*(&ContainerAccess::SetState))(s);
  }
  static void Totals(TFileContainer& c, int64_t total, int64_t done) {
    (c.*(&ContainerAccess::SetTotals))(total, done);
  }
};

TNetLocationPathResolver& Resolver() {
  static TNetLocationPathResolver resolver;
  return resolver;
}

std::string NetLocationPath(TComponent* location) {
  if (Resolver()) return Resolver()(location);
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
    if (o->Is<TCustomInstallFile>())
      static_cast<TCustomInstallFile*>(o)->ReadInfoFromSource();
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

// Points one child at the archive it is packed into for this build.
void Prepare(TFileContainer& c, TFileRelated& child, uint32_t options,
             const std::string& containerArchive, const std::string& netArchive) {
  auto* file = child.Is<TCustomInstallFile>() ? static_cast<TCustomInstallFile*>(&child) : nullptr;
  const bool net =
      file && !(options & coForceNetFilesLocal) && (file->Net() || (options & coForceFilesNet));
  const std::string containerDir = ExtractFileDir(containerArchive);
  if (net) {
    auto perObject = [&](TComponent* location) {
      return JoinPath(containerDir, NetLocationPath(location)) + "\\" + file->Name() + ".1";
    };
    if (file->NetLocation()) {
      Redirect(*file, lzcOverwrite, perObject(file->NetLocation()));
    } else {
      const TOverwriteType m = file->OverwriteMode();
      const bool own = m == owVersion || m == owDate || m == owVersionDate;
      Redirect(*file, lzcOnlyAdd, own ? perObject(EffectiveNetLocation(&c)) : netArchive);
    }
    file->SetNetPacked(true);
    return;
  }
  TCustomPathSpecifier* type = child.ArchiveFileType();
  const bool containerType = type && type->Is<TpsContainerArchiveFile>();
  if (options & coAppendAll) {
    Redirect(child, lzcOnlyAdd, {});
  } else if (containerType) {
    child.SetAddToArchive(lzcOnlyAdd);
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
    const bool isFile = child.Is<TCustomInstallFile>();
    if (!isFile && !child.Is<TFileContainer>()) continue;
    const SavedSettings saved{child.AddToArchive(), child.ArchiveFile(), child.ArchiveFileType(),
                              child.Include()};
    try {
      if (options & coEverything) child.SetInclude(true);
      Prepare(c, child, options, containerArchive, netArchive);
      if (isFile)
        static_cast<TCustomInstallFile&>(child).SetState(ifsCompressing);
      else
        CompressContainer(static_cast<TFileContainer&>(child), options);
    } catch (...) {
      Restore(child, saved);
      throw;
    }
    Restore(child, saved);
  }
}

void Finish(TFileContainer& c) {
  ContainerAccess::State(c, fcsIdle);
  c.BroadcastCall(&c, kCallCopyEnded, nullptr);
}

void PassUp(TFileContainer& c, int code) {
  if (TInstallContainer* up = c.Container()) up->DoInformationEventControl(&c, code, &c);
}

}  // namespace

void SetNetLocationPathResolver(TNetLocationPathResolver resolver) {
  Resolver() = std::move(resolver);
}

void CompressContainer(TFileContainer& c, uint32_t options) {
  if ((options & coForceNetFilesLocal) && (options & coForceFilesNet))
    throw IEFileContainer("Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
  ContainerAccess::State(c, fcsCompressing);
  try {
    if (c.OnBeforeProcess()) c.OnBeforeProcess()(&c);
    if (!c.Include()) {
      Finish(c);
      return;
    }
    {
      const bool all = (options & coEverything) != 0;
      PassUp(c, kInfoContainerStarts);
      ReadSources(c, all);
      ContainerAccess::Totals(c, c.RecursiveByteTotal(all), 0);

      const std::string containerArchive = c.ResolveArchiveFile();
      std::string netArchive;
      if (TComponent* location = EffectiveNetLocation(&c)) {
        netArchive = JoinPath(ExtractFileDir(containerArchive), NetLocationPath(location)) + "\\" +
                     c.Name() + ".1";
      } else if (!(options & coForceNetFilesLocal)) {
        throw IEFileRel_NoNetLocation("%s does not have a net location", c.Name());
      }

      if (c.AddToArchive() == lzcOverwrite) DeleteArchive(c, ChangeFileExt(containerArchive, ".1"));
      bool hasNetFile = false;
      for (int i = 0; i < c.ObjectCount() && !(options & coForceNetFilesLocal); ++i) {
        TInstallObject* o = c.Objects(i);
        if (o->Is<TCustomInstallFile>() &&
            (static_cast<TCustomInstallFile*>(o)->Net() || (options & coForceFilesNet)))
          hasNetFile = true;
      }
      if (hasNetFile && !netArchive.empty()) DeleteArchive(c, netArchive);

      CompressChildren(c, options, containerArchive, netArchive);
    }
    if (c.OnAfterProcess()) c.OnAfterProcess()(&c);
    PassUp(c, kInfoContainerEnds);
  } catch (...) {
    try {
      Finish(c);
    } catch (...) {
      // The first failure is the one to report.
    }
    throw;
  }
  Finish(c);
}

void ClearAllBuildMarkers() {
  TCustomInstallFileList& list = CustomInstallFileList();
  for (int i = 0; i < list.Count(); ++i)
    if (list.Items(i)->Is<TCustomInstallFile>())
      static_cast<TCustomInstallFile*>(list.Items(i))->ClearBuildMarkers();
}

void RemoveFilesWithoutSource(TFileContainer& group) {
  std::vector<TCustomInstallFile*> gone;
  for (int i = 0; i < group.ObjectCount(); ++i) {
    TInstallObject* o = group.Objects(i);
    if (!o->Is<TCustomInstallFile>()) continue;
    auto* file = static_cast<TCustomInstallFile*>(o);
    if (!platform::files().FileExists(file->SourcePath())) gone.push_back(file);
  }
  for (TCustomInstallFile* file : gone) file->Free();
}
