// lumiscribe-ocr-server: the OCR service protocol on a local recogniser, so
// that Lumiscribe works with no cloud account and no internet.
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <string>
#include <thread>
#include <vector>

#include "service/certificate.h"
#include "service/http_server.h"
#include "service/image_decode.h"
#include "service/ocr_service.h"
#include "service/server_options.h"
#include "service/tesseract_engine.h"
#include "service/token_issuer.h"
#include "service/worker_pool.h"

namespace {

using namespace ocr_service;

ServerOptions built_in_defaults() {
  ServerOptions defaults;
  // The program's built-in host names where it looks for this server; a
  // build for the cloud names a remote host, and then the default stays.
  std::string host;
  int port = 0;
  if (parse_listen_address(LUMISCRIBE_API_HOST, host, port) &&
      (host == "127.0.0.1" || host == "localhost" || host == "::1")) {
    defaults.host = host;
    defaults.port = port;
  }
  defaults.client_id = LUMISCRIBE_API_KEY;
  defaults.client_secret = LUMISCRIBE_SECRET_KEY;
  return defaults;
}

int fail(const std::string &message) {
  std::fprintf(stderr, "lumiscribe-ocr-server: %s\n", message.c_str());
  return 1;
}

// SIGINT and SIGTERM are taken by one thread that stops the server; every
// other thread has them blocked.
sigset_t stop_signals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

int serve(const ServerOptions &options) {
  std::string cert = options.cert_file, key = options.key_file;
  if (cert.empty()) {
    std::string state_dir = options.state_dir.empty() ? default_state_dir() : options.state_dir;
    CertificateFiles files = ensure_certificate(state_dir);
    if (!files.error.empty())
      return fail(files.error);
    if (files.created)
      std::fprintf(stderr, "lumiscribe-ocr-server: made a certificate in %s\n", state_dir.c_str());
    cert = files.cert_file;
    key = files.key_file;
  }
  int workers =
      options.workers > 0 ? options.workers : std::max(1u, std::thread::hardware_concurrency());
  int queue = options.queue > 0 ? options.queue : 4 * workers;
  TokenIssuer tokens(system_clock_seconds, kTokenLifetimeSeconds);
  std::unique_ptr<WorkerPool> pool;
  try {
    std::string tessdata = options.tessdata_dir;
    pool = std::make_unique<WorkerPool>(
        workers, queue, [&tessdata] { return std::make_unique<TesseractEngine>(tessdata); });
  } catch (const std::exception &error) {
    return fail(error.what());
  }
  OcrService service({options.client_id, options.client_secret}, tokens, *pool);
  // Enough connections for every worker and waiting request, and a few more
  // so that token requests and refusals are answered while all are busy.
  HttpServer server(service, cert, key, workers + queue + 4);
  if (!server.valid())
    return fail("cannot use the certificate " + cert + " and key " + key);
  int port = server.bind(options.host, options.port);
  if (port < 0)
    return fail("cannot listen on " + options.host + ":" + std::to_string(options.port));
  std::fprintf(stderr, "lumiscribe-ocr-server: listening on https://%s:%d with %d worker%s\n",
               options.host.c_str(), port, workers, workers == 1 ? "" : "s");
  sigset_t signals = stop_signals();
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    server.stop();
  });
  bool served = server.run();
  // A stop that did not come from a signal still has to release the waiter.
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  return served ? 0 : fail("the server stopped unexpectedly");
}

} // namespace

int main(int argc, char **argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  ParsedOptions parsed = parse_server_options(arguments, built_in_defaults());
  if (!parsed.options) {
    std::fprintf(stderr, "lumiscribe-ocr-server: %s\n\n%s", parsed.error.c_str(),
                 usage_text().c_str());
    return 2;
  }
  if (parsed.options->help) {
    std::fputs(usage_text().c_str(), stdout);
    return 0;
  }
  if (parsed.options->version) {
    std::printf("lumiscribe-ocr-server %s\n", LUMISCRIBE_VERSION);
    return 0;
  }
  std::signal(SIGPIPE, SIG_IGN);
  sigset_t signals = stop_signals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  limit_engine_threads();
  quiet_image_library();
  return serve(*parsed.options);
}
