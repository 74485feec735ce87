#pragma once

#include <functional>
#include <string>

#include "framework/Component.h"

namespace platform {
class FolderBrowserHost;
}

class TOpenFolderDialog;

// Before the create button makes a folder: setting `allow` to false stops
// it.
using TOFDCreateFolderEvent = std::function<void(TObject* Sender, bool& allow)>;

// The create-folder button the dialog adds to the browser, as the dialog
// drives it; the widgetset owns its window. Only meaningful while the
// browser is open (Attach'ed); otherwise every call does nothing.
class TOFDCreateButton : public TComponent {
  PELLMORE_CLASS(TOFDCreateButton, TComponent)

 public:
  explicit TOFDCreateButton(TComponent* owner) : TComponent(owner) {}
  void Attach(platform::FolderBrowserHost* host) noexcept { host_ = host; }
  // Shown exactly when the browser's OK button is enabled.
  void FollowOkButton();
  // Makes a folder (the typed missing path, or a named one below the
  // selection), notes it in the dialog and clicks OK. Raises what creating
  // the directory raises.
  void Click();

 private:
  TOpenFolderDialog& Dialog() const;
  platform::FolderBrowserHost* host_ = nullptr;
};

// The path edit the dialog adds below the browser's tree.
class TOFDPathEdit : public TComponent {
  PELLMORE_CLASS(TOFDPathEdit, TComponent)

 public:
  explicit TOFDPathEdit(TComponent* owner) : TComponent(owner) {}
  void Attach(platform::FolderBrowserHost* host) noexcept { host_ = host; }
  std::string Text() const;
  // Shows `text` without treating it as typed.
  void SetText(const std::string& text);
  // A key was released: the typed path is selected in the tree (when the
  // tree has it) and becomes the dialog's path.
  void KeyUp(const std::string& text);
  // True while KeyUp selects: the selection change is the typing's own.
  bool Selecting() const noexcept { return selecting_; }

 private:
  TOpenFolderDialog& Dialog() const;
  platform::FolderBrowserHost* host_ = nullptr;
  bool selecting_ = false;
};

// TOpenFolderDialog: the operating system's folder browser with a
// create-folder button and a path edit of its own. It opens on the
// deepest existing directory of Path and, when the user confirms, leaves
// the chosen directory (created when it did not exist) in Path.
//
// On Windows it is the system browser, extended in place; on the headless
// widgetset it is a modal form "FolderBrowser" that a UI script answers:
// `type PathEdit DIR` (typing a path), `press CreateBtn` (make a folder),
// `press OK` / `press Cancel`. The widgetset makes the windows
// (platform::Widgetset::BrowseForFolder); this unit decides what they do.
class TOpenFolderDialog : public TComponent {
  PELLMORE_CLASS(TOpenFolderDialog, TComponent)

 public:
  explicit TOpenFolderDialog(TComponent* owner);

  // The directory to start from; after a confirmed Execute, the chosen one.
  const std::string& Path() const noexcept { return path_; }
  void SetPath(std::string v) { path_ = std::move(v); }

  // Shows the browser over the active window. True when the user confirmed
  // a directory (then in Path, existing); false when they cancelled (Path
  // as it was; a folder made with the create button stays). A confirm
  // without any path is a cancel. Raises what creating a directory raises.
  bool Execute();

  const TOFDCreateFolderEvent& OnCreateFolder() const noexcept { return onCreateFolder_; }
  void SetOnCreateFolder(TOFDCreateFolderEvent e) { onCreateFolder_ = std::move(e); }

  // The directory the browser first selects for `path`: the deepest
  // existing one (the last "\" component stripped until a directory
  // exists), without a trailing backslash when longer than 3 characters and
  // with one otherwise ("C:\"); empty for a blank path or when nothing on
  // it exists.
  static std::string InitialDirectory(const std::string& path);

  // The texts the browser shows: the system's where the widgetset has them,
  // else the translated English ones ("Select a folder", "New Folder",
  // "Folder name:").
  static std::string TitleText();
  static std::string CreateCaptionText();
  static std::string NewFolderPromptText();

  // While the browser is open: the path as last selected or typed.
  const std::string& WorkingPath() const noexcept { return working_; }
  void SetWorkingPath(std::string v) { working_ = std::move(v); }
  void NoteCreatedFolder() noexcept { created_ = true; }
  TOFDCreateButton& CreateButton() const noexcept { return *createButton_; }
  TOFDPathEdit& PathEdit() const noexcept { return *pathEdit_; }

 private:
  class Round;
  std::string path_;
  std::string working_;
  bool created_ = false;
  TOFDCreateFolderEvent onCreateFolder_;
  TOFDCreateButton* createButton_;
  TOFDPathEdit* pathEdit_;
};
