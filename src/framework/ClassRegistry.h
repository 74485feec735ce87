// The class registry: which classes a program knows by name, their
// published properties, the enumerations and identifier constants their
// values use, the event handlers of form classes and the registered form
// descriptions. Registration is explicit and ordered: each unit has a
// registration function, and each program calls them from one list (no
// static initialisers). A class is registered after its base.
//
//   void RegisterInstallFile(ClassRegistry& r) {
//     r.Class<TInstallFile, TCustomInstallFile>("TInstallFile")
//         .Prop("DestName", &TInstallFile::DestName, &TInstallFile::SetDestName)
//         .Prop("OverwriteMode", &TInstallFile::OverwriteMode,
//               &TInstallFile::SetOverwriteMode, owAlways);
//   }
#pragma once

#include <limits>
#include <map>
#include <optional>
#include <type_traits>
#include <unordered_map>

#include "framework/Collection.h"
#include "framework/Component.h"
#include "framework/Set.h"
#include "framework/Strings.h"
#include "framework/TypeInfo.h"

// No class of that name is registered, or it cannot be created by name.
class EClassNotFound : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EClassNotFound"; }
};

namespace rtti_detail {
template <class T>
struct IsStdFunction : std::false_type {};
template <class Sig>
struct IsStdFunction<std::function<Sig>> : std::true_type {};

template <class T>
inline constexpr bool kAlwaysFalse = false;

// The std::function type a handler method binds to, and the binding.
template <class M>
struct MethodTraits;
template <class R, class F, class... A>
struct MethodTraits<R (F::*)(A...)> {
  using Class = F;
  using Function = std::function<R(A...)>;
  static Function Bind(F* self, R (F::*m)(A...)) {
    return [self, m](A... a) -> R { return (self->*m)(std::forward<A>(a)...); };
  }
};
template <class R, class F, class... A>
struct MethodTraits<R (F::*)(A...) const> {
  using Class = F;
  using Function = std::function<R(A...)>;
  static Function Bind(const F* self, R (F::*m)(A...) const) {
    return [self, m](A... a) -> R { return (self->*m)(std::forward<A>(a)...); };
  }
};
}  // namespace rtti_detail

class ClassRegistry {
 public:
  // A registry holding the framework's own classes (TObject, TPersistent,
  // TComponent, TStrings, TStringList, TCollection, TCollectionItem).
  ClassRegistry();
  ~ClassRegistry();
  ClassRegistry(const ClassRegistry&) = delete;
  ClassRegistry& operator=(const ClassRegistry&) = delete;

  // The program's registry. ProcessState::ResetAll returns it to the
  // framework's own classes, so each test registers what it uses.
  static ClassRegistry& Global();

  // Registers class T (declared with PELLMORE_CLASS(T, Base)) under `name`
  // and returns a builder for its properties and handlers. Base must be
  // registered already. Registering T again replaces its entry. Raises
  // EInternalError when the name, the declared base or the order is wrong.
  template <class T, class Base>
  ClassBuilder<T> Class(std::string_view name);

  // Registers enumeration E with its enumerator names in ordinal order.
  template <class E>
  const EnumInfo& Enum(std::string_view typeName, std::initializer_list<std::string_view> names) {
    static_assert(std::is_enum_v<E>);
    return AddEnum(typeid(E), typeName, names);
  }

  // Adds named integer constants to a group (an Integer property tagged
  // with the group writes its values by these names).
  void Constants(std::string_view group,
                 std::initializer_list<std::pair<std::string_view, int64_t>> values);

  // Makes a class unknown by name (its type information stays for objects
  // that exist).
  void Unregister(std::string_view className);

  // The text form description of a form class ("object fmMain: TfmMain ..."),
  // read when such a form is created; `fileName` names it in messages.
  struct Description {
    std::string fileName;
    std::string text;
  };
  void RegisterDescription(std::string_view className, std::string_view fileName,
                           std::string_view text);
  const Description* FindDescription(std::string_view className) const noexcept;

  const ClassInfo* FindClass(std::string_view name) const noexcept;
  const ClassInfo* FindClass(const TMetaClass& meta) const noexcept;
  // The classes known by name, in the order they were first registered.
  std::vector<const ClassInfo*> Classes() const;
  // The record of o's class or of its nearest registered ancestor.
  const ClassInfo* ClassOf(const TObject& o) const noexcept;
  const EnumInfo* FindEnum(std::type_index type) const noexcept;
  const IdentMap* FindIdents(std::string_view group) const noexcept;
  // A constant of any group, the first registered under that name.
  std::optional<int64_t> FindConstant(std::string_view name) const noexcept;

