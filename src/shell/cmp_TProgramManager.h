// TProgramManager: the one DDE client conversation of the program with the
// Program Manager (service and topic "PROGMAN"), offering what a shortcut
// needs on a Windows without the shell-link interface: create or open a
// group, find an item, replace an item and add one. The group's contents
// are the Program Manager's report for the current group: line 0 describes
// the group, each further line one item as comma-separated fields (1 the
// quoted item name, 2 the quoted command line, then directory, icon path,
// position, icon index, hot key ...).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/exceptions_Pellmore.h"
#include "framework/Component.h"

namespace platform {
class DdeConversation;
}

// The kit's base of routine exceptions whose texts are translated.
PELLMORE_DECLARE_EXCEPTION(EPL, IException);

// "The TProgramManager object was unable to communicate with Program
// Manager", and the base of the conversation's failures. Each keeps the
// group name, and the item name where there is one.
class EPLPMError : public EPL {
 public:
  EPLPMError();
  // `message` is the finished text: translated, then filled in (the
  // component builds it from the translated pieces).
  EPLPMError(const std::string& message, std::string group, std::string item = "");
  const char* ClassName() const noexcept override { return "EPLPMError"; }
  const std::string& Group() const noexcept { return group_; }
  const std::string& Item() const noexcept { return item_; }

 private:
  std::string group_;
  std::string item_;
};

#define PELLMORE_DECLARE_PM_EXCEPTION(name)                           \
  class name : public EPLPMError {                                    \
   public:                                                            \
    using EPLPMError::EPLPMError;                                     \
    const char* ClassName() const noexcept override { return #name; } \
  }
PELLMORE_DECLARE_PM_EXCEPTION(EPLPMCannotOpen);
PELLMORE_DECLARE_PM_EXCEPTION(EPLPMCannotOpenGroup);
PELLMORE_DECLARE_PM_EXCEPTION(EPLPMCannotCreateGroup);
PELLMORE_DECLARE_PM_EXCEPTION(EPLPMCannotReplaceItem);
#undef PELLMORE_DECLARE_PM_EXCEPTION

// Also keeps the whole add-item command text.
class EPLPMCannotAddItem : public EPLPMError {
 public:
  EPLPMCannotAddItem(const std::string& message, std::string group, std::string item,
                     std::string command);
  const char* ClassName() const noexcept override { return "EPLPMCannotAddItem"; }
  const std::string& Command() const noexcept { return command_; }

 private:
  std::string command_;
};

class TProgramManager : public TComponent {
  PELLMORE_CLASS(TProgramManager, TComponent)

 public:
  explicit TProgramManager(TComponent* owner);
  // Closes the conversation if it is open.
  ~TProgramManager() override;

  // Opens the conversation once (platform::dde()); EPLPMCannotOpen when no
  // Program Manager answers.
  //
  // Every command text is at most 255 characters (the Program Manager's
  // buffer); a longer one (deep paths, long arguments) is not sent, cut or
  // not: the operation raises its own exception with the length added.
  virtual void Connect();
  // Makes `group` current and loads its report; a request without an
  // answer leaves no current group.
  void SelectGroup(const std::string& group);
  // Creates or opens the group (nothing for an empty name), then
  // SelectGroup. EPLPMCannotCreateGroup when the command is refused.
  void CreateGroup(const std::string& group);
  // The 1-based index of the item named exactly `name` in the current
  // group, or -1.
  int FindItem(const std::string& name) const;
  // Field `field` (1..8) of item `index`; empty for index 0 or past the
  // end, and for a field number outside 1..8.
  std::string ItemField(int index, int field) const;
  // The next added item replaces `name` (nothing without a current group).
  void ReplaceItem(const std::string& name);
  // Adds an item to the current group (nothing without one).
  void AddItem(const std::string& commandLine, const std::string& name,
               const std::string& iconPath, int iconIndex, const std::string& directory,
               const std::string& hotKey);
  // The Program Manager's group names.
  void ListGroups(std::vector<std::string>& groups);

  bool Connected() const noexcept { return conversation_ != nullptr; }
  const std::string& CurrentGroup() const noexcept { return currentGroup_; }
  // Items in the current group's report (lines less the group line).
  int ItemCount() const noexcept;

 private:
  std::unique_ptr<platform::DdeConversation> conversation_;
  std::string currentGroup_;
  std::vector<std::string> contents_;
};

// The program's one Program Manager conversation, made on first use and
// dropped with the process state (tests change machines between cases).
TProgramManager& ProgramManager();
