// The commands of pellmore-archive (see ArchiveTool.h and README in
// tools/archive): list, add, extract, split and verify, each a thin layer
// over TVrexCompress running on the tool's platform (ToolBackend).
#include "ArchiveTool.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

#include "ToolBackend.h"
#include "archive/MemberNames.h"
#include "archive/cmp_TVrexCompress.h"
#include "files/version/cmp_TVersion.h"
#include "framework/DateTime.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "framework/Utf8.h"

namespace archive_tool {
namespace {

const char* const kUsage =
    "usage: pellmore-archive [--drive X=DIR]... COMMAND ...\n"
    "  list ARCHIVE [--json] [--offset N]\n"
    "  add ARCHIVE [--new] [--level none|fastest|default|max|0|1|6|9] [--id N | --ids N] FILE...\n"
    "  extract ARCHIVE [-d DIR] [--overwrite always|never|version|date|versiondate]\n"
    "          [--offset N] [--volumes DIR] [MEMBER...]\n"
    "  split ARCHIVE DESTDIR [--volume-size BYTES|NK|NM|floppy] [--name VOLUME.1]\n"
    "  verify ARCHIVE [--offset N] [--volumes DIR]\n"
    "Host paths are stored as Windows paths: H:\\ is the host's root, --drive maps\n"
    "another letter to a host directory (C=build/drive_c stores C:\\... names).\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A command's arguments: options (with their values) and positionals.
struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // flags map to ""
  bool Has(const std::string& o) const { return options.count(o) != 0; }
  std::string Get(const std::string& o, const std::string& def = {}) const {
    const auto it = options.find(o);
    return it == options.end() ? def : it->second;
  }
};

Args Parse(const std::vector<std::string>& args, size_t from, const std::set<std::string>& flags,
           const std::set<std::string>& valued) {
  Args a;
  for (size_t i = from; i < args.size(); ++i) {
    const std::string& s = args[i];
    if (s.size() > 1 && s[0] == '-' && !(s.size() >= 3 && s[1] == ':')) {
      if (flags.count(s)) {
        a.options[s] = "";
      } else if (valued.count(s)) {
        if (i + 1 >= args.size()) throw UsageError(s + " needs a value");
        a.options[s] = args[++i];
      } else {
        throw UsageError("unknown option " + s);
      }
    } else {
      a.positional.push_back(s);
    }
  }
  return a;
}

int64_t Number(const std::string& text, const std::string& what) {
  int64_t v = 0;
  if (!TryStrToInt64(text, v)) throw UsageError(what + " is not a number: " + text);
  return v;
}

std::string DateText(TDateTime d) {
  int y, mo, da, h, mi, s, ms;
  try {
    DecodeDateTime(d, y, mo, da, h, mi, s, ms);
  } catch (const Exception&) {
    return "-";
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, da, h, mi, s);
  return buf;
}

// A JSON string; bytes that are not UTF-8 become U+FFFD.
std::string Json(std::string_view s) {
  std::string out = "\"";
  for (size_t pos = 0; pos < s.size();) {
    char32_t cp = 0;
    const size_t n = Utf8Next(s, pos, &cp);
    pos += n;
    if (cp == '"' || cp == '\\') {
      out += '\\';
      out += char(cp);
    } else if (cp < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(cp));
      out += buf;
    } else {
      AppendUtf8(out, cp);
    }
  }
  return out + "\"";
}

// A file the tool is to read: a clear word when it is a directory or no
// regular file (reading a FIFO would wait for a writer forever; the file
// service refuses it too, with less to say).
void CheckInputFile(HostFileSystem& host, const std::string& windowsPath,
                    const std::string& given) {
  struct stat st;
  std::string path;
  try {
    path = host.HostPath(windowsPath, "CreateFileW");
  } catch (const platform::OsError&) {
    return;  // no drive holds it: the kit names the file it cannot open
  }
  if (::stat(path.c_str(), &st) != 0) return;  // the kit says it is missing
  if (S_ISDIR(st.st_mode)) throw std::runtime_error(given + " is a directory, not a file");
  if (!S_ISREG(st.st_mode))
    throw std::runtime_error(given +
                             " is not a regular file (a pipe, socket or device); only regular "
                             "files are read");
}

