// Packing a distribution's main archive (see Pack.h).
#include "tools/pack/Pack.h"

#include "archive/cmp_TVrexCompress.h"
#include "files/cmp_TInstallFile.h"
#include "framework/StrUtils.h"
#include "install/ContainerCompress.h"
#include "install/InstallLists.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "tools/pack/DesignForm.h"

namespace pack {

PackResult PackDistribution(std::string_view formText, const std::string& formFile,
                            const std::string& buildDirectory) {
  Owned<TComponent> root = ReadAtDesignTime(formText, formFile);
  TCustomInstall* installer = Installer();
  if (!installer)
    throw Exception("The form description " + formFile + " holds no installer (TInstall)");

  PackResult result;
  result.archive = IncludeTrailingBackslash(buildDirectory) + "files.1";
  platform::files().CreateDirectories(ExcludeTrailingBackslash(buildDirectory));
  // As a build does: the installer's archive is the build's files.1 while
  // the tree is packed, so every child that uses its container's archive
  // lands in that one file.
  installer->SetArchiveFileType(nullptr);
  installer->SetArchiveFile(result.archive);
  ClearAllBuildMarkers();
  installer->Compress(kBuildOptionsTraditional);

  const TCustomInstallFileList& list = CustomInstallFileList();
  for (int i = 0; i < list.Count(); ++i) {
    const auto* f = dynamic_cast<const TCustomInstallFile*>(list.Items(i));
    if (!f || !f->Packed()) continue;
    result.files.push_back({f->Name(), f->SourcePath(), f->StoredSize(), f->StoredVersion()});
  }
  if (auto info = platform::files().Stat(result.archive))
    result.archiveBytes = static_cast<int64_t>(info->size);
  root.reset();
  TVrexCompress::FreeShared();
  return result;
}

}  // namespace pack
