// The uninstall program's entry: the session's widgetset (real windows on
// Windows unless PELLMORE_UI asks for the headless one; headless on the
// simulated machine), the platform's default backend with this process's
// arguments, and the run of UninstallProgram.h, whose exit code it returns.
#include <cstdio>
#include <exception>

#include "framework/Application.h"
#include "framework/ProcessState.h"
#include "framework/WidgetsetSlot.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "platform/headless/HeadlessSession.h"
#include "uninstaller/UninstallProgram.h"

int main(int argc, char** argv) {
  try {
    InstallWidgetset(
        platform::headless::CreateSessionWidgetset(platform::headless::UserFromEnvironment()));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return uninstaller::kUninstallFailed;
  }
  int code = uninstaller::kUninstallFailed;
  try {
    platform::system().UseHostArguments(argc, argv);
    Application().SetTitle(uninstaller::kUninstallTitle);
    code = uninstaller::RunUninstallProgram(platform::system().CommandLine());
  } catch (...) {
    Application().HandleException(nullptr);
  }
  try {
    ProcessState::ResetAll();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  return code;
}
