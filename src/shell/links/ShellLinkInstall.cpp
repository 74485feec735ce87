// What installing a link means: the choice between an Internet shortcut, a
// shell link and a Program Manager item, writing each of them, and the
// uninstall record of the shortcut file.
#include <cstdio>

#include "files/UninstallManifest.h"
#include "framework/StrUtils.h"
#include "install/cmp_TInstall.h"
#include "install/uninstall/cmp_TUninstallEXE.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/FileSystem.h"
#include "platform/IniFiles.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "platform/ShellLinks.h"
#include "shell/cmp_TProgramManager.h"
#include "shell/links/cmp_TInstallShellLink.h"
#include "shell/routines_API.h"
#include "shell/routines_Registry.h"

namespace {

std::string WithoutTrailingBackslash(std::string s) {
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

// An error result of one of the shell-link object's calls.
struct ComFailure {
  int32_t result;
};

void Check(int32_t result) {
  if (result < 0) throw ComFailure{result};
}

}  // namespace

// The text a COM result is reported with: the well-known results by their
// own (translated) words, a Win32 error by its system text.
std::string ShellLinkResultText(int32_t result) {
  switch (uint32_t(result)) {
    case 0:
      return "";
    case 0x8000FFFFu:
      return TranslateExceptionText("Indicates an unexpected error occurred");
    case 0x80040110u:
      return TranslateExceptionText(
          "Indicates this class cannot be created as part of an aggregate");
    case 0x80040154u:
      return TranslateExceptionText(
          "Indicates that a specified class is not registered in the registration database");
    case 0x8007000Eu:
      return TranslateExceptionText("Out of memory");
    case 0x80070057u:
      return TranslateExceptionText("Indicates one or more arguments are invalid");
    default:
      break;
  }
  if ((uint32_t(result) & 0xFFFF0000u) == 0x80070000u)
    return platform::ErrorText(uint32_t(result) & 0xFFFFu);
  char hex[32];
  std::snprintf(hex, sizeof hex, "Error 0x%08X.", unsigned(uint32_t(result)));
  return hex;
}

// --- the install step -------------------------------------------------------------------

void TCustomInstallShellLink::InstallObjects() {
  shortcutWritten_ = false;
  if (Trim(linkName_).empty())
    throw IEInstallShellLink("The LinkName is blank for %s and therefore could not be installed",
                             Name());
  if (TInstallContainer* object = objectLink_) {
    // A shortcut to something this run did not install would point nowhere.
    if (!object->Installed()) return;
    if (object->Is<TUninstallEXE>()) {
      TCustomInstall* installer = Installer();
      if (!installer)
        throw IEInstallShellLink(
            "%s cannot perform operation because there is no TInstall component", Name());
      arguments_ = installer->Information()->ProductName();
    } else if (object->Is<TCustomShellLinkGroup>()) {
      platform::files().CreateDirectories(object->ResolveDestDir());
    }
  }
  if (AsciiUpperCase(ExtractFileExt(linkName_)) == ".URL") {
    InstallAsInternetShortcut();
  } else {
    bool shellLink = linkMethod_ == 1;
    if (linkMethod_ == 0) {
      const uint8_t kind = WindowsPlatform();
      shellLink = kind == kPlatformKindWin95 || kind == kPlatformKindNT;
    }
    if (shellLink)
      InstallAsShellLink();
    else
      InstallAsProgramManagerItem();
  }
  TInstallObject::InstallObjects();
}

void TCustomInstallShellLink::InstallAsShellLink() {
  InitializeCom();
  std::string arguments, target, directory;
  try {
    platform::files().CreateDirectories(WithoutTrailingBackslash(ResolveDestDir()));
    ExpandMetaVariables(arguments_, this, arguments);
    target = TargetPath();
    directory = WithoutTrailingBackslash(ExtractFilePath(target));
  } catch (const IException&) {
    throw;  // the kit's own message (a specifier that cannot serve the link)
  } catch (const Exception& e) {
    throw IEInstallShellLink(
        "The TCustomInstallShellLink %s name could not be installed. The following error was "
        "reported %s",
        Name(), e.Message());
  }
  // A refused object or interface is passed on as the system raised it.
  std::unique_ptr<platform::ShellLink> link = platform::shellLinks().Create();
  try {
    Check(link->SetPath(target));
    Check(link->SetHotkey(hotKey_));
    Check(link->SetArguments(arguments));
    Check(link->SetWorkingDirectory(directory));
    Check(link->Save(LinkFileName()));
    shortcutWritten_ = true;
  } catch (const ComFailure& f) {
    throw IEInstallShellLink(
        "The TCustomInstallShellLink %s name could not be installed. The following error was "
        "reported %s. Error code %d",
        Name(), ShellLinkResultText(f.result), int(f.result));
  } catch (const Exception& e) {
    throw IEInstallShellLink(
        "The TCustomInstallShellLink %s name could not be installed. The following error was "
        "reported %s",
        Name(), e.Message());
  }
}

void TCustomInstallShellLink::InstallAsInternetShortcut() {
  platform::files().CreateDirectories(WithoutTrailingBackslash(ResolveDestDir()));
  platform::iniFiles().WriteString(LinkFileName(), "InternetShortcut", "URL", target_);
  shortcutWritten_ = true;
}

void TCustomInstallShellLink::InstallAsProgramManagerItem() {
  // Program Manager groups stand for the program menu only.
  if (!DestDirType() || !DestDirType()->Is<TpsProgramMenu>()) return;
  const std::string group = Trim(ExtractFileName(WithoutTrailingBackslash(ResolveDestDir())));
  if (group.empty())
    throw IEInstallShellLink("The LinkName is blank for %s and therefore could not be installed",
                             Name());
  TProgramManager& pm = ProgramManager();
  pm.CreateGroup(group);
  const std::string item = ChangeFileExt(linkName_, "");
  if (pm.FindItem(item) >= 0) pm.ReplaceItem(item);
  std::string arguments;
  ExpandMetaVariables(arguments_, this, arguments);
  const std::string target = TargetPath();
  const std::string commandLine = "\"" + target + "\" " + arguments;
  const std::string directory = "\"" + WithoutTrailingBackslash(ExtractFilePath(target)) + "\"";
  pm.AddItem(commandLine, item, "", 0, directory, "");
}

// --- the uninstall record ---------------------------------------------------------------

void TCustomInstallShellLink::WriteUninstallInfo(const std::string& key) {
  // A link skipped in this run (its object not installed), a Program
  // Manager item or one left out for its destination has no file to remove.
  if (!shortcutWritten_) return;
  const std::string path = LinkFileName();
  if (AppendFilesRecord(key, path)) return;
  throw IEInstallShellLink(
      "%s cannot record its uninstall entry: none of the keys Files to Files%d under %s took it",
      Name(), kMaxFilesKeySuffix, key);
}
