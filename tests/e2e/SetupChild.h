// Running the built programs as child processes for end-to-end tests: the
// setup on a simulated machine with a transcript (and optionally a UI
// script and another main-form description), and the author tools, with
// their exit codes and output.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace e2e {

struct Outcome {
  int code = -1;
  std::string errors;                   // standard error
  std::vector<std::string> transcript;  // one JSON object per line
  // A transcript line of `event` that contains `text`.
  bool Has(const std::string& event, const std::string& text) const;
  int Count(const std::string& event) const;
  // Every transcript line, for failure messages.
  std::string Dump() const;
};

using testsupport::ReadHostFile;

// Runs `program` with `args` and an environment made of the caller's
// (without any PELLMORE_ variable) plus `env`. Standard error goes to
// `work`/stderr.txt, standard output to `work`/stdout.txt (returned in
// `output` when given). Returns the exit code (128 + signal when killed).
int RunChild(const std::string& program, const std::vector<std::string>& args,
             const std::map<std::string, std::string>& env, const std::filesystem::path& work,
             std::string* errors = nullptr, std::string* output = nullptr);

// Runs the setup against the machine `machine` with the transcript in
// `work`/ui.log (started afresh) plus `env`, and reads what it left. A
// sanitizer's report in the error output fails the calling test.
Outcome RunSetup(const std::string& setupProgram, const std::string& machine,
                 const std::vector<std::string>& args, const std::filesystem::path& work,
                 const std::map<std::string, std::string>& env = {});

}  // namespace e2e
