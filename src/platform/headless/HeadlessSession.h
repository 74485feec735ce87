// A program's widgetset set up from the environment: PELLMORE_UI chooses
// it, PELLMORE_UI_SCRIPT names the UI script file and PELLMORE_UI_LOG the
// transcript file (appended to); errors the application displays go to
// standard error as well. This is the one part of the headless widgetset
// that touches the host (environment and files).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/headless/HeadlessWidgetset.h"

namespace platform::headless {

// The text of the UI script file `file`, read up to a limit of 16 MiB.
// Raises EUIScriptError "Cannot read the UI script <file>: <reason>" when
// the file cannot be read or is larger (reading stops at the limit). An
// empty file is an empty text, a script without answers.
std::string ReadUiScriptFile(const std::string& file);

// The user of a session: the script read from `scriptFile` and the
// transcript appended to `transcriptFile` (empty: none), errors to the
// error output. Raises EUIScriptError when the script file cannot be read,
// and Exception "Cannot open the UI transcript <file>: <reason>" when the
// transcript file cannot be opened. A transcript line that cannot be
// written is reported once through the errors callback; the run goes on.
UserOptions UserFromFiles(const std::string& scriptFile, const std::string& transcriptFile);
// The same for PELLMORE_UI_SCRIPT and PELLMORE_UI_LOG.
UserOptions UserFromEnvironment();

// The headless widgetset with the user of PELLMORE_UI_SCRIPT and
// PELLMORE_UI_LOG (whatever PELLMORE_UI says). Raises as UserFromFiles and
// EUIScriptError when the script does not parse.
std::unique_ptr<HeadlessWidgetset> CreateHeadlessFromEnvironment();

// The same with explicit file names (empty: none), for tools.
std::unique_ptr<HeadlessWidgetset> CreateHeadless(const std::string& scriptFile,
                                                  const std::string& transcriptFile);

// The widgetset PELLMORE_UI names among `available` (compared without
// case; the first when the variable is unset or empty). Raises Exception
// "PELLMORE_UI=<value> names no widgetset of this program; the one(s)
// available is/are ..." for any other name.
std::string ChosenWidgetset(const std::vector<std::string>& available);

// The widgetset a program of this build runs with, as PELLMORE_UI chooses
// it, with `user` (usually UserFromEnvironment()): headless on the
// simulated build (its only one); on Windows the real windows by default,
// "headless" on request. Defined by the headless library on the simulated
// build and by the Win32 widgetset on Windows.
std::unique_ptr<Widgetset> CreateSessionWidgetset(UserOptions user);
// The headless widgetset with `user`.
std::unique_ptr<HeadlessWidgetset> CreateHeadless(UserOptions user);

}  // namespace platform::headless
