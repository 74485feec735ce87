// BUILD.INF's text: its first line names the build directory, and a line
// that names only a root (however spelt) is refused rather than building
// into that root.
#include <gmock/gmock.h>

#include "install/BuildInf.h"
#include "install/InstallErrors.h"

namespace {

constexpr const char kRefusal[] =
    "Must be 1 line in BUILD.INF. This line should specify the build directory";

TEST(BuildInf, FirstLineNamesTheBuildDirectory) {
  EXPECT_EQ(BuildInfFirstLine("C:\\Build\r\nD:\\Other\r\n"), "C:\\Build");
  EXPECT_EQ(BuildInfFirstLine("  D:\\My Build  "), "  D:\\My Build  ");
  try {
    BuildInfFirstLine("");
    FAIL() << "an empty BUILD.INF was accepted";
  } catch (const IEInstall& e) {
    EXPECT_EQ(e.Message(), kRefusal);
  }
}

TEST(BuildInf, BuildDirectoryIsTrimmedAndNeverARoot) {
  struct Case {
    const char* line;
    const char* dir;  // null: refused
  };
  const Case cases[] = {
      {" C:\\Build\\ ", "C:\\Build"},
      {"C:\\Build\\\\", "C:\\Build"},
      {"C:\\Build \\", "C:\\Build"},
      {"\\\\srv\\share\\kit", "\\\\srv\\share\\kit"},
      {"Build", "Build"},
      {"", nullptr},
      {"   ", nullptr},
      {"C:", nullptr},
      {"C:\\", nullptr},
      {"C:\\\\", nullptr},  // was taken as the directory "C:\"
      {"\\", nullptr},
      {"C:\\ \\", nullptr},
      {"C:\t\\", nullptr},
      {"\\\\", nullptr},
      {"\\\\srv\\share\\", nullptr},
      {"\\\\srv\\share\\\\\\", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    if (c.dir) {
      EXPECT_EQ(BuildDirectoryOf(c.line), c.dir);
      continue;
    }
    try {
      const std::string dir = BuildDirectoryOf(c.line);
      ADD_FAILURE() << "accepted as " << dir;
    } catch (const IEInstall& e) {
      EXPECT_EQ(e.Message(), kRefusal);
    }
  }
}

}  // namespace
