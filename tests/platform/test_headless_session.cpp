// The headless widgetset set up from files, as programs and tools create
// it: the script read, the transcript appended line by line, errors for a
// script that is missing or broken.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/Application.h"
#include "framework/WidgetsetSlot.h"
#include "platform/headless/HeadlessSession.h"
#include "support/Fixture.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using platform::headless::CreateHeadless;
using platform::headless::EUIScriptError;

class HeadlessSessionTest : public PellmoreTest {
 protected:
  ~HeadlessSessionTest() override { InstallWidgetset(nullptr); }
  std::string Write(const char* name, const std::string& text) { return temp.Write(name, text); }
  static std::string Read(const std::string& path) { return testsupport::ReadHostFile(path); }
  testsupport::TempDir temp{"pellmore-headless"};
  const fs::path dir = temp.Path();
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
    EXPECT_EQ(e.Message(), "Cannot read the UI script " + missing +
                               ": the file cannot be opened (No such file or directory)");
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

// Scripts that are not plain UTF-8 text files of sensible size: each is
// refused with the file named and the reason (reading stops at the
// limit, so a device that never ends is no hazard), or read as a script.
TEST_F(HeadlessSessionTest, ScriptsThatAreEmptyEndlessOrNotUtf8) {
  const std::string fifo = (dir / "fifo.ui").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    const char* what;
    std::string path;
    const char* error;   // after "Cannot read the UI script <path>" or "<path>"; null: reads
    int answer = IDYES;  // the answer "Reboot now?" gets
  };
  const std::string utf16 =
      std::string("\xFF\xFE") + std::string("a\0n\0s\0w\0e\0r\0 \0N\0o\0", 18);
  const Case cases[] = {
      {"endless device", "/dev/zero",
       ": the file is larger than the limit of 16 MiB (16777216 bytes)"},
      {"a directory", dir.string(), ": the path names a directory"},
      {"a FIFO nobody writes to", fifo, nullptr},
      {"empty file", Write("empty.ui", ""), nullptr},
      {"blanks only", Write("blank.ui", "\r\n  \n"), nullptr},
      {"UTF-8 mark",
       Write("bom.ui",
             "\xEF\xBB\xBF"
             "answer No\n"),
       nullptr, IDNO},
      {"UTF-8 mark on an empty script", Write("bomonly.ui", "\xEF\xBB\xBF"), nullptr},
      {"UTF-16LE", Write("utf16.ui", utf16), ": UTF-16 is not supported: save the script as UTF-8"},
      {"UTF-16BE without mark", Write("utf16be.ui", std::string("\0a\0n\0s", 6)),
       ": UTF-16 is not supported: save the script as UTF-8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      InstallWidgetset(CreateHeadless(c.path, ""));
      EXPECT_EQ(c.error, nullptr) << "accepted";
      EXPECT_EQ(Application().MessageBox("Reboot now?", "Setup", MB_YESNO), c.answer);
      InstallWidgetset(nullptr);
    } catch (const EUIScriptError& e) {
      ASSERT_NE(c.error, nullptr) << e.Message();
      const std::string prefix = std::string(c.error).starts_with(": UTF-16")
                                     ? c.path
                                     : "Cannot read the UI script " + c.path;
      EXPECT_EQ(e.Message(), prefix + c.error);
    }
  }
}

}  // namespace
