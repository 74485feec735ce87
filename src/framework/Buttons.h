#pragma once

#include "framework/Pictures.h"
#include "framework/StdCtrls.h"

enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// TBitBtn: a push button with a glyph and a Kind that presets its caption,
// modal result and Default/Cancel roles (OK, Cancel, Yes ...).
class TBitBtn : public TButton {
  PELLMORE_CLASS(TBitBtn, TButton)

 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  TBitmap* Glyph() const noexcept { return glyph_; }
  // 1 to 4 images side by side in Glyph (up, disabled, down, ...).
  int NumGlyphs() const noexcept { return numGlyphs_; }
  void SetNumGlyphs(int n);
  // A kind other than bkCustom sets Default (OK, Yes), Cancel (Cancel,
  // No), ModalResult and, unless a description already gave one, the
  // caption.
  TBitBtnKind Kind() const noexcept { return kind_; }
  void SetKind(TBitBtnKind kind);
  TButtonLayout Layout() const noexcept { return layout_; }
  void SetLayout(TButtonLayout l) { layout_ = l; }
  int Margin() const noexcept { return margin_; }
  void SetMargin(int m) { margin_ = m; }
  int Spacing() const noexcept { return spacing_; }
  void SetSpacing(int s) { spacing_ = s; }

  // Whether the kind leaves these properties to the description.
  bool IsCustom() const noexcept { return kind_ == bkCustom; }
  bool IsCustomCaption() const;

  // bkClose closes the parent form; other kinds act as a button.
  void Click() override;

  // The caption a kind gives ("OK", "Cancel", "&Yes" ...; empty for
  // bkCustom).
  static const char* KindCaption(TBitBtnKind kind) noexcept;

 protected:
  void PushState() override;

 private:
  void PushGlyph();
  TBitmap* glyph_;
  int numGlyphs_ = 1;
  TBitBtnKind kind_ = bkCustom;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};
