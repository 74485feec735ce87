// Writes small but real PE32 (i386) or PE32+ (x86-64) images: DLLs whose DllMain returns
// TRUE and whose exports return fixed values (DllRegisterServer with a
// chosen HRESULT), and EXEs that exit with a chosen code, optionally a
// different one when started with /REGSERVER. Each can carry a version
// resource. The machine code is a handful of hand-assembled instructions.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pegen {

struct VersionString {
  std::string key;    // UTF-8
  std::string value;  // UTF-8
};

// One "\StringFileInfo\<language><code page>" table.
struct StringTable {
  uint16_t language = 0x0409;
  uint16_t codePage = 1252;
  std::vector<VersionString> strings;
};

struct VersionTranslationEntry {
  uint16_t language = 0;
  uint16_t codePage = 0;
};

struct VersionResource {
  std::array<uint16_t, 4> fileVersion{};  // high part first: 8.2.0.1
  std::array<uint16_t, 4> productVersion{};
  uint32_t fileFlagsMask = 0x3F;
  uint32_t fileFlags = 0;
  uint32_t fileOS = 0x40004;  // Windows NT with 32 bit Windows
  uint32_t fileType = 0;      // 0: derive from the image kind (1 EXE, 2 DLL)
  uint32_t fileSubtype = 0;
  std::vector<StringTable> tables;
  // "\VarFileInfo\Translation"; empty: one entry per string table.
  std::vector<VersionTranslationEntry> translations;
  bool omitVarFileInfo = false;
  // Language of the resource directory entry; 0: the first table's.
  uint16_t resourceLanguage = 0;
};

// An exported stdcall function that returns `result` and pops
// `argumentBytes` bytes of arguments.
struct Export {
  std::string name;
  uint32_t result = 0;
  uint16_t argumentBytes = 0;
};

enum class ImageKind { Dll, Exe };

enum class Machine { I386, Amd64 };

// The machine type this build's own processes can load and start: x86-64 in
// the 64-bit Windows build (its tests run under a 64-bit Wine), i386
// everywhere else (the product and the simulated machine are 32-bit
// Windows). Tests that load or start a generated image ask for this one.
#ifdef _WIN64
inline constexpr Machine kLoadableMachine = Machine::Amd64;
#else
inline constexpr Machine kLoadableMachine = Machine::I386;
#endif

struct PeOptions {
  ImageKind kind = ImageKind::Dll;
  Machine machine = Machine::I386;
  // 0: 0x10000000 for DLLs, 0x00400000 for EXEs (x86-64: 0x180000000 and
  // 0x140000000). DLL code holds no absolute addresses, so a DLL loads at
  // any base.
  uint64_t imageBase = 0;
  // EXE: the process exit code, and the one used when the command line
  // contains /REGSERVER (ignoring case).
  uint32_t exitCode = 0;
  std::optional<uint32_t> regServerExitCode;
  // DLL exports (sorted by name in the image, as the loader requires).
  std::vector<Export> exports;
  std::string moduleName;  // name in the export directory; default "MODULE.DLL"
  std::optional<VersionResource> version;
  // Extra initialised data in its own section, for realistic file sizes.
  std::vector<uint8_t> payload;
  bool console = false;        // subsystem: console instead of GUI
  uint32_t timeDateStamp = 0;  // fixed, so output is reproducible
};

// The complete image file.
std::vector<uint8_t> BuildPe(const PeOptions& options);

// The VS_VERSIONINFO block alone (as stored in the resource).
std::vector<uint8_t> BuildVersionBlock(const VersionResource& version, ImageKind kind);

// Deterministic, compressible filler: text-like records built from a small
// vocabulary, neither random nor constant, about 3:1 under deflate.
std::vector<uint8_t> MakeFiller(uint32_t seed, size_t size);

// "8.2.0.1" to {8, 2, 0, 1}; missing parts are 0. False on a part that is
// not a number below 65536 or on more than four parts.
bool ParseVersion(const std::string& text, std::array<uint16_t, 4>& out);

}  // namespace pegen
