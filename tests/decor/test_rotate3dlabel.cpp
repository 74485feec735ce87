// The rotated label's drawing: which text draws happen where and in which
// colour for each look, where the text lands at several angles and
// alignments, the plate; the label style's change rules and copying.
#include <gmock/gmock.h>

#include <tuple>

#include "DecorFixture.h"
#include "decor/cmp_Rotate3DLabel.h"

namespace {

using platform::headless::CanvasOp;
using Draw = std::tuple<int, int, TColor>;  // x, y, font colour

class Rotate3DLabel : public DecorTest {
 protected:
  // 200 x 60 (centre 100, 30); "Title" in the fixed metrics at height -20
  // is 50 x 25.
  Owned<TRotate3DLabel> MakeLabel() {
    Owned<TRotate3DLabel> l(new TRotate3DLabel(nullptr));
    l->SetBounds(0, 0, 200, 60);
    l->SetCaption("Title");
    l->Font()->SetHeight(-20);
    l->Font()->SetColor(clYellow);
    l->SetAlignment(taCenter);
    return l;
  }
  // The text draws, after checking each one's text and turned font.
  static std::vector<Draw> TextDraws(const std::vector<CanvasOp>& ops, int angle) {
    std::vector<Draw> draws;
    for (const CanvasOp& op : ops) {
      if (op.op != "TextOut") continue;
      EXPECT_EQ(op.text, "Title");
      EXPECT_EQ(op.font.escapement, angle * 10);
      EXPECT_EQ(op.font.orientation, angle * 10);
      draws.emplace_back(op.args[0], op.args[1], op.font.color);
    }
    return draws;
  }
};

TEST_F(Rotate3DLabel, EachLookDrawsItsShadesAtTheirOffsets) {
  struct Case {
    T3DEffectShort look;
    std::vector<Draw> draws;
  };
  const Case cases[] = {
      {A3dNormal, {{75, 18, clYellow}}},
      {A3dResit, {{76, 19, clWhite}, {74, 17, clGray}, {75, 18, clYellow}}},
      {A3dRaised, {{74, 17, clWhite}, {76, 19, clGray}, {75, 18, clYellow}}},
      {A3dShadowed, {{80, 13, clGray}, {75, 18, clYellow}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "look " << c.look);
    auto label = MakeLabel();
    label->LabelStyle()->SetAStyle3D(c.look);
    const std::vector<CanvasOp> ops = PaintOps(*label);
    EXPECT_EQ(TextDraws(ops, 0), c.draws);
    EXPECT_EQ(ops.size(), c.draws.size());  // nothing but the text
    for (const CanvasOp& op : ops) EXPECT_EQ(op.brush.style, bsClear);
  }
}

TEST_F(Rotate3DLabel, TheTextTurnsAboutTheLabelsMiddle) {
  struct Case {
    TAlignment alignment;
    int angle;
    int x, y;
  };
  const Case cases[] = {
      {taCenter, 0, 75, 18},        {taCenter, 90, 88, 55}, {taCenter, 180, 125, 42},
      {taCenter, 270, 112, 5},      {taCenter, 45, 75, 39}, {taLeftJustify, 90, 0, 55},
      {taRightJustify, 0, 150, 18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "alignment " << c.alignment << ", angle " << c.angle);
    auto label = MakeLabel();
    label->SetAlignment(c.alignment);
    label->LabelStyle()->SetAStyle3D(A3dNormal);
    label->LabelStyle()->SetAngle(c.angle);
    EXPECT_EQ(TextDraws(PaintOps(*label), c.angle), (std::vector<Draw>{{c.x, c.y, clYellow}}));
  }
}

TEST_F(Rotate3DLabel, APlateTurnsWithTheTextAndLeavesTheStoredLookAlone) {
  auto label = MakeLabel();
  label->SetColor(clNavy);
  label->SetMyTransparent(false);
  std::vector<CanvasOp> ops = PaintOps(*label);
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0].op, "Polygon");
  EXPECT_EQ(ops[0].args, (std::vector<int>{70, 14, 130, 14, 130, 46, 70, 46}));
  EXPECT_EQ(ops[0].brush, (TBrushData{clNavy, bsSolid}));
  EXPECT_EQ(TextDraws(ops, 0), (std::vector<Draw>{{75, 18, clYellow}}));

  label->LabelStyle()->SetAngle(90);
  ops = PaintOps(*label);
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0].args, (std::vector<int>{84, 60, 84, 0, 116, 0, 116, 60}));
  EXPECT_EQ(TextDraws(ops, 90), (std::vector<Draw>{{88, 55, clYellow}}));

  // The plate drew no shades, but the raised look is still the label's.
  EXPECT_EQ(label->LabelStyle()->AStyle3D(), A3dRaised);
  label->SetMyTransparent(true);
  EXPECT_EQ(TextDraws(PaintOps(*label), 90).size(), 3u);
}

