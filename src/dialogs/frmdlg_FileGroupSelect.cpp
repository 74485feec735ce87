// TFileGroupSelectForm (see frmdlg_FileGroupSelect.h).
#include "dialogs/frmdlg_FileGroupSelect.h"

#include <string>

#include "dialogs/DialogControls.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/GroupPictures.h"
#include "dialogs/dlgcmp_TBaseDlg.h"
#include "dialogs/dlgcmp_TOpenFolderDialog.h"
#include "framework/Application.h"
#include "framework/ExtCtrls.h"
#include "framework/Format.h"
#include "framework/ImgList.h"
#include "framework/StrUtils.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"
#include "i18n/cmp_TTranslateControls.h"
#include "i18n/cmp_TTranslator.h"
#include "install/cmp_TFileContainer.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/Platform.h"

namespace {

// Virtual-key codes of the keys after which the rows follow the tree.
constexpr uint16_t kVkPageUp = 0x21, kVkPageDown = 0x22;
constexpr uint16_t kVkLeft = 0x25, kVkDown = 0x28;

// The drive column holds a picture and a letter; the free space of a
// drive today has eleven digits and more, so the available column takes
// what the required one leaves.
constexpr int kDriveColumnWidth = 40;
constexpr int kSpaceColumnWidth = 125;
constexpr int kAvailableColumnWidth = 150;

// Sets a flag for as long as it lives (also when a step raises).
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

void AddChildNodes(TTreeNodes& nodes, TTreeNode* parent, TFileContainer& container) {
  for (int i = 0; i < container.FileContainerCount(); ++i) {
    TFileContainer* child = container.FileContainers(i);
    TTreeNode* node = nodes.AddChildObject(parent, TranslateFromEnglish(child->GroupName()), child);
    AddChildNodes(nodes, node, *child);
  }
}

// Lays the row controls of `list` beside the tree's visible rows: from the
// first row whose top is not above the tree to the last that starts inside
// it. `fill` sets what a row shows.
template <class Row, class Fill>
void LayRows(TRowControlList<Row>& list, const TTreeView& tree, const TControl& divider, int left,
             Fill fill) {
  list.Restart();
  const TTreeNodes& nodes = *tree.Items();
  const int width = list.Panel()->Width() - divider.Width() - 3;
  for (int i = 0; i < nodes.Count(); ++i) {
    TTreeNode* node = nodes.Item(i);
    if (!node->IsVisible()) continue;
    const TRect r = node->DisplayRect(false);
    if (r.top < 0) continue;
    if (r.top > tree.Height()) break;
    Row& row = list.Next();
    row.SetVisible(true);
    row.SetBounds(left, r.top, width, r.Height());
    row.SetContainer(static_cast<TFileContainer*>(node->Data()));
    fill(row);
  }
  list.HideRest();
}

}  // namespace

template <class Row>
Row& TRowControlList<Row>::Next() {
  if (used_ == rows_.size()) {
    auto* row = new Row(owner_);
    row->SetName(prefix_ + std::to_string(rows_.size() + 1));
    row->SetParent(parent_);
    rows_.push_back(row);
  }
  return *rows_[used_++];
}

template <class Row>
void TRowControlList<Row>::HideRest() {
  for (size_t i = used_; i < rows_.size(); ++i) {
    rows_[i]->SetVisible(false);
    rows_[i]->SetContainer(nullptr);
  }
}

template class TRowControlList<TIncludeCheckBox>;
template class TRowControlList<TSizeLabel>;

TFileGroupSelectForm::TFileGroupSelectForm(TComponent* owner)
    : TWizardPageForm(owner, dmBeforeInstall, 50) {}

