// The machine tool's own commands: create a machine, show or change its
// settings, hold and release files, change disks, list a directory, put a
// host file into the machine (see Commands.h).
#include <sys/stat.h>

#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>

#include "framework/DateTime.h"
#include "framework/StrUtils.h"
#include "platform/sim/HostTree.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimMachine.h"
#include "tools/machine/Commands.h"

using platform::sim::MachineOptions;
using platform::sim::SimMachine;

namespace {

void Need(const std::vector<std::string>& args, size_t min, size_t max) {
  if (args.size() < min) throw UsageError("missing arguments");
  if (args.size() > max) throw UsageError("too many arguments");
}

// A whole number that fits an int: std::stol alone skips leading blanks
// and a long would be cut to an int without a word.
int Integer(const std::string& option, const std::string& text) {
  try {
    size_t used = 0;
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
      throw std::invalid_argument(text);
    long v = std::stol(text, &used, 0);
    if (used != text.size() || v < INT_MIN || v > INT_MAX) throw std::invalid_argument(text);
    return int(v);
  } catch (const std::exception&) {
    throw UsageError(option + " needs a whole number, not '" + text + "'");
  }
}

int Create(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("missing the machine directory");
  MachineOptions o;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& opt = args[i];
    if (i + 1 >= args.size()) throw UsageError(opt + " needs a value");
    const std::string& v = args[++i];
    if (opt == "--kind") {
      o.kind = v;
    } else if (opt == "--windir") {
      o.windowsDir = v;
    } else if (opt == "--drive") {
      if (v.empty()) throw UsageError("--drive needs a letter");
      o.systemDrive = v[0];
    } else if (opt == "--drives") {
      o.extraDrives = v;
    } else if (opt == "--lang") {
      int lang = Integer(opt, v);
      if (lang < 0 || lang > 0xFFFF) throw UsageError("--lang must be 0x0000 to 0xFFFF");
      o.language = uint16_t(lang);
    } else if (opt == "--screen") {
      size_t x = v.find('x');
      if (x == std::string::npos) throw UsageError("--screen needs WIDTHxHEIGHT");
      o.screenWidth = Integer(opt, v.substr(0, x));
      o.screenHeight = Integer(opt, v.substr(x + 1));
    } else if (opt == "--timezone") {
      o.timeZoneMinutes = Integer(opt, v);
    } else if (opt == "--clock") {
      o.clock = v;
    } else if (opt == "--user") {
      o.userName = v;
    } else if (opt == "--program") {
      o.program = v;
    } else {
      throw UsageError("unknown option " + opt);
    }
  }
  auto machine = platform::sim::CreateMachine(args[0], o);
  std::cout << "created a " << machine->Settings().kind << " machine in " << args[0]
            << " (Windows in " << machine->Settings().windowsDir << ")\n";
  return 0;
}

// Shows or sets the machine's fault plan; every process that opens the
// machine without PELLMORE_FAULT of its own runs under it, so a run found
// by a sweep is replayed with one command and one run of the setup.
int Fault(const std::vector<std::string>& args) {
  Need(args, 1, 2);
  auto machine = SimMachine::Open(args[0]);
  if (args.size() == 2) {
    machine->ChangeSettings([&](platform::sim::MachineSettings& s) { s.Set("fault", args[1]); });
  }
  const std::string& plan = machine->Settings().fault;
  std::cout << "fault=" << (plan.empty() ? "none" : plan) << "\n";
  return 0;
}

