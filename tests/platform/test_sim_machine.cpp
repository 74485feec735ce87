// The simulated machine's own behaviour: held files, drive capacities and
// removable drives, the fresh machine of each platform kind, containment
// inside the machine directory, persistent short names, settings and the
// clock.
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "framework/DateTime.h"
#include "platform/Clock.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimMachine.h"
#include "support/TempDir.h"

using namespace platform;
using namespace platform::sim;
namespace fs = std::filesystem;

namespace {

class SimMachineTest : public ::testing::Test {
 protected:
  std::unique_ptr<SimMachine> Make(MachineOptions options = {}, const char* name = "m") {
    return CreateMachine(root_ + "/" + name, options);
  }
  static void Write(FileSystem& fs, const std::string& path, const std::string& bytes) {
    auto f = fs.Create(path);
    f->Write(bytes.data(), bytes.size());
    f->Close();
  }
  static std::string Read(FileSystem& fs, const std::string& path) {
    auto f = fs.OpenRead(path);
    std::string out(size_t(f->Size()), '\0');
    out.resize(f->Read(out.data(), out.size()));
    return out;
  }
  template <class F>
  static uint32_t CodeOf(F&& action) {
    try {
      action();
    } catch (const OsError& e) {
      return e.Code();
    }
    return 0;
  }
  testsupport::TempDir dir_{"pellmore-sim"};
  const std::string root_ = dir_.String();
};

TEST_F(SimMachineTest, HeldFilesCanBeReadButNotReplacedDeletedOrRenamed) {
  auto m = Make();
  auto& fs = m->files();
  Write(fs, "C:\\WINNT\\System32\\inuse.dll", "old code");
  Write(fs, "C:\\new.dll", "new code");
  m->Hold("c:\\winnt\\system32\\INUSE.DLL");

  // Another process of the same machine sees the hold too.
  auto other = SimMachine::Open(m->HostDir());
  for (FileSystem* f : {&fs, &other->files()}) {
    const std::string held = "C:\\WINNT\\System32\\inuse.dll";
    EXPECT_EQ(Read(*f, held), "old code");
    EXPECT_EQ(CodeOf([&] { f->OpenWrite(held); }), kErrorSharingViolation);
    EXPECT_EQ(CodeOf([&] { f->Create(held); }), kErrorSharingViolation);
    EXPECT_EQ(CodeOf([&] { f->DeleteFile(held); }), kErrorSharingViolation);
    EXPECT_EQ(CodeOf([&] { f->MoveFile(held, "C:\\elsewhere.dll", 0); }), kErrorSharingViolation);
    EXPECT_EQ(CodeOf([&] { f->MoveFile("C:\\new.dll", held, kMoveReplaceExisting); }),
              kErrorSharingViolation);
    EXPECT_EQ(CodeOf([&] { f->CopyFile("C:\\new.dll", held, false); }), kErrorSharingViolation);
    EXPECT_EQ(CodeOf([&] { f->MoveFile("C:\\WINNT\\System32", "C:\\WINNT\\Sys", 0); }),
              kErrorAccessDenied)
        << "a directory holding a held file cannot move";
    f->CopyFile(held, "C:\\copy.dll", false);  // reading it is fine
  }
  EXPECT_EQ(Read(fs, "C:\\WINNT\\System32\\inuse.dll"), "old code");

  m->Release("C:\\WINNT\\SYSTEM32\\inuse.dll");
  fs.MoveFile("C:\\new.dll", "C:\\WINNT\\System32\\inuse.dll", kMoveReplaceExisting);
  EXPECT_EQ(Read(fs, "C:\\WINNT\\System32\\inuse.dll"), "new code");
  EXPECT_TRUE(SimMachine::Open(m->HostDir())->Settings().held.empty());
  EXPECT_EQ(CodeOf([&] { m->Hold("C:\\missing.dll"); }), kErrorFileNotFound);
}

TEST_F(SimMachineTest, AFullDriveRefusesWritesAndKeepsWhatWasThere) {
  auto m = Make();
  auto& fs = m->files();
  Write(fs, "C:\\existing.bin", std::string(60, 'e'));
  m->SetFreeSpace('C', 100);
  EXPECT_EQ(fs.FreeSpace("C:\\").freeBytes, 100u);

  auto f = fs.Create("C:\\grow.bin");
  f->Write(std::string(70, 'a').data(), 70);
  EXPECT_EQ(fs.FreeSpace("c:\\anything").freeBytes, 30u);
  EXPECT_EQ(CodeOf([&] { f->Write(std::string(31, 'b').data(), 31); }), kErrorDiskFull);
  EXPECT_EQ(f->Size(), 70u) << "a refused write writes nothing";
  f->Seek(0, SeekOrigin::Begin);
  f->Write(std::string(70, 'c').data(), 70);  // overwriting needs no new space
  f->Seek(101, SeekOrigin::Begin);
  EXPECT_EQ(CodeOf([&] { f->SetEndOfFile(); }), kErrorDiskFull);
  f->Seek(10, SeekOrigin::Begin);
  f->SetEndOfFile();
  EXPECT_EQ(fs.FreeSpace("C:\\").freeBytes, 90u);
  f->Close();

  EXPECT_EQ(CodeOf([&] { fs.CopyFile("C:\\existing.bin", "C:\\WINNT\\copy.bin", false); }), 0u);
  EXPECT_EQ(fs.FreeSpace("C:\\").freeBytes, 30u);
  EXPECT_EQ(CodeOf([&] { fs.CopyFile("C:\\existing.bin", "C:\\WINNT\\copy2.bin", false); }),
            kErrorDiskFull);
  EXPECT_FALSE(fs.FileExists("C:\\WINNT\\copy2.bin")) << "a refused copy leaves nothing behind";
  fs.DeleteFile("C:\\WINNT\\copy.bin");
  EXPECT_EQ(fs.FreeSpace("C:\\").freeBytes, 90u);

  // A truncating create gives the old bytes back first.
  auto again = fs.Create("C:\\existing.bin");
  again->Write(std::string(150, 'x').data(), 150);
  again->Close();
  EXPECT_EQ(fs.FreeSpace("C:\\").freeBytes, 0u);

  // The capacity persists: another process counts the drive and agrees.
  EXPECT_EQ(SimMachine::Open(m->HostDir())->files().FreeSpace("C:\\").freeBytes, 0u);
}

// The user at a removable drive, as the file service plays them around a
// program's disk prompts: a full disk is followed by a blank one, a file
// looked for again (after the prompt) brings in the disk holding it, a
// single look (a cancelled prompt) changes nothing, and no disk changes
// under an open file.
TEST_F(SimMachineTest, ARemovableDriveChangesDisksAroundThePrompts) {
  MachineOptions options;
  options.extraDrives = "A";
  auto m = Make(options);
  m->ChangeSettings([](MachineSettings& s) {
    s.Set("removable", "a");
    s.Set("capacity.A", "100");
  });
  auto& fs = m->files();
  RemovableDisks& disks = m->Disks();
  Write(fs, "A:\\one.bin", std::string(80, '1'));
  auto f = fs.Create("A:\\two.1");
  EXPECT_EQ(CodeOf([&] { f->Write(std::string(30, 'x').data(), 30); }), kErrorDiskFull);
  EXPECT_THROW(disks.Insert('A', 2), MachineError) << "a file on the disk is open";
  f.reset();
  fs.DeleteFile("A:\\two.1");
  Write(fs, "A:\\two.2", std::string(90, '2'));  // a blank disk 2 took it
  EXPECT_EQ(disks.InDrive('A'), 2);
  EXPECT_THAT(disks.Shelved('A'), ::testing::ElementsAre(1));
  EXPECT_EQ(fs.FreeSpace("A:\\").freeBytes, 10u);

  EXPECT_FALSE(fs.FileExists("A:\\ONE.BIN")) << "one look: the prompt was cancelled";
  EXPECT_FALSE(fs.FileExists("A:\\nothing.bin"));
  EXPECT_EQ(disks.InDrive('A'), 2);
  EXPECT_FALSE(fs.FileExists("A:\\ONE.BIN"));
  EXPECT_TRUE(fs.FileExists("A:\\ONE.BIN")) << "looked for again after the prompt";
  EXPECT_EQ(disks.InDrive('A'), 1);
  EXPECT_EQ(Read(fs, "A:\\one.bin"), std::string(80, '1'));
  EXPECT_FALSE(fs.FileExists("A:\\two.2"));

  // Another process sees the same disks; inserting by hand.
  auto other = SimMachine::Open(m->HostDir());
  other->Disks().Insert('A', 2);
  EXPECT_EQ(Read(other->files(), "A:\\two.2"), std::string(90, '2'));
  other->Disks().Insert('A', 3);
  EXPECT_TRUE(other->files().FindFiles("A:\\*").empty()) << "disk 3 is new, so blank";
  EXPECT_THROW(other->Disks().Insert('C', 1), MachineError);
  EXPECT_THROW(other->Disks().Insert('A', 0), MachineError);
}

TEST_F(SimMachineTest, FreshMachinesLookLikeTheirKind) {
  struct Case {
    const char* kind;
    const char* windows;
    const char* system;
    const char* startMenu;  // HKCU Shell Folders "Start Menu"; nullptr: none
    const char* commonPrograms;
    bool programFiles;
  };
  const Case cases[] = {
      {"95", "C:\\WINDOWS", "C:\\WINDOWS\\System", "C:\\WINDOWS\\Start Menu", nullptr, true},
      {"98", "C:\\WINDOWS", "C:\\WINDOWS\\System", "C:\\WINDOWS\\Start Menu", nullptr, true},
      {"nt4", "C:\\WINNT", "C:\\WINNT\\System32", "C:\\WINNT\\Profiles\\Administrator\\Start Menu",
       "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs", true},
      {"xp", "C:\\WINDOWS", "C:\\WINDOWS\\System32",
       "C:\\Documents and Settings\\Administrator\\Start Menu",
       "C:\\Documents and Settings\\All Users\\Start Menu\\Programs", true},
      {"nt351", "C:\\WINNT", "C:\\WINNT\\System32", nullptr, nullptr, false},
      {"win32s", "C:\\WINDOWS", "C:\\WINDOWS\\System", nullptr, nullptr, false},
  };
  const std::string shellFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const std::string currentVersion = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    MachineOptions o;
    o.kind = c.kind;
    auto m = Make(o, c.kind);
    EXPECT_EQ(m->system().WindowsDirectory(), c.windows);
    EXPECT_EQ(m->system().SystemDirectory(), c.system);
    EXPECT_TRUE(m->files().DirectoryExists(c.system));
    EXPECT_TRUE(m->files().DirectoryExists(m->system().TempDirectory()));
    auto& reg = m->registry();
    auto startMenu = reg.ReadValue(RootKey::CurrentUser, shellFolders, "Start Menu");
    auto common = reg.ReadValue(RootKey::LocalMachine, shellFolders, "Common Programs");
    auto programFiles = reg.ReadValue(RootKey::LocalMachine, currentVersion, "ProgramFilesDir");
    EXPECT_TRUE(reg.KeyExists(RootKey::LocalMachine, currentVersion + "\\RunOnce"));
    if (c.startMenu) {
      ASSERT_TRUE(startMenu);
      EXPECT_EQ(startMenu->text, c.startMenu);
      EXPECT_TRUE(m->files().DirectoryExists(startMenu->text + "\\Programs"));
      auto programs = reg.ReadValue(RootKey::CurrentUser, shellFolders, "Programs");
      ASSERT_TRUE(programs);
      EXPECT_EQ(programs->text, std::string(c.startMenu) + "\\Programs");
      for (const char* name : {"Desktop", "Startup"}) {
        auto v = reg.ReadValue(RootKey::CurrentUser, shellFolders, name);
        ASSERT_TRUE(v) << name;
        EXPECT_TRUE(m->files().DirectoryExists(v->text)) << v->text;
      }
    } else {
      EXPECT_FALSE(startMenu);
    }
    if (c.commonPrograms) {
      ASSERT_TRUE(common);
      EXPECT_EQ(common->text, c.commonPrograms);
    } else {
      EXPECT_FALSE(common);
    }
    EXPECT_EQ(programFiles.has_value(), c.programFiles);
    if (c.programFiles) {
      EXPECT_EQ(programFiles->text, "C:\\Program Files");
      EXPECT_TRUE(m->files().DirectoryExists("C:\\Program Files\\Common Files"));
    }
  }
}

