// Parsing of UI scripts (see UiScript.h).
#include "platform/headless/UiScript.h"

#include "framework/ControlTypes.h"
#include "framework/StrUtils.h"
#include "framework/Utf8.h"

namespace platform::headless {
namespace {
constexpr size_t kMaxSteps = 100000;

struct Verb {
  const char* name;
  UiStep::Verb verb;
  int args;  // arguments after the verb
};
constexpr Verb kVerbs[] = {
    {"form", UiStep::Verb::Form, 1},     {"press", UiStep::Verb::Press, 1},
    {"type", UiStep::Verb::Type, 2},     {"tick", UiStep::Verb::Tick, 1},
    {"untick", UiStep::Verb::Untick, 1}, {"pick", UiStep::Verb::Pick, 2},
    {"close", UiStep::Verb::Close, 0},   {"answer", UiStep::Verb::Answer, 1},
    {"await", UiStep::Verb::Await, 2},
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

class LineReader {
 public:
  explicit LineReader(std::string_view line) : s_(line) {}
  bool AtEnd() {
    while (pos_ < s_.size() && IsBlank(s_[pos_])) ++pos_;
    return pos_ >= s_.size();
  }
  // A word or a quoted text; false at the end of the line.
  bool Token(std::string& out, std::string& error) {
    if (AtEnd()) return false;
    out.clear();
    if (s_[pos_] != '"') {
      while (pos_ < s_.size() && !IsBlank(s_[pos_])) out += s_[pos_++];
      return true;
    }
    ++pos_;
    for (;;) {
      if (pos_ >= s_.size()) {
        error = "unterminated quoted text";
        return false;
      }
      if (s_[pos_] == '"') {
        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '"') {
          out += '"';
          pos_ += 2;
          continue;
        }
        ++pos_;
        if (pos_ < s_.size() && !IsBlank(s_[pos_])) {
          error = "a quoted text must be followed by a blank";
          return false;
        }
        return true;
      }
      out += s_[pos_++];
    }
  }
  // The last argument: a quoted text, or the rest of the line as written.
  bool Rest(std::string& out, std::string& error) {
    if (AtEnd()) return false;
    if (s_[pos_] == '"') return Token(out, error);
    out = TrimRight(s_.substr(pos_));
    pos_ = s_.size();
    return true;
  }

 private:
  std::string_view s_;
  size_t pos_ = 0;
};
}  // namespace

const char* UiScript::VerbName(UiStep::Verb verb) noexcept {
  for (const Verb& v : kVerbs)
    if (v.verb == verb) return v.name;
  return "?";
}

std::string UiScript::Where(const UiStep& step) const {
  return name_ + ", line " + std::to_string(step.line) + ": ";
}

std::vector<UiStep> UiScript::Remaining() const {
  return std::vector<UiStep>(steps_.begin() + static_cast<ptrdiff_t>(pos_), steps_.end());
}

UiScript UiScript::Parse(std::string_view text, const std::string& name) {
  UiScript script;
  script.name_ = name;
  if (DetectTextEncoding(text) == TextEncoding::Utf16)
    throw EUIScriptError(name + ": UTF-16 is not supported: save the script as UTF-8");
  text = WithoutUtf8Bom(text);
  int lineNo = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(start, end - start);
    start = end + 1;
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') {
      if (end == text.size()) break;
      continue;
    }
    auto fail = [&](const std::string& reason) {
      throw EUIScriptError(name + ", line " + std::to_string(lineNo) + ": " + reason);
    };
    LineReader reader(line);
    std::string word, error;
    reader.Token(word, error);
    const Verb* verb = nullptr;
    for (const Verb& v : kVerbs)
      if (SameText(word, v.name)) verb = &v;
    if (!verb) fail("unknown command \"" + word + "\"");
    UiStep step;
    step.verb = verb->verb;
    step.line = lineNo;
    step.source = line;
    if (verb->args >= 1 && !reader.Token(step.target, error))
      fail(error.empty() ? std::string(verb->name) + " needs " +
                               (verb->verb == UiStep::Verb::Form     ? "a form"
                                : verb->verb == UiStep::Verb::Answer ? "a button"
                                                                     : "a control")
                         : error);
    if (verb->args == 2 && !reader.Rest(step.value, error)) {
      if (!error.empty()) fail(error);
      fail(std::string(verb->name) + " needs " +
           (verb->verb == UiStep::Verb::Type    ? "a text (\"\" for none)"
            : verb->verb == UiStep::Verb::Await ? "a value"
                                                : "an item"));
    }
    if (!error.empty()) fail(error);
    if (!reader.AtEnd()) fail("unexpected text after the command");
    if (step.verb == UiStep::Verb::Answer && MessageBoxAnswerFromName(step.target) == 0)
      fail("unknown answer \"" + step.target + "\" (OK, Cancel, Yes, No, Abort, Retry or Ignore)");
    if (script.steps_.size() >= kMaxSteps) fail("too many steps");
    script.steps_.push_back(std::move(step));
    if (end == text.size()) break;
  }
  return script;
}

}  // namespace platform::headless
