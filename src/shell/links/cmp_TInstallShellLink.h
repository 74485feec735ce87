// Program-menu entries as install objects: TCustomShellLinkGroup, a folder
// of links in a menu; TMainLinkGroup, the program's own folder in the
// start menu's Programs folder (at most one per program, reached through
// MainLinkGroup()); TCustomInstallShellLink, one shortcut (a shell link, an
// Internet shortcut or a Program Manager item); TpsObjectLink, the path
// specifier that points a link at the installed place of another install
// object; and the program-wide lists of live links and groups.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/exceptions_Pellmore.h"
#include "install/cmp_TInstallContainer.h"
#include "paths/cmp_TPathSpecifier.h"

class ClassRegistry;

// A second main group.
PELLMORE_DECLARE_EXCEPTION(IEShellLinkGroup, IException);
// A link that cannot be installed.
PELLMORE_DECLARE_EXCEPTION(IEInstallShellLink, IException);
// A null entry offered to one of the two program-wide lists.
PELLMORE_DECLARE_EXCEPTION(IEInstallShellLinkList, IException);

// The common ground of program-menu folders: an install object that creates its
// folder and then the shortcuts it holds.
class TCustomShellLinkGroup : public TInstallObject {
  PELLMORE_CLASS(TCustomShellLinkGroup, TInstallObject)

 public:
  // Included and installable; joins the program-wide group list.
  explicit TCustomShellLinkGroup(TComponent* owner);
  // Leaves the list if Free did not already.
  ~TCustomShellLinkGroup() override;

  int RegisteredType() const override { return kRegisteredLinkGroup; }
  // -991 to the dialogs of its container's kind, then its folder (with
  // every missing parent), then the links it holds.
  void InstallObjects() override;
  // Its container going away frees the group as well.
  void ContainerDestroyed(TInstallContainer* c) override;

 protected:
  void BeforeDestruction() noexcept override;
};

// The program's own folder in the start menu's Programs folder, which
// holds its shortcuts. Always resolves through the shared program-menu specifier (the first
// TpsProgramMenu of the standard list): its DestDir is a folder below the
// Programs folder. Where no such specifier exists (a group made without a
// form, or the specifier destroyed) DestDirType is none.
class TMainLinkGroup : public TCustomShellLinkGroup {
  PELLMORE_CLASS(TMainLinkGroup, TCustomShellLinkGroup)

 public:
  // IEShellLinkGroup when a main group exists already (nothing is made
  // then). DestDirType := the program-menu specifier; DestDir := "\" + the
  // installer's product name, or "\MainFolderName" without an installer.
  explicit TMainLinkGroup(TComponent* owner);
  // Clears the program-wide reference if Free did not already.
  ~TMainLinkGroup() override;

  // Whatever is assigned, the program-menu specifier.
  void SetDestDirType(TCustomPathSpecifier* value) override;
  // Loading drops constructor defaults the stored form does not set; the
  // program-menu specifier (perhaps stored later in the form) comes back.
  void Loaded() override;

 protected:
  // A new container keeps the program-menu specifier and the folder name:
  // the group's place never depends on its container's directory.
  void ContainerChanged(TInstallContainer* newContainer) override;
  void BeforeDestruction() noexcept override;

 private:
  void UseProgramMenu();
};

// The one main group, or null.
TMainLinkGroup* MainLinkGroup() noexcept;

// The common ground of shortcuts: one shortcut that the installation
// creates in a menu folder. LinkName is the file name inside the destination folder:
// ".lnk" for a shell link, ".URL" for an Internet shortcut. The target is
// either Target (a path or a URL) or, with ObjectLink set, the installed
// place of that object through the program's TpsObjectLink.
class TCustomInstallShellLink : public TInstallObject {
  PELLMORE_CLASS(TCustomInstallShellLink, TInstallObject)

 public:
  // Included and installable, LinkMethod 0; joins the program-wide link
  // list. With a form or data module as owner, makes sure a TpsObjectLink
  // exists (after loading when the form is being read).
  explicit TCustomInstallShellLink(TComponent* owner);
  // Leaves the list if Free did not already.
  ~TCustomInstallShellLink() override;

  int RegisteredType() const override { return kRegisteredLink; }

  // --- virtual operations, in slot order --------------------------------
  // Records that COM is ready for this link; COM itself is initialised
  // once at program start.
  virtual void InitializeCom();
  // An item in the Program Manager group named by the last folder of the
  // destination; only for links below the program menu (nothing happens
  // for any other destination).
  virtual void InstallAsProgramManagerItem();
  // A .lnk file through the shell-link object; COM failures raise
  // IEInstallShellLink with the result's text and code.
  virtual void InstallAsShellLink();
  // An INI-format file: [InternetShortcut] URL=Target.
  virtual void InstallAsInternetShortcut();
  // A name not ending in ".URL" or ".LNK" gets the previous extension (or
  // ".LNK"); ".URL" clears ObjectLink. Only stored while loading.
  virtual void SetLinkName(const std::string& value);
  // Empty while TargetType is a TpsObjectLink. A blank (or bare ".LNK")
  // LinkName is derived from the value.
  virtual void SetTarget(const std::string& value);
  // The specifier checks that it can serve this link (IEPathSpecifier);
  // a TpsObjectLink empties Target.
  virtual void SetTargetType(TCustomPathSpecifier* value);
  // Empty clears TargetType too; an object makes TargetType the program's
  // TpsObjectLink, empties Target, derives LinkName and becomes the
  // container of a link without one. Only stored while loading.
  virtual void SetObjectLink(TInstallContainer* value);
  // TargetType's path for this link followed by Target, or Target without
  // a trailing backslash.
  virtual std::string TargetPath();

