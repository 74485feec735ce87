// The `setup` program run as a child process on a fresh simulated machine:
// its exit code, its transcript and error output, and what it left in the
// machine's registry, for the start-up modes the command line selects.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Registry.h"
#include "platform/sim/SimMachine.h"

extern char** environ;

namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

struct Outcome {
  int code = -1;
  std::string errors;                   // standard error
  std::vector<std::string> transcript;  // one JSON object per line
  bool Has(const std::string& event, const std::string& text) const {
    for (const std::string& line : transcript)
      if (line.find("\"event\":\"" + event + "\"") != std::string::npos &&
          line.find(text) != std::string::npos)
        return true;
    return false;
  }
  int Count(const std::string& event) const {
    int n = 0;
    for (const std::string& line : transcript)
      n += line.find("\"event\":\"" + event + "\"") != std::string::npos;
    return n;
  }
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class SetupProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string base = (fs::temp_directory_path() / "pellmore-e2e-XXXXXX").string();
    ASSERT_NE(::mkdtemp(base.data()), nullptr);
    dir_ = base;
    auto machine = platform::sim::CreateMachine(Machine(), {});
    // The running program's file, so the bookkeeping lookup can recognise it.
    machine->files().CreateDirectories("C:\\SETUP");
    auto f = machine->files().Create("C:\\SETUP\\SETUP.EXE");
    f->Write("MZ setup", 8);
    f->Close();
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Machine() const { return (dir_ / "machine").string(); }

  void PutMachineFile(const std::string& path, const std::string& bytes) {
    auto machine = platform::sim::SimMachine::Open(Machine());
    auto f = machine->files().Create(path);
    f->Write(bytes.data(), bytes.size());
    f->Close();
  }

  Outcome Run(const std::vector<std::string>& args) {
    const std::string log = (dir_ / "ui.log").string();
    const std::string err = (dir_ / "stderr.txt").string();
    fs::remove(log);
    std::vector<std::string> env = {"PELLMORE_MACHINE=" + Machine(), "PELLMORE_UI_LOG=" + log};
    for (char** e = environ; *e; ++e) {
      const std::string v = *e;
      if (v.rfind("PELLMORE_", 0) != 0) env.push_back(v);
    }
    std::vector<std::string> argv = {PELLMORE_SETUP_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argvp, envp;
    for (auto& a : argv) argvp.push_back(a.data());
    for (auto& e : env) envp.push_back(e.data());
    argvp.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    Outcome out;
    const int rc = posix_spawn(&pid, argvp[0], &actions, nullptr, argvp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
      ADD_FAILURE() << "cannot start " << argvp[0];
      return out;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    out.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    out.errors = Slurp(err);
    // A sanitizer's report would hide behind the expected non-zero exit.
    EXPECT_THAT(out.errors, AllOf(Not(HasSubstr("Sanitizer")), Not(HasSubstr("runtime error"))));
    std::istringstream lines(Slurp(log));
    for (std::string line; std::getline(lines, line);)
      if (!line.empty()) out.transcript.push_back(line);
    return out;
  }

  fs::path dir_;
};

const char* const kInvalid = ". Valid command line parameters are: -b (Build)";
const char* const kForgot = "You forgot to pass in the build directory.";
const char* const kNoRun = "The installation run is not available in this build yet";

TEST_F(SetupProgram, NoArgumentsShowsTheMainFormAndReachesTheRun) {
  const Outcome o = Run({});
  EXPECT_EQ(o.code, 1);
  EXPECT_TRUE(o.Has("form", "\"form\":\"fmMain\"")) << o.transcript.size();
  EXPECT_TRUE(o.Has("form", "Quenby Database Engine 8.2.0 安装"));
  EXPECT_TRUE(o.Has("error", kNoRun));
  EXPECT_THAT(o.errors, HasSubstr(kNoRun));
  EXPECT_EQ(o.Count("error"), 1);  // a second activation never starts again

  // Before a run only the lookup touched the registry: an empty parent key.
  auto machine = platform::sim::SimMachine::Open(Machine());
  platform::Registry& reg = machine->registry();
  EXPECT_TRUE(reg.KeyExists(platform::RootKey::LocalMachine, "\\SOFTWARE\\Pellmore\\Install"));
  EXPECT_TRUE(
      reg.SubKeyNames(platform::RootKey::LocalMachine, "\\SOFTWARE\\Pellmore\\Install").empty());
}

TEST_F(SetupProgram, BadSwitchesAndMissingBuildDirectoryEndTheStart) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"-x"}, std::string("Invalid parameter <-x>") + kInvalid},
      {{"x"}, std::string("Invalid parameter <x>") + kInvalid},
      {{"-"}, std::string("Invalid parameter <->") + kInvalid},
      {{"-d"}, kForgot},
      {{"-d", "-s"}, kForgot},
      {{"-d", "-s   "}, kForgot},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const Outcome o = Run(c.args);
    EXPECT_EQ(o.code, 1);
    EXPECT_TRUE(o.Has("error", c.message)) << (o.transcript.empty() ? "" : o.transcript[0]);
    EXPECT_THAT(o.errors, HasSubstr(c.message));
    EXPECT_EQ(o.Count("form"), 0);  // the form never came up
  }
}

TEST_F(SetupProgram, SourceDirectoryWithBlanksIsOneSwitch) {
  for (const auto& args : {std::vector<std::string>{"-sC:\\My Build"},
                           std::vector<std::string>{"-d", "-sC:\\My Build"}}) {
    SCOPED_TRACE(args.size());
    const Outcome o = Run(args);
    EXPECT_EQ(o.code, 1);
    EXPECT_TRUE(o.Has("error", kNoRun));
    EXPECT_THAT(o.errors, Not(HasSubstr("Invalid parameter")));
  }
}

TEST_F(SetupProgram, BuildSwitchShowsItsErrorInAMessageBoxAndEnds) {
  struct Case {
    const char* what;
    const char* buildInf;  // null: none
    const char* message;
  };
  const Case cases[] = {
      {"no BUILD.INF", nullptr,
       "Need to have a BUILD.INF file in this directory with the first line specifying the build "
       "directory"},
      {"empty BUILD.INF", "",
       "Must be 1 line in BUILD.INF. This line should specify the build directory"},
      {"a build directory", "C:\\Build\r\n",
       "Building the distributables is not available in this build yet"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.buildInf) PutMachineFile("C:\\SETUP\\BUILD.INF", c.buildInf);
    const Outcome o = Run({"-b", "-r"});  // -b wins: no resume is tried
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.transcript.size(), 1u);
    EXPECT_TRUE(o.Has("message", c.message));
    EXPECT_EQ(o.Count("error"), 0);
    EXPECT_EQ(o.Count("form"), 0);  // the program ended without showing its form
  }
}

}  // namespace
