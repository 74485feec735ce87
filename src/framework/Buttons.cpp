// TBitBtn (see Buttons.h).
#include "framework/Buttons.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Widgetset.h"

namespace {
constexpr TModalResult kKindResults[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                         mrNone, mrAbort, mrRetry,  mrIgnore, mrAll};
constexpr const char* kKindCaptions[] = {"",       "OK",    "Cancel", "&Help",   "&Yes", "&No",
                                         "&Close", "Abort", "&Retry", "&Ignore", "&All"};
}  // namespace

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(new TBitmap) {
  glyph_->OnChange = [this](TObject*) {
    PushGlyph();
    Invalidate();
  };
}

TBitBtn::~TBitBtn() {
  glyph_->Free();
}

const char* TBitBtn::KindCaption(TBitBtnKind kind) noexcept {
  const auto i = static_cast<size_t>(kind);
  return i < std::size(kKindCaptions) ? kKindCaptions[i] : "";
}

void TBitBtn::SetNumGlyphs(int n) {
  n = std::clamp(n, 1, 4);
  if (n == numGlyphs_) return;
  numGlyphs_ = n;
  PushGlyph();
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind kind) {
  if (kind == kind_) return;
  if (kind != bkCustom) {
    SetDefault(kind == bkOK || kind == bkYes);
    SetCancel(kind == bkCancel || kind == bkNo);
    if (!InState(csLoading) || Caption().empty()) SetCaption(KindCaption(kind));
    SetModalResult(kKindResults[static_cast<size_t>(kind)]);
  }
  kind_ = kind;
  Invalidate();
}

bool TBitBtn::IsCustomCaption() const {
  return Caption() != KindCaption(kind_);
}

void TBitBtn::Click() {
  if (kind_ == bkClose) {
    if (TCustomForm* form = ParentForm()) {
      form->Close();
      return;
    }
  }
  TButton::Click();
}

void TBitBtn::PushState() {
  TButton::PushState();
  PushGlyph();
}

void TBitBtn::PushGlyph() {
  if (auto* ws = PeerFamily<platform::WSButton>())
    ws->SetGlyph(*this, glyph_->FileBytes(), numGlyphs_);
}
