// Progress bars, page controls (a tab control whose tab sheets are child
// windows), tree views and list views, of the common controls library.
// Tree and list views mirror the model's items on every change; a
// selection by the user enters the model, which may refuse it: the window
// then returns to the model's selection. A tree tells the model when its
// rows scroll and which keys were released; a list view shows the model's
// image lists (an empty state image list stands for check boxes).
#include <cstring>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ImgList.h"
#include "framework/ListView.h"
#include "framework/TreeView.h"
#include "platform/win32/widgetset/Win32FamilyBase.h"
#include "platform/win32/widgetset/Win32Notify.h"

#include <commctrl.h>

namespace platform::win32 {
namespace {

void EnsureCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_TAB_CLASSES |
                                                               ICC_TREEVIEW_CLASSES |
                                                               ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

class WProgressBars final : public Base<WSProgressBar> {
 public:
  using Base::Base;
  void SetRange(TControl& c, int min, int max) override {
    if (HWND h = Hwnd(c)) SendMessageW(h, PBM_SETRANGE32, static_cast<WPARAM>(min), max);
  }
  void SetPosition(TControl& c, int position) override {
    if (HWND h = Hwnd(c)) SendMessageW(h, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  }

 protected:
  std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) override {
    const auto& bar = static_cast<TProgressBar&>(c);
    DWORD style = WS_CHILD;
    if (bar.Smooth()) style |= PBS_SMOOTH;
    if (bar.Orientation() == pbVertical) style |= PBS_VERTICAL;
    return MakeWindow(c, 0, PROGRESS_CLASSW, style, parent, NextControlId());
  }
};

class WPageControls final : public Base<WSPageControl> {
 public:
  using Base::Base;
  void SetTabs(TControl& c, const std::vector<std::string>& captions, int tabIndex) override {
    HWND h = Hwnd(c);
    if (!h) return;
    Pushing guard(PeerOf(c));
    // The model lays its pages out below a tab row of its own height; the
    // tabs take that height. Without visible tabs the strip goes and the
    // control draws no frame of its own: the pages fill it.
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    const LONG_PTR wanted = captions.empty() ? style | TCS_BUTTONS | TCS_FLATBUTTONS
                                             : style & ~(TCS_BUTTONS | TCS_FLATBUTTONS);
    if (wanted != style) SetWindowLongPtrW(h, GWL_STYLE, wanted);
    const TSize digit = ws_.TextExtent(c.Font()->Data(), "0");
    SendMessageW(h, TCM_SETITEMSIZE, 0, MAKELPARAM(0, captions.empty() ? 0 : digit.cy + 6));
    SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < captions.size(); ++i) {
      std::wstring text = Wide(captions[i]);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageW(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(h, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex), 0);
    InvalidateRect(h, nullptr, TRUE);
  }

