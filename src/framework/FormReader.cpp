// Applies parsed form descriptions to components (see FormReader.h). A
// Session holds one read: what it created (to destroy on failure), the
// Loaded order and the pending component references.
#include "framework/FormReader.h"

#include <algorithm>

#include "framework/FormParser.h"
#include "framework/RunAndFinish.h"
#include "framework/StrUtils.h"

namespace {

// Inherited descriptions deeper than this are taken as a cycle.
constexpr int kMaxInheritance = 16;

std::vector<std::string> SplitDots(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t dot = path.find('.', start);
    parts.emplace_back(path.substr(start, dot == std::string_view::npos ? dot : dot - start));
    if (dot == std::string_view::npos) return parts;
    start = dot + 1;
  }
}

class Session {
 public:
  Session(const ClassRegistry& registry, TComponent& root) : reg_(registry), root_(root) {}

  void Run(const FormObject& ast, const std::string& file) {
    const TComponentState before = root_.ComponentState();
    root_.IncludeState(csLoading);
    root_.IncludeState(csReading);
    loaded_.push_back(&root_);
    try {
      ApplyRoot(ast, file, 0);
      ResolveFixups();
      for (TComponent* c : loaded_) c->ExcludeState(csReading);
      for (TComponent* c : loaded_) {
        c->Loaded();
        c->ExcludeState(csLoading);
      }
    } catch (...) {
      Rollback(before);
      throw;
    }
  }

 private:
  struct Fixup {
    TObject* target;  // object whose property it is
    const PropInfo* prop;
    std::string name;  // empty for nil
    std::string what;  // "Label1.FocusControl" for messages
    SourcePos pos;
    std::string file;
    std::vector<const TCollectionItem*> items;  // collection items around target
  };

  [[noreturn]] void Fail(const std::string& file, SourcePos pos, const std::string& reason) const {
    throw EFormError(file, pos, reason);
  }

  void Rollback(TComponentState before) noexcept {
    // Only what the root still owns: component code may have freed some.
    root_.DestroyComponents(created_);
    for (TComponentStateItem s : {csLoading, csReading}) {
      if (before.Contains(s))
        root_.IncludeState(s);
      else
        root_.ExcludeState(s);
    }
  }

  void ApplyRoot(const FormObject& ast, const std::string& file, int inheritance) {
    const ClassInfo* ci = reg_.FindClass(ast.className);
    if (!ci) Fail(file, ast.classPos, "Class " + ast.className + " not found");
    if (!root_.InheritsFrom(ci->Meta()))
      Fail(file, ast.classPos,
           "The description is for a " + ci->Name() + ", not for a " + root_.ClassName());
    if (ast.inherited) {
      if (inheritance >= kMaxInheritance)
        Fail(file, ast.pos, "Inherited descriptions nest too deep");
      const ClassRegistry::Description* base = nullptr;
      for (const ClassInfo* p = ci->Parent(); p && !base; p = p->Parent())
        base = reg_.FindDescription(p->Name());
      if (!base)
        Fail(file, ast.pos,
             "No form description of an ancestor of " + ci->Name() + " is registered");
      const FormObject baseAst = ParseFormDescription(base->text, base->fileName);
      ApplyRoot(baseAst, base->fileName, inheritance + 1);
    }
    if (!ast.name.empty()) SetName(root_, ast.name, file, ast.namePos);
    enclosing_.assign(1, &root_);
    ApplyBody(root_, ast, file);
  }

  void ApplyBody(TComponent& c, const FormObject& ast, const std::string& file) {
    for (const FormProperty& p : ast.properties) ApplyProperty(c, c, p, file);
    for (const FormObject& child : ast.children) ApplyChild(c, child, file);
  }

