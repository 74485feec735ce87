// Fuzzes the form description reader with the generic sample classes (an
// ancestor description is registered, so inherited input reaches the
// inherited path too). Input must either be refused with an exception of
// the runtime, leaving no object behind, or read; what is read must write
// back as text that reads and writes back to exactly the same text.
//
// Shapes beyond the plain text: every input is also read behind a UTF-8
// byte-order mark (the same text read, or refused again) and, when it reads, as UTF-16
// (must be refused by name). An input starting with byte 0x01 and a count
// byte is the body of count x 8 sibling components of one form, so the
// reader's naming and reference resolution see many siblings.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "SampleClasses.h"

namespace {

constexpr const char* kAncestor = R"(object fmPage: TDemoForm
  Caption = 'Setup'
  object TitleLabel: TDemoLabel
    Caption = 'Title'
    FocusControl = NextButton
  end
  object ButtonPanel: TDemoPanel
    Align = alBottom
    object NextButton: TDemoButton
      Caption = '&Next >'
      OnClick = ButtonClick
    end
  end
end
)";

[[noreturn]] void Crash(const char* what, const std::string& a, const std::string& b) {
  std::fprintf(stderr, "%s\n--- first ---\n%s\n--- second ---\n%s\n", what, a.c_str(), b.c_str());
  std::abort();
}

// Reads `text` into a new root and writes it back; false when refused,
// with the reason in `written`.
bool ReadAndWrite(std::string_view text, std::string& written) {
  try {
    Owned<TComponent> root(CreateFromForm(text, "fuzz.dfm"));
    written = WriteForm(*root);
    return true;
  } catch (const Exception& e) {
    written = e.Message();  // EFormError, or a component's own refusal (a bad Name)
    return false;
  }
}

// `body` as the body of `count` sibling TDemoControl components C0, C1 ...
std::string Siblings(std::string_view body, int count) {
  std::string text = "object F: TDemoForm\n";
  for (int i = 0; i < count; ++i) {
    text += "  object C" + std::to_string(i) + ": TDemoControl\n";
    text += body;
    text += "\n  end\n";
  }
  return text + "end\n";
}

std::string AsUtf16(std::string_view text) {
  std::string out = "\xFF\xFE";
  for (char c : text) {
    out += c;
    out += '\0';
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    sample::RegisterSampleClasses(ClassRegistry::Global());
    ClassRegistry::Global().RegisterDescription("TDemoForm", "page.dfm", kAncestor);
    return true;
  }();
  (void)ready;
  const size_t before = TObject::LiveCount();
  std::string input(reinterpret_cast<const char*>(data), size);
  if (size >= 2 && data[0] == 0x01) input = Siblings(input.substr(2), data[1] * 8);

  std::string first;
  const bool read = ReadAndWrite(input, first);
  if (read) {
    std::string second;
    if (!ReadAndWrite(first, second)) Crash("written text was refused", first, second);
    if (second != first) Crash("written text does not write back the same", first, second);
  }
  if (!input.starts_with("\xEF\xBB\xBF")) {
    std::string marked;
    if (ReadAndWrite("\xEF\xBB\xBF" + input, marked) != read || (read && marked != first))
      Crash("a UTF-8 byte-order mark changed the outcome", first, marked);
  }
  if (read && size < 4096) {
    std::string wide;
    if (ReadAndWrite(AsUtf16(input), wide) ||
        wide.find("UTF-16 is not supported") == std::string::npos)
      Crash("UTF-16 was not refused by name", input, wide);
  }
  if (TObject::LiveCount() != before) Crash("objects leaked", input, "");
  return 0;
}
