// The engine file sets' primitives (adding one file as a member of the
// engine group, freeing members), the core with its configuration
// template, resource library and locale files, and the core rule. The
// features built on them are in QDEFileSetFeatures.cpp, the differences
// between engine versions in QDEFileSetVersions.cpp.
#include "dbengine/QDEFileSets.h"

#include <vector>

#include "dbengine/cmp_TInstallQDE.h"
#include "files/cmp_TInstallFile.h"
#include "framework/Exception.h"
#include "framework/StrUtils.h"
#include "install/KitDirectory.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "shell/routines_Registry.h"

namespace {

constexpr const char* kLocaleError =
    "There is no \\Software\\Quenby\\QDLOC32 key in the registry, no entries in this key, or the "
    "LANGPACKDIR entry does not point to a valid directory. Therefore the .QLL files could not be "
    "added";

// `base`, or `base` followed by 1, 2, ...: the first name no other
// component of `owner` has.
std::string FreeComponentName(const TComponent& owner, const std::string& base) {
  if (!owner.FindComponent(base)) return base;
  for (int i = 1;; ++i) {
    std::string name = base + std::to_string(i);
    if (!owner.FindComponent(name)) return name;
  }
}

// A new member file of `group`, named after `baseName`. The group's owner
// owns it, so it is written with the form; a group without owner owns it
// itself so it cannot leak.
Owned<TInstallFile> NewMember(TInstallQDE& group, const std::string& baseName) {
  TComponent* owner = group.Owner() ? group.Owner() : &group;
  Owned<TInstallFile> file(new TInstallFile(owner));
  file->SetName(FreeComponentName(*owner, baseName));
  file->SetNet(true);
  return file;
}

}  // namespace

TQDEFileSet::TQDEFileSet(TInstallQDE* qde) : qde_(qde) {
  if (!qde) throw Exception("Cannot create QDE file set without passing valid InstallQDE");
}

// --- primitives ---------------------------------------------------------------------------

void TQDEFileSet::AddFile(const std::string& path, const TMetaClass& specifier) {
  const std::string dir = ExcludeTrailingBackslash(ExtractFilePath(path));
  const std::string name = ExtractFileName(path);
  if (HasMember(name)) return;
  if (!platform::files().FileExists(path))
    throw IEQDEFileDoesNotExist("Cannot find the file %s to add to the TInstallQDE component.",
                                path);
  Owned<TInstallFile> file = NewMember(*qde_, "QDEFile");
  file->SetIncludeFromDir(dir);
  file->SetFileName(name);  // DestName follows the file name
  try {
    file->SetContainer(qde_);
  } catch (const IEfcDuplicateFile&) {
    return;  // the program has this file already: freed, nothing to add
  }
  file->SetUpdateDLLCounter(true);
  // The type before the destination: a file that asks to register itself
  // was sent to the system directory when its name was set, and the type
  // alone would keep it there.
  file->SetFileType(iftJustADLL);
  file->SetDestDirType(FindByClass(specifier));
  file->SetDestDir("");
  file->SetOverwriteMode(owVersionDate);
  file.release();
}

void TQDEFileSet::RemoveFile(const std::string& name) {
  std::vector<TCustomInstallFile*> doomed;
  for (int i = 0; i < qde_->ObjectCount(); ++i) {
    auto* f = dynamic_cast<TCustomInstallFile*>(qde_->Objects(i));
    if (f && SameText(Trim(f->FileName()), Trim(name))) doomed.push_back(f);
  }
  // Free leaves the container, the owner and the list of install files.
  for (TCustomInstallFile* f : doomed) f->Free();
}

void TQDEFileSet::RemoveFilesWithExtension(const std::string& ext) {
  std::vector<TCustomInstallFile*> doomed;
  for (int i = 0; i < qde_->ObjectCount(); ++i) {
    auto* f = dynamic_cast<TCustomInstallFile*>(qde_->Objects(i));
    if (f && SameText(ExtractFileExt(Trim(f->FileName())), ext)) doomed.push_back(f);
  }
  for (TCustomInstallFile* f : doomed) f->Free();
}

bool TQDEFileSet::HasMember(const std::string& name) const {
  return qde_->FindMember(name) != nullptr;
}

bool TQDEFileSet::HasMembers(std::initializer_list<const char*> names) const {
  for (const char* name : names)
    if (!HasMember(name)) return false;
  return true;
}

void TQDEFileSet::AddEngineFile(const std::string& name) {
  AddFile(InstalledEngineDirectory() + "\\" + name, TpsContainerDestDir::StaticMetaClass());
}

std::string TQDEFileSet::ResourceLibraryName() const {
  return "QDRS" + Trim(qde_->LanguageDLL()) + ".DLL";
}

// --- the core -----------------------------------------------------------------------------

