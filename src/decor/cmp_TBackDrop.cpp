// TBackdrop (see cmp_TBackDrop.h): the gradient is painted as bands, 256
// along the axis (128 per half when mirrored), each in one colour stepped
// from the first colour to the second with the system's MulDiv rounding,
// so the first band is exactly the first colour and the last (the middle
// ones when mirrored) exactly the second.
#include "decor/cmp_TBackDrop.h"

#include "decor/DesignatedControl.h"
#include "framework/ClassRegistry.h"
#include "framework/MathUtils.h"

namespace {

DesignatedSlot& Slot() {
  static DesignatedSlot slot("decor.DesignatedBackdrop");
  return slot;
}

struct Gradient {
  TColor first;
  TColor second;
  bool alongHeight;  // colour changes from top to bottom (else left to right)
  bool mirrored;     // first colour at both edges, second in the middle
};

Gradient GradientOf(TDirection d, TColor start, TColor end) {
  switch (d) {
    case bdUp:
      return {start, end, true, false};
    case bdDown:
      return {end, start, true, false};
    case bdLeft:
      return {start, end, false, false};
    case bdRight:
      return {end, start, false, false};
    case bdHorzIn:
      return {end, start, true, true};
    case bdHorzOut:
      return {start, end, true, true};
    case bdVertIn:
      return {start, end, false, true};
    case bdVertOut:
      return {end, start, false, true};
  }
  return {start, end, true, false};
}

void FillGradient(TCanvas& c, const Gradient& g, int width, int height) {
  const TColor c1 = ColorToRGB(g.first);
  const TColor c2 = ColorToRGB(g.second);
  const int r1 = GetRValue(c1), g1 = GetGValue(c1), b1 = GetBValue(c1);
  const int dr = GetRValue(c2) - r1, dg = GetGValue(c2) - g1, db = GetBValue(c2) - b1;
  c.Pen()->SetStyle(psSolid);
  c.Pen()->SetMode(pmCopy);
  const int length = g.alongHeight ? height : width;
  const int across = g.alongHeight ? width : height;
  auto band = [&](int from, int to) {
    const int a = MulDiv(from, length, 256), b = MulDiv(to, length, 256);
    c.FillRect(g.alongHeight ? TRect{0, a, across, b} : TRect{a, 0, b, across});
  };
  const int steps = g.mirrored ? 127 : 255;
  for (int n = 0; n <= steps; ++n) {
    c.Brush()->SetColor(
        RGB(r1 + MulDiv(n, dr, steps), g1 + MulDiv(n, dg, steps), b1 + MulDiv(n, db, steps)));
    band(n, n + 1);
    if (g.mirrored) band(255 - n, 256 - n);
  }
}

}  // namespace

TBackdrop::TBackdrop(TComponent* owner) : TCustomPanel(owner) {
  SetAlign(alClient);
  if (InState(csDesigning) && !Designated()) SetTag(-1);
}

TBackdrop::~TBackdrop() {
  Slot().Leave(*this);
}

void TBackdrop::SetDirection(TDirection d) {
  if (d == direction_) return;
  direction_ = d;
  Invalidate();
}

void TBackdrop::SetStartColor(TColor c) {
  if (c == startColor_) return;
  startColor_ = c;
  Invalidate();
}

void TBackdrop::SetEndColor(TColor c) {
  if (c == endColor_) return;
  endColor_ = c;
  Invalidate();
}

void TBackdrop::SetTag(int64_t tag) {
  Slot().SetTag(*this, tag);
}

TBackdrop* TBackdrop::Designated() noexcept {
  return static_cast<TBackdrop*>(Slot().Holder());
}

void TBackdrop::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TBackdrop*>(source);
  if (!other) {
    TCustomPanel::Assign(source);
    return;
  }
  direction_ = other->direction_;
  startColor_ = other->startColor_;
  endColor_ = other->endColor_;
  SetAlign(other->Align());
  Invalidate();
}

void TBackdrop::Paint() {
  // The client area: the whole control unless a border edge takes part.
  const TRect r = ClientRect();
  FillGradient(*Canvas(), GradientOf(direction_, startColor_, endColor_), r.Width(), r.Height());
}

void RegisterBackdrop(ClassRegistry& r) {
  r.Enum<TDirection>("TDirection", {"bdUp", "bdDown", "bdLeft", "bdRight", "bdHorzIn", "bdHorzOut",
                                    "bdVertIn", "bdVertOut"});
  r.Class<TBackdrop, TCustomPanel>("TBackdrop")
      .Prop("Align", &TBackdrop::Align, &TBackdrop::SetAlign, alClient)
      .Prop("Direction", &TBackdrop::Direction, &TBackdrop::SetDirection, bdUp)
      .Prop("EndColor", &TBackdrop::EndColor, &TBackdrop::SetEndColor, clBlack)
      .Idents("Colors")
      .Prop("StartColor", &TBackdrop::StartColor, &TBackdrop::SetStartColor, clBlue)
      .Idents("Colors")
      .Prop("Tag", &TBackdrop::Tag, &TBackdrop::SetTag, 0);
}
