// TStrings/TStringList (see Strings.h). Mutations go through the private
// helpers below so no public virtual calls another one.
#include "framework/Strings.h"

#include <algorithm>

#include "framework/StrUtils.h"

const std::string& TStrings::Strings(int index) const {
  CheckIndex(index, Count() - 1);
  return items_[static_cast<size_t>(index)].s;
}

TObject* TStrings::Objects(int index) const {
  CheckIndex(index, Count() - 1);
  return items_[static_cast<size_t>(index)].o;
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> v;
  v.reserve(items_.size());
  for (const Item& i : items_) v.push_back(i.s);
  return v;
}

std::string TStrings::Text() const {
  std::string t;
  for (const Item& i : items_) {
    t += i.s;
    t += "\r\n";
  }
  return t;
}

void TStrings::SetText(std::string_view text) {
  Bulk([&] {
    items_.clear();
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = pos;
      while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
      AddItem(std::string(text.substr(pos, end - pos)), nullptr);
      if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
        ++end;
      pos = end + 1;
    }
  });
}

int TStrings::IndexOf(std::string_view s) const {
  if (sorted_) {
    int index = 0;
    return Find(s, index) ? index : -1;
  }
  for (size_t i = 0; i < items_.size(); ++i)
    if (CompareStrings(items_[i].s, s) == 0) return static_cast<int>(i);
  return -1;
}

int TStrings::IndexOfObject(const TObject* o) const noexcept {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].o == o) return static_cast<int>(i);
  return -1;
}

bool TStrings::Equals(const TStrings& other) const noexcept {
  if (other.items_.size() != items_.size()) return false;
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].s != other.items_[i].s) return false;
  return true;
}

std::string TStrings::Names(int index) const {
  const std::string& s = Strings(index);
  const size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const {
  const std::string& s = Strings(index);
  const size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

int TStrings::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    const std::string& s = items_[i].s;
    const size_t eq = s.find('=');
    if (eq != std::string::npos && CompareStrings(std::string_view(s).substr(0, eq), name) == 0)
      return static_cast<int>(i);
  }
  return -1;
}

std::string TStrings::Values(std::string_view name) const {
  const int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(std::string_view name, std::string_view value) {
  const int i = IndexOfName(name);
  const std::string line = std::string(name) + "=" + std::string(value);
  if (value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i >= 0) {
    SetStrings(i, line);
  } else {
    Add(line);
  }
}

int TStrings::Add(const std::string& s) {
  return AddNotified(s, nullptr);
}

int TStrings::AddObject(const std::string& s, TObject* o) {
  return AddNotified(s, o);
}

void TStrings::Insert(int index, const std::string& s) {
  InsertNotified(index, s, nullptr);
}

void TStrings::InsertObject(int index, const std::string& s, TObject* o) {
  InsertNotified(index, s, o);
}

void TStrings::Delete(int index) {
  CheckIndex(index, Count() - 1);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  CheckUnsorted();
  CheckIndex(from, Count() - 1);
  CheckIndex(to, Count() - 1);
  Changing();
  Item item = std::move(items_[static_cast<size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(item));
  Changed();
}

void TStrings::Exchange(int a, int b) {
  CheckUnsorted();
  CheckIndex(a, Count() - 1);
  CheckIndex(b, Count() - 1);
  Changing();
  std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
  Changed();
}

void TStrings::AddStrings(const TStrings& other) {
  const std::vector<Item> copy = other.items_;  // `other` may be this list
  Bulk([&] {
    for (const Item& i : copy) AddItem(i.s, i.o);
  });
}

void TStrings::SetStrings(int index, const std::string& s) {
  CheckUnsorted();
  CheckIndex(index, Count() - 1);
  Changing();
  items_[static_cast<size_t>(index)].s = s;
  Changed();
}

void TStrings::SetObjects(int index, TObject* o) {
  CheckIndex(index, Count() - 1);
  Changing();
  items_[static_cast<size_t>(index)].o = o;
  Changed();
}

void TStrings::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TStrings*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  Bulk([&] {
    items_.clear();
    for (const Item& i : other->items_) AddItem(i.s, i.o);
  });
}

void TStrings::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStrings::SetCaseSensitive(bool value) {
  if (value == caseSensitive_) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

void TStrings::Sort() {
  Changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.s, b.s) < 0; });
  Changed();
}

bool TStrings::Find(std::string_view s, int& index) const {
  const auto it = std::lower_bound(
      items_.begin(), items_.end(), s,
      [this](const Item& a, std::string_view v) { return CompareStrings(a.s, v) < 0; });
  index = static_cast<int>(it - items_.begin());
  return it != items_.end() && CompareStrings(it->s, s) == 0;
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) Changing();
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

template <class F>
void TStrings::Bulk(F&& change) {
  BeginUpdate();
  try {
    change();
  } catch (...) {
    --updateCount_;  // no OnChange for a change that failed half-way
    throw;
  }
  EndUpdate();
}

void TStrings::Changing() {
  if (updateCount_ == 0 && OnChanging) OnChanging(this);
}

void TStrings::Changed() {
  if (updateCount_ == 0 && OnChange) OnChange(this);
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const noexcept {
  return caseSensitive_ ? a.compare(b) : CompareText(a, b);
}

void TStrings::CheckIndex(int index, int limit) const {
  if (index < 0 || index > limit)
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::CheckUnsorted() const {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
}

int TStrings::AddItem(const std::string& s, TObject* o) {
  if (!sorted_) {
    items_.push_back({s, o});
    return Count() - 1;
  }
  int index = 0;
  if (Find(s, index)) {
    if (duplicates_ == dupIgnore) return -1 - index;
    if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
  }
  items_.insert(items_.begin() + index, Item{s, o});
  return index;
}

int TStrings::AddNotified(const std::string& s, TObject* o) {
  if (sorted_) {
    int index = 0;
    if (Find(s, index) && duplicates_ == dupIgnore) return index;
  }
  Changing();
  const int index = AddItem(s, o);
  Changed();
  return index;
}

void TStrings::InsertNotified(int index, const std::string& s, TObject* o) {
  CheckUnsorted();
  CheckIndex(index, Count());
  Changing();
  items_.insert(items_.begin() + index, Item{s, o});
  Changed();
}
