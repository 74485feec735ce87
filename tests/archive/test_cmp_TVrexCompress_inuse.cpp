// The archive component when the destination of a member is held open by
// another program: without a handler the member fails and the held file
// stays; a handler can hand the finished copy to another, free name.
#include "test_cmp_TVrexCompress_fixture.h"

namespace archive_test {
namespace {

using Files = std::map<std::string, std::string>;

class InUseTest : public ArchiveTest {};

TEST_F(InUseTest, AHeldDestinationFailsOrHandsTheCopyToAnotherName) {
  Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
  Build(*c, "C:\\OUT\\files.1", {{"C:\\SRC\\LIB.DLL", "new"}});
  Write("C:\\DEST\\LIB.DLL", "old");
  machine_->Hold("C:\\DEST\\LIB.DLL");
  auto extract = [&] { ExtractTo(*c, "C:\\DEST", {"C:\\SRC\\LIB.DLL"}); };
  EXPECT_THROW(extract(), EVrexCompress);  // no handler

  std::vector<std::string> offered;
  std::string answer;  // empty: decline
  c->OnDestinationInUse = [&](TObject*, std::string& name) {
    offered.push_back(name);
    if (answer.empty()) return false;
    name = answer;
    return true;
  };
  EXPECT_THROW(extract(), EVrexCompress);
  EXPECT_EQ(Snapshot("C:\\DEST"), (Files{{"LIB.DLL", "old"}}));

  answer = "LIB.1";
  extract();
  EXPECT_EQ(Snapshot("C:\\DEST"), (Files{{"LIB.DLL", "old"}, {"LIB.1", "new"}}));
  EXPECT_EQ(offered, (std::vector<std::string>{"LIB.DLL", "LIB.DLL"}));

  // A read-only destination is not in use: a restart would not help.
  Write("C:\\RO\\LIB.DLL", "read-only");
  platform::files().SetAttributes("C:\\RO\\LIB.DLL", platform::kAttrReadOnly);
  offered.clear();
  EXPECT_THROW(ExtractTo(*c, "C:\\RO", {"C:\\SRC\\LIB.DLL"}), EVrexCompress);
  EXPECT_TRUE(offered.empty());
  EXPECT_EQ(Read("C:\\RO\\LIB.DLL"), "read-only");

  // The other name never replaces a file: a taken one fails the member and
  // leaves no temporary file behind.
  Write("C:\\DEST\\LIB.1", "taken");
  EXPECT_THROW(extract(), EVrexCompress);
  EXPECT_EQ(Snapshot("C:\\DEST"), (Files{{"LIB.DLL", "old"}, {"LIB.1", "taken"}}));
}

}  // namespace
}  // namespace archive_test
