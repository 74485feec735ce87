// setup -b end to end: the real setup program builds the demo and the
// built-in engine setup on a simulated authoring machine (the kit with its
// loading program, BUILD.INF beside the program), twice with the same
// bytes; the built "files.1" then installs headless on a fresh machine.
#include <gmock/gmock.h>

#include "InstallRunFixture.h"
#include "archive/ExtractionTrailer.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class BuildMode : public InstallRun {
 protected:
  struct Built {
    std::string exe, setup1, files1;
  };
  Built ReadBuilt() const {
    return {ReadFile("C:\\Build\\setup.exe"), ReadFile("C:\\Build\\setup.1"),
            ReadFile("C:\\Build\\files.1")};
  }
};

TEST_F(BuildMode, BuildsTheSelfExtractingSetupTwiceAlikeAndItsArchiveInstalls) {
  MakeAuthoringMachine();
  const std::string loader = ReadFile("C:\\Pellmore\\PellmoreLoadProgram.exe");
  struct Case {
    const char* what;
    std::string form;
  };
  const Case cases[] = {{"the built-in engine setup", ""}, {"the demo", PELLMORE_DEMO_FORM}};
  Built demo;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Outcome first = Build(c.form);
    ASSERT_EQ(first.code, 0) << first.errors << first.Dump();
    EXPECT_EQ(first.Count("message"), 0) << first.Dump();
    const Built b = ReadBuilt();
    EXPECT_FALSE(FileExists("C:\\Build\\setup.exe.tmp"));

    // setup.exe: the loader, setup.1, files.1 and the trailer saying so.
    ASSERT_EQ(b.exe.size(), loader.size() + b.setup1.size() + b.files1.size() + 56);
    EXPECT_EQ(b.exe.substr(0, b.exe.size() - 56), loader + b.setup1 + b.files1);
    extraction_trailer::Bytes trailer{};
    std::copy(b.exe.end() - 56, b.exe.end(), trailer.begin());
    const auto o = extraction_trailer::Decode(trailer);
    EXPECT_EQ(o.setupStart, loader.size());
    EXPECT_EQ(o.filesStart, loader.size() + b.setup1.size());
    EXPECT_EQ(o.filesEnd + 1, b.exe.size() - 56);
    EXPECT_FALSE(extraction_trailer::Implausible(o, b.exe.size()));

    // The same form from the same files: the same bytes.
    const Outcome again = Build(c.form);
    ASSERT_EQ(again.code, 0) << again.errors;
    const Built b2 = ReadBuilt();
    EXPECT_TRUE(b2.exe == b.exe && b2.setup1 == b.setup1 && b2.files1 == b.files1);
    demo = b;
  }

  // The demo's files.1 installs on a fresh machine.
  FreshTarget();
  PutFile(std::string(kSetupDir) + "\\files.1", demo.files1);
  const Outcome installed = Run({"-sC:\\SETUP"});
  EXPECT_EQ(installed.code, 0) << installed.errors << installed.Dump();
  EXPECT_THAT(EngineFilesNotInstalled(), ::testing::IsEmpty());
}

TEST_F(BuildMode, AFailedBuildEndsWithItsMessageAndNoSetup) {
  MakeAuthoringMachine();
  std::string form = DemoFormText();
  const std::string name = "FileName = 'QDMGR.EXE'";
  form.replace(form.find(name), name.size(), "FileName = 'QDMGR2.EXE'");
  const Outcome o = Build(WriteForm("missing.dfm", form));
  EXPECT_EQ(o.code, 1);
  EXPECT_TRUE(o.Has("message", "C:\\\\Authoring\\\\Engine82\\\\QDMGR2.EXE")) << o.Dump();
  EXPECT_FALSE(FileExists("C:\\Build\\setup.exe"));
  EXPECT_FALSE(FileExists("C:\\Build\\setup.exe.tmp"));
}

}  // namespace
}  // namespace e2e
