// Starting programs on the simulated machine: the program table's fakes and
// host programs, WinExec's answers, the start log, self-registration with
// /REGSERVER, and the batch interpreter's dialects and error handling.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <fstream>

#include "framework/StrUtils.h"
#include "platform/CommandLine.h"
#include "platform/Processes.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimMachine.h"
#include "support/ContractMachine.h"
#include "tools/pegen/PeWriter.h"

using namespace platform;
using namespace platform::sim;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

std::string Bytes(const std::vector<uint8_t>& v) {
  return std::string(v.begin(), v.end());
}

std::string ExeImage() {
  pegen::PeOptions o;
  o.kind = pegen::ImageKind::Exe;
  return Bytes(pegen::BuildPe(o));
}

std::string DllImage() {
  pegen::PeOptions o;
  o.exports = {{"DllRegisterServer", 0, 0}};
  return Bytes(pegen::BuildPe(o));
}

class SimProgramsTest : public ContractMachine {
 protected:
  Processes& Procs() { return processes(); }
  std::vector<SimStart> Starts() { return Sim()->Starts(); }
};

TEST_F(SimProgramsTest, AnExeWithoutEntryRunsAndExitsWithZeroAndEveryStartIsLogged) {
  WriteFile(At("tool.exe"), ExeImage());
  EXPECT_GT(Procs().Start(QuoteArgument(At("tool.exe")) + " -x", ShowMode::Hidden), 31u);
  EXPECT_EQ(Procs().Run(QuoteArgument(At("TOOL.EXE")), ShowMode::Normal), 0u);
  EXPECT_THAT(Starts(),
              ElementsAre(SimStart{SimStartKind::Start, QuoteArgument(At("tool.exe")) + " -x",
                                   ShowMode::Hidden, 0, false},
                          SimStart{SimStartKind::Run, QuoteArgument(At("TOOL.EXE")),
                                   ShowMode::Normal, 0, false}));
  Sim()->ClearStarts();
  EXPECT_TRUE(Starts().empty());
}

TEST_F(SimProgramsTest, WinExecAnswersBelow32ForWhatCannotStartAndRunRaises) {
  WriteFile(At("notes.txt"), "just text");
  WriteFile(At("lib.dll"), DllImage());
  EXPECT_EQ(Procs().Start(At("missing.exe"), ShowMode::Normal), kExecFileNotFound);
  EXPECT_EQ(Procs().Start(At("nodir\\x.exe"), ShowMode::Normal), kExecPathNotFound);
  EXPECT_EQ(Procs().Start(At("notes.txt"), ShowMode::Normal), kExecBadFormat);
  EXPECT_EQ(Procs().Start(At("lib.dll"), ShowMode::Normal), kExecBadFormat);
  EXPECT_EQ(Procs().Start("", ShowMode::Normal), kExecFileNotFound);
  try {
    Procs().Run(At("missing.exe") + " /a", ShowMode::Normal);
    FAIL() << "no error";
  } catch (const OsError& e) {
    EXPECT_EQ(e.Call(), "CreateProcessW");
    EXPECT_EQ(e.Subject(), At("missing.exe") + " /a");
    EXPECT_EQ(e.Code(), kErrorFileNotFound);
  }
  EXPECT_TRUE(Starts().empty());  // nothing that failed to start is logged
}

TEST_F(SimProgramsTest, ABareNameIsFoundOnTheSearchPathWithExeAdded) {
  WriteFile(IncludeTrailingBackslash(System().SystemDirectory()) + "helper.exe", ExeImage());
  Sim()->SetProgram(IncludeTrailingBackslash(System().SystemDirectory()) + "HELPER.EXE",
                    SimProgram{"", 9, 0, 0});
  EXPECT_EQ(Procs().Run("helper /q", ShowMode::Normal), 9u);
  // The current directory comes before the system directory.
  WriteFile(At("helper.exe"), ExeImage());
  System().SetCurrentDirectory(Scratch());
  EXPECT_EQ(Procs().Run("helper", ShowMode::Normal), 0u);
}

TEST_F(SimProgramsTest, FakesRegisterWithScriptedResultsFailingFirstWhenAsked) {
  WriteFile(At("server.exe"), ExeImage());
  Sim()->SetProgram(At("server.exe"), SimProgram{"", 3, 0, 2});
  const std::string line = QuoteArgument(At("server.exe")) + " /RegServer";
  EXPECT_EQ(Procs().Run(line, ShowMode::Hidden), kRegisterFailed);
  EXPECT_EQ(Procs().Run(line, ShowMode::Hidden), kRegisterFailed);
  EXPECT_EQ(Procs().Run(line, ShowMode::Hidden), 0u);
  EXPECT_EQ(Procs().Run(QuoteArgument(At("server.exe")), ShowMode::Hidden), 3u);
  std::vector<uint32_t> registrations;
  for (const SimStart& s : Starts())
    if (s.kind == SimStartKind::Register) registrations.push_back(s.result);
  EXPECT_THAT(registrations, ElementsAre(kRegisterFailed, kRegisterFailed, 0u));
  // The countdown is kept in the machine, so another process sees it.
  auto entry = Sim()->Programs();
  ASSERT_EQ(entry.size(), 1u);
  EXPECT_EQ(entry[0].second.failuresBeforeSuccess, 0u);
}

