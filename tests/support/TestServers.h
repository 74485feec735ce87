// The loopback HTTP and FTP servers the download tests talk to
// (tests/support/servers/). On the simulated build the helper starts the
// Python server itself on a free port and waits until it listens; under
// Wine the test program cannot start a Linux process, so
// servers/with_servers.sh starts both before the program and passes their
// ports and served directory in PELLMORE_TEST_HTTP_PORT,
// PELLMORE_TEST_FTP_PORT and PELLMORE_TEST_NET_ROOT.
//
// Served files shape the answer by name: "drop..." is cut off halfway,
// "slow..." comes in small, spaced pieces, and so does any file with a
// marker "NAME.drop" or "NAME.slow" beside it; a missing file gets 404 or
// 550; the named login is alice / secret (anonymous FTP works too).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "support/TempDir.h"

namespace testsupport {

class TestServer {
 public:
  enum Kind { Http, Ftp };
  // Starts (or, under Wine, finds) the server; throws std::runtime_error
  // when it does not listen within ten seconds.
  explicit TestServer(Kind kind);
  // Stops a server this helper started; never throws.
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  uint16_t Port() const { return port_; }
  // "127.0.0.1:<port>", as a location's Hostname.
  std::string HostAndPort() const;
  // Writes a file below the served directory (making its folders).
  void Put(std::string_view relative, std::string_view bytes) const;
  // Copies the host directory `from` with everything below it to
  // `relative` below the served directory (a built distribution's location
  // folder, say); files already there are replaced.
  void PutTree(std::string_view relative, const std::string& from) const;
  // Removes a served file, if it is there.
  void Remove(std::string_view relative) const;

 private:
  std::unique_ptr<TempDir> own_;  // sim: the served directory and the port file
  std::string root_;              // the served directory, as this program reaches it
  uint16_t port_ = 0;
  long pid_ = 0;
};

}  // namespace testsupport
