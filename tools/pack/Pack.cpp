// Packing a distribution's main archive (see Pack.h).
#include "tools/pack/Pack.h"

#include "archive/cmp_TVrexCompress.h"
#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "framework/FormParser.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/StrUtils.h"
#include "install/ContainerCompress.h"
#include "install/InstallLists.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace pack {

namespace {

// The root of a description read at design time, created by its class
// name as the running program would create it, but without its
// registered description and without OnCreate.
Owned<TComponent> ReadAtDesignTime(std::string_view text, const std::string& file) {
  const FormObject parsed = ParseFormDescription(text, file);
  ClassRegistry& registry = ClassRegistry::Global();
  const ClassInfo* info = registry.FindClass(parsed.className);
  if (!info || !info->Meta().InheritsFrom(TCustomForm::StaticMetaClass()))
    throw Exception("The form description " + file + " describes " + parsed.className +
                    ", which is not a registered form class");
  Owned<TComponent> root(registry.Create(info->Name(), nullptr));
  // Every component created into a designing owner is designing too, so the
  // installer's Loaded leaves the command line and the main form alone.
  root->SetDesigning(true);
  ReadForm(*root, text, file);
  return root;
}

}  // namespace

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
