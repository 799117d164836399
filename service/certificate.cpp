#include "service/certificate.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

namespace ocr_service {
namespace {

namespace fs = std::filesystem;

struct KeyDeleter {
  void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
struct CertDeleter {
  void operator()(X509 *cert) const { X509_free(cert); }
};
struct ExtensionDeleter {
  void operator()(X509_EXTENSION *extension) const { X509_EXTENSION_free(extension); }
};
struct FileCloser {
  void operator()(FILE *file) const { std::fclose(file); }
};
using KeyPointer = std::unique_ptr<EVP_PKEY, KeyDeleter>;
using CertPointer = std::unique_ptr<X509, CertDeleter>;

constexpr long kTenYears = 10L * 365 * 24 * 3600;

bool add_extension(X509 *cert, int nid, const char *value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
  std::unique_ptr<X509_EXTENSION, ExtensionDeleter> extension(
      X509V3_EXT_conf_nid(nullptr, &context, nid, value));
  return extension && X509_add_ext(cert, extension.get(), -1) == 1;
}

CertPointer make_certificate(EVP_PKEY *key) {
  CertPointer cert(X509_new());
  if (!cert)
    return nullptr;
  unsigned char serial[8];
  RAND_bytes(serial, sizeof serial);
  serial[0] &= 0x7F;
  BIGNUM *number = BN_bin2bn(serial, sizeof serial, nullptr);
  bool ok = number && BN_to_ASN1_INTEGER(number, X509_get_serialNumber(cert.get()));
  BN_free(number);
  X509_NAME *name = X509_get_subject_name(cert.get());
  ok =
      ok && X509_set_version(cert.get(), 2) &&
      X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600) &&
      X509_gmtime_adj(X509_getm_notAfter(cert.get()), kTenYears) &&
      X509_set_pubkey(cert.get(), key) &&
      X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                                 reinterpret_cast<const unsigned char *>("Lumiscribe"), -1, -1,
                                 0) &&
      X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                 reinterpret_cast<const unsigned char *>("127.0.0.1"), -1, -1, 0) &&
      X509_set_issuer_name(cert.get(), name) &&
      add_extension(cert.get(), NID_subject_alt_name, "IP:127.0.0.1,IP:::1,DNS:localhost") &&
      add_extension(cert.get(), NID_basic_constraints, "critical,CA:FALSE") &&
      X509_sign(cert.get(), key, EVP_sha256()) > 0;
  return ok ? std::move(cert) : nullptr;
}

// Written beside the final name and renamed over it, so that a reader never
// sees half a file; the key is readable by its owner alone.
bool write_pem(const fs::path &path, const std::function<bool(FILE *)> &write, mode_t mode) {
  fs::path temporary = path;
  temporary += ".tmp" + std::to_string(::getpid());
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
  if (fd < 0)
    return false;
  std::unique_ptr<FILE, FileCloser> file(::fdopen(fd, "w"));
  if (!file) {
    ::close(fd);
    return false;
  }
  bool ok = write(file.get()) && std::fflush(file.get()) == 0 && ::fsync(fd) == 0;
  file.reset();
  if (ok)
    ok = std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok)
    ::unlink(temporary.c_str());
  return ok;
}

} // namespace

std::string default_state_dir() {
  const char *state = std::getenv("XDG_STATE_HOME");
  if (state && *state == '/')
    return (fs::path(state) / "lumiscribe").string();
  const char *home = std::getenv("HOME");
  return (fs::path(home && *home ? home : ".") / ".local" / "state" / "lumiscribe").string();
}

CertificateFiles ensure_certificate(const std::string &state_dir) {
  CertificateFiles files;
  fs::path dir(state_dir);
  files.cert_file = (dir / "ocr-server-cert.pem").string();
  files.key_file = (dir / "ocr-server-key.pem").string();
  std::error_code error;
  if (fs::exists(files.cert_file, error) && fs::exists(files.key_file, error))
    return files;
  fs::create_directories(dir, error);
  if (error) {
    files.error = "cannot create " + state_dir + ": " + error.message();
    return files;
  }
  KeyPointer key(EVP_RSA_gen(2048));
  CertPointer cert = key ? make_certificate(key.get()) : nullptr;
  if (!cert) {
    files.error = "cannot make a certificate";
    return files;
  }
  bool ok =
      write_pem(
          files.key_file,
          [&](FILE *out) {
            return PEM_write_PrivateKey(out, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
          },
          0600) &&
      write_pem(
          files.cert_file, [&](FILE *out) { return PEM_write_X509(out, cert.get()) == 1; }, 0644);
  if (!ok)
    files.error = "cannot write the certificate in " + state_dir + ": " + std::strerror(errno);
  files.created = ok;
  return files;
}

} // namespace ocr_service