  void ApplyChild(TComponent& parent, const FormObject& ast, const std::string& file) {
    const ClassInfo* ci = reg_.FindClass(ast.className);
    if (!ci) Fail(file, ast.classPos, "Class " + ast.className + " not found");
    TComponent* c = nullptr;
    if (ast.inherited) {
      c = root_.FindComponent(ast.name);
      if (!c) Fail(file, ast.namePos, "Inherited component " + ast.name + " not found");
      if (std::find(enclosing_.begin(), enclosing_.end(), c) != enclosing_.end())
        Fail(file, ast.namePos, "Component " + ast.name + " cannot be nested inside itself");
      if (!c->InheritsFrom(ci->Meta()))
        Fail(file, ast.classPos,
             "Component " + ast.name + " is a " + c->ClassName() + ", not a " + ci->Name());
    } else {
      if (!ci->CanCreate()) Fail(file, ast.classPos, "Class " + ci->Name() + " cannot be created");
      if (root_.FindComponent(ast.name))
        Fail(file, ast.namePos, "A component named " + ast.name + " already exists");
      c = reg_.Create(ci->Name(), &root_, TComponentState{csLoading, csReading});
      created_.push_back(c);
      loaded_.push_back(c);
      SetName(*c, ast.name, file, ast.namePos);
    }
    c->SetParentComponent(&parent);
    enclosing_.push_back(c);
    ApplyBody(*c, ast, file);
    enclosing_.pop_back();
  }

  void SetName(TComponent& c, const std::string& name, const std::string& file, SourcePos pos) {
    try {
      c.SetName(name);
    } catch (const EComponentError& e) {
      Fail(file, pos, e.Message());
    }
  }

  void ApplyProperty(TObject& target, TComponent& comp, const FormProperty& p,
                     const std::string& file) {
    const std::vector<std::string> parts = SplitDots(p.path);
    TObject* obj = &target;
    for (size_t i = 0; i < parts.size(); ++i) {
      const ClassInfo* ci = reg_.ClassOf(*obj);
      const PropInfo* prop = ci ? ci->FindProp(parts[i]) : nullptr;
      if (!prop)
        Fail(file, p.pos, "Property " + parts[i] + " does not exist in " + obj->ClassName());
      // Whatever the value says (and whatever lies below it), it is dropped.
      if (prop->IsIgnored()) return;
      const bool last = i + 1 == parts.size();
      const bool linesOfList = prop->Kind() == TTypeKind::StringList && i + 2 == parts.size() &&
                               SameText(parts[i + 1], "Strings");
      if (last || linesOfList) {
        ApplyValue(*obj, comp, *prop, p.value, file, p.path);
        return;
      }
      if (!prop->IsObjectKind())
        Fail(file, p.pos,
             "Property " + prop->Name() + " of " + obj->ClassName() +
                 " has no properties of its own");
      obj = prop->GetObject(*obj);
      if (!obj) Fail(file, p.pos, "Property " + prop->Name() + " is not assigned");
    }
  }

