// Malformed form descriptions: one table line per fault with the file, line,
// column and reason it must report, and nothing half-built left behind;
// truncated input at every length fails cleanly.
#include <gtest/gtest.h>

#include "FormTestClasses.h"
#include "support/Fixture.h"

namespace {

using namespace formtest;

class FormErrorsTest : public PellmoreTest {
 protected:
  FormErrorsTest() { RegisterTestClasses(ClassRegistry::Global()); }
};

struct Case {
  const char* what;
  std::string text;
  int line;
  int column;
  const char* reason;
};

// A form with one component C whose body is `body` (starting on line 3).
std::string WithComponent(const std::string& body) {
  return "object F: TTestForm\n  object C: TTestComponent\n" + body + "\n  end\nend\n";
}

TEST_F(FormErrorsTest, EachFaultIsReportedWithItsPlace) {
  const Case cases[] = {
      {"empty input", "", 1, 1, "Expected 'object' but found end of file"},
      {"unknown root class", "object F: TNope end", 1, 11, "Class TNope not found"},
      {"unknown class", "object F: TTestForm\n  object A: TNope\n  end\nend", 2, 13,
       "Class TNope not found"},
      {"root of another class", "object F: TTestComponent end", 1, 11,
       "The description is for a TTestComponent, not for a TTestForm"},
      {"class not creatable", "object F: TTestForm\n  object X: TTestUncreatable end\nend", 2, 13,
       "Class TTestUncreatable cannot be created"},
      {"unknown property", "object F: TTestForm\n  Colour = 1\nend", 2, 3,
       "Property Colour does not exist in TTestForm"},
      {"unknown nested property", WithComponent("    Font.Weight = 1"), 3, 5,
       "Property Weight does not exist in TTestFont"},
      {"sub-property of a plain value", WithComponent("    Caption.Size = 1"), 3, 5,
       "Property Caption of TTestComponent has no properties of its own"},
      {"object given a value", WithComponent("    Font = 1"), 3, 12,
       "Property Font is an object: set its properties (Font.Name = ...)"},
      {"integer for a string", "object F: TTestForm\n  Caption = 12\nend", 2, 13,
       "Property Caption needs a string, not an integer"},
      {"string for an integer", "object F: TTestForm\n  Width = 'wide'\nend", 2, 11,
       "Property Width needs an integer, not a string"},
      {"float for an integer", WithComponent("    Count = 1.5"), 3, 13,
       "Property Count needs an integer, not a floating-point number"},
      {"set for an enumeration", WithComponent("    Kind = [tkBeta]"), 3, 12,
       "Property Kind needs an enumeration value, not a set"},
      {"number in a string list", WithComponent("    Lines = ('a' 2)"), 3, 18,
       "String list Lines takes strings, not an integer"},
      {"string for a reference", WithComponent("    Link = 'C'"), 3, 12,
       "Property Link needs a component reference, not a string"},
      {"unterminated object",
       "object F: TTestForm\n  object C: TTestComponent\n    Caption = 'x'\n  end\n", 1, 1,
       "Object F: TTestForm has no matching 'end'"},
      {"unterminated inner object", "object F: TTestForm\n  object C: TTestComponent\n", 2, 3,
       "Object C: TTestComponent has no matching 'end'"},
      {"unterminated string", "object F: TTestForm\n  Caption = 'abc\nend", 2, 13,
       "Unterminated string"},
      {"dangling reference", WithComponent("    Link = Nobody"), 3, 12,
       "Component Nobody referenced by C.Link not found"},
      {"dangling dotted reference", WithComponent("    Link = F.C.Nobody"), 3, 12,
       "Component F.C.Nobody referenced by C.Link not found"},
      {"reference of the wrong class", WithComponent("    Peer = F"), 3, 12,
       "Component F is a TTestForm; C.Peer needs a TTestComponent"},
      {"duplicate name",
       "object F: TTestForm\n  object C: TTestComponent end\n  object c: TTestComponent end\nend",
       3, 10, "A component named c already exists"},
      {"bad number", "object F: TTestForm\n  Width = 12x\nend", 2, 11, "Invalid number 12x"},
      {"number too big", "object F: TTestForm\n  Width = 99999999999999999999\nend", 2, 11,
       "Number out of range: 99999999999999999999"},
      {"value out of range", "object F: TTestForm\n  Width = 99999999999\nend", 2, 11,
       "Value 99999999999 out of range for property Width (-2147483648..2147483647)"},
      {"negative for unsigned", WithComponent("    Small = -1"), 3, 13,
       "Value -1 out of range for property Small (0..255)"},
      {"unknown enumerator", WithComponent("    Kind = tkDelta"), 3, 12,
       "Unknown identifier tkDelta for property Kind of type TTestKind"},
      {"unknown set element", WithComponent("    Kinds = [tkAlpha, tkOmega]"), 3, 23,
       "Unknown identifier tkOmega for property Kinds of type TTestKind"},
      {"unknown constant", WithComponent("    Font.Color = clPurple"), 3, 18,
       "Unknown identifier clPurple for property Font.Color"},
      {"not a boolean", WithComponent("    Enabled = Yes"), 3, 15,
       "Unknown identifier Yes for property Enabled: True or False expected"},
      {"unknown event handler", "object F: TTestForm\n  OnCreate = FormCreat\nend", 2, 14,
       "Event handler FormCreat not found in TTestForm"},
      {"handler of another type", WithComponent("    OnClick = AskUser"), 3, 15,
       "Event handler AskUser does not fit event OnClick"},
      {"inherited component missing",
       "object F: TTestForm\n  inherited Ghost: TTestComponent\n  end\nend", 2, 13,
       "Inherited component Ghost not found"},
      {"component nested inside itself",
       "object F: TTestForm\n  object A: TTestPanel\n    object B: TTestPanel\n"
       "      inherited A: TTestPanel\n      end\n    end\n  end\nend",
       4, 17, "Component A cannot be nested inside itself"},
      {"inherited form without ancestor", "inherited F: TTestForm\nend", 1, 1,
       "No form description of an ancestor of TTestForm is registered"},
      {"invalid character code", WithComponent("    Caption = #55296"), 3, 15,
       "Invalid character code"},
      {"character code too big", WithComponent("    Caption = 'a'#1114112"), 3, 18,
       "Invalid character code"},
      {"invalid UTF-8", WithComponent("    Caption = 'a\xFF'"), 3, 17, "Invalid UTF-8 in string"},
      {"odd hex digits", WithComponent("    Picture.Data = {ABC}"), 3, 23,
       "Odd number of hexadecimal digits in binary data"},
      {"bad hex digit", WithComponent("    Picture.Data = {0G}"), 3, 22,
       "Invalid hexadecimal digit 'G' in binary data"},
      {"unterminated binary", "object F: TTestForm\n  X = {0102", 2, 7,
       "Unterminated binary data: '}' expected"},
      {"unterminated list", "object F: TTestForm\n  X = ('a'", 2, 7,
       "Unterminated list: ')' expected"},
      {"unterminated set", "object F: TTestForm\n  X = [a,", 2, 7,
       "Unterminated set: ']' expected"},
      {"unterminated collection", "object F: TTestForm\n  X = < item end", 2, 7,
       "Unterminated collection: '>' expected"},
      {"unterminated item", "object F: TTestForm\n  X = < item A = 1", 2, 9,
       "Collection item has no matching 'end'"},
      {"missing equals", "object F: TTestForm\n  Caption 'x'\nend", 2, 11,
       "Expected '=' but found a string"},
      {"garbage after the end", "object F: TTestForm end junk", 1, 25,
       "Unexpected 'junk' after the end of the description"},
      {"unexpected character", "object F: TTestForm\n  Caption = @\nend", 2, 13,
       "Unexpected character '@'"},
      {"plus without string", "object F: TTestForm\n  Caption = 'a' + 1\nend", 2, 19,
       "Expected a string after '+' but found a number"},
      {"control character", "object F: TTestForm\x01 end", 1, 20, "Unexpected character #1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TTestForm> form(new TTestForm(nullptr));
    try {
      ReadForm(*form, c.text, "bad.dfm");
      ADD_FAILURE() << "no error";
    } catch (const EFormError& e) {
      EXPECT_EQ(e.FileName(), "bad.dfm");
      EXPECT_EQ(e.Line(), c.line);
      EXPECT_EQ(e.Column(), c.column);
      EXPECT_EQ(e.Reason(), c.reason);
      EXPECT_EQ(e.Message(), "bad.dfm, line " + std::to_string(c.line) + ", column " +
                                 std::to_string(c.column) + ": " + c.reason);
    }
    EXPECT_EQ(form->ComponentCount(), 0);  // nothing half-built stays
    EXPECT_FALSE(form->InState(csLoading));
    EXPECT_FALSE(form->InState(csReading));
  }
}

TEST_F(FormErrorsTest, AnAncestorsErrorNamesTheAncestorsFile) {
  ClassRegistry::Global().RegisterDescription("TTestForm", "Base.dfm",
                                              "object B: TTestForm\n  Width = 'x'\nend");
  Owned<TTestDerivedForm> form(new TTestDerivedForm(nullptr));
  try {
    ReadForm(*form, "inherited D: TTestDerivedForm\nend", "Derived.dfm");
    FAIL();
  } catch (const EFormError& e) {
    EXPECT_EQ(e.FileName(), "Base.dfm");
    EXPECT_EQ(e.Line(), 2);
  }
}

TEST_F(FormErrorsTest, CreateFromFormLeavesNothingOnError) {
  TComponent owner(nullptr);
  EXPECT_THROW(
      CreateFromForm("object R: TTestForm\n  object A: TTestComponent end\n  Width = x\nend",
                     "r.dfm", &owner),
      EFormError);
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_THROW(CreateFromForm("object R: TNope end", "r.dfm", &owner), EFormError);
  EXPECT_THROW(CreateFromForm("object R: TStringList end", "r.dfm", &owner), EFormError);
}

TEST_F(FormErrorsTest, TruncatedInputFailsCleanlyAtEveryLength) {
  const std::string full = R"(object Form1: TTestForm
  Caption = 'Tr'#13#10'unc ' +
    'ated'
  OnCreate = FormCreate
  object P: TTestPanel
    Ratio = -1.5e-3
    Kinds = [tkBeta, tkGamma]
    Lines = (
      'a'
      'b')
    Items = <
      item
        Caption = 'x'
        Target = Q
      end>
    Picture.Data = {
      0A0B}
    Link = Q
    object Q: TTestPanel
      Big = $FF
      Font.Style = [tsBold]
    end
  end
end
)";
  {
    Owned<TTestForm> whole(new TTestForm(nullptr));
    ReadForm(*whole, full, "full.dfm");  // the untruncated text is valid
  }
  const size_t lastEnd = full.rfind("end");
  for (size_t n = 0; n < full.size(); ++n) {
    Owned<TTestForm> form(new TTestForm(nullptr));
    try {
      ReadForm(*form, std::string_view(full).substr(0, n), "cut.dfm");
      EXPECT_GE(n, lastEnd + 3) << "a cut at " << n << " was accepted";
    } catch (const EFormError& e) {
      EXPECT_LT(n, lastEnd + 3) << e.Message();
      EXPECT_EQ(form->ComponentCount(), 0);
    }
  }
}

}  // namespace
