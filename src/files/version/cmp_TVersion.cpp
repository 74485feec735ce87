// TVersionResource: reading through the platform's version service, the
// version comparison and the overwrite decisions.
#include "files/version/cmp_TVersion.h"

#include "framework/ClassRegistry.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"

namespace {

const uint16_t kLanguageIds[] = {
    1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039,
    1040, 1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054,
    1055, 1056, 1057, 2052, 2055, 2057, 2058, 2060, 2064, 2067, 2068, 2070, 2074, 3084, 4108};
static_assert(std::size(kLanguageIds) == TVersionResource::lnSwissFrench + 1);

const uint16_t kCodePages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};
static_assert(std::size(kCodePages) == csArabic + 1);

std::string VersionText(uint32_t ms, uint32_t ls) {
  return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." +
         std::to_string(ls >> 16) + "." + std::to_string(ls & 0xFFFF);
}

std::string FileOSText(uint32_t os) {
  switch (os) {
    case 0x1:
      return "Windows 3.0 or later";
    case 0x2:
      return "16 bit OS/2 Presentation Manager";
    case 0x3:
      return "32 bit OS/2 Presentation Manager";
    case 0x4:
      return "32 bit Windows";
    case 0x10000:
      return "MS-Dos";
    case 0x10001:
      return "Windows 3.0 or later with MS-Dos";
    case 0x10004:
      return "32 bit Windows with MS-Dos";
    case 0x20000:
      return "16 bit OS/2";
    case 0x20002:
      return "16 bit OS/2 with Presentation Manager";
    case 0x30000:
      return "32 bit OS/2";
    case 0x30003:
      return "32 bit OS/2 with Presentation Manager";
    case 0x40000:
      return "Windows NT";
    case 0x40004:
      return "Windows NT with 32 bit Windows";
    default:
      return "Unknown";
  }
}

std::string FileTypeText(uint32_t type) {
  switch (type) {
    case 1:
      return "Application";
    case 2:
      return "Dynamic-Link Library";
    case 3:
      return "Device Driver";
    case 4:
      return "Font";
    case 5:
      return "Virtual Device Driver";
    case 7:
      return "Static-Link Library";
    default:
      return "Unknown";
  }
}

std::string FileSubTypeText(uint32_t type, uint32_t subtype) {
  static const char* const kDrivers[] = {"Printer", "Keyboard",      "Language", "Display",
                                         "Mouse",   "Network",       "System",   "Installable",
                                         "Sound",   "Communications"};
  static const char* const kFonts[] = {"Raster", "Vector", "TrueType"};
  if (type == 3) return subtype >= 1 && subtype <= 10 ? kDrivers[subtype - 1] : "Unknown";
  if (type == 4) return subtype >= 1 && subtype <= 3 ? kFonts[subtype - 1] : "Unknown";
  return {};
}

std::string Hex4(uint16_t v) {
  return IntToHex(v, 4);
}

// The "."-separated parts of a version text.
std::vector<std::string> Parts(const std::string& s) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t dot = s.find('.', start);
    parts.push_back(s.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) return parts;
    start = dot + 1;
  }
}

// The last-write date of an open file as the kit compares dates: local
// time on the DOS two-second grid. nullopt when it has no DOS form.
std::optional<TDateTime> DosDate(platform::File& file) {
  uint32_t dos = 0;
  if (!TryDateTimeToDosDateTime(platform::FileTimeToLocalDateTime(file.LastWriteTime()), dos))
    return std::nullopt;
  TDateTime date = 0;
  if (!TryDosDateTimeToDateTime(dos, date)) return std::nullopt;
  return date;
}

std::optional<TDateTime> OpenAndDate(const std::string& path) {
  try {
    auto file = platform::files().OpenRead(path);
    return DosDate(*file);
  } catch (const platform::OsError&) {
    return std::nullopt;
  }
}

int CompareDates(TDateTime stored, TDateTime dest) {
  if (stored > dest) return 2;
  if (stored == dest) return 1;
  return 3;
}

int VersionDecision(int compare) {
  return compare == 0 ? 1 : (compare == 1 ? 2 : 3);
}

std::string ReadFileVersion(const std::string& path) {
  TVersionResource& shared = TVersionResource::Shared();
  shared.SetFileName(path);
  return shared.VersionInfo()->FileVersion();
}

