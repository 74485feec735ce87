// The engine setup operations' host over the Win32 A calls (see
// Win32EngineHost.h). Every handle and key is closed on every path; a
// temporary file that could not be put in place is deleted.
#include "enginesetup/win32/Win32EngineHost.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace enginesetup {
namespace {

// Closes a handle when it goes out of scope.
struct HandleCloser {
  HANDLE h;
  ~HandleCloser() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

struct KeyCloser {
  HKEY k;
  ~KeyCloser() {
    if (k) RegCloseKey(k);
  }
};

// Registry paths are written with a leading backslash; the calls take them
// relative to the root.
const char* Relative(const std::string& key) {
  const char* p = key.c_str();
  while (*p == '\\') ++p;
  return p;
}

bool WriteAll(HANDLE h, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

std::optional<std::string> Win32EngineHost::ReadFile(const std::string& path) {
  HandleCloser f{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (f.h == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f.h, &size) || size.QuadPart < 0 || uint64_t(size.QuadPart) > kMaxConfigBytes)
    return std::nullopt;
  std::string bytes(size_t(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(f.h, bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr))
      return std::nullopt;
    if (got == 0) break;  // shorter now than when it was measured
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

bool Win32EngineHost::ReplaceAtomically(const std::string& path, const std::string& bytes) {
  // A fresh name beside the target, so the rename stays on its volume.
  std::string temp;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (unsigned n = 0; n < 100 && h == INVALID_HANDLE_VALUE; ++n) {
    temp = path + ".~qd" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(n);
    h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                    nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(h, bytes) && FlushFileBuffers(h);
  ok = CloseHandle(h) && ok;
  ok = ok &&
       MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temp.c_str());
  return ok;
}

bool Win32EngineHost::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> Win32EngineHost::ReadMachineString(const std::string& key,
                                                              const std::string& name) {
  KeyCloser k{nullptr};
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Relative(key), 0, KEY_QUERY_VALUE, &k.k) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(k.k, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  std::string text(size, '\0');
  if (size > 0 && RegQueryValueExA(k.k, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  text.resize(size);
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

bool Win32EngineHost::WriteMachineString(const std::string& key, const std::string& name,
                                         const std::string& value) {
  KeyCloser k{nullptr};
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, Relative(key), 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &k.k, nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExA(k.k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        DWORD(value.size() + 1)) == ERROR_SUCCESS;
}

std::optional<std::string> Win32EngineHost::ReadIniString(const std::string& file,
                                                          const std::string& section,
                                                          const std::string& key) {
  // The profile call cannot say "missing"; a default no INI line can hold
  // (it has a line break) tells.
  static const char kMissing[] = "\n";
  std::string buffer(4096, '\0');
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buffer.data(),
                                           DWORD(buffer.size()), file.c_str());
  buffer.resize(n);
  if (buffer == kMissing) return std::nullopt;
  return buffer;
}

bool Win32EngineHost::WriteIniString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
}

}  // namespace enginesetup
