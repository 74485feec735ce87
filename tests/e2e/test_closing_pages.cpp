// How a run of the demo installation ends, seen by its user: a clean run
// closes with the "Setup complete" page; a run that found an engine file
// held by another program asks on the reboot page, and the answer decides
// whether Windows is restarted. Either way a restart is still needed to
// finish, which the exit code says.
#include <gmock/gmock.h>

#include <map>
#include <string>

#include "InstallRunFixture.h"

namespace e2e {
namespace {

const char* const kSource = "-sC:\\SETUP";

TEST_F(InstallRun, TheRunEndsOnTheCompletionPageOrAsksOnTheRebootPage) {
  struct Case {
    const char* what;
    bool holdAFile;
    const char* script;
    int code;
    bool restartRequested;
    bool completionPage;
    const char* rebootPageOpensOn;  // "0" Yes, "1" No; null: no reboot page
  };
  const Case cases[] = {
      {"nothing held", false, "", 0, false, true, nullptr},
      {"a file held, the default answer", true, "", 3, true, false, "0"},
      {"a file held, No", true, "pick RG 1\npress Finish\n", 3, false, false, "0"},
      {"a file held, No then Yes", true,
       "pick RG \"No, I would not like to reboot windows\"\n"
       "pick RG \"Yes, I would like to reboot windows\"\npress Finish\n",
       3, true, false, "0"},
  };
  std::map<std::string, std::string> v75;
  for (const sample_engine::EngineFile& f : sample_engine::BuildEngine(sample_engine::Release::v75))
    v75[f.name] = std::string(f.bytes.begin(), f.bytes.end());
  const std::string held = std::string(kEngineDir) + "\\QDLOC32.DLL";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FreshTarget();
    if (c.holdAFile) {
      // An older copy, so the new one must replace it: it waits as a
      // numbered copy for the restart.
      PutFile(held, v75.at("QDLOC32.DLL"));
      Open()->Hold(held);
    }
    const Outcome o = Run({kSource}, {}, c.script);
    EXPECT_EQ(o.code, c.code) << o.Dump();
    EXPECT_EQ(o.Count("error"), 0) << o.Dump();
    EXPECT_FALSE(o.Has("unused", "")) << o.Dump();
    EXPECT_EQ(o.Has("form", "\"caption\":\"Setup complete\""), c.completionPage) << o.Dump();
    EXPECT_EQ(Open()->RestartRequested(), c.restartRequested);
    if (c.rebootPageOpensOn) {
      ASSERT_TRUE(o.Has("form", "\"caption\":\"Reboot windows\"")) << o.Dump();
      // It opens on the installer's answer: a file waits, so "Yes".
      EXPECT_TRUE(o.Has("form", std::string("\"index\":") + c.rebootPageOpensOn));
      EXPECT_EQ(ReadFile(held), v75.at("QDLOC32.DLL"));  // untouched until the restart
    } else {
      EXPECT_FALSE(o.Has("form", "\"caption\":\"Reboot windows\""));
      EXPECT_THAT(EngineFilesNotInstalled(), ::testing::IsEmpty());
    }
  }
}

}  // namespace
}  // namespace e2e
