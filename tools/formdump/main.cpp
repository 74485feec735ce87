// pellmore-formdump: reads a text form description and prints its
// component tree. Knows the framework's classes and the generic sample
// classes (TDemoForm, TDemoPanel, TDemoLabel ...). Earlier files on the
// command line are registered as the descriptions of their classes, so an
// inherited description can be read after its ancestor's.
//
//   pellmore-formdump [--tree | --all | --check] [ANCESTOR.dfm ...] FILE.dfm
//     (default)  the description as the framework writes it back: names,
//                classes and every property that differs from its default
//     --all      every stored property, defaults included
//     --tree     names and classes only
//     --check    reads what it wrote back and checks that it writes back the
//                same text (a round trip); prints the component count
// Exit codes: 0 done, 1 the description is wrong (the message names file,
// line and column) or the round trip differs, 2 bad usage or unreadable
// file.
#include <iostream>
#include <string>
#include <vector>

#include "SampleClasses.h"
#include "framework/FormParser.h"
#include "platform/HostAccess.h"

namespace {

// False, with the reason in `text`, when the file cannot be read whole.
bool ReadFile(const std::string& path, std::string& text) {
  try {
    text = platform::ReadHostFile(path, kMaxFormDescriptionBytes);
    return true;
  } catch (const platform::EHostFileError& e) {
    text = e.Message();
    return false;
  }
}

void PrintTree(const TComponent& c, const TComponent& root, int depth) {
  std::cout << std::string(static_cast<size_t>(depth) * 2, ' ')
            << (c.Name().empty() ? "(unnamed)" : c.Name()) << ": " << c.ClassName() << '\n';
  c.GetChildren([&](TComponent* child) { PrintTree(*child, root, depth + 1); }, &root);
}

int Usage() {
  std::cerr << "usage: pellmore-formdump [--tree | --all | --check] [ANCESTOR.dfm ...] FILE.dfm\n";
  return 2;
}

// Reads the written text back and writes it again: both texts must match.
int Check(const TComponent& root, const std::string& written) {
  Owned<TComponent> again(CreateFromForm(written, "(written back)"));
  if (WriteForm(*again) != written) {
    std::cerr << "pellmore-formdump: the description does not write back the same\n";
    return 1;
  }
  std::cout << "ok: " << root.ComponentCount() << " components under " << root.Name() << ": "
            << root.ClassName() << ", round trip stable\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool tree = false;
  bool check = false;
  FormWriteOptions options;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--tree")
      tree = true;
    else if (arg == "--all")
      options.includeDefaults = true;
    else if (arg == "--check")
      check = true;
    else if (!arg.empty() && arg[0] == '-')
      return Usage();
    else
      files.push_back(arg);
  }
  if (files.empty()) return Usage();

  ClassRegistry& registry = ClassRegistry::Global();
  sample::RegisterSampleClasses(registry);
  std::vector<std::string> texts(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    if (!ReadFile(files[i], texts[i])) {
      std::cerr << "pellmore-formdump: cannot read " << files[i] << ": " << texts[i] << '\n';
      return 2;
    }
  }
  try {
    for (size_t i = 0; i + 1 < files.size(); ++i) {
      const FormObject ancestor = ParseFormDescription(texts[i], files[i]);
      registry.RegisterDescription(ancestor.className, files[i], texts[i]);
    }
    Owned<TComponent> root(CreateFromForm(texts.back(), files.back()));
    if (check) return Check(*root, WriteForm(*root));
    if (tree)
      PrintTree(*root, *root, 0);
    else
      std::cout << WriteForm(*root, registry, options);
  } catch (const Exception& e) {
    std::cerr << "pellmore-formdump: " << e.Message() << '\n';
    return 1;
  }
  return 0;
}
