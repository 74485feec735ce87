// Pictures from form descriptions: TBitmap (a Windows .bmp file), TIcon (a
// .ico file) and TPicture, which holds either. Their binary Data property is
// the classic stored form: a bitmap is its file preceded by a 32-bit
// little-endian size, an icon is its file, and a picture is the graphic's
// class name (a length byte and the name) followed by that graphic's data.
// Headers are decoded by offset and checked before the size is trusted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Graphics.h"
#include "framework/TypeInfo.h"

// Picture data that is not a valid bitmap or icon, or of a kind not known.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInvalidGraphic"; }
};

// Largest width or height accepted from a file.
inline constexpr int kMaxPictureSide = 32767;

// The common ground of the pictures a form can hold: a bitmap or icon file with
// its size.
class TGraphic : public TGraphicsObject {
  PELLMORE_CLASS(TGraphic, TGraphicsObject)

 public:
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  bool Empty() const noexcept { return file_.empty(); }
  // "bmp" or "ico": what FileBytes holds.
  virtual const char* Format() const noexcept = 0;
  // The picture's file as it would be saved on disk.
  const Bytes& FileBytes() const noexcept { return file_; }
  // Loads a file of this graphic's format; EInvalidGraphic (leaving the
  // graphic as it was) when it is not one.
  virtual void LoadFromFile(const Bytes& file) = 0;
  void Clear();

  // The stored form of the Data property (see the file comment).
  virtual Bytes Data() const = 0;
  virtual void SetData(const Bytes& data) = 0;

 protected:
  void Set(Bytes file, int width, int height);

 private:
  Bytes file_;
  int width_ = 0;
  int height_ = 0;
};

// A bitmap picture, kept as its .bmp file.
class TBitmap : public TGraphic {
  PELLMORE_CLASS(TBitmap, TGraphic)

 public:
  const char* Format() const noexcept override { return "bmp"; }
  int BitCount() const noexcept { return bitCount_; }
  void LoadFromFile(const Bytes& file) override;
  // A blank (black) 24-bit bitmap of that size; 0 x 0 empties it.
  void SetSize(int width, int height);
  Bytes Data() const override;
  void SetData(const Bytes& data) override;
  void Assign(const TPersistent* source) override;

 private:
  int bitCount_ = 0;
};

// An icon picture, kept as its .ico file.
class TIcon : public TGraphic {
  PELLMORE_CLASS(TIcon, TGraphic)

 public:
  const char* Format() const noexcept override { return "ico"; }
  // The first image of the file gives the size.
  void LoadFromFile(const Bytes& file) override;
  Bytes Data() const override { return FileBytes(); }
  void SetData(const Bytes& data) override;
  void Assign(const TPersistent* source) override;
};

// The picture property of an image control: holds a bitmap, an icon or nothing.
class TPicture : public TGraphicsObject {
  PELLMORE_CLASS(TPicture, TGraphicsObject)

 public:
  TPicture() = default;
  ~TPicture() override;

  // The graphic held, or null when empty.
  TGraphic* Graphic() const noexcept { return graphic_; }
  // The bitmap held; replaces another kind of graphic by an empty bitmap.
  TBitmap* Bitmap();
  TIcon* Icon();
  int Width() const noexcept { return graphic_ ? graphic_->Width() : 0; }
  int Height() const noexcept { return graphic_ ? graphic_->Height() : 0; }
  bool Empty() const noexcept { return !graphic_ || graphic_->Empty(); }
  void Clear();

  Bytes Data() const;
  // Reads the stored form; an empty value empties the picture. On failure
  // (EInvalidGraphic) the picture keeps what it held.
  void SetData(const Bytes& data);

  // From another picture or a graphic (copies).
  void Assign(const TPersistent* source) override;

 private:
  // Takes ownership of g (null empties) and reports the change.
  void Replace(TGraphic* g);
  TGraphic* graphic_ = nullptr;
};
