// Restart requests and delayed moves of the simulated machine (see
// SimRestart.h).
#include "platform/sim/SimRestart.h"

#include <fstream>

#include "platform/sim/SimErrors.h"
#include "platform/sim/SimFaults.h"

namespace platform::sim {

bool SimRestart::RequestRestart(bool enableShutdownPrivilege) {
  const bool nt = core_.Settings().version.platformId == kPlatformNT;
  if (nt && !enableShutdownPrivilege) return false;
  std::ofstream flag(FlagFile(), std::ios::trunc);
  flag << "restart requested\n";
  return bool(flag);
}

bool SimRestart::Requested() const {
  return std::ifstream(FlagFile()).good();
}

void SimRestart::ClearRequest() {
  std::remove(FlagFile().c_str());
}

void SimRestart::MoveAtRestart(std::string_view from, std::string_view to) {
  const char* call = "MoveFileExW";
  if (core_.Settings().version.platformId != kPlatformNT)
    Refuse(call, from, kErrorCallNotImplemented);
  if (core_.Settings().delayedMoveRefused) Refuse(call, from, kErrorAccessDenied);
  if (from.empty()) Refuse(call, from, kErrorInvalidParameter);
  Faults::Before(FaultKind::Delayed, call, from);
  std::string source = "\\??\\" + files_.FullPathName(from);
  std::string target = to.empty() ? std::string() : "!\\??\\" + files_.FullPathName(to);

  Registry& reg = registry_();
  reg.CreateKey(RootKey::LocalMachine, kSessionManagerKey);
  RegValue value{ValueType::MultiString, {}, 0, {}, {}};
  if (auto old = reg.ReadValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue);
      old && old->type == ValueType::MultiString)
    value.multi = old->multi;
  value.multi.push_back(source);
  value.multi.push_back(target);
  reg.WriteValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue, value);
  reg.Flush(RootKey::LocalMachine, kSessionManagerKey);
}

}  // namespace platform::sim
