// Every control family as real windows: a form with one control of each
// comes up as windows of the expected classes, texts, bounds and states
// (read back with the Win32 API), and what a user does through the real
// windows (Win32Input) changes the model as the user's input would, while
// the model's own pushes never count as the user's doing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "WindowReadBack.h"
#include "framework/Application.h"
#include "framework/Buttons.h"
#include "framework/Classes.h"
#include "framework/ComCtrls.h"
#include "framework/ControlsRegistration.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "framework/TreeView.h"
#include "framework/WidgetsetSlot.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Input.h"
#include "platform/win32/widgetset/Win32Widgetset.h"
#include "support/Fixture.h"

// Last: its macros collide with the framework's names.
#include <windows.h>

#include <commctrl.h>
#undef MessageBox

namespace {

using platform::win32::Narrow;
using platform::win32::Win32Widgetset;
namespace input = platform::win32;

const char* const kFamilies = R"(object Families: TForm
  Left = 20
  Top = 20
  BorderStyle = bsDialog
  Caption = 'Families'
  ClientHeight = 440
  ClientWidth = 620
  object chkIcons: TCheckBox
    Left = 8
    Top = 8
    Width = 150
    Height = 17
    Caption = 'Desktop &icons'
    AllowGrayed = True
  end
  object optLocal: TRadioButton
    Left = 8
    Top = 30
    Width = 150
    Height = 17
    Caption = 'Local'
    Checked = True
  end
  object optNetwork: TRadioButton
    Left = 8
    Top = 50
    Width = 150
    Height = 17
    Caption = 'Network'
  end
  object grpOptions: TGroupBox
    Left = 170
    Top = 8
    Width = 150
    Height = 60
    Caption = 'Options'
  end
  object rgType: TRadioGroup
    Left = 330
    Top = 8
    Width = 150
    Height = 80
    Caption = 'Setup type'
    ItemIndex = 0
    Items.Strings = (
      'Typical'
      'Compact'
      'Custom')
  end
  object btnNext: TBitBtn
    Left = 490
    Top = 8
    Width = 110
    Height = 30
    Caption = 'Next'
    NumGlyphs = 2
  end
  object edName: TEdit
    Left = 8
    Top = 100
    Width = 150
    Height = 21
    Text = 'Quenby'
  end
  object memNotes: TMemo
    Left = 170
    Top = 100
    Width = 150
    Height = 60
    ScrollBars = ssVertical
    Lines.Strings = (
      'First line'
      'Second line')
  end
  object rtfLicence: TRichEdit
    Left = 330
    Top = 100
    Width = 150
    Height = 60
    ReadOnly = True
    ScrollBars = ssVertical
    Lines.Strings = (
      'Licence '#246)
  end
  object lstFolders: TListBox
    Left = 8
    Top = 170
    Width = 150
    Height = 60
    Sorted = True
    Items.Strings = (
      'Startup'
      'Accessories'
      'Quenby')
  end
  object cbLanguage: TComboBox
    Left = 170
    Top = 170
    Width = 150
    Height = 21
    Items.Strings = (
      'English'
      'Deutsch')
  end
  object cbSize: TComboBox
    Left = 330
    Top = 170
    Width = 150
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'Small'
      'Large')
  end
  object barCopy: TProgressBar
    Left = 490
    Top = 170
    Width = 110
    Height = 16
    Max = 200
    Position = 50
  end
  object pgSteps: TPageControl
    Left = 8
    Top = 240
    Width = 200
    Height = 120
    object tabFirst: TTabSheet
      Caption = 'First'
    end
    object tabSecond: TTabSheet
      Caption = 'Second'
    end
  end
  object tvGroups: TTreeView
    Left = 220
    Top = 240
    Width = 180
    Height = 120
  end
  object lvDrives: TListView
    Left = 410
    Top = 240
    Width = 200
    Height = 120
    ViewStyle = vsReport
    Columns = <
      item
        Caption = 'Drive'
        Width = 60
      end
      item
        Caption = 'Free'
        Width = 100
      end>
  end
end
)";

