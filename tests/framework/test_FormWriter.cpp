// Writing component trees: the text layout of every value kind, defaults and
// unstored properties left out, and round trips that give back the same tree
// and the same text.
#include <gtest/gtest.h>

#include <cmath>

#include "FormTestClasses.h"
#include "support/Fixture.h"

namespace {

using namespace formtest;

class FormWriterTest : public PellmoreTest {
 protected:
  FormWriterTest() {
    RegisterTestClasses(ClassRegistry::Global());
    EventLog().clear();
  }
};

const char* const kCanonical = R"(object Form1: TTestForm
  Caption = 'Main '#9'tab'
  Width = 640
  OnCreate = FormCreate
  object Panel: TTestPanel
    Caption = 'It''s 你好'
    Count = -3
    Enabled = False
    Ratio = 0.1
    Kind = tkBeta
    Kinds = [tkAlpha, tkGamma]
    Lines = (
      'one'
      ''
      'three')
    Items = <
      item
        Caption = 'first'
        Value = 1
        Target = Loose
        Font.Size = 12
      end
      item
      end>
    Font.Name = 'Courier New'
    Font.Style = [tsBold]
    Font.Color = clYellow
    Picture.Data = {
      000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
      20FF}
    Color = 12345
    Link = Loose
    OnClick = ButtonClick
    object Inner: TTestPanel
      Big = 9007199254740993
      Peer = Panel
    end
  end
  object Loose: TTestComponent
    Tag = 5
    Ratio = 1e+300
    Peer = Panel
    OnQuery = AskUser
  end
  object TTestComponent
    Small = 200
  end
end
)";

TEST_F(FormWriterTest, ACanonicalDescriptionRoundTripsToTheSameText) {
  Owned<TTestForm> form(new TTestForm(nullptr));
  ReadForm(*form, kCanonical, "canon.dfm");
  EXPECT_EQ(WriteForm(*form), kCanonical);
}

TEST_F(FormWriterTest, ARoundTripReproducesTheTree) {
  Owned<TTestForm> first(new TTestForm(nullptr));
  ReadForm(*first, kCanonical, "canon.dfm");
  const std::string text = WriteForm(*first);
  Owned<TTestForm> second(new TTestForm(nullptr));
  ReadForm(*second, text, "again.dfm");
  ASSERT_EQ(second->ComponentCount(), first->ComponentCount());
  for (int i = 0; i < first->ComponentCount(); ++i) {
    SCOPED_TRACE(i);
    const auto* a = static_cast<TTestComponent*>(first->Components(i));
    const auto* b = static_cast<TTestComponent*>(second->Components(i));
    EXPECT_EQ(a->Name(), b->Name());
    EXPECT_STREQ(a->ClassName(), b->ClassName());
    EXPECT_EQ(a->Caption(), b->Caption());
    EXPECT_EQ(a->Big(), b->Big());
    EXPECT_EQ(a->Ratio(), b->Ratio());
    EXPECT_EQ(a->Lines()->ToVector(), b->Lines()->ToVector());
    EXPECT_EQ(a->Items()->Count(), b->Items()->Count());
    EXPECT_EQ(a->Picture()->Data(), b->Picture()->Data());
    EXPECT_EQ(a->Link() ? a->Link()->Name() : "", b->Link() ? b->Link()->Name() : "");
    EXPECT_EQ(a->Peer() ? a->Peer()->Name() : "", b->Peer() ? b->Peer()->Name() : "");
    EXPECT_EQ(a->GetParentComponent() ? a->GetParentComponent()->Name() : "",
              b->GetParentComponent() ? b->GetParentComponent()->Name() : "");
  }
  EXPECT_EQ(WriteForm(*second), text);
}

TEST_F(FormWriterTest, ADumpWithDefaultsStillReadsBackToTheSameTree) {
  Owned<TTestForm> form(new TTestForm(nullptr));
  ReadForm(*form, kCanonical, "canon.dfm");
  FormWriteOptions all;
  all.includeDefaults = true;
  const std::string full = WriteForm(*form, ClassRegistry::Global(), all);
  for (const char* line : {"\n  Tag = 0\n", "\n    Count = 0\n", "\n    Lines = ()\n",
                           "\n    Items = <>\n", "\n    Picture.Data = {}\n", "\n    Link = nil\n",
                           "\n    OnClick = nil\n", "\n    Font.Name = 'Arial'\n"})
    EXPECT_NE(full.find(line), std::string::npos) << line;
  EXPECT_EQ(full.find("Hidden"), std::string::npos);  // not stored, even in a dump
  Owned<TTestForm> again(new TTestForm(nullptr));
  ReadForm(*again, full, "full.dfm");
  EXPECT_EQ(WriteForm(*again), kCanonical);
}

