// The control model: TControl (bounds, alignment, visibility, text, colour,
// font, parent), TWinControl (a control that parents others and lays them
// out by Align), TGraphicControl and TCustomControl (controls that paint on
// a canvas). The model owns every value; a control with a native peer
// pushes each change through the widgetset (framework/Widgetset.h), and a
// new peer receives all stored state at once.
//
// Parent/child (Parent, Controls) is not ownership: a form owns what its
// description creates, whatever the nesting.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/ControlTypes.h"
#include "framework/Graphics.h"

namespace platform {
class Canvas;
class Peer;
class WSControl;
}  // namespace platform

class TWinControl;
class TCustomForm;

// A call that is not allowed in the control's state (showing a visible
// form modally, focusing a hidden control ...).
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInvalidOperation"; }
};

// Hands the exception being handled to the application's exception
// handler (Application().HandleException). Only inside a catch block.
void HandleCallbackException(TObject* sender) noexcept;

// The exception boundary of every callback from a widgetset into the
// model: runs f and lets no exception escape.
template <class F>
void GuardCallback(TObject* sender, F&& f) noexcept {
  try {
    f();
  } catch (...) {
    HandleCallbackException(sender);
  }
}

using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, uint32_t Shift)>;

// The common ancestor of visible controls: position, size, alignment,
// visibility, caption, colour, font and parent.
class TControl : public TComponent {
  PELLMORE_CLASS(TControl, TComponent)

 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const noexcept { return parent_; }
  // Moves the control into `parent`'s Controls (null: none). A control
  // cannot be its own ancestor (EInvalidOperation). Both parents realign.
  virtual void SetParent(TWinControl* parent);

