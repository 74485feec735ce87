// Fuzzes the engine configuration parser and the merge. The input is read
// as a configuration file; what parses must write back as text that parses
// and writes identically, a merge of the file into itself must change
// nothing, and a merge of the input's second half (as the template) into
// its first half (as the file in use) must write text that parses again
// and keeps every setting of the file in use. Anything else must be
// refused with a line number inside the input.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "enginesetup/EngineConfig.h"

using enginesetup::EngineConfig;
using enginesetup::ParseResult;

namespace {

std::optional<EngineConfig> Read(std::string_view input) {
  ParseResult r = EngineConfig::Parse(input);
  if (!r.config) {
    size_t lines = 1;
    for (char c : input) lines += c == '\n';
    if (r.line < 1 || r.line > lines || r.why.empty()) std::abort();
    return std::nullopt;
  }
  const std::string text = r.config->Write();
  ParseResult again = EngineConfig::Parse(text);
  if (!again.config || again.config->Write() != text) std::abort();
  return r.config;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (auto whole = Read(input)) {
    if (EngineConfig::Merge(*whole, *whole).Write() != whole->Write()) std::abort();
  }
  const size_t cut = input.find('\n', size / 2);
  if (cut == std::string_view::npos) return 0;
  auto inUse = Read(input.substr(0, cut + 1));
  auto templ = Read(input.substr(cut + 1));
  if (!inUse || !templ) return 0;
  const std::string merged = EngineConfig::Merge(*templ, *inUse).Write();
  ParseResult back = EngineConfig::Parse(merged);
  if (!back.config) std::abort();
  // Every setting of the file in use is still there; only VERSION of
  // [SYSTEM INIT] may have taken the template's value.
  std::string section;
  for (const auto& line : inUse->Lines()) {
    if (line.kind == enginesetup::ConfigLine::Kind::Section) section = line.name;
    if (line.kind != enginesetup::ConfigLine::Kind::Setting) continue;
    if (!back.config->Value(section, line.name)) std::abort();
  }
  return 0;
}
