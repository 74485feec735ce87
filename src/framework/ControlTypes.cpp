// Names and defaults of modal results and message-box answers (see
// ControlTypes.h).
#include "framework/ControlTypes.h"

#include "framework/StrUtils.h"

namespace {
constexpr const char* kModalNames[] = {"mrNone",  "mrOk",      "mrCancel",  "mrAbort",
                                       "mrRetry", "mrIgnore",  "mrYes",     "mrNo",
                                       "mrAll",   "mrNoToAll", "mrYesToAll"};
constexpr const char* kAnswerNames[] = {"",      "OK",     "Cancel", "Abort",
                                        "Retry", "Ignore", "Yes",    "No"};
}  // namespace

const char* ModalResultName(TModalResult result) noexcept {
  if (result >= 0 && result < static_cast<int>(std::size(kModalNames))) return kModalNames[result];
  return "";
}

MessageBoxButtons ButtonsOfMessageBox(uint32_t flags) noexcept {
  MessageBoxButtons b;
  switch (flags & 0xF) {
    case MB_OKCANCEL:
      b = {{IDOK, IDCANCEL, 0}, 2};
      break;
    case MB_ABORTRETRYIGNORE:
      b = {{IDABORT, IDRETRY, IDIGNORE}, 3};
      break;
    case MB_YESNOCANCEL:
      b = {{IDYES, IDNO, IDCANCEL}, 3};
      break;
    case MB_YESNO:
      b = {{IDYES, IDNO, 0}, 2};
      break;
    case MB_RETRYCANCEL:
      b = {{IDRETRY, IDCANCEL, 0}, 2};
      break;
    default:
      break;
  }
  return b;
}

int DefaultMessageBoxAnswer(uint32_t flags) noexcept {
  const MessageBoxButtons b = ButtonsOfMessageBox(flags);
  int which = 0;
  if ((flags & 0xF00) == MB_DEFBUTTON2) which = 1;
  if ((flags & 0xF00) == MB_DEFBUTTON3) which = 2;
  return which < b.count ? b.ids[which] : b.ids[0];
}

const char* MessageBoxAnswerName(int id) noexcept {
  if (id > 0 && id < static_cast<int>(std::size(kAnswerNames))) return kAnswerNames[id];
  return "";
}

int MessageBoxAnswerFromName(std::string_view name) noexcept {
  for (int id = 1; id < static_cast<int>(std::size(kAnswerNames)); ++id)
    if (SameText(name, kAnswerNames[id])) return id;
  return 0;
}
