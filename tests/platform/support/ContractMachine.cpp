// Setting up and tearing down the contract tests' machine (see
// ContractMachine.h).
#include "ContractMachine.h"

#include <atomic>
#include <filesystem>

#ifndef _WIN32
#include <unistd.h>

#include "platform/sim/SimMachine.h"
#endif

namespace {
std::atomic<unsigned> g_serial{0};
}

void ContractMachine::SetUp() {
#ifndef _WIN32
  namespace fs = std::filesystem;
  std::string base = (fs::temp_directory_path() / "pellmore-contract-XXXXXX").string();
  ASSERT_NE(::mkdtemp(base.data()), nullptr);
  hostDir_ = base;
  auto machine = platform::sim::CreateMachine(hostDir_ + "/machine", {});
  sim_ = machine.get();
  platform::Install(std::move(machine));
#endif
  std::string temp = System().TempDirectory();
  if (!temp.empty() && temp.back() == '\\') temp.pop_back();
  scratch_ = temp + "\\pellmore-contract-" + std::to_string(g_serial++);
  if (Files().DirectoryExists(scratch_)) RemoveTree(scratch_);
  Files().CreateDirectory(scratch_);
}

void ContractMachine::TearDown() {
  if (!scratch_.empty() && platform::HasCurrent()) {
    try {
      RemoveTree(scratch_);
    } catch (const std::exception& e) {
      ADD_FAILURE() << "cannot remove the scratch directory: " << e.what();
    }
  }
#ifndef _WIN32
  platform::Install(nullptr);
  sim_ = nullptr;
  std::error_code ec;
  if (!hostDir_.empty()) std::filesystem::remove_all(hostDir_, ec);
#endif
}

std::string ContractMachine::At(std::string_view relative) const {
  return scratch_ + "\\" + std::string(relative);
}

void ContractMachine::WriteFile(std::string_view path, std::string_view bytes) {
  auto f = Files().Create(path);
  f->Write(bytes.data(), bytes.size());
  f->Close();
}

std::string ContractMachine::ReadFile(std::string_view path) {
  auto f = Files().OpenRead(path);
  std::string out;
  char buffer[4096];
  while (size_t n = f->Read(buffer, sizeof buffer)) out.append(buffer, n);
  return out;
}

void ContractMachine::RemoveTree(const std::string& dir) {
  for (const auto& e : Files().FindFiles(dir + "\\*")) {
    if (e.name == "." || e.name == "..") continue;
    std::string path = dir + "\\" + e.name;
    if (e.IsDirectory()) {
      RemoveTree(path);
    } else {
      if (e.attributes & platform::kAttrReadOnly)
        Files().SetAttributes(path, platform::kAttrNormal);
      Files().DeleteFile(path);
    }
  }
  Files().RemoveDirectory(dir);
}
