// The folder browser without a screen: a modal form "FolderBrowser" (the
// caption is the browser's title) that a UI script answers like any other.
// The selected folder shows in the label `Selection`, its subfolders in the
// list `Folders` (picking one selects it), the path edit is `PathEdit`
// (each typed text is a key release), the buttons are `CreateBtn`, `OK`
// (enabled exactly when a folder is selected) and `Cancel`. The file
// system is the platform's, so the simulated machine's folders are shown.
#include <algorithm>
#include <exception>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessWidgetset.h"

namespace platform::headless {
namespace {

bool SamePath(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
         });
}

// The folder as the browser reports it: a drive's root with its backslash,
// any other folder without one; empty when `path` names no folder.
std::string FolderPath(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  if (path.size() == 2 && path[1] == ':') path += '\\';
  if (path.empty() || !files().DirectoryExists(path)) return {};
  return path;
}

class Browser : public FolderBrowserHost {
 public:
  Browser(const FolderBrowserRequest& request, FolderBrowserClient& client)
      : client_(client), form_(new TForm(nullptr)) {
    TForm& f = *form_;
    f.SetName("FolderBrowser");
    f.SetBorderStyle(bsDialog);
    f.SetPosition(poScreenCenter);
    f.SetCaption(request.title);
    f.Font()->SetName("MS Sans Serif");
    f.Font()->SetHeight(-11);
    f.SetClientWidth(320);
    f.SetClientHeight(330);

    selection_ = Add<TLabel>("Selection", 12, 10, 296, 14);
    folders_ = Add<TListBox>("Folders", 12, 28, 296, 180);
    folders_->SetSorted(true);
    folders_->OnClick = [this](TObject*) {
      const int i = folders_->ItemIndex();
      if (i < 0 || selected_.empty()) return;
      const std::string sub = (*folders_->Items())[i];
      Guard([&] { Select(selected_.back() == '\\' ? selected_ + sub : selected_ + "\\" + sub); });
    };
    pathEdit_ = Add<TEdit>("PathEdit", 12, 223, 296, 21);
    pathEdit_->OnChange = [this](TObject*) {
      if (settingText_) return;
      Guard([&] { client_.PathTyped(*this, pathEdit_->Text()); });
    };
    create_ = Add<TButton>("CreateBtn", 12, 262, 130, 25);
    create_->SetCaption(request.createCaption);
    create_->OnClick = [this](TObject*) { Guard([&] { client_.CreateClicked(*this); }); };
    ok_ = Add<TButton>("OK", 152, 295, 75, 25);
    ok_->SetCaption("OK");
    ok_->SetDefault(true);
    ok_->SetModalResult(mrOk);
    ok_->SetEnabled(false);
    cancel_ = Add<TButton>("Cancel", 233, 295, 75, 25);
    cancel_->SetCaption("Cancel");
    cancel_->SetCancel(true);
    cancel_->SetModalResult(mrCancel);
    f.SetActiveControl(folders_);
  }

  bool Run() {
    Guard([&] { client_.Initialized(*this); });
    const TModalResult result = error_ ? mrCancel : form_->ShowModal();
    if (error_) std::rethrow_exception(error_);
    return result == mrOk;
  }

  void Select(const std::string& path) override {
    const std::string folder = FolderPath(path);
    if (folder.empty() || (!selected_.empty() && SamePath(folder, selected_))) return;
    selected_ = folder;
    selection_->SetCaption(folder);
    folders_->Items()->Clear();
    for (const DirEntry& e :
         files().FindFiles(folder.back() == '\\' ? folder + "*.*" : folder + "\\*.*")) {
      if (e.IsDirectory() && e.name != "." && e.name != "..") folders_->Items()->Add(e.name);
    }
    ok_->SetEnabled(true);
    client_.SelectionChanged(*this, folder);
  }
  std::string PathText() override { return pathEdit_->Text(); }
  void SetPathText(const std::string& text) override {
    settingText_ = true;
    pathEdit_->SetText(text);
    settingText_ = false;
  }
  void SetCreateVisible(bool visible) override { create_->SetVisible(visible); }
  bool OkEnabled() override { return ok_->Enabled(); }
  void ClickOk() override { ok_->Click(); }

 private:
  template <class C>
  C* Add(const char* name, int left, int top, int width, int height) {
    auto* c = new C(form_.get());
    c->SetName(name);
    c->SetParent(form_.get());
    c->SetBounds(left, top, width, height);
    return c;
  }
  // Runs a client call from a control's event; an exception closes the
  // browser and is raised again by Run. Calls made from within a client
  // call (Select reporting a change) pass theirs on to the outer one.
  template <class F>
  void Guard(F&& fn) {
    if (inClient_) {
      fn();
      return;
    }
    inClient_ = true;
    try {
      fn();
    } catch (...) {
      if (!error_) error_ = std::current_exception();
      form_->SetModalResult(mrCancel);
    }
    inClient_ = false;
  }

  FolderBrowserClient& client_;
  Owned<TForm> form_;
  TLabel* selection_ = nullptr;
  TListBox* folders_ = nullptr;
  TEdit* pathEdit_ = nullptr;
  TButton* create_ = nullptr;
  TButton* ok_ = nullptr;
  TButton* cancel_ = nullptr;
  std::string selected_;
  bool settingText_ = false;
  bool inClient_ = false;
  std::exception_ptr error_;
};

}  // namespace

bool HeadlessWidgetset::BrowseForFolder(const FolderBrowserRequest& request,
                                        FolderBrowserClient& client) {
  Browser browser(request, client);
  return browser.Run();
}

}  // namespace platform::headless
