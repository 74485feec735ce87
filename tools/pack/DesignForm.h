// Reading a form description as the authoring tools need it: at design
// time, so its installer neither parses a command line nor starts a run,
// and components that act differently while designed (the engine group)
// do so.
#pragma once

#include <string>
#include <string_view>

#include "framework/Component.h"

namespace pack {

// The root of the description `text` (read from `file`, named in errors),
// created by its class name as the running program would create it, but
// without its registered description and without OnCreate. The setup's
// classes must be registered. Raises the form reader's errors (naming file,
// line and column), and Exception when the root is no registered form
// class; nothing created is left behind then.
Owned<TComponent> ReadAtDesignTime(std::string_view text, const std::string& file);

}  // namespace pack
