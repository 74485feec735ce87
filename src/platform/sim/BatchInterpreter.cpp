// The simulated command interpreter (see BatchInterpreter.h). Lines are
// split by the shared command-line splitter, so quoting works as in cmd and
// an unquoted path with blanks falls apart into several operands, as it
// does there.
#include "platform/sim/BatchInterpreter.h"

#include "framework/StrUtils.h"
#include "platform/CommandLine.h"
#include "platform/sim/WinPath.h"

namespace platform::sim {
namespace {

bool IsSwitch(const std::string& arg) {
  return !arg.empty() && arg[0] == '/';
}

std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r')) --e;
  return std::string(text.substr(b, e - b));
}

// %0 ... %9 and %%; anything else stays as written.
std::string Substitute(const std::string& line, std::string_view batchPath,
                       const std::vector<std::string>& arguments) {
  std::string out;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '%' || i + 1 >= line.size()) {
      out += line[i];
      continue;
    }
    char next = line[i + 1];
    if (next == '%') {
      out += '%';
      ++i;
    } else if (next >= '0' && next <= '9') {
      size_t n = size_t(next - '0');
      if (n == 0)
        out += batchPath;
      else if (n <= arguments.size())
        out += arguments[n - 1];
      ++i;
    } else {
      out += '%';
    }
  }
  return out;
}

}  // namespace

uint32_t BatchInterpreter::Run(std::string_view text, std::string_view batchPath,
                               const std::vector<std::string>& arguments) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(Trim(text.substr(start, end - start)));
    start = end + 1;
  }
  bool allGood = true;
  for (const std::string& line : lines) {
    if (!Execute(Substitute(line, batchPath, arguments))) allGood = false;
  }
  return allGood ? 0 : 1;
}

bool BatchInterpreter::Execute(const std::string& raw) {
  std::string line = raw;
  while (!line.empty() && line[0] == '@') line.erase(0, 1);
  line = Trim(line);
  if (line.empty() || line[0] == ':') return true;  // blank, label or "::" comment
  std::vector<std::string> words = SplitCommandLine(line);
  if (words.empty()) return true;
  std::string command = AsciiUpperCase(words[0]);
  std::vector<std::string> rest(words.begin() + 1, words.end());
  if (command == "REM" || command == "ECHO" || command == "ECHO." || command == "CLS") return true;
  if (command == "ERASE" || command == "DEL") return Erase(rest);
  if (command == "DELTREE" && !nt_) return DelTree(rest);
  if (command == "RMDIR" || command == "RD") {
    bool tree = false;
    for (const auto& a : rest) {
      if (!IsSwitch(a)) continue;
      if (SameText(a, "/S") && nt_) {
        tree = true;
      } else if (!(SameText(a, "/Q") && nt_)) {
        print_("Invalid switch - " + a);
        return false;
      }
    }
    return RemoveDir(rest, tree);
  }
  if (command == "MOVE") return Move(rest);
  if (nt_)
    print_("'" + words[0] +
           "' is not recognized as an internal or external command,\n"
           "operable program or batch file.");
  else
    print_("Bad command or file name");
  return false;
}

void BatchInterpreter::Fail(const OsError& e) {
  print_(ErrorText(e.Code()));
}

std::vector<std::string> BatchInterpreter::Expand(const std::string& pattern) {
  if (!HasWildcards(pattern)) return {files_.FullPathName(pattern)};
  // The directory part made full on its own: a wildcard is no valid name.
  size_t slash = pattern.find_last_of("\\/:");
  std::string dir = slash == std::string::npos ? std::string(".") : pattern.substr(0, slash + 1);
  dir = IncludeTrailingBackslash(files_.FullPathName(dir));
  const std::string full = dir + pattern.substr(slash == std::string::npos ? 0 : slash + 1);
  std::vector<std::string> paths;
  for (const DirEntry& e : files_.FindFiles(full))
    if (e.name != "." && e.name != "..") paths.push_back(dir + e.name);
  return paths;
}

