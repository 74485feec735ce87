// The Program Manager conversation against the simulated Program Manager:
// the exact command texts for links into one group, replacing an item,
// a group without a report, reading the report's fields, and every failure
// with its message and what it leaves unchanged.
#include "shell/cmp_TProgramManager.h"

#include <gtest/gtest.h>

#include "framework/ProcessState.h"
#include "platform/Dde.h"
#include "platform/Platform.h"
#include "platform/sim/SimMachine.h"
#include "support/SimMachineHome.h"

using platform::sim::MachineSettings;
using platform::sim::SimMachine;

namespace {

class ProgramManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { machine_ = &home_.Install(); }
  void TearDown() override {
    ProcessState::ResetAll();
    platform::Install(nullptr);
  }
  SimMachine& Machine() { return *machine_; }
  std::vector<std::string> Sent() {
    std::vector<std::string> texts;
    for (const auto& c : Machine().DdeServer().Commands()) texts.push_back(c.text);
    return texts;
  }
  void Set(const char* key, const char* value) {
    Machine().ChangeSettings([&](MachineSettings& s) { s.Set(key, value); });
  }
  // What the link install step sends for a link to `target`.
  static void AddLink(TProgramManager& pm, const std::string& group, const std::string& name,
                      const std::string& target, const std::string& args) {
    pm.CreateGroup(group);
    if (int i = pm.FindItem(name); i > 0) pm.ReplaceItem(pm.ItemField(i, 1));
    const std::string dir = target.substr(0, target.rfind('\\'));
    pm.AddItem("\"" + target + "\" " + args, name, "", 0, "\"" + dir + "\"", "");
  }

  testsupport::SimMachineHome home_{"pellmore-progman"};
  SimMachine* machine_ = nullptr;
};

TEST_F(ProgramManagerTest, TwoLinksIntoOneGroupSendTheTemplatesOverOneConversation) {
  TProgramManager& pm = ProgramManager();
  AddLink(pm, "Quenby Tools", "App", "C:\\Program Files\\Quenby\\App.exe", "");
  // A new conversation would now fail: the second link must reuse the first.
  Set("progman", "0");
  AddLink(pm, "Quenby Tools", "Admin", "C:\\Program Files\\Quenby\\Admin.exe", "-x \"a b\"");

  const std::vector<std::string> expected = {
      "[CreateGroup(\"Quenby Tools\")]",
      "[ShowGroup(Quenby Tools,8)]",
      "[AddItem(\"C:\\Program Files\\Quenby\\App.exe\" ,App,,0,,,\"C:\\Program Files\\Quenby\",)]",
      "[CreateGroup(\"Quenby Tools\")]",
      "[ShowGroup(Quenby Tools,8)]",
      "[AddItem(\"C:\\Program Files\\Quenby\\Admin.exe\" -x \"a b\",Admin,,0,,,"
      "\"C:\\Program Files\\Quenby\",)]",
  };
  EXPECT_EQ(Sent(), expected);
  for (const auto& c : Machine().DdeServer().Commands()) EXPECT_TRUE(c.accepted) << c.text;

  EXPECT_EQ(pm.CurrentGroup(), "Quenby Tools");
  ASSERT_EQ(pm.ItemCount(), 2);
  EXPECT_EQ(pm.FindItem("Admin"), 2);
  EXPECT_EQ(pm.FindItem("admin"), -1);  // names compare case-sensitively
  EXPECT_EQ(pm.ItemField(1, 2), "C:\\Program Files\\Quenby\\App.exe");
  EXPECT_EQ(pm.ItemField(2, 3), "C:\\Program Files\\Quenby");

  // A second process (a fresh machine object) sees the same group.
  auto again = home_.Open();
  const auto groups = again->DdeServer().Groups();
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(groups[0].items.size(), 2u);
  EXPECT_EQ(groups[0].items[1].command, "\"C:\\Program Files\\Quenby\\Admin.exe\" -x \"a b\"");
  std::vector<std::string> names;
  pm.ListGroups(names);
  EXPECT_EQ(names, std::vector<std::string>{"Quenby Tools"});

  // A test that changes machines gets a fresh conversation.
  ProcessState::ResetAll();
  EXPECT_FALSE(ProgramManager().Connected());
}

TEST_F(ProgramManagerTest, AnExistingItemIsReplacedNotDuplicated) {
  TProgramManager pm(nullptr);
  AddLink(pm, "Tools", "First", "C:\\Q\\First.exe", "");
  AddLink(pm, "Tools", "App", "C:\\Q\\Old.exe", "");
  AddLink(pm, "Tools", "Last", "C:\\Q\\Last.exe", "");
  Machine().DdeServer().ClearCommands();
  AddLink(pm, "Tools", "App", "C:\\Q\\New.exe", "/n");

  EXPECT_EQ(Sent(),
            (std::vector<std::string>{"[CreateGroup(\"Tools\")]", "[ShowGroup(Tools,8)]",
                                      "[ReplaceItem(\"App\")]", "[ShowGroup(Tools,8)]",
                                      "[AddItem(\"C:\\Q\\New.exe\" /n,App,,0,,,\"C:\\Q\",)]"}));
  const auto groups = Machine().DdeServer().Groups();
  ASSERT_EQ(groups.size(), 1u);
  std::vector<std::string> items;
  for (const auto& i : groups[0].items) items.push_back(i.name + "=" + i.command);
  // The replacement takes the old item's place.
  EXPECT_EQ(items, (std::vector<std::string>{"First=C:\\Q\\First.exe", "App=\"C:\\Q\\New.exe\" /n",
                                             "Last=C:\\Q\\Last.exe"}));
  EXPECT_EQ(pm.ItemCount(), 3);
}

