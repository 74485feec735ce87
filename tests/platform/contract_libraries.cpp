// Loading libraries and calling their exports, the same on both builds:
// DLLs made by the PE generator export functions that return fixed values,
// which the real loader runs and the simulated machine reads from the code.
#include <gmock/gmock.h>

#include "framework/StrUtils.h"
#include "platform/Libraries.h"
#include "support/ContractMachine.h"
#include "tools/pegen/PeWriter.h"

using namespace platform;

namespace {

class LibrariesContract : public ContractMachine {
 protected:
  void Dll(const std::string& path, std::vector<pegen::Export> exports) {
    pegen::PeOptions o;
    o.machine = pegen::kLoadableMachine;
    o.exports = std::move(exports);
    auto bytes = pegen::BuildPe(o);
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
  }
};

TEST_F(LibrariesContract, ExportsAreFoundByExactNameAndCalledForTheirResult) {
  Dll(At("server.dll"), {{"DllRegisterServer", 0x80004005u, 0}, {"Answer", 42, 0}});
  auto lib = libraries().Load(At("server.dll"));
  ASSERT_TRUE(lib);
  EXPECT_TRUE(lib->HasExport("DllRegisterServer"));
  EXPECT_FALSE(lib->HasExport("dllregisterserver"));
  EXPECT_FALSE(lib->HasExport("DllUnregisterServer"));
  EXPECT_EQ(lib->Call("Answer"), 42);
  EXPECT_EQ(lib->Call("Missing"), std::nullopt);
  libraries().OleInitialize();
  EXPECT_EQ(lib->Call("DllRegisterServer"), int32_t(0x80004005u));
  libraries().OleUninitialize();
}

TEST_F(LibrariesContract, ASuccessfulRegistrationReturnsZero) {
  Dll(At("good.dll"), {{"DllRegisterServer", 0, 0}});
  EXPECT_EQ(libraries().Load(At("good.dll"))->Call("DllRegisterServer"), 0);
}

TEST_F(LibrariesContract, MissingAndUnloadableFilesRaiseLoadLibraryErrors) {
  WriteFile(At("text.dll"), "This is not a program image at all, just some text.");
  auto error = [&](const std::string& path) -> std::pair<std::string, uint32_t> {
    try {
      libraries().Load(path);
    } catch (const OsError& e) {
      return {e.Call(), e.Code()};
    }
    return {"", 0};
  };
  EXPECT_EQ(error(At("missing.dll")), std::make_pair(std::string("LoadLibraryW"), 126u));
  EXPECT_EQ(error(At("nodir\\missing.dll")), std::make_pair(std::string("LoadLibraryW"), 126u));
  EXPECT_EQ(error(At("text.dll")), std::make_pair(std::string("LoadLibraryW"), 193u));
}

TEST_F(LibrariesContract, ABareNameIsFoundInTheCurrentDirectory) {
  Dll(At("localmod.dll"), {{"Answer", 7, 0}});
  System().SetCurrentDirectory(Scratch());
  EXPECT_EQ(libraries().Load("localmod")->Call("Answer"), 7);
  System().SetCurrentDirectory(System().TempDirectory());
}

}  // namespace
