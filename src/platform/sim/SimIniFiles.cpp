// INI files of the simulated machine (see SimIniFiles.h).
#include "platform/sim/SimIniFiles.h"

#include "framework/StrUtils.h"
#include "platform/OsError.h"

namespace platform::sim {
namespace {

constexpr const char* kWriteCall = "WritePrivateProfileStringW";
// INI files are small; one larger than this is damaged or not an INI file,
// and is not read whole into memory.
constexpr uint64_t kMaxIniBytes = 16 * 1024 * 1024;
constexpr uint32_t kErrorNotEnoughMemory = 8;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

struct Line {
  std::string_view text;      // without the line end
  size_t begin = 0, end = 0;  // the whole line's bytes, line end included
};

std::vector<Line> Lines(std::string_view text) {
  std::vector<Line> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t nl = text.find('\n', at);
    size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
    lines.push_back(
        {Trim(text.substr(at, (nl == std::string_view::npos ? end : nl) - at)), at, end});
    at = end;
  }
  return lines;
}

// The section a header line names, or nullopt for another line.
std::optional<std::string_view> Header(std::string_view line) {
  if (line.empty() || line.front() != '[') return std::nullopt;
  size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

std::optional<IniEntry> Entry(std::string_view line) {
  if (line.empty() || line.front() == ';') return std::nullopt;
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  std::string_view value = Trim(line.substr(eq + 1));
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == '"' || value.front() == '\''))
    value = value.substr(1, value.size() - 2);
  return IniEntry{std::string(Trim(line.substr(0, eq))), std::string(value)};
}

}  // namespace

std::vector<IniEntry> IniSectionEntries(std::string_view text, std::string_view section) {
  std::vector<IniEntry> entries;
  bool inside = false, seen = false;
  for (const Line& l : Lines(text)) {
    if (auto h = Header(l.text)) {
      if (inside) break;
      inside = !seen && SameText(*h, Trim(section));
      seen = seen || inside;
      continue;
    }
    if (!inside) continue;
    if (auto e = Entry(l.text)) entries.push_back(std::move(*e));
  }
  return entries;
}

std::optional<std::string> IniRead(std::string_view text, std::string_view section,
                                   std::string_view key) {
  for (IniEntry& e : IniSectionEntries(text, section))
    if (SameText(e.key, Trim(key))) return std::move(e.value);
  return std::nullopt;
}

std::string IniWrite(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value) {
  const std::string line = std::string(Trim(key)) + "=" + std::string(value) + "\r\n";
  bool inside = false;
  size_t insertAt = std::string_view::npos;  // after the section's last entry
  for (const Line& l : Lines(text)) {
    if (auto h = Header(l.text)) {
      if (inside) break;
      inside = SameText(*h, Trim(section));
      if (inside) insertAt = l.end;
      continue;
    }
    if (!inside) continue;
    if (auto e = Entry(l.text)) {
      if (SameText(e->key, Trim(key)))
        return std::string(text.substr(0, l.begin)) + line + std::string(text.substr(l.end));
      insertAt = l.end;
    }
  }
  std::string out(text);
  if (insertAt != std::string_view::npos) {
    // A section that ends the file without a line end gets one first.
    std::string before = out.substr(0, insertAt);
    if (!before.empty() && before.back() != '\n') before += "\r\n";
    return before + line + out.substr(insertAt);
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  return out + "[" + std::string(Trim(section)) + "]\r\n" + line;
}

std::string SimIniFiles::PathOf(std::string_view file) {
  if (file.find_first_of("\\/:") != std::string_view::npos) return std::string(file);
  return IncludeTrailingBackslash(system_.WindowsDirectory()) + std::string(file);
}

std::string SimIniFiles::ReadText(std::string_view path) {
  std::unique_ptr<File> f;
  try {
    f = files_.OpenRead(path);
  } catch (const OsError& e) {
    if (e.Code() == kErrorFileNotFound || e.Code() == kErrorPathNotFound) return {};
    throw;
  }
  const uint64_t size = f->Size();
  if (size > kMaxIniBytes) throw OsError("ReadFile", std::string(path), kErrorNotEnoughMemory);
  std::string text(size_t(size), '\0');
  text.resize(f->Read(text.data(), text.size()));
  return text;
}

void SimIniFiles::WriteString(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::string path = PathOf(file);
  if (Trim(section).empty() || Trim(key).empty())
    throw OsError(kWriteCall, path, kErrorInvalidParameter);
  std::string old;
  try {
    old = ReadText(path);
  } catch (const OsError& e) {
    // Writing what could not be read would replace the file's other entries.
    throw OsError(kWriteCall, path, e.Code());
  }
  std::string text = IniWrite(old, section, key, value);
  const std::string temp = path + ".new";
  try {
    {
      auto out = files_.Create(temp);
      out->Write(text.data(), text.size());
    }
    files_.MoveFile(temp, path, kMoveReplaceExisting);
  } catch (const OsError& e) {
    try {
      if (files_.FileExists(temp)) files_.DeleteFile(temp);
    } catch (const OsError&) {
      // The original is untouched; a stray temporary file is harmless.
    }
    throw OsError(kWriteCall, path, e.Code());
  }
}

std::string SimIniFiles::ReadString(std::string_view file, std::string_view section,
                                    std::string_view key, std::string_view fallback) {
  std::string text;
  try {
    text = ReadText(PathOf(file));
  } catch (const OsError&) {
    return std::string(fallback);  // as Windows answers for a file it cannot read
  }
  return IniRead(text, section, key).value_or(std::string(fallback));
}

}  // namespace platform::sim
