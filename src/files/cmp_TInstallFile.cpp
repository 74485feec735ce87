// TCustomInstallFile (see cmp_TInstallFile.h): construction, the unique id,
// the property rules that keep a file's type, destination and overwrite
// mode consistent, reading the stored information, and registration. The
// three jobs are in InstallFileJobs.cpp.
#include "files/cmp_TInstallFile.h"

#include "archive/cmp_TVrexCompress.h"
#include "files/KeptArchive.h"
#include "framework/ClassRegistry.h"
#include "framework/StrUtils.h"
#include "install/InstallLists.h"
#include "install/RetryList.h"
#include "install/cmp_TInstall.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {

enum : unsigned {
  kChContainer = 1,
  kChDestName = 2,
  kChFileName = 4,
  kChIncludeFromDir = 8,
  kChDestDir = 16,
  kChDestDirType = 32,
  kChFileType = 64,
  kChActiveX = 128,
};

std::string UpperExt(const std::string& name) {
  return AsciiUpperCase(ExtractFileExt(name));
}

bool IsProgramExt(const std::string& ext) {
  return ext == ".DLL" || ext == ".OCX" || ext == ".QLL" || ext == ".EXE";
}

// Whether the version resource of `path` carries "OLESelfRegister" in the
// string table of its first translation; any failure reads as no.
bool SelfRegisterOf(const std::string& path) {
  try {
    TVersionResource& vr = TVersionResource::Shared();
    vr.SetFileName(path);
    const auto translations = vr.Translations();
    if (translations.empty()) return false;
    const std::string key =
        IntToHex(translations[0].language, 4) + IntToHex(translations[0].codePage, 4);
    return vr.StringValue(key, "OLESelfRegister").has_value();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

struct TCustomInstallFile::Values {
  std::string fileName, includeFromDir, destName, destDir;
  TCustomPathSpecifier* destDirType = nullptr;
  TInstallFileType fileType = iftNormal;
  bool activeX = false;
  TOverwriteType overwriteMode = owAlways;
  bool updateDLLCounter = false;
  bool registerAsHelp = false;
};

// --- construction -------------------------------------------------------------------

TCustomInstallFile::TCustomInstallFile(TComponent* owner) : TFileRelated(owner) {
  SetNet(false);
  uniqueID_ = UniqueIdTable().Allocate();
  CustomInstallFileList().Add(this);
}

TCustomInstallFile::TCustomInstallFile(TComponent* owner, const std::string& sourcePath)
    : TCustomInstallFile(owner) {
  ApplyPathSplit(sourcePath);
}

TCustomInstallFile::TCustomInstallFile(TComponent* owner, TInstallContainer* container,
                                       const std::string& sourcePath)
    : TCustomInstallFile(owner) {
  ApplyPathSplit(sourcePath);
  SetContainer(container);
}

TCustomInstallFile::~TCustomInstallFile() {
  UniqueIdTable().Release(uniqueID_);
  CustomInstallFileList().Remove(this);
  RemoveFromRetryList(this);
}

void TCustomInstallFile::ApplyPathSplit(const std::string& sourcePath) {
  Values v = Current();
  v.includeFromDir = ExcludeTrailingBackslash(ExtractFilePath(sourcePath));
  v.fileName = ExtractFileName(sourcePath);
  Apply(v, kChFileName | kChIncludeFromDir);
}

void TCustomInstallFile::Loaded() {
  TFileRelated::Loaded();
  UniqueIdTable().ClearOnceForLoading();
  UniqueIdTable().Mark(uniqueID_);
}

void TCustomInstallFile::SetUniqueID(int value) {
  if (value < 0 || value >= TUniqueIdTable::kCount)
    throw IECustomInstallFile("%s has the UniqueID %d, outside 0 to 1999", Name(), value);
  uniqueID_ = value;
}

void TCustomInstallFile::UserAbortStep() {
  throw EPLUserAbort(TranslateExceptionText("Aborted by user"));
}

void TCustomInstallFile::ClearBuildMarkers() noexcept {
  storage_ = 0;
  storageArchive_.clear();
  netPacked_ = false;
}

bool TCustomInstallFile::PackedFileListRecord(FileListRecord& record) const {
  if (!Packed()) return false;
  record.size = static_cast<uint32_t>(storedSize_);
  record.date = storedDate_;
  record.name = Name();
  record.version = storedVersion_;
  return true;
}

TFileInfoRecord TCustomInstallFile::InfoRecord() const {
  TFileInfoRecord r;
  r.Size = static_cast<uint32_t>(storedSize_);
  r.Date = storedDate_;
  r.Name = Name();
  r.Version = storedVersion_;
  return r;
}

std::string TCustomInstallFile::DestinationPath() {
  return ResolveDestDir() + "\\" + destName_;
}

void TCustomInstallFile::SetStoredInfo(int64_t size, int64_t compressedSize, TDateTime date,
                                       const std::string& version) {
  storedSize_ = size;
  storedCompressedSize_ = compressedSize;
  storedDate_ = date;
  storedVersion_ = CutUtf8(version, 20);
  SetInformationRead(true);
}

// --- the property rules ---------------------------------------------------------------

TCustomInstallFile::Values TCustomInstallFile::Current() const {
  Values v;
  v.fileName = fileName_;
  v.includeFromDir = includeFromDir_;
  v.destName = destName_;
  v.destDir = TInstallObject::DestDir();
  v.destDirType = TInstallObject::DestDirType();
  v.fileType = fileType_;
  v.activeX = activeX_;
  v.overwriteMode = overwriteMode_;
  v.updateDLLCounter = updateDLLCounter_;
  v.registerAsHelp = registerAsHelp_;
  return v;
}

// Works out every consequence on `v` first and assigns only when all checks
// passed, so a refused change leaves the file as it was.
void TCustomInstallFile::Apply(Values v, unsigned changed) {
  TInstallContainer* container = Container();
  if ((changed & (kChContainer | kChFileName | kChIncludeFromDir)) && container &&
      !Trim(v.fileName).empty()) {
    const std::string path = v.includeFromDir + "\\" + v.fileName;
    TFileRelated* found = static_cast<TFileContainer*>(container)->FindFile(path);
    if (found && found != this)
      throw IEfcDuplicateFile("There is already a file with the name :%s", path);
  }
  if ((changed & kChFileName) && v.fileName != fileName_ && !Trim(v.fileName).empty())
    v.destName = v.fileName;
  const std::string ext = UpperExt(v.fileName);
  if ((changed & (kChFileName | kChIncludeFromDir)) &&
      (v.fileName != fileName_ || v.includeFromDir != includeFromDir_)) {
    v.registerAsHelp = ext == ".HLP" || ext == ".CNT";
    v.activeX = ext == ".OCX" || SelfRegisterOf(v.includeFromDir + "\\" + v.fileName);
  }
  if (v.activeX && !activeX_) v.fileType = iftSystemWideDLL;
  if ((changed & kChDestDirType) && v.destDirType != TInstallObject::DestDirType() &&
      IsProgramExt(ext) && v.destDirType) {
    if (v.destDirType->Is<TpsWindow>() || v.destDirType->Is<TpsQDEDLL>())
      v.overwriteMode = owVersionDate;
    else if (v.destDirType->Is<TpsSystem>())
      v.fileType = iftSystemWideDLL;
  }
  if (v.fileType != fileType_) {
    if (v.fileType != iftNormal) v.overwriteMode = owVersionDate;
    if (v.fileType == iftVendorSharedDLL || v.fileType == iftSystemWideDLL)
      v.updateDLLCounter = true;
  }
  switch (v.fileType) {
    case iftApplicationSpecificDLL:
      v.destDirType = FindByClass<TpsMainInstall>();
      v.destDir = "\\System";
      break;
    case iftVendorSharedDLL:
      v.destDirType = FindByClass<TpsCommonFiles>();
      v.destDir = "\\System";
      break;
    case iftSystemWideDLL:
      v.destDirType = FindByClass<TpsSystem>();
      v.destDir.clear();
      break;
    default:
      break;
  }
  if (v.destDirType && v.destDirType != TInstallObject::DestDirType())
    v.destDirType->CheckUsage(this);

  // Everything checked: assign.
  fileName_ = std::move(v.fileName);
  includeFromDir_ = std::move(v.includeFromDir);
  destName_ = std::move(v.destName);
  if (v.destDirType != TInstallObject::DestDirType()) TInstallObject::SetDestDirType(v.destDirType);
  TInstallObject::SetDestDir(v.destDir);
  fileType_ = v.fileType;
  activeX_ = v.activeX;
  overwriteMode_ = v.overwriteMode;
  updateDLLCounter_ = v.updateDLLCounter;
  registerAsHelp_ = v.registerAsHelp;
}

void TCustomInstallFile::SetContainer(TInstallContainer* value) {
  if (InState(csLoading) || value == Container()) {
    TInstallObject::SetContainer(value);
    return;
  }
  if (value && !value->Is<TFileContainer>())
    throw IECustomInstallFile(
        "The following TInstallFile component %s requires the Container property to be a "
        "component descended from the TFileContainer component",
        Name());
  if (value && !Trim(fileName_).empty()) {
    TFileRelated* found = static_cast<TFileContainer*>(value)->FindFile(SourcePath());
    if (found && found != this)
      throw IEfcDuplicateFile("There is already a file with the name :%s", SourcePath());
  }
  TInstallObject::SetContainer(value);
  // The move reset the destination to the container's; the file's type may
  // claim its own directory again.
  Apply(Current(), 0);
}

void TCustomInstallFile::SetDestName(const std::string& value) {
  if (InState(csLoading)) {
    destName_ = value;
    return;
  }
  Values v = Current();
  v.destName = value;
  Apply(v, kChDestName);
}

void TCustomInstallFile::SetFileName(const std::string& value) {
  if (InState(csLoading)) {
    fileName_ = value;
    return;
  }
  Values v = Current();
  v.fileName = value;
  Apply(v, kChFileName);
}

void TCustomInstallFile::SetIncludeFromDir(const std::string& value) {
  if (InState(csLoading)) {
    includeFromDir_ = value;
    return;
  }
  Values v = Current();
  v.includeFromDir = value;
  Apply(v, kChIncludeFromDir);
}

void TCustomInstallFile::SetFileType(TInstallFileType value) {
  if (InState(csLoading)) {
    fileType_ = value;
    return;
  }
  Values v = Current();
  v.fileType = value;
  Apply(v, kChFileType);
}

void TCustomInstallFile::SetActiveX(bool value) {
  if (InState(csLoading)) {
    activeX_ = value;
    return;
  }
  Values v = Current();
  v.activeX = value;
  Apply(v, kChActiveX);
}

void TCustomInstallFile::SetDestDir(const std::string& value) {
  if (InState(csLoading)) {
    TInstallObject::SetDestDir(value);
    return;
  }
  Values v = Current();
  v.destDir = value;
  Apply(v, kChDestDir);
}

void TCustomInstallFile::SetDestDirType(TCustomPathSpecifier* value) {
  if (InState(csLoading)) {
    TInstallObject::SetDestDirType(value);
    return;
  }
  if (value) value->CheckUsage(this);
  Values v = Current();
  v.destDirType = value;
  Apply(v, kChDestDirType);
}

bool TCustomInstallFile::HasSelfRegister() {
  return SelfRegisterOf(SourcePath());
}

// --- stored information -------------------------------------------------------------

void TCustomInstallFile::ReadInfoFromSource() {
  const std::string path = SourcePath();
  try {
    auto file = platform::files().OpenRead(path);
    storedSize_ = static_cast<int64_t>(file->Size());
    storedDate_ = platform::FileTimeToLocalDateTime(file->LastWriteTime());
  } catch (const platform::OsError&) {
    throw IECustomInstallFile(
        "Could not open or find the following file when trying to read the Size, Date, and "
        "Version :%s",
        path);
  }
  TVersionResource& vr = TVersionResource::Shared();
  vr.SetFileName(path);
  storedVersion_ = CutUtf8(vr.VersionInfo()->FileVersion(), 20);
}

bool TCustomInstallFile::ArchiveFromNet() const {
  TCustomInstall* installer = Installer();
  const TDistributeType type = installer ? installer->DistributeType() : dtTraditionalNet;
  return type == dtWeb || (type == dtTraditionalNet && Net());
}

void TCustomInstallFile::TakeListedInformation(int64_t size, TDateTime date,
                                               const std::string& version) {
  storedSize_ = size;
  storedDate_ = date;
  storedVersion_ = CutUtf8(version, 20);
  SetInformationRead(true);
}

void TCustomInstallFile::ReadInfoFromArchive() {
  TCustomInstall* installer = Installer();
  if (InformationRead() && installer && installer->Running()) return;
  const std::string archivePath = ArchiveFromNet() ? LocalNetArchive() : ResolveArchiveFile();
  if (Trim(archivePath).empty()) throw IECustomInstallFile(kMsgArchiveBlank, fileName_);

  Owned<TVrexCompress> privateArchive;
  TVrexCompress* archive = nullptr;
  if (installer && SameText(archivePath, installer->ResolveArchiveFile())) {
    archive = &TVrexCompress::Shared();
  } else if (!ArchiveFromNet()) {
    archive = &KeptArchive(archivePath);
  } else {
    privateArchive.reset(new TVrexCompress(nullptr));
    archive = privateArchive.get();
  }
  archive->SetCompressedFile(archivePath);
  const int index = archive->IndexOfUniqueID(uniqueID_);
  // An id no member carries reads member 0; an archive without members has
  // none to read, and the user learns that the file is not in it.
  if (archive->FileCount() == 0)
    throw EArchiveError(
        Format("The file <%s> was not found in the archive <%s>", SourcePath(), archivePath),
        "the archive holds no members");
  const TFileHeader& h = archive->Directory().GetFileHeaders(index);
  storedCompressedSize_ = h.CompressedSize();
  storedDate_ = h.Date();
  storedSize_ = h.Size();
  storedVersion_ = CutUtf8(h.Version(), 20);
  SetInformationRead(true);
}

// --- registration -------------------------------------------------------------------------

void RegisterInstallFile(ClassRegistry& r) {
  RegisterOverwriteType(r);
  RegisterLzhCommand(r);
  r.Enum<TInstallFileType>("TInstallFileType",
                           {"iftNormal", "iftJustADLL", "iftApplicationSpecificDLL",
                            "iftVendorSharedDLL", "iftSystemWideDLL"});
  r.Class<TCustomInstallFile, TFileRelated>("TCustomInstallFile");
  auto b = r.Class<TInstallFile, TCustomInstallFile>("TInstallFile");
  using C = TInstallFile;
  b.Prop("ArchiveFile", &C::ArchiveFile, &C::SetArchiveFile)
      .Prop("ArchiveFileType", &C::ArchiveFileType, &C::SetArchiveFileType)
      .Prop("AddToArchive", &C::AddToArchive, &C::SetAddToArchive, lzcOverwrite)
      .Prop("Container", &C::Container, &C::SetContainer)
      .Prop("DestDir", &C::DestDir, &C::SetDestDir, "")
      .Prop("DestDirType", &C::DestDirType, &C::SetDestDirType)
      .Prop("Include", &C::Include, &C::SetInclude, true)
      .Prop("InstallTypes", &C::InstallTypes, &C::SetInstallTypes, TInstallTypeSet{itAlways})
      .Prop("Net", &C::Net, &C::SetNet, false)
      .Prop("NetLocation", &C::NetLocation, &C::SetNetLocation)
      .Prop("Order", &C::Order, &C::SetOrder, -1)
      .Prop("ActiveX", &C::ActiveX, &C::SetActiveX, false)
      .Prop("DestName", &C::DestName, &C::SetDestName, "")
      .Prop("FileName", &C::FileName, &C::SetFileName, "")
      .Prop("FileType", &C::FileType, &C::SetFileType, iftNormal)
      .Prop("IncludeFromDir", &C::IncludeFromDir, &C::SetIncludeFromDir, "")
      .Prop("OverwriteMode", &C::OverwriteMode, &C::SetOverwriteMode, owAlways)
      .Prop("RegisterAsHelp", &C::RegisterAsHelp, &C::SetRegisterAsHelp, false)
      .Prop("RunAfterInstall", &C::RunAfterInstall, &C::SetRunAfterInstall, false)
      .Prop("UpdateDLLCounter", &C::UpdateDLLCounter, &C::SetUpdateDLLCounter, false)
      .Prop("OnAfterCompress", &C::OnAfterCompress, &C::SetOnAfterCompress)
      .Prop("OnAfterCopy", &C::OnAfterCopy, &C::SetOnAfterCopy)
      .Prop("OnAfterInstall", &C::OnAfterInstall, &C::SetOnAfterInstall)
      .Prop("OnBeforeCompress", &C::OnBeforeCompress, &C::SetOnBeforeCompress)
      .Prop("OnBeforeCopy", &C::OnBeforeCopy, &C::SetOnBeforeCopy)
      .Prop("OnBeforeInstall", &C::OnBeforeInstall, &C::SetOnBeforeInstall)
      .Prop("OnReplacing", &C::OnReplacing, &C::SetOnReplacing)
      .Prop("OnStatus", &C::OnStatus, &C::SetOnStatus)
      .Prop("OnNewDisk", &C::OnNewDisk, &C::SetOnNewDisk)
      // Not published, but kept in the form: links the file to its member.
      .Prop("UniqueID", &C::UniqueID, &C::SetUniqueID);
}
