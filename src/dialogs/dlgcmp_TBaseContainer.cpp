// The page frame (see dlgcmp_TBaseContainer.h): builds the current
// manager's pages, orders them, and moves through them. Only the current
// page shows: the pages lie on top of each other at the display panel's
// bounds, and a hidden page can be reached by nobody, neither a person nor
// the scripted user looking for a button by name.
#include "dialogs/dlgcmp_TBaseContainer.h"

#include <algorithm>

#include "dialogs/DialogErrors.h"
#include "dialogs/FormRegistries.h"
#include "dialogs/dlgcmp_TBaseDlg.h"
#include "dialogs/dlgcmp_TDialogManager.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "install/cmp_TInstall.h"

void ExchangeSortByOrder(std::vector<TBaseInstallForm*>& pages) {
  for (size_t i = 0; i < pages.size(); ++i)
    for (size_t j = i + 1; j < pages.size(); ++j)
      if (pages[j]->Order() < pages[i]->Order()) std::swap(pages[i], pages[j]);
}

TBaseFormContainer::TBaseFormContainer(TComponent* owner) : TBasePellmoreForm(owner) {
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{});
  SetBounds(Left(), Top(), 478, 395);
  // The frame closes when the phase is finished or cancelled, never
  // otherwise (a page's own button decides which).
  OnCloseQuery = [this](TObject*, bool& canClose) {
    canClose = finished_ || ModalResult() == mrCancel;
  };
}

void TBaseFormContainer::DoCreate() {
  EnsureParts();
  TBasePellmoreForm::DoCreate();
}

void TBaseFormContainer::EnsureParts() {
  // The description provides both; a frame made without one gets them here.
  if (TComponent* c = FindComponent("DisplayPanel"); c && c->Is<TPanel>())
    displayPanel_ = static_cast<TPanel*>(c);
  if (TComponent* c = FindComponent("TabStrip"); c && c->Is<TPageControl>())
    tabStrip_ = static_cast<TPageControl*>(c);
  if (!tabStrip_) {
    tabStrip_ = new TPageControl(this);
    tabStrip_->SetName("TabStrip");
    tabStrip_->SetParent(this);
    tabStrip_->SetAlign(alTop);
    tabStrip_->SetHeight(0);
    tabStrip_->SetVisible(false);
  }
  if (!displayPanel_) {
    displayPanel_ = new TPanel(this);
    displayPanel_->SetName("DisplayPanel");
    displayPanel_->SetCaption("");
    displayPanel_->SetParent(this);
    displayPanel_->SetAlign(alClient);
  }
  tabStrip_->OnChanging = [this](TObject*, bool&) {
    if (current_ >= 0 && current_ < PageCount()) Pages(current_)->LeavePage();
  };
}

void TBaseFormContainer::Notification(TComponent* c, TOperation op) {
  TBasePellmoreForm::Notification(c, op);
  if (op != opRemove) return;
  const auto it =
      std::find_if(pages_.begin(), pages_.end(), [c](TBaseInstallForm* p) { return p == c; });
  if (it != pages_.end()) {
    const int index = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    if (current_ == index)
      current_ = -1;
    else if (current_ > index)
      --current_;
  }
  if (c == displayPanel_) displayPanel_ = nullptr;
  if (c == tabStrip_) tabStrip_ = nullptr;
}

int TBaseFormContainer::BuildPages() {
  TDialogManager* manager = CurrentDialogManager();
  if (!manager) throw IEBaseFormContainer("The current dialog manager is not defined");
  TFormRegistry& registry = PageForms();
  for (int i = 0; i < registry.Count(); ++i) {
    const TFormRegistryEntry entry = registry.Entry(i);
    TCustomBaseInstallDlg* k = entry.component;
    if (k && (k->DialogManager() != manager || !k->ShouldExecute())) continue;
    Owned<TCustomForm> created(entry.create(this));
    if (!created->Is<TBaseInstallForm>()) continue;  // not a page: destroyed
    auto* page = static_cast<TBaseInstallForm*>(created.get());
    if (!k && page->DM() != manager) continue;
    if (k) {
      page->SetDC(k);
      TInstallContainer* container = k->Container();
      page->SetInstaller(container && container->Is<TCustomInstall>()
                             ? static_cast<TCustomInstall*>(container)
                             : nullptr);
      page->SetOrder(k->Order());
      k->SetForm(page);
      k->AssignDialogProperties();
    }
    AddPage(page);
    created.release();
  }
  ExchangeSortByOrder(pages_);
  return PageCount();
}

void TBaseFormContainer::AddPage(TBaseInstallForm* page) {
  auto* tab = new TTabSheet(this);
  tab->SetPageControl(tabStrip_);
  tab->SetTabVisible(false);
  if (page->Parent() != this) page->SetParent(this);
  if (displayPanel_) page->SetBoundsRect(displayPanel_->BoundsRect());
  page->TranslateForm();
  page->SetVisible(false);  // until it becomes current
  pages_.push_back(page);
}

bool TBaseFormContainer::AnyPageShows() {
  for (TBaseInstallForm* p : std::vector<TBaseInstallForm*>(pages_))
    if (!p->SkipPage()) return true;
  return false;
}

TModalResult TBaseFormContainer::Run() {
  // Every page passes itself over: there is nothing to ask, so the phase
  // ends as if Next had been pressed on its last page, without the frame
  // ever showing. (Showing an empty frame would leave the user only the
  // cancel of the title bar, which ends the whole setup.)
  if (!AnyPageShows()) {
    finished_ = true;
    SetModalResult(mrOk);
    return mrOk;
  }
  return ShowModal();
}

void TBaseFormContainer::DoShow() {
  if (current_ < 0 && !ShowPage(0, false)) ShowPage(0, true);
  TBasePellmoreForm::DoShow();
}

bool TBaseFormContainer::ShowPage(int index, bool forward) {
  // Skipping pages are passed over one by one in the direction of travel.
  while (index >= 0 && index < PageCount() && Pages(index)->SkipPage()) index += forward ? 1 : -1;
  if (index < 0 || index >= PageCount()) return false;
  TBaseInstallForm* page = Pages(index);
  if (index != current_) {
    if (current_ >= 0 && current_ < PageCount()) {
      TBaseInstallForm* leaving = Pages(current_);
      leaving->LeavePage();
      leaving->SetVisible(false);
    }
    current_ = index;
  }
  if (tabStrip_ && index < tabStrip_->PageCount()) tabStrip_->SetActivePageIndex(index);
  SetCaption(page->Caption());
  page->SetVisible(true);
  page->ActivatePage();
  return true;
}

void TBaseFormContainer::GoNext() {
  const int before = current_;
  if (!ShowPage(current_ + 1, true)) ShowPage(current_ + 1, false);
  if (current_ == before) Finish();
}

void TBaseFormContainer::GoBack() {
  if (!ShowPage(current_ - 1, false)) ShowPage(current_ - 1, true);
}

void TBaseFormContainer::Finish() {
  finished_ = true;
  SetModalResult(mrOk);
  if (!Modal()) Close();
}

void TBaseFormContainer::Resize() {
  TBasePellmoreForm::Resize();
  if (!displayPanel_) return;
  const TRect r = displayPanel_->BoundsRect();
  for (TBaseInstallForm* p : pages_) p->SetBoundsRect(r);
}
