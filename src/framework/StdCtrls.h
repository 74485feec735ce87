// The standard controls: labels, buttons, edits, memos and rich edits,
// check boxes, radio buttons, list boxes, combo boxes and group boxes.
// Changes made by program code behave as in the classic framework: setting
// Checked or a radio button fires OnClick, setting an edit's Text fires
// OnChange (not while a description is being read).
#pragma once

#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Strings.h"

namespace platform {
class WSButton;
}

// Breaks `text` into the lines a label shows: at line breaks, and with
// `wordWrap` between words so that each line fits `width` (measured by
// `measure`); a word wider than `width` stays whole on its own line.
// Chinese and Japanese text also breaks between its characters.
std::vector<std::string> BreakTextLines(std::string_view text, bool wordWrap, int width,
                                        const std::function<int(std::string_view)>& measure);

// The common ground of labels: text painted on the parent without a window of
// its own, aligned, optionally word-wrapped, with an "&" accelerator that
// focuses FocusControl.
class TCustomLabel : public TGraphicControl {
  PELLMORE_CLASS(TCustomLabel, TGraphicControl)

 public:
  explicit TCustomLabel(TComponent* owner);

  TAlignment Alignment() const noexcept { return alignment_; }
  void SetAlignment(TAlignment a);
  TTextLayout Layout() const noexcept { return layout_; }
  void SetLayout(TTextLayout l);
  bool WordWrap() const noexcept { return wordWrap_; }
  void SetWordWrap(bool v);
  bool Transparent() const noexcept { return transparent_; }
  void SetTransparent(bool v);
  bool ShowAccelChar() const noexcept { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  TWinControl* FocusControl() const noexcept { return focusControl_; }
  void SetFocusControl(TWinControl* c);

  // The text as shown: accelerator marks removed when ShowAccelChar.
  std::string DisplayText() const;
  // The lines shown at the current width.
  std::vector<std::string> DisplayLines() const;

  void Notification(TComponent* c, TOperation op) override;

 protected:
  // Notification drops only FocusControl, which FreeNotification links.
  const TMetaClass* NotificationOnlyForLinks() const noexcept override {
    return &StaticMetaClass();
  }
  // An auto-sized label takes the size of its text: without WordWrap the
  // widest line, with WordWrap its width (or its widest word) and as many
  // lines as the text needs; a right-justified one keeps its right edge.
  void AdjustSize() override;
  void Resize() override;
  void Paint() override;

 private:
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
  bool adjusting_ = false;
};

// A static text on a form, such as a caption or an explanation beside an edit.
class TLabel : public TCustomLabel {
  PELLMORE_CLASS(TLabel, TCustomLabel)

 public:
  using TCustomLabel::TCustomLabel;
};

// The common ancestor of push buttons, check boxes and radio buttons.
class TButtonControl : public TWinControl {
  PELLMORE_CLASS(TButtonControl, TWinControl)

 public:
  using TWinControl::TWinControl;
};

// A push button; Default and Cancel tie it to the Enter and Escape keys, and a
// ModalResult other than mrNone closes a modal form with that result.
class TButton : public TButtonControl {
  PELLMORE_CLASS(TButton, TButtonControl)

 public:
  explicit TButton(TComponent* owner);

