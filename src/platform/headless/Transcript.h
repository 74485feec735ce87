// The transcript of a headless run: one JSON object per line, keys in a
// fixed order, so a run can be compared with an expected one and read by a
// human (docs/ui-script.md). Also the description of a form's visible
// texts that "form" records carry.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TCustomForm;
class TControl;

namespace platform::headless {

// Builds one JSON object; values are escaped (invalid UTF-8 becomes
// U+FFFD), key order is the order of the calls.
class JsonObject {
 public:
  JsonObject& Str(std::string_view key, std::string_view value);
  JsonObject& Int(std::string_view key, long long value);
  JsonObject& Bool(std::string_view key, bool value);
  JsonObject& Strings(std::string_view key, const std::vector<std::string>& values);
  // `json` must already be valid JSON (an array or object).
  JsonObject& Raw(std::string_view key, std::string_view json);
  std::string Text() const { return "{" + body_ + "}"; }

  static std::string Quote(std::string_view s);

 private:
  void Key(std::string_view key);
  std::string body_;
};

// The text a control shows, when the widgetset can read it back from the
// screen (null, or nothing for a control: the model's text).
using ShownText = std::function<std::optional<std::string>(const TControl&)>;

// The visible controls of `form` as a JSON array: depth first, siblings in
// reading order (top, then left, then creation), one object per control
// that shows text or a choice (labels, buttons, edits, memos, check boxes,
// radio buttons and groups, lists, combo boxes, page controls, trees, list
// views, progress bars, captioned panels and group boxes).
std::string DescribeControls(const TCustomForm& form, const ShownText& shown = nullptr);

// The visible controls of `form` (its tree below the form, every control
// whose parents are all visible), depth first, siblings in reading order.
std::vector<TControl*> ControlsInReadingOrder(const TCustomForm& form);

// The "form" record of `form`.
std::string DescribeForm(const TCustomForm& form, bool modal, const ShownText& shown = nullptr);

// The name that identifies a control in records: its Name, else its class.
std::string ControlId(const TControl& c);

}  // namespace platform::headless
