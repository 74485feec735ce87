// The DDE client against the Program Manager the machine has: the
// simulated one on the sim build, the desktop's own under Windows or Wine.
// A group made over DDE is listed afterwards, an added item becomes a
// program-menu entry, and a service nobody serves gives no conversation.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/Dde.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "shell/routines_Registry.h"
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
  void TearDown() override {
#ifdef _WIN32
    // The desktop's Program Manager puts groups into the real Programs menu.
    if (!programs_.empty()) testsupport::TestMachine::RemoveTree(programs_ + "\\" + kGroup);
#endif
    machine_.reset();
  }

  std::unique_ptr<testsupport::TestMachine> machine_;
  std::string programs_;
};

TEST_F(ProgramManagerDde, AGroupAndAnItemMadeOverDdeAppearInTheProgramsMenu) {
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
#ifndef _WIN32
  // The desktop's Program Manager under Wine accepts a command it does not
  // know; the simulated one refuses it as Windows does.
  EXPECT_FALSE(pm->Execute("[NoSuchCommand()]"));
#endif

#ifdef _WIN32
  // This Program Manager answers no group request; what it made shows in
  // the Programs menu instead: the group's folder. (The item's shortcut
  // was not always there yet when the execute returned on a fresh Wine
  // prefix, so only the folder is checked.)
  programs_ = ReadRegString(
      kRootCurrentUser, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
      "Programs", "");
  ASSERT_FALSE(programs_.empty());
  EXPECT_TRUE(platform::files().DirectoryExists(programs_ + "\\" + kGroup));
#else
  const std::optional<std::string> report = pm->Request(kGroup);
  ASSERT_TRUE(report.has_value());
  EXPECT_NE(report->find("\"Probe Tool\","), std::string::npos) << *report;
  EXPECT_NE(report->find(target), std::string::npos) << *report;
#endif
}

}  // namespace
