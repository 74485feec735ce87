// Memos and rich-text boxes (multi-line EDIT windows), list boxes and
// combo boxes. Word wrap and scroll bars are fixed when an EDIT window is
// created, so changing them recreates the window with the same state.
// The model sorts its own items: the windows keep the model's order, so
// an index means the same item on both sides.
#include <algorithm>

#include "framework/StdCtrls.h"
#include "framework/Strings.h"
#include "platform/win32/widgetset/Win32FamilyBase.h"

namespace platform::win32 {
namespace {

DWORD MemoStyle(const TCustomMemo& m) {
  DWORD style = WS_CHILD | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
  if (m.WantReturns()) style |= ES_WANTRETURN;
  if (!m.WordWrap()) style |= ES_AUTOHSCROLL;
  const TScrollStyle bars = m.ScrollBars();
  if (bars == ssVertical || bars == ssBoth) style |= WS_VSCROLL;
  // A wrapping memo has nothing to scroll sideways.
  if ((bars == ssHorizontal || bars == ssBoth) && !m.WordWrap()) style |= WS_HSCROLL;
  if (m.Alignment() == taCenter) style |= ES_CENTER;
  if (m.Alignment() == taRightJustify) style |= ES_RIGHT;
  if (m.ReadOnly()) style |= ES_READONLY;
  return style;
}

std::string JoinLines(const TStrings& lines) {
  std::string text;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i) text += "\r\n";
    text += lines.Strings(i);
  }
  return text;
}

class WMemos final : public Base<WSMemo> {
 public:
  using Base::Base;
  void SetReadOnly(TControl& c, bool readOnly) override {
    if (HWND h = Hwnd(c)) SendMessageW(h, EM_SETREADONLY, readOnly, 0);
  }
  void SetMaxLength(TControl& c, int maxLength) override {
    if (HWND h = Hwnd(c)) SendMessageW(h, EM_SETLIMITTEXT, maxLength > 0 ? maxLength : 0, 0);
  }
  void SetPasswordChar(TControl&, char32_t) override {}  // multi-line edits have none
  void SetLines(TControl& c, const TStrings& lines) override {
    // Lines drop a final line break: the text just typed may end in one.
    const std::string text = JoinLines(lines);
    if (HWND h = Hwnd(c); h && WindowText(h) == text + "\r\n") return;
    SetText(c, text);
  }
  void SetWordWrap(TControl& c, bool) override { Restyle(c); }
  void SetScrollBars(TControl& c, TScrollStyle) override { Restyle(c); }

 protected:
  std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) override {
    return MakeWindow(c, WS_EX_CLIENTEDGE, L"EDIT", MemoStyle(static_cast<TCustomMemo&>(c)), parent,
                      NextControlId());
  }

 private:
  // A new window in place of the old one when the creation styles differ:
  // same parent, id, place in the z-order, bounds, text, font and limit.
  void Restyle(TControl& c) {
    Win32Peer* p = PeerOf(c);
    HWND old = Hwnd(c);
    if (!p || !old) return;
    const DWORD fixed = ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL;
    const DWORD want = MemoStyle(static_cast<TCustomMemo&>(c));
    const auto have = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_STYLE));
    if ((have & fixed) == (want & fixed)) return;
    Pushing guard(p);
    RECT r;
    GetWindowRect(old, &r);
    HWND parent = GetParent(old);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    HWND h = CreateWindowExW(static_cast<DWORD>(GetWindowLongPtrW(old, GWL_EXSTYLE)), L"EDIT",
                             Wide(c.Text()).c_str(), want | (have & (WS_VISIBLE | WS_DISABLED)),
                             r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(old))),
                             GetModuleHandleW(nullptr), nullptr);
    if (!h) RaiseLastError("CreateWindowExW", c.Name());
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
    SetWindowPos(h, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (p->font) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(p->font), FALSE);
    SendMessageW(h, EM_SETLIMITTEXT, SendMessageW(old, EM_GETLIMITTEXT, 0, 0), 0);
    const bool focused = GetFocus() == old;
    SetWindowLongPtrW(old, GWLP_USERDATA, 0);
    DestroyWindow(old);
    p->hwnd = h;
    if (focused) ::SetFocus(h);
  }
};

class WListBoxes final : public Base<WSListBox> {
 public:
  using Base::Base;
  void SetItems(TControl& c, const TStrings& items) override {
    HWND h = Hwnd(c);
    if (!h) return;
    Pushing guard(PeerOf(c));
    const bool combo = c.Is<TComboBox>();
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    SendMessageW(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items.Count(); ++i)
      SendMessageW(h, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(Wide(items.Strings(i)).c_str()));
    const int height = static_cast<TCustomListBox&>(c).ItemHeight();
    if (!combo && height > 0) SendMessageW(h, LB_SETITEMHEIGHT, 0, height);
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
    SetItemIndex(c, static_cast<TCustomListBox&>(c).ItemIndex());
  }
  void SetItemIndex(TControl& c, int index) override {
    HWND h = Hwnd(c);
    if (!h) return;
    Pushing guard(PeerOf(c));
    if (!c.Is<TComboBox>()) {
      SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
      return;
    }
    SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // No item selected clears a combo box's edit; the model's text stays.
    if (index < 0 && WindowText(h) != c.Text()) SetWindowTextW(h, Wide(c.Text()).c_str());
  }
  // A drop-down combo box's window includes its list: the model's height
  // is that of the closed box, the list shows DropDownCount items.
  void SetBounds(TControl& c, const TRect& r) override {
    if (!c.Is<TComboBox>()) return Base::SetBounds(c, r);
    Pushing guard(PeerOf(c));
    HWND h = Hwnd(c);
    if (!h) return;
    const auto& combo = static_cast<TComboBox&>(c);
    int height = r.Height();
    if (combo.Style() != csSimple)
      height += combo.DropDownCount() * std::max(combo.ItemHeight(), 1) + 2;
    MoveWindow(h, r.left, r.top, r.Width(), height, TRUE);
  }

 protected:
  std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) override {
    if (c.Is<TComboBox>()) {
      const TComboBoxStyle s = static_cast<TComboBox&>(c).Style();
      const DWORD kind = s == csSimple     ? CBS_SIMPLE
                         : s == csDropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL
                                           : CBS_DROPDOWNLIST;
      return MakeWindow(c, 0, L"COMBOBOX", WS_CHILD | WS_TABSTOP | WS_VSCROLL | kind, parent,
                        NextControlId());
    }
    const bool border = static_cast<TCustomListBox&>(c).BorderStyle() != bsNone;
    return MakeWindow(c, border ? WS_EX_CLIENTEDGE : 0, L"LISTBOX",
                      WS_CHILD | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                      parent, NextControlId());
  }
};
}  // namespace

std::unique_ptr<WSMemo> MakeMemoFamily(Win32Widgetset& ws) {
  return std::make_unique<WMemos>(ws);
}

std::unique_ptr<WSListBox> MakeListBoxFamily(Win32Widgetset& ws) {
  return std::make_unique<WListBoxes>(ws);
}

}  // namespace platform::win32
