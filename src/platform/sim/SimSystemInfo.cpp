// System queries and clock of the simulated machine (see SimSystemInfo.h).
#include "platform/sim/SimSystemInfo.h"

#include <cstdio>
#include <cstdlib>

#include "framework/Utf8.h"
#include "platform/CommandLine.h"
#include "platform/sim/SimErrors.h"

namespace platform::sim {

SimSystemInfo::SimSystemInfo(MachineCore& core, FileSystem& files) : core_(core), files_(files) {
  // Like Windows' tick count, the clock picks where unique numbers start;
  // on a fixed clock that makes the names repeatable.
  nextTemp_ = uint32_t(core_.NowUtc() / 10000);
  if (const char* program = std::getenv("PELLMORE_PROGRAM")) startedAs_ = program;
  if (const char* line = std::getenv("PELLMORE_COMMAND_LINE")) {
    commandLine_ = line;
    startedWithCommandLine_ = true;
  }
}

std::string SimSystemInfo::ModuleFileName() {
  return startedAs_.empty() ? core_.Settings().program : startedAs_;
}

std::string SimSystemInfo::TempDirectory() {
  std::string dir = core_.Settings().tempDir;
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir;
}

std::string SimSystemInfo::TempFileName(std::string_view dir, std::string_view prefix) {
  const char* call = "GetTempFileNameW";
  Resolved d = core_.Resolve(dir, call);
  if (!d.exists || !d.isDir) Refuse(call, dir, kErrorDirectory);
  std::string base = d.path.Text();
  if (base.back() != '\\') base += '\\';
  base += Utf8Left(prefix, 3);
  for (uint32_t tries = 0; tries < 0x10000; ++tries) {
    uint32_t unique = nextTemp_++ & 0xFFFF;
    if (unique == 0) continue;  // 0 would ask Windows not to create the file
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", unique);
    std::string name = base + hex + ".tmp";
    try {
      files_.Open(name, kAccessWrite, kShareNone, Disposition::CreateNew)->Close();
      return name;
    } catch (const OsError& e) {
      if (e.Code() != kErrorFileExists) throw;
    }
  }
  Refuse(call, dir, kErrorFileExists);
}

std::string SimSystemInfo::ShortPathName(std::string_view path) {
  const char* call = "GetShortPathNameW";
  Resolved r = core_.Resolve(path, call);
  if (!r.exists) Refuse(call, path, kErrorFileNotFound);
  WinPath walked;
  walked.drive = r.path.drive;
  std::string host = core_.Tree().DriveDir(r.path.drive);
  std::string out = walked.Text();
  for (const std::string& part : r.path.parts) {
    auto taken = [&](const std::string& name) {
      return core_.Tree().Lookup(host, name).has_value();
    };
    if (out.back() != '\\') out += '\\';
    out += core_.Shorts().ShortFor(walked.Key(), part, taken, call);
    walked.parts.push_back(part);
    host += "/" + part;
  }
  if (!r.path.IsRoot() && (path.back() == '\\' || path.back() == '/')) out += '\\';
  return out;
}

void SimSystemInfo::SetCurrentDirectory(std::string_view path) {
  const char* call = "SetCurrentDirectoryW";
  Resolved r = core_.Resolve(path, call);
  if (!r.exists) Refuse(call, path, kErrorFileNotFound);
  if (!r.isDir) Refuse(call, path, kErrorDirectory);
  core_.SetCurrentDir(r.path);
}

std::string SimSystemInfo::CommandLine() {
  return commandLine_.empty() ? QuoteArgument(ModuleFileName()) : commandLine_;
}

void SimSystemInfo::UseHostArguments(int argc, const char* const* argv) {
  if (startedWithCommandLine_) return;  // the Windows command line as started
  std::vector<std::string> args{ModuleFileName()};
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  commandLine_ = JoinCommandLine(args);
}

TDateTime SimClock::Now() {
  int64_t local = int64_t(core_.NowUtc()) + int64_t(core_.Settings().timeZoneMinutes) * 600000000;
  return FileTimeToDateTime(local < 0 ? 0 : FileTime(local));
}

}  // namespace platform::sim