TEST_F(ProgramManagerTest, AGroupWithoutReportLeavesNoCurrentGroupAndAddsNothing) {
  TProgramManager pm(nullptr);
  pm.CreateGroup("Tools");
  ASSERT_EQ(pm.CurrentGroup(), "Tools");
  pm.SelectGroup("Nowhere");  // the Program Manager gives no data for it
  EXPECT_EQ(pm.CurrentGroup(), "");
  EXPECT_EQ(pm.ItemCount(), 0);
  Machine().DdeServer().ClearCommands();
  pm.ReplaceItem("App");
  pm.AddItem("C:\\Q\\App.exe", "App", "", 0, "C:\\Q", "");
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(Machine().DdeServer().Groups()[0].items.empty());
  // An empty group name creates nothing.
  pm.CreateGroup("");
  EXPECT_TRUE(Sent().empty());
}

// A Program Manager that answers every request with a fixed report.
class ReportDde : public platform::Dde {
 public:
  explicit ReportDde(std::string report) : report_(std::move(report)) {}
  std::unique_ptr<platform::DdeConversation> Connect(std::string_view, std::string_view) override {
    struct Conversation : platform::DdeConversation {
      std::string report;
      bool Execute(std::string_view) override { return true; }
      std::optional<std::string> Request(std::string_view) override { return report; }
    };
    auto c = std::make_unique<Conversation>();
    c->report = report_;
    return c;
  }

 private:
  std::string report_;
};

class ReportBackend : public platform::Backend {
 public:
  ReportBackend(platform::Backend& real, std::string report)
      : real_(real), dde_(std::move(report)) {}
  platform::Registry& registry() override { return real_.registry(); }
  platform::FileSystem& files() override { return real_.files(); }
  platform::SystemInfo& system() override { return real_.system(); }
  platform::Clock& clock() override { return real_.clock(); }
  platform::Dde& dde() override { return dde_; }

 private:
  platform::Backend& real_;
  ReportDde dde_;
};

TEST_F(ProgramManagerTest, ItemFieldsAreReadAsTheReportStandsWithNamesStrippedTwice) {
  auto sim = home_.Create();
  platform::Install(std::make_unique<ReportBackend>(
      *sim,
      "\"Group\",5\r\n"
      "\"\"Double\"\",\"\"C:\\a b\\x.exe\" -y\",C:\\a b,\"C:\\i.ico\",1,2,3,4,extra\r\n"
      "\"\",\"\",,,,,,\n"
      "\"Short\"\r\n"
      "\",\"\r\n"
      "Name%s,\"cmd\""));
  TProgramManager pm(nullptr);
  pm.SelectGroup("Group");
  ASSERT_EQ(pm.ItemCount(), 5);
  struct Case {
    int index, field;
    const char* expected;
  };
  const Case cases[] = {
      {1, 1, "Double"},               // stripped twice
      {1, 2, "C:\\a b\\x.exe\" -y"},  // twice: the inner trailing quote is not at the end
      {1, 3, "C:\\a b"},
      {1, 4, "C:\\i.ico"},  // further fields lose one pair of quotes only
      {1, 7, "3"},
      {1, 8, "4"},  // not the rest of the line: the next comma ends it
      {2, 1, ""},   // a lone pair of quotes
      {2, 8, ""},
      {3, 1, "Short"},
      {3, 2, ""},  // fewer fields than asked
      {4, 1, ""},  // a one-character text loses only its trailing quote
      {5, 1, "Name%s"},
      {5, 2, "cmd"},
      {0, 1, ""},  // the group line is no item
      {6, 1, ""},  // one past the list
      {-1, 1, ""},
      {1, 0, ""},
      {1, 9, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + "," + std::to_string(c.field));
    EXPECT_EQ(pm.ItemField(c.index, c.field), c.expected);
  }
  EXPECT_EQ(pm.FindItem("Short"), 3);
  EXPECT_EQ(pm.FindItem(""), 2);

  // A report of the group line alone has no items.
  platform::Install(std::make_unique<ReportBackend>(*sim, "\"Group\",0\r\n"));
  TProgramManager empty(nullptr);
  empty.SelectGroup("Group");
  EXPECT_EQ(empty.CurrentGroup(), "Group");
  EXPECT_EQ(empty.ItemCount(), 0);
  EXPECT_EQ(empty.ItemField(1, 1), "");
}

