// Creating the headless widgetset from the environment (see
// HeadlessSession.h).
#include "platform/headless/HeadlessSession.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

namespace platform::headless {

std::unique_ptr<HeadlessWidgetset> CreateHeadless(const std::string& scriptFile,
                                                  const std::string& transcriptFile) {
  HeadlessOptions options;
  if (!scriptFile.empty()) {
    std::ifstream in(scriptFile, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf()))
      throw EUIScriptError("Cannot read the UI script " + scriptFile);
    options.script = text.str();
    options.scriptName = scriptFile;
  }
  if (!transcriptFile.empty()) {
    auto out = std::make_shared<std::ofstream>(transcriptFile, std::ios::binary | std::ios::app);
    if (!*out) throw Exception("Cannot open the UI transcript " + transcriptFile);
    // Each line is flushed, so a run that ends abruptly keeps what it did.
    options.transcript = [out](std::string_view line) {
      *out << line << '\n';
      out->flush();
    };
  }
  options.errors = [](std::string_view text) { std::cerr << text << std::endl; };
  return std::make_unique<HeadlessWidgetset>(std::move(options));
}

std::unique_ptr<HeadlessWidgetset> CreateHeadlessFromEnvironment() {
  // PELLMORE_UI chooses the widgetset. Headless is the only one built so
  // far (windows on a screen come with the dialogs), so it is also what an
  // unset variable means; any other name is refused rather than ignored, so
  // a script never believes it watched a real screen.
  if (const char* ui = std::getenv("PELLMORE_UI"); ui && *ui) {
    std::string name(ui);
    for (char& c : name)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (name != "headless")
      throw Exception("PELLMORE_UI=" + std::string(ui) +
                      " names no widgetset of this program; the one available is \"headless\"");
  }
  const char* script = std::getenv("PELLMORE_UI_SCRIPT");
  const char* log = std::getenv("PELLMORE_UI_LOG");
  return CreateHeadless(script ? script : "", log ? log : "");
}

}  // namespace platform::headless
