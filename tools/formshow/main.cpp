// pellmore-formshow: shows a form description in the session's widgetset
// (headless; real windows on Windows unless PELLMORE_UI=headless) and
// writes the transcript of what a user (the UI script, the default
// buttons, or a person at the real windows) saw and did.
//
//   pellmore-formshow [--run] [--script FILE] [--log FILE] FILE.dfm
//   pellmore-formshow --screenshot FILE.png [--scale N] FILE.dfm
//
// The description's root class must be a registered form class (TForm).
// By default the form is shown modally and the tool prints its modal
// result last; --run makes it the main form of an application run
// instead. Without --log the transcript goes to standard output. The
// environment's PELLMORE_UI_SCRIPT and PELLMORE_UI_LOG apply unless the
// options name other files. --screenshot shows the form, lets it paint,
// writes what its real window shows (frame included, shrunk N times) as a
// PNG file and ends.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "Screenshot.h"
#include "decor/DecorRegistration.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/FormParser.h"
#include "framework/WidgetsetSlot.h"
#include "platform/HostAccess.h"
#include "platform/headless/HeadlessSession.h"

namespace {
int Usage() {
  std::cerr << "usage: pellmore-formshow [--run] [--script FILE] [--log FILE] FILE.dfm\n"
               "       pellmore-formshow --screenshot FILE.png [--scale N] FILE.dfm\n";
  return 2;
}

std::string Env(const char* name) {
  return platform::HostEnvironment(name).value_or("");
}
}  // namespace

int main(int argc, char** argv) {
  bool run = false;
  std::string script = Env("PELLMORE_UI_SCRIPT");
  std::string log = Env("PELLMORE_UI_LOG");
  std::string file;
  std::string screenshot;
  int scale = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--run") {
      run = true;
    } else if (a == "--screenshot" && i + 1 < argc) {
      screenshot = argv[++i];
    } else if (a == "--scale" && i + 1 < argc) {
      scale = std::atoi(argv[++i]);
      if (scale < 1 || scale > 16) return Usage();
    } else if (a == "--script" && i + 1 < argc) {
      script = argv[++i];
    } else if (a == "--log" && i + 1 < argc) {
      log = argv[++i];
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      return Usage();
    }
  }
  if (file.empty()) return Usage();
  try {
    std::string text;
    try {
      text = platform::ReadHostFile(file, kMaxFormDescriptionBytes);
    } catch (const platform::EHostFileError& e) {
      throw Exception("Cannot read " + file + ": " + e.Message());
    }
    const std::string name = std::filesystem::path(file).filename().string();

    ClassRegistry& registry = ClassRegistry::Global();
    RegisterControls(registry);
    RegisterDecorClasses(registry);
    const FormObject root = ParseFormDescription(text, name);
    registry.RegisterDescription(root.className, name, text);

    platform::headless::UserOptions user = platform::headless::UserFromFiles(script, log);
    if (!script.empty()) user.scriptName = std::filesystem::path(script).filename().string();
    if (log.empty()) user.transcript = [](std::string_view line) { std::cout << line << '\n'; };
    InstallWidgetset(platform::headless::CreateSessionWidgetset(std::move(user)));

    TApplication& app = Application();
    app.SetTitle("pellmore-formshow");
    TCustomForm* form = app.CreateForm(root.className);
    if (!screenshot.empty()) {
      form->Show();
      app.ProcessMessages();
      SaveScreenshot(*form, screenshot, scale);
      std::cout << "screenshot: " << screenshot << '\n';
    } else if (run) {
      app.Run();
      std::cout << "run ended\n";
    } else {
      const TModalResult result = form->ShowModal();
      std::cout << "result: " << ModalResultName(result) << '\n';
    }
    InstallWidgetset(nullptr);  // records unused script steps
    return 0;
  } catch (const Exception& e) {
    std::cerr << "pellmore-formshow: " << e.Message() << '\n';
    InstallWidgetset(nullptr);
    return 1;
  }
}
