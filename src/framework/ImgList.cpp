// TImageList (see ImgList.h).
#include "framework/ImgList.h"

#include "framework/Controls.h"

namespace {
constexpr size_t kMaxImages = 4096;

uint32_t Le32(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
}  // namespace

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
  for (TBitmap* b : images_) b->Free();
}

void TCustomImageList::Changed() {
  if (OnChange) OnChange(this);
}

void TCustomImageList::SetWidth(int v) {
  if (v < 1 || v == width_) return;
  width_ = v;
  Changed();
}

void TCustomImageList::SetHeight(int v) {
  if (v < 1 || v == height_) return;
  height_ = v;
  Changed();
}

int TCustomImageList::Add(const TBitmap& image) {
  if (images_.size() >= kMaxImages) throw EInvalidOperation("Too many images in " + Name());
  Owned<TBitmap> copy(new TBitmap);
  copy->Assign(&image);
  images_.push_back(copy.release());
  Changed();
  return Count() - 1;
}

void TCustomImageList::Delete(int index) {
  if (index < 0 || index >= Count())
    throw EInvalidOperation("Image index out of bounds (" + std::to_string(index) + ")");
  images_[static_cast<size_t>(index)]->Free();
  images_.erase(images_.begin() + index);
  Changed();
}

void TCustomImageList::Clear() {
  if (images_.empty()) return;
  for (TBitmap* b : images_) b->Free();
  images_.clear();
  Changed();
}

const TBitmap& TCustomImageList::Image(int index) const {
  if (index < 0 || index >= Count())
    throw EInvalidOperation("Image index out of bounds (" + std::to_string(index) + ")");
  return *images_[static_cast<size_t>(index)];
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index) const {
  if (index < 0 || index >= Count()) return;
  canvas.Draw(x, y, *images_[static_cast<size_t>(index)]);
}

Bytes TCustomImageList::Bitmap() const {
  Bytes out;
  for (const TBitmap* b : images_) {
    const Bytes d = b->Data();
    out.insert(out.end(), d.begin(), d.end());
  }
  return out;
}

void TCustomImageList::SetBitmap(const Bytes& data) {
  std::vector<Owned<TBitmap>> loaded;
  size_t pos = 0;
  while (pos < data.size()) {
    if (data.size() - pos < 4)
      throw EInvalidGraphic("Image list data cut short at byte " + std::to_string(pos));
    const uint64_t size = Le32(data, pos);
    if (size > data.size() - pos - 4)
      throw EInvalidGraphic("Image list data cut short at byte " + std::to_string(pos));
    if (loaded.size() >= kMaxImages) throw EInvalidGraphic("Too many images in image list data");
    Owned<TBitmap> b(new TBitmap);
    b->SetData(Bytes(data.begin() + static_cast<ptrdiff_t>(pos),
                     data.begin() + static_cast<ptrdiff_t>(pos + 4 + size)));
    loaded.push_back(std::move(b));
    pos += 4 + size;
  }
  for (TBitmap* b : images_) b->Free();
  images_.clear();
  for (auto& b : loaded) images_.push_back(b.release());
  Changed();
}
