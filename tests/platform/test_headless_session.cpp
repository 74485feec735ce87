// The headless widgetset set up from files, as programs and tools create
// it: the script read, the transcript appended line by line, errors for a
// script that is missing or broken.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/Application.h"
#include "framework/WidgetsetSlot.h"
#include "platform/headless/HeadlessSession.h"
#include "support/Fixture.h"

namespace {

namespace fs = std::filesystem;
using platform::headless::CreateHeadless;
using platform::headless::EUIScriptError;

class HeadlessSessionTest : public PellmoreTest {
 protected:
  HeadlessSessionTest() {
    dir =
        fs::temp_directory_path() /
        ("pellmore-headless-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~HeadlessSessionTest() override {
    InstallWidgetset(nullptr);
    fs::remove_all(dir);
  }
  std::string Write(const char* name, const std::string& text) {
    const fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path dir;
};

TEST_F(HeadlessSessionTest, ScriptAndTranscriptFiles) {
  const std::string script = Write("setup.ui", "answer No\r\nanswer Yes\r\n");
  const std::string log = Write("setup.log", "{\"event\":\"earlier run\"}\n");
  InstallWidgetset(CreateHeadless(script, log));
  EXPECT_EQ(Application().MessageBox("Reboot now?", "Setup", MB_YESNO), IDNO);
  InstallWidgetset(nullptr);
  EXPECT_EQ(
      Read(log),
      "{\"event\":\"earlier run\"}\n"
      "{\"event\":\"message\",\"caption\":\"Setup\",\"text\":\"Reboot now?\",\"buttons\":[\"Yes\","
      "\"No\"],\"answer\":\"No\",\"by\":\"script\",\"line\":1}\n"
      "{\"event\":\"unused\",\"line\":2,\"step\":\"answer Yes\"}\n");
}

TEST_F(HeadlessSessionTest, AMissingOrBrokenScriptIsAnError) {
  const std::string missing = (dir / "none.ui").string();
  try {
    CreateHeadless(missing, "");
    ADD_FAILURE() << "no error";
  } catch (const EUIScriptError& e) {
    EXPECT_EQ(e.Message(), "Cannot read the UI script " + missing);
  }
  const std::string broken = Write("broken.ui", "press OK\nwave\n");
  try {
    CreateHeadless(broken, "");
    ADD_FAILURE() << "no error";
  } catch (const EUIScriptError& e) {
    EXPECT_EQ(e.Message(), broken + ", line 2: unknown command \"wave\"");
  }
  EXPECT_THROW(CreateHeadless("", (dir / "no" / "such" / "dir.log").string()), Exception);
}

}  // namespace
