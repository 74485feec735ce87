// Temporary host directories and host files for tests (see TempDir.h).
#include "support/TempDir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace testsupport {

namespace fs = std::filesystem;

namespace {

// Names are drawn at random and the directory made with a call that fails
// when the name exists, so parallel test processes never share one.
std::string RandomSuffix() {
  static std::atomic<unsigned> serial{0};
  static thread_local std::mt19937_64 random{
      std::random_device{}() ^
      uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^ serial++};
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string s(10, '0');
  for (char& c : s) c = kDigits[random() % 36];
  return s;
}

// Gives the owner write permission on everything below `dir`, so a test
// that made a file read-only or a directory unwritable does not leave its
// tree behind.
void MakeWritable(const fs::path& dir) {
  std::error_code ec;
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    const bool isDir = it->is_directory(ec) && !it->is_symlink(ec);
    fs::permissions(it->path(), isDir ? fs::perms::owner_all : fs::perms::owner_write,
                    fs::perm_options::add | fs::perm_options::nofollow, ec);
  }
}

}  // namespace

TempDir::TempDir(std::string_view prefix) {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) throw std::runtime_error("no temporary directory: " + ec.message());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = base / (std::string(prefix) + "-" + RandomSuffix());
    if (fs::create_directory(candidate, ec)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
      path_ = std::move(candidate);
      return;
    }
    if (ec) break;  // not "exists": a real failure
  }
  throw std::runtime_error("cannot make a temporary directory below " + base.string() +
                           (ec ? ": " + ec.message() : std::string()));
}

TempDir::~TempDir() {
  Remove();
}

TempDir::TempDir(TempDir&& other) noexcept : path_(std::move(other.path_)) {
  other.path_.clear();
}

TempDir& TempDir::operator=(TempDir&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::move(other.path_);
    other.path_.clear();
  }
  return *this;
}

void TempDir::Remove() noexcept {
  if (path_.empty()) return;
  std::error_code ec;
  fs::remove_all(path_, ec);
  if (ec) {
    MakeWritable(path_);
    fs::remove_all(path_, ec);
  }
  path_.clear();
}

std::string TempDir::Write(const fs::path& relative, std::string_view bytes) const {
  const fs::path p = path_ / relative;
  fs::create_directories(p.parent_path());
  WriteHostFile(p, bytes);
  return p.string();
}

std::string ReadHostFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteHostFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace testsupport
