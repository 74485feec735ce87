// Tearing down a form whose install objects outlive the process-wide
// container list: a process-state reset empties the list before it frees
// the application's forms, and an object placed after its container on
// the form is freed first. It must still leave its container's children.
#include <gmock/gmock.h>

#include "InstallFixture.h"
#include "install/InstallLists.h"

using namespace installtest;

namespace {

class Teardown : public InstallTest {};

TEST_F(Teardown, AChildFreedAfterTheListWasEmptiedLeavesItsContainer) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* before = New<TTestDialog>(form.get(), "Before");
  before->SetContainer(top);
  auto* after = New<TTestDialog>(form.get(), "After");  // placed after its container
  after->SetContainer(top);
  ASSERT_EQ(top->ObjectCount(), 2);

  InstallContainerList().Clear();
  after->Free();
  EXPECT_EQ(top->ObjectCount(), 1);
  EXPECT_EQ(top->Objects(0), before);
  // The rest goes with the form in its own order, touching nothing freed
  // (the sanitizer build sees it).
  form.reset();
}

}  // namespace