class Session {
 public:
  Session(ToolBackend& backend, std::ostream& out) : backend_(backend), out_(out) {
    archive_.reset(new TVrexCompress(nullptr));
  }

  int List(const Args& a);
  int Add(const Args& a);
  int Extract(const Args& a);
  int Split(const Args& a);
  int Verify(const Args& a);

 private:
  // The Windows path of a path argument; `what` names it in the usage
  // error an empty argument gets.
  std::string PathArg(const std::string& arg, const std::string& what) const {
    if (Trim(arg).empty()) throw UsageError(what + " is empty: give a path");
    return backend_.ToWindows(arg);
  }
  // The Windows path of an input file, checked to be a regular file.
  std::string InputArg(const std::string& arg, const std::string& what) const {
    const std::string path = PathArg(arg, what);
    CheckInputFile(backend_.Host(), path, arg);
    return path;
  }

  // Points the component at the archive named by the first positional.
  void Open(const Args& a, size_t minPositional) {
    if (a.positional.size() < minPositional) throw UsageError("missing arguments");
    archive_->SetCompressedFile(InputArg(a.positional[0], "the archive name"));
    archive_->SetOffset(static_cast<int32_t>(Number(a.Get("--offset", "0"), "--offset")));
    if (a.Has("--volumes")) {
      const std::string dir = PathArg(a.Get("--volumes"), "--volumes");
      archive_->OnNewDisk = [dir](TObject*, int, std::string& path) { path = dir; };
    }
  }

  ToolBackend& backend_;
  std::ostream& out_;
  Owned<TVrexCompress> archive_;
};

int Session::List(const Args& a) {
  Open(a, 1);
  TVrexCompress& c = *archive_;
  const int n = c.FileCount();
  const bool volumes = c.Directory().VolumeSet();
  if (a.Has("--json")) {
    out_ << "{\"archive\": " << Json(c.CompressedFile())
         << ", \"layout\": " << (volumes ? "\"volumes\"" : "\"single\"") << ", \"members\": [";
    for (int i = 0; i < n; ++i) {
      const TFileHeader& h = c.Directory().GetFileHeaders(i);
      out_ << (i ? "," : "") << "\n  {\"index\": " << i << ", \"sequence\": " << h.SequenceNumber()
           << ", \"name\": " << Json(h.Name()) << ", \"size\": " << h.Size()
           << ", \"compressed\": " << h.CompressedSize()
           << ", \"ratio\": " << int(RatioOf(h.CompressedSize(), h.Size()))
           << ", \"date\": " << Json(DateText(h.Date())) << ", \"version\": " << Json(h.Version())
           << ", \"uniqueId\": " << h.UniqueID() << ", \"startVolume\": " << h.StartVolume()
           << ", \"endVolume\": " << h.EndVolume() << "}";
    }
    out_ << (n ? "\n" : "") << "]}\n";
    return kExitOk;
  }
  char line[160];
  std::snprintf(line, sizeof line, "%5s %5s %10s %10s %5s  %-19s  %-15s %5s%s  %s\n", "#", "Seq",
                "Size", "Packed", "Ratio", "Date", "Version", "ID", volumes ? "  Vols" : "",
                "Name");
  out_ << line;
  int64_t size = 0, packed = 0;
  for (int i = 0; i < n; ++i) {
    const TFileHeader& h = c.Directory().GetFileHeaders(i);
    std::string vols;
    if (volumes)
      vols = "  " + std::to_string(h.StartVolume()) + "-" + std::to_string(h.EndVolume());
    std::snprintf(line, sizeof line, "%5d %5d %10d %10d %4d%%  %-19s  %-15s %5d%s  ", i,
                  h.SequenceNumber(), h.Size(), h.CompressedSize(),
                  int(RatioOf(h.CompressedSize(), h.Size())), DateText(h.Date()).c_str(),
                  h.Version().c_str(), h.UniqueID(), vols.c_str());
    out_ << line << h.Name() << "\n";
    size += h.Size();
    packed += h.CompressedSize();
  }
  out_ << n << " member(s), " << size << " bytes, " << packed << " compressed ("
       << int(RatioOf(packed, size)) << "%)\n";
  return kExitOk;
}

