// The exports of "QDSETUP.DLL": four stdcall functions taking 32-bit
// integers and zero-terminated 8-bit texts, exported under their plain
// names. No exception leaves them (the operations guard themselves; the
// host and the argument checks are guarded here): a failure is a non-zero
// result (see EngineSetup.h).
#include <windows.h>

#include <cstdint>

#include "enginesetup/EngineSetup.h"
#include "enginesetup/win32/Win32EngineHost.h"

namespace {

// A null text pointer is the caller's mistake: the operation refuses it.
bool AnyNull(std::initializer_list<const char*> texts) {
  for (const char* t : texts)
    if (!t) return true;
  return false;
}

template <class F>
int32_t Run(F&& operation) noexcept {
  try {
    enginesetup::Win32EngineHost host;
    return operation(host);
  } catch (...) {
    return enginesetup::kInternalError;
  }
}

}  // namespace

extern "C" {

__declspec(dllexport) int32_t
    __stdcall QdMergeConfig(const char* templatePath, const char* existingPath,
                            const char* targetPath, int32_t mode, int32_t is16, const char* lang) {
  if (AnyNull({templatePath, existingPath, targetPath, lang})) return enginesetup::kBadArguments;
  return Run([&](enginesetup::EngineHost& host) {
    return enginesetup::MergeConfig(host, templatePath, existingPath, targetPath, mode, is16, lang);
  });
}

__declspec(dllexport) int32_t
    __stdcall QdLocaleConfig(const char* templatePath, int32_t is16, const char* lang) {
  if (AnyNull({templatePath, lang})) return enginesetup::kBadArguments;
  return Run([&](enginesetup::EngineHost& host) {
    return enginesetup::LocaleConfig(host, templatePath, is16, lang);
  });
}

__declspec(dllexport) int32_t __stdcall QdRepairConfig(const char* targetPath, int32_t differs,
                                                       int32_t is16, const char* lang) {
  if (AnyNull({targetPath, lang})) return enginesetup::kBadArguments;
  return Run([&](enginesetup::EngineHost& host) {
    return enginesetup::RepairConfig(host, targetPath, differs, is16, lang);
  });
}

__declspec(dllexport) int32_t __stdcall IncrementEngineUseCount() {
  return Run([](enginesetup::EngineHost& host) { return enginesetup::IncrementUseCount(host); });
}

}  // extern "C"
