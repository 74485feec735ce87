// Published-property type information: what a property is (PropInfo: name,
// kind, default, stored flag and type-erased accessors), the enumerations
// and identifier constants values may name, the event handlers a form class
// offers, and the per-class record (ClassInfo) that the class registry
// keeps. Generic code (form reader and writer, translator) uses only this.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>
#include <vector>

#include "framework/Object.h"

// Declares an event property a class keeps behind accessors: the getter
// Name(), the setter SetName() (both public) and the member Name_
// (private). Write it in a public section; the section is public again
// after it. Register the property with ClassBuilder::Prop(name, getter,
// setter); an event that is a public std::function member needs no macro,
// ClassBuilder::Field registers it.
#define PELLMORE_EVENT(Type, Name)    \
 public:                              \
  const Type& Name() const noexcept { \
    return Name##_;                   \
  }                                   \
  void Set##Name(Type e) {            \
    Name##_ = std::move(e);           \
  }                                   \
                                      \
 private:                             \
  Type Name##_;                       \
                                      \
 public:

class TComponent;
class ClassRegistry;
template <class C>
class ClassBuilder;

using Bytes = std::vector<uint8_t>;

enum class TTypeKind {
  Integer,  // any C++ integer type; may name identifier constants
  Boolean,
  String,       // UTF-8 std::string
  Float,        // double or float
  Enumeration,  // a registered enum
  Set,          // Set<E> of a registered enum
  StringList,   // a TStrings owned by the object (getter only)
  Collection,   // a TCollection owned by the object (getter only)
  Persistent,   // any other nested TPersistent (getter only): Font, Picture
  Component,    // a reference to another component, resolved by name
  Binary,       // Bytes: picture data and the like
  Event,        // a std::function member bound to a handler by name
};

// "an integer", "a string" ... for messages.
const char* TypeKindPhrase(TTypeKind kind) noexcept;

// Misuse of type information: a property accessed as the wrong kind, a
// type used before it was registered.
class EPropertyError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EPropertyError"; }
};

// A registered enumeration: its type name and enumerator names by ordinal.
class EnumInfo {
 public:
  EnumInfo(std::string name, std::vector<std::string> names)
      : name_(std::move(name)), names_(std::move(names)) {}
  const std::string& Name() const noexcept { return name_; }
  int Count() const noexcept { return static_cast<int>(names_.size()); }
  // Empty for an ordinal outside 0..Count-1.
  const std::string& NameOf(int64_t ordinal) const noexcept;
  // Ignoring ASCII case; -1 when none.
  int OrdinalOf(std::string_view name) const noexcept;

 private:
  friend class ClassRegistry;
  std::string name_;
  std::vector<std::string> names_;
};

// A group of named integer constants (clYellow, GB2312_CHARSET ...).
class IdentMap {
 public:
  explicit IdentMap(std::string group) : group_(std::move(group)) {}
  const std::string& Group() const noexcept { return group_; }
  std::optional<int64_t> Find(std::string_view name) const noexcept;
  // The first name with this value, or null.
  const std::string* NameOf(int64_t value) const noexcept;
  // Adds, or changes the value of a name already there.
  void Add(std::string_view name, int64_t value);
  const std::vector<std::pair<std::string, int64_t>>& Entries() const noexcept { return entries_; }

 private:
  std::string group_;
  std::vector<std::pair<std::string, int64_t>> entries_;
};

class PropInfo {
 public:
  const std::string& Name() const noexcept { return name_; }
  TTypeKind Kind() const noexcept { return kind_; }
  bool IsObjectKind() const noexcept {
    return kind_ == TTypeKind::StringList || kind_ == TTypeKind::Collection ||
           kind_ == TTypeKind::Persistent;
  }
  // Enumeration and Set: the (element) enumeration.
  const EnumInfo* EnumType() const noexcept { return enumType_; }
  // Object kinds and Component: the declared class of the value.
  const TMetaClass* ObjectClass() const noexcept { return objectClass_; }
  // Integer: the identifier constants the value may be written as, or null.
  const IdentMap* Idents() const noexcept { return idents_; }
  // Integer: the range of the C++ type behind the property.
  int64_t MinValue() const noexcept { return min_; }
  int64_t MaxValue() const noexcept { return max_; }
  // Event: typeid of the std::function type.
  std::type_index EventType() const noexcept { return eventType_; }

  // Read and dropped whatever its value (ClassBuilder::Ignored); the kind
  // means nothing then.
  bool IsIgnored() const noexcept { return ignored_; }

