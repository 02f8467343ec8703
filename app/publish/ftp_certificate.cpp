#include "ftp_certificate.h"

namespace morvel::ftp {

namespace {

QString hexDigits(const QString& fingerprint) {
  QString digits;
  for (const QChar c : fingerprint)
    if (c.isLetterOrNumber()) digits += c.toUpper();
  return digits;
}

}  // namespace

bool sameFingerprint(const QString& a, const QString& b) {
  const QString x = hexDigits(a);
  return !x.isEmpty() && x == hexDigits(b);
}

CertificateVerdict judgeCertificate(const FtpCertificate& certificate, const QString& trusted) {
  if (certificate.problem == CertificateProblem::None) return CertificateVerdict::Accept;
  if (hexDigits(trusted).isEmpty()) return CertificateVerdict::Ask;
  return sameFingerprint(certificate.fingerprint, trusted) ? CertificateVerdict::Accept
                                                           : CertificateVerdict::RefuseChanged;
}

QString problemText(const FtpCertificate& certificate, const QString& server) {
  switch (certificate.problem) {
    case CertificateProblem::None:
      return {};
    case CertificateProblem::Expired:
      return QStringLiteral("Certifikatet er udløbet.");
    case CertificateProblem::NotYetValid:
      return QStringLiteral("Certifikatet er endnu ikke gyldigt.");
    case CertificateProblem::SelfSigned:
      return QStringLiteral("Certifikatet er udstedt af serveren selv og ikke af en kendt udsteder.");
    case CertificateProblem::UnknownIssuer:
      return QStringLiteral("Certifikatet er udstedt af en ukendt udsteder.");
    case CertificateProblem::WrongHost:
      return QStringLiteral("Certifikatet er udstedt til et andet navn end %1.").arg(server);
    case CertificateProblem::Other:
      return QStringLiteral("Certifikatet kunne ikke godkendes (%1).").arg(certificate.detail);
  }
  return {};
}

}  // namespace morvel::ftp
