// The framework's exception base and its quiet abort. Every failure the kit
// raises derives from Exception, so one handler can show any of them; EAbort
// skips the current job without a message.
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  ~Exception() override = default;

  const std::string& Message() const noexcept { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }

  // The class name as the kit spells it ("IEInstall"), for logs and tests.
  virtual const char* ClassName() const noexcept { return "Exception"; }

 private:
  std::string message_;
};

// The silent abort: unwinds the current job; handlers show nothing for it.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
  explicit EAbort(std::string message) : Exception(std::move(message)) {}
  const char* ClassName() const noexcept override { return "EAbort"; }
};

// Raises the quiet abort.
[[noreturn]] inline void Abort() {
  throw EAbort();
}

// A conversion from text failed (StrToInt and friends).
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EConvertError"; }
};

// An internal state that cannot happen did happen. Never shown as a user
// error on its own; it marks a bug.
class EInternalError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInternalError"; }
};
