// The net install location's program-wide pieces: the list of locations,
// the current location, the composed error message with the library's
// error names, the login information's rules and the class registration.
#include <algorithm>

#include "files/cmp_TNetInstallLocation.h"
#include "framework/ClassRegistry.h"
#include "framework/Format.h"
#include "framework/ProcessState.h"
#include "framework/StrUtils.h"
#include "install/ContainerCompress.h"

namespace {

struct Globals {
  std::vector<TCustomNetInstallLocation*> list;
  TCustomNetInstallLocation* current = nullptr;
};

Globals& State() {
  static Globals g;
  static bool registered = false;
  if (!registered) {
    registered = true;
    // The locations leave the list themselves; a reset only forgets what
    // a test left behind without destroying it.
    ProcessState::RegisterReset("files.NetLocations", [] {
      g.list.clear();
      g.current = nullptr;
    });
  }
  return g;
}

// The names the library's header gives its codes; the gaps are codes it
// does not name in this range.
const char* const kInternetNames[] = {
    "ERROR_INTERNET_OUT_OF_HANDLES",            // 12001
    "ERROR_INTERNET_TIMEOUT",                   // 12002
    "ERROR_INTERNET_EXTENDED_ERROR",            // 12003
    "ERROR_INTERNET_INTERNAL_ERROR",            // 12004
    "ERROR_INTERNET_INVALID_URL",               // 12005
    "ERROR_INTERNET_UNRECOGNIZED_SCHEME",       // 12006
    "ERROR_INTERNET_NAME_NOT_RESOLVED",         // 12007
    "ERROR_INTERNET_PROTOCOL_NOT_FOUND",        // 12008
    "ERROR_INTERNET_INVALID_OPTION",            // 12009
    "ERROR_INTERNET_BAD_OPTION_LENGTH",         // 12010
    "ERROR_INTERNET_OPTION_NOT_SETTABLE",       // 12011
    "ERROR_INTERNET_SHUTDOWN",                  // 12012
    "ERROR_INTERNET_INCORRECT_USER_NAME",       // 12013
    "ERROR_INTERNET_INCORRECT_PASSWORD",        // 12014
    "ERROR_INTERNET_LOGIN_FAILURE",             // 12015
    "ERROR_INTERNET_INVALID_OPERATION",         // 12016
    "ERROR_INTERNET_OPERATION_CANCELLED",       // 12017
    "ERROR_INTERNET_INCORRECT_HANDLE_TYPE",     // 12018
    "ERROR_INTERNET_INCORRECT_HANDLE_STATE",    // 12019
    "ERROR_INTERNET_NOT_PROXY_REQUEST",         // 12020
    "ERROR_INTERNET_REGISTRY_VALUE_NOT_FOUND",  // 12021
    "ERROR_INTERNET_BAD_REGISTRY_PARAMETER",    // 12022
    "ERROR_INTERNET_NO_DIRECT_ACCESS",          // 12023
    "ERROR_INTERNET_NO_CONTEXT",                // 12024
    "ERROR_INTERNET_NO_CALLBACK",               // 12025
    "ERROR_INTERNET_REQUEST_PENDING",           // 12026
    "ERROR_INTERNET_INCORRECT_FORMAT",          // 12027
    "ERROR_INTERNET_ITEM_NOT_FOUND",            // 12028
    "ERROR_INTERNET_CANNOT_CONNECT",            // 12029
    "ERROR_INTERNET_CONNECTION_ABORTED",        // 12030
    "ERROR_INTERNET_CONNECTION_RESET",          // 12031
    "ERROR_INTERNET_FORCE_RETRY",               // 12032
};
const char* const kGopherNames[] = {
    "ERROR_GOPHER_PROTOCOL_ERROR",          // 12130
    "ERROR_GOPHER_NOT_FILE",                // 12131
    "ERROR_GOPHER_DATA_ERROR",              // 12132
    "ERROR_GOPHER_END_OF_DATA",             // 12133
    "ERROR_GOPHER_INVALID_LOCATOR",         // 12134
    "ERROR_GOPHER_INCORRECT_LOCATOR_TYPE",  // 12135
    "ERROR_GOPHER_NOT_GOPHER_PLUS",         // 12136
    "ERROR_GOPHER_ATTRIBUTE_NOT_FOUND",     // 12137
    "ERROR_GOPHER_UNKNOWN_LOCATOR",         // 12138
};
const char* const kHttpNames[] = {
    "ERROR_HTTP_HEADER_NOT_FOUND",         // 12150
    "ERROR_HTTP_DOWNLEVEL_SERVER",         // 12151
    "ERROR_HTTP_INVALID_SERVER_RESPONSE",  // 12152
    "ERROR_HTTP_INVALID_HEADER",           // 12153
    "ERROR_HTTP_INVALID_QUERY_REQUEST",    // 12154
    "ERROR_HTTP_HEADER_ALREADY_EXISTS",    // 12155
};

constexpr size_t kResponseBuffer = 3000;

}  // namespace

