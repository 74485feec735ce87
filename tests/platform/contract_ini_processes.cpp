// INI files through the profile calls and starting programs, the same on
// both builds: case-insensitive sections and keys, other lines kept; a
// waited-for program's exit code, a batch file that works on quoted paths,
// and WinExec's answers for what cannot start.
#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "platform/CommandLine.h"
#include "platform/IniFiles.h"
#include "platform/Processes.h"
#include "support/ContractMachine.h"
#include "tools/pegen/PeWriter.h"

using namespace platform;

namespace {

using IniContract = ContractMachine;
using ProcessesContract = ContractMachine;

TEST_F(IniContract, WritesKeepOtherLinesAndReadsIgnoreCase) {
  const std::string ini = At("test.ini");
  WriteFile(ini, "; comment\r\n[First]\r\nkeep=1\r\n\r\n[Second]\r\nother=2\r\n");
  iniFiles().WriteString(ini, "first", "NEW", "value one");
  iniFiles().WriteString(ini, "SECOND", "Other", "3");
  iniFiles().WriteString(ini, "Third", "k", "v");
  EXPECT_EQ(iniFiles().ReadString(ini, "FIRST", "new", "-"), "value one");
  EXPECT_EQ(iniFiles().ReadString(ini, "first", "KEEP", "-"), "1");
  EXPECT_EQ(iniFiles().ReadString(ini, "second", "other", "-"), "3");
  EXPECT_EQ(iniFiles().ReadString(ini, "third", "k", "-"), "v");
  EXPECT_EQ(iniFiles().ReadString(ini, "third", "absent", "fallback"), "fallback");
  EXPECT_EQ(iniFiles().ReadString(At("absent.ini"), "s", "k", "fallback"), "fallback");
  const std::string text = ReadFile(ini);
  EXPECT_NE(text.find("; comment"), std::string::npos);
  EXPECT_LT(text.find("NEW=value one"), text.find("[Second]"));  // stays in its section
  EXPECT_EQ(text.find("other=2"), std::string::npos);
}

// A write must not replace what it could not read: a profile "file" that is
// a folder refuses the write and stays, and a read of it gives the fallback.
TEST_F(IniContract, WhatCannotBeReadIsNeverReplaced) {
  const std::string folder = At("folder.ini");
  Files().CreateDirectory(folder);
  WriteFile(folder + "\\inside.txt", "kept");
  EXPECT_THROW(iniFiles().WriteString(folder, "s", "k", "v"), OsError);
  EXPECT_EQ(ReadFile(folder + "\\inside.txt"), "kept");
  EXPECT_EQ(iniFiles().ReadString(folder, "s", "k", "fallback"), "fallback");
}

TEST_F(ProcessesContract, RunWaitsAndReturnsTheExitCodeStartAnswersAbove31) {
  pegen::PeOptions o;
  o.machine = pegen::kLoadableMachine;
  o.kind = pegen::ImageKind::Exe;
  auto bytes = pegen::BuildPe(o);
  WriteFile(At("quiet.exe"), std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(processes().Run(QuoteArgument(At("quiet.exe")), ShowMode::Hidden), 0u);
  EXPECT_GT(processes().Start(QuoteArgument(At("quiet.exe")) + " /x", ShowMode::Hidden), 31u);
  // Start does not wait: the program may still be running, and its file
  // cannot go before it ends.
  bool gone = false;
  for (int i = 0; i < 500 && !gone; ++i) {
    gone = CodeOf([&] { Files().DeleteFile(At("quiet.exe")); }) == 0;
    if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(gone);
}

TEST_F(ProcessesContract, ABatchFileRunsThroughTheCommandInterpreter) {
  Files().CreateDirectory(At("with blank"));
  WriteFile(At("with blank\\gone.txt"), "x");
  WriteFile(At("with blank\\moved.txt"), "m");
  WriteFile(At("job.bat"), "@echo off\r\nerase \"" + At("with blank\\gone.txt") + "\"\r\nmove \"" +
                               At("with blank\\moved.txt") + "\" \"" + At("here.txt") + "\"\r\n");
  processes().Run(QuoteArgument(At("job.bat")), ShowMode::Hidden);
  EXPECT_FALSE(Files().FileExists(At("with blank\\gone.txt")));
  EXPECT_EQ(ReadFile(At("here.txt")), "m");
}

TEST_F(ProcessesContract, WhatCannotStartGivesWinExecErrorsAndRunRaises) {
  EXPECT_EQ(processes().Start(QuoteArgument(At("missing.exe")), ShowMode::Hidden),
            kExecFileNotFound);
  // WinExec documents "path not found" (3) here; Wine answers 2.
  EXPECT_LT(processes().Start(QuoteArgument(At("nodir\\missing.exe")), ShowMode::Hidden), 32u);
  try {
    processes().Run(QuoteArgument(At("missing.exe")), ShowMode::Hidden);
    FAIL() << "no error";
  } catch (const OsError& e) {
    EXPECT_EQ(e.Call(), "CreateProcessW");
    EXPECT_EQ(e.Code(), kErrorFileNotFound);
  }
}

}  // namespace
