// The source files of a container's packing, in packing order (see
// PackedSources.h); the same walk as the packing's reading of the sources.
#include "install/PackedSources.h"

#include "install/cmp_TFileContainer.h"
#include "install/cmp_TFileRelated.h"

namespace {

void Collect(TFileContainer& c, bool all, std::vector<std::string>& paths) {
  for (int i = 0; i < c.ObjectCount(); ++i) {
    TInstallObject* o = c.Objects(i);
    if (!all && !o->Include()) continue;
    if (TFileRelated* file = AsInstallFile(o)) {
      std::string path = file->SourcePath();
      if (!path.empty()) paths.push_back(std::move(path));
    } else if (o->Is<TFileContainer>()) {
      Collect(static_cast<TFileContainer&>(*o), all, paths);
    }
  }
}

}  // namespace

std::vector<std::string> PackedSourcePaths(TFileContainer& container, bool all) {
  std::vector<std::string> paths;
  Collect(container, all, paths);
  return paths;
}
