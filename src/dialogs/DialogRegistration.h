// Registration of the dialog classes (with their published properties and
// form descriptions) and the start-up steps of the kit's form units.
#pragma once

class ClassRegistry;

// The phases and positions, the managers, the base forms and components,
// and the frame.
void RegisterDialogBase(ClassRegistry& registry);
// The copy-progress, status and change-disk dialogs.
void RegisterProgressDialogs(ClassRegistry& registry);
// The open-folder dialog and its two controls.
void RegisterOpenFolderDialog(ClassRegistry& registry);
// The welcome, licence, readme, setup type and program folder pages with
// their components.
void RegisterWizardPages(ClassRegistry& registry);
// The file group selection page with its component.
void RegisterFileGroupSelect(ClassRegistry& registry);
// The good-install, bad-install and reboot pages with their components.
void RegisterCompletionDialogs(ClassRegistry& registry);
// All of them, in the order above.
void RegisterDialogClasses(ClassRegistry& registry);

// The start-up steps of the kit's form units, each followed by that of its
// component unit when `componentUnitsLinked` (the setup program links them
// all, so only component instances register forms there).
void StartDialogUnits(bool componentUnitsLinked);
// The same for each group of dialogs, in the order StartDialogUnits runs
// them: the welcome, licence, readme and setup type pages, the file group
// page, the program folder page, the completion and reboot pages (then the
// copy and change-disk dialogs).
void StartWizardPageUnits(bool componentUnitsLinked);
void StartFileGroupSelectUnits(bool componentUnitsLinked);
void StartSelectFolderUnits(bool componentUnitsLinked);
void StartCompletionUnits(bool componentUnitsLinked);
