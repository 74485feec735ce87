// Shortcut files on Windows through the shell-link COM class: one object
// per link (CoCreateInstance, the shell-link and persist-file interfaces),
// texts handed over as UTF-16 so that any name survives whatever the
// system's code page, and reading back through IPersistFile::Load and the
// getters.
#include "platform/win32/Win32Api.h"

#include <objbase.h>
#include <objidl.h>
#include <shobjidl.h>

#include <string>

#include "platform/OsError.h"
#include "platform/ShellLinks.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {
namespace {

// Spelled out so that no import library of GUIDs is needed.
const CLSID kClsidShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidShellLinkW = {0x000214F9, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidPersistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr const char* kClsidText = "{00021401-0000-0000-C000-000000000046}";

// The argument and description getters' documented buffer size.
constexpr int kInfoTipSize = 1024;

template <class T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* get() const { return p_; }
  T** out() { return &p_; }
  T* operator->() const { return p_; }

 private:
  T* p_ = nullptr;
};

class Win32ShellLink : public ShellLink {
 public:
  Win32ShellLink() {
    HRESULT hr = CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkW,
                                  reinterpret_cast<void**>(link_.out()));
    if (FAILED(hr)) throw OsError("CoCreateInstance", kClsidText, uint32_t(hr));
    hr = link_->QueryInterface(kIidPersistFile, reinterpret_cast<void**>(file_.out()));
    if (FAILED(hr)) throw OsError("QueryInterface", "IPersistFile", uint32_t(hr));
  }

  int32_t SetPath(std::string_view path) override { return link_->SetPath(Wide(path).c_str()); }
  int32_t SetHotkey(uint16_t hotKey) override { return link_->SetHotkey(hotKey); }
  int32_t SetArguments(std::string_view arguments) override {
    return link_->SetArguments(Wide(arguments).c_str());
  }
  int32_t SetWorkingDirectory(std::string_view directory) override {
    return link_->SetWorkingDirectory(Wide(directory).c_str());
  }
  int32_t SetDescription(std::string_view description) override {
    return link_->SetDescription(Wide(description).c_str());
  }
  int32_t SetIconLocation(std::string_view path, int32_t index) override {
    return link_->SetIconLocation(Wide(path).c_str(), index);
  }
  int32_t Save(std::string_view linkPath) override {
    const std::wstring path = Wide(linkPath);
    // The path travels in a buffer of MAX_PATH units, terminator included.
    if (path.empty() || path.size() >= MAX_PATH) return E_INVALIDARG;
    return file_->Save(path.c_str(), TRUE);
  }

  std::optional<ShellLinkData> Load(std::string_view linkPath) {
    if (FAILED(file_->Load(Wide(linkPath).c_str(), STGM_READ))) return std::nullopt;
    ShellLinkData d;
    std::wstring buffer(32768, L'\0');
    const auto text = [&](HRESULT hr) {
      return SUCCEEDED(hr) ? Narrow(buffer.c_str()) : std::string();
    };
    d.path = text(link_->GetPath(buffer.data(), int(buffer.size()), nullptr, SLGP_RAWPATH));
    buffer.assign(buffer.size(), L'\0');
    d.arguments = text(link_->GetArguments(buffer.data(), int(buffer.size())));
    buffer.assign(buffer.size(), L'\0');
    d.workingDirectory = text(link_->GetWorkingDirectory(buffer.data(), int(buffer.size())));
    buffer.assign(buffer.size(), L'\0');
    d.description = text(link_->GetDescription(buffer.data(), kInfoTipSize));
    buffer.assign(buffer.size(), L'\0');
    int index = 0;
    d.iconPath = text(link_->GetIconLocation(buffer.data(), int(buffer.size()), &index));
    d.iconIndex = index;
    WORD hotKey = 0;
    if (SUCCEEDED(link_->GetHotkey(&hotKey))) d.hotKey = hotKey;
    int show = SW_SHOWNORMAL;
    if (SUCCEEDED(link_->GetShowCmd(&show))) d.showCommand = show;
    return d;
  }

 private:
  ComRef<IShellLinkW> link_;
  ComRef<IPersistFile> file_;
};

class Win32ShellLinks : public ShellLinks {
 public:
  bool InitializeCom() override { return SUCCEEDED(CoInitialize(nullptr)); }
  std::unique_ptr<ShellLink> Create() override { return std::make_unique<Win32ShellLink>(); }
  std::optional<ShellLinkData> Read(std::string_view linkPath) override {
    try {
      Win32ShellLink link;
      return link.Load(linkPath);
    } catch (const OsError&) {
      return std::nullopt;
    }
  }
};

}  // namespace

std::unique_ptr<ShellLinks> CreateWin32ShellLinks() {
  return std::make_unique<Win32ShellLinks>();
}

}  // namespace platform::win32
