// The well-known folders of the target machine (Start menu, Programs,
// Desktop, Startup, program files, common files), read from the registry
// with fixed fallbacks, and the expander of %-meta variables that shell
// links pass their argument texts through.
#pragma once

#include <string>

#include "common/exceptions_Pellmore.h"

class TComponent;

// %a or %c could not be expanded (no component, or no container).
PELLMORE_DECLARE_EXCEPTION(EPLCannotExpandContainerDirMV, EPellmoreAbnormal);
// %i could not be expanded: there is no installer component.
PELLMORE_DECLARE_EXCEPTION(EPLCannotExpandInstallDirMV, EPellmoreAbnormal);

// Each folder routine returns the registry's value as stored, or its
// fallback when the key or value is missing or unreadable, in both cases
// with one trailing backslash removed. They never fail on registry
// problems; a refused Windows-directory query raises EAPIRoutines.
//
// HKCU Shell Folders "Start Menu", else <Windows>\Startmen.
std::string StartMenuDir();
// HKCU Shell Folders "Programs", else StartMenuDir() + "\Programs".
std::string ProgramsMenuDir();
// HKCU Shell Folders "Desktop", else <Windows>\Desktop.
std::string DesktopDir();
// HKCU Shell Folders "Startup", else <Windows>\Startup.
std::string StartupDir();
// HKLM CurrentVersion "ProgramFilesDir", else the drive of the current
// directory + "\Program Files".
std::string ProgramFilesPath();
// HKLM CurrentVersion "CommonFilesDir", else the drive of the current
// directory + "\Program Files\Common Files".
std::string CommonFilesPath();

// Replaces the meta variables of `text` (a percent sign and one letter of
// either case) and stores the outcome in `result`:
//   %a the destination directory of `component`   %b ProgramsMenuDir
//   %c the destination directory of its container %d DesktopDir
//   %f CommonFilesPath    %i the installer's destination directory
//   %m StartMenuDir       %p ProgramFilesPath     %s the system directory
//   %w the Windows directory                      %% one percent sign
// Each replacement loses one trailing backslash. A percent sign before any
// other character drops both; a percent sign at the end is dropped.
// `component` may be null unless %a or %c is used. On an error `result` is
// left as it was.
void ExpandMetaVariables(const std::string& text, TComponent* component, std::string& result);
