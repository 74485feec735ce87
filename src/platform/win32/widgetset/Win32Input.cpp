// A user's input through the real windows (see Win32Input.h). Each
// function sends what Windows itself would send for the input, so the
// controls and our notification handling do the rest.
#include "platform/win32/widgetset/Win32Input.h"

#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "framework/TreeView.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Internal.h"
#include "platform/win32/widgetset/Win32Notify.h"

#include <commctrl.h>

namespace platform::win32 {
namespace {

HWND WindowOf(const TControl& c) {
  return static_cast<HWND>(Win32Widgetset::HandleOf(c));
}

// Whether a user could reach the window: it and every window it sits in
// are enabled (a modal loop disables the other forms).
bool Reachable(HWND h) {
  // GA_PARENT, not GetParent: a form's owner does not count.
  for (HWND w = h; w && w != GetDesktopWindow(); w = GetAncestor(w, GA_PARENT))
    if (!IsWindowEnabled(w)) return false;
  return h != nullptr;
}

bool IsButtonWindow(HWND h) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  return lstrcmpiW(cls, L"Button") == 0;
}

// What a control's parent hears from it: WM_COMMAND with the control's id.
void NotifyCommand(HWND h, UINT code) {
  SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code),
               reinterpret_cast<LPARAM>(h));
}

}  // namespace

void UserClick(TControl& c) {
  HWND h = WindowOf(c);
  // A disabled window takes no click.
  if (!Reachable(h)) return;
  if (IsButtonWindow(h)) {
    SendMessageW(h, BM_CLICK, 0, 0);
    return;
  }
  RECT r;
  GetClientRect(h, &r);
  const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(h, WM_LBUTTONUP, 0, at);
}

void UserType(TControl& c, const std::string& text) {
  HWND h = WindowOf(c);
  if (!Reachable(h)) return;
  // A combo box that takes typing has an edit of its own inside.
  if (HWND inner = FindWindowExW(h, nullptr, L"Edit", nullptr)) h = inner;
  SetFocus(h);
  SendMessageW(h, EM_SETSEL, 0, -1);
  const std::wstring w = Wide(text);
  if (w.empty()) {
    // Backspace deletes the selection.
    SendMessageW(h, WM_CHAR, VK_BACK, 1);
    return;
  }
  for (size_t i = 0; i < w.size(); ++i) {
    wchar_t ch = w[i];
    // A line break is one Enter, whichever convention the text uses.
    if (ch == L'\r') {
      if (i + 1 < w.size() && w[i + 1] == L'\n') continue;
      ch = L'\n';
    }
    SendMessageW(h, WM_CHAR, ch == L'\n' ? VK_RETURN : ch, 1);
  }
}

void UserCheck(TControl& c, bool checked) {
  HWND h = WindowOf(c);
  if (!Reachable(h) || !IsButtonWindow(h)) return;
  // A radio button is unchecked only by checking another.
  if (!checked && c.Is<TRadioButton>()) return;
  const LRESULT want = checked ? BST_CHECKED : BST_UNCHECKED;
  // Unchecked -> checked -> grayed -> unchecked: at most two clicks needed;
  // a third covers a model that refuses one state.
  for (int i = 0; i < 3 && SendMessageW(h, BM_GETCHECK, 0, 0) != want; ++i)
    SendMessageW(h, BM_CLICK, 0, 0);
}

bool UserPick(TControl& c, int index) {
  if (index < 0) return false;
  if (c.Is<TCustomRadioGroup>()) {
    auto& g = static_cast<TCustomRadioGroup&>(c);
    if (index >= g.ButtonCount() || !WindowOf(*g.Buttons(index))) return false;
    UserClick(*g.Buttons(index));
    return true;
  }
  HWND h = WindowOf(c);
  if (!Reachable(h)) return false;
  if (c.Is<TComboBox>()) {
    if (index >= SendMessageW(h, CB_GETCOUNT, 0, 0)) return false;
    SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    NotifyCommand(h, CBN_SELCHANGE);
    return true;
  }
  if (c.Is<TCustomListBox>()) {
    if (index >= SendMessageW(h, LB_GETCOUNT, 0, 0)) return false;
    SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    NotifyCommand(h, LBN_SELCHANGE);
    return true;
  }
  if (c.Is<TPageControl>()) {
    // A click on the tab: the tab control asks (TCN_SELCHANGING) and
    // tells (TCN_SELCHANGE) its parent.
    RECT r;
    if (index >= SendMessageW(h, TCM_GETITEMCOUNT, 0, 0) ||
        !SendMessageW(h, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
      return false;
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
    return true;
  }
  if (c.Is<TTreeView>()) {
    auto* item = static_cast<HTREEITEM>(TreeItemAt(h, index));
    if (!item) return false;
    // Selecting the caret item notifies TVN_SELCHANGING / TVN_SELCHANGED.
    SendMessageW(h, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    return true;
  }
  if (c.Is<TListView>()) {
    if (index >= SendMessageW(h, LVM_GETITEMCOUNT, 0, 0)) return false;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    // The list view tells its parent with LVN_ITEMCHANGED.
    SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return true;
  }
  return false;
}

}  // namespace platform::win32
