// Type information records (see TypeInfo.h): enumerator and constant
// lookup, property accessors with kind checks, class-chain lookups.
#include "framework/TypeInfo.h"

#include "framework/Collection.h"
#include "framework/StrUtils.h"
#include "framework/Strings.h"

const char* TypeKindPhrase(TTypeKind kind) noexcept {
  switch (kind) {
    case TTypeKind::Integer:
      return "an integer";
    case TTypeKind::Boolean:
      return "a boolean";
    case TTypeKind::String:
      return "a string";
    case TTypeKind::Float:
      return "a number";
    case TTypeKind::Enumeration:
      return "an enumeration value";
    case TTypeKind::Set:
      return "a set";
    case TTypeKind::StringList:
      return "a string list";
    case TTypeKind::Collection:
      return "a collection";
    case TTypeKind::Persistent:
      return "an object";
    case TTypeKind::Component:
      return "a component reference";
    case TTypeKind::Binary:
      return "binary data";
    case TTypeKind::Event:
      return "an event handler";
  }
  return "a value";
}

const std::string& EnumInfo::NameOf(int64_t ordinal) const noexcept {
  static const std::string none;
  if (ordinal < 0 || ordinal >= Count()) return none;
  return names_[static_cast<size_t>(ordinal)];
}

int EnumInfo::OrdinalOf(std::string_view name) const noexcept {
  for (size_t i = 0; i < names_.size(); ++i)
    if (SameText(names_[i], name)) return static_cast<int>(i);
  return -1;
}

std::optional<int64_t> IdentMap::Find(std::string_view name) const noexcept {
  for (const auto& [n, v] : entries_)
    if (SameText(n, name)) return v;
  return std::nullopt;
}

const std::string* IdentMap::NameOf(int64_t value) const noexcept {
  for (const auto& [n, v] : entries_)
    if (v == value) return &n;
  return nullptr;
}

void IdentMap::Add(std::string_view name, int64_t value) {
  for (auto& [n, v] : entries_) {
    if (SameText(n, name)) {
      v = value;
      return;
    }
  }
  entries_.emplace_back(name, value);
}

void PropInfo::Require(bool ok, const char* what) const {
  if (!ok)
    throw EPropertyError("Property " + name_ + " is " + TypeKindPhrase(kind_) + ", not " + what);
}

bool PropInfo::IsStored(const TObject& o) const {
  if (!stored_) return false;
  return storedFn_ ? storedFn_(o) : true;
}

bool PropInfo::IsDefault(const TObject& o) const {
  switch (kind_) {
    case TTypeKind::Integer:
    case TTypeKind::Boolean:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
      return hasDefault_ && getOrd_(o) == defOrd_;
    case TTypeKind::Float:
      return getFloat_(o) == defFloat_;
    case TTypeKind::String:
      return getStr_(o) == defStr_;
    case TTypeKind::Binary:
      return getBytes_(o).empty();
    case TTypeKind::StringList: {
      const auto* s = static_cast<const TStrings*>(getObj_(o));
      return !s || s->Count() == 0;
    }
    case TTypeKind::Collection: {
      const auto* c = static_cast<const TCollection*>(getObj_(o));
      return !c || c->Count() == 0;
    }
    case TTypeKind::Persistent:
      return false;
    case TTypeKind::Component:
      return getObj_(o) == nullptr;
    case TTypeKind::Event:
      return !eventAssigned_(o);
  }
  return false;
}

bool PropInfo::CanWrite() const noexcept {
  switch (kind_) {
    case TTypeKind::StringList:
    case TTypeKind::Collection:
    case TTypeKind::Persistent:
      return true;  // changed in place
    default:
      return static_cast<bool>(setOrd_) || static_cast<bool>(setFloat_) ||
             static_cast<bool>(setStr_) || static_cast<bool>(setBytes_) ||
             static_cast<bool>(setObj_) || static_cast<bool>(setEvent_);
  }
}

int64_t PropInfo::GetOrd(const TObject& o) const {
  Require(static_cast<bool>(getOrd_), "an ordinal");
  return getOrd_(o);
}

void PropInfo::SetOrd(TObject& o, int64_t v) const {
  Require(static_cast<bool>(setOrd_), "a writable ordinal");
  setOrd_(o, v);
}

double PropInfo::GetFloat(const TObject& o) const {
  Require(static_cast<bool>(getFloat_), "a number");
  return getFloat_(o);
}

void PropInfo::SetFloat(TObject& o, double v) const {
  Require(static_cast<bool>(setFloat_), "a writable number");
  setFloat_(o, v);
}

std::string PropInfo::GetStr(const TObject& o) const {
  Require(static_cast<bool>(getStr_), "a string");
  return getStr_(o);
}

void PropInfo::SetStr(TObject& o, const std::string& v) const {
  Require(static_cast<bool>(setStr_), "a writable string");
  setStr_(o, v);
}

Bytes PropInfo::GetBytes(const TObject& o) const {
  Require(static_cast<bool>(getBytes_), "binary data");
  return getBytes_(o);
}

void PropInfo::SetBytes(TObject& o, const Bytes& v) const {
  Require(static_cast<bool>(setBytes_), "writable binary data");
  setBytes_(o, v);
}

TObject* PropInfo::GetObject(const TObject& o) const {
  Require(static_cast<bool>(getObj_), "an object");
  return getObj_(o);
}

void PropInfo::SetObject(TObject& o, TObject* v) const {
  Require(kind_ == TTypeKind::Component && static_cast<bool>(setObj_),
          "a writable component reference");
  if (v && objectClass_ && !v->InheritsFrom(*objectClass_))
    throw EPropertyError(std::string("Property ") + name_ + " needs a " + objectClass_->name +
                         ", not a " + v->ClassName());
  setObj_(o, v);
}

bool PropInfo::EventAssigned(const TObject& o) const {
  Require(static_cast<bool>(eventAssigned_), "an event");
  return eventAssigned_(o);
}

void PropInfo::SetEvent(TObject& o, const std::any& handler) const {
  Require(static_cast<bool>(setEvent_), "a writable event");
  if (handler.has_value() && std::type_index(handler.type()) != eventType_)
    throw EPropertyError("Event " + name_ + " cannot take a handler of another type");
  setEvent_(o, handler);
}

const PropInfo* ClassInfo::FindProp(std::string_view name) const noexcept {
  for (const ClassInfo* c = this; c; c = c->parent_)
    for (const auto& p : c->props_)
      if (SameText(p->Name(), name)) return p.get();
  return nullptr;
}

std::vector<const PropInfo*> ClassInfo::Props() const {
  std::vector<const PropInfo*> all = parent_ ? parent_->Props() : std::vector<const PropInfo*>();
  for (const auto& p : props_) {
    bool replaced = false;
    for (const PropInfo*& q : all) {
      if (SameText(q->Name(), p->Name())) {
        q = p.get();
        replaced = true;
        break;
      }
    }
    if (!replaced) all.push_back(p.get());
  }
  return all;
}

const HandlerInfo* ClassInfo::FindHandler(std::string_view name) const noexcept {
  for (const ClassInfo* c = this; c; c = c->parent_)
    for (const HandlerInfo& h : c->handlers_)
      if (SameText(h.name, name)) return &h;
  return nullptr;
}
