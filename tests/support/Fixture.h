// PellmoreTest: the base fixture of every test that touches process-wide
// state. It resets all registered process state (ProcessState::ResetAll)
// before and after each case and fails the case when the case leaves
// framework objects alive, naming the components it leaked.
//
// The class registry is part of that state: a fixture registers the
// classes its cases use in its SetUp (or constructor), after this base.
//
// It also makes the forms and components a case builds in code: whatever
// a case creates hangs off a form it frees, so the leak check names what
// the code under test kept alive, not what the case forgot.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

class TComponent;
class TForm;

class PellmoreTest : public ::testing::Test {
 protected:
  // Resets process state, then records what is alive.
  PellmoreTest();
  // Runs after the derived fixture's members are gone: resets process state
  // again, then checks that no more objects are alive than before.
  ~PellmoreTest() override;

  // A plain form without owner that owns what a case creates; the case
  // frees it (Owned<TForm>).
  static TForm* NewForm();
  // A component of class T owned by `owner` and named `name`.
  template <class T>
  static T* New(TComponent* owner, const std::string& name) {
    auto* c = new T(owner);
    c->SetName(name);
    return c;
  }

 private:
  size_t objectsBefore_ = 0;
  std::vector<const TComponent*> componentsBefore_;
};
