// TImageList: a numbered list of equal-sized images (tree and list view
// icons, state marks). Its stored Bitmap property is this framework's own
// form: the images' bitmap Data values one after another.
#pragma once

#include <vector>

#include "framework/Component.h"
#include "framework/Pictures.h"

// The common ground of image lists: numbered images of one size that tree and
// list views draw beside their items.
class TCustomImageList : public TComponent {
  PELLMORE_CLASS(TCustomImageList, TComponent)

 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;

  int Width() const noexcept { return width_; }
  void SetWidth(int v);
  int Height() const noexcept { return height_; }
  void SetHeight(int v);
  int Count() const noexcept { return static_cast<int>(images_.size()); }
  // Appends a copy of `image` and returns its index.
  int Add(const TBitmap& image);
  void Delete(int index);
  void Clear();
  // The image at `index`; EInvalidOperation outside the list.
  const TBitmap& Image(int index) const;
  // Draws image `index` at (x, y); an index outside the list draws nothing.
  void Draw(TCanvas& canvas, int x, int y, int index) const;

  Bytes Bitmap() const;
  // Replaces the images; on a bad value (EInvalidGraphic) keeps them.
  void SetBitmap(const Bytes& data);

  TNotifyEvent OnChange;

 private:
  void Changed();
  std::vector<TBitmap*> images_;
  int width_ = 16;
  int height_ = 16;
};

// Numbered images of one size, such as the icons and check marks of a tree or
// list view.
class TImageList : public TCustomImageList {
  PELLMORE_CLASS(TImageList, TCustomImageList)

 public:
  using TCustomImageList::TCustomImageList;
};