  bool HasDefault() const noexcept { return hasDefault_; }
  int64_t DefaultOrd() const noexcept { return defOrd_; }
  double DefaultFloat() const noexcept { return defFloat_; }
  const std::string& DefaultStr() const noexcept { return defStr_; }
  // Whether the value is written at all (the stored flag or predicate).
  bool IsStored(const TObject& o) const;
  // Whether the value equals the default, so a writer leaves it out:
  // ordinals only with a declared default; floats against their default (0
  // unless declared); strings against theirs ("" unless declared); binary,
  // string lists and collections when empty; references when null; events
  // when unassigned. A nested persistent is never "default" as a whole.
  bool IsDefault(const TObject& o) const;
  bool CanWrite() const noexcept;

  // Accessors; each raises EPropertyError when used on a property of
  // another kind. Ordinals are Integer, Boolean (0/1), Enumeration
  // (ordinal) and Set (the bit mask).
  int64_t GetOrd(const TObject& o) const;
  void SetOrd(TObject& o, int64_t v) const;
  double GetFloat(const TObject& o) const;
  void SetFloat(TObject& o, double v) const;
  std::string GetStr(const TObject& o) const;
  void SetStr(TObject& o, const std::string& v) const;
  Bytes GetBytes(const TObject& o) const;
  void SetBytes(TObject& o, const Bytes& v) const;
  // Object kinds and Component.
  TObject* GetObject(const TObject& o) const;
  // Component only; `v` must inherit from ObjectClass() (or be null).
  void SetObject(TObject& o, TObject* v) const;
  bool EventAssigned(const TObject& o) const;
  // `handler` holds the property's std::function type; empty clears.
  void SetEvent(TObject& o, const std::any& handler) const;

 private:
  friend class ClassRegistry;
  template <class C>
  friend class ClassBuilder;
  void Require(bool ok, const char* what) const;

  std::string name_;
  TTypeKind kind_ = TTypeKind::Integer;
  const EnumInfo* enumType_ = nullptr;
  const TMetaClass* objectClass_ = nullptr;
  const IdentMap* idents_ = nullptr;
  int64_t min_ = 0;
  int64_t max_ = 0;
  std::type_index eventType_ = typeid(void);
  bool hasDefault_ = false;
  int64_t defOrd_ = 0;
  double defFloat_ = 0;
  std::string defStr_;
  bool stored_ = true;
  bool ignored_ = false;
  std::function<bool(const TObject&)> storedFn_;
  std::function<int64_t(const TObject&)> getOrd_;
  std::function<void(TObject&, int64_t)> setOrd_;
  std::function<double(const TObject&)> getFloat_;
  std::function<void(TObject&, double)> setFloat_;
  std::function<std::string(const TObject&)> getStr_;
  std::function<void(TObject&, const std::string&)> setStr_;
  std::function<Bytes(const TObject&)> getBytes_;
  std::function<void(TObject&, const Bytes&)> setBytes_;
  std::function<TObject*(const TObject&)> getObj_;
  std::function<void(TObject&, TObject*)> setObj_;
  std::function<bool(const TObject&)> eventAssigned_;
  std::function<void(TObject&, const std::any&)> setEvent_;
};

// A method of a form class that descriptions may name as an event handler.
struct HandlerInfo {
  std::string name;
  std::type_index type = typeid(void);  // the std::function type it binds to
  std::function<std::any(TObject& root)> bind;
};

class ClassInfo {
 public:
  const std::string& Name() const noexcept { return name_; }
  const TMetaClass& Meta() const noexcept { return *meta_; }
  const ClassInfo* Parent() const noexcept { return parent_; }
  // This class's or an ancestor's property, ignoring ASCII case; a class
  // may redeclare an ancestor's property (another default, say).
  const PropInfo* FindProp(std::string_view name) const noexcept;
  // All properties, ancestors' first, in registration order.
  std::vector<const PropInfo*> Props() const;
  // Whether the registry can create it by name (a component class).
  bool CanCreate() const noexcept { return static_cast<bool>(create_); }
  // This class's or an ancestor's handler, ignoring ASCII case.
  const HandlerInfo* FindHandler(std::string_view name) const noexcept;

 private:
  friend class ClassRegistry;
  template <class C>
  friend class ClassBuilder;
  std::string name_;
  const TMetaClass* meta_ = nullptr;
  const ClassInfo* parent_ = nullptr;
  std::vector<std::unique_ptr<PropInfo>> props_;
  std::vector<HandlerInfo> handlers_;
  std::function<TComponent*(TComponent* owner)> create_;
};
