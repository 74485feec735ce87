// The fault plan of the simulated machine (see SimFaults.h).
#include "platform/sim/SimFaults.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>

#include "framework/StrUtils.h"
#include "platform/sim/SimErrors.h"

namespace platform::sim {
namespace {

constexpr const char* kKindNames[kFaultKindCount] = {
    "create",  "write",    "flush",    "move", "delete",
    "delayed", "regwrite", "regflush", "load", "start",
};
constexpr uint32_t kDiskFull = 112;

struct State {
  std::mutex mutex;
  bool installed = false;
  FaultPlan plan;
  std::array<uint64_t, kFaultKindCount> counts{};
  uint64_t any = 0;
  std::map<char, uint64_t> written;  // bytes per drive letter
  std::string countFile;
  std::vector<std::string> trace;  // "KIND CALL SUBJECT" per operation, when counting
};

State& TheState() {
  static State* state = new State;  // never destroyed: used from atexit
  return *state;
}

uint64_t Number(std::string_view rule, std::string_view text, const char* what) {
  uint64_t v = 0;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] | 0x20) == 'x';
  if (hex) text.remove_prefix(2);
  if (text.empty())
    throw std::invalid_argument("'" + std::string(rule) + "': " + what + " missing");
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
      d = (c | 0x20) - 'a' + 10;
    else
      throw std::invalid_argument("'" + std::string(rule) + "': " + what + " is not a number");
    if (v > (UINT64_MAX >> 4))
      throw std::invalid_argument("'" + std::string(rule) + "': too large");
    v = v * (hex ? 16 : 10) + uint64_t(d);
  }
  return v;
}

std::vector<std::string_view> Split(std::string_view text, char sep) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    const size_t at = text.find(sep, start);
    parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
    if (at == std::string_view::npos) return parts;
    start = at + 1;
  }
}

void WriteCounts() {
  State& s = TheState();
  if (s.countFile.empty()) return;
  std::FILE* f = std::fopen(s.countFile.c_str(), "w");
  if (!f) return;
  for (size_t i = 0; i < kFaultKindCount; ++i)
    std::fprintf(f, "%s %llu\n", kKindNames[i], static_cast<unsigned long long>(s.counts[i]));
  std::fprintf(f, "any %llu\n", static_cast<unsigned long long>(s.any));
  for (size_t i = 0; i < s.trace.size(); ++i)
    std::fprintf(f, "op %zu %s\n", i + 1, s.trace[i].c_str());
  std::fclose(f);
}

// Ends the process as a crash or a power cut would: no destructors, no
// buffered output, nothing flushed; what reached the host files stays.
[[noreturn]] void Kill() {
  ::kill(::getpid(), SIGKILL);
  ::_exit(137);
}

}  // namespace

const char* FaultKindName(FaultKind kind) {
  return kKindNames[size_t(kind)];
}

std::optional<FaultKind> FaultKindNamed(std::string_view name) {
  for (size_t i = 0; i < kFaultKindCount; ++i)
    if (SameText(name, kKindNames[i])) return FaultKind(i);
  return std::nullopt;
}

