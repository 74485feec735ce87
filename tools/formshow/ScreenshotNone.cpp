// Screenshots where there are no real windows (see Screenshot.h).
#include "Screenshot.h"

#include "framework/Exception.h"

void SaveScreenshot(TCustomForm&, const std::string&, int) {
  throw Exception(
      "--screenshot needs real windows: use pellmore-formshow.exe on Windows or under Wine");
}
