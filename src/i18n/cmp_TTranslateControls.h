// Translate-aware controls: a label and a bitmap button that carry a
// string id (GLID). They behave like their bases; the translator gives a
// positive GLID the table's text for that id, skips a negative one and
// translates GLID 0 by matching its texts.
#pragma once

#include <cstdint>

#include "framework/Buttons.h"
#include "framework/StdCtrls.h"

// A label that the translator can translate, by its string number (GLID) or by
// matching its text.
class TTranslateLabel : public TLabel {
  PELLMORE_CLASS(TTranslateLabel, TLabel)

 public:
  using TLabel::TLabel;
  int32_t GLID() const noexcept { return glid_; }
  void SetGLID(int32_t glid) noexcept { glid_ = glid; }

 private:
  int32_t glid_ = 0;
};

// A button with a glyph that the translator can translate, by its string number
// (GLID) or by matching its caption.
class TTranslateBitBtn : public TBitBtn {
  PELLMORE_CLASS(TTranslateBitBtn, TBitBtn)

 public:
  using TBitBtn::TBitBtn;
  int32_t GLID() const noexcept { return glid_; }
  void SetGLID(int32_t glid) noexcept { glid_ = glid; }

 private:
  int32_t glid_ = 0;
};
