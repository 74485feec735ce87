// Forms and the screen (see Forms.h): creation from the registered
// description, showing, closing, the modal loop and activation.
#include "framework/Forms.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/FormReader.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"

namespace {
// Forms whose Release is pending; a form leaves the list when destroyed, so
// a posted release never frees a form twice.
std::vector<TCustomForm*>& Released() {
  static std::vector<TCustomForm*> list;
  return list;
}

void Erase(std::vector<TCustomForm*>& list, TCustomForm* f) noexcept {
  list.erase(std::remove(list.begin(), list.end(), f), list.end());
}
}  // namespace

// --- TScreen

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

int TScreen::Width() const {
  return CurrentWidgetset().ScreenSize().cx;
}
int TScreen::Height() const {
  return CurrentWidgetset().ScreenSize().cy;
}

void TScreen::SetCursor(TCursor cursor) noexcept {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  CurrentWidgetset().SetCursor(cursor);
}

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount())
    throw EInvalidOperation("Form index out of bounds (" + std::to_string(index) + ")");
  return forms_[static_cast<size_t>(index)];
}

void TScreen::Add(TCustomForm* f) {
  forms_.push_back(f);
}

void TScreen::Remove(TCustomForm* f) noexcept {
  Erase(forms_, f);
  if (active_ == f) active_ = nullptr;
}

void TScreen::SetActive(TCustomForm* f) {
  if (f == active_) return;
  TCustomForm* previous = active_;
  active_ = f;
  if (previous) GuardCallback(previous, [previous] { previous->Deactivate(); });
  if (f) f->Activate();
}

// --- TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), canvas_(new TCanvas) {
  StoreVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  canvas_->Font()->Assign(Font());
  Screen().Add(this);
}

TCustomForm::~TCustomForm() {
  Erase(Released(), this);
  Screen().Remove(this);
  canvas_->Free();
}

void TCustomForm::BeforeDestruction() noexcept {
  GuardCallback(this, [this] { DoDestroy(); });
  Screen().Remove(this);
  activeControl_ = nullptr;
  TWinControl::BeforeDestruction();
}

TCustomForm* TCustomForm::CreateByName(std::string_view className, TComponent* owner) {
  const ClassInfo* ci = ClassRegistry::Global().FindClass(className);
  if (!ci || !ci->Meta().InheritsFrom(TCustomForm::StaticMetaClass()))
    throw EClassNotFound("Form class " + std::string(className) + " not found");
  Owned<TCustomForm> form(
      static_cast<TCustomForm*>(ClassRegistry::Global().Create(ci->Name(), owner)));
  form->InitForm();
  return form.release();
}

void TCustomForm::InitForm() {
  if (ClassRegistry::Global().FindDescription(ClassName())) ReadRegisteredForm(*this);
  try {
    DoCreate();
  } catch (...) {
    Application().HandleException(this);
  }
  if (showAfterCreate_) {
    showAfterCreate_ = false;
    SetVisible(true);
  }
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}
void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}
void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}
void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

platform::WSControl& TCustomForm::WS() const {
  return CurrentWidgetset().Forms();
}

void TCustomForm::PushState() {
  TWinControl::PushState();
  auto* ws = PeerFamily<platform::WSForm>();
  ws->SetBorder(*this, borderStyle_, borderIcons_);
  ws->SetFormStyle(*this, formStyle_);
  ws->SetWindowState(*this, windowState_);
}

void TCustomForm::PaintOn(platform::Canvas& canvas) {
  canvas_->SetTarget(&canvas);
  try {
    canvas_->Brush()->SetColor(Color());
    if (OnPaint) OnPaint(this);
  } catch (...) {
    canvas_->SetTarget(nullptr);
    throw;
  }
  canvas_->SetTarget(nullptr);
}

void TCustomForm::FontChanged() {
  TWinControl::FontChanged();
  canvas_->Font()->Assign(Font());
}

