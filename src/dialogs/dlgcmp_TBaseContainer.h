#pragma once

#include <vector>

#include "dialogs/BaseForms.h"

class TPanel;
class TPageControl;

// TBaseFormContainer: the modal window that frames the pages of a
// wizard-like phase and moves between them. It creates every page form of
// the phase inside itself (BuildPages), orders them by Order, and moves
// through them with the pages' Back, Next and Cancel.
class TBaseFormContainer : public TBasePellmoreForm {
  PELLMORE_CLASS(TBaseFormContainer, TBasePellmoreForm)

 public:
  // A dialog-bordered frame without border icons, 478 x 395.
  explicit TBaseFormContainer(TComponent* owner);

  // Creates the pages of the current dialog manager's phase from the page
  // registry, keeps those of this manager, sorts them by Order and returns
  // their number. IEBaseFormContainer "The current dialog manager is not
  // defined" without a current manager.
  int BuildPages();
  // Shows page `index`, passing over skipping pages in `forward`'s
  // direction; false when there is no such page.
  bool ShowPage(int index, bool forward);
  // Next: the following page that does not skip (or, at the end, the
  // current one again); when that leaves the current page unchanged the
  // phase is finished with OK and the frame closes.
  void GoNext();
  // Back: the previous page that does not skip, else the current one again.
  void GoBack();
  // Shows the frame modally with its first page that does not skip and
  // returns the result (mrOk finished, mrCancel cancelled). When every page
  // skips, the phase is finished at once without showing the frame (mrOk).
  TModalResult Run();
  // True when some page does not skip now.
  bool AnyPageShows();

  int PageCount() const noexcept { return static_cast<int>(pages_.size()); }
  TBaseInstallForm* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
  // The index of the current page; -1 before one is shown.
  int CurrentIndex() const noexcept { return current_; }
  bool Finished() const noexcept { return finished_; }

  // The client-aligned panel the pages cover, and the hidden tab strip.
  TPanel* DisplayPanel() const noexcept { return displayPanel_; }
  TPageControl* TabStrip() const noexcept { return tabStrip_; }

  void Notification(TComponent* c, TOperation op) override;

 protected:
  void DoCreate() override;
  // Shows the first page that does not skip (looking back from 0, then
  // forward), as the frame opens.
  void DoShow() override;
  // The pages follow the display panel's bounds.
  void Resize() override;

 private:
  void EnsureParts();
  // A tab on the strip, the panel's bounds, the translation step; hidden
  // until current.
  void AddPage(TBaseInstallForm* page);
  void Finish();

  TPanel* displayPanel_ = nullptr;
  TPageControl* tabStrip_ = nullptr;
  std::vector<TBaseInstallForm*> pages_;
  int current_ = -1;
  bool finished_ = false;
};

// Sorts `pages` by Order with the frame's exchange sort: for each i, for
// each later j, swap i and j when j's Order is smaller. Ties end up as this
// loop leaves them (orders 1, 1, 0 as P, Q, R give R, Q, P).
void ExchangeSortByOrder(std::vector<TBaseInstallForm*>& pages);
