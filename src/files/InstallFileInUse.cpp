// Replacing a destination that another program holds: the complete new copy
// takes the first free numbered name beside it (".1", ".2" ...), and its
// move onto the held file is scheduled for the next restart: WININIT.INI on
// the 95 family, a delayed move on NT kinds, and when the system refuses
// that, a batch file run once at the next start.
#include "files/cmp_TInstallFile.h"
#include "framework/StrUtils.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/IniFiles.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "platform/Restart.h"
#include "platform/SystemInfo.h"
#include "shell/routines_API.h"
#include "shell/routines_Registry.h"

namespace {

constexpr const char* kMsgCannotScheduleMove =
    "%s cannot register a routine in the register to move the files after the computer is "
    "reboot";

// More numbered copies of one file than this means something else is
// wrong; the search stops rather than run on.
constexpr int kMaxNumberedNames = 999;

// A path for a batch line or a command: quoted, as NT's command interpreter
// splits unquoted paths at blanks.
std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

}  // namespace

bool TCustomInstallFile::DestinationInUse(const std::string& destDir, std::string& name) {
  platform::FileSystem& fs = platform::files();
  for (int k = 1; k <= kMaxNumberedNames; ++k) {
    const std::string candidate = ChangeFileExt(destName_, "." + std::to_string(k));
    if (fs.FileExists(destDir + "\\" + candidate)) continue;
    replacePending_ = true;
    replacedName_ = destName_;
    destName_ = candidate;
    name = candidate;
    return true;
  }
  return false;
}

std::string TCustomInstallFile::FinalPath() {
  return ResolveDestDir() + "\\" + (replacePending_ ? replacedName_ : destName_);
}

void TCustomInstallFile::ScheduleReplacement(const std::string& destDir) {
  const std::string held = destDir + "\\" + replacedName_;
  const std::string numbered = destDir + "\\" + destName_;
  TCustomInstall* installer = Installer();
  try {
    const std::string shortHeld = platform::system().ShortPathName(held);
    const std::string shortNumbered = ExtractFilePath(shortHeld) + destName_;
    if (platform::system().Version().platformId == platform::kPlatformWindows) {
      platform::iniFiles().WriteString("WININIT.INI", "Rename", shortHeld, shortNumbered);
    } else {
      try {
        platform::restart().MoveAtRestart(numbered, held);
      } catch (const platform::OsError&) {
        // Without an installer there is no start-up run to hand a batch
        // file to: the copy would wait for a move nobody makes.
        if (!installer) throw IECustomInstallFile(kMsgCannotScheduleMove, Name());
        WriteReplacementBatch(shortHeld, shortNumbered);
      }
    }
  } catch (...) {
    // Nothing was scheduled: the numbered copy goes, the held file stays.
    try {
      platform::files().DeleteFile(numbered);
    } catch (const platform::OsError&) {
      // Left behind; the error below is what counts.
    }
    destName_ = replacedName_;
    replacePending_ = false;
    throw;
  }
  if (installer) installer->SetReboot(true);
}

void TCustomInstallFile::WriteReplacementBatch(const std::string& shortHeld,
                                               const std::string& shortNumbered) {
  platform::FileSystem& fs = platform::files();
  // A fresh temporary name, given the ".bat" extension the command
  // interpreter needs.
  std::string batch;
  for (int attempt = 0; attempt < 16 && batch.empty(); ++attempt) {
    const std::string candidate = ChangeFileExt(TempFileName(false), ".bat");
    if (!fs.FileExists(candidate)) batch = candidate;
  }
  if (batch.empty()) throw IECustomInstallFile(kMsgCannotScheduleMove, Name());
  const std::string text = "erase " + Quoted(shortHeld) + "\r\nmove " + Quoted(shortNumbered) +
                           " " + Quoted(shortHeld) + "\r\n";
  try {
    auto file = fs.Create(batch);
    file->Write(text.data(), text.size());
    file->Close();
  } catch (const platform::OsError&) {
    throw IECustomInstallFile(kMsgCannotScheduleMove, Name());
  }
  Installer()->AddUnfinished(batch, 1);
  const std::string command = batch.find(' ') == std::string::npos ? batch : Quoted(batch);
  if (!WriteRunOnce("PellmoreBatFile", command, true))
    throw IECustomInstallFile(kMsgCannotScheduleMove, Name());
}