int Settings(const std::vector<std::string>& args) {
  Need(args, 1, SIZE_MAX);
  auto machine = SimMachine::Open(args[0]);
  if (args.size() == 1) {
    for (const auto& [key, value] : machine->Settings().Items())
      std::cout << key << "=" << value << "\n";
    return 0;
  }
  // Everything is checked before anything is saved; free.X (bytes free now)
  // is applied last, as a capacity derived from what the drive holds.
  std::map<char, uint64_t> freeBytes;
  machine->ChangeSettings([&](platform::sim::MachineSettings& s) {
    for (size_t i = 1; i < args.size(); ++i) {
      size_t eq = args[i].find('=');
      if (eq == std::string::npos) throw UsageError("expected key=value, not '" + args[i] + "'");
      std::string key = args[i].substr(0, eq), value = args[i].substr(eq + 1);
      if (key.rfind("free.", 0) == 0) {
        // Checked as the settings file checks its numbers ("-5" must not
        // wrap around to a huge count), and the drive must exist, so that
        // nothing is saved when one of them is wrong.
        const char drive = key.size() == 6 ? char(key[5] & ~0x20) : 0;
        if (drive < 'A' || drive > 'Z')
          throw UsageError("expected free.LETTER=BYTES, not '" + args[i] + "'");
        const uint64_t bytes = platform::sim::ByteCount(key, value);
        struct stat st {};
        const std::string driveDir = args[0] + "/drive_" + char(drive | 0x20);
        if (::stat(driveDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
          throw platform::sim::MachineError(key + ": the machine has no drive " + drive + ":");
        freeBytes[drive] = bytes;
        continue;
      }
      s.Set(key, value);
    }
  });
  for (const auto& [drive, bytes] : freeBytes) machine->SetFreeSpace(drive, bytes);
  return 0;
}

int Hold(const std::vector<std::string>& args, bool hold) {
  Need(args, 2, SIZE_MAX);
  auto machine = SimMachine::Open(args[0]);
  for (size_t i = 1; i < args.size(); ++i) {
    if (hold)
      machine->Hold(args[i]);
    else
      machine->Release(args[i]);
  }
  return 0;
}

// disk DIR A [N]: inserts disk N (shelving the one in the drive), then
// says which disk is in the drive and which lie on the shelf.
int Disk(const std::vector<std::string>& args) {
  Need(args, 2, 3);
  const std::string& letter = args[1];
  if (letter.empty() || letter.size() > 2 || !std::isalpha((unsigned char)letter[0]) ||
      (letter.size() == 2 && letter[1] != ':'))
    throw UsageError("expected a drive letter, e.g. A");
  const char drive = char(std::toupper((unsigned char)letter[0]));
  auto machine = SimMachine::Open(args[0]);
  platform::sim::RemovableDisks& disks = machine->Disks();
  if (!disks.IsRemovable(drive))
    throw platform::sim::MachineError(std::string("drive ") + drive + ": is not removable");
  if (args.size() == 3) {
    const std::string& n = args[2];
    if (n.empty() || n.size() > 3 || n.find_first_not_of("0123456789") != std::string::npos)
      throw UsageError("expected a disk number 1..999");
    disks.Insert(drive, std::stoi(n));
  }
  std::cout << drive << ": disk " << disks.InDrive(drive) << " in the drive; shelved:";
  for (int d : disks.Shelved(drive)) std::cout << " " << d;
  std::cout << "\n";
  return 0;
}

std::string LocalTime(platform::FileTime t, int zoneMinutes) {
  int64_t local = int64_t(t) + int64_t(zoneMinutes) * 600000000;
  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(platform::FileTimeToDateTime(local < 0 ? 0 : platform::FileTime(local)), y, mo, d,
                 h, mi, s, ms);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
  return buf;
}

int List(const std::vector<std::string>& args) {
  Need(args, 2, 2);
  auto machine = SimMachine::Open(args[0]);
  auto& files = machine->files();
  std::string pattern = args[1];
  if (files.DirectoryExists(pattern))
    pattern += (pattern.back() == '\\' || pattern.back() == '/') ? "*" : "\\*";
  for (const auto& e : files.FindFiles(pattern)) {
    if (e.name == "." || e.name == "..") continue;
    char size[24];
    std::snprintf(size, sizeof size, "%12llu", static_cast<unsigned long long>(e.size));
    std::cout << LocalTime(e.lastWrite, machine->Settings().timeZoneMinutes) << "  "
              << (e.IsDirectory() ? "       <DIR>" : size) << " "
              << ((e.attributes & platform::kAttrReadOnly) ? "R " : "  ") << e.name << "\n";
  }
  return 0;
}

// Copies a host file into the machine through a temporary file beside the
// target, put in place only when the whole copy is there: a failed put
// leaves neither a partial file nor a folder it made, and an existing
// target keeps its old content.
int Put(const std::vector<std::string>& args) {
  Need(args, 3, 3);
  auto machine = SimMachine::Open(args[0]);
  struct stat st {};
  if (::stat(args[1].c_str(), &st) != 0) throw std::runtime_error("cannot read " + args[1]);
  if (!S_ISREG(st.st_mode)) throw std::runtime_error(args[1] + " is not a regular file");
  std::ifstream in(args[1], std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + args[1]);
  platform::FileSystem& files = machine->files();
  const std::string target = files.FullPathName(args[2]);
  const std::string dir = target.substr(0, target.rfind('\\'));

  // The folders to make, outermost first, so a failure can take them back.
  std::vector<std::string> made;
  for (std::string d = dir; d.size() > 2 && !files.DirectoryExists(d);
       d = d.substr(0, d.rfind('\\')))
    made.insert(made.begin(), d);
  std::string temp;
  try {
    for (const std::string& d : made) files.CreateDirectory(d);
    // An 8.3 name, so the machine records no short name for it.
    for (unsigned n = 0;; ++n) {
      char name[16];
      std::snprintf(name, sizeof name, "~P%06u.TMP", (unsigned(::getpid()) + n) % 1000000u);
      temp = dir + "\\" + name;
      if (!files.Stat(temp)) break;
    }
    auto out = files.Create(temp);
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
      out->Write(buffer, size_t(in.gcount()));
    if (in.bad()) throw std::runtime_error("cannot read " + args[1]);
    // The file keeps its host modification time, so a mirrored program has
    // the size and date of the real one.
    out->SetLastWriteTime(platform::sim::FileTimeOfHost(st.st_mtim.tv_sec, st.st_mtim.tv_nsec));
    out->Close();
    files.MoveFile(temp, target, platform::kMoveReplaceExisting);
  } catch (...) {
    try {
      if (!temp.empty() && files.Stat(temp)) files.DeleteFile(temp);
      for (auto d = made.rbegin(); d != made.rend(); ++d) files.RemoveDirectory(*d);
    } catch (const std::exception&) {
      // The first failure is the one to report.
    }
    throw;
  }
  return 0;
}

}  // namespace

void RegisterMachineCommands(CommandTable& table) {
  std::string kinds;
  for (char c : platform::sim::KindNames())
    if (c != ' ') kinds += c == ',' ? '|' : c;
  table.Add({"create",
             "create DIR [--kind " + kinds +
                 "] [--windir C:\\WINNT] [--drive C] [--drives DE] [--lang 0x0409] "
                 "[--screen 1024x768] [--timezone MINUTES] [--clock real|'fixed YYYY-MM-DD "
                 "HH:MM:SS'|'offset SECONDS'] [--user NAME] [--program C:\\SETUP\\SETUP.EXE]",
             "makes a fresh machine in a new or empty directory", Create});
  table.Add({"settings", "settings DIR [key=value ...] [free.C=BYTES ...]",
             "shows the settings, or changes them (all or none)", Settings});
  table.Add({"fault", "fault DIR [PLAN|none]",
             "shows or sets the fault plan every process on the machine runs under (or set "
             "PELLMORE_FAULT for one run); PLAN is rules joined by commas: KIND:N[:CODE] (the "
             "Nth operation of KIND fails with Windows error CODE, default 5), kill:KIND|any:N "
             "(the process ends at once before it), diskfull:DRIVE:BYTES (writes fail with 112 "
             "once BYTES are written); KIND: create write flush move delete delayed regwrite "
             "regflush load start. PELLMORE_FAULT_COUNT=FILE writes a run's counts per kind",
             Fault});
  table.Add({"hold", "hold DIR PATH ...",
             "marks files as held open by another program (readable, not replaceable)",
             [](const std::vector<std::string>& a) { return Hold(a, true); }});
  table.Add({"release", "release DIR PATH ...", "releases held files",
             [](const std::vector<std::string>& a) { return Hold(a, false); }});
  table.Add({"disk", "disk DIR A [N]",
             "shows the disks of a removable drive, or inserts disk N (blank when new)", Disk});
  table.Add({"ls", "ls DIR PATH", "lists a directory (or the entries matching a pattern)", List});
  table.Add({"put", "put DIR HOSTFILE PATH",
             "copies a host file into the machine, keeping its date", Put});
}
