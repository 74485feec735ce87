// The DDE client against the simulated Program Manager: a group made over
// DDE is listed afterwards, an added item shows in the group's report, an
// unknown command is refused, and a service nobody serves gives no
// conversation. Not run under Wine: its Program Manager opens a desktop
// window for every group it creates or shows, and those windows stay on
// the shared display for the rest of the Windows suites (what Wine's
// Program Manager does is written down in docs/architecture.md).
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/Dde.h"
#include "platform/Platform.h"
#include "support/TestMachine.h"

namespace {

constexpr const char* kGroup = "Pellmore DDE Check";

bool HasLine(const std::string& text, const std::string& line) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string got = text.substr(start, end - start);
    if (!got.empty() && got.back() == '\r') got.pop_back();
    if (got == line) return true;
    start = end + 1;
  }
  return false;
}

class ProgramManagerDde : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_ =
        std::make_unique<testsupport::TestMachine>(testsupport::ScratchNamed("pellmore-dde"));
  }
  void TearDown() override { machine_.reset(); }

  std::unique_ptr<testsupport::TestMachine> machine_;
};

TEST_F(ProgramManagerDde, AGroupAndAnItemMadeOverDdeAreListedByTheProgramManager) {
  std::unique_ptr<platform::DdeConversation> pm = platform::dde().Connect("PROGMAN", "PROGMAN");
  ASSERT_NE(pm, nullptr) << "no Program Manager answers";
  EXPECT_EQ(platform::dde().Connect("PELLMORE-NOBODY", "NOBODY"), nullptr);

  ASSERT_TRUE(pm->Execute(std::string("[CreateGroup(\"") + kGroup + "\")]"));
  const std::optional<std::string> groups = pm->Request("Groups");
  ASSERT_TRUE(groups.has_value());
  EXPECT_TRUE(HasLine(*groups, kGroup)) << *groups;

  const std::string target = machine_->At("Tool.exe");
  testsupport::TestMachine::WriteFile(target, "MZ");
  ASSERT_TRUE(pm->Execute(std::string("[ShowGroup(") + kGroup + ",8)]"));
  ASSERT_TRUE(pm->Execute("[AddItem(\"" + target + "\" ,Probe Tool,,0,,,\"" + machine_->Scratch() +
                          "\",)]"));
  // Refused as Windows' own Program Manager does (Wine's accepts it).
  EXPECT_FALSE(pm->Execute("[NoSuchCommand()]"));

  const std::optional<std::string> report = pm->Request(kGroup);
  ASSERT_TRUE(report.has_value());
  EXPECT_NE(report->find("\"Probe Tool\","), std::string::npos) << *report;
  EXPECT_NE(report->find(target), std::string::npos) << *report;
}

}  // namespace
