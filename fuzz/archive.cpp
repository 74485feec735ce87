// Feeds arbitrary bytes to the archive component as an archive (split into
// up to three volume files at a marker): reads the directory, verifies and
// extracts members on a simulated machine. Beyond memory errors it traps
// when an extraction leaves a temporary file behind, reports success for a
// file whose size is not the stored one, writes more of a member than its
// stored size, or puts anything outside its destination directory (which
// lies two levels below C:\OUT, so names that climb land where it looks).
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "archive/cmp_TVrexCompress.h"
#include "framework/Exception.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "framework/Strings.h"
#include "platform/FileSystem.h"
#include "platform/sim/SimMachine.h"

namespace {

constexpr std::string_view kVolumeMarker = "\xF0VOL";
constexpr int kMaxMembers = 6;
const std::string kDest = "C:\\OUT\\IN\\DEEP";

// The names in a directory, upper case and sorted.
std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> out;
  for (const auto& e : platform::files().FindFiles(dir + "\\*"))
    if (e.name != "." && e.name != "..") out.push_back(AsciiUpperCase(e.name));
  std::sort(out.begin(), out.end());
  return out;
}

// The names in C:\ before the first input: nothing may be added there.
std::vector<std::string>& RootNames() {
  static std::vector<std::string> names;
  return names;
}

void Setup() {
  static bool done = false;
  if (done) return;
  done = true;
  const auto dir = std::filesystem::temp_directory_path() /
                   ("pellmore-fuzz-archive-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  platform::Install(platform::sim::CreateMachine(dir.string(), {}));
  platform::files().CreateDirectories("C:\\F");
  platform::files().CreateDirectories(kDest);
  RootNames() = Names("C:");
  std::atexit([] {
    platform::Install(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                    ("pellmore-fuzz-archive-" + std::to_string(::getpid())),
                                ec);
  });
}

void WriteVolume(int n, std::string_view bytes) {
  auto f = platform::files().Create("C:\\F\\files." + std::to_string(n));
  f->Write(bytes.data(), bytes.size());
}

// Traps unless `dir` holds exactly `expected` (upper case, sorted).
void Holds(const std::string& dir, const std::vector<std::string>& expected) {
  if (Names(dir) != expected) __builtin_trap();
}

// Empties the destination; traps on any file but the one an extraction
// reported (a failed one must leave nothing, not even its temporary file),
// and on anything new outside the destination.
void CleanOut(const std::string& allowed) {
  for (const auto& e : platform::files().FindFiles(kDest + "\\*")) {
    if (e.name == "." || e.name == "..") continue;
    // Compared as Windows paths: trailing dots and blanks of a name go.
    if (e.IsDirectory() || allowed.empty() ||
        !SameText(platform::files().FullPathName(kDest + "\\" + e.name),
                  platform::files().FullPathName(kDest + "\\" + allowed)))
      __builtin_trap();
    platform::files().DeleteFile(kDest + "\\" + e.name);
  }
  Holds("C:\\OUT\\IN", {"DEEP"});
  Holds("C:\\OUT", {"IN"});
  Holds("C:\\F", {"FILES.1", "FILES.2", "FILES.3"});
  if (Names("C:") != RootNames()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Setup();
  std::string_view input(reinterpret_cast<const char*>(data), size);
  for (int n = 1; n <= 3; ++n) {
    const size_t cut = n < 3 ? input.find(kVolumeMarker) : std::string_view::npos;
    WriteVolume(n, input.substr(0, cut));
    input = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 4);
  }

  TVrexCompress c(nullptr);
  c.SetCompressedFile("C:\\F\\files.1");
  c.OnNewDisk = [](TObject*, int, std::string& path) { path = "C:\\F"; };
  c.SetExtractDirectory(kDest);
  try {
    c.ReadDirectory();
  } catch (const Exception&) {
    return 0;
  }
  const int count = c.FileCount() < kMaxMembers ? c.FileCount() : kMaxMembers;
  std::string written;  // the name the last status reported
  c.OnStatus = [&](TObject*, const TlzhFileStats& s) {
    // Decoding stops at the stored size, whatever the data says.
    if (s.FileBytesDone > std::max<int32_t>(s.FileSize, 0)) __builtin_trap();
    written = c.ExtractName;
  };
  for (int i = 0; i < count; ++i) {
    try {
      c.VerifyMember(i);
    } catch (const Exception&) {
    }
    TStringList list;
    list.Add(c.Directory().GetFileHeaders(i).Name());
    c.SetFilesToProcess(&list);
    const int32_t stored = c.Directory().GetFileHeaders(i).Size();
    written.clear();
    bool ok = false;
    try {
      c.Extract();
      ok = true;
      if (!written.empty()) {
        const auto info = platform::files().Stat(kDest + "\\" + written);
        if (info && int64_t(info->size) != stored) __builtin_trap();
      }
    } catch (const Exception&) {
    }
    CleanOut(ok ? written : std::string());
  }
  ProcessState::ResetAll();
  return 0;
}
