// The progress, status and change-disk dialogs in real windows (the Win32
// widgetset): the copy window's bars filled as far as the statuses say, its
// left picture swapped by a download and back by a file, the status window
// fitted to its text and centred, the change-disk prompt as Windows holds
// it in English and in Chinese Simplified, and every page of the wizard in
// both languages: its texts painted (no empty boxes where a font lacks
// the characters) and every button's text inside the button. With
// PELLMORE_GALLERY_DIR set,
// the captures are also written there as the gallery's PNG files.
#ifdef _WIN32

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "dialogs/CompletionPage.h"
#include "dialogs/DialogRegistration.h"
#include "dialogs/dlgcmp_TCopyFile.h"
#include "dialogs/dlgcmp_TInstallStatus.h"
#include "dialogs/frmdlg_BadInstall.h"
#include "dialogs/frmdlg_ChangeDisk.h"
#include "dialogs/frmdlg_CopyFile.h"
#include "dialogs/frmdlg_FileGroupSelect.h"
#include "dialogs/frmdlg_GoodInstall.h"
#include "dialogs/frmdlg_InstallStatus.h"
#include "dialogs/frmdlg_InstallType.h"
#include "dialogs/frmdlg_License.h"
#include "dialogs/frmdlg_Readme.h"
#include "dialogs/frmdlg_Reboot.h"
#include "dialogs/frmdlg_SelectFolder.h"
#include "dialogs/frmdlg_Welcome.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/Utf8.h"
#include "framework/WidgetsetSlot.h"
#include "install/ComponentCalls.h"
#include "install/cmp_TFileContainer.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/widgetset/Win32Capture.h"
#include "shell/links/cmp_TInstallShellLink.h"
#include "test_progress_fixture.h"

// Last: its macros collide with the framework's names.
#include "../platform/win32/widgetset/WindowReadBack.h"

