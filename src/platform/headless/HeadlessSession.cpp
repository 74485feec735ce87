// Creating the headless widgetset from the environment (see
// HeadlessSession.h).
#include "platform/headless/HeadlessSession.h"

#include <iostream>

#include "framework/StrUtils.h"
#include "framework/Utf8.h"
#include "platform/HostAccess.h"

namespace platform::headless {
namespace {
// A script is a few hundred lines; nothing that answers a setup comes near
// this, and reading stops here (a script named /dev/zero never ends).
constexpr size_t kMaxScriptBytes = 16u * 1024 * 1024;
}  // namespace

std::string ReadUiScriptFile(const std::string& file) {
  try {
    return ReadHostFile(file, kMaxScriptBytes);
  } catch (const EHostFileError& e) {
    throw EUIScriptError("Cannot read the UI script " + file + ": " + e.Message());
  }
}

UserOptions UserFromFiles(const std::string& scriptFile, const std::string& transcriptFile) {
  UserOptions options;
  options.errors = [](std::string_view text) { std::cerr << text << std::endl; };
  if (!scriptFile.empty()) {
    options.script = ReadUiScriptFile(scriptFile);
    options.scriptName = scriptFile;
    // An empty script is a script without answers, not a missing one; say
    // so, since a run that was meant to be steered takes every default.
    if (Trim(WithoutUtf8Bom(options.script)).empty())
      options.errors("The UI script " + scriptFile +
                     " is empty: every form and message box gets its default answer");
  }
  if (!transcriptFile.empty()) {
    std::shared_ptr<HostAppendFile> out;
    try {
      out = OpenHostAppendFile(transcriptFile);
    } catch (const EHostFileError& e) {
      throw Exception("Cannot open the UI transcript " + transcriptFile + ": " + e.Message());
    }
    // Each line goes to the file at once, so a run that ends abruptly keeps
    // what it did. A line that cannot be written is said once on the error
    // output (the run goes on: the transcript only watches it), so a short
    // transcript is never taken for the whole run.
    options.transcript = [out, errors = options.errors, transcriptFile,
                          failed = false](std::string_view line) mutable {
      try {
        out->Append(std::string(line) + '\n');
      } catch (const EHostFileError& e) {
        if (!failed && errors)
          errors("Cannot write the UI transcript " + transcriptFile + ": " + e.Message());
        failed = true;
      }
    };
  }
  return options;
}

std::unique_ptr<HeadlessWidgetset> CreateHeadless(UserOptions user) {
  HeadlessOptions options;
  static_cast<UserOptions&>(options) = std::move(user);
  return std::make_unique<HeadlessWidgetset>(std::move(options));
}

std::unique_ptr<HeadlessWidgetset> CreateHeadless(const std::string& scriptFile,
                                                  const std::string& transcriptFile) {
  return CreateHeadless(UserFromFiles(scriptFile, transcriptFile));
}

UserOptions UserFromEnvironment() {
  return UserFromFiles(HostEnvironment("PELLMORE_UI_SCRIPT").value_or(""),
                       HostEnvironment("PELLMORE_UI_LOG").value_or(""));
}

std::string ChosenWidgetset(const std::vector<std::string>& available) {
  const auto ui = HostEnvironment("PELLMORE_UI");
  if (!ui || ui->empty()) return available.front();
  std::string name = *ui;
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (const std::string& a : available)
    if (a == name) return a;
  // Refused rather than ignored, so a script never believes it watched a
  // screen it did not.
  std::string names;
  for (size_t i = 0; i < available.size(); ++i)
    names += (i == 0                      ? ""
              : i + 1 == available.size() ? " and "
                                          : ", ") +
             ("\"" + available[i] + "\"");
  throw Exception("PELLMORE_UI=" + *ui + " names no widgetset of this program; " +
                  (available.size() == 1 ? "the one available is " : "the ones available are ") +
                  names);
}

std::unique_ptr<HeadlessWidgetset> CreateHeadlessFromEnvironment() {
  return CreateHeadless(HostEnvironment("PELLMORE_UI_SCRIPT").value_or(""),
                        HostEnvironment("PELLMORE_UI_LOG").value_or(""));
}

}  // namespace platform::headless
