// The configuration tables of the sample engine and their rendering. 8.2
// adds settings and whole sections to what 7.5 had, so merging a 7.5 file
// in use with the 8.2 template has something to add; the 7.5 file in use
// carries the user's changes that a merge must keep.
#include "tools/sample-engine/EngineConfig.h"

#include <algorithm>
#include <cctype>

#include "tools/pegen/PeWriter.h"

namespace sample_engine {
namespace {

struct SettingDef {
  const char* name;
  const char* value;
  bool only82 = false;  // the setting is new in 8.2
};

struct SectionDef {
  const char* name;
  const char* comment;
  std::vector<SettingDef> settings;
  bool only82 = false;  // the whole section is new in 8.2
};

// "VERSION" and "LANGCODE" of [SYSTEM INIT] are filled in per release.
const SectionDef kSystemInit = {"SYSTEM INIT",
                                "Settings of the engine itself, shared by every driver.",
                                {{"VERSION", ""},
                                 {"LANGCODE", "0009"},
                                 {"LOCAL SHARE", "FALSE"},
                                 {"MINBUFSIZE", "128"},
                                 {"MAXBUFSIZE", "2048"},
                                 {"COLLATION", "qdlus"},
                                 {"MAXFILEHANDLES", "48"},
                                 {"SYSFLAGS", "0"},
                                 {"SHAREDMEMSIZE", "2048"},
                                 {"SHAREDMEMLOCATION", "0x5BDE", true},
                                 {"LOW MEMORY USAGE LIMIT", "32", true},
                                 {"MEMSIZE", "16", true},
                                 {"DEFAULT DRIVER", "TABULA"},
                                 {"AUTO ODBC", "FALSE"}}};

// Drivers with [DRIVERS\<NAME>\INIT] and [DRIVERS\<NAME>\TABLE CREATE];
// the first seven are file drivers, the rest server links.
const char* const kDrivers[] = {"VAULT",      "ASCII", "FOLIO",   "ODBC",  "TABULA",
                                "SQL ENGINE", "QBF",   "KESTREL", "HERON", "OSPREY",
                                "PLOVER",     "WREN",  "TERN"};
constexpr int kFileDrivers = 7;

// The server links' connection settings.
const SectionDef kLinkSections[] = {
    {"DRIVERS\\KESTREL\\SESSION",
     "Kestrel server link: how a session connects.",
     {{"DATABASE", ""},
      {"HOST", "KST_SERVER"},
      {"LOGIN", "MYNAME"},
      {"ACCESS", "READ/WRITE"},
      {"CACHE SIZE", "8"},
      {"COMMIT MODE", "SHARED AUTO"},
      {"DATE FORMAT", "0"},
      {"QUERY TIMEOUT", "300"},
      {"ROW LIMIT", "-1"},
      {"BATCH SIZE", "200"},
      {"CLIENT NAME", "", true},
      {"PACKET SIZE", "4096", true}}},
    {"DRIVERS\\KESTREL\\STARTUP",
     "Kestrel server link: loading the client library.",
     {{"LIBRARY", "QLKKST32.DLL"},
      {"CLIENT LIB", ""},
      {"CONNECT TIMEOUT", "60"},
      {"TIMEOUT", "300"},
      {"TRACE", "0"},
      {"MAX CONNECTIONS", "300", true}}},
    {"DRIVERS\\HERON\\SESSION",
     "Heron Classic server link: how a session connects.",
     {{"SERVER NAME", "HERON_SRV"},
      {"USER NAME", "MYNAME"},
      {"OPEN MODE", "READ/WRITE"},
      {"SCHEMA CACHE SIZE", "8"},
      {"CHARACTER SET", ""},
      {"BLOBS TO CACHE", "64"}},
     true},
    {"DRIVERS\\HERON\\STARTUP",
     "Heron Classic server link: loading the client library.",
     {{"LIBRARY", "QLKHCL32.DLL"}, {"CONNECT TIMEOUT", "60"}, {"TRACE", "0"}},
     true},
    {"DRIVERS\\OSPREY\\SESSION",
     "Osprey server link: how a session connects.",
     {{"SERVER NAME", "OSP_SERVER"},
      {"USER NAME", "MYNAME"},
      {"NET PROTOCOL", "TCP/IP"},
      {"OPEN MODE", "READ/WRITE"},
      {"MAX ROWS", "-1"},
      {"ENABLE BCD", "FALSE", true}}},
    {"DRIVERS\\OSPREY\\STARTUP",
     "Osprey server link: loading the client library.",
     {{"LIBRARY", "QLKOSP32.DLL"},
      {"CLIENT LIB", "OSPCLI32.DLL"},
      {"KEY FILE", "OSP_KEY.DAT"},
      {"TRACE", "0"}}},
};

// What the user of the 7.5 machine changed, and the section they added.
struct UserChange {
  const char* section;
  const char* name;
  const char* value;
};
const UserChange kUserChanges75[] = {
    {"SYSTEM INIT", "MAXFILEHANDLES", "96"},
    {"SYSTEM INIT", "LOCAL SHARE", "TRUE"},
    {"DRIVERS\\KESTREL\\SESSION", "HOST", "PRODSRV"},
    {"DRIVERS\\KESTREL\\SESSION", "LOGIN", "SALESADM"},
    {"DRIVERS\\KESTREL\\SESSION", "BATCH SIZE", "500"},
    {"DRIVERS\\KESTREL\\STARTUP", "CONNECT TIMEOUT", "90"},
};
const SectionDef kUserSection75 = {
    "ALIASES\\SALES",
    "Added by the user: the sales database.",
    {{"PATH", "D:\\DATA\\SALES"}, {"TYPE", "TABULA"}, {"DEFAULT DRIVER", "TABULA"}}};

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

ConfigSection FromDef(const SectionDef& d, bool v82) {
  ConfigSection s{d.name, d.comment, {}};
  for (const SettingDef& v : d.settings)
    if (v82 || !v.only82) s.settings.push_back({v.name, v.value});
  return s;
}

void Append(std::vector<uint8_t>& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

const ConfigSection* FindSection(const Config& config, const std::string& name) {
  for (const ConfigSection& s : config)
    if (SameName(s.name, name)) return &s;
  return nullptr;
}

Config EngineConfig(Release release, bool inUse) {
  const bool v82 = release == Release::v82;
  Config c;
  c.push_back(FromDef(kSystemInit, v82));
  c.back().settings[0].value = v82 ? "8.2" : "7.5";

  int n = 0;
  for (const char* d : kDrivers) {
    const std::string base = std::string("DRIVERS\\") + d;
    c.push_back({base + "\\INIT",
                 n == 0 ? "Per driver: the driver's kind and its sort order." : "",
                 {{"VERSION", v82 ? "4.0" : "3.5"},
                  {"TYPE", n < kFileDrivers ? "FILE" : "SERVER"},
                  {"COLLATION", "qdlus"}}});
    if (v82) c.back().settings.push_back({"ENABLE SCHEMA CACHE", "FALSE"});
    c.push_back({base + "\\TABLE CREATE",
                 "",
                 {{"LEVEL", std::to_string(3 + n % 4)},
                  {"BLOCK SIZE", std::to_string(2048 << (n % 3))},
                  {"FILL FACTOR", "95"},
                  {"STRICTINTEGRTY", "TRUE"}}});
    ++n;
  }
  for (const SectionDef& d : kLinkSections)
    if (v82 || !d.only82) c.push_back(FromDef(d, v82));

  if (inUse && !v82) {
    for (const UserChange& u : kUserChanges75)
      for (ConfigSection& s : c)
        if (SameName(s.name, u.section))
          for (ConfigSetting& v : s.settings)
            if (SameName(v.name, u.name)) v.value = u.value;
    c.push_back(FromDef(kUserSection75, v82));
  }
  return c;
}

std::vector<uint8_t> RenderConfig(const Config& config, const std::string& header,
                                  size_t targetBytes, uint32_t seed) {
  std::vector<uint8_t> body;
  for (const ConfigSection& s : config) {
    Append(body, "\r\n");
    if (!s.comment.empty()) Append(body, "; " + s.comment + "\r\n");
    Append(body, "[" + s.name + "]\r\n");
    for (const ConfigSetting& v : s.settings) Append(body, v.name + "=" + v.value + "\r\n");
  }

  std::vector<uint8_t> out;
  Append(out, "; " + header + "\r\n");
  // Change notes as comment lines: the filler's CRLF-ended records, each
  // behind "; ", cut at a whole line so nothing but comments is added.
  const size_t have = out.size() + body.size();
  if (targetBytes > have + 64) {
    Append(out, "; Change notes:\r\n");
    const std::vector<uint8_t> notes = pegen::MakeFiller(seed, targetBytes - have);
    size_t start = 0;
    for (size_t i = 0; i + 1 < notes.size(); ++i) {
      if (notes[i] != '\r' || notes[i + 1] != '\n') continue;
      const size_t lineEnd = i + 2;
      const std::string prefix = ";   ";
      if (out.size() + prefix.size() + (lineEnd - start) + body.size() > targetBytes) break;
      Append(out, prefix);
      out.insert(out.end(), notes.begin() + static_cast<std::ptrdiff_t>(start),
                 notes.begin() + static_cast<std::ptrdiff_t>(lineEnd));
      start = lineEnd;
      ++i;
    }
  }
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace sample_engine