 protected:
  std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) override {
    return MakeWindow(c, WS_EX_CONTROLPARENT, WC_TABCONTROLW,
                      WS_CHILD | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, parent,
                      NextControlId());
  }
};

// A tree view's peer remembers the item a user is expanding, so that the
// model's answer (its items changed) leaves that item to the tree.
class TreePeer final : public Win32Peer {
 public:
  HTREEITEM expanding = nullptr;
};

// A list view's peer remembers the image lists it made; the window frees
// the ones it holds when it is destroyed, the peer those it replaced.
class ListPeer final : public Win32Peer {
 public:
  HIMAGELIST small = nullptr;
  HIMAGELIST state = nullptr;
};

// A bitmap of a 24-bit .bmp file's bytes (the model's pictures) and its
// bottom-left pixel (the transparent colour); null when the bytes are no
// such file.
HBITMAP BitmapOfFile(const Bytes& file, COLORREF& transparent) {
  BITMAPFILEHEADER fh;
  BITMAPINFOHEADER ih;
  if (file.size() < sizeof fh + sizeof ih) return nullptr;
  std::memcpy(&fh, file.data(), sizeof fh);
  std::memcpy(&ih, file.data() + sizeof fh, sizeof ih);
  if (fh.bfType != 0x4D42 || ih.biSize < sizeof ih || ih.biBitCount != 24 ||
      ih.biCompression != BI_RGB || ih.biWidth <= 0 || ih.biHeight == 0)
    return nullptr;
  const uint64_t stride = (static_cast<uint64_t>(ih.biWidth) * 3 + 3) / 4 * 4;
  const uint64_t rows =
      static_cast<uint64_t>(ih.biHeight < 0 ? -int64_t{ih.biHeight} : ih.biHeight);
  if (fh.bfOffBits < sizeof fh + ih.biSize || fh.bfOffBits + stride * rows > file.size())
    return nullptr;
  // Bottom-up rows start with the bottom one, top-down rows end with it.
  const uint8_t* bottom = file.data() + fh.bfOffBits + (ih.biHeight < 0 ? stride * (rows - 1) : 0);
  transparent = RGB(bottom[2], bottom[1], bottom[0]);
  HDC screen = GetDC(nullptr);
  HBITMAP b =
      CreateDIBitmap(screen, &ih, CBM_INIT, file.data() + fh.bfOffBits,
                     reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof fh), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return b;
}

// A native image list with the model's pictures; null for none or an
// empty list.
HIMAGELIST NativeImageList(const TCustomImageList* list) {
  if (!list || list->Count() == 0) return nullptr;
  HIMAGELIST il =
      ImageList_Create(list->Width(), list->Height(), ILC_COLOR24 | ILC_MASK, list->Count(), 0);
  if (!il) return nullptr;
  for (int i = 0; i < list->Count(); ++i) {
    COLORREF transparent = 0;
    HBITMAP b = BitmapOfFile(list->Image(i).FileBytes(), transparent);
    if (!b) continue;
    ImageList_AddMasked(il, b, transparent);
    DeleteObject(b);
  }
  return il;
}

// Gives the list view `which` image list; frees the one it replaces if
// the peer made it (the one the check boxes bring belongs to the window).
void SetListImages(HWND h, int which, HIMAGELIST il, HIMAGELIST& made) {
  auto old = reinterpret_cast<HIMAGELIST>(
      SendMessageW(h, LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(il)));
  if (old && old == made && old != il) ImageList_Destroy(old);
  made = il;
}

// The model's TopItem follows the rows the tree shows after it scrolled,
// and a released key reaches the model's OnKeyUp.
LRESULT CALLBACK TreeSubclass(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                              DWORD_PTR) noexcept {
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(h, TreeSubclass, id);
    return DefSubclassProc(h, msg, wp, lp);
  }
  const LRESULT result = DefSubclassProc(h, msg, wp, lp);
  if (msg != WM_VSCROLL && msg != WM_MOUSEWHEEL && msg != WM_KEYDOWN && msg != WM_KEYUP)
    return result;
  try {
    auto* t = dynamic_cast<TTreeView*>(ControlOfWindow(h));
    auto* p = t ? dynamic_cast<Win32Peer*>(t->Peer()) : nullptr;
    if (!p || p->hwnd != h || p->pushing) return result;
    const int top = TreeItemIndex(
        h, reinterpret_cast<HTREEITEM>(SendMessageW(h, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
    if (top >= 0 && top < t->Items()->Count() && t->Items()->Item(top) != t->TopItem()) {
      Pushing guard(p);
      t->WidgetScroll(t->Items()->Item(top));
    }
    if (msg == WM_KEYUP && ControlOfWindow(h) == t)
      t->WidgetKey(false, static_cast<uint16_t>(wp), 0);
  } catch (...) {
    // Nothing may cross back into the window procedure; the model's entry
    // points report their own failures.
  }
  return result;
}

LPARAM ToParam(HTREEITEM i) {
  return reinterpret_cast<LPARAM>(i);
}
HTREEITEM NextItem(HWND tree, HTREEITEM i, WPARAM how) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, ToParam(i)));
}

