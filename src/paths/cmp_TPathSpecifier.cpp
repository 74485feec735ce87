// The path specifier components: the base with its OnGetPath event, the 14
// standard kinds with their usage checks, the two process-wide lists and
// the helpers that find a specifier by class or create the standard set.
#include "paths/cmp_TPathSpecifier.h"

#include <algorithm>

#include "framework/ClassRegistry.h"
#include "framework/Format.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "install/InstallErrors.h"
#include "install/cmp_TInstall.h"
#include "paths/routines_ExpandPaths.h"
#include "shell/routines_API.h"
#include "shell/routines_Registry.h"
#include "shell/routines_Strings.h"

namespace {

struct Lists {
  TPathSpecifierList all;
  TPathSpecifierList standard;
};

Lists& State() {
  static Lists lists;
  static bool registered = false;
  if (!registered) {
    registered = true;
    // Members leave on destruction; a reset only forgets what a test left.
    ProcessState::RegisterReset("paths.Specifiers", [] {
      State().all.Clear();
      State().standard.Clear();
    });
  }
  return lists;
}

std::string NameOf(const TComponent* c) {
  return c ? c->Name() : std::string();
}

// `left` + "\" + `right`, the backslash only when `left` lacks one.
std::string JoinPath(const std::string& left, std::string_view right) {
  std::string out = left;
  if (out.empty() || out.back() != '\\') out += '\\';
  out += right;
  return out;
}

// The checks shared by the kinds that serve only install objects with a
// container; returns that container.
TInstallContainer* RequireContainer(const TCustomPathSpecifier& specifier, TComponent* component,
                                    const char* missingContainer) {
  auto* object = dynamic_cast<TInstallObject*>(component);
  if (!object)
    throw IEPathSpecifier("%s must be a %s to use the %s path specifier", NameOf(component),
                          "TInstallObject", specifier.StandardName());
  if (!object->Container()) throw IEPathSpecifier(missingContainer, NameOf(component));
  return object->Container();
}

TCustomInstall& RequireInstaller(TComponent* component) {
  TCustomInstall* install = Installer();
  if (!install)
    throw IEPathSpecifier(
        "There is no TInstall component so the path specifier could not be expanded for %s",
        NameOf(component));
  return *install;
}

}  // namespace

// --- lists ---------------------------------------------------------------------

void TPathSpecifierList::Add(TCustomPathSpecifier* specifier) {
  if (!specifier) throw IEPathSpecifierList("Tried to add a nil object to the path specifier list");
  items_.push_back(specifier);
}

void TPathSpecifierList::Remove(const TCustomPathSpecifier* specifier) noexcept {
  auto it = std::find(items_.begin(), items_.end(), specifier);
  if (it != items_.end()) items_.erase(it);
}

TCustomPathSpecifier* TPathSpecifierList::Find(const TMetaClass& cls) const noexcept {
  for (TCustomPathSpecifier* s : items_)
    if (s->InheritsFrom(cls)) return s;
  return nullptr;
}

TCustomPathSpecifier* TPathSpecifierList::FindByClass(const TMetaClass& cls) const {
  TCustomPathSpecifier* s = Find(cls);
  if (!s) throw IEPathSpecifier("Could not find the path specifier");
  return s;
}

TPathSpecifierList& PathSpecifierList() {
  return State().all;
}
TPathSpecifierList& StandardPathSpecifierList() {
  return State().standard;
}

TCustomPathSpecifier* FindByClass(const TMetaClass& cls) {
  return StandardPathSpecifierList().FindByClass(cls);
}

// --- base classes ----------------------------------------------------------------

TCustomPathSpecifier::TCustomPathSpecifier(TComponent* owner) : TComponent(owner) {
  PathSpecifierList().Add(this);
}

TCustomPathSpecifier::~TCustomPathSpecifier() {
  PathSpecifierList().Remove(this);
}

void TCustomPathSpecifier::CheckUsage(TComponent* /*component*/) const {}

std::string TCustomPathSpecifier::Description() const {
  return "Unspecified";
}

std::string TCustomPathSpecifier::DescriptionFor(TComponent* /*component*/) const {
  return Description();
}

std::string TCustomPathSpecifier::GetPath(TComponent* component) const {
  std::string path;
  if (onGetPath_) onGetPath_(component, path);
  return path;
}

TStandardPathSpecifier::TStandardPathSpecifier(TComponent* owner) : TCustomPathSpecifier(owner) {
  StandardPathSpecifierList().Add(this);
}

TStandardPathSpecifier::~TStandardPathSpecifier() {
  StandardPathSpecifierList().Remove(this);
}

// --- the standard kinds -----------------------------------------------------------