TEST_F(SimProgramsTest, TheProgramTableIgnoresCaseAndSurvivesReopening) {
  Sim()->SetProgram(At("A.EXE"), SimProgram{"", 4, 5, 6});
  Sim()->SetProgram(At("a.exe"), SimProgram{"", 7, 0, 0});
  auto reopened = SimMachine::Open(Sim()->HostDir());
  auto all = reopened->Programs();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].second, (SimProgram{"", 7, 0, 0}));
  EXPECT_TRUE(reopened->RemoveProgram(At("A.exe")));
  EXPECT_FALSE(reopened->RemoveProgram(At("A.exe")));
}

TEST_F(SimProgramsTest, AHostProgramRunsAsAChildOnTheSameMachineWithTheWindowsCommandLine) {
  // A shell script stands for a host program: it reports what it was given.
  const std::string report = Sim()->HostDir() + "/child-report.txt";
  const std::string script = Sim()->HostDir() + "/child.sh";
  {
    std::ofstream out(script);
    out << "#!/bin/sh\n"
        << "printf '%s|%s|%s|%s|%s|' \"$PELLMORE_MACHINE\" \"$PELLMORE_PROGRAM\" "
           "\"$PELLMORE_COMMAND_LINE\" \"$PELLMORE_CURRENT_DIR\" \"$*\" > '"
        << report << "'\nexit 7\n";
  }
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  Files().CreateDirectory(At("My App"));
  WriteFile(At("My App\\run.exe"), "not even a PE image: the host program runs instead");
  Sim()->SetProgram(At("my app\\RUN.EXE"), SimProgram{script, 0, 0, 0});
  System().SetCurrentDirectory(At("My App"));

  const std::string line = "\"" + At("My App\\run.exe") + "\" -r \"two words\"";
  EXPECT_EQ(Procs().Run(line, ShowMode::Normal), 7u);
  std::ifstream in(report);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, Sim()->HostDir() + "|" + At("My App\\run.exe") + "|" + line + "|" + At("My App") +
                      "|-r two words|");
  EXPECT_GT(Procs().Start(line, ShowMode::Normal), 31u);  // WinExec: started, whatever its code
}

TEST_F(SimProgramsTest, AProgramTheMachineStartedSeesItsOwnPathAndCommandLine) {
  ::setenv("PELLMORE_PROGRAM", "C:\\APP\\CHILD.EXE", 1);
  ::setenv("PELLMORE_COMMAND_LINE", "C:\\APP\\CHILD.EXE -r", 1);
  auto child = SimMachine::Open(Sim()->HostDir());
  ::unsetenv("PELLMORE_PROGRAM");
  ::unsetenv("PELLMORE_COMMAND_LINE");
  const char* argv[] = {"/host/child", "--ignored"};
  child->system().UseHostArguments(2, argv);
  EXPECT_EQ(child->system().ModuleFileName(), "C:\\APP\\CHILD.EXE");
  EXPECT_EQ(child->system().CommandLine(), "C:\\APP\\CHILD.EXE -r");
}

// --- batch files ---------------------------------------------------------

class SimBatchTest : public SimProgramsTest {
 protected:
  uint32_t RunBatch(const std::string& text) {
    WriteFile(At("job.bat"), text);
    return Procs().Run(QuoteArgument(At("job.bat")), ShowMode::Hidden);
  }
  void Kind(const char* kind) {
    Sim()->ChangeSettings([&](MachineSettings& s) { s.Set("kind", kind); });
  }
};

TEST_F(SimBatchTest, TheNtCleanUpBatchRemovesTheProgramItsDirectoryAndItself) {
  Files().CreateDirectory(At("un packed"));
  Files().CreateDirectory(At("un packed\\sub"));
  WriteFile(At("un packed\\setup.exe"), "x");
  WriteFile(At("un packed\\sub\\data.bin"), "x");
  Files().SetAttributes(At("un packed\\sub\\data.bin"), kAttrReadOnly);
  WriteFile(At("job.pif"), "x");
  EXPECT_EQ(RunBatch("@echo off\r\nREM clean up\r\nERASE \"" + At("un packed\\setup.exe") +
                     "\"\r\nRMDIR /S /Q \"" + At("un packed") + "\"\r\nERASE \"" + At("job.pif") +
                     "\"\r\nERASE \"%0\"\r\n"),
            0u);
  EXPECT_FALSE(Files().DirectoryExists(At("un packed")));
  EXPECT_FALSE(Files().FileExists(At("job.pif")));
  EXPECT_FALSE(Files().FileExists(At("job.bat")));
  EXPECT_EQ(Sim()->ConsoleOutput(), "");
}

