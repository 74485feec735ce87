// Enumerations that several units publish (the overwrite mode, the archive
// command) are registered by the unit that owns them: whichever
// registration runs first, every property of that type names one entry
// with the same enumerators, and running the registrations again (a tool
// that registers the archive after the setup's list) changes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/cmp_TVrexCompress.h"
#include "files/cmp_TInstallFile.h"
#include "framework/ClassRegistry.h"
#include "framework/ControlsRegistration.h"
#include "i18n/TranslatorRegistration.h"
#include "install/InstallRegistration.h"
#include "paths/cmp_TPathSpecifier.h"
#include "support/Fixture.h"

namespace {

class SharedEnums : public PellmoreTest {};

std::vector<std::string> NamesOf(const EnumInfo& e) {
  std::vector<std::string> names;
  for (int i = 0; i < e.Count(); ++i) names.push_back(e.NameOf(i));
  return names;
}

TEST_F(SharedEnums, EveryPublisherNamesTheOwnersEntry) {
  ClassRegistry& r = ClassRegistry::Global();
  RegisterControls(r);
  RegisterTranslatorClasses(r);
  RegisterPathSpecifiers(r);
  RegisterInstallClasses(r);
  RegisterInstallFile(r);
  const EnumInfo* overwrite = r.FindEnum(typeid(TOverwriteType));
  const EnumInfo* command = r.FindEnum(typeid(TlzhCommand));
  ASSERT_NE(overwrite, nullptr);
  ASSERT_NE(command, nullptr);
  // Again, and the archive's own registration after them.
  RegisterInstallClasses(r);
  RegisterInstallFile(r);
  RegisterVrexCompress(r);

  const std::vector<std::string> overwriteNames = {"owAlways", "owNever", "owVersion", "owDate",
                                                   "owVersionDate"};
  const std::vector<std::string> commandNames = {"lzcOverwrite", "lzcOnlyAdd"};
  struct Case {
    const char* cls;
    const char* prop;
    const EnumInfo* entry;
    const char* type;
    const std::vector<std::string>& names;
  };
  const Case cases[] = {
      {"TVrexCompress", "Overwrite", overwrite, "TOverwriteType", overwriteNames},
      {"TInstallFile", "OverwriteMode", overwrite, "TOverwriteType", overwriteNames},
      {"TInstallFile", "AddToArchive", command, "TlzhCommand", commandNames},
      {"TInstallFileGroup", "AddToArchive", command, "TlzhCommand", commandNames},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.cls) + "." + c.prop);
    const ClassInfo* info = r.FindClass(c.cls);
    ASSERT_NE(info, nullptr);
    const PropInfo* prop = info->FindProp(c.prop);
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->EnumType(), c.entry) << "one entry, kept across registrations";
    EXPECT_EQ(c.entry->Name(), c.type);
    EXPECT_EQ(NamesOf(*c.entry), c.names);
  }
}

}  // namespace
