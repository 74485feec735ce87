// TCollection/TCollectionItem: items join and leave, move, get ids, are
// destroyed with the collection; Assign copies item by item; Update runs
// once per change or per BeginUpdate/EndUpdate.
#include <gtest/gtest.h>

#include "FormTestClasses.h"
#include "support/Fixture.h"

namespace {

using formtest::TTestItem;

class TCountingCollection : public TCollection {
  PELLMORE_CLASS(TCountingCollection, TCollection)

 public:
  TCountingCollection() : TCollection(std::in_place_type<TTestItem>) {}
  int updates = 0;

 protected:
  void Update(TCollectionItem*) override { ++updates; }
};

class CollectionTest : public PellmoreTest {};

TEST_F(CollectionTest, ItemsJoinMoveAndLeave) {
  TCollection c(std::in_place_type<TTestItem>);
  EXPECT_EQ(&c.ItemClass(), &TTestItem::StaticMetaClass());
  auto* a = static_cast<TTestItem*>(c.Add());
  auto* b = static_cast<TTestItem*>(c.Add());
  auto* x = static_cast<TTestItem*>(c.Insert(0));
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Items(0), x);
  EXPECT_EQ(a->Index(), 1);
  EXPECT_EQ(a->Collection(), &c);
  EXPECT_EQ(a->ID(), 0);
  EXPECT_EQ(x->ID(), 2);
  b->SetIndex(0);
  EXPECT_EQ(c.ItemAs<TTestItem>(0), b);
  c.Delete(1);  // x
  EXPECT_EQ(c.Count(), 2);
  a->Free();
  EXPECT_EQ(c.Count(), 1);
  EXPECT_THROW(c.Items(1), ECollectionError);
  EXPECT_THROW(c.Insert(5), ECollectionError);
  EXPECT_EQ(b->DisplayName(), "TTestItem");
}

TEST_F(CollectionTest, AssignCopiesEveryItem) {
  TCollection from(std::in_place_type<TTestItem>);
  static_cast<TTestItem*>(from.Add())->SetCaption("one");
  static_cast<TTestItem*>(from.Add())->SetCaption("two");
  TCollection to(std::in_place_type<TTestItem>);
  to.Add();
  to.Assign(&from);
  ASSERT_EQ(to.Count(), 2);
  EXPECT_EQ(to.ItemAs<TTestItem>(1)->Caption(), "two");
  TStringList notCollection;
  EXPECT_THROW(to.Assign(&notCollection), EConvertError);
}

TEST_F(CollectionTest, UpdateRunsPerChangeOrOncePerUpdateBlock) {
  TCountingCollection c;
  c.Add();
  c.Add();
  EXPECT_EQ(c.updates, 2);
  c.updates = 0;
  c.BeginUpdate();
  c.Add();
  c.Clear();
  EXPECT_EQ(c.updates, 0);
  c.EndUpdate();
  EXPECT_EQ(c.updates, 1);
}

TEST_F(CollectionTest, DestroyingTheCollectionDestroysItsItems) {
  const size_t before = TObject::LiveCount();
  {
    TCollection c(std::in_place_type<TTestItem>);
    c.Add();
    c.Add();
    EXPECT_EQ(TObject::LiveCount(), before + 1 + 2 * 2);  // each item owns a font
  }
  EXPECT_EQ(TObject::LiveCount(), before);
}

}  // namespace
