// The name rules of extraction and packing (see MemberNames.h).
#include "archive/MemberNames.h"

#include "archive/ArchiveLayout.h"
#include "archive/FileHeaders.h"
#include "framework/Format.h"
#include "framework/StrUtils.h"

namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Windows opens a device for these names in every directory, with or
// without an extension and with blanks before the dot ("nul .txt").
bool IsDeviceName(std::string_view name) {
  std::string base = AsciiUpperCase(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* d : kDevices)
    if (base == d) return true;
  if (base.rfind("COM", 0) != 0 && base.rfind("LPT", 0) != 0) return false;
  const std::string digit = base.substr(3);
  // Superscript one, two and three count as digits here too.
  return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" ||
         digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

}  // namespace

std::string MemberFileName(std::string_view name) {
  const size_t slash = name.find_last_of("\\/");
  std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
  if (last.size() >= 2 && last[1] == ':' && IsAsciiLetter(last[0])) last.remove_prefix(2);
  return std::string(last);
}

bool IsPlainFileName(std::string_view name, std::string* why) {
  auto no = [why](std::string reason) {
    if (why) *why = std::move(reason);
    return false;
  };
  if (Trim(name).empty()) return no("the member has no file name");
  if (name == "." || name == "..") return no("the name \"" + std::string(name) + "\" is no file");
  for (unsigned char c : name) {
    if (c < 0x20) return no("the name holds a control character");
    if (std::string_view("\\/<>:\"|?*").find(char(c)) != std::string_view::npos)
      return no(std::string("the name holds the character ") + char(c));
  }
  if (name.back() == '.' || name.back() == ' ')
    return no("the name ends in a dot or a blank, which Windows drops");
  if (IsDeviceName(name)) return no("the name " + std::string(name) + " is a device's");
  return true;
}

void RefuseUnlessPlainFileName(std::string_view name, const std::string& destination) {
  std::string why;
  if (!IsPlainFileName(name, &why))
    throw EArchiveError(Format("Cannot create the file %s", destination), why);
}

void RefuseNameTooLongForArchive(const std::string& sourcePath) {
  const size_t limit = archive_layout::kMaxNameBytes;
  if (sourcePath.size() <= limit) return;
  throw EVrexCompress(Format(
      "Cannot add the file %s to the archive: its path is %d bytes long (UTF-8), and a member's "
      "name holds at most %d bytes",
      sourcePath, static_cast<int>(sourcePath.size()), static_cast<int>(limit)));
}
