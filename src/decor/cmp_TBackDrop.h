#pragma once

#include <cstdint>

#include "framework/ExtCtrls.h"

enum TDirection { bdUp, bdDown, bdLeft, bdRight, bdHorzIn, bdHorzOut, bdVertIn, bdVertOut };

// TBackdrop: a panel painted as a colour gradient from StartColor to
// EndColor in one of eight directions, the background of the setup's main
// form. The backdrop whose Tag is -1 is the designated one (Designated()).
class TBackdrop : public TCustomPanel {
  PELLMORE_CLASS(TBackdrop, TCustomPanel)

 public:
  // Client-aligned. Created while its form is designed, it becomes the
  // designated backdrop when there is none yet.
  explicit TBackdrop(TComponent* owner);
  ~TBackdrop() override;

  // Each setter repaints when the value changes.
  TDirection Direction() const noexcept { return direction_; }
  void SetDirection(TDirection d);
  TColor StartColor() const noexcept { return startColor_; }
  void SetStartColor(TColor c);
  TColor EndColor() const noexcept { return endColor_; }
  void SetEndColor(TColor c);

  // -1 makes this the designated backdrop (the previous one's Tag drops
  // to 0); another value gives the mark up.
  void SetTag(int64_t tag);
  // The backdrop whose Tag is -1, or null.
  static TBackdrop* Designated() noexcept;

  // From another backdrop: Direction, both colours and Align; then repaints.
  void Assign(const TPersistent* source) override;

 protected:
  void Paint() override;

 private:
  TDirection direction_ = bdUp;
  TColor startColor_ = clBlue;
  TColor endColor_ = clBlack;
};

// Registers TDirection and TBackdrop (after the framework's controls).
class ClassRegistry;
void RegisterBackdrop(ClassRegistry& r);
