// The platform queries of routines_API on simulated machines of each kind:
// the platform kind table, temporary names kept or not, short names, the
// directories, and the fixed messages when the system refuses.
#include "shell/routines_API.h"

#include <gtest/gtest.h>
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/sim/SimMachine.h"
#include "support/SimMachineHome.h"

using platform::sim::MachineOptions;
using platform::sim::MachineSettings;
using platform::sim::SimMachine;

namespace {

class APIRoutines : public ::testing::Test {
 protected:
  void TearDown() override { platform::Install(nullptr); }
  // Creates a machine of `kind` and makes it the current backend.
  SimMachine& Use(const std::string& kind) {
    MachineOptions o;
    o.kind = kind;
    return home_.Install(o);
  }
  testsupport::SimMachineHome home_{"pellmore-api"};
};

TEST_F(APIRoutines, WindowsPlatformFollowsTheKindTable) {
  struct Case {
    const char* kind;
    const char* version;  // overrides the kind's version when set
    const char* platformId;
    uint8_t expected;
  };
  const Case cases[] = {
      {"win32s", nullptr, nullptr, 0}, {"95", nullptr, nullptr, 1},
      {"98", nullptr, nullptr, 1},     {"me", nullptr, nullptr, 1},
      {"nt351", nullptr, nullptr, 3},  {"nt4", nullptr, nullptr, 2},
      {"2000", nullptr, nullptr, 2},   {"xp", nullptr, nullptr, 2},
      {"nt4", "3.50.807", nullptr, 3}, {"nt4", "3.5", nullptr, 3},
      {"nt4", "3.10.528", nullptr, 2}, {"nt4", "13.50.1", nullptr, 2},
      {"nt4", "6.1.7601", nullptr, 2}, {"nt4", nullptr, "3", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + (c.version ? c.version : "") +
                 (c.platformId ? c.platformId : ""));
    SimMachine& m = Use(c.kind);
    m.ChangeSettings([&](MachineSettings& s) {
      if (c.version) s.Set("version", c.version);
      if (c.platformId) s.Set("platform-id", c.platformId);
    });
    EXPECT_EQ(WindowsPlatform(), c.expected);
    platform::Install(nullptr);
  }
}

TEST_F(APIRoutines, TempFileNameKeepsOrFreesTheName) {
  Use("nt4");
  std::string kept = TempFileName(true);
  EXPECT_EQ(kept.rfind("C:\\WINNT\\Temp\\bat", 0), 0u) << kept;
  EXPECT_EQ(kept.substr(kept.size() - 4), ".tmp");
  auto info = platform::files().Stat(kept);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->size, 0u);

  std::string fresh = TempFileName(false);
  EXPECT_NE(fresh, kept);
  EXPECT_EQ(fresh.rfind("C:\\WINNT\\Temp\\bat", 0), 0u) << fresh;
  EXPECT_FALSE(platform::files().Stat(fresh)) << "the empty file is gone again";
}

TEST_F(APIRoutines, DirectoriesComeAsTheSystemReturnsThem) {
  Use("95");
  EXPECT_EQ(WindowsDirectory(), "C:\\WINDOWS");
  EXPECT_EQ(SystemDirectory(), "C:\\WINDOWS\\System");
  platform::Install(nullptr);
  Use("xp");
  EXPECT_EQ(SystemDirectory(), "C:\\WINDOWS\\System32");
}

TEST_F(APIRoutines, ShortPathNameConvertsOnlyWhatTheSystemCan) {
  Use("nt4");
  platform::files().CreateDirectories("C:\\Program Files\\Quenby Engine");
  EXPECT_EQ(ShortPathName("C:\\Program Files\\Quenby Engine"), "C:\\PROGRA~1\\QUENBY~1");
  EXPECT_EQ(ShortPathName("C:\\WINNT"), "C:\\WINNT");
  // No conversion: the path comes back as given, never cut or emptied.
  EXPECT_EQ(ShortPathName("C:\\No Such Dir\\file.txt"), "C:\\No Such Dir\\file.txt");
  std::string tooLong = "C:\\Program Files\\" + std::string(390, 'x');
  EXPECT_EQ(ShortPathName(tooLong), tooLong);
}

// A system that refuses every query, as a broken or foreign system might.
class RefusingSystem : public platform::SystemInfo {
 public:
  [[noreturn]] static void No() { throw platform::OsError("GetSomething", "", 5); }
  std::string WindowsDirectory() override { No(); }
  std::string SystemDirectory() override { No(); }
  std::string TempDirectory() override { No(); }
  std::string TempFileName(std::string_view, std::string_view) override { No(); }
  std::string ShortPathName(std::string_view) override { No(); }
  std::string CurrentDirectory() override { No(); }
  void SetCurrentDirectory(std::string_view) override { No(); }
  platform::WindowsVersion Version() override { No(); }
  uint16_t UserDefaultLangID() override { No(); }
  int ScreenWidth() override { No(); }
  int ScreenHeight() override { No(); }
  int CaptionHeight() override { No(); }
  int TimeZoneOffsetMinutes() override { No(); }
  std::string ModuleFileName() override { No(); }
  std::string CommandLine() override { No(); }
  void UseHostArguments(int, const char* const*) override { No(); }
};

class RefusingBackend : public platform::Backend {
 public:
  explicit RefusingBackend(std::unique_ptr<SimMachine> m) : machine_(std::move(m)) {}
  platform::Registry& registry() override { return machine_->registry(); }
  platform::FileSystem& files() override { return machine_->files(); }
  platform::SystemInfo& system() override { return system_; }
  platform::Clock& clock() override { return machine_->clock(); }

 private:
  std::unique_ptr<SimMachine> machine_;
  RefusingSystem system_;
};

TEST_F(APIRoutines, RefusedQueriesRaiseTheFixedMessages) {
  platform::Install(std::make_unique<RefusingBackend>(home_.Create()));
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  const Case cases[] = {
      {"version", [] { WindowsPlatform(); }, "无法获取 Windows 版本信息"},
      {"temporary file", [] { TempFileName(false); }, "无法创建临时文件"},
      {"system directory", [] { SystemDirectory(); }, "无法获取 System 路径信息"},
      {"Windows directory", [] { WindowsDirectory(); }, "无法获取 Windows 路径信息"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.call();
      ADD_FAILURE() << "no exception";
    } catch (const EPellmoreAbnormal& e) {
      EXPECT_STREQ(e.ClassName(), "EAPIRoutines");
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  EXPECT_EQ(ShortPathName("C:\\WINNT"), "C:\\WINNT") << "short names never raise";
}

TEST_F(APIRoutines, AMissingOrOverlongDirectoryIsAFailure) {
  SimMachine& m = Use("nt4");
  m.ChangeSettings([](MachineSettings& s) { s.Set("temp-dir", "C:\\NoTemp"); });
  EXPECT_THROW(TempFileName(true), EAPIRoutines);
  // A directory longer than the 260 characters Windows answers with.
  std::string deep = "C:\\" + std::string(250, 'w') + "\\" + std::string(20, 'x');
  m.ChangeSettings([&](MachineSettings& s) { s.Set("windows-dir", deep); });
  try {
    WindowsDirectory();
    ADD_FAILURE() << "no exception";
  } catch (const EAPIRoutines& e) {
    EXPECT_EQ(e.Message(), kAPIWindowsDirFailed);
  }
}

}  // namespace
