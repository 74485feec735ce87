// TInstallContainer, a component that keeps an ordered list of install
// objects (its children), and TInstallObject, an install object that names
// its container. Children are ordered by registered type and then by
// Order; component calls go down to the direct children of type 9000, and
// information events go up through the Container chain.
#pragma once

#include <string>
#include <vector>

#include "framework/Component.h"
#include "install/InstallTypes.h"

class TInstallObject;
class TFileContainer;
class TCustomPathSpecifier;

// The uninstall key of the product: this text followed by the installer's
// Information.ProductName.
inline constexpr const char* kUninstallKeyPrefix =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The common ground of the components that hold install objects: it keeps its
// children in order, passes component calls down to them and hears their
// events.
class TInstallContainer : public TComponent {
  PELLMORE_CLASS(TInstallContainer, TComponent)

 public:
  // Joins the process-wide container list.
  explicit TInstallContainer(TComponent* owner);
  // Leaves every other container and the process-wide list (if Free did
  // not already do it while the object was whole).
  ~TInstallContainer() override;

  // --- children -----------------------------------------------------------
  int ObjectCount() const noexcept { return static_cast<int>(children_.size()); }
  // IEInstallContainer outside 0..ObjectCount-1.
  TInstallObject* Objects(int index) const;
  int IndexOfObject(const TInstallObject* o) const noexcept;
  // Children that are of class `cls` or a subclass.
  int CompCount(const TMetaClass& cls) const noexcept;
  // The index-th such child (from 0); IEInstallContainer when there is none.
  TInstallObject* Comp(int index, const TMetaClass& cls) const;
  template <class T>
  int CompCount() const noexcept {
    return CompCount(T::StaticMetaClass());
  }
  template <class T>
  T* Comp(int index) const {
    return static_cast<T*>(Comp(index, T::StaticMetaClass()));
  }
  // Frees, from the last child to the first, each child of class `cls`.
  void FreeChildrenOfClass(const TMetaClass& cls);
  // Sets each child's Order to its position within the run of children of
  // the same registered type.
  void RenumberOrders();

  // --- the two channels ---------------------------------------------------
  // Calls HandleComponentCall of each direct child of registered type 9000,
  // in order. Nothing is passed further down.
  void BroadcastCall(TObject* Sender, int ComponentCall, TObject* PO);
  // Pops the status text ShowStatus pushed (-973).
  void HideStatus();

  // --- install types -------------------------------------------------------
  // Sets `type` on every child, recursively, then on this container.
  void SetInstallType(TInstallType type);

  // --- virtual operations, in slot order ----------------------------------
  virtual int FileContainerCount() const noexcept;
  virtual TFileContainer* FileContainers(int index) const;
  virtual void SetDestDir(const std::string& value);
  // Outside loading the specifier first checks that it can serve this
  // object (CheckUsage); a refusal raises and keeps the old value.
  virtual void SetDestDirType(TCustomPathSpecifier* value);
  // `c` is being destroyed: drop it from the children; an install object
  // whose container it is loses its container.
  virtual void ContainerDestroyed(TInstallContainer* c);
  // Pushes a status text (-974 with a TMessageParameter).
  virtual void ShowStatus(const std::string& text);
  // An information event from below; nothing here.
  virtual void DoInformationEventControl(TObject* Sender, int code, TObject* PO);
  // A component call from the container; nothing here.
  virtual void HandleComponentCall(TObject* Sender, int ComponentCall, TObject* PO);
  // DestDirType's directory for this object followed by DestDir (DestDir
  // alone without a specifier), one trailing backslash removed.
  virtual std::string ResolveDestDir();
  // The number that orders children and selects receivers of component
  // calls. The base raises IEInstallContainer: every class must declare it.
  virtual int RegisteredType() const;
  // Inserts `o` among the children by registered type and Order (see the
  // .cpp); refuses null and circular containment. Renumbers unless loading.
  virtual void AddObject(TInstallObject* o);
  // OnBeforeProcess, -990; when included: -999, and if the object will
  // install, InstallObjects, the uninstall record, OnAfterProcess, -989. A
  // silent abort inside ends it quietly.
  virtual void Process();
  // Marks the container installed and runs Process of each installable
  // child, in order.
  virtual void InstallObjects();
  virtual bool WillInstall() const;
  virtual void ContinueAfterReboot() {}
  // Empty here; dialog components use it.
  virtual void DialogHook() {}
  // Removes `o` if it is a child; renumbers unless loading.
  virtual void RemoveObject(TInstallObject* o);
  virtual void WriteUninstallInfo(const std::string& /*key*/) {}

