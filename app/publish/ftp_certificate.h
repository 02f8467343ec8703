// A server's certificate as the user is shown it, why it did not check out,
// and what is done with it: accepted when it checks out or is the one the
// user chose to trust, asked about otherwise, refused when a trusted
// certificate has been replaced.
#pragma once

#include <QDateTime>
#include <QString>

namespace morvel::ftp {

// Why a certificate did not check out against the trust store and the
// server's name.
enum class CertificateProblem {
  None,
  Expired,
  NotYetValid,
  SelfSigned,
  UnknownIssuer,
  WrongHost,
  Other,
};

struct FtpCertificate {
  QString subject;  // as "CN=...,O=..."
  QString issuer;
  QDateTime validFrom, validTo;  // UTC
  QString fingerprint;           // SHA-256, "AB:CD:..."
  CertificateProblem problem = CertificateProblem::None;
  QString detail;  // the checker's own words, for Other
};

// The owner's answer when asked about a certificate that did not check out.
enum class TCertificateAnswer { Refuse, AcceptOnce, Trust };

enum class CertificateVerdict { Accept, Ask, RefuseChanged };

// `trusted` is the fingerprint the user chose to trust for this connection
// (empty when none). A certificate that checks out is accepted; one that does
// not is accepted only when it is the trusted one, refused when another was
// trusted (someone may stand in for the server), and asked about otherwise.
CertificateVerdict judgeCertificate(const FtpCertificate& certificate, const QString& trusted);

// Fingerprints compare without regard to case and separators.
bool sameFingerprint(const QString& a, const QString& b);

// Why the certificate did not check out, for the user; `server` is the name
// the connection was made to.
QString problemText(const FtpCertificate& certificate, const QString& server);

}  // namespace morvel::ftp