struct TreeRow {
  HTREEITEM item;
  int level;
};
void CollectRows(HWND tree, HTREEITEM first, int level, std::vector<TreeRow>& out) {
  for (HTREEITEM i = first; i; i = NextItem(tree, i, TVGN_NEXT)) {
    out.push_back({i, level});
    CollectRows(tree, NextItem(tree, i, TVGN_CHILD), level + 1, out);
  }
}
std::string ItemText(HWND tree, HTREEITEM i) {
  wchar_t buf[512] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = i;
  item.pszText = buf;
  item.cchTextMax = 512;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return Narrow(buf);
}

// The check-box state image of a node (0: none): the model's state index
// 1 is unchecked, 2 checked, as the native check boxes are.
UINT StateImage(const TTreeView& view, const TTreeNode& node) {
  if (!view.StateImages()) return 0;
  const int s = node.StateIndex();
  return INDEXTOSTATEIMAGEMASK(s >= 1 && s <= 2 ? s : 0);
}

class WItemViews final : public Base<WSItemView> {
 public:
  using Base::Base;
  void ItemsChanged(TControl& c) override {
    if (HWND h = Hwnd(c)) Fill(c, h, PeerOf(c));
  }
  void SelectionChanged(TControl& c) override {
    HWND h = Hwnd(c);
    if (!h) return;
    Pushing guard(PeerOf(c));
    SyncSelection(c, h);
  }
  void SetHorzScrollBar(TControl& c, bool always) override {
    if (HWND h = Hwnd(c)) ShowScrollBar(h, SB_HORZ, always);
  }

 protected:
  std::unique_ptr<Peer> CreateChild(TControl& c, HWND parent) override {
    std::unique_ptr<Peer> peer;
    if (c.Is<TTreeView>()) {
      const auto& t = static_cast<TTreeView&>(c);
      DWORD style = WS_CHILD | WS_TABSTOP;
      if (t.ShowButtons()) style |= TVS_HASBUTTONS;
      if (t.ShowLines()) style |= TVS_HASLINES;
      if (t.ShowRoot()) style |= TVS_LINESATROOT;
      if (!t.HideSelection()) style |= TVS_SHOWSELALWAYS;
      peer = MakeWindow(c, t.BorderStyle() != bsNone ? WS_EX_CLIENTEDGE : 0, WC_TREEVIEWW, style,
                        parent, NextControlId(), std::make_unique<TreePeer>());
      SetWindowSubclass(static_cast<HWND>(static_cast<Win32Peer*>(peer.get())->hwnd), TreeSubclass,
                        1, 0);
    } else {
      const auto& v = static_cast<TListView&>(c);
      DWORD style = WS_CHILD | WS_TABSTOP | LVS_SINGLESEL;
      if (!v.HideSelection()) style |= LVS_SHOWSELALWAYS;
      if (!v.ColumnClick()) style |= LVS_NOSORTHEADER;
      peer = MakeWindow(c, v.BorderStyle() != bsNone ? WS_EX_CLIENTEDGE : 0, WC_LISTVIEWW, style,
                        parent, NextControlId(), std::make_unique<ListPeer>());
    }
    // The model pushes no items after creating a view: fill it now. The
    // peer is not the control's yet, so nothing the window reports counts.
    auto* p = static_cast<Win32Peer*>(peer.get());
    Fill(c, static_cast<HWND>(p->hwnd), p);
    return peer;
  }

 private:
  void Fill(TControl& c, HWND h, Win32Peer* p) {
    Pushing guard(p);
    if (c.Is<TTreeView>())
      FillTree(static_cast<TTreeView&>(c), h, static_cast<TreePeer*>(p));
    else
      FillList(static_cast<TListView&>(c), h, static_cast<ListPeer*>(p));
    SyncSelection(c, h);
  }