TVersionResource*& SharedSlot() {
  static TVersionResource* shared = nullptr;
  return shared;
}

}  // namespace

void TVersionInfo::Clear() {
  for (std::string* s :
       {&comment_, &companyName_, &fileDescription_, &fileVersion_, &internalName_,
        &legalCopyright_, &legalTradeMarks_, &originalFileName_, &privateBuild_, &productName_,
        &productVersion_, &specialBuild_, &fileOS_, &fileType_, &fileSubType_})
    s->clear();
}

void TVersionInfo::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TVersionInfo*>(source);
  if (other == nullptr) return TPersistent::Assign(source);
  comment_ = other->comment_;
  companyName_ = other->companyName_;
  fileDescription_ = other->fileDescription_;
  fileVersion_ = other->fileVersion_;
  internalName_ = other->internalName_;
  legalCopyright_ = other->legalCopyright_;
  legalTradeMarks_ = other->legalTradeMarks_;
  originalFileName_ = other->originalFileName_;
  privateBuild_ = other->privateBuild_;
  productName_ = other->productName_;
  productVersion_ = other->productVersion_;
  specialBuild_ = other->specialBuild_;
  fileOS_ = other->fileOS_;
  fileType_ = other->fileType_;
  fileSubType_ = other->fileSubType_;
}

uint16_t TVersionResource::LanguageId(TLanguage language) {
  return language >= 0 && size_t(language) < std::size(kLanguageIds) ? kLanguageIds[language] : 0;
}
uint16_t TVersionResource::CodePage(TCharacterSet characterSet) {
  return characterSet >= 0 && size_t(characterSet) < std::size(kCodePages)
             ? kCodePages[characterSet]
             : 0;
}

TVersionResource::TVersionResource(TComponent* owner)
    : TComponent(owner), versionInfo_(new TVersionInfo) {
  fileName_ = platform::system().ModuleFileName();
  Read();
}

TVersionResource::~TVersionResource() {
  if (SharedSlot() == this) SharedSlot() = nullptr;
}

void TVersionResource::SetFileName(const std::string& fileName) {
  fileName_ = fileName;
  Read();
}

void TVersionResource::SetLanguage(TLanguage language) {
  language_ = language;
  Read();
}

void TVersionResource::SetCharacterSet(TCharacterSet characterSet) {
  characterSet_ = characterSet;
  Read();
}

bool TVersionResource::FileNameStored() const {
  return !SameText(fileName_, platform::system().ModuleFileName());
}

std::string TVersionResource::TableKey() const {
  return Hex4(LanguageId(language_)) + Hex4(CodePage(characterSet_));
}

void TVersionResource::Read() {
  TVersionInfo& info = *versionInfo_;
  info.Clear();
  data_ = platform::versions().Load(fileName_);
  if (!data_) return;
  const auto fixed = data_->Fixed();
  if (!fixed) return;
  info.SetFileVersion(VersionText(fixed->fileVersionMS, fixed->fileVersionLS));
  info.SetProductVersion(VersionText(fixed->productVersionMS, fixed->productVersionLS));
  info.SetFileOS(FileOSText(fixed->fileOS));
  info.SetFileType(FileTypeText(fixed->fileType));
  info.SetFileSubType(FileSubTypeText(fixed->fileType, fixed->fileSubtype));

  struct Key {
    const char* name;
    void (TVersionInfo::*set)(const std::string&);
  };
  static const Key kKeys[] = {{"Comments", &TVersionInfo::SetComment},
                              {"CompanyName", &TVersionInfo::SetCompanyName},
                              {"FileDescription", &TVersionInfo::SetFileDescription},
                              {"InternalName", &TVersionInfo::SetInternalName},
                              {"LegalCopyright", &TVersionInfo::SetLegalCopyright},
                              {"LegalTradeMarks", &TVersionInfo::SetLegalTradeMarks},
                              {"OriginalFileName", &TVersionInfo::SetOriginalFileName},
                              {"PrivateBuild", &TVersionInfo::SetPrivateBuild},
                              {"ProductName", &TVersionInfo::SetProductName},
                              {"ProductVersion", &TVersionInfo::SetProductVersion},
                              {"SpecialBuild", &TVersionInfo::SetSpecialBuild}};
  const std::string table = TableKey();
  for (const Key& key : kKeys)
    if (auto value = data_->StringValue(table, key.name)) (info.*key.set)(*value);
}

