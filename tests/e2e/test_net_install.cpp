// The web distribution end to end: samples/install-net.dfm built by
// setup -b on an authoring machine, its location folder served by the
// loopback HTTP and FTP servers, and the real setup installing from there
// on fresh machines; then the faults a network brings, each of which must
// end with its message and leave the user's machine as it was.
#include <gmock/gmock.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <set>

#include "InstallRunFixture.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "support/TestServers.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testsupport::TestServer;

constexpr const char* kSource = "-sC:\\SETUP";
constexpr const char* kUsersFile = "C:\\Program Files\\Quenby\\Engine\\MyNotes.txt";
constexpr const char* kUsersBytes = "the user's own notes";
// The archive the faults strike: the engine group's, which holds its files.
constexpr const char* kStruck = "grpEngine.1";

// The net sample built once per program; `location` is the host folder of
// C:\Build\quenby\8.2, what a web distribution puts on its server.
struct NetBuild {
  testsupport::SimMachineHome authoring{"pellmore-e2e-net-authoring"};
  Outcome outcome;
  fs::path location;
};

const NetBuild& NetDistribution() {
  static NetBuild b;
  static const bool built = [] {
    b.authoring.Create();
    MakeAuthoringMachine(b.authoring);
    b.outcome = BuildOn(b.authoring, PELLMORE_NET_FORM);
    b.location = fs::path(b.authoring.MachineDir()) / "drive_c" / "Build" / "quenby" / "8.2";
    return true;
  }();
  (void)built;
  return b;
}

// Both servers, each serving the built folder four times: as built
// ("quenby/8.2"), without the struck archive ("missing/8.2"), and with it
// marked to drop halfway ("drop/8.2") or to come slowly ("slow/8.2").
struct Servers {
  TestServer http{TestServer::Http};
  TestServer ftp{TestServer::Ftp};
  Servers() {
    for (const TestServer* s : {&http, &ftp}) {
      for (const char* dir : {"quenby/8.2", "missing/8.2", "drop/8.2", "slow/8.2"})
        s->PutTree(dir, NetDistribution().location.string());
      s->Remove(std::string("missing/8.2/") + kStruck);
      s->Put(std::string("drop/8.2/") + kStruck + ".drop", "");
      s->Put(std::string("slow/8.2/") + kStruck + ".slow", "");
    }
  }
};

// Started on first use, stopped when the program ends.
const Servers& TheServers() {
  static Servers s;
  return s;
}

// A loopback port nothing listens on: bound, then let go.
uint16_t ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  ::close(fd);
  return ntohs(a.sin_port);
}

struct Login {
  bool ftp = false;
  std::string hostname;  // with the port
  std::string directory = "quenby/8.2";
  std::string username, password;  // a named login when the user name is given
};

Login Http(const std::string& host, const std::string& directory = "quenby/8.2") {
  return {false, host, directory, {}, {}};
}
Login Ftp(const std::string& host, const std::string& directory = "quenby/8.2",
          const std::string& username = {}, const std::string& password = {}) {
  return {true, host, directory, username, password};
}

// The net sample with `login` in place of its location's login.
std::string NetFormText(const Login& login) {
  std::string form = ReadHostFile(PELLMORE_NET_FORM);
  const std::string old =
      "    LoginInformation.Directory = 'quenby/8.2'\n"
      "    LoginInformation.Hostname = 'localhost:8080'\n";
  const size_t at = form.find(old);
  if (at == std::string::npos) throw std::runtime_error("the net sample's login has changed");
  std::string now = "    LoginInformation.Directory = '" + login.directory +
                    "'\n"
                    "    LoginInformation.Hostname = '" +
                    login.hostname + "'\n";
  if (login.ftp) now += "    LoginInformation.Protocol = ipFTP\n";
  if (!login.username.empty()) {
    now += "    LoginInformation.Anonymous = False\n";
    now += "    LoginInformation.Username = '" + login.username + "'\n";
    now += "    LoginInformation.Password = '" + login.password + "'\n";
  }
  return form.replace(at, old.size(), now);
}

