// Painting on real windows, checked on captured pixels: the GDI canvas's
// primitives, the backdrop's gradient, the title label's 3-D looks and
// rotation, and Chinese text in the Chinese Simplified language font.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "decor/cmp_Rotate3DLabel.h"
#include "decor/cmp_TBackDrop.h"
#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/WidgetsetSlot.h"
#include "i18n/LanguageInfo.h"
#include "platform/win32/widgetset/Win32Canvas.h"
#include "platform/win32/widgetset/Win32Capture.h"
#include "support/Fixture.h"

namespace {

using platform::win32::CaptureClient;
using platform::win32::Image;
using platform::win32::Win32Canvas;
using platform::win32::Win32Widgetset;

uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r << 16 | g << 8 | b);
}
// A model colour (0x00BBGGRR) as a pixel (0x00RRGGBB).
uint32_t PixelOf(TColor c) {
  const TColor v = ColorToRGB(c);
  return Rgb(GetRValue(v), GetGValue(v), GetBValue(v));
}
int Distance(uint32_t a, uint32_t b) {
  auto ch = [](uint32_t v, int s) { return static_cast<int>((v >> s) & 0xFF); };
  return std::max({std::abs(ch(a, 16) - ch(b, 16)), std::abs(ch(a, 8) - ch(b, 8)),
                   std::abs(ch(a, 0) - ch(b, 0))});
}
std::string Hex(uint32_t v) {
  char s[16];
  std::snprintf(s, sizeof s, "%06X", static_cast<unsigned>(v));
  return s;
}

// What `paint` draws on a fresh white bitmap, through the GDI canvas.
Image PaintOnBitmap(int width, int height, const std::function<void(platform::Canvas&)>& paint) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  {
    Win32Canvas canvas(dc);
    paint(canvas);
  }
  GdiFlush();
  Image image{width, height, {}};
  const auto* p = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) image.rgb.push_back(p[i] & 0xFFFFFF);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return image;
}

// Where pixels near one colour lie.
struct Ink {
  int count = 0;
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  double cx = 0, cy = 0;
};
Ink InkOf(const Image& image, uint32_t color, int tolerance = 24) {
  Ink ink;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (Distance(image.At(x, y), color) <= tolerance) {
        ++ink.count;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
        ink.cx += x;
        ink.cy += y;
      }
  if (ink.count) {
    ink.cx /= ink.count;
    ink.cy /= ink.count;
  }
  return ink;
}

class Win32PaintTest : public PellmoreTest {
 protected:
  Win32PaintTest() {
    RegisterControls(ClassRegistry::Global());
    InstallWidgetset(std::make_unique<Win32Widgetset>());
  }
  ~Win32PaintTest() override { InstallWidgetset(nullptr); }

  // A borderless form of this client size at the screen's top-left.
  TForm* NewForm(int width, int height) {
    auto* form = new TForm(&Application());
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, width, height);
    return form;
  }
  static Image Shot(TControl& c) {
    CurrentWidgetset().ProcessMessages();
    return CaptureClient(Win32Widgetset::HandleOf(c));
  }
};

// The colour the backdrop's formula gives at `pos` along an axis `length`
// long: 256 bands (128 per half when mirrored), colour n of `steps + 1`
// stepped with MulDiv from the first to the second.
uint32_t GradientAt(int pos, int length, TColor first, TColor second, bool mirrored) {
  int band = 0;
  while (band < 255 && MulDiv(band + 1, length, 256) <= pos) ++band;
  const int steps = mirrored ? 127 : 255;
  const int n = mirrored && band > 127 ? 255 - band : band;
  const TColor a = ColorToRGB(first), b = ColorToRGB(second);
  auto mix = [&](int x, int y) { return x + MulDiv(n, y - x, steps); };
  return Rgb(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
             mix(GetBValue(a), GetBValue(b)));
}

