// Libraries on Windows: LoadLibraryW, GetProcAddress and FreeLibrary, and
// OLE's initialisation (ole32) around self-registrations.
#include <ole2.h>

#include <string>

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Services.h"

namespace platform::win32 {
namespace {

class Win32Library final : public Library {
 public:
  explicit Win32Library(HMODULE module) : module_(module) {}
  ~Win32Library() override { FreeLibrary(module_); }

  bool HasExport(std::string_view name) override { return Find(name) != nullptr; }

  std::optional<int32_t> Call(std::string_view name) override {
    FARPROC proc = Find(name);
    if (!proc) return std::nullopt;
    using Export = LONG(WINAPI*)();
    return int32_t(reinterpret_cast<Export>(reinterpret_cast<void*>(proc))());
  }

 private:
  FARPROC Find(std::string_view name) {
    if (name.empty() || name.find('\0') != std::string_view::npos) return nullptr;
    return GetProcAddress(module_, std::string(name).c_str());
  }

  HMODULE module_;
};

class Win32Libraries final : public Libraries {
 public:
  std::unique_ptr<Library> Load(std::string_view path) override {
    const std::wstring wide = WideName("LoadLibraryW", path);
    // A missing or broken module is an error for the caller, not a system
    // message box.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryW(wide.c_str());
    const DWORD error = GetLastError();
    SetErrorMode(oldMode);
    if (!module) Raise("LoadLibraryW", path, error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error);
    return std::make_unique<Win32Library>(module);
  }

  void OleInitialize() override {
    // S_FALSE (already initialised) also counts, and needs its own
    // OleUninitialize, so the two calls nest.
    ::OleInitialize(nullptr);
  }
  void OleUninitialize() override { ::OleUninitialize(); }
};

}  // namespace

std::unique_ptr<Libraries> CreateWin32Libraries() {
  return std::make_unique<Win32Libraries>();
}

}  // namespace platform::win32