class NetInstall : public InstallRun {
 protected:
  void SetUp() override {
    InstallRun::SetUp();
    ASSERT_EQ(NetDistribution().outcome.code, 0) << NetDistribution().outcome.Dump();
    TheServers();
    FreshNetTarget();
  }

  // A fresh target with only the setup program in C:\SETUP (the archives
  // are on the server) and a file of the user's in the destination.
  void FreshNetTarget() {
    FreshTarget();
    Open()->files().DeleteFile(std::string(kSetupDir) + "\\files.1");
    PutFile(kUsersFile, kUsersBytes);
    tempBefore_ = TempFiles();
  }

  Outcome Install(const Login& login, const std::string& script = {}) {
    return Run({kSource}, WriteForm("net.dfm", NetFormText(login)), script);
  }

  std::set<std::string> TempFiles() const {
    auto machine = Open();
    const std::string temp = machine->system().TempDirectory();
    std::set<std::string> names;
    for (const auto& e : machine->files().FindFiles(temp + "\\*"))
      if (!e.IsDirectory()) names.insert(temp + "\\" + e.name);
    return names;
  }
  // The files a run added to the temporary directory.
  std::vector<std::string> TempAdded() const {
    std::vector<std::string> added;
    for (const std::string& f : TempFiles())
      if (!tempBefore_.count(f)) added.push_back(f);
    return added;
  }

  // What every run must leave: the user's file as it was, and in the
  // destination only engine files as built, none of them from the archive
  // the run struck (`struck`, when not empty).
  void ExpectNothingLost(bool struck) const {
    EXPECT_EQ(ReadFile(kUsersFile), kUsersBytes);
    auto machine = Open();
    std::map<std::string, std::string> engine;
    for (const sample_engine::EngineFile& f : DemoDistribution().engine)
      engine[f.name] = std::string(f.bytes.begin(), f.bytes.end());
    for (const auto& e : machine->files().FindFiles(std::string(kEngineDir) + "\\*")) {
      if (e.IsDirectory() || e.name == "MyNotes.txt") continue;
      SCOPED_TRACE(e.name);
      ASSERT_TRUE(engine.count(e.name)) << "not an engine file";
      EXPECT_EQ(ReadFile(std::string(kEngineDir) + "\\" + e.name), engine[e.name]);
      if (struck) {
        EXPECT_TRUE(OwnArchives().count(e.name)) << "installed from the struck archive";
      }
    }
  }

  // The built archives by name, and the engine files that travel in an
  // archive of their own ("ifQDENG32_DLL.1" holds QDENG32.DLL).
  static const std::map<std::string, std::string>& Archives() {
    static const std::map<std::string, std::string> archives = [] {
      std::map<std::string, std::string> r;
      for (const auto& e : fs::directory_iterator(NetDistribution().location))
        r[e.path().filename().string()] = ReadHostFile(e.path());
      return r;
    }();
    return archives;
  }
  static const std::set<std::string>& OwnArchives() {
    static const std::set<std::string> own = [] {
      std::set<std::string> r;
      for (const sample_engine::EngineFile& f : DemoDistribution().engine) {
        std::string name = "if" + f.name + ".1";
        std::replace(name.begin() + 2, name.end() - 2, '.', '_');
        if (Archives().count(name)) r.insert(f.name);
      }
      return r;
    }();
    return own;
  }

  std::set<std::string> tempBefore_;
};

TEST_F(NetInstall, InstallsFromHttpAndFtpServersWithAnonymousAndNamedLogins) {
  const Servers& s = TheServers();
  struct Case {
    const char* what;
    Login login;
  };
  const Case cases[] = {
      {"HTTP, anonymous", Http(s.http.HostAndPort())},
      {"FTP, anonymous", Ftp(s.ftp.HostAndPort())},
      {"FTP, alice", Ftp(s.ftp.HostAndPort(), "quenby/8.2", "alice", "secret")},
  };
  bool first = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!first) FreshNetTarget();
    first = false;
    const Outcome o = Install(c.login);
    EXPECT_EQ(o.code, 0) << o.errors << o.Dump();
    EXPECT_THAT(EngineFilesNotInstalled(), IsEmpty());
    // The copy window names each archive while it comes in.
    for (const char* archive : {"Install1.1", kStruck})
      EXPECT_TRUE(o.Has("form", std::string("\"name\":\"lblCopyingFile\",\"text\":\"") + archive))
          << archive << "\n"
          << o.Dump();
    ExpectNothingLost(false);
    EXPECT_THAT(TempAdded(), IsEmpty()) << "a download was left in the temporary directory";
  }
}

