// The simulated internet library over libcurl (see SimInternet.h).
// Every connection is a curl multi handle (its connection cache keeps the
// FTP login between calls); every file or request is an easy handle on it
// whose data the caller pulls with ReadFile. The transfer pauses when the
// handle holds kBufferLimit bytes nobody has read, so memory stays bounded
// whatever the file's size. Each call runs the transfer only until it can
// answer: FtpOpenFile until the server accepted RETR, HttpSendRequest
// until the response's headers are in, ReadFile until the asked bytes or
// the end arrived.
#include "platform/sim/SimInternet.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "framework/StrUtils.h"

namespace platform::sim {
namespace {

// The library's own error codes and the Win32 ones it leaves.
enum : uint32_t {
  kErrorInvalidHandle = 6,
  kErrorInsufficientBuffer = 122,
  kErrorInternetTimeout = 12002,
  kErrorInternetExtended = 12003,
  kErrorInternetInternal = 12004,
  kErrorInternetNameNotResolved = 12007,
  kErrorInternetLoginFailure = 12015,
  kErrorInternetIncorrectHandleType = 12018,
  kErrorInternetCannotConnect = 12029,
  kErrorInternetConnectionAborted = 12030,
  kErrorInternetConnectionReset = 12031,
  kErrorHttpInvalidServerResponse = 12152,
  kErrorHttpInvalidQueryRequest = 12154,
};

// curl hands over at most kReceiveBuffer bytes per callback (one socket
// read); the handle holds up to kBufferLimit unread bytes. Large reads keep
// the system calls per megabyte near what a plain curl download makes,
// while the caller takes 8 KiB at a time.
constexpr long kReceiveBuffer = 128 * 1024;
constexpr size_t kBufferLimit = 256 * 1024;
constexpr long kConnectTimeoutSeconds = 30;
constexpr long kStallSeconds = 60;  // no byte for this long: a timeout

// What the system's library answers for each way a transfer can fail.
uint32_t ErrorFor(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return kErrorInternetNameNotResolved;
    case CURLE_COULDNT_CONNECT:
      return kErrorInternetCannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
      return kErrorInternetTimeout;
    case CURLE_LOGIN_DENIED:
      return kErrorInternetLoginFailure;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_QUOTE_ERROR:
      return kErrorInternetExtended;  // the server's reply says why
    case CURLE_PARTIAL_FILE:
      return kErrorInternetConnectionAborted;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
      return kErrorInternetConnectionReset;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_GOT_NOTHING:
      return kErrorHttpInvalidServerResponse;
    default:
      return kErrorInternetInternal;
  }
}

std::string Escape(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || std::strchr("-._~!$&'()*+,;=:@", c)) {
      out += char(c);
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

class CurlLibrary;

// A connection: the server, the login and, for FTP, the current directory.
struct Connection {
  std::string host;
  uint16_t port = 0;
  bool ftp = false;
  bool hasLogin = false;
  std::string user, password;
  std::string cwd;  // FTP: "" (the login's home), "/abs/path" or "rel/path"
  CURLM* multi = nullptr;
  std::set<InternetHandle> children;
};

// One easy transfer whose data is pulled by the caller.
struct Transfer {
  CurlLibrary* library = nullptr;
  Connection* connection = nullptr;
  CURL* easy = nullptr;
  bool added = false;
  bool done = false;
  CURLcode result = CURLE_OK;
  bool paused = false;
  std::string buffer;  // bytes not yet read start at `readPos`
  size_t readPos = 0;
  // HTTP: the final response's header lines, complete once a blank line
  // ended a response that is not 1xx.
  bool http = false;
  std::string object;
  std::vector<std::string> headers;
  long status = 0;
  bool headersDone = false;
  bool sent = false;
  // FTP: RETR accepted (150 or 125 seen).
  bool ftpStarted = false;
  std::string ftpReply;  // the reply being received, line by line
  curl_slist* headerList = nullptr;

  size_t Buffered() const { return buffer.size() - readPos; }
};

struct Handle {
  enum Kind { Session, Conn, File, Request } kind;
  std::string agent;
  std::unique_ptr<Connection> connection;
  std::unique_ptr<Transfer> transfer;
  InternetHandle parent = 0;
};

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

class CurlLibrary final : public InternetLibrary {
 public:
  explicit CurlLibrary(std::vector<std::string> lacks) : lacks_(std::move(lacks)) { GlobalInit(); }
  ~CurlLibrary() override {
    while (!handles_.empty()) Close(handles_.rbegin()->first);
  }

  bool Resolve(std::string_view name) override {
    for (const auto& l : lacks_)
      if (SameText(l, name)) return false;
    for (const char* e : kInternetEntryPoints)
      if (name == e) return true;
    return false;
  }

  InternetHandle Open(std::string_view agent, uint32_t, uint32_t) override {
    auto h = std::make_unique<Handle>(Handle{Handle::Session, std::string(agent), {}, {}, 0});
    return Add(std::move(h));
  }

  InternetHandle Connect(InternetHandle session, std::string_view host, uint16_t port,
                         const std::string* user, const std::string* password, uint32_t service,
                         uint32_t, uintptr_t) override {
    if (!Is(session, Handle::Session)) return 0;
    if (service != kInternetServiceFtp && service != kInternetServiceHttp)
      return Fail(kErrorInternetIncorrectHandleType);
    auto c = std::make_unique<Connection>();
    c->host = std::string(host);
    c->ftp = service == kInternetServiceFtp;
    c->port = port ? port : (c->ftp ? 21 : 80);
    c->hasLogin = user != nullptr && !(c->ftp && user->empty());
    if (user) c->user = *user;
    if (password) c->password = *password;
    c->multi = curl_multi_init();
    if (!c->multi) return Fail(kErrorInternetInternal);
    auto h = std::make_unique<Handle>(Handle{Handle::Conn, {}, std::move(c), {}, session});
    Connection* conn = h->connection.get();
    const InternetHandle id = Add(std::move(h));
    // The FTP login happens now, as with the system's library; an HTTP
    // connection is only a name until a request is sent.
    if (conn->ftp && !Probe(*conn, "")) {
      const uint32_t error = lastError_;
      Close(id);
      return Fail(error);
    }
    return id;
  }

  bool FtpSetCurrentDirectory(InternetHandle connection, std::string_view directory) override {
    Connection* c = ConnectionOf(connection);
    if (!c) return false;
    if (!c->ftp) return Fail(kErrorInternetIncorrectHandleType), false;
    std::string next(directory);
    if (next.empty() || next[0] != '/')
      next = c->cwd.empty() ? next : c->cwd + (c->cwd.back() == '/' ? "" : "/") + next;
    if (!Probe(*c, next)) return false;
    c->cwd = next;
    return true;
  }

  bool CloseHandle(InternetHandle handle) override {
    if (!handles_.count(handle)) return Fail(kErrorInvalidHandle), false;
    Close(handle);
    return true;
  }

  bool QueryDataAvailable(InternetHandle file, uint32_t& bytes) override {
    Transfer* t = TransferOf(file);
    if (!t) return false;
    if (!Pump(*t, [&] { return t->Buffered() > 0; }) && t->result != CURLE_OK && !t->Buffered())
      return Fail(ErrorFor(t->result)), false;
    bytes = uint32_t(std::min<size_t>(t->Buffered(), UINT32_MAX));
    return true;
  }

  bool ReadFile(InternetHandle file, void* buffer, uint32_t size, uint32_t& read) override {
    read = 0;
    Transfer* t = TransferOf(file);
    if (!t) return false;
    if (t->http && !t->sent) return Fail(kErrorInternetIncorrectHandleType), false;
    auto* out = static_cast<uint8_t*>(buffer);
    // As the system's library in its blocking mode: the whole buffer, or
    // what there is up to the end. Bytes that arrived before a failure are
    // delivered first; the failure is the next call's answer.
    while (read < size) {
      Pump(*t, [&] { return t->Buffered() > 0; });
      if (t->Buffered() == 0) {
        if (read > 0 || t->result == CURLE_OK) return true;
        return Fail(ErrorFor(t->result)), false;
      }
      const size_t n = std::min<size_t>(t->Buffered(), size - read);
      std::memcpy(out + read, t->buffer.data() + t->readPos, n);
      t->readPos += n;
      read += uint32_t(n);
    }
    return true;
  }

  InternetHandle FtpOpenFile(InternetHandle connection, std::string_view name, uint32_t, uint32_t,
                             uintptr_t) override {
    Connection* c = ConnectionOf(connection);
    if (!c) return 0;
    if (!c->ftp) return Fail(kErrorInternetIncorrectHandleType);
    auto t = NewTransfer(*c, FtpUrl(*c, c->cwd, name));
    if (!t) return 0;
    Transfer* tp = t.get();
    const InternetHandle id = AddChild(connection, Handle::File, std::move(t));
    if (!Start(*tp)) {
      Close(id);
      return 0;
    }
    // The server answers RETR before any data: a missing file fails here.
    Pump(*tp, [&] { return tp->ftpStarted || tp->Buffered() > 0; });
    if (!tp->ftpStarted && !tp->Buffered() && tp->done && tp->result != CURLE_OK) {
      const uint32_t error = ErrorFor(tp->result);
      Close(id);
      return Fail(error);
    }
    return id;
  }

  InternetHandle HttpOpenRequest(InternetHandle connection, std::string_view verb,
                                 std::string_view object, uint32_t, uintptr_t) override {
    Connection* c = ConnectionOf(connection);
    if (!c) return 0;
    if (c->ftp || verb != "GET") return Fail(kErrorInternetIncorrectHandleType);
    std::string path(object);
    if (path.empty() || path[0] != '/') path.insert(0, "/");
    auto t = NewTransfer(*c, "http://" + c->host + ":" + std::to_string(c->port) + path);
    if (!t) return 0;
    t->http = true;
    t->object = path;
    return AddChild(connection, Handle::Request, std::move(t));
  }

  bool HttpSendRequest(InternetHandle request, std::string_view headers) override {
    Transfer* t = TransferOf(request);
    if (!t) return false;
    if (!t->http || t->sent) return Fail(kErrorInternetIncorrectHandleType), false;
    curl_slist* list = nullptr;
    for (const std::string& line : SplitLines(headers))
      if (!line.empty()) list = curl_slist_append(list, line.c_str());
    t->headerList = list;  // freed with the transfer
    curl_easy_setopt(t->easy, CURLOPT_HTTPHEADER, list);
    if (t->connection->hasLogin && !t->connection->user.empty()) {
      curl_easy_setopt(t->easy, CURLOPT_USERNAME, t->connection->user.c_str());
      curl_easy_setopt(t->easy, CURLOPT_PASSWORD, t->connection->password.c_str());
    }
    if (!Start(*t)) return false;
    t->sent = true;
    Pump(*t, [&] { return t->headersDone; });
    if (!t->headersDone) {
      const uint32_t error = ErrorFor(t->result == CURLE_OK ? CURLE_GOT_NOTHING : t->result);
      t->sent = false;
      return Fail(error), false;
    }
    return true;
  }

  bool HttpQueryInfo(InternetHandle request, uint32_t level, uint32_t bufferSize,
                     std::string& value) override {
    Transfer* t = TransferOf(request);
    if (!t) return false;
    if (!t->http || !t->headersDone) return Fail(kErrorInternetIncorrectHandleType), false;
    std::string found;
    bool have = false;
    if (level == kHttpQueryContentLength) {
      for (const std::string& h : t->headers) {
        const size_t colon = h.find(':');
        if (colon != std::string::npos && SameText(Trim(h.substr(0, colon)), "Content-Length")) {
          found = Trim(h.substr(colon + 1));
          have = true;
        }
      }
    } else if (level == kHttpQueryStatusCode) {
      found = std::to_string(t->status);
      have = true;
    } else {
      return Fail(kErrorHttpInvalidQueryRequest), false;
    }
    if (!have) return Fail(kErrorHttpHeaderNotFound), false;
    if (found.size() + 1 > bufferSize) return Fail(kErrorInsufficientBuffer), false;
    value = found;
    return true;
  }

  bool GetLastResponseInfo(uint32_t& error, std::string& text, uint32_t bufferSize) override {
    error = 0;
    if (lastResponse_.size() + 1 > bufferSize) return Fail(kErrorInsufficientBuffer), false;
    text = lastResponse_;
    return true;
  }

  uint32_t LastError() override { return lastError_; }

  // Called by the header callback with each complete FTP reply.
  void NoteReply(const std::string& reply) { lastResponse_ = reply; }

 private:
  static std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string line(text.substr(start, end - start));
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      start = end + 1;
    }
    return lines;
  }

