// TOpenFolderDialog (see dlgcmp_TOpenFolderDialog.h): the initial
// selection, the path edit, the create button and the browse-again loop.
#include "dialogs/dlgcmp_TOpenFolderDialog.h"

#include "framework/Dialogs.h"
#include "framework/Exception.h"
#include "framework/Format.h"
#include "framework/StrUtils.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"
#include "i18n/cmp_TTranslator.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace {

// The system string, or the English text through the translator's tables
// (which translate by matching the English text).
std::string SystemText(std::string_view library, unsigned id, const char* english) {
  std::string text = CurrentWidgetset().SystemString(library, id);
  return text.empty() ? TranslateFromEnglish(english) : text;
}

bool IsDriveSpec(const std::string& p) {
  return p.size() == 2 && p[1] == ':';
}

bool IsDirectory(const std::string& p) {
  return platform::files().DirectoryExists(IsDriveSpec(p) ? p + "\\" : p);
}

// `base` and `name` with one backslash between them.
std::string JoinPath(const std::string& base, const std::string& name) {
  if (!base.empty() && base.back() == '\\') return base + name;
  return base + "\\" + name;
}

}  // namespace

// One showing of the browser: the callbacks of steps 2 to 5.
class TOpenFolderDialog::Round : public platform::FolderBrowserClient {
 public:
  Round(TOpenFolderDialog& dialog, std::string start) : dialog_(dialog), start_(std::move(start)) {}

  void Initialized(platform::FolderBrowserHost& host) override {
    Attach(&host);
    const std::string initial = InitialDirectory(start_);
    if (!initial.empty()) host.Select(initial);
    dialog_.CreateButton().FollowOkButton();
  }
  void SelectionChanged(platform::FolderBrowserHost& host, const std::string& path) override {
    Attach(&host);
    if (!dialog_.PathEdit().Selecting()) {
      dialog_.SetWorkingPath(path);
      dialog_.PathEdit().SetText(path);
    }
    dialog_.CreateButton().FollowOkButton();
  }
  void PathTyped(platform::FolderBrowserHost& host, const std::string& text) override {
    Attach(&host);
    dialog_.PathEdit().KeyUp(text);
  }
  void CreateClicked(platform::FolderBrowserHost& host) override {
    Attach(&host);
    dialog_.CreateButton().Click();
  }
  ~Round() override { Attach(nullptr); }

 private:
  void Attach(platform::FolderBrowserHost* host) {
    dialog_.CreateButton().Attach(host);
    dialog_.PathEdit().Attach(host);
  }
  TOpenFolderDialog& dialog_;
  std::string start_;
};

TOpenFolderDialog& TOFDCreateButton::Dialog() const {
  return static_cast<TOpenFolderDialog&>(*Owner());
}

void TOFDCreateButton::FollowOkButton() {
  if (host_) host_->SetCreateVisible(host_->OkEnabled());
}

void TOFDCreateButton::Click() {
  if (!host_) return;
  TOpenFolderDialog& dialog = Dialog();
  bool allow = true;
  if (dialog.OnCreateFolder()) dialog.OnCreateFolder()(&dialog, allow);
  if (!allow) return;

  const std::string typed = Trim(host_->PathText());
  std::string target;
  if (!typed.empty() && !IsDirectory(typed)) {
    target = typed;
  } else {
    // A name below the selected (or typed, existing) folder. Without a
    // folder to put it in there is nothing to create; a blank name is
    // taken as a change of mind.
    const std::string base = Trim(dialog.WorkingPath());
    if (base.empty()) return;
    std::string name;
    if (!InputQuery(TOpenFolderDialog::CreateCaptionText(),
                    TOpenFolderDialog::NewFolderPromptText(), name))
      return;
    name = Trim(name);
    if (name.empty()) return;
    target = JoinPath(base, name);
  }
  platform::files().CreateDirectories(target);
  dialog.SetWorkingPath(target);
  dialog.NoteCreatedFolder();
  host_->ClickOk();
}

TOpenFolderDialog& TOFDPathEdit::Dialog() const {
  return static_cast<TOpenFolderDialog&>(*Owner());
}

std::string TOFDPathEdit::Text() const {
  return host_ ? host_->PathText() : std::string();
}

void TOFDPathEdit::SetText(const std::string& text) {
  if (host_) host_->SetPathText(text);
}

void TOFDPathEdit::KeyUp(const std::string& text) {
  if (!host_) return;
  selecting_ = true;
  try {
    host_->Select(text);
  } catch (...) {
    selecting_ = false;
    throw;
  }
  selecting_ = false;
  Dialog().SetWorkingPath(text);
}

TOpenFolderDialog::TOpenFolderDialog(TComponent* owner)
    : TComponent(owner),
      createButton_(new TOFDCreateButton(this)),
      pathEdit_(new TOFDPathEdit(this)) {}

std::string TOpenFolderDialog::InitialDirectory(const std::string& path) {
  std::string dir = Trim(path);
  while (dir.size() > 3 && dir.back() == '\\') dir.pop_back();
  while (!dir.empty() && !IsDirectory(dir)) {
    const size_t cut = dir.rfind('\\');
    dir = cut == std::string::npos ? std::string() : dir.substr(0, cut);
  }
  if (dir.empty()) return dir;
  if (dir.size() > 3) {
    if (dir.back() == '\\') dir.pop_back();
  } else if (dir.back() != '\\') {
    dir += '\\';
  }
  return dir;
}

std::string TOpenFolderDialog::TitleText() {
  const std::string text = SystemText("shell32.dll", 9248, "Select a folder");
  // The system text is a format without arguments; one that wants
  // arguments is shown as it is rather than failing the browser.
  try {
    return Format(text);
  } catch (const Exception&) {
    return text;
  }
}

std::string TOpenFolderDialog::CreateCaptionText() {
  return SystemText("comdlg32.dll", 703, "New Folder");
}

std::string TOpenFolderDialog::NewFolderPromptText() {
  return SystemText("shell32.dll", 8977, "Folder name:");
}

bool TOpenFolderDialog::Execute() {
  const platform::FolderBrowserRequest request{TitleText(), CreateCaptionText()};
  std::string start = path_;
  for (;;) {
    working_.clear();
    created_ = false;
    bool confirmed = false;
    {
      Round round(*this, start);
      confirmed = CurrentWidgetset().BrowseForFolder(request, round);
    }
    if (!confirmed) return false;
    // A folder made with the create button: browse again from it.
    if (created_) {
      start = working_;
      continue;
    }
    const std::string chosen = Trim(working_);
    if (chosen.empty()) return false;
    if (!IsDirectory(chosen)) platform::files().CreateDirectories(chosen);
    path_ = chosen;
    return true;
  }
}
