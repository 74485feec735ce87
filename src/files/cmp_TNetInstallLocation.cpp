// The net install location's connection and download (see
// cmp_TNetInstallLocation.h).
#include "files/cmp_TNetInstallLocation.h"

#include <cctype>
#include <charconv>

#include "framework/Application.h"
#include "framework/StrUtils.h"
#include "install/UserAbortFlag.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

void SetCurrentNetLocation(TCustomNetInstallLocation* location) noexcept;

namespace {

constexpr const char* kLibraryName = "WININET.DLL";

constexpr uint32_t kPreconfiguredAccess = 0;
// Reload, keep the connection, write nothing to the cache.
constexpr uint32_t kHttpRequestFlags = 0xA4000000u;
constexpr uintptr_t kFtpFileContext = 0x80000000u;
constexpr const char* kAcceptHeaders = "Accept: */*\r\n\r\n";
constexpr uint32_t kBlockSize = 8192;
constexpr uint32_t kContentLengthBuffer = 33;
constexpr size_t kNotFoundWindow = 30;
constexpr uint32_t kErrorIoPending = 997;

// Characters a request line carries as they are; the rest is sent as %XX
// so names with blanks or non-ASCII letters reach the server intact.
std::string EscapeUrlPath(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
        std::string_view("/-._~!$&'()*+,;=:@").find(char(c)) != std::string_view::npos) {
      out += char(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string Replace(std::string s, char from, char to) {
  for (char& c : s)
    if (c == from) c = to;
  return s;
}

}  // namespace

TCustomNetInstallLocation::TCustomNetInstallLocation(TComponent* owner) : TComponent(owner) {
  TCustomNetInstallLocationList::Add(this);
}

TCustomNetInstallLocation::~TCustomNetInstallLocation() {
  // Closing can fail only for a handle the library no longer knows; a
  // destructor has no one to tell, so what stays open goes with the
  // library.
  if (library_) {
    if (currentFile_) library_->CloseHandle(currentFile_);
    if (connection_ && library_->CloseHandle(connection_)) connection_ = 0;
    if (session_ && library_->CloseHandle(session_)) session_ = 0;
  }
  library_.reset();
  TCustomNetInstallLocationList::Remove(this);
}

template <class E>
void TCustomNetInstallLocation::Raise(const std::string& message) const {
  throw E(ComposedMessage(message));
}

void TCustomNetInstallLocation::LoadLibrary() {
  std::unique_ptr<platform::InternetLibrary> lib = platform::internet().Load(kLibraryName);
  if (!lib)
    throw ENIL_FailLoadWININET(
        "Failed to load the Wininet.dll. If this is a hybrid installation, you might want to "
        "include the WININET.DLL file in the PresetupFiles property of the TInstall component");
  for (const char* name : platform::kInternetEntryPoints) {
    if (!lib->Resolve(name)) {
      std::string shown(name);
      if (shown.back() == 'A') shown.pop_back();
      throw ENIL_FailLoadDLLProc(Format("Failed to load the procedure %s from WININET.DLL", shown));
    }
  }
  library_ = std::move(lib);
}

void TCustomNetInstallLocation::SetLoginInformation(TLoginInformation* value) {
  login_.Assign(value);
}

std::string TCustomNetInstallLocation::ServerDirectory() const {
  const std::string dir = Replace(login_.Directory(), '\\', '/');
  return dir.empty() ? "/" : dir;
}

std::string TCustomNetInstallLocation::NetLocationPath() const {
  std::string path = Replace(login_.Directory(), '/', '\\');
  const size_t first = path.find_first_not_of('\\');
  if (first == std::string::npos) return "";
  const size_t last = path.find_last_not_of('\\');
  return path.substr(first, last - first + 1);
}

void TCustomNetInstallLocation::SplitHost(std::string& host, uint16_t& port) const {
  host = Trim(login_.Hostname());
  port = 0;
  // "name:port" (one colon, digits after it); anything else, an IPv6
  // address included, goes to the library as written.
  const size_t colon = host.rfind(':');
  if (colon == std::string::npos || host.find(':') != colon) return;
  unsigned value = 0;
  const char* first = host.data() + colon + 1;
  const char* end = host.data() + host.size();
  auto [ptr, ec] = std::from_chars(first, end, value);
  if (ec != std::errc() || ptr != end || first == end || value == 0 || value > 65535) return;
  port = uint16_t(value);
  host.resize(colon);
}

void TCustomNetInstallLocation::Connect() {
  SetCurrentNetLocation(this);
  if (!library_) LoadLibrary();
  if (!session_) {
    session_ = library_->Open(Application().Name(), kPreconfiguredAccess, 0);
    if (!session_) Raise<ENIL_OpenSession>("Cannot open internet connection");
  }
  if (!connection_) {
    if (OnBeforeConnect) OnBeforeConnect(this);
    const bool ftp = login_.Protocol() == ipFTP;
    std::string host;
    uint16_t port = 0;
    SplitHost(host, port);
    const std::string empty;
    const std::string* user = &login_.Username();
    const std::string* password = &login_.Password();
    if (login_.Anonymous()) {
      user = ftp ? nullptr : &empty;
      password = ftp ? nullptr : &empty;
    }
    connection_ = library_->Connect(
        session_, host, port, user, password,
        ftp ? platform::kInternetServiceFtp : platform::kInternetServiceHttp, 0, 0);
    if (!connection_)
      Raise<ENIL_OpenService>(Format("Cannot connect to host %s", login_.Hostname()));
    if (OnAfterConnect) OnAfterConnect(this);
  }
  if (login_.Protocol() == ipFTP) {
    // A relative directory is relative to where the login starts, so it
    // is set once per connection: set again on the next download it would
    // name a folder below itself. A changed Directory gets a fresh login.
    const std::string dir = ServerDirectory();
    if (ftpDirectorySet_ && ftpDirectory_ == dir) return;
    if (ftpDirectorySet_) {
      library_->CloseHandle(connection_);
      connection_ = 0;
      ftpDirectorySet_ = false;
      Connect();
      return;
    }
    if (!library_->FtpSetCurrentDirectory(connection_, dir))
      Raise<ENIL_FTPSetDir>(Format("Cannot set directory on server to %s", dir));
    ftpDirectory_ = dir;
    ftpDirectorySet_ = true;
  }
}

void TCustomNetInstallLocation::Download(const std::string& remoteName,
                                         const std::string& localPath, ProgressHook progress) {
  ProgressHookFn = std::move(progress);
  struct Unhook {
    ProgressHook& hook;
    ~Unhook() { hook = nullptr; }
  } unhook{ProgressHookFn};
  Download(remoteName, localPath);
}

void TCustomNetInstallLocation::Download(const std::string& remoteName,
                                         const std::string& localPath) {
  Connect();
  remoteName_ = remoteName;
  localFile_ = localPath;
  httpRefusal_.clear();
  if (OnBeforeDownload) OnBeforeDownload(this);
  if (login_.Protocol() == ipFTP) {
    currentFile_ = library_->FtpOpenFile(connection_, remoteName, platform::kGenericRead,
                                         platform::kFtpTransferBinary, kFtpFileContext);
    if (!currentFile_) Raise<ENIL_FTPOpenFile>(Format("Cannot open file %s on server", remoteName));
  } else {
    std::string object = ServerDirectory();
    if (object.back() != '/') object += '/';
    object = EscapeUrlPath(object + Replace(remoteName, '\\', '/'));
    currentFile_ = library_->HttpOpenRequest(connection_, "GET", object, kHttpRequestFlags, 0);
    if (!currentFile_)
      Raise<ENIL_HTTPOpenFile>(Format("Cannot open file %s on server", remoteName));
    if (!library_->HttpSendRequest(currentFile_, kAcceptHeaders)) {
      const std::string message =
          ComposedMessage(Format("Cannot send request for file %s to the server", remoteName));
      CloseRemote();
      throw ENIL_HTTPSendRequest(message);
    }
  }
  try {
    Transfer();
  } catch (...) {
    // The transfer's own error is the one to report; the handle goes
    // either way.
    if (currentFile_) library_->CloseHandle(currentFile_);
    currentFile_ = 0;
    DropCutFtpConnection();
    throw;
  }
  CloseRemote();
  if (UserAbortFlag()) DropCutFtpConnection();
  // An FTP server that lost the data connection says so only in its final
  // reply (426), which the library reads when the file is closed; the data
  // itself just ended early.
  if (login_.Protocol() == ipFTP && !UserAbortFlag()) {
    uint32_t code = 0;
    std::string reply;
    if (library_->GetLastResponseInfo(code, reply, 3000) && reply.size() >= 3 &&
        (reply[0] == '4' || reply[0] == '5') && std::isdigit((unsigned char)reply[1]))
      Raise<ENIL_ReadFile>(Format("Could not read from file %s on the server", remoteName_));
  }
  if (OnAfterDownload) OnAfterDownload(this, UserAbortFlag());
}

// An FTP file left before its end leaves the server's replies out of step
// with the next command (the library reads the abandoned transfer's reply
// as the answer to the next one), so such a connection is not reused.
void TCustomNetInstallLocation::DropCutFtpConnection() noexcept {
  if (login_.Protocol() != ipFTP || !connection_) return;
  library_->CloseHandle(connection_);
  connection_ = 0;
  ftpDirectorySet_ = false;
}

void TCustomNetInstallLocation::CloseRemote() {
  if (!currentFile_) return;
  const platform::InternetHandle file = currentFile_;
  currentFile_ = 0;
  if (!library_->CloseHandle(file))
    Raise<ENIL_FTPCloseFile>(Format("Cannot close the file %s on the server", remoteName_));
}

void TCustomNetInstallLocation::Transfer() {
  const bool http = login_.Protocol() == ipHTTP;
  int64_t expected = 0;
  if (!http) {
    uint32_t available = 0;
    // Wine's library answers ERROR_IO_PENDING when no data has arrived yet
    // (Windows waits for it): no size announced, which is what 0 means.
    if (!library_->QueryDataAvailable(currentFile_, available) &&
        library_->LastError() != kErrorIoPending)
      Raise<ENIL_FailDataQuery>(Format("Could not query file %s on server", remoteName_));
    expected = available;
  } else {
    std::string value;
    if (library_->HttpQueryInfo(currentFile_, platform::kHttpQueryContentLength,
                                kContentLengthBuffer, value)) {
      int64_t n = 0;
      auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
      if (ec == std::errc() && ptr == value.data() + value.size() && n >= 0) expected = n;
    } else if (library_->LastError() != platform::kErrorHttpHeaderNotFound) {
      Raise<ENIL_FailDataQuery>(Format("Could not query file %s on server", remoteName_));
    }
    // Only a success status carries the file: an error's page, or a
    // redirection the library did not follow, is no archive whatever it
    // says near the top.
    std::string status;
    if (library_->HttpQueryInfo(currentFile_, platform::kHttpQueryStatusCode, 33, status) &&
        status.size() == 3 && status[0] != '2') {
      httpRefusal_ = status;
      Raise<ENIL_FileNotFound>(Format("Could not find the file %s on the server", remoteName_));
    }
  }

  std::unique_ptr<platform::File> out;
  auto writeError = [&] {
    throw ENIL_WriteDestFile(
        Format("%s could not write to the local dest file %s", Name(), localFile_));
  };
  try {
    out = platform::files().Create(localFile_);
  } catch (const platform::OsError&) {
    writeError();
  }

  uint8_t block[kBlockSize];
  uint32_t got = 0;
  auto readBlock = [&] {
    if (!library_->ReadFile(currentFile_, block, kBlockSize, got))
      Raise<ENIL_ReadFile>(Format("Could not read from file %s on the server", remoteName_));
  };
  readBlock();
  if (http && got > 0) {
    const std::string head = UpperCase(
        std::string(reinterpret_cast<const char*>(block), std::min<size_t>(got, kNotFoundWindow)));
    if (head.find("404") != std::string::npos)
      Raise<ENIL_FileNotFound>(Format("Could not find the file %s on the server", remoteName_));
  }
  int64_t total = 0;
  while (got > 0) {
    total += got;
    if (OnProgress) OnProgress(this, remoteName_, got, total, expected, block);
    if (ProgressHookFn) ProgressHookFn(remoteName_, got, total, expected, block);
    Application().ProcessMessages();
    // A cancel keeps what was written before this block; the caller learns
    // of it from the flag.
    if (UserAbortFlag()) {
      out->Close();
      return;
    }
    try {
      out->Write(block, got);
    } catch (const platform::OsError&) {
      writeError();
    }
    readBlock();
  }
  if (total == 0)
    Raise<ENIL_FileNotFound>(Format("Could not find the file %s on the server", remoteName_));
  // A server that announced more than it sent lost the connection on the
  // way; the part that came is no file.
  if (http && expected > 0 && total < expected)
    Raise<ENIL_ReadFile>(Format("Could not read from file %s on the server", remoteName_));
  try {
    out->Close();
  } catch (const platform::OsError&) {
    writeError();
  }
}
