// The designated-control slot (see DesignatedControl.h).
#include "decor/DesignatedControl.h"

#include <string>

#include "framework/Component.h"
#include "framework/ProcessState.h"

DesignatedSlot::DesignatedSlot(std::string_view resetName) {
  ProcessState::RegisterReset(resetName, [this] { holder_ = nullptr; });
}

void DesignatedSlot::SetTag(TComponent& c, int64_t tag) {
  if (tag == -1) {
    if (holder_ && holder_ != &c) holder_->SetTag(0);
    holder_ = &c;
  } else if (holder_ == &c) {
    holder_ = nullptr;
  }
  c.SetTag(tag);
}
