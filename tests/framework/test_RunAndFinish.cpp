// RunAndFinish: the end of a job runs exactly once on every path, and the
// failure the caller sees is the first one.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "framework/RunAndFinish.h"

namespace {

TEST(RunAndFinish, FinishesOnceAndReportsTheFirstFailure) {
  struct Case {
    const char* what;
    bool bodyFails;
    bool finishFails;
    const char* reported;  // null: none
  };
  const Case cases[] = {
      {"both succeed", false, false, nullptr},
      {"the body fails", true, false, "body"},
      {"both fail: the body's failure wins", true, true, "body"},
      {"only the end fails", false, true, "finish"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int bodyRuns = 0, finishRuns = 0;
    std::string reported;
    try {
      RunAndFinish(
          [&] {
            ++bodyRuns;
            if (c.bodyFails) throw std::runtime_error("body");
          },
          [&] {
            ++finishRuns;
            if (c.finishFails) throw std::runtime_error("finish");
          });
    } catch (const std::runtime_error& e) {
      reported = e.what();
    }
    EXPECT_EQ(bodyRuns, 1);
    EXPECT_EQ(finishRuns, 1);
    EXPECT_EQ(reported, c.reported ? c.reported : "");
  }
}

}  // namespace
