// Panels, images, bevels, shapes and radio groups.
#pragma once

#include <vector>

#include "framework/Pictures.h"
#include "framework/StdCtrls.h"

// The common ground of panels: a container painted with bevels and an optional
// border, its caption drawn as Alignment says.
class TCustomPanel : public TCustomControl {
  PELLMORE_CLASS(TCustomPanel, TCustomControl)

 public:
  explicit TCustomPanel(TComponent* owner);

  TAlignment Alignment() const noexcept { return alignment_; }
  void SetAlignment(TAlignment a);
  TBevelCut BevelInner() const noexcept { return bevelInner_; }
  void SetBevelInner(TBevelCut b);
  TBevelCut BevelOuter() const noexcept { return bevelOuter_; }
  void SetBevelOuter(TBevelCut b);
  int BevelWidth() const noexcept { return bevelWidth_; }
  void SetBevelWidth(int w);
  // bsSingle gives the panel a sunken 2-pixel client edge.
  TBorderStyle BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(TBorderStyle s);
  bool Locked() const noexcept { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  bool FullRepaint() const noexcept { return fullRepaint_; }
  void SetFullRepaint(bool v) { fullRepaint_ = v; }

  TRect ClientRect() const override;
  // Minus BorderWidth and both bevels.
  void AdjustClientRect(TRect& rect) const override;

 protected:
  void Paint() override;

 private:
  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  TBorderStyle borderStyle_ = bsNone;
  bool locked_ = false;
  bool fullRepaint_ = true;
};

// A container with raised or lowered bevels, used to group and align other
// controls.
class TPanel : public TCustomPanel {
  PELLMORE_CLASS(TPanel, TCustomPanel)

 public:
  using TCustomPanel::TCustomPanel;
};

// Shows a picture (bitmap or icon) on a form, at its own size, centred or
// stretched to the control.
class TImage : public TGraphicControl {
  PELLMORE_CLASS(TImage, TGraphicControl)

 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const noexcept { return picture_; }
  bool Center() const noexcept { return center_; }
  void SetCenter(bool v);
  bool Stretch() const noexcept { return stretch_; }
  void SetStretch(bool v);
  bool Transparent() const noexcept { return transparent_; }
  void SetTransparent(bool v);

 protected:
  // AutoSize: the picture's size (an empty picture changes nothing).
  void AdjustSize() override;
  void Paint() override;

 private:
  TPicture* picture_;
  bool center_ = false;
  bool stretch_ = false;
  bool transparent_ = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// A lowered or raised line or frame drawn on a form to separate or frame other
// controls.
class TBevel : public TGraphicControl {
  PELLMORE_CLASS(TBevel, TGraphicControl)

 public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const noexcept { return shape_; }
  void SetShape(TBevelShape s);
  TBevelStyle Style() const noexcept { return style_; }
  void SetStyle(TBevelStyle s);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// A rectangle, square, ellipse or circle painted with its Pen and Brush.
class TShape : public TGraphicControl {
  PELLMORE_CLASS(TShape, TGraphicControl)

 public:
  explicit TShape(TComponent* owner);
  ~TShape() override;
  TShapeType Shape() const noexcept { return shape_; }
  void SetShape(TShapeType s);
  TPen* Pen() const noexcept { return pen_; }
  TBrush* Brush() const noexcept { return brush_; }

 protected:
  void Paint() override;

 private:
  TShapeType shape_ = stRectangle;
  TPen* pen_;
  TBrush* brush_;
};

class TCustomRadioGroup;

// One radio button of a radio group; created and owned by the group.
class TGroupButton : public TRadioButton {
  PELLMORE_CLASS(TGroupButton, TRadioButton)

 public:
  TGroupButton(TCustomRadioGroup* group);
  void Click() override;

 private:
  TCustomRadioGroup* group_;
};

// A group box with one radio button per line of Items, arranged in
// Columns; ItemIndex is the checked one (-1: none).
class TCustomRadioGroup : public TCustomGroupBox {
  PELLMORE_CLASS(TCustomRadioGroup, TCustomGroupBox)

 public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;

  TStrings* Items() const noexcept { return items_; }
  int ItemIndex() const noexcept { return itemIndex_; }
  // Out-of-range values are clamped to -1 .. Count-1. Checking a button
  // fires OnClick, as the classic framework does.
  void SetItemIndex(int index);
  int Columns() const noexcept { return columns_; }
  // 1 to 16.
  void SetColumns(int columns);
  int ButtonCount() const noexcept { return static_cast<int>(buttons_.size()); }
  TGroupButton* Buttons(int index) const;

  // Entry point for the widgetset: the user picked item `index`.
  void WidgetSelect(int index) noexcept;

  void Loaded() override;

 protected:
  void Resize() override;
  void FontChanged() override;
  void ControlRemoved(TControl* c) override;

 private:
  friend class TGroupButton;
  void ItemsChanged();
  void ArrangeButtons();
  void ButtonClicked(TGroupButton* b);

  TStrings* items_;
  std::vector<TGroupButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

// A captioned group of radio buttons, one per line of Items, of which ItemIndex
// is checked.
class TRadioGroup : public TCustomRadioGroup {
  PELLMORE_CLASS(TRadioGroup, TCustomRadioGroup)

 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};
