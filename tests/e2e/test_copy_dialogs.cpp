// The demo installation's progress windows end to end: the status window
// while file information is read, the copy window with both bars, and a
// cancel from the copy window at several moments of the copy, confirmed or
// declined through the installer's OnUserAbort (a Yes/No question).
#include <gmock/gmock.h>

#include <map>
#include <regex>

#include "InstallRunFixture.h"
#include "platform/FileSystem.h"

namespace e2e {
namespace {

using ::testing::HasSubstr;

const char* const kSource = "-sC:\\SETUP";
const char* const kConfirm = "Do you want to cancel the setup?";

// The value a control shows in a "form" record of the copy window.
std::string Shown(const std::string& record, const std::string& control) {
  const std::regex text("\"name\":\"" + control + "\",\"text\":\"([^\"]*)\"");
  const std::regex position("\"name\":\"" + control + "\",\"position\":(\\d+)");
  std::smatch m;
  if (std::regex_search(record, m, text) || std::regex_search(record, m, position)) return m[1];
  return {};
}

std::vector<std::string> CopyRecords(const Outcome& o) {
  std::vector<std::string> records;
  for (const std::string& line : o.transcript)
    if (line.find("\"event\":\"form\",\"form\":\"CopyFileForm\"") != std::string::npos)
      records.push_back(line);
  return records;
}

TEST_F(InstallRun, StatusAndCopyWindowsShowTheRunAndBothBarsReachTheEnd) {
  const Outcome o = Run({kSource});
  ASSERT_EQ(o.code, 0) << o.Dump();
  EXPECT_TRUE(o.Has("form", "\"text\":\"Reading file information...\"")) << o.Dump();

  const std::vector<std::string> copy = CopyRecords(o);
  ASSERT_GT(copy.size(), 31u) << "one record per visible change of the copy window";
  EXPECT_THAT(copy.front(), HasSubstr("\"caption\":\"Copying installation files\""));
  // The total bar only rises; the file bar restarts with each file and
  // every file is shown complete.
  int total = 0;
  std::map<std::string, int> fileEnd;
  for (const std::string& r : copy) {
    const int now = std::stoi(Shown(r, "ProgressBar2"));
    EXPECT_GE(now, total) << r;
    total = now;
    fileEnd[Shown(r, "lblCopyingFile")] = std::stoi(Shown(r, "ProgressBar1"));
  }
  EXPECT_EQ(total, 100);
  fileEnd.erase(".....");  // the window's text before the first file
  // The engine's files and the kit's uninstall program.
  EXPECT_EQ(fileEnd.size(), DemoDistribution().engine.size() + 1);
  for (const auto& [name, percent] : fileEnd) EXPECT_EQ(percent, 100) << name;
}

struct CancelCase {
  const char* name;
  std::string await;  // the moment the user presses Cancel
  bool confirm;
};

class CancelFromCopyWindow : public InstallRun, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelFromCopyWindow, AsksTheInstallerAndStopsOnlyWhenConfirmed) {
  const CancelCase& c = GetParam();
  // An older engine is on the machine, and a file of the user's beside it.
  const std::string engine(kEngineDir);
  std::map<std::string, std::string> before;
  for (const sample_engine::EngineFile& f : sample_engine::BuildEngine(sample_engine::Release::v75))
    before[engine + "\\" + f.name] = std::string(f.bytes.begin(), f.bytes.end());
  before[engine + "\\notes.txt"] = "the user's own notes";
  for (const auto& [path, bytes] : before) PutFile(path, bytes);

  const Outcome o =
      Run({kSource}, {}, c.await + "\npress Cancel\nanswer " + (c.confirm ? "Yes" : "No") + "\n");
  EXPECT_TRUE(o.Has("await", "\"form\":\"CopyFileForm\"")) << o.Dump();
  EXPECT_TRUE(o.Has("message", kConfirm)) << o.Dump();
  EXPECT_EQ(o.Count("message"), 1) << o.Dump();
  EXPECT_EQ(o.Count("unused"), 0) << o.Dump();

  std::map<std::string, std::string> installed;
  for (const sample_engine::EngineFile& f : DemoDistribution().engine)
    installed[engine + "\\" + f.name] = std::string(f.bytes.begin(), f.bytes.end());
  if (!c.confirm) {
    EXPECT_EQ(o.code, 0) << o.Dump();
    EXPECT_TRUE(EngineFilesNotInstalled().empty());
    return;
  }
  EXPECT_EQ(o.code, 2) << o.Dump();
  EXPECT_FALSE(KeyExists("\\SOFTWARE\\Pellmore")) << "a cancelled run leaves nothing to resume";
  // Every file is either what was there before or the complete new one;
  // nothing half-written, no temporary file beside them.
  auto machine = Open();
  int entries = 0;
  for (const auto& e : machine->files().FindFiles(engine + "\\*")) {
    if (e.name == "." || e.name == "..") continue;
    ++entries;
    const std::string path = engine + "\\" + e.name;
    const std::string now = ReadFile(path);
    const bool old = before.count(path) && before[path] == now;
    const bool fresh = installed.count(path) && installed[path] == now;
    EXPECT_TRUE(old || fresh) << path << " is neither the old nor the new file";
  }
  EXPECT_EQ(ReadFile(engine + "\\notes.txt"), "the user's own notes");
  std::map<std::string, int> names;
  for (const auto& [path, bytes] : before) names[path] = 1;
  for (const auto& [path, bytes] : installed) names[path] = 1;
  EXPECT_LE(entries, static_cast<int>(names.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Moments, CancelFromCopyWindow,
    ::testing::Values(CancelCase{"AtTheStartConfirmed", "await ProgressBar2 1", true},
                      CancelCase{"HalfwayConfirmed", "await ProgressBar2 50", true},
                      CancelCase{"AtTheLastFileConfirmed", "await lblCopyingFile SRVLNK32.CNT",
                                 true},
                      CancelCase{"HalfwayDeclined", "await ProgressBar2 50", false}),
    [](const ::testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
