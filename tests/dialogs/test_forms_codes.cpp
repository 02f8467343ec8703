// The form elements the forms dialog builds, and the fields it reads back
// from elements standing in a page.
#include "dialogs/edited_element.h"
#include "dialogs/forms_codes.h"

#include <gtest/gtest.h>

namespace {

using morvel::FormFields;
namespace fk = morvel::form_kind;

FormFields fields(int kind) {
  FormFields f;
  f.kind = kind;
  return f;
}

// What the edit-element command hands over for the element at `caret`,
// keeping unknown attributes or not.
FormFields edited(std::string_view page, std::size_t caret = 2, bool keepUnknown = true) {
  const morvel::ElementToEdit found = morvel::findElementToEdit(page, caret, keepUnknown);
  EXPECT_EQ(found.result, morvel::ElementSearch::Found) << page;
  const morvel::FormAttributes* form = found.element.as<morvel::FormAttributes>();
  EXPECT_NE(form, nullptr) << page;
  return morvel::formFields(found.element.kind, form ? *form : morvel::FormAttributes{}, found.element.keptAttributes);
}

TEST(FormsCodes, InputFieldsCarryTheirTypeAndOnlyTheAttributesWithValues) {
  FormFields text = fields(fk::kText);
  text.name = "x";
  EXPECT_EQ(morvel::formStartTag(text), "<INPUT TYPE=\"TEXT\" NAME=\"x\">");
  text.name = "navn";
  text.size = "20";
  EXPECT_EQ(morvel::formStartTag(text), "<INPUT TYPE=\"TEXT\" NAME=\"navn\" SIZE=\"20\">");

  FormFields radio = fields(fk::kRadio);
  radio.name = "svar";
  radio.text = "ja";
  radio.checked = true;
  radio.further = "onClick=\"f()\"";
  EXPECT_EQ(morvel::formStartTag(radio), "<INPUT TYPE=\"RADIO\" NAME=\"svar\" VALUE=\"ja\" onClick=\"f()\" CHECKED>");
  // Size, length and the tick belong to some kinds only, whatever the fields hold.
  FormFields submit = fields(fk::kSubmit);
  submit.size = "5";
  submit.max = "9";
  submit.checked = true;
  submit.text = "Send";
  EXPECT_EQ(morvel::newFormElement(submit, "markeret"), "<INPUT TYPE=\"SUBMIT\" VALUE=\"Send\">");
  EXPECT_EQ(morvel::formStartTag(fields(fk::kReset)), "<INPUT TYPE=\"RESET\">");
  FormFields password = fields(fk::kPassword);
  password.max = "8";
  password.further = " id=p";
  EXPECT_EQ(morvel::formStartTag(password), "<INPUT TYPE=\"PASSWORD\" MAXLENGTH=\"8\" id=p>");
}

TEST(FormsCodes, AQuoteTypedIntoAValueCannotEndTheAttribute) {
  FormFields text = fields(fk::kHidden);
  text.text = "sig \"hej\"";
  EXPECT_EQ(morvel::formStartTag(text), "<INPUT TYPE=\"HIDDEN\" VALUE=\"sig &quot;hej&quot;\">");
}

TEST(FormsCodes, AFormAndATextBoxEncloseTheSelection) {
  FormFields form = fields(fk::kForm);
  form.text = "/cgi-bin/svar";
  form.method = "POST";
  EXPECT_EQ(morvel::newFormElement(form, "T"), "<FORM ACTION=\"/cgi-bin/svar\" METHOD=\"POST\">T</FORM>");
  form.name = "skema";
  form.format = "multipart/form-data";
  EXPECT_EQ(morvel::formStartTag(form),
            "<FORM NAME=\"skema\" ACTION=\"/cgi-bin/svar\" METHOD=\"POST\" ENCTYPE=\"multipart/form-data\">");

  FormFields box = fields(fk::kTextArea);
  box.size = "4";
  box.max = "40";
  box.text = "ignoreret";
  EXPECT_EQ(morvel::newFormElement(box, "tekst"), "<TEXTAREA ROWS=\"4\" COLS=\"40\">tekst</TEXTAREA>");
}

TEST(FormsCodes, AChoiceBoxGetsAnEmptyOptionPerLineOnlyForAWholeNumber) {
  FormFields select = fields(fk::kSelect);
  select.size = "2";
  EXPECT_EQ(morvel::newFormElement(select, "væk"), "<SELECT SIZE=\"2\">\r\n\t<OPTION>\r\n\t<OPTION>\r\n</SELECT>");
  select.size = "to";
  EXPECT_EQ(morvel::newFormElement(select, ""), "<SELECT SIZE=\"to\">\r\n</SELECT>");
  select.size = "-3";
  EXPECT_EQ(morvel::newFormElement(select, ""), "<SELECT SIZE=\"-3\">\r\n</SELECT>");
  // A number no one means as a count of lines makes none rather than a huge page.
  select.size = "99999999999999999999";
  EXPECT_EQ(morvel::newFormElement(select, ""), "<SELECT SIZE=\"99999999999999999999\">\r\n</SELECT>");
}

TEST(FormsCodes, AnEditedInputKeepsItsKindTickAndOtherAttributes) {
  FormFields box = edited("<input type=checkbox name=a checked>");
  EXPECT_EQ(box.kind, fk::kCheckBox);
  EXPECT_TRUE(box.checked);
  EXPECT_EQ(box.name, "a");
  EXPECT_EQ(morvel::formStartTag(box), "<INPUT TYPE=\"CHECKBOX\" NAME=\"a\" CHECKED>");
  // Also when unknown attributes are not kept (the default): the tick is
  // read from the tag itself.
  box = edited("<input type=checkbox name=a checked>", 2, false);
  EXPECT_TRUE(box.checked);
  EXPECT_EQ(box.further, "");
  EXPECT_EQ(morvel::formStartTag(box), "<INPUT TYPE=\"CHECKBOX\" NAME=\"a\" CHECKED>");
  EXPECT_TRUE(edited("<INPUT TYPE=RADIO\tCHECKED/>", 2, false).checked);

  FormFields text = edited("<INPUT TYPE=\"password\" NAME=\"k\" VALUE=\"v\" SIZE=\"9\" MAXLENGTH=\"12\" class=\"x\">");
  EXPECT_EQ(text.kind, fk::kPassword);
  EXPECT_FALSE(text.checked);
  EXPECT_EQ(morvel::formStartTag(text),
            "<INPUT TYPE=\"PASSWORD\" NAME=\"k\" VALUE=\"v\" SIZE=\"9\" MAXLENGTH=\"12\" class=\"x\">");

  // A word that merely begins with CHECKED is no tick.
  FormFields radio = edited("<INPUT TYPE=RADIO checkedness=1>");
  EXPECT_EQ(radio.kind, fk::kRadio);
  EXPECT_FALSE(radio.checked);
  EXPECT_EQ(morvel::formStartTag(radio), "<INPUT TYPE=\"RADIO\" checkedness=1>");
}

TEST(FormsCodes, AnInputWithoutAKnownTypeIsEditedAsATextField) {
  EXPECT_EQ(edited("<INPUT NAME=\"n\">").kind, fk::kText);
  EXPECT_EQ(edited("<INPUT TYPE=\"file\" NAME=\"n\">").kind, fk::kText);
  // "TEXTAREA" and "SELECT" are no TYPE values, and the empty entries match nothing.
  EXPECT_EQ(edited("<INPUT TYPE=\"\" NAME=\"n\">").kind, fk::kText);
  // Written back with its own TYPE, not as "TEXT".
  const FormFields button = edited("<INPUT TYPE=\"button\" NAME=\"b\" VALUE=\"Klik\">");
  EXPECT_EQ(morvel::formStartTag(button), "<INPUT TYPE=\"button\" NAME=\"b\" VALUE=\"Klik\">");
  EXPECT_EQ(morvel::formStartTag(edited("<INPUT NAME=\"n\">")), "<INPUT TYPE=\"TEXT\" NAME=\"n\">");
  // Made into another kind, it takes that kind's TYPE.
  FormFields radio = button;
  radio.kind = fk::kRadio;
  EXPECT_EQ(morvel::formStartTag(radio), "<INPUT TYPE=\"RADIO\" NAME=\"b\" VALUE=\"Klik\">");
}

TEST(FormsCodes, EditedFormsTextBoxesAndChoiceBoxesComeBackAsTheyWere) {
  const std::string form =
      "<FORM ACTION=\"a.cgi\" METHOD=\"GET\" ENCTYPE=\"multipart/form-data\" NAME=\"f\" onSubmit=\"t()\">";
  FormFields f = edited(form + "indhold</FORM>");
  EXPECT_EQ(f.kind, fk::kForm);
  EXPECT_EQ(f.text, "a.cgi");
  EXPECT_EQ(f.method, "GET");
  EXPECT_EQ(morvel::formStartTag(f),
            "<FORM NAME=\"f\" ACTION=\"a.cgi\" METHOD=\"GET\" ENCTYPE=\"multipart/form-data\" onSubmit=\"t()\">");

  FormFields box = edited("<TEXTAREA NAME=\"b\" ROWS=3 COLS=30>x</TEXTAREA>");
  EXPECT_EQ(box.kind, fk::kTextArea);
  EXPECT_EQ(morvel::formStartTag(box), "<TEXTAREA NAME=\"b\" ROWS=\"3\" COLS=\"30\">");

  FormFields select = edited("<SELECT NAME=\"s\" SIZE=\"2\" multiple>");
  EXPECT_EQ(select.kind, fk::kSelect);
  EXPECT_EQ(morvel::formStartTag(select), "<SELECT NAME=\"s\" SIZE=\"2\" multiple>");
}

}  // namespace
