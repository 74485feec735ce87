// The registry service over advapi32 (RegCreateKeyExW, RegQueryValueExW ...).
// Each call opens and closes its key, so no handle outlives a call and the
// service holds no state. Failures raise OsError naming the Reg* call.
#include "platform/win32/Win32Registry.h"

#include "platform/win32/Win32Api.h"

#include <algorithm>
#include <cstring>

#include "framework/StrUtils.h"
#include "platform/OsError.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {
namespace {

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RootKey::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case RootKey::CurrentUser:
      return HKEY_CURRENT_USER;
    case RootKey::DynData:
      return HKEY_DYN_DATA;
    case RootKey::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RootKey::Users:
      return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

// The key path below the root without outer backslashes. A NUL inside
// would make the system address a shorter path: refused as an invalid name.
std::wstring KeyPath(const char* call, std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return WideName(call, path);
}

bool HasNul(std::string_view s) {
  return s.find('\0') != std::string_view::npos;
}

// Closes a key on every path out of a call.
class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  HKEY* Out() { return &h_; }
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

[[noreturn]] void Fail(const char* call, std::string_view what, LONG code) {
  throw OsError(call, std::string(what), static_cast<uint32_t>(code));
}

// Opens an existing key; false when it does not exist or cannot be opened.
bool Open(RootKey root, std::string_view path, REGSAM access, Key& key) {
  if (HasNul(path)) return false;  // no such key can exist
  return RegOpenKeyExW(RootHandle(root), KeyPath("RegOpenKeyExW", path).c_str(), 0, access,
                       key.Out()) == ERROR_SUCCESS;
}

std::vector<std::string> SortedByUpperName(std::vector<std::string> names) {
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  return names;
}

class Win32Registry final : public Registry {
 public:
  bool KeyExists(RootKey root, std::string_view path) override {
    Key key;
    return Open(root, path, KEY_READ, key);
  }

  void CreateKey(RootKey root, std::string_view path) override {
    Key key;
    const LONG rc =
        RegCreateKeyExW(RootHandle(root), KeyPath("RegCreateKeyExW", path).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.Out(), nullptr);
    if (rc != ERROR_SUCCESS) Fail("RegCreateKeyExW", path, rc);
  }

