// Libraries on Windows: LoadLibraryW, GetProcAddress and FreeLibrary, and
// OLE's initialisation (ole32) around self-registrations.
#include <ole2.h>

#include <stdexcept>
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

  // Every argument is one machine word: an integer, or the address of a
  // text; stdcall on 32-bit Windows, the one convention on 64-bit.
  std::optional<int32_t> Call(std::string_view name, const std::vector<LibraryArg>& args) override {
    if (args.size() > kMaxLibraryArgs) throw std::invalid_argument("too many export arguments");
    FARPROC proc = Find(name);
    if (!proc) return std::nullopt;
    INT_PTR w[kMaxLibraryArgs] = {};
    for (size_t i = 0; i < args.size(); ++i) {
      if (const auto* n = std::get_if<int32_t>(&args[i]))
        w[i] = INT_PTR(*n);
      else
        w[i] = reinterpret_cast<INT_PTR>(std::get<std::string>(args[i]).c_str());
    }
    void* p = reinterpret_cast<void*>(proc);
    using W = INT_PTR;
    switch (args.size()) {
      case 0:
        return int32_t(reinterpret_cast<LONG(WINAPI*)()>(p)());
      case 1:
        return int32_t(reinterpret_cast<LONG(WINAPI*)(W)>(p)(w[0]));
      case 2:
        return int32_t(reinterpret_cast<LONG(WINAPI*)(W, W)>(p)(w[0], w[1]));
      case 3:
        return int32_t(reinterpret_cast<LONG(WINAPI*)(W, W, W)>(p)(w[0], w[1], w[2]));
      case 4:
        return int32_t(reinterpret_cast<LONG(WINAPI*)(W, W, W, W)>(p)(w[0], w[1], w[2], w[3]));
      case 5:
        return int32_t(
            reinterpret_cast<LONG(WINAPI*)(W, W, W, W, W)>(p)(w[0], w[1], w[2], w[3], w[4]));
      default:
        return int32_t(reinterpret_cast<LONG(WINAPI*)(W, W, W, W, W, W)>(p)(w[0], w[1], w[2], w[3],
                                                                            w[4], w[5]));
    }
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
