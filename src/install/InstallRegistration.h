// Registration of the install engine's classes, enumerations and
// published properties with a class registry. Called from a program's
// ordered registration list after the control model (the installer's
// picture property needs its graphics classes).
#pragma once

class ClassRegistry;

void RegisterInstallClasses(ClassRegistry& registry);