  static void FillTree(TTreeView& t, HWND h, TreePeer* p) {
    TTreeNodes& nodes = *t.Items();
    // Check boxes come with the state images (the style is the documented
    // way to turn them on after creation).
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    const LONG_PTR wanted = t.StateImages() ? style | TVS_CHECKBOXES : style & ~TVS_CHECKBOXES;
    if (wanted != style) SetWindowLongPtrW(h, GWL_STYLE, wanted);
    std::vector<TreeRow> rows;
    CollectRows(h, NextItem(h, nullptr, TVGN_ROOT), 0, rows);
    // Same nodes (text and depth, in order): only states change, so a
    // user's expansion in progress is not pulled from under the tree.
    bool same = static_cast<int>(rows.size()) == nodes.Count();
    for (int i = 0; same && i < nodes.Count(); ++i)
      same = rows[static_cast<size_t>(i)].level == nodes.Item(i)->Level() &&
             ItemText(h, rows[static_cast<size_t>(i)].item) == nodes.Item(i)->Text();
    if (!same) {
      SendMessageW(h, WM_SETREDRAW, FALSE, 0);
      SendMessageW(h, TVM_DELETEITEM, 0, ToParam(TVI_ROOT));
      rows.clear();
      std::vector<HTREEITEM> parents;  // by level
      for (int i = 0; i < nodes.Count(); ++i) {
        TTreeNode* n = nodes.Item(i);
        const auto level = static_cast<size_t>(n->Level());
        std::wstring text = Wide(n->Text());
        TVINSERTSTRUCTW ins{};
        ins.hParent = level == 0 ? TVI_ROOT : parents[level - 1];
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = text.data();
        auto item = reinterpret_cast<HTREEITEM>(
            SendMessageW(h, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
        parents.resize(level + 1);
        parents[level] = item;
        rows.push_back({item, n->Level()});
      }
      SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    }
    for (int i = 0; i < nodes.Count(); ++i) {
      const TTreeNode& n = *nodes.Item(i);
      HTREEITEM item = rows[static_cast<size_t>(i)].item;
      if (!item) continue;
      TVITEMW state{};
      state.mask = TVIF_STATE | TVIF_HANDLE;
      state.hItem = item;
      state.stateMask = TVIS_STATEIMAGEMASK;
      state.state = StateImage(t, n);
      SendMessageW(h, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&state));
      if (item == p->expanding || !n.HasChildren()) continue;
      const bool open =
          SendMessageW(h, TVM_GETITEMSTATE, ToParam(item), TVIS_EXPANDED) & TVIS_EXPANDED;
      if (open != n.Expanded())
        SendMessageW(h, TVM_EXPAND, n.Expanded() ? TVE_EXPAND : TVE_COLLAPSE, ToParam(item));
    }
    // The tree hides an unneeded bar whenever its items change.
    if (t.HorzScrollBarAlways()) ShowScrollBar(h, SB_HORZ, TRUE);
    InvalidateRect(h, nullptr, TRUE);
  }

  static void FillList(TListView& v, HWND h, ListPeer* p) {
    static constexpr DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    const LONG_PTR wanted = (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | kViews[v.ViewStyle()];
    if (wanted != style) SetWindowLongPtrW(h, GWL_STYLE, wanted);
    const TCustomImageList* states = v.StateImages();
    const bool checkBoxes = states && states->Count() == 0;
    SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 (checkBoxes ? LVS_EX_CHECKBOXES : 0) | LVS_EX_FULLROWSELECT);
    SetListImages(h, LVSIL_SMALL, NativeImageList(v.SmallImages()), p->small);
    if (!checkBoxes) SetListImages(h, LVSIL_STATE, NativeImageList(states), p->state);
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    SendMessageW(h, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageW(h, LVM_DELETECOLUMN, 0, 0)) {
    }
    TListColumns& columns = *v.Columns();
    for (int i = 0; i < columns.Count(); ++i) {
      const TListColumn& col = *columns.Items(i);
      std::wstring text = Wide(col.Caption());
      LVCOLUMNW lc{};
      lc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
      lc.fmt = col.Alignment() == taRightJustify ? LVCFMT_RIGHT
               : col.Alignment() == taCenter     ? LVCFMT_CENTER
                                                 : LVCFMT_LEFT;
      lc.cx = col.Width();
      lc.pszText = text.data();
      lc.iSubItem = i;
      SendMessageW(h, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&lc));
    }
    TListItems& items = *v.Items();
    for (int i = 0; i < items.Count(); ++i) {
      const TListItem& it = *items.Item(i);
      std::wstring text = Wide(it.Caption());
      LVITEMW li{};
      li.mask = LVIF_TEXT | (v.SmallImages() ? LVIF_IMAGE : 0);
      li.iItem = i;
      li.pszText = text.data();
      li.iImage = it.ImageIndex();
      SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&li));
      for (int s = 0; s < it.SubItems()->Count(); ++s) {
        std::wstring sub = Wide(it.SubItems()->Strings(s));
        LVITEMW si{};
        si.iSubItem = s + 1;
        si.pszText = sub.data();
        SendMessageW(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&si));
      }
      if (states) {
        // Check boxes: state index 1 unchecked, 2 checked, as the native
        // ones. Pictures: index n shows image n (0 or none shows nothing).
        const int s = it.StateIndex();
        LVITEMW st{};
        st.stateMask = LVIS_STATEIMAGEMASK;
        st.state = checkBoxes                      ? INDEXTOSTATEIMAGEMASK(s == 2 ? 2 : 1)
                   : s >= 1 && s < states->Count() ? INDEXTOSTATEIMAGEMASK(s)
                                                   : 0;
        SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&st));
      }
    }
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
  }
};
}  // namespace

