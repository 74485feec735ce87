// Building a distribution for authors (see Pack.h).
#include "tools/pack/Pack.h"

#include "archive/cmp_TVrexCompress.h"
#include "files/cmp_TInstallFile.h"
#include "framework/StrUtils.h"
#include "install/InstallLists.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "tools/pack/DesignForm.h"

namespace pack {

PackResult PackDistribution(std::string_view formText, const std::string& formFile,
                            const std::string& buildDirectory, const BuildRequest& request) {
  Owned<TComponent> root = ReadAtDesignTime(formText, formFile);
  TCustomInstall* installer = Installer();
  if (!installer)
    throw Exception("The form description " + formFile + " holds no installer (TInstall)");

  PackResult result;
  result.archive = IncludeTrailingBackslash(buildDirectory) + "files.1";
  if (request.setupProgram.empty()) {
    platform::files().CreateDirectories(ExcludeTrailingBackslash(buildDirectory));
    installer->CompressForBuild(result.archive);
  } else {
    installer->Build(buildDirectory, request.setupProgram, request.standalone);
  }

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
