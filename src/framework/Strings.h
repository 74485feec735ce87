// TStrings/TStringList: an ordered list of UTF-8 lines, each with a
// non-owning object pointer, optionally sorted, with change events. Text
// reads CRLF, LF or a lone CR as a line break and writes CRLF after every
// line (the Windows convention of the files the kit writes).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/Object.h"

enum TDuplicates { dupIgnore, dupAccept, dupError };

// A bad index, a duplicate refused by dupError, or an operation that a
// sorted list does not allow.
class EStringListError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EStringListError"; }
};

// The common ground of string lists: ordered lines of text, each with an
// optional object. The lines live here; TStringList is the creatable class with the same
// behaviour. Every public mutating operation is virtual and works on the
// storage directly, never through another virtual operation, so a subclass
// that hooks an operation (a string table re-parsing after Add, Insert,
// Clear, Move; a different step after Delete) sees exactly one call per
// operation. Each mutation fires OnChanging before and OnChange after,
// unless inside BeginUpdate/EndUpdate (EndUpdate fires OnChange once).
class TStrings : public TPersistent {
  PELLMORE_CLASS(TStrings, TPersistent)

 public:
  TStrings() = default;

  int Count() const noexcept { return static_cast<int>(items_.size()); }
  // EStringListError "List index out of bounds (<i>)" outside 0..Count-1.
  const std::string& Strings(int index) const;
  const std::string& operator[](int index) const { return Strings(index); }
  TObject* Objects(int index) const;
  std::vector<std::string> ToVector() const;

  // Every line followed by CRLF.
  std::string Text() const;
  // Replaces all lines by those of `text` (one change notification).
  virtual void SetText(std::string_view text);

  // First line equal to `s` (see CaseSensitive), or -1.
  int IndexOf(std::string_view s) const;
  int IndexOfObject(const TObject* o) const noexcept;
  bool Equals(const TStrings& other) const noexcept;

  // "Name=Value" lines: the part before the first '=' is the name.
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  int IndexOfName(std::string_view name) const;
  std::string Values(std::string_view name) const;
  // Sets the value of the first line with that name, adds a line when there
  // is none, and deletes the line when `value` is empty.
  void SetValue(std::string_view name, std::string_view value);

  // Appends (a sorted list inserts in order; see Duplicates) and returns the
  // index. With dupIgnore a duplicate changes nothing and returns the index
  // of the line already there.
  virtual int Add(const std::string& s);
  virtual int AddObject(const std::string& s, TObject* o);
  // Index 0..Count; not allowed on a sorted list.
  virtual void Insert(int index, const std::string& s);
  virtual void InsertObject(int index, const std::string& s, TObject* o);
  virtual void Delete(int index);
  virtual void Clear();
  // Moves the line at `from` so that it ends up at `to`.
  virtual void Move(int from, int to);
  virtual void Exchange(int a, int b);
  virtual void AddStrings(const TStrings& other);
  virtual void SetStrings(int index, const std::string& s);
  virtual void SetObjects(int index, TObject* o);
  // From another TStrings: its lines and objects (not its sorting options).
  void Assign(const TPersistent* source) override;

  bool Sorted() const noexcept { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const noexcept { return duplicates_; }
  void SetDuplicates(TDuplicates d) noexcept { duplicates_ = d; }
  // Comparison ignores ASCII case unless CaseSensitive.
  bool CaseSensitive() const noexcept { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  // Sorts (stable); a sorted list keeps itself sorted.
  virtual void Sort();
  // In a sorted list: true when `s` is present; `index` is its first
  // position or where it would be inserted.
  bool Find(std::string_view s, int& index) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const noexcept { return updateCount_; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Fire OnChanging/OnChange when not inside BeginUpdate/EndUpdate.
  virtual void Changing();
  virtual void Changed();
  int CompareStrings(std::string_view a, std::string_view b) const noexcept;

 private:
  struct Item {
    std::string s;
    TObject* o;
  };
  // Runs a bulk change inside BeginUpdate/EndUpdate; a failure leaves the
  // update count as it was and fires no OnChange.
  template <class F>
  void Bulk(F&& change);
  void CheckIndex(int index, int limit) const;
  void CheckUnsorted() const;
  // Adds honouring Sorted/Duplicates without notifications; -1 - index of
  // the existing line when dupIgnore refused it.
  int AddItem(const std::string& s, TObject* o);
  int AddNotified(const std::string& s, TObject* o);
  void InsertNotified(int index, const std::string& s, TObject* o);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
  int updateCount_ = 0;
};

// A list of strings with optional objects, which can be sorted and kept free of
// duplicates.
class TStringList : public TStrings {
  PELLMORE_CLASS(TStringList, TStrings)

 public:
  TStringList() = default;
};