TRect TCustomForm::ClientRect() const {
  const TRect m = CurrentWidgetset().FrameMargins(borderStyle_);
  return TRect{0, 0, std::max(0, Width() - m.left - m.right),
               std::max(0, Height() - m.top - m.bottom)};
}

void TCustomForm::SetClientWidth(int v) {
  if (InState(csReading))
    pendingClientWidth_ = v;
  else
    TWinControl::SetClientWidth(v);
}

void TCustomForm::SetClientHeight(int v) {
  if (InState(csReading))
    pendingClientHeight_ = v;
  else
    TWinControl::SetClientHeight(v);
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (pendingClientWidth_ >= 0) TWinControl::SetClientWidth(pendingClientWidth_);
  if (pendingClientHeight_ >= 0) TWinControl::SetClientHeight(pendingClientHeight_);
  pendingClientWidth_ = pendingClientHeight_ = -1;
}

void TCustomForm::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == activeControl_) activeControl_ = nullptr;
}

void TCustomForm::ControlRemoving(TControl* c) noexcept {
  if (activeControl_ && c && c->Is<TWinControl>() &&
      static_cast<TWinControl*>(c)->ContainsControl(activeControl_))
    activeControl_ = nullptr;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  if (auto* ws = PeerFamily<platform::WSForm>()) ws->SetBorder(*this, borderStyle_, borderIcons_);
  Realign();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  if (auto* ws = PeerFamily<platform::WSForm>()) ws->SetBorder(*this, borderStyle_, borderIcons_);
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == formStyle_) return;
  formStyle_ = style;
  if (auto* ws = PeerFamily<platform::WSForm>()) ws->SetFormStyle(*this, formStyle_);
}

void TCustomForm::SetWindowState(TWindowState state) {
  if (state == windowState_) return;
  windowState_ = state;
  if (auto* ws = PeerFamily<platform::WSForm>()) ws->SetWindowState(*this, windowState_);
  if (Showing()) ApplyWindowState();
}

void TCustomForm::ApplyWindowState() {
  if (Parent()) return;
  if (windowState_ == wsMaximized && !maximizedApplied_) {
    restoreBounds_ = BoundsRect();
    maximizedApplied_ = true;
    const TRect m = CurrentWidgetset().FrameMargins(borderStyle_);
    const TSize screen = CurrentWidgetset().ScreenSize();
    // The frame lies just outside the screen: caption and client fill it.
    SetBounds(-m.left, -m.bottom, screen.cx + m.left + m.right, screen.cy + 2 * m.bottom);
  } else if (windowState_ == wsNormal && maximizedApplied_) {
    maximizedApplied_ = false;
    SetBoundsRect(restoreBounds_);
  }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  if (control && !InState(csLoading)) {
    if (control->ParentForm() != this)
      throw EInvalidOperation("Control " + control->Name() + " is not on form " + Name());
    if (Visible() && !control->CanFocus())
      throw EInvalidOperation("Cannot focus a disabled or invisible window");
  }
  activeControl_ = control;
  if (control && control->HasPeer() && Showing()) CurrentWidgetset().Controls().SetFocus(*control);
}

bool TCustomForm::Active() const {
  return Screen().ActiveForm() == this;
}

bool TCustomForm::Showing() const {
  return Visible() && (!Parent() || Parent()->Showing());
}

void TCustomForm::SetVisible(bool visible) {
  if (visible && InState(csLoading)) {
    showAfterCreate_ = true;  // shown once created, as the classic framework does
    return;
  }
  TWinControl::SetVisible(visible);
}

