// The machine tool's `reg` command: shows a simulated machine's registry as
// readable text, or exports it as a .reg file that regedit imports (UTF-16LE
// with byte-order mark, "Windows Registry Editor Version 5.00", CRLF).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "framework/StrUtils.h"
#include "framework/Utf8.h"
#include "platform/Registry.h"
#include "platform/sim/SimRegistry.h"
#include "tools/machine/Commands.h"

using platform::Registry;
using platform::RegValue;
using platform::RootKey;
using platform::ValueType;

namespace {

struct RootName {
  const char* full;
  const char* abbreviation;
  RootKey root;
};

// In export order; HKEY_CLASSES_ROOT lives inside HKEY_LOCAL_MACHINE, so a
// whole-registry export leaves it out.
constexpr RootName kRoots[] = {
    {"HKEY_LOCAL_MACHINE", "HKLM", RootKey::LocalMachine},
    {"HKEY_CURRENT_USER", "HKCU", RootKey::CurrentUser},
    {"HKEY_USERS", "HKU", RootKey::Users},
    {"HKEY_CURRENT_CONFIG", "HKCC", RootKey::CurrentConfig},
    {"HKEY_DYN_DATA", "HKDD", RootKey::DynData},
    {"HKEY_CLASSES_ROOT", "HKCR", RootKey::ClassesRoot},
};

// A key to show: its root, its path below the root and its full name.
struct Start {
  RootKey root;
  std::string path;
  std::string full;
};

// `path` (an existing key) as its names are stored, whatever case the user
// typed.
std::string StoredSpelling(Registry& reg, RootKey root, std::string_view path) {
  std::string stored;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == path.npos) end = path.size();
    const std::string_view name = path.substr(start, end - start);
    std::string found(name);
    for (const auto& sub : reg.SubKeyNames(root, stored))
      if (SameText(sub, name)) found = sub;
    stored += (stored.empty() ? "" : "\\") + found;
    start = end + 1;
  }
  return stored;
}

// The key named by `key` ("HKLM\\SOFTWARE\\..."), or every root when absent.
std::vector<Start> Starts(Registry& reg, const std::optional<std::string>& keyArg) {
  std::vector<Start> starts;
  if (!keyArg) {
    for (const auto& r : kRoots)
      if (r.root != RootKey::ClassesRoot) starts.push_back({r.root, "", r.full});
    return starts;
  }
  std::string_view key = *keyArg;
  const size_t slash = key.find('\\');
  const std::string_view rootPart = key.substr(0, slash);
  std::string below(slash == key.npos ? std::string_view() : key.substr(slash + 1));
  while (!below.empty() && below.back() == '\\') below.pop_back();
  for (const auto& r : kRoots) {
    if (!SameText(rootPart, r.full) && !SameText(rootPart, r.abbreviation)) continue;
    if (!reg.KeyExists(r.root, below)) throw std::runtime_error("no such key: " + *keyArg);
    starts.push_back({r.root, StoredSpelling(reg, r.root, below), r.full});
    if (!starts.back().path.empty()) starts.back().full += "\\" + starts.back().path;
    return starts;
  }
  throw UsageError("KEY must start with a root such as HKEY_LOCAL_MACHINE or HKLM");
}

std::unique_ptr<Registry> OpenMachineRegistry(const std::string& dir) {
  const std::filesystem::path registry = std::filesystem::path(dir) / "registry";
  if (!std::filesystem::is_directory(registry))
    throw std::runtime_error("not a machine directory (no registry folder): " + dir);
  return platform::sim::OpenSimRegistry(registry.string());
}

// Calls f(path, full name) for the key and every key below it, depth first
// in enumeration order.
template <class F>
void Walk(Registry& reg, RootKey root, const std::string& path, const std::string& full, F&& f) {
  f(path, full);
  for (const auto& sub : reg.SubKeyNames(root, path))
    Walk(reg, root, path.empty() ? sub : path + "\\" + sub, full + "\\" + sub, f);
}

// ---- readable dump ----

