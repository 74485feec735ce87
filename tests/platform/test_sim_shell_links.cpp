// The simulated machine's shortcut files: an independent reader sees what
// was written, the reader refuses every cut-short or damaged file without
// reading past its bytes, the machine's refusals come back as HRESULTs,
// and kinds without the shell-link class (or without COM) refuse objects.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "platform/OsError.h"
#include "platform/ShellLinks.h"
#include "platform/sim/ShellLinkFile.h"
#include "platform/sim/SimMachine.h"
#include "support/ContractMachine.h"

using namespace platform;

namespace {

using SimShellLinks = ContractMachine;

ShellLinkData Sample(const std::string& dir) {
  ShellLinkData d;
  d.path = dir + "\\Prog\\Tool.exe";
  d.arguments = "/open \"a b.txt\"";
  d.workingDirectory = dir + "\\Prog";
  d.description = "Opens the tool";
  d.iconPath = dir + "\\Prog\\Tool.ico";
  d.iconIndex = 3;
  d.hotKey = 0x0654;
  return d;
}

int32_t Write(const std::string& link, const ShellLinkData& d) {
  auto object = shellLinks().Create();
  object->SetPath(d.path);
  object->SetHotkey(d.hotKey);
  object->SetArguments(d.arguments);
  object->SetWorkingDirectory(d.workingDirectory);
  object->SetDescription(d.description);
  object->SetIconLocation(d.iconPath, d.iconIndex);
  return object->Save(link);
}

#ifdef PELLMORE_LNKINFO
// What the independent reader prints for the file, or "" when it fails.
std::string LnkInfo(const std::string& hostPath) {
  const std::string command = std::string(PELLMORE_LNKINFO) + " '" + hostPath + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return "";
  std::string out;
  char buffer[512];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) out.append(buffer, n);
  return out;
}

// The value after "<label>" and the colon on its line, trimmed.
std::string Field(const std::string& report, const std::string& label) {
  size_t at = report.find("\t" + label);
  if (at == std::string::npos) return "(no " + label + ")";
  at = report.find(':', at);
  size_t end = report.find('\n', at);
  std::string value = report.substr(at + 1, end - at - 1);
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.erase(0, 1);
  return value;
}

TEST_F(SimShellLinks, AnIndependentReaderSeesWhatWasWritten) {
  ASSERT_TRUE(shellLinks().InitializeCom());
  const ShellLinkData d = Sample(Scratch());
  const std::string link = At("Tool.lnk");
  ASSERT_EQ(Write(link, d), 0);
  const std::string report = LnkInfo(Sim()->HostPath(link));
  SCOPED_TRACE(report);
  EXPECT_EQ(Field(report, "Local path"), d.path);
  EXPECT_EQ(Field(report, "Command line arguments"), d.arguments);
  EXPECT_EQ(Field(report, "Working directory"), d.workingDirectory);
  EXPECT_EQ(Field(report, "Icon location"), d.iconPath);
  EXPECT_EQ(Field(report, "Description"), d.description);
}
#endif

TEST_F(SimShellLinks, DamagedFilesAreRefusedAtEveryLength) {
  ASSERT_TRUE(shellLinks().InitializeCom());
  ShellLinkData d = Sample(Scratch());
  d.path = Scratch() + "\\Pr\xC3\xB6g\\T\xE4\xB8\xAD.exe";  // the Unicode LinkInfo fields
  const std::string bytes = sim::EncodeShellLink(d, {});
  const auto whole = sim::DecodeShellLink(bytes);
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(whole->path, d.path);
  EXPECT_EQ(whole->description, d.description);
  EXPECT_EQ(whole->iconIndex, 3);
  EXPECT_EQ(whole->hotKey, 0x0654);
  // Without its terminal block the file is still whole; any shorter cut
  // loses a string or the header.
  for (size_t n = 0; n + 4 < bytes.size(); ++n)
    EXPECT_FALSE(sim::DecodeShellLink(bytes.substr(0, n)).has_value()) << "cut at " << n;

  const std::pair<const char*, std::function<void(std::string&)>> damage[] = {
      {"header size", [](std::string& b) { b[0] = 0x4D; }},
      {"class id", [](std::string& b) { b[4] = 0x02; }},
      {"LinkInfo size past the end", [](std::string& b) { b[0x4C + 1] = char(0x7F); }},
      {"UTF-16 base path offset past the block",
       [](std::string& b) { b[0x4C + 28 + 1] = char(0x7F); }},
      {"UTF-16 base path without its terminator",
       [](std::string& b) {
         // LinkInfo ends with the base path's terminator and the empty
         // suffix: make both text.
         const uint32_t size = uint8_t(b[0x4C]) | uint8_t(b[0x4D]) << 8;
         for (size_t i = 0x4C + size - 4; i < 0x4C + size; ++i) b[i] = 'x';
       }},
      {"string count past the end",
       [&](std::string& b) { b[b.size() - 4 - 2 * d.iconPath.size() - 1] = char(0x7F); }},
  };
  for (const auto& [what, harm] : damage) {
    SCOPED_TRACE(what);
    std::string b = bytes;
    harm(b);
    EXPECT_FALSE(sim::DecodeShellLink(b).has_value());
  }
}

TEST_F(SimShellLinks, RefusalsComeBackAsResultsAndKindsWithoutTheClassRefuse) {
  // Before COM is initialised no object can be made.
  EXPECT_EQ(CodeOf([] { shellLinks().Create(); }), 0x800401F0u);
  ASSERT_TRUE(shellLinks().InitializeCom());
  const ShellLinkData d = Sample(Scratch());

  // A held link cannot be replaced; a full disk leaves no file behind.
  ASSERT_EQ(Write(At("held.lnk"), d), 0);
  Sim()->Hold(At("held.lnk"));
  EXPECT_EQ(Write(At("held.lnk"), d), int32_t(0x80070020));
  EXPECT_TRUE(shellLinks().Read(At("held.lnk")).has_value()) << "the old link is untouched";
  Sim()->Release(At("held.lnk"));
  Sim()->SetFreeSpace('C', 0);
  EXPECT_EQ(Write(At("full.lnk"), d), int32_t(0x80070070));
  EXPECT_FALSE(Files().FileExists(At("full.lnk")));
  EXPECT_EQ(Write(At("no such dir\\x.lnk"), d), int32_t(0x80070003));

  for (const char* kind : {"win32s", "nt351"}) {
    SCOPED_TRACE(kind);
    Sim()->ChangeSettings([&](sim::MachineSettings& s) { s.Set("kind", kind); });
    EXPECT_EQ(CodeOf([] { shellLinks().Create(); }), 0x80040154u);
  }
}

}  // namespace
