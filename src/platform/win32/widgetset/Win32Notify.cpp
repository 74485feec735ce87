// The families' notifications: list and combo box selections, combo box
// typing, tab changes, tree and list view selections, tree expansion and
// the painting of owner-drawn buttons. Each reaches the model through its
// Widget... entry point; where the model may refuse (a page change, a
// selection, an expansion), the window is brought back to the model's state.
#include "platform/win32/widgetset/Win32Notify.h"

#include "framework/ComCtrls.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "framework/TreeView.h"
#include "platform/win32/widgetset/Win32FamilyBase.h"

#include <commctrl.h>

namespace platform::win32 {
namespace {

// The control of a notifying window, if the user (not a push) caused it.
TControl* UserSource(HWND from) {
  TControl* c = from ? ControlOfWindow(from) : nullptr;
  auto* p = c ? dynamic_cast<Win32Peer*>(c->Peer()) : nullptr;
  return p && p->hwnd == from && !p->pushing ? c : nullptr;
}

// Whether `c` still owns `h` after the model ran (a handler may have freed it).
bool StillOwns(HWND h, const TControl* c) {
  return IsWindow(h) && ControlOfWindow(h) == c;
}

bool OnCommand(WPARAM wp, LPARAM lp) {
  HWND from = reinterpret_cast<HWND>(lp);
  TControl* c = UserSource(from);
  if (!c || !c->Is<TCustomListBox>()) return false;
  auto& list = static_cast<TCustomListBox&>(*c);
  const bool combo = c->Is<TComboBox>();
  switch (HIWORD(wp)) {
    case LBN_SELCHANGE:  // == CBN_SELCHANGE
      list.WidgetSelect(
          static_cast<int>(SendMessageW(from, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)));
      return true;
    case CBN_EDITCHANGE:
      if (!combo) return false;
      list.WidgetText(WindowText(from));
      return true;
    default:
      return false;
  }
}

void OnTabChange(TPageControl& pc, HWND h) {
  const auto index = static_cast<int>(SendMessageW(h, TCM_GETCURSEL, 0, 0));
  const std::vector<TTabSheet*> tabs = pc.TabSheets();
  if (index >= 0 && static_cast<size_t>(index) < tabs.size())
    pc.WidgetSelectPage(tabs[static_cast<size_t>(index)]);
  if (!StillOwns(h, &pc)) return;
  Pushing guard(PeerOf(pc));
  if (SendMessageW(h, TCM_GETCURSEL, 0, 0) != pc.TabIndex())
    SendMessageW(h, TCM_SETCURSEL, static_cast<WPARAM>(pc.TabIndex()), 0);
}

void OnTreeSelect(TTreeView& t, HWND h, HTREEITEM item) {
  const int index = TreeItemIndex(h, item);
  if (index >= 0 && index < t.Items()->Count()) t.WidgetSelect(t.Items()->Item(index));
  if (!StillOwns(h, &t)) return;
  Pushing guard(PeerOf(t));
  SyncSelection(t, h);
}

// TRUE stops the tree from expanding or collapsing: the model refused.
LRESULT OnTreeExpanding(TTreeView& t, HWND h, const NMTREEVIEWW& nm) {
  const int index = TreeItemIndex(h, nm.itemNew.hItem);
  if (index < 0 || index >= t.Items()->Count()) return FALSE;
  const bool expand = (nm.action & (TVE_EXPAND | TVE_COLLAPSE)) == TVE_EXPAND;
  SetTreeExpanding(t, nm.itemNew.hItem);
  t.WidgetExpand(t.Items()->Item(index), expand);
  if (!StillOwns(h, &t)) return TRUE;
  SetTreeExpanding(t, nullptr);
  // The tree may have been rebuilt: find the node again.
  if (TreeItemIndex(h, nm.itemNew.hItem) != index || index >= t.Items()->Count()) return TRUE;
  return t.Items()->Item(index)->Expanded() == expand ? FALSE : TRUE;
}

// After the tree expanded or collapsed an item: where the model refused
// and the tree went ahead anyway (not every tree honours the refusal),
// the item goes back to the model's state.
void OnTreeExpanded(TTreeView& t, HWND h, HTREEITEM item) {
  const int index = TreeItemIndex(h, item);
  if (index < 0 || index >= t.Items()->Count()) return;
  const bool want = t.Items()->Item(index)->Expanded();
  const bool open =
      SendMessageW(h, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
      TVIS_EXPANDED;
  if (open == want) return;
  Pushing guard(PeerOf(t));
  SendMessageW(h, TVM_EXPAND, want ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
}

void OnListSelect(TListView& v, HWND h, const NMLISTVIEW& nm) {
  const bool nowSelected = (nm.uNewState & LVIS_SELECTED) && !(nm.uOldState & LVIS_SELECTED);
  if (!(nm.uChanged & LVIF_STATE) || !nowSelected) return;
  if (nm.iItem >= 0 && nm.iItem < v.Items()->Count()) v.WidgetSelect(v.Items()->Item(nm.iItem));
  if (!StillOwns(h, &v)) return;
  Pushing guard(PeerOf(v));
  SyncSelection(v, h);
}

bool OnNotify(LPARAM lp, LRESULT& result) {
  const auto& hdr = *reinterpret_cast<const NMHDR*>(lp);
  TControl* c = UserSource(hdr.hwndFrom);
  if (!c) return false;
  if (hdr.code == TCN_SELCHANGE && c->Is<TPageControl>()) {
    OnTabChange(static_cast<TPageControl&>(*c), hdr.hwndFrom);
  } else if (hdr.code == TVN_SELCHANGEDW && c->Is<TTreeView>()) {
    OnTreeSelect(static_cast<TTreeView&>(*c), hdr.hwndFrom,
                 reinterpret_cast<const NMTREEVIEWW*>(lp)->itemNew.hItem);
  } else if (hdr.code == TVN_ITEMEXPANDINGW && c->Is<TTreeView>()) {
    result = OnTreeExpanding(static_cast<TTreeView&>(*c), hdr.hwndFrom,
                             *reinterpret_cast<const NMTREEVIEWW*>(lp));
    return true;
  } else if (hdr.code == TVN_ITEMEXPANDEDW && c->Is<TTreeView>()) {
    OnTreeExpanded(static_cast<TTreeView&>(*c), hdr.hwndFrom,
                   reinterpret_cast<const NMTREEVIEWW*>(lp)->itemNew.hItem);
  } else if (hdr.code == LVN_ITEMCHANGED && c->Is<TListView>()) {
    OnListSelect(static_cast<TListView&>(*c), hdr.hwndFrom,
                 *reinterpret_cast<const NMLISTVIEW*>(lp));
  } else {
    return false;
  }
  result = 0;
  return true;
}
}  // namespace

bool HandleNotify(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (!OnCommand(wp, lp)) return false;
      result = 0;
      return true;
    case WM_NOTIFY:
      return lp && OnNotify(lp, result);
    case WM_DRAWITEM:
      if (!lp || !DrawOwnerButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return false;
      result = TRUE;
      return true;
    default:
      return false;
  }
}

}  // namespace platform::win32
