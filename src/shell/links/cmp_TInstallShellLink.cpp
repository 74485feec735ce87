// TCustomInstallShellLink's data model (see cmp_TInstallShellLink.h): the
// setter rules that keep LinkName, Target, TargetType and ObjectLink
// consistent, the resolved target, and how a link goes away with the
// object it points at.
#include "shell/links/cmp_TInstallShellLink.h"

#include "files/cmp_TInstallFile.h"
#include "framework/Forms.h"
#include "framework/StrUtils.h"
#include "install/InstallLists.h"
#include "install/cmp_TFileContainer.h"

namespace {

bool IsFormLike(const TComponent* owner) {
  return owner && (owner->Is<TCustomForm>() || owner->InheritsFrom("TDataModule"));
}

std::string UpperExt(const std::string& name) {
  return AsciiUpperCase(ExtractFileExt(name));
}

std::string WithoutTrailingBackslash(std::string s) {
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

// The text after the first `scheme` (ignoring case), or nullopt.
std::optional<std::string> AfterScheme(const std::string& value, const char* scheme) {
  const size_t at = AsciiUpperCase(value).find(scheme);
  if (at == std::string::npos) return std::nullopt;
  return value.substr(at + std::string_view(scheme).size());
}

}  // namespace

TCustomInstallShellLink::TCustomInstallShellLink(TComponent* owner) : TInstallObject(owner) {
  SetInclude(true);
  SetInstallable(true);
  InstallShellLinkList().Add(this);
  // The object a link points at may be any container, so the link hears
  // of every destruction.
  InstallContainerList().AddWatcher(this);
  if (IsFormLike(owner)) {
    // A form being read may still hold its own psObjectLink further down.
    if (InState(csLoading))
      ensureObjectLinkPending_ = true;
    else
      EnsureObjectLinkSpecifier(owner);
  }
}

TCustomInstallShellLink::~TCustomInstallShellLink() {
  Detach();
}

void TCustomInstallShellLink::BeforeDestruction() noexcept {
  Detach();
  TInstallObject::BeforeDestruction();
}

void TCustomInstallShellLink::Detach() noexcept {
  if (detached_) return;
  detached_ = true;
  InstallShellLinkList().Remove(this);
  if (targetType_) RemoveFreeNotification(targetType_);
  targetType_ = nullptr;
  objectLink_ = nullptr;
}

void TCustomInstallShellLink::Loaded() {
  TInstallObject::Loaded();
  if (ensureObjectLinkPending_) {
    ensureObjectLinkPending_ = false;
    EnsureObjectLinkSpecifier(Owner());
  }
}

void TCustomInstallShellLink::InitializeCom() {
  comReady_ = true;
}

// --- setters ---------------------------------------------------------------------

void TCustomInstallShellLink::SetLinkName(const std::string& value) {
  const std::string oldExt = UpperExt(linkName_);
  linkName_ = value;
  if (InState(csLoading) || Trim(value).empty()) return;
  const std::string ext = UpperExt(value);
  if (ext == ".URL") {
    // An Internet shortcut points at its URL, never at an installed object;
    // the object's specifier goes too, or Target could never be set again.
    objectLink_ = nullptr;
    if (targetType_ && targetType_->Is<TpsObjectLink>()) SetTargetType(nullptr);
  } else if (ext != ".LNK") {
    linkName_ = ChangeFileExt(value, oldExt.empty() ? ".LNK" : oldExt);
  }
}

void TCustomInstallShellLink::SetTarget(const std::string& value) {
  target_ = targetType_ && targetType_->Is<TpsObjectLink>() ? std::string() : value;
  if (InState(csLoading)) return;
  if (!(Trim(linkName_).empty() || linkName_ == ".LNK")) return;
  if (auto rest = AfterScheme(value, "HTTP://"))
    linkName_ = *rest + ".URL";
  else if (auto ftp = AfterScheme(value, "FTP://"))
    linkName_ = *ftp + ".URL";
  else
    SetLinkName(ChangeFileExt(ExtractFileName(value), ""));
}

void TCustomInstallShellLink::SetTargetType(TCustomPathSpecifier* value) {
  if (!InState(csLoading) && value) {
    // Checked before anything changes: a refusal keeps the old specifier.
    value->CheckUsage(this);
  }
  if (targetType_) RemoveFreeNotification(targetType_);
  targetType_ = value;
  if (targetType_) FreeNotification(targetType_);
  if (!InState(csLoading) && value && value->Is<TpsObjectLink>()) target_.clear();
}

void TCustomInstallShellLink::SetObjectLink(TInstallContainer* value) {
  if (InState(csLoading)) {
    objectLink_ = value;
    return;
  }
  if (!value) {
    objectLink_ = nullptr;
    SetTargetType(nullptr);
    return;
  }
  UseObjectLink(value);
}

void TCustomInstallShellLink::UseObjectLink(TInstallContainer* value) {
  // The reference is stored first: the specifier checks that it is there.
  TInstallContainer* const previous = objectLink_;
  objectLink_ = value;
  try {
    SetTargetType(ObjectLinkSpecifier());
  } catch (...) {
    objectLink_ = previous;
    throw;
  }
  target_.clear();
  if (value->Is<TCustomInstallFile>())
    linkName_ = ChangeFileExt(static_cast<TCustomInstallFile*>(value)->DestName(), ".lnk");
  else if (value->Is<TInstallFileGroup>())
    linkName_ = static_cast<TInstallFileGroup*>(value)->GroupName() + ".lnk";
  else
    linkName_ = value->Name() + ".lnk";
  if (!Container() && value != this) SetContainer(value);
  objectLink_ = value;
}

std::string TCustomInstallShellLink::TargetPath() {
  if (targetType_) return targetType_->GetPath(this) + target_;
  return WithoutTrailingBackslash(target_);
}

std::string TCustomInstallShellLink::LinkFileName() {
  std::string dir = ResolveDestDir();
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir + linkName_;
}

// --- going away together -----------------------------------------------------------

void TCustomInstallShellLink::FreeSelf() {
  if (!InState(csDestroying)) Free();
}

void TCustomInstallShellLink::ContainerDestroyed(TInstallContainer* c) {
  const bool pointedAt = c && c == objectLink_;
  const bool mine = c && c == Container();
  TInstallObject::ContainerDestroyed(c);
  if (pointedAt) objectLink_ = nullptr;
  // A shortcut to something that no longer exists would point nowhere.
  if (pointedAt || mine) FreeSelf();
}

void TCustomInstallShellLink::Notification(TComponent* c, TOperation op) {
  TInstallObject::Notification(c, op);
  if (op == opRemove && c && c == targetType_) targetType_ = nullptr;
}
