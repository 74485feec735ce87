// Reading form descriptions: every value kind, nesting and parents,
// forward references, the Loaded order and loading state, inherited forms,
// event binding, and creating a root by its class name.
#include <gtest/gtest.h>

#include "FormTestClasses.h"
#include "support/Fixture.h"

namespace {

using namespace formtest;
using Log = std::vector<std::string>;

class FormReaderTest : public PellmoreTest {
 protected:
  FormReaderTest() {
    RegisterTestClasses(ClassRegistry::Global());
    EventLog().clear();
  }
  // Reads into a fresh root, which the test owns.
  Owned<TTestForm> Read(const std::string& text) {
    Owned<TTestForm> form(new TTestForm(nullptr));
    ReadForm(*form, text, "test.dfm");
    return form;
  }
  template <class T = TTestComponent>
  static T* Find(TComponent& root, const char* name) {
    auto* c = dynamic_cast<T*>(root.FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
};

TEST_F(FormReaderTest, AppliesEveryKindOfValue) {
  auto form = Read(R"(object Form1: TTestForm
  Caption = 'Main'
  Width = 640
  object C: TTestComponent
    Caption = 'Hello '#$263A' '#20320 +
      ' world'
    Count = -12
    Big = $7FFFFFFFFFFF
    Small = 255
    Enabled = false
    Ratio = 0.5
    Kind = TKGAMMA
    Kinds = [tkBeta, tkGamma]
    Lines.Strings = (
      'first'
      ''
      'third')
    Items = <
      item
        Caption = 'one'
        Value = 1
        Font.Style = [tsItalic]
      end
      item
        Caption = 'two'
      end>
    Font.Name = 'Courier'
    Font.Size = 10
    Font.Style = [tsBold, tsUnderline]
    Font.Color = clYellow
    Picture.Data = {
      0102FF
      80}
    Color = GB2312_CHARSET
    Hidden = 'read even though not stored'
    Tag = 7
  end
end
)");
  EXPECT_EQ(form->Name(), "Form1");
  EXPECT_EQ(form->Caption(), "Main");
  EXPECT_EQ(form->Width(), 640);
  auto* c = Find(*form, "C");
  EXPECT_EQ(c->Caption(), "Hello \u263A \u4F60 world");
  EXPECT_EQ(c->Count(), -12);
  EXPECT_EQ(c->Big(), 0x7FFFFFFFFFFF);
  EXPECT_EQ(c->Small(), 255);
  EXPECT_FALSE(c->Enabled());
  EXPECT_EQ(c->Ratio(), 0.5);
  EXPECT_EQ(c->Kind(), tkGamma);
  EXPECT_EQ(c->Kinds(), (TTestKinds{tkBeta, tkGamma}));
  EXPECT_EQ(c->Lines()->ToVector(), (Log{"first", "", "third"}));
  ASSERT_EQ(c->Items()->Count(), 2);
  EXPECT_EQ(c->Items()->ItemAs<TTestItem>(0)->Value(), 1);
  EXPECT_EQ(c->Items()->ItemAs<TTestItem>(0)->Font()->Style(), TTestStyles{tsItalic});
  EXPECT_EQ(c->Items()->ItemAs<TTestItem>(1)->Caption(), "two");
  EXPECT_EQ(c->Font()->Name(), "Courier");
  EXPECT_EQ(c->Font()->Size(), 10);
  EXPECT_EQ(c->Font()->Style(), (TTestStyles{tsBold, tsUnderline}));
  EXPECT_EQ(c->Font()->Color(), 0xFFFF);
  EXPECT_EQ(c->Picture()->Data(), (Bytes{1, 2, 0xFF, 0x80}));
  EXPECT_EQ(c->Color(), 134);  // any registered constant fits an integer
  EXPECT_EQ(c->Hidden(), "read even though not stored");
  EXPECT_EQ(c->Tag(), 7);
}

TEST_F(FormReaderTest, ListsReplaceWhatWasThere) {
  auto form = Read("object F: TTestForm object C: TTestComponent end end");
  auto* c = Find(*form, "C");
  c->Lines()->Add("old");
  c->Items()->Add();
  ReadForm(*form,
           "object F: TTestForm inherited C: TTestComponent Lines = ('new') Items = <> end end",
           "again.dfm");
  EXPECT_EQ(c->Lines()->ToVector(), Log{"new"});
  EXPECT_EQ(c->Items()->Count(), 0);
}

TEST_F(FormReaderTest, ComponentsAreOwnedByTheRootAndParentedByTheirEnclosingComponent) {
  auto form = Read(R"(object F: TTestForm
  object Outer: TTestPanel
    object Inner: TTestPanel
      object Deep: TTestPanel
      end
    end
    object Second: TTestPanel
    end
  end
  object Loose: TTestComponent
  end
end)");
  ASSERT_EQ(form->ComponentCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(form->Components(i)->Owner(), form.get());
  EXPECT_EQ(Find(*form, "Outer")->GetParentComponent(), nullptr);  // the root is no panel
  EXPECT_EQ(Find(*form, "Inner")->GetParentComponent(), form->FindComponent("Outer"));
  EXPECT_EQ(Find(*form, "Deep")->GetParentComponent(), form->FindComponent("Inner"));
  EXPECT_EQ(Find<TTestPanel>(*form, "Outer")->ChildCount(), 2);
}

TEST_F(FormReaderTest, ReferencesResolveAfterEveryComponentExistsEvenForward) {
  auto form = Read(R"(object F: TTestForm
  object A: TTestComponent
    Link = C
    Peer = B
  end
  object B: TTestComponent
    Link = A
  end
  object C: TTestComponent
    Link = F
  end
end)");
  EXPECT_EQ(EventLog()[0], "construct-loading");
  const Log links(EventLog().begin() + 3, EventLog().begin() + 6);
  EXPECT_EQ(links, (Log{"A.Link=C with 3 components", "B.Link=A with 3 components",
                        "C.Link=F with 3 components"}));
  EXPECT_EQ(Find(*form, "A")->Peer(), form->FindComponent("B"));
  EXPECT_EQ(Find(*form, "C")->Link(), form.get());
}

TEST_F(FormReaderTest, DottedReferencesAndNil) {
  auto form = Read(R"(object F: TTestForm
  object A: TTestComponent
    Link = F.B
    Peer = nil
  end
  object B: TTestComponent
  end
end)");
  EXPECT_EQ(Find(*form, "A")->Link(), form->FindComponent("B"));
  EXPECT_EQ(Find(*form, "A")->Peer(), nullptr);
}

TEST_F(FormReaderTest, LoadedRunsInCreationOrderAndClearsEachLoadingStateInTurn) {
  auto form = Read(R"(object F: TTestForm
  object A: TTestComponent
  end
  object B: TTestComponent
  end
  object C: TTestComponent
  end
end)");
  const Log loaded(EventLog().begin() + 3, EventLog().end());
  EXPECT_EQ(loaded, (Log{"Loaded F", "Loaded A, still loading: B C", "Loaded B, still loading: C",
                         "Loaded C"}));
  for (int i = 0; i < form->ComponentCount(); ++i) {
    EXPECT_FALSE(form->Components(i)->InState(csLoading));
    EXPECT_FALSE(form->Components(i)->InState(csReading));
  }
  EXPECT_FALSE(form->InState(csLoading));
}

TEST_F(FormReaderTest, EventsBindToTheRootsHandlersByName) {
  auto form = Read(R"(object F: TTestForm
  OnCreate = FormCreate
  object Button: TTestComponent
    OnClick = buttonclick
    OnQuery = AskUser
    Items = <
      item
        OnClick = ButtonClick
      end>
  end
end)");
  form->OnCreate()(form.get());
  auto* b = Find(*form, "Button");
  b->OnClick()(b);
  bool cont = true;
  b->OnQuery()(b, cont);
  EXPECT_FALSE(cont);
  b->Items()->ItemAs<TTestItem>(0)->OnClick()(b);
  EXPECT_EQ(
      Log(EventLog().end() - 4, EventLog().end()),
      (Log{"FormCreate by TTestForm on F", "ButtonClick Button", "AskUser", "ButtonClick Button"}));
  EXPECT_EQ(b->BoundHandlerName("OnClick"), "ButtonClick");
  EXPECT_EQ(form->BoundHandlerName("oncreate"), "FormCreate");
}

TEST_F(FormReaderTest, InheritedFormReadsTheAncestorFirstThenOverridesAndAdds) {
  auto& reg = ClassRegistry::Global();
  reg.RegisterDescription("TTestForm", "Base.dfm", R"(object Base: TTestForm
  Caption = 'Base caption'
  Width = 300
  object Panel: TTestPanel
    Caption = 'base panel'
    Count = 1
    object Label: TTestPanel
      Caption = 'base label'
    end
  end
end)");
  reg.RegisterDescription("TTestDerivedForm", "Derived.dfm", R"(inherited Derived: TTestDerivedForm
  Caption = 'Derived caption'
  OnCreate = ExtraClick
  inherited Panel: TTestPanel
    Caption = 'derived panel'
    object Extra: TTestPanel
      Link = Label
    end
  end
end)");
  Owned<TTestDerivedForm> form(new TTestDerivedForm(nullptr));
  ReadRegisteredForm(*form);
  EXPECT_EQ(form->Name(), "Derived");
  EXPECT_EQ(form->Caption(), "Derived caption");
  EXPECT_EQ(form->Width(), 300);  // from the ancestor
  ASSERT_EQ(form->ComponentCount(), 3);
  auto* panel = Find(*form, "Panel");
  EXPECT_EQ(panel->Caption(), "derived panel");
  EXPECT_EQ(panel->Count(), 1);
  EXPECT_EQ(Find(*form, "Label")->Caption(), "base label");
  EXPECT_EQ(Find(*form, "Extra")->GetParentComponent(), panel);
  EXPECT_EQ(Find(*form, "Extra")->Link(), form->FindComponent("Label"));
  form->OnCreate()(form.get());
  EXPECT_EQ(EventLog().back(), "ExtraClick");
  const Log loaded(EventLog().end() - 5, EventLog().end() - 1);
  EXPECT_EQ(loaded, (Log{"Loaded Derived", "Loaded Panel, still loading: Label Extra",
                         "Loaded Label, still loading: Extra", "Loaded Extra"}));
}

TEST_F(FormReaderTest, CreateFromFormMakesTheRootByItsClassName) {
  TComponent owner(nullptr);
  TComponent* root = CreateFromForm("object Made: TTestForm Caption = 'x' end", "m.dfm", &owner);
  EXPECT_STREQ(root->ClassName(), "TTestForm");
  EXPECT_EQ(root->Owner(), &owner);
  EXPECT_EQ(root->Name(), "Made");
  EXPECT_FALSE(root->InState(csLoading));
  EXPECT_EQ(EventLog(), Log{"Loaded Made"});
  TComponent* alone = CreateFromForm("object TTestForm end", "m.dfm");
  EXPECT_EQ(alone->Owner(), nullptr);
  alone->Free();
}

TEST_F(FormReaderTest, FloatPropertiesTakeIntegers) {
  auto form = Read("object F: TTestForm object C: TTestComponent Ratio = 3 end end");
  EXPECT_EQ(Find(*form, "C")->Ratio(), 3.0);
}

TEST_F(FormReaderTest, ASetterExceptionPassesThroughUnchangedAndNothingRemains) {
  class TFussy : public TTestComponent {
    PELLMORE_CLASS(TFussy, TTestComponent)

   public:
    using TTestComponent::TTestComponent;
    void SetPickyCaption(const std::string&) { throw EAbort("refused"); }
  };
  ClassRegistry::Global().Class<TFussy, TTestComponent>("TFussy").Prop("Picky", &TFussy::Caption,
                                                                       &TFussy::SetPickyCaption);
  Owned<TTestForm> form(new TTestForm(nullptr));
  EXPECT_THROW(ReadForm(*form,
                        "object F: TTestForm object A: TTestComponent end object B: TFussy "
                        "Picky = 'x' end end",
                        "f.dfm"),
               EAbort);
  EXPECT_EQ(form->ComponentCount(), 0);
  EXPECT_FALSE(form->InState(csLoading));
  EXPECT_FALSE(form->InState(csReading));
}

TEST_F(FormReaderTest, AFailingLoadedDestroysWhatTheReadCreated) {
  class TBadLoad : public TTestComponent {
    PELLMORE_CLASS(TBadLoad, TTestComponent)

   public:
    using TTestComponent::TTestComponent;
    void Loaded() override { throw EConvertError("cannot load"); }
  };
  ClassRegistry::Global().Class<TBadLoad, TTestComponent>("TBadLoad");
  Owned<TTestForm> form(new TTestForm(nullptr));
  new TTestComponent(form.get());  // was there before: stays
  EXPECT_THROW(ReadForm(*form,
                        "object F: TTestForm object A: TTestComponent end object B: TBadLoad "
                        "end object C: TTestComponent end end",
                        "f.dfm"),
               EConvertError);
  EXPECT_EQ(form->ComponentCount(), 1);
}

}  // namespace
