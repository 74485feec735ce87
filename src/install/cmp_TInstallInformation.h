// The installer's nested configuration objects: TInstallInformation (the
// company, the product name that names the uninstall key, the version) and
// TBuildInfo (the build settings; only BuildDirectory is used by this
// program, the others are carried as configuration).
#pragma once

#include <string>

#include "framework/Object.h"

// The product's identity: the company, the product name (which names the
// uninstall entry) and the version.
class TInstallInformation : public TPersistent {
  PELLMORE_CLASS(TInstallInformation, TPersistent)

 public:
  const std::string& CompanyName() const noexcept { return companyName_; }
  void SetCompanyName(const std::string& v) { companyName_ = v; }
  const std::string& ProductName() const noexcept { return productName_; }
  void SetProductName(const std::string& v) { productName_ = v; }
  const std::string& Version() const noexcept { return version_; }
  void SetVersion(const std::string& v) { version_ = v; }

  void Assign(const TPersistent* source) override;

 private:
  std::string companyName_ = "My Company";
  std::string productName_ = "My product";
  std::string version_ = "1.0";
};

// The settings of the build that packs the setup; this program uses only
// BuildDirectory and keeps the others as configuration.
class TBuildInfo : public TPersistent {
  PELLMORE_CLASS(TBuildInfo, TPersistent)

 public:
  const std::string& AppName() const noexcept { return appName_; }
  void SetAppName(const std::string& v) { appName_ = v; }
  const std::string& AppURL() const noexcept { return appURL_; }
  void SetAppURL(const std::string& v) { appURL_ = v; }
  const std::string& BuildDirectory() const noexcept { return buildDirectory_; }
  void SetBuildDirectory(const std::string& v) { buildDirectory_ = v; }
  const std::string& CredentialsFile() const noexcept { return credentialsFile_; }
  void SetCredentialsFile(const std::string& v) { credentialsFile_ = v; }
  const std::string& OCXName() const noexcept { return ocxName_; }
  void SetOCXName(const std::string& v) { ocxName_ = v; }
  const std::string& PrivateKeyFile() const noexcept { return privateKeyFile_; }
  void SetPrivateKeyFile(const std::string& v) { privateKeyFile_ = v; }
  bool SignCode() const noexcept { return signCode_; }
  void SetSignCode(bool v) { signCode_ = v; }
  const std::string& URLPath() const noexcept { return urlPath_; }
  void SetURLPath(const std::string& v) { urlPath_ = v; }

  void Assign(const TPersistent* source) override;

 private:
  std::string appName_;
  std::string appURL_;
  std::string buildDirectory_ = "c:\\build";
  std::string credentialsFile_;
  std::string ocxName_ = "plsetup";
  std::string privateKeyFile_;
  bool signCode_ = false;
  std::string urlPath_;
};
