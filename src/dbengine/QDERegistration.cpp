// The engine group's published properties: the fifteen feature flags,
// which stand for the member files rather than for stored values, and the
// rest of its configuration.
#include "dbengine/QDEFileSets.h"
#include "dbengine/cmp_TInstallQDE.h"
#include "framework/ClassRegistry.h"

// A flag reads the file set; outside loading, setting it adds or removes
// the feature's files (loading only reports what the declared files hold),
// then does `After`: a server link's flag rebuilds the driver settings from
// this machine's registry.
#define PELLMORE_QDE_FLAG(Flag, Has, Add, Remove, After) \
  bool TInstallQDE::Flag() const {                       \
    return fileSet_ && fileSet_->Has();                  \
  }                                                      \
  void TInstallQDE::Set##Flag(bool v) {                  \
    if (InState(csLoading) || !fileSet_) return;         \
    if (v)                                               \
      fileSet_->Add;                                     \
    else                                                 \
      fileSet_->Remove();                                \
    After;                                               \
  }

PELLMORE_QDE_FLAG(drVault, HasVault, AddVault(), RemoveVault, (void)0)
PELLMORE_QDE_FLAG(drAscii, HasAscii, AddAscii(), RemoveAscii, (void)0)
PELLMORE_QDE_FLAG(drFolio, HasFolio, AddFolio(), RemoveFolio, (void)0)
PELLMORE_QDE_FLAG(drFull, HasFull, AddAllDrivers(true), RemoveFull, (void)0)
PELLMORE_QDE_FLAG(drODBC, HasODBC, AddODBC(), RemoveODBC, (void)0)
PELLMORE_QDE_FLAG(drTabula, HasTabula, AddTabula(), RemoveTabula, (void)0)
PELLMORE_QDE_FLAG(drSQLEngine, HasSQLEngine, AddSQLEngine(), RemoveSQLEngine, (void)0)
PELLMORE_QDE_FLAG(drQBFEngine, HasQBFEngine, AddQBFEngine(), RemoveQBFEngine, (void)0)
PELLMORE_QDE_FLAG(slKestrel, HasKestrel, AddKestrel(), RemoveKestrel, RebuildServerLinkEntries())
PELLMORE_QDE_FLAG(slHeronClassic, HasHeronClassic, AddHeronClassic(), RemoveHeronClassic,
                  RebuildServerLinkEntries())
PELLMORE_QDE_FLAG(slOsprey, HasOsprey, AddOsprey(), RemoveOsprey, RebuildServerLinkEntries())
PELLMORE_QDE_FLAG(slPlover, HasPlover, AddPlover(), RemovePlover, RebuildServerLinkEntries())
PELLMORE_QDE_FLAG(slWren, HasWren, AddWren(), RemoveWren, RebuildServerLinkEntries())
PELLMORE_QDE_FLAG(slTern, HasTern, AddTern(), RemoveTern, RebuildServerLinkEntries())
PELLMORE_QDE_FLAG(slHeronNext, HasHeronNext, AddHeronNext(), RemoveHeronNext,
                  RebuildServerLinkEntries())

#undef PELLMORE_QDE_FLAG

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
