// The setup's bookkeeping key (see cmp_TInstall.h): one numbered subkey of
// "\SOFTWARE\Pellmore\Install" per setup program file, recognised by the
// file's size and last-modified date, and its removal with the parents it
// leaves empty.
#include <cmath>
#include <cstring>
#include <optional>
#include <set>

#include "framework/StrUtils.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "shell/routines_Registry.h"

namespace {

constexpr platform::RootKey kRoot = platform::RootKey::LocalMachine;
constexpr const char* kPellmoreKey = "\\Software\\Pellmore";
// Two dates closer than this (in days, about 9 ms) are the same file date.
constexpr double kDateTolerance = 0.0000001;

// Dates are stored as the 8 little-endian bytes of the double.
platform::RegValue DateValue(TDateTime d) {
  uint64_t bits = 0;
  std::memcpy(&bits, &d, sizeof bits);
  std::vector<uint8_t> bytes(8);
  for (size_t i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
  return platform::RegValue::Bin(std::move(bytes));
}

std::optional<TDateTime> ReadDate(const std::string& key, const char* name) {
  const auto v = platform::registry().ReadValue(kRoot, key, name);
  if (!v || v->type != platform::ValueType::Binary || v->binary.size() != 8) return std::nullopt;
  uint64_t bits = 0;
  for (size_t i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(v->binary[i]) << (8 * i);
  TDateTime d;
  std::memcpy(&d, &bits, sizeof d);
  if (!std::isfinite(d)) return std::nullopt;
  return d;
}

bool HasString(const std::string& key, const char* name) {
  const auto v = platform::registry().ReadValue(kRoot, key, name);
  return v &&
         (v->type == platform::ValueType::String || v->type == platform::ValueType::ExpandString);
}

std::optional<uint32_t> ReadDWord(const std::string& key, const char* name) {
  const auto v = platform::registry().ReadValue(kRoot, key, name);
  if (!v || v->type != platform::ValueType::DWord) return std::nullopt;
  return v->dword;
}

}  // namespace

std::string TCustomInstall::FindInstallKey(bool create) {
  // Each way out without a key says why in installKeyProblem_: the
  // messages that follow from a missing key show it to the user.
  installKeyProblem_.clear();
  const std::string program = RunningProgramFile();
  const auto info = platform::files().Stat(program);
  if (!info || info->IsDirectory()) {  // nothing to recognise the setup by
    installKeyProblem_ =
        "The setup program " + program + (info ? " is a folder, not a file." : " cannot be found.");
    return {};
  }
  const uint64_t size = info->size;
  const TDateTime date = platform::FileTimeToLocalDateTime(info->lastWrite);

  platform::Registry& reg = platform::registry();
  const std::string parent = kInstallKeyParent;
  std::vector<std::string> names;
  try {
    reg.CreateKey(kRoot, parent);
    names = reg.SubKeyNames(kRoot, parent);
  } catch (const std::exception& e) {
    installKeyProblem_ = e.what();
    return {};
  }

  for (const std::string& name : names) {
    const std::string key = parent + "\\" + name;
    const auto created = ReadDate(key, "CreationDate");
    const auto storedSize = ReadDWord(key, "Size");
    if (!HasString(key, "Path") || !created || !storedSize) continue;
    if (std::fabs(date - *created) >= kDateTolerance || *storedSize != size) continue;
    try {
      reg.WriteValue(kRoot, key, "LastRunDate", DateValue(runStartTime_));
      WriteRegString(kRootLocalMachine, key, "Path", program);
      reg.Flush(kRoot, key);
    } catch (const std::exception& e) {
      installKeyProblem_ = e.what();
      return {};
    }
    return key;
  }
  if (!create) {
    installKeyProblem_ = "No key under HKEY_LOCAL_MACHINE" + parent +
                         " belongs to the setup program " + program + " (" + std::to_string(size) +
                         " bytes).";
    return {};
  }

  std::set<std::string> taken;
  for (const std::string& name : names) taken.insert(UpperCase(name));
  int n = 0;
  while (taken.count(UpperCase("Install" + std::to_string(n)))) ++n;
  const std::string key = parent + "\\Install" + std::to_string(n);
  try {
    reg.CreateKey(kRoot, key);
    WriteRegString(kRootLocalMachine, key, "Path", program);
    reg.WriteValue(kRoot, key, "LastRunDate", DateValue(runStartTime_));
    reg.WriteValue(kRoot, key, "CreationDate", DateValue(date));
    // A setup program is far below 4 GiB; a larger file could never match.
    reg.WriteValue(kRoot, key, "Size", platform::RegValue::DWordValue(static_cast<uint32_t>(size)));
    if (HasSwitch('e'))
      WriteRegString(kRootLocalMachine, key, "SelfExtract",
                     IncludeTrailingBackslash(sourceDirectory_) + SwitchText('e'));
    reg.Flush(kRoot, key);
  } catch (const std::exception& e) {
    installKeyProblem_ = e.what();
    // A half-written key would only hold a number for nothing.
    DeleteRegKeyTree(kRootLocalMachine, key);
    return {};
  }
  return key;
}

void TCustomInstall::RemoveInstallKey() {
  if (installKey_.empty()) return;
  platform::Registry& reg = platform::registry();
  try {
    for (const std::string& name : reg.SubKeyNames(kRoot, installKey_)) {
      const std::string sub = installKey_ + "\\" + name;
      const std::string local = ReadRegString(kRootLocalMachine, sub, "LocalFile", "");
      if (!Trim(local).empty()) {
        try {
          platform::files().DeleteFile(local);
        } catch (const std::exception&) {
          // A local archive that cannot be deleted stays; the key goes.
        }
      }
      DeleteRegKeyTree(kRootLocalMachine, sub);
    }
    DeleteRegKeyTree(kRootLocalMachine, installKey_);
    for (const char* key : {kInstallKeyParent, kPellmoreKey})
      if (reg.KeyExists(kRoot, key) && reg.SubKeyNames(kRoot, key).empty())
        reg.DeleteKey(kRoot, key);
  } catch (const std::exception&) {
    // Bookkeeping that cannot be removed is left behind; the installation
    // itself is not affected by it.
  }
  installKey_.clear();
}
