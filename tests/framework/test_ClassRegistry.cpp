// Published-property type information and the class registry: kinds,
// defaults, stored flags, inherited properties, typed access, creation by
// name, registration rules, and the reset between tests.
#include <gtest/gtest.h>

#include <algorithm>

#include "FormTestClasses.h"
#include "support/Fixture.h"

namespace {

using namespace formtest;

class ClassRegistryTest : public PellmoreTest {
 protected:
  ClassRegistryTest() { RegisterTestClasses(reg); }
  ClassRegistry& reg = ClassRegistry::Global();
};

std::vector<std::string> PropNames(const ClassInfo& ci) {
  std::vector<std::string> names;
  for (const PropInfo* p : ci.Props()) names.push_back(p->Name());
  return names;
}

TEST_F(ClassRegistryTest, PropertiesIncludeInheritedOnesAncestorsFirst) {
  const ClassInfo* panel = reg.FindClass("ttestpanel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Name(), "TTestPanel");
  EXPECT_EQ(panel->Parent(), reg.FindClass("TTestComponent"));
  const auto names = PropNames(*panel);
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], "Name");
  EXPECT_EQ(names[1], "Tag");
  EXPECT_EQ(names[2], "Caption");
  EXPECT_EQ(names.back(), "OnQuery");
  EXPECT_EQ(panel->FindProp("CAPTION"), reg.FindClass("TTestComponent")->FindProp("Caption"));
  EXPECT_EQ(panel->FindProp("Nothing"), nullptr);
}

TEST_F(ClassRegistryTest, KindsFollowTheAccessorTypes) {
  const ClassInfo* ci = reg.FindClass("TTestComponent");
  const std::pair<const char*, TTypeKind> expected[] = {
      {"Caption", TTypeKind::String},   {"Count", TTypeKind::Integer},
      {"Enabled", TTypeKind::Boolean},  {"Ratio", TTypeKind::Float},
      {"Kind", TTypeKind::Enumeration}, {"Kinds", TTypeKind::Set},
      {"Lines", TTypeKind::StringList}, {"Items", TTypeKind::Collection},
      {"Font", TTypeKind::Persistent},  {"Link", TTypeKind::Component},
      {"OnClick", TTypeKind::Event},    {"Name", TTypeKind::String},
  };
  for (const auto& [name, kind] : expected) {
    SCOPED_TRACE(name);
    const PropInfo* p = ci->FindProp(name);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Kind(), kind);
  }
  EXPECT_EQ(reg.FindClass("TTestPicture")->FindProp("Data")->Kind(), TTypeKind::Binary);
  EXPECT_EQ(ci->FindProp("Kinds")->EnumType()->Name(), "TTestKind");
  EXPECT_EQ(ci->FindProp("Link")->ObjectClass(), &TComponent::StaticMetaClass());
  EXPECT_EQ(ci->FindProp("Peer")->ObjectClass(), &TTestComponent::StaticMetaClass());
  EXPECT_EQ(ci->FindProp("Small")->MaxValue(), 255);
  EXPECT_EQ(ci->FindProp("Count")->MinValue(), INT32_MIN);
}

TEST_F(ClassRegistryTest, TypedAccessReadsAndWritesThroughTheAccessors) {
  TComponent owner(nullptr);
  auto* c = new TTestComponent(&owner);
  const ClassInfo* ci = reg.ClassOf(*c);
  ci->FindProp("Caption")->SetStr(*c, "Hello");
  ci->FindProp("Count")->SetOrd(*c, -5);
  ci->FindProp("Enabled")->SetOrd(*c, 0);
  ci->FindProp("Ratio")->SetFloat(*c, 2.5);
  ci->FindProp("Kind")->SetOrd(*c, tkGamma);
  ci->FindProp("Kinds")->SetOrd(*c, static_cast<int64_t>(TTestKinds{tkBeta, tkGamma}.Bits()));
  ci->FindProp("Link")->SetObject(*c, &owner);
  EXPECT_EQ(c->Caption(), "Hello");
  EXPECT_EQ(c->Count(), -5);
  EXPECT_FALSE(c->Enabled());
  EXPECT_EQ(c->Ratio(), 2.5);
  EXPECT_EQ(c->Kind(), tkGamma);
  EXPECT_EQ(c->Kinds(), (TTestKinds{tkBeta, tkGamma}));
  EXPECT_EQ(c->Link(), &owner);
  EXPECT_EQ(ci->FindProp("Caption")->GetStr(*c), "Hello");
  EXPECT_EQ(ci->FindProp("Lines")->GetObject(*c), c->Lines());
  const PropInfo* font = ci->FindProp("Font");
  const ClassInfo* fontClass = reg.ClassOf(*font->GetObject(*c));
  fontClass->FindProp("Size")->SetOrd(*font->GetObject(*c), 12);
  EXPECT_EQ(c->Font()->Size(), 12);
  c->SetLink(nullptr);
}

