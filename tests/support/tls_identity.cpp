#include "tls_identity.h"

#include <openssl/evp.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace {

struct KeyFree {
  void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
struct CertificateFree {
  void operator()(X509 *certificate) const { X509_free(certificate); }
};
struct ExtensionFree {
  void operator()(X509_EXTENSION *extension) const { X509_EXTENSION_free(extension); }
};

bool add_extension(X509 *certificate, int nid, const char *value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
  std::unique_ptr<X509_EXTENSION, ExtensionFree> extension(
      X509V3_EXT_conf_nid(nullptr, &context, nid, value));
  return extension && X509_add_ext(certificate, extension.get(), -1) == 1;
}

std::unique_ptr<X509, CertificateFree> make_certificate(EVP_PKEY *key) {
  std::unique_ptr<X509, CertificateFree> certificate(X509_new());
  if (!certificate)
    return nullptr;
  X509 *raw = certificate.get();
  X509_set_version(raw, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(raw), 1);
  X509_gmtime_adj(X509_getm_notBefore(raw), -24 * 3600);
  X509_gmtime_adj(X509_getm_notAfter(raw), 30 * 24 * 3600);
  X509_set_pubkey(raw, key);
  X509_NAME *name = X509_get_subject_name(raw);
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char *>("Lumiscribe loopback"), -1, -1,
                             0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char *>("127.0.0.1"), -1, -1, 0);
  X509_set_issuer_name(raw, name);
  if (!add_extension(raw, NID_subject_alt_name, "IP:127.0.0.1") ||
      !add_extension(raw, NID_basic_constraints, "critical,CA:FALSE") ||
      X509_sign(raw, key, EVP_sha256()) == 0)
    return nullptr;
  return certificate;
}

} // namespace

SSL_CTX *make_self_signed_tls_context() {
  // An elliptic-curve key: made in an instant, where an RSA key takes a
  // noticeable part of a second at every start.
  std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_EC_gen("P-256"));
  if (!key)
    return nullptr;
  auto certificate = make_certificate(key.get());
  if (!certificate)
    return nullptr;
  SSL_CTX *context = SSL_CTX_new(TLS_server_method());
  if (!context)
    return nullptr;
  SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
  if (SSL_CTX_use_certificate(context, certificate.get()) != 1 ||
      SSL_CTX_use_PrivateKey(context, key.get()) != 1) {
    SSL_CTX_free(context);
    return nullptr;
  }
  return context;
}
