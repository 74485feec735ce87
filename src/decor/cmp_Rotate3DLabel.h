#pragma once

#include <cstdint>

#include "framework/StdCtrls.h"

// The 3-D look: plain, recessed ("Resit"), raised, shadowed.
enum T3DEffectShort { A3dNormal, A3dResit, A3dRaised, A3dShadowed };

// The look of a rotated label. Every change that shows calls OnChange.
class TLabelStyle : public TPersistent {
  PELLMORE_CLASS(TLabelStyle, TPersistent)

 public:
  TLabelStyle() = default;

  // Degrees counter-clockwise, 0 to 359; anything else is stored as 0.
  int32_t Angle() const noexcept { return angle_; }
  void SetAngle(int32_t degrees);
  T3DEffectShort AStyle3D() const noexcept { return style3D_; }
  void SetAStyle3D(T3DEffectShort style);
  // The colour of the shade below and right of the text (and of the
  // shadow).
  TColor AShadeRightBottom() const noexcept { return shadeRightBottom_; }
  void SetAShadeRightBottom(TColor c);
  // The colour of the shade above and left of the text. Ignored while
  // AShadeLTSet holds it at white.
  TColor AShadeLeftTop() const noexcept { return shadeLeftTop_; }
  void SetAShadeLeftTop(TColor c);
  // True keeps the left-top shade white (the colour it had is kept and
  // comes back when this turns false again).
  bool AShadeLTSet() const noexcept { return shadeLTSet_; }
  void SetAShadeLTSet(bool v);
  // The shadow's offset from the text; only the shadowed look uses it.
  int32_t AHShadeOffSet() const noexcept { return hShadeOffset_; }
  void SetAHShadeOffSet(int32_t v);
  int32_t AVShadeOffSet() const noexcept { return vShadeOffset_; }
  void SetAVShadeOffSet(int32_t v);

  TNotifyEvent OnChange;

  // From another style: all seven values, then OnChange.
  void Assign(const TPersistent* source) override;

 private:
  void Changed();
  bool UsesLeftTop() const noexcept { return style3D_ == A3dResit || style3D_ == A3dRaised; }

  int32_t angle_ = 0;
  T3DEffectShort style3D_ = A3dRaised;
  TColor shadeRightBottom_ = clGray;
  TColor shadeLeftTop_ = clWhite;
  bool shadeLTSet_ = false;
  int32_t hShadeOffset_ = 5;
  int32_t vShadeOffset_ = -5;
  TColor savedLeftTop_ = clWhite;  // the left-top colour while AShadeLTSet
};

// TRotate3DLabel: a label that draws its caption at any angle, plain,
// recessed, raised or with a drop shadow, either transparently or on a
// rotated plate of its Color; the setup's title on the main form. Its look
// is a TLabelStyle; the label whose Tag is -1 is the designated one.
class TRotate3DLabel : public TCustomLabel {
  PELLMORE_CLASS(TRotate3DLabel, TCustomLabel)

 public:
  // Transparent, not auto-sized, bold Arial. Created while its form is
  // designed, it becomes the designated label when there is none yet.
  explicit TRotate3DLabel(TComponent* owner);
  ~TRotate3DLabel() override;

  TLabelStyle* LabelStyle() const noexcept { return style_; }
  // Copies `style` into LabelStyle, then repaints.
  void SetLabelStyle(const TLabelStyle* style);
  // False draws the text, without 3-D shading, on a plate of Color turned
  // with it.
  bool MyTransparent() const noexcept { return myTransparent_; }
  void SetMyTransparent(bool v);

  // Cosine and sine of the angle of the last painting (1 and 0 before).
  double CosAngle() const noexcept { return cosAngle_; }
  double SinAngle() const noexcept { return sinAngle_; }

  // -1 makes this the designated label (the previous one's Tag drops to
  // 0); another value gives the mark up.
  void SetTag(int64_t tag);
  // The label whose Tag is -1, or null.
  static TRotate3DLabel* Designated() noexcept;

  // From another rotated label: caption, style, font, alignment, bounds
  // and MyTransparent.
  void Assign(const TPersistent* source) override;

  static constexpr double kDegreesToRadians = 0.017453292519943295;

 protected:
  void Paint() override;

 private:
  TLabelStyle* style_;
  bool myTransparent_ = true;
  double cosAngle_ = 1;
  double sinAngle_ = 0;
};

// Registers T3DEffectShort, TLabelStyle and TRotate3DLabel (after the
// framework's controls).
class ClassRegistry;
void RegisterRotate3DLabel(ClassRegistry& r);
