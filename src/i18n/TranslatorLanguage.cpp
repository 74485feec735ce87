// A translator language, its parsed entries and its self-parsing Strings
// (see TranslatorLanguage.h).
#include "i18n/TranslatorLanguage.h"

#include <algorithm>

#include "framework/Utf8.h"
#include "i18n/CaseFold.h"
#include "i18n/TableParser.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {

// Tables are a few kilobytes; anything this large is not a string table.
constexpr uint64_t kMaxTableFileSize = 16u << 20;

// Runs `change` with the language's auto-parse flag off and restores the
// flag however `change` ends.
template <class F>
void WithoutAutoParse(TLanguage& language, F&& change) {
  const bool was = language.AutoParse();
  language.SetAutoParse(false);
  try {
    change();
  } catch (...) {
    language.SetAutoParse(was);
    throw;
  }
  language.SetAutoParse(was);
}

}  // namespace

// --- entries ---------------------------------------------------------------

TLanguageString::TLanguageString(TLanguage* language, int32_t glid, int lineNumber,
                                 std::string_view text)
    : TLanguageElement(language, glid, lineNumber),
      text_(Utf8Left(text, kMaxLanguageStringLength)),
      folded_(FoldCase(text_)) {}

TLanguageMemo::TLanguageMemo(TLanguage* language, int32_t glid, int lineNumber,
                             const std::vector<std::string>& lines)
    : TLanguageElement(language, glid, lineNumber), lines_(new TStringList) {
  for (const std::string& line : lines) lines_->Add(line);
}

// --- TLangFormatStrings ----------------------------------------------------

int TLangFormatStrings::Add(const std::string& s) {
  const int index = TStringList::Add(s);
  LinesChanged();
  return index;
}

int TLangFormatStrings::AddObject(const std::string& s, TObject* o) {
  const int index = TStringList::AddObject(s, o);
  LinesChanged();
  return index;
}

void TLangFormatStrings::Insert(int index, const std::string& s) {
  TStringList::Insert(index, s);
  LinesChanged();
}

void TLangFormatStrings::InsertObject(int index, const std::string& s, TObject* o) {
  TStringList::InsertObject(index, s, o);
  LinesChanged();
}

void TLangFormatStrings::Delete(int index) {
  TStringList::Delete(index);
  language_->LineDeleted(index);
}

void TLangFormatStrings::Clear() {
  TStringList::Clear();
  LinesChanged();
}

void TLangFormatStrings::Move(int from, int to) {
  TStringList::Move(from, to);
  LinesChanged();
}

void TLangFormatStrings::Exchange(int a, int b) {
  TStringList::Exchange(a, b);
  LinesChanged();
}

void TLangFormatStrings::AddStrings(const TStrings& other) {
  TStringList::AddStrings(other);
  LinesChanged();
}

void TLangFormatStrings::SetStrings(int index, const std::string& s) {
  TStringList::SetStrings(index, s);
  LinesChanged();
}

void TLangFormatStrings::SetText(std::string_view text) {
  TStringList::SetText(text);
  LinesChanged();
}

void TLangFormatStrings::Sort() {
  TStringList::Sort();
  LinesChanged();
}

void TLangFormatStrings::Assign(const TPersistent* source) {
  WithoutAutoParse(*language_, [&] { TStringList::Assign(source); });
  language_->ParseStrings();
}

void TLangFormatStrings::LoadFromStream(platform::File& file) {
  std::string text;
  char buffer[8192];
  for (;;) {
    const size_t n = file.Read(buffer, sizeof buffer);
    if (n == 0) break;
    if (n > kMaxTableFileSize - text.size())
      throw Exception("The string table " + file.Path() + " is too large: the limit is " +
                      std::to_string(kMaxTableFileSize) + " bytes");
    text.append(buffer, n);
  }
  // Tables are UTF-8; a byte-order mark is not part of the first line.
  if (DetectTextEncoding(text) == TextEncoding::Utf16)
    throw Exception("The string table " + file.Path() +
                    " cannot be read: UTF-16 is not supported, save it as UTF-8");
  SetText(WithoutUtf8Bom(text));
}

void TLangFormatStrings::LoadFromFile(std::string_view path) {
  const std::unique_ptr<platform::File> file = platform::files().OpenRead(path);
  WithoutAutoParse(*language_, [&] { LoadFromStream(*file); });
  language_->ParseStrings();
}

void TLangFormatStrings::Changed() {
  TStringList::Changed();
  if (parsePending_ && UpdateCount() == 0) {
    parsePending_ = false;
    language_->ParseStrings();
  }
}

void TLangFormatStrings::LinesChanged() {
  if (!language_->AutoParse()) return;
  if (UpdateCount() > 0) {
    parsePending_ = true;
    return;
  }
  language_->ParseStrings();
}

// --- TLanguage -------------------------------------------------------------

TLanguage::TLanguage(TVrexLanguage ident)
    : ident_(ident), font_(new TFont), strings_(new TLangFormatStrings(this)) {}

TLanguage::~TLanguage() {
  ClearEntries();
  strings_->Free();
  font_->Free();
}

void TLanguage::ClearEntries() noexcept {
  stringEntries_.clear();
  memoEntries_.clear();
}

void TLanguage::ParseStrings() {
  if (!autoParse_) return;
  ClearEntries();
  const ParsedTable table = ParseStringTable(*strings_);  // on failure: no entries
  stringEntries_.reserve(table.strings.size());
  for (const ParsedTable::String& s : table.strings)
    stringEntries_.emplace_back(new TLanguageString(this, s.glid, s.line, s.text));
  memoEntries_.reserve(table.memos.size());
  for (const ParsedTable::Memo& m : table.memos)
    memoEntries_.emplace_back(new TLanguageMemo(this, m.glid, m.line, m.lines));
}

const TLanguageString* TLanguage::FindString(int32_t glid) const noexcept {
  for (const auto& s : stringEntries_)
    if (s->GLID() == glid) return s.get();
  return nullptr;
}

const TLanguageMemo* TLanguage::FindMemo(int32_t glid) const noexcept {
  for (const auto& m : memoEntries_)
    if (m->GLID() == glid) return m.get();
  return nullptr;
}

const TLanguageString* TLanguage::FindStringByText(std::string_view text) const {
  const std::string folded = FoldCase(text);
  for (const auto& s : stringEntries_)
    if (s->FoldedText() == folded) return s.get();
  return nullptr;
}

const TLanguageMemo* TLanguage::FindMemoByLines(const TStrings& lines) const {
  const std::string joined = lines.Text();
  for (const auto& m : memoEntries_)
    if (m->Lines()->Text() == joined) return m.get();
  return nullptr;
}

void TLanguage::LineDeleted(int index) noexcept {
  // The entry read from the deleted line would otherwise go on translating
  // a text the table no longer has.
  std::erase_if(stringEntries_, [&](const auto& s) { return s->LineNumber() == index; });
  for (const auto& s : stringEntries_)
    if (s->LineNumber() > index) s->SetLineNumber(s->LineNumber() - 1);
  for (const auto& m : memoEntries_)
    if (m->LineNumber() > index) m->SetLineNumber(m->LineNumber() - 1);
}

void TLanguage::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TLanguage*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  font_->Assign(other->font_);
  fontOverride_ = other->fontOverride_;
  strings_->Assign(other->strings_);
}
