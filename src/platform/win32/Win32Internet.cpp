// The system's internet library behind platform::Internet: LoadLibraryA
// and GetProcAddress for the A entry points, which take the ANSI texts the
// kit's downloads use (host, directory and file names). Every call is made
// only when its entry point resolved; a missing one fails with
// ERROR_PROC_NOT_FOUND.
#include "platform/win32/Win32Internet.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace platform::win32 {
namespace {

using HINTERNET_ = void*;

using GetLastResponseInfoFn = BOOL(WINAPI*)(DWORD*, LPSTR, DWORD*);
using OpenFn = HINTERNET_(WINAPI*)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
using ConnectFn = HINTERNET_(WINAPI*)(HINTERNET_, LPCSTR, WORD, LPCSTR, LPCSTR, DWORD, DWORD,
                                      DWORD_PTR);
using FtpSetDirFn = BOOL(WINAPI*)(HINTERNET_, LPCSTR);
using CloseFn = BOOL(WINAPI*)(HINTERNET_);
using QueryAvailableFn = BOOL(WINAPI*)(HINTERNET_, DWORD*, DWORD, DWORD_PTR);
using ReadFn = BOOL(WINAPI*)(HINTERNET_, LPVOID, DWORD, DWORD*);
using FtpOpenFn = HINTERNET_(WINAPI*)(HINTERNET_, LPCSTR, DWORD, DWORD, DWORD_PTR);
using HttpOpenFn = HINTERNET_(WINAPI*)(HINTERNET_, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR*, DWORD,
                                       DWORD_PTR);
using HttpSendFn = BOOL(WINAPI*)(HINTERNET_, LPCSTR, DWORD, LPVOID, DWORD);
using HttpQueryFn = BOOL(WINAPI*)(HINTERNET_, DWORD, LPVOID, DWORD*, DWORD*);

class Win32InternetLibrary final : public InternetLibrary {
 public:
  explicit Win32InternetLibrary(HMODULE module) : module_(module) {}
  ~Win32InternetLibrary() override { FreeLibrary(module_); }

  bool Resolve(std::string_view name) override { return Proc(name) != nullptr; }

  InternetHandle Open(std::string_view agent, uint32_t accessType, uint32_t flags) override {
    auto fn = Get<OpenFn>("InternetOpenA");
    if (!fn) return 0;
    const std::string a(agent);
    return Handle(fn(a.c_str(), accessType, nullptr, nullptr, flags));
  }

  InternetHandle Connect(InternetHandle session, std::string_view host, uint16_t port,
                         const std::string* user, const std::string* password, uint32_t service,
                         uint32_t flags, uintptr_t context) override {
    auto fn = Get<ConnectFn>("InternetConnectA");
    if (!fn) return 0;
    const std::string h(host);
    return Handle(fn(Ptr(session), h.c_str(), port, user ? user->c_str() : nullptr,
                     password ? password->c_str() : nullptr, service, flags, context));
  }

  bool FtpSetCurrentDirectory(InternetHandle connection, std::string_view directory) override {
    auto fn = Get<FtpSetDirFn>("FtpSetCurrentDirectoryA");
    const std::string d(directory);
    return fn && fn(Ptr(connection), d.c_str());
  }

  bool CloseHandle(InternetHandle handle) override {
    auto fn = Get<CloseFn>("InternetCloseHandle");
    return fn && fn(Ptr(handle));
  }

  bool QueryDataAvailable(InternetHandle file, uint32_t& bytes) override {
    auto fn = Get<QueryAvailableFn>("InternetQueryDataAvailable");
    DWORD n = 0;
    if (!fn || !fn(Ptr(file), &n, 0, 0)) return false;
    bytes = n;
    return true;
  }