  bool Default() const noexcept { return default_; }
  void SetDefault(bool v);
  bool Cancel() const noexcept { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  TModalResult ModalResult() const noexcept { return modalResult_; }
  void SetModalResult(TModalResult r) { modalResult_ = r; }

  // Gives the parent form the button's ModalResult, then fires OnClick.
  void Click() override;

 protected:
  platform::WSControl& WS() const override;
  void PushState() override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

// The common ground of text entry controls: read-only, length limit, password
// character and the OnChange event.
class TCustomEdit : public TWinControl {
  PELLMORE_CLASS(TCustomEdit, TWinControl)

 public:
  explicit TCustomEdit(TComponent* owner);

  bool ReadOnly() const noexcept { return readOnly_; }
  void SetReadOnly(bool v);
  // The most characters typing may enter; 0 for no limit.
  int MaxLength() const noexcept { return maxLength_; }
  void SetMaxLength(int v);
  // One character shown instead of each typed one, or empty.
  const std::string& PasswordChar() const noexcept { return passwordChar_; }
  void SetPasswordChar(const std::string& v);
  bool AutoSelect() const noexcept { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  TBorderStyle BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);

  TNotifyEvent OnChange;

 protected:
  platform::WSControl& WS() const override;
  void PushState() override;
  void TextChanged() override;
  // Read-only edits ignore typing; typed text is cut to MaxLength.
  void TextTyped(const std::string& text) override;
  virtual void Change();

 private:
  bool readOnly_ = false;
  int maxLength_ = 0;
  std::string passwordChar_;
  bool autoSelect_ = true;
  TBorderStyle borderStyle_ = bsSingle;
};

// A one-line text entry field.
class TEdit : public TCustomEdit {
  PELLMORE_CLASS(TEdit, TCustomEdit)

 public:
  using TCustomEdit::TCustomEdit;
};

// The common ground of memos: multi-line text kept as Lines. Text is the
// lines joined by CRLF (no final line break).
class TCustomMemo : public TCustomEdit {
  PELLMORE_CLASS(TCustomMemo, TCustomEdit)

 public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  TStrings* Lines() const noexcept { return lines_; }
  TScrollStyle ScrollBars() const noexcept { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool WordWrap() const noexcept { return wordWrap_; }
  void SetWordWrap(bool v);
  TAlignment Alignment() const noexcept { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  bool WantReturns() const noexcept { return wantReturns_; }
  void SetWantReturns(bool v) { wantReturns_ = v; }
  bool WantTabs() const noexcept { return wantTabs_; }
  void SetWantTabs(bool v) { wantTabs_ = v; }

 protected:
  platform::WSControl& WS() const override;
  void PushState() override;
  void TextChanged() override;

 private:
  void LinesChanged();
  TStrings* lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  TAlignment alignment_ = taLeftJustify;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  bool syncing_ = false;
};

// A multi-line text box whose text is kept as Lines.
class TMemo : public TCustomMemo {
  PELLMORE_CLASS(TMemo, TCustomMemo)

 public:
  using TCustomMemo::TCustomMemo;
};

// A memo whose lines the native control may show with formatting; the
// model keeps plain lines.
class TRichEdit : public TCustomMemo {
  PELLMORE_CLASS(TRichEdit, TCustomMemo)

 public:
  using TCustomMemo::TCustomMemo;
  bool PlainText() const noexcept { return plainText_; }
  void SetPlainText(bool v) { plainText_ = v; }
  bool HideSelection() const noexcept { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; }

 private:
  bool plainText_ = false;
  bool hideSelection_ = true;
};

// The common ground of check boxes: a checked, unchecked or (when allowed)
// grayed state that the user toggles.
class TCustomCheckBox : public TButtonControl {
  PELLMORE_CLASS(TCustomCheckBox, TButtonControl)

 public:
  explicit TCustomCheckBox(TComponent* owner);

  TCheckBoxState State() const noexcept { return state_; }
  // A new state is pushed and fires OnClick (except while loading).
  void SetState(TCheckBoxState s);
  bool Checked() const noexcept { return state_ == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const noexcept { return allowGrayed_; }
  void SetAllowGrayed(bool v) { allowGrayed_ = v; }
  TAlignment Alignment() const noexcept { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  // Unchecked -> checked -> grayed (when allowed) -> unchecked.
  void Toggle();

 protected:
  platform::WSControl& WS() const override;
  void PushState() override;
  void ClickedByUser() override { Toggle(); }

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

// A check box with a caption, for a yes-or-no choice on a form.
class TCheckBox : public TCustomCheckBox {
  PELLMORE_CLASS(TCheckBox, TCustomCheckBox)

 public:
  using TCustomCheckBox::TCustomCheckBox;
};

// A radio button: checking it unchecks the other radio buttons of the same
// parent.
class TRadioButton : public TButtonControl {
  PELLMORE_CLASS(TRadioButton, TButtonControl)

 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const noexcept { return checked_; }
  // Checking unchecks the other radio buttons of the same parent and fires
  // OnClick (except while loading).
  void SetChecked(bool v);
  TAlignment Alignment() const noexcept { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }

 protected:
  platform::WSControl& WS() const override;
  void PushState() override;
  void ClickedByUser() override { SetChecked(true); }

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

// A list of items with one selected (ItemIndex, -1 for none).
class TCustomListBox : public TWinControl {
  PELLMORE_CLASS(TCustomListBox, TWinControl)

 public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;

  TStrings* Items() const noexcept { return items_; }
  int ItemIndex() const noexcept { return itemIndex_; }
  // An index outside the items selects nothing (-1).
  void SetItemIndex(int index);
  bool Sorted() const noexcept { return items_->Sorted(); }
  void SetSorted(bool v);
  int ItemHeight() const noexcept { return itemHeight_; }
  void SetItemHeight(int v) { itemHeight_ = v; }
  TBorderStyle BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }

  // Entry point for the widgetset: the user selected `index`.
  void WidgetSelect(int index) noexcept;

  void Loaded() override;

 protected:
  platform::WSControl& WS() const override;
  void PushState() override;
  // What a user's selection fires (list box: OnClick).
  virtual void Selected();
  virtual void ItemsChanged();

 private:
  TStrings* items_;
  int itemIndex_ = -1;
  int itemHeight_ = 16;
  TBorderStyle borderStyle_ = bsSingle;
};

// A list of text items from which the user selects one.
class TListBox : public TCustomListBox {
  PELLMORE_CLASS(TListBox, TCustomListBox)

 public:
  using TCustomListBox::TCustomListBox;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// An edit with a drop-down list of Items; Style csDropDownList allows only the
// listed values.
class TComboBox : public TCustomListBox {
  PELLMORE_CLASS(TComboBox, TCustomListBox)

 public:
  explicit TComboBox(TComponent* owner);

  TComboBoxStyle Style() const noexcept { return style_; }
  void SetStyle(TComboBoxStyle s) { style_ = s; }
  int DropDownCount() const noexcept { return dropDownCount_; }
  void SetDropDownCount(int v) { dropDownCount_ = v; }

  TNotifyEvent OnChange;

 protected:
  // Selecting an item makes it the text, then fires OnClick and OnChange.
  void Selected() override;
  // Typing (not possible in a drop-down list) fires OnChange.
  void TextTyped(const std::string& text) override;

 private:
  TComboBoxStyle style_ = csDropDown;
  int dropDownCount_ = 8;
};

// The common ground of group boxes: a framed area with a caption line that
// holds other controls.
class TCustomGroupBox : public TCustomControl {
  PELLMORE_CLASS(TCustomGroupBox, TCustomControl)

 public:
  explicit TCustomGroupBox(TComponent* owner);
  // Below the caption line, 2 pixels inside the frame.
  void AdjustClientRect(TRect& rect) const override;

 protected:
  void Paint() override;
};

// A framed, captioned box that groups the controls placed on it.
class TGroupBox : public TCustomGroupBox {
  PELLMORE_CLASS(TGroupBox, TCustomGroupBox)

 public:
  using TCustomGroupBox::TCustomGroupBox;
};
