// pellmore_formshot: opens a form description in real windows and writes
// what they show as a PNG file, for the screenshot gallery.
//
//   pellmore_formshot [--scale N] --screenshot FILE.png FORM.dfm
//
// The arguments are those of pellmore-formshow's screenshot option, so
// scripts/screenshots can use either. The kit's classes are registered as
// the setup program registers them. --scale N shrinks the picture N times
// (averaging N x N pixels), for a gallery that stays small. A form whose
// components read the process's command line as the setup program's own
// (the installer) refuses these arguments: such forms are shown without
// those components.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/SetupRegistration.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/FormParser.h"
#include "framework/Forms.h"
#include "framework/WidgetsetSlot.h"
#include "platform/HostAccess.h"
#include "platform/win32/widgetset/Win32Capture.h"
#include "platform/win32/widgetset/Win32Widgetset.h"

namespace {

using platform::win32::Image;

Image Shrink(const Image& in, int n) {
  if (n <= 1) return in;
  Image out{in.width / n, in.height / n, {}};
  out.rgb.reserve(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      unsigned r = 0, g = 0, b = 0;
      for (int dy = 0; dy < n; ++dy)
        for (int dx = 0; dx < n; ++dx) {
          const uint32_t v = in.At(x * n + dx, y * n + dy);
          r += (v >> 16) & 0xFF;
          g += (v >> 8) & 0xFF;
          b += v & 0xFF;
        }
      const unsigned k = static_cast<unsigned>(n * n);
      out.rgb.push_back((r / k) << 16 | (g / k) << 8 | (b / k));
    }
  return out;
}

int Usage() {
  std::fprintf(stderr, "usage: pellmore_formshot [--scale N] --screenshot FILE.png FORM.dfm\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string png, file;
  int scale = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--screenshot" && i + 1 < argc)
      png = argv[++i];
    else if (a == "--scale" && i + 1 < argc)
      scale = std::atoi(argv[++i]);
    else if (!a.empty() && a[0] != '-' && file.empty())
      file = a;
    else
      return Usage();
  }
  if (png.empty() || file.empty() || scale < 1) return Usage();
  try {
    InstallWidgetset(std::make_unique<platform::win32::Win32Widgetset>());
    ClassRegistry& registry = ClassRegistry::Global();
    RegisterSetupClasses(registry);
    const std::string text = platform::ReadHostFile(file, kMaxFormDescriptionBytes);
    const std::string name = std::filesystem::path(file).filename().string();
    const FormObject root = ParseFormDescription(text, name);
    registry.RegisterDescription(root.className, name, text);
    TCustomForm* form = Application().CreateForm(root.className);
    form->Show();
    CurrentWidgetset().ProcessMessages();
    platform::win32::WritePng(
        Shrink(platform::win32::CaptureWindow(platform::win32::Win32Widgetset::HandleOf(*form)),
               scale),
        png);
  } catch (const Exception& e) {
    std::fprintf(stderr, "pellmore_formshot: %s\n", e.Message().c_str());
    InstallWidgetset(nullptr);
    return 1;
  }
  Application().DestroyComponents();
  InstallWidgetset(nullptr);
  return 0;
}
