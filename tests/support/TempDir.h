// Host directories for tests: a new, empty directory of the test's own below
// the system's temporary directory (TMPDIR on Linux), removed with
// everything in it when the owner goes, and whole-file helpers for host
// files. Tests of the kit reach files through the platform services
// instead; these are for what sits beside a simulated machine (the
// machine's own directory, hives, transcripts, forms given to a child).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

class TempDir {
 public:
  // Makes "<temporary directory>/<prefix>-<random>", readable only by this
  // user; throws std::runtime_error when no such directory can be made.
  explicit TempDir(std::string_view prefix = "pellmore-test");
  // Removes the directory tree; never throws. Read-only files and
  // directories without write permission go too.
  ~TempDir();
  TempDir(TempDir&& other) noexcept;
  TempDir& operator=(TempDir&& other) noexcept;
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string String() const { return path_.string(); }
  std::filesystem::path operator/(const std::filesystem::path& relative) const {
    return path_ / relative;
  }
  // Writes `bytes` to `relative` below the directory (making the missing
  // directories) and returns the file's full path.
  std::string Write(const std::filesystem::path& relative, std::string_view bytes) const;

 private:
  void Remove() noexcept;

  std::filesystem::path path_;  // empty once moved from
};

// A host file's bytes; empty when it cannot be read.
std::string ReadHostFile(const std::filesystem::path& path);
// Replaces a host file with `bytes`; throws std::runtime_error when it
// cannot be written.
void WriteHostFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace testsupport
