// The setup program's entry: the widgetset the environment chooses (real
// windows on Windows, headless on the simulated machine),
// the platform's default backend (on the simulated machine the one named
// by PELLMORE_MACHINE) with this process's arguments, COM for the main
// thread, the ordered class registration, the application title, the main form streamed from its
// description (or from the file PELLMORE_FORM names), the run loop, and
// the exit code of ExitCodes.h.
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "app/ExitCodes.h"
#include "app/FormOverride.h"
#include "app/Main.h"
#include "app/SetupRegistration.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/ProcessState.h"
#include "framework/WidgetsetSlot.h"
#include "platform/Platform.h"
#include "platform/ShellLinks.h"
#include "platform/SystemInfo.h"
#include "platform/headless/HeadlessSession.h"

int main(int argc, char** argv) {
  try {
    InstallWidgetset(
        platform::headless::CreateSessionWidgetset(platform::headless::UserFromEnvironment()));
  } catch (const std::exception& e) {
    // Without a widgetset the error output is the only display left.
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }

  int code = kExitFailed;
  TApplication& app = Application();
  try {
    platform::system().UseHostArguments(argc, argv);
    // Once for the main thread, before any form exists: shortcuts are
    // written through COM objects during the run. A refusal surfaces as
    // the shortcut step's own error, where the user learns which link.
    platform::shellLinks().InitializeCom();
    RegisterSetupClasses(ClassRegistry::Global());
    app.SetTitle(kSetupTitle);
    if (const std::optional<std::string> form = FormOverridePath())
      app.CreateForm(RegisterFormOverride(*form, ClassRegistry::Global()));
    else
      app.CreateForm<TfmMain>();
    app.Run();
    code = ExitCodeOf(InstallOutcome());
  } catch (...) {
    // Construction or Loaded failed (or the backend could not be opened):
    // the form is gone, and so is the installer's handler, so the default
    // display shows the error.
    app.HandleException(nullptr);
    code = kExitFailed;
  }

  // Destroying the form destroys the installer, which starts its pending
  // clean-up at that moment. The forms go first, while the process-wide
  // lists (reset before the application, having been registered after
  // it) still know every container, so each file leaves its group.
  app.DestroyComponents();
  try {
    ProcessState::ResetAll();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  return code;
}