  void ApplyValue(TObject& obj, TComponent& comp, const PropInfo& prop, const FormValue& v,
                  const std::string& file, const std::string& path) {
    const auto wrong = [&] {
      Fail(file, v.pos,
           "Property " + path + " needs " + TypeKindPhrase(prop.Kind()) + ", not " +
               FormValuePhrase(v.kind));
    };
    const auto unknownIdent = [&](const std::string& name, SourcePos at, const std::string& hint) {
      Fail(file, at, "Unknown identifier " + name + " for property " + path + hint);
    };
    switch (prop.Kind()) {
      case TTypeKind::Integer: {
        int64_t x = 0;
        if (v.kind == FormValue::Kind::Integer) {
          x = v.integer;
        } else if (v.kind == FormValue::Kind::Ident) {
          std::optional<int64_t> found;
          if (prop.Idents()) found = prop.Idents()->Find(v.text);
          if (!found) found = reg_.FindConstant(v.text);
          if (!found) unknownIdent(v.text, v.pos, "");
          x = *found;
        } else {
          wrong();
        }
        if (x < prop.MinValue() || x > prop.MaxValue())
          Fail(file, v.pos,
               "Value " + std::to_string(x) + " out of range for property " + path + " (" +
                   std::to_string(prop.MinValue()) + ".." + std::to_string(prop.MaxValue()) + ")");
        prop.SetOrd(obj, x);
        return;
      }
      case TTypeKind::Boolean:
        if (v.kind != FormValue::Kind::Ident) wrong();
        if (SameText(v.text, "True"))
          prop.SetOrd(obj, 1);
        else if (SameText(v.text, "False"))
          prop.SetOrd(obj, 0);
        else
          unknownIdent(v.text, v.pos, ": True or False expected");
        return;
      case TTypeKind::String:
        if (v.kind != FormValue::Kind::String) wrong();
        prop.SetStr(obj, v.text);
        return;
      case TTypeKind::Float:
        if (v.kind == FormValue::Kind::Integer)
          prop.SetFloat(obj, static_cast<double>(v.integer));
        else if (v.kind == FormValue::Kind::Float)
          prop.SetFloat(obj, v.number);
        else
          wrong();
        return;
      case TTypeKind::Enumeration: {
        if (v.kind != FormValue::Kind::Ident) wrong();
        const int ord = prop.EnumType()->OrdinalOf(v.text);
        if (ord < 0) unknownIdent(v.text, v.pos, " of type " + prop.EnumType()->Name());
        prop.SetOrd(obj, ord);
        return;
      }
      case TTypeKind::Set: {
        if (v.kind != FormValue::Kind::Set) wrong();
        uint64_t bits = 0;
        for (const auto& [name, at] : v.elements) {
          const int ord = prop.EnumType()->OrdinalOf(name);
          if (ord < 0) unknownIdent(name, at, " of type " + prop.EnumType()->Name());
          bits |= uint64_t{1} << ord;
        }
        prop.SetOrd(obj, static_cast<int64_t>(bits));
        return;
      }
      case TTypeKind::StringList: {
        if (v.kind != FormValue::Kind::List) wrong();
        for (const FormValue& item : v.items)
          if (item.kind != FormValue::Kind::String)
            Fail(file, item.pos,
                 "String list " + path + " takes strings, not " + FormValuePhrase(item.kind));
        auto* list = static_cast<TStrings*>(Assigned(obj, prop, file, v.pos));
        Updating(*list, [&] {
          list->Clear();
          for (const FormValue& item : v.items) list->Add(item.text);
        });
        return;
      }
      case TTypeKind::Collection: {
        if (v.kind != FormValue::Kind::Collection) wrong();
        auto* coll = static_cast<TCollection*>(Assigned(obj, prop, file, v.pos));
        ForgetFixupsInside(*coll);
        Updating(*coll, [&] {
          coll->Clear();
          for (const FormItem& item : v.collection) {
            TCollectionItem* it = coll->Add();
            items_.push_back(it);
            try {
              for (const FormProperty& p : item.properties) ApplyProperty(*it, comp, p, file);
            } catch (...) {
              items_.pop_back();
              throw;
            }
            items_.pop_back();
          }
        });
        return;
      }
      case TTypeKind::Persistent:
        Fail(file, v.pos,
             "Property " + path + " is an object: set its properties (" + path + ".Name = ...)");
      case TTypeKind::Binary:
        if (v.kind != FormValue::Kind::Binary) wrong();
        prop.SetBytes(obj, v.bytes);
        return;
      case TTypeKind::Component:
        if (v.kind != FormValue::Kind::Ident) wrong();
        fixups_.push_back({&obj, &prop, SameText(v.text, "nil") ? std::string() : v.text,
                           (comp.Name().empty() ? comp.ClassName() : comp.Name()) + "." + path,
                           v.pos, file, items_});
        return;
      case TTypeKind::Event: {
        if (v.kind != FormValue::Kind::Ident) wrong();
        auto* persistent = dynamic_cast<TPersistent*>(&obj);
        if (SameText(v.text, "nil")) {
          prop.SetEvent(obj, std::any());
          if (persistent) persistent->SetBoundHandlerName(prop.Name(), "");
          return;
        }
        const ClassInfo* rootClass = reg_.ClassOf(root_);
        const HandlerInfo* h = rootClass ? rootClass->FindHandler(v.text) : nullptr;
        if (!h) Fail(file, v.pos, "Event handler " + v.text + " not found in " + root_.ClassName());
        if (h->type != prop.EventType())
          Fail(file, v.pos, "Event handler " + h->name + " does not fit event " + path);
        prop.SetEvent(obj, h->bind(root_));
        if (persistent) persistent->SetBoundHandlerName(prop.Name(), h->name);
        return;
      }
    }
  }

