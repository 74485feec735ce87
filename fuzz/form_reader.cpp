// Fuzzes the form description reader with the generic sample classes (an
// ancestor description is registered, so inherited input reaches the
// inherited path too). Input must either be refused with an exception of
// the runtime, leaving no object behind, or read; what is read must write
// back as text that reads and writes back to exactly the same text.
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

// Reads `text` into a new root and writes it back; false when refused.
bool ReadAndWrite(std::string_view text, std::string& written) {
  try {
    Owned<TComponent> root(CreateFromForm(text, "fuzz.dfm"));
    written = WriteForm(*root);
    return true;
  } catch (const Exception&) {
    return false;  // EFormError, or a component's own refusal (a bad Name)
  }
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
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string first;
  if (ReadAndWrite(input, first)) {
    std::string second;
    if (!ReadAndWrite(first, second)) Crash("written text was refused", first, "");
    if (second != first) Crash("written text does not write back the same", first, second);
  }
  if (TObject::LiveCount() != before) Crash("objects leaked", std::string(input), "");
  return 0;
}
