// The parts of the installation run's tests that work on both builds:
// stand-ins for an install file (post-install program, registration that
// may fail, unfinished entries, restart requests) and for a dialog that
// acts on a component call, a transcript of every message shown, and the
// run started the way the main form's activation starts it (errors go to
// the application's handler, which is the installer's).
#pragma once

#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "InstallFixture.h"
#include "framework/WidgetsetSlot.h"
#include "install/InstallErrors.h"
#include "install/InstallLists.h"
#include "install/RetryList.h"
#include "platform/Registry.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "shell/routines_Registry.h"

namespace runtest {

using installtest::InstallTest;

inline const TDateTime kProgramDate = 36526.5;  // 2000-01-01 12:00
inline const std::string kInstallParent = "\\SOFTWARE\\Pellmore\\Install";
inline const std::string kRunOnceKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// An install file as the run sees it: installing it may defer a failed
// registration, add an unfinished entry or ask for a restart.
class TRunFile : public TFileRelated {
  PELLMORE_CLASS(TRunFile, TFileRelated)

 public:
  explicit TRunFile(TComponent* owner) : TFileRelated(owner) { CustomInstallFileList().Add(this); }
  ~TRunFile() override {
    CustomInstallFileList().Remove(this);
    RemoveFromRetryList(this);
  }
  int RegisteredType() const override { return kRegisteredInstallFile; }
  bool StartsAfterInstall() const override { return RunAfterInstall; }
  std::string InstalledPath() override { return Path; }
  void InstallObjects() override {
    TFileRelated::InstallObjects();
    if (RegistrationFails) {
      if (!RegistrationFailuresDeferred()) throw IEInstall("registration of %s failed", Name());
      AddToRetryList(this);
    }
    if (LeaveUnfinished) Installer()->AddUnfinished(Name(), 0);
    if (NeedsRestart) Installer()->SetReboot(true);
  }
  void RetryRegistration() override {
    ++Retries;
    if (RetryFails) throw IEInstall("registration of %s failed again", Name());
  }
  void ContinueAfterReboot() override { ++Continued; }

  bool RunAfterInstall = false;
  std::string Path;
  bool RegistrationFails = false;
  bool RetryFails = false;
  bool LeaveUnfinished = false;
  bool NeedsRestart = false;
  int Retries = 0;
  int Continued = 0;
};

// A dialog-type child that records the calls it hears and lets a test act
// on one (a page that cancels, a reboot page that declines).
class TRunDialog : public TInstallObject {
  PELLMORE_CLASS(TRunDialog, TInstallObject)

 public:
  using TInstallObject::TInstallObject;
  int RegisteredType() const override { return kRegisteredDialog; }
  void HandleComponentCall(TObject*, int call, TObject*) override {
    Calls.push_back(call);
    if (OnCall) OnCall(call);
  }
  bool Heard(int call) const { return std::find(Calls.begin(), Calls.end(), call) != Calls.end(); }
  std::vector<int> Calls;
  std::function<void(int call)> OnCall;
};

// An installer on a form with a recording dialog, the messages shown and
// the kit's registry keys as the run leaves them.
class RunBase : public InstallTest {
 protected:
  RunBase() {
    platform::headless::HeadlessOptions options;
    options.transcript = [this](std::string_view line) { transcript_.emplace_back(line); };
    InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>(options));
  }
  ~RunBase() override { form_.reset(); }

  // Takes over a freshly read or built form holding the installer
  // "Install1" and gives the installer a dialog.
  TInstall* Adopt(TForm* form) {
    form_.reset(form);
    install_ = static_cast<TInstall*>(form_->FindComponent("Install1"));
    dialog_ = New<TRunDialog>(form_.get(), "Dialog");
    dialog_->SetContainer(install_);
    return install_;
  }
  TRunFile* AddFile(const std::string& name) {
    auto* file = New<TRunFile>(form_.get(), name);
    file->SetContainer(install_);
    return file;
  }
  // The run as the activation starts it.
  void StartRun() {
    try {
      install_->Process();
    } catch (...) {
      Application().HandleException(install_);
    }
  }

  platform::Registry& Reg() { return platform::registry(); }
  std::vector<std::string> InstallKeys() {
    return Reg().KeyExists(platform::RootKey::LocalMachine, kInstallParent)
               ? Reg().SubKeyNames(platform::RootKey::LocalMachine, kInstallParent)
               : std::vector<std::string>{};
  }
  std::vector<std::string> RunOnceValues() {
    return Reg().KeyExists(platform::RootKey::LocalMachine, kRunOnceKey)
               ? Reg().ValueNames(platform::RootKey::LocalMachine, kRunOnceKey)
               : std::vector<std::string>{};
  }
  // Transcript lines of an event ("error", "message") holding `text`.
  int Shown(const std::string& event, const std::string& text) const {
    int n = 0;
    for (const std::string& line : transcript_)
      n += line.find("\"event\":\"" + event + "\"") != std::string::npos &&
           line.find(text) != std::string::npos;
    return n;
  }

  Owned<TForm> form_;
  TInstall* install_ = nullptr;
  TRunDialog* dialog_ = nullptr;
  std::vector<std::string> transcript_;
};

}  // namespace runtest
