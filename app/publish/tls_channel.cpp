#include "tls_channel.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <ctime>

namespace morvel::ftp {

namespace {

BIO* bio(void* b) { return static_cast<BIO*>(b); }

QString nameText(const X509_NAME* name) {
  BIO* out = BIO_new(BIO_s_mem());
  if (!out) return {};
  X509_NAME_print_ex(out, name, 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
  char* data = nullptr;
  const long length = BIO_get_mem_data(out, &data);
  const QString text = QString::fromUtf8(data, static_cast<qsizetype>(length));
  BIO_free(out);
  return text;
}

QDateTime timeOf(const ASN1_TIME* time) {
  std::tm t{};
  if (!time || ASN1_TIME_to_tm(time, &t) != 1) return {};
  return QDateTime(QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday), QTime(t.tm_hour, t.tm_min, t.tm_sec), Qt::UTC);
}

QString fingerprintOf(const X509* certificate) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (X509_digest(certificate, EVP_sha256(), digest, &length) != 1) return {};
  QString text;
  for (unsigned int i = 0; i < length; ++i) {
    if (i > 0) text += ':';
    text += QStringLiteral("%1").arg(digest[i], 2, 16, QChar('0')).toUpper();
  }
  return text;
}

CertificateProblem problemOf(long verifyResult) {
  switch (verifyResult) {
    case X509_V_OK:
      return CertificateProblem::None;
    case X509_V_ERR_CERT_HAS_EXPIRED:
      return CertificateProblem::Expired;
    case X509_V_ERR_CERT_NOT_YET_VALID:
      return CertificateProblem::NotYetValid;
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
      return CertificateProblem::SelfSigned;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
      return CertificateProblem::UnknownIssuer;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return CertificateProblem::WrongHost;
    default:
      return CertificateProblem::Other;
  }
}

}  // namespace

// ---------------------------------------------------------------------------

TlsContext::TlsContext(const std::string& extraAnchors) : extraAnchors_(extraAnchors) {
  ctx_ = SSL_CTX_new(TLS_client_method());
  if (!ctx_) return;
  SSL_CTX_set_min_proto_version(ctx_, TLS1_2_VERSION);
  // The check is judged after the handshake, so that the owner can be asked
  // about a certificate that does not check out before anything is sent.
  SSL_CTX_set_verify(ctx_, SSL_VERIFY_NONE, nullptr);
  // The sessions the server grants are kept by each channel, so that the
  // data connections can resume the control connection's session.
  SSL_CTX_set_session_cache_mode(ctx_, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
  SSL_CTX_sess_set_new_cb(ctx_, &TlsChannel::newSession);
  valid_ = SSL_CTX_set_default_verify_paths(ctx_) == 1 &&
           (extraAnchors.empty() || SSL_CTX_load_verify_locations(ctx_, extraAnchors.c_str(), nullptr) == 1);
  ERR_clear_error();
}

TlsContext::~TlsContext() { SSL_CTX_free(ctx_); }

// ---------------------------------------------------------------------------

TlsChannel::TlsChannel(TlsContext& context, const std::string& host, SSL_SESSION* resume) {
  if (!context.valid()) return;
  ERR_clear_error();
  ssl_ = SSL_new(context.get());
  BIO* in = BIO_new(BIO_s_mem());
  BIO* out = BIO_new(BIO_s_mem());
  if (!ssl_ || !in || !out) {
    noteFailure();
    BIO_free(in);
    BIO_free(out);
    SSL_free(ssl_);
    ssl_ = nullptr;
    return;
  }
  SSL_set_bio(ssl_, in, out);
  incoming_ = in;
  outgoing_ = out;
  SSL_set_app_data(ssl_, this);
  SSL_set_connect_state(ssl_);
  // The certificate must be made out to the address or the name connected to.
  if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), host.c_str()) != 1) {
    SSL_set_tlsext_host_name(ssl_, host.c_str());
    SSL_set1_host(ssl_, host.c_str());
  }
  if (resume) SSL_set_session(ssl_, resume);
  ERR_clear_error();
}

TlsChannel::~TlsChannel() {
  SSL_SESSION_free(session_);
  SSL_free(ssl_);
}

