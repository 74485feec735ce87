// Shortcut files, the same on both builds: a link written through the
// shell-link object reads back with what was set (Unicode texts included),
// a path of 260 UTF-16 units or more is refused with E_INVALIDARG and
// writes nothing, and reading what is no shortcut answers nothing.
#include <gtest/gtest.h>

#include "platform/ShellLinks.h"
#include "support/ContractMachine.h"

using namespace platform;

namespace {

using ShellLinksContract = ContractMachine;

constexpr int32_t kEInvalidArg = int32_t(0x80070057);

TEST_F(ShellLinksContract, AWrittenLinkReadsBackWithWhatWasSet) {
  ASSERT_TRUE(shellLinks().InitializeCom());
  Files().CreateDirectory(At("Prog"));
  WriteFile(At("Prog\\Tool.exe"), "MZ");
  struct Case {
    const char* name;
    std::string target, arguments, directory, description, icon;
    int32_t iconIndex;
    uint16_t hotKey;
  };
  const Case cases[] = {
      {"plain", At("Prog\\Tool.exe"), "/x \"a b\"", At("Prog"), "The tool", At("Prog\\Tool.exe"), 2,
       0x0654},
      {"only a target", At("Prog\\Tool.exe"), "", "", "", "", 0, 0},
      {"non-ASCII texts", At("Prog\\Tool.exe"), "\xE4\xB8\xAD\xE6\x96\x87", At("Prog"),
       "Gr\xC3\xBC\xC3\x9F"
       "e",
       "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string link = At(std::string(c.name) + ".lnk");
    auto object = shellLinks().Create();
    EXPECT_EQ(object->SetPath(c.target), 0);
    EXPECT_EQ(object->SetHotkey(c.hotKey), 0);
    EXPECT_EQ(object->SetArguments(c.arguments), 0);
    EXPECT_EQ(object->SetWorkingDirectory(c.directory), 0);
    if (!c.description.empty()) {
      EXPECT_EQ(object->SetDescription(c.description), 0);
    }
    if (!c.icon.empty()) {
      EXPECT_EQ(object->SetIconLocation(c.icon, c.iconIndex), 0);
    }
    ASSERT_EQ(object->Save(link), 0);
    auto read = shellLinks().Read(link);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->path == c.target) << read->path;
    EXPECT_EQ(read->arguments, c.arguments);
    EXPECT_EQ(read->workingDirectory, c.directory);
    EXPECT_EQ(read->description, c.description);
    EXPECT_EQ(read->iconPath, c.icon);
    if (!c.icon.empty()) {
      EXPECT_EQ(read->iconIndex, c.iconIndex);
    }
    EXPECT_EQ(read->hotKey, c.hotKey);
  }
}

TEST_F(ShellLinksContract, LongPathsAndNonLinks) {
  ASSERT_TRUE(shellLinks().InitializeCom());
  auto object = shellLinks().Create();
  // A target that does not exist is a success (Windows may say S_FALSE).
  ASSERT_GE(object->SetPath(At("x.exe")), 0);
  // 259 units fit with the terminator; 260 do not.
  const std::string base = At("");
  const auto pathOf = [&](size_t units) {
    return base + std::string(units - base.size() - 4, 'n') + ".lnk";
  };
  EXPECT_EQ(object->Save(pathOf(260)), kEInvalidArg);
  EXPECT_FALSE(Files().FileExists(pathOf(260)));
  EXPECT_EQ(object->Save(pathOf(300)), kEInvalidArg);

  WriteFile(At("text.lnk"), "not a shortcut at all, just text");
  EXPECT_FALSE(shellLinks().Read(At("text.lnk")).has_value());
  EXPECT_FALSE(shellLinks().Read(At("missing.lnk")).has_value());
}

}  // namespace
