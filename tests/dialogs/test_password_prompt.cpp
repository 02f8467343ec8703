// The password prompt, as the publishing window asks it.
#include "dialog_run.h"

#include "dialogs/password_prompt.h"

#include <QLabel>

namespace {

using dialog_test::control;

TEST(PasswordPrompt, GivesWhatWasTypedOnOkAndNothingOnCancel) {
  testing_support::ScriptedResponder responder;
  responder.answer([](platform::Request& r) {
    EXPECT_EQ(r.caption, "Skriv kodeord");
    auto* field = control<QLineEdit>(*r.form, "txtKode");
    // The characters do not show.
    EXPECT_EQ(field->echoMode(), QLineEdit::Password);
    EXPECT_EQ(r.form->focusWidget(), field);
    EXPECT_EQ(field->text(), "");
    EXPECT_TRUE(control<QPushButton>(*r.form, "cmdOk")->isDefault());
    EXPECT_NE(r.form->findChild<QLabel*>()->text().indexOf(QStringLiteral("Kodeord:")), -1);
    field->setText(QStringLiteral("hemmeligt æøå"));
    control<QPushButton>(*r.form, "cmdOk")->click();
    return r.form->result();
  });
  EXPECT_EQ(TfrmKode::ask(nullptr), std::optional<QString>(QStringLiteral("hemmeligt æøå")));

  responder.answer([](platform::Request& r) {
    control<QLineEdit>(*r.form, "txtKode")->setText(QStringLiteral("x"));
    control<QPushButton>(*r.form, "cmdAnnuller")->click();
    return r.form->result();
  });
  EXPECT_EQ(TfrmKode::ask(nullptr), std::nullopt);

  // An empty password is an answer, not a cancel.
  responder.answer([](platform::Request& r) {
    control<QPushButton>(*r.form, "cmdOk")->click();
    return r.form->result();
  });
  EXPECT_EQ(TfrmKode::ask(nullptr), std::optional<QString>(QString()));
}

}  // namespace
