// TOpenFolderDialog: the operating system's folder browser with a
// create-folder button and a path edit of its own. It opens on the
// deepest existing directory of Path and, when the user confirms, leaves
// the chosen directory (created when it did not exist) in Path.
//
// On Windows it is the system browser, extended in place; on the headless
// widgetset it is a modal form "FolderBrowser" that a UI script answers:
// `type PathEdit DIR` (typing a path), `press CreateBtn` (make a folder),
// `press OK` / `press Cancel`.
#pragma once

#include <functional>
#include <string>

#include "framework/Component.h"

// Before the create button makes a folder: setting `allow` to false stops
// it.
using TOFDCreateFolderEvent = std::function<void(TObject* Sender, bool& allow)>;

class TOpenFolderDialog : public TComponent {
  PELLMORE_CLASS(TOpenFolderDialog, TComponent)

 public:
  explicit TOpenFolderDialog(TComponent* owner);

  // The directory to start from; after a confirmed Execute, the chosen one.
  const std::string& Path() const noexcept { return path_; }
  void SetPath(std::string v) { path_ = std::move(v); }

  // Shows the browser over the active window. True when the user confirmed
  // a directory (then in Path, existing); false when they cancelled.
  bool Execute();

  const TOFDCreateFolderEvent& OnCreateFolder() const noexcept { return onCreateFolder_; }
  void SetOnCreateFolder(TOFDCreateFolderEvent e) { onCreateFolder_ = std::move(e); }

 private:
  std::string path_;
  TOFDCreateFolderEvent onCreateFolder_;
};
