// Install files: the property rules that tie the file type, destination
// and overwrite mode together, duplicate sources, the unique-id table and
// the file-information record.
#include <gtest/gtest.h>

#include "InstallFileFixture.h"

namespace filestest {
namespace {

using RulesTest = InstallFileTest;

TEST_F(RulesTest, FileTypeMovesTheFileAndSetsItsDefaults) {
  struct Case {
    TInstallFileType type;
    const TMetaClass* dirType;  // null: the container's directory stays
    const char* destDir;
    bool counter;
    TOverwriteType mode;
  };
  const Case cases[] = {
      {iftNormal, nullptr, "", false, owAlways},
      {iftJustADLL, nullptr, "", false, owVersionDate},
      {iftApplicationSpecificDLL, &TpsMainInstall::StaticMetaClass(), "\\System", false,
       owVersionDate},
      {iftVendorSharedDLL, &TpsCommonFiles::StaticMetaClass(), "\\System", true, owVersionDate},
      {iftSystemWideDLL, &TpsSystem::StaticMetaClass(), "", true, owVersionDate},
  };
  New<installtest::TCountingInstall>(form_, "Install");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    TInstallFile* f = NewFile("F" + std::to_string(c.type), group_,
                              P("C:\\src\\lib") + std::to_string(c.type) + ".dll");
    f->SetFileType(c.type);
    EXPECT_EQ(f->FileType(), c.type);
    if (c.dirType)
      EXPECT_TRUE(f->DestDirType() && f->DestDirType()->InheritsFrom(*c.dirType));
    else
      EXPECT_TRUE(f->DestDirType() && f->DestDirType()->Is<TpsContainerDestDir>());
    EXPECT_EQ(f->DestDir(), c.destDir);
    EXPECT_EQ(f->UpdateDLLCounter(), c.counter);
    EXPECT_EQ(f->OverwriteMode(), c.mode);
  }
}

TEST_F(RulesTest, DestinationSpecifierOfProgramFiles) {
  TInstallFile* dll = NewFile("Dll", group_, P("C:\\src\\a.dll"));
  dll->SetDestDirType(FindByClass<TpsSystem>());
  EXPECT_EQ(dll->FileType(), iftSystemWideDLL);
  EXPECT_TRUE(dll->UpdateDLLCounter());
  EXPECT_EQ(dll->OverwriteMode(), owVersionDate);

  TInstallFile* exe = NewFile("Exe", group_, P("C:\\src\\b.exe"));
  exe->SetDestDirType(FindByClass<TpsWindow>());
  EXPECT_EQ(exe->OverwriteMode(), owVersionDate);
  EXPECT_EQ(exe->FileType(), iftNormal);

  // Other files keep their settings wherever they go.
  TInstallFile* txt = NewFile("Txt", group_, P("C:\\src\\c.txt"));
  txt->SetDestDirType(FindByClass<TpsSystem>());
  EXPECT_EQ(txt->FileType(), iftNormal);
  EXPECT_EQ(txt->OverwriteMode(), owAlways);
}

TEST_F(RulesTest, SourceNameDrivesDestNameHelpAndActiveX) {
  TInstallFile* f = NewFile("F", group_, P("C:\\src\\guide.hlp"));
  EXPECT_EQ(f->IncludeFromDir(), P("C:\\src"));
  EXPECT_EQ(f->DestName(), "guide.hlp");
  EXPECT_TRUE(f->RegisterAsHelp());
  EXPECT_FALSE(f->ActiveX());

  f->SetDestName("other.hlp");
  f->SetFileName("control.ocx");
  EXPECT_EQ(f->DestName(), "control.ocx");
  EXPECT_FALSE(f->RegisterAsHelp());
  EXPECT_TRUE(f->ActiveX());
  EXPECT_EQ(f->FileType(), iftSystemWideDLL);
  EXPECT_TRUE(f->DestDirType()->Is<TpsSystem>());

  // A blank name leaves the destination name alone.
  f->SetFileName("");
  EXPECT_EQ(f->DestName(), "control.ocx");
}

TEST_F(RulesTest, LoadingAssignsValuesUnchanged) {
  Owned<TForm> form(
      ReadForm("object Form1: TForm\n"
               "  object G: TInstallFileGroup\n"
               "    DestDir = 'C:\\Dest'\n"
               "  end\n"
               "  object F: TInstallFile\n"
               "    Container = G\n"
               "    FileName = 'x.dll'\n"
               "    DestName = 'y.dll'\n"
               "    FileType = iftSystemWideDLL\n"
               "    DestDir = '\\Keep'\n"
               "    UniqueID = 7\n"
               "  end\n"
               "end\n"));
  auto* f = static_cast<TInstallFile*>(form->FindComponent("F"));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->DestName(), "y.dll");
  EXPECT_EQ(f->DestDir(), "\\Keep");
  EXPECT_EQ(f->OverwriteMode(), owAlways);
  EXPECT_FALSE(f->UpdateDLLCounter());
  EXPECT_EQ(f->UniqueID(), 7);
}

