// The two channels: component calls reach only the direct children of type
// 9000 of the sending container; information events climb every level to
// the top, each level filling in its own byte totals; processing sends its
// calls in order; bad parameters fail with their messages.
#include <gmock/gmock.h>

#include "InstallFixture.h"
#include "install/InstallErrors.h"

using namespace installtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class Calls : public InstallTest {};

TEST_F(Calls, BroadcastReachesOnlyDirectDialogChildren) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* sub = New<TTestGroup>(form.get(), "Sub");
  auto* topDialog = New<TTestDialog>(form.get(), "TopDialog");
  auto* subDialog = New<TTestDialog>(form.get(), "SubDialog");
  auto* grab = New<TGrabCall>(form.get(), "Grab");
  std::vector<std::pair<TObject*, int>> grabbed;
  grab->SetOnCall([&](TObject* sender, int call, TObject*) { grabbed.emplace_back(sender, call); });
  sub->SetContainer(top);
  topDialog->SetContainer(top);
  grab->SetContainer(top);
  subDialog->SetContainer(sub);

  top->BroadcastCall(top, kCallBeforeInstallPhase, nullptr);
  sub->BroadcastCall(sub, kCallProcessBegins, nullptr);
  EXPECT_THAT(topDialog->Calls, ElementsAre(kCallBeforeInstallPhase));
  EXPECT_THAT(subDialog->Calls, ElementsAre(kCallProcessBegins));
  EXPECT_THAT(grabbed, ElementsAre(std::make_pair(static_cast<TObject*>(top), -980)));

  top->ShowStatus("Reading file information...");
  top->HideStatus();
  EXPECT_THAT(topDialog->Calls, ElementsAre(-980, kCallShowStatus, kCallHideStatus));
}

TEST_F(Calls, InformationEventsClimbWithEachLevelsTotals) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* sub = New<TTestGroup>(form.get(), "Sub");
  auto* a = New<TTestFile>(form.get(), "A");
  auto* b = New<TTestFile>(form.get(), "B");
  auto* c = New<TTestFile>(form.get(), "C");
  auto* skipped = New<TTestFile>(form.get(), "Skipped");
  auto* topDialog = New<TTestDialog>(form.get(), "TopDialog");
  auto* subDialog = New<TTestDialog>(form.get(), "SubDialog");
  a->Size = 300;
  b->Size = 700;
  c->Size = 1000;
  c->Kept = true;
  skipped->Size = 5000;
  skipped->SetInclude(false);  // not installing: not in the totals
  sub->SetContainer(top);
  for (TTestFile* f : {a, b}) f->SetContainer(sub);
  for (TTestFile* f : {c, skipped}) f->SetContainer(top);
  topDialog->SetContainer(top);
  subDialog->SetContainer(sub);
  std::vector<std::string> topStatus;
  top->SetOnStatus([&](TFileRelated* file, int filePercent, int totalPercent) {
    topStatus.push_back(file->Name() + " " + std::to_string(filePercent) + " " +
                        std::to_string(totalPercent));
  });
  bool aborted = true;
  top->SetOnAfterInstallObjects([&](TInstallContainer*, bool wasAborted) { aborted = wasAborted; });

  top->Process();

  // Sub counts 300 + 700; Top counts 2000 (halves round to even: 7.5 -> 8,
  // 32.5 -> 32).
  EXPECT_THAT(subDialog->TotalPercents, ElementsAre(15, 30, 65, 100));
  EXPECT_THAT(topDialog->TotalPercents, ElementsAre(8, 15, 32, 50, 100));
  EXPECT_THAT(topStatus, ElementsAre("A 50 8", "A 100 15", "B 50 32", "B 100 50", "C 100 100"));
  EXPECT_EQ(top->TotalBytes(), 2000);
  EXPECT_EQ(top->BytesDone(), 2000);
  EXPECT_EQ(top->State(), fcsIdle);
  EXPECT_FALSE(aborted);
  EXPECT_EQ(skipped->Processed, 1);  // processed, but not installed
  EXPECT_FALSE(skipped->Installed());
  EXPECT_TRUE(a->Installed() && b->Installed() && c->Installed() && sub->Installed());
  // Top's own calls frame the progress it reports.
  EXPECT_EQ(topDialog->Calls.front(), kCallAfterBeforeProcess);
  EXPECT_THAT(std::vector<int>(topDialog->Calls.begin(), topDialog->Calls.begin() + 3),
              ElementsAre(kCallAfterBeforeProcess, kCallProcessBegins, kCallInstallObjectsBegins));
  EXPECT_THAT(std::vector<int>(topDialog->Calls.end() - 2, topDialog->Calls.end()),
              ElementsAre(kCallCopyEnded, kCallAfterAfterProcess));
}

