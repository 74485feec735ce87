// Path specifiers: small non-visual components that turn a kind of
// directory (system directory, program files, Start menu, the directory of
// an object's container, the directory the setup runs from ...) into a
// concrete path on the target machine. Results are never cached.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/exceptions_Pellmore.h"
#include "framework/Component.h"

class ClassRegistry;

// Misuse of a specifier (wrong kind of object, no container, no installer)
// and a kind that no specifier on the form provides.
PELLMORE_DECLARE_EXCEPTION(IEPathSpecifier, IException);
// A null entry offered to one of the two specifier lists.
PELLMORE_DECLARE_EXCEPTION(IEPathSpecifierList, IException);

// Asked by the base GetPath: `Path` starts empty and is the result.
using TGetPathEvent = std::function<void(TComponent* Component, std::string& Path)>;

// The common ground of path specifiers: non-visual components that name a kind
// of directory and turn it into a concrete path on the target machine when
// asked.
class TCustomPathSpecifier : public TComponent {
  PELLMORE_CLASS(TCustomPathSpecifier, TComponent)

 public:
  // Joins the list of all path specifiers.
  explicit TCustomPathSpecifier(TComponent* owner);
  // Leaves it.
  ~TCustomPathSpecifier() override;

  // --- virtual operations, in slot order ----------------------------------
  // Raises IEPathSpecifier when this specifier cannot serve `component`;
  // the base accepts everything.
  virtual void CheckUsage(TComponent* component) const;
  // A fixed text naming the kind ("Unspecified" here).
  virtual std::string Description() const;
  // A text for one component; the base returns Description().
  virtual std::string DescriptionFor(TComponent* component) const;
  // The directory for `component`. The base returns what OnGetPath makes of
  // an empty path, or an empty string without a handler.
  virtual std::string GetPath(TComponent* component) const;

  // The kind's standard component name ("psSystem"); empty in the base.
  const std::string& StandardName() const noexcept { return standardName_; }

  // Not published: a custom specifier assigns it in code.
  const TGetPathEvent& OnGetPath() const noexcept { return onGetPath_; }
  void SetOnGetPath(TGetPathEvent e) { onGetPath_ = std::move(e); }

 protected:
  void SetStandardName(std::string name) { standardName_ = std::move(name); }

 private:
  std::string standardName_;
  TGetPathEvent onGetPath_;
};

// The common ground of the kit's standard path specifiers; each joins the
// list of standard specifiers as well.
class TStandardPathSpecifier : public TCustomPathSpecifier {
  PELLMORE_CLASS(TStandardPathSpecifier, TCustomPathSpecifier)

 public:
  explicit TStandardPathSpecifier(TComponent* owner);
  ~TStandardPathSpecifier() override;
};

// The 14 standard kinds. Each constructor sets StandardName; GetPath removes
// one trailing backslash unless said otherwise. Kinds that need a
// component check it (CheckUsage) before resolving.

// The database engine's directory. First ";"-separated entry of the engine's "EnginePath" (as
// stored), else the program files directory + "\Quenby\Common Files\QDE".
class TpsQDEDLL : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsQDEDLL, TStandardPathSpecifier)

 public:
  explicit TpsQDEDLL(TComponent* owner);
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The machine's common files directory (CommonFilesPath).
class TpsCommonFiles : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsCommonFiles, TStandardPathSpecifier)

 public:
  explicit TpsCommonFiles(TComponent* owner);
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The archive file of the component's container (a file-related container).
class TpsContainerArchiveFile : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsContainerArchiveFile, TStandardPathSpecifier)

 public:
  explicit TpsContainerArchiveFile(TComponent* owner);
  void CheckUsage(TComponent* component) const override;
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The destination directory of the component's container.
class TpsContainerDestDir : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsContainerDestDir, TStandardPathSpecifier)

 public:
  explicit TpsContainerDestDir(TComponent* owner);
  void CheckUsage(TComponent* component) const override;
  std::string Description() const override;
  std::string DescriptionFor(TComponent* component) const override;
  std::string GetPath(TComponent* component) const override;
};

