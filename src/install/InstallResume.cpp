// The -r run after a restart (see cmp_TInstall.h): the translator's
// language comes back from the bookkeeping key, every unfinished entry is
// completed (kind 0: the object's ContinueAfterReboot; kind 1: delete the
// file) and the run ends as a good installation.
#include "framework/StrUtils.h"
#include "i18n/cmp_TTranslator.h"
#include "install/InstallErrors.h"
#include "install/InstallLists.h"
#include "install/cmp_TInstall.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"

namespace {

enum : int32_t { kContinueObject = 0, kDeleteFile = 1 };

void DeleteLeftover(const std::string& path) {
  platform::FileSystem& fs = platform::files();
  try {
    if (fs.FileExists(path)) fs.DeleteFile(path);
  } catch (const Exception&) {
    // A leftover that refuses to go does not undo what the restart
    // completed; the rest of the list still has to be finished.
  }
}

void ContinueObjects(const std::string& name) {
  // ContinueAfterReboot may create or free containers: walk a snapshot and
  // skip members that have gone meanwhile.
  for (TInstallContainer* c : InstallContainerList().Snapshot())
    if (InstallContainerList().Contains(c) && SameText(c->Name(), name)) c->ContinueAfterReboot();
}

}  // namespace

void TCustomInstall::ResumeAfterReboot() {
  running_ = true;
  runStartTime_ = platform::clock().Now();
  TakeSetupLock();
  installKey_ = FindInstallKey(false);
  RestoreLanguage();

  // Cleared before the work: an entry that fails now is not retried at
  // the next start.
  TStringList entries;
  ReadUnfinished(entries);
  ClearUnfinished();

  for (int i = 0; i < entries.Count(); ++i) {
    const std::string& line = entries.Strings(i);
    const size_t first = line.find(';');
    const std::string name = line.substr(0, first);
    std::string kindText;
    if (first != std::string::npos) {
      const size_t second = line.find(';', first + 1);
      kindText = line.substr(first + 1, second == std::string::npos ? second : second - first - 1);
    }
    int32_t kind = 0;
    if (!TryStrToInt(kindText, kind))
      throw IEInstall("There is an invalid entry for the unfinished install list %s", line);
    if (kind == kDeleteFile)
      DeleteLeftover(name);
    else if (kind == kContinueObject)
      ContinueObjects(name);
    // Other kinds belong to later versions of the kit: skipped.
  }

  FinishGoodInstall();
}

void TCustomInstall::RestoreLanguage() {
  TTranslator* translator = MainTranslator();
  if (!translator || installKey_.empty()) return;
  const auto value =
      platform::registry().ReadValue(platform::RootKey::LocalMachine, installKey_, "Language");
  if (!value || value->type != platform::ValueType::DWord) return;
  // A value no language has (an edited registry) keeps the current one.
  const uint32_t ordinal = value->dword;
  if (ordinal > static_cast<uint32_t>(vlVietnamese)) return;
  translator->SetTranslateIntoLanguage(static_cast<TVrexLanguage>(ordinal));
}
