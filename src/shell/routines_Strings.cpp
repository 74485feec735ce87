// Text and path routines of the kit (see routines_Strings.h). Field lists
// are split in one pass, so long lists cost linear time.
#include "shell/routines_Strings.h"

std::string AddBackslash(std::string_view text) {
  std::string r(text);
  if (!r.empty() && r.back() != '\\') r += '\\';
  return r;
}

std::string RemoveBackslash(std::string_view text) {
  if (!text.empty() && text.back() == '\\') text.remove_suffix(1);
  return std::string(text);
}

int FieldCount(std::string_view text, char separator) {
  int count = 0;
  for (char c : text)
    if (c == separator) ++count;
  if (!text.empty() && text.back() != separator) ++count;
  return count;
}

std::string GetField(std::string_view text, int n, char separator) {
  if (n < 1) return std::string();
  size_t start = 0;
  for (int i = 1; i < n; ++i) {
    const size_t sep = text.find(separator, start);
    if (sep == std::string_view::npos) return std::string();
    start = sep + 1;
  }
  const size_t end = text.find(separator, start);
  return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

void SplitFields(std::string_view text, char separator, std::vector<std::string>& list) {
  list.clear();
  // Equivalent to GetField(text, i) for i = 1..FieldCount, without rescanning.
  size_t start = 0;
  while (start < text.size()) {
    const size_t sep = text.find(separator, start);
    if (sep == std::string_view::npos) {
      list.emplace_back(text.substr(start));
      break;
    }
    list.emplace_back(text.substr(start, sep - start));
    start = sep + 1;
  }
}

void TextAfterColon(std::string_view text, std::string& result) {
  const size_t colon = text.find(':');
  if (colon != std::string_view::npos) result = std::string(text.substr(colon + 1));
}

std::string MakeValidFileName(std::string_view text) {
  std::string r;
  r.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '/':
        r += '-';
        break;
      case '"':
      case '*':
      case ':':
      case ';':
      case '<':
      case '>':
      case '?':
      case '\\':
      case '|':
        break;
      default:
        r += c;
    }
  }
  return r;
}