int TlsChannel::newSession(SSL* ssl, SSL_SESSION* session) {
  auto* channel = static_cast<TlsChannel*>(SSL_get_app_data(ssl));
  if (!channel) return 0;
  SSL_SESSION_free(channel->session_);
  channel->session_ = session;
  return 1;  // the channel holds the reference now
}

void TlsChannel::noteFailure() {
  failure_.clear();
  while (const unsigned long code = ERR_get_error()) {
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    if (!failure_.empty()) failure_ += "; ";
    failure_ += text;
  }
}

void TlsChannel::feed(const char* data, size_t length) {
  if (!ssl_ || length == 0) return;
  BIO_write(bio(incoming_), data, static_cast<int>(length));
  starved_ = false;
}

std::string TlsChannel::takeOutgoing() {
  if (!ssl_) return {};
  std::string bytes(BIO_ctrl_pending(bio(outgoing_)), '\0');
  if (!bytes.empty())
    bytes.resize(
        static_cast<size_t>(std::max(0, BIO_read(bio(outgoing_), bytes.data(), static_cast<int>(bytes.size())))));
  return bytes;
}

bool TlsChannel::readable() const {
  return ssl_ && (SSL_pending(ssl_) > 0 || (BIO_ctrl_pending(bio(incoming_)) > 0 && !starved_));
}

TlsChannel::Step TlsChannel::handshake() {
  if (!ssl_) return Step::Failed;
  ERR_clear_error();
  const int r = SSL_do_handshake(ssl_);
  if (r == 1) return Step::Done;
  const int error = SSL_get_error(ssl_, r);
  if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) return Step::Waiting;
  noteFailure();
  return Step::Failed;
}

int TlsChannel::read(char* buffer, int length) {
  if (!ssl_) return -1;
  if (peerClosed_) return 0;
  ERR_clear_error();
  const int n = SSL_read(ssl_, buffer, length);
  if (n > 0) return n;
  switch (SSL_get_error(ssl_, n)) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
      starved_ = true;
      return 0;
    case SSL_ERROR_ZERO_RETURN:
      peerClosed_ = true;
      return 0;
    default:
      noteFailure();
      return -1;
  }
}

bool TlsChannel::write(const char* data, int length) {
  if (!ssl_) return false;
  while (length > 0) {
    ERR_clear_error();
    const int n = SSL_write(ssl_, data, length);
    if (n <= 0) {
      noteFailure();
      return false;
    }
    data += n;
    length -= n;
  }
  return true;
}

void TlsChannel::shutdown() {
  if (!ssl_ || !SSL_is_init_finished(ssl_)) return;
  ERR_clear_error();
  SSL_shutdown(ssl_);
  ERR_clear_error();
}

std::shared_ptr<SSL_SESSION> TlsChannel::session() const {
  if (!session_ || SSL_SESSION_up_ref(session_) != 1) return nullptr;
  return std::shared_ptr<SSL_SESSION>(session_, SSL_SESSION_free);
}

bool TlsChannel::resumed() const { return ssl_ && SSL_session_reused(ssl_) == 1; }

QString TlsChannel::fingerprint() const {
  if (!ssl_) return {};
  X509* peer = SSL_get1_peer_certificate(ssl_);
  if (!peer) return {};
  const QString text = fingerprintOf(peer);
  X509_free(peer);
  return text;
}

FtpCertificate TlsChannel::certificate() const {
  FtpCertificate c;
  X509* peer = ssl_ ? SSL_get1_peer_certificate(ssl_) : nullptr;
  if (!peer) {
    c.problem = CertificateProblem::Other;
    c.detail = QStringLiteral("intet certifikat");
    return c;
  }
  c.subject = nameText(X509_get_subject_name(peer));
  c.issuer = nameText(X509_get_issuer_name(peer));
  c.validFrom = timeOf(X509_get0_notBefore(peer));
  c.validTo = timeOf(X509_get0_notAfter(peer));
  c.fingerprint = fingerprintOf(peer);
  X509_free(peer);
  const long result = SSL_get_verify_result(ssl_);
  c.problem = problemOf(result);
  if (c.problem == CertificateProblem::Other) c.detail = QString::fromUtf8(X509_verify_cert_error_string(result));
  return c;
}

}  // namespace morvel::ftp
