// The backdrop's gradient: which colour starts where for each direction,
// bands that tile the control exactly once, system colours resolved, no
// fault on an empty control; its property rules and copying.
#include <gmock/gmock.h>

#include <algorithm>

#include "DecorFixture.h"
#include "decor/cmp_TBackDrop.h"

namespace {

using platform::headless::CanvasOp;

constexpr TColor kStart = RGB(0, 100, 255);
constexpr TColor kEnd = RGB(255, 100, 0);

class Backdrop : public DecorTest {};

// The band of `op` along the gradient's axis, after checking that it spans
// the whole other dimension.
std::pair<int, int> Along(const CanvasOp& op, bool alongHeight, int across) {
  EXPECT_EQ(op.op, "FillRect");
  if (alongHeight) {
    EXPECT_EQ(op.args[0], 0);
    EXPECT_EQ(op.args[2], across);
    return {op.args[1], op.args[3]};
  }
  EXPECT_EQ(op.args[1], 0);
  EXPECT_EQ(op.args[3], across);
  return {op.args[0], op.args[2]};
}

TEST_F(Backdrop, EachDirectionPaintsItsBandsFromTheFirstColourToTheSecond) {
  struct Case {
    TDirection direction;
    TColor first, second;
    bool alongHeight, mirrored;
    TColor middle;  // band 128 (plain) or band 64 (mirrored)
  };
  const Case cases[] = {
      {bdUp, kStart, kEnd, true, false, RGB(128, 100, 127)},
      {bdDown, kEnd, kStart, true, false, RGB(127, 100, 128)},
      {bdLeft, kStart, kEnd, false, false, RGB(128, 100, 127)},
      {bdRight, kEnd, kStart, false, false, RGB(127, 100, 128)},
      {bdHorzIn, kEnd, kStart, true, true, RGB(126, 100, 129)},
      {bdHorzOut, kStart, kEnd, true, true, RGB(129, 100, 126)},
      {bdVertIn, kStart, kEnd, false, true, RGB(129, 100, 126)},
      {bdVertOut, kEnd, kStart, false, true, RGB(126, 100, 129)},
  };
  constexpr int kWidth = 300, kHeight = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "direction " << c.direction);
    Owned<TBackdrop> b(new TBackdrop(nullptr));
    b->SetBounds(0, 0, kWidth, kHeight);
    b->SetStartColor(kStart);
    b->SetEndColor(kEnd);
    b->SetDirection(c.direction);
    const std::vector<CanvasOp> ops = PaintOps(*b);
    ASSERT_EQ(ops.size(), 256u);
    const int length = c.alongHeight ? kHeight : kWidth;
    const int across = c.alongHeight ? kWidth : kHeight;

    EXPECT_EQ(ops[0].brush.color, c.first);
    EXPECT_EQ(Along(ops[0], c.alongHeight, across).first, 0);
    if (!c.mirrored) {
      EXPECT_EQ(ops[128].brush.color, c.middle);
      EXPECT_EQ(ops[255].brush.color, c.second);
      EXPECT_EQ(Along(ops[255], c.alongHeight, across).second, length);
    } else {
      // Band n, then its mirror image, for n = 0 .. 127.
      EXPECT_EQ(ops[1].brush.color, c.first);
      EXPECT_EQ(Along(ops[1], c.alongHeight, across).second, length);
      EXPECT_EQ(ops[128].brush.color, c.middle);
      EXPECT_EQ(ops[129].brush.color, c.middle);
      EXPECT_EQ(ops[254].brush.color, c.second);
      EXPECT_EQ(ops[255].brush.color, c.second);
      EXPECT_EQ(Along(ops[254], c.alongHeight, across).second, length / 2);
      EXPECT_EQ(Along(ops[255], c.alongHeight, across).first, length / 2);
    }

    // The bands cover the axis exactly once, without gaps or overlaps.
    std::vector<std::pair<int, int>> bands;
    for (const CanvasOp& op : ops) bands.push_back(Along(op, c.alongHeight, across));
    std::sort(bands.begin(), bands.end());
    int covered = 0;
    for (const auto& [from, to] : bands) {
      ASSERT_LE(from, to);
      if (from == to) continue;
      EXPECT_EQ(from, covered);
      covered = to;
    }
    EXPECT_EQ(covered, length);
  }
}

TEST_F(Backdrop, ShortAndEmptyControlsAndEqualColours) {
  // 100 pixels high: 256 bands, most of them empty, the last ending at 100
  // in exactly the second colour.
  Owned<TBackdrop> b(new TBackdrop(nullptr));
  b->SetBounds(0, 0, 50, 100);
  std::vector<CanvasOp> ops = PaintOps(*b);
  ASSERT_EQ(ops.size(), 256u);
  EXPECT_EQ(std::count_if(ops.begin(), ops.end(),
                          [](const CanvasOp& op) { return op.args[1] == op.args[3]; }),
            156);
  EXPECT_EQ(ops[0].brush.color, clBlue);  // the default colours
  EXPECT_EQ(ops[255].args, (std::vector<int>{0, 100, 50, 100}));
  EXPECT_EQ(ops[255].brush.color, clBlack);

  // Equal colours, one of them a system colour: one colour everywhere.
  b->SetDirection(bdVertOut);
  b->SetStartColor(clBtnFace);
  b->SetEndColor(clSilver);
  ops = PaintOps(*b);
  ASSERT_EQ(ops.size(), 256u);
  for (const CanvasOp& op : ops) EXPECT_EQ(op.brush.color, clSilver);

  // Nothing to cover: every band is empty, nothing fails.
  b->SetBounds(0, 0, 0, 0);
  ops = PaintOps(*b);
  ASSERT_EQ(ops.size(), 256u);
  for (const CanvasOp& op : ops) EXPECT_EQ(op.args, (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(Backdrop, DefaultsAndCopying) {
  Owned<TBackdrop> a(new TBackdrop(nullptr));
  EXPECT_EQ(a->Direction(), bdUp);
  EXPECT_EQ(a->StartColor(), 0xFF0000);
  EXPECT_EQ(a->EndColor(), 0);
  EXPECT_EQ(a->Align(), alClient);
  EXPECT_EQ(a->Tag(), 0);

  Owned<TBackdrop> b(new TBackdrop(nullptr));
  b->SetName("Other");
  b->SetDirection(bdVertIn);
  b->SetStartColor(kStart);
  b->SetEndColor(kEnd);
  b->SetAlign(alTop);
  b->SetTag(7);
  b->SetBounds(1, 2, 30, 40);
  a->Assign(b.get());
  EXPECT_EQ(a->Direction(), bdVertIn);
  EXPECT_EQ(a->StartColor(), kStart);
  EXPECT_EQ(a->EndColor(), kEnd);
  EXPECT_EQ(a->Align(), alTop);
  // Not copied: name, tag, bounds.
  EXPECT_EQ(a->Name(), "");
  EXPECT_EQ(a->Tag(), 0);
  EXPECT_NE(a->BoundsRect(), b->BoundsRect());

  Owned<TPanel> panel(new TPanel(nullptr));
  EXPECT_THROW(a->Assign(panel.get()), EConvertError);
  EXPECT_EQ(a->Direction(), bdVertIn);
}

}  // namespace
