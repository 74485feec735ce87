// The widgetset seam: how the control model reaches native windows. The
// control model owns all state; a setter stores its value and then, only if
// the control has a native peer, pushes it through one of these interfaces;
// creating a peer is followed by a push of all stored state. There is one
// interface per control family, each with safe no-op defaults, so a new
// widgetset (or a new control) works before every call is implemented.
//
// Callbacks from a widgetset into the control model go through the
// model's Widget... entry points (TControl::WidgetClick ...), which catch
// every exception and hand it to the application's exception handler:
// exceptions never cross back into the widgetset.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ControlTypes.h"
#include "framework/GraphicsTypes.h"

class TControl;
class TCustomForm;
class TStrings;

namespace platform {

// A drawing surface. The canvas keeps the current pen, brush and font; a
// primitive draws with them. Coordinates are the painted control's client
// coordinates.
class Canvas {
 public:
  virtual ~Canvas() = default;

  void SetPen(const TPenData& pen) {
    pen_ = pen;
    PenChanged();
  }
  void SetBrush(const TBrushData& brush) {
    brush_ = brush;
    BrushChanged();
  }
  void SetFont(const TFontData& font) {
    font_ = font;
    FontChanged();
  }
  const TPenData& Pen() const noexcept { return pen_; }
  const TBrushData& Brush() const noexcept { return brush_; }
  const TFontData& Font() const noexcept { return font_; }

  virtual void MoveTo(int /*x*/, int /*y*/) {}
  // A line from the current position to (x, y), which becomes current.
  virtual void LineTo(int /*x*/, int /*y*/) {}
  // Fills with the brush; no outline.
  virtual void FillRect(const TRect& /*r*/) {}
  // Outline with the pen, inside filled with the brush.
  virtual void Rectangle(const TRect& /*r*/) {}
  virtual void Ellipse(const TRect& /*r*/) {}
  virtual void Polygon(std::span<const TPoint> /*points*/) {}
  // Text at (x, y) (its top-left corner, rotated by the font's escapement);
  // a clear brush leaves the background as it is.
  virtual void TextOut(int /*x*/, int /*y*/, std::string_view /*text*/) {}
  // A picture file ("bmp" or "ico" bytes) stretched into `dest`.
  virtual void DrawPicture(const TRect& /*dest*/, std::string_view /*format*/,
                           std::span<const uint8_t> /*data*/) {}
  // The size of `text` in the current font, unrotated.
  virtual TSize TextExtent(std::string_view text) { return FixedTextExtent(font_, text); }

 protected:
  virtual void PenChanged() {}
  virtual void BrushChanged() {}
  virtual void FontChanged() {}

