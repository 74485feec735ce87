// The simulated machine's internet library: real FTP and HTTP over libcurl
// behind the entry points of "WININET.DLL", with the answers and error
// codes the system's library gives (see platform/Internet.h). The machine's
// settings can take the library away ("wininet=0") or leave entry points
// out of it ("wininet-lacks=HttpQueryInfoA,..."), so a setup's load errors
// can be seen.
#pragma once

#include <memory>
#include <string_view>

#include "platform/Internet.h"
#include "platform/sim/MachineCore.h"

namespace platform::sim {

class SimInternet final : public Internet {
 public:
  explicit SimInternet(const MachineCore& core) : core_(core) {}
  std::unique_ptr<InternetLibrary> Load(std::string_view name) override;

 private:
  const MachineCore& core_;
};

}  // namespace platform::sim