TEST_F(ProgramManagerTest, FailuresRaiseTheirExceptionsWithMessagesAndFields) {
  const std::string longDir = "C:\\" + std::string(240, 'd');
  struct Case {
    const char* what;
    const char* progman;  // the machine's "progman" setting
    const char* refuses;  // its "progman-refuses" setting
    std::string item;     // the link's name
    std::string dir;      // its target's directory
    const char* className;
    std::string message;
  };
  const std::string addMessage =
      "The TProgramManager object was unable to add the following program item: %App to the "
      "following group: Tools. The arguments passed to  Program Manager were: "
      "[AddItem(\"C:\\Q\\App.exe\" ,%App,,0,,,\"C:\\Q\",)]";
  const Case cases[] = {
      {"no Program Manager", "0", "", "App", "C:\\Q", "EPLPMCannotOpen",
       "The TProgramManager object was unable to establish a link with Program Manager"},
      {"create refused", "1", "CreateGroup", "App", "C:\\Q", "EPLPMCannotCreateGroup",
       "The TProgramManager object was unable to create the following program group: Tools"},
      {"show refused", "1", "ShowGroup", "App", "C:\\Q", "EPLPMCannotOpenGroup",
       "The TProgramManager object was unable to open the following program group: Tools"},
      {"add refused", "1", "AddItem", "%App", "C:\\Q", "EPLPMCannotAddItem", addMessage},
      {"replace refused", "1", "ReplaceItem", "Old", "C:\\Q", "EPLPMCannotReplaceItem",
       "The TProgramManager object was unable to replace the following program item: Old to the "
       "following group: Tools"},
      {"command over 255 characters", "1", "", "App", longDir, "EPLPMCannotAddItem",
       "The TProgramManager object was unable to add the following program item: App"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    machine_ = &home_.Install();
    // The group exists already with an item "Old".
    {
      TProgramManager setup(nullptr);
      AddLink(setup, "Tools", "Old", "C:\\Q\\Old.exe", "");
    }
    const auto before = Machine().DdeServer().Groups();
    Machine().DdeServer().ClearCommands();
    Set("progman", c.progman);
    Set("progman-refuses", c.refuses);

    TProgramManager pm(nullptr);
    try {
      AddLink(pm, "Tools", c.item, c.dir + "\\" + (c.item == "%App" ? "App" : c.item) + ".exe", "");
      ADD_FAILURE() << "nothing raised";
    } catch (const EPLPMError& e) {
      EXPECT_STREQ(e.ClassName(), c.className);
      EXPECT_EQ(e.Message().substr(0, c.message.size()), c.message) << e.Message();
      if (std::string(c.className) != "EPLPMCannotOpen") {
        EXPECT_EQ(e.Group(), "Tools");
      }
      if (auto* add = dynamic_cast<const EPLPMCannotAddItem*>(&e)) {
        EXPECT_EQ(e.Item(), c.item);
        EXPECT_EQ(add->Command().rfind("[AddItem(", 0), 0u);
      }
    }
    // The long command is refused before anything is sent, not cut.
    if (c.dir == longDir) {
      for (const auto& s : Sent()) EXPECT_LT(s.size(), 256u) << s;
      EXPECT_EQ(Sent().size(), 1u);  // the group only: no show, no add
    }
    // Nothing the failed step touched changed.
    const auto after = Machine().DdeServer().Groups();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0].items.size(), before[0].items.size());
    EXPECT_EQ(after[0].items[0].command, "C:\\Q\\Old.exe");
    ProcessState::ResetAll();
  }
}

TEST_F(ProgramManagerTest, ServerAnswersOnlyProgmanAndParsesCommandSequences) {
  platform::Dde& dde = platform::dde();
  EXPECT_EQ(dde.Connect("WinWord", "System"), nullptr);
  EXPECT_EQ(dde.Connect("PROGMAN", "System"), nullptr);
  auto c = dde.Connect("progman", "ProgMan");
  ASSERT_NE(c, nullptr);
  // Two commands in one execute; a quoted comma stays in the name.
  EXPECT_TRUE(c->Execute("[CreateGroup(\"A, B\")][AddItem(C:\\x\\Tool.exe,\"T, 1\",,2)]"));
  EXPECT_TRUE(c->Execute("[AddItem(C:\\x\\Bare.exe)]"));  // name from the program
  for (const char* bad : {"CreateGroup(X)", "[CreateGroup(X)", "[CreateGroup(\"X)]", "[Nope(X)]",
                          "[AddItem(C:\\x.exe,N,,notanumber)]", "[ShowGroup(Missing,8)]",
                          "[ReplaceItem(\"Missing\")]", "[CreateGroup(Y)][AddItem()]", ""}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(c->Execute(bad));
  }
  // The refused sequence made no group Y.
  ASSERT_TRUE(c->Request("Groups"));
  EXPECT_EQ(*c->Request("groups"), "A, B\r\n");
  EXPECT_EQ(*c->Request("a, b"),
            "\"A, B\",2\r\n"
            "\"T, 1\",\"C:\\x\\Tool.exe\",,,16,16,2,0\r\n"
            "\"Bare\",\"C:\\x\\Bare.exe\",,,88,16,0,0\r\n");
  EXPECT_FALSE(c->Request("Missing"));
}

}  // namespace