FaultPlan FaultPlan::Parse(std::string_view text) {
  FaultPlan plan;
  if (text.empty() || SameText(text, "none")) return plan;
  for (std::string_view rule : Split(text, ',')) {
    const std::vector<std::string_view> f = Split(rule, ':');
    const auto bad = [&](const std::string& why) {
      throw std::invalid_argument("fault rule '" + std::string(rule) + "': " + why);
    };
    FaultRule r;
    if (f[0] == "kill") {
      if (f.size() != 3) bad("expected kill:KIND:N");
      r.action = FaultRule::Action::Kill;
      if (!SameText(f[1], "any")) {
        r.kind = FaultKindNamed(f[1]);
        if (!r.kind) bad("unknown kind '" + std::string(f[1]) + "'");
      }
      r.nth = Number(rule, f[2], "N");
    } else if (f[0] == "diskfull") {
      if (f.size() != 3 || f[1].size() != 1 || (f[1][0] | 0x20) < 'a' || (f[1][0] | 0x20) > 'z')
        bad("expected diskfull:DRIVE:BYTES");
      r.action = FaultRule::Action::DiskFull;
      r.drive = char(f[1][0] & ~0x20);
      r.nth = Number(rule, f[2], "BYTES");
      r.code = kDiskFull;
    } else {
      if (f.size() != 2 && f.size() != 3) bad("expected KIND:N[:CODE]");
      r.kind = FaultKindNamed(f[0]);
      if (!r.kind) bad("unknown kind '" + std::string(f[0]) + "'");
      r.nth = Number(rule, f[1], "N");
      if (f.size() == 3) {
        const uint64_t code = Number(rule, f[2], "CODE");
        if (code == 0 || code > UINT32_MAX) bad("CODE must be a Windows error code above 0");
        r.code = uint32_t(code);
      }
    }
    if (r.nth == 0 && r.action != FaultRule::Action::DiskFull) bad("N counts from 1");
    plan.rules.push_back(r);
  }
  return plan;
}

std::string FaultPlan::Text() const {
  std::string out;
  for (const FaultRule& r : rules) {
    if (!out.empty()) out += ',';
    const std::string kind = r.kind ? FaultKindName(*r.kind) : "any";
    switch (r.action) {
      case FaultRule::Action::Fail:
        out += kind + ":" + std::to_string(r.nth) + ":" + std::to_string(r.code);
        break;
      case FaultRule::Action::Kill:
        out += "kill:" + kind + ":" + std::to_string(r.nth);
        break;
      case FaultRule::Action::DiskFull:
        out += std::string("diskfull:") + r.drive + ":" + std::to_string(r.nth);
        break;
    }
  }
  return out.empty() ? "none" : out;
}

void Faults::InstallOnce(const std::string& fallback) {
  State& s = TheState();
  std::string text;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.installed) return;
    s.installed = true;
    const char* env = std::getenv("PELLMORE_FAULT");
    text = env ? env : fallback;
    if (const char* count = std::getenv("PELLMORE_FAULT_COUNT"); count && *count) {
      s.countFile = count;
      std::atexit(WriteCounts);
    }
  }
  try {
    s.plan = FaultPlan::Parse(text);
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "PELLMORE_FAULT: %s\n", e.what());
    std::_Exit(2);
  }
}

void Faults::Install(const FaultPlan& plan) {
  State& s = TheState();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.installed = true;
  s.plan = plan;
  s.counts.fill(0);
  s.any = 0;
  s.written.clear();
}

void Faults::Before(FaultKind kind, std::string_view call, std::string_view subject) {
  State& s = TheState();
  uint32_t code = 0;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    const uint64_t nth = ++s.counts[size_t(kind)];
    const uint64_t any = ++s.any;
    if (!s.countFile.empty())
      s.trace.push_back(std::string(kKindNames[size_t(kind)]) + " " + std::string(call) + " " +
                        std::string(subject));
    for (const FaultRule& r : s.plan.rules) {
      if (r.action == FaultRule::Action::DiskFull) continue;
      const bool hit = r.kind ? *r.kind == kind && r.nth == nth : r.nth == any;
      if (!hit) continue;
      if (r.action == FaultRule::Action::Kill) Kill();
      code = r.code;
    }
  }
  if (code) Refuse(call, subject, code);
}

void Faults::BeforeWrite(char drive, uint64_t bytes, std::string_view call,
                         std::string_view subject) {
  Before(FaultKind::Write, call, subject);
  State& s = TheState();
  drive = char(drive & ~0x20);
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    bool full = false;
    for (const FaultRule& r : s.plan.rules)
      if (r.action == FaultRule::Action::DiskFull && r.drive == drive)
        full = full || s.written[drive] + bytes > r.nth;
    if (!full) {
      s.written[drive] += bytes;
      return;
    }
  }
  Refuse(call, subject, kDiskFull);
}

std::array<uint64_t, kFaultKindCount> Faults::Counts() {
  State& s = TheState();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.counts;
}

}  // namespace platform::sim
