// The contract tests whose Windows answer Wine 8 does not give (see
// ContractMachine.h). They keep the Windows expectation and are skipped
// only under Wine, with the reason.
#include <cstring>

#include "ContractMachine.h"

namespace {

struct WineDeviation {
  const char* test;  // the test's name, whatever its suite
  const char* reason;
};
constexpr WineDeviation kWineDeviations[] = {
    {"NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith",
     "Wine ignores a rename that changes only the case of a name"},
    {"ListingsMatchWildcardsAsFindFirstFileDoes",
     "Wine matches \"*.\" against every name; Windows only against names without an extension"},
    {"ValuesEnumerateInCreationOrderExceptOnWine",
     "Wine lists a key's values alphabetically; Windows in the order they were created"},
};

}  // namespace

const char* ContractWineDeviation() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!testsupport::OnWine() || info == nullptr) return nullptr;
  for (const auto& d : kWineDeviations)
    if (std::strcmp(info->name(), d.test) == 0) return d.reason;
  return nullptr;
}
