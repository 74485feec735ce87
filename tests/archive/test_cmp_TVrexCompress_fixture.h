// The archive component's test fixture: a test machine per case
// (support/TestMachine.h; simulated: with an A: drive for floppies and a D:
// drive), the C:\\ paths of the tests moved into its scratch directory by
// P(), a fake version service
// (versions by path), whole-file helpers and a snapshot of a directory so a
// case can prove that a failure left it as it was.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "archive/cmp_TVrexCompress.h"
#include "files/version/cmp_TVersion.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "platform/VersionInfo.h"
#ifndef _WIN32
#include "platform/sim/SimMachine.h"
#endif
#include "support/Fixture.h"
#include "support/Noise.h"
#include "support/TestMachine.h"

namespace archive_test {

using testing::HasSubstr;
using testing::ThrowsMessage;

// Versions by path (upper case); other files have no resource.
class FakeVersions : public platform::VersionInfoService {
 public:
  std::map<std::string, std::string> byPath;  // "1.2.3.4"
  std::unique_ptr<platform::VersionInfoData> Load(std::string_view path) override;
};

// Deterministic text-like bytes with some noise: they compress, not much.
std::string Sample(size_t n, uint32_t seed);
// Bytes that do not compress.
using testsupport::Noise;

class ArchiveTest : public PellmoreTest {
 protected:
  ArchiveTest();
  ~ArchiveTest() override;

  // `text` with its C:\\ paths in the scratch directory.
  std::string P(std::string_view text) const { return testMachine_.InScratch(text); }

  void Write(const std::string& path, const std::string& bytes);
  std::string Read(const std::string& path);
  bool Exists(const std::string& path) { return platform::files().FileExists(path); }
  // Every file below `dir` (relative path -> contents); sub-directories
  // appear with a trailing backslash.
  std::map<std::string, std::string> Snapshot(const std::string& dir);
  // The file's last write as a local date-time.
  TDateTime DateOf(const std::string& path);
  void SetDate(const std::string& path, TDateTime local);

  // Writes files (path -> contents) and compresses them into `archive`
  // in one batch with `id`.
  void Build(TVrexCompress& c, const std::string& archive,
             const std::vector<std::pair<std::string, std::string>>& files,
             TlzhCommand command = lzcOverwrite, int id = 0);
  // Extracts the named members into `dir`.
  void ExtractTo(TVrexCompress& c, const std::string& dir, const std::vector<std::string>& names);

  testsupport::TestMachine testMachine_;  // first: the rest lives on it
#ifndef _WIN32
  platform::sim::SimMachine* machine_ = nullptr;  // for tests that shape the machine
#endif
  FakeVersions* versions_ = nullptr;
};

}  // namespace archive_test