  TObject* Assigned(TObject& obj, const PropInfo& prop, const std::string& file, SourcePos pos) {
    TObject* o = prop.GetObject(obj);
    if (!o) Fail(file, pos, "Property " + prop.Name() + " is not assigned");
    return o;
  }

  // Runs a bulk change between BeginUpdate and EndUpdate; on failure the
  // update is closed without letting a second exception hide the first.
  template <class T, class F>
  static void Updating(T& target, F&& change) {
    target.BeginUpdate();
    RunAndFinish(std::forward<F>(change), [&target] { target.EndUpdate(); });
  }

  // A collection about to be refilled destroys its items: references
  // pending on them (or on objects inside them) must not be resolved.
  void ForgetFixupsInside(const TCollection& coll) {
    if (coll.Count() == 0) return;
    std::erase_if(fixups_, [&](const Fixup& f) {
      return std::any_of(f.items.begin(), f.items.end(),
                         [&](const TCollectionItem* i) { return i->Collection() == &coll; });
    });
  }

  TComponent* FindByPath(const std::string& path) const {
    const std::vector<std::string> parts = SplitDots(path);
    TComponent* cur = nullptr;
    size_t i = 0;
    if (parts.size() > 1 && SameText(parts[0], root_.Name())) {
      cur = &root_;
      i = 1;
    } else {
      cur = root_.FindComponent(parts[0]);
      if (!cur && SameText(parts[0], root_.Name())) cur = &root_;
      if (!cur) return nullptr;
      i = 1;
    }
    for (; i < parts.size() && cur; ++i) cur = cur->FindComponent(parts[i]);
    return cur;
  }

  void ResolveFixups() {
    for (const Fixup& f : fixups_) {
      TComponent* target = nullptr;
      if (!f.name.empty()) {
        target = FindByPath(f.name);
        if (!target)
          Fail(f.file, f.pos, "Component " + f.name + " referenced by " + f.what + " not found");
        if (!target->InheritsFrom(*f.prop->ObjectClass()))
          Fail(f.file, f.pos,
               "Component " + f.name + " is a " + target->ClassName() + "; " + f.what +
                   " needs a " + f.prop->ObjectClass()->name);
      }
      f.prop->SetObject(*f.target, target);
    }
  }

  const ClassRegistry& reg_;
  TComponent& root_;
  std::vector<TComponent*> created_;
  std::vector<TComponent*> loaded_;
  std::vector<Fixup> fixups_;
  std::vector<const TCollectionItem*> items_;
  std::vector<TComponent*> enclosing_;  // components whose body is being applied
};

}  // namespace

void ReadForm(TComponent& root, std::string_view text, const std::string& fileName,
              const ClassRegistry& registry) {
  const FormObject ast = ParseFormDescription(text, fileName);
  Session(registry, root).Run(ast, fileName);
}

void ReadRegisteredForm(TComponent& root, const ClassRegistry& registry) {
  const ClassRegistry::Description* d = registry.FindDescription(root.ClassName());
  if (!d)
    throw EInternalError(std::string("No form description is registered for ") + root.ClassName());
  ReadForm(root, d->text, d->fileName, registry);
}

TComponent* CreateFromForm(std::string_view text, const std::string& fileName, TComponent* owner,
                           const ClassRegistry& registry) {
  const FormObject ast = ParseFormDescription(text, fileName);
  const ClassInfo* ci = registry.FindClass(ast.className);
  if (!ci) throw EFormError(fileName, ast.classPos, "Class " + ast.className + " not found");
  if (!ci->CanCreate())
    throw EFormError(fileName, ast.classPos, "Class " + ci->Name() + " cannot be created");
  TComponent* root = registry.Create(ci->Name(), owner, TComponentState{csLoading, csReading});
  try {
    Session(registry, *root).Run(ast, fileName);
  } catch (...) {
    root->Free();
    throw;
  }
  return root;
}