  int Left() const noexcept { return left_; }
  int Top() const noexcept { return top_; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  // Stores the bounds, pushes them, asks the parent to realign (an aligned
  // control may be moved back) and, on a size change, realigns children
  // and fires OnResize.
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const noexcept { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
  // The client area in the control's own coordinates; the whole control
  // unless a border takes part of it.
  virtual TRect ClientRect() const { return TRect{0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  // Resizes the control so that its client area gets this size.
  virtual void SetClientWidth(int v) { SetWidth(v + width_ - ClientWidth()); }
  virtual void SetClientHeight(int v) { SetHeight(v + height_ - ClientHeight()); }

  TAlign Align() const noexcept { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const noexcept { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent; a form must be shown.
  virtual bool Showing() const;
  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled);
  // Enabled here and in every parent.
  bool EffectivelyEnabled() const;

  // Caption and Text are one value (the window text).
  const std::string& Caption() const noexcept { return text_; }
  void SetCaption(const std::string& text) { SetText(text); }
  const std::string& Text() const noexcept { return text_; }
  void SetText(const std::string& text);

  TColor Color() const noexcept { return color_; }
  // Clears ParentColor.
  void SetColor(TColor color);
  bool ParentColor() const noexcept { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const noexcept { return font_; }
  bool ParentFont() const noexcept { return parentFont_; }
  void SetParentFont(bool value);
  bool IsFontStored() const noexcept { return !parentFont_; }
  bool IsColorStored() const noexcept { return !parentColor_; }

  const std::string& Hint() const noexcept { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  bool ShowHint() const noexcept { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
  bool AutoSize() const noexcept { return autoSize_; }
  void SetAutoSize(bool value);

  // The form this control is on (itself for a form), or null.
  TCustomForm* ParentForm() const;

  // Asks for a repaint when messages are next processed (painting is the
  // widgetset's, through WidgetPaint); Update paints what is invalid now.
  // Repaint and Refresh do both, so a control shows its state before long
  // work that lets no message through.
  void Invalidate();
  void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  void Refresh() { Repaint(); }
  void BringToFront();

  // The user clicked (or the program simulates it): fires OnClick.
  virtual void Click();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;

  // The native peer, or null.
  platform::Peer* Peer() const noexcept { return peer_.get(); }
  bool HasPeer() const noexcept { return peer_ != nullptr; }

  // Entry points for the widgetset; each is an exception boundary.
  // The user clicked the control.
  void WidgetClick() noexcept;
  // Paint the control on `canvas` (client coordinates).
  void WidgetPaint(platform::Canvas& canvas) noexcept;
  // The native window was resized or moved by the user or the system.
  void WidgetBounds(const TRect& bounds) noexcept;

  void Loaded() override;
  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const noexcept override;

  // Creates the peer (with the parent's first) and pushes all state; does
  // nothing when there is one or the widgetset makes none.
  void CreatePeer();
  // Drops the peer (children's first).
  void DestroyPeer() noexcept;
  // A change that a live native window cannot take: recreate the peer.
  void RecreatePeer();

 protected:
  // The widgetset family serving this class.
  virtual platform::WSControl& WS() const;
  // Pushes every stored value to a new peer. Overrides push theirs after
  // calling the inherited one.
  virtual void PushState();
  // A control that may have a peer without a parent (a form).
  virtual bool IsTopLevel() const noexcept { return false; }
  // The family that made the peer, as the family type of this class; null
  // without a peer.
  template <class F>
  F* PeerFamily() const noexcept {
    return peer_ ? static_cast<F*>(peerFamily_) : nullptr;
  }
  // Creates the peers of children (TWinControl).
  virtual void CreateChildPeers() {}
  virtual void DestroyChildPeers() noexcept {}
  // Paints with `canvas` bound to the widgetset's target (TGraphicControl,
  // TCustomControl and forms).
  virtual void PaintOn(platform::Canvas& /*canvas*/) {}

  // What a user's click does (WidgetClick): Click by default; check boxes
  // toggle, radio buttons check themselves.
  virtual void ClickedByUser() { Click(); }
  // Hooks after a change of the value (the value is already stored).
  virtual void TextChanged();
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  virtual void Resize();
  // Recomputes the size of an auto-sized control (labels, images).
  virtual void AdjustSize() {}
  // The parent's font or colour changed.
  void ParentFontChanged();
  void ParentColorChanged();
  // Asks the parent to realign this control.
  void RequestAlign();
  // The size of `text` in this control's font (the widgetset's metrics).
  TSize MeasureText(std::string_view text) const;
  // Store without any hook (constructors).
  void StoreAutoSize(bool autoSize) noexcept { autoSize_ = autoSize; }
  // Stores visibility without any hook (constructors).
  void StoreVisible(bool visible) noexcept { visible_ = visible; }
  // Drops the peer while the control is still whole.
  void BeforeDestruction() noexcept override;

 private:
  friend class TWinControl;
  void OnFontObjectChange();
  bool pushBounds_ = true;  // false while the widgetset reports bounds

  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TFont* font_;
  bool parentFont_ = true;
  bool syncingFont_ = false;
  std::string hint_;
  bool showHint_ = false;
  bool autoSize_ = false;
  std::unique_ptr<platform::Peer> peer_;
  platform::WSControl* peerFamily_ = nullptr;  // the family that made peer_
};

// A control that parents others and lays them out by Align.
class TWinControl : public TControl {
  PELLMORE_CLASS(TWinControl, TControl)

 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const noexcept { return static_cast<int>(controls_.size()); }
  // EInvalidOperation "Control index out of bounds (i)" outside the list.
  TControl* Controls(int index) const;
  bool ContainsControl(const TControl* c) const;

  int BorderWidth() const noexcept { return borderWidth_; }
  void SetBorderWidth(int width);
  int TabOrder() const noexcept { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }
  bool TabStop() const noexcept { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }

  // Alignment is deferred while disabled (nested) or while loading and
  // runs once at the end.
  void DisableAlign() noexcept { ++alignLevel_; }
  void EnableAlign();
  void Realign();
  // The area aligned children share: the client area minus BorderWidth
  // (panels also minus their bevels).
  virtual void AdjustClientRect(TRect& rect) const;

  bool CanFocus() const;
  bool Focused() const;
  // Makes this the active control of its form; EInvalidOperation when it
  // cannot take the focus (hidden or disabled).
  virtual void SetFocus();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  // Entry points for the widgetset (exception boundaries).
  void WidgetKey(bool down, uint16_t key, uint32_t shift) noexcept;
  // The user typed: the control's text becomes `text` (TextTyped).
  void WidgetText(const std::string& text) noexcept;

  void Loaded() override;
  // Written inside a control in a description: its children owned by the
  // root, in Controls order (the root itself lists as a component does).
  void GetChildren(const std::function<void(TComponent*)>& proc,
                   const TComponent* root) const override;

 protected:
  // Lays out aligned children: alTop (by Top), alBottom (bottom edge),
  // alLeft, alRight, then alClient in what remains. `moved` (may be null)
  // is the child whose own change asked for it: it keeps its place among
  // equals.
  virtual void AlignControls(TControl* moved, TRect& rect);
  // Request from a child (or null for a full realign).
  void AlignControl(TControl* moved);
  void CreateChildPeers() override;
  void DestroyChildPeers() noexcept override;
  void FontChanged() override;
  void ColorChanged() override;
  void Resize() override;
  void BeforeDestruction() noexcept override;
  // What typing does: sets the text (edits apply MaxLength and ReadOnly).
  virtual void TextTyped(const std::string& text) { SetText(text); }
  // Children change: a subclass may keep its own lists (page control).
  virtual void ControlInserted(TControl* /*c*/) {}
  virtual void ControlRemoved(TControl* /*c*/) {}

 private:
  friend class TControl;
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void DestroyChildren() noexcept;

  std::vector<TControl*> controls_;  // insertion order (z-order)
  int borderWidth_ = 0;
  int tabOrder_ = -1;
  bool tabStop_ = false;
  int alignLevel_ = 0;
  bool alignPending_ = false;
};

// A control without a window of its own that paints on a canvas (labels,
// images, bevels).
class TGraphicControl : public TControl {
  PELLMORE_CLASS(TGraphicControl, TControl)

 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const noexcept { return canvas_; }

 protected:
  virtual void Paint() {}
  void PaintOn(platform::Canvas& canvas) override;

 private:
  TCanvas* canvas_;
};

// A windowed control that paints itself (panels, custom-drawn controls).
class TCustomControl : public TWinControl {
  PELLMORE_CLASS(TCustomControl, TWinControl)

 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas* Canvas() const noexcept { return canvas_; }

 protected:
  virtual void Paint() {}
  void PaintOn(platform::Canvas& canvas) override;

 private:
  TCanvas* canvas_;
};

// Removes single '&' accelerator marks ("&&" stays one '&').
std::string StripAccelChars(std::string_view text);
// Where the character a single '&' marks is in StripAccelChars(text) (a
// byte offset), or npos when nothing is marked.
size_t AccelCharOffset(std::string_view text);