  // LinkName blank: IEInstallShellLink. An ObjectLink not installed in
  // this run: nothing. Otherwise the kind by extension, LinkMethod and
  // platform, then the objects the link holds.
  void InstallObjects() override;
  // The shortcut's path under K\Files (then Files1 ... when one refuses),
  // when this run wrote a shortcut file.
  void WriteUninstallInfo(const std::string& key) override;
  // The object pointed at (or the link's container) going away clears the
  // reference and frees the link.
  void ContainerDestroyed(TInstallContainer* c) override;
  void Notification(TComponent* c, TOperation op) override;
  void Loaded() override;

  // The destination folder, a backslash, LinkName.
  std::string LinkFileName();

  const std::string& LinkName() const noexcept { return linkName_; }
  TInstallContainer* ObjectLink() const noexcept { return objectLink_; }
  const std::string& Target() const noexcept { return target_; }
  TCustomPathSpecifier* TargetType() const noexcept { return targetType_; }
  const std::string& Arguments() const noexcept { return arguments_; }
  void SetArguments(const std::string& v) { arguments_ = v; }
  uint16_t HotKey() const noexcept { return hotKey_; }
  void SetHotKey(uint16_t v) { hotKey_ = v; }
  // 0 by platform, 1 shell link, 2 Program Manager item.
  uint8_t LinkMethod() const noexcept { return linkMethod_; }
  void SetLinkMethod(uint8_t v) { linkMethod_ = v; }
  bool ComReady() const noexcept { return comReady_; }

 protected:
  void BeforeDestruction() noexcept override;

 private:
  // Leaves the list and drops the references, once.
  void Detach() noexcept;
  // Frees the link unless it is already being taken apart.
  void FreeSelf();
  void UseObjectLink(TInstallContainer* value);

  std::string linkName_;
  TInstallContainer* objectLink_ = nullptr;
  std::string target_;
  TCustomPathSpecifier* targetType_ = nullptr;
  std::string arguments_;
  uint16_t hotKey_ = 0;
  uint8_t linkMethod_ = 0;
  bool comReady_ = false;
  bool ensureObjectLinkPending_ = false;
  // This run wrote the shortcut file (a shell link or Internet shortcut).
  bool shortcutWritten_ = false;
  bool detached_ = false;
};

// A shortcut in a program-menu folder: a shell link, an Internet shortcut
// or a Program Manager item, made when the product is installed.
class TInstallShellLink : public TCustomInstallShellLink {
  PELLMORE_CLASS(TInstallShellLink, TCustomInstallShellLink)

 public:
  using TCustomInstallShellLink::TCustomInstallShellLink;
};

// Resolves a link's target to the installed place of its ObjectLink: a
// file's full destination path, any other object's destination directory.
class TpsObjectLink : public TStandardPathSpecifier {
  PELLMORE_CLASS(TpsObjectLink, TStandardPathSpecifier)

 public:
  explicit TpsObjectLink(TComponent* owner);
  // IEPathSpecifier unless `component` is a link with an ObjectLink.
  void CheckUsage(TComponent* component) const override;
  std::string Description() const override;
  std::string GetPath(TComponent* component) const override;
};

// The text a failed shell-link call is reported with (translated for the
// well-known results, the system's text for a Win32 error, empty for 0).
std::string ShellLinkResultText(int32_t result);

// The program's TpsObjectLink (the first on the standard list), or null.
TpsObjectLink* ObjectLinkSpecifier() noexcept;
// Creates one owned by `owner` (named psObjectLink, or with a number when
// the name is taken) unless one exists anywhere; nothing without an owner.
void EnsureObjectLinkSpecifier(TComponent* owner);

// A program-wide list of live components of one kind; members add
// themselves on construction and leave on destruction.
template <class T>
class TShellLinkListOf {
 public:
  // IEInstallShellLinkList for null.
  void Add(T* item);
  void Remove(const T* item) noexcept;
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  T* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  bool Contains(const T* item) const noexcept;
  void Clear() noexcept { items_.clear(); }

 private:
  std::vector<T*> items_;
};
using TInstallShellLinkList = TShellLinkListOf<TCustomInstallShellLink>;
using TShellLinkGroupList = TShellLinkListOf<TCustomShellLinkGroup>;

TInstallShellLinkList& InstallShellLinkList();
TShellLinkGroupList& ShellLinkGroupList();

// Registers the link, link group and TpsObjectLink classes and their
// published properties; called after the install classes.
void RegisterShellLinkClasses(ClassRegistry& registry);
