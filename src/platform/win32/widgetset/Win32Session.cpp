// The session's widgetset on Windows: real windows unless PELLMORE_UI asks
// for the headless one.
#include <cstdio>

#include "platform/HostAccess.h"
#include "platform/headless/HeadlessSession.h"
#include "platform/win32/widgetset/Win32Widgetset.h"

namespace platform::headless {

std::unique_ptr<Widgetset> CreateSessionWidgetset(UserOptions user) {
  if (ChosenWidgetset({"win32", "headless"}) == "headless") return CreateHeadless(std::move(user));
  auto ws = std::make_unique<win32::Win32Widgetset>(std::move(user));
  // PELLMORE_UI_TIMING=1: how long the program took to show its first
  // window, fully painted, on the error output.
  if (HostEnvironment("PELLMORE_UI_TIMING").value_or("") == "1")
    ws->ReportFirstPaint([](long long ms) {
      std::fprintf(stderr, "first window painted %lld ms after the start\n", ms);
    });
  return ws;
}

}  // namespace platform::headless