  InternetHandle Fail(uint32_t error) {
    lastError_ = error;
    return 0;
  }

  InternetHandle Add(std::unique_ptr<Handle> h) {
    nextHandle_ += 4;
    handles_[nextHandle_] = std::move(h);
    return nextHandle_;
  }

  InternetHandle AddChild(InternetHandle parent, Handle::Kind kind, std::unique_ptr<Transfer> t) {
    auto h = std::make_unique<Handle>(Handle{kind, {}, {}, std::move(t), parent});
    const InternetHandle id = Add(std::move(h));
    handles_[parent]->connection->children.insert(id);
    return id;
  }

  bool Is(InternetHandle id, Handle::Kind kind) {
    auto it = handles_.find(id);
    if (it == handles_.end()) return Fail(kErrorInvalidHandle), false;
    if (it->second->kind != kind) return Fail(kErrorInternetIncorrectHandleType), false;
    return true;
  }

  Connection* ConnectionOf(InternetHandle id) {
    return Is(id, Handle::Conn) ? handles_[id]->connection.get() : nullptr;
  }

  Transfer* TransferOf(InternetHandle id) {
    auto it = handles_.find(id);
    if (it == handles_.end() || !it->second->transfer) {
      Fail(it == handles_.end() ? kErrorInvalidHandle : kErrorInternetIncorrectHandleType);
      return nullptr;
    }
    return it->second->transfer.get();
  }

