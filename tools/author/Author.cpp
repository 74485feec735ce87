// Authoring the engine group's feature flags (see Author.h).
#include "tools/author/Author.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "dbengine/cmp_TInstallQDE.h"
#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "framework/FormWriter.h"
#include "framework/StrUtils.h"
#include "tools/pack/DesignForm.h"

namespace author {

namespace {

// The flags are the group's own Boolean properties named dr... (drivers)
// and sl... (server links).
bool IsFlagProperty(const PropInfo& p) {
  if (p.Kind() != TTypeKind::Boolean || p.Name().size() < 3) return false;
  const std::string head = AsciiUpperCase(p.Name().substr(0, 2));
  return head == "DR" || head == "SL";
}

const ClassInfo& EngineClass() {
  const ClassInfo* info = ClassRegistry::Global().FindClass(TInstallQDE::StaticMetaClass());
  if (!info) throw Exception("The engine group's class TInstallQDE is not registered");
  return *info;
}

const PropInfo& FlagProperty(const std::string& name) {
  const PropInfo* p = EngineClass().FindProp(name);
  if (!p || !IsFlagProperty(*p)) {
    std::string valid;
    for (const std::string& n : EngineFlagNames()) valid += (valid.empty() ? "" : ", ") + n;
    throw Exception("Unknown engine flag " + name + "; the flags are " + valid);
  }
  return *p;
}

std::vector<std::string> MemberNames(const TInstallQDE& group) {
  std::vector<std::string> names;
  for (int i = 0; i < group.ObjectCount(); ++i)
    if (auto* f = dynamic_cast<const TCustomInstallFile*>(group.Objects(i)))
      names.push_back(Trim(f->FileName()));
  return names;
}

// The names of `of` that `in` lacks (case ignored), in their order.
std::vector<std::string> Missing(const std::vector<std::string>& of,
                                 const std::vector<std::string>& in) {
  std::vector<std::string> result;
  for (const std::string& name : of) {
    bool found = false;
    for (const std::string& other : in) found = found || SameText(name, other);
    if (!found) result.push_back(name);
  }
  return result;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
  return text;
}

std::string SystemReason(int error) {
  return std::strerror(error);
}

}  // namespace

std::optional<FlagRequest> ParseFlagArgument(std::string_view arg) {
  if (arg.size() < 2 || (arg[0] != '+' && arg[0] != '-')) return std::nullopt;
  return FlagRequest{std::string(arg.substr(1)), arg[0] == '+'};
}

std::vector<std::string> EngineFlagNames() {
  std::vector<std::string> names;
  for (const PropInfo* p : EngineClass().Props())
    if (IsFlagProperty(*p)) names.push_back(p->Name());
  return names;
}

AuthorResult SetEngineFlags(std::string_view formText, const std::string& formFile,
                            const std::vector<FlagRequest>& flags) {
  // Unknown names are refused before anything is read.
  std::vector<const PropInfo*> props;
  for (const FlagRequest& f : flags) props.push_back(&FlagProperty(f.name));

  Owned<TComponent> root = pack::ReadAtDesignTime(formText, formFile);
  TInstallQDE* group = QDEGroup();
  if (!group || group->Owner() != root.get())
    throw Exception("The form description " + formFile + " holds no engine group (TInstallQDE)");

  AuthorResult result;
  for (size_t i = 0; i < flags.size(); ++i) {
    const PropInfo& p = *props[i];
    FlagChange change;
    change.flag = p.Name();
    change.on = flags[i].on;
    change.before = p.GetOrd(*group) != 0;
    const std::vector<std::string> before = MemberNames(*group);
    p.SetOrd(*group, flags[i].on ? 1 : 0);
    const std::vector<std::string> after = MemberNames(*group);
    change.after = p.GetOrd(*group) != 0;
    change.added = Missing(after, before);
    change.removed = Missing(before, after);
    result.changes.push_back(std::move(change));
  }
  result.formText = WriteForm(*root);
  return result;
}

std::string DescribeChange(const FlagChange& c) {
  std::string line = c.flag + " = " + (c.after ? "True" : "False") + ":";
  if (c.added.empty() && c.removed.empty()) line += " no member files changed";
  if (!c.added.empty()) line += " added " + Joined(c.added);
  if (!c.added.empty() && !c.removed.empty()) line += ";";
  if (!c.removed.empty()) line += " removed " + Joined(c.removed);
  if (c.after != c.on)
    line += std::string(" (the group still ") + (c.after ? "has" : "lacks") +
            " what the flag stands for)";
  return line;
}

void ReplaceHostFile(const std::string& path, std::string_view text) {
  const auto fail = [&](const std::string& what, int error) {
    return Exception("Cannot write " + path + ": " + what + " (" + SystemReason(error) + ")");
  };
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) throw fail("cannot create a temporary file beside it", errno);
  // The written form keeps the permissions of the one it replaces.
  struct stat st {};
  mode_t mode = 0;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode = ::umask(0);
    ::umask(mode);
    mode = 0666 & ~mode;
  }
  const char* p = text.data();
  size_t left = text.size();
  int error = 0;
  while (left > 0 && error == 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno != EINTR) error = errno;
      continue;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (error == 0 && ::fchmod(fd, mode) != 0) error = errno;
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    throw fail("the new form could not be put in place", error);
  }
}

}  // namespace author
