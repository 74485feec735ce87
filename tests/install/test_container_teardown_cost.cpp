// Tearing down a large form costs work in proportion to its objects: a
// destroyed container tells only the containers that can react (its
// parent, its children, links), not every live one. Counted, not timed.
#include <gmock/gmock.h>

#include "InstallFixture.h"
#include "install/InstallLists.h"

using namespace installtest;

namespace {

int destroyedCalls = 0;

class TCountingGroup : public TInstallFileGroup {
  PELLMORE_CLASS(TCountingGroup, TInstallFileGroup)

 public:
  using TInstallFileGroup::TInstallFileGroup;
  void ContainerDestroyed(TInstallContainer* c) override {
    ++destroyedCalls;
    TInstallFileGroup::ContainerDestroyed(c);
  }
};

class TCountingFile : public TTestFile {
  PELLMORE_CLASS(TCountingFile, TTestFile)

 public:
  using TTestFile::TTestFile;
  void ContainerDestroyed(TInstallContainer* c) override {
    ++destroyedCalls;
    TTestFile::ContainerDestroyed(c);
  }
};

class TeardownCost : public InstallTest {};

TEST_F(TeardownCost, FreeingAFormOfManyFilesTellsEachContainerOnlyOfItsNeighbours) {
  constexpr int kGroups = 20, kPerGroup = 50;
  Owned<TForm> form(NewForm());
  auto* top = New<TCountingGroup>(form.get(), "Top");
  std::vector<TCountingGroup*> groups;
  for (int g = 0; g < kGroups; ++g) {
    groups.push_back(New<TCountingGroup>(form.get(), "G" + std::to_string(g)));
    groups.back()->SetContainer(top);
    for (int f = 0; f < kPerGroup; ++f)
      New<TCountingFile>(form.get(), "F" + std::to_string(g) + "_" + std::to_string(f))
          ->SetContainer(groups.back());
  }
  const int objects = InstallContainerList().Count();
  ASSERT_EQ(objects, 1 + kGroups + kGroups * kPerGroup);

  // Freeing one file in the middle: only its group hears of it, and the
  // group no longer holds it.
  destroyedCalls = 0;
  auto* middle = dynamic_cast<TFileRelated*>(groups[7]->Objects(20));
  ASSERT_NE(middle, nullptr);
  middle->Free();
  EXPECT_EQ(destroyedCalls, 1);
  EXPECT_EQ(groups[7]->ObjectCount(), kPerGroup - 1);
  EXPECT_FALSE(InstallContainerList().Contains(middle));

  // Freeing a group: its parent hears of it, and of each of its files,
  // which the group frees first.
  destroyedCalls = 0;
  groups[3]->Free();
  EXPECT_EQ(destroyedCalls, 1 + kPerGroup);
  EXPECT_EQ(top->ObjectCount(), kGroups - 1);
  EXPECT_EQ(InstallContainerList().Count(), objects - 1 - (1 + kPerGroup));
  EXPECT_EQ(InstallContainerList().Items(0), top);

  // The whole form: each object is told at most about itself as a child
  // and as a parent (a broadcast would make this objects squared).
  destroyedCalls = 0;
  form.reset();
  EXPECT_LE(destroyedCalls, 2 * objects);
  EXPECT_EQ(InstallContainerList().Count(), 0);
}

}  // namespace
