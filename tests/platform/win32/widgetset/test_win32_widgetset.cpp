// The Win32 widgetset making real windows: a form described as text comes
// up as windows of the expected classes, texts and bounds (read back with
// the Win32 API, not from the model), and what Windows reports (clicks,
// typing, close requests, a handler that raises) reaches the model through
// its guarded entry points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "WindowReadBack.h"
#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/WidgetsetSlot.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Capture.h"
#include "platform/win32/widgetset/Win32Widgetset.h"
#include "support/Fixture.h"

// Last: its macros collide with the framework's names.
#include <windows.h>
#undef MessageBox

namespace {

using platform::win32::Narrow;
using platform::win32::Win32Widgetset;

// The caption carries non-ASCII text, so a lost UTF-8 <-> UTF-16
// conversion shows.
const char* const kForm = R"(object Dlg: TForm
  Left = 40
  Top = 30
  BorderStyle = bsDialog
  Caption = 'Quenby Setup '#246#8364
  ClientHeight = 160
  ClientWidth = 320
  object lblPath: TLabel
    Left = 8
    Top = 10
    Width = 120
    Height = 13
    AutoSize = False
    Caption = 'Destination folder:'
  end
  object edPath: TEdit
    Left = 8
    Top = 28
    Width = 300
    Height = 21
    Text = 'C:\Quenby'
  end
  object btnOK: TButton
    Left = 232
    Top = 120
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = mrOk
  end
  object btnCancel: TButton
    Left = 150
    Top = 120
    Width = 75
    Height = 25
    Caption = 'Cancel'
    Cancel = True
    ModalResult = mrCancel
  end
end
)";

class Win32WidgetsetTest : public PellmoreTest {
 protected:
  Win32WidgetsetTest() {
    RegisterControls(ClassRegistry::Global());
    auto ws = std::make_unique<Win32Widgetset>();
    ws_ = ws.get();
    InstallWidgetset(std::move(ws));
  }
  ~Win32WidgetsetTest() override { InstallWidgetset(nullptr); }

  TForm* Dialog() {
    auto* form = new TForm(&Application());
    ReadForm(*form, kForm, "dialog.dfm");
    return form;
  }
  template <class T>
  static T* Get(TComponent& form, const char* name) {
    return static_cast<T*>(form.FindComponent(name));
  }
  static HWND Window(const TControl& c) { return windowreadback::Window(c); }
  static std::string ClassOf(HWND h) { return windowreadback::ClassOf(h); }
  static std::string TextOf(HWND h) { return windowreadback::TextOf(h); }
  static TRect BoundsOf(HWND h) { return windowreadback::BoundsOf(h); }

  // Where the form's client area, within `r`, differs from its background
  // (the colour of its top-left pixel): text, antialiased edges included.
  struct Ink {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  };
  Ink InkIn(TCustomForm& form, const TRect& r) {
    ws_->ProcessMessages();
    const platform::win32::Image shot = platform::win32::CaptureClient(Window(form));
    Ink ink;
    const uint32_t back = shot.At(0, 0);
    auto channel = [](uint32_t v, int shift) { return static_cast<int>((v >> shift) & 0xFF); };
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, shot.height); ++y)
      for (int x = std::max(r.left, 0); x < std::min(r.right, shot.width); ++x) {
        const uint32_t v = shot.At(x, y);
        int diff = 0;
        for (int shift : {0, 8, 16}) diff += std::abs(channel(v, shift) - channel(back, shift));
        if (diff < 48) continue;
        ++ink.count;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
    return ink;
  }

  Win32Widgetset* ws_ = nullptr;
};

