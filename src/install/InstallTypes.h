// Shared declarations of the install object model: install types, the
// distribution kinds, the registered types that order a container's
// children and select the receivers of component calls, and the event
// types of containers and install files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Object.h"
#include "framework/Set.h"

// Which objects a chosen kind of installation installs.
enum TInstallType { itFull, itDefault, itCompact, itAlways, itCustom };
using TInstallTypeSet = Set<TInstallType>;

// Where a distribution's archives come from.
enum TDistributeType { dtTraditional, dtWeb, dtTraditionalNet };

// Registered types: the order of a container's children and who receives
// component calls.
enum : int {
  kRegisteredFileContainer = 1000,
  kRegisteredInstallFile = 2000,
  kRegisteredLinkGroup = 7000,
  kRegisteredLink = 8000,
  kRegisteredDialog = 9000,
};

class TInstallContainer;
class TFileRelated;

// An install file, as events and information events hand it on: an install
// object of registered type 2000.
using TInstallFileRef = TFileRelated*;

using TInstallContainerNotifyEvent = std::function<void(TInstallContainer* Container)>;
using TAfterInstallObjectsEvent =
    std::function<void(TInstallContainer* Container, bool WasAborted)>;
using TInstallFileNotifyEvent = std::function<void(TInstallFileRef InstallFile)>;
using TInstallFileStatusEvent =
    std::function<void(TInstallFileRef InstallFile, int FilePercentDone, int TotalPercentDone)>;
using TInstallFileNewDiskEvent =
    std::function<void(TInstallFileRef InstallFile, int NewDisk, std::string& Path)>;
using TDataReceivedEvent =
    std::function<void(TObject* Sender, const std::string& FileName, int64_t Bytes,
                       int64_t TotalBytes, int64_t FileSize, const uint8_t* Buffer)>;
// A component call heard by a TGrabCall: the sender, the call code and its
// parameter object (may be null).
using TExternalComponentCall =
    std::function<void(TObject* Container, int ComponentCall, TObject* PO)>;
