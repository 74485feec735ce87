// Packing a file container's subtree into archives (build mode): the
// option bits that decide which archive each child goes to, the per-child
// archive settings changed only for the child's step, and the group's
// build step that drops files whose source is gone.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "install/InstallErrors.h"

class TComponent;
class TFileContainer;

// A net file needs a location to say where its archive goes.
PELLMORE_DECLARE_EXCEPTION(IEFileRel_NoNetLocation, IException);

// The option bits of a container's Compress.
enum : uint32_t {
  coAppendAll = 1,           // every non-net child appends, with no archive settings
  coContainerRelative = 2,   // archives placed relative to the container's archive
  coPassThrough = 4,         // not interpreted here; handed on to child containers
  coForceNetFilesLocal = 8,  // net files are packed like local ones
  coForceFilesNet = 16,      // every install file is packed as a net file
  coEverything = 32,         // excluded children are packed too and counted
};

// The option set a build uses for each kind of distribution.
inline constexpr uint32_t kBuildOptionsTraditional = 2 + 4 + 8 + 32;
inline constexpr uint32_t kBuildOptionsWeb = 2 + 4 + 16 + 32;
inline constexpr uint32_t kBuildOptionsTraditionalNet = 2 + 4 + 32;

// Packs `container`'s subtree (TFileContainer::Compress). Every child's
// AddToArchive, ArchiveFile, ArchiveFileType and Include are put back after
// its step, also when the step fails; the container ends idle. Install
// files take part through TFileRelated's build-mode steps.
void CompressContainer(TFileContainer& container, uint32_t options);

// Clears the packed and net-packed markers of every install file.
void ClearAllBuildMarkers();

// The build step of a file group: frees every install file of the group
// whose source file does not exist.
void RemoveFilesWithoutSource(TFileContainer& group);

// The directory text of a net location under which its archives are kept:
// the location's NetLocationPath (INetInstallLocation), for any other
// component its name. A resolver can be installed instead (null restores
// the default).
using TNetLocationPathResolver = std::function<std::string(TComponent* location)>;
void SetNetLocationPathResolver(TNetLocationPathResolver resolver);
