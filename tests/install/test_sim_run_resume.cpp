// The resume entry and the -r run after a restart: the RunOnce command for
// the ways the setup was started and its numbered value name; the -r run
// completing each unfinished entry by kind, refusing a malformed one with
// the whole line, restoring the language and ending as a good install.
#include "RunFixture.h"
#include "framework/ClassRegistry.h"
#include "i18n/TranslatorRegistration.h"
#include "i18n/cmp_TTranslator.h"
#include "platform/FileSystem.h"

using namespace runtest;
using platform::RootKey;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

class Resume : public RunTest {
 protected:
  Resume() {
    ClassRegistry& r = ClassRegistry::Global();
    RegisterTranslatorClasses(r);
    r.Class<TRunFile, TFileRelated>("TRunFile")
        .Prop("Container", &TRunFile::Container, &TRunFile::SetContainer);
    r.Class<TRunDialog, TInstallObject>("TRunDialog")
        .Prop("Container", &TRunDialog::Container, &TRunDialog::SetContainer);
  }

  // The bookkeeping key of this program, as the first run left it.
  std::string PrepareKey(const std::vector<std::pair<std::string, std::string>>& entries,
                         int language = -1) {
    Load("-sC:\\SRC");
    const std::string key = install_->FindInstallKey(true);
    form_.reset();
    for (const auto& [name, kind] : entries)
      WriteRegString(kRootLocalMachine, key + "\\Unfinished", name, kind);
    if (language >= 0) WriteRegInteger(kRootLocalMachine, key, "Language", language);
    return key;
  }

  // The setup started with -r: the resume runs while the form loads.
  void LoadResume(const std::string& extra = "") {
    SetCommandLine(std::string(kProgram) + " -r \"-sC:\\SRC\"");
    form_.reset(ReadForm(
        "object T: TForm\n"
        "  object MainTranslator: TTranslator\n    TranslateIntoLanguage = vlEnglish\n  end\n"
        "  object Install1: TInstall\n  end\n"
        "  object Dialog: TRunDialog\n    Container = Install1\n  end\n"
        "  object QDEFile: TRunFile\n    Container = Install1\n  end\n" +
        extra + "end\n"));
  }
  TRunFile* File(const std::string& name) {
    return static_cast<TRunFile*>(form_->FindComponent(name));
  }
  TRunDialog* Dialog() { return static_cast<TRunDialog*>(form_->FindComponent("Dialog")); }
};

TEST_F(Resume, RunOnceCommandForEachWayOfStarting) {
  struct Case {
    const char* args;
    const char* props;
    const char* command;
  };
  const Case cases[] = {
      {"-sC:\\SRC", "", "\"C:\\SETUP\\SETUP.EXE\" -r \"-sC:\\SRC\""},
      {"-sC:\\SRC -c", "", "\"C:\\SETUP\\SETUP.EXE\" -r \"-sC:\\SRC\" -c"},
      {"\"-sC:\\My Build\" -eSETUPX.EXE -c", "",
       "\"C:\\SETUP\\SETUP.EXE\" -r \"-eSETUPX.EXE\" \"-sC:\\My Build\" -c"},
      {"", "    UseLoadingProgram = False", "\"C:\\SETUP\\SETUP.EXE\" -r \"-sC:\\SETUP\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    Load(c.args, c.props);
    EXPECT_EQ(install_->RunOnceCommand(), c.command);
    form_.reset();
  }
}

TEST_F(Resume, ASecondUnfinishedSetupGetsANumberedRunOnceName) {
  WriteRegString(kRootLocalMachine, kRunOnceKey, "PellmoreUnfinished", "other setup");
  Load("-sC:\\SRC");
  AddFile("QDEFile")->LeaveUnfinished = true;
  StartRun();
  // Unfinished work alone needs the restart: the key stays for the resume.
  EXPECT_EQ(InstallOutcome(), ioRestartRequired);
  EXPECT_FALSE(dialog_->Heard(kCallReboot) || dialog_->Heard(-995));
  EXPECT_THAT(InstallKeys(), ElementsAre("Install0"));
  EXPECT_THAT(RunOnceValues(), ElementsAre("PellmoreUnfinished", "PellmoreUnfinished1"));
  EXPECT_EQ(ReadRegString(kRootLocalMachine, kRunOnceKey, "PellmoreUnfinished1", ""),
            "\"C:\\SETUP\\SETUP.EXE\" -r \"-sC:\\SRC\"");
  EXPECT_EQ(ReadRegString(kRootLocalMachine, kRunOnceKey, "PellmoreUnfinished", ""), "other setup");
}

TEST_F(Resume, CompletesEachEntryByKindAndEndsAsAGoodInstall) {
  PutFile("C:\\WINNT\\Temp\\moves.bat", "MOVE", kProgramDate);
  PrepareKey({{"qdefile", "0"},
              {"C:\\WINNT\\Temp\\moves.bat", "1"},
              {"C:\\WINNT\\Temp\\gone.bat", "1"},
              {"Future", "2"}});
  LoadResume();

  EXPECT_EQ(File("QDEFile")->Continued, 1);  // matched ignoring case
  EXPECT_FALSE(platform::files().FileExists("C:\\WINNT\\Temp\\moves.bat"));
  EXPECT_TRUE(Dialog()->Heard(-995) && Dialog()->Heard(-979));
  EXPECT_FALSE(Dialog()->Heard(-980));  // no before-install phase in this mode
  EXPECT_THAT(InstallKeys(), IsEmpty());
  EXPECT_EQ(InstallOutcome(), ioFinished);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(Installer()->Running());
}

TEST_F(Resume, EmptyListGoesStraightToTheGoodInstall) {
  PrepareKey({});
  LoadResume();
  EXPECT_EQ(File("QDEFile")->Continued, 0);
  EXPECT_TRUE(Dialog()->Heard(-995));
  EXPECT_THAT(InstallKeys(), IsEmpty());
  EXPECT_EQ(InstallOutcome(), ioFinished);
}

TEST_F(Resume, MalformedEntryStopsWithTheWholeLineAfterClearingTheList) {
  const std::string key = PrepareKey({{"QDEFile", "zero"}});
  try {
    LoadResume();
    ADD_FAILURE() << "the resume went through";
  } catch (const IEInstall& e) {
    EXPECT_EQ(e.Message(),
              "There is an invalid entry for the unfinished install list QDEFile;zero");
  }
  EXPECT_FALSE(Reg().KeyExists(RootKey::LocalMachine, key + "\\Unfinished"));
  EXPECT_TRUE(Reg().KeyExists(RootKey::LocalMachine, key));
}

TEST_F(Resume, WithoutABookkeepingKeyNothingCanBeResumed) {
  try {
    LoadResume();
    ADD_FAILURE() << "the resume went through";
  } catch (const IEInstall& e) {
    EXPECT_THAT(e.Message(), HasSubstr("could not either write or read unfinished business"));
  }
}

TEST_F(Resume, LanguageSavedBeforeTheRestartComesBack) {
  struct Case {
    int stored;  // -1: none
    TVrexLanguage expected;
  };
  for (const Case& c :
       {Case{static_cast<int>(vlGerman), vlGerman}, Case{-1, vlEnglish}, Case{200, vlEnglish}}) {
    SCOPED_TRACE(c.stored);
    PrepareKey({}, c.stored);
    LoadResume();
    EXPECT_EQ(MainTranslator()->TranslateIntoLanguage(), c.expected);
    form_.reset();
  }
}

}  // namespace
