// The install-file tests' fixture: the test machine (from the install
// tests' fixture; C:\\ paths go through P() into its scratch directory), the standard path
// specifiers on a form, and a file group that records the information events it hears, with its
// destination and archive set as plain paths.
#pragma once

#include <string>
#include <vector>

#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "install/ContainerCompress.h"
#include "install/InstallFixture.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#ifndef _WIN32
#include "platform/sim/SimMachine.h"
#endif

namespace filestest {

class TRecordingGroup : public TInstallFileGroup {
  PELLMORE_CLASS(TRecordingGroup, TInstallFileGroup)

 public:
  using TInstallFileGroup::TInstallFileGroup;
  void DoInformationEventControl(TObject* Sender, int code, TObject* PO) override {
    Codes.push_back(code);
    TInstallFileGroup::DoInformationEventControl(Sender, code, PO);
  }
  std::vector<int> Codes;
};

class InstallFileTest : public installtest::InstallTest {
 protected:
  InstallFileTest() {
    RegisterPathSpecifiers(ClassRegistry::Global());
    RegisterInstallFile(ClassRegistry::Global());
    form_ = NewForm();
    EnsureStandardSpecifiers(nullptr, form_, false);
    group_ = NewGroup("Group", P("C:\\Dest"), P("C:\\build\\files.1"));
  }
  ~InstallFileTest() override { form_->Free(); }

  TRecordingGroup* NewGroup(const std::string& name, const std::string& dest,
                            const std::string& archive) {
    auto* g = New<TRecordingGroup>(form_, name);
    g->SetDestDirType(nullptr);
    g->SetDestDir(dest);
    g->SetArchiveFileType(nullptr);
    g->SetArchiveFile(archive);
    return g;
  }

  // A file of `container` with the source `sourcePath`.
  TInstallFile* NewFile(const std::string& name, TInstallContainer* container,
                        const std::string& sourcePath) {
    auto* f = new TInstallFile(form_, container, sourcePath);
    f->SetName(name);
    return f;
  }

  static std::string ReadAll(const std::string& path) {
    auto f = platform::files().OpenRead(path);
    std::string s(f->Size(), '\0');
    if (!s.empty()) f->Read(s.data(), s.size());
    return s;
  }
  static TDateTime DateOf(const std::string& path) {
    return platform::FileTimeToLocalDateTime(platform::files().Stat(path)->lastWrite);
  }

  TForm* form_ = nullptr;
  TRecordingGroup* group_ = nullptr;
};

// Some dates on the two-second grid the archive stores.
inline constexpr TDateTime kOld = 36526.5;   // 2000-01-01 12:00
inline constexpr TDateTime kMid = 40000.25;  // 2009-07-06 06:00
inline constexpr TDateTime kNew = 45000.75;  // 2023-03-15 18:00

}  // namespace filestest