void TFileGroupSelectForm::DoCreate() {
  pnlGroups_ = &DescribedControl<TPanel>(*this, "pnlGroups");
  pnlInclude_ = &DescribedControl<TPanel>(*this, "pnlInclude");
  pnlSize_ = &DescribedControl<TPanel>(*this, "pnlSize");
  pnIncludeRightDivider_ = &DescribedControl<TPanel>(*this, "pnIncludeRightDivider");
  pnlSizeRightDivider_ = &DescribedControl<TPanel>(*this, "pnlSizeRightDivider");
  pnlIncludeSpacer_ = &DescribedControl<TPanel>(*this, "pnlIncludeSpacer");
  pnlSizeSpacer_ = &DescribedControl<TPanel>(*this, "pnlSizeSpacer");
  pnlDescriptionMemo_ = &DescribedControl<TPanel>(*this, "pnlDescriptionMemo");
  pnlDriveSpace_ = &DescribedControl<TPanel>(*this, "pnlDriveSpace");
  groupDescLabel_ = &DescribedControl<TTranslateLabel>(*this, "GroupDescLabel");
  descriptionMemo_ = &DescribedControl<TMemo>(*this, "DescriptionMemo");
  directoryLabel_ = &DescribedControl<TEdit>(*this, "DirectoryLabel");
  browseBtn_ = &DescribedControl<TTranslateBitBtn>(*this, "BrowseBtn");
  ilDriveSpace_ = &DescribedControl<TImageList>(*this, "ilDriveSpace");
  FillDriveImages(*ilDriveSpace_);

  tree_ = new TGroupTreeView(this);
  tree_->SetName("GroupTreeView");
  tree_->SetParent(pnlGroups_);
  tree_->SetAlign(alClient);
  tree_->SetBorderStyle(bsNone);
  tree_->SetHideSelection(false);
  tree_->SetReadOnly(true);
  tree_->OnChange = [this](TObject* s, TTreeNode* n) { TreeChange(s, n); };
  tree_->OnExpanded = [this](TObject* s, TTreeNode* n) { TreeExpanded(s, n); };
  tree_->OnCollapsed = [this](TObject* s, TTreeNode* n) { TreeExpanded(s, n); };
  tree_->OnScroll = [this](TObject*) { RebuildRows(); };
  tree_->OnKeyUp = [this](TObject* s, uint16_t& k, uint32_t shift) { TreeKeyUp(s, k, shift); };

  driveList_ = new TDriveSpaceListView(this);
  driveList_->SetName("DriveSpaceListView");
  driveList_->SetParent(pnlDriveSpace_);
  driveList_->SetAlign(alClient);
  driveList_->SetViewStyle(vsReport);
  driveList_->SetReadOnly(true);
  driveList_->SetColumnClick(false);
  driveList_->SetSmallImages(ilDriveSpace_);
  driveList_->SetStateImages(ilDriveSpace_);
  const std::pair<std::string, int> columns[] = {
      {"", kDriveColumnWidth},
      {TranslateFromEnglish("Space Required:"), kSpaceColumnWidth},
      {TranslateFromEnglish("Space Available:"), kAvailableColumnWidth}};
  for (const auto& [caption, width] : columns) {
    TListColumn* column = driveList_->Columns()->Add();
    column->SetCaption(caption);
    column->SetWidth(width);
  }

  includeList_.Attach(this, pnlInclude_);
  sizeList_.Attach(this, pnlSize_);
  TWizardPageForm::DoCreate();
}

TInstallContainer* TFileGroupSelectForm::Root() const {
  if (DC() && DC()->Container()) return DC()->Container();
  if (Installer()) return Installer();
  return ::Installer();
}

TFileContainer& TFileGroupSelectForm::CheckedRoot(const std::string& controlName) const {
  TInstallContainer* root = Root();
  if (!root)
    throw IEFileGroupSelectForm(
        "Cannot show the install file groups dialog for blank container property");
  if (!root->Is<TFileContainer>())
    throw IEFileGroupSelectForm("Container is not a TFileContainer for %s", controlName);
  return static_cast<TFileContainer&>(*root);
}