  // Creates a component of the named class with `owner`; its constructor
  // already sees `initial` state. Raises EClassNotFound.
  TComponent* Create(std::string_view className, TComponent* owner,
                     TComponentState initial = {}) const;

  // Back to the framework's own classes only.
  void Clear();

 private:
  template <class C>
  friend class ClassBuilder;
  ClassInfo& AddClass(std::string_view name, const TMetaClass& meta, const TMetaClass& base,
                      std::function<TComponent*(TComponent*)> create);
  const EnumInfo& AddEnum(std::type_index type, std::string_view name,
                          std::initializer_list<std::string_view> names);
  const EnumInfo& RequireEnum(std::type_index type, std::string_view prop) const;
  void RegisterFrameworkClasses();

  std::vector<std::unique_ptr<ClassInfo>> classes_;
  std::map<std::string, ClassInfo*> byName_;  // upper-case names
  std::unordered_map<const TMetaClass*, ClassInfo*> byMeta_;
  std::vector<std::unique_ptr<EnumInfo>> enums_;
  std::unordered_map<std::type_index, EnumInfo*> enumByType_;
  std::vector<std::unique_ptr<IdentMap>> idents_;
  std::map<std::string, Description> descriptions_;  // upper-case class names
};

// Adds properties and handlers to one class's record. Getters are const
// member functions (or callables taking const C&, or data members); setters
// take the value by value or const reference (or are callables taking C&
// and the value); Field makes a property of a public data member. The value type picks the kind:
// bool, integers, floating point, std::string, a registered enum, Set<E>, Bytes, std::function<...>
// (event), T* to a component (reference, with setter), T* to a TStrings, TCollection or other
// TPersistent (nested object, getter only).
template <class C>
class ClassBuilder {
 public:
  ClassBuilder(ClassRegistry& registry, ClassInfo& info) : registry_(registry), info_(info) {}

  template <class G, class S>
  ClassBuilder& Prop(std::string_view name, G get, S set) {
    using V = std::remove_cvref_t<std::invoke_result_t<G, const C&>>;
    Bind<V>(NewProp(name), get, set);
    return *this;
  }
  // The same with a declared default: a value equal to it is not written.
  template <class G, class S, class D>
  ClassBuilder& Prop(std::string_view name, G get, S set, const D& def) {
    Prop(name, get, set);
    SetDefault(*last_, def);
    return *this;
  }
  // A public data member as a property (events are std::function members):
  // read and assigned directly.
  template <class T, class Owner>
  ClassBuilder& Field(std::string_view name, T Owner::*member) {
    static_assert(std::is_base_of_v<Owner, C>, "member of another class");
    return Prop(name, member, [member](C& o, const T& v) { o.*member = v; });
  }
  template <class T, class Owner, class D>
  ClassBuilder& Field(std::string_view name, T Owner::*member, const D& def) {
    Field(name, member);
    SetDefault(*last_, def);
    return *this;
  }
  // A nested object (string list, collection, other persistent), changed
  // in place through the pointer the getter returns.
  template <class G>
  ClassBuilder& Prop(std::string_view name, G get) {
    using V = std::remove_cvref_t<std::invoke_result_t<G, const C&>>;
    static_assert(std::is_pointer_v<V>, "a property without setter must return an object pointer");
    using T = std::remove_cv_t<std::remove_pointer_t<V>>;
    static_assert(std::is_base_of_v<TPersistent, T> && !std::is_base_of_v<TComponent, T>,
                  "a property without setter must return a nested persistent");
    PropInfo& p = NewProp(name);
    BindObject<T>(p, get);
    return *this;
  }

  // A property that descriptions made elsewhere carry but this framework
  // has no use for (OldCreateOrder, Scaled ...): the reader accepts any
  // value for it, of any syntax, and drops it; it is never written.
  ClassBuilder& Ignored(std::string_view name) {
    PropInfo& p = NewProp(name);
    p.kind_ = TTypeKind::Integer;
    p.ignored_ = true;
    p.stored_ = false;
    p.getOrd_ = [](const TObject&) -> int64_t { return 0; };
    p.setOrd_ = [](TObject&, int64_t) {};
    return *this;
  }

