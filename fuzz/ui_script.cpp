// Fuzzes the headless UI script parser. A refusal must be an
// EUIScriptError naming the script and, unless the text is UTF-16, a line
// of the input. A script that parses must hold its steps in line order,
// each with the arguments its verb takes and the line as written. Written
// back with every argument quoted, it must parse to the same steps.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/UiScript.h"

using platform::headless::EUIScriptError;
using platform::headless::UiScript;
using platform::headless::UiStep;

namespace {

const std::string kName = "fuzz.txt";

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

bool TakesValue(UiStep::Verb v) {
  return v == UiStep::Verb::Type || v == UiStep::Verb::Pick || v == UiStep::Verb::Await;
}

std::vector<UiStep> Steps(UiScript s) {
  std::vector<UiStep> out = s.Remaining();
  for (size_t i = 0; i < out.size(); ++i) {
    if (!s.Next() || s.Next()->line != out[i].line) std::abort();
    s.Consume();
  }
  if (s.Next()) std::abort();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<UiStep> steps;
  try {
    steps = Steps(UiScript::Parse(text, kName));
  } catch (const EUIScriptError& e) {
    const std::string& m = e.Message();
    if (m.rfind(kName + ": UTF-16", 0) == 0) return 0;
    if (m.rfind(kName + ", line ", 0) != 0) std::abort();
    const long line = std::strtol(m.c_str() + kName.size() + 7, nullptr, 10);
    size_t lines = 1;
    for (char c : text) lines += c == '\n';
    if (line < 1 || static_cast<size_t>(line) > lines) std::abort();
    return 0;
  }

  std::string written;
  int last = 0;
  for (const UiStep& s : steps) {
    if (s.line <= last || s.source.empty() || s.source[0] == '#') std::abort();
    last = s.line;
    if (s.verb == UiStep::Verb::Close && !(s.target.empty() && s.value.empty())) std::abort();
    if (!TakesValue(s.verb) && !s.value.empty()) std::abort();
    written += UiScript::VerbName(s.verb);
    if (s.verb != UiStep::Verb::Close) written += " " + Quoted(s.target);
    if (TakesValue(s.verb)) written += " " + Quoted(s.value);
    written += "\n";
  }
  const std::vector<UiStep> back = Steps(UiScript::Parse(written, kName));
  if (back.size() != steps.size()) std::abort();
  for (size_t i = 0; i < steps.size(); ++i)
    if (back[i].verb != steps[i].verb || back[i].target != steps[i].target ||
        back[i].value != steps[i].value)
      std::abort();
  return 0;
}
