// TfrmFtp: the stored connections, the properties panel, connecting and
// disconnecting, and the client's errors.
#include "certificate_dialog.h"
#include "commands/document_host.h"
#include "controls/status_bar.h"
#include "dialogs/password_prompt.h"
#include "ftp_address.h"
#include "ftp_window.h"
#include "interaction.h"
#include "registry.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

using namespace morvel::ftp;

int TfrmFtp::message(const QString& caption, const QString& text, unsigned flags) {
  return platform::messageBox(this, text, caption, flags);
}

// ---------------------------------------------------------------------------
// The connections

void TfrmFtp::loadConnections() {
  const QStringList titles = connections_.titles();
  cmbForbindelse->clear();
  cmbForbindelse->addItems(titles);
  if (titles.isEmpty()) {
    cmbForbindelse->setCurrentIndex(-1);
    return;
  }
  const int chosen = morvel::ftp::readWindowSettings(host_.store()).connection;
  connectionChosen(chosen >= 0 && chosen < titles.size() ? chosen : 0);
}

void TfrmFtp::connectionChosen(int index) {
  cmbForbindelse->setCurrentIndex(index);
  if (index >= 0) showConnection(connections_.load(cmbForbindelse->itemText(index)));
  updateCommands();
}

FtpConnection TfrmFtp::fieldsAsConnection() const {
  FtpConnection c;
  c.server = txtServer->text().trimmed();
  c.startFolder = txtStartBib->text().trimmed();
  c.user = txtBruger->text();
  c.password = txtKode->text();
  c.savePassword = chkGemKode->isChecked();
  c.secure = chkSikker->isChecked();
  c.requireSecure = optKraev->isChecked();
  c.passive = chkPassiv->isChecked();
  return c;
}

void TfrmFtp::showConnection(const FtpConnection& c) {
  txtServer->setText(c.server);
  txtStartBib->setText(c.startFolder);
  txtBruger->setText(c.user);
  txtKode->setText(c.password);
  chkGemKode->setChecked(c.savePassword);
  chkSikker->setChecked(c.secure);
  optKraev->setEnabled(c.secure);
  optHvisMuligt->setEnabled(c.secure);
  (c.requireSecure ? optKraev : optHvisMuligt)->setChecked(true);
  chkPassiv->setChecked(c.passive);
  showTrustedCertificate(c.trustedFingerprint);
}

void TfrmFtp::showTrustedCertificate(const QString& fingerprint) {
  lblCertifikat->setText(fingerprint.isEmpty() ? QStringLiteral("(intet gemt)") : fingerprint);
  lblCertifikat->setToolTip(fingerprint);
  cmdGlemCertifikat->setEnabled(!fingerprint.isEmpty());
}

void TfrmFtp::forgetCertificate() {
  const int index = cmbForbindelse->currentIndex();
  if (index < 0) return;
  if (!connections_.trustFingerprint(cmbForbindelse->itemText(index), {})) {
    message(QStringLiteral("Certifikat"),
            QStringLiteral("Certifikatet kunne ikke fjernes i %1.")
                .arg(QString::fromStdString(host_.store().FileName().string())),
            MB_OK | MB_ICONERROR);
    return;
  }
  showTrustedCertificate({});
}

TCertificateAnswer TfrmFtp::askAboutCertificate(const FtpCertificate& certificate, const QString& problem) {
  const TCertificateAnswer answer = certificate_->ask(certificate, problem, !connectedTitle_.isEmpty());
  // The session keeps a trusted certificate with the stored connection; the
  // panel shows it from now on.
  if (answer == TCertificateAnswer::Trust && cmbForbindelse->currentText() == connectedTitle_)
    showTrustedCertificate(certificate.fingerprint);
  return answer;
}

void TfrmFtp::newConnection() {
  // A new connection starts secured, insisting on it, in passive mode.
  showConnection({});
  cmbForbindelse->setCurrentIndex(-1);
  panEgenskaber->show();
  txtServer->setFocus();
  updateCommands();
}

