// The designated control of a kind: the one whose Tag is -1. Giving a
// control Tag -1 takes the mark from the previous holder (whose Tag drops
// to 0); any other Tag, or the control's destruction, leaves none marked.
// Backdrops and title labels each keep a slot of their own, so the setup
// can find "the" backdrop and "the" title without knowing their names.
#pragma once

#include <cstdint>
#include <string_view>

class TComponent;

class DesignatedSlot {
 public:
  // `resetName` names the slot in ProcessState, which empties it.
  explicit DesignatedSlot(std::string_view resetName);

  TComponent* Holder() const noexcept { return holder_; }
  // Stores `tag` as c's Tag under the rule above.
  void SetTag(TComponent& c, int64_t tag);
  // c is going: it no longer holds the mark.
  void Leave(const TComponent& c) noexcept {
    if (holder_ == &c) holder_ = nullptr;
  }

 private:
  TComponent* holder_ = nullptr;
};
