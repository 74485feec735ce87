// Fuzzes the download back end with whole server answers: a loopback
// server in this process answers every connection with the input's bytes,
// and a net install location downloads one file through the machine's
// internet library into a simulated machine. The first byte picks the
// protocol: HTTP (the rest is the answer: status line, headers, body) or
// FTP (the rest, up to a marker, is the control channel's replies, with
// passive-mode replies pointed at this server's data port; after the
// marker, what the data connection sends). Beyond memory errors and hangs
// it traps when a download fails with anything but the location's error
// family or without a reason, when an FTP download that succeeds saved
// anything but the start of the data sent, and, for an HTTP 2xx answer simple enough to
// judge here, when the outcome differs from what the answer says: a body
// shorter than its Content-Length must fail, an empty body or "404" near
// its start must be "not found", any other body must be saved exactly.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "files/cmp_TNetInstallLocation.h"
#include "framework/ClassRegistry.h"
#include "framework/StrUtils.h"
#include "platform/FileSystem.h"
#include "platform/sim/SimMachine.h"

namespace {

constexpr std::string_view kDataMarker =
    "\xF0"
    "DATA";
const std::string kLocal = "C:\\DL\\a.bin";

void Check(bool ok) {
  if (!ok) std::abort();
}

int Listen(uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::listen(fd, 16) != 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
    std::abort();
  port = ntohs(a.sin_port);
  return fd;
}

// Answers every connection on the main port with `control` and every one
// on the data port with `data`, then ends its side and reads until the
// client closes (closing with unread bytes would reset the connection and
// could lose what was sent).
class LoopbackServer {
 public:
  LoopbackServer() {
    main_ = Listen(mainPort_);
    data_ = Listen(dataPort_);
    thread_ = std::thread([this] { Loop(); });
    thread_.detach();
  }
  uint16_t MainPort() const { return mainPort_; }
  uint16_t DataPort() const { return dataPort_; }
  void Serve(std::string control, std::string data) {
    std::lock_guard<std::mutex> lock(mutex_);
    control_ = std::move(control);
    dataBytes_ = std::move(data);
  }

 private:
  struct Client {
    int fd;
    std::string out;
    size_t sent = 0;
    bool ended = false;
    std::chrono::steady_clock::time_point deadline;
  };

  void Loop() {
    std::vector<Client> clients;
    for (;;) {
      std::vector<pollfd> fds{{main_, POLLIN, 0}, {data_, POLLIN, 0}};
      for (const Client& c : clients)
        fds.push_back({c.fd, short(c.ended ? POLLIN : POLLIN | POLLOUT), 0});
      ::poll(fds.data(), fds.size(), 100);
      const auto now = std::chrono::steady_clock::now();
      const size_t polled = clients.size();  // those accepted now wait for the next poll
      for (int i = 0; i < 2; ++i) {
        if (!(fds[i].revents & POLLIN)) continue;
        const int fd = ::accept(fds[i].fd, nullptr, nullptr);
        if (fd < 0) continue;
        std::lock_guard<std::mutex> lock(mutex_);
        clients.push_back(
            {fd, i == 0 ? control_ : dataBytes_, 0, false, now + std::chrono::seconds(5)});
      }
      for (size_t i = 0; i < polled; ++i) {
        Client& c = clients[i];
        const short ev = fds[2 + i].revents;
        bool close = now > c.deadline;
        if (!c.ended && (ev & POLLOUT)) {
          const ssize_t n =
              ::send(c.fd, c.out.data() + c.sent, c.out.size() - c.sent, MSG_NOSIGNAL);
          if (n < 0) close = true;
          if (n > 0) c.sent += size_t(n);
        }
        if (!c.ended && c.sent == c.out.size()) {
          ::shutdown(c.fd, SHUT_WR);
          c.ended = true;
        }
        if (ev & (POLLIN | POLLHUP | POLLERR)) {
          char sink[4096];
          const ssize_t n = ::recv(c.fd, sink, sizeof sink, MSG_DONTWAIT);
          if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) close = true;
        }
        if (close) {
          ::close(c.fd);
          c.fd = -1;
        }
      }
      clients.erase(
          std::remove_if(clients.begin(), clients.end(), [](const Client& c) { return c.fd < 0; }),
          clients.end());
    }
  }

  int main_ = -1, data_ = -1;
  uint16_t mainPort_ = 0, dataPort_ = 0;
  std::mutex mutex_;
  std::string control_, dataBytes_;
  std::thread thread_;
};

LoopbackServer& Server() {
  static LoopbackServer* server = [] {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("pellmore-fuzz-net-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    platform::Install(platform::sim::CreateMachine(dir.string(), {}));
    platform::files().CreateDirectories("C:\\DL");
    RegisterNetInstallLocation(ClassRegistry::Global());
    std::atexit([] {
      platform::Install(nullptr);
      std::error_code ec;
      std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                      ("pellmore-fuzz-net-" + std::to_string(::getpid())),
                                  ec);
    });
    return new LoopbackServer;
  }();
  return *server;
}

