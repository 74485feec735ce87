// TStrings/TStringList: lines and text, sorting and duplicates, names and
// values, change events, and the one-call-per-operation promise to
// subclasses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Classes.h"
#include "support/Fixture.h"

namespace {

using Lines = std::vector<std::string>;

class StringsTest : public PellmoreTest {};

TEST_F(StringsTest, AddInsertDeleteMoveExchange) {
  TStringList l;
  EXPECT_EQ(l.Add("b"), 0);
  EXPECT_EQ(l.Add("c"), 1);
  l.Insert(0, "a");
  EXPECT_EQ(l.ToVector(), (Lines{"a", "b", "c"}));
  l.Move(0, 2);
  EXPECT_EQ(l.ToVector(), (Lines{"b", "c", "a"}));
  l.Exchange(0, 2);
  EXPECT_EQ(l.ToVector(), (Lines{"a", "c", "b"}));
  l.Delete(1);
  EXPECT_EQ(l.ToVector(), (Lines{"a", "b"}));
  l.SetStrings(1, "z");
  EXPECT_EQ(l[1], "z");
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
}

TEST_F(StringsTest, BadIndexesRaise) {
  TStringList l;
  l.Add("x");
  for (int bad : {-1, 1}) {
    SCOPED_TRACE(bad);
    try {
      l.Strings(bad);
      FAIL();
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
    }
    EXPECT_THROW(l.Delete(bad), EStringListError);
    EXPECT_THROW(l.Move(0, bad), EStringListError);
  }
  EXPECT_THROW(l.Insert(2, "y"), EStringListError);
  l.Insert(1, "y");  // Count itself is a valid insert position
  EXPECT_EQ(l.ToVector(), (Lines{"x", "y"}));
}

TEST_F(StringsTest, TextReadsAnyLineBreakAndWritesCrLf) {
  TStringList l;
  l.SetText("one\r\ntwo\nthree\rfour");
  EXPECT_EQ(l.ToVector(), (Lines{"one", "two", "three", "four"}));
  EXPECT_EQ(l.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  l.SetText("a\n\nb\n");
  EXPECT_EQ(l.ToVector(), (Lines{"a", "", "b"}));
  l.SetText("\n");
  EXPECT_EQ(l.ToVector(), (Lines{""}));
  l.SetText("");
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.Text(), "");
  l.SetText("x\r\n\r\ny");
  EXPECT_EQ(l.ToVector(), (Lines{"x", "", "y"}));
}

TEST_F(StringsTest, IndexOfIgnoresCaseUnlessCaseSensitive) {
  TStringList l;
  l.Add("Alpha");
  l.Add("beta");
  EXPECT_EQ(l.IndexOf("ALPHA"), 0);
  EXPECT_EQ(l.IndexOf("gamma"), -1);
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOf("ALPHA"), -1);
  EXPECT_EQ(l.IndexOf("beta"), 1);
}

