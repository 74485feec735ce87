// Writing the component reference (see Reference.h).
#include "tools/reference/Reference.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "app/SetupRegistration.h"
#include "framework/ClassRegistry.h"
#include "framework/Format.h"
#include "framework/TypeInfo.h"

namespace reference {
namespace {

std::string SetText(const EnumInfo& e, int64_t mask) {
  std::string out = "[";
  for (int i = 0; i < e.Count() && i < 64; ++i) {
    if (!(mask & (int64_t(1) << i))) continue;
    if (out.size() > 1) out += ", ";
    out += e.NameOf(i);
  }
  return out + "]";
}

std::string TypeText(const PropInfo& p) {
  switch (p.Kind()) {
    case TTypeKind::Integer:
      return p.Idents() ? "Integer (" + p.Idents()->Group() + ")" : "Integer";
    case TTypeKind::Boolean:
      return "Boolean";
    case TTypeKind::String:
      return "String";
    case TTypeKind::Float:
      return "Float";
    case TTypeKind::Enumeration:
      return p.EnumType() ? p.EnumType()->Name() : "Enumeration";
    case TTypeKind::Set:
      return "set of " + (p.EnumType() ? p.EnumType()->Name() : std::string("?"));
    case TTypeKind::StringList:
      return "string list";
    case TTypeKind::Collection:
    case TTypeKind::Persistent:
      return p.ObjectClass() ? p.ObjectClass()->name : "object";
    case TTypeKind::Component:
      return "reference to " +
             (p.ObjectClass() ? p.ObjectClass()->name : std::string("TComponent"));
    case TTypeKind::Binary:
      return "binary data";
    case TTypeKind::Event:
      return "event";
  }
  return "?";
}

std::string DefaultText(const PropInfo& p) {
  switch (p.Kind()) {
    case TTypeKind::Integer:
      if (!p.HasDefault()) return "";
      if (p.Idents())
        if (const std::string* name = p.Idents()->NameOf(p.DefaultOrd())) return *name;
      return std::to_string(p.DefaultOrd());
    case TTypeKind::Boolean:
      return p.HasDefault() ? (p.DefaultOrd() ? "True" : "False") : "";
    case TTypeKind::Enumeration:
      return p.HasDefault() && p.EnumType() ? p.EnumType()->NameOf(p.DefaultOrd()) : "";
    case TTypeKind::Set:
      return p.HasDefault() && p.EnumType() ? SetText(*p.EnumType(), p.DefaultOrd()) : "";
    case TTypeKind::String:
      // In a code span, so that a path's backslashes and underscores show
      // as they are.
      if (!p.HasDefault() || p.DefaultStr().empty()) return "";
      if (p.DefaultStr().find('`') != std::string::npos) return "'" + p.DefaultStr() + "'";
      return "`'" + p.DefaultStr() + "'`";
    case TTypeKind::Float:
      return p.HasDefault() ? Format("%g", p.DefaultFloat()) : "";
    default:
      return "";
  }
}

// Markdown table cells cannot hold a bar.
std::string Cell(std::string s) {
  for (size_t i = 0; (i = s.find('|', i)) != std::string::npos; i += 2) s.replace(i, 1, "\\|");
  return s;
}

std::string Anchor(const std::string& name) {
  std::string a;
  for (char c : name) a += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return a;
}

// The properties a class declares itself (a redeclared ancestor property,
// with another default, counts as its own).
std::vector<const PropInfo*> OwnProps(const ClassInfo& c) {
  std::vector<const PropInfo*> all = c.Props();
  if (!c.Parent()) return all;
  const std::vector<const PropInfo*> inherited = c.Parent()->Props();
  std::vector<const PropInfo*> own;
  for (const PropInfo* p : all)
    if (std::find(inherited.begin(), inherited.end(), p) == inherited.end()) own.push_back(p);
  return own;
}

void DescribeClass(std::ostringstream& out, const ClassInfo& c, const std::string& purpose,
                   std::set<const EnumInfo*>& enums) {
  out << "### " << c.Name() << "\n\n";
  if (!purpose.empty()) out << purpose << "\n\n";
  if (c.Parent())
    out << "Derives from [" << c.Parent()->Name() << "](#" << Anchor(c.Parent()->Name()) << ")"
        << (c.CanCreate() ? "" : "; not placed on forms by itself") << ".\n\n";
  std::vector<const PropInfo*> props, events;
  for (const PropInfo* p : OwnProps(c)) {
    if (p->IsIgnored()) continue;
    (p->Kind() == TTypeKind::Event ? events : props).push_back(p);
    if (p->EnumType()) enums.insert(p->EnumType());
  }
  if (!props.empty()) {
    out << "| Property | Type | Default |\n|---|---|---|\n";
    for (const PropInfo* p : props)
      out << "| `" << p->Name() << "` | " << Cell(TypeText(*p)) << " | " << Cell(DefaultText(*p))
          << " |\n";
    out << "\n";
  }
  if (!events.empty()) {
    out << "Events:";
    for (size_t i = 0; i < events.size(); ++i)
      out << (i ? ", " : " ") << "`" << events[i]->Name() << "`";
    out << ".\n\n";
  }
  if (props.empty() && events.empty()) out << "No published properties of its own.\n\n";
}

}  // namespace

ReferenceText WriteReference(const std::map<std::string, std::string>& purposes) {
  ClassRegistry registry;
  std::set<std::string> framework;
  for (const ClassInfo* c : registry.Classes()) framework.insert(c->Name());
  RegisterSetupClasses(registry);

  std::vector<const ClassInfo*> kit, controls;
  for (const ClassInfo* c : registry.Classes())
    (framework.count(c->Name()) ? controls : kit).push_back(c);
  const auto byName = [](const ClassInfo* a, const ClassInfo* b) { return a->Name() < b->Name(); };
  std::sort(kit.begin(), kit.end(), byName);
  std::sort(controls.begin(), controls.end(), byName);

  ReferenceText result;
  result.classCount = static_cast<int>(kit.size() + controls.size());
  std::set<const EnumInfo*> enums;
  std::ostringstream out;
  out << "# Component reference\n\n"
      << "Written by `pellmore-reference` from the type information of the classes the "
         "setup program registers ("
      << result.classCount
      << " classes); a test fails when this file differs from what the tool writes, so do "
         "not edit it by hand: change the code and run\n"
         "`build/sim/tools/reference/pellmore-reference -o docs/reference.md --sources src`.\n\n"
      << "Each class lists the published properties it declares itself, with their types "
         "and defaults (a blank default: none is declared, every value is stored), and its "
         "events; inherited ones are listed with the ancestor. The values of every "
         "enumeration are at the end.\n\n";
  const auto section = [&](const char* title, const std::vector<const ClassInfo*>& classes) {
    out << "## " << title << "\n\n";
    for (const ClassInfo* c : classes) {
      const auto it = purposes.find(c->Name());
      if (it == purposes.end()) result.withoutPurpose.push_back(c->Name());
      DescribeClass(out, *c, it == purposes.end() ? "" : it->second, enums);
    }
  };
  section("Kit components", kit);
  section("Forms and controls", controls);

  std::vector<const EnumInfo*> sorted(enums.begin(), enums.end());
  std::sort(sorted.begin(), sorted.end(),
            [](const EnumInfo* a, const EnumInfo* b) { return a->Name() < b->Name(); });
  out << "## Enumerations\n\n| Type | Values (ordinal order) |\n|---|---|\n";
  for (const EnumInfo* e : sorted) {
    out << "| " << e->Name() << " |";
    for (int i = 0; i < e->Count(); ++i) out << (i ? ", " : " ") << "`" << e->NameOf(i) << "`";
    out << " |\n";
  }
  result.markdown = out.str();
  return result;
}

}  // namespace reference