TEST_F(SimMachineTest, OptionsShapeTheMachineAndBadOnesLeaveNothing) {
  MachineOptions o;
  o.kind = "98";
  o.windowsDir = "D:\\Win98";
  o.language = 0x0804;
  o.screenWidth = 800;
  o.screenHeight = 600;
  auto m = Make(o);
  EXPECT_EQ(m->system().SystemDirectory(), "D:\\Win98\\System");
  EXPECT_EQ(m->system().UserDefaultLangID(), 0x0804);
  EXPECT_EQ(m->system().ScreenWidth(), 800);
  EXPECT_EQ(m->system().Version().minor, 10u);
  EXPECT_TRUE(m->files().DirectoryExists("C:\\"));
  EXPECT_TRUE(m->files().DirectoryExists("D:\\Program Files"));

  MachineOptions bad;
  bad.kind = "os2";
  EXPECT_THROW(Make(bad, "bad"), MachineError);
  EXPECT_FALSE(fs::exists(root_ + "/bad"));
  EXPECT_THROW(Make({}, "m"), MachineError) << "an existing machine is never overwritten";
  EXPECT_TRUE(fs::exists(root_ + "/m/drive_d/Win98"));
}

TEST_F(SimMachineTest, MovesToAnotherDriveNeedCopyAllowed) {
  MachineOptions o;
  o.extraDrives = "D";
  auto m = Make(o);
  auto& fs = m->files();
  Write(fs, "C:\\moving.txt", "payload");
  EXPECT_EQ(CodeOf([&] { fs.MoveFile("C:\\moving.txt", "D:\\moved.txt", 0); }),
            kErrorNotSameDevice);
  EXPECT_EQ(CodeOf([&] { fs.MoveFile("C:\\WINNT\\Temp", "D:\\Temp", kMoveCopyAllowed); }),
            kErrorNotSameDevice)
      << "directories never move across drives";
  m->SetFreeSpace('D', 3);
  EXPECT_EQ(CodeOf([&] { fs.MoveFile("C:\\moving.txt", "D:\\moved.txt", kMoveCopyAllowed); }),
            kErrorDiskFull);
  EXPECT_EQ(Read(fs, "C:\\moving.txt"), "payload");
  m->SetFreeSpace('D', 100);
  fs.MoveFile("C:\\moving.txt", "D:\\moved.txt", kMoveCopyAllowed);
  EXPECT_EQ(Read(fs, "D:\\moved.txt"), "payload");
  EXPECT_FALSE(fs.FileExists("C:\\moving.txt"));
  EXPECT_EQ(fs.FreeSpace("D:\\").freeBytes, 93u);
}

