// The open-folder dialog in real windows: the system's browser extended
// with the kit's create button and path edit, driven by a UI script through
// its real buttons and edit. Opened on an existing and on a missing
// directory (created by the caller beforehand, as the wizard's Browse does),
// a folder created through its button (captured for the gallery when
// PELLMORE_GALLERY_DIR is set), and the chosen path returned.
#ifdef _WIN32

#include <gmock/gmock.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "dialogs/dlgcmp_TOpenFolderDialog.h"
#include "framework/StrUtils.h"
#include "framework/WidgetsetSlot.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/win32/widgetset/Win32Capture.h"
#include "platform/win32/widgetset/Win32Widgetset.h"
#include "support/TestMachine.h"

// Last: its macros collide with the framework's names.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>
#undef RemoveDirectory

using namespace dialogtest;

namespace {

const char* const kRoot = "C:\\OfdWine";

class OpenFolderWindows : public DialogTest {
 protected:
  OpenFolderWindows() {
    Clean();
    platform::files().CreateDirectories(R("Data"));
    if (const char* dir = std::getenv("PELLMORE_GALLERY_DIR")) gallery_ = dir;
  }
  ~OpenFolderWindows() override {
    InstallWidgetset(nullptr);
    Clean();
  }
  static void Clean() {
    if (platform::files().DirectoryExists(kRoot)) testsupport::TestMachine::RemoveTree(kRoot);
  }
  static std::string R(const std::string& rel) { return std::string(kRoot) + "\\" + rel; }

  void UseWindows(const std::string& script) {
    lines.clear();
    platform::headless::UserOptions o;
    o.script = script;
    o.scriptName = "browser.ui";
    o.transcript = [this](std::string_view line) { lines.emplace_back(line); };
    InstallWidgetset(std::make_unique<platform::win32::Win32Widgetset>(std::move(o)));
  }
  // The transcript lines holding `text`.
  int Count(const std::string& text) const {
    int n = 0;
    for (const std::string& l : lines) n += l.find(text) != std::string::npos;
    return n;
  }
  std::string All() const {
    std::string s;
    for (const std::string& l : lines) s += l + "\n";
    return s;
  }
  static std::string Json(const std::string& path) {
    std::string out;
    for (char c : path) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
  }

  std::string gallery_;
};

// The browser window that is up now (our thread's dialog box).
HWND BrowserWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM out) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(h)) return TRUE;
        *reinterpret_cast<HWND*>(out) = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(OpenFolderWindows, OpenedOnAnExistingDirectoryOkReturnsIt) {
  UseWindows("form FolderBrowser\npress OK\n");
  TOpenFolderDialog d(form.get());
  d.SetPath(R("Data\\Not\\There"));
  ASSERT_TRUE(d.Execute()) << All();
  EXPECT_EQ(LowerCase(d.Path()), LowerCase(R("Data")));
  // The path edit showed the initial selection, read back from its window.
  EXPECT_GE(Count("\"name\":\"PathEdit\",\"text\":\"" + Json(d.Path()) + "\""), 1) << All();
  EXPECT_EQ(Count("\"event\":\"close\",\"form\":\"FolderBrowser\",\"result\":\"mrOk\""), 1)
      << All();

  UseWindows("press Cancel\n");
  d.SetPath(R("Data"));
  EXPECT_FALSE(d.Execute()) << All();
  EXPECT_EQ(d.Path(), R("Data"));
}

TEST_F(OpenFolderWindows, OpenedOnAMissingDirectoryATypedPathIsCreated) {
  // The caller makes the missing directory so that the browser selects it,
  // and removes it afterwards (the wizard's Browse button does this).
  const std::string missing = R("Missing\\Deep");
  platform::files().CreateDirectories(missing);
  UseWindows("type PathEdit " + R("Typed\\Here") + "\npress OK\n");
  TOpenFolderDialog d(form.get());
  d.SetPath(missing);
  ASSERT_TRUE(d.Execute()) << All();
  platform::files().RemoveDirectory(missing);
  EXPECT_EQ(d.Path(), R("Typed\\Here"));
  EXPECT_TRUE(platform::files().DirectoryExists(R("Typed\\Here")));
  EXPECT_FALSE(platform::files().DirectoryExists(missing));
  // It opened on the directory the caller made.
  EXPECT_GE(Count("\"name\":\"PathEdit\",\"text\":\"" + Json(missing) + "\""), 1) << All();
}

TEST_F(OpenFolderWindows, AFolderCreatedThroughItsButtonIsBrowsedAgainAndChosen) {
  UseWindows(
      "press CreateBtn\nform InputQuery\ntype Value Made\npress OK\n"
      "form FolderBrowser\npress OK\n");
  TOpenFolderDialog d(form.get());
  d.SetPath(R("Data"));
  bool captured = false;
  std::string layout;
  d.SetOnCreateFolder([&](TObject*, bool& allow) {
    allow = true;
    HWND browser = BrowserWindow();
    if (!browser) return;
    // The extended browser: a tree that always shows its selection, with
    // the kit's edit below it and its create button above OK's row.
    HWND tree = FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
    HWND edit = FindWindowExW(browser, nullptr, L"Edit", nullptr);
    RECT tr{}, er{};
    if (tree) GetWindowRect(tree, &tr);
    if (edit) GetWindowRect(edit, &er);
    layout =
        std::string(tree ? "tree" : "no tree") +
        ((tree && (GetWindowLongPtrW(tree, GWL_STYLE) & TVS_SHOWSELALWAYS)) ? " showsel" : "") +
        (edit && er.top == tr.bottom + 15 && er.left == tr.left &&
                 er.right - er.left == tr.right - tr.left
             ? " edit-below"
             : " edit-elsewhere");
    const platform::win32::Image shot = platform::win32::CaptureWindow(browser);
    captured = shot.width > 200 && shot.height > 200;
    if (!gallery_.empty()) platform::win32::WritePng(shot, gallery_ + "\\folder-browser.png");
  });
  ASSERT_TRUE(d.Execute()) << All();
  EXPECT_EQ(LowerCase(d.Path()), LowerCase(R("Data\\Made")));
  EXPECT_TRUE(platform::files().DirectoryExists(R("Data\\Made")));
  EXPECT_TRUE(captured);
  EXPECT_EQ(layout, "tree showsel edit-below");
  // Two browsers, both confirmed, the second on the new folder.
  EXPECT_EQ(Count("\"event\":\"close\",\"form\":\"FolderBrowser\",\"result\":\"mrOk\""), 2)
      << All();
  EXPECT_EQ(Count("\"event\":\"close\",\"form\":\"InputQuery\",\"result\":\"mrOk\""), 1) << All();
  EXPECT_EQ(Count("\"event\":\"unused\""), 0) << All();
}

}  // namespace

#endif  // _WIN32