TEST_F(Calls, NewDiskAnsweredByTheHandlerMarksTheFile) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* file = New<TTestFile>(form.get(), "F");
  auto* dialog = New<TTestDialog>(form.get(), "Dlg");
  file->SetContainer(top);
  dialog->SetContainer(top);
  top->SetState(fcsInstalling);

  TDiskParameter disk;
  disk.DiskNumber = 3;
  disk.Path = "A:";
  TParameterList list{file, &disk};
  top->DoInformationEventControl(file, kInfoNewDisk, &list);
  EXPECT_EQ(file->Tag(), 0);  // nobody answered
  EXPECT_EQ(disk.Path, "A:");

  top->SetOnNewDisk([](TFileRelated*, int number, std::string& path) {
    path = "D:\\disk" + std::to_string(number);
  });
  top->DoInformationEventControl(file, kInfoNewDisk, &list);
  EXPECT_EQ(file->Tag(), 1);
  EXPECT_EQ(disk.Path, "D:\\disk3");
  EXPECT_THAT(dialog->Calls, ElementsAre(kCallChangeDisk, kCallChangeDisk));
}

TEST_F(Calls, BadParametersFailWithTheirMessages) {
  Owned<TForm> form(NewForm());
  auto* top = New<TTestGroup>(form.get(), "Top");
  auto* file = New<TTestFile>(form.get(), "F");
  auto* dialog = New<TTestDialog>(form.get(), "Dlg");
  file->SetContainer(top);
  dialog->SetContainer(top);
  TFileStatusParameter status;
  TDiskParameter disk;
  TParameterList one{file};
  TParameterList wrongFirst{dialog, &status};
  TParameterList wrongSecond{file, &disk};
  TParameterList diskWrongFirst{dialog, &disk};
  TParameterList diskWrongSecond{file, &status};

  struct Case {
    const char* what;
    int code;
    TObject* po;
    const char* cls;
    const char* message;
  };
  const Case cases[] = {
      {"nil", kInfoReplacing, nullptr, "IException", "Top got a nil PO parameter"},
      {"not a file", kInfoFileKept, dialog, "IException",
       "DoInformationEventControl parameter is not TInstallFile"},
      {"not a list", kInfoStatusInstalling, &status, "IException",
       "DoInformationEventControl--PO is not a TList object"},
      {"short list", kInfoStatusCopying, &one, "IException",
       "DoInformationEventControl--Not engouh parameters for status event"},
      {"bad first", kInfoStatusInstalling, &wrongFirst, "IException",
       "DoInformationEventControl says bad first parameter"},
      {"bad second", kInfoStatusCompressing, &wrongSecond, "IException",
       "DoInformationEventControl says bad second parameter"},
      {"disk bad 1", kInfoNewDisk, &diskWrongFirst, "IEFileContainer",
       "DoInformationEventControl says bad 1 parameter"},
      {"disk bad 2", kInfoNewDisk, &diskWrongSecond, "IEFileContainer",
       "DoInformationEventControl says bad 2 parameter"},
      {"download", kInfoDownloadStatus, &status, "IEFileContainer",
       "The PO object passed to Top is not a TDownloadStatusParameter object"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    top->SetState(fcsIdle);  // an idle container does not look at events
    EXPECT_NO_THROW(top->DoInformationEventControl(file, c.code, c.po));
    top->SetState(fcsInstalling);
    try {
      top->DoInformationEventControl(file, c.code, c.po);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.ClassName(), c.cls);
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  EXPECT_TRUE(dialog->Calls.empty());
}

TEST_F(Calls, ProcessStopsWhereIncludeOrInstallTypeSaysSo) {
  Owned<TForm> form(NewForm());
  auto* group = New<TTestGroup>(form.get(), "G");
  auto* dialog = New<TTestDialog>(form.get(), "Dlg");
  dialog->SetContainer(group);

  group->SetInclude(false);
  group->Process();
  EXPECT_THAT(dialog->Calls, ElementsAre(kCallAfterBeforeProcess));

  dialog->Calls.clear();
  group->SetInclude(true);
  group->SetInstallTypes({itCompact});
  group->SetInstallType(itFull);
  group->Process();
  EXPECT_THAT(dialog->Calls, ElementsAre(kCallAfterBeforeProcess, kCallProcessBegins));
  EXPECT_FALSE(group->Installed());

  // A silent abort ends the object quietly; other errors pass on.
  group->SetOnBeforeProcess([](TInstallContainer*) { Abort(); });
  EXPECT_NO_THROW(group->Process());
  group->SetOnBeforeProcess([](TInstallContainer*) { throw IEInstall("boom"); });
  EXPECT_THROW(group->Process(), IEInstall);
}

}  // namespace
