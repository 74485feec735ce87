// PellmoreTest: the base fixture of every test that touches process-wide
// state. It resets all registered process state (ProcessState::ResetAll)
// before and after each case and fails the case when the case leaves
// framework objects alive, naming the components it leaked.
//
// The class registry is part of that state: a fixture registers the
// classes its cases use in its SetUp (or constructor), after this base.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

class TComponent;

class PellmoreTest : public ::testing::Test {
 protected:
  // Resets process state, then records what is alive.
  PellmoreTest();
  // Runs after the derived fixture's members are gone: resets process state
  // again, then checks that no more objects are alive than before.
  ~PellmoreTest() override;

 private:
  size_t objectsBefore_ = 0;
  std::vector<const TComponent*> componentsBefore_;
};