// The desktop folder (DesktopDir).
class TpsDesktopMenu : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsDesktopMenu, TStandardPathSpecifier)

 public:
  explicit TpsDesktopMenu(TComponent* owner);
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The installer's SourceDirectory.
class TpsInstallSource : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsInstallSource, TStandardPathSpecifier)

 public:
  explicit TpsInstallSource(TComponent* owner);
  void CheckUsage(TComponent* component) const override;
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The installer's destination directory (not for the installer itself).
class TpsMainInstall : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsMainInstall, TStandardPathSpecifier)

 public:
  explicit TpsMainInstall(TComponent* owner);
  void CheckUsage(TComponent* component) const override;
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The machine's program files directory (ProgramFilesPath).
class TpsProgramFiles : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsProgramFiles, TStandardPathSpecifier)

 public:
  explicit TpsProgramFiles(TComponent* owner);
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The Programs folder of the start menu (ProgramsMenuDir).
class TpsProgramMenu : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsProgramMenu, TStandardPathSpecifier)

 public:
  explicit TpsProgramMenu(TComponent* owner);
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The start menu folder (StartMenuDir).
class TpsStartMenu : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsStartMenu, TStandardPathSpecifier)

 public:
  explicit TpsStartMenu(TComponent* owner);
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The Startup folder of the start menu (StartupDir).
class TpsStartupMenu : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsStartupMenu, TStandardPathSpecifier)

 public:
  explicit TpsStartupMenu(TComponent* owner);
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The Windows system directory.
class TpsSystem : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsSystem, TStandardPathSpecifier)

 public:
  explicit TpsSystem(TComponent* owner);
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The setup's main archive file. A file path: the installer's start directory + "\" + the
// self-extractor's name (-e) or "files.1"; no trailing backslash is removed.
class TpsMainArchiveFile : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsMainArchiveFile, TStandardPathSpecifier)

 public:
  explicit TpsMainArchiveFile(TComponent* owner);
  void CheckUsage(TComponent* component) const override;
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The Windows directory.
class TpsWindow : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsWindow, TStandardPathSpecifier)

 public:
  explicit TpsWindow(TComponent* owner);
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// One of the two process-wide specifier lists. Members add themselves when
// constructed and leave when destroyed, so the lists empty themselves as
// forms go away.
class TPathSpecifierList {
 public:
  // IEPathSpecifierList "Tried to add a nil object to the path specifier
  // list" for null.
  void Add(TCustomPathSpecifier* specifier);
  void Remove(const TCustomPathSpecifier* specifier) noexcept;
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  TCustomPathSpecifier* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  // The first member of class `cls` or a descendant, or null.
  TCustomPathSpecifier* Find(const TMetaClass& cls) const noexcept;
  // Same, raising IEPathSpecifier "Could not find the path specifier".
  TCustomPathSpecifier* FindByClass(const TMetaClass& cls) const;
  void Clear() noexcept { items_.clear(); }

 private:
  std::vector<TCustomPathSpecifier*> items_;
};

// Every TCustomPathSpecifier alive, and every TStandardPathSpecifier.
TPathSpecifierList& PathSpecifierList();
TPathSpecifierList& StandardPathSpecifierList();

// FindByClass on the standard list; install objects take their defaults
// with it. Raises IEPathSpecifier when none is of that class.
TCustomPathSpecifier* FindByClass(const TMetaClass& cls);
template <class T>
T* FindByClass() {
  return static_cast<T*>(FindByClass(T::StaticMetaClass()));
}
// The same without raising: null when none exists.
template <class T>
T* FindPathSpecifier() {
  return static_cast<T*>(StandardPathSpecifierList().Find(T::StaticMetaClass()));
}

// Creates, owned by `owner` and named by StandardName, one specifier of
// each of the 14 standard kinds in their fixed order; with `onlyIfMissing`
// a kind that already has a specifier anywhere is skipped. Nothing
// happens without an owner. `container` is the container asking.
void EnsureStandardSpecifiers(TComponent* container, TComponent* owner, bool onlyIfMissing);

// Registers TCustomPathSpecifier, TStandardPathSpecifier and the 14 kinds
// (in that order) for the program's registration list.
void RegisterPathSpecifiers(ClassRegistry& r);