TEST_F(StringsTest, SortedListsKeepOrderAndApplyTheDuplicatesRule) {
  TStringList l;
  l.Add("pear");
  l.Add("Apple");
  l.SetSorted(true);
  EXPECT_EQ(l.ToVector(), (Lines{"Apple", "pear"}));
  EXPECT_EQ(l.Add("banana"), 1);
  EXPECT_EQ(l.Add("APPLE"), 0);  // dupIgnore: the line already there
  EXPECT_EQ(l.Count(), 3);
  l.SetDuplicates(dupAccept);
  EXPECT_EQ(l.Add("apple"), 0);  // before its equal
  EXPECT_EQ(l.Count(), 4);
  l.SetDuplicates(dupError);
  try {
    l.Add("Pear");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
  int index = -1;
  EXPECT_TRUE(l.Find("BANANA", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(l.Find("cherry", index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(l.IndexOf("pear"), 3);
  for (auto op :
       {+[](TStringList& s) { s.Insert(0, "x"); }, +[](TStringList& s) { s.Move(0, 1); },
        +[](TStringList& s) { s.Exchange(0, 1); }, +[](TStringList& s) { s.SetStrings(0, "x"); }}) {
    try {
      op(l);
      FAIL();
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), "Operation not allowed on sorted list");
    }
  }
}

TEST_F(StringsTest, SortIsStableAndCaseSensitivityResorts) {
  TStringList l;
  l.SetText("b\nB\na\nA");
  l.Sort();
  EXPECT_EQ(l.ToVector(), (Lines{"a", "A", "b", "B"}));
  l.SetSorted(true);
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.ToVector(), (Lines{"A", "B", "a", "b"}));
}

TEST_F(StringsTest, NamesAndValues) {
  TStringList l;
  l.SetText("Path=C:\\x\nEmpty=\nplain");
  EXPECT_EQ(l.Names(0), "Path");
  EXPECT_EQ(l.ValueFromIndex(0), "C:\\x");
  EXPECT_EQ(l.Values("path"), "C:\\x");
  EXPECT_EQ(l.Values("missing"), "");
  EXPECT_EQ(l.Names(2), "");
  EXPECT_EQ(l.IndexOfName("EMPTY"), 1);
  l.SetValue("Path", "D:\\y");
  l.SetValue("New", "1");
  l.SetValue("Empty", "");
  EXPECT_EQ(l.ToVector(), (Lines{"Path=D:\\y", "plain", "New=1"}));
}

TEST_F(StringsTest, ObjectsAreNonOwningPointers) {
  TStringList l;
  TStringList other;
  l.AddObject("a", &other);
  l.InsertObject(0, "b", nullptr);
  EXPECT_EQ(l.Objects(1), &other);
  EXPECT_EQ(l.IndexOfObject(&other), 1);
  l.SetObjects(0, &other);
  EXPECT_EQ(l.Objects(0), &other);
  l.Clear();  // nothing is freed
  EXPECT_EQ(other.Count(), 0);
}

TEST_F(StringsTest, AssignAndAddStringsCopyLinesAndObjects) {
  TStringList a;
  a.AddObject("x", &a);
  a.Add("y");
  TStringList b;
  b.Add("old");
  b.Assign(&a);
  EXPECT_TRUE(b.Equals(a));
  EXPECT_EQ(b.Objects(0), &a);
  b.AddStrings(b);  // itself
  EXPECT_EQ(b.ToVector(), (Lines{"x", "y", "x", "y"}));
  TComponent notStrings(nullptr);
  EXPECT_THROW(b.Assign(&notStrings), EConvertError);
}

TEST_F(StringsTest, ChangeEventsFireAroundEachChangeAndOnceForAnUpdate) {
  TStringList l;
  std::vector<std::string> events;
  l.OnChanging = [&](TObject* s) { events.push_back(s == &l ? "changing" : "?"); };
  l.OnChange = [&](TObject*) { events.push_back("change"); };
  l.Add("a");
  EXPECT_EQ(events, (Lines{"changing", "change"}));
  events.clear();
  l.BeginUpdate();
  l.Add("b");
  l.Delete(0);
  l.SetText("x\ny");
  EXPECT_EQ(events, (Lines{"changing"}));
  l.EndUpdate();
  EXPECT_EQ(events, (Lines{"changing", "change"}));
  events.clear();
  l.SetSorted(true);
  l.SetDuplicates(dupError);
  EXPECT_THROW(l.SetText("a\na"), EStringListError);
  EXPECT_EQ(l.UpdateCount(), 0);  // a failed bulk change leaves no update open
  EXPECT_EQ(events, (Lines{"changing", "change", "changing"}));
}

// A subclass hooking each operation, as a string table does.
class TCountingStrings : public TStringList {
  PELLMORE_CLASS(TCountingStrings, TStringList)

 public:
  int Add(const std::string& s) override { return ++calls, TStringList::Add(s); }
  int AddObject(const std::string& s, TObject* o) override {
    return ++calls, TStringList::AddObject(s, o);
  }
  void Insert(int i, const std::string& s) override { ++calls, TStringList::Insert(i, s); }
  void InsertObject(int i, const std::string& s, TObject* o) override {
    ++calls, TStringList::InsertObject(i, s, o);
  }
  void Clear() override { ++calls, TStringList::Clear(); }
  void Delete(int i) override { ++calls, TStringList::Delete(i); }
  void Move(int a, int b) override { ++calls, TStringList::Move(a, b); }
  void AddStrings(const TStrings& o) override { ++calls, TStringList::AddStrings(o); }
  void SetText(std::string_view t) override { ++calls, TStringList::SetText(t); }
  int calls = 0;
};

TEST_F(StringsTest, EachOperationReachesASubclassExactlyOnce) {
  TCountingStrings s;
  TStringList other;
  other.SetText("p\nq");
  const std::vector<std::function<void()>> ops = {
      [&] { s.Add("a"); },          [&] { s.AddObject("b", nullptr); },
      [&] { s.Insert(0, "c"); },    [&] { s.InsertObject(0, "d", nullptr); },
      [&] { s.Move(0, 1); },        [&] { s.Delete(0); },
      [&] { s.AddStrings(other); }, [&] { s.SetText("x\ny"); },
      [&] { s.Clear(); },           [&] { s.Assign(&other); },
  };
  for (size_t i = 0; i < ops.size(); ++i) {
    SCOPED_TRACE(i);
    s.calls = 0;
    ops[i]();
    EXPECT_EQ(s.calls, i + 1 == ops.size() ? 0 : 1);  // Assign hooks nothing else
  }
}

}  // namespace