TEST_F(SimBatchTest, DelTreeExistsOnlyOnThe95FamilyAndRmdirSOnlyOnNt) {
  Files().CreateDirectory(At("d"));
  WriteFile(At("d\\f"), "x");
  EXPECT_EQ(RunBatch("DELTREE /Y " + At("d") + "\n"), 1u);
  EXPECT_TRUE(Files().DirectoryExists(At("d")));
  EXPECT_THAT(Sim()->ConsoleOutput(), HasSubstr("'DELTREE' is not recognized"));

  Kind("95");
  EXPECT_EQ(RunBatch("RMDIR /S /Q " + At("d") + "\n"), 1u);
  EXPECT_TRUE(Files().DirectoryExists(At("d")));
  EXPECT_THAT(Sim()->ConsoleOutput(), HasSubstr("Invalid switch - /S"));
  EXPECT_EQ(RunBatch("DELTREE /Y " + At("d") + "\n"), 0u);
  EXPECT_FALSE(Files().DirectoryExists(At("d")));
}

TEST_F(SimBatchTest, UnquotedPathsWithBlanksFallApartAsInCmd) {
  Files().CreateDirectory(At("two words"));
  WriteFile(At("two words\\f.txt"), "x");
  EXPECT_EQ(RunBatch("ERASE " + At("two words\\f.txt") + "\n"), 1u);
  EXPECT_TRUE(Files().FileExists(At("two words\\f.txt")));
  EXPECT_THAT(Sim()->ConsoleOutput(), HasSubstr("Could Not Find"));
}

TEST_F(SimBatchTest, AFailingCommandIsReportedAndTheBatchGoesOn) {
  WriteFile(At("held.dll"), "old");
  WriteFile(At("held.1"), "new");
  WriteFile(At("other.txt"), "x");
  Sim()->Hold(At("held.dll"));
  EXPECT_EQ(RunBatch("erase \"" + At("held.dll") + "\"\nmove \"" + At("held.1") + "\" \"" +
                     At("held.dll") + "\"\nfrobnicate\nerase \"" + At("other.txt") + "\"\n"),
            1u);
  EXPECT_FALSE(Files().FileExists(At("other.txt")));
  EXPECT_EQ(ReadFile(At("held.dll")), "old");
  EXPECT_THAT(Sim()->ConsoleOutput(), HasSubstr(ErrorText(kErrorSharingViolation)));
  EXPECT_THAT(Sim()->ConsoleOutput(), HasSubstr("'frobnicate' is not recognized"));

  // The kit's in-use fallback once the file is free: erase, then move into place.
  Sim()->Release(At("held.dll"));
  EXPECT_EQ(RunBatch("erase \"" + At("held.dll") + "\"\nmove \"" + At("held.1") + "\" \"" +
                     At("held.dll") + "\"\n"),
            0u);
  EXPECT_EQ(ReadFile(At("held.dll")), "new");
  EXPECT_FALSE(Files().FileExists(At("held.1")));
}

TEST_F(SimBatchTest, MoveIntoADirectoryAndEraseWithWildcards) {
  Files().CreateDirectory(At("into"));
  WriteFile(At("a.tmp"), "a");
  WriteFile(At("b.tmp"), "b");
  WriteFile(At("keep.txt"), "k");
  EXPECT_EQ(RunBatch("MOVE " + At("a.tmp") + " " + At("into") + "\nDEL " + At("*.tmp") + "\n"), 0u);
  EXPECT_EQ(ReadFile(At("into\\a.tmp")), "a");
  EXPECT_FALSE(Files().FileExists(At("b.tmp")));
  EXPECT_TRUE(Files().FileExists(At("keep.txt")));
}

TEST_F(SimBatchTest, AStartedBatchIsLoggedAsAStart) {
  EXPECT_EQ(Procs().Start(QuoteArgument(At("gone.bat")), ShowMode::Hidden), kExecFileNotFound);
  WriteFile(At("job.bat"), "rem nothing\n");
  EXPECT_GT(Procs().Start(QuoteArgument(At("job.bat")), ShowMode::Hidden), 31u);
  auto starts = Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, QuoteArgument(At("job.bat")));
  EXPECT_EQ(starts[0].show, ShowMode::Hidden);
}

}  // namespace
