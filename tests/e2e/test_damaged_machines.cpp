// Damaged machines and careless input to the machine tool, end to end. The
// setup on a machine whose registry it cannot read, or on a directory that
// is not a whole machine, fails with the message of the failed step and
// the machine's own reason under it, on standard error and in the
// transcript, and installs nothing. The machine tool refuses numbers that
// do not fit and leaves nothing half-made when a put fails.
#include <gmock/gmock.h>

#include <fstream>
#include <functional>
#include <map>

#include "InstallRunFixture.h"
#include "platform/FileSystem.h"

namespace e2e {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

// Every file below `dir` with its content (directories as "<dir>").
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> all;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(dir, ec))
    all[fs::relative(e.path(), dir).string()] =
        e.is_directory() ? std::string("<dir>") : ReadHostFile(e.path());
  return all;
}

// The names whose content differs between two snapshots (or that only one
// has), for a readable failure.
std::vector<std::string> Changed(const std::map<std::string, std::string>& a,
                                 const std::map<std::string, std::string>& b) {
  std::vector<std::string> names;
  for (const auto& [name, content] : a)
    if (!b.count(name) || b.at(name) != content) names.push_back(name);
  for (const auto& [name, content] : b)
    if (!a.count(name)) names.push_back(name);
  return names;
}

class DamagedMachine : public InstallRun {
 protected:
  fs::path Host() const { return MachineDir(); }
  int Tool(const std::vector<std::string>& args, std::string* errors) {
    return RunChild(PELLMORE_MACHINE_EXE, args, {}, dir_, errors);
  }
};

TEST_F(DamagedMachine, SetupShowsTheMessageAndTheMachinesReasonAndInstallsNothing) {
  const std::string unfinished =
      "The TInstall could not either write or read unfinished business from the registry";
  const std::string notWhole = "is not a whole simulated machine: ";
  struct Case {
    const char* what;
    std::function<void(const fs::path& machine)> damage;
    std::string message;  // empty: the machine is refused before any message of the setup
    std::string cause;
  };
  const auto hive = [](std::string text) {
    return [text](const fs::path& m) {
      testsupport::WriteHostFile(m / "registry" / "HKEY_LOCAL_MACHINE.reg", text);
    };
  };
  const Case cases[] = {
      {"quoted string not closed",
       hive("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\"Name\"=\"open\n"), unfinished,
       "HKEY_LOCAL_MACHINE.reg\", line 4: "},
      {"empty hive", hive(""), unfinished, "line 1: empty file"},
      {"UTF-16 hive",
       hive(std::string("\xFF\xFE"
                        "R\0E\0G\0E\0D\0I\0T\0"
                        "4\0",
                        18)),
       unfinished, "line 1: UTF-16 text; hive files are UTF-8"},
      {"no registry folder", [](const fs::path& m) { fs::remove_all(m / "registry"); }, "",
       notWhole + "its registry folder (registry/) is missing"},
      {"empty machine.ini",
       [](const fs::path& m) { testsupport::WriteHostFile(m / "machine.ini", ""); }, "",
       "/machine.ini is empty"},
      {"machine.ini is a folder",
       [](const fs::path& m) {
         fs::remove(m / "machine.ini");
         fs::create_directory(m / "machine.ini");
       },
       "", " is not a regular file"},
      {"no drive_c", [](const fs::path& m) { fs::remove_all(m / "drive_c"); }, "",
       notWhole + "the folder of its Windows drive C: (drive_c/) is missing"},
  };
  bool first = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!first) FreshTarget();
    first = false;
    c.damage(Host());
    const auto before = Snapshot(Host());

    const Outcome o = Run({"-sC:\\SETUP"});

    EXPECT_EQ(o.code, 1) << o.Dump();
    if (!c.message.empty()) {
      EXPECT_THAT(o.errors, HasSubstr(c.message + "\n")) << "the message, the cause under it";
      EXPECT_TRUE(o.Has("error", c.message + "\\n")) << o.Dump();
    }
    EXPECT_THAT(o.errors, HasSubstr(c.cause));
    std::string jsonCause;
    for (char ch : c.cause) jsonCause += ch == '"' ? std::string("\\\"") : std::string(1, ch);
    EXPECT_TRUE(o.Has("error", jsonCause)) << o.Dump();
    // Nothing installed, nothing repaired or covered up: the machine
    // directory is as the damage left it, apart from the lock files a
    // run takes.
    auto after = Snapshot(Host());
    std::erase_if(after, [](const auto& e) { return e.first.rfind("locks", 0) == 0; });
    EXPECT_THAT(Changed(before, after), ::testing::IsEmpty());
  }
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

