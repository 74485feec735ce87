// The simulated machine's DDE: one server, a Program Manager answering
// service and topic "PROGMAN". It keeps its groups and items in the machine
// directory ("progman.txt"), so a second process sees what the first made,
// and logs every command text it was sent ("progman.log").
//
// Group report (Request of a group name), one line each, CR LF ended:
//   line 0: "Group name",item count
//   items:  "name","command",directory,icon path,x,y,icon index,hot key
// so the item fields 1..8 are name, command, directory, icon path, the two
// position coordinates, the icon index and the hot key. Request("Groups")
// gives the group names, one per line.
#pragma once

#include <string>
#include <vector>

#include "platform/Dde.h"
#include "platform/sim/MachineCore.h"

namespace platform::sim {

// One command text the server was sent, and whether it carried it out.
struct SimDdeCommand {
  std::string text;
  bool accepted = false;
};

struct SimProgmanItem {
  std::string name, command, directory, iconPath, hotKey;
  int iconIndex = 0;
};

struct SimProgmanGroup {
  std::string name;
  std::vector<SimProgmanItem> items;
};

class SimDde : public Dde {
 public:
  explicit SimDde(MachineCore& core) : core_(core) {}
  // nullptr for any other service or topic (names ignore case, as DDE's
  // string handles do) and when the machine has no Program Manager.
  std::unique_ptr<DdeConversation> Connect(std::string_view service,
                                           std::string_view topic) override;

  // The groups and items as the server keeps them, in creation order.
  std::vector<SimProgmanGroup> Groups() const;
  // Every command text sent, oldest first; ClearCommands empties the log.
  std::vector<SimDdeCommand> Commands() const;
  void ClearCommands();

 private:
  MachineCore& core_;
};

}  // namespace platform::sim
