// The net install location: an FTP or HTTP server from which install
// objects download their archives. It holds the login information, loads
// the system's internet library when it first connects, keeps one session
// and one connection open for its lifetime, and downloads a remote file
// into a local one in 8192-byte blocks, reporting each block and stopping
// when the program-wide abort flag is set.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/exceptions_Pellmore.h"
#include "framework/Component.h"
#include "install/NetLocationAccess.h"
#include "platform/Internet.h"

class ClassRegistry;

enum TInternetProtocol { ipFTP, ipHTTP };

// The family of download errors. Those below ENIL carry the composed
// message (what failed, the library's error name, the server, the
// server's last response); the three on their own carry just their text.
PELLMORE_DECLARE_EXCEPTION(ENIL, Exception);
PELLMORE_DECLARE_EXCEPTION(ENIL_OpenSession, ENIL);
PELLMORE_DECLARE_EXCEPTION(ENIL_OpenService, ENIL);
PELLMORE_DECLARE_EXCEPTION(ENIL_FailDataQuery, ENIL);
PELLMORE_DECLARE_EXCEPTION(ENIL_ReadFile, ENIL);
PELLMORE_DECLARE_EXCEPTION(ENIL_FileNotFound, ENIL);
PELLMORE_DECLARE_EXCEPTION(ENIL_FTP, ENIL);
PELLMORE_DECLARE_EXCEPTION(ENIL_FTPSetDir, ENIL_FTP);
PELLMORE_DECLARE_EXCEPTION(ENIL_FTPOpenFile, ENIL_FTP);
PELLMORE_DECLARE_EXCEPTION(ENIL_FTPCloseFile, ENIL_FTP);
PELLMORE_DECLARE_EXCEPTION(ENIL_HTTP, ENIL);
PELLMORE_DECLARE_EXCEPTION(ENIL_HTTPOpenFile, ENIL_HTTP);
PELLMORE_DECLARE_EXCEPTION(ENIL_HTTPSendRequest, ENIL_HTTP);
PELLMORE_DECLARE_EXCEPTION(IENetList, ENIL);
PELLMORE_DECLARE_EXCEPTION(ENIL_WriteDestFile, Exception);
PELLMORE_DECLARE_EXCEPTION(ENIL_FailLoadWININET, Exception);
PELLMORE_DECLARE_EXCEPTION(ENIL_FailLoadDLLProc, Exception);

class TCustomNetInstallLocation;

// The login a net install location uses: host (with an optional port),
// protocol, user name and password or anonymous, and the directory on the
// server.
class TCustomLoginInformation : public TPersistent {
  PELLMORE_CLASS(TCustomLoginInformation, TPersistent)

 public:
  explicit TCustomLoginInformation(TCustomNetInstallLocation* location = nullptr)
      : location_(location) {}

  bool Anonymous() const noexcept { return anonymous_; }
  void SetAnonymous(bool v) { anonymous_ = v; }
  const std::string& Directory() const noexcept { return directory_; }
  void SetDirectory(const std::string& v) { directory_ = v; }
  const std::string& Hostname() const noexcept { return hostname_; }
  void SetHostname(const std::string& v) { hostname_ = v; }
  const std::string& Password() const noexcept { return password_; }
  void SetPassword(const std::string& v) { password_ = v; }
  TInternetProtocol Protocol() const noexcept { return protocol_; }
  void SetProtocol(TInternetProtocol v) { protocol_ = v; }
  const std::string& Username() const noexcept { return username_; }
  void SetUsername(const std::string& v) { username_ = v; }

  // The location that owns this login (none for a free-standing one).
  TCustomNetInstallLocation* Location() const noexcept { return location_; }

  // Anonymous: a host name; otherwise any of host, password or user name
  // (blanks do not count).
  bool FilledIn() const;

  // Another login's six properties; anything else as the framework does.
  void Assign(const TPersistent* source) override;

 private:
  TCustomNetInstallLocation* location_;
  bool anonymous_ = true;
  std::string directory_;
  std::string hostname_;
  std::string password_;
  TInternetProtocol protocol_ = ipHTTP;
  std::string username_;
};

// The published login of a net install location (LoginInformation).
class TLoginInformation : public TCustomLoginInformation {
  PELLMORE_CLASS(TLoginInformation, TCustomLoginInformation)

 public:
  using TCustomLoginInformation::TCustomLoginInformation;
};

// (Sender, remote name, block length, running total, expected size, data)
using TNetProgressEvent =
    std::function<void(TObject* Sender, const std::string& RemoteName, int64_t Bytes,
                       int64_t TotalBytes, int64_t FileSize, const uint8_t* Buffer)>;
