// The net install location against real loopback HTTP and FTP servers:
// downloads over both protocols and logins, the failures a setup meets
// (refused, unknown host, wrong password, missing file or folder, a
// connection dropped mid-file, empty files and error pages), the abort
// flag, and the location as a form holds it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/cmp_TNetInstallLocation.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "install/UserAbortFlag.h"
#include "support/Fixture.h"
#include "support/TestMachine.h"
#include "support/TestServers.h"

using testing::HasSubstr;
using testsupport::TestServer;

namespace {

std::string Bytes(size_t n, unsigned seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = char((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
  return s;
}

struct Outcome {
  std::string error;  // class name, empty when the download succeeded
  std::string message;
};

class NetLocationTest : public PellmoreTest {
 protected:
  static void SetUpTestSuite() {
    http_ = std::make_unique<TestServer>(TestServer::Http);
    ftp_ = std::make_unique<TestServer>(TestServer::Ftp);
  }
  static void TearDownTestSuite() {
    http_.reset();
    ftp_.reset();
  }

  NetLocationTest() {
    RegisterControls(ClassRegistry::Global());
    RegisterNetInstallLocation(ClassRegistry::Global());
  }

  TCustomNetInstallLocation* NewLocation(TInternetProtocol protocol, const std::string& host,
                                         const std::string& directory = "") {
    auto* l = New<TNetInstallLocation>(form_.get(), "NetLocation" + std::to_string(++count_));
    l->LoginInformation()->SetProtocol(protocol);
    l->LoginInformation()->SetHostname(host);
    l->LoginInformation()->SetDirectory(directory);
    return l;
  }
  static const TestServer& Server(TInternetProtocol p) { return p == ipHTTP ? *http_ : *ftp_; }

  Outcome Run(TCustomNetInstallLocation& l, const std::string& remote, const std::string& local) {
    try {
      l.Download(remote, local);
    } catch (const Exception& e) {
      return {e.ClassName(), e.Message()};
    }
    return {};
  }

  static std::unique_ptr<TestServer> http_, ftp_;
  testsupport::TestMachine machine_{testsupport::ScratchNamed("pellmore-net")};
  Owned<TForm> form_{NewForm()};
  int count_ = 0;
};

std::unique_ptr<TestServer> NetLocationTest::http_;
std::unique_ptr<TestServer> NetLocationTest::ftp_;

TEST_F(NetLocationTest, DownloadsOverBothProtocolsAndLogins) {
  const std::string big = Bytes(100 * 1024 + 17, 1);  // many blocks, more than curl buffers
  http_->Put("a.bin", "root file over http");
  http_->Put("net/sub/big.bin", big);
  http_->Put("net/my file.bin", "a name with a blank");
  http_->Put("private/p.bin", "behind the named login");
  ftp_->Put("f.bin", "root file over ftp");
  ftp_->Put("net/sub/big.bin", big);

  struct Case {
    const char* what;
    TInternetProtocol protocol;
    const char* directory;
    const char* remote;
    bool anonymous;
    std::string expected;
  };
  const Case cases[] = {
      {"http, blank directory: /name", ipHTTP, "", "a.bin", true, "root file over http"},
      {"http, backslashes in the directory", ipHTTP, "net\\sub", "big.bin", true, big},
      {"http, a blank in the name", ipHTTP, "net", "my file.bin", true, "a name with a blank"},
      {"http, named login", ipHTTP, "private", "p.bin", false, "behind the named login"},
      {"ftp anonymous, blank directory: /", ipFTP, "", "f.bin", true, "root file over ftp"},
      {"ftp named login, a directory", ipFTP, "net/sub", "big.bin", false, big},
      {"ftp anonymous, absolute directory", ipFTP, "\\net\\sub", "big.bin", true, big},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* l = NewLocation(c.protocol, Server(c.protocol).HostAndPort(), c.directory);
    l->LoginInformation()->SetAnonymous(c.anonymous);
    if (!c.anonymous) {
      l->LoginInformation()->SetUsername("alice");
      l->LoginInformation()->SetPassword("secret");
    }
    std::vector<std::string> seen;
    int64_t lastTotal = 0, hookTotal = 0, expectedSize = -1;
    l->OnBeforeConnect = [&](TObject*) { seen.push_back("before connect"); };
    l->OnAfterConnect = [&](TObject*) { seen.push_back("after connect"); };
    l->OnBeforeDownload = [&](TObject*) { seen.push_back("before download"); };
    l->OnAfterDownload = [&](TObject*, bool aborted) {
      seen.push_back(aborted ? "after download, aborted" : "after download");
    };
    l->OnProgress = [&](TObject* sender, const std::string& remote, int64_t bytes, int64_t total,
                        int64_t size, const uint8_t*) {
      EXPECT_EQ(sender, l);
      EXPECT_EQ(remote, c.remote);
      EXPECT_EQ(total, lastTotal + bytes);
      EXPECT_LE(bytes, 8192);
      EXPECT_EQ(hookTotal, lastTotal) << "the hook comes after the event";
      lastTotal = total;
      expectedSize = size;
    };
    const std::string local = machine_.At("dl.bin");
    // Twice: the second download reuses the session and the connection.
    for (int round = 0; round < 2; ++round) {
      lastTotal = hookTotal = 0;
      l->Download(c.remote, local,
                  [&](const std::string&, int64_t, int64_t total, int64_t, const uint8_t*) {
                    hookTotal = total;
                  });
      EXPECT_EQ(testsupport::TestMachine::ReadFile(local), c.expected);
      EXPECT_EQ(hookTotal, int64_t(c.expected.size()));
    }
    if (c.protocol == ipHTTP) {
      EXPECT_EQ(expectedSize, int64_t(c.expected.size()));
    }
    EXPECT_THAT(seen, testing::ElementsAre("before connect", "after connect", "before download",
                                           "after download", "before download", "after download"));
    EXPECT_EQ(CurrentNetLocation(), l);
  }
}

TEST_F(NetLocationTest, FtpDirectoryChangesBetweenDownloadsOfOneLocation) {
  // A relative Directory is relative to the login's start, however often
  // the location downloads and whatever it downloaded before.
  ftp_->Put("net/sub/a.bin", "in net/sub");
  ftp_->Put("net/a.bin", "in net");
  ftp_->Put("a.bin", "at the root");
  auto* l = NewLocation(ipFTP, ftp_->HostAndPort());
  const std::string local = machine_.At("a.bin");
  for (const auto& [dir, expected] : {std::pair{"net/sub", "in net/sub"},
                                      {"net/sub", "in net/sub"},
                                      {"net", "in net"},
                                      {"", "at the root"},
                                      {"net\\sub", "in net/sub"}}) {
    SCOPED_TRACE(dir);
    l->LoginInformation()->SetDirectory(dir);
    l->Download("a.bin", local, nullptr);
    EXPECT_EQ(testsupport::TestMachine::ReadFile(local), expected);
  }
}

TEST_F(NetLocationTest, FailuresNameWhatFailedTheServerAndItsAnswer) {
  http_->Put("net/empty.bin", "");
  http_->Put("net/drop.bin", Bytes(64 * 1024, 2));
  http_->Put("net/page.htm", "<html><h1>Error 404</h1> but served with 200</html>");
  http_->Put("net/choices.bin", "<html>Choose one of these archives</html>");
  http_->Put("net/choices.bin.status", "300");
  ftp_->Put("net/empty.bin", "");
  ftp_->Put("net/drop.bin", Bytes(64 * 1024, 2));
  const std::string h = http_->HostAndPort(), f = ftp_->HostAndPort();
  const std::string closed = "127.0.0.1:1";

  struct Case {
    const char* what;
    TInternetProtocol protocol;
    std::string host;
    const char* password;  // named login when set
    const char* directory;
    const char* remote;
    const char* error;
    std::string message;   // the start of the composed message
    const char* response;  // in the server's response
  };
  const Case cases[] = {
      {"http refused", ipHTTP, closed, nullptr, "net", "a.bin", "ENIL_HTTPSendRequest",
       "Cannot send request for file a.bin to the server. Error message "
       "ERROR_INTERNET_CANNOT_CONNECT. Server " +
           closed + ". Response from server ",
       ""},
      {"ftp refused", ipFTP, closed, nullptr, "net", "a.bin", "ENIL_OpenService",
       "Cannot connect to host " + closed + ". Error message ERROR_INTERNET_CANNOT_CONNECT.", ""},
      {"http host not found", ipHTTP, "no-such-host.invalid", nullptr, "net", "a.bin",
       "ENIL_HTTPSendRequest",
       "Cannot send request for file a.bin to the server. Error message "
       "ERROR_INTERNET_NAME_NOT_RESOLVED. Server no-such-host.invalid.",
       ""},
      {"ftp wrong password", ipFTP, f, "wrong", "net", "a.bin", "ENIL_OpenService",
       "Cannot connect to host " + f + ". Error message ERROR_INTERNET_LOGIN_FAILURE. Server " + f +
           ". Response from server 530",
       "530"},
      {"ftp missing folder", ipFTP, f, nullptr, "nodir", "a.bin", "ENIL_FTPSetDir",
       "Cannot set directory on server to nodir. Error message ERROR_INTERNET_EXTENDED_ERROR.",
       "550"},
      {"ftp missing file", ipFTP, f, nullptr, "net", "nope.bin", "ENIL_FTPOpenFile",
       "Cannot open file nope.bin on server. Error message ERROR_INTERNET_EXTENDED_ERROR. "
       "Server " +
           f + ". Response from server 550",
       "550"},
      {"http missing file: the 404 page", ipHTTP, h, nullptr, "net", "nope.bin",
       "ENIL_FileNotFound", "Could not find the file nope.bin on the server.", "HTTP 404"},
      {"http page with 404 near its top", ipHTTP, h, nullptr, "net", "page.htm",
       "ENIL_FileNotFound", "Could not find the file page.htm on the server.", ""},
      {"http answer that is no success", ipHTTP, h, nullptr, "net", "choices.bin",
       "ENIL_FileNotFound", "Could not find the file choices.bin on the server.", "HTTP 300"},
      {"http empty file", ipHTTP, h, nullptr, "net", "empty.bin", "ENIL_FileNotFound",
       "Could not find the file empty.bin on the server.", ""},
      {"ftp empty file", ipFTP, f, nullptr, "net", "empty.bin", "ENIL_FileNotFound",
       "Could not find the file empty.bin on the server.", ""},
      {"http dropped mid-file", ipHTTP, h, nullptr, "net", "drop.bin", "ENIL_ReadFile",
       "Could not read from file drop.bin on the server.", ""},
      {"ftp dropped mid-file", ipFTP, f, nullptr, "net", "drop.bin", "ENIL_ReadFile",
       "Could not read from file drop.bin on the server.", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* l = NewLocation(c.protocol, c.host, c.directory);
    if (c.password) {
      l->LoginInformation()->SetAnonymous(false);
      l->LoginInformation()->SetUsername("alice");
      l->LoginInformation()->SetPassword(c.password);
    }
    bool afterDownload = false;
    l->OnAfterDownload = [&](TObject*, bool) { afterDownload = true; };
    const std::string local = machine_.At("dl.bin");
    testsupport::TestMachine::WriteFile(local, "what was there before");
    const Outcome o = Run(*l, c.remote, local);
    EXPECT_EQ(o.error, c.error);
    EXPECT_THAT(o.message, testing::StartsWith(c.message));
    EXPECT_THAT(o.message, HasSubstr(". Response from server " + std::string(c.response)));
    EXPECT_FALSE(afterDownload);
    // The local file holds what arrived, never more: nothing for a
    // refusal, part of the file for a drop.
    const std::string kept = testsupport::TestMachine::ReadFile(local);
    if (std::string(c.remote) == "drop.bin") {
      EXPECT_LT(kept.size(), 64u * 1024);
    } else if (std::string(c.error) != "ENIL_FileNotFound") {
      EXPECT_EQ(kept, "what was there before");
    }
  }
}

TEST_F(NetLocationTest, AbortFlagStopsAfterTheCurrentProgressReport) {
  const std::string slow = Bytes(48 * 1024, 3);
  http_->Put("net/slow.bin", slow);
  ftp_->Put("net/slow.bin", slow);
  for (TInternetProtocol p : {ipHTTP, ipFTP}) {
    SCOPED_TRACE(p == ipHTTP ? "http" : "ftp");
    SetUserAbortFlag(false);
    auto* l = NewLocation(p, Server(p).HostAndPort(), "net");
    int reports = 0, hooks = 0;
    bool abortedSeen = false;
    l->OnProgress = [&](TObject*, const std::string&, int64_t, int64_t, int64_t, const uint8_t*) {
      ++reports;
      SetUserAbortFlag(true);  // as the copy dialog's Cancel does
    };
    l->OnAfterDownload = [&](TObject*, bool aborted) { abortedSeen = aborted; };
    const std::string local = machine_.At("slow.bin");
    l->Download("slow.bin", local,
                [&](const std::string&, int64_t, int64_t, int64_t, const uint8_t*) { ++hooks; });
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(hooks, 1) << "the current report still reaches the hook";
    EXPECT_TRUE(abortedSeen);
    EXPECT_EQ(testsupport::TestMachine::ReadFile(local), "") << "the stopped block is not kept";
    // The location stays usable once the flag is down again.
    SetUserAbortFlag(false);
    l->OnProgress = nullptr;
    l->Download("slow.bin", local, nullptr);
    EXPECT_EQ(testsupport::TestMachine::ReadFile(local), slow);
  }
}

TEST_F(NetLocationTest, LoginRulesPathsAndTheFormsView) {
  struct Login {
    bool anonymous;
    const char *host, *user, *password;
    bool filledIn;
  };
  const Login logins[] = {
      {true, "", "", "", false},       {true, "  ", "alice", "secret", false},
      {true, "server", "", "", true},  {false, "", "alice", "", true},
      {false, "", "", "secret", true}, {false, " ", " ", "\t", false},
      {false, "server", "", "", true},
  };
  for (const Login& c : logins) {
    TLoginInformation login;
    login.SetAnonymous(c.anonymous);
    login.SetHostname(c.host);
    login.SetUsername(c.user);
    login.SetPassword(c.password);
    EXPECT_EQ(login.FilledIn(), c.filledIn)
        << c.anonymous << " '" << c.host << "' '" << c.user << "' '" << c.password << "'";
  }

  struct Dir {
    const char* directory;
    const char* server;
    const char* build;
  };
  const Dir dirs[] = {{"", "/", ""},
                      {"net", "net", "net"},
                      {"\\net\\sub\\", "/net/sub/", "net\\sub"},
                      {"/pub/setup", "/pub/setup", "pub\\setup"}};
  for (const Dir& d : dirs) {
    auto* l = NewLocation(ipFTP, "h", d.directory);
    EXPECT_EQ(l->ServerDirectory(), d.server) << d.directory;
    EXPECT_EQ(l->NetLocationPath(), d.build) << d.directory;
  }

  Owned<TForm> form(NewForm());
  ReadForm(*form,
           "object Form1: TForm\n"
           "  object NetLocation1: TNetInstallLocation\n"
           "    LoginInformation.Hostname = '127.0.0.1:8080'\n"
           "    LoginInformation.Protocol = ipFTP\n"
           "    LoginInformation.Directory = 'net'\n"
           "    LoginInformation.Anonymous = False\n"
           "  end\n"
           "end\n",
           "net.dfm");
  auto* read = dynamic_cast<TNetInstallLocation*>(form->FindComponent("NetLocation1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->LoginInformation()->Hostname(), "127.0.0.1:8080");
  EXPECT_EQ(read->LoginInformation()->Protocol(), ipFTP);
  EXPECT_FALSE(read->LoginInformation()->Anonymous());
  EXPECT_EQ(read->LoginInformation()->Location(), read);
  EXPECT_EQ(AsNetInstallLocation(read), read);

  // The setter copies; the location keeps its own login.
  auto* other = NewLocation(ipHTTP, "elsewhere");
  other->SetLoginInformation(read->LoginInformation());
  EXPECT_EQ(other->LoginInformation()->Hostname(), "127.0.0.1:8080");
  EXPECT_EQ(other->LoginInformation()->Location(), other);

  // Every location is listed while it lives; a blank entry is refused.
  EXPECT_EQ(TCustomNetInstallLocationList::Items().size(), size_t(count_ + 1));
  EXPECT_THROW(TCustomNetInstallLocationList::Add(nullptr), IENetList);
  form.reset();
  EXPECT_EQ(TCustomNetInstallLocationList::Items().size(), size_t(count_));
}

}  // namespace