std::string InternetErrorName(uint32_t code) {
  if (code >= 12001 && code <= 12032) return kInternetNames[code - 12001];
  if (code >= 12130 && code <= 12138) return kGopherNames[code - 12130];
  if (code >= 12150 && code <= 12155) return kHttpNames[code - 12150];
  switch (code) {
    case 6:
      return "ERROR_INVALID_HANDLE";
    case 12036:
      return "ERROR_INTERNET_HANDLE_EXISTS";
    case 12041:
      return "ERROR_INTERNET_MIXED_SECURITY";
    case 12110:
      return "ERROR_FTP_TRANSFER_IN_PROGRESS";
    case 12111:
      return "ERROR_FTP_DROPPED";
    default:
      return "Unregistered error code";
  }
}

void TCustomNetInstallLocationList::Add(TCustomNetInstallLocation* location) {
  if (!location) throw IENetList("Cannot add a blank location to the global net location list");
  State().list.push_back(location);
}

void TCustomNetInstallLocationList::Remove(TCustomNetInstallLocation* location) noexcept {
  auto& list = State().list;
  list.erase(std::remove(list.begin(), list.end(), location), list.end());
  if (State().current == location) State().current = nullptr;
}

const std::vector<TCustomNetInstallLocation*>& TCustomNetInstallLocationList::Items() {
  return State().list;
}

TCustomNetInstallLocation* CurrentNetLocation() noexcept {
  return State().current;
}

void SetCurrentNetLocation(TCustomNetInstallLocation* location) noexcept {
  State().current = location;
}

// "<what>. Error message <name>. Server <host>. Response from server <text>"
std::string TCustomNetInstallLocation::ComposedMessage(const std::string& message) const {
  uint32_t code = 0;
  std::string response;
  bool haveResponse = false;
  if (library_) {
    code = library_->LastError();
    uint32_t responseError = 0;
    // Asking for the response must not change the error being reported.
    haveResponse = library_->GetLastResponseInfo(responseError, response, kResponseBuffer);
    while (!response.empty() && (response.back() == '\n' || response.back() == '\r'))
      response.pop_back();
  }
  // HTTP keeps no response text of its own (the library's last response
  // may even be an earlier FTP server's, as it is per thread): the status
  // that refused the file is what this server said.
  if (!httpRefusal_.empty()) {
    response = "HTTP " + httpRefusal_;
    haveResponse = true;
  }
  if (!haveResponse || response.empty()) response = "No server response";
  const TCustomNetInstallLocation* current = CurrentNetLocation();
  const std::string server = current ? current->LoginInformation()->Hostname() : std::string();
  return Format("%s. Error message %s. Server %s. Response from server %s", message,
                InternetErrorName(code), server, response);
}

bool TCustomLoginInformation::FilledIn() const {
  if (anonymous_) return !Trim(hostname_).empty();
  return !Trim(hostname_).empty() || !Trim(password_).empty() || !Trim(username_).empty();
}

void TCustomLoginInformation::Assign(const TPersistent* source) {
  if (source && source->Is<TCustomLoginInformation>()) {
    const auto& s = static_cast<const TCustomLoginInformation&>(*source);
    anonymous_ = s.anonymous_;
    directory_ = s.directory_;
    hostname_ = s.hostname_;
    password_ = s.password_;
    protocol_ = s.protocol_;
    username_ = s.username_;
    return;
  }
  TPersistent::Assign(source);
}

void RegisterNetInstallLocation(ClassRegistry& r) {
  r.Enum<TInternetProtocol>("TInternetProtocol", {"ipFTP", "ipHTTP"});
  r.Class<TCustomLoginInformation, TPersistent>("TCustomLoginInformation");
  using L = TLoginInformation;
  r.Class<L, TCustomLoginInformation>("TLoginInformation")
      .Prop("Anonymous", &L::Anonymous, &L::SetAnonymous, true)
      .Prop("Directory", &L::Directory, &L::SetDirectory, "")
      .Prop("Hostname", &L::Hostname, &L::SetHostname, "")
      .Prop("Password", &L::Password, &L::SetPassword, "")
      .Prop("Protocol", &L::Protocol, &L::SetProtocol, ipHTTP)
      .Prop("Username", &L::Username, &L::SetUsername, "");
  r.Class<TCustomNetInstallLocation, TComponent>("TCustomNetInstallLocation");
  using N = TNetInstallLocation;
  r.Class<N, TCustomNetInstallLocation>("TNetInstallLocation")
      .Prop("LoginInformation", &N::LoginInformation)
      .Field("OnAfterConnect", &N::OnAfterConnect)
      .Field("OnAfterDownload", &N::OnAfterDownload)
      .Field("OnBeforeConnect", &N::OnBeforeConnect)
      .Field("OnBeforeDownload", &N::OnBeforeDownload)
      .Field("OnProgress", &N::OnProgress);
  // Build mode keeps a location's archives under the folder the server
  // serves them from.
  SetNetLocationPathResolver([](TComponent* location) -> std::string {
    if (INetInstallLocation* l = AsNetInstallLocation(location)) return l->NetLocationPath();
    return location ? location->Name() : std::string();
  });
}
