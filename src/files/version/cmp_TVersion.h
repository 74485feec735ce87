#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/DateTime.h"
#include "platform/VersionInfo.h"

class ClassRegistry;

// The overwrite rule of install files and of the archive. A fixed
// underlying type keeps any stored ordinal a valid value (the decisions
// answer 0 for unknown ones).
enum TOverwriteType : int { owAlways, owNever, owVersion, owDate, owVersionDate };

// Code-page part of the string-table key.
enum TCharacterSet : int {
  csASCII,
  csJapan,
  csKorea,
  csTaiwan,
  csUnicode,
  csLatin2,
  csCyrillic,
  csMultilingual,
  csGreek,
  csTurkish,
  csHebrew,
  csArabic
};

// The values read from a version resource. FileVersion and ProductVersion
// are "a.b.c.d" from the fixed information (a string "ProductVersion"
// replaces the latter); FileOS, FileType and FileSubType are texts.
class TVersionInfo : public TPersistent {
  PELLMORE_CLASS(TVersionInfo, TPersistent)

 public:
  const std::string& Comment() const { return comment_; }
  const std::string& CompanyName() const { return companyName_; }
  const std::string& FileDescription() const { return fileDescription_; }
  const std::string& FileVersion() const { return fileVersion_; }
  const std::string& InternalName() const { return internalName_; }
  const std::string& LegalCopyright() const { return legalCopyright_; }
  const std::string& LegalTradeMarks() const { return legalTradeMarks_; }
  const std::string& OriginalFileName() const { return originalFileName_; }
  const std::string& PrivateBuild() const { return privateBuild_; }
  const std::string& ProductName() const { return productName_; }
  const std::string& ProductVersion() const { return productVersion_; }
  const std::string& SpecialBuild() const { return specialBuild_; }
  const std::string& FileOS() const { return fileOS_; }
  const std::string& FileType() const { return fileType_; }
  const std::string& FileSubType() const { return fileSubType_; }

  void SetComment(const std::string& v) { comment_ = v; }
  void SetCompanyName(const std::string& v) { companyName_ = v; }
  void SetFileDescription(const std::string& v) { fileDescription_ = v; }
  void SetFileVersion(const std::string& v) { fileVersion_ = v; }
  void SetInternalName(const std::string& v) { internalName_ = v; }
  void SetLegalCopyright(const std::string& v) { legalCopyright_ = v; }
  void SetLegalTradeMarks(const std::string& v) { legalTradeMarks_ = v; }
  void SetOriginalFileName(const std::string& v) { originalFileName_ = v; }
  void SetPrivateBuild(const std::string& v) { privateBuild_ = v; }
  void SetProductName(const std::string& v) { productName_ = v; }
  void SetProductVersion(const std::string& v) { productVersion_ = v; }
  void SetSpecialBuild(const std::string& v) { specialBuild_ = v; }
  void SetFileOS(const std::string& v) { fileOS_ = v; }
  void SetFileType(const std::string& v) { fileType_ = v; }
  void SetFileSubType(const std::string& v) { fileSubType_ = v; }

  // Empties all fifteen texts.
  void Clear();
  void Assign(const TPersistent* source) override;

 private:
  std::string comment_, companyName_, fileDescription_, fileVersion_, internalName_,
      legalCopyright_, legalTradeMarks_, originalFileName_, privateBuild_, productName_,
      productVersion_, specialBuild_, fileOS_, fileType_, fileSubType_;
};

// TVersionResource: reads the version resource of a file (fixed version
// numbers, file type and OS, the string table) and holds the overwrite
// decision used everywhere: a stored version and date, or a second file,
// against a file on disk. One shared instance serves the whole program.
class TVersionResource : public TComponent {
  PELLMORE_CLASS(TVersionResource, TComponent)

