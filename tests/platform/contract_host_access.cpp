// Contract of host access, run on both builds: environment values and host
// files keep their text at non-ASCII names (the wide calls on Windows), and
// reading, appending and their refusals say the same on either build.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/HostAccess.h"
#include "support/Fixture.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <stdlib.h>
#include <sys/stat.h>

#include "framework/Application.h"
#include "framework/WidgetsetSlot.h"
#include "platform/headless/HeadlessSession.h"
#endif

namespace {

namespace fs = std::filesystem;
using platform::EHostFileError;
using platform::HostEnvironment;
using platform::OpenHostAppendFile;
using platform::ReadHostFile;

// A folder name no single-byte code page holds: German and Chinese.
const std::string kOddName =
    "Gr\xC3\xB6\xC3\x9F"
    "e-\xE6\xB8\xAC\xE8\xA9\xA6";

std::string Utf8Of(const fs::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// Sets (or with nullopt removes) a variable of this process the way a
// parent process would have set it.
void SetVariable(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  const std::wstring wide = PathOf(name).wstring();
  SetEnvironmentVariableW(wide.c_str(), value ? PathOf(*value).wstring().c_str() : nullptr);
#else
  if (value)
    ::setenv(name.c_str(), value->c_str(), 1);
  else
    ::unsetenv(name.c_str());
#endif
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EHostFileError& e) {
    return e.Message();
  }
  return "no error";
}

class HostAccess : public PellmoreTest {
 protected:
  HostAccess() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / ("pellmore-host-" + std::string(info->name())) /
           PathOf(kOddName);
    fs::remove_all(dir_.parent_path());
    fs::create_directories(dir_);
  }
  ~HostAccess() override {
    std::error_code ec;
    fs::remove_all(dir_.parent_path(), ec);
  }
  // The UTF-8 path of `name` in the test's non-ASCII folder.
  std::string At(const std::string& name) const { return Utf8Of(dir_ / PathOf(name)); }

  fs::path dir_;
};

TEST_F(HostAccess, EnvironmentValuesKeepTheirText) {
  const std::string name = "PELLMORE_HOST_ACCESS_TEST";
  struct Case {
    const char* what;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"unset", std::nullopt},
      {"plain", "headless"},
      {"a non-ASCII path", "C:\\" + kOddName + "\\setup.ui"},
      // Longer than a first guess at the buffer, on Windows.
      {"long", std::string(700, 'x') + kOddName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetVariable(name, c.value);
    EXPECT_EQ(HostEnvironment(name), c.value);
  }
  // Set but empty is not unset (Windows answers both with a length of 0).
  SetVariable(name, "");
  EXPECT_EQ(HostEnvironment(name), std::optional<std::string>(""));
  SetVariable(name, std::nullopt);
  EXPECT_EQ(HostEnvironment(name), std::nullopt) << "a removed variable is unset again";
}

// Appending creates the file, each Append reaches it at once, and opening
// again continues after what is there; reading gives back every byte, also
// past one read chunk.
TEST_F(HostAccess, FilesAtNonAsciiPathsAreAppendedAndReadWhole) {
  const std::string log = At(kOddName + ".log");
  auto out = OpenHostAppendFile(log);
  out->Append("first\n");
  EXPECT_EQ(ReadHostFile(log, 100), "first\n") << "written before the file is closed";
  out.reset();
  OpenHostAppendFile(log)->Append(std::string("second\0line\n", 12));
  EXPECT_EQ(ReadHostFile(log, 100), std::string("first\nsecond\0line\n", 18));

  const std::string big = At("big.dfm");
  std::string text;
  for (int i = 0; text.size() < 200 * 1024; ++i) text += "line " + std::to_string(i) + "\n";
  OpenHostAppendFile(big)->Append(text);
  EXPECT_EQ(ReadHostFile(big, text.size()), text) << "a file exactly at the limit is read";
}

// Each refusal names its reason; nothing is created or changed by one.
TEST_F(HostAccess, RefusalsNameTheirReason) {
  const std::string existing = At("existing.ui");
  OpenHostAppendFile(existing)->Append("12345");
  const std::string missing = At("missing.ui");
  const std::string folder = Utf8Of(dir_);
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string message;
  };
  const Case cases[] = {
      {"read a missing file", [&] { ReadHostFile(missing, 100); },
       "the file cannot be opened (No such file or directory)"},
      {"read a folder", [&] { ReadHostFile(folder, 100); }, "the path names a directory"},
      {"read past the limit", [&] { ReadHostFile(existing, 4); },
       "the file is larger than the limit of 4 bytes"},
      {"read with a NUL in the name", [&] { ReadHostFile(existing + std::string(1, '\0'), 100); },
       "the file cannot be opened (Invalid argument)"},
      {"append to a folder", [&] { OpenHostAppendFile(folder); }, "the path names a directory"},
      {"append in a missing folder", [&] { OpenHostAppendFile(At("none/x.log")); },
       "the file cannot be opened (No such file or directory)"},
      {"append with a NUL in the name",
       [&] { OpenHostAppendFile(At(std::string("x.log\0.ui", 9))); },
       "the file cannot be opened (Invalid argument)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ErrorOf(c.call), c.message);
  }
  EXPECT_EQ(ReadHostFile(existing, 5), "12345");
  EXPECT_FALSE(fs::exists(PathOf(missing)));
  EXPECT_FALSE(fs::exists(PathOf(At("x.log"))));
}

#ifndef _WIN32
// A FIFO nobody reads from would make an open for writing wait forever: it
// is refused instead.
TEST_F(HostAccess, AppendingToAFifoNeverWaitsForAReader) {
  const std::string fifo = At("transcript.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ErrorOf([&] { OpenHostAppendFile(fifo); }),
            "the file cannot be opened (No such device or address)");
}

// A transcript that cannot take its lines (a full disk) does not stop the
// run, and is not silently short: the failure is said once.
TEST_F(HostAccess, ATranscriptThatCannotBeWrittenIsReportedOnce) {
  ::testing::internal::CaptureStderr();
  InstallWidgetset(platform::headless::CreateHeadless("", "/dev/full"));
  EXPECT_EQ(Application().MessageBox("Reboot now?", "Setup", MB_YESNO), IDYES);
  EXPECT_EQ(Application().MessageBox("Really?", "Setup", MB_YESNO), IDYES);
  InstallWidgetset(nullptr);
  const std::string errors = ::testing::internal::GetCapturedStderr();
  const std::string line =
      "Cannot write the UI transcript /dev/full: writing the file failed (No space left on "
      "device)\n";
  EXPECT_NE(errors.find(line), std::string::npos) << errors;
  EXPECT_EQ(errors.find(line), errors.rfind(line)) << "said once: " << errors;
}
#endif

}  // namespace