// The model's selection shown in the window (the caller marks the push).
void SyncSelection(TControl& c, HWND h) {
  if (c.Is<TTreeView>()) {
    auto& t = static_cast<TTreeView&>(c);
    std::vector<TreeRow> rows;
    CollectRows(h, NextItem(h, nullptr, TVGN_ROOT), 0, rows);
    HTREEITEM want = nullptr;
    if (TTreeNode* n = t.Selected()) {
      const auto i = static_cast<size_t>(n->AbsoluteIndex());
      if (i < rows.size()) want = rows[i].item;
    }
    if (NextItem(h, nullptr, TVGN_CARET) != want)
      SendMessageW(h, TVM_SELECTITEM, TVGN_CARET, ToParam(want));
    return;
  }
  if (!c.Is<TListView>()) return;
  auto& v = static_cast<TListView&>(c);
  const int want = v.Selected() ? v.Selected()->Index() : -1;
  const auto have =
      static_cast<int>(SendMessageW(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (have == want) return;
  LVITEMW li{};
  li.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  li.state = 0;
  if (have >= 0)
    SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(have), reinterpret_cast<LPARAM>(&li));
  if (want >= 0) {
    li.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(want), reinterpret_cast<LPARAM>(&li));
  }
}

int TreeItemIndex(HWND tree, void* item) {
  std::vector<TreeRow> rows;
  CollectRows(tree, NextItem(tree, nullptr, TVGN_ROOT), 0, rows);
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].item == item) return static_cast<int>(i);
  return -1;
}

void* TreeItemAt(HWND tree, int index) {
  std::vector<TreeRow> rows;
  CollectRows(tree, NextItem(tree, nullptr, TVGN_ROOT), 0, rows);
  return index >= 0 && static_cast<size_t>(index) < rows.size()
             ? rows[static_cast<size_t>(index)].item
             : nullptr;
}

void SetTreeExpanding(TControl& c, void* item) {
  if (auto* p = dynamic_cast<TreePeer*>(c.Peer())) p->expanding = static_cast<HTREEITEM>(item);
}

std::unique_ptr<WSProgressBar> MakeProgressBarFamily(Win32Widgetset& ws) {
  EnsureCommonControls();
  return std::make_unique<WProgressBars>(ws);
}

std::unique_ptr<WSPageControl> MakePageControlFamily(Win32Widgetset& ws) {
  EnsureCommonControls();
  return std::make_unique<WPageControls>(ws);
}

std::unique_ptr<WSItemView> MakeItemViewFamily(Win32Widgetset& ws) {
  EnsureCommonControls();
  return std::make_unique<WItemViews>(ws);
}

}  // namespace platform::win32