  // The last property's stored flag, or a predicate deciding it.
  ClassBuilder& Stored(bool stored) {
    Last().stored_ = stored;
    return *this;
  }
  ClassBuilder& Stored(bool (C::*pred)() const) {
    Last().storedFn_ = [pred](const TObject& o) { return (static_cast<const C&>(o).*pred)(); };
    return *this;
  }
  // The last (Integer) property reads and writes the constants of `group`.
  ClassBuilder& Idents(std::string_view group) {
    PropInfo& p = Last();
    if (p.kind_ != TTypeKind::Integer) throw EInternalError("Idents on non-integer " + p.name_);
    p.idents_ = registry_.FindIdents(group);
    if (!p.idents_) throw EInternalError("Identifier group " + std::string(group) + " unknown");
    return *this;
  }

  // A method of this form class that descriptions may bind to events by
  // name ("OnCreate = FormCreate"). Its signature must match the event's.
  template <class M>
  ClassBuilder& Handler(std::string_view name, M method) {
    using Tr = rtti_detail::MethodTraits<M>;
    static_assert(std::is_base_of_v<typename Tr::Class, C>, "handler of another class");
    HandlerInfo h;
    h.name = std::string(name);
    h.type = typeid(typename Tr::Function);
    h.bind = [method](TObject& root) -> std::any {
      return Tr::Bind(static_cast<C*>(&root), method);
    };
    for (HandlerInfo& old : info_.handlers_) {
      if (old.name == h.name) {
        old = std::move(h);
        return *this;
      }
    }
    info_.handlers_.push_back(std::move(h));
    return *this;
  }

 private:
  PropInfo& NewProp(std::string_view name) {
    for (const auto& p : info_.props_)
      if (p->name_ == name)
        throw EInternalError("Property " + std::string(name) + " declared twice");
    info_.props_.push_back(std::make_unique<PropInfo>());
    last_ = info_.props_.back().get();
    last_->name_ = std::string(name);
    return *last_;
  }
  PropInfo& Last() {
    if (!last_) throw EInternalError("No property to qualify in " + info_.name_);
    return *last_;
  }

  static const C& Of(const TObject& o) { return static_cast<const C&>(o); }
  static C& Of(TObject& o) { return static_cast<C&>(o); }

