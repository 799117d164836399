// A self-signed certificate made when the loopback test server starts, so no
// key or certificate file is ever kept in the tree.
#pragma once

#include <openssl/ssl.h>

// A TLS server context holding a fresh P-256 key and a self-signed certificate
// for 127.0.0.1 only, so that "localhost" reaches the server under a name the
// certificate does not hold; null when OpenSSL fails.
SSL_CTX *make_self_signed_tls_context();
