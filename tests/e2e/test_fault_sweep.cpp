// The setup's promise, operation by operation: whatever fails and wherever
// the process dies, nothing that was on the machine before is lost, the
// error says what failed, and running the setup again finishes the job.
// A counting run of the built-in engine install over the older 7.5 engine
// lists every operation; each sweep then repeats the install with one of
// them failing (FaultSweep.EveryOperationFails) or with the process killed
// at it (FaultSweep.EveryOperationKills), checks the machine, and runs the
// setup again. The normal run takes every Kth operation; PELLMORE_SWEEP=full
// takes all (scripts/fault-sweep, the "long" ctest label), and
// PELLMORE_SWEEP_TABLE=FILE appends the sweep's figures to FILE.
#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "InstallRunFixture.h"
#include "framework/StrUtils.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using platform::RegValue;
using platform::RootKey;

// Sampled runs per sweep in the default test run (each is two installs).
constexpr size_t kSampleRuns = 24;
constexpr size_t kDetailsShown = 8;  // failures described per check

struct Operation {
  std::string kind, call, subject;
  uint64_t nth = 0;  // among the operations of its kind, from 1
};

struct Counting {
  std::map<std::string, uint64_t> perKind;  // with "any"
  std::vector<Operation> ops;
};

Counting ReadCounting(const fs::path& file) {
  Counting c;
  std::istringstream in(ReadHostFile(file));
  std::map<std::string, uint64_t> seen;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("op ", 0) == 0) {
      std::istringstream l(line.substr(3));
      size_t n;
      Operation op;
      l >> n >> op.kind >> op.call;
      std::getline(l, op.subject);
      if (!op.subject.empty() && op.subject[0] == ' ') op.subject.erase(0, 1);
      op.nth = ++seen[op.kind];
      c.ops.push_back(op);
    } else if (const size_t sp = line.find(' '); sp != std::string::npos) {
      c.perKind[line.substr(0, sp)] = std::stoull(line.substr(sp + 1));
    }
  }
  return c;
}

// The machine as the checks see it: every file of its drives (by upper-case
// Windows path) and every registry value (by upper-case key path and name).
struct State {
  std::map<std::string, std::string> files;
  std::map<std::string, RegValue> values;
};

void AddKey(platform::Registry& reg, RootKey root, const std::string& rootName,
            const std::string& path, State& s) {
  for (const std::string& name : reg.ValueNames(root, path))
    if (auto v = reg.ReadValue(root, path, name))
      s.values[AsciiUpperCase(rootName + "\\" + path + "|" + name)] = *v;
  for (const std::string& sub : reg.SubKeyNames(root, path))
    AddKey(reg, root, rootName, path.empty() ? sub : path + "\\" + sub, s);
}

State Capture(const testsupport::SimMachineHome& home) {
  State s;
  const fs::path dir = home.MachineDir();
  for (const auto& drive : fs::directory_iterator(dir)) {
    const std::string name = drive.path().filename().string();
    if (name.rfind("drive_", 0) != 0 || name.size() != 7) continue;
    for (const auto& e : fs::recursive_directory_iterator(drive.path())) {
      if (!e.is_regular_file()) continue;
      std::string rel = fs::relative(e.path(), drive.path()).string();
      std::replace(rel.begin(), rel.end(), '/', '\\');
      s.files[AsciiUpperCase(std::string(1, name[6]) + ":\\" + rel)] = ReadHostFile(e.path());
    }
  }
  auto machine = home.Open();
  AddKey(machine->registry(), RootKey::LocalMachine, "HKLM", "", s);
  AddKey(machine->registry(), RootKey::CurrentUser, "HKCU", "", s);
  return s;
}

// What a file or value holds, shortly, for failure messages.
std::string Sizes(const std::string& now, const std::string& clean) {
  return " (" + std::to_string(now.size()) + " bytes, compared with " +
         std::to_string(clean.size()) + ")";
}
std::string Sizes(const RegValue& now, const RegValue& clean) {
  return " (" + now.text + std::to_string(now.dword) + ", compared with " + clean.text +
         std::to_string(clean.dword) + ")";
}

