// The Program Manager conversation (see cmp_TProgramManager.h): command
// texts built from fixed pieces, the group report read field by field, and
// the exceptions with their translated messages.
#include "shell/cmp_TProgramManager.h"

#include "framework/ProcessState.h"
#include "platform/Dde.h"
#include "platform/Platform.h"

namespace {

// The pieces the command texts are built from.
constexpr const char* kCreateGroup = "[CreateGroup(";
constexpr const char* kShowGroup = "[ShowGroup(";
constexpr const char* kComma = ",";
constexpr const char* kShowNormal = "8)]";
constexpr const char* kReplaceItem = "[ReplaceItem(";
constexpr const char* kAddItem = "[AddItem(";
constexpr const char* kNoPosition = ",,";
constexpr const char* kClose = ")]";
constexpr const char* kQuote = "\"";

// The Program Manager copies a command into a buffer of 256 bytes.
constexpr size_t kMaxCommandChars = 255;

constexpr const char* kCommunicate =
    "The TProgramManager object was unable to communicate with Program Manager";
constexpr const char* kCannotOpen =
    "The TProgramManager object was unable to establish a link with Program Manager";
constexpr const char* kCannotOpenGroup =
    "The TProgramManager object was unable to open the following program group: %s";
constexpr const char* kCannotCreateGroup =
    "The TProgramManager object was unable to create the following program group: %s";
constexpr const char* kCannotReplaceItem =
    "The TProgramManager object was unable to replace the following program item: %s";
constexpr const char* kToGroup = " to the following group: %s";
constexpr const char* kCannotAddItem =
    "The TProgramManager object was unable to add the following program item: ";
constexpr const char* kAddToGroup = " to the following group: %s. The arguments passed to ";
constexpr const char* kAddArguments = " Program Manager were: %s";
constexpr const char* kTooLong =
    " (the command has %d characters; Program Manager takes at most %d)";

// Characters, not bytes: a UTF-8 text counts its code points.
size_t CharCount(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

// Empty when the command fits, else the translated reason to add to the
// operation's message.
std::string LengthProblem(const std::string& command) {
  const size_t n = CharCount(command);
  if (n <= kMaxCommandChars) return {};
  return Format(TranslateExceptionText(kTooLong), int(n), int(kMaxCommandChars));
}

// A text placed into a format as part of the format itself: its percent
// signs must stay literal.
std::string FormatLiteral(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

std::string ShowGroupCommand(const std::string& group) {
  return std::string(kShowGroup) + group + kComma + kShowNormal;
}

// Removes one leading double quote (only from a text longer than one
// character) and one trailing double quote.
std::string StripQuotes(std::string text) {
  if (text.size() > 1 && text.front() == '"') text.erase(0, 1);
  if (!text.empty() && text.back() == '"') text.pop_back();
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find_first_of("\r\n", i);
    if (end == std::string::npos) {
      lines.push_back(text.substr(i));
      break;
    }
    lines.push_back(text.substr(i, end - i));
    i = end + 1;
    if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

}  // namespace

EPLPMError::EPLPMError() : EPL(kCommunicate) {}

EPLPMError::EPLPMError(const std::string& message, std::string group, std::string item)
    : EPL(Translated{}, message), group_(std::move(group)), item_(std::move(item)) {}

EPLPMCannotAddItem::EPLPMCannotAddItem(const std::string& message, std::string group,
                                       std::string item, std::string command)
    : EPLPMError(message, std::move(group), std::move(item)), command_(std::move(command)) {}

TProgramManager::TProgramManager(TComponent* owner) : TComponent(owner) {}

// The conversation's destructor disconnects and never raises.
TProgramManager::~TProgramManager() = default;

void TProgramManager::Connect() {
  if (conversation_) return;
  conversation_ = platform::dde().Connect("PROGMAN", "PROGMAN");
  if (!conversation_) throw EPLPMCannotOpen(TranslateExceptionText(kCannotOpen), "");
}

void TProgramManager::SelectGroup(const std::string& group) {
  Connect();
  currentGroup_.clear();
  contents_.clear();
  if (auto answer = conversation_->Request(group)) {
    contents_ = SplitLines(*answer);
    currentGroup_ = group;
  }
}

void TProgramManager::CreateGroup(const std::string& group) {
  Connect();
  if (group.empty()) return;
  const std::string command = std::string(kCreateGroup) + kQuote + group + kQuote + kClose;
  const std::string tooLong = LengthProblem(command);
  if (!tooLong.empty() || !conversation_->Execute(command))
    throw EPLPMCannotCreateGroup(
        Format(TranslateExceptionText(kCannotCreateGroup), group) + tooLong, group);
  SelectGroup(group);
}

int TProgramManager::ItemCount() const noexcept {
  return contents_.size() >= 2 ? int(contents_.size()) - 1 : 0;
}

int TProgramManager::FindItem(const std::string& name) const {
  for (int i = 1; i <= ItemCount(); ++i)
    if (ItemField(i, 1) == name) return i;
  return -1;
}

std::string TProgramManager::ItemField(int index, int field) const {
  if (index <= 0 || size_t(index) >= contents_.size() || field < 1 || field > 8) return {};
  const std::string& line = contents_[size_t(index)];
  size_t start = 0;
  for (int k = 1; k < field; ++k) {
    const size_t comma = line.find(',', start);
    if (comma == std::string::npos) return {};
    start = comma + 1;
  }
  const size_t end = line.find(',', start);
  std::string text = StripQuotes(line.substr(start, end == std::string::npos ? end : end - start));
  if (field <= 2) text = StripQuotes(std::move(text));
  return text;
}

void TProgramManager::ReplaceItem(const std::string& name) {
  Connect();
  if (currentGroup_.empty()) return;
  const std::string group = currentGroup_;
  const std::string show = ShowGroupCommand(group);
  const std::string command = std::string(kReplaceItem) + kQuote + name + kQuote + kClose;
  const auto replaceFailed = [&](const std::string& reason) {
    return EPLPMCannotReplaceItem(
        Format(TranslateExceptionText(std::string(kCannotReplaceItem) + kToGroup), name, group) +
            reason,
        group, name);
  };
  if (std::string reason = LengthProblem(command); !reason.empty()) throw replaceFailed(reason);
  const std::string showTooLong = LengthProblem(show);
  if (!showTooLong.empty() || !conversation_->Execute(show))
    throw EPLPMCannotOpenGroup(
        Format(TranslateExceptionText(kCannotOpenGroup), group) + showTooLong, group, name);
  if (!conversation_->Execute(command)) throw replaceFailed("");
  SelectGroup(group);
}

void TProgramManager::AddItem(const std::string& commandLine, const std::string& name,
                              const std::string& iconPath, int iconIndex,
                              const std::string& directory, const std::string& hotKey) {
  Connect();
  if (currentGroup_.empty()) return;
  const std::string group = currentGroup_;
  const std::string show = ShowGroupCommand(group);
  const std::string command = std::string(kAddItem) + commandLine + kComma + name + kComma +
                              iconPath + kComma + std::to_string(iconIndex) + kNoPosition + kComma +
                              directory + kComma + hotKey + kClose;
  // The item name becomes part of the format; a percent sign in it must
  // not be taken for a placeholder.
  const auto addFailed = [&](const std::string& reason) {
    return EPLPMCannotAddItem(
        Format(TranslateExceptionText(std::string(kCannotAddItem) + FormatLiteral(name) +
                                      kAddToGroup + kAddArguments),
               group, command) +
            reason,
        group, name, command);
  };
  if (std::string reason = LengthProblem(command); !reason.empty()) throw addFailed(reason);
  const std::string showTooLong = LengthProblem(show);
  if (!showTooLong.empty() || !conversation_->Execute(show))
    throw EPLPMCannotOpenGroup(
        Format(TranslateExceptionText(kCannotOpenGroup), group) + showTooLong, group, name);
  if (!conversation_->Execute(command)) throw addFailed("");
  SelectGroup(group);
}

void TProgramManager::ListGroups(std::vector<std::string>& groups) {
  Connect();
  groups.clear();
  if (auto answer = conversation_->Request("Groups")) groups = SplitLines(*answer);
}

TProgramManager& ProgramManager() {
  static std::unique_ptr<TProgramManager> instance;
  if (!instance) {
    ProcessState::RegisterReset("shell.ProgramManager", [] { instance.reset(); });
    instance = std::make_unique<TProgramManager>(nullptr);
  }
  return *instance;
}
