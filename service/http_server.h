// The HTTPS front of the server: routes the three endpoints to OcrService,
// bounds request bodies, and logs every request.
#pragma once

#include <memory>
#include <string>

#include "service/ocr_service.h"

namespace httplib {
class SSLServer;
}

namespace ocr_service {

class HttpServer {
public:
  // connection_threads: requests served at once; those beyond wait for a
  // thread. valid() is false when the certificate or key cannot be used.
  HttpServer(OcrService &service, const std::string &cert_file, const std::string &key_file,
             int connection_threads);
  ~HttpServer();

  bool valid() const;
  // The port bound (port 0 picks a free one), or -1.
  int bind(const std::string &host, int port);
  // Serves until stop(); false when the server could not serve.
  bool run();
  void stop();

private:
  void add_routes();

  OcrService &service_;
  std::unique_ptr<httplib::SSLServer> server_;
};

} // namespace ocr_service
