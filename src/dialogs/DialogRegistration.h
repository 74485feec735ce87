// Registration of the dialog classes (with their published properties and
// form descriptions) and the start-up steps of the kit's form units.
#pragma once

class ClassRegistry;

// The phases and positions, the managers, the base forms and components,
// and the frame.
void RegisterDialogBase(ClassRegistry& registry);
// The copy-progress, status and change-disk dialogs.
void RegisterProgressDialogs(ClassRegistry& registry);
// Both, in that order.
void RegisterDialogClasses(ClassRegistry& registry);

// The start-up steps of the kit's form units, each followed by that of its
// component unit when `componentUnitsLinked` (the setup program links them
// all, so only component instances register forms there).
void StartDialogUnits(bool componentUnitsLinked);
