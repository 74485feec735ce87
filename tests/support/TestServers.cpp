// Starting and stopping the loopback test servers (see TestServers.h).
#include "support/TestServers.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "support/TempDir.h"

namespace testsupport {
namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

}  // namespace

#ifdef _WIN32

TestServer::TestServer(Kind kind) {
  const std::string port = Env(kind == Http ? "PELLMORE_TEST_HTTP_PORT" : "PELLMORE_TEST_FTP_PORT");
  root_ = Env("PELLMORE_TEST_NET_ROOT");
  if (port.empty() || root_.empty())
    throw std::runtime_error(
        "no test servers: run this program through tests/support/servers/with_servers.sh");
  port_ = uint16_t(std::stoi(port));
}

TestServer::~TestServer() = default;

#else

TestServer::TestServer(Kind kind) {
  own_ = std::make_unique<TempDir>("pellmore-net");
  root_ = own_->String() + "/served";
  std::filesystem::create_directories(root_);
  const std::string portFile = own_->String() + "/port";
  std::string python = Env("PELLMORE_TEST_PYTHON");
  if (python.empty()) python = "/usr/bin/python3";  // where the system's pyftpdlib is
  const std::string script = std::string(PELLMORE_TEST_SERVERS_DIR) +
                             (kind == Http ? "/http_server.py" : "/ftp_server.py");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("cannot start the test server");
  if (pid == 0) {
    execl(python.c_str(), python.c_str(), script.c_str(), "--root", root_.c_str(), "--port-file",
          portFile.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  pid_ = pid;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(portFile);
    int port = 0;
    if (in >> port && port > 0) {
      port_ = uint16_t(port);
      return;
    }
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid_ = 0;
      throw std::runtime_error(script + " ended before it listened (is pyftpdlib installed for " +
                               python + "?)");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  pid_ = 0;
  throw std::runtime_error(script + " did not listen within ten seconds");
}

TestServer::~TestServer() {
  if (pid_ > 0) {
    kill(pid_t(pid_), SIGTERM);
    int status = 0;
    waitpid(pid_t(pid_), &status, 0);
  }
}

#endif

std::string TestServer::HostAndPort() const {
  return "127.0.0.1:" + std::to_string(port_);
}

void TestServer::Put(std::string_view relative, std::string_view bytes) const {
  const std::filesystem::path path = std::filesystem::path(root_) / std::string(relative);
  std::filesystem::create_directories(path.parent_path());
  WriteHostFile(path, bytes);
}

void TestServer::PutTree(std::string_view relative, const std::string& from) const {
  const std::filesystem::path to = std::filesystem::path(root_) / std::string(relative);
  std::filesystem::create_directories(to);
  std::filesystem::copy(
      from, to,
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

void TestServer::Remove(std::string_view relative) const {
  std::filesystem::remove(std::filesystem::path(root_) / std::string(relative));
}

}  // namespace testsupport
