// Entry point of every test program. Tests that touch process-wide state
// use the fixture in Fixture.h, which resets it before and after each case.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
