// The simulated machine's table helpers (see StateFiles.h).
#include "platform/sim/StateFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

#include "platform/HostAccess.h"
#include "platform/sim/SimErrors.h"

namespace platform::sim {

StateFileLock::StateFileLock(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ >= 0) ::flock(fd_, LOCK_EX);
}

StateFileLock::~StateFileLock() {
  if (fd_ >= 0) ::close(fd_);
}

std::string ReadStateFile(const std::string& path) {
  constexpr size_t kMaxStateBytes = 16 * 1024 * 1024;
  if (::access(path.c_str(), F_OK) != 0) return {};
  try {
    return ReadHostFile(path, kMaxStateBytes);
  } catch (const EHostFileError& e) {
    throw MachineError("cannot read " + path + ": " + e.Message());
  }
}

void WriteStateFile(const std::string& path, const std::string& text) {
  const std::string temp = path + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) throw MachineError("cannot write " + temp);
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    throw MachineError("cannot replace " + path);
  }
}

std::string EscapeField(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", unsigned(uint8_t(c)));
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnescapeField(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned code = 0;
    if (text[i] == '%' && i + 2 < text.size() &&
        std::sscanf(std::string(text.substr(i + 1, 2)).c_str(), "%2x", &code) == 1) {
      out += char(code);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(
        UnescapeField(line.substr(start, tab == std::string_view::npos ? tab : tab - start)));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace platform::sim
