// The class registry (see ClassRegistry.h): class, enumeration, constant
// and description tables, creation by name, and the framework's own
// classes, which every registry starts with.
#include "framework/ClassRegistry.h"

#include "framework/ProcessState.h"
#include "framework/StrUtils.h"

ClassRegistry::ClassRegistry() {
  RegisterFrameworkClasses();
}

ClassRegistry::~ClassRegistry() = default;

ClassRegistry& ClassRegistry::Global() {
  static ClassRegistry registry;
  static const bool registered = [] {
    ProcessState::RegisterReset("framework.ClassRegistry", [] { registry.Clear(); });
    return true;
  }();
  (void)registered;
  return registry;
}

void ClassRegistry::RegisterFrameworkClasses() {
  AddClass("TObject", TObject::StaticMetaClass(), TObject::StaticMetaClass(), nullptr);
  Class<TPersistent, TObject>("TPersistent");
  Class<TComponent, TPersistent>("TComponent")
      .Prop("Name", &TComponent::Name, &TComponent::SetName)
      .Stored(false)  // the description's object header carries it
      .Prop("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
  Class<TStrings, TPersistent>("TStrings");
  Class<TStringList, TStrings>("TStringList");
  Class<TCollectionItem, TPersistent>("TCollectionItem");
  Class<TCollection, TPersistent>("TCollection");
}

ClassInfo& ClassRegistry::AddClass(std::string_view name, const TMetaClass& meta,
                                   const TMetaClass& base,
                                   std::function<TComponent*(TComponent*)> create) {
  const std::string key = AsciiUpperCase(name);
  if (!SameText(name, meta.name))
    throw EInternalError("Class " + std::string(meta.name) + " registered as " + std::string(name));
  const bool isRoot = &meta == &base;
  if (!isRoot && meta.parent != &base)
    throw EInternalError("Class " + std::string(name) + " is declared with another base than " +
                         base.name);
  const ClassInfo* parent = nullptr;
  if (!isRoot) {
    parent = FindClass(base);
    if (!parent)
      throw EInternalError("Class " + std::string(name) + " registered before its base " +
                           base.name);
  }
  ClassInfo* info = nullptr;
  if (const auto it = byMeta_.find(&meta); it != byMeta_.end()) {
    info = it->second;  // registered again: start its entry afresh
    info->props_.clear();
    info->handlers_.clear();
  } else {
    if (const auto clash = byName_.find(key); clash != byName_.end())
      throw EInternalError("Class name " + std::string(name) + " is taken by another class");
    classes_.push_back(std::make_unique<ClassInfo>());
    info = classes_.back().get();
    byMeta_[&meta] = info;
  }
  info->name_ = std::string(name);
  info->meta_ = &meta;
  info->parent_ = parent;
  info->create_ = std::move(create);
  byName_[key] = info;
  return *info;
}

const EnumInfo& ClassRegistry::AddEnum(std::type_index type, std::string_view name,
                                       std::initializer_list<std::string_view> names) {
  std::vector<std::string> list(names.begin(), names.end());
  if (const auto it = enumByType_.find(type); it != enumByType_.end()) {
    it->second->name_ = std::string(name);
    it->second->names_ = std::move(list);
    return *it->second;
  }
  enums_.push_back(std::make_unique<EnumInfo>(std::string(name), std::move(list)));
  enumByType_[type] = enums_.back().get();
  return *enums_.back();
}

const EnumInfo& ClassRegistry::RequireEnum(std::type_index type, std::string_view prop) const {
  const EnumInfo* e = FindEnum(type);
  if (!e)
    throw EInternalError("The enumeration of property " + std::string(prop) + " is not registered");
  return *e;
}

void ClassRegistry::Constants(std::string_view group,
                              std::initializer_list<std::pair<std::string_view, int64_t>> values) {
  IdentMap* map = const_cast<IdentMap*>(FindIdents(group));
  if (!map) {
    idents_.push_back(std::make_unique<IdentMap>(std::string(group)));
    map = idents_.back().get();
  }
  for (const auto& [n, v] : values) map->Add(n, v);
}

void ClassRegistry::Unregister(std::string_view className) {
  byName_.erase(AsciiUpperCase(className));
}

void ClassRegistry::RegisterDescription(std::string_view className, std::string_view fileName,
                                        std::string_view text) {
  descriptions_[AsciiUpperCase(className)] = {std::string(fileName), std::string(text)};
}

const ClassRegistry::Description* ClassRegistry::FindDescription(
    std::string_view className) const noexcept {
  const auto it = descriptions_.find(AsciiUpperCase(className));
  return it == descriptions_.end() ? nullptr : &it->second;
}

std::vector<const ClassInfo*> ClassRegistry::Classes() const {
  std::vector<const ClassInfo*> known;
  for (const auto& c : classes_) {
    const auto it = byName_.find(AsciiUpperCase(c->Name()));
    if (it != byName_.end() && it->second == c.get()) known.push_back(c.get());
  }
  return known;
}

const ClassInfo* ClassRegistry::FindClass(std::string_view name) const noexcept {
  const auto it = byName_.find(AsciiUpperCase(name));
  return it == byName_.end() ? nullptr : it->second;
}

const ClassInfo* ClassRegistry::FindClass(const TMetaClass& meta) const noexcept {
  const auto it = byMeta_.find(&meta);
  return it == byMeta_.end() ? nullptr : it->second;
}

const ClassInfo* ClassRegistry::ClassOf(const TObject& o) const noexcept {
  for (const TMetaClass* m = &o.MetaClass(); m; m = m->parent)
    if (const ClassInfo* c = FindClass(*m)) return c;
  return nullptr;
}

const EnumInfo* ClassRegistry::FindEnum(std::type_index type) const noexcept {
  const auto it = enumByType_.find(type);
  return it == enumByType_.end() ? nullptr : it->second;
}

const IdentMap* ClassRegistry::FindIdents(std::string_view group) const noexcept {
  for (const auto& m : idents_)
    if (SameText(m->Group(), group)) return m.get();
  return nullptr;
}

std::optional<int64_t> ClassRegistry::FindConstant(std::string_view name) const noexcept {
  for (const auto& m : idents_)
    if (const auto v = m->Find(name)) return v;
  return std::nullopt;
}

TComponent* ClassRegistry::Create(std::string_view className, TComponent* owner,
                                  TComponentState initial) const {
  const ClassInfo* info = FindClass(className);
  if (!info) throw EClassNotFound("Class " + std::string(className) + " not found");
  if (!info->CanCreate())
    throw EClassNotFound("Class " + info->Name() + " cannot be created by name");
  TComponent::SetCreationState(initial);
  try {
    return info->create_(owner);
  } catch (...) {
    TComponent::SetCreationState({});
    throw;
  }
}

void ClassRegistry::Clear() {
  byName_.clear();
  byMeta_.clear();
  classes_.clear();
  enumByType_.clear();
  enums_.clear();
  idents_.clear();
  descriptions_.clear();
  RegisterFrameworkClasses();
}
