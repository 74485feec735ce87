// The process-state reset registry: resets run newest first, a name
// registered again replaces its reset, and one failing reset does not stop
// the others.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/ProcessState.h"
#include "support/Fixture.h"

namespace {

std::vector<std::string> g_resets;

class ProcessStateTest : public PellmoreTest {
 protected:
  ProcessStateTest() { g_resets.clear(); }
  ~ProcessStateTest() override {
    // Leave harmless resets behind for the other tests.
    for (const char* n : {"test.a", "test.b", "test.c"}) ProcessState::RegisterReset(n, nullptr);
  }
};

TEST_F(ProcessStateTest, ResetsRunNewestFirst) {
  ProcessState::RegisterReset("test.a", [] { g_resets.push_back("a"); });
  ProcessState::RegisterReset("test.b", [] { g_resets.push_back("b"); });
  EXPECT_TRUE(ProcessState::IsRegistered("test.a"));
  EXPECT_FALSE(ProcessState::IsRegistered("test.none"));
  ProcessState::ResetAll();
  EXPECT_EQ(g_resets, (std::vector<std::string>{"b", "a"}));
}

TEST_F(ProcessStateTest, RegisteringAgainReplacesTheReset) {
  ProcessState::RegisterReset("test.a", [] { g_resets.push_back("old"); });
  ProcessState::RegisterReset("test.a", [] { g_resets.push_back("new"); });
  ProcessState::ResetAll();
  EXPECT_EQ(g_resets, (std::vector<std::string>{"new"}));
}

TEST_F(ProcessStateTest, AFailingResetDoesNotStopTheOthers) {
  ProcessState::RegisterReset("test.a", [] { g_resets.push_back("a"); });
  ProcessState::RegisterReset("test.b", [] { throw std::runtime_error("broken"); });
  ProcessState::RegisterReset("test.c", [] { g_resets.push_back("c"); });
  EXPECT_THROW(ProcessState::ResetAll(), std::runtime_error);
  EXPECT_EQ(g_resets, (std::vector<std::string>{"c", "a"}));
  ProcessState::RegisterReset("test.b", nullptr);
}

}  // namespace
