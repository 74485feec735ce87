// The shared command-line splitter (see CommandLine.h).
#include "platform/CommandLine.h"

namespace platform {
namespace {
bool IsSeparator(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}
}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  size_t i = 0;
  while (true) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    if (i >= line.size()) break;
    std::string arg;
    bool quoted = false;
    for (; i < line.size() && (quoted || !IsSeparator(line[i])); ++i) {
      if (line[i] == '"')
        quoted = !quoted;
      else
        arg += line[i];
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string QuoteArgument(std::string_view argument) {
  if (argument.find('"') != std::string_view::npos) return std::string(argument);
  bool needsQuotes = argument.empty();
  for (char c : argument) needsQuotes = needsQuotes || IsSeparator(c);
  if (!needsQuotes) return std::string(argument);
  return "\"" + std::string(argument) + "\"";
}

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (const auto& a : arguments) {
    if (!line.empty()) line += ' ';
    line += QuoteArgument(a);
  }
  return line;
}

}  // namespace platform
