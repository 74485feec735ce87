// DDE conversations over DDEML (see platform/Dde.h). Each conversation has
// its own DDEML instance, so it can be dropped on its own and nothing is
// left registered once it goes. Texts cross as CF_TEXT in the ANSI code
// page, which is what the Program Manager speaks; the kit's UTF-8 is
// converted at this boundary.
#include <windows.h>

#include <ddeml.h>

#include <vector>

#include "platform/Dde.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {
namespace {

// A transaction that gets no answer in this time has failed; a server
// that is alive answers in milliseconds.
constexpr DWORD kTimeoutMs = 10000;

std::string Ansi(std::string_view utf8) {
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string Utf8FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), nullptr, 0);
  std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), wide.data(), n);
  return Narrow(wide);
}

// A client needs a callback; it is asked nothing a client must answer.
// No exception can leave it: it does nothing that raises.
HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR,
                                 ULONG_PTR) noexcept {
  return nullptr;
}

// A DDEML string handle, freed when it goes.
class StringHandle {
 public:
  StringHandle(DWORD instance, std::string_view text)
      : instance_(instance),
        handle_(DdeCreateStringHandleA(instance, Ansi(text).c_str(), CP_WINANSI)) {}
  ~StringHandle() {
    if (handle_) DdeFreeStringHandle(instance_, handle_);
  }
  StringHandle(const StringHandle&) = delete;
  StringHandle& operator=(const StringHandle&) = delete;
  HSZ get() const { return handle_; }

 private:
  DWORD instance_;
  HSZ handle_;
};

class Win32Conversation : public DdeConversation {
 public:
  Win32Conversation(DWORD instance, HCONV conversation)
      : instance_(instance), conversation_(conversation) {}
  ~Win32Conversation() override {
    DdeDisconnect(conversation_);
    DdeUninitialize(instance_);
  }

  bool Execute(std::string_view command) override {
    std::string text = Ansi(command);
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    DWORD result = 0;
    HDDEDATA answer = DdeClientTransaction(data.data(), DWORD(data.size()), conversation_, nullptr,
                                           CF_TEXT, XTYP_EXECUTE, kTimeoutMs, &result);
    if (!answer) return false;
    // A synchronous execute answers TRUE or a data handle; either is done.
    if (answer != reinterpret_cast<HDDEDATA>(TRUE)) DdeFreeDataHandle(answer);
    return true;
  }

  std::optional<std::string> Request(std::string_view item) override {
    StringHandle name(instance_, item);
    if (!name.get()) return std::nullopt;
    DWORD result = 0;
    HDDEDATA answer = DdeClientTransaction(nullptr, 0, conversation_, name.get(), CF_TEXT,
                                           XTYP_REQUEST, kTimeoutMs, &result);
    if (!answer) return std::nullopt;
    const DWORD size = DdeGetData(answer, nullptr, 0, 0);
    std::string text(size, '\0');
    if (size > 0) DdeGetData(answer, reinterpret_cast<BYTE*>(text.data()), size, 0);
    DdeFreeDataHandle(answer);
    // CF_TEXT ends at its first zero (the terminator, and any padding).
    if (const size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return Utf8FromAnsi(text);
  }

 private:
  DWORD instance_;
  HCONV conversation_;
};

class Win32Dde : public Dde {
 public:
  std::unique_ptr<DdeConversation> Connect(std::string_view service,
                                           std::string_view topic) override {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
      return nullptr;
    HCONV conversation = nullptr;
    {
      StringHandle s(instance, service), t(instance, topic);
      if (s.get() && t.get()) conversation = DdeConnect(instance, s.get(), t.get(), nullptr);
    }
    if (!conversation) {
      DdeUninitialize(instance);
      return nullptr;
    }
    return std::make_unique<Win32Conversation>(instance, conversation);
  }
};

}  // namespace

std::unique_ptr<Dde> CreateWin32Dde() {
  return std::make_unique<Win32Dde>();
}

}  // namespace platform::win32
