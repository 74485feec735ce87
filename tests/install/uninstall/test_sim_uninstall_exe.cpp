// The uninstall program's item: what it enters in Windows' list of
// installed programs after the run installed it, what it writes when it is
// left out, without an installer, and what placing it takes from the kit.
#include <gmock/gmock.h>

#include "InstallFileSimFixture.h"
#include "install/KitDirectory.h"
#include "install/uninstall/cmp_TUninstallEXE.h"
#include "shell/routines_Registry.h"

namespace filestest {
namespace {

using testing::HasSubstr;

constexpr const char* kProduct = "Quenby Tools 2";
const std::string kKey = std::string(kUninstallKeyPrefix) + kProduct;

class UninstallEXETest : public InstallFileSimTest {
 protected:
  UninstallEXETest() {
    RegisterUninstallEXE(ClassRegistry::Global());
    installer_ = NewInstaller();
    installer_->Information()->SetProductName(kProduct);
  }

  // The item in the group, packed with a small program as its source.
  TUninstallEXE* Item() {
    PutFile(P("C:\\src\\uninstall.exe"), "MZ uninstall", kMid);
    auto* item = new TUninstallEXE(form_);
    item->SetName("Uninstaller");
    item->SetIncludeFromDir(P("C:\\src"));
    item->SetFileName("uninstall.exe");
    item->SetDestName("uninstall.exe");
    item->SetContainer(group_);
    CompressContainer(*group_, kBuildOptionsTraditional);
    item->ReadInfoFromArchive();
    return item;
  }
  static std::string Value(const std::string& name) {
    return ReadRegString(kRootLocalMachine, kKey, name, "<none>");
  }

  TInstall* installer_ = nullptr;
};

TEST_F(UninstallEXETest, TheInstalledProgramIsEnteredInsteadOfAFileRecord) {
  TUninstallEXE* item = Item();
  item->Process();

  EXPECT_TRUE(platform::files().FileExists(P("C:\\Dest\\uninstall.exe")));
  EXPECT_EQ(Value("DisplayName"), kProduct);
  EXPECT_EQ(Value("UninstallString"), P("C:\\Dest") + "\\uninstall.exe " + kProduct);
  // The entry replaces the file's own record.
  EXPECT_EQ(ReadRegString(kRootLocalMachine, kKey + "\\Files", "Entries", "<none>"), "<none>");

  // A destination stored with its backslash gets no second one.
  group_->SetDestDir(P("C:\\Dest\\"));
  EXPECT_EQ(item->UninstallCommand("P"), P("C:\\Dest") + "\\uninstall.exe P");
}

TEST_F(UninstallEXETest, NothingIsWrittenWhenTheItemIsLeftOutOrThereIsNoInstaller) {
  TUninstallEXE* item = Item();
  item->SetInclude(false);
  item->Process();
  EXPECT_EQ(Value("DisplayName"), "<none>");
  EXPECT_FALSE(platform::files().FileExists(P("C:\\Dest\\uninstall.exe")));

  installer_->Free();
  try {
    item->WriteUninstallInfo(kKey);
    ADD_FAILURE() << "no error without an installer";
  } catch (const IEUninstallEXE& e) {
    EXPECT_STREQ(e.what(),
                 "Uninstaller could not write information about the uninstall to the registry "
                 "because there was no TInstall component");
  }
  EXPECT_EQ(Value("UninstallString"), "<none>");
}

TEST_F(UninstallEXETest, PlacingTheItemTakesTheKitsProgramWhenThereIsOne) {
  auto placed = [&] {
    TComponent::SetCreationState({csDesigning});
    auto* item = new TUninstallEXE(form_);
    const std::vector<std::string> got{item->IncludeFromDir(), item->FileName(), item->DestName(),
                                       item->Net() ? "net" : "local"};
    item->Free();
    return got;
  };
  // No kit on the machine: the author fills the item in.
  EXPECT_EQ(placed(), (std::vector<std::string>{"", "", "", "net"}));

  const std::string kit = P("C:\\Kit");
  PutFile(kit + "\\" + kKitMarkerFile, "kit", kMid);
  WriteRegString(kRootLocalMachine, kKitKey, kKitSearchPathValue, kit);
  EXPECT_EQ(placed(), (std::vector<std::string>{"", "", "", "net"}));  // no program in it yet

  PutFile(kit + "\\uninstall.exe", "MZ", kMid);
  EXPECT_EQ(placed(), (std::vector<std::string>{kit, "uninstall.exe", "uninstall.exe", "net"}));
}

}  // namespace
}  // namespace filestest
