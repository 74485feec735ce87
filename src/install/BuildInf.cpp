// Reading BUILD.INF's text (see BuildInf.h).
#include "install/BuildInf.h"

#include "framework/StrUtils.h"
#include "framework/Strings.h"
#include "install/InstallErrors.h"

namespace {

[[noreturn]] void NoBuildDirectory() {
  throw IEInstall("Must be 1 line in BUILD.INF. This line should specify the build directory");
}

}  // namespace

std::string BuildInfFirstLine(std::string_view text) {
  TStringList lines;
  lines.SetText(text);
  if (lines.Count() == 0) NoBuildDirectory();
  return lines.Strings(0);
}

std::string BuildDirectoryOf(std::string_view line) {
  // "C:\\" or "C:\ \" names the root as surely as "C:\": strip blanks and
  // trailing backslashes until neither is left, then compare with the drive.
  std::string dir = Trim(line);
  while (!dir.empty() && dir.back() == '\\') dir = Trim(ExcludeTrailingBackslash(dir));
  if (dir.empty() || dir == ExtractFileDrive(dir)) NoBuildDirectory();
  return dir;
}
