// Form descriptions as careless editors and hostile users hand them in: a
// UTF-8 byte-order mark, UTF-16 of either byte order, properties meant to be
// read and ignored carrying values of every syntax, and forms of many
// thousands of sibling components, which must read in time linear in
// their size.
#include <gtest/gtest.h>

#include <string>

#include "FormTestClasses.h"
#include "framework/Classes.h"
#include "framework/ControlsRegistration.h"
#include "framework/FormParser.h"
#include "framework/FormWriter.h"
#include "framework/Forms.h"
#include "support/Fixture.h"

namespace {

using namespace formtest;

// A component with nothing but a reference to another one: what a large
// form is mostly made of, without the test classes' own bookkeeping.
class TSibling : public TComponent {
  PELLMORE_CLASS(TSibling, TComponent)

 public:
  using TComponent::TComponent;
  inline static int64_t Heard = 0;  // notifications received, all instances

  TComponent* Link() const { return link_; }
  void SetLink(TComponent* v) {
    if (link_) link_->RemoveFreeNotification(this);
    link_ = v;
    if (link_) link_->FreeNotification(this);
  }
  void Notification(TComponent* c, TOperation op) override {
    ++Heard;
    TComponent::Notification(c, op);
    if (op == opRemove && c == link_) link_ = nullptr;
  }

 protected:
  const TMetaClass* NotificationOnlyForLinks() const noexcept override {
    return &StaticMetaClass();
  }

