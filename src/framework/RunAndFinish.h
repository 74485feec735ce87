// Running a job whose end must be reported however the job ends: a
// progress or copy phase that listeners saw begin must be seen to end, on
// success and on failure alike, without the end's own failure hiding the
// job's.
#pragma once

#include <utility>

// Runs `body`, then `finish`, on every path. When `body` throws, `finish`
// still runs and the body's exception goes on to the caller; a failure of
// `finish` then is dropped, since the first failure is the one to report.
// When `body` returns, `finish` runs once more like any statement: its
// failure reaches the caller.
template <class Body, class Finish>
void RunAndFinish(Body&& body, Finish&& finish) {
  try {
    std::forward<Body>(body)();
  } catch (...) {
    try {
      finish();
    } catch (...) {
      // The first failure is the one to report.
    }
    throw;
  }
  finish();
}
