// The simulated machine's binding of "QDSETUP.DLL": found only as a file on
// the search path, its exports by exact name, and calls whose arguments do
// not fit the export refused (a real caller's stack would be corrupted).
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/StrUtils.h"
#include "platform/Libraries.h"
#include "platform/sim/SimMachine.h"
#include "support/ContractMachine.h"

using namespace platform;
using namespace platform::sim;

namespace {

using SimEngineSetup = ContractMachine;

TEST_F(SimEngineSetup, IsBoundOnceTheFileIsFoundAndRefusesMismatchedArguments) {
  EXPECT_EQ(CodeOf([&] { libraries().Load("QDSETUP.DLL"); }), kErrorModNotFound);
  WriteFile(IncludeTrailingBackslash(System().SystemDirectory()) + "qdsetup.dll", "stub");
  auto lib = libraries().Load("qdsetup");
  const std::string t = At("t.cnf");
  const struct {
    const char* what;
    const char* name;
    std::vector<LibraryArg> args;
  } refused[] = {
      {"too few", "QdMergeConfig", {t, t, t, 1, 0}},
      {"integer for a text", "QdMergeConfig", {t, t, 7, 1, 0, std::string("0009")}},
      {"text for an integer", "QdLocaleConfig", {t, std::string("0"), std::string("0009")}},
      {"arguments to none", "IncrementEngineUseCount", {1}},
      {"none to four", "QdRepairConfig", {}},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(lib->Call(c.name, c.args), std::invalid_argument);
  }
  EXPECT_FALSE(Files().FileExists(t));
  EXPECT_FALSE(Reg().KeyExists(RootKey::LocalMachine, "\\Software\\Quenby"));
  // A text is read up to its first NUL, as the library sees a char pointer.
  WriteFile(t, "[SYSTEM INIT]\r\n");
  EXPECT_EQ(lib->Call("QdLocaleConfig", {t + std::string("\0junk", 5), 0, std::string("0009")}), 0);
  EXPECT_EQ(ReadFile(t), "[SYSTEM INIT]\r\nLANGCODE=0009\r\n");
}

}  // namespace