std::string Shown(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\0':
        out += "\\0";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

std::string Readable(const RegValue& v) {
  static const char digits[] = "0123456789abcdef";
  switch (v.type) {
    case ValueType::String:
      return "REG_SZ " + Shown(v.text);
    case ValueType::ExpandString:
      return "REG_EXPAND_SZ " + Shown(v.text);
    case ValueType::DWord: {
      std::string hex;
      for (int shift = 28; shift >= 0; shift -= 4) hex += digits[(v.dword >> shift) & 15];
      return "REG_DWORD 0x" + hex + " (" + std::to_string(v.dword) + ")";
    }
    case ValueType::Binary: {
      std::string out = "REG_BINARY";
      for (uint8_t b : v.binary) {
        out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
      }
      return out;
    }
    case ValueType::MultiString: {
      std::string out = "REG_MULTI_SZ";
      for (size_t i = 0; i < v.multi.size(); ++i) out += (i ? ", " : " ") + Shown(v.multi[i]);
      return out;
    }
  }
  return "?";
}

int Dump(const std::string& dir, const std::optional<std::string>& key) {
  auto reg = OpenMachineRegistry(dir);
  std::string out;
  for (const auto& s : Starts(*reg, key)) {
    Walk(*reg, s.root, s.path, s.full, [&](const std::string& path, const std::string& full) {
      out += "[" + full + "]\n";
      for (const auto& name : reg->ValueNames(s.root, path)) {
        const auto v = reg->ReadValue(s.root, path, name);
        if (!v) continue;
        out += "    " + (name.empty() ? std::string("(Default)") : Shown(name)) + " " +
               Readable(*v) + "\n";
      }
    });
  }
  std::cout << out;
  return 0;
}

// ---- .reg export ----

// UTF-16LE bytes of `s`, optionally with a NUL terminator.
std::string Utf16Bytes(std::string_view s, bool terminate) {
  std::u16string w = Utf8ToUtf16(s);
  if (terminate) w.push_back(u'\0');
  std::string bytes;
  bytes.reserve(w.size() * 2);
  for (char16_t c : w) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// "hex...:" followed by the bytes, continued within 80 columns as regedit
// writes it.
void AppendHex(std::string& out, const std::string& prefix, std::string_view bytes, size_t column) {
  static const char digits[] = "0123456789abcdef";
  out += prefix;
  column += prefix.size();
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) {
      out += ',';
      ++column;
      if (column + 3 > 77) {
        out += "\\\r\n  ";
        column = 2;
      }
    }
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += digits[b >> 4];
    out += digits[b & 15];
    column += 2;
  }
}

void AppendExportValue(std::string& out, const std::string& name, const RegValue& v) {
  const size_t start = out.size();
  out += name.empty() ? std::string("@") : Quoted(name);
  out += '=';
  const size_t column = out.size() - start;
  switch (v.type) {
    case ValueType::String:
      if (v.text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos)
        out += Quoted(v.text);
      else
        AppendHex(out, "hex(1):", Utf16Bytes(v.text, true), column);
      break;
    case ValueType::ExpandString:
      AppendHex(out, "hex(2):", Utf16Bytes(v.text, true), column);
      break;
    case ValueType::Binary:
      AppendHex(out, "hex:",
                std::string_view(reinterpret_cast<const char*>(v.binary.data()), v.binary.size()),
                column);
      break;
    case ValueType::DWord: {
      char buf[16];
      std::snprintf(buf, sizeof buf, "dword:%08x", v.dword);
      out += buf;
      break;
    }
    case ValueType::MultiString: {
      std::string bytes;
      for (const auto& item : v.multi) bytes += Utf16Bytes(item, true);
      bytes += Utf16Bytes("", true);
      AppendHex(out, "hex(7):", bytes, column);
      break;
    }
  }
  out += "\r\n";
}

int Export(const std::string& dir, const std::string& file, const std::optional<std::string>& key) {
  auto reg = OpenMachineRegistry(dir);
  // Built whole first: a registry that cannot be read leaves no half file.
  std::string text = "Windows Registry Editor Version 5.00\r\n";
  for (const auto& s : Starts(*reg, key)) {
    Walk(*reg, s.root, s.path, s.full, [&](const std::string& path, const std::string& full) {
      const auto names = reg->ValueNames(s.root, path);
      if (path.empty() && names.empty()) return;  // a root section says nothing
      text += "\r\n[" + full + "]\r\n";
      for (const auto& name : names)
        if (const auto v = reg->ReadValue(s.root, path, name)) AppendExportValue(text, name, *v);
    });
  }
  text += "\r\n";
  const std::string bytes = "\xFF\xFE" + Utf16Bytes(text, false);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + file);
  return 0;
}

int Reg(const std::vector<std::string>& args) {
  if (args.size() < 2) throw UsageError("missing the machine directory or the action");
  const std::string& action = args[1];
  const size_t keyAt = action == "export" ? 3 : 2;
  if (action != "dump" && action != "export")
    throw UsageError("unknown action '" + action + "' (dump or export)");
  if (action == "export" && args.size() < 3) throw UsageError("missing the output file");
  if (args.size() > keyAt + 1) throw UsageError("too many arguments");
  std::optional<std::string> key;
  if (args.size() > keyAt) key = args[keyAt];
  return action == "dump" ? Dump(args[0], key) : Export(args[0], args[2], key);
}

}  // namespace

void RegisterRegCommand(CommandTable& table) {
  table.Add({"reg", "reg DIR dump [KEY] | reg DIR export FILE [KEY]",
             "show the registry (or one key and everything below it), or export it as a "
             "UTF-16 .reg file that regedit imports",
             Reg});
}