 public:
  // The version-resource language. Nested because the translator has a
  // class of the same name.
  enum TLanguage : int {
    lnArabic,
    lnBulgarian,
    lnCatalan,
    lnTraditionalChinese,
    lnCzech,
    lnDanish,
    lnGerman,
    lnGreek,
    lnUSEnglish,
    lnCastilianSpanish,
    lnFinnish,
    lnFrench,
    lnHebrew,
    lnHungarian,
    lnIcelandic,
    lnItalian,
    lnJapanese,
    lnKorean,
    lnDutch,
    lnNorwegianBokmal,
    lnPolish,
    lnBrazilianPortuguese,
    lnRhaetoRomanic,
    lnRomanian,
    lnRussian,
    lnCroatoSerbian,
    lnSlovak,
    lnAlbanian,
    lnSwedish,
    lnThai,
    lnTurkish,
    lnUrdu,
    lnBahasa,
    lnSimplifiedChinese,
    lnSwissGerman,
    lnUKEnglish,
    lnMexicanSpanish,
    lnBelgianFrench,
    lnSwissItalian,
    lnBelgianDutch,
    lnNorwegianNynorsk,
    lnPortuguese,
    lnSerboCroatian,
    lnCanadianFrench,
    lnSwissFrench
  };

  // Windows language identifier and code page of the enumerations; 0 for
  // a value outside them.
  static uint16_t LanguageId(TLanguage language);
  static uint16_t CodePage(TCharacterSet characterSet);

  // FileName starts as the running program's path and is read at once
  // (through the platform's system and version services).
  explicit TVersionResource(TComponent* owner);
  ~TVersionResource() override;

  // Each setter reads the resource again at once.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& fileName);
  TLanguage Language() const { return language_; }
  void SetLanguage(TLanguage language);
  TCharacterSet CharacterSet() const { return characterSet_; }
  void SetCharacterSet(TCharacterSet characterSet);
  TVersionInfo* VersionInfo() const { return versionInfo_.get(); }
  // FileName is stored in a form only when it is not the program's own.
  bool FileNameStored() const;

  // Fills VersionInfo from FileName. Never raises for a missing or
  // unversioned file: the texts stay empty.
  void Read();

  // Queries of the resource last read: its "\VarFileInfo\Translation"
  // entries, and one string under a table key ("040904E4"). Empty or
  // nullopt when there is no resource.
  std::vector<platform::VersionTranslation> Translations() const;
  std::optional<std::string> StringValue(const std::string& table, const std::string& key) const;
  // The string-table key of Language and CharacterSet ("040904E4").
  std::string TableKey() const;

  // 0 equal, 1 a is newer, 2 b is newer. Parts split at "."; numeric parts
  // compare as numbers, others byte by byte; a missing part is older.
  static int CompareVersions(const std::string& a, const std::string& b);
  // The overwrite decision of a stored version and date against the file
  // at `dest`: 0 no comparison possible, 1 same, 2 replace, 3 keep.
  static int IsFileNewer(const std::string& storedVersion, const std::string& dest,
                         TOverwriteType mode, TDateTime storedDate);
  // The same between the files `source` and `dest`.
  static int IsFileNewerByName(const std::string& source, const std::string& dest,
                               TOverwriteType mode);

  // The program's shared instance, created on first use and freed by the
  // process-state reset (or FreeShared at shutdown). The decision
  // operations read versions through it, so its FileName ends at the last
  // file they read.
  static TVersionResource& Shared();
  static void FreeShared() noexcept;

 private:
  std::string fileName_;
  TLanguage language_ = lnUSEnglish;
  TCharacterSet characterSet_ = csMultilingual;
  Owned<TVersionInfo> versionInfo_;
  std::unique_ptr<platform::VersionInfoData> data_;
};

// Registers TVersionInfo, TVersionResource and their enumerations.
void RegisterVersionResource(ClassRegistry& registry);
// Registers TOverwriteType, which the archive and the install file publish
// too: each of their registrations calls this. Calling it again is
// harmless (the same entry keeps the same names).
void RegisterOverwriteType(ClassRegistry& registry);
