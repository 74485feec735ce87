// The widgetset the control model talks to. Until one is installed, the
// null widgetset (platform::Widgetset itself) serves: no native windows,
// the fixed text metrics, and modal loops that end at once.
#pragma once

#include <memory>

namespace platform {
class Widgetset;
}

platform::Widgetset& CurrentWidgetset();

// Replaces the widgetset (null: back to the null widgetset). Every live
// control first drops its peer with the old one, so nothing refers to it
// afterwards; forms shown again create peers with the new one.
void InstallWidgetset(std::unique_ptr<platform::Widgetset> widgetset);