  template <class V, class G, class S>
  void Bind(PropInfo& p, G get, S set) {
    if constexpr (std::is_same_v<V, bool>) {
      p.kind_ = TTypeKind::Boolean;
      p.getOrd_ = [get](const TObject& o) -> int64_t { return std::invoke(get, Of(o)) ? 1 : 0; };
      p.setOrd_ = [set](TObject& o, int64_t v) { std::invoke(set, Of(o), v != 0); };
    } else if constexpr (std::is_integral_v<V>) {
      p.kind_ = TTypeKind::Integer;
      p.min_ = static_cast<int64_t>(std::numeric_limits<V>::min());
      p.max_ = std::numeric_limits<V>::max() > static_cast<uint64_t>(INT64_MAX)
                   ? INT64_MAX
                   : static_cast<int64_t>(std::numeric_limits<V>::max());
      p.getOrd_ = [get](const TObject& o) { return static_cast<int64_t>(std::invoke(get, Of(o))); };
      p.setOrd_ = [set](TObject& o, int64_t v) { std::invoke(set, Of(o), static_cast<V>(v)); };
    } else if constexpr (std::is_floating_point_v<V>) {
      p.kind_ = TTypeKind::Float;
      p.getFloat_ = [get](const TObject& o) {
        return static_cast<double>(std::invoke(get, Of(o)));
      };
      p.setFloat_ = [set](TObject& o, double v) { std::invoke(set, Of(o), static_cast<V>(v)); };
    } else if constexpr (std::is_same_v<V, std::string>) {
      p.kind_ = TTypeKind::String;
      p.getStr_ = [get](const TObject& o) { return std::string(std::invoke(get, Of(o))); };
      p.setStr_ = [set](TObject& o, const std::string& v) { std::invoke(set, Of(o), v); };
    } else if constexpr (std::is_enum_v<V>) {
      p.kind_ = TTypeKind::Enumeration;
      p.enumType_ = &registry_.RequireEnum(typeid(V), p.name_);
      p.getOrd_ = [get](const TObject& o) { return static_cast<int64_t>(std::invoke(get, Of(o))); };
      p.setOrd_ = [set](TObject& o, int64_t v) { std::invoke(set, Of(o), static_cast<V>(v)); };
    } else if constexpr (IsSetType<V>::value) {
      p.kind_ = TTypeKind::Set;
      p.enumType_ = &registry_.RequireEnum(typeid(typename IsSetType<V>::Element), p.name_);
      if (p.enumType_->Count() > 64) throw EInternalError("Set " + p.name_ + " of over 64 values");
      p.getOrd_ = [get](const TObject& o) {
        return static_cast<int64_t>(std::invoke(get, Of(o)).Bits());
      };
      p.setOrd_ = [set](TObject& o, int64_t v) {
        std::invoke(set, Of(o), V::FromBits(static_cast<uint64_t>(v)));
      };
    } else if constexpr (std::is_same_v<V, Bytes>) {
      p.kind_ = TTypeKind::Binary;
      p.getBytes_ = [get](const TObject& o) { return Bytes(std::invoke(get, Of(o))); };
      p.setBytes_ = [set](TObject& o, const Bytes& v) { std::invoke(set, Of(o), v); };
    } else if constexpr (rtti_detail::IsStdFunction<V>::value) {
      p.kind_ = TTypeKind::Event;
      p.eventType_ = typeid(V);
      p.eventAssigned_ = [get](const TObject& o) {
        return static_cast<bool>(std::invoke(get, Of(o)));
      };
      p.setEvent_ = [set](TObject& o, const std::any& h) {
        std::invoke(set, Of(o), h.has_value() ? std::any_cast<const V&>(h) : V());
      };
    } else if constexpr (std::is_pointer_v<V>) {
      using T = std::remove_cv_t<std::remove_pointer_t<V>>;
      if constexpr (std::is_base_of_v<TComponent, T>) {
        p.kind_ = TTypeKind::Component;
        p.objectClass_ = &T::StaticMetaClass();
        p.getObj_ = [get](const TObject& o) -> TObject* {
          return const_cast<T*>(std::invoke(get, Of(o)));
        };
        p.setObj_ = [set](TObject& o, TObject* v) {
          std::invoke(set, Of(o), static_cast<T*>(static_cast<TComponent*>(v)));
        };
      } else {
        static_assert(std::is_base_of_v<TPersistent, T>, "unsupported property type");
        BindObject<T>(p, get);
      }
    } else {
      static_assert(rtti_detail::kAlwaysFalse<V>, "unsupported property type");
    }
  }

  template <class T, class G>
  void BindObject(PropInfo& p, G get) {
    if constexpr (std::is_base_of_v<TStrings, T>)
      p.kind_ = TTypeKind::StringList;
    else if constexpr (std::is_base_of_v<TCollection, T>)
      p.kind_ = TTypeKind::Collection;
    else
      p.kind_ = TTypeKind::Persistent;
    p.objectClass_ = &T::StaticMetaClass();
    p.getObj_ = [get](const TObject& o) -> TObject* {
      return const_cast<T*>(std::invoke(get, Of(o)));
    };
  }

  template <class D>
  static void SetDefault(PropInfo& p, const D& def) {
    if constexpr (IsSetType<D>::value) {
      p.defOrd_ = static_cast<int64_t>(def.Bits());
    } else if constexpr (std::is_enum_v<D>) {
      p.defOrd_ = static_cast<int64_t>(def);
    } else if constexpr (std::is_arithmetic_v<D>) {
      p.defOrd_ = static_cast<int64_t>(def);
      p.defFloat_ = static_cast<double>(def);
    } else if constexpr (std::is_convertible_v<const D&, std::string_view>) {
      p.defStr_ = std::string(std::string_view(def));
    } else {
      static_assert(rtti_detail::kAlwaysFalse<D>, "unsupported default value");
    }
    p.hasDefault_ = true;
  }

  ClassRegistry& registry_;
  ClassInfo& info_;
  PropInfo* last_ = nullptr;
};

template <class T, class Base>
ClassBuilder<T> ClassRegistry::Class(std::string_view name) {
  static_assert(std::is_base_of_v<Base, T>, "Base is not a base of T");
  if (&T::StaticMetaClass() == &Base::StaticMetaClass())
    throw EInternalError(std::string(name) + " does not declare PELLMORE_CLASS");
  std::function<TComponent*(TComponent*)> create;
  if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TComponent*>)
    create = [](TComponent* owner) -> TComponent* { return new T(owner); };
  ClassInfo& info =
      AddClass(name, T::StaticMetaClass(), Base::StaticMetaClass(), std::move(create));
  return ClassBuilder<T>(*this, info);
}
