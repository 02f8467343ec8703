#include "certificate_dialog.h"

#include "interaction.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using morvel::ftp::FtpCertificate;
using morvel::ftp::TCertificateAnswer;

namespace {

QLabel* valueLabel(const char* name) {
  auto* label = new QLabel;
  label->setObjectName(QString::fromLatin1(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  return label;
}

QString when(const QDateTime& time) {
  return time.isValid() ? time.toLocalTime().toString(QStringLiteral("dd-MM-yyyy hh:mm")) : QStringLiteral("?");
}

}  // namespace

TfrmCertifikat::TfrmCertifikat(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TfrmCertifikat"));
  setWindowTitle(QStringLiteral("Serverens certifikat"));
  setModal(true);
  // Wide enough for the fingerprint on one line.
  setMinimumWidth(720);
  auto* layout = new QVBoxLayout(this);
  lblProblem = valueLabel("lblProblem");
  layout->addWidget(lblProblem);
  auto* form = new QFormLayout;
  lblEmne = valueLabel("lblEmne");
  lblUdsteder = valueLabel("lblUdsteder");
  lblGyldig = valueLabel("lblGyldig");
  lblFingeraftryk = valueLabel("lblFingeraftryk");
  lblFingeraftryk->setFont(QFont(QStringLiteral("monospace")));
  form->addRow(QStringLiteral("Udstedt til:"), lblEmne);
  form->addRow(QStringLiteral("Udstedt af:"), lblUdsteder);
  form->addRow(QStringLiteral("Gyldigt:"), lblGyldig);
  form->addRow(QStringLiteral("Fingeraftryk (SHA-256):"), lblFingeraftryk);
  layout->addLayout(form);
  auto* note = new QLabel(
      QStringLiteral("Sammenlign fingeraftrykket med det, din udbyder oplyser, før du godkender certifikatet."));
  note->setWordWrap(true);
  layout->addWidget(note);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  const auto button = [this, buttons](QPushButton*& b, const char* name, const QString& caption,
                                      TCertificateAnswer answer) {
    b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, answer] {
      answer_ = answer;
      if (answer == TCertificateAnswer::Refuse)
        reject();
      else
        accept();
    });
  };
  button(cmdAfvis, "cmdAfvis", QStringLiteral("&Afvis"), TCertificateAnswer::Refuse);
  button(cmdGodkend, "cmdGodkend", QStringLiteral("&Godkend denne gang"), TCertificateAnswer::AcceptOnce);
  button(cmdStol, "cmdStol", QStringLiteral("&Stol altid på det"), TCertificateAnswer::Trust);
  // Refusing is what Enter and Escape do: accepting is a choice made on purpose.
  cmdAfvis->setDefault(true);
  layout->addLayout(buttons);
}

TCertificateAnswer TfrmCertifikat::ask(const FtpCertificate& certificate, const QString& problem, bool canTrust) {
  lblProblem->setText(problem);
  lblEmne->setText(certificate.subject);
  lblUdsteder->setText(certificate.issuer);
  lblGyldig->setText(QStringLiteral("%1 til %2").arg(when(certificate.validFrom), when(certificate.validTo)));
  lblFingeraftryk->setText(certificate.fingerprint);
  cmdStol->setVisible(canTrust);
  answer_ = TCertificateAnswer::Refuse;
  const int result = platform::runModal(this, parentWidget());
  // Only a choice made with one of the buttons counts; a window closed
  // otherwise refuses.
  if (result != QDialog::Accepted || (answer_ == TCertificateAnswer::Trust && !canTrust))
    return TCertificateAnswer::Refuse;
  return answer_;
}
