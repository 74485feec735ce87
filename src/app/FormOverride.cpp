// PELLMORE_FORM (see FormOverride.h): the variable and the file are read
// from the host through the platform's host access (so any path works on
// Windows too); nothing of the simulated machine is involved.
#include "app/FormOverride.h"

#include "framework/ClassRegistry.h"
#include "framework/FormParser.h"
#include "framework/Forms.h"
#include "platform/HostAccess.h"

namespace {

std::string ReadDescription(const std::string& path) {
  try {
    return platform::ReadHostFile(path, kMaxFormDescriptionBytes);
  } catch (const platform::EHostFileError& e) {
    throw Exception("Cannot read the form description " + path +
                    " named by PELLMORE_FORM: " + e.Message());
  }
}

}  // namespace

std::optional<std::string> FormOverridePath() {
  std::optional<std::string> value = platform::HostEnvironment("PELLMORE_FORM");
  if (value && value->empty()) return std::nullopt;
  return value;
}

std::string RegisterFormOverride(const std::string& hostPath, ClassRegistry& registry) {
  const std::string text = ReadDescription(hostPath);
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
