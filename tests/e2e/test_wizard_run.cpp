// The wizard sample end to end: the setup with samples/install-wizard.dfm,
// whose pages before installing are answered by the sample's own UI script
// (Back and Next through every page, the Custom setup type with another
// destination, the administrator tool left out, a program folder of the
// user's), and the same sample answered by default buttons only.
#include <gmock/gmock.h>

#include <regex>
#include <set>

#include "InstallRunFixture.h"
#include "support/TempDir.h"

namespace e2e {
namespace {

const char* const kSource = "-sC:\\SETUP";
// What the administrator tool group holds.
const std::set<std::string> kManagerFiles = {"QDMGR.EXE", "QDMGR.HLP", "QDMGR.CNT", "QDMGR.CPL"};

// The captions of the page frame as it showed, a caption repeated only
// when another page came between.
std::vector<std::string> PagesShown(const Outcome& o) {
  static const std::regex frame(
      "\"event\":\"form\",\"form\":\"BaseFormContainer\",.*?\"caption\":\"([^\"]*)\"");
  std::vector<std::string> pages;
  for (const std::string& line : o.transcript) {
    std::smatch m;
    if (std::regex_search(line, m, frame) && (pages.empty() || pages.back() != m[1]))
      pages.push_back(m[1]);
  }
  return pages;
}

// The bytes the drive table requires on drive C at each showing of the
// file group page.
std::vector<int64_t> RequiredOnC(const Outcome& o) {
  static const std::regex row("\\[\"C\",\"([0-9,]+) Bytes\"");
  std::vector<int64_t> required;
  for (const std::string& line : o.transcript) {
    if (line.find("\"caption\":\"Select components to install\"") == std::string::npos) continue;
    std::smatch m;
    if (!std::regex_search(line, m, row)) continue;
    std::string digits = m[1];
    std::erase(digits, ',');
    required.push_back(std::stoll(digits));
  }
  return required;
}

int64_t ManagerBytes() {
  int64_t total = 0;
  for (const sample_engine::EngineFile& f : DemoDistribution().engine)
    if (kManagerFiles.count(f.name)) total += static_cast<int64_t>(f.bytes.size());
  return total;
}

TEST_F(InstallRun, WizardSampleScriptedUserChoosesEveryPageAndGetsWhatTheyChose) {
  const Outcome o =
      Run({kSource}, PELLMORE_WIZARD_FORM, testsupport::ReadHostFile(PELLMORE_WIZARD_SCRIPT));
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_EQ(o.Count("unused"), 0) << o.Dump();

  EXPECT_THAT(PagesShown(o),
              ::testing::ElementsAre("Welcome", "Software license agreement", "Readme information",
                                     "Software license agreement", "Readme information",
                                     "Setup type", "Select components to install",
                                     "Select folder in start menu", "Setup complete"));

  // The user's destination and groups: the engine and its locale files in
  // C:\Quenby\Engine, the administrator tool nowhere.
  for (const sample_engine::EngineFile& f : DemoDistribution().engine) {
    const bool manager = kManagerFiles.count(f.name) > 0;
    EXPECT_EQ(FileExists("C:\\Quenby\\Engine\\" + f.name), !manager) << f.name;
    EXPECT_FALSE(FileExists("C:\\Quenby\\Manager\\" + f.name)) << f.name;
  }
  EXPECT_FALSE(FileExists(std::string(kEngineDir) + "\\QDENG32.DLL"));

  // Unticking the group took exactly its files' bytes off the drive table.
  const std::vector<int64_t> required = RequiredOnC(o);
  ASSERT_GE(required.size(), 2u) << o.Dump();
  EXPECT_EQ(required.front() - required.back(), ManagerBytes());

  // The program folder the user typed went into the main link group at once.
  EXPECT_TRUE(o.Has("type", "\"control\":\"FolderEdit\",\"text\":\"Quenby Tools\"")) << o.Dump();
}

TEST_F(InstallRun, WizardSampleByDefaultButtonsInstallsTheTypicalSetupWithoutTheGroupPage) {
  // No script: every page's default button (Next, then Finish).
  const Outcome o = Run({kSource}, PELLMORE_WIZARD_FORM);
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_THAT(PagesShown(o), ::testing::ElementsAre(
                                 "Welcome", "Software license agreement", "Readme information",
                                 "Setup type", "Select folder in start menu", "Setup complete"));
  for (const sample_engine::EngineFile& f : DemoDistribution().engine) {
    const std::string dir = kManagerFiles.count(f.name) ? "C:\\Program Files\\Quenby\\Manager\\"
                                                        : std::string(kEngineDir) + "\\";
    EXPECT_TRUE(FileExists(dir + f.name)) << dir << f.name;
  }
}

}  // namespace
}  // namespace e2e
