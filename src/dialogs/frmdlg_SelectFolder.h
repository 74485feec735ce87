#pragma once

#include <string>
#include <vector>

#include "dialogs/WizardPage.h"

class TEdit;
class TListBox;

// TSelectFolderForm: the page that chooses the program's folder in the
// start menu. It lists the folders that exist there, and whatever the
// folder edit holds becomes the main link group's folder at once, so Back
// and Next need no commit step.
class TSelectFolderForm : public TWizardPageForm {
  PELLMORE_CLASS(TSelectFolderForm, TWizardPageForm)

 public:
  // A page of dmBeforeInstall at Order 60.
  explicit TSelectFolderForm(TComponent* owner);

  // Passed over when the program has no main link group.
  bool SkipPage() override;
  // The common button step; the list of existing folders; the edit shows
  // the main group's folder (the last component of its DestDir when it
  // resolves through a program-menu specifier), else the first existing
  // folder. Showing a folder in the edit makes it the group's folder.
  void RefreshPage() override;

  // Handlers: a change of the edit goes to the main group; a click on a
  // list item copies it into the edit; a resize puts the spacers back.
  void FolderEditChange(TObject* Sender);
  void FolderListBoxClick(TObject* Sender);
  void FormResize(TObject* Sender);

  TEdit* FolderEdit() const noexcept { return folderEdit_; }
  TListBox* FolderListBox() const noexcept { return folderListBox_; }

 protected:
  void DoCreate() override;

 private:
  TEdit* folderEdit_ = nullptr;
  TListBox* folderListBox_ = nullptr;
};

// The program folders that exist in the start menu: on the Windows 95
// family and Windows NT 4 or later the names of the subdirectories of the
// Programs folder (files, "." and ".." left out; a missing Programs
// folder gives none). Older systems keep their groups in the Program
// Manager, which is not asked yet: there the list is empty.
std::vector<std::string> ExistingProgramFolders();

// The last component of a DestDir ("\Quenby\Engine" gives "Engine"),
// trailing backslashes ignored.
std::string LastPathComponent(const std::string& path);
