// The installer's start-up (see cmp_TInstall.h): the command-line
// switches, Loaded with its checks, the initial install type and the mode
// selection, the main form's activation hook, and the entry points of the
// modes whose work lives elsewhere (run, build in InstallBuild.cpp,
// floppies, resume).
#include <algorithm>
#include <memory>

#include "framework/StrUtils.h"
#include "install/BuildInf.h"
#include "install/InstallErrors.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "shell/routines_Strings.h"

namespace {

constexpr const char* kSwitchLetters = "bfdersc";
// BUILD.INF names one directory on its first line; nothing beyond this
// much of the file is ever needed.
constexpr size_t kBuildInfLimit = 64 * 1024;

std::string ReadTextHead(const std::string& path, size_t limit) {
  std::unique_ptr<platform::File> f = platform::files().OpenRead(path);
  std::string text;
  char buffer[4096];
  while (text.size() < limit) {
    const size_t n = f->Read(buffer, std::min(sizeof buffer, limit - text.size()));
    if (n == 0) break;
    text.append(buffer, n);
  }
  return text;
}

}  // namespace

int TCustomInstall::SwitchIndex(char letter) noexcept {
  if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
  for (int i = 0; kSwitchLetters[i]; ++i)
    if (kSwitchLetters[i] == letter) return i;
  return -1;
}

bool TCustomInstall::HasSwitch(char letter) const noexcept {
  const int i = SwitchIndex(letter);
  return i >= 0 && switches_[static_cast<size_t>(i)].given;
}

const std::string& TCustomInstall::SwitchText(char letter) const noexcept {
  static const std::string none;
  const int i = SwitchIndex(letter);
  return i >= 0 ? switches_[static_cast<size_t>(i)].text : none;
}

std::string TCustomInstall::RunningProgramFile() const {
  return platform::system().ModuleFileName();
}

void TCustomInstall::ParseCommandLine() {
  for (SwitchState& s : switches_) s = SwitchState{};
  const std::vector<std::string> args = platform::system().Arguments();
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const int index = arg.size() >= 2 && arg[0] == '-' ? SwitchIndex(arg[1]) : -1;
    if (index < 0)
      throw IException(
          "Invalid parameter <%s>. Valid command line parameters are: -b (Build), -d (Debug), -f "
          "(Transfer to floppies), -e (Called by self-extractor), -r (After reboot)",
          arg);
    switches_[static_cast<size_t>(index)] = SwitchState{true, arg.substr(2)};
  }
}

void TCustomInstall::Loaded() {
  TFileContainer::Loaded();
  if (InState(csDesigning)) return;

  // A stored distribution type that needs a net location cannot work
  // without one; say so now rather than in the middle of the run.
  if (distributeType_ != dtTraditional && !NetLocation())
    throw IEInstallNetLocNil(
        "Must assign a net location via the NetLocation property before you can set the "
        "distribute type");

  ParseCommandLine();
  if (HasSwitch('d') && (!HasSwitch('s') || Trim(SwitchText('s')).empty()))
    throw IEInstall(
        "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d "
        "\"-sC:\\My Build\"");

  sourceDirectory_ =
      HasSwitch('s') ? SwitchText('s') : RemoveBackslash(ExtractFilePath(RunningProgramFile()));
  installKey_ = FindInstallKey(false);
  LookupLocalArchive();

  mainForm_ = Application().MainForm();
  if (!mainForm_ && Owner() && Owner()->Is<TCustomForm>())
    mainForm_ = static_cast<TCustomForm*>(Owner());
  if (!mainForm_ && runAutomatic_)
    throw IEInstall(
        "Application.MainForm is undefined and the TInstall is not on a form. Therefore, "
        "therefore the TInstall can't run the installation automatically");
  if (mainForm_) mainForm_->FreeNotification(this);

  SelectInitialInstallType();
  SelectMode();
}

void TCustomInstall::SelectInitialInstallType() {
  SetInstallType(itAlways);
  const TInstallTypeSet types = InstallTypes();
  for (TInstallType t : {itDefault, itCompact, itFull, itCustom}) {
    if (types.Contains(t)) {
      SetInstallType(t);
      return;
    }
  }
}

void TCustomInstall::SelectMode() {
  if (HasSwitch('b'))
    BuildFromBuildInf();
  else if (HasSwitch('f'))
    TransferToFloppies("a:");
  else if (HasSwitch('r'))
    ResumeAfterReboot();
  else if (mainForm_)
    HookMainForm();
}

void TCustomInstall::HookMainForm() {
  if (mainForm_->Is<TForm>()) {
    savedOnActivate_ = mainForm_->OnActivate;
    mainForm_->OnActivate = [this](TObject* Sender) { FormActivated(Sender); };
    hookInstalled_ = true;
  }
  // Off screen while still active, so the run's dialogs own the screen.
  if (hideMainForm_) {
    const int w = mainForm_->Width();
    const int h = mainForm_->Height();
    mainForm_->SetBounds(-2 * w, -2 * h, w, h);
  }
}

void TCustomInstall::FormActivated(TObject* Sender) {
  if (activated_) return;
  if (savedOnActivate_) savedOnActivate_(mainForm_ ? static_cast<TObject*>(mainForm_) : Sender);
  activated_ = true;
  if (autoMaximizeWindow_ && mainForm_) {
    mainForm_->SetWindowState(wsMaximized);
    mainForm_->Repaint();
  }
  if (!runAutomatic_) return;
  if (mainForm_ && !mainForm_->InState(csDestroying) && savedOnActivate_ &&
      mainForm_->Is<TForm>()) {
    mainForm_->OnActivate = savedOnActivate_;
    hookInstalled_ = false;
  }
  Process();
}

// --- modes -----------------------------------------------------------------------------

template <class F>
void TCustomInstall::RunAndTerminate(F&& work) {
  bool ok = false;
  std::string failure;
  try {
    work();
    ok = true;
  } catch (const Exception& e) {
    failure = e.Message();
  } catch (const std::exception& e) {
    failure = e.what();
  }
  SetInstallOutcome(ok ? ioFinished : ioFailed);
  if (!ok) {
    try {
      Application().MessageBox(failure, Application().Title(), MB_OK);
    } catch (...) {
      // Nothing is left to show the message with; the outcome still says it.
    }
  }
  Application().Terminate();
}

void TCustomInstall::BuildFromBuildInf() {
  RunAndTerminate([this] {
    const std::string program = RunningProgramFile();
    const std::string inf = ExtractFilePath(program) + "BUILD.INF";
    if (!platform::files().FileExists(inf))
      throw IEInstall(
          "Need to have a BUILD.INF file in this directory with the first line specifying the "
          "build directory");
    Build(BuildInfFirstLine(ReadTextHead(inf, kBuildInfLimit)), program, true);
  });
}
