// The archive tests' fixture (see test_cmp_TVrexCompress_fixture.h).
#include "test_cmp_TVrexCompress_fixture.h"

#include "framework/StrUtils.h"
#include "framework/Strings.h"

namespace archive_test {
namespace {

class FakeVersionData : public platform::VersionInfoData {
 public:
  explicit FakeVersionData(const std::string& version) {
    uint32_t parts[4] = {0, 0, 0, 0};
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
      const size_t dot = version.find('.', start);
      parts[i] = uint32_t(std::stoul(version.substr(start, dot - start)));
      if (dot == std::string::npos) break;
      start = dot + 1;
    }
    fixed_.fileVersionMS = parts[0] << 16 | parts[1];
    fixed_.fileVersionLS = parts[2] << 16 | parts[3];
  }
  std::optional<platform::FixedFileInfo> Fixed() const override { return fixed_; }
  std::vector<platform::VersionTranslation> Translations() const override { return {}; }
  std::optional<std::string> StringValue(std::string_view, std::string_view) const override {
    return std::nullopt;
  }

 private:
  platform::FixedFileInfo fixed_;
};

}  // namespace

std::unique_ptr<platform::VersionInfoData> FakeVersions::Load(std::string_view path) {
  if (!platform::files().FileExists(path)) return nullptr;
  const auto it = byPath.find(AsciiUpperCase(path));
  if (it == byPath.end()) return nullptr;
  return std::make_unique<FakeVersionData>(it->second);
}

std::string Sample(size_t n, uint32_t seed) {
  std::string v(n, '\0');
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1664525u + 1013904223u;
    v[i] = (seed >> 28) < 12 ? char('a' + (i / 7) % 26) : char(seed >> 20);
  }
  return v;
}

namespace {
testsupport::TestMachineOptions Options() {
  testsupport::TestMachineOptions o;
  o.scratchPrefix = "pellmore-archive";
#ifndef _WIN32
  o.sim.extraDrives = "AD";
#endif
  return o;
}
}  // namespace

ArchiveTest::ArchiveTest() : testMachine_(Options()) {
#ifndef _WIN32
  machine_ = testMachine_.Sim();
#endif
  auto versions = std::make_unique<FakeVersions>();
  versions_ = versions.get();
  platform::InstallVersionService(std::move(versions));
  platform::files().CreateDirectories(P("C:\\SRC"));
  platform::files().CreateDirectories(P("C:\\DEST"));
}

ArchiveTest::~ArchiveTest() {
  TVrexCompress::FreeShared();
  TVersionResource::FreeShared();
  platform::InstallVersionService(nullptr);
}

void ArchiveTest::Write(const std::string& path, const std::string& bytes) {
  platform::files().CreateDirectories(ExtractFileDir(path));
  auto f = platform::files().Create(path);
  f->Write(bytes.data(), bytes.size());
}

std::string ArchiveTest::Read(const std::string& path) {
  auto f = platform::files().OpenRead(path);
  std::string s(f->Size(), '\0');
  if (!s.empty()) {
    EXPECT_EQ(f->Read(s.data(), s.size()), s.size());
  }
  return s;
}

std::map<std::string, std::string> ArchiveTest::Snapshot(const std::string& dir) {
  std::map<std::string, std::string> out;
  std::vector<std::string> pending{""};
  while (!pending.empty()) {
    const std::string rel = pending.back();
    pending.pop_back();
    for (const auto& e : platform::files().FindFiles(dir + "\\" + rel + "*")) {
      if (e.name == "." || e.name == "..") continue;
      if (e.IsDirectory()) {
        out[rel + e.name + "\\"] = "";
        pending.push_back(rel + e.name + "\\");
      } else {
        out[rel + e.name] = Read(dir + "\\" + rel + e.name);
      }
    }
  }
  return out;
}

TDateTime ArchiveTest::DateOf(const std::string& path) {
  return platform::FileTimeToLocalDateTime(platform::files().Stat(path)->lastWrite);
}

void ArchiveTest::SetDate(const std::string& path, TDateTime local) {
  platform::files().SetLastWriteTime(path, platform::LocalDateTimeToFileTime(local));
}

void ArchiveTest::Build(TVrexCompress& c, const std::string& archive,
                        const std::vector<std::pair<std::string, std::string>>& files,
                        TlzhCommand command, int id) {
  TStringList list;
  for (const auto& [path, bytes] : files) {
    Write(path, bytes);
    list.Add(path);
  }
  c.SetCompressedFile(archive);
  c.SetFilesToProcess(&list);
  c.Compress(command, id);
}

void ArchiveTest::ExtractTo(TVrexCompress& c, const std::string& dir,
                            const std::vector<std::string>& names) {
  TStringList list;
  for (const auto& n : names) list.Add(n);
  c.SetExtractDirectory(dir);
  c.SetFilesToProcess(&list);
  c.Extract();
}

}  // namespace archive_test
