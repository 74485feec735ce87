// The 8.3 short names of the machine's files and directories. A name that
// already is a valid 8.3 name is its own short name; any other gets one the
// first time it is asked for ("PROGRA~1", then ~2 ... for collisions in the
// same directory), recorded in the machine's short-name file so the same
// long name keeps the same short name in every process and after restarts.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

namespace platform::sim {

// True for a name of 1-8 characters, optionally a dot and 1-3 more, made of
// letters, digits and ! # $ % & ' ( ) - @ ^ _ ` { } ~ only.
bool IsShortName(const std::string& name);

class ShortNames {
 public:
  // `file` is the host path of the record file ("<machine>/shortnames.txt").
  explicit ShortNames(std::string file);

  // The short name of `longName` in the directory with key `dirKey`
  // (WinPath::Key). `taken` tells whether a name (any case) exists in that
  // directory, so a new short name never equals an existing name. Raises
  // OsError naming `call` when the record cannot be written.
  std::string ShortFor(const std::string& dirKey, const std::string& longName,
                       const std::function<bool(const std::string&)>& taken, const char* call);

  // The long name recorded for an upper-case short name in a directory.
  std::optional<std::string> LongFor(const std::string& dirKey, const std::string& shortUpper);

 private:
  void Refresh();
  void Remember(const std::string& dirKey, const std::string& longName,
                const std::string& shortName);

  std::string file_;
  uint64_t readBytes_ = 0;  // how much of the record file has been read
  std::unordered_map<std::string, std::string> shortOf_;  // dirKey \t LONGNAME -> short
  std::unordered_map<std::string, std::string> longOf_;   // dirKey \t SHORT -> long
};

}  // namespace platform::sim
