// TLabelStyle and TRotate3DLabel (see cmp_Rotate3DLabel.h). The caption is
// placed so that the middle of its unrotated box lands on the middle of the
// label (centred) or at the label's edge (left, right), then drawn up to
// three times with a font turned by the angle: left-top shade, right-bottom
// shade or shadow, and the text itself on top.
#include "decor/cmp_Rotate3DLabel.h"

#include <array>
#include <cmath>

#include "decor/DesignatedControl.h"
#include "framework/ClassRegistry.h"

namespace {

DesignatedSlot& Slot() {
  static DesignatedSlot slot("decor.DesignatedRotate3DLabel");
  return slot;
}

int Trunc(double v) {
  return static_cast<int>(std::trunc(v));
}

}  // namespace

// --- TLabelStyle

void TLabelStyle::Changed() {
  if (OnChange) OnChange(this);
}

void TLabelStyle::SetAngle(int32_t degrees) {
  if (degrees < 0 || degrees >= 360) degrees = 0;
  if (degrees == angle_) return;
  angle_ = degrees;
  Changed();
}

void TLabelStyle::SetAStyle3D(T3DEffectShort style) {
  if (style == style3D_) return;
  style3D_ = style;
  Changed();
}

void TLabelStyle::SetAShadeRightBottom(TColor c) {
  if (c == shadeRightBottom_) return;
  shadeRightBottom_ = c;
  Changed();
}

void TLabelStyle::SetAShadeLeftTop(TColor c) {
  if (shadeLTSet_ || c == shadeLeftTop_) return;
  shadeLeftTop_ = c;
  Changed();
}

void TLabelStyle::SetAShadeLTSet(bool v) {
  if (v == shadeLTSet_) return;
  shadeLTSet_ = v;
  if (v) {
    savedLeftTop_ = shadeLeftTop_;
    shadeLeftTop_ = clWhite;
  } else {
    shadeLeftTop_ = savedLeftTop_;
  }
  // The left-top colour changed both ways unless the kept one was white;
  // either way the label shows it only with a shade on that side.
  if (UsesLeftTop() && savedLeftTop_ != clWhite) Changed();
}

void TLabelStyle::SetAHShadeOffSet(int32_t v) {
  if (v == hShadeOffset_) return;
  hShadeOffset_ = v;
  if (style3D_ == A3dShadowed) Changed();
}

void TLabelStyle::SetAVShadeOffSet(int32_t v) {
  if (v == vShadeOffset_) return;
  vShadeOffset_ = v;
  if (style3D_ == A3dShadowed) Changed();
}

void TLabelStyle::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TLabelStyle*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  angle_ = other->angle_;
  style3D_ = other->style3D_;
  shadeRightBottom_ = other->shadeRightBottom_;
  shadeLeftTop_ = other->shadeLeftTop_;
  shadeLTSet_ = other->shadeLTSet_;
  hShadeOffset_ = other->hShadeOffset_;
  vShadeOffset_ = other->vShadeOffset_;
  Changed();
}

// --- TRotate3DLabel

TRotate3DLabel::TRotate3DLabel(TComponent* owner) : TCustomLabel(owner), style_(new TLabelStyle) {
  style_->OnChange = [this](TObject*) { Invalidate(); };
  SetTransparent(true);
  SetAutoSize(false);
  Font()->SetName("Arial");
  Font()->SetStyle(TFontStyles{fsBold});
  if (InState(csDesigning) && !Designated()) SetTag(-1);
}

TRotate3DLabel::~TRotate3DLabel() {
  Slot().Leave(*this);
  style_->Free();
}

void TRotate3DLabel::SetLabelStyle(const TLabelStyle* style) {
  style_->Assign(style);
  Invalidate();
}

void TRotate3DLabel::SetMyTransparent(bool v) {
  if (v == myTransparent_) return;
  myTransparent_ = v;
  Invalidate();
}

void TRotate3DLabel::SetTag(int64_t tag) {
  Slot().SetTag(*this, tag);
}

TRotate3DLabel* TRotate3DLabel::Designated() noexcept {
  return static_cast<TRotate3DLabel*>(Slot().Holder());
}

void TRotate3DLabel::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TRotate3DLabel*>(source);
  if (!other) {
    TCustomLabel::Assign(source);
    return;
  }
  SetCaption(other->Caption());
  style_->Assign(other->style_);
  Font()->Assign(other->Font());
  SetAlignment(other->Alignment());
  SetBoundsRect(other->BoundsRect());
  SetMyTransparent(other->myTransparent_);
}

