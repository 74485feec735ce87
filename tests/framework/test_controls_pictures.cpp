// Pictures from form descriptions: bitmaps and icons with their sizes,
// the stored Data forms, corrupt data refused with its reason and nothing
// lost, and data cut at every length never read past its end.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "support/Fixture.h"

namespace {

void Put16(Bytes& b, size_t at, unsigned v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A 4-bit bitmap file of width x height (16-entry palette, rows padded).
Bytes Bmp(int width, int height, int bits = 4) {
  const size_t palette = bits <= 8 ? (size_t{1} << bits) * 4 : 0;
  const size_t rowBytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  Bytes b(14 + 40 + palette + rowBytes * static_cast<size_t>(height), 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(14 + 40 + palette));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, static_cast<unsigned>(bits));
  return b;
}

Bytes WithSize(const Bytes& file) {
  // Sized once: growing a 4-byte vector trips a false -Warray-bounds in
  // the mingw GCC 12 at -O3.
  Bytes d(4 + file.size());
  Put32(d, 0, static_cast<uint32_t>(file.size()));
  std::copy(file.begin(), file.end(), d.begin() + 4);
  return d;
}

Bytes PictureData(const std::string& cls, const Bytes& inner) {
  Bytes d;
  d.push_back(static_cast<uint8_t>(cls.size()));
  for (char ch : cls) d.push_back(static_cast<uint8_t>(ch));
  d.insert(d.end(), inner.begin(), inner.end());
  return d;
}

Bytes Ico(int width, int height) {
  Bytes b(6 + 16 + 40, 0);
  Put16(b, 2, 1);
  Put16(b, 4, 1);
  b[6] = static_cast<uint8_t>(width);
  b[7] = static_cast<uint8_t>(height);
  Put32(b, 6 + 8, 40);
  Put32(b, 6 + 12, 22);
  return b;
}

std::string Hex(const Bytes& b) {
  static const char* d = "0123456789ABCDEF";
  std::string s;
  for (uint8_t x : b) {
    s += d[x >> 4];
    s += d[x & 15];
  }
  return s;
}

class PicturesTest : public PellmoreTest {
 protected:
  PicturesTest() { RegisterControls(ClassRegistry::Global()); }
};

TEST_F(PicturesTest, ImagesReadTheirPictureFromADescription) {
  const Bytes data = PictureData("TBitmap", WithSize(Bmp(117, 290)));
  Owned<TForm> form(new TForm(nullptr));
  ReadForm(*form,
           "object F: TForm\n  object ThemeBitmap: TImage\n    AutoSize = True\n"
           "    Picture.Data = {" +
               Hex(data) + "}\n  end\n  object Glyph: TBitBtn\n    Glyph.Data = {" +
               Hex(WithSize(Bmp(32, 16))) + "}\n    NumGlyphs = 2\n  end\nend\n",
           "pictures.dfm");
  auto* image = static_cast<TImage*>(form->FindComponent("ThemeBitmap"));
  EXPECT_EQ(image->Picture()->Width(), 117);
  EXPECT_EQ(image->Picture()->Height(), 290);
  EXPECT_EQ(image->Width(), 117);             // auto-sized to its picture
  EXPECT_EQ(image->Picture()->Data(), data);  // written back as read
  EXPECT_TRUE(image->Picture()->Graphic()->Is<TBitmap>());

  TPicture icon;
  icon.SetData(PictureData("TIcon", Ico(32, 0)));
  EXPECT_EQ(icon.Width(), 32);
  EXPECT_EQ(icon.Height(), 256);  // 0 in the directory means 256
}

TEST_F(PicturesTest, CorruptPicturesAreRefusedAndKeepWhatWasThere) {
  Bytes badSignature = Bmp(4, 4);
  badSignature[0] = 'X';
  Bytes badBits = Bmp(4, 4);
  Put16(badBits, 28, 3);
  Bytes huge = Bmp(4, 4);
  Put32(huge, 18, 100000);
  Bytes offset = Bmp(4, 4);
  Put32(offset, 10, 1u << 30);
  Bytes shortPixels = Bmp(16, 16);
  shortPixels.pop_back();
  Bytes sizeMismatch = WithSize(Bmp(2, 2));
  Put32(sizeMismatch, 0, 5);
  Bytes iconPastEnd = Ico(16, 16);
  Put32(iconPastEnd, 6 + 12, 4000);
  const struct {
    const char* what;
    Bytes data;
    const char* message;
  } cases[] = {
      {"class name cut short", {7, 'T', 'B'}, "Picture data cut short in its class name"},
      {"unknown class", PictureData("TJPEGImage", {1, 2}), "Unknown picture format TJPEGImage"},
      {"no BM signature", PictureData("TBitmap", WithSize(badSignature)),
       "Bitmap image is not valid: no BM signature"},
      {"bad bit count", PictureData("TBitmap", WithSize(badBits)),
       "Bitmap image is not valid: bit count 3"},
      {"absurd width", PictureData("TBitmap", WithSize(huge)),
       "Bitmap image is not valid: size 100000 x 4"},
      {"pixel offset past the end", PictureData("TBitmap", WithSize(offset)),
       "Bitmap image is not valid: pixel data offset past the end"},
      {"pixels cut short", PictureData("TBitmap", WithSize(shortPixels)),
       "Bitmap image is not valid: pixel data cut short"},
      {"stored size wrong", PictureData("TBitmap", sizeMismatch),
       "Bitmap image is not valid: stored size 5 but 126 bytes follow"},
      {"icon image past the end", PictureData("TIcon", iconPastEnd),
       "Icon image is not valid: image 0 lies past the end"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TPicture picture;
    picture.SetData(PictureData("TBitmap", WithSize(Bmp(8, 8))));
    try {
      picture.SetData(c.data);
      ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(picture.Width(), 8);  // nothing lost
  }
}

TEST_F(PicturesTest, DataCutAtEveryLengthIsRefusedOrRead) {
  for (const Bytes& whole :
       {PictureData("TBitmap", WithSize(Bmp(3, 5, 24))), PictureData("TIcon", Ico(16, 16))}) {
    for (size_t n = 1; n < whole.size(); ++n) {
      TPicture picture;
      try {
        picture.SetData(Bytes(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(n)));
      } catch (const EInvalidGraphic&) {
      }
    }
  }
}

}  // namespace