TEST_F(Rotate3DLabel, StyleRulesStoreAndNotify) {
  TLabelStyle s;
  int notified = 0;
  s.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &s);
    ++notified;
  };
  struct AngleCase {
    int32_t set, stored;
  };
  for (const AngleCase& c : {AngleCase{360, 0}, AngleCase{-1, 0}, AngleCase{720, 0},
                             AngleCase{359, 359}, AngleCase{10, 10}}) {
    SCOPED_TRACE(c.set);
    s.SetAngle(45);
    notified = 0;
    s.SetAngle(c.set);
    EXPECT_EQ(s.Angle(), c.stored);
    EXPECT_EQ(notified, 1);
  }
  notified = 0;
  s.SetAngle(10);  // unchanged
  EXPECT_EQ(notified, 0);

  // The left-top shade: held at white while AShadeLTSet, kept and given back.
  s.SetAShadeLeftTop(clRed);
  EXPECT_EQ(notified, 1);
  s.SetAShadeLTSet(true);
  EXPECT_EQ(s.AShadeLeftTop(), clWhite);
  EXPECT_EQ(notified, 2);
  s.SetAShadeLeftTop(clLime);
  EXPECT_EQ(s.AShadeLeftTop(), clWhite);
  EXPECT_EQ(notified, 2);
  s.SetAShadeLTSet(false);
  EXPECT_EQ(s.AShadeLeftTop(), clRed);
  EXPECT_EQ(notified, 3);  // the label shows the colour change
  s.SetAStyle3D(A3dShadowed);
  notified = 0;
  s.SetAShadeLTSet(true);  // a look without a left-top shade: nothing shows
  s.SetAShadeLTSet(false);
  EXPECT_EQ(notified, 0);
  EXPECT_EQ(s.AShadeLeftTop(), clRed);

  // Offsets show only in the shadowed look.
  s.SetAVShadeOffSet(2);
  EXPECT_EQ(notified, 1);
  s.SetAStyle3D(A3dRaised);
  notified = 0;
  s.SetAHShadeOffSet(3);
  EXPECT_EQ(s.AHShadeOffSet(), 3);
  EXPECT_EQ(notified, 0);

  TLabelStyle copy;
  int copyNotified = 0;
  copy.OnChange = [&](TObject*) { ++copyNotified; };
  copy.Assign(&s);
  EXPECT_EQ(copyNotified, 1);
  EXPECT_EQ(copy.Angle(), 10);
  EXPECT_EQ(copy.AStyle3D(), A3dRaised);
  EXPECT_EQ(copy.AShadeRightBottom(), clGray);
  EXPECT_EQ(copy.AShadeLeftTop(), clRed);
  EXPECT_FALSE(copy.AShadeLTSet());
  EXPECT_EQ(copy.AHShadeOffSet(), 3);
  EXPECT_EQ(copy.AVShadeOffSet(), 2);
}

TEST_F(Rotate3DLabel, DefaultsAndCopying) {
  Owned<TRotate3DLabel> a(new TRotate3DLabel(nullptr));
  EXPECT_TRUE(a->Transparent());
  EXPECT_FALSE(a->AutoSize());
  EXPECT_TRUE(a->MyTransparent());
  EXPECT_EQ(a->Font()->Name(), "Arial");
  EXPECT_EQ(a->Font()->Style(), TFontStyles{fsBold});
  const TLabelStyle& s = *a->LabelStyle();
  EXPECT_EQ(std::make_tuple(s.Angle(), s.AStyle3D(), s.AShadeRightBottom(), s.AShadeLeftTop(),
                            s.AShadeLTSet(), s.AHShadeOffSet(), s.AVShadeOffSet()),
            std::make_tuple(0, A3dRaised, 0x808080, 0xFFFFFF, false, 5, -5));

  auto b = MakeLabel();
  b->SetName("Other");
  b->SetTag(4);
  b->SetColor(clNavy);
  b->SetMyTransparent(false);
  b->LabelStyle()->SetAngle(30);
  a->Assign(b.get());
  EXPECT_EQ(a->Caption(), "Title");
  EXPECT_EQ(a->LabelStyle()->Angle(), 30);
  EXPECT_EQ(a->Font()->Color(), clYellow);
  EXPECT_EQ(a->Alignment(), taCenter);
  EXPECT_EQ(a->BoundsRect(), b->BoundsRect());
  EXPECT_FALSE(a->MyTransparent());
  // Not copied: name, tag, colour.
  EXPECT_EQ(a->Name(), "");
  EXPECT_EQ(a->Tag(), 0);
  EXPECT_NE(a->Color(), clNavy);
}

}  // namespace
