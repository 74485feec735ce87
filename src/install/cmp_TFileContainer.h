#pragma once

#include <cstdint>
#include <string>

#include "framework/Strings.h"
#include "install/ComponentCalls.h"
#include "install/cmp_TFileRelated.h"

// What a file container is doing; information events are handled only
// while it is not idle.
enum TFileContainerState : uint8_t {
  fcsIdle = 0,
  fcsCompressing = 1,
  fcsInstalling = 2,
  fcsCopying = 3
};

// The install file `o` stands for, or null: an install object of
// registered type 2000. A class without a registered type is no file.
TFileRelated* AsInstallFile(TObject* o);

// TFileContainer: a file-related container that installs, copies or
// compresses its install files and child groups, keeps the byte totals of
// the current operation and turns the information events of its subtree
// into its own events and component calls for its dialogs.
// TInstallFileGroup is the plain, selectable file group.
class TFileContainer : public TFileRelated {
  PELLMORE_CLASS(TFileContainer, TFileRelated)

 public:
  explicit TFileContainer(TComponent* owner);
  ~TFileContainer() override;

  int RegisteredType() const override { return kRegisteredFileContainer; }

  // --- virtual operations, in slot order ----------------------------------
  // A disk is needed (1011): OnNewDisk, then -993 with [file, disk].
  virtual void NewDisk(TFileRelated* file, TDiskParameter& disk);
  // A file is about to be replaced (1003): OnReplacing, then -997.
  virtual void Replacing(TFileRelated* file);
  // File progress (1008..1010): the totals of this container filled in,
  // OnStatus, -998.
  virtual void Status(TFileRelated* file, TFileStatusParameter& status);
  virtual int64_t ByteTotal(bool all, bool recursive);
  // 1 = Compress, 2 = Process, 3 = CopyFiles; idle again afterwards.
  virtual void RunAs(int kind);
  // Copies every file of the subtree straight from its source directory.
  virtual void CopyFiles();
  // Frees the child install files.
  virtual void FreeFiles();
  // Compresses the subtree into its archives (build mode; see
  // ContainerCompress.h).
  void Compress(uint32_t options) override;
  // The install file of the subtree with this source path (ignoring case),
  // or null.
  virtual TFileRelated* FindFile(const std::string& sourcePath);
  virtual int64_t CompressedByteTotal(bool all);
  // The recorded local archive; IEFileContainer before it was downloaded.
  virtual std::string LocalArchivePath();
  // Uncompressed sizes of the child install files (all, or only those that
  // will install).
  virtual int64_t DirectByteTotal(bool all);
  // The same plus the recursive totals of child file containers counted the
  // same way.
  virtual int64_t RecursiveByteTotal(bool all);
  void ReadArchiveInformation() override;
  void ReadSourceInformation() override;
  virtual bool NeedsNetLocation() { return false; }

  // Installing: the subtree's information read, -992 and 1012, totals,
  // OnBeforeInstallObjects, each installable child's Process, 1013, -996,
  // OnAfterInstallObjects with the archive's Abort flag. The state is idle
  // again afterwards, also when a child fails.
  void InstallObjects() override;
  void DoInformationEventControl(TObject* Sender, int code, TObject* PO) override;

  // --- properties ----------------------------------------------------------
  TFileContainerState State() const noexcept { return state_; }
  int64_t TotalBytes() const noexcept { return totalBytes_; }
  int64_t BytesDone() const noexcept { return bytesDone_; }
  bool AllowChangeDir() const noexcept { return allowChangeDir_; }
  void SetAllowChangeDir(bool v) { allowChangeDir_ = v; }
  bool AllowChoice() const noexcept { return allowChoice_; }
  void SetAllowChoice(bool v) { allowChoice_ = v; }
  TStringList* Description() const noexcept { return description_.get(); }
  const std::string& GroupName() const noexcept { return groupName_; }
  void SetGroupName(const std::string& v) { groupName_ = v; }

  const TInstallFileStatusEvent& OnStatus() const noexcept { return onStatus_; }
  void SetOnStatus(TInstallFileStatusEvent e) { onStatus_ = std::move(e); }
  const TInstallFileNewDiskEvent& OnNewDisk() const noexcept { return onNewDisk_; }
  void SetOnNewDisk(TInstallFileNewDiskEvent e) { onNewDisk_ = std::move(e); }
  const TInstallFileNotifyEvent& OnReplacing() const noexcept { return onReplacing_; }
  void SetOnReplacing(TInstallFileNotifyEvent e) { onReplacing_ = std::move(e); }
  const TAfterInstallObjectsEvent& OnAfterInstallObjects() const noexcept {
    return onAfterInstallObjects_;
  }
  void SetOnAfterInstallObjects(TAfterInstallObjectsEvent e) {
    onAfterInstallObjects_ = std::move(e);
  }
  const TInstallContainerNotifyEvent& OnBeforeInstallObjects() const noexcept {
    return onBeforeInstallObjects_;
  }
  void SetOnBeforeInstallObjects(TInstallContainerNotifyEvent e) {
    onBeforeInstallObjects_ = std::move(e);
  }

 protected:
  void BeforeDestruction() noexcept override;
  void SetState(TFileContainerState s) noexcept { state_ = s; }
  void SetTotals(int64_t total, int64_t done) noexcept {
    totalBytes_ = total;
    bytesDone_ = done;
  }
  // Passes an information event on to the container, if any.
  void PassUp(TObject* Sender, int code, TObject* PO);

 private:
  void HandleInformationEvent(int code, TObject* PO);
  // The file-done reaction of 1015 and 1016.
  void FileDone(TFileRelated* file);
  // Fills the totals of `status` from this container's progress.
  void FillTotals(TFileStatusParameter& status) const;

  int64_t totalBytes_ = 0;
  int64_t bytesDone_ = 0;
  bool allowChangeDir_ = true;
  bool allowChoice_ = true;
  Owned<TStringList> description_{new TStringList};
  std::string groupName_;
  TInstallFileStatusEvent onStatus_;
  TInstallFileNewDiskEvent onNewDisk_;
  TInstallFileNotifyEvent onReplacing_;
  TFileContainerState state_ = fcsIdle;
  TAfterInstallObjectsEvent onAfterInstallObjects_;
  TInstallContainerNotifyEvent onBeforeInstallObjects_;
};

// A named group of install files and subgroups that the user can choose on the
// file group page of a custom installation.
class TInstallFileGroup : public TFileContainer {
  PELLMORE_CLASS(TInstallFileGroup, TFileContainer)

 public:
  // GroupName starts as "Unnamed File Group". A new group that is put into
  // a container (outside loading) and still has the name it gave itself
  // becomes "Group #n", n being the number of file containers the
  // container then holds (itself included); without a container it is
  // "Unnamed File Group" again. A group read from a description keeps the
  // name the description gave it.
  explicit TInstallFileGroup(TComponent* owner);

 protected:
  void Loaded() override;
  void ContainerChanged(TInstallContainer* newContainer) override;

 private:
  // The name the group last gave itself; empty once it was read from a
  // description.
  std::string defaultName_;
};
