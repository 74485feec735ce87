// What install objects need of a net install location. The location
// component itself (TCustomNetInstallLocation) lives with the install files
// above this layer; install objects hold it as a plain component and reach
// it through this interface, which it implements.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Component.h"

class INetInstallLocation {
 public:
  // Called for every block received: the remote name, the block's length,
  // the running total, the expected size (0 when the server did not say)
  // and the block's bytes.
  using ProgressHook =
      std::function<void(const std::string& remoteName, int64_t blockBytes, int64_t totalBytes,
                         int64_t expectedBytes, const uint8_t* data)>;

  // Whether the login information is filled in enough to connect.
  virtual bool LoginFilledIn() const = 0;
  // The folder, relative to the build directory, in which a build puts
  // this location's archives and "filelist.lst", and under which the
  // server serves them: the login's Directory with "/" turned into "\"
  // and no leading or trailing separator ("" for the server's root).
  virtual std::string NetLocationPath() const = 0;
  // Downloads the server's `remoteName` (in the login's Directory) into
  // `localPath`, replacing it, with `progress` set for the duration.
  // Raises the ENIL family's errors; a download the user cancelled returns
  // with the program-wide abort flag set.
  virtual void Download(const std::string& remoteName, const std::string& localPath,
                        ProgressHook progress) = 0;

  virtual ~INetInstallLocation() = default;
};

// The location behind a NetLocation reference, or null when `component` is
// null or not a net location.
inline INetInstallLocation* AsNetInstallLocation(TComponent* component) {
  return dynamic_cast<INetInstallLocation*>(component);
}
