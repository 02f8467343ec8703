#include "kode_dialog.h"

#include "interaction.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmKode::TfrmKode(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TfrmKode"));
  setWindowTitle(QStringLiteral("Skriv kodeord"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* line = new QHBoxLayout;
  auto* label = new QLabel(QStringLiteral("Kodeord:"));
  txtKode = new QLineEdit;
  txtKode->setObjectName(QStringLiteral("txtKode"));
  txtKode->setEchoMode(QLineEdit::Password);
  txtKode->setMinimumWidth(180);
  label->setBuddy(txtKode);
  line->addWidget(label);
  line->addWidget(txtKode, 1);
  layout->addLayout(line);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  cmdOK = new QPushButton(QStringLiteral("&OK"));
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  cmdAnnuller = new QPushButton(QStringLiteral("Annuller"));
  cmdAnnuller->setObjectName(QStringLiteral("cmdAnnuller"));
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdAnnuller);
  layout->addLayout(buttons);
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdAnnuller, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmKode::ask(QString& password) {
  txtKode->clear();
  txtKode->setFocus();
  if (platform::runModal(this, parentWidget()) != QDialog::Accepted) return false;
  password = txtKode->text();
  txtKode->clear();
  return true;
}
