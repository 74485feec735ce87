// Shortcut files through the shell-link COM class and its persist-file
// interface (CoCreateInstance of CLSID_ShellLink, IShellLinkA, IPersistFile),
// one call per step so that the caller can tell which step failed and with
// which result. COM itself is initialised once for the main thread at
// program start (InitializeCom).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// What a shortcut file says. Texts are 8-bit in the ANSI code page.
struct ShellLinkData {
  std::string path;              // the target
  std::string arguments;
  std::string workingDirectory;
  std::string description;
  std::string iconPath;
  int32_t iconIndex = 0;
  uint16_t hotKey = 0;
  int32_t showCommand = 1;  // SW_SHOWNORMAL
};

// One shell-link object. Every setter and Save answer the HRESULT of the
// call (0 = S_OK, negative = failure) and never raise for a failure.
class ShellLink {
 public:
  virtual ~ShellLink() = default;
  virtual int32_t SetPath(std::string_view path) = 0;
  virtual int32_t SetHotkey(uint16_t hotKey) = 0;
  virtual int32_t SetArguments(std::string_view arguments) = 0;
  virtual int32_t SetWorkingDirectory(std::string_view directory) = 0;
  virtual int32_t SetDescription(std::string_view description) = 0;
  virtual int32_t SetIconLocation(std::string_view path, int32_t index) = 0;
  // IPersistFile::Save(path converted from the ANSI code page to UTF-16,
  // fRemember TRUE). A path of 260 UTF-16 units or more answers
  // E_INVALIDARG without writing anything.
  virtual int32_t Save(std::string_view linkPath) = 0;
};

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;
  // CoInitialize for the calling (main) thread; called once at program
  // start. False when COM refuses; never raises.
  virtual bool InitializeCom() = 0;
  // A new shell-link object (CoCreateInstance, then the IShellLinkA and
  // IPersistFile interfaces). A failure raises OsError naming the call and
  // carrying the HRESULT as its code.
  virtual std::unique_ptr<ShellLink> Create() = 0;
  // Reads a shortcut file back (IPersistFile::Load, then the getters);
  // nullopt when it is missing or not a shortcut. Tests and the machine
  // tool use it.
  virtual std::optional<ShellLinkData> Read(std::string_view linkPath) = 0;
};

}  // namespace platform
