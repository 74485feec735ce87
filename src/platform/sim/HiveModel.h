// In-memory model of one registry hive of the simulated machine: a tree of
// keys, each with its subkeys ordered by upper-case name and its values in
// creation order. Names keep the case they were created with; lookups fold
// ASCII case. No file access here (HiveReader/HiveWriter/HiveStore do that).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/Exception.h"
#include "platform/Registry.h"

namespace platform::sim {

// A hive or journal file that cannot be read as one: names the file, the
// line and what is wrong there. Corrupt input, not a refusal of the system.
class HiveError : public Exception {
 public:
  HiveError(std::string file, size_t line, std::string reason);
  const std::string& File() const { return file_; }
  size_t Line() const { return line_; }
  const std::string& Reason() const { return reason_; }
  const char* ClassName() const noexcept override { return "HiveError"; }

 private:
  std::string file_;
  size_t line_;
  std::string reason_;
};

// Limits shared by the writer and the reader, so nothing can be stored that
// the reader would later refuse (Windows has the same limits).
constexpr size_t kMaxKeyNameChars = 255;
constexpr size_t kMaxValueNameChars = 16383;
constexpr size_t kMaxKeyDepth = 512;

// Why `name` cannot name a key, or empty when it can.
std::string KeyNameProblem(std::string_view name);
// Why `name` cannot name a value ("" is the default value), or empty.
std::string ValueNameProblem(std::string_view name);
// Why `value` cannot be stored, or empty (a multi-string item may not hold a
// NUL, which terminates items in the stored form).
std::string ValueProblem(const RegValue& value);

// Splits a key path below a root into its names. One leading and one
// trailing backslash are ignored; an empty name inside the path, a bad name
// or a path deeper than kMaxKeyDepth gives false and the reason in `why`.
bool SplitKeyPath(std::string_view path, std::vector<std::string_view>& names, std::string& why);

// The value as stored: only the fields its type uses are kept, so two
// values compare equal exactly when they read back the same.
RegValue NormalizedValue(const RegValue& value);

class HiveKey {
 public:
  explicit HiveKey(std::string name) : name_(std::move(name)) {}
  HiveKey(const HiveKey&) = delete;
  HiveKey& operator=(const HiveKey&) = delete;

  const std::string& Name() const { return name_; }

  // Subkeys, keyed by upper-case name: iteration order is enumeration order.
  using Children = std::map<std::string, std::unique_ptr<HiveKey>>;
  const Children& SubKeys() const { return children_; }
  HiveKey* Find(std::string_view name) const;
  // The subkey `name`, created (keeping the case given) when missing.
  HiveKey& FindOrAdd(std::string_view name);
  // Removes the subkey `name` with everything below it; false when absent.
  bool Remove(std::string_view name);

  const RegValue* Value(std::string_view name) const;
  // Replaces a value in place (its position stays) or appends a new one.
  void SetValue(std::string_view name, RegValue value);
  bool RemoveValue(std::string_view name);
  size_t ValueCount() const { return values_.size() - dead_; }

  // Calls f(name, value) for every value in creation order.
  template <class F>
  void ForEachValue(F&& f) const {
    for (const auto& slot : values_)
      if (slot.live) f(slot.name, slot.value);
  }

 private:
  struct Slot {
    std::string name;
    RegValue value;
    bool live = true;
  };
  void Compact();

  std::string name_;
  Children children_;
  // Removed values leave dead slots so removal stays O(1); they are swept
  // out once they are the majority.
  std::vector<Slot> values_;
  std::unordered_map<std::string, size_t> index_;  // upper-case name -> slot
  size_t dead_ = 0;
};

// One hive: the root key (named like the file's root, "HKEY_LOCAL_MACHINE")
// and the generation of the hive file it was read from.
class Hive {
 public:
  explicit Hive(std::string rootName) : root_(std::move(rootName)) {}

  HiveKey& Root() { return root_; }
  const HiveKey& Root() const { return root_; }
  const std::string& RootName() const { return root_.Name(); }

  HiveKey* Find(const std::vector<std::string_view>& names);
  const HiveKey* Find(const std::vector<std::string_view>& names) const;
  HiveKey& Create(const std::vector<std::string_view>& names);

  // Counts rewrites of the hive file; a journal records which generation it
  // continues, so a journal left behind by an interrupted rewrite is known
  // to be stale.
  uint64_t generation = 0;

 private:
  HiveKey root_;
};

}  // namespace platform::sim
