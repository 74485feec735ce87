// TSelectFolderForm (see frmdlg_SelectFolder.h).
#include "dialogs/frmdlg_SelectFolder.h"

#include "dialogs/DialogControls.h"
#include "framework/StdCtrls.h"
#include "paths/cmp_TPathSpecifier.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "shell/links/cmp_TInstallShellLink.h"
#include "shell/routines_API.h"

namespace {

// The spacers between the intro, the edit and the list, and the heights
// they keep.
struct Spacer {
  const char* name;
  int height;
};
constexpr Spacer kSpacers[] = {{"lblSpacer1", 18}, {"lblSpacer2", 8}, {"lblSpacer3", 8}};

}  // namespace

TSelectFolderForm::TSelectFolderForm(TComponent* owner)
    : TWizardPageForm(owner, dmBeforeInstall, 60) {}

void TSelectFolderForm::DoCreate() {
  folderEdit_ = &DescribedControl<TEdit>(*this, "FolderEdit");
  folderListBox_ = &DescribedControl<TListBox>(*this, "FolderListBox");
  TWizardPageForm::DoCreate();
}

bool TSelectFolderForm::SkipPage() {
  return MainLinkGroup() == nullptr;
}

void TSelectFolderForm::RefreshPage() {
  TWizardPageForm::RefreshPage();
  TStrings* items = folderListBox_->Items();
  items->BeginUpdate();
  items->Clear();
  for (const std::string& name : ExistingProgramFolders()) items->Add(name);
  items->EndUpdate();

  std::string folder;
  if (TMainLinkGroup* group = MainLinkGroup();
      group && group->DestDirType() && group->DestDirType()->Is<TpsProgramMenu>())
    folder = LastPathComponent(group->DestDir());
  if (folder.empty() && items->Count() > 0) folder = items->Strings(0);
  // Through the edit's change step: the folder shown is the folder used.
  folderEdit_->SetText(folder);
}

void TSelectFolderForm::FolderEditChange(TObject*) {
  TMainLinkGroup* group = MainLinkGroup();
  if (!group || !folderEdit_) return;
  group->SetDestDirType(FindPathSpecifier<TpsProgramMenu>());
  group->SetDestDir("\\" + folderEdit_->Text());
}

void TSelectFolderForm::FolderListBoxClick(TObject*) {
  if (!folderListBox_ || !folderEdit_) return;
  const int i = folderListBox_->ItemIndex();
  if (i >= 0 && i < folderListBox_->Items()->Count())
    folderEdit_->SetText(folderListBox_->Items()->Strings(i));
}

void TSelectFolderForm::FormResize(TObject*) {
  // Looked up each time: a frame sizes its pages while they are still
  // being made, before DoCreate has found anything.
  for (const Spacer& s : kSpacers)
    if (auto* label = dynamic_cast<TLabel*>(FindComponent(s.name))) label->SetHeight(s.height);
}

std::vector<std::string> ExistingProgramFolders() {
  std::vector<std::string> names;
  const uint8_t kind = WindowsPlatform();
  // Win32s and Windows NT 3.5x keep program groups in the Program Manager;
  // asking it over DDE comes with the Program Manager groups, so these
  // systems list nothing for now.
  if (kind != kPlatformKindWin95 && kind != kPlatformKindNT) return names;
  platform::FileSystem& fs = platform::files();
  const std::string programs = ProgramsMenuDir();
  // A fresh profile may not have the folder yet: then there is nothing to
  // choose from, which is no error.
  if (programs.empty() || !fs.DirectoryExists(programs)) return names;
  for (const platform::DirEntry& e : fs.FindFiles(programs + "\\*.*"))
    if (e.IsDirectory() && e.name != "." && e.name != "..") names.push_back(e.name);
  return names;
}

std::string LastPathComponent(const std::string& path) {
  size_t end = path.size();
  while (end > 0 && path[end - 1] == '\\') --end;
  if (end == 0) return {};
  const size_t slash = path.rfind('\\', end - 1);
  const size_t begin = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(begin, end - begin);
}
