// The contract fixture's file helpers (see ContractMachine.h). They use only
// the abstract file service, so the sim and Win32 fixtures share them.
#include "ContractMachine.h"

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
