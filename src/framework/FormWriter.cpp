// The form writer (see FormWriter.h).
#include "framework/FormWriter.h"

#include <charconv>

#include "framework/Utf8.h"

namespace {

constexpr int kMaxNestedPersistents = 16;  // a getter returning its owner would loop
constexpr size_t kBytesPerLine = 32;

class Writer {
 public:
  Writer(const ClassRegistry& registry, const TComponent& root, const FormWriteOptions& options)
      : reg_(registry), root_(root), options_(options) {}

  std::string Run() {
    Object(root_, 0);
    return std::move(out_);
  }

 private:
  void Line(int indent, const std::string& text) {
    out_.append(static_cast<size_t>(indent) * 2, ' ');
    out_ += text;
    out_ += '\n';
  }

  void Object(const TComponent& c, int indent) {
    Line(indent,
         std::string("object ") + (c.Name().empty() ? "" : c.Name() + ": ") + c.ClassName());
    Props(c, "", indent + 1, 0);
    c.GetChildren([&](TComponent* child) { Object(*child, indent + 1); }, &root_);
    Line(indent, "end");
  }

  void Props(const TObject& obj, const std::string& prefix, int indent, int depth) {
    const ClassInfo* ci = reg_.ClassOf(obj);
    if (!ci || depth > kMaxNestedPersistents) return;
    for (const PropInfo* p : ci->Props()) {
      if (!p->IsStored(obj)) continue;
      const std::string path = prefix + p->Name();
      if (p->Kind() == TTypeKind::Persistent) {
        if (const TObject* sub = p->GetObject(obj)) Props(*sub, path + ".", indent, depth + 1);
        continue;
      }
      if (options_.includeDefaults || !p->IsDefault(obj)) Value(obj, *p, path, indent, depth);
    }
  }

  void Value(const TObject& obj, const PropInfo& p, const std::string& path, int indent,
             int depth) {
    const std::string head = path + " = ";
    switch (p.Kind()) {
      case TTypeKind::Integer: {
        const int64_t v = p.GetOrd(obj);
        const std::string* name = p.Idents() ? p.Idents()->NameOf(v) : nullptr;
        Line(indent, head + (name ? *name : std::to_string(v)));
        return;
      }
      case TTypeKind::Boolean:
        Line(indent, head + (p.GetOrd(obj) ? "True" : "False"));
        return;
      case TTypeKind::String:
        Line(indent, head + QuoteFormString(p.GetStr(obj)));
        return;
      case TTypeKind::Float:
        Line(indent, head + FormatFormFloat(p.GetFloat(obj)));
        return;
      case TTypeKind::Enumeration: {
        const int64_t v = p.GetOrd(obj);
        const std::string& name = p.EnumType()->NameOf(v);
        Line(indent, head + (name.empty() ? std::to_string(v) : name));
        return;
      }
      case TTypeKind::Set: {
        const auto bits = static_cast<uint64_t>(p.GetOrd(obj));
        std::string text = "[";
        for (int i = 0; i < p.EnumType()->Count(); ++i) {
          if (!(bits & (uint64_t{1} << i))) continue;
          if (text.size() > 1) text += ", ";
          text += p.EnumType()->NameOf(i);
        }
        Line(indent, head + text + "]");
        return;
      }
      case TTypeKind::StringList: {
        const auto* list = static_cast<const TStrings*>(p.GetObject(obj));
        if (!list || list->Count() == 0) {
          Line(indent, head + "()");
          return;
        }
        Line(indent, head + "(");
        for (int i = 0; i < list->Count(); ++i)
          Line(indent + 1, QuoteFormString(list->Strings(i)) + (i + 1 == list->Count() ? ")" : ""));
        return;
      }
      case TTypeKind::Collection: {
        const auto* coll = static_cast<const TCollection*>(p.GetObject(obj));
        if (!coll || coll->Count() == 0) {
          Line(indent, head + "<>");
          return;
        }
        Line(indent, head + "<");
        for (int i = 0; i < coll->Count(); ++i) {
          Line(indent + 1, "item");
          Props(*coll->Items(i), "", indent + 2, depth + 1);
          Line(indent + 1, i + 1 == coll->Count() ? "end>" : "end");
        }
        return;
      }
      case TTypeKind::Binary: {
        static const char kHex[] = "0123456789ABCDEF";
        const Bytes bytes = p.GetBytes(obj);
        if (bytes.empty()) {
          Line(indent, head + "{}");
          return;
        }
        Line(indent, head + "{");
        for (size_t i = 0; i < bytes.size(); i += kBytesPerLine) {
          std::string hex;
          for (size_t k = i; k < bytes.size() && k < i + kBytesPerLine; ++k) {
            hex += kHex[bytes[k] >> 4];
            hex += kHex[bytes[k] & 15];
          }
          Line(indent + 1, hex + (i + kBytesPerLine >= bytes.size() ? "}" : ""));
        }
        return;
      }
      case TTypeKind::Component: {
        const auto* target = static_cast<const TComponent*>(p.GetObject(obj));
        const std::string name = target ? ReferenceName(target) : "nil";
        if (!name.empty()) Line(indent, head + name);
        return;
      }
      case TTypeKind::Event: {
        const auto* persistent = dynamic_cast<const TPersistent*>(&obj);
        std::string handler = persistent ? persistent->BoundHandlerName(p.Name()) : "";
        if (!p.EventAssigned(obj)) handler = "nil";
        if (!handler.empty()) Line(indent, head + handler);
        return;
      }
      case TTypeKind::Persistent:
        return;  // written through its own properties
    }
  }

  // How the reader finds `c` again: its name within the root, the root's
  // name, or "Owner.Name" for a component of another root. Empty when the
  // component cannot be named.
  std::string ReferenceName(const TComponent* c) const {
    if (c->Name().empty()) return "";
    if (c == &root_ || c->Owner() == &root_) return c->Name();
    if (c->Owner() && !c->Owner()->Name().empty()) return c->Owner()->Name() + "." + c->Name();
    return "";
  }

  const ClassRegistry& reg_;
  const TComponent& root_;
  const FormWriteOptions& options_;
  std::string out_;
};

}  // namespace

std::string WriteForm(const TComponent& root, const ClassRegistry& registry,
                      const FormWriteOptions& options) {
  return Writer(registry, root, options).Run();
}

std::string QuoteFormString(std::string_view s) {
  if (s.empty()) return "''";
  std::string out;
  bool quoted = false;
  size_t pos = 0;
  while (pos < s.size()) {
    char32_t cp = 0;
    const size_t len = Utf8Next(s, pos, &cp);
    const bool valid = IsValidUtf8(s.substr(pos, len));
    if (valid && cp >= 32 && cp != 127) {
      if (!quoted) out += '\'';
      quoted = true;
      if (cp == '\'') out += '\'';
      out.append(s.substr(pos, len));
    } else {
      if (quoted) out += '\'';
      quoted = false;
      out += '#';
      out += std::to_string(valid ? static_cast<uint32_t>(cp) : 0xFFFDu);
    }
    pos += len;
  }
  if (quoted) out += '\'';
  return out;
}

std::string FormatFormFloat(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string text(buf, r.ptr);
  if (text.find_first_of("in") != std::string::npos)  // inf, nan
    throw EConvertError("Cannot write the number " + text + " in a form description");
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}