 private:
  TComponent* link_ = nullptr;
};

class FormInputTest : public PellmoreTest {
 protected:
  FormInputTest() {
    RegisterControls(ClassRegistry::Global());
    RegisterTestClasses(ClassRegistry::Global());
    ClassRegistry::Global()
        .Class<TSibling, TComponent>("TSibling")
        .Prop("Link", &TSibling::Link, &TSibling::SetLink);
  }
};

// UTF-16 of `ascii` in the given byte order, with or without its mark.
std::string Utf16(const std::string& ascii, bool littleEndian, bool mark) {
  std::string out;
  if (mark) out += littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (char c : ascii) {
    out += littleEndian ? c : '\0';
    out += littleEndian ? '\0' : c;
  }
  return out;
}

TEST_F(FormInputTest, AUtf8MarkIsSkippedAndUtf16IsRefusedByName) {
  const std::string form = "object F: TTestForm\n  Caption = 'Caf\xC3\xA9'\nend\n";
  struct Case {
    const char* what;
    std::string text;
    const char* error;  // null: reads as `form` does
    int line = 1, column = 1;
  };
  const Case cases[] = {
      {"plain UTF-8", form, nullptr},
      {"UTF-8 mark", "\xEF\xBB\xBF" + form, nullptr},
      {"UTF-16LE with mark", Utf16(form, true, true),
       "UTF-16 is not supported: save the description as UTF-8"},
      {"UTF-16BE with mark", Utf16(form, false, true),
       "UTF-16 is not supported: save the description as UTF-8"},
      {"UTF-16LE without mark", Utf16(form, true, false),
       "UTF-16 is not supported: save the description as UTF-8"},
      {"UTF-16BE without mark", Utf16(form, false, false),
       "UTF-16 is not supported: save the description as UTF-8"},
      // Positions count from after the mark.
      {"UTF-8 mark, then an error",
       "\xEF\xBB\xBF"
       "object F: TTestForm\n  Colour = 1\nend",
       "Property Colour does not exist in TTestForm", 2, 3},
      {"a mark alone", "\xEF\xBB\xBF", "Expected 'object' but found end of file"},
      {"a mark in the middle", "object F: TTestForm\n  Caption = \xEF\xBB\xBF'x'\nend",
       "Unexpected character #239", 2, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TTestForm> read(new TTestForm(nullptr));
    try {
      ReadForm(*read, c.text, "in.dfm");
      EXPECT_EQ(c.error, nullptr) << "accepted";
      EXPECT_EQ(read->Caption(), "Caf\xC3\xA9");
      EXPECT_EQ(read->Name(), "F");
    } catch (const EFormError& e) {
      ASSERT_NE(c.error, nullptr) << e.Message();
      EXPECT_EQ(e.Reason(), c.error);
      EXPECT_EQ(e.Line(), c.line);
      EXPECT_EQ(e.Column(), c.column);
      EXPECT_EQ(read->Caption(), "");  // nothing was applied
    }
  }
}

TEST_F(FormInputTest, IgnoredPropertiesTakeAnyValueAndChangeNothing) {
  // Every value syntax a description may hold, for each property that is
  // read and dropped.
  const char* const values[] = {
      "False",
      "True",
      "SomeIdent.Dotted",
      "96",
      "-1",
      "$FF",
      "1.5e3",
      "'text' + 'more'",
      "#13#10",
      "[]",
      "[a, b]",
      "('a' 1 x)",
      "()",
      "{0A0B}",
      "{}",
      "<item A = 1 end>",
      "<>",
  };
  for (const char* prop : {"OldCreateOrder", "Scaled", "PixelsPerInch", "TextHeight"}) {
    for (const char* value : values) {
      SCOPED_TRACE(std::string(prop) + " = " + value);
      const std::string text = std::string("object F: TForm\n  Caption = 'Kept'\n  ") + prop +
                               " = " + value + "\n  " + prop + ".Below = 1\n  ClientWidth = 321\n" +
                               "end\n";
      Owned<TForm> form(new TForm(nullptr));
      ReadForm(*form, text, "ignored.dfm");
      EXPECT_EQ(form->Caption(), "Kept");
      EXPECT_EQ(form->ClientWidth(), 321);
      // Never written back: the written form reads the same without it.
      const std::string written = WriteForm(*form);
      EXPECT_EQ(written.find(prop), std::string::npos) << written;
    }
  }
  // The syntax itself is still checked, and other properties stay strict.
  Owned<TForm> form(new TForm(nullptr));
  EXPECT_THROW(ReadForm(*form, "object F: TForm\n  Scaled = \nend\n", "bad.dfm"), EFormError);
  try {
    ReadForm(*form, "object F: TForm\n  Visible = Maybe\nend\n", "bad.dfm");
    ADD_FAILURE() << "a real property took a bad value";
  } catch (const EFormError& e) {
    EXPECT_EQ(e.Reason(), "Unknown identifier Maybe for property Visible: True or False expected");
  }
}

TEST_F(FormInputTest, ManySiblingsReadAndGoInLinearTime) {
  // 20,000 siblings that refer to each other by name. Checking each new
  // name against every sibling, or announcing each new component (or each
  // leaving one) to every sibling, made reading, destroying or undoing such
  // a form take seconds to minutes, growing with the square of its size.
  // Counted, not timed: each sibling may hear only of those it links to.
  constexpr int n = 20000;
  std::string text = "object F: TTestForm\n";
  for (int i = 0; i < n; ++i) {
    text += "  object C" + std::to_string(i) + ": TSibling\n";
    text += "    Link = C" + std::to_string((i * 7919) % n) + "\n  end\n";
  }
  text += "end\n";
  Owned<TTestForm> form(new TTestForm(nullptr));
  TSibling::Heard = 0;
  ReadForm(*form, text, "many.dfm");
  EXPECT_LT(TSibling::Heard, n) << "joining components were announced to their siblings";
  ASSERT_EQ(form->ComponentCount(), n);
  auto* last = static_cast<TSibling*>(form->FindComponent("c" + std::to_string(n - 1)));
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->Link(), form->FindComponent("C" + std::to_string((int64_t{n - 1} * 7919) % n)));

  // Destroyed: each leaving one is announced to the (at most two) siblings
  // linked to it that are still there.
  TSibling::Heard = 0;
  form.reset();
  EXPECT_LE(TSibling::Heard, 2 * n) << "leaving components were announced to every sibling";

  // Refused at its very end: the read undoes what it created the same way.
  text.insert(text.size() - 4, "  object Bad: TSibling\n    Link = Nowhere\n  end\n");
  Owned<TTestForm> refused(new TTestForm(nullptr));
  TSibling::Heard = 0;
  try {
    ReadForm(*refused, text, "many.dfm");
    ADD_FAILURE() << "a reference to a missing component was accepted";
  } catch (const EFormError& e) {
    EXPECT_EQ(e.Reason(), "Component Nowhere referenced by Bad.Link not found");
  }
  EXPECT_EQ(refused->ComponentCount(), 0);
  EXPECT_LE(TSibling::Heard, 3 * n) << "the undo announced each leaving one to every sibling";
}

}  // namespace
