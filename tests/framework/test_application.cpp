// The application object: the exception boundary of widgetset callbacks
// (OnException, the default display, silent EAbort), the main form and
// the run loop, modal forms without anybody to answer, and Release.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/StdCtrls.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"
#include "support/Fixture.h"

namespace {

// Keeps the errors the application displays.
class ErrorWidgetset : public platform::Widgetset {
 public:
  explicit ErrorWidgetset(std::vector<std::string>& shown) : shown_(shown) {}
  void ShowError(const std::string& title, const std::string& message) override {
    shown_.push_back(title + ": " + message);
  }

 private:
  std::vector<std::string>& shown_;
};

class ApplicationTest : public PellmoreTest {
 protected:
  ApplicationTest() {
    RegisterControls(ClassRegistry::Global());
    InstallWidgetset(std::make_unique<ErrorWidgetset>(shown));
    Application().SetTitle("Setup");
  }
  std::vector<std::string> shown;
};

TEST_F(ApplicationTest, CallbackExceptionsReachTheHandlerAndNeverEscape) {
  Owned<TForm> form(new TForm(nullptr));
  auto* button = new TButton(form.get());
  button->SetParent(form.get());
  struct Case {
    const char* what;
    std::function<void()> raise;
    const char* handled;  // what OnException saw ("" for nothing)
  } cases[] = {
      {"a framework exception", [] { throw EConvertError("'x' is not a valid integer value"); },
       "EConvertError: 'x' is not a valid integer value"},
      {"a std::exception", [] { throw std::runtime_error("disk on fire"); },
       "EExternalException: disk on fire"},
      {"anything else", [] { throw 42; }, "EExternalException: Unknown exception"},
      {"the quiet abort", [] { Abort(); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string handled;
    TObject* sender = nullptr;
    Application().OnException = [&](TObject* s, Exception& e) {
      sender = s;
      handled = std::string(e.ClassName()) + ": " + e.Message();
    };
    button->OnClick = [&](TObject*) { c.raise(); };
    EXPECT_NO_THROW(button->WidgetClick());
    EXPECT_EQ(handled, c.handled);
    if (*c.handled) {
      EXPECT_EQ(sender, button);
    }
  }
  EXPECT_TRUE(shown.empty());

  // Without a handler, or when the handler fails itself, the default
  // display shows the message.
  Application().OnException = nullptr;
  button->OnClick = [](TObject*) { throw Exception("Cannot copy QDENG32.DLL"); };
  button->WidgetClick();
  Application().OnException = [](TObject*, Exception&) { throw Exception("handler broke"); };
  button->WidgetClick();
  EXPECT_EQ(shown,
            (std::vector<std::string>{"Setup: Cannot copy QDENG32.DLL", "Setup: handler broke"}));
}

TEST_F(ApplicationTest, OnCreateFailuresAreHandledAndTheFormStillExists) {
  // A handler-less form class built in code: OnCreate is set before
  // InitForm by a subclass, as descriptions bind it.
  struct TFailingForm : public TForm {
    explicit TFailingForm(TComponent* owner) : TForm(owner) {
      OnCreate = [](TObject*) { throw Exception("OnCreate failed"); };
    }
  };
  TFailingForm* form = Application().CreateForm<TFailingForm>();
  EXPECT_EQ(Application().MainForm(), form);
  EXPECT_EQ(shown, (std::vector<std::string>{"Setup: OnCreate failed"}));
}

TEST_F(ApplicationTest, ModalFormsWithNobodyToAnswerAreCancelled) {
  auto* form = Application().CreateForm<TForm>();
  bool activated = false;
  form->OnActivate = [&](TObject*) { activated = true; };
  // The null widgetset has no user and no window to activate.
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(activated);
  form->Show();
  EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(ApplicationTest, ClosingTheMainFormTerminatesAndRunReturns) {
  Application().Run();  // no main form: returns at once
  auto* main = Application().CreateForm<TForm>();
  auto* other = Application().CreateForm<TForm>();
  EXPECT_EQ(Application().MainForm(), main);
  other->Show();
  other->Close();  // another form only hides
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(Application().Terminated());

  bool refuse = true;
  main->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = !refuse; };
  main->Close();
  EXPECT_FALSE(Application().Terminated());
  refuse = false;
  main->Close();
  EXPECT_TRUE(Application().Terminated());
  Application().Run();  // terminated: returns without showing anything
  EXPECT_FALSE(main->Visible());
}

TEST_F(ApplicationTest, ReleaseFreesTheFormWhenMessagesAreProcessed) {
  auto* form = Application().CreateForm<TForm>();
  auto* kept = Application().CreateForm<TForm>();
  form->SetName("Gone");
  form->Release();
  form->Release();  // once is enough
  EXPECT_NE(Application().FindComponent("Gone"), nullptr);
  Application().ProcessMessages();
  EXPECT_EQ(Application().FindComponent("Gone"), nullptr);
  // A released form destroyed meanwhile is not freed twice.
  kept->Release();
  kept->Free();
  Application().ProcessMessages();
  EXPECT_EQ(Application().ComponentCount(), 0);
}

}  // namespace
