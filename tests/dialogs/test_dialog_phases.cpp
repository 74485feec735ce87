// The copy and change-disk phases of the dialog manager, the placement of
// a window at the nine positions, and every parameter and registry error
// with its exact message.
#include <gmock/gmock.h>

#include "DialogFixture.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "framework/Forms.h"

using namespace dialogtest;
using ::testing::ElementsAre;

namespace {

class Phases : public DialogTest {
 protected:
  int CopyFormsAlive() const {
    int n = 0;
    for (int i = 0; i < Screen().FormCount(); ++i)
      if (Screen().Forms(i)->Is<TTestCopyForm>()) ++n;
    return n;
  }
};

TEST(DialogOrigin, PlacesAWindowAtEachPosition) {
  struct Case {
    TPellmoreDialogPosition p;
    int dx, dy, w, h, sw, sh;
    TPoint expected;
  };
  const Case cases[] = {
      {vdpBottomRight, 10, 20, 478, 395, 800, 600, {312, 600 - 18 - 395 - 20}},
      {vdpCenterLeft, 5, 7, 478, 395, 800, 600, {5, 7 + 102}},  // 300 - 197.5 -> 102
      {vdpCenter, 0, 0, 477, 395, 801, 600, {162, 102}},        // 400.5 - 238.5 = 162
      {vdpCenter, 0, 0, 478, 394, 803, 601, {162, 104}},        // 162.5 -> 162, 103.5 -> 104
      {vdpCenterRight, 10, 0, 478, 394, 800, 600, {312, 103}},
      {vdpBottomLeft, 3, 4, 100, 50, 800, 600, {3, 600 - 18 - 50 - 4}},
      {vdpBottomCenter, 0, 30, 474, 146, 800, 600, {163, 406}},
      {vdpTopLeft, 10, 20, 100, 50, 800, 600, {10, 20}},
      {vdpTopCenter, -5, 20, 100, 50, 800, 600, {345, 20}},
      {vdpTopRight, 10, 20, 100, 50, 800, 600, {690, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.p) << " " << c.dx << "," << c.dy);
    const TPoint o = DialogOrigin(c.p, c.dx, c.dy, c.w, c.h, c.sw, c.sh, 18);
    EXPECT_EQ(o.x, c.expected.x);
    EXPECT_EQ(o.y, c.expected.y);
  }
}

TEST_F(Phases, DuringCopyFormsOpenOnTheFirstStatusTakeEveryUpdateAndCloseAtTheEnd) {
  TDialogManager* dm = NewManager(form.get(), dmDuringCopyFiles);
  StartFormUnit<TTestCopyForm>(DuringCopyForms());
  auto* dlg = New<TTestCopyDlg>(form.get(), "CopyDlg");
  dlg->SetDialogManager(dm);
  dlg->Placement = TDialogPlacement{vdpBottomCenter, 0, 30, 146, 474};

  TFileStatusParameter file;
  file.FileName = "qdeng32.dll";
  file.FilePercent = 50;
  TDownloadStatusParameter download;
  download.FileName = "files.2";
  download.Percent = 7;
  dm->HandleComponentCall(install, kCallFileStatus, &file);
  ASSERT_EQ(dm->DuringCopyFormCount(), 2);  // the unit's form and the component's
  dm->HandleComponentCall(install, kCallDownloadStatus, &download);
  file.FilePercent = 100;
  dm->HandleComponentCall(install, kCallFileStatus, &file);
  EXPECT_EQ(dm->DuringCopyFormCount(), 2);
  for (int i = 0; i < 2; ++i) {
    auto* f = static_cast<TTestCopyForm*>(dm->DuringCopyForms(i));
    EXPECT_TRUE(f->Visible());
    EXPECT_THAT(f->Updates,
                ElementsAre("file qdeng32.dll 50", "download files.2 7", "file qdeng32.dll 100"));
  }
  // The component's form is placed with the component's size and place.
  EXPECT_EQ(dlg->Form(), dm->DuringCopyForms(1));
  EXPECT_EQ(dm->DuringCopyForms(1)->BoundsRect(), Bounds(163, 406, 474, 146));

  dm->HandleComponentCall(install, kCallCopyEnded, nullptr);
  EXPECT_EQ(dm->DuringCopyFormCount(), 0);
  EXPECT_EQ(CopyFormsAlive(), 0);
  EXPECT_EQ(dlg->Form(), nullptr);
}

TEST_F(Phases, AFormOfAnotherManagerIsNotKeptAndAFreedFormLeavesTheList) {
  TDialogManager* first = NewManager(form.get(), dmDuringCopyFiles, "First");
  TDialogManager* second = NewManager(form.get(), dmDuringCopyFiles, "Second");
  StartFormUnit<TTestCopyForm>(DuringCopyForms());
  TFileStatusParameter file;
  // The form finds the first manager of its phase: the second keeps none.
  second->HandleComponentCall(install, kCallFileStatus, &file);
  EXPECT_EQ(second->DuringCopyFormCount(), 0);
  EXPECT_EQ(CopyFormsAlive(), 0);

  first->HandleComponentCall(install, kCallFileStatus, &file);
  ASSERT_EQ(first->DuringCopyFormCount(), 1);
  first->DuringCopyForms(0)->Free();  // closed by someone else
  EXPECT_EQ(first->DuringCopyFormCount(), 0);
  first->HandleComponentCall(install, kCallFileStatus, &file);  // opens a new one
  EXPECT_EQ(first->DuringCopyFormCount(), 1);
  // A manager that goes takes its open forms with it.
  first->Free();
  EXPECT_EQ(CopyFormsAlive(), 0);
}

TEST_F(Phases, TheChangeDiskFormAnswersForTheFileOnlyWhenRegistered) {
  TDialogManager* dm = NewManager(form.get(), dmChangeDisk);
  auto* file = New<TTestFile>(form.get(), "File");
  TDiskParameter disk;
  disk.DiskNumber = 2;
  disk.Path = "D:\\setup";
  TParameterList list{file, &disk};

  // Nothing registered: nothing happens, the file asks for itself.
  dm->HandleComponentCall(install, kCallChangeDisk, &list);
  EXPECT_EQ(file->Tag(), 0);
  EXPECT_TRUE(TTestDiskForm::Seen.empty());

  StartFormUnit<TTestDiskForm>(ChangeDiskForms());
  UseScript("press Proceed\npress Cancel\n");
  dm->HandleComponentCall(install, kCallChangeDisk, &list);
  EXPECT_EQ(file->Tag(), 1);
  EXPECT_THAT(TTestDiskForm::Seen, ElementsAre("disk 2 D:\\setup"));
  EXPECT_EQ(CurrentDialogManager(), nullptr);

  file->SetTag(0);
  const int forms = Screen().FormCount();
  EXPECT_THROW(dm->HandleComponentCall(install, kCallChangeDisk, &list), EPLUserAbort);
  EXPECT_EQ(Screen().FormCount(), forms);
  EXPECT_EQ(CurrentDialogManager(), nullptr);
}

TEST_F(Phases, EveryErrorHasItsMessageAndChangesNothing) {
  TDialogManager* copy = NewManager(form.get(), dmDuringCopyFiles, "DialogManager3");
  TDialogManager* disk = NewManager(form.get(), dmChangeDisk, "DialogManager4");
  StartFormUnit<TTestCopyForm>(DuringCopyForms());
  StartFormUnit<TTestDiskForm>(ChangeDiskForms());
  auto* file = New<TTestFile>(form.get(), "File");
  auto* dlg = New<TPagePDlg>(form.get(), "PageDlg");
  TFileStatusParameter fileStatus;
  TDownloadStatusParameter download;
  TDiskParameter diskParam;
  TParameterList one{file};
  TParameterList badFirst{&diskParam, &diskParam};
  TParameterList badSecond{file, file};
  TParameterList nullFirst{nullptr, &diskParam};

  struct Case {
    const char* what;
    std::function<void()> act;
    const char* klass;
    const char* message;
  };
  auto call = [](TDialogManager* m, int code, TObject* po) {
    return [=] { m->HandleComponentCall(nullptr, code, po); };
  };
  const Case cases[] = {
      {"file status without parameter", call(copy, kCallFileStatus, nullptr), "IEDialogManager",
       "DialogManager3 got a nil PO parameter"},
      {"file status of the wrong class", call(copy, kCallFileStatus, &download), "IEDialogManager",
       "The PO object passed to DialogManager3 is not a TFileStatusParameter object"},
      {"download without parameter", call(copy, kCallDownloadStatus, nullptr), "IEDialogManager",
       "DialogManager3 got a nil PO parameter"},
      {"download of the wrong class", call(copy, kCallDownloadStatus, &fileStatus),
       "IEDialogManager",
       "The PO object passed to DialogManager3 is not a TDownloadStatusParameter object"},
      {"disk without parameter", call(disk, kCallChangeDisk, nullptr), "IEDialogManager",
       "The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form"},
      {"disk parameter not a list", call(disk, kCallChangeDisk, &diskParam), "IEDialogManager",
       "TChangeDiskDlg--PO is not a TList object"},
      {"disk list of one", call(disk, kCallChangeDisk, &one), "IEDialogManager",
       "TChangeDiskDlg--Not engouh parameters for status event"},
      {"disk list without a file", call(disk, kCallChangeDisk, &badFirst), "EChangeDiskParameter",
       "TChangeDiskDlg says bad first parameter"},
      {"disk list with a null file", call(disk, kCallChangeDisk, &nullFirst),
       "EChangeDiskParameter", "TChangeDiskDlg says bad first parameter"},
      {"disk list without a disk", call(disk, kCallChangeDisk, &badSecond), "EChangeDiskParameter",
       "TChangeDiskDlg says bad second parameter"},
      {"a nil dialog", [&] { copy->AddDialog(nullptr); }, "IEDialogManager",
       "Cannot add a NIL Dialog to the Dialog Manager DialogManager3"},
      {"properties without a form", [&] { dlg->AssignDialogProperties(); },
       "IECustomBaseInstallDlg",
       "Cannot AssignDialogProperties for PageDlg because the Dialog is Nil"},
      {"registry index", [] { PageForms().Entry(5); }, "IEFormRegistry",
       "5 is an invalid index in the BIFList"},
      {"registry index of the copy forms", [] { DuringCopyForms().Entry(-1); }, "IEFormRegistry",
       "-1 is an invalid index in the DCFList"},
      {"pages without a current manager",
       [] {
         Owned<TBaseFormContainer> frame(TCustomForm::Create<TBaseFormContainer>(nullptr));
         frame->BuildPages();
       },
       "IEBaseFormContainer", "The current dialog manager is not defined"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int forms = Screen().FormCount();
    try {
      c.act();
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.ClassName(), c.klass);
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(Screen().FormCount(), forms);
    EXPECT_EQ(copy->DuringCopyFormCount(), 0);
    EXPECT_EQ(file->Tag(), 0);
    EXPECT_EQ(CurrentDialogManager(), nullptr);
  }
}

}  // namespace
