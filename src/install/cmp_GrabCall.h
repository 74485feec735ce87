#pragma once

#include "install/cmp_TInstallContainer.h"

// TGrabCall: a listener placed among a container's children that hears
// every component call the container broadcasts and hands it to OnCall.
// Components that are not dialogs use one to follow the run.
class TGrabCall : public TInstallObject {
  PELLMORE_CLASS(TGrabCall, TInstallObject)

 public:
  explicit TGrabCall(TComponent* owner) : TInstallObject(owner) {}

  int RegisteredType() const override { return kRegisteredDialog; }
  void HandleComponentCall(TObject* Sender, int ComponentCall, TObject* PO) override {
    if (onCall_) onCall_(Sender, ComponentCall, PO);
  }

  const TExternalComponentCall& OnCall() const noexcept { return onCall_; }
  void SetOnCall(TExternalComponentCall e) { onCall_ = std::move(e); }

 private:
  TExternalComponentCall onCall_;
};
