// The session's widgetset on the simulated build: headless is its only one.
// (The Windows build defines CreateSessionWidgetset with the real windows.)
#include "platform/headless/HeadlessSession.h"

namespace platform::headless {

std::unique_ptr<Widgetset> CreateSessionWidgetset(UserOptions user) {
  ChosenWidgetset({"headless"});
  return CreateHeadless(std::move(user));
}

}  // namespace platform::headless
