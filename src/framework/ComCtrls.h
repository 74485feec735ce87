// Progress bars and page controls with their tab sheets.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };

// A bar that fills from Min to Max as Position advances, to show how far a task
// has come.
class TProgressBar : public TWinControl {
  PELLMORE_CLASS(TProgressBar, TWinControl)

 public:
  explicit TProgressBar(TComponent* owner);

  int Min() const noexcept { return min_; }
  int Max() const noexcept { return max_; }
  // Max below Min raises EInvalidOperation (checked at the end of loading
  // for a description, which may give Min before Max).
  void SetMin(int v);
  void SetMax(int v);
  int Position() const noexcept { return position_; }
  // Kept within Min .. Max.
  void SetPosition(int v);
  int Step() const noexcept { return step_; }
  void SetStep(int v) { step_ = v; }
  bool Smooth() const noexcept { return smooth_; }
  void SetSmooth(bool v) { smooth_ = v; }
  TProgressBarOrientation Orientation() const noexcept { return orientation_; }
  void SetOrientation(TProgressBarOrientation o) { orientation_ = o; }
  // Advances by Step; past Max it starts again from Min, as the native
  // control does.
  void StepIt();
  void StepBy(int delta) { SetPosition(position_ + delta); }

  void Loaded() override;

 protected:
  platform::WSControl& WS() const override;
  void PushState() override;

 private:
  void CheckRange();
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 10;
  bool smooth_ = false;
  TProgressBarOrientation orientation_ = pbHorizontal;
};

class TPageControl;

// One page of a page control, with the caption shown on its tab.
class TTabSheet : public TWinControl {
  PELLMORE_CLASS(TTabSheet, TWinControl)

 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const noexcept { return pageControl_; }
  // Moves the sheet into `pc` (its parent) as the last page.
  void SetPageControl(TPageControl* pc);
  // Position among the page control's pages (-1 without one).
  int PageIndex() const;
  void SetPageIndex(int index);
  bool TabVisible() const noexcept { return tabVisible_; }
  void SetTabVisible(bool v);
  int ImageIndex() const noexcept { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }

 protected:
  void TextChanged() override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int imageIndex_ = -1;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Pages (tab sheets) of which one, ActivePage, is visible. Sheets are laid
// out in the display area below the tabs: 4 pixels inside the client area,
// and below a tab row of the font's line height + 6 when any tab shows.
class TPageControl : public TWinControl {
  PELLMORE_CLASS(TPageControl, TWinControl)

 public:
  explicit TPageControl(TComponent* owner);

  int PageCount() const noexcept { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const noexcept { return active_; }
  // Shows `page` (a page of this control, or null for none) and hides the
  // previous one; fires no event.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The active page's index among the pages whose tab shows, or -1.
  int TabIndex() const;
  bool MultiLine() const noexcept { return multiLine_; }
  void SetMultiLine(bool v) { multiLine_ = v; }
  TRect DisplayRect() const;
  // The pages whose tab shows, in page order.
  std::vector<TTabSheet*> TabSheets() const;
  // The next (or previous) page with a visible tab after `from`, wrapping
  // around; null when there is none.
  TTabSheet* FindNextPage(TTabSheet* from, bool forward) const;

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

  // Entry point for the widgetset: the user clicked the tab of `page`.
  // OnChanging may refuse; otherwise the page shows and OnChange fires.
  void WidgetSelectPage(TTabSheet* page) noexcept;

  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

 protected:
  platform::WSControl& WS() const override;
  void PushState() override;
  void AlignControls(TControl* moved, TRect& rect) override;
  void ControlInserted(TControl* c) override;
  void ControlRemoved(TControl* c) override;

 private:
  friend class TTabSheet;
  void PushTabs();
  void MovePage(TTabSheet* page, int index);
  // Takes `page` out of the page list (it leaves or is destroyed).
  void ForgetPage(TTabSheet* page) noexcept;
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
  bool multiLine_ = false;
};
