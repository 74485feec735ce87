// A modeless progress form on real windows under a UI script: the repaints
// of a busy loop are recorded from what the windows show, `await` clicks
// the real Cancel button at the moment the bar gets there (its handler's
// message box taking the next answer), and the transcript is the headless
// widgetset's, line for line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/ProgressScenario.h"
#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/WidgetsetSlot.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "platform/win32/widgetset/Win32Widgetset.h"
#include "support/Fixture.h"

namespace {

namespace ps = progress_scenario;

class Win32AwaitTest : public PellmoreTest {
 protected:
  Win32AwaitTest() { RegisterControls(ClassRegistry::Global()); }
  ~Win32AwaitTest() override { InstallWidgetset(nullptr); }

  // Runs the scenario on one widgetset and returns its transcript, the
  // steps never used included.
  std::vector<std::string> Transcript(bool realWindows, const std::string& script,
                                      const ps::Options& options, ps::Outcome& outcome) {
    std::vector<std::string> lines;
    platform::headless::HeadlessOptions o;
    o.script = script;
    o.scriptName = "copy.ui";
    o.transcript = [&lines](std::string_view line) { lines.emplace_back(line); };
    if (realWindows)
      InstallWidgetset(std::make_unique<platform::win32::Win32Widgetset>(o));
    else
      InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>(o));
    outcome = ps::Run(options);
    InstallWidgetset(nullptr);
    return lines;
  }
};

TEST_F(Win32AwaitTest, RealWindowsGiveTheHeadlessTranscript) {
  const struct {
    const char* name;
    const char* script;
    ps::Options options;
    int pressedAt, answer, records;
  } cases[] = {
      {"a confirmed cancel at half way",
       "await Bar 50\npress Cancel\nanswer Yes\n",
       {},
       50,
       IDYES,
       10},
      {"a declined cancel", "await Bar 50\npress Cancel\nanswer No\n", {}, 50, IDNO, 15},
      {"a box and a modal form while waiting",
       "await Bar 50\npress Cancel\nanswer Yes\n",
       {.boxAt = 20, .modalAt = 30},
       50,
       IDYES,
       14},
      {"never met", "await lblFile \"File 99.dat\"\npress Cancel\n", {}, -1, 0, 14},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ps::Outcome headless, windows;
    const std::vector<std::string> expected = Transcript(false, c.script, c.options, headless);
    const std::vector<std::string> got = Transcript(true, c.script, c.options, windows);
    EXPECT_EQ(windows.presses, c.pressedAt < 0 ? 0 : 1);
    EXPECT_EQ(windows.pressedAt, c.pressedAt);
    EXPECT_EQ(windows.answer, c.answer);
    EXPECT_EQ(windows.lastPosition, headless.lastPosition);
    EXPECT_EQ(expected.size(), static_cast<size_t>(c.records));
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << "line " << i + 1;
  }
}

}  // namespace
