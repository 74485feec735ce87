// 8.3 short names: the validity test, generation with ~N collision numbers
// and the record file shared by every process of a machine (see
// ShortNames.h). Record lines are "dirKey<TAB>long name<TAB>SHORT"; a tab
// cannot occur in a Windows name, so the split is unambiguous.
#include "platform/sim/ShortNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "framework/StrUtils.h"
#include "platform/sim/SimErrors.h"

namespace platform::sim {
namespace {

bool IsShortChar(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'()-@^_`{}~").find(char(c)) != std::string_view::npos;
}

// The characters a short name keeps from a long one: upper-cased, blanks
// and dots dropped, characters an 8.3 name cannot hold (non-ASCII, + , ; =
// [ ]) turned into '_' (one per UTF-8 sequence).
std::string ShortChars(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == ' ' || c == '.') continue;
    if (c >= 0x80) {
      while (i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) ++i;
      out += '_';
    } else {
      out += IsShortChar(c) ? char(c >= 'a' && c <= 'z' ? c - 32 : c) : '_';
    }
  }
  return out;
}

}  // namespace

bool IsShortName(const std::string& name) {
  size_t dot = name.find('.');
  std::string_view base = std::string_view(name).substr(0, dot);
  std::string_view ext =
      dot == std::string::npos ? std::string_view() : std::string_view(name).substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string::npos && ext.empty()) return false;
  for (unsigned char c : base)
    if (!IsShortChar(c)) return false;
  for (unsigned char c : ext)
    if (!IsShortChar(c)) return false;
  return true;
}

ShortNames::ShortNames(std::string file) : file_(std::move(file)) {}

void ShortNames::Refresh() {
  struct stat st;
  if (::stat(file_.c_str(), &st) != 0 || uint64_t(st.st_size) <= readBytes_) return;
  std::ifstream in(file_, std::ios::binary);
  in.seekg(std::streamoff(readBytes_));
  std::string chunk(size_t(uint64_t(st.st_size) - readBytes_), '\0');
  in.read(chunk.data(), std::streamsize(chunk.size()));
  chunk.resize(size_t(in.gcount()));
  // Only whole lines count: another process may be appending right now.
  size_t end = chunk.rfind('\n');
  if (end == std::string::npos) return;
  readBytes_ += end + 1;
  std::istringstream lines(chunk.substr(0, end + 1));
  std::string line;
  while (std::getline(lines, line)) {
    size_t t1 = line.find('\t'), t2 = line.rfind('\t');
    if (t1 == std::string::npos || t2 == t1) continue;  // not a record: ignore
    std::string dirKey = line.substr(0, t1), longName = line.substr(t1 + 1, t2 - t1 - 1);
    std::string shortName = line.substr(t2 + 1);
    if (!IsShortName(shortName)) continue;
    shortOf_[dirKey + '\t' + AsciiUpperCase(longName)] = shortName;
    longOf_[dirKey + '\t' + AsciiUpperCase(shortName)] = longName;
  }
}

void ShortNames::Remember(const std::string& dirKey, const std::string& longName,
                          const std::string& shortName) {
  shortOf_[dirKey + '\t' + AsciiUpperCase(longName)] = shortName;
  longOf_[dirKey + '\t' + shortName] = longName;
}

std::optional<std::string> ShortNames::LongFor(const std::string& dirKey,
                                               const std::string& shortUpper) {
  Refresh();
  auto it = longOf_.find(dirKey + '\t' + shortUpper);
  if (it == longOf_.end()) return std::nullopt;
  return it->second;
}

std::string ShortNames::ShortFor(const std::string& dirKey, const std::string& longName,
                                 const std::function<bool(const std::string&)>& taken,
                                 const char* call) {
  if (IsShortName(longName)) return longName;
  Refresh();
  auto known = shortOf_.find(dirKey + '\t' + AsciiUpperCase(longName));
  if (known != shortOf_.end()) return known->second;

  size_t lastDot = longName.rfind('.');
  std::string base = ShortChars(std::string_view(longName).substr(0, lastDot));
  std::string ext = lastDot == std::string::npos
                        ? std::string()
                        : ShortChars(std::string_view(longName).substr(lastDot + 1));
  if (base.empty()) base.swap(ext);  // ".profile" -> "PROFIL~1"
  if (base.empty()) base = "_";
  if (ext.size() > 3) ext.resize(3);

  std::string chosen;
  for (uint32_t n = 1; n < 1000000 && chosen.empty(); ++n) {
    std::string tail = "~" + std::to_string(n);
    std::string candidate = base.substr(0, 8 - tail.size()) + tail;
    if (!ext.empty()) candidate += "." + ext;
    if (longOf_.count(dirKey + '\t' + candidate) || taken(candidate)) continue;
    chosen = candidate;
  }
  if (chosen.empty()) Refuse(call, longName, kErrorFileExists);

  std::string record = dirKey + '\t' + longName + '\t' + chosen + '\n';
  int fd = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) RefuseErrno(call, file_);
  // One write of a short line with O_APPEND: records of concurrent
  // processes never interleave.
  ssize_t written = ::write(fd, record.data(), record.size());
  int err = errno;
  ::close(fd);
  if (written != ssize_t(record.size())) {
    errno = err;
    RefuseErrno(call, file_);
  }
  Remember(dirKey, longName, chosen);
  return chosen;
}

}  // namespace platform::sim
