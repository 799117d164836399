// The worker pool's bounds, the reading order of lines and the command line.
#include <gtest/gtest.h>

#include "fake_engines.h"
#include "service/line_order.h"
#include "service/server_options.h"
#include "service/worker_pool.h"

namespace ocr_service {
namespace {

TEST(WorkerPoolTest, RefusesWhenWorkersAndQueueAreFull) {
  testing::Gate gate;
  WorkerPool pool(2, 1, [&] { return std::make_unique<testing::GateEngine>(gate); });
  std::vector<std::thread> accepted;
  for (int i = 0; i < 2; ++i)
    accepted.emplace_back([&] { EXPECT_TRUE(pool.run({}).has_value()); });
  gate.wait_for_waiters(2); // both workers busy
  accepted.emplace_back([&] { EXPECT_TRUE(pool.run({}).has_value()); });
  while (pool.waiting() < 1)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_FALSE(pool.run({}).has_value());
  gate.open();
  for (std::thread &thread : accepted)
    thread.join();
  EXPECT_TRUE(pool.run({}).has_value()) << "room again once the work is done";
}

TEST(WorkerPoolTest, EngineFailures) {
  WorkerPool throwing(1, 1, [] { return std::make_unique<testing::ThrowingEngine>(); });
  EXPECT_EQ(throwing.run({})->error, ErrorCode::internal);
  EXPECT_THROW(WorkerPool(2, 1, [] { return std::unique_ptr<Engine>(); }), std::runtime_error);
  EXPECT_THROW(
      WorkerPool(1, 1, []() -> std::unique_ptr<Engine> { throw std::runtime_error("no model"); }),
      std::runtime_error);
}

TEST(LineOrderTest, RowsTopToBottomThenLeftToRight) {
  std::vector<RecognizedLine> lines = {
      {400, 52, 600, 70, "value 2", 0}, {10, 50, 200, 70, "label 2", 0},
      {10, 10, 200, 30, "label 1", 0},  {400, 14, 600, 30, "value 1", 0},
      {10, 90, 600, 110, "footer", 0},
  };
  sort_reading_order(lines);
  std::vector<std::string> texts;
  for (const auto &line : lines)
    texts.push_back(line.text);
  EXPECT_EQ(texts,
            (std::vector<std::string>{"label 1", "value 1", "label 2", "value 2", "footer"}));
}

TEST(ServerOptionsTest, Table) {
  ServerOptions defaults;
  defaults.client_id = "id";
  defaults.client_secret = "secret";
  struct Case {
    std::vector<std::string> arguments;
    bool ok;
    std::string host;
    int port, workers;
    std::string client_id;
  } cases[] = {
      {{}, true, "127.0.0.1", 8443, 0, "id"},
      {{"--listen", "0.0.0.0:9000", "--workers", "3"}, true, "0.0.0.0", 9000, 3, "id"},
      {{"--listen=9443", "--client-id=other"}, true, "127.0.0.1", 9443, 0, "other"},
      {{"--listen", "[::1]:8443"}, true, "::1", 8443, 0, "id"},
      {{"--listen", "host:99999"}, false, "", 0, 0, ""},
      {{"--workers", "many"}, false, "", 0, 0, ""},
      {{"--key", "k.pem"}, false, "", 0, 0, ""},
      {{"--state-dir"}, false, "", 0, 0, ""},
      {{"stray"}, false, "", 0, 0, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    ParsedOptions parsed = parse_server_options(c.arguments, defaults);
    ASSERT_EQ(parsed.options.has_value(), c.ok) << parsed.error;
    if (!c.ok) {
      EXPECT_FALSE(parsed.error.empty());
      continue;
    }
    EXPECT_EQ(parsed.options->host, c.host);
    EXPECT_EQ(parsed.options->port, c.port);
    EXPECT_EQ(parsed.options->workers, c.workers);
    EXPECT_EQ(parsed.options->client_id, c.client_id);
  }
}

} // namespace
} // namespace ocr_service
