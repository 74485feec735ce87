// PELLMORE_FORM (see FormOverride.h): the variable and the file are read
// from the host directly (wide calls on Windows, so any path works);
// nothing of the simulated machine is involved.
#include "app/FormOverride.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "framework/ClassRegistry.h"
#include "framework/FormParser.h"
#include "framework/Forms.h"
#include "framework/Utf8.h"

namespace {

// A description is text; anything this large is not one.
constexpr size_t kMaxDescriptionBytes = 64u * 1024 * 1024;

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

std::FILE* OpenHostFile(const std::string& path) {
#ifdef _WIN32
  const std::u16string wide = Utf8ToUtf16(path);
  return _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

std::string ReadHostFile(const std::string& path) {
  const auto cannot = [&path](const std::string& why) {
    return Exception("Cannot read the form description " + path +
                     " named by PELLMORE_FORM: " + why);
  };
  std::unique_ptr<std::FILE, FileCloser> f(OpenHostFile(path));
  if (!f) throw cannot("the file cannot be opened");
  std::string text;
  char buffer[65536];
  for (;;) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
    if (n == 0) break;
    if (text.size() + n > kMaxDescriptionBytes) throw cannot("the file is too large");
    text.append(buffer, n);
  }
  if (std::ferror(f.get())) throw cannot("reading failed");
  return text;
}

}  // namespace

std::optional<std::string> FormOverridePath() {
#ifdef _WIN32
  const wchar_t* value = _wgetenv(L"PELLMORE_FORM");
  if (!value || !*value) return std::nullopt;
  return Utf16ToUtf8(reinterpret_cast<const char16_t*>(value));
#else
  const char* value = std::getenv("PELLMORE_FORM");
  if (!value || !*value) return std::nullopt;
  return std::string(value);
#endif
}

std::string RegisterFormOverride(const std::string& hostPath, ClassRegistry& registry) {
  const std::string text = ReadHostFile(hostPath);
  // Parsed once here so a syntax error names the file before anything is
  // created, and so the root class is known.
  const FormObject root = ParseFormDescription(text, hostPath);
  const ClassInfo* info = registry.FindClass(root.className);
  if (!info || !info->Meta().InheritsFrom(TCustomForm::StaticMetaClass()))
    throw Exception("The form description " + hostPath + " named by PELLMORE_FORM describes " +
                    root.className + ", which is not a registered form class");
  registry.RegisterDescription(info->Name(), hostPath, text);
  return info->Name();
}