std::vector<platform::VersionTranslation> TVersionResource::Translations() const {
  return data_ ? data_->Translations() : std::vector<platform::VersionTranslation>{};
}

std::optional<std::string> TVersionResource::StringValue(const std::string& table,
                                                         const std::string& key) const {
  if (!data_) return std::nullopt;
  return data_->StringValue(table, key);
}

int TVersionResource::CompareVersions(const std::string& a, const std::string& b) {
  const std::vector<std::string> partsA = Parts(a), partsB = Parts(b);
  for (size_t k = 0;; ++k) {
    const std::string pa = k < partsA.size() ? partsA[k] : std::string();
    const std::string pb = k < partsB.size() ? partsB[k] : std::string();
    if (pa.empty() || pb.empty()) {
      if (pa.empty() && pb.empty()) return 0;
      return pa.empty() ? 2 : 1;
    }
    int32_t na = 0, nb = 0;
    if (TryStrToInt(pa, na) && TryStrToInt(pb, nb)) {
      if (nb > na) return 2;
      if (na > nb) return 1;
    } else {
      const int c = pa.compare(pb);  // ordinal, byte by byte
      if (c < 0) return 2;
      if (c > 0) return 1;
    }
  }
}

int TVersionResource::IsFileNewer(const std::string& storedVersion, const std::string& dest,
                                  TOverwriteType mode, TDateTime storedDate) {
  switch (mode) {
    case owAlways:
      return 2;
    case owNever:
      return !Trim(dest).empty() && platform::files().FileExists(dest) ? 3 : 2;
    case owVersion:
      return VersionDecision(CompareVersions(storedVersion, ReadFileVersion(dest)));
    case owDate: {
      const auto date = OpenAndDate(dest);
      return date ? CompareDates(storedDate, *date) : 0;
    }
    case owVersionDate: {
      const int c = CompareVersions(storedVersion, ReadFileVersion(dest));
      if (c != 0) return VersionDecision(c);
      const auto date = OpenAndDate(dest);
      return date ? CompareDates(storedDate, *date) : 0;
    }
  }
  return 0;
}

int TVersionResource::IsFileNewerByName(const std::string& source, const std::string& dest,
                                        TOverwriteType mode) {
  // Both dates, source first; a file that cannot be opened (or has no DOS
  // date) makes the comparison impossible.
  auto dates = [&]() -> int {
    const auto s = OpenAndDate(source);
    if (!s) return 0;
    const auto d = OpenAndDate(dest);
    if (!d) return 0;
    return CompareDates(*s, *d);
  };
  switch (mode) {
    case owAlways:
      return 2;
    case owNever:
      return !Trim(dest).empty() && platform::files().FileExists(dest) ? 3 : 2;
    case owVersion: {
      const std::string v = ReadFileVersion(source);
      return VersionDecision(CompareVersions(v, ReadFileVersion(dest)));
    }
    case owDate:
      return dates();
    case owVersionDate: {
      const std::string v = ReadFileVersion(source);
      const int c = CompareVersions(v, ReadFileVersion(dest));
      return c != 0 ? VersionDecision(c) : dates();
    }
  }
  return 0;
}

TVersionResource& TVersionResource::Shared() {
  TVersionResource*& shared = SharedSlot();
  if (shared == nullptr) {
    shared = new TVersionResource(nullptr);
    ProcessState::RegisterReset("TVersionResource.Shared", [] { FreeShared(); });
  }
  return *shared;
}

void TVersionResource::FreeShared() noexcept {
  TVersionResource* shared = SharedSlot();
  SharedSlot() = nullptr;
  if (shared) shared->Free();
}

void RegisterOverwriteType(ClassRegistry& r) {
  r.Enum<TOverwriteType>("TOverwriteType",
                         {"owAlways", "owNever", "owVersion", "owDate", "owVersionDate"});
}