TEST_F(SimMachineTest, NoPathReachesOutsideTheMachine) {
  auto m = Make();
  std::ofstream(root_ + "/outside.txt") << "secret";
  fs::create_directory_symlink(root_, m->HostDir() + "/drive_c/link");
  fs::create_symlink(root_ + "/outside.txt", m->HostDir() + "/drive_c/file-link.txt");
  auto& f = m->files();
  EXPECT_EQ(CodeOf([&] { f.OpenRead("C:\\link\\outside.txt"); }), kErrorAccessDenied);
  EXPECT_EQ(CodeOf([&] { f.OpenRead("C:\\file-link.txt"); }), kErrorAccessDenied);
  EXPECT_EQ(CodeOf([&] { f.OpenRead("C:\\..\\..\\outside.txt"); }), kErrorFileNotFound);
  EXPECT_EQ(CodeOf([&] { f.OpenRead("\\\\server\\share\\x"); }), kErrorBadNetPath);
  EXPECT_EQ(CodeOf([&] { f.OpenRead("Q:\\x"); }), kErrorPathNotFound) << "no such drive";
  for (const auto& e : f.FindFiles("C:\\*")) EXPECT_NE(e.name, "link");
  EXPECT_FALSE(f.Stat("C:\\link"));
}

TEST_F(SimMachineTest, ShortNamesPersistAndWorkAsPaths) {
  auto m = Make();
  auto& f = m->files();
  f.CreateDirectories("C:\\Program Files\\Quenby Database Engine");
  Write(f, "C:\\Program Files\\Quenby Database Engine\\Configuration File.cfg", "cfg");
  f.CreateDirectory("C:\\Program Files\\Quenby Database Tools");
  f.CreateDirectory("C:\\PROGRA~1\\QUENBY~9");  // a real name that looks like a short one

  std::string engine = m->system().ShortPathName("C:\\Program Files\\Quenby Database Engine");
  std::string tools = m->system().ShortPathName("C:\\program files\\quenby database tools");
  EXPECT_EQ(engine, "C:\\PROGRA~1\\QUENBY~1");
  EXPECT_EQ(tools, "C:\\PROGRA~1\\QUENBY~2");
  EXPECT_EQ(Read(f, engine + "\\CONFIG~1.CFG"), "cfg") << "short names work as input";
  EXPECT_TRUE(f.DirectoryExists("c:\\progra~1\\quenby~9"));

  // Another process (or a restart) gets the same names, whatever it asks first.
  auto again = SimMachine::Open(m->HostDir());
  EXPECT_EQ(again->system().ShortPathName("C:\\Program Files\\Quenby Database Tools"), tools);
  EXPECT_EQ(again->system().ShortPathName("C:\\Program Files\\Quenby Database Engine"), engine);
  EXPECT_EQ(again->system().ShortPathName("C:\\Program Files\\Quenby Database Engine\\"),
            engine + "\\");
}

