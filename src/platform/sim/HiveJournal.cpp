// Journal lines of the simulated registry (see HiveJournal.h).
#include "platform/sim/HiveJournal.h"

#include "platform/OsError.h"
#include "platform/sim/HiveSyntax.h"

namespace platform::sim {
namespace {

ApplyResult Fail(uint32_t code, std::string why) {
  return {code, std::move(why), false};
}

}  // namespace

std::string FormatJournalOp(const JournalOp& op) {
  std::string line;
  switch (op.kind) {
    case JournalOp::Kind::CreateKey:
      line += '+';
      break;
    case JournalOp::Kind::DeleteKey:
      line += '-';
      break;
    case JournalOp::Kind::SetValue:
      line += '=';
      break;
    case JournalOp::Kind::DeleteValue:
      line += '~';
      break;
  }
  AppendQuoted(line, op.path);
  if (op.kind == JournalOp::Kind::SetValue || op.kind == JournalOp::Kind::DeleteValue) {
    line += ' ';
    AppendQuoted(line, op.name);
  }
  if (op.kind == JournalOp::Kind::SetValue) {
    line += '=';
    AppendValueData(line, op.value, /*wrap=*/false, 0);
  }
  line += '\n';
  return line;
}

bool ParseJournalOp(std::string_view line, JournalOp& op, std::string& why) {
  if (line.empty()) {
    why = "empty journal line";
    return false;
  }
  switch (line.front()) {
    case '+':
      op.kind = JournalOp::Kind::CreateKey;
      break;
    case '-':
      op.kind = JournalOp::Kind::DeleteKey;
      break;
    case '=':
      op.kind = JournalOp::Kind::SetValue;
      break;
    case '~':
      op.kind = JournalOp::Kind::DeleteValue;
      break;
    default:
      why = "unknown journal entry";
      return false;
  }
  size_t pos = 1;
  if (!ParseQuoted(line, pos, op.path, why)) return false;
  op.name.clear();
  op.value = RegValue();
  if (op.kind == JournalOp::Kind::CreateKey || op.kind == JournalOp::Kind::DeleteKey) {
    if (pos != line.size()) {
      why = "text after the key path";
      return false;
    }
    return true;
  }
  if (pos >= line.size() || line[pos] != ' ') {
    why = "value name expected";
    return false;
  }
  ++pos;
  if (!ParseQuoted(line, pos, op.name, why)) return false;
  if (op.kind == JournalOp::Kind::DeleteValue) {
    if (pos != line.size()) {
      why = "text after the value name";
      return false;
    }
    return true;
  }
  if (pos >= line.size() || line[pos] != '=') {
    why = "'=' expected";
    return false;
  }
  return ParseValueData(line.substr(pos + 1), op.value, why);
}

std::string FormatJournalHeader(uint64_t generation) {
  return std::string(kJournalMagic) + std::to_string(generation) + "\n";
}

bool ParseJournalHeader(std::string_view line, uint64_t& generation) {
  if (line.substr(0, kJournalMagic.size()) != kJournalMagic) return false;
  const std::string_view digits = line.substr(kJournalMagic.size());
  if (digits.empty() || digits.size() > 19) return false;
  generation = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    generation = generation * 10 + static_cast<uint64_t>(c - '0');
  }
  return true;
}

ApplyResult ApplyJournalOp(Hive& hive, const JournalOp& op) {
  std::vector<std::string_view> names;
  std::string why;
  if (!SplitKeyPath(op.path, names, why)) return Fail(kErrorInvalidParameter, why);
  switch (op.kind) {
    case JournalOp::Kind::CreateKey: {
      if (hive.Find(names)) return {};
      hive.Create(names);
      return {0, {}, true};
    }
    case JournalOp::Kind::DeleteKey: {
      if (names.empty()) return Fail(kErrorAccessDenied, "the root key cannot be deleted");
      const std::string_view last = names.back();
      names.pop_back();
      HiveKey* parent = hive.Find(names);
      HiveKey* key = parent ? parent->Find(last) : nullptr;
      if (!key) return Fail(kErrorFileNotFound, "key not found");
      if (!key->SubKeys().empty()) return Fail(kErrorAccessDenied, "key has subkeys");
      parent->Remove(last);
      return {0, {}, true};
    }
    case JournalOp::Kind::SetValue: {
      why = ValueNameProblem(op.name);
      if (why.empty()) why = ValueProblem(op.value);
      if (!why.empty()) return Fail(kErrorInvalidParameter, why);
      HiveKey* key = hive.Find(names);
      if (!key) return Fail(kErrorFileNotFound, "key not found");
      RegValue value = NormalizedValue(op.value);
      if (const RegValue* old = key->Value(op.name); old && *old == value) return {};
      key->SetValue(op.name, std::move(value));
      return {0, {}, true};
    }
    case JournalOp::Kind::DeleteValue: {
      HiveKey* key = hive.Find(names);
      if (!key) return Fail(kErrorFileNotFound, "key not found");
      if (!key->RemoveValue(op.name)) return Fail(kErrorFileNotFound, "value not found");
      return {0, {}, true};
    }
  }
  return Fail(kErrorInvalidParameter, "unknown change");
}

size_t ReplayJournal(std::string_view text, size_t offset, size_t& line, const std::string& file,
                     Hive& hive) {
  JournalOp op;
  std::string why;
  while (offset < text.size()) {
    const size_t end = text.find('\n', offset);
    if (end == text.npos) break;  // torn last append: not a change yet
    ++line;
    if (!ParseJournalOp(text.substr(offset, end - offset), op, why))
      throw HiveError(file, line, why);
    const ApplyResult r = ApplyJournalOp(hive, op);
    if (r.code != 0) throw HiveError(file, line, "change does not apply: " + r.why);
    offset = end + 1;
  }
  return offset;
}

}  // namespace platform::sim
