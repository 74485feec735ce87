// An EngineHost held in memory for the engine setup tests: files by path
// (case ignored, as on Windows), HKEY_LOCAL_MACHINE string values and INI
// values, with switches that make reads or writes of chosen paths fail.
#pragma once

#include <map>
#include <set>
#include <string>

#include "enginesetup/EngineSetup.h"

class MemoryEngineHost : public enginesetup::EngineHost {
 public:
  std::map<std::string, std::string> files;     // upper-case path -> bytes
  std::map<std::string, std::string> registry;  // upper-case "key|name" -> value
  std::map<std::string, std::string> ini;       // upper-case "file|section|key" -> value
  std::set<std::string> unreadable;             // upper-case paths whose reads fail
  std::set<std::string> unwritable;             // upper-case paths whose replaces fail
  bool registryRefuses = false;
  bool iniRefuses = false;
  int replaces = 0;  // successful ReplaceAtomically calls

  static std::string Up(std::string s) {
    for (char& c : s)
      if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
  }
  void Put(const std::string& path, const std::string& bytes) { files[Up(path)] = bytes; }
  std::string Get(const std::string& path) const {
    auto f = files.find(Up(path));
    return f == files.end() ? "<missing>" : f->second;
  }

  std::optional<std::string> ReadFile(const std::string& path) override {
    auto f = files.find(Up(path));
    if (f == files.end() || unreadable.count(Up(path))) return std::nullopt;
    return f->second;
  }
  bool ReplaceAtomically(const std::string& path, const std::string& bytes) override {
    if (unwritable.count(Up(path))) return false;
    files[Up(path)] = bytes;
    ++replaces;
    return true;
  }
  bool Exists(const std::string& path) override { return files.count(Up(path)) > 0; }
  std::optional<std::string> ReadMachineString(const std::string& key,
                                               const std::string& name) override {
    auto v = registry.find(Up(key + "|" + name));
    if (v == registry.end()) return std::nullopt;
    return v->second;
  }
  bool WriteMachineString(const std::string& key, const std::string& name,
                          const std::string& value) override {
    if (registryRefuses) return false;
    registry[Up(key + "|" + name)] = value;
    return true;
  }
  std::optional<std::string> ReadIniString(const std::string& file, const std::string& section,
                                           const std::string& key) override {
    auto v = ini.find(Up(file + "|" + section + "|" + key));
    if (v == ini.end()) return std::nullopt;
    return v->second;
  }
  bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value) override {
    if (iniRefuses) return false;
    ini[Up(file + "|" + section + "|" + key)] = value;
    return true;
  }
};
