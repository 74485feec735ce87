// One language of the translator: its string table as source lines
// (TLangFormatStrings, the published Strings), the entries parsed from them
// (TLanguageString one-line entries, TLanguageMemo multi-line entries), and
// the font it is shown with. The parsed entries follow the lines: most
// changes to Strings re-parse the table while the auto-parse flag is set.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Strings.h"
#include "i18n/LanguageInfo.h"

namespace platform {
class File;
}

class TLanguage;

// The longest text a one-line entry keeps, in code points.
inline constexpr size_t kMaxLanguageStringLength = 255;

// An entry of a string table. A parsed entry: its id (GLID), its language and the zero-based line
// of Strings it was read from (for a memo, the line of its start marker).
class TLanguageElement : public TObject {
  PELLMORE_CLASS(TLanguageElement, TObject)

 public:
  TLanguageElement(TLanguage* language, int32_t glid, int lineNumber)
      : language_(language), glid_(glid), lineNumber_(lineNumber) {}

  int32_t GLID() const noexcept { return glid_; }
  TLanguage* Language() const noexcept { return language_; }
  int LineNumber() const noexcept { return lineNumber_; }
  void SetLineNumber(int line) noexcept { lineNumber_ = line; }

 private:
  TLanguage* language_;
  int32_t glid_;
  int lineNumber_;
};

// A one-line entry of a string table. "<id>;<text>": the text cut to its first 255 code points.
class TLanguageString : public TLanguageElement {
  PELLMORE_CLASS(TLanguageString, TLanguageElement)

 public:
  TLanguageString(TLanguage* language, int32_t glid, int lineNumber, std::string_view text);

  const std::string& Text() const noexcept { return text_; }
  // The text with case folded (CaseFold.h), for matching.
  const std::string& FoldedText() const noexcept { return folded_; }

 private:
  std::string text_;
  std::string folded_;
};

// A multi-line entry of a string table. "#<id>" ... "#": the lines between the markers.
class TLanguageMemo : public TLanguageElement {
  PELLMORE_CLASS(TLanguageMemo, TLanguageElement)

 public:
  TLanguageMemo(TLanguage* language, int32_t glid, int lineNumber,
                const std::vector<std::string>& lines);

  TStrings* Lines() const noexcept { return lines_.get(); }

 private:
  Owned<TStringList> lines_;
};

// The string table of a language, which parses itself into entries when
// its lines change. Add, AddObject, AddStrings, Clear,
// Insert, InsertObject, Move, Exchange, SetStrings, SetText, Sort and
// LoadFromStream re-parse the table afterwards (when the auto-parse flag is
// set); inside BeginUpdate/EndUpdate the parse waits for the outermost
// EndUpdate, so streaming a table in parses it once. A parse error leaves
// the lines as they are (the change is kept) and the language without
// entries. Delete does not parse: the entry read from the deleted line goes
// and later entries move up one line. Assign and LoadFromFile switch the
// flag off for the bulk change and parse once afterwards.
class TLangFormatStrings : public TStringList {
  PELLMORE_CLASS(TLangFormatStrings, TStringList)

 public:
  explicit TLangFormatStrings(TLanguage* language) : language_(language) {}

  TLanguage* Language() const noexcept { return language_; }

  int Add(const std::string& s) override;
  int AddObject(const std::string& s, TObject* o) override;
  void Insert(int index, const std::string& s) override;
  void InsertObject(int index, const std::string& s, TObject* o) override;
  void Delete(int index) override;
  void Clear() override;
  void Move(int from, int to) override;
  void Exchange(int a, int b) override;
  void AddStrings(const TStrings& other) override;
  void SetStrings(int index, const std::string& s) override;
  void SetText(std::string_view text) override;
  void Sort() override;
  void Assign(const TPersistent* source) override;

  // Replaces the lines by the UTF-8 text read from `file`'s position to its
  // end (a UTF-8 byte-order mark is skipped). Raises platform::OsError when
  // reading fails and Exception for a text over 16 MiB (reading stops
  // there) or in UTF-16; the lines are unchanged then.
  void LoadFromStream(platform::File& file);
  // The same for the file at a Windows path, with the flag off while the
  // lines change.
  void LoadFromFile(std::string_view path);

 protected:
  void Changed() override;

 private:
  // After a change of the lines: parse now, or at the end of the update.
  void LinesChanged();
  TLanguage* language_;
  bool parsePending_ = false;
};

// One language of a translator: its string table, parsed into numbered entries,
// and the font its texts are shown in.
class TLanguage : public TPersistent {
  PELLMORE_CLASS(TLanguage, TPersistent)

 public:
  explicit TLanguage(TVrexLanguage ident);
  ~TLanguage() override;

  TVrexLanguage LanguageIdent() const noexcept { return ident_; }

  TFont* Font() const noexcept { return font_; }
  void SetFont(const TFont* font) { font_->Assign(font); }
  // True: Font is copied to controls as it is; false: the built-in settings
  // of LanguageFont() are applied.
  bool FontOverride() const noexcept { return fontOverride_; }
  void SetFontOverride(bool v) noexcept { fontOverride_ = v; }

  TLangFormatStrings* Strings() const noexcept { return strings_; }
  void SetStrings(const TStrings* lines) { strings_->Assign(lines); }

  bool AutoParse() const noexcept { return autoParse_; }
  void SetAutoParse(bool v) noexcept { autoParse_ = v; }

  // Rebuilds the entries from Strings when the auto-parse flag is set. A
  // malformed line raises Exception naming its zero-based line number and
  // leaves the language without entries.
  void ParseStrings();

  // The parsed entries in reading order.
  const std::vector<Owned<TLanguageString>>& StringEntries() const noexcept {
    return stringEntries_;
  }
  const std::vector<Owned<TLanguageMemo>>& MemoEntries() const noexcept { return memoEntries_; }

  // The first entry (in reading order) with this id, or null.
  const TLanguageString* FindString(int32_t glid) const noexcept;
  const TLanguageMemo* FindMemo(int32_t glid) const noexcept;
  // The first string entry whose text equals `text` ignoring case
  // (CaseFold.h), or null.
  const TLanguageString* FindStringByText(std::string_view text) const;
  // The first memo whose lines, joined with line breaks, equal `lines`
  // joined the same way (case-sensitive), or null.
  const TLanguageMemo* FindMemoByLines(const TStrings& lines) const;

  // Strings lost line `index` without a parse (TLangFormatStrings::Delete).
  void LineDeleted(int index) noexcept;

  void Assign(const TPersistent* source) override;

 private:
  void ClearEntries() noexcept;

  TVrexLanguage ident_;
  TFont* font_;
  bool fontOverride_ = false;
  TLangFormatStrings* strings_;
  bool autoParse_ = true;
  std::vector<Owned<TLanguageString>> stringEntries_;
  std::vector<Owned<TLanguageMemo>> memoEntries_;
};
