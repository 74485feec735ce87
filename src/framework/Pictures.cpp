// Bitmaps, icons and pictures (see Pictures.h). Every header field is read
// at a named offset in little-endian order after checking that the bytes
// exist; sizes are compared in 64 bits so no check can overflow.
#include "framework/Pictures.h"

#include <cstring>

namespace {
// BITMAPFILEHEADER
constexpr size_t kBfType = 0, kBfSize = 2, kBfOffBits = 10, kFileHeaderSize = 14;
// BITMAPINFOHEADER / BITMAPCOREHEADER, relative to the info header
constexpr size_t kBiSize = 0, kBiWidth = 4, kBiHeight = 8, kBiPlanes = 12, kBiBitCount = 14,
                 kBiCompression = 16;
constexpr size_t kBcWidth = 4, kBcHeight = 6, kBcPlanes = 8, kBcBitCount = 10;
constexpr uint32_t kCoreHeaderSize = 12, kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;
// ICONDIR and ICONDIRENTRY
constexpr size_t kIdReserved = 0, kIdType = 2, kIdCount = 4, kIconDirSize = 6;
constexpr size_t kEntryWidth = 0, kEntryHeight = 1, kEntryBytes = 8, kEntryOffset = 12,
                 kEntrySize = 16;
constexpr unsigned kMaxIconImages = 256;

uint16_t Le16(const Bytes& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t Le32(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
void PutLe16(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void PutLe32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

[[noreturn]] void BadBitmap(const std::string& why) {
  throw EInvalidGraphic("Bitmap image is not valid: " + why);
}
[[noreturn]] void BadIcon(const std::string& why) {
  throw EInvalidGraphic("Icon image is not valid: " + why);
}

struct BmpInfo {
  int width = 0;
  int height = 0;
  int bitCount = 0;
};

BmpInfo DecodeBmp(const Bytes& f) {
  if (f.size() < kFileHeaderSize + kCoreHeaderSize) BadBitmap("file too short");
  if (f[kBfType] != 'B' || f[kBfType + 1] != 'M') BadBitmap("no BM signature");
  (void)kBfSize;  // often wrong in files written by other tools; not trusted
  const uint32_t offBits = Le32(f, kBfOffBits);
  const size_t info = kFileHeaderSize;
  const uint32_t infoSize = Le32(f, info + kBiSize);
  int64_t width = 0, height = 0;
  unsigned planes = 0, bitCount = 0;
  uint32_t compression = kBiRgb;
  if (infoSize == kCoreHeaderSize) {
    width = Le16(f, info + kBcWidth);
    height = Le16(f, info + kBcHeight);
    planes = Le16(f, info + kBcPlanes);
    bitCount = Le16(f, info + kBcBitCount);
  } else if (infoSize >= kInfoHeaderSize && infoSize <= 1024) {
    if (f.size() < info + infoSize) BadBitmap("info header cut short");
    width = static_cast<int32_t>(Le32(f, info + kBiWidth));
    height = static_cast<int32_t>(Le32(f, info + kBiHeight));
    planes = Le16(f, info + kBiPlanes);
    bitCount = Le16(f, info + kBiBitCount);
    compression = Le32(f, info + kBiCompression);
  } else {
    BadBitmap("unknown info header size " + std::to_string(infoSize));
  }
  if (height < 0) height = -height;  // top-down rows
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
    BadBitmap("size " + std::to_string(width) + " x " + std::to_string(height));
  if (planes != 1) BadBitmap("planes " + std::to_string(planes));
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    BadBitmap("bit count " + std::to_string(bitCount));
  if (offBits < info + infoSize || offBits > f.size()) BadBitmap("pixel data offset past the end");
  if (compression == kBiRgb || compression == kBiBitfields) {
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    if (rowBytes * static_cast<uint64_t>(height) > f.size() - offBits)
      BadBitmap("pixel data cut short");
  }
  return BmpInfo{static_cast<int>(width), static_cast<int>(height), static_cast<int>(bitCount)};
}
}  // namespace

// --- TGraphic

void TGraphic::Clear() {
  if (file_.empty() && width_ == 0 && height_ == 0) return;
  Set({}, 0, 0);
}

void TGraphic::Set(Bytes file, int width, int height) {
  file_ = std::move(file);
  width_ = width;
  height_ = height;
  Changed();
}

// --- TBitmap

void TBitmap::LoadFromFile(const Bytes& file) {
  const BmpInfo info = DecodeBmp(file);
  bitCount_ = info.bitCount;
  Set(file, info.width, info.height);
}

void TBitmap::SetSize(int width, int height) {
  if (width <= 0 || height <= 0) {
    bitCount_ = 0;
    Clear();
    return;
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide)
    throw EInvalidGraphic("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                          " is too large");
  const uint64_t rowBytes = (static_cast<uint64_t>(width) * 24 + 31) / 32 * 4;
  const uint64_t pixels = rowBytes * static_cast<uint64_t>(height);
  const size_t headers = kFileHeaderSize + kInfoHeaderSize;
  Bytes f(headers + pixels, 0);
  f[0] = 'B';
  f[1] = 'M';
  PutLe32(f, kBfSize, static_cast<uint32_t>(f.size()));
  PutLe32(f, kBfOffBits, static_cast<uint32_t>(headers));
  PutLe32(f, kFileHeaderSize + kBiSize, kInfoHeaderSize);
  PutLe32(f, kFileHeaderSize + kBiWidth, static_cast<uint32_t>(width));
  PutLe32(f, kFileHeaderSize + kBiHeight, static_cast<uint32_t>(height));
  PutLe16(f, kFileHeaderSize + kBiPlanes, 1);
  PutLe16(f, kFileHeaderSize + kBiBitCount, 24);
  bitCount_ = 24;
  Set(std::move(f), width, height);
}

Bytes TBitmap::Data() const {
  if (Empty()) return {};
  Bytes d(4 + FileBytes().size());
  PutLe32(d, 0, static_cast<uint32_t>(FileBytes().size()));
  std::memcpy(d.data() + 4, FileBytes().data(), FileBytes().size());
  return d;
}

void TBitmap::SetData(const Bytes& data) {
  if (data.empty()) {
    bitCount_ = 0;
    Clear();
    return;
  }
  if (data.size() < 4) BadBitmap("stored size missing");
  const uint32_t size = Le32(data, 0);
  if (size != data.size() - 4)
    BadBitmap("stored size " + std::to_string(size) + " but " + std::to_string(data.size() - 4) +
              " bytes follow");
  LoadFromFile(Bytes(data.begin() + 4, data.end()));
}

void TBitmap::Assign(const TPersistent* source) {
  if (source && source->Is<TBitmap>()) {
    const auto* b = static_cast<const TBitmap*>(source);
    bitCount_ = b->bitCount_;
    Set(b->FileBytes(), b->Width(), b->Height());
    return;
  }
  if (!source) {
    bitCount_ = 0;
    Clear();
    return;
  }
  TGraphic::Assign(source);
}

// --- TIcon

void TIcon::LoadFromFile(const Bytes& f) {
  if (f.size() < kIconDirSize) BadIcon("file too short");
  if (Le16(f, kIdReserved) != 0 || (Le16(f, kIdType) != 1 && Le16(f, kIdType) != 2))
    BadIcon("no icon directory");
  const unsigned count = Le16(f, kIdCount);
  if (count == 0 || count > kMaxIconImages) BadIcon("image count " + std::to_string(count));
  if (f.size() < kIconDirSize + static_cast<size_t>(count) * kEntrySize)
    BadIcon("directory cut short");
  for (unsigned i = 0; i < count; ++i) {
    const size_t e = kIconDirSize + static_cast<size_t>(i) * kEntrySize;
    const uint64_t bytes = Le32(f, e + kEntryBytes);
    const uint64_t offset = Le32(f, e + kEntryOffset);
    if (offset > f.size() || bytes > f.size() - offset)
      BadIcon("image " + std::to_string(i) + " lies past the end");
  }
  const int width = f[kIconDirSize + kEntryWidth] ? f[kIconDirSize + kEntryWidth] : 256;
  const int height = f[kIconDirSize + kEntryHeight] ? f[kIconDirSize + kEntryHeight] : 256;
  Set(f, width, height);
}

void TIcon::SetData(const Bytes& data) {
  if (data.empty()) {
    Clear();
    return;
  }
  LoadFromFile(data);
}

void TIcon::Assign(const TPersistent* source) {
  if (source && source->Is<TIcon>()) {
    const auto* i = static_cast<const TIcon*>(source);
    Set(i->FileBytes(), i->Width(), i->Height());
    return;
  }
  if (!source) {
    Clear();
    return;
  }
  TGraphic::Assign(source);
}

// --- TPicture

TPicture::~TPicture() {
  if (graphic_) graphic_->Free();
}

void TPicture::Replace(TGraphic* g) {
  TGraphic* old = graphic_;
  graphic_ = g;
  if (g) g->OnChange = [this](TObject*) { Changed(); };
  if (old) old->Free();
  Changed();
}

TBitmap* TPicture::Bitmap() {
  if (!graphic_ || !graphic_->Is<TBitmap>()) Replace(new TBitmap);
  return static_cast<TBitmap*>(graphic_);
}

TIcon* TPicture::Icon() {
  if (!graphic_ || !graphic_->Is<TIcon>()) Replace(new TIcon);
  return static_cast<TIcon*>(graphic_);
}

void TPicture::Clear() {
  if (graphic_) Replace(nullptr);
}

Bytes TPicture::Data() const {
  if (Empty()) return {};
  const std::string name = graphic_->ClassName();
  const Bytes inner = graphic_->Data();
  Bytes d;
  d.reserve(1 + name.size() + inner.size());
  d.push_back(static_cast<uint8_t>(name.size()));
  d.insert(d.end(), name.begin(), name.end());
  d.insert(d.end(), inner.begin(), inner.end());
  return d;
}

void TPicture::SetData(const Bytes& data) {
  if (data.empty()) {
    Clear();
    return;
  }
  const size_t nameLen = data[0];
  if (data.size() < 1 + nameLen) throw EInvalidGraphic("Picture data cut short in its class name");
  const std::string name(data.begin() + 1, data.begin() + 1 + static_cast<ptrdiff_t>(nameLen));
  const Bytes inner(data.begin() + 1 + static_cast<ptrdiff_t>(nameLen), data.end());
  Owned<TGraphic> g;
  if (name == "TBitmap")
    g.reset(new TBitmap);
  else if (name == "TIcon")
    g.reset(new TIcon);
  else
    throw EInvalidGraphic("Unknown picture format " + name);
  g->SetData(inner);  // may raise; the picture is untouched then
  Replace(g.release());
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) {
    Clear();
    return;
  }
  const TGraphic* g = nullptr;
  if (source->Is<TPicture>())
    g = static_cast<const TPicture*>(source)->graphic_;
  else if (source->Is<TGraphic>())
    g = static_cast<const TGraphic*>(source);
  else
    return TGraphicsObject::Assign(source);
  if (!g) {
    Clear();
    return;
  }
  Owned<TGraphic> copy;
  if (g->Is<TBitmap>())
    copy.reset(new TBitmap);
  else
    copy.reset(new TIcon);
  copy->Assign(g);
  Replace(copy.release());
}