  // --- properties ----------------------------------------------------------
  bool Installable() const noexcept { return installable_; }
  bool Include() const noexcept { return include_; }
  void SetInclude(bool v) { include_ = v; }
  bool Installed() const noexcept { return installed_; }
  TInstallTypeSet InstallTypes() const noexcept { return installTypes_; }
  // Empty, or gaining itAlways, gives [itAlways]; otherwise itAlways goes
  // when other types remain.
  void SetInstallTypes(TInstallTypeSet value);
  TInstallType CurrentInstallType() const noexcept { return currentInstallType_; }
  const std::string& DestDir() const noexcept { return destDir_; }
  TCustomPathSpecifier* DestDirType() const noexcept { return destDirType_; }
  int32_t Order() const noexcept { return order_; }
  // While loading only stored; otherwise a change moves the object within
  // its container, which renumbers.
  void SetOrder(int32_t value);

  const TInstallContainerNotifyEvent& OnAfterProcess() const noexcept { return onAfterProcess_; }
  void SetOnAfterProcess(TInstallContainerNotifyEvent e) { onAfterProcess_ = std::move(e); }
  const TInstallContainerNotifyEvent& OnBeforeProcess() const noexcept { return onBeforeProcess_; }
  void SetOnBeforeProcess(TInstallContainerNotifyEvent e) { onBeforeProcess_ = std::move(e); }

  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

 protected:
  // Notification drops only the destination specifier, which
  // FreeNotification links: freeing a form of thousands of install objects
  // then does not tell each of them of every other.
  const TMetaClass* NotificationOnlyForLinks() const noexcept override {
    return &StaticMetaClass();
  }
  void BeforeDestruction() noexcept override;
  void SetInstallable(bool v) noexcept { installable_ = v; }
  void SetInstalled(bool v) noexcept { installed_ = v; }
  // The container this object sits in (TInstallObject), or null.
  virtual TInstallContainer* ParentContainer() const noexcept { return nullptr; }
  // A default DestDirType that loading drops when the stored configuration
  // does not set the property.
  void SetDefaultDestDirType(TCustomPathSpecifier* specifier);
  // Stores a DestDirType without the specifier's check.
  void AssignDestDirType(TCustomPathSpecifier* specifier);
  void AssignDestDir(std::string v) { destDir_ = std::move(v); }
  // The specifier's directory for this object followed directly by `tail`
  // (`tail` alone without a specifier), one trailing backslash removed.
  std::string ResolveWith(const TCustomPathSpecifier* specifier, const std::string& tail);

 private:
  friend class TInstallObject;
  // Tears the containment down once, while the object is still whole if
  // Free is used.
  void LeaveContainers() noexcept;
  int InsertionIndex(const TInstallObject* o) const;
  void CheckNotCircular(const TInstallObject* o) const;

  bool installable_ = false;
  std::vector<TInstallObject*> children_;
  bool include_ = true;
  bool installed_ = false;
  TInstallTypeSet installTypes_{itAlways};
  TInstallType currentInstallType_ = itAlways;
  TInstallContainerNotifyEvent onAfterProcess_;
  TInstallContainerNotifyEvent onBeforeProcess_;
  std::string destDir_;
  TCustomPathSpecifier* destDirType_ = nullptr;
  int32_t order_ = -1;
  bool destDirTypeSet_ = false;
  bool destDirTypeDefaultPending_ = false;
  // Constructed while its form was being read: the standard specifiers
  // are made sure of in Loaded, once the stored ones exist.
  bool ensureSpecifiersPending_ = false;
  bool left_ = false;
};

// The common ground of everything that takes part in an installation (files,
// groups, links, dialogs): an install object that belongs to a container, with
// its destination directory and install types.
class TInstallObject : public TInstallContainer {
  PELLMORE_CLASS(TInstallObject, TInstallContainer)

 public:
  explicit TInstallObject(TComponent* owner);
  // Leaves its container directly when Free did not already do so.
  ~TInstallObject() override;

  TInstallContainer* Container() const noexcept { return container_; }
  // Moves the object to `value` (AddObject there, RemoveObject from the old
  // one). Outside loading a new container also makes DestDirType
  // psContainerDestDir and clears DestDir; losing the container drops a
  // psContainerDestDir. Refused (nothing changes) when `value` is this
  // object or lies below it.
  virtual void SetContainer(TInstallContainer* value);

 protected:
  TInstallContainer* ParentContainer() const noexcept override { return container_; }
  // The side effects of a container change outside loading; file-related
  // objects add theirs.
  virtual void ContainerChanged(TInstallContainer* newContainer);

 private:
  friend class TInstallContainer;
  // The container is going away: forget it (no call into it).
  void DropContainer() noexcept;

  TInstallContainer* container_ = nullptr;
};