void TfrmFtp::saveConnection() {
  QInputDialog box(this);
  box.setObjectName(QStringLiteral("InputBox"));
  box.setWindowTitle(QStringLiteral("Forbindelse"));
  box.setLabelText(QStringLiteral("Skriv forbindelsens titel:"));
  box.setOkButtonText(QStringLiteral("OK"));
  box.setCancelButtonText(QStringLiteral("Annuller"));
  box.setTextValue(project_.isEmpty() ? cmbForbindelse->currentText() : project_);
  if (platform::runModal(&box, this) != QDialog::Accepted) return;
  const QString title = box.textValue().trimmed();
  switch (checkConnectionTitle(title)) {
    case TitleCheck::Empty:
      message(QStringLiteral("Forbindelse"), QStringLiteral("Skriv en titel til forbindelsen."),
              MB_OK | MB_ICONINFORMATION);
      return;
    case TitleCheck::Reserved:
      message(QStringLiteral("Forbindelse"), kReservedTitleText, MB_OK | MB_ICONINFORMATION);
      return;
    case TitleCheck::Usable:
      break;
  }
  FtpConnection connection = fieldsAsConnection();
  // A password the user does not want kept is not written at all.
  if (!connection.savePassword) connection.password.clear();
  const auto ticks = static_cast<std::uint32_t>(QDeadlineTimer::current().deadline());
  if (!connections_.save(title, connection, ticks)) {
    message(QStringLiteral("Forbindelse"),
            QStringLiteral("Forbindelsen kunne ikke gemmes i %1.")
                .arg(QString::fromStdString(host_.store().FileName().string())),
            MB_OK | MB_ICONERROR);
    return;
  }
  cmbForbindelse->clear();
  cmbForbindelse->addItems(connections_.titles());
  cmbForbindelse->setCurrentIndex(cmbForbindelse->findText(title, Qt::MatchFixedString));
  // A certificate trusted for another server is gone with the server.
  showTrustedCertificate(connections_.load(title).trustedFingerprint);
  updateCommands();
}

void TfrmFtp::deleteConnection() {
  const int index = cmbForbindelse->currentIndex();
  if (index < 0) return;
  const QString title = cmbForbindelse->itemText(index);
  if (message(QStringLiteral("Slet forbindelse"), QStringLiteral("Ønsker du at slette %1?").arg(title),
              MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  if (!connections_.remove(title))
    message(QStringLiteral("Slet forbindelse"),
            QStringLiteral("Forbindelsen kunne ikke slettes i %1.")
                .arg(QString::fromStdString(host_.store().FileName().string())),
            MB_OK | MB_ICONERROR);
  cmbForbindelse->clear();
  cmbForbindelse->addItems(connections_.titles());
  if (cmbForbindelse->count() > 0) {
    connectionChosen(0);
    return;
  }
  cmbForbindelse->setCurrentIndex(-1);
  showConnection({});
  updateCommands();
}

void TfrmFtp::toggleProperties() { panEgenskaber->setVisible(panEgenskaber->isHidden()); }

// ---------------------------------------------------------------------------
// Connecting

void TfrmFtp::connectToServer() {
  if (session_->busy() || session_->connected()) return;
  FtpConnection connection = fieldsAsConnection();
  if (connection.server.isEmpty()) {
    message(QStringLiteral("Tilslut"),
            QStringLiteral("Skriv navnet på ftp-serveren under forbindelsens egenskaber, før du tilslutter."),
            MB_OK | MB_ICONINFORMATION);
    panEgenskaber->show();
    txtServer->setFocus();
    return;
  }
  QString password = connection.password;
  if (!connection.savePassword) {
    const std::optional<QString> typed = TfrmKode::ask(this);
    if (!typed) return;
    password = *typed;
  }
  // A certificate trusted for the stored connection counts only while the
  // fields still name its server; otherwise nothing is trusted or kept.
  connectedTitle_.clear();
  if (cmbForbindelse->currentIndex() >= 0) {
    const QString title = cmbForbindelse->currentText();
    const FtpConnection stored = connections_.load(title);
    if (stored.server == connection.server) {
      connectedTitle_ = title;
      connection.trustedFingerprint = stored.trustedFingerprint;
    }
  }
  const ServerAddress address = serverAddress(connection.server);
  connection.server = address.host;
  Ftp1.setFtpPort(address.port);
  session_->setClearArchiveFlags(host_.settings().useArchiveFlag);
  session_->connect(connection, password, connectedTitle_);
}

bool TfrmFtp::askToStopTransfer(const QString& caption) {
  return message(caption,
                 QStringLiteral("Der udveksles stadig data mellem din computer og serveren. Ønsker du alligevel at "
                                "afslutte?"),
                 MB_YESNO | MB_ICONWARNING) == IDYES;
}

void TfrmFtp::disconnectFromServer() {
  if (!session_->connected()) return;
  if (session_->busy() && !askToStopTransfer(QStringLiteral("Luk forbindelsen"))) return;
  session_->disconnect();
}

void TfrmFtp::showError(const FtpErrorMessage& error) {
  message(error.title, error.text, MB_OK | MB_ICONERROR);
  if (!error.closesWindow) return;
  // The server cannot be found: the user starts afresh.
  closing_ = true;
  close();
}
