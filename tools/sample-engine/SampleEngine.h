// The sample Quenby Database Engine: the engine's files as an installation
// takes them (real PE libraries and programs with version resources, the
// configuration template, help, contents and locale files), the kit's own
// files, and machines laid out with an installed engine (an authoring
// machine, a target with an older engine), for building and installing
// distributions in tests and the demo. Content is deterministic,
// realistically sized and compressible.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sample_engine {

enum class Release {
  v82,  // the engine this setup installs: the 31 files of its engine group
  v75,  // an older engine already on a machine, for upgrade tests
};

struct EngineFile {
  std::string name;     // file name as the engine group lists it
  std::string version;  // four-part file version; empty for data files
  std::vector<uint8_t> bytes;
};

// Every file of the release, in the engine group's declaration order.
std::vector<EngineFile> BuildEngine(Release release);

// Writes the release's files into `directory` (created if missing) and
// returns them. Existing files of the same names are replaced.
std::vector<EngineFile> WriteEngine(Release release, const std::filesystem::path& directory);

// "8.2" or "7.5"; false for any other text.
bool ParseRelease(const std::string& text, Release& release);

// The files the kit directory holds: the engine's setup library
// "QDSETUP.DLL" (a stand-in image with its four exports; the simulated
// machine binds the real code behind that name, Windows runs copy the real
// library over it), the 8.2 template "QDENG32.CNF", the Osprey key file
// "OSP_KEY.DAT", the uninstall program "uninstall.exe" (a stand-in program;
// Windows runs copy the real one over it), the loading program
// "PellmoreLoadProgram.exe" (a stand-in a build copies to "setup.exe") and
// the marker "PKIT.TXT". Not engine members.
std::vector<EngineFile> BuildKitFiles();
// Writes the kit's files into a host directory (created when missing).
std::vector<EngineFile> WriteKit(const std::filesystem::path& directory);

// --- Machines with an installed engine ------------------------------------

// Where the engine and the kit go, below the machine's folders.
inline constexpr const char* kEngineSubdir = "Quenby\\Common Files\\QDE";
inline constexpr const char* kKitDir = "C:\\Pellmore";

// The folders of the machine that decide where files land.
struct MachinePaths {
  std::string programFiles;  // "C:\Program Files", no trailing backslash
  std::string systemDir;     // the system directory, no trailing backslash
};

struct LaidFile {
  std::string path;  // full Windows path
  std::vector<uint8_t> bytes;
  // Last written, as a day count since 1899-12-30 (UTC); 0: when laid down.
  // An engine's files carry their release's date, so an installation
  // comparing dates sees the older engine as older.
  double date = 0;
};

// The release dates the engines' files carry.
inline constexpr double kEngine82Date = 36392.5;  // 1999-08-20 12:00
inline constexpr double kEngine75Date = 35990.5;  // 1998-07-14 12:00

// A value below HKEY_LOCAL_MACHINE: a string, or a REG_DWORD when isDWord.
struct LaidValue {
  std::string key;  // "\Software\Quenby\Database Engine"
  std::string name;
  std::string text;
  bool isDWord = false;
  uint32_t number = 0;
};

// Everything one machine shape holds: its files and registry values. The
// simulated or real machine and the Wine prefix are laid out from the same
// layout, so they cannot differ.
struct MachineLayout {
  std::vector<LaidFile> files;
  std::vector<LaidValue> values;
};

// The authoring machine: the 8.2 engine in <programFiles>\<kEngineSubdir>
// with its configuration in use and registry keys (ENGINEPATH, LANGCODE,
// CONFIGPATH, QDLOC32 LANGPACKDIR, the KESTREL, HERON and OSPREY driver
// keys), the Osprey client in the system directory and its message file,
// and the kit directory kKitDir named by the kit's search path.
MachineLayout AuthoringLayout(const MachinePaths& paths);
// A target machine with the 7.5 engine: its files (the control panel applet
// in the system directory), registry keys, the configuration in use with
// the user's changes, LANGPACK1..3 naming its .QLL files, the KESTREL
// driver keys with the user's values and SharedDLLs counts of 1 for its
// libraries.
MachineLayout OlderEngineLayout(const MachinePaths& paths);

// The current backend's folders: "ProgramFilesDir" of HKLM
// "\Software\Microsoft\Windows\CurrentVersion" (else "\Program Files" on the
// Windows directory's drive) and the system directory.
MachinePaths CurrentMachinePaths();

// Writes the layout's files (creating folders, replacing files) and values
// (creating keys) through the current backend's services. Raises
// platform::OsError when the machine refuses; what was written stays.
void ApplyLayout(const MachineLayout& layout);

// AuthoringLayout / OlderEngineLayout for the current backend, applied;
// returns what was laid down.
MachineLayout InstallAuthoringEngine();
MachineLayout InstallOlderEngine();

// The layout's values as a REGEDIT4 file for "regedit /S" (CRLF, keys in
// the order they first occur).
std::string RenderRegFile(const MachineLayout& layout);

// Writes the layout's files into a Wine prefix: "C:\..." lands below
// PREFIX/drive_c, reusing existing folders whatever their case. Other drive
// letters raise std::runtime_error (a prefix has only C: of its own), as
// does a failed write.
void WriteFilesToWinePrefix(const MachineLayout& layout, const std::filesystem::path& prefix);
// The host path a "C:\..." path has in the prefix (folders that exist are
// matched ignoring case, as Wine does).
std::filesystem::path WinePrefixPath(const std::filesystem::path& prefix,
                                     const std::string& windowsPath);

}  // namespace sample_engine
