// A headless widgetset set up from the environment, for programs run
// without a screen: PELLMORE_UI_SCRIPT names the UI script file and
// PELLMORE_UI_LOG the transcript file (appended to); errors the
// application displays go to standard error. This is the one part of the
// headless widgetset that touches the host (environment and files).
#pragma once

#include <memory>

#include "platform/headless/HeadlessWidgetset.h"

namespace platform::headless {

// The text of the UI script file `file`, read up to a limit of 16 MiB.
// Raises EUIScriptError "Cannot read the UI script <file>: <reason>" when
// the file cannot be read or is larger (reading stops at the limit). An
// empty file is an empty text, a script without answers.
std::string ReadUiScriptFile(const std::string& file);

// Raises EUIScriptError when the script file cannot be read or parsed, and
// Exception "Cannot open the UI transcript <file>: <reason>" when the
// transcript file cannot be opened. A transcript line that cannot be
// written is reported once through the errors callback; the run goes on.
std::unique_ptr<HeadlessWidgetset> CreateHeadlessFromEnvironment();

// The same with explicit file names (empty: none), for tools.
std::unique_ptr<HeadlessWidgetset> CreateHeadless(const std::string& scriptFile,
                                                  const std::string& transcriptFile);

}  // namespace platform::headless
