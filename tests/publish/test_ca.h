// A certificate authority of the test's own, made with OpenSSL, and the
// server certificates it (or a server itself) signs: for the address and
// names asked for, valid for the days asked for. Files in PEM form, the
// server's key in the same file as its certificate.
#pragma once

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <QString>

#include <memory>
#include <string>

// Days relative to now.
struct CertificateValidity {
  long fromDays = -1;
  long toDays = 30;
};

class TestCa {
 public:
  using Validity = CertificateValidity;

  // Writes the authority's certificate to `folder`/ca.pem.
  explicit TestCa(const QString& folder) : folder_(folder) {
    key_ = newKey();
    cert_ = makeCertificate("Morvel test-CA", key_.get(), nullptr, nullptr, "", {-1, 365}, true);
    caFile_ = folder_ + "/ca.pem";
    ok_ = cert_ && writePem(caFile_, cert_.get(), nullptr);
  }

  bool ok() const { return ok_; }
  const QString& caFile() const { return caFile_; }

  // A server certificate for `altNames` ("IP:127.0.0.1,DNS:localhost"), signed
  // by the authority, or by its own key with `selfSigned`; the file's path,
  // empty when it could not be made.
  QString serverCertificate(const QString& name, const std::string& altNames, Validity validity = {},
                            bool selfSigned = false) {
    Key key = newKey();
    const Certificate cert =
        selfSigned
            ? makeCertificate("Morvel testserver", key.get(), nullptr, nullptr, altNames, validity, false)
            : makeCertificate("Morvel testserver", key.get(), cert_.get(), key_.get(), altNames, validity, false);
    const QString path = folder_ + "/" + name + ".pem";
    return cert && writePem(path, cert.get(), key.get()) ? path : QString();
  }

 private:
  struct KeyFree {
    void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
  };
  struct CertificateFree {
    void operator()(X509* c) const { X509_free(c); }
  };
  using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
  using Certificate = std::unique_ptr<X509, CertificateFree>;

  static Key newKey() { return Key(EVP_EC_gen("P-256")); }

  static bool addExtension(X509* cert, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    if (!ext) return false;
    const bool added = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return added;
  }

  // Signed by `issuer` with `issuerKey`, or by its own key when they are null.
  Certificate makeCertificate(const char* commonName, EVP_PKEY* key, X509* issuer, EVP_PKEY* issuerKey,
                              const std::string& altNames, Validity validity, bool authority) {
    Certificate cert(X509_new());
    if (!cert || !key) return nullptr;
    X509* c = cert.get();
    X509_set_version(c, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(c), ++serial_);
    X509_gmtime_adj(X509_getm_notBefore(c), validity.fromDays * 24 * 3600);
    X509_gmtime_adj(X509_getm_notAfter(c), validity.toDays * 24 * 3600);
    X509_NAME* name = X509_get_subject_name(c);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>("Morvel"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>(commonName), -1, -1,
                               0);
    X509_set_issuer_name(c, issuer ? X509_get_subject_name(issuer) : name);
    X509_set_pubkey(c, key);
    X509* signer = issuer ? issuer : c;
    const bool extended = addExtension(c, signer, NID_basic_constraints, authority ? "critical,CA:TRUE" : "CA:FALSE") &&
                          addExtension(c, signer, NID_subject_key_identifier, "hash") &&
                          (authority || addExtension(c, signer, NID_authority_key_identifier, "keyid")) &&
                          (authority ? addExtension(c, signer, NID_key_usage, "critical,keyCertSign,cRLSign")
                                     : addExtension(c, signer, NID_ext_key_usage, "serverAuth")) &&
                          (altNames.empty() || addExtension(c, signer, NID_subject_alt_name, altNames));
    if (!extended || X509_sign(c, issuerKey ? issuerKey : key, EVP_sha256()) == 0) return nullptr;
    return cert;
  }

  static bool writePem(const QString& path, X509* cert, EVP_PKEY* key) {
    BIO* out = BIO_new_file(path.toLocal8Bit().constData(), "w");
    if (!out) return false;
    bool ok = PEM_write_bio_X509(out, cert) == 1;
    if (key) ok = ok && PEM_write_bio_PrivateKey(out, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    BIO_free(out);
    return ok;
  }

  QString folder_;
  QString caFile_;
  Key key_;
  Certificate cert_;
  long serial_ = 1000;
  bool ok_ = false;
};
