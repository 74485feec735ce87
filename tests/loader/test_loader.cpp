// The loading program's run over a machine held in memory: a stand-alone
// setup.exe and one with "setup.1" beside it unpack into a fresh directory
// and start the installer with the switches the installer expects; every
// damaged archive, a full disk and an installer that cannot start end in
// one message and exit code 1, with nothing left in the temporary directory.
#include <gmock/gmock.h>
#include <zlib.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "archive/ArchiveLayout.h"
#include "archive/ExtractionTrailer.h"
#include "loader/Loader.h"

namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct MemberSpec {
  std::string name;
  std::string bytes;
};

// A single-file archive as the build writes it.
std::string Archive(const std::vector<MemberSpec>& members) {
  namespace l = archive_layout;
  std::string a(l::kHeadSize, '\0');
  l::PutLE32(reinterpret_cast<uint8_t*>(a.data()), uint32_t(members.size()));
  for (const MemberSpec& m : members) {
    uLongf packedSize = compressBound(uLong(m.bytes.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
              reinterpret_cast<const Bytef*>(m.bytes.data()), uLong(m.bytes.size()), 9);
    packed.resize(packedSize);
    uint8_t h[l::kHeaderSize] = {};
    const uint32_t at = uint32_t(a.size());
    const uint32_t data = at + uint32_t(l::kHeaderSize);
    h[l::kName] = uint8_t(m.name.size());
    std::memcpy(h + l::kName + 1, m.name.data(), m.name.size());
    l::PutLE32(h + l::kDataStart, data);
    l::PutLE32(h + l::kCompressedSize, uint32_t(packed.size()));
    l::PutLE32(h + l::kEndPosition, data + uint32_t(packed.size()) - 1);
    l::PutLE32(h + l::kNextHeader, data + uint32_t(packed.size()));
    l::PutLE32(h + l::kSize, uint32_t(m.bytes.size()));
    a.append(reinterpret_cast<char*>(h), sizeof h);
    a += packed;
  }
  return a;
}

const std::string kLoaderBytes = "MZ loading program";

std::string StandAlone(const std::string& setup1, const std::string& files1) {
  extraction_trailer::Offsets o;
  o.setupStart = uint32_t(kLoaderBytes.size());
  o.setupEnd = o.setupStart + uint32_t(setup1.size()) - 1;
  if (!files1.empty()) {
    o.filesStart = o.setupEnd + 1;
    o.filesEnd = o.filesStart + uint32_t(files1.size()) - 1;
  }
  const auto t = extraction_trailer::Encode(o);
  return kLoaderBytes + setup1 + files1 + std::string(t.begin(), t.end());
}

// A machine in memory: files by path, one temporary directory name, a
// disk that fills after `diskBytes`, and a log of what was started.
class MemoryHost : public loader::LoaderHost {
 public:
  std::map<std::string, std::string> files;
  std::vector<std::string> dirs;
  std::string program = "C:\\Dist Files\\setup.exe";
  std::vector<std::string> args;
  size_t diskBytes = SIZE_MAX;
  bool canStart = true;
  uint32_t exitCode = 0;
  uint32_t clock = 0, stepMs = 0;
  std::vector<std::string> started, messages;
  std::map<std::string, std::string> filesWhenStarted;
  int preparingShown = 0;

  bool ProgramPath(loader::Text& p) override {
    p = loader::Text(program.c_str());
    return true;
  }
  int ArgumentCount() override { return int(args.size()); }
  bool Argument(int i, loader::Text& a) override {
    a = loader::Text(args[size_t(i)].c_str());
    return true;
  }
  struct In : loader::InputFile {
    std::string bytes;
    uint64_t Size() override { return bytes.size(); }
    bool ReadAt(uint64_t pos, void* buf, size_t n) override {
      if (pos > bytes.size() || n > bytes.size() - pos) return false;
      std::memcpy(buf, bytes.data() + pos, n);
      return true;
    }
  };
  struct Out : loader::OutputFile {
    MemoryHost* host;
    std::string path;
    loader::WriteResult Write(const void* d, size_t n) override {
      if (n > host->diskBytes) return loader::WriteResult::DiskFull;
      host->diskBytes -= n;
      host->files[path].append(static_cast<const char*>(d), n);
      return loader::WriteResult::Ok;
    }
    loader::WriteResult Close() override { return loader::WriteResult::Ok; }
  };
  loader::InputFile* OpenRead(const char* path) override {
    auto it = files.find(path);
    if (it == files.end()) return nullptr;
    auto* in = new In;
    in->bytes = it->second;
    return in;
  }
  loader::OutputFile* Create(const char* path, bool&) override {
    files[path].clear();
    auto* out = new Out;
    out->host = this;
    out->path = path;
    return out;
  }
  bool MakeTempDirectory(loader::Text& d) override {
    dirs.push_back("C:\\Temp\\pld1");
    d = loader::Text(dirs.back().c_str());
    return true;
  }
  void RemoveDirectoryAndFiles(const char* dir) override {
    const std::string prefix = std::string(dir) + "\\";
    for (auto it = files.begin(); it != files.end();)
      it = it->first.rfind(prefix, 0) == 0 ? files.erase(it) : std::next(it);
    std::erase(dirs, std::string(dir));
  }
  bool RunAndWait(const char* command, uint32_t& code) override {
    if (!canStart) return false;
    started.push_back(command);
    filesWhenStarted = files;
    code = exitCode;
    return true;
  }
  void ShowMessage(const char* text) override { messages.push_back(text); }
  uint32_t Milliseconds() override { return clock += stepMs; }
  void ShowPreparing() override { ++preparingShown; }
  void Progress(int) override {}
  void HidePreparing() override {}

  // Paths under the temporary directory.
  std::vector<std::string> TempFiles() const {
    std::vector<std::string> out;
    for (const auto& [path, bytes] : files)
      if (path.rfind("C:\\Temp\\", 0) == 0) out.push_back(path);
    return out;
  }
};

const std::string kInstaller(200000, 'I');  // several inflate chunks
const std::string kSetup1 = Archive({{"C:\\Dev\\SETUP.EXE", kInstaller + "end"},
                                     {"C:\\Pellmore\\QDSETUP.DLL", "MZ setup library"}});

TEST(Loader, UnpacksAndStartsTheInstallerWithTheSwitchesItExpects) {
  struct Case {
    const char* what;
    bool standAlone;
    std::vector<std::string> args;
    const char* command;
    bool tempKept;  // the installer's own clean-up removes it later
  };
  const Case cases[] = {
      {"stand-alone",
       true,
       {},
       "\"C:\\Temp\\pld1\\SETUP.EXE\" \"-sC:\\Dist Files\" \"-esetup.exe\" -c",
       true},
      {"archives beside", false, {}, "\"C:\\Temp\\pld1\\SETUP.EXE\" \"-sC:\\Dist Files\" -c", true},
      {"to disk",
       true,
       {"*todisk"},
       "\"C:\\Temp\\pld1\\SETUP.EXE\" \"-sC:\\Dist Files\" \"-esetup.exe\" -f",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryHost host;
    host.args = c.args;
    host.exitCode = 3;
    if (c.standAlone)
      host.files[host.program] = StandAlone(kSetup1, "files.1 bytes");
    else
      host.files = {{host.program, kLoaderBytes}, {"C:\\Dist Files\\setup.1", kSetup1}};
    EXPECT_EQ(loader::RunLoader(host), 3);  // the installer's exit code
    ASSERT_EQ(host.started.size(), 1u);
    EXPECT_EQ(host.started[0], c.command);
    EXPECT_EQ(host.filesWhenStarted["C:\\Temp\\pld1\\SETUP.EXE"], kInstaller + "end");
    EXPECT_EQ(host.filesWhenStarted["C:\\Temp\\pld1\\QDSETUP.DLL"], "MZ setup library");
    EXPECT_EQ(host.TempFiles().size(), c.tempKept ? 2u : 0u);
    EXPECT_THAT(host.messages, IsEmpty());
  }
}

TEST(Loader, ShowsThePreparingWindowOnlyWhenUnpackingTakesLong) {
  for (uint32_t step : {0u, 100u}) {
    MemoryHost host;
    host.stepMs = step;
    host.files[host.program] = StandAlone(kSetup1, "");
    loader::RunLoader(host);
    EXPECT_EQ(host.preparingShown, step ? 1 : 0) << step;
  }
}

TEST(Loader, RefusesDamageAFullDiskAndAnInstallerThatCannotStart) {
  const std::string good = StandAlone(kSetup1, "files");
  const size_t setupAt = kLoaderBytes.size();
  auto patched = [&](size_t at, uint32_t v) {
    std::string s = good;
    archive_layout::PutLE32(reinterpret_cast<uint8_t*>(s.data() + at), v);
    return s;
  };
  const size_t header = setupAt + archive_layout::kHeadSize;
  const uint32_t packed = archive_layout::GetLE32(
      reinterpret_cast<const uint8_t*>(good.data() + header + archive_layout::kCompressedSize));
  const size_t trailer = good.size() - extraction_trailer::kSize;
  std::string badCheck = good;
  badCheck[header + archive_layout::kHeaderSize + packed - 1] ^= 0x55;  // the Adler-32
  std::string dotdot = StandAlone(Archive({{"C:\\x\\..", "x"}}), "");

  struct Case {
    const char* what;
    std::string setupExe;
    const char* message;
    size_t diskBytes = SIZE_MAX;
    bool canStart = true;
  };
  const Case cases[] = {
      {"trailer past the end", patched(trailer + 20, uint32_t(good.size())),
       "runs into the trailer"},
      {"cut short", good.substr(0, setupAt + 400) + good.substr(trailer), "runs into the trailer"},
      {"no members", patched(setupAt, 0), "holds no program"},
      {"count too large", patched(setupAt, 5000), "counts more members"},
      {"stored size too large", patched(header + archive_layout::kSize, 200004),
       "shorter than its stored size"},
      {"stored size too small", patched(header + archive_layout::kSize, 5),
       "more than its stored size"},
      {"check value wrong", badCheck, "is damaged"},
      {"data outside", patched(header + archive_layout::kDataStart, 1u << 30),
       "outside the setup archive"},
      {"unusable name", dotdot, "unusable name"},
      {"disk full", good, "not enough free disk space", 70000},
      {"no installer start", good, "Cannot start the setup program C:\\Temp\\pld1\\SETUP.EXE",
       SIZE_MAX, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryHost host;
    host.files[host.program] = c.setupExe;
    host.diskBytes = c.diskBytes;
    host.canStart = c.canStart;
    EXPECT_EQ(loader::RunLoader(host), loader::kLoaderFailed);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_THAT(host.messages[0], HasSubstr(c.message));
    EXPECT_THAT(host.started, IsEmpty());
    EXPECT_THAT(host.TempFiles(), IsEmpty());
    EXPECT_THAT(host.dirs, IsEmpty());
    EXPECT_EQ(host.files.at(host.program), c.setupExe);  // the setup itself untouched
  }

  MemoryHost alone;
  alone.files[alone.program] = kLoaderBytes;
  EXPECT_EQ(loader::RunLoader(alone), loader::kLoaderFailed);
  EXPECT_THAT(alone.messages.at(0), HasSubstr("Cannot find C:\\Dist Files\\setup.1"));
}

}  // namespace