void RegisterVersionResource(ClassRegistry& r) {
  r.Enum<TVersionResource::TLanguage>("TLanguage", {"lnArabic",
                                                    "lnBulgarian",
                                                    "lnCatalan",
                                                    "lnTraditionalChinese",
                                                    "lnCzech",
                                                    "lnDanish",
                                                    "lnGerman",
                                                    "lnGreek",
                                                    "lnUSEnglish",
                                                    "lnCastilianSpanish",
                                                    "lnFinnish",
                                                    "lnFrench",
                                                    "lnHebrew",
                                                    "lnHungarian",
                                                    "lnIcelandic",
                                                    "lnItalian",
                                                    "lnJapanese",
                                                    "lnKorean",
                                                    "lnDutch",
                                                    "lnNorwegianBokmal",
                                                    "lnPolish",
                                                    "lnBrazilianPortuguese",
                                                    "lnRhaetoRomanic",
                                                    "lnRomanian",
                                                    "lnRussian",
                                                    "lnCroatoSerbian",
                                                    "lnSlovak",
                                                    "lnAlbanian",
                                                    "lnSwedish",
                                                    "lnThai",
                                                    "lnTurkish",
                                                    "lnUrdu",
                                                    "lnBahasa",
                                                    "lnSimplifiedChinese",
                                                    "lnSwissGerman",
                                                    "lnUKEnglish",
                                                    "lnMexicanSpanish",
                                                    "lnBelgianFrench",
                                                    "lnSwissItalian",
                                                    "lnBelgianDutch",
                                                    "lnNorwegianNynorsk",
                                                    "lnPortuguese",
                                                    "lnSerboCroatian",
                                                    "lnCanadianFrench",
                                                    "lnSwissFrench"});
  r.Enum<TCharacterSet>("TCharacterSet", {"csASCII", "csJapan", "csKorea", "csTaiwan", "csUnicode",
                                          "csLatin2", "csCyrillic", "csMultilingual", "csGreek",
                                          "csTurkish", "csHebrew", "csArabic"});
  r.Class<TVersionInfo, TPersistent>("TVersionInfo")
      .Prop("Comment", &TVersionInfo::Comment, &TVersionInfo::SetComment)
      .Prop("CompanyName", &TVersionInfo::CompanyName, &TVersionInfo::SetCompanyName)
      .Prop("FileDescription", &TVersionInfo::FileDescription, &TVersionInfo::SetFileDescription)
      .Prop("FileVersion", &TVersionInfo::FileVersion, &TVersionInfo::SetFileVersion)
      .Prop("InternalName", &TVersionInfo::InternalName, &TVersionInfo::SetInternalName)
      .Prop("LegalCopyright", &TVersionInfo::LegalCopyright, &TVersionInfo::SetLegalCopyright)
      .Prop("LegalTradeMarks", &TVersionInfo::LegalTradeMarks, &TVersionInfo::SetLegalTradeMarks)
      .Prop("OriginalFileName", &TVersionInfo::OriginalFileName, &TVersionInfo::SetOriginalFileName)
      .Prop("PrivateBuild", &TVersionInfo::PrivateBuild, &TVersionInfo::SetPrivateBuild)
      .Prop("ProductName", &TVersionInfo::ProductName, &TVersionInfo::SetProductName)
      .Prop("ProductVersion", &TVersionInfo::ProductVersion, &TVersionInfo::SetProductVersion)
      .Prop("SpecialBuild", &TVersionInfo::SpecialBuild, &TVersionInfo::SetSpecialBuild)
      .Prop("FileOS", &TVersionInfo::FileOS, &TVersionInfo::SetFileOS)
      .Prop("FileType", &TVersionInfo::FileType, &TVersionInfo::SetFileType)
      .Prop("FileSubType", &TVersionInfo::FileSubType, &TVersionInfo::SetFileSubType);
  r.Class<TVersionResource, TComponent>("TVersionResource")
      .Prop("FileName", &TVersionResource::FileName, &TVersionResource::SetFileName)
      .Stored(&TVersionResource::FileNameStored)
      .Prop("Language", &TVersionResource::Language, &TVersionResource::SetLanguage,
            TVersionResource::lnUSEnglish)
      .Prop("CharacterSet", &TVersionResource::CharacterSet, &TVersionResource::SetCharacterSet,
            csMultilingual)
      .Prop("VersionInfo", &TVersionResource::VersionInfo)
      .Stored(false);
}