void TRotate3DLabel::Paint() {
  TCanvas& c = *Canvas();
  const TRect r = ClientRect();
  const int angle = style_->Angle();
  cosAngle_ = std::cos(angle * kDegreesToRadians);
  sinAngle_ = std::sin(angle * kDegreesToRadians);
  const double ca = cosAngle_, sa = sinAngle_;
  const TColor textColor = Font()->Color();

  // The plate takes the place of the 3-D look. The stored style stays as
  // it is: painting never changes what the form would save.
  const T3DEffectShort look = myTransparent_ ? style_->AStyle3D() : A3dNormal;
  int leftTop = 0, rightBottom = 0;
  if (look == A3dResit) {
    leftTop = 1;
    rightBottom = -1;
  } else if (look == A3dRaised) {
    leftTop = -1;
    rightBottom = 1;
  }

  c.Font()->Assign(Font());
  c.Brush()->SetStyle(bsClear);
  const std::string& text = Caption();
  const TSize extent = c.TextExtent(text);
  const int w = extent.cx, h = extent.cy;
  const int cx = r.Width() / 2, cy = r.Height() / 2;

  int x = 0;
  if (Alignment() == taRightJustify)
    x = r.Width() - w;
  else if (Alignment() == taCenter)
    x = cx - Trunc(w / 2.0 * ca) - Trunc(h / 2.0 * sa);
  const int y = Trunc(w / 2.0 * sa) + cy - Trunc(h / 2.0 * ca);

  if (!myTransparent_) {
    const int h2 = h + 7;
    const double f = (w + 10) / 2.0;
    const int fc = Trunc(f * ca), fs = Trunc(f * sa);
    const int hs = Trunc(h2 / 2.0 * sa), hc = Trunc(h2 / 2.0 * ca);
    const std::array<TPoint, 4> plate{
        TPoint{cx - fc - hs, fs + cy - hc}, TPoint{fc + cx - hs, cy - fs - hc},
        TPoint{fc + cx + hs, cy + hc - fs}, TPoint{cx + hs - fc, fs + cy + hc}};
    c.Brush()->SetColor(Color());
    c.Polygon(plate);
  }

  // The turned font: escapement for the line, orientation for each
  // character, both in tenths of a degree.
  TFontData turned = Font()->Data();
  turned.escapement = angle * 10;
  turned.orientation = angle * 10;
  c.Font()->SetData(turned);
  if (look != A3dNormal) {
    if (look == A3dResit || look == A3dRaised) {
      c.Font()->SetColor(style_->AShadeLeftTop());
      c.TextOut(x + leftTop, y + leftTop, text);
    }
    c.Font()->SetColor(style_->AShadeRightBottom());
    if (look == A3dShadowed)
      c.TextOut(x + style_->AHShadeOffSet(), y + style_->AVShadeOffSet(), text);
    else
      c.TextOut(x + rightBottom, y + rightBottom, text);
  }
  c.Font()->SetColor(textColor);
  c.TextOut(x, y, text);
  c.Font()->Assign(Font());
}

void RegisterRotate3DLabel(ClassRegistry& r) {
  r.Enum<T3DEffectShort>("T3DEffectShort", {"A3dNormal", "A3dResit", "A3dRaised", "A3dShadowed"});
  r.Class<TLabelStyle, TPersistent>("TLabelStyle")
      .Prop("Angle", &TLabelStyle::Angle, &TLabelStyle::SetAngle, 0)
      .Prop("AStyle3D", &TLabelStyle::AStyle3D, &TLabelStyle::SetAStyle3D, A3dRaised)
      .Prop("AShadeRightBottom", &TLabelStyle::AShadeRightBottom,
            &TLabelStyle::SetAShadeRightBottom, clGray)
      .Idents("Colors")
      .Prop("AShadeLeftTop", &TLabelStyle::AShadeLeftTop, &TLabelStyle::SetAShadeLeftTop, clWhite)
      .Idents("Colors")
      // Declared with the value a new style has, so a True is written and
      // survives a round trip through a description.
      .Prop("AShadeLTSet", &TLabelStyle::AShadeLTSet, &TLabelStyle::SetAShadeLTSet, false)
      .Prop("AHShadeOffSet", &TLabelStyle::AHShadeOffSet, &TLabelStyle::SetAHShadeOffSet, 5)
      .Prop("AVShadeOffSet", &TLabelStyle::AVShadeOffSet, &TLabelStyle::SetAVShadeOffSet, -5)
      .Field("OnChange", &TLabelStyle::OnChange);
  r.Class<TRotate3DLabel, TCustomLabel>("TRotate3DLabel")
      .Prop("AutoSize", &TRotate3DLabel::AutoSize, &TRotate3DLabel::SetAutoSize, false)
      .Prop("LabelStyle", &TRotate3DLabel::LabelStyle)
      .Prop("MyTransparent", &TRotate3DLabel::MyTransparent, &TRotate3DLabel::SetMyTransparent,
            true)
      .Prop("Tag", &TRotate3DLabel::Tag, &TRotate3DLabel::SetTag, 0)
      .Prop("Transparent", &TRotate3DLabel::Transparent, &TRotate3DLabel::SetTransparent, true);
}
