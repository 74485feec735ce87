// The source files a container's packing reads, in the order it packs
// them: what a build hands to the compression ahead (archive/
// CompressionAhead.h) before the first member is written.
#pragma once

#include <string>
#include <vector>

class TFileContainer;

// The SourcePath of every install file below `container`, depth first in
// child order; excluded children only when `all` (the build's option 32).
std::vector<std::string> PackedSourcePaths(TFileContainer& container, bool all);
