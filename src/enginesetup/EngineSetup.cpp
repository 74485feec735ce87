// The engine's setup operations (see EngineSetup.h). Each reads and checks
// everything it needs before it writes anything, so a failure leaves the
// files as they were; and none lets an exception out, because the Windows
// library hands their results straight to a caller in another module.
#include "enginesetup/EngineSetup.h"

#include <utility>

#include "enginesetup/EngineConfig.h"

namespace enginesetup {
namespace {

constexpr const char* kSystemInit = "SYSTEM INIT";
constexpr int32_t kMergeMode = 1;

bool IsFlag(int32_t v) {
  return v == 0 || v == 1;
}

// The operation's result, or kInternalError for anything it raised.
template <class F>
int32_t Guarded(F&& operation) noexcept {
  try {
    return operation();
  } catch (...) {
    return kInternalError;
  }
}

// Reads and parses a configuration file: nullopt with `failure` set to
// `unreadable` or `damaged`.
std::optional<EngineConfig> Load(EngineHost& host, const std::string& path, int32_t unreadable,
                                 int32_t damaged, int32_t& failure) {
  std::optional<std::string> bytes = host.ReadFile(path);
  if (!bytes || bytes->size() > kMaxConfigBytes) {
    failure = unreadable;
    return std::nullopt;
  }
  ParseResult parsed = EngineConfig::Parse(*bytes);
  if (!parsed.config) {
    failure = damaged;
    return std::nullopt;
  }
  return std::move(parsed.config);
}

// A count read from the registry: decimal digits only (blanks around them
// allowed), else 0.
int64_t ParseCount(const std::optional<std::string>& text) {
  if (!text) return 0;
  std::string_view s = *text;
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  if (s.empty() || s.size() > 18) return 0;
  int64_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

const char* ResultText(int32_t result) {
  switch (result) {
    case kOk:
      return "done";
    case kTemplateUnreadable:
      return "the template cannot be read";
    case kTemplateDamaged:
      return "the template is damaged";
    case kExistingUnreadable:
      return "the configuration in use cannot be read";
    case kExistingDamaged:
      return "the configuration in use is damaged";
    case kWriteFailed:
      return "the configuration could not be written";
    case kTargetUnreadable:
      return "the configuration to fix cannot be read";
    case kTargetDamaged:
      return "the configuration to fix is damaged";
    case kIniWriteFailed:
      return "WIN.INI could not be written";
    case kRegistryWriteFailed:
      return "the use count could not be written";
    case kBadArguments:
      return "bad arguments";
    case kInternalError:
      return "internal error";
    default:
      return "unknown result";
  }
}

int32_t MergeConfig(EngineHost& host, std::string_view templatePath, std::string_view existingPath,
                    std::string_view targetPath, int32_t mode, int32_t is16,
                    std::string_view /*lang*/) {
  return Guarded([&]() -> int32_t {
    if (templatePath.empty() || existingPath.empty() || targetPath.empty() || mode != kMergeMode ||
        !IsFlag(is16))
      return kBadArguments;
    int32_t failure = kOk;
    std::optional<EngineConfig> templ =
        Load(host, std::string(templatePath), kTemplateUnreadable, kTemplateDamaged, failure);
    if (!templ) return failure;

    const std::string existing(existingPath);
    std::string text;
    if (existing == kNoExistingConfig || !host.Exists(existing)) {
      text = templ->Write();
    } else {
      std::optional<EngineConfig> current =
          Load(host, existing, kExistingUnreadable, kExistingDamaged, failure);
      if (!current) return failure;
      text = EngineConfig::Merge(*templ, *current).Write();
    }
    return host.ReplaceAtomically(std::string(targetPath), text) ? kOk : kWriteFailed;
  });
}

int32_t LocaleConfig(EngineHost& host, std::string_view templatePath, int32_t is16,
                     std::string_view lang) {
  return Guarded([&]() -> int32_t {
    if (templatePath.empty() || !IsFlag(is16) || !IsWritableSettingValue(lang))
      return kBadArguments;
    const std::string path(templatePath);
    int32_t failure = kOk;
    std::optional<EngineConfig> templ =
        Load(host, path, kTemplateUnreadable, kTemplateDamaged, failure);
    if (!templ) return failure;
    templ->Set(kSystemInit, "LANGCODE", lang);
    return host.ReplaceAtomically(path, templ->Write()) ? kOk : kWriteFailed;
  });
}

int32_t RepairConfig(EngineHost& host, std::string_view targetPath, int32_t differs, int32_t is16,
                     std::string_view /*lang*/) {
  return Guarded([&]() -> int32_t {
    if (targetPath.empty() || !IsFlag(differs) || !IsFlag(is16) ||
        !IsWritableSettingValue(targetPath))
      return kBadArguments;
    const std::string path(targetPath);
    int32_t failure = kOk;
    std::optional<EngineConfig> config =
        Load(host, path, kTargetUnreadable, kTargetDamaged, failure);
    if (!config) return failure;
    if (is16 == 1) {
      config->Set(kSystemInit, "CONFIG16", "TRUE");
      if (!host.ReplaceAtomically(path, config->Write())) return kWriteFailed;
    }
    if (differs == 1 && !host.WriteIniString(kLegacyIniFile, kLegacySection, kLegacyPathKey, path))
      return kIniWriteFailed;
    return kOk;
  });
}

int32_t IncrementUseCount(EngineHost& host) {
  return Guarded([&]() -> int32_t {
    constexpr int64_t kMax = INT32_MAX;
    int64_t count = ParseCount(host.ReadMachineString(kEngineKey, kUseCountValue));
    count = count >= kMax ? kMax : count + 1;
    return host.WriteMachineString(kEngineKey, kUseCountValue, std::to_string(count))
               ? kOk
               : kRegistryWriteFailed;
  });
}

}  // namespace enginesetup
