// The application object: title, main form, the run loop over the
// widgetset, Terminate, ProcessMessages, message boxes, and the exception
// handler every widgetset callback hands its exceptions to (OnException,
// or the default error display). One per process (Application(), created
// on first use); a process-state reset destroys it with its forms.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "framework/Forms.h"

using TExceptionEvent = std::function<void(TObject* Sender, Exception& E)>;

// The one application object of the setup program: its title, main form and
// message loop, and where every exception raised in an event handler ends up.
class TApplication : public TComponent {
  PELLMORE_CLASS(TApplication, TComponent)

 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  const std::string& Title() const noexcept { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // The first form created through CreateForm; it is shown by Run, and
  // closing it ends the run.
  TCustomForm* MainForm() const noexcept { return mainForm_; }
  // Whether Run shows the main form (default true).
  bool ShowMainForm() const noexcept { return showMainForm_; }
  void SetShowMainForm(bool v) { showMainForm_ = v; }

  // Creates a form of class T owned by the application (its description
  // read, OnCreate fired); the first one becomes the main form after its
  // creation.
  template <class T>
  T* CreateForm() {
    T* form = TCustomForm::Create<T>(this);
    if (!mainForm_) mainForm_ = form;
    return form;
  }
  TCustomForm* CreateForm(std::string_view className);

  // Shows the main form and handles messages until Terminate, or until the
  // widgetset reports that no input will come. Returns at once without a
  // main form or when already terminated.
  void Run();
  // Ends the run (and every modal loop) at the next message.
  void Terminate() noexcept { terminated_ = true; }
  bool Terminated() const noexcept { return terminated_; }
  // Runs the messages waiting now.
  void ProcessMessages();

  // The exception being handled (inside a catch block) or `e`: EAbort is
  // silent; others go to OnException, else to ShowException. Never throws.
  void HandleException(TObject* sender) noexcept;
  void HandleException(TObject* sender, std::exception_ptr e) noexcept;
  // The default error display: the widgetset shows the message (headless:
  // standard error and the transcript).
  void ShowException(const Exception& e) noexcept;
  TExceptionEvent OnException;

  // A system message box (MB_OK, MB_YESNO ...); returns IDOK, IDYES ...
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags = MB_OK);

  void Notification(TComponent* c, TOperation op) override;

 private:
  std::string title_;
  TCustomForm* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
};

TApplication& Application();

// A std::exception that is not an Exception, as handlers see it.
class EExternalException : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EExternalException"; }
};
