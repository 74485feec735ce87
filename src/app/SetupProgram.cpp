// The setup program's entry: the headless widgetset from the environment,
// the platform's default backend (on the simulated machine the one named
// by PELLMORE_MACHINE) with this process's arguments, the ordered class
// registration, the application title, the main form streamed from its
// description, the run loop, and the exit code of ExitCodes.h.
#include <cstdio>
#include <exception>

#include "app/ExitCodes.h"
#include "app/Main.h"
#include "app/SetupRegistration.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/ProcessState.h"
#include "framework/WidgetsetSlot.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "platform/headless/HeadlessSession.h"

int main(int argc, char** argv) {
  try {
    InstallWidgetset(platform::headless::CreateHeadlessFromEnvironment());
  } catch (const std::exception& e) {
    // Without a widgetset the error output is the only display left.
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }

  int code = kExitFailed;
  TApplication& app = Application();
  try {
    platform::system().UseHostArguments(argc, argv);
    RegisterSetupClasses(ClassRegistry::Global());
    app.SetTitle(kSetupTitle);
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
  // clean-up at that moment.
  try {
    ProcessState::ResetAll();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  return code;
}