TEST_F(SimMachineTest, SettingsRoundTripAndBadLinesNameTheirPlace) {
  MachineSettings s;
  s.Set("kind", "xp");
  s.Set("clock", "fixed 2001-06-15 12:30:44");
  s.Set("timezone", "480");
  s.Set("capacity.d", "12345");
  s.Set("removable", "ab");
  s.Set("held", "C:\\a b\\c.dll");
  s.Set("language", "0x0804");
  MachineSettings back = MachineSettings::Parse(s.Serialize(), "machine.ini");
  EXPECT_EQ(back.Items(), s.Items());
  EXPECT_EQ(back.version.build, 2600u);

  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"[machine]\nkind=os2\n", "machine.ini, line 2: setting kind=os2: unknown kind"},
      {"[machine]\n\nscreen=800\n",
       "machine.ini, line 3: setting screen=800: expected WIDTHxHEIGHT"},
      {"[machine]\nlanguage=0x10000\n", "line 2: setting language=0x10000: out of range"},
      {"[machine]\nwindows-dir=WINNT\n",
       "line 2: setting windows-dir=WINNT: not a full Windows path"},
      {"[machine]\nclock=fixed 2001-02-30 00:00:00\n", "no such date or time"},
      {"[machine]\nnonsense\n", "line 2: expected key=value"},
      {"kind=nt4\n", "line 1: expected key=value in a section"},
      {"[machine]\ncolour=blue\n", "unknown setting 'colour'"},
      {"[elsewhere]\n", "line 1: unknown section [elsewhere]"},
      {"[machine]\nremovable=A:\n", "setting removable=A:: expected drive letters"},
      {"[held]\nC:\\a|b\n", "line 2: setting held=C:\\a|b"},
      // Numbers: sign, range, overflow and anything around the digits.
      {"[capacity]\nC=-5\n", "line 2: setting capacity.C=-5: must not be negative"},
      {"[capacity]\nC=18446744073709551616\n", "capacity.C=18446744073709551616: out of range"},
      {"[capacity]\nC=4611686018427387905\n", "out of range 0..4611686018427387904"},
      {"[capacity]\nC=12k\n", "setting capacity.C=12k: not a number"},
      {"[capacity]\nC= 12\n", "setting capacity.C= 12: not a number"},
      {"[capacity]\nC=0x\n", "setting capacity.C=0x: not a number"},
      {"[machine]\nlanguage=+-5\n", "setting language=+-5: not a number"},
      {"[machine]\nlanguage=0x-5\n", "setting language=0x-5: not a number"},
      {"[machine]\nlanguage=-1\n", "setting language=-1: must not be negative"},
      {"[machine]\ntimezone=841\n", "setting timezone=841: out of range -840..840"},
      {"[machine]\ntimezone=-841\n", "setting timezone=-841: out of range -840..840"},
      {"[machine]\ntimezone=--5\n", "setting timezone=--5: not a number"},
      {"[machine]\ntimezone=-9223372036854775809\n", "out of range -840..840"},
      {"[machine]\nscreen=-800x600\n", "setting screen=-800x600: must not be negative"},
      {"[machine]\nscreen=800x600 \n", "setting screen=800x600 : not a number"},
      {"[machine]\nversion=4294967296.0\n", "setting version=4294967296.0: out of range 0..255"},
      {"[machine]\nversion=4.-1\n", "setting version=4.-1: must not be negative"},
      {"[machine]\nversion=4.0.1.2\n", "setting version=4.0.1.2: not a number"},
      {"[machine]\nplatform-id=1e3\n", "setting platform-id=1e3: not a number"},
      {"[machine]\ncaption-height=0\n", "setting caption-height=0: out of range 1..1000"},
      {"[machine]\nclock=offset 99999999999999999999\n", "out of range"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      MachineSettings::Parse(c.text, "machine.ini");
      ADD_FAILURE() << "accepted";
    } catch (const MachineError& e) {
      EXPECT_THAT(e.Message(), ::testing::HasSubstr(c.message));
    }
  }
  MachineSettings unchanged = s;
  EXPECT_THROW(unchanged.Set("screen", "0x100"), MachineError);
  EXPECT_EQ(unchanged.Items(), s.Items()) << "a refused setting changes nothing";
  // What the checks must still let through.
  unchanged.Set("timezone", "-840");
  unchanged.Set("timezone", "+60");
  unchanged.Set("capacity.c", "0x10");
  unchanged.Set("clock", "offset -3600");
  unchanged.Set("version", "4.10.1998");
  EXPECT_EQ(unchanged.timeZoneMinutes, 60);
  EXPECT_EQ(unchanged.capacity.at('C'), 16u);
  EXPECT_EQ(unchanged.clockOffsetSeconds, -3600);
  EXPECT_EQ(unchanged.version.build, 1998u);
}