TEST_F(Win32PaintTest, TheBackdropsGradientRunsAsItsDirectionSays) {
  const TColor start = RGB(200, 40, 0), end = RGB(0, 80, 240);
  const struct {
    const char* name;
    TDirection direction;
    TColor first, second;
    bool alongHeight, mirrored;
  } cases[] = {
      {"up", bdUp, start, end, true, false},
      {"down", bdDown, end, start, true, false},
      {"left", bdLeft, start, end, false, false},
      {"right", bdRight, end, start, false, false},
      {"horizontal in", bdHorzIn, end, start, true, true},
      {"horizontal out", bdHorzOut, start, end, true, true},
      {"vertical in", bdVertIn, start, end, false, true},
      {"vertical out", bdVertOut, end, start, false, true},
  };
  TForm* form = NewForm(300, 200);
  auto* back = new TBackdrop(form);
  back->SetParent(form);
  back->SetStartColor(start);
  back->SetEndColor(end);
  form->Show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    back->SetDirection(c.direction);
    const Image shot = Shot(*form);
    ASSERT_EQ(shot.width, 300);
    const int length = c.alongHeight ? shot.height : shot.width;
    for (int pos : {0, length / 4, length / 2, length - 1}) {
      const uint32_t expected = GradientAt(pos, length, c.first, c.second, c.mirrored);
      // Both edges across the axis show the same colour.
      for (int across : {0, (c.alongHeight ? shot.width : shot.height) - 1}) {
        const uint32_t got = c.alongHeight ? shot.At(across, pos) : shot.At(pos, across);
        EXPECT_LE(Distance(got, expected), 2)
            << "at " << pos << ": " << Hex(got) << ", formula " << Hex(expected);
      }
    }
  }
  delete form;
}

// The title label on a plain plate: its text colour, the light shade and
// the dark shade, each where the look puts it.
TEST_F(Win32PaintTest, TheTitleLabelsLooksAndAngleShowWhereTheyShould) {
  const TColor plate = RGB(0, 100, 100);
  const uint32_t text = PixelOf(clYellow), light = PixelOf(clWhite), dark = PixelOf(clBlack);
  TForm* form = NewForm(320, 320);
  auto* back = new TBackdrop(form);
  back->SetParent(form);
  back->SetStartColor(plate);
  back->SetEndColor(plate);
  auto* label = new TRotate3DLabel(back);
  label->SetParent(back);
  label->SetBounds(10, 10, 300, 300);
  label->SetAlignment(taCenter);
  label->SetCaption("Quenby");
  label->Font()->SetHeight(-40);
  label->Font()->SetColor(clYellow);
  label->LabelStyle()->SetAShadeLeftTop(clWhite);
  label->LabelStyle()->SetAShadeRightBottom(clBlack);
  form->Show();

  // The 3-D looks at angle 0: where the shades lie against the text.
  const struct {
    const char* name;
    T3DEffectShort look;
    // Signs of the shades' offsets from the text (0, 0: not drawn). A
    // one-pixel shade shows reliably only along horizontal strokes, so
    // its side is checked vertically; the shadow's on both axes.
    int lightDx, lightDy;
    int darkDx, darkDy;
  } looks[] = {
      {"plain", A3dNormal, 0, 0, 0, 0},
      {"raised", A3dRaised, -1, -1, 1, 1},
      {"recessed", A3dResit, 1, 1, -1, -1},
      {"shadowed", A3dShadowed, 0, 0, 1, -1},
  };
  for (const auto& l : looks) {
    SCOPED_TRACE(l.name);
    label->LabelStyle()->SetAStyle3D(l.look);
    const Image shot = Shot(*form);
    const Ink t = InkOf(shot, text), li = InkOf(shot, light), d = InkOf(shot, dark);
    ASSERT_GT(t.count, 100);
    EXPECT_EQ(li.count > 0, l.lightDx != 0) << li.count << " light pixels";
    EXPECT_EQ(d.count > 0, l.darkDx != 0) << d.count << " dark pixels";
    auto side = [](double v) { return v > 0.3 ? 1 : v < -0.3 ? -1 : 0; };
    if (l.lightDx) {
      EXPECT_EQ(side(li.cy - t.cy), l.lightDy);
    }
    if (l.darkDx) {
      EXPECT_EQ(side(d.cy - t.cy), l.darkDy);
      if (l.look == A3dShadowed) {
        EXPECT_EQ(side(d.cx - t.cx), l.darkDx);
      }
    }
  }

  // Turned: centred on the label, the line along the angle, its start
  // (the heavy letters) where the angle puts it.
  label->LabelStyle()->SetAStyle3D(A3dNormal);
  label->SetCaption("WWW.......");
  const struct {
    const char* name;
    int angle;
    bool wide;           // the ink is wider than high (else higher than wide)
    int startX, startY;  // which side of the middle the start lies on
  } angles[] = {{"0", 0, true, -1, 0},
                {"90", 90, false, 0, 1},
                {"180", 180, true, 1, 0},
                {"270", 270, false, 0, -1}};
  for (const auto& a : angles) {
    SCOPED_TRACE(a.name);
    label->LabelStyle()->SetAngle(a.angle);
    const Ink t = InkOf(Shot(*form), text);
    ASSERT_GT(t.count, 100);
    const int w = t.right - t.left, h = t.bottom - t.top;
    EXPECT_EQ(w > h, a.wide) << w << " x " << h;
    const double midX = (t.left + t.right) / 2.0, midY = (t.top + t.bottom) / 2.0;
    EXPECT_NEAR(midX, 160, 12);
    EXPECT_NEAR(midY, 160, 12);
    auto side = [](double v) { return v > 3 ? 1 : v < -3 ? -1 : 0; };
    EXPECT_EQ(side(t.cx - midX), a.startX);
    EXPECT_EQ(side(t.cy - midY), a.startY);
  }
  delete form;
}

