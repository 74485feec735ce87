// The simulated machine's fault plan: plans are read strictly, the Nth
// operation of a kind fails exactly as a real refusal does and changes
// nothing, a drive fills after its budget, and a kill ends the process at
// once keeping what was written before.
#include <gmock/gmock.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <stdexcept>

#include "platform/OsError.h"
#include "platform/sim/SimErrors.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimMachine.h"
#include "support/ContractMachine.h"

using namespace platform;
using namespace platform::sim;
using ::testing::HasSubstr;

namespace {

class SimFaultsTest : public ContractMachine {
 protected:
  void TearDown() override {
    Faults::Reset();
    ContractMachine::TearDown();
  }
  void Put(const std::string& path, const std::string& bytes) {
    auto f = Files().Create(path);
    f->Write(bytes.data(), bytes.size());
    f->Close();
  }
  std::string Get(const std::string& path) {
    auto f = Files().OpenRead(path);
    std::string s(f->Size(), '\0');
    s.resize(f->Read(s.data(), s.size()));
    return s;
  }
};

TEST(FaultPlanText, PlansAreReadStrictlyAndWrittenBackInFull) {
  struct Case {
    const char* text;
    const char* written;  // nullptr: refused
  };
  const Case cases[] = {
      {"write:17:112", "write:17:112"},
      {"WRITE:3", "write:3:5"},
      {"regwrite:2:0x3F0", "regwrite:2:1008"},
      {"kill:any:250,diskfull:c:1048576", "kill:any:250,diskfull:C:1048576"},
      {"kill:delayed:1", "kill:delayed:1"},
      {"none", "none"},
      {"", "none"},
      {"write:0:5", nullptr},
      {"write:1:0", nullptr},
      {"paint:1", nullptr},
      {"kill:any", nullptr},
      {"diskfull:CD:5", nullptr},
      {"write:x", nullptr},
      {"write:1:5,", nullptr},
      {"write:1:99999999999", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.written) {
      EXPECT_EQ(FaultPlan::Parse(c.text).Text(), c.written);
    } else {
      EXPECT_THROW(FaultPlan::Parse(c.text), std::invalid_argument);
      MachineSettings s;
      EXPECT_THROW(s.Set("fault", c.text), MachineError);
    }
  }
  MachineSettings s;
  s.Set("fault", "move:2");
  EXPECT_EQ(s.fault, "move:2:5");
  EXPECT_EQ(MachineSettings::Parse(s.Serialize(), "machine.ini").fault, "move:2:5");
  s.Set("fault", "none");
  EXPECT_EQ(s.fault, "");
}

// Each kind: the operation before the planned one succeeds, the planned one
// raises the OsError of the real call with the chosen code and leaves the
// machine as it was, the one after succeeds again.
TEST_F(SimFaultsTest, TheNthOperationOfEachKindFailsAsWindowsWouldAndChangesNothing) {
  const std::string dir = At("Faults");
  Files().CreateDirectories(dir);
  const std::string key = "\\Software\\Pellmore Fault Tests";
  Reg().CreateKey(RootKey::LocalMachine, key);
  Put(dir + "\\QDSETUP.DLL", "MZ");  // bound to the machine's native library
  int serial = 0;
  const auto name = [&] { return dir + "\\f" + std::to_string(++serial) + ".txt"; };
  struct Case {
    const char* kind;
    const char* call;
    std::function<std::string()> op;  // performs one operation; returns its subject
    std::function<bool(const std::string&)> unchanged;
  };
  const Case cases[] = {
      {"create", "CreateFileW",
       [&] {
         const auto p = name();
         Files().Create(p)->Close();
         return p;
       },
       [&](const std::string& p) { return !Files().FileExists(p); }},
      {"write", "WriteFile",
       [&] {
         const auto p = dir + "\\w.txt";
         auto f = Files().Open(p, kAccessRead | kAccessWrite, kShareRead, Disposition::OpenAlways);
         f->Seek(0, SeekOrigin::End);
         f->Write("abc", 3);
         f->Close();
         return p;
       },
       [&](const std::string& p) { return Get(p).size() == 3; }},
      {"flush", "CloseHandle",
       [&] {
         const auto p = name();
         Put(p, "data");
         return p;
       },
       [&](const std::string& p) {
         return Get(p) == "data";
       }},  // the handle is gone, the data kept
      {"move", "MoveFileExW",
       [&] {
         const auto p = name();
         Put(p, "m");
         Files().MoveFile(p, p + ".moved", 0);
         return p;
       },
       [&](const std::string& p) {
         return Files().FileExists(p) && !Files().FileExists(p + ".moved");
       }},
      {"delete", "DeleteFileW",
       [&] {
         const auto p = name();
         Put(p, "d");
         Files().DeleteFile(p);
         return p;
       },
       [&](const std::string& p) { return Get(p) == "d"; }},
      {"regwrite", "RegSetValueExW",
       [&] {
         const auto v = "v" + std::to_string(++serial);
         Reg().WriteValue(RootKey::LocalMachine, key, v, RegValue::Str("x"));
         return "HKEY_LOCAL_MACHINE" + key + " " + v;
       },
       [&](const std::string& s) {
         return !Reg().ReadValue(RootKey::LocalMachine, key, s.substr(s.rfind(' ') + 1));
       }},
      {"regflush", "RegFlushKey",
       [&] {
         Reg().Flush(RootKey::LocalMachine, key);
         return "HKEY_LOCAL_MACHINE" + key;
       },
       [](const std::string&) { return true; }},
      {"load", "LoadLibraryW",
       [&] {
         Sim()->libraries().Load(dir + "\\QDSETUP.DLL");
         return dir;
       },
       [](const std::string&) { return true; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Faults::Install(FaultPlan::Parse(std::string(c.kind) + ":2:1117"));
    // The first may itself be another kind's operation too (a write's
    // create), which the plan does not touch.
    ASSERT_NO_THROW(c.op());
    std::string subject;
    try {
      c.op();
      ADD_FAILURE() << "the second operation did not fail";
      continue;
    } catch (const OsError& e) {
      EXPECT_EQ(e.Call(), c.call);
      EXPECT_EQ(e.Code(), 1117u);
      subject = e.Subject();
    }
    EXPECT_TRUE(c.unchanged(subject)) << subject;
    EXPECT_NO_THROW(c.op());
  }
}

TEST_F(SimFaultsTest, AnInjectedRefusalIsTheRealOne) {
  const std::string a = At("real.txt"), b = At("planned.txt");
  Put(a, "a");
  Put(b, "b");
  Files().SetAttributes(a, kAttrReadOnly);
  std::string real, planned;
  try {
    Files().DeleteFile(a);
  } catch (const OsError& e) {
    real = e.what();
  }
  Faults::Install(FaultPlan::Parse("delete:1:5"));
  try {
    Files().DeleteFile(b);
  } catch (const OsError& e) {
    planned = e.what();
  }
  ASSERT_FALSE(real.empty());
  size_t at = real.find(a);
  ASSERT_NE(at, std::string::npos);
  real.replace(at, a.size(), b);
  EXPECT_EQ(planned, real);
}

TEST_F(SimFaultsTest, ADriveFillsAfterItsBudgetAndAKillKeepsWhatWasWritten) {
  const std::string p = At("budget.bin");
  Faults::Install(FaultPlan::Parse("diskfull:C:10"));
  auto f = Files().Create(p);
  f->Write("0123456789", 10);
  try {
    f->Write("x", 1);
    ADD_FAILURE() << "the eleventh byte was written";
  } catch (const OsError& e) {
    EXPECT_EQ(e.Code(), 112u);
  }
  f->Close();
  EXPECT_EQ(Get(p), "0123456789");

  const std::string k = At("killed.txt");
  Faults::Install(FaultPlan::Parse("kill:write:2"));
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    auto g = Files().Create(k);
    g->Write("first", 5);
    g->Write("second", 6);  // ends the process
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  EXPECT_EQ(Get(k), "first");
}

}  // namespace