// The 8.2 engine's files by upper-case name: a file of the machine may
// also hold its complete new version (one the clean install merges and
// removes, as the configuration template).
const std::map<std::string, std::string>& NewVersions() {
  static const std::map<std::string, std::string> files = [] {
    std::map<std::string, std::string> m;
    for (const auto& f : sample_engine::BuildEngine(sample_engine::Release::v82))
      m[AsciiUpperCase(f.name)] = std::string(f.bytes.begin(), f.bytes.end());
    return m;
  }();
  return files;
}

bool IsNewVersion(const std::string& key, const std::string& bytes) {
  const auto f = NewVersions().find(key.substr(key.rfind('\\') + 1));
  return f != NewVersions().end() && f->second == bytes;
}
bool IsNewVersion(const std::string&, const RegValue&) {
  return false;
}

// Values that count installs (shared-file counts, the engine's use count,
// the uninstall record's list of entries): a run that failed after
// counting stays counted, and the run that finishes counts once more, as a
// second install does; an uninstall then leaves the shared files in place,
// the safe side. They are compared as "at least the clean install's".
bool IsFileList(const std::string& key) {
  return key.find("\\UNINSTALL\\QUENBY DATABASE ENGINE\\FILES") != std::string::npos;
}
bool IsCount(const std::string& key) {
  return key.find("\\SHAREDDLLS|") != std::string::npos ||
         key.find("\\DATABASE ENGINE|USECOUNT") != std::string::npos || IsFileList(key) ||
         key.find("\\UNINSTALL\\QUENBY DATABASE ENGINE\\QDE|") != std::string::npos;
}

// The uninstall record's file list: a key that refuses an entry passes it
// on to "Files1", "Files2" ..., so what counts is that every file is listed
// under one of them.
std::set<std::string> ListedFiles(const State& s) {
  std::set<std::string> files;
  for (const auto& [key, value] : s.values)
    if (IsFileList(key) && key.find("|ENTRIES") == std::string::npos)
      files.insert(AsciiUpperCase(value.text));
  return files;
}
bool AtLeast(const std::string&, const std::string&) {
  return false;
}
// A count as a DWORD or as decimal text is at least the other; the record's
// other entries (file names) only have to be there.
bool AtLeast(const RegValue& now, const RegValue& clean) {
  if (now.type == platform::ValueType::DWord && clean.type == platform::ValueType::DWord)
    return now.dword >= clean.dword;
  const auto number = [](const std::string& t) {
    return !t.empty() && t.find_first_not_of("0123456789") == std::string::npos;
  };
  if (number(now.text) && number(clean.text))
    return std::stoull(now.text) >= std::stoull(clean.text);
  return true;
}

// Entries of `before` that `after` holds neither as they were nor as the
// clean install (`done`) left them, nor as the complete new version: lost,
// truncated or half-written.
std::vector<std::string> Damaged(const State& before, const State& after, const State& done) {
  std::vector<std::string> bad;
  const auto check = [&](const auto& was, const auto& now, const auto& clean, const char* what) {
    for (const auto& [key, old] : was) {
      const auto n = now.find(key);
      const auto c = clean.find(key);
      if (n == now.end()) {
        if (c != clean.end()) bad.push_back(std::string(what) + " missing: " + key);
      } else if (!(n->second == old) && (c == clean.end() || !(n->second == c->second)) &&
                 !IsNewVersion(key, n->second) && !(IsCount(key) && AtLeast(n->second, old))) {
        bad.push_back(std::string(what) + " damaged: " + key + Sizes(n->second, old));
      }
    }
  };
  check(before.files, after.files, done.files, "file");
  check(before.values, after.values, done.values, "value");
  return bad;
}

// A file the kit extracts into before it takes its name ("vrx....tmp").
bool IsKitTemporary(const std::string& path) {
  const std::string leaf = AsciiUpperCase(path.substr(path.rfind('\\') + 1));
  const bool extraction = leaf.size() >= 8 && leaf.rfind("VRX", 0) == 0 &&
                          leaf.compare(leaf.size() - 4, 4, ".TMP") == 0;
  // The engine setup library writes a configuration as NAME.~QD0 first.
  const bool configuration = leaf.size() > 5 && leaf.compare(leaf.size() - 5, 5, ".~QD0") == 0;
  return extraction || configuration;
}

