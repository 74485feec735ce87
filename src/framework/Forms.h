// Forms and the screen. A form is a top-level window (or, given a parent, a
// child window) that reads its registered form description when created,
// shows modelessly (Show/Hide/Close) or modally (ShowModal, ending when its
// ModalResult is set and it agrees to close), and becomes the active form
// when the widgetset activates it (OnActivate). TScreen knows the screen
// size, the live forms and the active one.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "framework/Controls.h"

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// The common ground of forms: a window that reads its registered description
// when created and shows modelessly or modally.
class TCustomForm : public TWinControl {
  PELLMORE_CLASS(TCustomForm, TWinControl)

 public:
  // An empty form (no description is read; see Create).
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Creates a form of class T owned by `owner`: reads the description
  // registered for T (an inherited description reads its ancestor's
  // first), then fires OnCreate. A class without a registered description
  // starts empty. A failing read destroys the form and raises.
  template <class T>
  static T* Create(TComponent* owner) {
    Owned<T> form(new T(owner));
    form->InitForm();
    return form.release();
  }
  // The same for a form class registered by name; EClassNotFound when the
  // name is unknown or not a form class.
  static TCustomForm* CreateByName(std::string_view className, TComponent* owner);

  TFormBorderStyle BorderStyle() const noexcept { return borderStyle_; }
  // Keeps the outer size (the client area changes with the frame).
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const noexcept { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const noexcept { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TWindowState WindowState() const noexcept { return windowState_; }
  // Maximised, a shown top-level form covers the screen (its frame just
  // outside it); back to normal it gets its previous bounds.
  void SetWindowState(TWindowState state);
  TFormStyle FormStyle() const noexcept { return formStyle_; }
  void SetFormStyle(TFormStyle style);

  // The control with the focus, or null. Raises EInvalidOperation for a
  // control of another form or (outside loading) one that cannot focus.
  TWinControl* ActiveControl() const noexcept { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  TCanvas* Canvas() const noexcept { return canvas_; }

  TModalResult ModalResult() const noexcept { return modalResult_; }
  // On a modal form, a non-zero result ends the modal loop (if the form
  // agrees to close).
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  bool Modal() const noexcept { return modal_; }
  bool Active() const;

  // The client area: the bounds minus the frame of the border style.
  TRect ClientRect() const override;
  // While reading a description, ClientWidth/ClientHeight wait for the end
  // of the read, so they hold whatever the border style.
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;
  bool Showing() const override;
  // Showing places the form (Position), creates its peers and fires
  // OnShow; hiding fires OnHide. A form made visible by its description
  // shows after OnCreate.
  void SetVisible(bool visible) override;
  void Close();
  bool CloseQuery();
  // Shows the form modally and returns its ModalResult. Raises
  // EInvalidOperation when it is already visible or modal. Exceptions from
  // the widgetset's loop (a broken UI script) pass through after the form
  // is hidden again.
  TModalResult ShowModal();
  // Frees the form when messages are next processed (safe in its own
  // event handlers).
  void Release();
  void SetFocus() override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Entry points for the widgetset (exception boundaries).
  void WidgetActivate() noexcept;
  void WidgetDeactivate() noexcept;
  // The user closed the window (title bar, system menu).
  void WidgetClose() noexcept;

  // A child control leaves the form's tree: it may not stay the active
  // control.
  void ControlRemoving(TControl* c) noexcept;

  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

 protected:
  // Reads the registered description and fires OnCreate (exceptions from
  // OnCreate go to the application's handler, as the classic framework
  // does; a failing read raises).
  void InitForm();
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();

  platform::WSControl& WS() const override;
  bool IsTopLevel() const noexcept override { return true; }
  void PushState() override;
  void PaintOn(platform::Canvas& canvas) override;
  void FontChanged() override;
  void VisibleChanged() override;
  void BeforeDestruction() noexcept override;

 private:
  friend class TScreen;
  void PlaceOnScreen();
  void ApplyWindowState();
  void CloseModal();

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TFormStyle formStyle_ = fsNormal;
  TWinControl* activeControl_ = nullptr;
  TCanvas* canvas_;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool showAfterCreate_ = false;
  int pendingClientWidth_ = -1;
  int pendingClientHeight_ = -1;
  TRect restoreBounds_{};
  bool maximizedApplied_ = false;
};

// A window of the setup program, such as a wizard page or the main form, built
// from its form description.
class TForm : public TCustomForm {
  PELLMORE_CLASS(TForm, TCustomForm)

 public:
  using TCustomForm::TCustomForm;
};

class TScreen {
 public:
  int Width() const;
  int Height() const;
  int PixelsPerInch() const noexcept { return 96; }
  TCustomForm* ActiveForm() const noexcept { return active_; }
  int FormCount() const noexcept { return static_cast<int>(forms_.size()); }
  // Live forms, oldest first.
  TCustomForm* Forms(int index) const;
  // The cursor over the program's windows.
  TCursor Cursor() const noexcept { return cursor_; }
  void SetCursor(TCursor cursor) noexcept;

 private:
  friend class TCustomForm;
  void Add(TCustomForm* f);
  void Remove(TCustomForm* f) noexcept;
  // Makes `f` the active form (null: none), firing OnDeactivate of the
  // previous one and OnActivate of the new one.
  void SetActive(TCustomForm* f);
  std::vector<TCustomForm*> forms_;
  TCustomForm* active_ = nullptr;
  TCursor cursor_ = crDefault;
};

TScreen& Screen();

// The hourglass for the lifetime of the object, then the cursor as it was
// (also when the work in between raises).
class TBusyCursor {
 public:
  TBusyCursor() noexcept : saved_(Screen().Cursor()) { Screen().SetCursor(crHourGlass); }
  ~TBusyCursor() { Screen().SetCursor(saved_); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;

 private:
  TCursor saved_;
};