TEST_F(RulesTest, DuplicateSourcesAndWrongContainersAreRefused) {
  TInstallFile* a = NewFile("A", group_, P("C:\\src\\a.txt"));
  TInstallFile* b = NewFile("B", group_, P("C:\\src\\b.txt"));
  try {
    b->SetFileName("A.TXT");
    ADD_FAILURE() << "duplicate accepted";
  } catch (const IEfcDuplicateFile& e) {
    EXPECT_EQ(e.Message(), P("There is already a file with the name :C:\\src\\A.TXT"));
  }
  EXPECT_EQ(b->FileName(), "b.txt");
  EXPECT_EQ(b->DestName(), "b.txt");

  // A file coming from elsewhere; the container's nested groups count.
  TRecordingGroup* inner = NewGroup("Inner", P("C:\\Inner"), P("C:\\build\\inner.1"));
  inner->SetContainer(group_);
  NewFile("Deep", inner, P("C:\\src\\deep.txt"));
  auto* c = new TInstallFile(form_, P("C:\\src\\a.txt"));
  EXPECT_THROW(c->SetContainer(group_), IEfcDuplicateFile);
  EXPECT_EQ(c->Container(), nullptr);
  c->SetFileName("deep.txt");
  EXPECT_THROW(c->SetContainer(group_), IEfcDuplicateFile);
  c->Free();

  auto* link = New<installtest::TTestLinkGroup>(form_, "Links");
  try {
    a->SetContainer(link);
    ADD_FAILURE() << "non-file container accepted";
  } catch (const IECustomInstallFile& e) {
    EXPECT_EQ(e.Message(),
              "The following TInstallFile component A requires the Container property to be a "
              "component descended from the TFileContainer component");
  }
  EXPECT_EQ(a->Container(), group_);
}

TEST_F(RulesTest, UniqueIdsAreAllocatedFreedAndReloaded) {
  auto* a = new TInstallFile(form_);
  auto* b = new TInstallFile(form_);
  auto* c = new TInstallFile(form_);
  EXPECT_EQ(a->UniqueID(), 0);
  EXPECT_EQ(b->UniqueID(), 1);
  EXPECT_EQ(c->UniqueID(), 2);
  b->Free();
  auto* d = new TInstallFile(form_);
  EXPECT_EQ(d->UniqueID(), 1);

  // Loading clears the table once; loaded files hold their stored ids.
  Owned<TForm> form(
      ReadForm("object Form1: TForm\n"
               "  object X: TInstallFile\n    UniqueID = 3\n  end\n"
               "  object Y: TInstallFile\n    UniqueID = 0\n  end\n"
               "end\n"));
  EXPECT_TRUE(UniqueIdTable().InUse(3));
  EXPECT_FALSE(UniqueIdTable().InUse(2));
  auto* e = new TInstallFile(form_);
  EXPECT_EQ(e->UniqueID(), 1);
  EXPECT_THROW(Owned<TForm>(ReadForm("object Form1: TForm\n"
                                     "  object Z: TInstallFile\n    UniqueID = 2000\n  end\n"
                                     "end\n")),
               Exception);
}

TEST(FileInfoRecord, LayoutAndCutting) {
  TFileInfoRecord r;
  r.Size = 0x01020304;
  r.Date = 36526.5;
  r.Name = std::string(38, 'n') + "\xC3\xA9";  // the two-byte letter does not fit
  r.Version = "12345678901234567890";
  const auto bytes = r.Encode();
  EXPECT_EQ(bytes[0], 0x04);
  EXPECT_EQ(bytes[3], 0x01);
  EXPECT_EQ(bytes[12 + 38], 0);  // cut before the sequence, terminated
  EXPECT_EQ(bytes[52 + 19], 0);
  const TFileInfoRecord back = TFileInfoRecord::Decode(bytes.data());
  EXPECT_EQ(back.Size, r.Size);
  EXPECT_DOUBLE_EQ(back.Date, r.Date);
  EXPECT_EQ(back.Name, std::string(38, 'n'));
  EXPECT_EQ(back.Version, "1234567890123456789");
}

}  // namespace
}  // namespace filestest