// A machine directory copied with its files' dates: the kit compares dates
// of files without a version, so a copy dated now would install differently.
void CopyMachine(const fs::path& from, const fs::path& to) {
  const std::string command = "cp -a '" + from.string() + "' '" + to.string() + "'";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// Equal, text ignoring case: the kit writes a folder as it finds it
// (upper case when read back from the engine's key), and Windows reads
// either alike.
bool Same(const std::string& a, const std::string& b) {
  return a == b;
}
bool Same(const RegValue& a, const RegValue& b) {
  if (a.type == b.type &&
      (a.type == platform::ValueType::String || a.type == platform::ValueType::ExpandString))
    return SameText(a.text, b.text);
  return a == b;
}

// Where `after` differs from the clean install. A time stamp the kit
// writes differs between any two installs and is left out.
std::vector<std::string> Unlike(const State& after, const State& done, size_t* strays = nullptr) {
  std::vector<std::string> diff;
  const auto compare = [&](const auto& a, const auto& d, const char* what) {
    for (const auto& [key, value] : d) {
      if (IsFileList(key)) continue;
      const auto n = a.find(key);
      if (n == a.end())
        diff.push_back(std::string(what) + " missing: " + key);
      else if (IsCount(key) ? !AtLeast(n->second, value) : !Same(n->second, value))
        diff.push_back(std::string(what) + " differs: " + key + Sizes(n->second, value));
    }
    for (const auto& [key, value] : a) {
      if (d.count(key) || IsCount(key)) continue;
      if (strays && IsKitTemporary(key))
        ++*strays;
      else
        diff.push_back(std::string(what) + " extra: " + key);
    }
  };
  compare(after.files, done.files, "file");
  compare(after.values, done.values, "value");
  const std::set<std::string> listed = ListedFiles(after);
  for (const std::string& f : ListedFiles(done))
    if (!listed.count(f)) diff.push_back("uninstall record lacks: " + f);
  return diff;
}

std::string Leaf(const std::string& subject) {
  const size_t cut = subject.find_last_of("\\ ");
  return cut == std::string::npos ? subject : subject.substr(cut + 1);
}

// Whether what the run said names the failed operation's subject: its
// file or key (the last part of it), or for a kit temporary the folder it
// was extracting into (the message names the file it was to become). A
// full disk is said as such, without a file.
bool Names(const std::string& said, const std::string& subject) {
  const std::string text = AsciiUpperCase(said);
  if (text.find(AsciiUpperCase(Leaf(subject))) != std::string::npos) return true;
  if (text.find("THE DISK IS FULL") != std::string::npos) return true;
  return IsKitTemporary(subject) &&
         text.find(AsciiUpperCase(subject.substr(0, subject.rfind('\\')))) != std::string::npos;
}

// The Windows error each kind fails with: what a full or failing disk, a
// refusal or a damaged registry gives, not "in use" (which the kit answers
// with a restart by design, a path of its own tests).
uint32_t CodeFor(const std::string& kind) {
  if (kind == "write" || kind == "flush") return 112;  // ERROR_DISK_FULL
  if (kind == "regflush") return 1016;                 // ERROR_REGISTRY_IO_FAILED
  if (kind == "load") return 1114;                     // ERROR_DLL_INIT_FAILED
  return 5;                                            // ERROR_ACCESS_DENIED
}

// Findings of the sweep that are known and left as they are (see the
// fault plan section of docs/architecture.md): counted and printed in the
// table, not failed. Empty when `what` is none of them.
std::string Known(const std::string& what, const std::string& subject = {}) {
  const std::string up = AsciiUpperCase(what);
  if (up.find("\\MANIFEST|") != std::string::npos && up.find("EXISTED=1") != std::string::npos)
    return "uninstall manifest marks a file of the interrupted run as there before";
  if (up.find("DATABASE ENGINE|CONFIGPATH") != std::string::npos &&
      up.find("QDENG32.CNF") != std::string::npos)
    return "engine configuration path left on the new template until the rerun";
  if (up.find("QDENGNEW.CFG") != std::string::npos ||
      (subject.find(".~qd0") != std::string::npos && up.find("\\QDENG32.CFG") != std::string::npos))
    return "merged configuration not written: the new one is used beside the user's, exit 0";
  if (up.find("\\PELLMORE\\INSTALL\\INSTALL") != std::string::npos)
    return "bookkeeping key of a killed or finishing run left behind";
  if (up.find("DELETEFILEW") == 0 && up.find("QDENG32.CNF") != std::string::npos)
    return "merged template left when deleting it fails (deleted quietly)";
  return {};
}

// `found` without the known findings, which are counted in `known`.
std::vector<std::string> Unknown(const std::vector<std::string>& found,
                                 std::map<std::string, size_t>& known,
                                 const std::string& subject = {}) {
  std::vector<std::string> rest;
  std::set<std::string> names;
  for (const std::string& f : found) {
    const std::string k = Known(f, subject);
    if (k.empty())
      rest.push_back(f);
    else
      names.insert(k);
  }
  for (const std::string& n : names) ++known[n];
  return rest;
}

struct Tally {
  std::map<std::string, size_t> known;  // runs per known finding
  size_t runs = 0, strays = 0, badCode = 0, silent = 0, unnamed = 0, damaged = 0, rerunFailed = 0,
         rerunUnlike = 0, restarts = 0;
  std::map<std::string, std::vector<std::string>> details;  // check -> first failures
  void Note(const std::string& check, const std::string& what) {
    auto& d = details[check];
    if (d.size() < kDetailsShown) d.push_back(what);
  }
};

class FaultSweep : public EngineRun {
 protected:
  void SetUp() override {
    EngineRun::SetUp();
    if (HasFatalFailure()) return;
    // The machine every run starts from, kept beside the target.
    FreshEngineTarget(true);
    template_ = dir_ / "template";
    CopyMachine(MachineDir(), template_);
    before_ = Capture(*home_);
    const fs::path counts = dir_ / "counts.txt";
    const Outcome o = RunBuiltIn({{"PELLMORE_FAULT_COUNT", counts.string()}});
    ASSERT_EQ(o.code, 0) << o.Dump() << o.errors;
    counting_ = ReadCounting(counts);
    ASSERT_FALSE(counting_.ops.empty());
    done_ = Capture(*home_);
    const char* full = std::getenv("PELLMORE_SWEEP");
    full_ = full && std::string(full) == "full";
  }

  // The same install again from the same machine, for comparison.
  void Control() {
    Restore();
    const Outcome o = RunBuiltIn();
    ASSERT_EQ(o.code, 0);
    for (const auto& d : Unlike(Capture(*home_), done_)) ADD_FAILURE() << "control run: " << d;
  }

  void Restore() {
    fs::remove_all(MachineDir());
    CopyMachine(template_, MachineDir());
  }

  // Which operations a sweep takes: all, or every Kth (from the middle of
  // the first stride, so the sample is not always the first operation).
  std::vector<size_t> Chosen() const {
    const size_t n = counting_.ops.size();
    const size_t stride = full_ ? 1 : std::max<size_t>(1, n / kSampleRuns);
    std::vector<size_t> chosen;
    for (size_t i = full_ ? 0 : stride / 2; i < n; i += stride) chosen.push_back(i);
    if (full_) return chosen;
    // Always the engine's use count: a refused count once passed as done.
    for (size_t i = 0; i < n; ++i)
      if (counting_.ops[i].subject.ends_with("USECOUNT") &&
          std::find(chosen.begin(), chosen.end(), i) == chosen.end())
        chosen.push_back(i);
    return chosen;
  }

  // One run of the sweep: the install under `plan`, then the checks and
  // the run that must finish the job.
  void Trial(const std::string& plan, const Operation* op, Tally& t) {
    ++t.runs;
    Restore();
    const Outcome o = RunBuiltIn({{"PELLMORE_FAULT", plan}});
    const std::string said = o.errors + o.Dump();
    const bool killed = op == nullptr;
    const std::string subject = killed ? std::string() : op->subject;
    if (killed ? o.code != 128 + 9 : (o.code != 1 && o.code != 3 && o.code != 0)) {
      ++t.badCode;
      t.Note("exit code", plan + ": " + std::to_string(o.code) + " " + o.errors);
    }
    if (o.code == 3) ++t.restarts;
    if (!killed && o.code == 1 && !Names(said, op->subject)) {
      ++t.unnamed;
      t.Note("message", plan + " (" + op->call + " " + op->subject + "): " + o.errors);
    }
    const State after = Capture(*home_);
    if (!killed && o.code == 0) {
      const auto diff = Unlike(after, done_);
      if (!diff.empty() &&
          Unknown({op->call + " " + op->subject}, t.known, op->subject).size() == 1) {
        ++t.silent;  // a failure that was swallowed and left the job unfinished
        t.Note("success claimed",
               plan + " (" + op->call + " " + op->subject + "): " + diff.front());
      }
    }
    if (const auto bad = Unknown(Damaged(before_, after, done_), t.known, subject); !bad.empty()) {
      ++t.damaged;
      t.Note("lost or damaged", plan + ": " + bad.front());
    }
    // Again, without a fault: a run that asked for a restart gets it first
    // (the restart runs the setup again), then the setup runs once more
    // if anything is still unfinished.
    auto machine = Open();
    if (machine->RestartRequested()) machine->Restart();
    machine.reset();
    const Outcome again = RunBuiltIn();
    if (again.code != 0) {
      ++t.rerunFailed;
      t.Note("rerun", plan + ": " + std::to_string(again.code) + " " + again.errors);
      return;
    }
    if (const auto diff = Unknown(Unlike(Capture(*home_), done_, &t.strays), t.known, subject);
        !diff.empty()) {
      if (std::getenv("PELLMORE_SWEEP_VERBOSE"))
        for (const auto& d : diff) std::cout << plan << ": " << d << "\n";
      ++t.rerunUnlike;
      t.Note("rerun state",
             plan + ": " + diff.front() + " (" + std::to_string(diff.size()) + " differences)");
    }
  }

  void Report(const char* sweep, const Tally& t, double seconds) {
    std::ostringstream table;
    table << sweep << ": operations in a full install " << counting_.ops.size() << " (";
    for (const auto& [kind, n] : counting_.perKind)
      if (kind != "any") table << kind << " " << n << ", ";
    table << "), runs " << t.runs << ", wrong exit code " << t.badCode << ", success claimed "
          << t.silent << ", message without the subject " << t.unnamed << ", lost or damaged "
          << t.damaged << ", restart chosen " << t.restarts << ", rerun failed " << t.rerunFailed
          << ", rerun unlike a clean install " << t.rerunUnlike
          << ", extraction temporaries left behind " << t.strays << ", " << seconds << " s\n";
    for (const auto& [finding, runs] : t.known)
      table << "  known, not failed: " << finding << ": " << runs << " runs\n";
    std::cout << table.str();
    if (const char* file = std::getenv("PELLMORE_SWEEP_TABLE"))
      std::ofstream(file, std::ios::app) << table.str();
    for (const auto& [check, list] : t.details)
      for (const std::string& d : list) ADD_FAILURE() << check << ": " << d;
  }

  fs::path template_;
  State before_, done_;
  Counting counting_;
  bool full_ = false;
};

TEST_F(FaultSweep, EveryOperationFails) {
  const auto start = std::chrono::steady_clock::now();
  Control();
  Tally t;
  for (size_t i : Chosen()) {
    const Operation& op = counting_.ops[i];
    Trial(op.kind + ":" + std::to_string(op.nth) + ":" + std::to_string(CodeFor(op.kind)), &op, t);
  }
  Report("fault sweep", t,
         std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

TEST_F(FaultSweep, EveryOperationKills) {
  const auto start = std::chrono::steady_clock::now();
  Tally t;
  for (size_t i : Chosen()) Trial("kill:any:" + std::to_string(i + 1), nullptr, t);
  Report("kill sweep", t,
         std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

}  // namespace
}  // namespace e2e