// After a download: whether the program-wide abort flag stopped it.
using TNetAfterDownloadEvent = std::function<void(TObject* Sender, bool Aborted)>;

// A server install objects download their archives and the list of files
// from, over HTTP or FTP through the system's internet library.
class TCustomNetInstallLocation : public TComponent, public INetInstallLocation {
  PELLMORE_CLASS(TCustomNetInstallLocation, TComponent)

 public:
  // Joins the program-wide list of locations.
  explicit TCustomNetInstallLocation(TComponent* owner);
  // Disconnects (connection, then session), frees the library, leaves the
  // list and stops being the current location.
  ~TCustomNetInstallLocation() override;

  // --- virtual operations, in slot order ---------------------------------
  // Loads "WININET.DLL" and checks its eleven entry points in order.
  virtual void LoadLibrary();
  // Copies `value`'s properties into this location's login.
  virtual void SetLoginInformation(TLoginInformation* value);
  // Becomes the current location; opens the session and the connection
  // when they are not open yet; FTP changes to the login's directory.
  virtual void Connect();
  // See INetInstallLocation::Download. Raises the ENIL family; after an
  // error the local file holds what had arrived (or is empty), and the
  // session and connection stay open for the next download.
  virtual void Download(const std::string& remoteName, const std::string& localPath);

  // --- what install objects use ------------------------------------------
  bool LoginFilledIn() const override { return login_.FilledIn(); }
  std::string NetLocationPath() const override;
  void Download(const std::string& remoteName, const std::string& localPath,
                ProgressHook progress) override;

  TLoginInformation* LoginInformation() const { return const_cast<TLoginInformation*>(&login_); }
  // The directory as the server takes it: "\" turned into "/", blank "/".
  std::string ServerDirectory() const;
  const std::string& RemoteName() const noexcept { return remoteName_; }
  const std::string& LocalFile() const noexcept { return localFile_; }
  bool LibraryLoaded() const noexcept { return library_ != nullptr; }
  bool Connected() const noexcept { return connection_ != 0; }

  TNotifyEvent OnBeforeConnect;
  TNotifyEvent OnAfterConnect;
  TNotifyEvent OnBeforeDownload;
  TNetAfterDownloadEvent OnAfterDownload;
  TNetProgressEvent OnProgress;
  // Set by the installing object for the duration of its download.
  ProgressHook ProgressHookFn;

 protected:
  // Raises `E` with the composed message around `message`.
  template <class E>
  [[noreturn]] void Raise(const std::string& message) const;
  std::string ComposedMessage(const std::string& message) const;

 private:
  void Transfer();
  void CloseRemote();
  void DropCutFtpConnection() noexcept;
  // The host and port to connect to: "host:port" names a port, else 0
  // (the protocol's default).
  void SplitHost(std::string& host, uint16_t& port) const;

  TLoginInformation login_{this};
  std::unique_ptr<platform::InternetLibrary> library_;
  platform::InternetHandle session_ = 0;
  platform::InternetHandle connection_ = 0;
  platform::InternetHandle currentFile_ = 0;
  std::string ftpDirectory_;  // the server directory set on this connection
  bool ftpDirectorySet_ = false;
  std::string remoteName_;
  std::string localFile_;
  // The status of an HTTP answer that refused the file ("404"), the
  // server's response where HTTP has no response text; empty otherwise.
  std::string httpRefusal_;
};

// The net install location an installer names in NetLocation, with its
// login published.
class TNetInstallLocation : public TCustomNetInstallLocation {
  PELLMORE_CLASS(TNetInstallLocation, TCustomNetInstallLocation)

 public:
  using TCustomNetInstallLocation::TCustomNetInstallLocation;
};

// The program-wide list of live locations.
class TCustomNetInstallLocationList {
 public:
  // Raises IENetList for a blank entry.
  static void Add(TCustomNetInstallLocation* location);
  static void Remove(TCustomNetInstallLocation* location) noexcept;
  static const std::vector<TCustomNetInstallLocation*>& Items();
};

// The location that connected last (named in error messages); cleared
// when it goes.
TCustomNetInstallLocation* CurrentNetLocation() noexcept;

// The library's name for an error code: "ERROR_INTERNET_TIMEOUT", ...,
// "ERROR_INVALID_HANDLE" for 6, "Unregistered error code" otherwise.
std::string InternetErrorName(uint32_t code);

// TInternetProtocol, TLoginInformation and TNetInstallLocation with their
// published properties; also lets build mode put a location's archives
// under its NetLocationPath.
void RegisterNetInstallLocation(ClassRegistry& registry);