TEST_F(ClassRegistryTest, AccessAsTheWrongKindRaises) {
  TTestComponent c(nullptr);
  const ClassInfo* ci = reg.ClassOf(c);
  try {
    ci->FindProp("Count")->GetStr(c);
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Property Count is an integer, not a string");
  }
  EXPECT_THROW(ci->FindProp("Caption")->SetOrd(c, 1), EPropertyError);
  TComponent plain(nullptr);
  try {
    ci->FindProp("Peer")->SetObject(c, &plain);
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Property Peer needs a TTestComponent, not a TComponent");
  }
}

TEST_F(ClassRegistryTest, DefaultsAndStoredFlags) {
  TTestComponent c(nullptr);
  const ClassInfo* ci = reg.ClassOf(c);
  const auto isDefault = [&](const char* p) { return ci->FindProp(p)->IsDefault(c); };
  EXPECT_TRUE(isDefault("Count"));
  EXPECT_TRUE(isDefault("Enabled"));
  EXPECT_TRUE(isDefault("Kinds"));
  EXPECT_TRUE(isDefault("Caption"));  // strings default to empty
  EXPECT_TRUE(isDefault("Ratio"));    // floats default to 0
  EXPECT_TRUE(isDefault("Lines"));
  EXPECT_TRUE(isDefault("Items"));
  EXPECT_TRUE(isDefault("Link"));
  EXPECT_TRUE(isDefault("OnClick"));
  EXPECT_FALSE(isDefault("Font"));  // nested objects are written property by property
  c.SetCount(1);
  c.SetEnabled(false);
  c.SetKinds({});
  c.Lines()->Add("x");
  c.SetOnClick([](TObject*) {});
  EXPECT_FALSE(isDefault("Count"));
  EXPECT_FALSE(isDefault("Enabled"));
  EXPECT_FALSE(isDefault("Kinds"));
  EXPECT_FALSE(isDefault("Lines"));
  EXPECT_FALSE(isDefault("OnClick"));
  EXPECT_FALSE(ci->FindProp("Hidden")->IsStored(c));
  EXPECT_FALSE(ci->FindProp("Name")->IsStored(c));
  EXPECT_TRUE(ci->FindProp("Caption")->IsStored(c));
  EXPECT_EQ(reg.FindClass("TTestFont")->FindProp("Name")->DefaultStr(), "Arial");
}

TEST_F(ClassRegistryTest, EnumerationsAndConstantsByName) {
  const EnumInfo* e = reg.FindEnum(typeid(TTestKind));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Count(), 3);
  EXPECT_EQ(e->OrdinalOf("TKBETA"), 1);
  EXPECT_EQ(e->OrdinalOf("tkDelta"), -1);
  EXPECT_EQ(e->NameOf(2), "tkGamma");
  EXPECT_EQ(e->NameOf(3), "");
  EXPECT_EQ(reg.FindConstant("gb2312_charset"), 134);
  EXPECT_EQ(reg.FindConstant("clNothing"), std::nullopt);
  const IdentMap* colors = reg.FindIdents("TTestColor");
  ASSERT_NE(colors, nullptr);
  EXPECT_EQ(*colors->NameOf(0xFFFF), "clYellow");
  EXPECT_EQ(colors->NameOf(42), nullptr);
  EXPECT_EQ(reg.FindClass("TTestComponent")->FindProp("Color")->Idents(), colors);
}

TEST_F(ClassRegistryTest, CreatesComponentsByNameWithTheirInitialState) {
  TComponent owner(nullptr);
  EventLog().clear();
  TComponent* c = reg.Create("ttestcomponent", &owner, {csLoading});
  EXPECT_STREQ(c->ClassName(), "TTestComponent");
  EXPECT_EQ(c->Owner(), &owner);
  EXPECT_EQ(EventLog(), std::vector<std::string>{"construct-loading"});
  try {
    reg.Create("TNothing", &owner);
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNothing not found");
  }
  EXPECT_THROW(reg.Create("TTestUncreatable", &owner), EClassNotFound);
  EXPECT_THROW(reg.Create("TStringList", &owner), EClassNotFound);
  EXPECT_FALSE(reg.FindClass("TPersistent")->CanCreate());
  EXPECT_TRUE(reg.FindClass("TComponent")->CanCreate());
}

TEST_F(ClassRegistryTest, ClassOfFindsTheNearestRegisteredAncestor) {
  class TUnregistered : public TTestComponent {
    PELLMORE_CLASS(TUnregistered, TTestComponent)

   public:
    using TTestComponent::TTestComponent;
  };
  TUnregistered u(nullptr);
  EXPECT_EQ(reg.ClassOf(u), reg.FindClass("TTestComponent"));
}

TEST_F(ClassRegistryTest, HandlersAreFoundThroughTheFormClassChain) {
  const ClassInfo* derived = reg.FindClass("TTestDerivedForm");
  ASSERT_NE(derived->FindHandler("formcreate"), nullptr);
  EXPECT_NE(derived->FindHandler("ExtraClick"), nullptr);
  EXPECT_EQ(reg.FindClass("TTestForm")->FindHandler("ExtraClick"), nullptr);
  const HandlerInfo* h = derived->FindHandler("AskUser");
  EXPECT_EQ(h->type, std::type_index(typeid(TQueryEvent)));
  TTestDerivedForm form(nullptr);
  form.SetName("F");
  EventLog().clear();
  const auto bound = std::any_cast<TQueryEvent>(h->bind(form));
  bool cont = true;
  bound(&form, cont);
  EXPECT_FALSE(cont);
  EXPECT_EQ(EventLog(), std::vector<std::string>{"AskUser"});
}

