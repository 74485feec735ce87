// The install tests' fixture and stand-ins. InstallTest is a PellmoreTest
// with a test machine (support/TestMachine.h: a fresh simulated machine, or
// the real system on Windows, with a scratch directory) and the control
// model, the install classes and the stand-ins registered. The stand-ins
// play the parts whose classes come from other subsystems: an install file
// (registered type 2000 with a stored size), a dialog that records the
// component calls it hears, a link group, the engine group (by class
// name) and a class that forgets to declare its registered type.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "install/cmp_GrabCall.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"

namespace installtest {

class TTestFile : public TFileRelated {
  PELLMORE_CLASS(TTestFile, TFileRelated)

 public:
  using TFileRelated::TFileRelated;
  int RegisteredType() const override { return kRegisteredInstallFile; }
  int64_t StoredFileSize() const override { return Size; }
  int64_t StoredCompressedFileSize() const override { return Size / 2; }
  std::string SourcePath() const override { return "C:\\src\\" + Name(); }
  void Process() override {
    ++Processed;
    TFileRelated::Process();
  }
  // Installing reports to the container as an install file does: half the
  // file, then all of it with the finished flag; a kept file reports 1016.
  void InstallObjects() override {
    TFileRelated::InstallObjects();
    if (!Container()) return;
    if (Kept) {
      Container()->DoInformationEventControl(this, kInfoFileKept, this);
      return;
    }
    for (int64_t done : {Size / 2, Size}) {
      TFileStatusParameter status;
      status.BytesDone = done;
      status.FilePercent = PercentDone(done, Size);
      status.Stats.Finished = done == Size;
      TParameterList list{this, &status};
      Container()->DoInformationEventControl(this, kInfoStatusInstalling, &list);
    }
  }
  int64_t Size = 0;
  bool Kept = false;
  int Processed = 0;
};

// A file group whose state a test may set.
class TTestGroup : public TInstallFileGroup {
  PELLMORE_CLASS(TTestGroup, TInstallFileGroup)

 public:
  using TFileContainer::SetState;
  using TInstallFileGroup::TInstallFileGroup;
};

class TTestDialog : public TInstallObject {
  PELLMORE_CLASS(TTestDialog, TInstallObject)

 public:
  using TInstallObject::TInstallObject;
  int RegisteredType() const override { return kRegisteredDialog; }
  void HandleComponentCall(TObject*, int call, TObject* PO) override {
    Calls.push_back(call);
    if (call == kCallFileStatus && PO)
      TotalPercents.push_back(static_cast<TFileStatusParameter*>(PO)->TotalPercent);
  }
  std::vector<int> Calls;
  std::vector<int> TotalPercents;
};

class TTestLinkGroup : public TInstallObject {
  PELLMORE_CLASS(TTestLinkGroup, TInstallObject)

 public:
  using TInstallObject::TInstallObject;
  int RegisteredType() const override { return kRegisteredLinkGroup; }
};

// Stands for the engine group: only its class name matters here.
class TInstallQDE : public TFileContainer {
  PELLMORE_CLASS(TInstallQDE, TFileContainer)

 public:
  using TFileContainer::TFileContainer;
  int RegisteredType() const override { return 1500; }
};

class TUndeclared : public TInstallObject {
  PELLMORE_CLASS(TUndeclared, TInstallObject)

 public:
  using TInstallObject::TInstallObject;
};

// An installer whose run only counts how often it was started.
class TCountingInstall : public TInstall {
  PELLMORE_CLASS(TCountingInstall, TInstall)

 public:
  using TInstall::TInstall;
  void Process() override { ++Runs; }
  int Runs = 0;
};

class InstallTest : public PellmoreTest {
 protected:
  InstallTest();
  ~InstallTest() override;

#ifndef _WIN32
  // The simulated machine, for tests that shape it (test_sim_*.cpp).
  platform::sim::SimMachine& Machine() {
    return *machine_.Sim();
  }
  // Sets the running program's command line (the program itself first).
  void SetCommandLine(const std::string& line);
  // Replaces the simulated machine with a fresh one of this shape.
  platform::sim::SimMachine& ReplaceMachine(const platform::sim::MachineOptions& options) {
    return machine_.Replace(options);
  }
#endif
  // A path in the test's scratch directory.
  std::string At(std::string_view relative) const {
    return machine_.At(relative);
  }
  // `text` with its C:\\ paths in the scratch directory.
  std::string P(std::string_view text) const {
    return machine_.InScratch(text);
  }
  // Writes a file into the machine with an exact last-write time.
  void PutFile(const std::string& path, const std::string& bytes, TDateTime localDate);

  // The form description `text` read into a new TForm; the caller frees it.
  TForm* ReadForm(const std::string& text);

 private:
  testsupport::TestMachine machine_;
};

}  // namespace installtest