void TQDEFileSet::AddConfigTemplate() {
  if (HasMember(kQDETemplate)) return;
  const auto missing = [] {
    return IEQDEFileDoesNotExist("Cannot find the %s file in the Pellmore directory",
                                 std::string(kQDETemplate));
  };
  std::string kitDir;
  try {
    kitDir = KitDirectory();
  } catch (const IENoPellmorePath& e) {
    throw WithCause(missing(), e.Message());
  }
  if (!platform::files().FileExists(kitDir + "\\" + kQDETemplate)) throw missing();
  Owned<TInstallFile> file = NewMember(*qde_, "QDEConfigFile");
  file->SetIncludeFromDir(kitDir);
  file->SetFileName(kQDETemplate);
  try {
    file->SetContainer(qde_);
  } catch (const IEfcDuplicateFile&) {
    return;
  }
  // Replaced on every installation: the setup library merges the user's
  // settings into it afterwards.
  file->SetOverwriteMode(owAlways);
  file->SetUpdateDLLCounter(false);
  file.release();
}

void TQDEFileSet::AddResourceLibrary() {
  AddEngineFile(ResourceLibraryName());
}

void TQDEFileSet::AddCoreFiles() {
  for (const char* name : {"QDENG32.DLL", "QDLOC32.DLL", "QDDRV32.DLL", "QDBMV32.DLL"})
    AddEngineFile(name);
  AddConfigTemplate();
  AddLocaleFiles();
  AddResourceLibrary();
}

bool TQDEFileSet::HasCore() {
  return HasMembers({kQDETemplate, "QDENG32.DLL", "QDLOC32.DLL", "QDBMV32.DLL", "QDDRV32.DLL"}) &&
         HasMember(ResourceLibraryName());
}

bool TQDEFileSet::CoreInUse() {
  return HasAscii() || HasFolio() || HasTabula() || HasFull() || HasSQLEngine() || HasQBFEngine() ||
         HasODBC();
}

void TQDEFileSet::RemoveCore() {
  RemoveFile("QDENG32.DLL");
  RemoveFile(ResourceLibraryName());
  RemoveFile("QDLOC32.DLL");
  RemoveFile(kQDETemplate);
  RemoveFile("QDDRV32.DLL");
  RemoveFile("QDBMV32.DLL");
  RemoveLocaleFiles();
}

void TQDEFileSet::RemoveCoreIfUnused() {
  if (!CoreInUse()) RemoveCore();
}

// --- locale files ---------------------------------------------------------------------------

void TQDEFileSet::AddLocaleFiles() {
  platform::Registry& reg = platform::registry();
  const auto root = platform::RootKey::LocalMachine;
  if (!reg.KeyExists(root, kQDELocaleKey)) throw IEInstallQDE(kLocaleError);
  const std::vector<std::string> names = reg.ValueNames(root, kQDELocaleKey);
  if (names.empty()) throw IEInstallQDE(kLocaleError);
  for (const std::string& name : names) {
    if (AsciiUpperCase(name).find("LANGPACK") == std::string::npos) continue;
    // "LANGPACKDIR" names a directory, not a file: like any other entry that
    // names no file, it adds nothing.
    try {
      AddFile(ReadRegString(kRootLocalMachine, kQDELocaleKey, name, ""),
              TpsContainerDestDir::StaticMetaClass());
    } catch (const std::exception&) {
      // A language pack that is gone leaves the others.
    }
  }
}

void TQDEFileSet::RemoveLocaleFiles() {
  RemoveFilesWithExtension(".QLL");
}

void TQDE80FileSet::AddLocaleFiles() {
  platform::Registry& reg = platform::registry();
  const auto root = platform::RootKey::LocalMachine;
  std::string dir;
  if (reg.KeyExists(root, kQDELocaleKey)) {
    const auto value = reg.ReadValue(root, kQDELocaleKey, kQDELangPackDir);
    if (value && (value->type == platform::ValueType::String ||
                  value->type == platform::ValueType::ExpandString))
      dir = ExcludeTrailingBackslash(Trim(value->text));
  }
  if (dir.empty() || !platform::files().DirectoryExists(dir)) throw IEInstallQDE(kLocaleError);
  for (const char* name : {"lceast.qlt", "lcwest.qlt", "lcasia.qlt", "lcjpn.qlt", "lcmisc.qlt",
                           "lcus.qlt", "charset.qcv", "qdcvt.dll"}) {
    try {
      AddFile(dir + "\\" + name, TpsContainerDestDir::StaticMetaClass());
    } catch (const std::exception&) {
      // A locale file the engine lacks is left out.
    }
  }
}

void TQDE80FileSet::RemoveLocaleFiles() {
  RemoveFilesWithExtension(".QLT");
  RemoveFile("CHARSET.QCV");
}
