// The progress percentage shared by the information events.
#include "install/ComponentCalls.h"

#include "framework/MathUtils.h"

int PercentDone(int64_t done, int64_t total) {
  if (total <= 0) return 0;
  const int64_t p = Round(static_cast<double>(done) * 100.0 / static_cast<double>(total));
  return p < 0 ? 0 : p > 100 ? 100 : static_cast<int>(p);
}