TEST_F(FormWriterTest, DefaultsAndUnstoredPropertiesAreLeftOut) {
  TTestForm form(nullptr);
  form.SetName("F");
  auto* c = new TTestComponent(&form);
  c->SetName("C");
  c->SetHidden("not stored");
  EXPECT_EQ(WriteForm(form), "object F: TTestForm\n  object C: TTestComponent\n  end\nend\n");
  c->SetEnabled(false);
  c->SetKinds({});
  EXPECT_EQ(WriteForm(form),
            "object F: TTestForm\n  object C: TTestComponent\n    Enabled = False\n"
            "    Kinds = []\n  end\nend\n");
}

TEST_F(FormWriterTest, OrdinalsWithoutDeclaredDefaultAreAlwaysWritten) {
  class TPlain : public TComponent {
    PELLMORE_CLASS(TPlain, TComponent)

   public:
    using TComponent::TComponent;
    int N() const { return 0; }
    void SetN(int) {}
  };
  ClassRegistry::Global().Class<TPlain, TComponent>("TPlain").Prop("N", &TPlain::N, &TPlain::SetN);
  TPlain p(nullptr);
  p.SetName("P");
  EXPECT_EQ(WriteForm(p), "object P: TPlain\n  N = 0\nend\n");
}

TEST_F(FormWriterTest, UnnameableReferencesAndUnnamedHandlersAreSkipped) {
  TTestForm form(nullptr);
  form.SetName("F");
  auto* c = new TTestComponent(&form);
  c->SetName("C");
  TTestComponent stranger(nullptr);  // no owner, no name
  c->SetPeer(&stranger);
  c->SetOnClick([](TObject*) {});  // assigned in code: no handler name
  EXPECT_EQ(WriteForm(form), "object F: TTestForm\n  object C: TTestComponent\n  end\nend\n");
  c->SetPeer(nullptr);
}

TEST_F(FormWriterTest, ReferencesToAnotherRootsComponentsCarryTheRootName) {
  TTestForm other(nullptr);
  other.SetName("Other");
  auto* target = new TTestComponent(&other);
  target->SetName("Target");
  TTestForm form(nullptr);
  form.SetName("F");
  auto* c = new TTestComponent(&form);
  c->SetName("C");
  c->SetPeer(target);
  EXPECT_NE(WriteForm(form).find("    Peer = Other.Target\n"), std::string::npos);
  c->SetPeer(nullptr);
}

TEST(FormWriterText, QuotesStringsAsTheReaderReadsThem) {
  EXPECT_EQ(QuoteFormString(""), "''");
  EXPECT_EQ(QuoteFormString("plain"), "'plain'");
  EXPECT_EQ(QuoteFormString("it's"), "'it''s'");
  EXPECT_EQ(QuoteFormString("a\r\nb"), "'a'#13#10'b'");
  EXPECT_EQ(QuoteFormString("\t"), "#9");
  EXPECT_EQ(QuoteFormString("中"), "'中'");
  EXPECT_EQ(QuoteFormString("x\x7F"), "'x'#127");
  EXPECT_EQ(QuoteFormString("bad\xFF"), "'bad'#65533");
}

TEST(FormWriterText, FloatsAreShortestAndAlwaysLookLikeFloats) {
  EXPECT_EQ(FormatFormFloat(1), "1.0");
  EXPECT_EQ(FormatFormFloat(0.1), "0.1");
  EXPECT_EQ(FormatFormFloat(-2.5), "-2.5");
  EXPECT_EQ(FormatFormFloat(1e300), "1e+300");
  EXPECT_THROW(FormatFormFloat(INFINITY), EConvertError);
  EXPECT_THROW(FormatFormFloat(NAN), EConvertError);
}

}  // namespace
