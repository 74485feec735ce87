// TObject class information and Free, TPersistent's assignment refusal, and
// Set<E>.
#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "support/Fixture.h"

namespace {

class TAnimal : public TPersistent {
  PELLMORE_CLASS(TAnimal, TPersistent)
};
class TDog : public TAnimal {
  PELLMORE_CLASS(TDog, TAnimal)
};
class TCat : public TAnimal {
  PELLMORE_CLASS(TCat, TAnimal)

 public:
  void Assign(const TPersistent* source) override {
    if (dynamic_cast<const TCat*>(source)) {
      ++assigned;
      return;
    }
    TAnimal::Assign(source);
  }
  int assigned = 0;
};

class ObjectTest : public PellmoreTest {};

TEST_F(ObjectTest, ClassNameAndInheritanceComeFromTheDeclaration) {
  TDog dog;
  const TObject& o = dog;
  EXPECT_STREQ(o.ClassName(), "TDog");
  EXPECT_TRUE(o.InheritsFrom(TAnimal::StaticMetaClass()));
  EXPECT_TRUE(o.InheritsFrom(TObject::StaticMetaClass()));
  EXPECT_FALSE(o.InheritsFrom(TCat::StaticMetaClass()));
  EXPECT_TRUE(o.InheritsFrom("tanimal"));  // by name, ignoring case
  EXPECT_FALSE(o.InheritsFrom("TComponent"));
  EXPECT_TRUE(o.Is<TPersistent>());
  EXPECT_EQ(TDog::StaticMetaClass().parent, &TAnimal::StaticMetaClass());
}

TEST_F(ObjectTest, AssignRefusesUnknownPairsNamingBothClasses) {
  TDog dog;
  TCat cat;
  try {
    cat.Assign(&dog);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TDog to a TCat");
  }
  try {
    dog.Assign(nullptr);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TDog");
  }
  TCat other;
  cat.Assign(&other);
  EXPECT_EQ(cat.assigned, 1);
}

TEST_F(ObjectTest, LiveCountFollowsConstructionAndFree) {
  const size_t before = TObject::LiveCount();
  auto* dog = new TDog;
  EXPECT_EQ(TObject::LiveCount(), before + 1);
  FreeAndNil(dog);
  EXPECT_EQ(dog, nullptr);
  EXPECT_EQ(TObject::LiveCount(), before);
  {
    Owned<TCat> cat(new TCat);
    EXPECT_EQ(TObject::LiveCount(), before + 1);
  }
  EXPECT_EQ(TObject::LiveCount(), before);
}

enum TColorBit { cbRed, cbGreen, cbBlue };

TEST(SetTest, BehavesLikeASetOfEnumerators) {
  using S = Set<TColorBit>;
  S s{cbRed, cbBlue};
  EXPECT_TRUE(s.Contains(cbRed));
  EXPECT_FALSE(s.Contains(cbGreen));
  EXPECT_EQ(s.Bits(), 0b101u);
  s.Include(cbGreen).Exclude(cbRed);
  EXPECT_EQ(s, (S{cbGreen, cbBlue}));
  EXPECT_EQ(S{cbRed} + S{cbGreen}, (S{cbRed, cbGreen}));
  EXPECT_EQ((S{cbRed, cbGreen} - S{cbGreen}), S{cbRed});
  EXPECT_EQ((S{cbRed, cbGreen} * S{cbGreen, cbBlue}), S{cbGreen});
  EXPECT_TRUE(S{cbRed} <= (S{cbRed, cbBlue}));
  EXPECT_FALSE((S{cbRed, cbGreen}) <= S{cbRed});
  EXPECT_TRUE(S().Empty());
  EXPECT_EQ(S::FromBits(2), S{cbGreen});
}

}  // namespace