TFileContainer* TFileGroupSelectForm::SelectedContainer() const {
  TTreeNode* node = tree_ ? tree_->Selected() : nullptr;
  return node ? static_cast<TFileContainer*>(node->Data()) : nullptr;
}

bool TFileGroupSelectForm::SkipPage() {
  TInstallContainer* root = Root();
  if (!root) return true;
  const TInstallType type = root->CurrentInstallType();
  return type != itAlways && type != itCustom;
}

void TFileGroupSelectForm::RefreshPage() {
  TWizardPageForm::RefreshPage();
  BuildTree();
  RebuildRows();
  RebuildDriveList();
  ShowGroupDetails();
  FocusIfShowing(ProceedBtn());
}

void TFileGroupSelectForm::BuildTree() {
  TFileContainer& root = CheckedRoot(tree_->Name());
  TTreeNodes& nodes = *tree_->Items();
  TTreeNode* rootNode = nullptr;
  nodes.BeginUpdate();
  try {
    nodes.Clear();
    rootNode = nodes.AddObject(nullptr, TranslateFromEnglish(root.GroupName()), &root);
    AddChildNodes(nodes, rootNode, root);
  } catch (...) {
    nodes.EndUpdate();
    throw;
  }
  nodes.EndUpdate();
  tree_->SetSelected(rootNode);
  rootNode->Expand(false);
  ScrollBarStep();
  tree_->SetSelected(rootNode);
}

void TFileGroupSelectForm::ScrollBarStep() {
  // The tree's last row ends above its scroll bar; the spacers end the
  // side columns at the same height.
  tree_->SetHorzScrollBarAlways(true);
  const int height = CurrentWidgetset().HorzScrollBarHeight();
  for (TPanel* spacer : {pnlIncludeSpacer_, pnlSizeSpacer_}) {
    spacer->SetHeight(height);
    spacer->SetVisible(true);
  }
}

void TFileGroupSelectForm::RebuildRows() {
  RebuildIncludeBoxes();
  RebuildSizeLabels();
}

void TFileGroupSelectForm::RebuildIncludeBoxes() {
  FlagScope setting(settingUpBoxes_);
  LayRows(includeList_, *tree_, *pnIncludeRightDivider_, 3, [this](TIncludeCheckBox& box) {
    if (!box.OnClick) box.OnClick = [this](TObject* s) { IncludeBoxClick(s); };
    box.SetCaption("");
    box.SetChecked(box.Container()->WillInstall());
    box.SetEnabled(box.Container()->AllowChoice());
  });
}

void TFileGroupSelectForm::RebuildSizeLabels() {
  LayRows(sizeList_, *tree_, *pnlSizeRightDivider_, 1, [](TSizeLabel& label) {
    label.SetAutoSize(false);
    label.SetAlignment(taRightJustify);
    label.SetCaption(ByteText(label.Container()->RecursiveByteTotal(false)));
  });
}

std::string TFileGroupSelectForm::ByteText(int64_t bytes) {
  return Format("%0.0n", static_cast<double>(bytes)) + " " + TranslateFromEnglish("Bytes");
}

void TFileGroupSelectForm::RebuildDriveList() {
  TFileContainer& root = CheckedRoot(driveList_->Name());
  TListItems& items = *driveList_->Items();
  items.BeginUpdate();
  try {
    items.Clear();
    drives_.clear();
    drives_ = BuildDriveTable(root, PlatformDriveFreeSpace);
    const std::string bytes = TranslateFromEnglish("Bytes");
    for (const TDriveSpaceEntry& drive : drives_) {
      TListItem* item = items.Add();
      item->SetCaption(drive.Drive);
      item->SubItems()->Add(Format("%0.0n %s", static_cast<double>(drive.Required), bytes));
      item->SubItems()->Add(Format("%0.0n %s", static_cast<double>(drive.Free), bytes));
      item->SetImageIndex(0);
      // Equal is not enough: the copy also needs room for its temporary
      // files.
      item->SetStateIndex(drive.Required < drive.Free ? -1 : 1);
    }
  } catch (...) {
    items.EndUpdate();
    throw;
  }
  items.EndUpdate();
  pnlDriveSpace_->SetHeight(DriveSpacePanelHeight(items.Count()));
}