// A 2 x 2 bitmap file, 24 bits: red, green over blue, white.
std::vector<uint8_t> TinyBmp() {
  std::vector<uint8_t> f = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0,  0,
                            2,   0,   0,  0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0,  0, 16, 0,
                            0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0,  0};
  // Bottom row first, BGR, rows padded to 4 bytes.
  const uint8_t rows[] = {255, 0, 0,   255, 255, 255, 0, 0,   // blue, white
                          0,   0, 255, 0,   255, 0,   0, 0};  // red, green
  f.insert(f.end(), std::begin(rows), std::end(rows));
  return f;
}

// A 2 x 2 icon file, 32 bits, opaque: the same colours as TinyBmp.
std::vector<uint8_t> TinyIco() {
  std::vector<uint8_t> f = {0,  0, 1, 0, 1, 0,  // directory, one image
                            2,  2, 0, 0, 1, 0, 32, 0, 64, 0, 0, 0, 22, 0, 0,  0,  // its entry
                            40, 0, 0, 0, 2, 0, 0,  0, 4,  0, 0, 0, 1,  0, 32, 0,  // header: height
                            0,  0, 0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 0,  0, 0,  0,  // twice (colour
                            0,  0, 0, 0, 0, 0, 0,  0};                            // and mask)
  // Bottom row first, BGRA; then the mask, all opaque (rows of 4 bytes).
  const uint8_t pixels[] = {255, 0, 0,   255, 255, 255, 255, 255,  // blue, white
                            0,   0, 255, 255, 0,   255, 0,   255,  // red, green
                            0,   0, 0,   0,   0,   0,   0,   0};
  f.insert(f.end(), std::begin(pixels), std::end(pixels));
  return f;
}

