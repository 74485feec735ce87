// The engine group's published properties: the fifteen feature flags,
// which stand for the member files rather than for stored values, and the
// rest of its configuration.
#include "dbengine/QDEFileSets.h"
#include "dbengine/cmp_TInstallQDE.h"
#include "framework/ClassRegistry.h"

// A flag reads the file set; outside loading, setting it adds or removes
// the feature's files (loading only reports what the declared files hold).
#define PELLMORE_QDE_FLAG(Flag, Has, Add, Remove) \
  bool TInstallQDE::Flag() const {                \
    return fileSet_ && fileSet_->Has();           \
  }                                               \
  void TInstallQDE::Set##Flag(bool v) {           \
    if (InState(csLoading) || !fileSet_) return;  \
    if (v)                                        \
      fileSet_->Add;                              \
    else                                          \
      fileSet_->Remove();                         \
  }

// A server link's flag also rebuilds the driver settings from this
// machine's registry.
#define PELLMORE_QDE_LINK(Flag, Has, Add, Remove) \
  bool TInstallQDE::Flag() const {                \
    return fileSet_ && fileSet_->Has();           \
  }                                               \
  void TInstallQDE::Set##Flag(bool v) {           \
    if (InState(csLoading) || !fileSet_) return;  \
    if (v)                                        \
      fileSet_->Add;                              \
    else                                          \
      fileSet_->Remove();                         \
    RebuildServerLinkEntries();                   \
  }

PELLMORE_QDE_FLAG(drVault, HasVault, AddVault(), RemoveVault)
PELLMORE_QDE_FLAG(drAscii, HasAscii, AddAscii(), RemoveAscii)
PELLMORE_QDE_FLAG(drFolio, HasFolio, AddFolio(), RemoveFolio)
PELLMORE_QDE_FLAG(drFull, HasFull, AddAllDrivers(true), RemoveFull)
PELLMORE_QDE_FLAG(drODBC, HasODBC, AddODBC(), RemoveODBC)
PELLMORE_QDE_FLAG(drTabula, HasTabula, AddTabula(), RemoveTabula)
PELLMORE_QDE_FLAG(drSQLEngine, HasSQLEngine, AddSQLEngine(), RemoveSQLEngine)
PELLMORE_QDE_FLAG(drQBFEngine, HasQBFEngine, AddQBFEngine(), RemoveQBFEngine)
PELLMORE_QDE_LINK(slKestrel, HasKestrel, AddKestrel(), RemoveKestrel)
PELLMORE_QDE_LINK(slHeronClassic, HasHeronClassic, AddHeronClassic(), RemoveHeronClassic)
PELLMORE_QDE_LINK(slOsprey, HasOsprey, AddOsprey(), RemoveOsprey)
PELLMORE_QDE_LINK(slPlover, HasPlover, AddPlover(), RemovePlover)
PELLMORE_QDE_LINK(slWren, HasWren, AddWren(), RemoveWren)
PELLMORE_QDE_LINK(slTern, HasTern, AddTern(), RemoveTern)
PELLMORE_QDE_LINK(slHeronNext, HasHeronNext, AddHeronNext(), RemoveHeronNext)

#undef PELLMORE_QDE_FLAG
#undef PELLMORE_QDE_LINK

void TInstallQDE::SetServerLinkEntries(const TStrings& lines) {
  serverLinkEntries_->Assign(&lines);
}

void RegisterQDEClasses(ClassRegistry& r) {
  using C = TInstallQDE;
  // No default: every flag is written, so a description always says which
  // features its files make up.
  r.Class<C, TInstallFileGroup>("TInstallQDE")
      .Prop("drVault", &C::drVault, &C::SetdrVault)
      .Prop("drAscii", &C::drAscii, &C::SetdrAscii)
      .Prop("drFolio", &C::drFolio, &C::SetdrFolio)
      .Prop("drFull", &C::drFull, &C::SetdrFull)
      .Prop("drODBC", &C::drODBC, &C::SetdrODBC)
      .Prop("drTabula", &C::drTabula, &C::SetdrTabula)
      .Prop("drSQLEngine", &C::drSQLEngine, &C::SetdrSQLEngine)
      .Prop("drQBFEngine", &C::drQBFEngine, &C::SetdrQBFEngine)
      .Prop("LanguageDLL", &C::LanguageDLL, &C::SetLanguageDLL)
      .Prop("SaveFor16Bit", &C::SaveFor16Bit, &C::SetSaveFor16Bit)
      .Prop("slKestrel", &C::slKestrel, &C::SetslKestrel)
      .Prop("slHeronClassic", &C::slHeronClassic, &C::SetslHeronClassic)
      .Prop("slOsprey", &C::slOsprey, &C::SetslOsprey)
      .Prop("slPlover", &C::slPlover, &C::SetslPlover)
      .Prop("slWren", &C::slWren, &C::SetslWren)
      .Prop("slTern", &C::slTern, &C::SetslTern)
      .Prop("slHeronNext", &C::slHeronNext, &C::SetslHeronNext)
      .Prop("ServerLinkEntries", &C::ServerLinkEntries)
      .Prop("OnLanguageDifferent", &C::OnLanguageDifferent, &C::SetOnLanguageDifferent)
      .Prop("OnFixFailed", &C::OnFixFailed, &C::SetOnFixFailed)
      .Prop("OnMergeFailed", &C::OnMergeFailed, &C::SetOnMergeFailed);
}
