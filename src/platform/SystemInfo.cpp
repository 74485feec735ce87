// The non-virtual part of the system queries (see SystemInfo.h).
#include "platform/SystemInfo.h"

#include "platform/CommandLine.h"

namespace platform {

std::vector<std::string> SystemInfo::Arguments() {
  return SplitCommandLine(CommandLine());
}

}  // namespace platform