void TFileGroupSelectForm::ShowGroupDetails() {
  TFileContainer* c = SelectedContainer();
  if (!c) return;
  {
    FlagScope suppress(suppressDirectoryChange_);
    directoryLabel_->SetText(c->ResolveDestDir());
    // A group whose directory may not change cannot have it typed either.
    directoryLabel_->SetReadOnly(!c->AllowChangeDir());
    browseBtn_->SetEnabled(c->AllowChangeDir());
    const TStrings& description = *c->Description();
    const bool hasLines = description.Count() > 0;
    pnlDescriptionMemo_->SetVisible(hasLines);
    descriptionMemo_->SetVisible(hasLines);
    groupDescLabel_->SetVisible(hasLines);
    if (hasLines) {
      const std::vector<std::string> lines =
          MainTranslator() ? MainTranslator()->TranslateLines(vlEnglish, description)
                           : description.ToVector();
      TStrings& memo = *descriptionMemo_->Lines();
      memo.Clear();
      for (const std::string& line : lines) memo.Add(line);
    }
    Application().ProcessMessages();
  }
  tree_->Invalidate();
}

void TFileGroupSelectForm::TreeChange(TObject*, TTreeNode* node) {
  if (node) ShowGroupDetails();
}

void TFileGroupSelectForm::TreeExpanded(TObject*, TTreeNode*) {
  RebuildRows();
  ScrollBarStep();
}

void TFileGroupSelectForm::TreeKeyUp(TObject*, uint16_t& key, uint32_t) {
  if (key == kVkPageUp || key == kVkPageDown || (key >= kVkLeft && key <= kVkDown)) RebuildRows();
  ShowGroupDetails();
}

void TFileGroupSelectForm::IncludeBoxClick(TObject* sender) {
  if (settingUpBoxes_) return;
  auto* box = static_cast<TIncludeCheckBox*>(sender);
  if (!box->Container()) return;
  box->Container()->SetInclude(box->Checked());
  RebuildSizeLabels();
  ShowGroupDetails();
  RebuildDriveList();
}

void TFileGroupSelectForm::DirectoryLabelChange(TObject*) {
  if (suppressDirectoryChange_) return;
  TFileContainer* c = SelectedContainer();
  if (!c) return;
  c->SetDestDirType(nullptr);
  c->SetDestDir(directoryLabel_->Text());
}

void TFileGroupSelectForm::BrowseBtnClick(TObject*) {
  TFileContainer* c = SelectedContainer();
  if (!c) return;
  platform::FileSystem& fs = platform::files();
  const std::string start = c->ResolveDestDir();
  // The browser can select only a directory that exists: a missing one is
  // made for it and its last level removed again afterwards.
  bool created = false;
  if (!Trim(start).empty() && !fs.DirectoryExists(start)) {
    try {
      fs.CreateDirectories(start);
      created = true;
    } catch (const platform::OsError&) {
      // Not creatable (no such drive): the browser starts at what exists.
    }
  }
  const auto removeCreated = [&] {
    if (!created) return;
    try {
      fs.RemoveDirectory(start);
    } catch (const platform::OsError&) {
      // The user made a folder inside it: it stays.
    }
  };
  bool confirmed = false;
  std::string chosen;
  try {
    Owned<TOpenFolderDialog> dialog(new TOpenFolderDialog(nullptr));
    dialog->SetPath(start);
    confirmed = dialog->Execute();
    chosen = dialog->Path();
  } catch (...) {
    removeCreated();
    throw;
  }
  if (confirmed) {
    c->SetDestDirType(nullptr);
    c->SetDestDir(ExcludeTrailingBackslash(chosen));
  }
  removeCreated();
  ShowGroupDetails();
  RebuildDriveList();
}
