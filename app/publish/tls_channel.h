// TLS for the FTP client, through OpenSSL over memory buffers: the socket
// moves the encrypted bytes, this moves nothing itself. What arrives from the
// network is fed in, what must go out is taken, and the plain bytes are read
// and written in between, so nothing here ever waits for the network.
#pragma once

#include "ftp_certificate.h"

#include <memory>
#include <string>

using SSL = struct ssl_st;
using SSL_CTX = struct ssl_ctx_st;
using SSL_SESSION = struct ssl_session_st;

namespace morvel::ftp {

// The client's side of every TLS connection of one FTP client: the trust
// anchors (the system's store, and a further file of the caller's) and the
// rules for the connections.
class TlsContext {
 public:
  // Empty `extraAnchors`: the system's trust store only.
  explicit TlsContext(const std::string& extraAnchors = {});
  ~TlsContext();
  TlsContext(const TlsContext&) = delete;
  TlsContext& operator=(const TlsContext&) = delete;

  // False when OpenSSL could not set the context up or the file of further
  // trust anchors could not be read.
  bool valid() const { return valid_; }
  const std::string& extraAnchors() const { return extraAnchors_; }
  SSL_CTX* get() const { return ctx_; }

 private:
  SSL_CTX* ctx_ = nullptr;
  std::string extraAnchors_;
  bool valid_ = false;
};

// One TLS connection, the client's side.
class TlsChannel {
 public:
  enum class Step { Done, Waiting, Failed };

  // `host` is the name or dotted address the certificate must be made out
  // to; `resume` a session of an earlier connection to the same server,
  // offered to it for reuse (may be null).
  TlsChannel(TlsContext& context, const std::string& host, SSL_SESSION* resume);
  ~TlsChannel();
  TlsChannel(const TlsChannel&) = delete;
  TlsChannel& operator=(const TlsChannel&) = delete;

  bool valid() const { return ssl_ != nullptr; }

  // --- The encrypted side
  void feed(const char* data, size_t length);
  // What must go to the network now (taken out).
  std::string takeOutgoing();
  // Whether plain bytes can be read without more from the network.
  bool readable() const;

  // --- The connection
  Step handshake();
  // Plain bytes: the count; 0 when more must arrive first, or when the peer
  // has closed (peerClosed() tells); -1 on a failure of the connection.
  int read(char* buffer, int length);
  // Takes all `length` bytes (their records wait in takeOutgoing());
  // false on a failure.
  bool write(const char* data, int length);
  // Ends the connection in order: the close notice goes with takeOutgoing().
  void shutdown();
  bool peerClosed() const { return peerClosed_; }

  // --- After the handshake
  // The server's certificate and how its check went.
  FtpCertificate certificate() const;
  // The SHA-256 fingerprint of the server's certificate; empty without one.
  QString fingerprint() const;
  // The newest session the server granted on this connection (null when
  // none), kept on after the channel.
  std::shared_ptr<SSL_SESSION> session() const;
  bool resumed() const;
  // OpenSSL's words for the last failure.
  const std::string& failure() const { return failure_; }

 private:
  friend class TlsContext;  // hands OpenSSL the session callback
  static int newSession(SSL* ssl, SSL_SESSION* session);
  void noteFailure();

  SSL* ssl_ = nullptr;
  void* incoming_ = nullptr;  // BIO*, owned by ssl_
  void* outgoing_ = nullptr;  // BIO*, owned by ssl_
  SSL_SESSION* session_ = nullptr;
  bool starved_ = false;  // the last read needed more than has arrived
  bool peerClosed_ = false;
  std::string failure_;
};

}  // namespace morvel::ftp
