// Graphics values and helpers: font size and height, system colours, line
// breaking and accelerator marks, message-box buttons and defaults, image
// list data, and a canvas handing over only the tools that changed.
#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"
#include "framework/Widgetset.h"
#include "framework/WidgetsetSlot.h"
#include "support/Fixture.h"

namespace {

class GraphicsTest : public PellmoreTest {
 protected:
  GraphicsTest() { RegisterControls(ClassRegistry::Global()); }
};

TEST_F(GraphicsTest, FontSizeAndHeightConvertAt96Dpi) {
  const struct {
    int height;
    int size;
  } cases[] = {{-11, 8}, {-13, 10}, {-12, 9}, {-16, 12}, {-35, 26}, {13, -10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    TFont f;
    f.SetHeight(c.height);
    EXPECT_EQ(f.Size(), c.size);
  }
  TFont f;
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetSize(9);
  EXPECT_EQ(f.Height(), -12);
  f.SetSize(9);  // unchanged: no event
  TFont other;
  other.SetName("Arial");
  f.Assign(&other);
  EXPECT_EQ(f.Name(), "Arial");
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(changes, 2);
  TPen pen;
  EXPECT_THROW(f.Assign(&pen), EConvertError);
}

TEST_F(GraphicsTest, SystemColoursResolveThroughTheWidgetset) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
  EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFF);
  EXPECT_EQ(ColorToRGB(RGB(0x40, 0x80, 0x80)), 0x808040);
  EXPECT_EQ(ColorToRGB(clNone), clBlack);

  struct Dark : platform::Widgetset {
    TColor SysColor(int) override { return 0x101010; }
  };
  InstallWidgetset(std::make_unique<Dark>());
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x101010);
  EXPECT_EQ(ColorToRGB(clYellow), clYellow);
}

TEST_F(GraphicsTest, LinesBreakBetweenWordsAndAtLineBreaks) {
  const auto chars = [](std::string_view s) { return static_cast<int>(s.size()); };
  const struct {
    const char* text;
    bool wrap;
    int width;
    std::vector<std::string> lines;
  } cases[] = {
      {"one two three", true, 7, {"one two", "three"}},
      {"one two three", false, 7, {"one two three"}},
      {"a  b", true, 3, {"a b"}},
      {"unbreakable word", true, 4, {"unbreakable", "word"}},
      {"x\r\ny\rz\n", true, 10, {"x", "y", "z", ""}},
      {"", true, 10, {""}},
      // Ideographs break anywhere, but not before closing or after
      // opening punctuation; text around them keeps its words.
      {"\u4E00\u4E8C\u4E09\u56DB", true, 6, {"\u4E00\u4E8C", "\u4E09\u56DB"}},
      {"\u4E00\u4E8C\uFF0C\u4E09", true, 6, {"\u4E00", "\u4E8C\uFF0C", "\u4E09"}},
      {"\u4E00\uFF08\u4E8C\u4E09", true, 6, {"\u4E00", "\uFF08\u4E8C", "\u4E09"}},
      {"ab\u4E00cd \u4E8C", true, 5, {"ab\u4E00", "cd", "\u4E8C"}},
      {"\u4E00\u4E8C\u4E09", false, 3, {"\u4E00\u4E8C\u4E09"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(BreakTextLines(c.text, c.wrap, c.width, chars), c.lines);
  }
  EXPECT_EQ(StripAccelChars("&File && &Edit&"), "File & Edit");
}

TEST_F(GraphicsTest, MessageBoxButtonsAndDefaults) {
  const struct {
    uint32_t flags;
    std::vector<int> buttons;
    int answer;
  } cases[] = {
      {MB_OK, {IDOK}, IDOK},
      {MB_OKCANCEL | MB_ICONQUESTION, {IDOK, IDCANCEL}, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, {IDOK, IDCANCEL}, IDCANCEL},
      {MB_YESNO | MB_DEFBUTTON3, {IDYES, IDNO}, IDYES},  // no third button
      {MB_YESNOCANCEL | MB_DEFBUTTON3, {IDYES, IDNO, IDCANCEL}, IDCANCEL},
      {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, IDABORT},
      {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDRETRY},
      {0x7, {IDOK}, IDOK},  // unknown button set
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    const MessageBoxButtons b = ButtonsOfMessageBox(c.flags);
    EXPECT_EQ(std::vector<int>(b.ids, b.ids + b.count), c.buttons);
    EXPECT_EQ(DefaultMessageBoxAnswer(c.flags), c.answer);
  }
  EXPECT_EQ(MessageBoxAnswerFromName("retry"), IDRETRY);
  EXPECT_EQ(MessageBoxAnswerFromName("Later"), 0);
  EXPECT_STREQ(ModalResultName(mrYesToAll), "mrYesToAll");
}

TEST_F(GraphicsTest, ImageListsStoreTheirImagesAndRefuseBadData) {
  Owned<TImageList> list(new TImageList(nullptr));
  TBitmap drive, warning;
  drive.SetSize(16, 16);
  warning.SetSize(16, 15);
  EXPECT_EQ(list->Add(drive), 0);
  EXPECT_EQ(list->Add(warning), 1);
  const Bytes data = list->Bitmap();

  Owned<TImageList> copy(new TImageList(nullptr));
  copy->SetBitmap(data);
  EXPECT_EQ(copy->Count(), 2);
  EXPECT_EQ(copy->Image(1).Height(), 15);
  EXPECT_THROW(copy->SetBitmap(Bytes(data.begin(), data.end() - 1)), EInvalidGraphic);
  EXPECT_EQ(copy->Count(), 2);  // kept
  EXPECT_THROW(copy->Image(2), EInvalidOperation);
  copy->Delete(0);
  EXPECT_EQ(copy->Image(0).Height(), 15);
}

// Counts what a canvas receives.
struct CountingCanvas : platform::Canvas {
  int pens = 0, brushes = 0, fonts = 0, fills = 0;
  void PenChanged() override { ++pens; }
  void BrushChanged() override { ++brushes; }
  void FontChanged() override { ++fonts; }
  void FillRect(const TRect&) override { ++fills; }
};

TEST_F(GraphicsTest, TheCanvasHandsOverOnlyChangedTools) {
  TCanvas canvas;
  EXPECT_EQ(canvas.TextWidth("abc"), 18);  // no target: the widgetset measures
  canvas.FillRect(TRect{0, 0, 1, 1});      // no target: nothing happens

  CountingCanvas target;
  canvas.SetTarget(&target);
  canvas.FillRect(TRect{0, 0, 1, 1});
  canvas.FillRect(TRect{0, 1, 1, 2});
  canvas.Brush()->SetColor(clRed);
  canvas.FillRect(TRect{0, 2, 1, 3});
  EXPECT_EQ(target.fills, 3);
  EXPECT_EQ(target.pens, 1);
  EXPECT_EQ(target.brushes, 2);
  EXPECT_EQ(target.fonts, 1);
  canvas.Font()->SetHeight(-35);
  EXPECT_EQ(canvas.TextHeight("x"), 44);  // measuring hands over the font
  EXPECT_EQ(target.fonts, 2);
  canvas.TextOut(10, 0, "ab");
  EXPECT_EQ(canvas.PenPos(), (TPoint{46, 0}));
  canvas.SetTarget(nullptr);
}

}  // namespace
