// The engine file sets: one class per engine version that knows which
// member files make up each feature of the engine (core, drivers, server
// links, locale files, the administrator tool). The engine group's flags
// ask a file set whether a feature is present, and (outside loading) have
// it add or remove the feature's files. Added files are taken from the
// engine installed on this machine: the first "ENGINEPATH" entry, the
// system directory or the kit directory, as each feature says.
#pragma once

#include <initializer_list>
#include <string>

class TInstallQDE;
class TMetaClass;

class TQDEFileSet {
 public:
  // Raises a plain Exception "Cannot create QDE file set without passing
  // valid InstallQDE" for a null group.
  explicit TQDEFileSet(TInstallQDE* qde);
  virtual ~TQDEFileSet() = default;
  TQDEFileSet(const TQDEFileSet&) = delete;
  TQDEFileSet& operator=(const TQDEFileSet&) = delete;

  // The class name ("TQDE80FileSet" ...), for diagnostics and tests.
  virtual const char* ClassName() const noexcept { return "TQDEFileSet"; }

  // --- adders -----------------------------------------------------------------
  virtual void AddLocaleFiles();
  virtual void AddConfigTemplate();
  virtual void AddCoreFiles();
  virtual void AddLinkFiles();
  // Adds the file at `path` as a member unless one of that name exists;
  // `specifier` is the class of the program's path specifier it goes to.
  virtual void AddFile(const std::string& path, const TMetaClass& specifier);
  virtual void AddAllDrivers(bool ignoreErrors);
  virtual void AddResourceLibrary();
  virtual void AddVault();
  virtual void AddAscii();
  virtual void AddFolio();
  virtual void AddODBC();
  virtual void AddTabula();
  virtual void AddSQLEngine();
  virtual void AddQBFEngine();
  virtual void AddTern();
  virtual void AddWren();
  virtual void AddOsprey();
  virtual void AddKestrel();
  virtual void AddPlover();
  virtual void AddHeronNext();
  virtual void AddHeronClassic();

  // --- tests --------------------------------------------------------------------
  virtual bool HasCore();
  virtual bool HasFull();
  virtual bool HasVault();
  virtual bool HasAscii();
  virtual bool HasFolio();
  virtual bool HasODBC();
  virtual bool HasTabula();
  virtual bool HasSQLEngine();
  virtual bool HasQBFEngine();
  virtual bool HasTern();
  virtual bool HasWren();
  virtual bool HasOsprey();
  virtual bool HasKestrel();
  virtual bool HasPlover();
  virtual bool HasHeronNext();
  virtual bool HasHeronClassic();

  // --- removers -------------------------------------------------------------------
  virtual void RemoveLocaleFiles();
  virtual void RemoveCoreIfUnused();
  virtual void RemoveLinkFiles();
  // Frees the member named `name` (trimmed, case ignored), if any.
  virtual void RemoveFile(const std::string& name);
  virtual void RemoveFull();
  virtual void RemoveVault();
  virtual void RemoveAscii();
  virtual void RemoveFolio();
  virtual void RemoveODBC();
  virtual void RemoveTabula();
  virtual void RemoveSQLEngine();
  virtual void RemoveQBFEngine();
  virtual void RemoveTern();
  virtual void RemoveWren();
  virtual void RemoveOsprey();
  virtual void RemoveKestrel();
  virtual void RemovePlover();
  virtual void RemoveHeronNext();
  virtual void RemoveHeronClassic();

  bool HasLinkFiles();

 protected:
  TInstallQDE* QDE() const noexcept { return qde_; }

  // A file of the installed engine's directory, added to go where the
  // group goes.
  void AddEngineFile(const std::string& name);
  // Whether every one of `names` is a member.
  bool HasMembers(std::initializer_list<const char*> names) const;
  bool HasMember(const std::string& name) const;
  // "QDRS" + LanguageDLL + ".DLL".
  std::string ResourceLibraryName() const;
  // Frees every member whose file name has extension `ext` (case ignored).
  void RemoveFilesWithExtension(const std::string& ext);
  // Whether one of the drivers that need the core is present; the core
  // rule removes the core only when none is.
  bool CoreInUse();
  // The core files and the locale files, unconditionally.
  void RemoveCore();

 private:
  TInstallQDE* qde_;
};

// 6.0 and 6.5: the configuration tool "QDCFG32" comes with the core; no
// Vault in the full driver set; the locale files are the "LANGPACK" values.
class TQDE60FileSet : public TQDEFileSet {
 public:
  using TQDEFileSet::TQDEFileSet;
  const char* ClassName() const noexcept override { return "TQDE60FileSet"; }

  void AddCoreFiles() override;
  // Also removes the tool files, even when the core stays.
  void RemoveCoreIfUnused() override;
};

class TQDE65FileSet : public TQDE60FileSet {
 public:
  using TQDE60FileSet::TQDE60FileSet;
  const char* ClassName() const noexcept override { return "TQDE65FileSet"; }
};

// 7.0: the administrator "QDMGR" (its control panel applet into the system
// directory) comes with the core, and the ODBC bridge needs "QDVOB32.DLL".
class TQDE70FileSet : public TQDEFileSet {
 public:
  using TQDEFileSet::TQDEFileSet;
  const char* ClassName() const noexcept override { return "TQDE70FileSet"; }

  void AddCoreFiles() override;
  void AddODBC() override;
  bool HasODBC() override;
  void RemoveODBC() override;
  // Also removes the tool files, even when the core stays.
  void RemoveCoreIfUnused() override;

 protected:
  void RemoveToolFiles();
};

// 7.5: Vault joins the full driver set, and keeps the core by itself.
class TQDE75FileSet : public TQDE70FileSet {
 public:
  using TQDE70FileSet::TQDE70FileSet;
  const char* ClassName() const noexcept override { return "TQDE75FileSet"; }

  void AddAllDrivers(bool ignoreErrors) override;
  bool HasFull() override;
  void RemoveCoreIfUnused() override;
};

// 8.0: the locale files are a fixed set from the "LANGPACKDIR" directory.
class TQDE80FileSet : public TQDE75FileSet {
 public:
  using TQDE75FileSet::TQDE75FileSet;
  const char* ClassName() const noexcept override { return "TQDE80FileSet"; }

  void AddLocaleFiles() override;
  // Every ".QLT" member and "CHARSET.QCV".
  void RemoveLocaleFiles() override;
};
