// A DDE client (DDEML: DdeInitialize, DdeConnect, DdeClientTransaction):
// conversations with a server by service and topic, executing command texts
// and requesting data items as text. The Program Manager groups of the
// setup are its one user. Texts are 8-bit in the ANSI code page (CF_TEXT).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// One open conversation; destroying it disconnects and never raises.
class DdeConversation {
 public:
  virtual ~DdeConversation() = default;
  // XTYP_EXECUTE of the text; false when the server refuses it or does not
  // answer in time. Never raises for that.
  virtual bool Execute(std::string_view command) = 0;
  // XTYP_REQUEST of the data item as CF_TEXT (the terminating zero
  // dropped); nullopt when the server gives no data. Never raises for that.
  virtual std::optional<std::string> Request(std::string_view item) = 0;
};

class Dde {
 public:
  virtual ~Dde() = default;
  // DdeConnect to the service and topic; nullptr when no server answers.
  virtual std::unique_ptr<DdeConversation> Connect(std::string_view service,
                                                   std::string_view topic) = 0;
};

}  // namespace platform