  bool ReadFile(InternetHandle file, void* buffer, uint32_t size, uint32_t& read) override {
    auto fn = Get<ReadFn>("InternetReadFile");
    DWORD n = 0;
    read = 0;
    if (!fn || !fn(Ptr(file), buffer, size, &n)) return false;
    read = n;
    return true;
  }

  InternetHandle FtpOpenFile(InternetHandle connection, std::string_view name, uint32_t access,
                             uint32_t flags, uintptr_t context) override {
    auto fn = Get<FtpOpenFn>("FtpOpenFileA");
    if (!fn) return 0;
    const std::string n(name);
    return Handle(fn(Ptr(connection), n.c_str(), access, flags, context));
  }

  InternetHandle HttpOpenRequest(InternetHandle connection, std::string_view verb,
                                 std::string_view object, uint32_t flags,
                                 uintptr_t context) override {
    auto fn = Get<HttpOpenFn>("HttpOpenRequestA");
    if (!fn) return 0;
    const std::string v(verb), o(object);
    LPCSTR accept[] = {nullptr};  // an empty list
    return Handle(
        fn(Ptr(connection), v.c_str(), o.c_str(), nullptr, nullptr, accept, flags, context));
  }

  bool HttpSendRequest(InternetHandle request, std::string_view headers) override {
    auto fn = Get<HttpSendFn>("HttpSendRequestA");
    const std::string h(headers);
    return fn && fn(Ptr(request), h.c_str(), DWORD(h.size()), nullptr, 0);
  }

  bool HttpQueryInfo(InternetHandle request, uint32_t level, uint32_t bufferSize,
                     std::string& value) override {
    auto fn = Get<HttpQueryFn>("HttpQueryInfoA");
    if (!fn) return false;
    std::vector<char> buffer(bufferSize + 1, '\0');
    DWORD size = bufferSize;
    if (!fn(Ptr(request), level, buffer.data(), &size, nullptr)) return false;
    value.assign(buffer.data(), std::min<size_t>(size, bufferSize));
    return true;
  }

  bool GetLastResponseInfo(uint32_t& error, std::string& text, uint32_t bufferSize) override {
    auto fn = Get<GetLastResponseInfoFn>("InternetGetLastResponseInfoA");
    if (!fn) return false;
    std::vector<char> buffer(bufferSize + 1, '\0');
    DWORD code = 0, size = bufferSize;
    // The call sets the thread's last error; the caller still wants the
    // one of the call that failed.
    const DWORD saved = GetLastError();
    const BOOL ok = fn(&code, buffer.data(), &size);
    SetLastError(saved);
    if (!ok) return false;
    error = code;
    text.assign(buffer.data(), std::min<size_t>(size, bufferSize));
    return true;
  }

  uint32_t LastError() override { return GetLastError(); }

 private:
  static HINTERNET_ Ptr(InternetHandle h) { return reinterpret_cast<HINTERNET_>(h); }
  static InternetHandle Handle(HINTERNET_ h) { return reinterpret_cast<InternetHandle>(h); }

  FARPROC Proc(std::string_view name) {
    const std::string key(name);
    auto it = procs_.find(key);
    if (it != procs_.end()) return it->second;
    FARPROC p = GetProcAddress(module_, key.c_str());
    procs_[key] = p;
    return p;
  }

  template <class F>
  F Get(const char* name) {
    FARPROC p = Proc(name);
    if (!p) SetLastError(ERROR_PROC_NOT_FOUND);
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
  }

  HMODULE module_;
  std::map<std::string, FARPROC> procs_;
};

class Win32Internet final : public Internet {
 public:
  std::unique_ptr<InternetLibrary> Load(std::string_view name) override {
    const std::string n(name);
    HMODULE module = LoadLibraryA(n.c_str());
    if (!module) return nullptr;
    return std::make_unique<Win32InternetLibrary>(module);
  }
};

}  // namespace

std::unique_ptr<Internet> CreateWin32Internet() {
  return std::make_unique<Win32Internet>();
}

}  // namespace platform::win32
