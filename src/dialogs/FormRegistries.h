// The three process-wide registries of kit form classes: page forms (the
// wizard-like phases), during-copy forms and change-disk forms. An entry
// holds a form class and, optionally, the dialog component that
// registered it; registration order is the order forms are made in.
//
// Registration comes in pairs of units. A kit form unit registers its form
// without a component when the program starts; its dialog-component unit,
// started right after it when it is part of the program, withdraws that
// entry again. So a form whose component unit is linked takes part only
// through component instances (which register themselves with their
// form), and one whose component unit is not linked takes part in every
// run of its phase.
#pragma once

#include <string>
#include <vector>

#include "framework/Object.h"

class TComponent;
class TCustomForm;
class TCustomBaseInstallDlg;

using TFormFactory = TCustomForm* (*)(TComponent* owner);

struct TFormRegistryEntry {
  const TMetaClass* formClass = nullptr;
  TFormFactory create = nullptr;               // reads the class's registered description
  TCustomBaseInstallDlg* component = nullptr;  // null: the form unit's own entry
};

class TFormRegistry {
 public:
  // `name` appears in the messages ("BIFList", "DCFList", "BCDFList").
  explicit TFormRegistry(std::string name) : name_(std::move(name)) {}

  template <class Form>
  void Add(TCustomBaseInstallDlg* component = nullptr) {
    Add(TFormRegistryEntry{&Form::StaticMetaClass(), &CreateForm<Form>, component});
  }
  void Add(const TFormRegistryEntry& entry);
  // Removes the first entry of `formClass` registered by `component` (null:
  // the form unit's own entry); nothing when there is none.
  void Remove(const TMetaClass& formClass, const TCustomBaseInstallDlg* component) noexcept;
  // Removes every entry `component` registered (a component going away;
  // nothing for null).
  void RemoveComponent(const TCustomBaseInstallDlg* component) noexcept;
  int Count() const noexcept { return static_cast<int>(entries_.size()); }
  // IEFormRegistry "%d is an invalid index in the BIFList" outside
  // 0..Count-1, "The %d 'th entry in the BIFList is NIL" for an entry
  // without a form class (translated; the registry's name in place of
  // BIFList).
  const TFormRegistryEntry& Entry(int index) const;
  // A copy of the entries, for walks that create forms (whose components
  // may register or withdraw entries meanwhile).
  std::vector<TFormRegistryEntry> Snapshot() const { return entries_; }
  const std::string& Name() const noexcept { return name_; }
  void Clear() noexcept { entries_.clear(); }

 private:
  template <class Form>
  static TCustomForm* CreateForm(TComponent* owner);

  std::string name_;
  std::vector<TFormRegistryEntry> entries_;
};

// TBIFList, TDCFList and the TBCDFEntry list. Emptied by a process-state
// reset.
TFormRegistry& PageForms();
TFormRegistry& DuringCopyForms();
TFormRegistry& ChangeDiskForms();

// The start-up steps of a pair of units (see above).
template <class Form>
void StartFormUnit(TFormRegistry& registry) {
  registry.Add<Form>();
}
template <class Form>
void StartComponentUnit(TFormRegistry& registry) {
  registry.Remove(Form::StaticMetaClass(), nullptr);
}

#include "framework/Forms.h"

template <class Form>
TCustomForm* TFormRegistry::CreateForm(TComponent* owner) {
  return TCustomForm::Create<Form>(owner);
}