// The control replies with every passive-mode reply aimed at our data port.
std::string AimPassiveReplies(std::string_view control, uint16_t port) {
  std::string out;
  size_t start = 0;
  while (start < control.size()) {
    size_t end = control.find('\n', start);
    end = end == std::string_view::npos ? control.size() : end + 1;
    const std::string_view line = control.substr(start, end - start);
    if (line.substr(0, 4) == "227 ")
      out += "227 Entering Passive Mode (127,0,0,1," + std::to_string(port >> 8) + "," +
             std::to_string(port & 255) + ")\r\n";
    else if (line.substr(0, 4) == "229 ")
      out += "229 Entering Extended Passive Mode (|||" + std::to_string(port) + "|)\r\n";
    else
      out += line;
    start = end;
  }
  return out;
}

bool Printable(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// What a plain HTTP 2xx answer (strict status line, "Name: value" headers,
// at most one Content-Length in plain digits, no transfer coding) says the
// file is; nullopt for any other answer. `complete` is false when the body
// is shorter than its Content-Length.
struct Judged {
  std::string file;
  bool complete = true;
};
std::optional<Judged> JudgeHttp(std::string_view answer) {
  const size_t headEnd = answer.find("\r\n\r\n");
  if (headEnd == std::string_view::npos) return std::nullopt;
  std::string_view head = answer.substr(0, headEnd + 2);
  const std::string_view body = answer.substr(headEnd + 4);
  size_t eol = head.find("\r\n");
  const std::string_view status = head.substr(0, eol);
  if (status.size() < 12 ||
      (status.substr(0, 9) != "HTTP/1.1 " && status.substr(0, 9) != "HTTP/1.0 "))
    return std::nullopt;
  if (status[9] != '2' || status[10] != '0' || status[11] < '0' || status[11] > '3')
    return std::nullopt;
  if (status.size() > 12 && (status[12] != ' ' || !Printable(status.substr(12))))
    return std::nullopt;
  std::optional<size_t> length;
  for (head.remove_prefix(eol + 2); !head.empty(); head.remove_prefix(eol + 2)) {
    eol = head.find("\r\n");
    const std::string_view line = head.substr(0, eol);
    const size_t colon = line.find(": ");
    if (colon == std::string_view::npos || colon == 0 || !Printable(line)) return std::nullopt;
    const std::string_view name = line.substr(0, colon), value = line.substr(colon + 2);
    if (!std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum((unsigned char)c) || c == '-'; }))
      return std::nullopt;
    if (value.empty() || value.front() == ' ' || value.back() == ' ') return std::nullopt;
    if (SameText(name, "Transfer-Encoding")) return std::nullopt;
    if (SameText(name, "Content-Length")) {
      if (length || value.size() > 9 || (value.size() > 1 && value[0] == '0') ||
          !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
      length = std::stoul(std::string(value));
    }
  }
  Judged j;
  j.file = std::string(length ? body.substr(0, *length) : body);
  j.complete = !length || body.size() >= *length;
  return j;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  LoopbackServer& server = Server();
  const bool ftp = data[0] & 1;
  const std::string_view answer(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string_view control = answer, sent;
  if (ftp) {
    const size_t at = answer.find(kDataMarker);
    if (at != std::string_view::npos) {
      control = answer.substr(0, at);
      sent = answer.substr(at + kDataMarker.size());
    }
    server.Serve(AimPassiveReplies(control, server.DataPort()), std::string(sent));
  } else {
    server.Serve(std::string(answer), "");
  }

  auto& files = platform::files();
  if (files.FileExists(kLocal)) files.DeleteFile(kLocal);
  bool ok = false;
  std::string error;
  bool notFound = false;
  {
    TNetInstallLocation location(nullptr);
    location.SetName("NetLocation1");
    location.LoginInformation()->SetHostname("127.0.0.1:" + std::to_string(server.MainPort()));
    location.LoginInformation()->SetProtocol(ftp ? ipFTP : ipHTTP);
    location.LoginInformation()->SetDirectory("pub");
    try {
      location.Download("a.bin", kLocal);
      ok = true;
    } catch (const ENIL& e) {
      error = e.Message();
      notFound = dynamic_cast<const ENIL_FileNotFound*>(&e) != nullptr;
    }
    // Anything else (another exception class) escapes: a finding.
  }
  // PELLMORE_FUZZ_VERBOSE=1 says how each input ended (to check seeds).
  static const bool verbose = std::getenv("PELLMORE_FUZZ_VERBOSE") != nullptr;
  if (verbose) std::fprintf(stderr, "%s: %s\n", ok ? "saved" : "failed", error.c_str());
  const auto judged = ftp ? std::nullopt : JudgeHttp(answer);
  if (judged) {
    const bool empty = judged->file.empty();
    const bool says404 = judged->file.substr(0, 30).find("404") != std::string::npos;
    const bool refused = !judged->complete || empty || says404;
    Check(ok == !refused);
    if (judged->complete && (empty || says404)) Check(notFound);
  }
  if (!ok) {
    Check(!error.empty());
    return 0;
  }
  std::string saved;
  {
    auto in = files.OpenRead(kLocal);
    char buf[8192];
    for (size_t n; (n = in->Read(buf, sizeof buf)) > 0;) saved.append(buf, n);
  }
  Check(!saved.empty());
  if (verbose) std::fprintf(stderr, "saved %zu bytes of %zu sent\n", saved.size(), sent.size());
  // A server may announce a size (SIZE, "150 ... (N bytes)") shorter than
  // what its data connection then sends; the library stops at the size.
  if (ftp) Check(sent.substr(0, saved.size()) == saved);
  if (judged) Check(saved == judged->file);
  return 0;
}
