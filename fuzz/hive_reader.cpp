// Fuzzes the simulated registry's file parsers. The input is read as a
// hive file and each of its lines as a journal line. Whatever parses must
// write back as text that parses to the same thing (write, read, write
// gives identical text); anything else must be refused with HiveError.
// The shapes damaged machines show are derived from each input as well:
// the input cut short (a hive truncated mid-line), and the input as UTF-16
// (a regedit export dropped into the registry folder), which must always
// be refused.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/sim/HiveJournal.h"
#include "platform/sim/HiveReader.h"
#include "platform/sim/HiveWriter.h"

using namespace platform::sim;

namespace {

std::string Written(const Hive& hive) {
  std::string text;
  WriteHiveText(hive, [&](std::string_view chunk) { text += chunk; });
  return text;
}

void CheckHive(std::string_view input) {
  Hive hive("HKEY_LOCAL_MACHINE");
  try {
    ReadHiveText(input, "fuzz.reg", hive);
  } catch (const HiveError&) {
    return;
  }
  const std::string first = Written(hive);
  Hive again("HKEY_LOCAL_MACHINE");
  ReadHiveText(first, "again.reg", again);  // must not raise
  if (Written(again) != first) std::abort();
}

// The input as UTF-16LE with a byte-order mark, or without one (the
// reader must see the NULs either way).
std::string AsUtf16(std::string_view input, bool mark) {
  std::string out = mark ? "\xFF\xFE" : "";
  for (char c : input) {
    out += c;
    out += '\0';
  }
  return out;
}

void CheckRefused(std::string_view input) {
  Hive hive("HKEY_LOCAL_MACHINE");
  try {
    ReadHiveText(input, "utf16.reg", hive);
  } catch (const HiveError&) {
    return;
  }
  std::abort();  // UTF-16 text taken as a hive
}

void CheckJournalLine(std::string_view line) {
  JournalOp op;
  std::string why;
  if (!ParseJournalOp(line, op, why)) return;
  std::string text = FormatJournalOp(op);
  if (text.empty() || text.back() != '\n') std::abort();
  text.pop_back();
  JournalOp back;
  if (!ParseJournalOp(text, back, why)) std::abort();
  if (back.kind != op.kind || back.path != op.path || back.name != op.name ||
      NormalizedValue(back.value) != NormalizedValue(op.value))
    std::abort();
  Hive hive("HKEY_LOCAL_MACHINE");
  ApplyJournalOp(hive, op);  // may refuse, must not crash
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckHive(input);
  CheckHive(input.substr(0, size / 2));  // truncated: refused or read whole
  if (size > 0 && size <= 4096) {
    CheckRefused(AsUtf16(input, true));
    if (input[0] != '\0') CheckRefused(AsUtf16(input, false));
  }
  size_t start = 0;
  while (start <= input.size()) {
    size_t end = input.find('\n', start);
    if (end == input.npos) end = input.size();
    CheckJournalLine(input.substr(start, end - start));
    start = end + 1;
  }
  return 0;
}