bool BatchInterpreter::Erase(const std::vector<std::string>& targets) {
  bool good = true, any = false;
  for (const std::string& target : targets) {
    if (IsSwitch(target)) continue;  // /Q /F /P: no prompts in a batch run here
    any = true;
    try {
      std::string pattern = target;
      if (files_.DirectoryExists(target)) pattern = IncludeTrailingBackslash(target) + "*";
      bool found = false;
      for (const std::string& path : Expand(pattern)) {
        auto info = files_.Stat(path);
        if (!info || info->IsDirectory()) continue;
        found = true;
        try {
          files_.DeleteFile(path);
        } catch (const OsError& e) {
          Fail(e);
          good = false;
        }
      }
      if (!found) {
        print_(nt_ ? "Could Not Find " +
                         (HasWildcards(target) ? target : files_.FullPathName(target))
                   : "File not found");
        good = false;
      }
    } catch (const OsError& e) {
      Fail(e);
      good = false;
    }
  }
  if (!any) {
    print_(nt_ ? "The syntax of the command is incorrect." : "Required parameter missing");
    return false;
  }
  return good;
}

void BatchInterpreter::RemoveTree(const std::string& path) {
  auto info = files_.Stat(path);
  if (!info) return;
  if (info->IsDirectory()) {
    for (const DirEntry& e : files_.FindFiles(IncludeTrailingBackslash(path) + "*")) {
      if (e.name == "." || e.name == "..") continue;
      RemoveTree(IncludeTrailingBackslash(path) + e.name);
    }
    files_.RemoveDirectory(path);
    return;
  }
  if (info->attributes & kAttrReadOnly) files_.SetAttributes(path, kAttrNormal);
  files_.DeleteFile(path);
}

bool BatchInterpreter::DelTree(const std::vector<std::string>& targets) {
  bool good = true;
  for (const std::string& target : targets) {
    if (IsSwitch(target)) continue;  // /Y: no confirmation
    try {
      for (const std::string& path : Expand(target)) RemoveTree(path);
    } catch (const OsError& e) {
      Fail(e);
      good = false;
    }
  }
  return good;
}

bool BatchInterpreter::RemoveDir(const std::vector<std::string>& targets, bool tree) {
  bool good = true;
  for (const std::string& target : targets) {
    if (IsSwitch(target)) continue;
    try {
      std::string full = files_.FullPathName(target);
      auto info = files_.Stat(full);
      if (!info) throw OsError("RemoveDirectoryW", full, kErrorFileNotFound);
      if (!info->IsDirectory()) throw OsError("RemoveDirectoryW", full, kErrorDirectory);
      if (tree)
        RemoveTree(full);
      else
        files_.RemoveDirectory(full);
    } catch (const OsError& e) {
      Fail(e);
      good = false;
    }
  }
  return good;
}

bool BatchInterpreter::Move(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  for (const auto& a : args)
    if (!IsSwitch(a)) operands.push_back(a);  // /Y, /-Y: a batch never prompts here
  if (operands.size() != 2) {
    print_(nt_ ? "The syntax of the command is incorrect." : "Required parameter missing");
    return false;
  }
  try {
    std::vector<std::string> sources = Expand(operands[0]);
    std::string dest = files_.FullPathName(operands[1]);
    bool intoDir = files_.DirectoryExists(dest);
    if (sources.empty() || !files_.Stat(sources[0]))
      throw OsError("MoveFileExW", operands[0], kErrorFileNotFound);
    if (sources.size() > 1 && !intoDir)
      throw OsError("MoveFileExW", operands[1], kErrorPathNotFound);
    for (const std::string& from : sources) {
      std::string to = dest;
      if (intoDir) to = IncludeTrailingBackslash(dest) + from.substr(from.rfind('\\') + 1);
      files_.MoveFile(from, to, kMoveReplaceExisting | kMoveCopyAllowed);
    }
  } catch (const OsError& e) {
    Fail(e);
    return false;
  }
  return true;
}

}  // namespace platform::sim