#define PELLMORE_SPECIFIER_CTOR(Self)                                    \
  Self::Self(TComponent* owner) : TStandardPathSpecifier(owner) {        \
    SetStandardName(std::string(#Self).substr(1)); /* "TpsX" -> "psX" */ \
  }

PELLMORE_SPECIFIER_CTOR(TpsQDEDLL)
PELLMORE_SPECIFIER_CTOR(TpsCommonFiles)
PELLMORE_SPECIFIER_CTOR(TpsContainerArchiveFile)
PELLMORE_SPECIFIER_CTOR(TpsContainerDestDir)
PELLMORE_SPECIFIER_CTOR(TpsDesktopMenu)
PELLMORE_SPECIFIER_CTOR(TpsInstallSource)
PELLMORE_SPECIFIER_CTOR(TpsMainInstall)
PELLMORE_SPECIFIER_CTOR(TpsProgramFiles)
PELLMORE_SPECIFIER_CTOR(TpsProgramMenu)
PELLMORE_SPECIFIER_CTOR(TpsStartMenu)
PELLMORE_SPECIFIER_CTOR(TpsStartupMenu)
PELLMORE_SPECIFIER_CTOR(TpsSystem)
PELLMORE_SPECIFIER_CTOR(TpsMainArchiveFile)
PELLMORE_SPECIFIER_CTOR(TpsWindow)
#undef PELLMORE_SPECIFIER_CTOR

std::string TpsQDEDLL::Description() const {
  return "Quenby Database Engine DLL Path";
}

std::string TpsQDEDLL::GetPath(TComponent* /*component*/) const {
  // The engine records every directory it lives in; the first is its own.
  std::string first = GetField(
      ReadRegString(kRootLocalMachine, "\\Software\\Quenby\\Database Engine", "EnginePath", ""), 1,
      ';');
  // An empty first entry names no directory; it would send the engine's
  // files to the root of the current drive.
  if (first.empty()) return JoinPath(ProgramFilesPath(), "Quenby\\Common Files\\QDE");
  return first;
}

std::string TpsCommonFiles::Description() const {
  return "Path of the common files directory under the program files directory";
}
std::string TpsCommonFiles::GetPath(TComponent*) const {
  return RemoveBackslash(CommonFilesPath());
}

void TpsContainerArchiveFile::CheckUsage(TComponent* component) const {
  TInstallContainer* container = RequireContainer(
      *this, component, "Cannot use ddContainerArchiveFile for %s unless you assign a Container");
  if (!container->Is<TFileRelated>())
    throw IEPathSpecifier(
        "Cannot use the ddContainerArchiveFile path specifier for %s because the Container is not "
        "a TFileRelated descendant",
        NameOf(component));
}
std::string TpsContainerArchiveFile::Description() const {
  return "Path to the archive file of the container";
}
std::string TpsContainerArchiveFile::GetPath(TComponent* component) const {
  CheckUsage(component);
  auto* container =
      static_cast<TFileRelated*>(static_cast<TInstallObject*>(component)->Container());
  return RemoveBackslash(container->ResolveArchiveFile());
}

void TpsContainerDestDir::CheckUsage(TComponent* component) const {
  RequireContainer(*this, component,
                   "Cannot use ddContainerDestDir for %s unless you assign a Container");
}
std::string TpsContainerDestDir::Description() const {
  return "Path of the group (container)";
}
std::string TpsContainerDestDir::DescriptionFor(TComponent* component) const {
  TInstallContainer* container = nullptr;
  try {
    CheckUsage(component);
    container = static_cast<TInstallObject*>(component)->Container();
  } catch (const IEPathSpecifier&) {
    return Description();
  }
  auto* group = dynamic_cast<TFileContainer*>(container);
  return Format("Path of the <%s> group", group ? group->GroupName() : container->Name());
}
std::string TpsContainerDestDir::GetPath(TComponent* component) const {
  CheckUsage(component);
  return RemoveBackslash(static_cast<TInstallObject*>(component)->Container()->ResolveDestDir());
}

std::string TpsDesktopMenu::Description() const {
  return "Path of the Desktop";
}
std::string TpsDesktopMenu::GetPath(TComponent*) const {
  return RemoveBackslash(DesktopDir());
}

void TpsInstallSource::CheckUsage(TComponent* component) const {
  RequireInstaller(component);
}
std::string TpsInstallSource::Description() const {
  return "Path from which the user ran the install";
}
std::string TpsInstallSource::GetPath(TComponent* component) const {
  CheckUsage(component);
  return RemoveBackslash(Installer()->SourceDirectory());
}

void TpsMainInstall::CheckUsage(TComponent* component) const {
  TCustomInstall& install = RequireInstaller(component);
  if (component == &install)
    throw IEPathSpecifier(
        "Cannot use the ddMainInstallDir path specifier for a TInstall component");
}
std::string TpsMainInstall::Description() const {
  return "Path of the destination directory of the TInstall";
}
std::string TpsMainInstall::GetPath(TComponent* component) const {
  CheckUsage(component);
  return RemoveBackslash(Installer()->ResolveDestDir());
}

std::string TpsProgramFiles::Description() const {
  return "Path of the program files directory";
}
std::string TpsProgramFiles::GetPath(TComponent*) const {
  return RemoveBackslash(ProgramFilesPath());
}

std::string TpsProgramMenu::Description() const {
  return "Path of the Programs folder under the Start Menu";
}
std::string TpsProgramMenu::GetPath(TComponent*) const {
  return RemoveBackslash(ProgramsMenuDir());
}

std::string TpsStartMenu::Description() const {
  return "Path of Start Menu";
}
std::string TpsStartMenu::GetPath(TComponent*) const {
  return RemoveBackslash(StartMenuDir());
}

std::string TpsStartupMenu::Description() const {
  return "Path of the Startup folder in the Programs folder under the Start Menu";
}
std::string TpsStartupMenu::GetPath(TComponent*) const {
  return RemoveBackslash(StartupDir());
}

std::string TpsSystem::Description() const {
  return "Path of system directory";
}
std::string TpsSystem::GetPath(TComponent*) const {
  return RemoveBackslash(SystemDirectory());
}

void TpsMainArchiveFile::CheckUsage(TComponent* component) const {
  RequireInstaller(component);
}
std::string TpsMainArchiveFile::Description() const {
  return "Archive containing most or all non-internet installation files";
}
std::string TpsMainArchiveFile::GetPath(TComponent* component) const {
  CheckUsage(component);
  const TCustomInstall& install = *Installer();
  std::string name = "files.1";
  if (install.HasSwitch('e')) {
    name = install.SwitchText('e');
    if (Trim(name).empty())
      throw IEInstall(
          "You forgot to pass in the name of the self-extracting executable. Usage example: "
          "\"-eSetup.exe\"");
  }
  // A file path: nothing is removed from its end.
  return JoinPath(install.SourceDirectory(), name);
}

std::string TpsWindow::Description() const {
  return "Path of the Windows directory";
}
std::string TpsWindow::GetPath(TComponent*) const {
  return RemoveBackslash(WindowsDirectory());
}

// --- creation and registration ----------------------------------------------------

namespace {

template <class T>
TStandardPathSpecifier* Make(TComponent* owner) {
  return new T(owner);
}

struct StandardKind {
  const TMetaClass& (*meta)() noexcept;
  TStandardPathSpecifier* (*make)(TComponent* owner);
};

template <class T>
constexpr StandardKind Kind() {
  return {&T::StaticMetaClass, &Make<T>};
}

// The fixed order of the standard set (also its order on the main form).
constexpr StandardKind kStandardKinds[] = {
    Kind<TpsQDEDLL>(),           Kind<TpsCommonFiles>(),  Kind<TpsContainerArchiveFile>(),
    Kind<TpsContainerDestDir>(), Kind<TpsDesktopMenu>(),  Kind<TpsInstallSource>(),
    Kind<TpsMainInstall>(),      Kind<TpsProgramFiles>(), Kind<TpsProgramMenu>(),
    Kind<TpsStartMenu>(),        Kind<TpsStartupMenu>(),  Kind<TpsSystem>(),
    Kind<TpsMainArchiveFile>(),  Kind<TpsWindow>(),
};

// The standard name, or (when the owner already has a component of that
// name) the name with the first free number appended, as a designer would.
std::string FreeName(const TComponent& owner, const std::string& base) {
  if (!owner.FindComponent(base)) return base;
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!owner.FindComponent(name)) return name;
  }
}

}  // namespace

