// Reading a form description at design time (see DesignForm.h).
#include "tools/pack/DesignForm.h"

#include "framework/ClassRegistry.h"
#include "framework/FormParser.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"

namespace pack {

Owned<TComponent> ReadAtDesignTime(std::string_view text, const std::string& file) {
  const FormObject parsed = ParseFormDescription(text, file);
  ClassRegistry& registry = ClassRegistry::Global();
  const ClassInfo* info = registry.FindClass(parsed.className);
  if (!info || !info->Meta().InheritsFrom(TCustomForm::StaticMetaClass()))
    throw Exception("The form description " + file + " describes " + parsed.className +
                    ", which is not a registered form class");
  Owned<TComponent> root(registry.Create(info->Name(), nullptr));
  // Every component created into a designing owner is designing too, so the
  // installer's Loaded leaves the command line and the main form alone.
  root->SetDesigning(true);
  ReadForm(*root, text, file);
  return root;
}

}  // namespace pack
