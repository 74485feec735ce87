// The application object (see Application.h) and the exception boundary's
// handler.
#include "framework/Application.h"

#include "framework/ProcessState.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"

namespace {
TApplication*& Slot() {
  static TApplication* app = nullptr;
  return app;
}
}  // namespace

TApplication& Application() {
  TApplication*& app = Slot();
  if (!app) {
    app = new TApplication(nullptr);
    ProcessState::RegisterReset("framework.Application", [] {
      // Freed while still reachable, so handlers running during the
      // destruction of its forms see the same application.
      if (TApplication* old = Slot()) {
        old->Free();
        Slot() = nullptr;
      }
    });
  }
  return *app;
}

void HandleCallbackException(TObject* sender) noexcept {
  Application().HandleException(sender, std::current_exception());
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() = default;

void TApplication::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == mainForm_) mainForm_ = nullptr;
}

TCustomForm* TApplication::CreateForm(std::string_view className) {
  TCustomForm* form = TCustomForm::CreateByName(className, this);
  if (!mainForm_) mainForm_ = form;
  return form;
}

void TApplication::Run() {
  if (!mainForm_ || terminated_) return;
  platform::Widgetset& ws = CurrentWidgetset();
  if (showMainForm_ && !mainForm_->Visible()) mainForm_->Show();
  while (!terminated_) {
    if (!ws.HandleMessage(nullptr)) break;
  }
}

void TApplication::ProcessMessages() {
  CurrentWidgetset().ProcessMessages();
}

void TApplication::HandleException(TObject* sender) noexcept {
  HandleException(sender, std::current_exception());
}

void TApplication::HandleException(TObject* sender, std::exception_ptr e) noexcept {
  if (!e) return;
  auto dispatch = [&](Exception& ex) {
    if (!OnException) {
      ShowException(ex);
      return;
    }
    try {
      OnException(sender, ex);
    } catch (const EAbort&) {
    } catch (const Exception& again) {
      ShowException(again);
    } catch (const std::exception& again) {
      ShowException(EExternalException(again.what()));
    } catch (...) {
      ShowException(EExternalException("Unknown exception"));
    }
  };
  try {
    std::rethrow_exception(e);
  } catch (const EAbort&) {
    // silent by design
  } catch (Exception& ex) {
    dispatch(ex);
  } catch (const std::exception& ex) {
    EExternalException wrapped(ex.what());
    dispatch(wrapped);
  } catch (...) {
    EExternalException wrapped("Unknown exception");
    dispatch(wrapped);
  }
}

void TApplication::ShowException(const Exception& e) noexcept {
  try {
    CurrentWidgetset().ShowError(title_, e.Message());
  } catch (...) {
    // The last resort has failed; nothing is left to show it with.
  }
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  return CurrentWidgetset().MessageBox(text, caption, flags);
}
