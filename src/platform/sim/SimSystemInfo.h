// The system queries and the clock of the simulated machine: answers come
// from the machine settings (or, in a program the machine started, from
// what the starter passed); temporary and short names are made in the
// machine's drive folders.
#pragma once

#include <string>

#include "platform/Clock.h"
#include "platform/SystemInfo.h"
#include "platform/sim/MachineCore.h"

namespace platform::sim {

class SimSystemInfo : public SystemInfo {
 public:
  SimSystemInfo(MachineCore& core, FileSystem& files);

  std::string WindowsDirectory() override { return core_.Settings().windowsDir; }
  std::string SystemDirectory() override { return core_.Settings().systemDir; }
  std::string TempDirectory() override;
  std::string TempFileName(std::string_view dir, std::string_view prefix) override;
  std::string ShortPathName(std::string_view path) override;
  std::string CurrentDirectory() override { return core_.CurrentDir().Text(); }
  void SetCurrentDirectory(std::string_view path) override;
  WindowsVersion Version() override { return core_.Settings().version; }
  uint16_t UserDefaultLangID() override { return core_.Settings().language; }
  int ScreenWidth() override { return core_.Settings().screenWidth; }
  int ScreenHeight() override { return core_.Settings().screenHeight; }
  int CaptionHeight() override { return core_.Settings().captionHeight; }
  int TimeZoneOffsetMinutes() override { return core_.Settings().timeZoneMinutes; }
  std::string ModuleFileName() override;
  std::string CommandLine() override;
  void UseHostArguments(int argc, const char* const* argv) override;

  // Sets the whole command line (tests, and programs the machine starts).
  void SetCommandLine(std::string line) { commandLine_ = std::move(line); }

 private:
  MachineCore& core_;
  FileSystem& files_;
  std::string commandLine_;  // empty: the program alone
  // Set when this process is a program the machine started: its Windows
  // path and command line come from the starter (PELLMORE_PROGRAM,
  // PELLMORE_COMMAND_LINE), not from the settings and the host arguments.
  std::string startedAs_;
  bool startedWithCommandLine_ = false;
  uint32_t nextTemp_;  // the next number GetTempFileName tries
};

class SimClock : public Clock {
 public:
  explicit SimClock(MachineCore& core) : core_(core) {}
  FileTime NowUtc() override { return core_.NowUtc(); }
  TDateTime Now() override;

 private:
  MachineCore& core_;
};

}  // namespace platform::sim