void EnsureStandardSpecifiers(TComponent* /*container*/, TComponent* owner, bool onlyIfMissing) {
  if (!owner) return;
  for (const StandardKind& kind : kStandardKinds) {
    if (onlyIfMissing && PathSpecifierList().Find(kind.meta())) continue;
    TStandardPathSpecifier* specifier = kind.make(owner);
    specifier->SetName(FreeName(*owner, specifier->StandardName()));
  }
}

void RegisterPathSpecifiers(ClassRegistry& r) {
  r.Class<TCustomPathSpecifier, TComponent>("TCustomPathSpecifier");
  r.Class<TStandardPathSpecifier, TCustomPathSpecifier>("TStandardPathSpecifier");
  r.Class<TpsQDEDLL, TStandardPathSpecifier>("TpsQDEDLL");
  r.Class<TpsCommonFiles, TStandardPathSpecifier>("TpsCommonFiles");
  r.Class<TpsContainerArchiveFile, TStandardPathSpecifier>("TpsContainerArchiveFile");
  r.Class<TpsContainerDestDir, TStandardPathSpecifier>("TpsContainerDestDir");
  r.Class<TpsDesktopMenu, TStandardPathSpecifier>("TpsDesktopMenu");
  r.Class<TpsInstallSource, TStandardPathSpecifier>("TpsInstallSource");
  r.Class<TpsMainInstall, TStandardPathSpecifier>("TpsMainInstall");
  r.Class<TpsProgramFiles, TStandardPathSpecifier>("TpsProgramFiles");
  r.Class<TpsProgramMenu, TStandardPathSpecifier>("TpsProgramMenu");
  r.Class<TpsStartMenu, TStandardPathSpecifier>("TpsStartMenu");
  r.Class<TpsStartupMenu, TStandardPathSpecifier>("TpsStartupMenu");
  r.Class<TpsSystem, TStandardPathSpecifier>("TpsSystem");
  r.Class<TpsMainArchiveFile, TStandardPathSpecifier>("TpsMainArchiveFile");
  r.Class<TpsWindow, TStandardPathSpecifier>("TpsWindow");
}
