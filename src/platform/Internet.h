// FTP and HTTP downloads as the setup makes them: the entry points of the
// system's internet library ("WININET.DLL"), loaded when a net location
// first connects. On Windows the real library; on the simulated machine a
// back end over libcurl that gives the same answers and errors, so that
// downloads on Linux are real too.
//
// Calls that fail return 0 or false and leave their reason for
// LastError(), as the library leaves it for GetLastError: a Win32 error
// code or one of the library's own ERROR_INTERNET_* / ERROR_FTP_* /
// ERROR_HTTP_* codes (12001 and up). Nothing here raises for a failed
// call; the caller composes the message.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// The library's entry points a download uses, in the order a location
// resolves them (the first one missing is named in its error); the
// simulated library exports exactly these.
inline constexpr const char* kInternetEntryPoints[] = {"InternetGetLastResponseInfoA",
                                                       "InternetOpenA",
                                                       "InternetConnectA",
                                                       "FtpSetCurrentDirectoryA",
                                                       "InternetCloseHandle",
                                                       "InternetQueryDataAvailable",
                                                       "InternetReadFile",
                                                       "FtpOpenFileA",
                                                       "HttpOpenRequestA",
                                                       "HttpSendRequestA",
                                                       "HttpQueryInfoA"};

// A session, connection, request or remote file; 0 is none.
using InternetHandle = uintptr_t;

// The services InternetConnect serves and the transfer types of a file.
inline constexpr uint32_t kInternetServiceFtp = 1;
inline constexpr uint32_t kInternetServiceHttp = 3;
inline constexpr uint32_t kFtpTransferBinary = 2;
inline constexpr uint32_t kGenericRead = 0x80000000u;
// HttpQueryInfo's level for the Content-Length header.
inline constexpr uint32_t kHttpQueryContentLength = 5;
// HttpQueryInfo's level for the response's status code ("404").
inline constexpr uint32_t kHttpQueryStatusCode = 19;
// Codes the caller tells apart.
inline constexpr uint32_t kErrorHttpHeaderNotFound = 12150;

// The loaded library. Destroying it frees the library; handles still open
// are the caller's to close first.
class InternetLibrary {
 public:
  virtual ~InternetLibrary() = default;

  // Whether the library exports the entry point `name` (GetProcAddress of
  // "InternetOpenA", "FtpOpenFileA", ...).
  virtual bool Resolve(std::string_view name) = 0;

  // InternetOpenA with no proxy and no bypass list.
  virtual InternetHandle Open(std::string_view agent, uint32_t accessType, uint32_t flags) = 0;
  // InternetConnectA. A null user or password is passed as NULL (FTP's
  // anonymous logon); port 0 is the service's default port.
  virtual InternetHandle Connect(InternetHandle session, std::string_view host, uint16_t port,
                                 const std::string* user, const std::string* password,
                                 uint32_t service, uint32_t flags, uintptr_t context) = 0;
  virtual bool FtpSetCurrentDirectory(InternetHandle connection, std::string_view directory) = 0;
  virtual bool CloseHandle(InternetHandle handle) = 0;
  // InternetQueryDataAvailable: the bytes that can be read without waiting
  // (for an FTP file: its size as the server announced it, when known).
  virtual bool QueryDataAvailable(InternetHandle file, uint32_t& bytes) = 0;
  // InternetReadFile: `read` 0 with true at the end of the data.
  virtual bool ReadFile(InternetHandle file, void* buffer, uint32_t size, uint32_t& read) = 0;
  virtual InternetHandle FtpOpenFile(InternetHandle connection, std::string_view name,
                                     uint32_t access, uint32_t flags, uintptr_t context) = 0;
  // HttpOpenRequestA with no version, no referrer and an empty accept
  // list.
  virtual InternetHandle HttpOpenRequest(InternetHandle connection, std::string_view verb,
                                         std::string_view object, uint32_t flags,
                                         uintptr_t context) = 0;
  // HttpSendRequestA with these headers and no body. An answer with an
  // error status (404, 500) still succeeds: its body is read like any
  // other.
  virtual bool HttpSendRequest(InternetHandle request, std::string_view headers) = 0;
  // HttpQueryInfoA into a buffer of `bufferSize` bytes; the text without
  // its terminator.
  virtual bool HttpQueryInfo(InternetHandle request, uint32_t level, uint32_t bufferSize,
                             std::string& value) = 0;
  // InternetGetLastResponseInfoA into a buffer of `bufferSize` characters:
  // the server's last response text on this thread (FTP's reply lines).
  virtual bool GetLastResponseInfo(uint32_t& error, std::string& text, uint32_t bufferSize) = 0;
  // GetLastError after a failed call.
  virtual uint32_t LastError() = 0;
};

class Internet {
 public:
  virtual ~Internet() = default;
  // LoadLibrary of `name` ("WININET.DLL"); nullptr when it cannot be
  // loaded.
  virtual std::unique_ptr<InternetLibrary> Load(std::string_view name) = 0;
};

}  // namespace platform
