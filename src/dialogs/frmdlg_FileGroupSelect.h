#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/FileGroupDrives.h"
#include "dialogs/WizardPage.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "framework/TreeView.h"

class TEdit;
class TFileContainer;
class TGroupBox;
class TImageList;
class TInstallContainer;
class TMemo;
class TPanel;
class TTranslateLabel;

// The tree of file containers (made at run time); each node's Data is its
// TFileContainer.
class TGroupTreeView : public TTreeView {
  PELLMORE_CLASS(TGroupTreeView, TTreeView)

 public:
  using TTreeView::TTreeView;
};

// The drive table's rows (made at run time).
class TDriveSpaceListView : public TListView {
  PELLMORE_CLASS(TDriveSpaceListView, TListView)

 public:
  using TListView::TListView;
};

// One row's include box; it holds the container of its row.
class TIncludeCheckBox : public TCheckBox {
  PELLMORE_CLASS(TIncludeCheckBox, TCheckBox)

 public:
  using TCheckBox::TCheckBox;
  TFileContainer* Container() const noexcept { return container_; }
  void SetContainer(TFileContainer* c) noexcept { container_ = c; }

 private:
  TFileContainer* container_ = nullptr;
};

// One row's size; it holds the container of its row.
class TSizeLabel : public TLabel {
  PELLMORE_CLASS(TSizeLabel, TLabel)

 public:
  using TLabel::TLabel;
  TFileContainer* Container() const noexcept { return container_; }
  void SetContainer(TFileContainer* c) noexcept { container_ = c; }

 private:
  TFileContainer* container_ = nullptr;
};

// Row controls made on demand and reused: a rebuild takes them in order
// (Next) and hides the ones it did not need (HideRest). They belong to the
// form, which frees them.
template <class Row>
class TRowControlList {
 public:
  explicit TRowControlList(const char* namePrefix) : prefix_(namePrefix) {}
  void Attach(TComponent* owner, TWinControl* parent) {
    owner_ = owner;
    parent_ = parent;
  }
  void Restart() noexcept { used_ = 0; }
  // The next row control, made (named prefix + number) when none is left.
  Row& Next();
  void HideRest();
  int Count() const noexcept { return static_cast<int>(rows_.size()); }
  Row* Items(int i) const { return rows_.at(static_cast<size_t>(i)); }
  TWinControl* Panel() const noexcept { return parent_; }

 private:
  const char* prefix_;
  TComponent* owner_ = nullptr;
  TWinControl* parent_ = nullptr;
  std::vector<Row*> rows_;
  size_t used_ = 0;
};

class TIncludeList : public TRowControlList<TIncludeCheckBox> {
 public:
  TIncludeList() : TRowControlList("IncludeCheckBox") {}
};

class TSizeList : public TRowControlList<TSizeLabel> {
 public:
  TSizeList() : TRowControlList("SizeLabel") {}
};

// TFileGroupSelectForm: the page on which a custom installation picks its
// file groups. The installer and its nested file containers form a tree;
// beside each visible row an include box (left) and the group's size
// (right); below it the selected group's description and destination; at
// the bottom the drives involved with the space required and available.
// Every change goes straight into the install objects (Include, DestDir,
// DestDirType): nothing waits for Next.
class TFileGroupSelectForm : public TWizardPageForm {
  PELLMORE_CLASS(TFileGroupSelectForm, TWizardPageForm)

 public:
  explicit TFileGroupSelectForm(TComponent* owner);

  // No installer, or one whose CurrentInstallType is neither itAlways nor
  // itCustom: the choice of groups belongs to a custom installation.
  bool SkipPage() override;
  // The common button step, the tree, the rows, the drive list, the
  // selected group's details; the focus to Next.
  void RefreshPage() override;

  // Handlers.
  void DirectoryLabelChange(TObject* Sender);
  void BrowseBtnClick(TObject* Sender);

  // The steps RefreshPage runs, each usable on its own.
  // IEFileGroupSelectForm without an installer or when it is no file
  // container (naming the tree).
  void BuildTree();
  void RebuildIncludeBoxes();
  void RebuildSizeLabels();
  // The drive table from the installer and the list's rows with it;
  // IEFileGroupSelectForm as BuildTree (naming the list).
  void RebuildDriveList();
  void ShowGroupDetails();

  // The container the page works on: the container of the component
  // standing for it, else the form's installer, else the program's.
  TInstallContainer* Root() const;
  // The container of the selected node, or null.
  TFileContainer* SelectedContainer() const;

  TGroupTreeView* GroupTree() const noexcept { return tree_; }
  TDriveSpaceListView* DriveList() const noexcept { return driveList_; }
  const TIncludeList& IncludeBoxes() const noexcept { return includeList_; }
  const TSizeList& SizeLabels() const noexcept { return sizeList_; }
  const std::vector<TDriveSpaceEntry>& Drives() const noexcept { return drives_; }
  TEdit* DirectoryLabel() const noexcept { return directoryLabel_; }
  TTranslateBitBtn* BrowseBtn() const noexcept { return browseBtn_; }
  TMemo* DescriptionMemo() const noexcept { return descriptionMemo_; }
  TPanel* DriveSpacePanel() const noexcept { return pnlDriveSpace_; }

 protected:
  void DoCreate() override;

 private:
  // The root as a file container; raises for none or another kind.
  TFileContainer& CheckedRoot(const std::string& controlName) const;
  // Both row rebuilds (after an expansion, a scroll or a key).
  void RebuildRows();
  // The tree's horizontal scroll bar and the side columns' spacers.
  void ScrollBarStep();
  void IncludeBoxClick(TObject* Sender);
  void TreeChange(TObject* Sender, TTreeNode* Node);
  void TreeExpanded(TObject* Sender, TTreeNode* Node);
  void TreeKeyUp(TObject* Sender, uint16_t& Key, uint32_t Shift);
  // "1,234 bytes": the thousands-separated number and the translated word.
  static std::string ByteText(int64_t bytes);

  TGroupTreeView* tree_ = nullptr;
  TDriveSpaceListView* driveList_ = nullptr;
  TIncludeList includeList_;
  TSizeList sizeList_;
  std::vector<TDriveSpaceEntry> drives_;
  TPanel* pnlInclude_ = nullptr;
  TPanel* pnlSize_ = nullptr;
  TPanel* pnIncludeRightDivider_ = nullptr;
  TPanel* pnlSizeRightDivider_ = nullptr;
  TPanel* pnlIncludeSpacer_ = nullptr;
  TPanel* pnlSizeSpacer_ = nullptr;
  TPanel* pnlGroups_ = nullptr;
  TPanel* pnlDescriptionMemo_ = nullptr;
  TPanel* pnlDriveSpace_ = nullptr;
  TTranslateLabel* groupDescLabel_ = nullptr;
  TMemo* descriptionMemo_ = nullptr;
  TEdit* directoryLabel_ = nullptr;
  TTranslateBitBtn* browseBtn_ = nullptr;
  TImageList* ilDriveSpace_ = nullptr;
  // Program changes under way: the check boxes' and the edit's change
  // steps do not count as the user's.
  bool settingUpBoxes_ = false;
  bool suppressDirectoryChange_ = false;
};
