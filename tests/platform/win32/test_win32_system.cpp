// System queries answered by Windows itself: temporary and short names it
// makes, its directories, version and clock, and the command line it hands
// the program (split by the shared splitter, not the runtime's argv).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "framework/StrUtils.h"
#include "platform/Clock.h"
#include "platform/CommandLine.h"
#include "platform/win32/Win32Host.h"
#include "support/ContractMachine.h"

namespace {

using Win32System = ContractMachine;

bool IsHex(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// An 8.3 name: base of 1..8 and extension of 0..3 characters, no blanks.
bool IsShortName(std::string_view name) {
  if (name.find(' ') != std::string_view::npos) return false;
  const size_t dot = name.find('.');
  const size_t base = dot == std::string_view::npos ? name.size() : dot;
  const size_t ext = dot == std::string_view::npos ? 0 : name.size() - dot - 1;
  return base >= 1 && base <= 8 && ext <= 3 && name.find('.', base + 1) == std::string_view::npos;
}

TEST_F(Win32System, TemporaryNamesComeFromWindows) {
  const std::string first = System().TempFileName(Scratch(), "pellmore");
  const std::string second = System().TempFileName(Scratch(), "pellmore");
  EXPECT_NE(first, second);
  for (const auto& path : {first, second}) {
    SCOPED_TRACE(path);
    EXPECT_TRUE(SameText(ExtractFileDir(path), Scratch()));
    const std::string name = ExtractFileName(path);
    ASSERT_GT(name.size(), 7u);
    EXPECT_EQ(name.substr(0, 3), "pel");  // three characters of the prefix
    EXPECT_TRUE(EndsText(name, ".tmp"));
    EXPECT_TRUE(IsHex(name.substr(3, name.size() - 7)));
    const auto info = Files().Stat(path);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->size, 0u);
  }
  // A relative directory still gives a full name.
  System().SetCurrentDirectory(Scratch());
  EXPECT_TRUE(SameText(ExtractFileDir(System().TempFileName(".", "rel")), Scratch()));
  // A missing directory is refused; Windows says "path" or "directory".
  const uint32_t code = CodeOf([&] { System().TempFileName(At("missing"), "x"); });
  EXPECT_TRUE(code == platform::kErrorPathNotFound || code == platform::kErrorDirectory) << code;
}

TEST_F(Win32System, ShortNamesShortenEveryComponent) {
  Files().CreateDirectory(At("Long Directory Name"));
  const std::string file = At("Long Directory Name\\A long file name.text");
  WriteFile(file, "twelve bytes");
  const std::string shortPath = System().ShortPathName(file);
  SCOPED_TRACE(shortPath);
  EXPECT_TRUE(IsShortName(ExtractFileName(shortPath)));
  EXPECT_TRUE(IsShortName(ExtractFileName(ExtractFileDir(shortPath))));
  EXPECT_EQ(ReadFile(shortPath), "twelve bytes");
  EXPECT_EQ(System().ShortPathName(shortPath), shortPath);
}

TEST_F(Win32System, VersionLanguageAndScreenAreWhatWindowsReports) {
  const platform::WindowsVersion v = System().Version();
  std::printf(
      "Windows %u.%u build %u platform %u '%s'; language %04X; screen %dx%d, caption %d%s\n",
      v.major, v.minor, v.build, v.platformId, v.csdVersion.c_str(), System().UserDefaultLangID(),
      System().ScreenWidth(), System().ScreenHeight(), System().CaptionHeight(),
      platform::win32::WineVersion() ? (" (Wine " + *platform::win32::WineVersion() + ")").c_str()
                                     : "");
  EXPECT_EQ(v.platformId, platform::kPlatformNT);
  EXPECT_GE(v.major, 5u);
  EXPECT_LT(v.build, 0x10000u);
  EXPECT_NE(System().UserDefaultLangID(), 0);
  EXPECT_GT(System().ScreenWidth(), 0);
  EXPECT_GT(System().ScreenHeight(), 0);
  EXPECT_GT(System().CaptionHeight(), 0);
}

TEST_F(Win32System, ClockAgreesWithTheHostAndTheTimeZone) {
  using namespace std::chrono;
  // FILETIME counts from 1601; the Unix epoch is 11644473600 s later.
  const auto unix100ns =
      duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100;
  const uint64_t host = static_cast<uint64_t>(unix100ns) + 116444736000000000ULL;
  const platform::FileTime now = platform::clock().NowUtc();
  const uint64_t diff = now > host ? now - host : host - now;
  EXPECT_LT(diff, 50000000u);  // 5 s

  const double local = platform::clock().Now();
  const double utc = platform::FileTimeToDateTime(platform::clock().NowUtc());
  const double offsetMinutes = (local - utc) * 24 * 60;
  EXPECT_NEAR(offsetMinutes, System().TimeZoneOffsetMinutes(), 0.1);
}

TEST_F(Win32System, CommandLineComesFromWindowsAndSplitsLikeTheRuntime) {
  const std::vector<std::string> args = System().Arguments();
  const std::vector<std::string>& runtime = ::testing::internal::GetArgvs();
  ASSERT_FALSE(args.empty());
  ASSERT_EQ(args.size(), runtime.size()) << System().CommandLine();
  // The program itself may be given without its extension or directory.
  EXPECT_TRUE(ContainsText(ExtractFileName(System().ModuleFileName()),
                           ChangeFileExt(ExtractFileName(args[0]), "")));
  // ctest passes plain switches, which both splitters read the same way.
  for (size_t i = 1; i < args.size(); ++i) EXPECT_EQ(args[i], runtime[i]);
  EXPECT_TRUE(Files().FileExists(System().ModuleFileName()));
}

}  // namespace