 private:
  TPenData pen_;
  TBrushData brush_;
  TFontData font_;
};

// The native object behind one control; widgetsets derive their own.
class Peer {
 public:
  virtual ~Peer() = default;
};

// Every control. A windowed control's peer is created with or after its
// parent's, so a widgetset can parent the native window right away.
class WSControl {
 public:
  virtual ~WSControl() = default;
  // Null means "no native object": the control then never pushes.
  virtual std::unique_ptr<Peer> CreatePeer(TControl& /*c*/) { return nullptr; }
  // Called just before the control drops its peer.
  virtual void DestroyPeer(TControl& /*c*/) {}
  // Bounds in the parent's client coordinates (a form: on the screen).
  virtual void SetBounds(TControl& /*c*/, const TRect& /*bounds*/) {}
  virtual void SetVisible(TControl& /*c*/, bool /*visible*/) {}
  virtual void SetEnabled(TControl& /*c*/, bool /*enabled*/) {}
  // Caption or text.
  virtual void SetText(TControl& /*c*/, const std::string& /*text*/) {}
  virtual void SetFont(TControl& /*c*/, const TFontData& /*font*/) {}
  virtual void SetColor(TControl& /*c*/, TColor /*color*/) {}
  // The control must be repainted (custom-painted controls paint through
  // the model's WidgetPaint entry point).
  virtual void Invalidate(TControl& /*c*/) {}
  // What is invalid of the control is painted now, not when messages are
  // next processed.
  virtual void Update(TControl& /*c*/) {}
  virtual void SetFocus(TControl& /*c*/) {}
  virtual void BringToFront(TControl& /*c*/) {}
};

// Top-level windows.
class WSForm : public WSControl {
 public:
  virtual void SetBorder(TCustomForm& /*f*/, TFormBorderStyle /*style*/, TBorderIcons /*icons*/) {}
  virtual void SetWindowState(TCustomForm& /*f*/, TWindowState /*state*/) {}
  virtual void SetFormStyle(TCustomForm& /*f*/, TFormStyle /*style*/) {}
  // Shows the window; the widgetset activates it afterwards (the form's
  // WidgetActivate), at once or when its messages are processed.
  virtual void Show(TCustomForm& /*f*/) {}
  virtual void Hide(TCustomForm& /*f*/) {}
  // Activates a shown window now (the modal loop's start).
  virtual void Activate(TCustomForm& /*f*/) {}
  // Brackets a modal loop: other windows are disabled in between.
  virtual void BeginModal(TCustomForm& /*f*/) {}
  virtual void EndModal(TCustomForm& /*f*/, TModalResult /*result*/) {}
};

class WSButton : public WSControl {
 public:
  virtual void SetDefault(TControl& /*c*/, bool /*isDefault*/) {}
  // The glyph of a bitmap button changed (a "bmp" file, or empty).
  virtual void SetGlyph(TControl& /*c*/, std::span<const uint8_t> /*bmp*/, int /*numGlyphs*/) {}
};

// Check boxes and radio buttons.
class WSCheckBox : public WSControl {
 public:
  virtual void SetState(TControl& /*c*/, TCheckBoxState /*state*/) {}
};

class WSEdit : public WSControl {
 public:
  virtual void SetReadOnly(TControl& /*c*/, bool /*readOnly*/) {}
  virtual void SetMaxLength(TControl& /*c*/, int /*maxLength*/) {}
  virtual void SetPasswordChar(TControl& /*c*/, char32_t /*ch*/) {}
};

class WSMemo : public WSEdit {
 public:
  virtual void SetLines(TControl& /*c*/, const TStrings& /*lines*/) {}
  virtual void SetWordWrap(TControl& /*c*/, bool /*wrap*/) {}
  virtual void SetScrollBars(TControl& /*c*/, TScrollStyle /*bars*/) {}
};

// List boxes and combo boxes.
class WSListBox : public WSControl {
 public:
  virtual void SetItems(TControl& /*c*/, const TStrings& /*items*/) {}
  virtual void SetItemIndex(TControl& /*c*/, int /*index*/) {}
};

class WSProgressBar : public WSControl {
 public:
  virtual void SetRange(TControl& /*c*/, int /*min*/, int /*max*/) {}
  virtual void SetPosition(TControl& /*c*/, int /*position*/) {}
};

class WSPageControl : public WSControl {
 public:
  // The captions of the visible tabs and the index of the current one.
  virtual void SetTabs(TControl& /*c*/, const std::vector<std::string>& /*captions*/,
                       int /*tabIndex*/) {}
};

// Tree views and list views: their items changed (the widgetset reads them
// from the control), or the selection did.
class WSItemView : public WSControl {
 public:
  virtual void ItemsChanged(TControl& /*c*/) {}
  virtual void SelectionChanged(TControl& /*c*/) {}
  // A tree view's horizontal scroll bar shows always (or only when needed).
  virtual void SetHorzScrollBar(TControl& /*c*/, bool /*always*/) {}
};

// The system's folder browser, extended by the kit (the open-folder
// dialog). The widgetset shows the browser with a create-folder button and
// a path edit of its own and reports what happens to a client; the client
// decides everything else through the host. All calls happen on the GUI
// thread while BrowseForFolder runs, never after it returned.
class FolderBrowserHost {
 public:
  virtual ~FolderBrowserHost() = default;
  // Selects the folder `path` in the browser. A path the browser cannot
  // show (missing, blank) leaves the selection as it is. A change is
  // reported (SelectionChanged) before this returns.
  virtual void Select(const std::string& path) = 0;
  virtual std::string PathText() = 0;
  // Sets the path edit's text without reporting it as typed.
  virtual void SetPathText(const std::string& text) = 0;
  virtual void SetCreateVisible(bool visible) = 0;
  virtual bool OkEnabled() = 0;
  // Clicks OK: the browser closes confirmed once the current callback
  // returned.
  virtual void ClickOk() = 0;
};

class FolderBrowserClient {
 public:
  virtual ~FolderBrowserClient() = default;
  // The browser is up, its extra controls in place (the create button
  // shown, the path edit empty, nothing selected by the client yet).
  virtual void Initialized(FolderBrowserHost& host) = 0;
  // The selection changed: `path` is the selected folder's file-system
  // path, empty when the selection is not such a folder (OK is then off).
  virtual void SelectionChanged(FolderBrowserHost& host, const std::string& path) = 0;
  // A key was released in the path edit (headless: its text was typed).
  virtual void PathTyped(FolderBrowserHost& host, const std::string& text) = 0;
  virtual void CreateClicked(FolderBrowserHost& host) = 0;
};

struct FolderBrowserRequest {
  std::string title;          // shown above the tree (headless: the caption)
  std::string createCaption;  // the create button's caption
};

// The widgetset itself: its families, metrics, message handling and the
// system dialogs. The base class is the null widgetset: no native objects,
// the fixed text metrics, nobody to answer (a modal loop ends at once).
class Widgetset {
 public:
  virtual ~Widgetset() = default;
  virtual std::string_view Name() const { return "null"; }

