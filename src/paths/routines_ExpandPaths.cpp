// The folder lookups and the meta-variable expander. Nothing is cached:
// each call asks the registry and the system again, so a folder changed
// during the run shows at once.
#include "paths/routines_ExpandPaths.h"

#include <string_view>

#include "framework/StrUtils.h"
#include "i18n/cmp_TTranslator.h"
#include "install/cmp_TInstall.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "shell/routines_API.h"
#include "shell/routines_Registry.h"
#include "shell/routines_Strings.h"

namespace {

constexpr std::string_view kShellFolders =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::string_view kCurrentVersion = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// `left` + "\" + `right`, the backslash only when `left` lacks one.
std::string JoinPath(const std::string& left, std::string_view right) {
  std::string out = left;
  if (out.empty() || out.back() != '\\') out += '\\';
  out += right;
  return out;
}

// The registry's value, or the fallback computed only when needed (the
// fallbacks ask the system, which may fail).
template <class Fallback>
std::string Folder(uint8_t root, std::string_view key, std::string_view value, Fallback fallback) {
  // An empty default cannot be told from an empty stored value, which is
  // no usable folder either.
  std::string stored = ReadRegString(root, key, value, "");
  return RemoveBackslash(stored.empty() ? fallback() : stored);
}

// "C:" or "\\server\share" of the process's current directory.
std::string CurrentDrive() {
  return ExtractFileDrive(platform::system().CurrentDirectory());
}

[[noreturn]] void RaiseContainer(const char* english) {
  throw EPLCannotExpandContainerDirMV(TranslateFromEnglish(english));
}

// The destination directory of `component` when it is an install object
// (or container); other components have none.
std::string DestinationOf(TComponent* component) {
  auto* c = dynamic_cast<TInstallContainer*>(component);
  return c ? c->ResolveDestDir() : std::string();
}

}  // namespace

std::string StartMenuDir() {
  return Folder(kRootCurrentUser, kShellFolders, "Start Menu",
                [] { return JoinPath(WindowsDirectory(), "Startmen"); });
}

std::string ProgramsMenuDir() {
  return Folder(kRootCurrentUser, kShellFolders, "Programs",
                [] { return JoinPath(StartMenuDir(), "Programs"); });
}

std::string DesktopDir() {
  return Folder(kRootCurrentUser, kShellFolders, "Desktop",
                [] { return JoinPath(WindowsDirectory(), "Desktop"); });
}

std::string StartupDir() {
  return Folder(kRootCurrentUser, kShellFolders, "Startup",
                [] { return JoinPath(WindowsDirectory(), "Startup"); });
}

std::string ProgramFilesPath() {
  return Folder(kRootLocalMachine, kCurrentVersion, "ProgramFilesDir",
                [] { return JoinPath(CurrentDrive(), "Program Files"); });
}

std::string CommonFilesPath() {
  return Folder(kRootLocalMachine, kCurrentVersion, "CommonFilesDir",
                [] { return JoinPath(CurrentDrive(), "Program Files\\Common Files"); });
}

void ExpandMetaVariables(const std::string& text, TComponent* component, std::string& result) {
  std::string out;
  out.reserve(text.size());
  bool pending = false;
  for (char ch : text) {
    if (!pending) {
      if (ch == '%')
        pending = true;
      else
        out += ch;
      continue;
    }
    pending = false;
    std::string value;
    switch (ch) {
      case '%':
        out += '%';
        continue;
      case 'a':
      case 'A':
        if (!component)
          RaiseContainer("Cannot expand the %a meta variable because the component is Nil");
        value = DestinationOf(component);
        break;
      case 'b':
      case 'B':
        value = ProgramsMenuDir();
        break;
      case 'c':
      case 'C': {
        if (!component)
          RaiseContainer("Cannot expand the %c meta variable because the component is Nil");
        auto* object = dynamic_cast<TInstallObject*>(component);
        if (!object || !object->Container())
          RaiseContainer(
              "Cannot expand the %c meta variable because the Container property is Nil");
        value = object->Container()->ResolveDestDir();
        break;
      }
      case 'd':
      case 'D':
        value = DesktopDir();
        break;
      case 'f':
      case 'F':
        value = CommonFilesPath();
        break;
      case 'i':
      case 'I':
        if (!Installer())
          throw EPLCannotExpandInstallDirMV(TranslateFromEnglish(
              "Cannot expand the %i meta variable because there is no TInstall component"));
        value = Installer()->ResolveDestDir();
        break;
      case 'm':
      case 'M':
        value = StartMenuDir();
        break;
      case 'p':
      case 'P':
        value = ProgramFilesPath();
        break;
      case 's':
      case 'S':
        value = SystemDirectory();
        break;
      case 'w':
      case 'W':
        value = WindowsDirectory();
        break;
      default:
        // An unknown variable vanishes together with its percent sign.
        continue;
    }
    out += RemoveBackslash(value);
  }
  result = std::move(out);
}
