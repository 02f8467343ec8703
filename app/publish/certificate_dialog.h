// TfrmCertifikat: the server's certificate did not check out. The user reads
// why, who it names and who issued it, how long it is valid and its SHA-256
// fingerprint (to compare with what the provider publishes), and refuses it,
// accepts it this once, or trusts it for the stored connection.
#pragma once

#include "ftp_certificate.h"

#include <QDialog>

class QLabel;
class QPushButton;

class TfrmCertifikat : public QDialog {
 public:
  explicit TfrmCertifikat(QWidget* parent = nullptr);

  // Shows the certificate and asks. Without `canTrust` (a connection that is
  // not stored has nowhere to keep it) the trust button is hidden. Closing
  // the window refuses.
  morvel::ftp::TCertificateAnswer ask(const morvel::ftp::FtpCertificate& certificate, const QString& problem,
                                      bool canTrust);

  QLabel* lblProblem = nullptr;
  QLabel* lblEmne = nullptr;
  QLabel* lblUdsteder = nullptr;
  QLabel* lblGyldig = nullptr;
  QLabel* lblFingeraftryk = nullptr;
  QPushButton* cmdAfvis = nullptr;
  QPushButton* cmdGodkend = nullptr;
  QPushButton* cmdStol = nullptr;

 private:
  morvel::ftp::TCertificateAnswer answer_ = morvel::ftp::TCertificateAnswer::Refuse;
};