TEST_F(NetInstall, NetworkFaultsEndWithTheirMessageAndLoseNothing) {
  const Servers& s = TheServers();
  const std::string http = s.http.HostAndPort(), ftp = s.ftp.HostAndPort();
  struct Case {
    const char* what;
    Login login;
    int code;
    std::vector<std::string> message;  // parts of the message the user sees
    std::string script = {};
    uint64_t freeBytes = 0;  // C:'s free space when not 0
  };
  const std::string refused = "127.0.0.1:" + std::to_string(ClosedPort());
  const std::string unknown = "no-such-host.invalid:8080";
  const std::string cancel =
      std::string("await lblCopyingFile ") + kStruck + "\npress Cancel\nanswer Yes\n";
  const Case cases[] = {
      // HTTP connects only when the first request goes out.
      {"connection refused",
       Http(refused),
       1,
       {"Cannot send request for file filelist.lst to the server", "ERROR_INTERNET_CANNOT_CONNECT",
        "Server " + refused}},
      {"host not found",
       Http(unknown),
       1,
       {"filelist.lst", "ERROR_INTERNET_NAME_NOT_RESOLVED", "Server " + unknown}},
      {"wrong password",
       Ftp(ftp, "quenby/8.2", "alice", "wrong"),
       1,
       {"Cannot connect to host " + ftp, "ERROR_INTERNET_LOGIN_FAILURE",
        "Response from server 530 "}},
      {"missing over HTTP",
       Http(http, "missing/8.2"),
       1,
       {"Could not find the file grpEngine.1 on the server", "Server " + http,
        "Response from server HTTP 404"}},
      {"missing over FTP",
       Ftp(ftp, "missing/8.2"),
       1,
       {"Cannot open file grpEngine.1 on server",
        "Response from server 550 /missing/8.2/grpEngine.1"}},
      {"dropped halfway over HTTP",
       Http(http, "drop/8.2"),
       1,
       {"Could not read from file grpEngine.1 on the server"}},
      {"dropped halfway over FTP", Ftp(ftp, "drop/8.2"), 1, {"grpEngine.1"}},
      {"cancelled while slow", Http(http, "slow/8.2"), 2, {}, cancel},
      {"disk full over HTTP",
       Http(http),
       1,
       {"There is not enough space on the disk to download ifQDENG32_DLL.1"},
       {},
       40000},
      {"disk full over FTP", Ftp(ftp), 1, {"not enough space on the disk"}, {}, 40000},
  };
  bool first = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!first) FreshNetTarget();
    first = false;
    if (c.freeBytes) Open()->SetFreeSpace('C', c.freeBytes);
    const auto start = std::chrono::steady_clock::now();
    const Outcome o = Install(c.login, c.script);
    // Nothing here waits for a network timeout: the unknown host fails at
    // once (.invalid never resolves), the rest at the server's answer.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(o.code, c.code) << o.errors << o.Dump();
    for (const std::string& part : c.message)
      EXPECT_TRUE(o.Has("error", part)) << part << "\n" << o.errors;
    ExpectNothingLost(true);
    // A failed run keeps the archives that came whole, for its resume; a
    // cancelled one keeps nothing; neither keeps part of one.
    for (const std::string& path : TempAdded()) {
      SCOPED_TRACE(path);
      EXPECT_NE(c.code, 2) << "a cancelled run left a download";
      const std::string bytes = ReadFile(path);
      EXPECT_TRUE(std::any_of(Archives().begin(), Archives().end(), [&](const auto& a) {
        return a.second == bytes;
      })) << "a partial download was left";
    }
  }
}

}  // namespace
}  // namespace e2e
