// What only the real system can show about programs, libraries and
// restarts: a file held by a second running program, delayed moves as
// Windows records them and as a restart (wineboot -r under Wine) performs
// them, WININIT.INI renames, and the portable export reader agreeing with
// GetProcAddress on the generator's DLLs.
#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "framework/StrUtils.h"
#include "platform/CommandLine.h"
#include "platform/IniFiles.h"
#include "platform/Libraries.h"
#include "platform/Processes.h"
#include "platform/Restart.h"
#include "platform/sim/PeExportReader.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Text.h"
#include "support/ContractMachine.h"
#include "tools/pegen/PeWriter.h"

namespace {

using namespace platform;
using ::testing::ElementsAre;

constexpr const wchar_t* kSessionManager = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

// Waits up to ten seconds for `done`.
template <class F>
bool WaitFor(F&& done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return done();
}

std::string ProgramDirectory() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::string full = win32::Narrow(std::wstring_view(path, n));
  return full.substr(0, full.rfind('\\'));
}

// PendingFileRenameOperations read raw: the registry service stops a
// REG_MULTI_SZ at its first empty string, this value holds them for deletes.
std::vector<std::string> PendingRenames() {
  HKEY key;
  std::vector<std::string> out;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != 0) return out;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, &type, nullptr, &size) == 0 &&
      type == REG_MULTI_SZ) {
    std::wstring data(size / sizeof(wchar_t), L'\0');
    RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, &type,
                     reinterpret_cast<BYTE*>(data.data()), &size);
    // Pairs of strings; the list ends with an extra terminator.
    size_t start = 0;
    while (start < data.size()) {
      size_t end = data.find(L'\0', start);
      if (end == std::wstring::npos) end = data.size();
      out.push_back(win32::Narrow(std::wstring_view(data).substr(start, end - start)));
      start = end + 1;
    }
    while (!out.empty() && out.back().empty() && out.size() % 2 != 0) out.pop_back();
  }
  RegCloseKey(key);
  return out;
}

class Win32Restart : public ContractMachine {
 protected:
  // Performs what is queued for the restart the way Wine restarts.
  void RestartUnderWine() { EXPECT_EQ(processes().Run("wineboot.exe -r", ShowMode::Hidden), 0u); }
  // The test's own paths: delayed moves name them in the system's full
  // form, which is what the checks compare.
  std::string Full(std::string_view relative) { return Files().FullPathName(At(relative)); }
};

TEST_F(Win32Restart, AFileHeldByAnotherProgramCanBeReadButNotReplacedUntilItEnds) {
  const std::string helper = ProgramDirectory() + "\\pellmore_holdfile.exe";
  ASSERT_TRUE(Files().FileExists(helper)) << helper;
  WriteFile(At("held.dll"), "old");
  WriteFile(At("held.1"), "new");
  const std::string line = JoinCommandLine({helper, At("held.dll"), At("ready"), At("release")});
  ASSERT_GT(processes().Start(line, ShowMode::Hidden), 31u);
  ASSERT_TRUE(WaitFor([&] { return Files().FileExists(At("ready")); }));

  EXPECT_EQ(ReadFile(At("held.dll")), "old");
  EXPECT_EQ(CodeOf([&] { Files().DeleteFile(At("held.dll")); }), kErrorSharingViolation);
  // Replacing a file another program has open is refused as access denied
  // (the file system will not supersede an open file); deleting it as a
  // sharing violation.
  EXPECT_EQ(CodeOf([&] { Files().MoveFile(At("held.1"), At("held.dll"), kMoveReplaceExisting); }),
            kErrorAccessDenied);

  WriteFile(At("release"), "");
  EXPECT_TRUE(WaitFor([&] {
    return CodeOf([&] { Files().MoveFile(At("held.1"), At("held.dll"), kMoveReplaceExisting); }) ==
           0;
  }));
  EXPECT_EQ(ReadFile(At("held.dll")), "new");
}

TEST_F(Win32Restart, DelayedMovesAreRecordedAndARestartPerformsThem) {
  WriteFile(At("app.dll"), "old");
  WriteFile(At("app.1"), "new");
  WriteFile(At("stale.tmp"), "x");
  const size_t before = PendingRenames().size();
  restart().MoveAtRestart(At("app.1"), At("app.dll"));
  restart().MoveAtRestart(At("stale.tmp"), "");
  auto pending = PendingRenames();
  ASSERT_EQ(pending.size(), before + 4);
  EXPECT_THAT(std::vector<std::string>(pending.end() - 4, pending.end()),
              ElementsAre("\\??\\" + Full("app.1"), "!\\??\\" + Full("app.dll"),
                          "\\??\\" + Full("stale.tmp"), ""));
  EXPECT_EQ(ReadFile(At("app.dll")), "old");

  if (!testsupport::OnWine()) GTEST_SKIP() << "only Wine restarts without ending the test";
  RestartUnderWine();
  EXPECT_EQ(ReadFile(At("app.dll")), "new");
  EXPECT_FALSE(Files().FileExists(At("app.1")));
  EXPECT_FALSE(Files().FileExists(At("stale.tmp")));
}

TEST_F(Win32Restart, WininitRenamesRunAtTheRestartAndTheFileIsKeptAsBak) {
  if (!testsupport::OnWine()) GTEST_SKIP() << "only Wine restarts without ending the test";
  WriteFile(At("w.dll"), "old");
  WriteFile(At("w.1"), "new");
  WriteFile(At("w.junk"), "x");
  // WININIT.INI takes short names: no blanks, no long names.
  const std::string dll = System().ShortPathName(At("w.dll"));
  iniFiles().WriteString("WININIT.INI", "Rename", dll, System().ShortPathName(At("w.1")));
  iniFiles().WriteString("WININIT.INI", "Rename", "NUL", System().ShortPathName(At("w.junk")));
  EXPECT_EQ(iniFiles().ReadString("wininit.ini", "rename", dll, "-"),
            System().ShortPathName(At("w.1")));
  RestartUnderWine();
  EXPECT_EQ(ReadFile(At("w.dll")), "new");
  EXPECT_FALSE(Files().FileExists(At("w.junk")));
  const std::string windows = IncludeTrailingBackslash(System().WindowsDirectory());
  EXPECT_FALSE(Files().FileExists(windows + "WININIT.INI"));
  EXPECT_TRUE(Files().FileExists(windows + "WININIT.BAK"));
}

TEST_F(Win32Restart, ThePortableExportReaderAgreesWithTheLoader) {
  pegen::PeOptions o;
  o.machine = pegen::kLoadableMachine;
  o.exports = {{"DllRegisterServer", 0x8000FFFFu, 0}, {"Alpha", 1, 4}, {"Beta", 0x7FFFFFFF, 12}};
  auto bytes = pegen::BuildPe(o);
  WriteFile(At("cross.dll"), std::string(bytes.begin(), bytes.end()));
  platform::sim::SpanSource source(bytes);
  auto image = platform::sim::ReadPeImage(source);
  ASSERT_TRUE(image);
  ASSERT_EQ(image->exports.size(), 3u);
  auto lib = libraries().Load(At("cross.dll"));
  for (const auto& e : image->exports) {
    SCOPED_TRACE(e.name);
    ASSERT_TRUE(e.constantResult);
    if (e.name == "DllRegisterServer") {
      EXPECT_EQ(lib->Call(e.name), int32_t(*e.constantResult));
    } else {
      // Exports that pop arguments are only looked up, not called bare.
      EXPECT_TRUE(lib->HasExport(e.name));
    }
  }
}

}  // namespace