// A machine directory with a part missing or damaged is refused by name,
// and opening it changes nothing there (no registry folder is made, no
// settings written), so the damage stays visible.
TEST_F(SimMachineTest, AMachineThatIsNotWholeIsRefusedWithWhatIsMissing) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> damage;
    const char* message;
  };
  const auto writeIni = [](const std::string& text) {
    return [text](const fs::path& dir) {
      std::ofstream(dir / "machine.ini", std::ios::trunc) << text;
    };
  };
  const Case cases[] = {
      {"no registry folder", [](const fs::path& d) { fs::remove_all(d / "registry"); },
       "not a whole simulated machine: its registry folder (registry/) is missing"},
      {"registry is a file",
       [](const fs::path& d) {
         fs::remove_all(d / "registry");
         std::ofstream(d / "registry") << "x";
       },
       "its registry folder (registry/) is missing"},
      {"empty machine.ini", writeIni(""), "machine.ini is empty"},
      {"machine.ini without its section", writeIni("; only a comment\nkind=nt4\n"),
       "machine.ini has no [machine] section"},
      {"machine.ini is a folder",
       [](const fs::path& d) {
         fs::remove(d / "machine.ini");
         fs::create_directory(d / "machine.ini");
       },
       "machine.ini is not a regular file"},
      {"no machine.ini", [](const fs::path& d) { fs::remove(d / "machine.ini"); },
       "is not a simulated machine (no machine.ini there)"},
      {"no drive folder of Windows", [](const fs::path& d) { fs::remove_all(d / "drive_c"); },
       "the folder of its Windows drive C: (drive_c/) is missing"},
      {"settings damaged by hand", writeIni("[machine]\nkind=nt4\n[capacity]\nC=-5\n"),
       "machine.ini, line 4: setting capacity.C=-5: must not be negative"},
      {"machine.ini that never ends",
       writeIni("[machine]\nkind=nt4\n" + std::string(2 * 1024 * 1024, ';') + "\n"),
       "machine.ini: the file is larger than the limit of 1 MiB"},
      {"no directory at all", [](const fs::path& d) { fs::remove_all(d); },
       "is not a simulated machine (no such directory)"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "broken" + std::to_string(n++);
    const fs::path dir = fs::path(root_) / name;
    Make({}, name.c_str());
    c.damage(dir);
    std::vector<std::string> before;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(dir, ec))
      before.push_back(e.path().string());
    try {
      SimMachine::Open(dir.string());
      ADD_FAILURE() << "opened";
    } catch (const MachineError& e) {
      EXPECT_THAT(e.Message(), ::testing::HasSubstr(c.message));
    }
    std::vector<std::string> after;
    for (const auto& e : fs::recursive_directory_iterator(dir, ec))
      after.push_back(e.path().string());
    EXPECT_EQ(after, before) << "opening changed the directory";
  }
}

