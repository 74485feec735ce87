// The settings of a simulated machine, kept in one text file
// ("<machine>/machine.ini") so tests and the machine tool can shape it:
// platform kind and version, directories, language, screen, time zone,
// clock, the running program, drive capacities, removable drives and the
// files another program holds open. Every key can be shown and set as text.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/DateTime.h"
#include "platform/SystemInfo.h"

namespace platform::sim {

// A platform kind the machine can be: its GetVersionEx answer and where its
// Windows lives by default.
struct KindPreset {
  const char* name;  // "nt4", "95", "98", "me", "nt351", "2000", "xp", "win32s"
  WindowsVersion version;
  const char* windowsDir;  // default Windows directory
  const char* systemName;  // "System" (95 family, Win32s) or "System32" (NT)
};

// The preset named `kind` (ignoring case); nullptr for an unknown kind.
const KindPreset* FindKind(std::string_view kind);
// The names of all kinds, for messages: "nt4, 95, 98 ...".
std::string KindNames();

enum class ClockMode { Real, Fixed, Offset };

struct MachineSettings {
  std::string kind = "nt4";
  WindowsVersion version;
  std::string windowsDir = "C:\\WINNT";
  std::string systemDir = "C:\\WINNT\\System32";
  std::string tempDir = "C:\\WINNT\\Temp";
  uint16_t language = 0x0409;
  int screenWidth = 1024;
  int screenHeight = 768;
  int captionHeight = 18;
  int timeZoneMinutes = 0;  // local minus UTC
  ClockMode clockMode = ClockMode::Real;
  TDateTime clockFixed = 0;        // local time, when Fixed
  int64_t clockOffsetSeconds = 0;  // added to the host clock, when Offset
  std::string program = "C:\\SETUP\\SETUP.EXE";
  std::string currentDir = "C:\\";
  bool delayedMoveRefused = false;
  bool progman = true;                      // a Program Manager answers DDE
  std::vector<std::string> progmanRefuses;  // its commands it refuses ("*": all)
  bool wininet = true;                      // "WININET.DLL" can be loaded
  std::vector<std::string> wininetLacks;    // its entry points that are missing
  std::map<char, uint64_t> capacity;        // bytes per drive letter; absent = the host's space
  std::string removable;                    // drive letters with changeable disks, e.g. "A"
  std::vector<std::string> held;            // full Windows paths held open by another program
  std::string fault;                        // fault plan (SimFaults.h); empty: none

  // Every key with its value as text, in file order. Capacities appear as
  // "capacity.C"; held files as one "held" item each.
  std::vector<std::pair<std::string, std::string>> Items() const;
  // Sets one key from text. Raises MachineError naming the key and saying
  // what is wrong; nothing changes then. "kind" also sets the platform id
  // and version of that kind (not the directories); "held" adds a path.
  void Set(std::string_view key, std::string_view value);

  // The file text, and reading it back: a line that is not "key=value" in
  // a known section, or a bad value, raises MachineError naming `fileName`
  // and the line.
  std::string Serialize() const;
  static MachineSettings Parse(std::string_view text, const std::string& fileName);
};

// Reads "<hostDir>/machine.ini". A missing file raises MachineError saying
// the directory is no machine; a directory in its place, an empty file or
// one without its [machine] section say the machine is not whole.
MachineSettings LoadSettings(const std::string& hostDir);

// The largest byte count a setting takes (drive capacities, free space):
// room enough for any drive, and far enough from 2^64 that adding what a
// drive holds cannot wrap.
inline constexpr uint64_t kMaxByteCount = uint64_t(1) << 62;
// Reads a byte count as the settings do (decimal or 0x hex, no sign, no
// other text, at most kMaxByteCount); raises MachineError naming `key`.
uint64_t ByteCount(std::string_view key, std::string_view text);
// Writes it atomically (a temporary file renamed over the old one).
void SaveSettings(const std::string& hostDir, const MachineSettings& settings);

std::string SettingsFile(const std::string& hostDir);

}  // namespace platform::sim
