// The program table ("programs.ini") and the start log ("starts.log") of a
// simulated machine (see SimPrograms.h). The table is small and rewritten
// whole through a temporary file under a lock, so a child process counting
// down a scripted failure never loses the parent's changes; log lines are
// appended with one write each.
#include "platform/sim/SimPrograms.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "framework/StrUtils.h"
#include "platform/HostAccess.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/StateFiles.h"

namespace platform::sim {
namespace {

constexpr const char* kTableFile = "/programs.ini";
constexpr const char* kLogFile = "/starts.log";
constexpr const char* kConsoleFile = "/console.log";
constexpr const char* kLockFile = "/programs.lock";

uint32_t Number(const std::string& file, const std::string& text) {
  try {
    size_t used = 0;
    unsigned long long v = std::stoull(text, &used, 0);
    if (used == text.size() && v <= 0xFFFFFFFFull) return uint32_t(v);
  } catch (const std::exception&) {
  }
  throw MachineError(file + ": '" + text + "' is not a 32-bit number");
}

std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

void AppendLine(const std::string& file, const std::string& line) {
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) throw MachineError("cannot write " + file);
  ssize_t n = ::write(fd, line.data(), line.size());
  ::close(fd);
  if (n != ssize_t(line.size())) throw MachineError("cannot write " + file);
}

}  // namespace

const char* StartKindName(SimStartKind kind) {
  switch (kind) {
    case SimStartKind::Start:
      return "start";
    case SimStartKind::Run:
      return "run";
    case SimStartKind::Register:
      return "register";
  }
  return "?";
}

std::map<std::string, ProgramTable::Row> ProgramTable::Load() const {
  const std::string file = hostDir_ + kTableFile;
  std::map<std::string, Row> rows;
  std::istringstream in(ReadStateFile(file));
  std::string line;
  Row* row = nullptr;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[' && line.back() == ']') {
      std::string path = line.substr(1, line.size() - 2);
      row = &rows[AsciiUpperCase(path)];
      row->path = path;
      continue;
    }
    size_t eq = line.find('=');
    if (!row || eq == std::string::npos)
      throw MachineError(file + ": expected [path] or key=value, not '" + line + "'");
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "host")
      row->entry.host = value;
    else if (key == "exit-code")
      row->entry.exitCode = Number(file, value);
    else if (key == "register-result")
      row->entry.registerResult = Number(file, value);
    else if (key == "failures-before-success")
      row->entry.failuresBeforeSuccess = Number(file, value);
    else
      throw MachineError(file + ": unknown key '" + key + "'");
  }
  return rows;
}

void ProgramTable::Save(const std::map<std::string, Row>& rows) const {
  const std::string file = hostDir_ + kTableFile;
  std::string text = "; Programs of this simulated machine: pellmore-machine program set DIR ...\n";
  for (const auto& [key, row] : rows) {
    text += "[" + row.path + "]\n";
    if (!row.entry.host.empty()) text += "host=" + row.entry.host + "\n";
    text += "exit-code=" + std::to_string(row.entry.exitCode) + "\n";
    text += "register-result=" + Hex(row.entry.registerResult) + "\n";
    text += "failures-before-success=" + std::to_string(row.entry.failuresBeforeSuccess) + "\n";
  }
  WriteStateFile(file, text);
}

void ProgramTable::Set(const std::string& key, const std::string& path, const SimProgram& entry) {
  StateFileLock lock(hostDir_ + kLockFile);
  auto rows = Load();
  rows[key] = Row{path, entry};
  Save(rows);
}

bool ProgramTable::Remove(const std::string& key) {
  StateFileLock lock(hostDir_ + kLockFile);
  auto rows = Load();
  if (rows.erase(key) == 0) return false;
  Save(rows);
  return true;
}

namespace {

// Whether `pattern` (upper case) names `key`: the same path components,
// where a component "*" stands for any one directory or file name.
bool MatchesPattern(std::string_view pattern, std::string_view key) {
  while (true) {
    const size_t p = pattern.find('\\'), k = key.find('\\');
    const std::string_view pp = pattern.substr(0, p), kp = key.substr(0, k);
    if (pp != "*" && pp != kp) return false;
    if (p == std::string_view::npos || k == std::string_view::npos)
      return p == std::string_view::npos && k == std::string_view::npos;
    pattern.remove_prefix(p + 1);
    key.remove_prefix(k + 1);
  }
}

}  // namespace

std::optional<SimProgram> ProgramTable::Find(const std::string& key) const {
  auto rows = Load();
  auto it = rows.find(key);
  if (it != rows.end()) return it->second.entry;
  // A program unpacked into a directory made up at run time (the loading
  // program's temporary copy of the installer) is known by a pattern.
  for (const auto& [pattern, row] : rows)
    if (pattern.find('*') != std::string::npos && MatchesPattern(pattern, key)) return row.entry;
  return std::nullopt;
}

std::vector<std::pair<std::string, SimProgram>> ProgramTable::All() const {
  std::vector<std::pair<std::string, SimProgram>> all;
  for (const auto& [key, row] : Load()) all.emplace_back(row.path, row.entry);
  return all;
}

std::optional<uint32_t> ProgramTable::TakeRegistration(const std::string& key) {
  StateFileLock lock(hostDir_ + kLockFile);
  auto rows = Load();
  auto it = rows.find(key);
  if (it == rows.end()) return std::nullopt;
  SimProgram& entry = it->second.entry;
  if (entry.failuresBeforeSuccess == 0) return entry.registerResult;
  --entry.failuresBeforeSuccess;
  Save(rows);
  return kRegisterFailed;
}

void ProgramTable::Append(const SimStart& start) {
  AppendLine(hostDir_ + kLogFile, std::string(StartKindName(start.kind)) + "\t" +
                                      std::to_string(int(start.show)) + "\t" + Hex(start.result) +
                                      "\t" + (start.oleInitialized ? "ole" : "-") + "\t" +
                                      EscapeField(start.commandLine) + "\n");
}

std::vector<SimStart> ProgramTable::Starts() const {
  const std::string file = hostDir_ + kLogFile;
  std::vector<SimStart> starts;
  std::istringstream in(ReadStateFile(file));
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    size_t at = 0;
    for (int i = 0; i < 4; ++i) {
      size_t tab = line.find('\t', at);
      if (tab == std::string::npos) throw MachineError(file + ": damaged line '" + line + "'");
      fields.push_back(line.substr(at, tab - at));
      at = tab + 1;
    }
    SimStart s;
    if (fields[0] == "run")
      s.kind = SimStartKind::Run;
    else if (fields[0] == "register")
      s.kind = SimStartKind::Register;
    s.show = fields[1] == "0" ? ShowMode::Hidden : ShowMode::Normal;
    s.result = Number(file, fields[2]);
    s.oleInitialized = fields[3] == "ole";
    s.commandLine = UnescapeField(std::string_view(line).substr(at));
    starts.push_back(std::move(s));
  }
  return starts;
}

void ProgramTable::ClearStarts() {
  std::remove((hostDir_ + kLogFile).c_str());
}

void ProgramTable::AppendConsole(std::string_view text) {
  AppendLine(hostDir_ + kConsoleFile, std::string(text));
}

std::string ProgramTable::Console() const {
  return ReadStateFile(hostDir_ + kConsoleFile);
}

}  // namespace platform::sim