  // Closing a handle closes what was opened through it, as the system's
  // library does.
  void Close(InternetHandle id) {
    auto it = handles_.find(id);
    if (it == handles_.end()) return;
    std::unique_ptr<Handle> h = std::move(it->second);
    handles_.erase(it);
    if (h->kind == Handle::Session) {
      std::vector<InternetHandle> children;
      for (const auto& [cid, ch] : handles_)
        if (ch->kind == Handle::Conn && ch->parent == id) children.push_back(cid);
      for (InternetHandle c : children) Close(c);
    }
    if (h->connection) {
      for (InternetHandle c : std::set<InternetHandle>(h->connection->children)) Close(c);
      curl_multi_cleanup(h->connection->multi);
    }
    if (h->transfer) {
      Transfer& t = *h->transfer;
      if (t.added) curl_multi_remove_handle(t.connection->multi, t.easy);
      curl_easy_cleanup(t.easy);
      curl_slist_free_all(t.headerList);
      auto p = handles_.find(h->parent);
      if (p != handles_.end() && p->second->connection) p->second->connection->children.erase(id);
    }
  }

  std::string FtpUrl(const Connection& c, const std::string& dir, std::string_view name) const {
    std::string url = "ftp://" + c.host + ":" + std::to_string(c.port) + "/";
    // A leading "/" names the server's root ("%2F" in a URL); without it
    // the path is relative to the login's home directory.
    std::string_view rest = dir;
    if (!rest.empty() && rest[0] == '/') {
      url += "%2F";
      rest.remove_prefix(1);
      if (!rest.empty() || !name.empty()) url += "/";
    }
    size_t start = 0;
    while (start < rest.size()) {
      size_t slash = rest.find('/', start);
      if (slash == std::string_view::npos) slash = rest.size();
      if (slash > start) url += Escape(rest.substr(start, slash - start)) + "/";
      start = slash + 1;
    }
    url += Escape(name);
    return url;
  }

