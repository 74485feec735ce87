// In-memory hive model of the simulated registry (see HiveModel.h): name
// rules, key paths and the key tree with its ordered values.
#include "platform/sim/HiveModel.h"

#include "framework/StrUtils.h"

namespace platform::sim {

HiveError::HiveError(std::string file, size_t line, std::string reason)
    : Exception("Corrupt registry hive \"" + file + "\", line " + std::to_string(line) + ": " +
                reason),
      file_(std::move(file)),
      line_(line),
      reason_(std::move(reason)) {}

namespace {

// Code points in UTF-8 text: every byte that is not a continuation byte
// starts one (a stray byte counts as one character).
size_t CharCount(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

// The line-oriented stored form cannot hold these inside a name.
bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos;
}

}  // namespace

std::string KeyNameProblem(std::string_view name) {
  if (name.empty()) return "empty key name";
  if (name.find('\\') != name.npos) return "key name contains a backslash";
  if (HasLineBreakOrNul(name)) return "key name contains a line break or NUL";
  if (CharCount(name) > kMaxKeyNameChars) return "key name longer than 255 characters";
  return {};
}

std::string ValueNameProblem(std::string_view name) {
  if (HasLineBreakOrNul(name)) return "value name contains a line break or NUL";
  if (CharCount(name) > kMaxValueNameChars) return "value name longer than 16383 characters";
  return {};
}

std::string ValueProblem(const RegValue& value) {
  switch (value.type) {
    case ValueType::String:
    case ValueType::ExpandString:
    case ValueType::Binary:
    case ValueType::DWord:
      return {};
    case ValueType::MultiString:
      for (const auto& item : value.multi)
        if (item.find('\0') != item.npos) return "multi-string item contains a NUL";
      return {};
  }
  return "unknown value type " + std::to_string(static_cast<uint32_t>(value.type));
}

bool SplitKeyPath(std::string_view path, std::vector<std::string_view>& names, std::string& why) {
  names.clear();
  if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  if (path.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t end = path.find('\\', start);
    const std::string_view name = path.substr(start, end == path.npos ? path.npos : end - start);
    why = KeyNameProblem(name);
    if (!why.empty()) return false;
    if (names.size() == kMaxKeyDepth) {
      why = "key path deeper than 512 levels";
      return false;
    }
    names.push_back(name);
    if (end == path.npos) return true;
    start = end + 1;
  }
}

RegValue NormalizedValue(const RegValue& value) {
  RegValue v;
  v.type = value.type;
  switch (value.type) {
    case ValueType::String:
    case ValueType::ExpandString:
      v.text = value.text;
      break;
    case ValueType::Binary:
      v.binary = value.binary;
      break;
    case ValueType::DWord:
      v.dword = value.dword;
      break;
    case ValueType::MultiString:
      v.multi = value.multi;
      break;
  }
  return v;
}

HiveKey* HiveKey::Find(std::string_view name) const {
  const auto it = children_.find(AsciiUpperCase(name));
  return it == children_.end() ? nullptr : it->second.get();
}

HiveKey& HiveKey::FindOrAdd(std::string_view name) {
  auto& slot = children_[AsciiUpperCase(name)];
  if (!slot) slot = std::make_unique<HiveKey>(std::string(name));
  return *slot;
}

bool HiveKey::Remove(std::string_view name) {
  return children_.erase(AsciiUpperCase(name)) != 0;
}

const RegValue* HiveKey::Value(std::string_view name) const {
  const auto it = index_.find(AsciiUpperCase(name));
  return it == index_.end() ? nullptr : &values_[it->second].value;
}

void HiveKey::SetValue(std::string_view name, RegValue value) {
  std::string upper = AsciiUpperCase(name);
  const auto it = index_.find(upper);
  if (it != index_.end()) {
    values_[it->second].value = std::move(value);
    return;
  }
  index_.emplace(std::move(upper), values_.size());
  values_.push_back(Slot{std::string(name), std::move(value), true});
}

bool HiveKey::RemoveValue(std::string_view name) {
  const auto it = index_.find(AsciiUpperCase(name));
  if (it == index_.end()) return false;
  Slot& slot = values_[it->second];
  slot.live = false;
  slot.value = RegValue();
  ++dead_;
  index_.erase(it);
  if (dead_ > 16 && dead_ * 2 > values_.size()) Compact();
  return true;
}

void HiveKey::Compact() {
  std::vector<Slot> kept;
  kept.reserve(values_.size() - dead_);
  index_.clear();
  for (auto& slot : values_) {
    if (!slot.live) continue;
    index_.emplace(AsciiUpperCase(slot.name), kept.size());
    kept.push_back(std::move(slot));
  }
  values_ = std::move(kept);
  dead_ = 0;
}

HiveKey* Hive::Find(const std::vector<std::string_view>& names) {
  HiveKey* key = &root_;
  for (const auto name : names) {
    key = key->Find(name);
    if (!key) return nullptr;
  }
  return key;
}

const HiveKey* Hive::Find(const std::vector<std::string_view>& names) const {
  const HiveKey* key = &root_;
  for (const auto name : names) {
    key = key->Find(name);
    if (!key) return nullptr;
  }
  return key;
}

HiveKey& Hive::Create(const std::vector<std::string_view>& names) {
  HiveKey* key = &root_;
  for (const auto name : names) key = &key->FindOrAdd(name);
  return *key;
}

}  // namespace platform::sim
