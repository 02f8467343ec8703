#include "dialogs/password_prompt.h"

#include "interaction.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmKode::TfrmKode(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TfrmKode"));
  setWindowTitle(QStringLiteral("Skriv kodeord"));
  txtKode = new QLineEdit(this);
  txtKode->setObjectName(QStringLiteral("txtKode"));
  txtKode->setEchoMode(QLineEdit::Password);
  txtKode->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  txtKode->setMinimumWidth(200);
  auto* label = new QLabel(QStringLiteral("Kodeord:"), this);
  label->setBuddy(txtKode);
  cmdOk = new QPushButton(QStringLiteral("&OK"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  cmdAnnuller = new QPushButton(QStringLiteral("Annuller"), this);
  cmdAnnuller->setObjectName(QStringLiteral("cmdAnnuller"));
  connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdAnnuller, &QPushButton::clicked, this, &QDialog::reject);

  auto* field = new QHBoxLayout;
  field->addWidget(label);
  field->addWidget(txtKode, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdAnnuller);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(field);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  txtKode->setFocus();
}

std::optional<QString> TfrmKode::ask(QWidget* parent) {
  TfrmKode prompt(parent);
  if (platform::runModal(&prompt, parent) != QDialog::Accepted) return std::nullopt;
  return prompt.txtKode->text();
}
