#include "controls/input_box.h"

#include "interaction.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

std::optional<QString> askForText(QWidget* parent, const QString& caption, const QString& prompt,
                                  const QString& proposal) {
  QDialog box(parent);
  box.setObjectName(QStringLiteral("TfrmKode"));
  box.setWindowTitle(caption);
  auto* field = new QLineEdit(proposal, &box);
  field->setObjectName(QStringLiteral("txtKode"));
  field->setMinimumWidth(260);
  field->selectAll();
  auto* label = new QLabel(prompt, &box);
  label->setBuddy(field);
  auto* ok = new QPushButton(QStringLiteral("&OK"), &box);
  ok->setObjectName(QStringLiteral("cmdOk"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Annuller"), &box);
  cancel->setObjectName(QStringLiteral("cmdAnnuller"));
  QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &box, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(label);
  layout->addWidget(field);
  layout->addLayout(buttons);
  if (platform::runModal(&box, parent) != QDialog::Accepted) return std::nullopt;
  return field->text().trimmed();
}