TEST_F(Win32PaintTest, TheCanvasDrawsEveryPrimitiveWithItsPenBrushAndFont) {
  const uint32_t white = Rgb(255, 255, 255), red = Rgb(255, 0, 0), blue = Rgb(0, 0, 255),
                 green = Rgb(0, 255, 0);
  auto solid = [](platform::Canvas& c, TColor brush, TColor pen) {
    c.SetBrush(TBrushData{brush, bsSolid});
    c.SetPen(TPenData{pen, 1, psSolid, pmCopy});
  };
  auto text = [](platform::Canvas& c, TBrushStyle style) {
    TFontData f;
    f.name = "Tahoma";
    f.height = -24;
    f.color = clRed;
    c.SetFont(f);
    c.SetBrush(TBrushData{clBlue, style});
    c.TextOut(10, 10, "HHH");
  };
  const std::vector<uint8_t> bmp = TinyBmp(), ico = TinyIco();
  std::vector<uint8_t> badIco = ico;
  badIco[18] = 200;  // the image's offset points past the end
  std::vector<uint8_t> cut(bmp.begin(), bmp.end() - 4);
  const struct {
    const char* name;
    std::function<void(platform::Canvas&)> paint;
    // (x, y, colour) that must show, and one pixel that must stay white.
    std::vector<std::tuple<int, int, uint32_t>> expect;
  } cases[] = {
      {"fill: the brush, no outline",
       [&](platform::Canvas& c) {
         solid(c, clRed, clBlue);
         c.FillRect(TRect{10, 10, 50, 50});
       },
       {{10, 10, red}, {49, 49, red}, {50, 50, white}, {9, 10, white}}},
      {"clear brush fills nothing",
       [&](platform::Canvas& c) {
         c.SetBrush(TBrushData{clRed, bsClear});
         c.FillRect(TRect{10, 10, 50, 50});
       },
       {{30, 30, white}}},
      {"rectangle: pen outline, brush inside",
       [&](platform::Canvas& c) {
         solid(c, clRed, clBlue);
         c.Rectangle(TRect{10, 10, 50, 50});
       },
       {{10, 10, blue}, {49, 30, blue}, {30, 30, red}, {50, 50, white}}},
      {"ellipse: corners stay",
       [&](platform::Canvas& c) {
         solid(c, clRed, clRed);
         c.Ellipse(TRect{10, 10, 70, 70});
       },
       {{40, 40, red}, {12, 12, white}, {40, 11, red}}},
      {"polygon",
       [&](platform::Canvas& c) {
         solid(c, clLime, clLime);
         const TPoint p[] = {{10, 10}, {70, 10}, {10, 70}};
         c.Polygon(p);
       },
       {{15, 15, green}, {60, 60, white}}},
      {"line from the current position",
       [&](platform::Canvas& c) {
         solid(c, clRed, clBlue);
         c.MoveTo(5, 40);
         c.LineTo(75, 40);
       },
       {{5, 40, blue}, {74, 40, blue}, {40, 41, white}}},
      {"opaque text fills its cell with the brush",
       [&](platform::Canvas& c) { text(c, bsSolid); },
       {{11, 11, blue}}},
      {"clear-brush text leaves the background",
       [&](platform::Canvas& c) { text(c, bsClear); },
       {{11, 11, white}}},
      {"bitmap stretched into the rectangle",
       [&](platform::Canvas& c) {
         c.DrawPicture(TRect{0, 0, 40, 40}, "bmp", bmp);
       },
       {{5, 5, red}, {35, 5, green}, {5, 35, blue}, {35, 35, white}, {45, 45, white}}},
      {"icon stretched into the rectangle",
       [&](platform::Canvas& c) {
         c.DrawPicture(TRect{0, 0, 40, 40}, "ico", ico);
       },
       {{5, 5, red}, {35, 5, green}, {5, 35, blue}, {35, 35, white}, {45, 45, white}}},
      {"an icon pointing past its data draws nothing",
       [&](platform::Canvas& c) {
         c.DrawPicture(TRect{0, 0, 40, 40}, "ico", badIco);
       },
       {{5, 5, white}}},
      {"a cut bitmap draws nothing",
       [&](platform::Canvas& c) {
         c.DrawPicture(TRect{0, 0, 40, 40}, "bmp", cut);
       },
       {{5, 5, white}, {5, 35, white}}},
      {"an unknown format draws nothing",
       [&](platform::Canvas& c) {
         c.DrawPicture(TRect{0, 0, 40, 40}, "png", bmp);
       },
       {{5, 5, white}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Image image = PaintOnBitmap(80, 80, c.paint);
    for (const auto& [x, y, color] : c.expect)
      EXPECT_EQ(Hex(image.At(x, y)), Hex(color)) << "at " << x << ", " << y;
  }

  // Text: red ink inside the extent the real font measures, none outside.
  TSize extent{};
  const Image t = PaintOnBitmap(200, 80, [&](platform::Canvas& c) {
    text(c, bsClear);
    extent = c.TextExtent("HHH");
  });
  const Ink ink = InkOf(t, red, 100);
  EXPECT_GT(ink.count, 20);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + extent.cx);
  EXPECT_LE(ink.bottom, 10 + extent.cy);
  EXPECT_GT(extent.cx, 3 * 8);  // a real 24-pixel font, not the fixed metrics' guess
}

// System controls show the model's colours (the parent answers
// WM_CTLCOLOR*): an edit's background and text, read-only or not.
TEST_F(Win32PaintTest, SystemControlsShowTheModelsColours) {
  TForm* form = NewForm(240, 120);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 200, 40);
  edit->SetText("WWWW");
  edit->Font()->SetHeight(-24);
  form->Show();
  const struct {
    const char* name;
    bool readOnly;
    TColor back, ink;
  } cases[] = {{"editable", false, clYellow, clRed}, {"read-only", true, clAqua, clBlue}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    edit->SetReadOnly(c.readOnly);
    edit->SetColor(c.back);
    edit->Font()->SetColor(c.ink);
    const Image shot = Shot(*edit);
    const Ink back = InkOf(shot, PixelOf(c.back), 8), ink = InkOf(shot, PixelOf(c.ink), 60);
    EXPECT_GT(back.count, shot.width * shot.height / 2);
    EXPECT_GT(ink.count, 20);
  }
  delete form;
}