TEST_F(SimMachineTest, TheClockFollowsTheSettings) {
  MachineOptions o;
  o.clock = "fixed 2001-06-15 12:30:44";
  o.timeZoneMinutes = 480;
  auto m = Make(o);
  TDateTime expected = EncodeDateTime(2001, 6, 15, 12, 30, 44, 0);
  EXPECT_DOUBLE_EQ(m->clock().Now(), expected);
  EXPECT_DOUBLE_EQ(FileTimeToDateTime(m->clock().NowUtc()),
                   EncodeDateTime(2001, 6, 15, 4, 30, 44, 0));
  // Files written on a fixed clock carry its time, unless a time was set:
  // that one stays through later writes, as on Windows.
  Write(m->files(), "C:\\stamped.txt", "x");
  EXPECT_EQ(m->files().Stat("C:\\stamped.txt")->lastWrite, m->clock().NowUtc());
  FileTime set = DateTimeToFileTime(EncodeDateTime(1999, 1, 2, 3, 4, 6, 0));
  auto f = m->files().OpenWrite("C:\\stamped.txt");
  f->SetLastWriteTime(set);
  f->Write("more", 4);
  f->Close();
  EXPECT_EQ(m->files().Stat("C:\\stamped.txt")->lastWrite, set);

  // Temporary names start where the clock says: repeatable on a fixed one.
  std::string temp = m->system().TempFileName("C:\\WINNT\\Temp", "bat");
  EXPECT_EQ(temp.find_first_not_of("0123456789ABCDEF", 17), temp.size() - 4) << temp;
  EXPECT_EQ(Make(o, "twin")->system().TempFileName("C:\\WINNT\\Temp", "bat"), temp);

  m->ChangeSettings([](MachineSettings& s) { s.Set("clock", "offset -86400"); });
  TDateTime hostNow = FileTimeToDateTime(FileTimeOfHost(std::time(nullptr), 0)) + 8.0 / 24;
  EXPECT_NEAR(m->clock().Now(), hostNow - 1, 1.0 / 1440);
}