// A "bmp" file with `glyphs` 8x8 glyphs side by side: the first red, the
// second dark grey, each on a magenta background (the bottom-left pixel,
// hence transparent) with a 2-pixel margin.
std::vector<uint8_t> GlyphFile(int glyphs) {
  const int w = 8 * glyphs, h = 8, stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> f(54 + static_cast<size_t>(stride * h));
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&f[at], &v, 4); };
  f[0] = 'B', f[1] = 'M';
  put32(2, static_cast<uint32_t>(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  f[26] = 1, f[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* px = &f[54 + static_cast<size_t>(y * stride + x * 3)];  // B, G, R
      const int gx = x % 8;
      const bool ink = gx >= 2 && gx < 6 && y >= 2 && y < 6;
      if (!ink)
        px[0] = 255, px[1] = 0, px[2] = 255;
      else if (x < 8)
        px[0] = 0, px[1] = 0, px[2] = 255;
      else
        px[0] = px[1] = px[2] = 64;
    }
  return f;
}

class Win32FamiliesTest : public PellmoreTest {
 protected:
  Win32FamiliesTest() {
    RegisterControls(ClassRegistry::Global());
    auto ws = std::make_unique<Win32Widgetset>();
    ws_ = ws.get();
    InstallWidgetset(std::move(ws));
    form_ = new TForm(&Application());
    ReadForm(*form_, kFamilies, "families.dfm");
    auto* tree = Get<TTreeView>("tvGroups");
    TTreeNode* root = tree->Items()->AddChild(nullptr, "Engine");
    tree->Items()->AddChild(root, "Drivers");
    tree->Items()->AddChild(nullptr, "Samples");
    auto* drives = Get<TListView>("lvDrives");
    for (const char* d : {"C", "D"}) {
      TListItem* item = drives->Items()->Add();
      item->SetCaption(d);
      item->SubItems()->Add(std::string(d) + ": 1 GB");
    }
    Get<TBitBtn>("btnNext")->Glyph()->LoadFromFile(GlyphFile(2));
    form_->Show();
    ws_->ProcessMessages();
  }
  ~Win32FamiliesTest() override {
    delete form_;
    InstallWidgetset(nullptr);
  }

  template <class T>
  T* Get(const char* name) {
    auto* c = static_cast<T*>(form_->FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  static HWND Window(const TControl& c) { return windowreadback::Window(c); }
  static std::string ClassOf(HWND h) { return windowreadback::ClassOf(h); }
  static std::string TextOf(HWND h) { return windowreadback::TextOf(h); }
  static TRect BoundsOf(HWND h) { return windowreadback::BoundsOf(h); }
  static LRESULT Send(const TControl& c, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    return SendMessageW(Window(c), msg, wp, lp);
  }
  // How many pixels of the window's client area have this colour.
  static int CountPixels(HWND h, COLORREF colour) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RECT r;
    GetClientRect(h, &r);
    HDC dc = GetDC(h);
    int n = 0;
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) n += GetPixel(dc, x, y) == colour;
    ReleaseDC(h, dc);
    return n;
  }

  Win32Widgetset* ws_ = nullptr;
  TForm* form_ = nullptr;
};

TEST_F(Win32FamiliesTest, EveryFamilyIsARealWindowWithTheModelsClassTextBoundsAndState) {
  struct Case {
    const char* name;
    std::string cls;
    bool exactHeight;  // a drop-down combo box sizes itself to its font
  };
  const Case cases[] = {
      {"chkIcons", "Button", true},
      {"optLocal", "Button", true},
      {"grpOptions", "PellmoreForm", true},
      {"rgType", "PellmoreForm", true},
      {"btnNext", "Button", true},
      {"memNotes", "Edit", true},
      {"rtfLicence", "Edit", true},
      {"lstFolders", "ListBox", true},
      {"cbLanguage", "ComboBox", false},
      {"cbSize", "ComboBox", false},
      {"barCopy", "msctls_progress32", true},
      {"pgSteps", "SysTabControl32", true},
      {"tvGroups", "SysTreeView32", true},
      {"lvDrives", "SysListView32", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TControl* control = Get<TControl>(c.name);
    HWND h = Window(*control);
    ASSERT_TRUE(h && IsWindow(h));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(ClassOf(h), c.cls);
    EXPECT_EQ(GetParent(h), Window(*form_));
    EXPECT_EQ(reinterpret_cast<TControl*>(GetWindowLongPtrW(h, GWLP_USERDATA)), control);
    const TRect b = BoundsOf(h), m = control->BoundsRect();
    EXPECT_EQ((std::vector<int>{b.left, b.top, b.Width()}),
              (std::vector<int>{m.left, m.top, m.Width()}));
    if (c.exactHeight) {
      EXPECT_EQ(b.Height(), m.Height());
    }
    const bool hasText = !control->Is<TCustomListBox>() && !control->Is<TTreeView>() &&
                         !control->Is<TListView>() && !control->Is<TPageControl>();
    if (hasText) {
      EXPECT_EQ(TextOf(h), control->Text());
    }
  }

  // Button kinds: non-automatic check boxes and radio buttons (the model
  // decides their state), an owner-drawn bitmap button.
  auto type = [](const TControl& c) { return GetWindowLongW(Window(c), GWL_STYLE) & BS_TYPEMASK; };
  EXPECT_EQ(type(*Get<TControl>("chkIcons")), BS_3STATE);
  EXPECT_EQ(type(*Get<TControl>("optLocal")), BS_RADIOBUTTON);
  EXPECT_EQ(type(*Get<TControl>("btnNext")), BS_OWNERDRAW);
  EXPECT_EQ(Send(*Get<TControl>("chkIcons"), BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(Send(*Get<TControl>("optLocal"), BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(Send(*Get<TControl>("optNetwork"), BM_GETCHECK), BST_UNCHECKED);

  // The radio group's buttons are real radio buttons inside its window.
  auto* group = Get<TRadioGroup>("rgType");
  ASSERT_EQ(group->ButtonCount(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    HWND b = Window(*group->Buttons(i));
    ASSERT_TRUE(b);
    EXPECT_EQ(GetParent(b), Window(*group));
    EXPECT_EQ(GetWindowLongW(b, GWL_STYLE) & BS_TYPEMASK, BS_RADIOBUTTON);
    EXPECT_EQ(TextOf(b), group->Items()->Strings(i));
    EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), i == 0 ? BST_CHECKED : BST_UNCHECKED);
  }

  // Memos: the lines as CRLF text, read-only and the vertical scroll bar.
  EXPECT_EQ(TextOf(Window(*Get<TControl>("memNotes"))), "First line\r\nSecond line");
  const LONG rich = GetWindowLongW(Window(*Get<TControl>("rtfLicence")), GWL_STYLE);
  EXPECT_TRUE(rich & ES_MULTILINE);
  EXPECT_TRUE(rich & ES_READONLY);
  EXPECT_TRUE(rich & WS_VSCROLL);

  // Lists in the model's (sorted) order.
  auto* folders = Get<TListBox>("lstFolders");
  ASSERT_EQ(Send(*folders, LB_GETCOUNT), 3);
  wchar_t item[64] = {};
  SendMessageW(Window(*folders), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(Narrow(item), folders->Items()->Strings(0));
  EXPECT_EQ(Narrow(item), "Accessories");
  EXPECT_EQ(Send(*Get<TControl>("cbSize"), CB_GETCOUNT), 2);
  EXPECT_EQ(Send(*folders, LB_GETCURSEL), -1);

  // Progress, tabs and pages, tree nodes, list columns and rows.
  EXPECT_EQ(Send(*Get<TControl>("barCopy"), PBM_GETPOS), 50);
  EXPECT_EQ(Send(*Get<TControl>("barCopy"), PBM_GETRANGE, FALSE), 200);
  auto* pages = Get<TPageControl>("pgSteps");
  EXPECT_EQ(Send(*pages, TCM_GETITEMCOUNT), 2);
  EXPECT_EQ(Send(*pages, TCM_GETCURSEL), 0);
  EXPECT_EQ(GetParent(Window(*pages->Pages(1))), Window(*pages));
  EXPECT_TRUE(IsWindowVisible(Window(*pages->Pages(0))));
  EXPECT_FALSE(IsWindowVisible(Window(*pages->Pages(1))));
  EXPECT_EQ(Send(*Get<TControl>("tvGroups"), TVM_GETCOUNT), 3);
  auto* drives = Get<TListView>("lvDrives");
  EXPECT_EQ(Send(*drives, LVM_GETITEMCOUNT), 2);
  EXPECT_EQ(GetWindowLongW(Window(*drives), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  wchar_t cell[64] = {};
  LVITEMW li{};
  li.iSubItem = 1;
  li.pszText = cell;
  li.cchTextMax = 64;
  SendMessageW(Window(*drives), LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&li));
  EXPECT_EQ(Narrow(cell), "D: 1 GB");
  LVCOLUMNW col{};
  col.mask = LVCF_WIDTH;
  EXPECT_TRUE(SendMessageW(Window(*drives), LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&col)));
  EXPECT_EQ(col.cx, 100);

  // The bitmap button shows its first glyph; disabled, the second.
  auto* next = Get<TBitBtn>("btnNext");
  EXPECT_GT(CountPixels(Window(*next), RGB(255, 0, 0)), 8);
  EXPECT_EQ(CountPixels(Window(*next), RGB(255, 0, 255)), 0);  // transparent
  next->SetEnabled(false);
  EXPECT_EQ(CountPixels(Window(*next), RGB(255, 0, 0)), 0);
  EXPECT_GT(CountPixels(Window(*next), RGB(64, 64, 64)), 8);

  // Later changes from the model reach the windows: a new state, new
  // items, a memo that stops wrapping (a new window with the same text).
  auto* icons = Get<TCheckBox>("chkIcons");
  icons->SetState(cbGrayed);
  EXPECT_EQ(Send(*icons, BM_GETCHECK), BST_INDETERMINATE);
  folders->Items()->Add("Bin");
  folders->SetItemIndex(folders->Items()->IndexOf("Bin"));
  EXPECT_EQ(Send(*folders, LB_GETCOUNT), 4);
  EXPECT_EQ(Send(*folders, LB_GETCURSEL), folders->ItemIndex());
  auto* notes = Get<TMemo>("memNotes");
  HWND before = Window(*notes);
  notes->SetWordWrap(false);
  HWND after = Window(*notes);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_TRUE(GetWindowLongW(after, GWL_STYLE) & ES_AUTOHSCROLL);
  EXPECT_EQ(TextOf(after), "First line\r\nSecond line");
  EXPECT_EQ(reinterpret_cast<TControl*>(GetWindowLongPtrW(after, GWLP_USERDATA)), notes);
  // Without a visible tab the strip goes and the pages fill the control
  // as the model lays them out; a tab row is as high as the model's.
  pages->Pages(0)->SetTabVisible(false);
  pages->Pages(1)->SetTabVisible(false);
  EXPECT_EQ(Send(*pages, TCM_GETITEMCOUNT), 0);
  EXPECT_TRUE(GetWindowLongW(Window(*pages), GWL_STYLE) & TCS_BUTTONS);
  for (int i = 0; i < 2; ++i) {
    const TRect b = BoundsOf(Window(*pages->Pages(i))), d = pages->DisplayRect();
    EXPECT_EQ((std::vector<int>{b.left, b.top, b.right, b.bottom}),
              (std::vector<int>{d.left, d.top, d.right, d.bottom}));
    EXPECT_EQ(d.top, 4);
  }
  pages->Pages(1)->SetTabVisible(true);
  EXPECT_EQ(Send(*pages, TCM_GETITEMCOUNT), 1);
  EXPECT_FALSE(GetWindowLongW(Window(*pages), GWL_STYLE) & TCS_BUTTONS);
  RECT tab{};
  ASSERT_TRUE(Send(*pages, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab)));
  EXPECT_LE(tab.bottom, pages->DisplayRect().top);
  EXPECT_GE(tab.bottom, pages->DisplayRect().top - 4);
  EXPECT_TRUE(IsWindowVisible(Window(*pages->Pages(1))));

  // State images show as check boxes: state index 1 unchecked, 2 checked.
  auto* tree = Get<TTreeView>("tvGroups");
  auto* states = new TImageList(form_);
  tree->SetStateImages(states);
  drives->SetStateImages(states);
  tree->Items()->Item(2)->SetStateIndex(2);
  drives->Items()->Item(1)->SetStateIndex(2);
  drives->Items()->Item(0)->SetStateIndex(1);
  EXPECT_TRUE(GetWindowLongW(Window(*tree), GWL_STYLE) & TVS_CHECKBOXES);
  const LRESULT samples =
      Send(*tree, TVM_GETNEXTITEM, TVGN_NEXT, Send(*tree, TVM_GETNEXTITEM, TVGN_ROOT));
  EXPECT_EQ(Send(*tree, TVM_GETITEMSTATE, static_cast<WPARAM>(samples), TVIS_STATEIMAGEMASK) >> 12,
            2);
  EXPECT_TRUE(Send(*drives, LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_CHECKBOXES);
  EXPECT_EQ(Send(*drives, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK) >> 12, 2);
  EXPECT_EQ(Send(*drives, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12, 1);

  tree->Items()->AddChild(nullptr, "Help");
  EXPECT_EQ(Send(*Get<TControl>("tvGroups"), TVM_GETCOUNT), 4);
}

TEST_F(Win32FamiliesTest, WhatAUserDoesThroughTheWindowsChangesTheModel) {
  std::vector<std::string> events;
  auto record = [&](const char* what) {
    return [&events, what](TObject*) { events.push_back(what); };
  };
  auto* icons = Get<TCheckBox>("chkIcons");
  auto* network = Get<TRadioButton>("optNetwork");
  auto* local = Get<TRadioButton>("optLocal");
  auto* group = Get<TRadioGroup>("rgType");
  auto* name = Get<TEdit>("edName");
  auto* notes = Get<TMemo>("memNotes");
  auto* licence = Get<TRichEdit>("rtfLicence");
  auto* folders = Get<TListBox>("lstFolders");
  auto* language = Get<TComboBox>("cbLanguage");
  auto* size = Get<TComboBox>("cbSize");
  auto* pages = Get<TPageControl>("pgSteps");
  auto* tree = Get<TTreeView>("tvGroups");
  auto* drives = Get<TListView>("lvDrives");
  icons->OnClick = record("icons");
  group->OnClick = record("group");
  folders->OnClick = record("folders");
  size->OnChange = record("size");
  pages->OnChange = record("pages");

  // Clicks and checks: the model decides the state and the window shows it.
  input::UserClick(*icons);
  EXPECT_EQ(icons->State(), cbChecked);
  input::UserClick(*icons);
  EXPECT_EQ(icons->State(), cbGrayed);  // AllowGrayed
  EXPECT_EQ(Send(*icons, BM_GETCHECK), BST_INDETERMINATE);
  input::UserCheck(*icons, false);
  EXPECT_EQ(icons->State(), cbUnchecked);
  input::UserCheck(*icons, true);
  input::UserCheck(*icons, true);  // already checked: no click
  EXPECT_EQ(icons->State(), cbChecked);
  EXPECT_EQ(std::count(events.begin(), events.end(), "icons"), 4);
  input::UserCheck(*network, true);
  EXPECT_TRUE(network->Checked());
  EXPECT_FALSE(local->Checked());
  EXPECT_EQ(Send(*local, BM_GETCHECK), BST_UNCHECKED);
  input::UserCheck(*network, false);  // a click never unchecks a radio button
  EXPECT_TRUE(network->Checked());
  ASSERT_TRUE(input::UserPick(*group, 2));
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_EQ(Send(*group->Buttons(0), BM_GETCHECK), BST_UNCHECKED);
  EXPECT_FALSE(input::UserPick(*group, 3));
  EXPECT_EQ(group->ItemIndex(), 2);

  // Typing: each character through the window; read-only takes none.
  input::UserType(*name, "D:\\Quenby \xC3\xA9");
  EXPECT_EQ(name->Text(), "D:\\Quenby \xC3\xA9");
  input::UserType(*name, "");
  EXPECT_EQ(name->Text(), "");
  input::UserType(*notes, "one\ntwo");
  ASSERT_EQ(notes->Lines()->Count(), 2);
  EXPECT_EQ(notes->Lines()->Strings(1), "two");
  input::UserType(*licence, "changed");
  EXPECT_EQ(licence->Lines()->Strings(0), "Licence \xC3\xB6");
  input::UserType(*language,
                  "Fran\xC3\xA7"
                  "ais");
  EXPECT_EQ(language->Text(),
            "Fran\xC3\xA7"
            "ais");

  // Picking items: index in the model's order, the model's events fire.
  ASSERT_TRUE(input::UserPick(*folders, 1));
  EXPECT_EQ(folders->ItemIndex(), 1);
  EXPECT_FALSE(input::UserPick(*folders, 3));
  EXPECT_EQ(folders->ItemIndex(), 1);
  ASSERT_TRUE(input::UserPick(*size, 1));
  EXPECT_EQ(size->ItemIndex(), 1);
  EXPECT_EQ(size->Text(), "Large");
  ASSERT_TRUE(input::UserPick(*language, 1));
  EXPECT_EQ(language->Text(), "Deutsch");
  ASSERT_TRUE(input::UserPick(*pages, 1));
  EXPECT_EQ(pages->ActivePage(), pages->Pages(1));
  EXPECT_TRUE(IsWindowVisible(Window(*pages->Pages(1))));
  EXPECT_FALSE(IsWindowVisible(Window(*pages->Pages(0))));
  ASSERT_TRUE(input::UserPick(*tree, 1));
  EXPECT_EQ(tree->Selected(), tree->Items()->Item(1));
  EXPECT_EQ(tree->Selected()->Text(), "Drivers");
  EXPECT_FALSE(input::UserPick(*tree, 3));
  ASSERT_TRUE(input::UserPick(*drives, 1));
  EXPECT_EQ(drives->Selected(), drives->Items()->Item(1));
  EXPECT_FALSE(input::UserPick(*drives, 2));
  EXPECT_EQ((std::vector<std::string>(events.begin() + 4, events.end())),
            (std::vector<std::string>{"group", "folders", "size", "pages"}));

  // The model may refuse: the window returns to the model's state.
  pages->OnChanging = [](TObject*, bool& allow) { allow = false; };
  ASSERT_TRUE(input::UserPick(*pages, 0));
  EXPECT_EQ(pages->ActivePage(), pages->Pages(1));
  EXPECT_EQ(Send(*pages, TCM_GETCURSEL), 1);
  tree->OnChanging = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
  ASSERT_TRUE(input::UserPick(*tree, 2));
  EXPECT_EQ(tree->Selected(), tree->Items()->Item(1));
  EXPECT_EQ(Send(*tree, TVM_GETNEXTITEM, TVGN_CARET),
            Send(*tree, TVM_GETNEXTITEM, TVGN_CHILD, Send(*tree, TVM_GETNEXTITEM, TVGN_ROOT)));

  // Expanding and collapsing with the keyboard asks the model, which may
  // refuse; the tree shows what the model decided.
  tree->OnChanging = nullptr;
  ASSERT_TRUE(input::UserPick(*tree, 0));
  TTreeNode* root = tree->Items()->Item(0);
  auto rootOpen = [&] {
    const LRESULT item = Send(*tree, TVM_GETNEXTITEM, TVGN_ROOT);
    return (Send(*tree, TVM_GETITEMSTATE, static_cast<WPARAM>(item), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
  };
  Send(*tree, WM_KEYDOWN, VK_ADD);
  EXPECT_TRUE(root->Expanded());
  EXPECT_TRUE(rootOpen());
  tree->OnCollapsing = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
  Send(*tree, WM_KEYDOWN, VK_SUBTRACT);
  EXPECT_TRUE(root->Expanded());
  EXPECT_TRUE(rootOpen());
  tree->OnCollapsing = nullptr;
  Send(*tree, WM_KEYDOWN, VK_SUBTRACT);
  EXPECT_FALSE(root->Expanded());
  EXPECT_FALSE(rootOpen());

  // The model's own changes are pushes, not clicks: no second event, and
  // a disabled control takes no click.
  events.clear();
  folders->SetItemIndex(0);
  drives->SetSelected(drives->Items()->Item(0));
  EXPECT_EQ(Send(*drives, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
  icons->SetChecked(false);
  EXPECT_EQ(events, (std::vector<std::string>{"icons"}));
  icons->SetEnabled(false);
  input::UserClick(*icons);
  EXPECT_EQ(icons->State(), cbUnchecked);
  // Nor does anything on a form a modal loop disabled.
  EnableWindow(Window(*form_), FALSE);
  EXPECT_FALSE(input::UserPick(*folders, 2));
  input::UserType(*name, "unreachable");
  input::UserCheck(*network, false);
  input::UserClick(*Get<TRadioButton>("optLocal"));
  EXPECT_EQ(folders->ItemIndex(), 0);
  EXPECT_EQ(name->Text(), "");
  EXPECT_TRUE(network->Checked());
  EnableWindow(Window(*form_), TRUE);
  input::UserClick(*Get<TRadioButton>("optLocal"));
  EXPECT_FALSE(network->Checked());
}

}  // namespace