// A graphic control is cut at its bounds; when it moves or hides, the
// form must repaint both the place it left and the place it takes (the
// update region, read before anything repaints), and then shows it only
// where it is.
TEST_F(Win32PaintTest, AGraphicControlIsClippedToItsBoundsAndLeavesNoTrace) {
  TForm* form = NewForm(300, 200);
  form->SetColor(clWhite);
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 60, 30);
  label->Font()->SetHeight(-24);
  label->Font()->SetColor(clBlack);
  label->SetCaption("WWWWWWWWWW");
  form->Show();
  auto inkIn = [&](const TRect& r) {
    const Image shot = Shot(*form);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += Distance(shot.At(x, y), 0xFFFFFF) > 40;
    return n;
  };
  HWND h = static_cast<HWND>(Win32Widgetset::HandleOf(*form));
  // Whether each point must be repainted, in the same order.
  auto pending = [h](std::initializer_list<POINT> points) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(h, rgn, FALSE);
    std::vector<bool> out;
    for (POINT p : points) out.push_back(PtInRegion(rgn, p.x, p.y) != FALSE);
    DeleteObject(rgn);
    return out;
  };
  EXPECT_GT(inkIn(TRect{10, 10, 70, 40}), 20);
  EXPECT_EQ(inkIn(TRect{70, 0, 300, 200}), 0);  // the rest of the line is cut
  label->SetBounds(10, 120, 60, 30);
  // Old place, new place, elsewhere.
  EXPECT_EQ(pending({{40, 25}, {40, 135}, {200, 70}}), (std::vector<bool>{true, true, false}));
  EXPECT_EQ(inkIn(TRect{0, 0, 300, 100}), 0);
  EXPECT_GT(inkIn(TRect{10, 120, 70, 150}), 20);
  label->SetVisible(false);
  EXPECT_EQ(pending({{40, 135}, {200, 70}}), (std::vector<bool>{true, false}));
  EXPECT_EQ(inkIn(TRect{0, 0, 300, 200}), 0);
  delete form;
}

// The GDI objects this process holds. Wine reports none through
// GetGuiResources; there a handle whose upper half is zero names its slot
// whatever the slot's generation, so the live ones can be counted.
int LiveGdiObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
  int live = 0;
  for (uintptr_t slot = 1; slot <= 0xFFFF; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++live;
  return live;
}

// Painting a form many times leaves the process's GDI object count where
// it was: every pen, brush, font and buffer goes back.
TEST_F(Win32PaintTest, RepaintingLeaksNoGdiObject) {
  TForm* form = NewForm(200, 120);
  auto* back = new TBackdrop(form);
  back->SetParent(form);
  auto* label = new TRotate3DLabel(back);
  label->SetParent(back);
  label->SetBounds(0, 0, 200, 120);
  label->SetCaption("Quenby");
  auto* plain = new TLabel(form);
  plain->SetParent(back);
  plain->SetCaption("Setup");
  form->Show();
  Shot(*form);
  const int before = LiveGdiObjects();
  for (int i = 0; i < 30; ++i) {
    label->LabelStyle()->SetAngle(i * 12);
    plain->SetCaption("Setup " + std::to_string(i));
    Shot(*form);
  }
  EXPECT_EQ(LiveGdiObjects(), before);
  // The count is real: one more object shows.
  HBRUSH extra = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(LiveGdiObjects(), before + 1);
  DeleteObject(extra);
  delete form;
}

// Chinese in the Chinese Simplified language font: two ideographs give
// two different pictures, both unlike the box of a code point no font has.
TEST_F(Win32PaintTest, ChineseInTheLanguageFontIsNotEmptyBoxes) {
  const auto info = LanguageFont(vlChineseSimplified);
  ASSERT_TRUE(info.has_value());
  TFontData font;
  font.name = info->face;
  font.charset = info->charset;
  font.height = -MulDiv(info->minSize, 96, 72);
  font.color = clBlack;
  auto draw = [&](const char* text) {
    return PaintOnBitmap(40, 24, [&](platform::Canvas& c) {
      c.SetFont(font);
      c.SetBrush(TBrushData{clWhite, bsClear});
      c.TextOut(2, 2, text);
    });
  };
  const Image zhong = draw("\xE4\xB8\xAD"), wen = draw("\xE6\x96\x87");
  const Image box = draw("\xEE\x80\x80");  // U+E000, private use: no glyph
  const Ink a = InkOf(zhong, 0, 128), b = InkOf(wen, 0, 128);
  EXPECT_GT(a.count, 10);
  EXPECT_GT(b.count, 10);
  EXPECT_NE(zhong.rgb, wen.rgb);
  EXPECT_NE(zhong.rgb, box.rgb);
  EXPECT_NE(wen.rgb, box.rgb);
}

}  // namespace
