// The root of the class hierarchy: TObject with its class information (a
// name and a parent per class, declared by PELLMORE_CLASS), TPersistent with
// Assign/AssignTo, and Free, which lets an object tear down what depends on
// it while the object is still whole (see TObject::BeforeDestruction).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/Exception.h"

// One per class: its name as the kit spells it and its parent's record.
// Records live as function-local statics of their class (PELLMORE_CLASS), so
// they exist without any registration; the class registry adds properties
// and construction on top of them.
struct TMetaClass {
  const char* name;
  const TMetaClass* parent;
  // The class itself declares a member function named Notification (an
  // override of TComponent's, or TComponent's own); found by
  // PELLMORE_CLASS, so no class can forget to say so. A component whose
  // nearest such class is below TComponent may act on any component that
  // leaves its owner (see TComponent::DestroyComponents).
  bool declaresNotification = false;

  // True when this class is `other` or derives from it.
  bool InheritsFrom(const TMetaClass& other) const noexcept;
  // The same by class name, ignoring ASCII case.
  bool InheritsFrom(std::string_view className) const noexcept;
};

// Declares a class's class information. Put it first in the class body:
//   class TFoo : public TBar { PELLMORE_CLASS(TFoo, TBar) public: ... };
// It leaves the access at `private`, like the start of a class body.
#define PELLMORE_CLASS(Self, Base)                                                             \
 public:                                                                                       \
  static const ::TMetaClass& StaticMetaClass() noexcept {                                      \
    static const ::TMetaClass meta{                                                            \
        #Self, &Base::StaticMetaClass(), []<class S>(S*) {                                     \
          if constexpr (requires { ::pellmore_meta::DeclaringClass(&S::Notification); })       \
            return std::is_same_v<decltype(::pellmore_meta::DeclaringClass(&S::Notification)), \
                                  S*>;                                                         \
          else                                                                                 \
            return false;                                                                      \
        }(static_cast<Self*>(nullptr))};                                                       \
    return meta;                                                                               \
  }                                                                                            \
  const ::TMetaClass& MetaClass() const noexcept override {                                    \
    return StaticMetaClass();                                                                  \
  }                                                                                            \
                                                                                               \
 private:

namespace pellmore_meta {
// The class a member function pointer belongs to, as a pointer type: for
// &Derived::f it is Derived* only when Derived declares f itself. The
// check runs inside the class (a lambda in StaticMetaClass), so a
// protected or private override is seen too.
template <class C, class R, class... A>
C* DeclaringClass(R (C::*)(A...));
template <class C, class R, class... A>
C* DeclaringClass(R (C::*)(A...) noexcept);
}  // namespace pellmore_meta

class TObject;

// The plain event: who fired it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// The root of every class: it knows its class's name and ancestors.
class TObject {
 public:
  TObject() noexcept;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  static const TMetaClass& StaticMetaClass() noexcept;
  virtual const TMetaClass& MetaClass() const noexcept;

  const char* ClassName() const noexcept { return MetaClass().name; }
  bool InheritsFrom(const TMetaClass& c) const noexcept { return MetaClass().InheritsFrom(c); }
  bool InheritsFrom(std::string_view className) const noexcept {
    return MetaClass().InheritsFrom(className);
  }
  template <class T>
  bool Is() const noexcept {
    return InheritsFrom(T::StaticMetaClass());
  }

  // Runs BeforeDestruction, then deletes the object. Objects that own other
  // objects (components, collections) are destroyed this way so what they
  // own goes while they are still whole; a plain `delete` also works, but
  // then owned objects outlive the owner's derived parts.
  void Free() noexcept;

  // Number of TObjects alive in the process; tests compare it before and
  // after a case to prove that nothing leaked.
  static size_t LiveCount() noexcept;

 protected:
  // Called by Free before any destructor runs. Must not throw.
  virtual void BeforeDestruction() noexcept {}
};

// Frees `p` (if any) and sets it to null.
template <class T>
void FreeAndNil(T*& p) noexcept {
  T* q = p;
  p = nullptr;
  if (q) q->Free();
}

// unique_ptr that destroys through Free.
struct TObjectDeleter {
  void operator()(TObject* p) const noexcept {
    if (p) p->Free();
  }
};
template <class T>
using Owned = std::unique_ptr<T, TObjectDeleter>;

// An object whose state can be copied from another (Assign) and streamed
// through its published properties. Assign raises EConvertError "Cannot
// assign a <source class> to a <dest class>" when neither side knows how.
class TPersistent : public TObject {
  PELLMORE_CLASS(TPersistent, TObject)

 public:
  // Copies `source` into this object: the default asks the source to
  // AssignTo this object. A null source counts as the class "nil".
  virtual void Assign(const TPersistent* source);

  // The name of the root's handler that the form reader bound to the event
  // property `prop` of this object ("FormCreate"), or empty; the form writer
  // writes it back. An empty `handler` forgets the binding.
  const std::string& BoundHandlerName(std::string_view prop) const noexcept;
  void SetBoundHandlerName(std::string_view prop, std::string_view handler);

 protected:
  // Copies this object into `dest`; the default raises the assign error.
  virtual void AssignTo(TPersistent& dest) const;
  // Raises EConvertError "Cannot assign a <source> to a <this class>".
  [[noreturn]] void AssignError(const TPersistent* source) const;

 private:
  std::vector<std::pair<std::string, std::string>> boundHandlers_;
};
