// Copying the installer's nested configuration objects.
#include "install/cmp_TInstallInformation.h"

void TInstallInformation::Assign(const TPersistent* source) {
  if (source && source->Is<TInstallInformation>()) {
    const auto& s = static_cast<const TInstallInformation&>(*source);
    companyName_ = s.companyName_;
    productName_ = s.productName_;
    version_ = s.version_;
    return;
  }
  TPersistent::Assign(source);
}

void TBuildInfo::Assign(const TPersistent* source) {
  if (source && source->Is<TBuildInfo>()) {
    const auto& s = static_cast<const TBuildInfo&>(*source);
    appName_ = s.appName_;
    appURL_ = s.appURL_;
    buildDirectory_ = s.buildDirectory_;
    credentialsFile_ = s.credentialsFile_;
    ocxName_ = s.ocxName_;
    privateKeyFile_ = s.privateKeyFile_;
    signCode_ = s.signCode_;
    urlPath_ = s.urlPath_;
    return;
  }
  TPersistent::Assign(source);
}
