// The built lumiscribe-ocr-server: its command line, its start-up with the
// built-in credentials and a self-signed certificate made once and reused,
// and its request log.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "test_server.h"

namespace ocr_service::testing {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int exit_code = -1;
  std::string out;
};

ProgramRun run_program(const std::string &arguments) {
  ProgramRun run;
  std::string command = std::string(OCR_SERVER_PROGRAM) + " " + arguments + " 2>&1";
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe)
    return run;
  char buffer[512];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    run.out.append(buffer, got);
  int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(ProgramTest, CommandLine) {
  struct Case {
    const char *arguments;
    int exit_code;
    const char *says;
  } cases[] = {
      {"--help", 0, "--listen HOST:PORT"},
      {"--version", 0, "lumiscribe-ocr-server " LUMISCRIBE_VERSION},
      {"--workers 0", 2, "--workers takes a number"},
      {"--listen nowhere", 2, "bad address for --listen"},
      {"--cert only.pem", 2, "--cert and --key go together"},
      {"--frobnicate 1", 2, "unknown option --frobnicate"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.arguments);
    ProgramRun run = run_program(c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
  }
}

// The program started in the background with its log in a file.
class Started {
public:
  Started(const std::string &state_dir, int port, const fs::path &log) {
    pid_ = fork();
    if (pid_ == 0) {
      int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      dup2(fd, 2);
      std::string listen = "127.0.0.1:" + std::to_string(port);
      execl(OCR_SERVER_PROGRAM, OCR_SERVER_PROGRAM, "--listen", listen.c_str(), "--workers", "1",
            "--state-dir", state_dir.c_str(), static_cast<char *>(nullptr));
      _exit(127);
    }
  }
  ~Started() { stop(); }
  // SIGTERM ends it cleanly; the exit code says so.
  int stop() {
    if (pid_ <= 0)
      return exit_code_;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exit_code_;
  }

private:
  pid_t pid_ = -1;
  int exit_code_ = -1;
};

std::string read_all(const fs::path &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool wait_for(const fs::path &log, const std::string &text) {
  for (int i = 0; i < 600; ++i) {
    if (read_all(log).find(text) != std::string::npos)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

int free_port() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr *>(&address), size);
  ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

Reply post(int port, const std::string &target, const std::string &body) {
  httplib::SSLClient client("127.0.0.1", port);
  client.enable_server_certificate_verification(false);
  client.set_read_timeout(300);
  auto result = client.Post(target, body, "application/x-www-form-urlencoded");
  if (!result)
    return {};
  return {result->status, result->body};
}

TEST(ProgramTest, ServesWithBuiltInClientAndKeepsItsCertificate) {
  fs::path dir = fs::path(test_cert_dir()) / "program";
  fs::path state = dir / "state", log = dir / "server.log";
  fs::create_directories(dir);
  int port = free_port();
  std::string token;
  {
    Started server(state.string(), port, log);
    ASSERT_TRUE(wait_for(log, "listening on")) << read_all(log);
    Reply reply = post(port, "/oauth/2.0/token",
                       "grant_type=client_credentials&client_id=" LUMISCRIBE_API_KEY
                       "&client_secret=" LUMISCRIBE_SECRET_KEY);
    ASSERT_EQ(reply.status, 200) << reply.body;
    std::size_t start = reply.body.find("\"access_token\":\"") + 16;
    token = reply.body.substr(start, reply.body.find('"', start) - start);
    Reply read = post(port, "/rest/2.0/ocr/v1/accurate_basic?access_token=" + token,
                      "image=" + percent_encode(base64_of(read_fixture("chinese_line.png"))));
    EXPECT_EQ(without_log_id(read.body),
              "{\"log_id\":N,\"words_result_num\":1,\"words_result\":[{\"words\":\"" +
                  split_lines(read_fixture_text("chinese_line.txt"))[0] + "\"}]}");
    EXPECT_EQ(server.stop(), 0);
  }
  std::string first_log = read_all(log);
  EXPECT_NE(first_log.find("made a certificate"), std::string::npos);
  EXPECT_NE(first_log.find("POST /oauth/2.0/token 200 error=0 "), std::string::npos) << first_log;
  EXPECT_NE(first_log.find("POST /rest/2.0/ocr/v1/accurate_basic 200 error=0 "), std::string::npos);
  EXPECT_EQ(first_log.find(token), std::string::npos) << "the log never shows a token";
  EXPECT_EQ(first_log.find(LUMISCRIBE_SECRET_KEY), std::string::npos);
  fs::path key = state / "ocr-server-key.pem";
  EXPECT_EQ(fs::status(key).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  std::string cert = read_all(state / "ocr-server-cert.pem");
  ASSERT_NE(cert.find("BEGIN CERTIFICATE"), std::string::npos);

  fs::remove(log);
  Started again(state.string(), port, log);
  ASSERT_TRUE(wait_for(log, "listening on")) << read_all(log);
  EXPECT_EQ(read_all(log).find("made a certificate"), std::string::npos);
  EXPECT_EQ(read_all(state / "ocr-server-cert.pem"), cert);
  EXPECT_EQ(post(port, "/oauth/2.0/token", "grant_type=client_credentials&client_id=x").status,
            401);
}

} // namespace
} // namespace ocr_service::testing
