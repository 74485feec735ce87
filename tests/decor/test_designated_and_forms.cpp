// Tag -1 designates one backdrop and one title label at a time, and a form
// description holding both reads, writes and reads back the same.
#include <gmock/gmock.h>

#include "DecorFixture.h"
#include "decor/cmp_Rotate3DLabel.h"
#include "decor/cmp_TBackDrop.h"
#include "framework/FormReader.h"
#include "framework/FormWriter.h"
#include "framework/Forms.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class Designated : public DecorTest {};

TEST_F(Designated, OneControlOfEachKindHoldsTagMinusOne) {
  Owned<TBackdrop> a(new TBackdrop(nullptr));
  Owned<TBackdrop> b(new TBackdrop(nullptr));
  Owned<TRotate3DLabel> label(new TRotate3DLabel(nullptr));
  EXPECT_EQ(TBackdrop::Designated(), nullptr);

  a->SetTag(-1);
  EXPECT_EQ(TBackdrop::Designated(), a.get());
  label->SetTag(-1);  // the kinds keep their marks apart
  EXPECT_EQ(TBackdrop::Designated(), a.get());
  EXPECT_EQ(TRotate3DLabel::Designated(), label.get());

  b->SetTag(-1);  // takes the mark; the previous holder drops to 0
  EXPECT_EQ(TBackdrop::Designated(), b.get());
  EXPECT_EQ(a->Tag(), 0);
  EXPECT_EQ(b->Tag(), -1);
  b->SetTag(3);  // gives it up
  EXPECT_EQ(TBackdrop::Designated(), nullptr);
  EXPECT_EQ(b->Tag(), 3);
  a->SetTag(5);  // a Tag on another control changes nothing else
  EXPECT_EQ(b->Tag(), 3);

  label.reset();  // a destroyed holder leaves none
  EXPECT_EQ(TRotate3DLabel::Designated(), nullptr);

  // Placed while the form is designed: the first of its kind takes -1.
  TComponent::SetCreationState({csDesigning});
  Owned<TBackdrop> first(new TBackdrop(nullptr));
  TComponent::SetCreationState({csDesigning});
  Owned<TBackdrop> second(new TBackdrop(nullptr));
  EXPECT_EQ(first->Tag(), -1);
  EXPECT_EQ(second->Tag(), 0);
  EXPECT_EQ(TBackdrop::Designated(), first.get());
}

const char* const kDescription = R"(object Form1: TForm
  object BackDrop: TBackdrop
    Tag = -1
    EndColor = 8421440
    Direction = bdHorzIn
    object ProductLabel: TRotate3DLabel
      Tag = -1
      Align = alTop
      Height = 65
      Caption = 'Quenby 安装'
      Font.Charset = GB2312_CHARSET
      Font.Color = clYellow
      Font.Height = -35
      Font.Name = '宋体'
      Font.Style = [fsBold, fsItalic]
      LabelStyle.Angle = 30
      LabelStyle.AStyle3D = A3dShadowed
      LabelStyle.AShadeLTSet = True
      LabelStyle.AVShadeOffSet = 2
      MyTransparent = False
    end
  end
end
)";

TEST_F(Designated, DescriptionsHoldBothAndRoundTrip) {
  Owned<TComponent> form(CreateFromForm(kDescription, "decor.dfm"));
  auto* backdrop = dynamic_cast<TBackdrop*>(form->FindComponent("BackDrop"));
  auto* label = dynamic_cast<TRotate3DLabel*>(form->FindComponent("ProductLabel"));
  ASSERT_NE(backdrop, nullptr);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(TBackdrop::Designated(), backdrop);
  EXPECT_EQ(TRotate3DLabel::Designated(), label);
  EXPECT_EQ(label->Parent(), backdrop);
  EXPECT_EQ(backdrop->Align(), alClient);
  EXPECT_EQ(backdrop->EndColor(), 0x808040);
  EXPECT_EQ(backdrop->Direction(), bdHorzIn);
  EXPECT_EQ(label->Font()->Name(), "宋体");
  EXPECT_EQ(label->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(label->LabelStyle()->Angle(), 30);
  EXPECT_EQ(label->LabelStyle()->AStyle3D(), A3dShadowed);
  EXPECT_TRUE(label->LabelStyle()->AShadeLTSet());
  EXPECT_FALSE(label->MyTransparent());

  const std::string written = WriteForm(*form);
  for (const char* line :
       {"    Tag = -1\n", "    EndColor = 8421440\n", "      LabelStyle.Angle = 30\n",
        "      LabelStyle.AStyle3D = A3dShadowed\n", "      LabelStyle.AShadeLTSet = True\n",
        "      LabelStyle.AVShadeOffSet = 2\n", "      MyTransparent = False\n"})
    EXPECT_THAT(written, HasSubstr(line));
  // Values that are the classes' own defaults stay out.
  for (const char* absent :
       {"alClient", "StartColor", "AutoSize", " Transparent =", "AShadeLeftTop", "AHShadeOffSet"})
    EXPECT_THAT(written, Not(HasSubstr(absent)));

  Owned<TComponent> again(CreateFromForm(written, "written.dfm"));
  EXPECT_EQ(WriteForm(*again), written);
  EXPECT_EQ(TBackdrop::Designated(), again->FindComponent("BackDrop"));
}

}  // namespace
