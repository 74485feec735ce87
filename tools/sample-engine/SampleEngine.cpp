// The sample engine's file table, the kit's files and the generators of
// their data files. Programs and libraries come from the PE generator;
// configuration files come from EngineConfig's tables; the other data
// files are made-up but plausible formats (help and contents files, locale
// and character-set tables) filled to realistic sizes.
#include "tools/sample-engine/SampleEngine.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "tools/pegen/PeWriter.h"
#include "tools/sample-engine/EngineConfig.h"

namespace sample_engine {
namespace {

enum class Kind { Dll, Exe, Cpl, Template, Config, Help, Contents, LocaleTable, Charset, LangPack };

struct FileDef {
  const char* name;
  Kind kind;
  const char* description;
  uint16_t build;  // last part of the file version
  uint32_t kilobytes;
  bool selfRegisters = false;
};

// The engine group's 31 member files, in declaration order.
const FileDef k82[] = {
    {"QDENG32.DLL", Kind::Dll, "Quenby Database Engine", 420, 420},
    {"QDLOC32.DLL", Kind::Dll, "Engine Locale Services", 420, 96},
    {"QDDRV32.DLL", Kind::Dll, "Engine Driver Manager", 420, 180},
    {"QDBMV32.DLL", Kind::Dll, "Engine Batch Move Services", 418, 64},
    {"QDENG32.CNF", Kind::Template, nullptr, 0, 12},
    {"lceast.qlt", Kind::LocaleTable, "East European", 0, 48},
    {"lcwest.qlt", Kind::LocaleTable, "West European", 0, 72},
    {"lcasia.qlt", Kind::LocaleTable, "Asian", 0, 90},
    {"lcjpn.qlt", Kind::LocaleTable, "Japanese", 0, 64},
    {"lcmisc.qlt", Kind::LocaleTable, "Miscellaneous", 0, 24},
    {"lcus.qlt", Kind::LocaleTable, "United States", 0, 20},
    {"charset.qcv", Kind::Charset, nullptr, 0, 32},
    {"qdcvt.dll", Kind::Dll, "Character Set Converter", 402, 48},
    {"QDRS0009.DLL", Kind::Dll, "Engine Resources (English)", 420, 150},
    {"QDMGR.EXE", Kind::Exe, "Database Engine Manager", 300, 380},
    {"QDMGR.HLP", Kind::Help, "Database Engine Manager Help", 0, 220},
    {"QDMGR.CNT", Kind::Contents, "QDMGR.HLP", 0, 0},
    {"QDMGR.CPL", Kind::Cpl, "Database Engine Control Panel Applet", 300, 40},
    {"QDVLT32.DLL", Kind::Dll, "Vault Driver", 411, 150},
    {"QDVOB32.DLL", Kind::Dll, "Vault Object Bridge", 411, 70},
    {"QDTXT32.DLL", Kind::Dll, "ASCII Text Driver", 405, 60},
    {"QDFOL32.DLL", Kind::Dll, "Folio Driver", 409, 140},
    {"QDOBR32.DLL", Kind::Dll, "ODBC Bridge", 414, 110},
    {"QDTAB32.DLL", Kind::Dll, "Tabula Driver", 420, 250},
    {"QDLSQ32.DLL", Kind::Dll, "Local SQL Engine", 417, 300, true},
    {"QDQBF32.DLL", Kind::Dll, "QBF Engine", 412, 120},
    {"QLKKST32.DLL", Kind::Dll, "Kestrel Server Link", 410, 110},
    {"QLKHCL32.DLL", Kind::Dll, "Heron Classic Server Link", 410, 100},
    {"QLKOSP32.DLL", Kind::Dll, "Osprey Server Link", 410, 95},
    {"SRVLNK32.HLP", Kind::Help, "Server Link Help", 0, 120},
    {"SRVLNK32.CNT", Kind::Contents, "SRVLNK32.HLP", 0, 0},
};

// An older engine as a machine would have it: locale packs as .QLL files
// named in the registry, and its configuration file in use.
const FileDef k75[] = {
    {"QDENG32.DLL", Kind::Dll, "Quenby Database Engine", 98, 360},
    {"QDLOC32.DLL", Kind::Dll, "Engine Locale Services", 98, 80},
    {"QDDRV32.DLL", Kind::Dll, "Engine Driver Manager", 98, 150},
    {"QDBMV32.DLL", Kind::Dll, "Engine Batch Move Services", 95, 56},
    {"QDENG32.CNF", Kind::Template, nullptr, 0, 10},
    {"USA.QLL", Kind::LangPack, "United States", 0, 40},
    {"EUROPE.QLL", Kind::LangPack, "Europe", 0, 70},
    {"OTHER.QLL", Kind::LangPack, "Other", 0, 30},
    {"QDRS0009.DLL", Kind::Dll, "Engine Resources (English)", 98, 130},
    {"QDMGR.EXE", Kind::Exe, "Database Engine Manager", 60, 320},
    {"QDMGR.HLP", Kind::Help, "Database Engine Manager Help", 0, 190},
    {"QDMGR.CNT", Kind::Contents, "QDMGR.HLP", 0, 0},
    {"QDMGR.CPL", Kind::Cpl, "Database Engine Control Panel Applet", 60, 36},
    {"QDVLT32.DLL", Kind::Dll, "Vault Driver", 90, 130},
    {"QDVOB32.DLL", Kind::Dll, "Vault Object Bridge", 90, 60},
    {"QDTXT32.DLL", Kind::Dll, "ASCII Text Driver", 85, 52},
    {"QDFOL32.DLL", Kind::Dll, "Folio Driver", 88, 120},
    {"QDOBR32.DLL", Kind::Dll, "ODBC Bridge", 92, 96},
    {"QDTAB32.DLL", Kind::Dll, "Tabula Driver", 98, 220},
    {"QDLSQ32.DLL", Kind::Dll, "Local SQL Engine", 96, 260, true},
    {"QDQBF32.DLL", Kind::Dll, "QBF Engine", 91, 100},
    {"QLKKST32.DLL", Kind::Dll, "Kestrel Server Link", 90, 96},
    {"QLKHCL32.DLL", Kind::Dll, "Heron Classic Server Link", 90, 90},
    {"QLKOSP32.DLL", Kind::Dll, "Osprey Server Link", 90, 84},
    {"SRVLNK32.HLP", Kind::Help, "Server Link Help", 0, 100},
    {"SRVLNK32.CNT", Kind::Contents, "SRVLNK32.HLP", 0, 0},
    {"qdeng32.cfg", Kind::Config, nullptr, 0, 14},
};

uint32_t Seed(const std::string& name) {
  uint32_t h = 2166136261u;
  for (char c : name) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
  return h;
}

void AddText(std::vector<uint8_t>& out, const std::string& s) {
  out.insert(out.end(), s.begin(), s.end());
}

void FillTo(std::vector<uint8_t>& out, size_t size, uint32_t seed) {
  if (out.size() >= size) return;
  const auto filler = pegen::MakeFiller(seed, size - out.size());
  out.insert(out.end(), filler.begin(), filler.end());
}

std::string VersionText(uint16_t major, uint16_t minor, uint16_t build) {
  return std::to_string(major) + "." + std::to_string(minor) + ".0." + std::to_string(build);
}

std::vector<uint8_t> Program(const FileDef& s, Release release, size_t index) {
  const bool v82 = release == Release::v82;
  const uint16_t major = v82 ? 8 : 7, minor = v82 ? 2 : 5;
  pegen::PeOptions o;
  o.kind = s.kind == Kind::Exe ? pegen::ImageKind::Exe : pegen::ImageKind::Dll;
  o.imageBase = s.kind == Kind::Exe ? 0 : 0x11000000u + static_cast<uint32_t>(index) * 0x00200000u;
  o.moduleName = s.name;
  o.timeDateStamp = v82 ? 0x37A1B2C0u : 0x35E0F100u;
  if (s.selfRegisters) o.exports.push_back({"DllRegisterServer", 0, 0});
  if (s.kind == Kind::Cpl) o.exports.push_back({"CPlApplet", 0, 16});
  if (s.kind == Kind::Exe) o.regServerExitCode = 0;

  pegen::VersionResource v;
  v.fileVersion = {major, minor, 0, s.build};
  v.productVersion = {major, minor, 0, 0};
  pegen::StringTable t;  // US English, Windows Latin 1: "040904E4"
  t.strings = {{"CompanyName", "Quenby Software Corporation"},
               {"FileDescription", s.description},
               {"FileVersion", VersionText(major, minor, s.build)},
               {"InternalName", std::string(s.name).substr(0, std::string(s.name).find('.'))},
               {"LegalCopyright", v82 ? "Copyright \xC2\xA9 1993-1999 Quenby Software Corporation"
                                      : "Copyright \xC2\xA9 1993-1997 Quenby Software Corporation"},
               {"OriginalFilename", s.name},
               {"ProductName", "Quenby Database Engine"},
               {"ProductVersion", std::to_string(major) + "." + std::to_string(minor)}};
  if (s.selfRegisters) t.strings.push_back({"OLESelfRegister", ""});
  v.tables.push_back(t);
  o.version = v;

  // The code and headers take a few KB; the rest is initialised data.
  const size_t target = size_t(s.kilobytes) * 1024;
  o.payload =
      pegen::MakeFiller(Seed(s.name) ^ (v82 ? 0 : 0x75), target > 8192 ? target - 8192 : 1024);
  return pegen::BuildPe(o);
}

// The configuration template, or the file in use: the release's tables,
// brought to a realistic size with comment lines only, so the engine's
// setup library can parse and merge them.
std::vector<uint8_t> Template(const FileDef& s, Release release, bool inUse) {
  const Config config = EngineConfig(release, inUse);
  return RenderConfig(config,
                      inUse ? "Quenby Database Engine configuration"
                            : "Quenby Database Engine configuration template",
                      size_t(s.kilobytes) * 1024, Seed(s.name));
}

std::vector<uint8_t> Help(const FileDef& s) {
  std::vector<uint8_t> out = {0x3F, 0x5F, 0x03, 0x00, 0x10, 0x00, 0x00, 0x00,
                              0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};
  AddText(out, std::string("|SYSTEM ") + s.description + "\r\n|TOPIC\r\n");
  const char* topics[] = {"Overview",        "Configuring drivers",     "Aliases",
                          "System settings", "Date and number formats", "Troubleshooting"};
  for (const char* t : topics) AddText(out, std::string("#") + t + "\r\n");
  FillTo(out, size_t(s.kilobytes) * 1024, Seed(s.name));
  return out;
}

std::vector<uint8_t> Contents(const FileDef& s) {
  std::vector<uint8_t> out;
  AddText(out,
          std::string(":Base ") + s.description + ">main\r\n:Title Quenby Database Engine\r\n");
  const char* topics[] = {"Overview",
                          "Configuring drivers",
                          "Aliases",
                          "System settings",
                          "Date and number formats",
                          "Troubleshooting",
                          "Server links",
                          "Glossary"};
  int id = 1;
  for (const char* t : topics) {
    AddText(out, std::string("1 ") + t + "\r\n");
    for (int k = 1; k <= 6; ++k)
      AddText(out, "2 " + std::string(t) + ", part " + std::to_string(k) + "=topic_" +
                       std::to_string(id++) + "\r\n");
  }
  return out;
}

// Locale tables: a header, then collation weights for each character of
// several code pages, then sort-order and case tables.
std::vector<uint8_t> LocaleTable(const FileDef& s, const char* magic) {
  std::vector<uint8_t> out;
  AddText(out, magic);
  AddText(out, std::string(s.description) + " locale\x1A");
  const uint16_t pages[] = {437, 850, 852, 1250, 1251, 1252, 932, 936};
  for (uint16_t cp : pages) {
    out.push_back(static_cast<uint8_t>(cp));
    out.push_back(static_cast<uint8_t>(cp >> 8));
    for (int c = 0; c < 256; ++c) {
      const int weight = c < 128 ? (c >= 'a' && c <= 'z' ? c - 32 : c) : 128 + ((c * 7 + cp) % 128);
      out.push_back(static_cast<uint8_t>(weight));
      out.push_back(static_cast<uint8_t>(c < 128 ? 0 : (cp >> 4) & 0x0F));
    }
  }
  FillTo(out, size_t(s.kilobytes) * 1024, Seed(s.name));
  return out;
}

std::vector<uint8_t> Charset(const FileDef& s) {
  std::vector<uint8_t> out;
  AddText(out, "QCV1");
  const uint16_t pages[] = {437, 850, 852, 866, 1250, 1251, 1252, 1253, 1254, 1257};
  for (uint16_t from : pages) {
    for (uint16_t to : {uint16_t(1252), uint16_t(65001)}) {
      for (int c = 0; c < 256; ++c) {
        const uint16_t code =
            c < 128 ? c : static_cast<uint16_t>(0x00A0 + ((c * 3 + from + to) % 0x60));
        out.push_back(static_cast<uint8_t>(code));
        out.push_back(static_cast<uint8_t>(code >> 8));
      }
    }
  }
  FillTo(out, size_t(s.kilobytes) * 1024, Seed(s.name));
  return out;
}

std::vector<uint8_t> Build(const FileDef& s, Release release, size_t index) {
  switch (s.kind) {
    case Kind::Dll:
    case Kind::Exe:
    case Kind::Cpl:
      return Program(s, release, index);
    case Kind::Template:
      return Template(s, release, false);
    case Kind::Config:
      return Template(s, release, true);
    case Kind::Help:
      return Help(s);
    case Kind::Contents:
      return Contents(s);
    case Kind::LocaleTable:
      return LocaleTable(s, "QLT2");
    case Kind::LangPack:
      return LocaleTable(s, "QLL1");
    case Kind::Charset:
      return Charset(s);
  }
  throw std::logic_error("unknown file kind");
}

}  // namespace

std::vector<EngineFile> BuildEngine(Release release) {
  std::vector<EngineFile> files;
  const bool v82 = release == Release::v82;
  const FileDef* begin = v82 ? std::begin(k82) : std::begin(k75);
  const FileDef* end = v82 ? std::end(k82) : std::end(k75);
  for (const FileDef* s = begin; s != end; ++s) {
    const bool program = s->kind == Kind::Dll || s->kind == Kind::Exe || s->kind == Kind::Cpl;
    files.push_back({s->name,
                     program ? VersionText(v82 ? 8 : 7, v82 ? 2 : 5, s->build) : std::string(),
                     Build(*s, release, static_cast<size_t>(s - begin))});
  }
  return files;
}

namespace {

void WriteFiles(const std::vector<EngineFile>& files, const std::filesystem::path& directory) {
  std::filesystem::create_directories(directory);
  for (const auto& f : files) {
    std::ofstream out(directory / f.name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(f.bytes.data()),
              static_cast<std::streamsize>(f.bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + (directory / f.name).string());
  }
}

}  // namespace

std::vector<EngineFile> WriteEngine(Release release, const std::filesystem::path& directory) {
  auto files = BuildEngine(release);
  WriteFiles(files, directory);
  return files;
}

std::vector<EngineFile> WriteKit(const std::filesystem::path& directory) {
  auto files = BuildKitFiles();
  WriteFiles(files, directory);
  return files;
}

std::vector<EngineFile> BuildKitFiles() {
  std::vector<EngineFile> files;

  // The engine's setup library as the kit ships it; its exports are
  // __stdcall with the argument counts the engine component passes.
  pegen::PeOptions o;
  o.moduleName = "QDSETUP.DLL";
  o.imageBase = 0x10800000u;
  o.timeDateStamp = 0x37A1B2C0u;
  o.exports = {{"IncrementEngineUseCount", 0, 0},
               {"QdLocaleConfig", 0, 3 * 4},
               {"QdMergeConfig", 0, 6 * 4},
               {"QdRepairConfig", 0, 4 * 4}};
  pegen::VersionResource v;
  v.fileVersion = {8, 2, 0, 420};
  v.productVersion = {8, 2, 0, 0};
  pegen::StringTable t;
  t.strings = {{"CompanyName", "Quenby Software Corporation"},
               {"FileDescription", "Engine Setup Library"},
               {"FileVersion", VersionText(8, 2, 420)},
               {"InternalName", "QDSETUP"},
               {"LegalCopyright", "Copyright \xC2\xA9 1993-1999 Quenby Software Corporation"},
               {"OriginalFilename", "QDSETUP.DLL"},
               {"ProductName", "Quenby Database Engine"},
               {"ProductVersion", "8.2"}};
  v.tables.push_back(t);
  o.version = v;
  o.payload = pegen::MakeFiller(Seed("QDSETUP.DLL"), 40 * 1024);
  files.push_back({"QDSETUP.DLL", VersionText(8, 2, 420), pegen::BuildPe(o)});

  for (const FileDef& s : k82)
    if (s.kind == Kind::Template) files.push_back({s.name, "", Template(s, Release::v82, false)});

  // The Osprey link's licence key: a small header, then key blocks.
  std::vector<uint8_t> key;
  AddText(key, "OSPKEY\x1A\x01");
  uint32_t state = Seed("OSP_KEY.DAT");
  while (key.size() < 2048) {
    state = state * 1664525u + 1013904223u;
    key.push_back(static_cast<uint8_t>(state >> 24));
  }
  files.push_back({"OSP_KEY.DAT", "", key});

  // The uninstall program a TUninstallEXE item installs. On the simulated
  // machine a stand-in that only has to be a program; the Windows
  // scenarios copy the real uninstall.exe over it.
  pegen::PeOptions u;
  u.kind = pegen::ImageKind::Exe;
  u.moduleName = "uninstall.exe";
  u.timeDateStamp = 0x37A1B2C0u;
  pegen::VersionResource uv;
  uv.fileVersion = {1, 0, 0, 24};
  uv.productVersion = {1, 0, 0, 0};
  pegen::StringTable ut;
  ut.strings = {{"FileDescription", "Uninstall program"},
                {"FileVersion", "1.0.0.24"},
                {"OriginalFilename", "uninstall.exe"},
                {"ProductName", "Pellmore setup kit"}};
  uv.tables.push_back(ut);
  u.version = uv;
  files.push_back({"uninstall.exe", "1.0.0.24", pegen::BuildPe(u)});

  // The loading program a build copies to "setup.exe". Here a stand-in
  // that only has to be a program of a fixed size and bytes, so builds from
  // the same files stay byte-identical; scenarios that start the loader
  // copy the real one over it.
  pegen::PeOptions l;
  l.kind = pegen::ImageKind::Exe;
  l.moduleName = "PellmoreLoadProgram.exe";
  l.timeDateStamp = 0x37A1B2C0u;
  l.payload = pegen::MakeFiller(Seed("PellmoreLoadProgram.exe"), 4 * 1024);
  files.push_back({"PellmoreLoadProgram.exe", "", pegen::BuildPe(l)});

  std::vector<uint8_t> marker;
  AddText(marker,
          "Pellmore setup kit\r\n"
          "This directory holds the files every distribution takes from the kit:\r\n"
          "QDSETUP.DLL, QDENG32.CNF, OSP_KEY.DAT, uninstall.exe, PellmoreLoadProgram.exe.\r\n");
  files.push_back({"PKIT.TXT", "", marker});
  return files;
}

bool ParseRelease(const std::string& text, Release& release) {
  if (text == "8.2") {
    release = Release::v82;
    return true;
  }
  if (text == "7.5") {
    release = Release::v75;
    return true;
  }
  return false;
}

}  // namespace sample_engine