int Session::Add(const Args& a) {
  if (a.positional.size() < 2) throw UsageError("add needs an archive and at least one file");
  TVrexCompress& c = *archive_;
  c.SetCompressedFile(PathArg(a.positional[0], "the archive name"));
  static const std::map<std::string, TCompressionLevel> kLevels = {
      {"none", colNone},  {"0", colNone},          {"fastest", colFastest},
      {"1", colFastest},  {"default", colDefault}, {"6", colDefault},
      {"-1", colDefault}, {"max", colMax},         {"9", colMax}};
  const auto level = kLevels.find(AsciiLowerCase(a.Get("--level", "max")));
  if (level == kLevels.end()) throw UsageError("unknown level " + a.Get("--level"));
  c.SetCompressionLevel(level->second);
  if (a.Has("--id") && a.Has("--ids")) throw UsageError("--id and --ids exclude each other");
  c.OnAfterAdding = [this](TObject*, const TlzhFileStats& s) {
    out_ << "added " << s.FileName << " (" << s.FileSize << " -> " << s.CompressedSize << ", "
         << int(s.Ratio) << "%)\n";
  };

  // Every file is checked before the archive is touched.
  std::vector<std::string> files;
  for (size_t i = 1; i < a.positional.size(); ++i) {
    files.push_back(InputArg(a.positional[i], "a file name"));
    try {
      RefuseNameTooLongForArchive(files.back());
    } catch (const Exception& e) {
      throw std::runtime_error(e.Message() +
                               "\n  (--drive X=DIR stores the files below DIR under X:\\, a "
                               "shorter name)");
    }
  }
  TlzhCommand command = a.Has("--new") ? lzcOverwrite : lzcOnlyAdd;
  TStringList list;
  if (a.Has("--ids")) {
    // One batch per file, as a build adds install files one by one.
    int id = static_cast<int>(Number(a.Get("--ids"), "--ids"));
    for (const std::string& f : files) {
      list.Clear();
      list.Add(f);
      c.SetFilesToProcess(&list);
      c.Compress(command, id++);
      command = lzcOnlyAdd;
    }
  } else {
    for (const std::string& f : files) list.Add(f);
    c.SetFilesToProcess(&list);
    c.Compress(command, static_cast<int>(Number(a.Get("--id", "0"), "--id")));
  }
  return kExitOk;
}

int Session::Extract(const Args& a) {
  Open(a, 1);
  TVrexCompress& c = *archive_;
  c.SetExtractDirectory(PathArg(a.Get("-d", "."), "the directory of -d"));
  static const std::map<std::string, TOverwriteType> kModes = {{"always", owAlways},
                                                               {"never", owNever},
                                                               {"version", owVersion},
                                                               {"date", owDate},
                                                               {"versiondate", owVersionDate}};
  const auto mode = kModes.find(AsciiLowerCase(a.Get("--overwrite", "always")));
  if (mode == kModes.end()) throw UsageError("unknown overwrite mode " + a.Get("--overwrite"));
  c.SetOverwrite(mode->second);

  TStringList list;
  if (a.positional.size() > 1) {
    for (size_t i = 1; i < a.positional.size(); ++i) list.Add(a.positional[i]);
  } else {
    // Every name once (a name added twice extracts its first member).
    std::set<std::string> seen;
    for (int i = 0; i < c.FileCount(); ++i) {
      const std::string name = c.Directory().GetFileHeaders(i).Name();
      if (seen.insert(AsciiUpperCase(name)).second) list.Add(name);
    }
  }
  int done = 0;
  c.OnStatus = [&](TObject*, const TlzhFileStats& s) {
    if (s.Finished) {
      out_ << s.FileName << "\n";
      ++done;
    }
  };
  c.SetFilesToProcess(&list);
  c.Extract();
  out_ << done << " member(s) processed\n";
  return kExitOk;
}

