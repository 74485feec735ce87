// The fixture of the decoration tests: the framework's controls and the
// decoration's classes registered, and painting into a recording canvas.
#pragma once

#include "decor/DecorRegistration.h"
#include "framework/ClassRegistry.h"
#include "framework/Controls.h"
#include "framework/ControlsRegistration.h"
#include "platform/headless/RecordingCanvas.h"
#include "support/Fixture.h"

class DecorTest : public PellmoreTest {
 protected:
  DecorTest() {
    RegisterControls(ClassRegistry::Global());
    RegisterDecorClasses(ClassRegistry::Global());
  }

  static std::vector<platform::headless::CanvasOp> PaintOps(TControl& c) {
    platform::headless::RecordingCanvas canvas;
    c.WidgetPaint(canvas);
    return canvas.Ops();
  }
};