  bool DeleteKey(RootKey root, std::string_view path) override {
    if (!KeyExists(root, path)) return false;
    // The 95 family deletes whole trees; NT refuses keys with subkeys. Refuse
    // on both so callers behave the same everywhere.
    if (!SubKeyNames(root, path).empty()) Fail("RegDeleteKeyW", path, ERROR_ACCESS_DENIED);
    const LONG rc = RegDeleteKeyW(RootHandle(root), KeyPath("RegDeleteKeyW", path).c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return false;
    if (rc != ERROR_SUCCESS) Fail("RegDeleteKeyW", path, rc);
    return true;
  }

  std::vector<std::string> SubKeyNames(RootKey root, std::string_view path) override {
    std::vector<std::string> names;
    Key key;
    if (!Open(root, path, KEY_READ, key)) return names;
    for (DWORD i = 0;; ++i) {
      wchar_t buf[256];
      DWORD len = 256;
      const LONG rc = RegEnumKeyExW(key.get(), i, buf, &len, nullptr, nullptr, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) break;
      names.push_back(Narrow(std::wstring_view(buf, len)));
    }
    return SortedByUpperName(std::move(names));
  }

  std::vector<std::string> ValueNames(RootKey root, std::string_view path) override {
    std::vector<std::string> names;
    Key key;
    if (!Open(root, path, KEY_READ, key)) return names;
    for (DWORD i = 0;; ++i) {
      wchar_t buf[16384];
      DWORD len = 16384;
      const LONG rc = RegEnumValueW(key.get(), i, buf, &len, nullptr, nullptr, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) break;
      names.push_back(Narrow(std::wstring_view(buf, len)));
    }
    return names;
  }

  std::optional<RegValue> ReadValue(RootKey root, std::string_view path,
                                    std::string_view name) override {
    Key key;
    if (HasNul(name) || !Open(root, path, KEY_READ, key)) return std::nullopt;
    const std::wstring wname = Wide(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    // Another program may grow the value between the two calls: ask again.
    for (;;) {
      std::vector<BYTE> data(size + sizeof(wchar_t));
      DWORD got = static_cast<DWORD>(data.size());
      const LONG rc = RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, data.data(), &got);
      if (rc == ERROR_MORE_DATA) {
        size = got;
        continue;
      }
      if (rc != ERROR_SUCCESS) return std::nullopt;
      data.resize(got);
      return Decode(type, data);
    }
  }

  void WriteValue(RootKey root, std::string_view path, std::string_view name,
                  const RegValue& value) override {
    Key key;
    const LONG open = RegOpenKeyExW(RootHandle(root), KeyPath("RegOpenKeyExW", path).c_str(), 0,
                                    KEY_SET_VALUE, key.Out());
    if (open != ERROR_SUCCESS) Fail("RegOpenKeyExW", path, open);
    std::vector<BYTE> data = Encode(value);
    const LONG rc = RegSetValueExW(key.get(), WideName("RegSetValueExW", name).c_str(), 0,
                                   static_cast<DWORD>(value.type), data.data(),
                                   static_cast<DWORD>(data.size()));
    if (rc != ERROR_SUCCESS)
      Fail("RegSetValueExW", std::string(path) + "\\" + std::string(name), rc);
  }

  bool DeleteValue(RootKey root, std::string_view path, std::string_view name) override {
    Key key;
    if (HasNul(name) || !Open(root, path, KEY_SET_VALUE, key)) return false;
    const LONG rc = RegDeleteValueW(key.get(), Wide(name).c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return false;
    if (rc != ERROR_SUCCESS)
      Fail("RegDeleteValueW", std::string(path) + "\\" + std::string(name), rc);
    return true;
  }

  void Flush(RootKey root, std::string_view path) override {
    Key key;
    if (Open(root, path, KEY_READ, key)) RegFlushKey(key.get());
  }

 private:
  static std::wstring WideFromBytes(const std::vector<BYTE>& data) {
    std::wstring w(data.size() / sizeof(wchar_t), L'\0');
    if (!w.empty()) memcpy(w.data(), data.data(), w.size() * sizeof(wchar_t));
    return w;
  }

  static std::optional<RegValue> Decode(DWORD type, const std::vector<BYTE>& data) {
    RegValue v;
    switch (type) {
      case REG_SZ:
      case REG_EXPAND_SZ: {
        std::wstring w = WideFromBytes(data);
        if (const auto nul = w.find(L'\0'); nul != std::wstring::npos) w.resize(nul);
        v.type = type == REG_SZ ? ValueType::String : ValueType::ExpandString;
        v.text = Narrow(w);
        return v;
      }
      case REG_DWORD: {
        if (data.size() < 4) return std::nullopt;
        v.type = ValueType::DWord;
        v.dword = static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
                  (static_cast<uint32_t>(data[2]) << 16) | (static_cast<uint32_t>(data[3]) << 24);
        return v;
      }
      case REG_MULTI_SZ: {
        v.type = ValueType::MultiString;
        const std::wstring w = WideFromBytes(data);
        size_t start = 0;
        while (start < w.size()) {
          const size_t end = w.find(L'\0', start);
          const size_t stop = end == std::wstring::npos ? w.size() : end;
          if (stop == start) break;  // the empty string ends the list
          v.multi.push_back(Narrow(std::wstring_view(w).substr(start, stop - start)));
          start = stop + 1;
        }
        return v;
      }
      default:
        // Everything else reads as bytes, as REG_BINARY does.
        v.type = ValueType::Binary;
        v.binary.assign(data.begin(), data.end());
        return v;
    }
  }

  static std::vector<BYTE> WideBytes(const std::wstring& w) {
    std::vector<BYTE> out((w.size() + 1) * sizeof(wchar_t), 0);
    if (!w.empty()) memcpy(out.data(), w.data(), w.size() * sizeof(wchar_t));
    return out;
  }

  static std::vector<BYTE> Encode(const RegValue& v) {
    switch (v.type) {
      case ValueType::String:
      case ValueType::ExpandString:
        return WideBytes(Wide(v.text));
      case ValueType::DWord:
        return {static_cast<BYTE>(v.dword), static_cast<BYTE>(v.dword >> 8),
                static_cast<BYTE>(v.dword >> 16), static_cast<BYTE>(v.dword >> 24)};
      case ValueType::MultiString: {
        std::wstring joined;
        for (const auto& s : v.multi) {
          joined += Wide(s);
          joined.push_back(L'\0');
        }
        return WideBytes(joined);  // adds the final terminator
      }
      case ValueType::Binary:
        return std::vector<BYTE>(v.binary.begin(), v.binary.end());
    }
    return {};
  }
};

}  // namespace

std::unique_ptr<Registry> CreateWin32Registry() {
  return std::make_unique<Win32Registry>();
}

}  // namespace platform::win32
