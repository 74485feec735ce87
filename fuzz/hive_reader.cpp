// Fuzzes the simulated registry's file parsers. The input is read as a
// hive file and each of its lines as a journal line. Whatever parses must
// write back as text that parses to the same thing (write, read, write
// gives identical text); anything else must be refused with HiveError.
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
  size_t start = 0;
  while (start <= input.size()) {
    size_t end = input.find('\n', start);
    if (end == input.npos) end = input.size();
    CheckJournalLine(input.substr(start, end - start));
    start = end + 1;
  }
  return 0;
}