TEST_F(DamagedMachine, TheMachineToolRefusesBadNumbersAndLeavesNothingHalfMade) {
  const std::string m = MachineDir();
  const fs::path host = dir_ / "payload.bin";
  testsupport::WriteHostFile(host, std::string(5000, 'p'));
  testsupport::WriteHostFile(dir_ / "small.bin", "new");
  PutFile("C:\\Keep.txt", "old content");
  struct Case {
    const char* what;
    std::vector<std::string> args;
    int code;
    const char* error;
  };
  const Case cases[] = {
      {"negative free space", {"settings", m, "free.C=-5"}, 1, "free.C=-5: must not be negative"},
      {"free space past 2^64",
       {"settings", m, "free.C=18446744073709551621"},
       1,
       "free.C=18446744073709551621: out of range"},
      {"free space with a unit", {"settings", m, "free.C=5k"}, 1, "free.C=5k: not a number"},
      {"free space of no drive", {"settings", m, "free.Q=5"}, 1, "the machine has no drive Q:"},
      {"free space of no letter", {"settings", m, "free.1=5"}, 2, "expected free.LETTER=BYTES"},
      {"all or nothing", {"settings", m, "screen=800x600", "free.C=-1"}, 1, "must not be negative"},
      {"capacity wrapped", {"settings", m, "capacity.C=-1"}, 1, "must not be negative"},
      {"time zone past a day", {"settings", m, "timezone=99999"}, 1, "out of range -840..840"},
      {"version overflow", {"settings", m, "version=4294967300.0"}, 1, "out of range 0..255"},
      {"put of a folder",
       {"put", m, dir_.string(), "C:\\New\\Deep\\x.bin"},
       1,
       "is not a regular file"},
      {"put of nothing", {"put", m, (dir_ / "absent").string(), "C:\\x.bin"}, 1, "cannot read"},
      {"create with a huge zone",
       {"create", (dir_ / "m2").string(), "--timezone", "4294967296"},
       2,
       "--timezone needs a whole number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto before = Snapshot(m);
    std::string errors;
    EXPECT_EQ(Tool(c.args, &errors), c.code) << errors;
    EXPECT_THAT(errors, HasSubstr(c.error));
    EXPECT_THAT(Changed(before, Snapshot(m)), ::testing::IsEmpty())
        << "the refused command changed the machine";
  }
  EXPECT_FALSE(fs::exists(dir_ / "m2"));

  // A put that runs out of room leaves neither the file nor the folders
  // it made, and a file it was to replace keeps its content.
  std::string errors;
  ASSERT_EQ(Tool({"settings", m, "free.C=1000"}, &errors), 0) << errors;
  EXPECT_EQ(Open()->files().FreeSpace("C:\\").freeBytes, 1000u);
  // The machine's record of the short names it handed out for folders
  // that were there before is bookkeeping, not part of the put.
  const auto withoutShortNames = [&] {
    auto all = Snapshot(m);
    all.erase("shortnames.txt");
    return all;
  };
  const auto before = withoutShortNames();
  EXPECT_EQ(Tool({"put", m, host.string(), "C:\\New\\Deep\\x.bin"}, &errors), 1);
  EXPECT_THAT(errors, HasSubstr("There is not enough space on the disk."));
  EXPECT_EQ(Tool({"put", m, host.string(), "C:\\Keep.txt"}, &errors), 1);
  EXPECT_THAT(Changed(before, withoutShortNames()), ::testing::IsEmpty());
  EXPECT_EQ(ReadFile("C:\\Keep.txt"), "old content");
  // What fits goes in whole, in place of the old file.
  ASSERT_EQ(Tool({"put", m, (dir_ / "small.bin").string(), "C:\\Keep.txt"}, &errors), 0) << errors;
  EXPECT_EQ(ReadFile("C:\\Keep.txt"), "new");
}

}  // namespace
}  // namespace e2e
