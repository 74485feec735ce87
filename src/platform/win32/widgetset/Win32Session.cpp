// The session's widgetset on Windows: real windows unless PELLMORE_UI asks
// for the headless one.
#include "platform/headless/HeadlessSession.h"
#include "platform/win32/widgetset/Win32Widgetset.h"

namespace platform::headless {

std::unique_ptr<Widgetset> CreateSessionWidgetset(UserOptions user) {
  if (ChosenWidgetset({"win32", "headless"}) == "headless") return CreateHeadless(std::move(user));
  return win32::CreateWin32Widgetset(std::move(user));
}

}  // namespace platform::headless
