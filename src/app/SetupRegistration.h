// The setup program's ordered class registration: the control model, then
// the kit's units in dependency order, then the main form. Registration is
// explicit (no static initialisers), so the order is the order here.
#pragma once

class ClassRegistry;

void RegisterSetupClasses(ClassRegistry& registry);
