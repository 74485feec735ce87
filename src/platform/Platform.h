// The seam between the kit and the operating system. Kit code reaches the
// registry, files, system queries and the clock only through the services
// of the current Backend: on Linux a simulated Windows machine (platform/
// sim), on Windows the real system (platform/win32). Tests install a
// Backend of their own (a fresh simulated machine) and drop it afterwards.
#pragma once

#include <memory>

namespace platform {

class Registry;        // platform/Registry.h
class FileSystem;      // platform/FileSystem.h
class SystemInfo;      // platform/SystemInfo.h
class Clock;           // platform/Clock.h
class Processes;       // platform/Processes.h
class Libraries;       // platform/Libraries.h
class RestartService;  // platform/Restart.h
class IniFiles;        // platform/IniFiles.h
class MachineLocks;    // platform/MachineLocks.h
class Dde;             // platform/Dde.h
class ShellLinks;      // platform/ShellLinks.h
class Internet;        // platform/Internet.h

// The services of one machine.
class Backend {
 public:
  virtual ~Backend() = default;
  virtual Registry& registry() = 0;
  virtual FileSystem& files() = 0;
  virtual SystemInfo& system() = 0;
  virtual Clock& clock() = 0;
  // Backends for a narrow purpose (the author tools' host files, tests'
  // refusing machines) lack these; by default they raise OsError
  // ERROR_CALL_NOT_IMPLEMENTED naming the service.
  virtual Processes& processes();
  virtual Libraries& libraries();
  virtual RestartService& restart();
  virtual IniFiles& iniFiles();
  virtual MachineLocks& locks();
  virtual Dde& dde();
  virtual ShellLinks& shellLinks();
  virtual Internet& internet();
};

// The backend in use. On first use without an installed one, the default
// backend of the build is created: on Linux the machine named by the
// environment variable PELLMORE_MACHINE (an error when unset), on Windows
// the real system.
Backend& Current();

// Replaces the current backend (tests, tools). Passing nullptr drops it, so
// the next Current() creates the default again.
void Install(std::unique_ptr<Backend> backend);

// True when a backend is installed (Current() would not create one).
bool HasCurrent();

inline Registry& registry() {
  return Current().registry();
}
inline FileSystem& files() {
  return Current().files();
}
inline SystemInfo& system() {
  return Current().system();
}
inline Clock& clock() {
  return Current().clock();
}
inline Processes& processes() {
  return Current().processes();
}
inline Libraries& libraries() {
  return Current().libraries();
}
inline RestartService& restart() {
  return Current().restart();
}
inline IniFiles& iniFiles() {
  return Current().iniFiles();
}
inline MachineLocks& locks() {
  return Current().locks();
}
inline Dde& dde() {
  return Current().dde();
}
inline ShellLinks& shellLinks() {
  return Current().shellLinks();
}
inline Internet& internet() {
  return Current().internet();
}

// The default backend of this build; defined once in platform/sim or
// platform/win32.
std::unique_ptr<Backend> CreateDefaultBackend();

}  // namespace platform
