// The parts of the test machine both builds share (see TestMachine.h): the
// scratch directory's file helpers and the registry guard that snapshots
// the kit's keys before a test and puts them back afterwards.
#include "support/TestMachine.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace testsupport {

namespace {

using platform::RegValue;
using platform::RootKey;

// The keys the kit writes that other programs share: what a test leaves
// there is undone. A test's own keys live below its RegKey(), also guarded.
struct GuardedKey {
  RootKey root;
  const char* path;
};
constexpr GuardedKey kGuardedKeys[] = {
    {RootKey::LocalMachine, "SOFTWARE\\Pellmore"},
    {RootKey::LocalMachine, "SOFTWARE\\Quenby"},
    {RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
    {RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"},
    {RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help"},
    {RootKey::CurrentUser, "Software\\Pellmore"},
};

// A key as it was: its values and subkeys by upper-case name. Values of a
// type the service does not read are only named, and left alone.
struct KeyImage {
  std::string name;
  std::set<std::string> valueNames;
  std::map<std::string, std::pair<std::string, RegValue>> values;
  std::map<std::string, KeyImage> subkeys;
};

std::optional<KeyImage> Capture(RootKey root, const std::string& path, const std::string& name) {
  platform::Registry& reg = platform::registry();
  if (!reg.KeyExists(root, path)) return std::nullopt;
  KeyImage image;
  image.name = name;
  for (const auto& v : reg.ValueNames(root, path)) {
    image.valueNames.insert(AsciiUpperCase(v));
    if (auto value = reg.ReadValue(root, path, v)) image.values[AsciiUpperCase(v)] = {v, *value};
  }
  for (const auto& k : reg.SubKeyNames(root, path))
    if (auto sub = Capture(root, path + "\\" + k, k)) image.subkeys[AsciiUpperCase(k)] = *sub;
  return image;
}

void DeleteTree(RootKey root, const std::string& path) {
  platform::Registry& reg = platform::registry();
  for (const auto& k : reg.SubKeyNames(root, path)) DeleteTree(root, path + "\\" + k);
  reg.DeleteKey(root, path);
}

void RestoreKey(RootKey root, const std::string& path, const KeyImage& image) {
  platform::Registry& reg = platform::registry();
  reg.CreateKey(root, path);
  for (const auto& k : reg.SubKeyNames(root, path))
    if (!image.subkeys.count(AsciiUpperCase(k))) DeleteTree(root, path + "\\" + k);
  for (const auto& v : reg.ValueNames(root, path))
    if (!image.valueNames.count(AsciiUpperCase(v))) reg.DeleteValue(root, path, v);
  for (const auto& [upper, value] : image.values) {
    const auto now = reg.ReadValue(root, path, value.first);
    if (!now || !(*now == value.second)) reg.WriteValue(root, path, value.first, value.second);
  }
  for (const auto& [upper, sub] : image.subkeys) RestoreKey(root, path + "\\" + sub.name, sub);
}

}  // namespace

struct RegistrySnapshot::Saved {
  RootKey root;
  std::string path;
  std::optional<KeyImage> image;  // nullopt: the key was missing
};

RegistrySnapshot::RegistrySnapshot(const std::vector<Key>& keys) {
  for (const auto& k : keys)
    saved_.push_back(
        std::make_shared<const Saved>(Saved{k.root, k.path, Capture(k.root, k.path, "")}));
}

void RegistrySnapshot::Restore() const {
  for (const auto& s : saved_) {
    if (s->image)
      RestoreKey(s->root, s->path, *s->image);
    else if (platform::registry().KeyExists(s->root, s->path))
      DeleteTree(s->root, s->path);
  }
}

std::string TestMachine::At(std::string_view relative) const {
  return scratch_ + "\\" + std::string(relative);
}

std::string TestMachine::InScratch(std::string_view text) const {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    // A path already in the scratch directory stays as it is, so passing
    // a text through twice changes nothing.
    if (text.substr(i, scratch_.size()) == scratch_) {
      out += scratch_;
      i += scratch_.size();
    } else if (i + 3 <= text.size() && (text[i] == 'C' || text[i] == 'c') && text[i + 1] == ':' &&
               text[i + 2] == '\\') {
      out += scratch_ + "\\";
      i += 3;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string TestMachine::KeyAt(std::string_view relative) const {
  return regKey_ + "\\" + std::string(relative);
}

void TestMachine::WriteFile(std::string_view path, std::string_view bytes) {
  const std::string dir = ExtractFileDir(std::string(path));
  if (!dir.empty() && !platform::files().DirectoryExists(dir))
    platform::files().CreateDirectories(dir);
  auto f = platform::files().Create(path);
  f->Write(bytes.data(), bytes.size());
  f->Close();
}

std::string TestMachine::ReadFile(std::string_view path) {
  auto f = platform::files().OpenRead(path);
  std::string out;
  char buffer[4096];
  while (size_t n = f->Read(buffer, sizeof buffer)) out.append(buffer, n);
  return out;
}

void TestMachine::RemoveTree(const std::string& dir) {
  platform::FileSystem& fs = platform::files();
  for (const auto& e : fs.FindFiles(dir + "\\*")) {
    if (e.name == "." || e.name == "..") continue;
    std::string path = dir + "\\" + e.name;
    if (e.IsDirectory()) {
      RemoveTree(path);
    } else {
      if (e.attributes & platform::kAttrReadOnly) fs.SetAttributes(path, platform::kAttrNormal);
      fs.DeleteFile(path);
    }
  }
  fs.RemoveDirectory(dir);
}

void TestMachine::CreateScratch(const std::string& name) {
  scratchName_ = name;
  regKey_ = "SOFTWARE\\Pellmore Tests\\" + name;
  if (scratch_ == "C:") return;  // a new simulated machine's drive
  std::string temp = platform::system().TempDirectory();
  if (!temp.empty() && temp.back() == '\\') temp.pop_back();
  scratch_ = temp + "\\" + name;
  if (platform::files().DirectoryExists(scratch_)) RemoveTree(scratch_);
  platform::files().CreateDirectories(scratch_);
}

TestMachine::~TestMachine() {
  Release();
}

void TestMachine::GuardRegistry() {
  std::vector<RegistrySnapshot::Key> keys;
  for (const auto& k : kGuardedKeys) keys.push_back({k.root, k.path});
  keys.push_back({RootKey::LocalMachine, regKey_});
  guard_.emplace(keys);
}

void TestMachine::ReleaseCommon() {
  if (!platform::HasCurrent()) return;
  try {
    // A test may have replaced the simulated machine, or the scratch
    // directory is a whole simulated drive: nothing to remove then.
    if (scratch_ != "C:" && platform::files().DirectoryExists(scratch_)) {
      // A test may leave its current directory inside the scratch tree,
      // which Windows refuses to remove.
      platform::system().SetCurrentDirectory(platform::system().TempDirectory());
      RemoveTree(scratch_);
    }
  } catch (const std::exception& e) {
    ADD_FAILURE() << "cannot remove the scratch directory " << scratch_ << ": " << e.what();
  }
  if (guard_) {
    try {
      guard_->Restore();
    } catch (const std::exception& e) {
      ADD_FAILURE() << "cannot restore the registry: " << e.what();
    }
    guard_.reset();
  }
}

}  // namespace testsupport
