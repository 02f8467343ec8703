#include "settings/browser_entry_dialog.h"

#include "interaction.h"
#include "startup/splash.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

BrowserEntryDialog::BrowserEntryDialog(const QString& name, const QString& path, QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(name, this)), path_(new QLineEdit(path, this)) {
  const bool adding = name.isEmpty() && path.isEmpty();
  setWindowTitle(adding ? QStringLiteral("Browser - tilføj") : QStringLiteral("Browser - rediger"));
  name_->setObjectName(QStringLiteral("txt1"));
  path_->setObjectName(QStringLiteral("txt2"));
  auto* nameLabel = new QLabel(QStringLiteral("&Navn:"), this);
  auto* pathLabel = new QLabel(QStringLiteral("&Sti og filnavn:"), this);
  nameLabel->setObjectName(QStringLiteral("lbl1"));
  pathLabel->setObjectName(QStringLiteral("lbl2"));
  nameLabel->setBuddy(name_);
  pathLabel->setBuddy(path_);
  path_->setMinimumWidth(280);

  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Annuller"), this);
  ok->setObjectName(QStringLiteral("cmdOk"));
  cancel->setObjectName(QStringLiteral("cmdAnnuller"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { confirm(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->addWidget(nameLabel, 0, 0);
  grid->addWidget(name_, 0, 1);
  grid->addWidget(pathLabel, 1, 0);
  grid->addWidget(path_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 2, 0, 1, 2);
}

QString BrowserEntryDialog::name() const { return name_->text().trimmed(); }

QString BrowserEntryDialog::path() const { return path_->text().trimmed(); }

void BrowserEntryDialog::confirm() {
  if (name().isEmpty() || path().isEmpty()) {
    platform::messageBox(this, QStringLiteral("Du skal angive både stien til browseren og et navn."),
                         morvel::productName(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  accept();
}
