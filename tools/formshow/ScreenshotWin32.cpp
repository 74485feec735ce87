// Screenshots of real windows (see Screenshot.h).
#include "Screenshot.h"

#include "framework/Exception.h"
#include "framework/Forms.h"
#include "platform/win32/widgetset/Win32Capture.h"
#include "platform/win32/widgetset/Win32Widgetset.h"

void SaveScreenshot(TCustomForm& form, const std::string& png, int scale) {
  void* window = platform::win32::Win32Widgetset::HandleOf(form);
  if (!window)
    throw Exception("--screenshot needs real windows: the form " + form.Name() +
                    " has none (PELLMORE_UI=headless?)");
  platform::win32::WritePng(platform::win32::Shrink(platform::win32::CaptureWindow(window), scale),
                            png);
}