TEST_F(Win32WidgetsetTest, AShownFormIsRealWindowsWithTheModelsClassTextAndBounds) {
  TForm* form = Dialog();
  form->Show();
  ws_->ProcessMessages();

  struct Case {
    const char* name;
    TControl* control;
    std::string cls;
  };
  const Case cases[] = {
      {"form", form, Narrow(Win32Widgetset::FormClassName())},
      {"edit", Get<TControl>(*form, "edPath"), "Edit"},
      {"button", Get<TControl>(*form, "btnOK"), "Button"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND h = Window(*c.control);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(IsWindow(h));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(ClassOf(h), c.cls);
    EXPECT_EQ(TextOf(h), c.control->Text());
    const TRect b = BoundsOf(h), m = c.control->BoundsRect();
    EXPECT_EQ((std::vector<int>{b.left, b.top, b.Width(), b.Height()}),
              (std::vector<int>{m.left, m.top, m.Width(), m.Height()}));
    if (c.control != form) {
      EXPECT_EQ(GetParent(h), Window(*form));
      EXPECT_EQ(reinterpret_cast<TControl*>(GetWindowLongPtrW(h, GWLP_USERDATA)), c.control);
    }
  }
  EXPECT_EQ(TextOf(Window(*form)), "Quenby Setup \xC3\xB6\xE2\x82\xAC");
  // A label has no window: the form paints it (it may stand over a
  // backdrop, transparently).
  auto* label = Get<TControl>(*form, "lblPath");
  EXPECT_TRUE(label->HasPeer());
  EXPECT_EQ(Window(*label), nullptr);
  EXPECT_GT(InkIn(*form, label->BoundsRect()).count, 0);

  // The real frame matches the margins the model lays out with: the
  // client area Windows gives is the model's client size.
  RECT client;
  GetClientRect(Window(*form), &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 160);

  // A dialog border: caption and modal frame, no sizing, no minimize box.
  const LONG style = GetWindowLongW(Window(*form), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & DS_MODALFRAME);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  // The default button is the one Enter presses.
  EXPECT_EQ(LOWORD(SendMessageW(Window(*form), DM_GETDEFID, 0, 0)),
            GetDlgCtrlID(Window(*Get<TControl>(*form, "btnOK"))));

  // Later changes in the model reach the live windows.
  auto* edit = Get<TEdit>(*form, "edPath");
  edit->SetText("D:\\Engine");
  edit->SetBounds(10, 30, 200, 21);
  EXPECT_EQ(TextOf(Window(*edit)), "D:\\Engine");
  EXPECT_EQ(BoundsOf(Window(*edit)).Width(), 200);
  label->SetVisible(false);
  EXPECT_EQ(InkIn(*form, label->BoundsRect()).count, 0);

  HWND formWindow = Window(*form);
  delete form;
  EXPECT_FALSE(IsWindow(formWindow));
}

TEST_F(Win32WidgetsetTest, WhatWindowsReportsReachesTheModelAndNoExceptionCrossesBack) {
  TForm* form = Dialog();
  form->Show();
  auto* button = Get<TButton>(*form, "btnOK");
  auto* edit = Get<TEdit>(*form, "edPath");

  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  SendMessageW(Window(*button), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);

  // Text typed into the window becomes the model's; the model's own push
  // of it does not come back as typing.
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  SetWindowTextW(Window(*edit), L"E:\\Quenby \x00E9");
  EXPECT_EQ(edit->Text(), "E:\\Quenby \xC3\xA9");
  EXPECT_EQ(changes, 1);
  edit->SetText("F:\\");
  EXPECT_EQ(TextOf(Window(*edit)), "F:\\");

  // A handler that raises: the application's handler gets it, the window
  // procedure returns normally and the program goes on.
  std::string handled;
  Application().OnException = [&](TObject*, Exception& e) { handled = e.Message(); };
  button->OnClick = [](TObject*) { throw EInvalidOperation("Disk is full"); };
  SendMessageW(Window(*button), BM_CLICK, 0, 0);
  EXPECT_EQ(handled, "Disk is full");
  Application().OnException = nullptr;

  // Closing the window asks the model, which hides the form.
  SendMessageW(Window(*form), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(IsWindowVisible(Window(*form)));
  // Posted work (such as the form's first activation) is a round of its
  // own; then, with no window left to take input, the loop says so instead
  // of waiting.
  int rounds = 0;
  while (rounds < 5 && ws_->HandleMessage(nullptr)) ++rounds;
  EXPECT_LT(rounds, 5);
  delete form;
}

TEST_F(Win32WidgetsetTest, AModalLoopRunsOnRealMessagesAndDisablesTheOtherWindows) {
  TForm* main = NewForm();
  main->SetBounds(0, 0, 400, 300);
  main->Show();
  TForm* dlg = Dialog();
  auto* button = Get<TButton>(*dlg, "btnOK");
  // The click arrives as a queued window message, so only the modal loop's
  // GetMessage/DispatchMessage can deliver it.
  dlg->OnShow = [&](TObject*) { PostMessageW(Window(*button), BM_CLICK, 0, 0); };
  bool mainEnabledDuringLoop = true;
  button->OnClick = [&](TObject*) { mainEnabledDuringLoop = IsWindowEnabled(Window(*main)); };

  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_FALSE(mainEnabledDuringLoop);
  EXPECT_TRUE(IsWindowEnabled(Window(*main)));
  EXPECT_FALSE(IsWindowVisible(Window(*dlg)));

  // A window that was disabled before the loop stays disabled after it.
  main->SetEnabled(false);
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_FALSE(IsWindowEnabled(Window(*main)));
  delete dlg;
  delete main;
}

TEST_F(Win32WidgetsetTest, KeysReachTheDialogManagerInTheMessageLoop) {
  // Each key is queued to the focused edit; the loop's dialog handling
  // turns it into a click on the form's default or cancel button.
  const struct {
    const char* name;
    WPARAM key;
    TModalResult result;
  } cases[] = {{"Enter presses the default button", VK_RETURN, mrOk},
               {"Esc presses the cancel button", VK_ESCAPE, mrCancel}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    TForm* dlg = Dialog();
    auto* edit = Get<TEdit>(*dlg, "edPath");
    std::string clicked;
    for (const char* name : {"btnOK", "btnCancel"})
      Get<TButton>(*dlg, name)->OnClick = [&clicked, name](TObject*) { clicked = name; };
    dlg->OnShow = [&](TObject*) {
      HWND h = Window(*edit);
      SetFocus(h);
      PostMessageW(h, WM_KEYDOWN, k.key, 1);
      PostMessageW(h, WM_KEYUP, k.key, 0xC0000001);
    };
    EXPECT_EQ(dlg->ShowModal(), k.result);
    EXPECT_EQ(clicked, k.result == mrOk ? "btnOK" : "btnCancel");
    EXPECT_EQ(edit->Text(), "C:\\Quenby");  // the key typed nothing
    delete dlg;
  }
}

TEST_F(Win32WidgetsetTest, ALabelsSettingsShowInItsPaintedText) {
  TForm* form = Dialog();
  auto* label = Get<TLabel>(*form, "lblPath");
  const TRect b = label->BoundsRect();
  Get<TEdit>(*form, "edPath")->SetVisible(false);  // under the label when it grows

  // Set before the form shows: the first paint has them.
  label->SetAlignment(taRightJustify);
  label->SetShowAccelChar(false);
  form->Show();
  Ink ink = InkIn(*form, b);
  ASSERT_GT(ink.count, 0);
  EXPECT_NEAR(ink.right, b.right - 1, 2);

  // Changed on the live form.
  const struct {
    const char* name;
    TAlignment alignment;
    bool wordWrap;
    int height;
    const char* caption;
    int lines;  // lines of ink
  } cases[] = {
      {"centred", taCenter, false, 13, "Destination folder:", 1},
      {"left, wrapping", taLeftJustify, true, 60, "Destination folder for the engine:", 2},
      {"left, one line", taLeftJustify, false, 60, "Destination folder for the engine:", 1},
      {"right", taRightJustify, true, 13, "Destination folder:", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    label->SetAlignment(c.alignment);
    label->SetWordWrap(c.wordWrap);
    label->SetCaption(c.caption);
    label->SetHeight(c.height);
    const TRect r = label->BoundsRect();
    ink = InkIn(*form, r);
    ASSERT_GT(ink.count, 0);
    const int lineHeight = ws_->TextExtent(label->Font()->Data(), "").cy;
    EXPECT_EQ((ink.bottom - ink.top) / lineHeight + 1, c.lines) << ink.bottom - ink.top;
    // How far the ink is from the edge its alignment names.
    const int offBy = c.alignment == taLeftJustify ? ink.left - r.left
                      : c.alignment == taRightJustify
                          ? r.right - 1 - ink.right
                          : (ink.left - r.left) - (r.right - 1 - ink.right);
    EXPECT_LE(std::abs(offBy), 2) << ink.left << ".." << ink.right;
  }

  // '&' marks a mnemonic (underlined, not shown) only with ShowAccelChar.
  label->SetAlignment(taLeftJustify);
  label->SetCaption("&Destination");
  const int literal = InkIn(*form, label->BoundsRect()).right;
  label->SetShowAccelChar(true);
  const int marked = InkIn(*form, label->BoundsRect()).right;
  EXPECT_LT(marked, literal - 4);
  delete form;
}

TEST_F(Win32WidgetsetTest, MetricsComeFromTheSystemAndTheRealFont) {
  EXPECT_EQ(ws_->ScreenSize().cx, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(ws_->ScreenSize().cy, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(ws_->CaptionHeight(), GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(ws_->SysColor(COLOR_BTNFACE), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ws_->SysColor(99), clBlack);
  const TRect none = ws_->FrameMargins(bsNone);
  EXPECT_EQ((std::vector<int>{none.left, none.top, none.right, none.bottom}),
            (std::vector<int>{0, 0, 0, 0}));
  EXPECT_GE(ws_->FrameMargins(bsSingle).top, ws_->CaptionHeight());

  // For every border the margins are those of the real frame: the model's
  // client size is the client area Windows gives the window.
  const struct {
    const char* name;
    TFormBorderStyle border;
  } borders[] = {
      {"none", bsNone},     {"single", bsSingle},          {"sizeable", bsSizeable},
      {"dialog", bsDialog}, {"tool window", bsToolWindow}, {"sizeable tool", bsSizeToolWin}};
  for (const auto& b : borders) {
    SCOPED_TRACE(b.name);
    auto* form = new TForm(&Application());
    form->SetBorderStyle(b.border);
    form->SetBounds(20, 20, 300, 200);
    form->Show();
    RECT client;
    GetClientRect(static_cast<HWND>(Win32Widgetset::HandleOf(*form)), &client);
    EXPECT_EQ((std::vector<int>{client.right, client.bottom}),
              (std::vector<int>{form->ClientWidth(), form->ClientHeight()}));
    delete form;
  }

  TFontData font;
  font.name = "Tahoma";
  font.height = -11;
  const TSize narrow = ws_->TextExtent(font, "iiii"), wide = ws_->TextExtent(font, "WWWW");
  EXPECT_GT(wide.cx, narrow.cx);  // a proportional font, not fixed metrics
  EXPECT_GT(narrow.cy, 0);
  TFontData big = font;
  big.height = -24;
  EXPECT_GT(ws_->TextExtent(big, "WWWW").cx, wide.cx);
  EXPECT_GT(ws_->TextExtent(font, "").cy, 0);  // an empty line still has a height
}

}  // namespace