  std::unique_ptr<Transfer> NewTransfer(Connection& c, const std::string& url) {
    auto t = std::make_unique<Transfer>();
    t->library = this;
    t->connection = &c;
    t->easy = curl_easy_init();
    if (!t->easy) {
      Fail(kErrorInternetInternal);
      return nullptr;
    }
    CURL* e = t->easy;
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, static_cast<void*>(t.get()));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kReceiveBuffer);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(e, CURLOPT_PROXY, "");  // no proxy, whatever the host's environment
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlLibrary::OnData);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, t.get());
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlLibrary::OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, t.get());
    if (c.ftp) {
      if (c.hasLogin) {
        curl_easy_setopt(e, CURLOPT_USERNAME, c.user.c_str());
        curl_easy_setopt(e, CURLOPT_PASSWORD, c.password.c_str());
      }
      curl_easy_setopt(e, CURLOPT_TRANSFERTEXT, 0L);
    }
    return t;
  }

  bool Start(Transfer& t) {
    if (curl_multi_add_handle(t.connection->multi, t.easy) != CURLM_OK)
      return Fail(kErrorInternetInternal), false;
    t.added = true;
    return true;
  }

  // Runs a transfer that only logs in and changes to `dir` (no data).
  bool Probe(Connection& c, const std::string& dir) {
    std::string url = FtpUrl(c, dir, "");
    if (url.back() != '/') url += "/";
    auto t = NewTransfer(c, url);
    if (!t) return false;
    curl_easy_setopt(t->easy, CURLOPT_NOBODY, 1L);
    if (!Start(*t)) {
      curl_easy_cleanup(t->easy);
      return false;
    }
    Pump(*t, [] { return false; });
    curl_multi_remove_handle(c.multi, t->easy);
    curl_easy_cleanup(t->easy);
    if (t->result != CURLE_OK) return Fail(ErrorFor(t->result)), false;
    return true;
  }

  // Runs the connection's transfers until `ready` or this one ended.
  // Returns whether `ready` held.
  bool Pump(Transfer& t, const std::function<bool()>& ready) {
    while (!ready()) {
      if (t.done) return false;
      if (t.paused && t.Buffered() < kBufferLimit) {
        t.paused = false;
        curl_easy_pause(t.easy, CURLPAUSE_CONT);  // may deliver at once
        continue;
      }
      int running = 0;
      curl_multi_perform(t.connection->multi, &running);
      int left = 0;
      while (CURLMsg* m = curl_multi_info_read(t.connection->multi, &left)) {
        if (m->msg != CURLMSG_DONE) continue;
        // The message may be another transfer's of this connection.
        void* p = nullptr;
        curl_easy_getinfo(m->easy_handle, CURLINFO_PRIVATE, &p);
        if (auto* done = static_cast<Transfer*>(p)) {
          done->done = true;
          done->result = m->data.result;
          if (done->http && done->result == CURLE_OK) done->headersDone = true;
        }
      }
      if (ready() || t.done) continue;
      curl_multi_poll(t.connection->multi, nullptr, 0, 100, nullptr);
    }
    return true;
  }

  static size_t OnData(char* data, size_t, size_t n, void* user) {
    auto* t = static_cast<Transfer*>(user);
    if (t->Buffered() > 0 && t->Buffered() + n > kBufferLimit) {
      t->paused = true;
      return CURL_WRITEFUNC_PAUSE;  // curl keeps the bytes and offers them again
    }
    if (t->readPos > 0) {
      t->buffer.erase(0, t->readPos);
      t->readPos = 0;
    }
    t->buffer.append(data, n);
    return n;
  }

  static size_t OnHeader(char* data, size_t, size_t n, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::string line(data, n);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (t->http) {
      if (line.rfind("HTTP/", 0) == 0) {
        t->headers.clear();
        const size_t sp = line.find(' ');
        t->status = sp == std::string::npos ? 0 : std::atol(line.c_str() + sp + 1);
      } else if (line.empty()) {
        if (t->status >= 200) t->headersDone = true;
      } else {
        t->headers.push_back(line);
      }
      return n;
    }
    // FTP: server replies, a line at a time; "NNN-" continues a reply,
    // "NNN " ends it.
    t->ftpReply += line + "\r\n";
    const bool last = line.size() >= 4 && std::isdigit((unsigned char)line[0]) &&
                      std::isdigit((unsigned char)line[1]) &&
                      std::isdigit((unsigned char)line[2]) && line[3] == ' ';
    const bool bare = line.size() == 3 && std::isdigit((unsigned char)line[0]);
    if (last || bare) {
      t->library->NoteReply(t->ftpReply);
      if (line.rfind("150", 0) == 0 || line.rfind("125", 0) == 0) t->ftpStarted = true;
      t->ftpReply.clear();
    }
    return n;
  }

  std::vector<std::string> lacks_;
  std::map<InternetHandle, std::unique_ptr<Handle>> handles_;
  InternetHandle nextHandle_ = 0xCC0000;
  uint32_t lastError_ = 0;
  std::string lastResponse_;
};

}  // namespace

std::unique_ptr<InternetLibrary> SimInternet::Load(std::string_view name) {
  const MachineSettings& s = core_.Settings();
  if (!s.wininet) return nullptr;
  if (!SameText(name, "WININET.DLL") && !SameText(name, "WININET")) return nullptr;
  return std::make_unique<CurlLibrary>(s.wininetLacks);
}

}  // namespace platform::sim