// A file with bytes is cut; an empty one is left as it is on the host (a
// truncation there costs a flush to disk at close) but must look the same:
// stamped with the time of the create, as Windows stamps a replaced file.
TEST_F(SimMachineTest, CreatingOverAFileEmptiesItAndStampsItNow) {
  auto m = Make();
  const FileTime old = DateTimeToFileTime(EncodeDateTime(1999, 1, 2, 3, 4, 6, 0));
  const FileTime now = FileTimeOfHost(std::time(nullptr), 0);
  for (const std::string bytes : {"", "old content"}) {
    SCOPED_TRACE("held " + std::to_string(bytes.size()) + " bytes");
    Write(m->files(), "C:\\replaced.bin", bytes);
    auto f = m->files().OpenWrite("C:\\replaced.bin");
    f->SetLastWriteTime(old);
    f->Close();
    m->files().Create("C:\\replaced.bin")->Close();
    const auto info = m->files().Stat("C:\\replaced.bin");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, 0u);
    EXPECT_GE(info->lastWrite, now);
  }
}

TEST_F(SimMachineTest, TheDefaultBackendComesFromTheEnvironment) {
  auto m = Make();
  const char* saved = std::getenv("PELLMORE_MACHINE");
  std::string keep = saved ? saved : "";
  ::unsetenv("PELLMORE_MACHINE");
  EXPECT_THROW(CreateDefaultBackend(), MachineError);
  ::setenv("PELLMORE_MACHINE", m->HostDir().c_str(), 1);
  EXPECT_EQ(CreateDefaultBackend()->system().WindowsDirectory(), "C:\\WINNT");
  ::setenv("PELLMORE_MACHINE", root_.c_str(), 1);
  EXPECT_THROW(CreateDefaultBackend(), MachineError) << "a directory that holds no machine";
  if (saved)
    ::setenv("PELLMORE_MACHINE", keep.c_str(), 1);
  else
    ::unsetenv("PELLMORE_MACHINE");
}

TEST_F(SimMachineTest, NamesMadeOutsideTheMachineAreFoundInAnyCase) {
  auto m = Make();
  auto& f = m->files();
  Write(f, "C:\\Case.TXT", "x");
  f.MoveFile("C:\\CASE.TXT", "C:\\case.txt", 0);  // as Windows: the new case
  EXPECT_EQ(f.FindFiles("C:\\CASE.*").at(0).name, "case.txt");

  EXPECT_FALSE(f.FileExists("C:\\WINNT\\late.txt"));  // fills the name cache
  std::ofstream(m->HostDir() + "/drive_c/WINNT/Late.TXT") << "added by hand";
  EXPECT_EQ(Read(f, "C:\\WINNT\\late.txt"), "added by hand");
  // Many files in one directory: each create is one lookup, not a rescan.
  for (int i = 0; i < 1000; ++i) Write(f, "C:\\WINNT\\Temp\\File" + std::to_string(i) + ".TMP", "");
  EXPECT_EQ(f.FindFiles("C:\\WINNT\\Temp\\file1*.tmp").size(), 111u);
}

}  // namespace
