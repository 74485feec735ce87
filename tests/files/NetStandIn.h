// A net install location for the install side's tests: "downloads" from a
// folder of the test machine in blocks, reporting each block as a server
// transfer does, and fails on demand the ways a server or a disk fails
// (refused, file missing, connection dropped after some bytes, the user's
// cancel after some bytes, a write the disk refuses).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/ClassRegistry.h"
#include "framework/Component.h"
#include "framework/Exception.h"
#include "install/NetLocationAccess.h"
#include "install/UserAbortFlag.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace filestest {

// What the stand-in raises, with the server's words where a server would
// have given some.
class ETestNet : public Exception {
 public:
  using Exception::Exception;
};

class TTestNetLocation : public TComponent, public INetInstallLocation {
  PELLMORE_CLASS(TTestNetLocation, TComponent)

 public:
  using TComponent::TComponent;

  bool LoginFilledIn() const override { return LoggedIn; }
  std::string NetLocationPath() const override { return Name(); }

  void Download(const std::string& remote, const std::string& local,
                ProgressHook progress) override {
    Requests.push_back(remote);
    if (!Refuse.empty()) throw ETestNet(Refuse);
    platform::FileSystem& fs = platform::files();
    const std::string source = Folder + "\\" + remote;
    if (!fs.FileExists(source))
      throw ETestNet("Could not find the file " + remote + " on the server. Response 550");
    auto in = fs.OpenRead(source);
    const int64_t size = static_cast<int64_t>(in->Size());
    auto out = fs.Create(local);
    std::vector<uint8_t> block(BlockSize);
    int64_t total = 0;
    for (;;) {
      const size_t n = in->Read(block.data(), block.size());
      if (n == 0) break;
      total += static_cast<int64_t>(n);
      if (progress)
        progress(remote, static_cast<int64_t>(n), total, HideSize ? 0 : size, block.data());
      if (CancelAfter >= 0 && total > CancelAfter) {
        SetUserAbortFlag(true);
        return;  // the local file keeps what was written
      }
      if (DropAfter >= 0 && total > DropAfter)
        throw ETestNet("Could not read from file " + remote + " on the server. Connection reset");
      try {
        out->Write(block.data(), n);
      } catch (const platform::OsError&) {
        throw ETestNet(Name() + " could not write to the local dest file " + local);
      }
    }
    Delivered.push_back(remote);
  }

  static void Register(ClassRegistry& r) {
    r.Class<TTestNetLocation, TComponent>("TTestNetLocation");
  }

  std::string Folder;  // the folder the "server" serves
  size_t BlockSize = 8192;
  bool LoggedIn = true;
  bool HideSize = false;               // no expected size, as a server without Content-Length
  std::string Refuse;                  // raised before anything is transferred
  int64_t DropAfter = -1;              // the connection drops once this many bytes came
  int64_t CancelAfter = -1;            // the user cancels once this many bytes came
  std::vector<std::string> Requests;   // every remote name asked for
  std::vector<std::string> Delivered;  // the ones transferred whole
};

}  // namespace filestest
