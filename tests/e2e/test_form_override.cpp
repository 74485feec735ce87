// PELLMORE_FORM in process: the variable read (unset and empty mean the
// built-in form), a host file's description registered for the class its
// root names and streamed when that form is created, and the clear errors
// for a file that is missing, does not parse or describes no form.
#include <gmock/gmock.h>
#include <stdlib.h>

#include <filesystem>

#include "app/FormOverride.h"
#include "app/SetupRegistration.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/FormError.h"
#include "framework/ProcessState.h"
#include "framework/WidgetsetSlot.h"
#include "platform/headless/HeadlessWidgetset.h"
#include "platform/sim/SimMachine.h"
#include "support/Fixture.h"
#include "support/SimMachineHome.h"

namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

class FormOverride : public PellmoreTest {
 protected:
  FormOverride() {
    home_.Install();
    InstallWidgetset(std::make_unique<platform::headless::HeadlessWidgetset>());
    RegisterSetupClasses(ClassRegistry::Global());
  }
  ~FormOverride() override {
    ::unsetenv("PELLMORE_FORM");
    ProcessState::ResetAll();
    platform::Install(nullptr);
  }
  std::string Write(const std::string& name, const std::string& text) {
    return home_.Dir().Write(name, text);
  }
  std::string ErrorOf(const std::string& path) {
    try {
      RegisterFormOverride(path, ClassRegistry::Global());
    } catch (const Exception& e) {
      return e.Message();
    }
    return "registered";
  }

  testsupport::SimMachineHome home_{"pellmore-formoverride"};
  const std::filesystem::path dir_ = home_.Dir().Path();
};

TEST_F(FormOverride, VariableUnsetOrEmptyMeansTheBuiltInForm) {
  ::unsetenv("PELLMORE_FORM");
  EXPECT_FALSE(FormOverridePath().has_value());
  ::setenv("PELLMORE_FORM", "", 1);
  EXPECT_FALSE(FormOverridePath().has_value());
  ::setenv("PELLMORE_FORM", "/some where/form.dfm", 1);
  EXPECT_EQ(FormOverridePath(), "/some where/form.dfm");
}

TEST_F(FormOverride, TheFilesDescriptionIsStreamedForItsRootClass) {
  const std::string path = Write("mine.dfm",
                                 "object fmMain: TfmMain\n  Caption = 'Mine'\n"
                                 "  OnCreate = FormCreate\nend\n");
  EXPECT_EQ(RegisterFormOverride(path, ClassRegistry::Global()), "TfmMain");
  TCustomForm* form = Application().CreateForm("TfmMain");
  EXPECT_EQ(form->Caption(), "Mine");
  EXPECT_EQ(form->Width(), Screen().Width());  // FormCreate bound by name
  EXPECT_EQ(form->ComponentCount(), 0);        // nothing of the built-in form

  const std::string plain = Write("plain.dfm", "object Other: TForm\n  Caption = 'Plain'\nend\n");
  EXPECT_EQ(RegisterFormOverride(plain, ClassRegistry::Global()), "TForm");
  EXPECT_EQ(Application().CreateForm("TForm")->Caption(), "Plain");
}

TEST_F(FormOverride, UnusableFilesAreRefusedWithTheirName) {
  const std::string missing = (dir_ / "missing.dfm").string();
  EXPECT_EQ(ErrorOf(missing),
            "Cannot read the form description " + missing +
                " named by PELLMORE_FORM: the file cannot be opened (No such file or directory)");
  const std::string button = Write("button.dfm", "object B: TButton\nend\n");
  EXPECT_EQ(ErrorOf(button), "The form description " + button +
                                 " named by PELLMORE_FORM describes TButton, which is not a "
                                 "registered form class");
  const std::string unknown = Write("unknown.dfm", "object B: TNoSuchForm\nend\n");
  EXPECT_THAT(ErrorOf(unknown), HasSubstr("describes TNoSuchForm, which is not a registered"));
  const std::string broken = Write("broken.dfm", "object fmMain: TfmMain\n  Caption = \n");
  EXPECT_THAT(ErrorOf(broken), HasSubstr(broken + ", line 3, column 1: Expected a value"));
  // Nothing was registered by the failures: the built-in form is intact.
  TCustomForm* form = Application().CreateForm("TfmMain");
  EXPECT_GT(form->ComponentCount(), 10);
}

}  // namespace
