// pellmore-pack: what it lists for the demo installation, and what it
// refuses to pack, each refusal naming its cause on the error output with
// exit code 1.
#include <gmock/gmock.h>

#include "InstallRunFixture.h"

namespace e2e {
namespace {

using ::testing::HasSubstr;

TEST_F(InstallRun, PackListsEveryEngineFileOnce) {
  const Distribution& d = DemoDistribution();
  ASSERT_EQ(d.engine.size(), 31u);
  // The engine's files and the kit's uninstall program.
  EXPECT_THAT(d.packOutput, HasSubstr("32 files packed into C:\\Build\\files.1"));
  EXPECT_THAT(d.packOutput, HasSubstr("C:\\Pellmore\\uninstall.exe"));
  for (const sample_engine::EngineFile& f : d.engine)
    EXPECT_THAT(d.packOutput, HasSubstr("C:\\Authoring\\Engine82\\" + f.name)) << f.name;
}

TEST_F(InstallRun, PackRefusesWhatItCannotPack) {
  const Distribution& d = DemoDistribution();
  const std::string authoring = d.authoring.MachineDir();
  std::string missingSource = DemoFormText();
  const std::string name = "FileName = 'QDMGR.EXE'";
  missingSource.replace(missingSource.find(name), name.size(), "FileName = 'QDMGR2.EXE'");
  struct Case {
    const char* what;
    std::string form;
    std::string message;
  };
  const Case cases[] = {
      {"a missing source", missingSource, "C:\\Authoring\\Engine82\\QDMGR2.EXE"},
      {"no installer", "object fmMain: TfmMain\nend\n", "holds no installer"},
      {"not a form", "object Install1: TInstall\nend\n",
       "TInstall, which is not a registered form class"},
      {"a syntax error", "object fmMain: TfmMain\n  Caption = [\nend\n", "pack.dfm, line 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string form = WriteForm("pack.dfm", c.form);
    std::string errors;
    EXPECT_EQ(RunChild(PELLMORE_PACK_EXE, {authoring, form, "C:\\Refused"}, {}, dir_, &errors), 1);
    EXPECT_THAT(errors, HasSubstr(c.message));
  }
  EXPECT_EQ(RunChild(PELLMORE_PACK_EXE, {authoring}, {}, dir_), 2);  // usage
}

}  // namespace
}  // namespace e2e