void TCustomForm::PlaceOnScreen() {
  if (Parent()) return;
  TRect area{0, 0, Screen().Width(), Screen().Height()};
  const TControl* over = nullptr;
  if (position_ == poMainFormCenter) over = Application().MainForm();
  if (position_ == poOwnerFormCenter && Owner() && Owner()->Is<TCustomForm>())
    over = static_cast<const TCustomForm*>(Owner());
  if (over == this) over = nullptr;
  if (over) area = over->BoundsRect();
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
    case poMainFormCenter:
    case poOwnerFormCenter:
      SetBounds(area.left + (area.Width() - Width()) / 2, area.top + (area.Height() - Height()) / 2,
                Width(), Height());
      break;
    default:
      break;
  }
}

void TCustomForm::VisibleChanged() {
  if (Visible()) {
    PlaceOnScreen();
    ApplyWindowState();
    const bool hadPeer = HasPeer();
    CreatePeer();  // a new peer receives Visible with all other state
    DoShow();
    if (auto* ws = PeerFamily<platform::WSForm>()) {
      if (hadPeer) ws->SetVisible(*this, true);
      ws->Show(*this);
      if (activeControl_ && activeControl_->HasPeer())
        CurrentWidgetset().Controls().SetFocus(*activeControl_);
    }
  } else {
    if (auto* ws = PeerFamily<platform::WSForm>()) {
      ws->SetVisible(*this, false);
      ws->Hide(*this);
    }
    DoHide();
    if (Screen().ActiveForm() == this) Screen().SetActive(nullptr);
  }
  if (Align() != alNone) RequestAlign();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application().MainForm() == this) {
    Application().Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone) modalResult_ = mrNone;
  if (action == caFree) Release();
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || modal_ || !Enabled())
    throw EInvalidOperation("Cannot make a visible window modal");
  platform::Widgetset& ws = CurrentWidgetset();
  TCustomForm* previous = Screen().ActiveForm();
  modal_ = true;
  modalResult_ = mrNone;
  try {
    Show();
    ws.Forms().BeginModal(*this);
    ws.Forms().Activate(*this);
    // What OnShow or OnActivate set does not end the loop before it ran.
    modalResult_ = mrNone;
    do {
      const bool input = ws.HandleMessage(this);
      if (Application().Terminated()) {
        modalResult_ = mrCancel;
      } else if (modalResult_ != mrNone) {
        CloseModal();
      }
      // Nobody will ever answer: the form cannot stay open.
      if (!input && modalResult_ == mrNone) modalResult_ = mrCancel;
    } while (modalResult_ == mrNone);
  } catch (...) {
    modal_ = false;
    GuardCallback(this, [&] {
      ws.Forms().EndModal(*this, mrCancel);
      Hide();
    });
    throw;
  }
  const TModalResult result = modalResult_;
  ws.Forms().EndModal(*this, result);
  modal_ = false;
  Hide();
  // The form that was active before gets the activation back.
  if (previous && previous != this && previous->Showing()) {
    ws.Post([previous] {
      for (int i = 0; i < Screen().FormCount(); ++i)
        if (Screen().Forms(i) == previous && previous->Showing()) previous->WidgetActivate();
    });
  }
  return result;
}

void TCustomForm::Release() {
  auto& list = Released();
  if (std::find(list.begin(), list.end(), this) != list.end()) return;
  list.push_back(this);
  CurrentWidgetset().Post([this] {
    auto& pending = Released();
    const auto it = std::find(pending.begin(), pending.end(), this);
    if (it == pending.end()) return;  // destroyed meanwhile
    pending.erase(it);
    Free();
  });
}

void TCustomForm::SetFocus() {
  if (!Visible() || !Enabled())
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (HasPeer()) CurrentWidgetset().Forms().Activate(*this);
}

void TCustomForm::WidgetActivate() noexcept {
  GuardCallback(this, [this] { Screen().SetActive(this); });
}

void TCustomForm::WidgetDeactivate() noexcept {
  GuardCallback(this, [this] {
    if (Screen().ActiveForm() == this) Screen().SetActive(nullptr);
  });
}

void TCustomForm::WidgetClose() noexcept {
  GuardCallback(this, [this] { Close(); });
}
