// Child processes for the end-to-end tests (see SetupChild.h).
#include "SetupChild.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

extern char** environ;

namespace e2e {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

bool Outcome::Has(const std::string& event, const std::string& text) const {
  for (const std::string& line : transcript)
    if (line.find("\"event\":\"" + event + "\"") != std::string::npos &&
        line.find(text) != std::string::npos)
      return true;
  return false;
}

int Outcome::Count(const std::string& event) const {
  int n = 0;
  for (const std::string& line : transcript)
    n += line.find("\"event\":\"" + event + "\"") != std::string::npos;
  return n;
}

std::string Outcome::Dump() const {
  std::string all = "exit code " + std::to_string(code) + "\nstderr: " + errors + "\n";
  for (const std::string& line : transcript) all += line.substr(0, 400) + "\n";
  return all;
}

int RunChild(const std::string& program, const std::vector<std::string>& args,
             const std::map<std::string, std::string>& env, const fs::path& work,
             std::string* errors, std::string* output) {
  const std::string err = (work / "stderr.txt").string();
  const std::string out = (work / "stdout.txt").string();
  std::vector<std::string> envv;
  for (const auto& [key, value] : env) envv.push_back(key + "=" + value);
  for (char** e = environ; *e; ++e) {
    const std::string v = *e;
    if (v.rfind("PELLMORE_", 0) != 0) envv.push_back(v);
  }
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argvp, envp;
  for (auto& a : argv) argvp.push_back(a.data());
  for (auto& e : envv) envp.push_back(e.data());
  argvp.push_back(nullptr);
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argvp[0], &actions, nullptr, argvp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    ADD_FAILURE() << "cannot start " << program;
    return -1;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (errors) *errors = ReadHostFile(err);
  if (output) *output = ReadHostFile(out);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Outcome RunSetup(const std::string& setupProgram, const std::string& machine,
                 const std::vector<std::string>& args, const fs::path& work,
                 const std::map<std::string, std::string>& env) {
  const fs::path log = work / "ui.log";
  fs::remove(log);
  std::map<std::string, std::string> all = env;
  all["PELLMORE_MACHINE"] = machine;
  all["PELLMORE_UI_LOG"] = log.string();
  Outcome o;
  o.code = RunChild(setupProgram, args, all, work, &o.errors);
  // A sanitizer's report would hide behind an expected non-zero exit.
  EXPECT_THAT(o.errors, AllOf(Not(HasSubstr("Sanitizer")), Not(HasSubstr("runtime error"))));
  std::istringstream lines(ReadHostFile(log));
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) o.transcript.push_back(line);
  return o;
}

}  // namespace e2e
