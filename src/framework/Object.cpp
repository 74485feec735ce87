// TObject's class information, live count and Free; TPersistent's default
// assignment, which refuses with the runtime's "Cannot assign" message.
#include "framework/Object.h"

#include <string>

#include "framework/StrUtils.h"

namespace {
size_t g_liveObjects = 0;
}  // namespace

bool TMetaClass::InheritsFrom(const TMetaClass& other) const noexcept {
  for (const TMetaClass* c = this; c; c = c->parent)
    if (c == &other) return true;
  return false;
}

bool TMetaClass::InheritsFrom(std::string_view className) const noexcept {
  for (const TMetaClass* c = this; c; c = c->parent)
    if (SameText(c->name, className)) return true;
  return false;
}

TObject::TObject() noexcept {
  ++g_liveObjects;
}

TObject::~TObject() {
  --g_liveObjects;
}

const TMetaClass& TObject::StaticMetaClass() noexcept {
  static const TMetaClass meta{"TObject", nullptr};
  return meta;
}

const TMetaClass& TObject::MetaClass() const noexcept {
  return StaticMetaClass();
}

void TObject::Free() noexcept {
  BeforeDestruction();
  delete this;
}

size_t TObject::LiveCount() noexcept {
  return g_liveObjects;
}

void TPersistent::Assign(const TPersistent* source) {
  if (source)
    source->AssignTo(*this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent& dest) const {
  dest.AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
  const std::string from = source ? source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}

const std::string& TPersistent::BoundHandlerName(std::string_view prop) const noexcept {
  static const std::string none;
  for (const auto& [p, h] : boundHandlers_)
    if (SameText(p, prop)) return h;
  return none;
}

void TPersistent::SetBoundHandlerName(std::string_view prop, std::string_view handler) {
  for (auto it = boundHandlers_.begin(); it != boundHandlers_.end(); ++it) {
    if (!SameText(it->first, prop)) continue;
    if (handler.empty())
      boundHandlers_.erase(it);
    else
      it->second = handler;
    return;
  }
  if (!handler.empty()) boundHandlers_.emplace_back(prop, handler);
}