TEST_F(ClassRegistryTest, DataMembersAndCallablesCanBeProperties) {
  class TOpen : public TComponent {
    PELLMORE_CLASS(TOpen, TComponent)

   public:
    using TComponent::TComponent;
    TNotifyEvent OnShow;
    int Size = 3;
    std::string hidden;
  };
  reg.Class<TOpen, TComponent>("TOpen")
      .Field("OnShow", &TOpen::OnShow)
      .Field("Size", &TOpen::Size, 3)
      .Prop(
          "Text", [](const TOpen& o) { return o.hidden; },
          [](TOpen& o, const std::string& v) { o.hidden = "<" + v + ">"; });
  const ClassInfo* ci = reg.FindClass("TOpen");
  EXPECT_EQ(ci->FindProp("OnShow")->Kind(), TTypeKind::Event);
  EXPECT_EQ(ci->FindProp("Size")->Kind(), TTypeKind::Integer);
  TOpen o(nullptr);
  EXPECT_TRUE(ci->FindProp("Size")->IsDefault(o));
  ci->FindProp("Size")->SetOrd(o, 7);
  EXPECT_EQ(o.Size, 7);
  ci->FindProp("Text")->SetStr(o, "x");
  EXPECT_EQ(ci->FindProp("Text")->GetStr(o), "<x>");
  int shown = 0;
  ci->FindProp("OnShow")->SetEvent(o, std::any(TNotifyEvent([&](TObject*) { ++shown; })));
  EXPECT_TRUE(ci->FindProp("OnShow")->EventAssigned(o));
  o.OnShow(&o);
  EXPECT_EQ(shown, 1);
  ci->FindProp("OnShow")->SetEvent(o, std::any());
  EXPECT_FALSE(static_cast<bool>(o.OnShow));
}

TEST_F(ClassRegistryTest, RegistrationMistakesAreInternalErrors) {
  class TNoMacro : public TTestComponent {
   public:
    using TTestComponent::TTestComponent;
  };
  EXPECT_THROW((reg.Class<TNoMacro, TTestComponent>("TNoMacro")), EInternalError);
  class TOrphan : public TTestPanel {
    PELLMORE_CLASS(TOrphan, TTestPanel)
  };
  ClassRegistry fresh;  // knows TComponent but not TTestComponent/TTestPanel
  EXPECT_THROW((fresh.Class<TOrphan, TTestPanel>("TOrphan")), EInternalError);
  EXPECT_THROW((reg.Class<TOrphan, TTestPanel>("TWrongName")), EInternalError);
  enum TUnknownEnum { ueA };
  class TUsesEnum : public TComponent {
    PELLMORE_CLASS(TUsesEnum, TComponent)

   public:
    using TComponent::TComponent;
    TUnknownEnum E() const { return ueA; }
    void SetE(TUnknownEnum) {}
  };
  EXPECT_THROW(
      (reg.Class<TUsesEnum, TComponent>("TUsesEnum").Prop("E", &TUsesEnum::E, &TUsesEnum::SetE)),
      EInternalError);
}

TEST_F(ClassRegistryTest, RegisteringAgainReplacesAndUnregisterHidesTheName) {
  reg.Class<TTestPanel, TTestComponent>("TTestPanel")
      .Prop("Extra", &TTestPanel::Caption, &TTestPanel::SetCaption);
  EXPECT_NE(reg.FindClass("TTestPanel")->FindProp("Extra"), nullptr);
  reg.Class<TTestPanel, TTestComponent>("TTestPanel");
  EXPECT_EQ(reg.FindClass("TTestPanel")->FindProp("Extra"), nullptr);
  reg.Unregister("TTestPanel");
  EXPECT_EQ(reg.FindClass("TTestPanel"), nullptr);
  EXPECT_NE(reg.FindClass(TTestPanel::StaticMetaClass()), nullptr);
}

TEST_F(ClassRegistryTest, AResetLeavesOnlyTheFrameworkClasses) {
  reg.RegisterDescription("TTestForm", "x.dfm", "object F: TTestForm end");
  ProcessState::ResetAll();
  EXPECT_EQ(reg.FindClass("TTestComponent"), nullptr);
  EXPECT_EQ(reg.FindEnum(typeid(TTestKind)), nullptr);
  EXPECT_EQ(reg.FindDescription("TTestForm"), nullptr);
  for (const char* name : {"TObject", "TPersistent", "TComponent", "TStrings", "TStringList",
                           "TCollection", "TCollectionItem"})
    EXPECT_NE(reg.FindClass(name), nullptr) << name;
}

}  // namespace
