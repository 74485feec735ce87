// The version service over version.dll: GetFileVersionInfoSizeW and
// GetFileVersionInfoW load a file's version resource once, VerQueryValueW
// answers every query from that copy.
#include "platform/VersionInfo.h"

#include "platform/win32/Win32Api.h"

#include <cstring>

#include "platform/win32/Win32Text.h"

namespace platform {
namespace {

class Win32VersionData final : public VersionInfoData {
 public:
  explicit Win32VersionData(std::vector<unsigned char> block) : block_(std::move(block)) {}

  std::optional<FixedFileInfo> Fixed() const override {
    void* p = nullptr;
    UINT len = 0;
    if (!Query(L"\\", &p, &len) || len < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
    VS_FIXEDFILEINFO raw;
    std::memcpy(&raw, p, sizeof(raw));  // the block need not keep it aligned
    FixedFileInfo f;
    f.signature = raw.dwSignature;
    f.strucVersion = raw.dwStrucVersion;
    f.fileVersionMS = raw.dwFileVersionMS;
    f.fileVersionLS = raw.dwFileVersionLS;
    f.productVersionMS = raw.dwProductVersionMS;
    f.productVersionLS = raw.dwProductVersionLS;
    f.fileFlagsMask = raw.dwFileFlagsMask;
    f.fileFlags = raw.dwFileFlags;
    f.fileOS = raw.dwFileOS;
    f.fileType = raw.dwFileType;
    f.fileSubtype = raw.dwFileSubtype;
    f.fileDateMS = raw.dwFileDateMS;
    f.fileDateLS = raw.dwFileDateLS;
    return f;
  }

  std::vector<VersionTranslation> Translations() const override {
    std::vector<VersionTranslation> out;
    void* p = nullptr;
    UINT len = 0;
    if (!Query(L"\\VarFileInfo\\Translation", &p, &len)) return out;
    // Pairs of little-endian words: language, then code page.
    const auto* bytes = static_cast<const unsigned char*>(p);
    for (UINT i = 0; i + 4 <= len; i += 4) {
      VersionTranslation t;
      t.language = static_cast<uint16_t>(bytes[i] | (bytes[i + 1] << 8));
      t.codePage = static_cast<uint16_t>(bytes[i + 2] | (bytes[i + 3] << 8));
      out.push_back(t);
    }
    return out;
  }

  std::optional<std::string> StringValue(std::string_view table,
                                         std::string_view key) const override {
    // A separator or NUL inside either name would query another item.
    for (std::string_view part : {table, key})
      if (part.empty() || part.find_first_of(std::string_view("\\\0", 2)) != std::string_view::npos)
        return std::nullopt;
    const std::wstring sub = L"\\StringFileInfo\\" + win32::Wide(table) + L"\\" + win32::Wide(key);
    void* p = nullptr;
    UINT len = 0;
    if (!Query(sub.c_str(), &p, &len)) return std::nullopt;
    if (p == nullptr || len == 0) return std::string();
    // The length counts characters and may include the terminator.
    const auto* text = static_cast<const wchar_t*>(p);
    return win32::Narrow(std::wstring_view(text, wcsnlen(text, len)));
  }

 private:
  bool Query(const wchar_t* sub, void** p, UINT* len) const {
    // VerQueryValueW does not change the block, but its parameter is not
    // const; it works on this object's own copy.
    auto* block = const_cast<unsigned char*>(block_.data());
    return VerQueryValueW(block, sub, p, len) != FALSE;
  }

  std::vector<unsigned char> block_;
};

class Win32VersionService final : public VersionInfoService {
 public:
  std::unique_ptr<VersionInfoData> Load(std::string_view path) override {
    if (path.empty() || path.find('\0') != std::string_view::npos) return nullptr;
    const std::wstring w = win32::Wide(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(w.c_str(), &ignored);
    if (size == 0) return nullptr;
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(w.c_str(), 0, size, block.data())) return nullptr;
    return std::make_unique<Win32VersionData>(std::move(block));
  }
};

}  // namespace

std::unique_ptr<VersionInfoService> CreateDefaultVersionService() {
  return std::make_unique<Win32VersionService>();
}

}  // namespace platform
