// The form description parser on its own: values of every kind, string
// pieces and character codes, nesting, headers and positions.
#include <gtest/gtest.h>

#include "framework/FormParser.h"

namespace {

FormValue ValueOf(const std::string& text) {
  const FormObject o = ParseFormDescription("object X: T\n  P = " + text + "\nend\n", "v.dfm");
  EXPECT_EQ(o.properties.size(), 1u);
  return o.properties.at(0).value;
}

TEST(FormParser, Numbers) {
  EXPECT_EQ(ValueOf("42").integer, 42);
  EXPECT_EQ(ValueOf("-7").integer, -7);
  EXPECT_EQ(ValueOf("$1F").integer, 31);
  EXPECT_EQ(ValueOf("-9223372036854775808").integer, INT64_MIN);
  const FormValue f = ValueOf("1.25");
  EXPECT_EQ(f.kind, FormValue::Kind::Float);
  EXPECT_EQ(f.number, 1.25);
  EXPECT_EQ(ValueOf("-2.5e3").number, -2500);
  EXPECT_EQ(ValueOf("1E-2").kind, FormValue::Kind::Float);
}

TEST(FormParser, StringsJoinPiecesCodesAndPlusAcrossLines) {
  EXPECT_EQ(ValueOf("'it''s'").text, "it's");
  EXPECT_EQ(ValueOf("''").text, "");
  EXPECT_EQ(ValueOf("'a'#13#10'b'").text, "a\r\nb");
  EXPECT_EQ(ValueOf("#20320#22909").text, "你好");
  EXPECT_EQ(ValueOf("#$41#66").text, "AB");
  EXPECT_EQ(ValueOf("#128512").text, "\xF0\x9F\x98\x80");
  EXPECT_EQ(ValueOf("'one ' +\n    'two' +\n 'three'").text, "one twothree");
  EXPECT_EQ(ValueOf("'中文'").text, "中文");
  EXPECT_EQ(ValueOf("#0").text, std::string(1, '\0'));
}

TEST(FormParser, IdentifiersSetsListsBinaryAndCollections) {
  const FormValue id = ValueOf("Form1.Button1");
  EXPECT_EQ(id.kind, FormValue::Kind::Ident);
  EXPECT_EQ(id.text, "Form1.Button1");
  const FormValue set = ValueOf("[tkAlpha, tkGamma]");
  ASSERT_EQ(set.elements.size(), 2u);
  EXPECT_EQ(set.elements[1].first, "tkGamma");
  EXPECT_EQ(ValueOf("[]").elements.size(), 0u);
  const FormValue list = ValueOf("(\n 'a'\n 'b' 3)");
  ASSERT_EQ(list.items.size(), 3u);
  EXPECT_EQ(list.items[1].text, "b");
  EXPECT_EQ(list.items[2].integer, 3);
  EXPECT_EQ(ValueOf("()").items.size(), 0u);
  EXPECT_EQ(ValueOf("{ 00 ff\n  1A }").bytes, (Bytes{0x00, 0xFF, 0x1A}));
  EXPECT_EQ(ValueOf("{}").bytes, Bytes{});
  const FormValue coll = ValueOf("<\n item\n  A = 1\n  B.C = 'x'\n end\n item end>");
  ASSERT_EQ(coll.collection.size(), 2u);
  EXPECT_EQ(coll.collection[0].properties[1].path, "B.C");
  EXPECT_TRUE(coll.collection[1].properties.empty());
}

TEST(FormParser, ObjectsHeadersAndPositions) {
  const FormObject o = ParseFormDescription(
      "OBJECT Form1: TForm\n"
      "  Font.Style = [tsBold]\n"
      "  object TLabel\n"
      "  END\n"
      "  inherited Panel1: TPanel\n"
      "    object Btn: TButton end\n"
      "  end\n"
      "end",
      "h.dfm");
  EXPECT_FALSE(o.inherited);
  EXPECT_EQ(o.name, "Form1");
  EXPECT_EQ(o.className, "TForm");
  EXPECT_EQ(o.classPos.line, 1);
  EXPECT_EQ(o.classPos.column, 15);
  EXPECT_EQ(o.properties[0].path, "Font.Style");
  EXPECT_EQ(o.properties[0].pos.line, 2);
  EXPECT_EQ(o.properties[0].pos.column, 3);
  ASSERT_EQ(o.children.size(), 2u);
  EXPECT_EQ(o.children[0].name, "");
  EXPECT_EQ(o.children[0].className, "TLabel");
  EXPECT_TRUE(o.children[1].inherited);
  EXPECT_EQ(o.children[1].children[0].name, "Btn");
}

TEST(FormParser, ColumnsCountCharactersNotBytes) {
  try {
    ParseFormDescription("object X: T\n  P = '中文' @\nend", "c.dfm");
    FAIL();
  } catch (const EFormError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_EQ(e.Column(), 12);
    EXPECT_EQ(e.Reason(), "Unexpected character '@'");
    EXPECT_EQ(e.Message(), "c.dfm, line 2, column 12: Unexpected character '@'");
  }
}

TEST(FormParser, DeepNestingIsRefusedNotOverflowed) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "object A: T ";
  try {
    ParseFormDescription(text, "deep.dfm");
    FAIL();
  } catch (const EFormError& e) {
    EXPECT_EQ(e.Reason(), "Nesting too deep");
  }
}

}  // namespace