namespace {

using platform::win32::CaptureWindow;
using platform::win32::Image;
using platform::win32::Win32Widgetset;
using windowreadback::TextOf;
using windowreadback::Window;

uint32_t PixelOfSysColor(int index) {
  const COLORREF c = GetSysColor(index);
  return static_cast<uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
}
int Distance(uint32_t a, uint32_t b) {
  auto ch = [](uint32_t v, int s) { return static_cast<int>((v >> s) & 0xFF); };
  return std::max({std::abs(ch(a, 16) - ch(b, 16)), std::abs(ch(a, 8) - ch(b, 8)),
                   std::abs(ch(a, 0) - ch(b, 0))});
}

// The part of `image`, the capture of `window` (frame included), that
// shows `r`, a rectangle in the client coordinates of its descendant
// `inside`.
Image Cut(const Image& image, HWND window, HWND inside, RECT r) {
  RECT w;
  GetWindowRect(window, &w);
  MapWindowPoints(inside, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  Image out{r.right - r.left, r.bottom - r.top, {}};
  for (int y = r.top - w.top; y < r.bottom - w.top; ++y)
    for (int x = r.left - w.left; x < r.right - w.left; ++x) out.rgb.push_back(image.At(x, y));
  return out;
}
// The client area of the window `child`.
Image Cut(const Image& image, HWND window, HWND child) {
  RECT c;
  GetClientRect(child, &c);
  return Cut(image, window, child, c);
}

// Labels have no window of their own: their parent paints them. What a
// label shows is read back by comparing its part of the window with a
// fresh label of the same looks, painted in its place with a candidate
// text.
Image LabelPixels(TControl& form, TControl& label) {
  CurrentWidgetset().ProcessMessages();
  const TRect b = label.BoundsRect();
  return Cut(CaptureWindow(Win32Widgetset::HandleOf(form)), Window(form), Window(*label.Parent()),
             RECT{b.left, b.top, b.right, b.bottom});
}
bool LabelShows(TControl& form, TLabel& label, const std::string& text) {
  const Image shown = LabelPixels(form, label);
  auto* twin = new TLabel(label.Owner());
  twin->SetAutoSize(false);
  twin->SetParent(label.Parent());
  twin->SetBounds(label.Left(), label.Top(), label.Width(), label.Height());
  twin->Font()->Assign(label.Font());
  twin->SetColor(label.Color());
  twin->SetTransparent(label.Transparent());
  twin->SetAlignment(label.Alignment());
  twin->SetLayout(label.Layout());
  twin->SetWordWrap(label.WordWrap());
  twin->SetCaption(text);
  // Hiding the label would move its aligned neighbours: it shows nothing
  // instead while the twin paints over it, keeping its size.
  const std::string caption = label.Caption();
  const bool autoSize = label.AutoSize();
  label.SetAutoSize(false);
  label.SetCaption("");
  const Image candidate = LabelPixels(form, *twin);
  label.SetCaption(caption);
  label.SetAutoSize(autoSize);
  delete twin;
  return shown.rgb == candidate.rgb;
}

// How much of a progress bar's inner width its highlight fills, in
// percent: the bar's capture (client area) along its middle row, from the
// first to the last highlight pixel; the frame drawn inside the client
// area (a pixel of another colour each side) is not part of the inner
// width. A bar drawn in blocks fills whole blocks, so its end may pass the
// exact fill by up to one block.
struct Fill {
  int filled = 0;  // pixels from the inner left edge to the last highlight pixel
  int inner = 0;   // the inner width
  int block = 0;   // the first highlight run's length plus the gap after it
};
Fill MeasureFill(const Image& bar) {
  const uint32_t highlight = PixelOfSysColor(COLOR_HIGHLIGHT);
  const int y = bar.height / 2;
  Fill f;
  f.inner = bar.width - 2;
  int first = -1, last = -1, firstRunEnd = -1, secondRun = -1;
  for (int x = 1; x < bar.width - 1; ++x) {
    const bool lit = Distance(bar.At(x, y), highlight) <= 24;
    if (lit && first < 0) first = x;
    if (!lit && first >= 0 && firstRunEnd < 0) firstRunEnd = x;
    if (lit && firstRunEnd >= 0 && secondRun < 0) secondRun = x;
    if (lit) last = x;
  }
  if (last >= 0) f.filled = last;  // inner edge at x = 1
  if (secondRun > 0) f.block = secondRun - first;
  return f;
}

class DialogWindowsTest : public ProgressDialogTest {
 protected:
  DialogWindowsTest() {
    owner.reset();
    InstallWidgetset(std::make_unique<Win32Widgetset>());
    owner.reset(NewForm());
    if (const char* dir = std::getenv("PELLMORE_GALLERY_DIR")) gallery_ = dir;
  }
  ~DialogWindowsTest() override {
    owner.reset();
    InstallWidgetset(nullptr);
  }

  static Image Shot(TControl& form) {
    CurrentWidgetset().ProcessMessages();
    return CaptureWindow(Win32Widgetset::HandleOf(form));
  }
  // Writes `image` as NAME.png into the gallery directory, when one is set.
  void Keep(const Image& image, const std::string& name) const {
    if (!gallery_.empty()) platform::win32::WritePng(image, gallery_ + "\\" + name + ".png");
  }

  static void Status(TDialogManager& manager, TInstall& from, const char* name, int file,
                     int total) {
    TFileStatusParameter p;
    p.FileName = name;
    p.FilePercent = file;
    p.TotalPercent = total;
    manager.HandleComponentCall(&from, kCallFileStatus, &p);
  }
  static void Download(TDialogManager& manager, TInstall& from, const char* name, int percent) {
    TDownloadStatusParameter p;
    p.FileName = name;
    p.Percent = percent;
    manager.HandleComponentCall(&from, kCallDownloadStatus, &p);
  }

  std::string gallery_;
};

// Mid-copy in both languages: each bar's highlight covers the percentage
// the status gave of its inner width, the file name is in the window.
TEST_F(DialogWindowsTest, CopyWindowsBarsFillAsTheStatusSays) {
  const struct {
    const char* what;
    TVrexLanguage target;
    const char* shot;
    const char* header;  // the translated header, read back from the window
  } cases[] = {
      {"English", vlEnglish, "copy-dialog", "Processing"},
      {"Chinese Simplified", vlChineseSimplified, "copy-dialog-zh", "正在处理"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    owner.reset(NewForm());
    install = nullptr;
    AddInstaller(false);
    UseTranslator(c.target);
    TDialogManager* manager = AddManager(dmDuringCopyFiles, "DialogManager3");
    auto* dlg = New<TCopyFileDlg>(owner.get(), "CopyFileDlg");
    Status(*manager, *install, "QDENG32.DLL", 40, 70);
    auto* form = static_cast<TCopyFileForm*>(dlg->Form());
    ASSERT_NE(form, nullptr);
    const Image shot = Shot(*form);
    Keep(shot, c.shot);
    HWND window = Window(*form);
    EXPECT_TRUE(LabelShows(*form, *form->CopyingFileLabel(), "QDENG32.DLL"));
    EXPECT_TRUE(LabelShows(*form, Control<TLabel>(*form, "lblCopyFileHeader"), c.header));
    const struct {
      const char* name;
      TProgressBar* bar;
      int percent;
    } bars[] = {{"file bar", form->FileBar(), 40}, {"total bar", form->TotalBar(), 70}};
    for (const auto& b : bars) {
      SCOPED_TRACE(b.name);
      const Fill f = MeasureFill(Cut(shot, window, Window(*b.bar)));
      ASSERT_GT(f.inner, 100);
      const double exact = f.inner * b.percent / 100.0;
      std::printf("%s, %s: %d of %d pixels lit (%.1f %%), exactly %.1f, block %d\n", c.what, b.name,
                  f.filled, f.inner, 100.0 * f.filled / f.inner, exact, f.block);
      // Whole blocks: the end lies between the exact fill and one block on.
      EXPECT_GE(f.filled, exact - std::max(2.0, f.inner * 0.02))
          << f.filled << " of " << f.inner << " lit, block " << f.block;
      EXPECT_LE(f.filled, exact + f.block + std::max(2.0, f.inner * 0.02))
          << f.filled << " of " << f.inner << " lit, block " << f.block;
    }
    manager->HandleComponentCall(install, kCallCopyEnded, nullptr);
    EXPECT_EQ(dlg->Form(), nullptr);
  }
}

// A download shows the transfer picture over the extraction picture; the
// next file status brings the extraction picture back, pixel for pixel.
TEST_F(DialogWindowsTest, DownloadSwapsTheLeftPictureAndAFileStatusRestoresIt) {
  AddInstaller(false);
  TDialogManager* manager = AddManager(dmDuringCopyFiles, "DialogManager3");
  auto* dlg = New<TCopyFileDlg>(owner.get(), "CopyFileDlg");
  Status(*manager, *install, "QDENG32.DLL", 10, 5);
  auto* form = static_cast<TCopyFileForm*>(dlg->Form());
  ASSERT_NE(form, nullptr);
  HWND window = Window(*form);
  auto leftPanel = [&] {
    return Cut(Shot(*form), window, Window(Control<TPanel>(*form, "pnlLeft"))).rgb;
  };
  const std::vector<uint32_t> extraction = leftPanel();
  Download(*manager, *install, "files.2", 30);
  const std::vector<uint32_t> transfer = leftPanel();
  Status(*manager, *install, "QDECOLL.DLL", 20, 15);
  const std::vector<uint32_t> again = leftPanel();
  ASSERT_EQ(extraction.size(), transfer.size());
  const auto changed =
      std::inner_product(extraction.begin(), extraction.end(), transfer.begin(), 0, std::plus<>(),
                         [](uint32_t a, uint32_t b) { return a != b ? 1 : 0; });
  EXPECT_GT(changed, 100) << "the transfer picture did not show";
  EXPECT_TRUE(again == extraction) << "the extraction picture did not come back";
  // Both pictures lie on the dialog's own face, not on a grey tile of
  // their own: the corner of each (at the panel's border of 10) is the face.
  const uint32_t face = PixelOfSysColor(COLOR_BTNFACE);
  const auto pictureCorner = [&] {
    return Cut(Shot(*form), window, Window(Control<TPanel>(*form, "pnlLeft"))).At(10, 10);
  };
  EXPECT_LE(Distance(pictureCorner(), face), 8) << "extraction picture";
  Download(*manager, *install, "files.2", 40);
  EXPECT_LE(Distance(pictureCorner(), face), 8) << "transfer picture";
  manager->HandleComponentCall(install, kCallCopyEnded, nullptr);
}

// The status window takes its text's width plus 80, centred across the
// screen, the text in its window as pushed.
TEST_F(DialogWindowsTest, StatusWindowFitsItsTextAndIsCentred) {
  AddInstaller(false);
  auto* dlg = New<TInstallStatusDlg>(owner.get(), "InstallStatusDlg");
  dlg->SetContainer(install);
  const std::string text = "Reading file information...";
  TMessageParameter p(text);
  dlg->HandleComponentCall(nullptr, kCallShowStatus, &p);
  TInstallStatusForm* form = dlg->StatusForm();
  ASSERT_NE(form, nullptr);
  const Image shot = Shot(*form);
  Keep(shot, "status-window");

  EXPECT_TRUE(LabelShows(*form, *form->MessageLabel(), text));
  // The text's width as Windows measures it in the label's font.
  const TFont& font = *form->MessageLabel()->Font();
  const std::wstring wide = platform::win32::Wide(text);
  HDC dc = GetDC(nullptr);
  HFONT hfont = CreateFontW(font.Height(), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            0, 0, 0, 0, platform::win32::Wide(font.Name()).c_str());
  HGDIOBJ old = SelectObject(dc, hfont);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  DeleteObject(hfont);
  ReleaseDC(nullptr, dc);

  RECT r;
  GetWindowRect(Window(*form), &r);
  const int width = r.right - r.left;
  EXPECT_NEAR(width, size.cx + 80, 1);
  const int screen = GetSystemMetrics(SM_CXSCREEN);
  EXPECT_LE(std::abs(r.left - (screen - r.right)), 1) << r.left << " .. " << r.right;
  EXPECT_EQ(shot.width, width);
  dlg->HandleComponentCall(nullptr, kCallHideStatus, nullptr);
  EXPECT_FALSE(IsWindowVisible(Window(*form)));
}

// Disk 3 asked for in both languages: the prompt as the window holds it.
TEST_F(DialogWindowsTest, ChangeDiskPromptReadsBackInBothLanguages) {
  const struct {
    const char* what;
    TVrexLanguage target;
    const char* shot;
    const char* prompt;
    const char* wrong;
    const char* proceed;
  } cases[] = {
      {"English", vlEnglish, "change-disk", "Please insert disk number 3",
       "Please insert disk number 8", "Proceed"},
      {"Chinese Simplified", vlChineseSimplified, "change-disk-zh", "请插入第 3 张磁盘",
       "请插入第 8 张磁盘", "继续"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    owner.reset(NewForm());
    install = nullptr;
    AddInstaller(false);
    UseTranslator(c.target);
    TDiskParameter disk;
    disk.DiskNumber = 3;
    disk.Path = "D:\\Setup\\Disk3";
    auto* form = TCustomForm::Create<TChangeDiskForm>(owner.get());
    form->SetDiskParameter(&disk);
    form->RefreshPage();
    form->TranslateForm();
    form->Show();  // modeless: the test captures it instead of a person answering
    const Image shot = Shot(*form);
    Keep(shot, c.shot);
    EXPECT_TRUE(LabelShows(*form, *form->PromptDiskLabel(), c.prompt));
    // The comparison tells texts apart: another disk number, and the
    // boxes of characters no font has, show otherwise.
    EXPECT_FALSE(LabelShows(*form, *form->PromptDiskLabel(), c.wrong));
    EXPECT_FALSE(LabelShows(*form, *form->PromptDiskLabel(),
                            std::string(c.prompt).replace(0, 3, "\xEE\x80\x80")));
    EXPECT_EQ(TextOf(Window(*form->InstallBtn())), c.proceed);
    EXPECT_EQ(TextOf(Window(*form->PathEdit())), "D:\\Setup\\Disk3");
    // Something is drawn: the capture is not one colour.
    const uint32_t first = shot.rgb.front();
    EXPECT_TRUE(
        std::any_of(shot.rgb.begin(), shot.rgb.end(), [first](uint32_t p) { return p != first; }));
    form->Free();
  }
}

// An install file of a fixed size, for the group page's sizes.
class TSizedFile : public TFileRelated {
  PELLMORE_CLASS(TSizedFile, TFileRelated)

 public:
  using TFileRelated::TFileRelated;
  int RegisteredType() const override { return kRegisteredInstallFile; }
  int64_t StoredFileSize() const override { return size; }
  int64_t size = 0;
};

// The width Windows gives `text` in the font of the window `h`.
int TextWidthIn(HWND h, const std::string& text) {
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
  const std::wstring wide = platform::win32::Wide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  return size.cx;
}

std::string WithoutAccelerators(std::string text) {
  std::erase(text, '&');
  return text;
}

// Every page of the wizard, alone in its window, in both languages: each
// showing label paints its text (and not the boxes of characters no font
// has), each showing button holds its translated text and has room for it.
TEST_F(DialogWindowsTest, EveryWizardPagePaintsItsTextsAndItsButtonsFit) {
  RegisterOpenFolderDialog(ClassRegistry::Global());
  RegisterWizardPages(ClassRegistry::Global());
  RegisterFileGroupSelect(ClassRegistry::Global());
  RegisterCompletionDialogs(ClassRegistry::Global());
  RegisterPathSpecifiers(ClassRegistry::Global());
  RegisterShellLinkClasses(ClassRegistry::Global());
  using Make = std::function<TWizardPageForm*(TComponent*)>;
  const struct {
    const char* shot;
    Make make;
  } pages[] = {
      {"page-welcome", [](TComponent* o) { return TCustomForm::Create<TWelcomeForm>(o); }},
      {"page-license", [](TComponent* o) { return TCustomForm::Create<TLicenseForm>(o); }},
      {"page-readme", [](TComponent* o) { return TCustomForm::Create<TReadmeForm>(o); }},
      {"page-setup-type", [](TComponent* o) { return TCustomForm::Create<TInstallTypeForm>(o); }},
      {"page-components",
       [](TComponent* o) { return TCustomForm::Create<TFileGroupSelectForm>(o); }},
      {"page-program-folder",
       [](TComponent* o) { return TCustomForm::Create<TSelectFolderForm>(o); }},
      {"page-complete", [](TComponent* o) { return TCustomForm::Create<TGoodInstallForm>(o); }},
      {"page-incomplete", [](TComponent* o) { return TCustomForm::Create<TBadInstallForm>(o); }},
      {"page-reboot", [](TComponent* o) { return TCustomForm::Create<TRebootForm>(o); }},
  };
  const struct {
    const char* suffix;
    TVrexLanguage target;
  } languages[] = {{"", vlEnglish}, {"-zh", vlChineseSimplified}};

  for (const auto& language : languages) {
    for (const auto& p : pages) {
      SCOPED_TRACE(std::string(p.shot) + language.suffix);
      owner.reset(NewForm());
      install = nullptr;
      AddInstaller(false);
      UseTranslator(language.target);
      // What the pages show: a custom setup into C:\Quenby with two groups,
      // a program folder.
      install->SetGroupName("Quenby Database Engine");
      install->SetInstallTypes(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
      install->SetDestDirType(nullptr);
      install->SetDestDir("C:\\Quenby");
      const std::pair<const char*, int64_t> groups[] = {{"Engine files", 2914092},
                                                        {"Administrator tool", 646953}};
      for (const auto& [name, bytes] : groups) {
        auto* g = New<TInstallFileGroup>(
            owner.get(), std::string("grp") + (name[0] == 'E' ? "Engine" : "Manager"));
        g->SetContainer(install);
        g->SetGroupName(name);
        auto* f = New<TSizedFile>(owner.get(), g->Name() + "File");
        f->size = bytes;
        f->SetContainer(g);
      }
      install->SetInstallType(itCustom);
      auto* folder = New<TMainLinkGroup>(owner.get(), "MainFolder");
      folder->SetContainer(install);

      TWizardPageForm* page = p.make(owner.get());
      page->RefreshPage();
      page->TranslateForm();
      page->Show();  // modeless: the test captures it instead of a person answering
      const Image shot = Shot(*page);
      Keep(shot, std::string(p.shot) + language.suffix);

      for (int i = 0; i < page->ComponentCount(); ++i) {
        TComponent* c = page->Components(i);
        if (auto* label = dynamic_cast<TLabel*>(c); label && label->Showing()) {
          const std::string text = label->Caption();
          if (text.empty()) continue;
          EXPECT_TRUE(LabelShows(*page, *label, text)) << label->Name() << ": " << text;
          // Characters a font lacks are painted as the same box: a text
          // of boxes must look different.
          std::string boxes;
          for (size_t n = 0; n < Utf8Length(text); ++n) boxes += "\xEE\x80\x80";
          if (language.target != vlEnglish) {
            EXPECT_FALSE(LabelShows(*page, *label, boxes)) << label->Name() << ": " << text;
          }
        } else if (auto* button = dynamic_cast<TButton*>(c); button && button->Showing()) {
          HWND h = Window(*button);
          const std::string text = WithoutAccelerators(button->Caption());
          EXPECT_EQ(WithoutAccelerators(TextOf(h)), text) << button->Name();
          RECT r;
          GetClientRect(h, &r);
          const auto* bit = dynamic_cast<TBitBtn*>(button);
          const int glyph = bit && bit->Glyph() && !bit->Glyph()->Empty() ? 16 + 4 : 0;
          EXPECT_LE(TextWidthIn(h, text) + glyph, r.right - r.left - 6)
              << button->Name() << ": " << text;
        }
      }
      page->Free();
    }
  }
}

}  // namespace

#endif  // _WIN32