  virtual WSControl& Controls() { return Family<WSControl>(); }
  virtual WSForm& Forms() { return Family<WSForm>(); }
  virtual WSButton& Buttons() { return Family<WSButton>(); }
  virtual WSCheckBox& CheckBoxes() { return Family<WSCheckBox>(); }
  virtual WSEdit& Edits() { return Family<WSEdit>(); }
  virtual WSMemo& Memos() { return Family<WSMemo>(); }
  virtual WSListBox& ListBoxes() { return Family<WSListBox>(); }
  virtual WSProgressBar& ProgressBars() { return Family<WSProgressBar>(); }
  virtual WSPageControl& PageControls() { return Family<WSPageControl>(); }
  virtual WSItemView& ItemViews() { return Family<WSItemView>(); }

  // Screen metrics (GetSystemMetrics).
  virtual TSize ScreenSize() { return {800, 600}; }
  virtual int CaptionHeight() { return 18; }
  // The height of a horizontal scroll bar (SM_CYHSCROLL).
  virtual int HorzScrollBarHeight() { return 16; }
  // The non-client margins of a top-level window with this border: the
  // window's bounds minus these are its client area. Default: none for
  // bsNone; 3 pixels on each side for bsSingle, bsDialog and bsToolWindow;
  // 4 for the sizeable styles; the caption height on top of all but bsNone.
  virtual TRect FrameMargins(TFormBorderStyle style) {
    if (style == bsNone) return {};
    const int edge = (style == bsSizeable || style == bsSizeToolWin) ? 4 : 3;
    return TRect{edge, edge + CaptionHeight(), edge, edge};
  }
  // A system colour's RGB value (the standard Windows 95 scheme by
  // default); indexes outside the table give black.
  virtual TColor SysColor(int index);
  virtual TSize TextExtent(const TFontData& font, std::string_view text) {
    return FixedTextExtent(font, text);
  }

  // Queues `fn` to run when messages are next processed (the model's own
  // deferred work, such as freeing a released form). The model guards what
  // it posts; the widgetset only runs it.
  void Post(std::function<void()> fn) { posted_.push_back(std::move(fn)); }
  // Runs what is queued, including what queued work queues in turn.
  virtual void ProcessMessages() { RunPosted(); }
  // Waits for and handles one round of input. `modal` is the form whose
  // modal loop asks (null: the application's run loop). False means that
  // no input will ever come, so the caller stops waiting.
  virtual bool HandleMessage(TCustomForm* /*modal*/) {
    RunPosted();
    return false;
  }

  // A system message box; returns the answer (IDOK ...).
  virtual int MessageBox(const std::string& /*text*/, const std::string& /*caption*/,
                         uint32_t flags) {
    return DefaultMessageBoxAnswer(flags);
  }
  // The application's default display of an unhandled error.
  virtual void ShowError(const std::string& /*title*/, const std::string& /*message*/) {}
  // Shows the folder browser over the active window and returns true when
  // the user confirmed (OK), false when they cancelled. An exception the
  // client raises closes the browser (cancelled) and is raised again from
  // here once it is closed; none crosses the system's callbacks. The null
  // widgetset has nobody to answer: false at once, the client not called.
  virtual bool BrowseForFolder(const FolderBrowserRequest& /*request*/,
                               FolderBrowserClient& /*client*/) {
    return false;
  }
  // String `id` of the system library `library` ("shell32.dll"), empty when
  // the widgetset has no such library or it lacks the string.
  virtual std::string SystemString(std::string_view /*library*/, unsigned /*id*/) { return {}; }

  // The cursor over the program's windows changed. Must not raise.
  virtual void SetCursor(TCursor /*cursor*/) noexcept {}

 protected:
  bool HasPosted() const noexcept { return !posted_.empty(); }
  void RunPosted() {
    while (!posted_.empty()) {
      auto fn = std::move(posted_.front());
      posted_.pop_front();
      fn();
    }
  }

 private:
  template <class F>
  static F& Family() {
    static F family;
    return family;
  }
  std::deque<std::function<void()>> posted_;
};

inline TColor Widgetset::SysColor(int index) {
  static constexpr TColor kWin95[kSystemColorCount] = {
      0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
      0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
      0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, 0xE1FFFF};
  return index >= 0 && index < kSystemColorCount ? kWin95[index] : clBlack;
}

}  // namespace platform