int Session::Split(const Args& a) {
  if (a.positional.size() != 2) throw UsageError("split needs an archive and a directory");
  TVrexCompress& c = *archive_;
  c.SetCompressedFile(InputArg(a.positional[0], "the archive name"));
  const std::string dest = PathArg(a.positional[1], "the volume directory");
  std::string size = AsciiLowerCase(a.Get("--volume-size", ""));
  if (!size.empty()) {
    int64_t bytes = 0;
    if (size == "floppy") {
      bytes = 1457664;  // what a formatted 1.44 MB disk holds
    } else {
      int64_t unit = 1;
      if (size.back() == 'k') unit = 1024;
      if (size.back() == 'm') unit = 1024 * 1024;
      if (unit != 1) size.pop_back();
      bytes = Number(size, "--volume-size") * unit;
    }
    if (bytes < 8192) throw UsageError("--volume-size must be at least 8192 bytes");
    backend_.Host().LimitFileSize(a.positional[1], uint64_t(bytes));
  }
  std::vector<std::string> volumes;
  const std::string name = a.Get("--name", ExtractFileName(c.CompressedFile()));
  // A new "disk" is the next file in the same directory.
  c.OnNewDisk = [&](TObject*, int number, std::string& path) {
    path = dest;
    volumes.push_back(ChangeFileExt(name, "." + std::to_string(number)));
  };
  c.SplitToVolumes(dest, name);
  if (c.Abort()) return kExitFailed;
  out_ << ExtractFileName(name) << "\n";
  std::set<std::string> listed;
  for (const std::string& v : volumes)
    if (listed.insert(v).second && v != name) out_ << v << "\n";
  return kExitOk;
}

int Session::Verify(const Args& a) {
  Open(a, 1);
  TVrexCompress& c = *archive_;
  const int n = c.FileCount();
  for (int i = 0; i < n; ++i) {
    try {
      c.VerifyMember(i);
    } catch (const Exception& e) {
      out_ << "bad member " << i << ": " << c.Directory().GetFileHeaders(i).Name() << ": "
           << e.Message() << "\n";
      if (const auto* detail = dynamic_cast<const EArchiveError*>(&e))
        out_ << "  (" << detail->Reason() << ")\n";
      return kExitFailed;
    }
  }
  out_ << n << " member(s) verified\n";
  return kExitOk;
}

int Run(const std::vector<std::string>& args, std::ostream& out) {
  ToolBackend* backend = new ToolBackend;
  platform::Install(std::unique_ptr<platform::Backend>(backend));
  struct Cleanup {
    ~Cleanup() {
      TVersionResource::FreeShared();
      ProcessState::ResetAll();
      platform::Install(nullptr);
    }
  } cleanup;

  size_t i = 0;
  while (i < args.size() && args[i] == "--drive") {
    if (i + 1 >= args.size()) throw UsageError("--drive needs X=DIR");
    const std::string& map = args[i + 1];
    if (map.size() < 3 || map[1] != '=' || !std::isalpha(static_cast<unsigned char>(map[0])))
      throw UsageError("--drive needs X=DIR, not " + map);
    const char letter = char(map[0] & ~0x20);
    if (letter == ToolBackend::kMachineDrive) throw UsageError("drive W is the tool's own");
    backend->Host().MapDrive(letter, std::filesystem::absolute(map.substr(2)).lexically_normal());
    i += 2;
  }
  if (i >= args.size()) throw UsageError("no command");
  const std::string command = args[i++];
  Session s(*backend, out);
  if (command == "list") return s.List(Parse(args, i, {"--json"}, {"--offset"}));
  if (command == "add") return s.Add(Parse(args, i, {"--new"}, {"--level", "--id", "--ids"}));
  if (command == "extract")
    return s.Extract(Parse(args, i, {}, {"-d", "--overwrite", "--offset", "--volumes"}));
  if (command == "split") return s.Split(Parse(args, i, {}, {"--volume-size", "--name"}));
  if (command == "verify") return s.Verify(Parse(args, i, {}, {"--offset", "--volumes"}));
  throw UsageError("unknown command " + command);
}

}  // namespace

int RunArchiveTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    return Run(args, out);
  } catch (const UsageError& e) {
    err << "pellmore-archive: " << e.what() << "\n" << kUsage;
    return kExitUsage;
  } catch (const EArchiveError& e) {
    err << "pellmore-archive: " << e.Message() << "\n  (" << e.Reason() << ")\n";
  } catch (const Exception& e) {
    err << "pellmore-archive: " << e.Message() << "\n";
  } catch (const std::exception& e) {
    err << "pellmore-archive: " << e.what() << "\n";
  }
  return kExitFailed;
}

}  // namespace archive_tool
