// Text of a fixed capacity for the loading program. The Windows loader is
// built without the C++ runtime's strings and exceptions to stay small, so
// paths and messages live in fixed buffers; text that does not fit is
// remembered as overflowed and the caller refuses it rather than cutting a
// path short.
#pragma once

#include <cstddef>
#include <cstring>

namespace loader {

class Text {
 public:
  static constexpr size_t kCapacity = 2048;  // UTF-8 bytes, paths and messages

  Text() { data_[0] = 0; }
  Text(const char* s) : Text() { Append(s); }  // NOLINT: a literal reads as text

  const char* c_str() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  bool Overflowed() const { return overflow_; }
  char operator[](size_t i) const { return data_[i]; }

  Text& Append(const char* s, size_t n) {
    if (n > kCapacity - 1 - size_) {
      overflow_ = true;
      n = kCapacity - 1 - size_;
      // Never end inside a UTF-8 sequence.
      while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    }
    std::memcpy(data_ + size_, s, n);
    size_ += n;
    data_[size_] = 0;
    return *this;
  }
  Text& Append(const char* s) { return Append(s, std::strlen(s)); }
  Text& Append(const Text& t) { return Append(t.data_, t.size_); }
  Text& Append(char c) { return Append(&c, 1); }
  Text& AppendNumber(unsigned long long v) {
    char digits[24];
    size_t n = 0;
    do {
      digits[n++] = char('0' + v % 10);
      v /= 10;
    } while (v);
    while (n) Append(digits[--n]);
    return *this;
  }
  void Truncate(size_t n) {
    if (n < size_) size_ = n, data_[n] = 0;
  }

 private:
  char data_[kCapacity];
  size_t size_ = 0;
  bool overflow_ = false;
};

// The directory part of a Windows path without its trailing backslash
// ("C:\Dist\setup.exe" -> "C:\Dist", "C:\setup.exe" -> "C:"), and the
// file-name part ("setup.exe").
inline Text DirectoryOf(const Text& path) {
  size_t cut = path.size();
  while (cut > 0 && path[cut - 1] != '\\' && path[cut - 1] != '/') --cut;
  Text dir;
  dir.Append(path.c_str(), cut > 0 ? cut - 1 : 0);
  return dir;
}
inline const char* FileNameOf(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  return name;
}

// ASCII case-insensitive equality, as Windows compares switch words.
inline bool SameAscii(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = *a >= 'a' && *a <= 'z' ? char(*a - 32) : *a;
    char y = *b >= 'a' && *b <= 'z' ? char(*b - 32) : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

}  // namespace loader
